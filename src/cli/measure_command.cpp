// lumacet-cli measure: measures the chosen records (all unless told) and prints, for each,
// its analysis text as the Detailed Analysis window shows it (columns separated by TAB,
// --graph adds the graph column), or one table row per record with every variable of its
// analysis. Nothing is printed unless every chosen record can be measured: a script gets the
// whole table or one line on stderr saying why not. --orient turns each record by the named
// orientation of its type first; --superimpose brings each onto the reference radiograph (or
// the first record measured) by the named superimposition of that one's type.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "measure/analysis_text.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/data_lines.h"
#include "persistence/type_finder.h"
#include "shell/settings_options.h"
#include "simulation/superimposition.h"
#include "support/file_numbers.h"
#include "support/terminal_text.h"

namespace lumacet::cli {

namespace {

enum class TFormat { Text, Csv, Tsv, Json };

struct TMeasureArguments {
  std::string DataFile;
  std::optional<std::string> Types;
  std::optional<std::vector<int>> Records;
  std::optional<std::string> Name;
  std::optional<std::string> Type;
  std::optional<std::string> Missing;
  std::optional<std::string> Analysis;
  std::optional<int> Reference;
  TFormat Format = TFormat::Text;
  bool Raw = false;
  bool Graph = false;
  std::optional<std::string> Orient;
  std::optional<std::string> Superimpose;
};

// Declares the options into `parsed`.
void Declare(TArgumentParser& arguments, TMeasureArguments& parsed) {
  arguments.Operand("DATAFILE", "the data file (.csv)", parsed.DataFile);
  arguments.Option("--types", "DIR", "the folder of the type files (the data file's folder)", parsed.Types,
                   TValueKind::Folder);
  arguments.Option("--records", "LIST", "the records to measure, numbers as 'list' prints them (all)",
                   parsed.Records, RecordList());
  arguments.Option("--name", "NAME", "measure only the records of the patient NAME", parsed.Name);
  arguments.Exclusive({"--records", "--name"});
  arguments.Option("--type", "NAME", "measure only the records of the radiograph type NAME, skipping the others",
                   parsed.Type);
  arguments.Option("--analysis", "NAME", "the analysis to measure (each record's own)", parsed.Analysis);
  arguments.Option("--reference", "N", "record N is the reference radiograph", parsed.Reference,
                   PositiveUpTo(INT32_MAX));
  arguments.Choice("--format", "the analysis text, or a table of values (text)", parsed.Format,
                   {{"text", TFormat::Text}, {"csv", TFormat::Csv}, {"tsv", TFormat::Tsv}, {"json", TFormat::Json}});
  arguments.Option("--missing", "TEXT", "what a value that cannot be measured reads as (N/A)", parsed.Missing,
                   AnyText());
  arguments.Flag("--raw", "values in the general 15-digit form", parsed.Raw);
  arguments.Flag("--graph", "add the graph column to the text", parsed.Graph);
  arguments.Option("--orient", "NAME", "turn each record by the orientation NAME of its type first", parsed.Orient);
  arguments.Option("--superimpose", "NAME",
                   "bring each record onto the reference (or the first record measured) by the superimposition NAME",
                   parsed.Superimpose);
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// The variables of the radiograph's analysis that its text and results show, in order.
std::vector<TXRVariable*> ShownVariables(const TXRay& xray) {
  std::vector<TXRVariable*> variables;
  if (xray.CurrentAnalysis == nullptr) return variables;
  for (TXRayElement* element : xray.CurrentAnalysis->Points)
    if (auto* variable = dynamic_cast<TXRVariable*>(element); variable != nullptr && variable->ShowIn != 0)
      variables.push_back(variable);
  return variables;
}

struct TCell {
  std::string Variable;
  std::string Text;
  bool Valid = false;
};

struct TRow {
  int Record = 0;
  std::string Name;
  std::vector<TCell> Cells;
};

// The text window's lines; with --raw each variable's name and general value instead, as
// the window has no form that shows normals next to unrounded values.
void AppendText(TXRay& xray, int record, const TMeasureArguments& arguments, const TPresentationOptions& options,
                std::string& text) {
  text += "Record " + std::to_string(record) + ": " + AnalysisCaption(xray, options.Measure.Formats) + '\n';
  if (arguments.Raw) {
    const TLoadedRadiograph loaded = xray.Load();
    for (TXRVariable* variable : ShownVariables(xray))
      text += variable->Name + ":\t" + TextLine(*variable, loaded.Radiograph(), kTextLineGeneral, options) + '\n';
  } else {
    const int flags = kTextLineNormals | (arguments.Graph ? kTextLineGraph : 0);
    for (const TAnalysisLine& line : AnalysisLines(xray, flags, options)) text += line.Text + '\n';
  }
  text += '\n';
}

TRow TableRow(TXRay& xray, int record, bool raw, const TPresentationOptions& options) {
  TRow row{record, xray.Name, {}};
  const TLoadedRadiograph loaded = xray.Load();
  for (TXRVariable* variable : ShownVariables(xray)) {
    std::string value = TextLine(*variable, loaded.Radiograph(), raw ? kTextLineGeneral : kTextLineFormatted, options);
    row.Cells.push_back({variable->Name, std::move(value), variable->Valid});
  }
  return row;
}

std::string DelimitedField(const std::string& field, char delimiter) {
  if (field.find_first_of(std::string{delimiter, '"', '\r', '\n'}) == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

// Records of different types may have different analyses: the columns are every variable
// name met, in the order first met, and a record without one leaves its field empty.
std::string DelimitedTable(const std::vector<TRow>& rows, char delimiter) {
  std::vector<std::string> columns;
  for (const TRow& row : rows)
    for (const TCell& cell : row.Cells)
      if (std::find(columns.begin(), columns.end(), cell.Variable) == columns.end()) columns.push_back(cell.Variable);
  std::string table = "Record" + std::string(1, delimiter) + "Name";
  for (const std::string& column : columns) table += delimiter + DelimitedField(column, delimiter);
  table += '\n';
  for (const TRow& row : rows) {
    table += std::to_string(row.Record) + delimiter + DelimitedField(row.Name, delimiter);
    for (const std::string& column : columns) {
      table += delimiter;
      auto cell = std::find_if(row.Cells.begin(), row.Cells.end(), [&](const TCell& c) { return c.Variable == column; });
      if (cell != row.Cells.end()) table += DelimitedField(cell->Text, delimiter);
    }
    table += '\n';
  }
  return table;
}

std::string JsonString(std::string_view text) {
  constexpr char kHex[] = "0123456789abcdef";
  std::string quoted = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20) {
      quoted += "\\u00";
      quoted += kHex[byte >> 4];
      quoted += kHex[byte & 15];
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

// -?digits[.digits][(e|E)[+-]digits]: what may go into JSON unquoted. Age texts and
// other text values fail it and are written as strings.
bool IsJsonNumber(std::string_view text) {
  size_t i = 0;
  auto digits = [&] {
    const size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i > start;
  };
  if (i < text.size() && text[i] == '-') ++i;
  if (!digits()) return false;
  if (i < text.size() && text[i] == '.') {
    ++i;
    if (!digits()) return false;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (!digits()) return false;
  }
  return i == text.size();
}

std::string JsonArray(const std::vector<TRow>& rows) {
  std::string json = "[";
  for (size_t r = 0; r < rows.size(); ++r) {
    const TRow& row = rows[r];
    json += (r == 0 ? "\n" : ",\n");
    json += "{\"record\":" + std::to_string(row.Record) + ",\"name\":" + JsonString(row.Name) + ",\"values\":{";
    for (size_t c = 0; c < row.Cells.size(); ++c) {
      const TCell& cell = row.Cells[c];
      if (c > 0) json += ',';
      json += JsonString(cell.Variable) + ':';
      if (!cell.Valid) {
        json += "null";
      } else {
        json += IsJsonNumber(cell.Text) ? cell.Text : JsonString(cell.Text);
      }
    }
    json += "}}";
  }
  return json + "\n]\n";
}

}  // namespace

int MeasureCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TMeasureArguments arguments;
  Declare(parser, arguments);
  if (std::optional<int> exit = parser.Parse()) return *exit;
  const std::string& path = arguments.DataFile;

  TDataFileIndex file;
  if (!file.Open(path)) {
    err << TText(kFileReadErrorMessage, {path}).English() << '\n';
    return kExitFailure;
  }
  const std::string typeFolder = TypeFolder(arguments.Types, path);
  TTypeCache types({"", typeFolder});
  // The name asked for last is the one a record failing at its type could not find.
  std::string typeAsked;
  // Records of a type other than --type's are passed over before their type is looked for.
  bool otherType = false;
  int skipped = 0;
  const TTypeResolver cached = types.Resolver();
  const TTypeResolver resolver = [&](const std::string& name) -> TXRayType* {
    typeAsked = name;
    otherType = arguments.Type && name != *arguments.Type;
    return otherType ? nullptr : cached(name);
  };
  const TDataFileOptions fileOptions;
  TSettings settings = TSettings::Defaults(".");
  if (arguments.Missing) settings.General.NotAvailable = *arguments.Missing;
  TMeasuring measuring;
  TPresentationOptions options = PresentationOptions(settings, measuring);

  TXRay reference;
  if (arguments.Reference) {
    int stage = LoadFromDataFile(reference, file, path, *arguments.Reference, cached, fileOptions);
    if (stage != lsLoaded) {
      err << "Record " << *arguments.Reference
          << " cannot serve as the reference radiograph: " << LoadStageProblem(stage).English() << ".\n";
      return kExitFailure;
    }
    options.Measure.Reference = &reference;
  }

  const std::string* orient = arguments.Orient ? &*arguments.Orient : nullptr;
  const std::string* superimpose = arguments.Superimpose ? &*arguments.Superimpose : nullptr;
  // The radiograph the others are brought onto: the reference, or else the first record measured.
  std::unique_ptr<TXRay> fixed;
  auto placeFixed = [&](int n, TXRay& xray) {
    if (TResult placed = OrientAndSuperimpose(xray, xray, orient, nullptr, {}); !placed) {
      err << "Record " << n << ": " << TerminalText(placed.TextWithReason().English()) << '\n';
      return false;
    }
    return true;
  };
  if (arguments.Reference && (orient || superimpose)) {
    fixed = std::make_unique<TXRay>();
    LoadFromDataFile(*fixed, file, path, *arguments.Reference, cached, fileOptions);
    if (!placeFixed(*arguments.Reference, *fixed)) return kExitFailure;
  }

  std::string text;
  std::vector<TRow> rows;
  // Measures record n; false, with the reason on `err`, when it cannot be.
  auto measure = [&](int n, const std::string& line) {
    TXRay xray;
    xray.DataFile = path;
    const int stage = LoadFromDataLine(xray, line, resolver, fileOptions);
    const bool named = stage == lsLoaded || stage > lsName;
    if (arguments.Name && named && xray.Name != *arguments.Name) return true;
    if (stage == lsType && otherType) {
      ++skipped;
      return true;
    }
    if (stage == lsType) {
      err << "Record " << n << ": the radiograph type '" << typeAsked << "' is not among the type files in "
          << typeFolder << " (name another folder with --types).\n";
      return false;
    }
    if (stage != lsLoaded) {
      err << "Record " << n << " of " << path << " cannot be read: " << LoadStageProblem(stage).English() << ".\n";
      return false;
    }
    if (orient || superimpose) {
      if (!fixed) {
        fixed = std::make_unique<TXRay>();
        LoadFromDataLine(*fixed, line, resolver, fileOptions);
        if (!placeFixed(n, *fixed)) return false;
      }
      if (TResult placed = OrientAndSuperimpose(xray, *fixed, orient, superimpose, {}); !placed) {
        err << "Record " << n << ": " << TerminalText(placed.TextWithReason().English()) << '\n';
        return false;
      }
    }
    if (arguments.Analysis) {
      std::string error;
      const TXRayElement* analysis = MatchElement(*xray.Type(), *arguments.Analysis, ekAnalysis, "analysis", error);
      if (analysis == nullptr) {
        err << "Record " << n << ": " << error << ".\n";
        return false;
      }
      xray.SelectAnalysis(analysis->Name);
    }
    if (arguments.Format == TFormat::Text) {
      AppendText(xray, n, arguments, options, text);
    } else {
      rows.push_back(TableRow(xray, n, arguments.Raw, options));
    }
    return true;
  };

  std::string line;
  if (arguments.Records) {
    for (int n : *arguments.Records) {
      if (!file.ReadLine(static_cast<size_t>(n), line)) {
        if (file.Failed()) break;
        err << "Record " << n << " is not in " << path << ".\n";
        return kExitFailure;
      }
      if (!measure(n, line)) return kExitFailure;
    }
  } else {
    bool found = false;
    for (size_t n = 1; file.ReadLine(n, line); ++n) {
      if (IsBlank(line)) continue;
      const size_t before = text.size() + rows.size();
      if (!measure(static_cast<int>(n), line)) return kExitFailure;
      found = found || text.size() + rows.size() != before;
    }
    if (!file.Failed() && arguments.Name && !found) {
      err << "No record of " << path << " is named '" << *arguments.Name << "'.\n";
      return kExitFailure;
    }
  }
  if (file.Failed()) {
    err << TText(kFileReadErrorMessage, {path}).English() << '\n';
    return kExitFailure;
  }
  if (skipped > 0) err << "Skipped " << skipped << (skipped == 1 ? " record" : " records") << " of other types.\n";
  if (arguments.Type && text.empty() && rows.empty()) {
    err << "No record of " << path << " is of the type '" << *arguments.Type << "'.\n";
    return kExitFailure;
  }

  switch (arguments.Format) {
    case TFormat::Text: out << TerminalSafe(text); break;
    case TFormat::Csv: out << TerminalSafe(DelimitedTable(rows, ',')); break;
    case TFormat::Tsv: out << TerminalSafe(DelimitedTable(rows, '\t')); break;
    case TFormat::Json: out << JsonArray(rows); break;
  }
  return kExitOk;
}

}  // namespace lumacet::cli
