// lumacet-cli convert: rewrites records of one radiograph type as records of another and
// appends them to the target data file; the source is never changed. Every point of the
// target type takes the source point of the same name unless --map names another. Without
// --records every record of the source is taken; records of other types are passed over.
// The total is printed on stdout; progress goes to stderr while it is a terminal.
#include <charconv>
#include <filesystem>
#include <optional>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "cli/progress_line.h"
#include "persistence/data_lines.h"
#include "persistence/type_finder.h"
#include "population/type_conversion.h"

namespace lumacet::cli {

namespace {

struct TConvertArguments {
  std::string Source;
  std::string From;
  std::string To;
  std::string Out;
  std::optional<std::string> Types;
  std::optional<std::vector<int>> Records;
  std::vector<TCorrespondence> Map;
  std::optional<int> MinimumShare;
};

// A whole percentage, 0 to 100.
std::optional<int> Percentage(std::string_view text) {
  int value = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > 100) return std::nullopt;
  return value;
}

// The table the run used, one target point a line, so that a user sees what was matched.
void PrintTable(const TCorrespondenceTable& table, const std::string& to, const std::string& from,
                std::ostream& stream) {
  stream << "Point correspondences ('" << to << "' <- '" << from << "'), " << CarriedCount(table.Rows()) << " of "
         << table.Rows().size() << " carried over:\n";
  for (const TCorrespondence& row : table.Rows()) stream << "  " << row.Target << " <- " << row.Source << '\n';
}

void Declare(TArgumentParser& arguments, TConvertArguments& parsed) {
  arguments.Operand("SOURCE", "the data file the records are read from (never changed)", parsed.Source);
  arguments.Option("--from", "TYPE", "the records' radiograph type", parsed.From).Required = true;
  arguments.Option("--to", "TYPE", "the radiograph type they become", parsed.To).Required = true;
  arguments.Option("--out", "DATAFILE", "the data file the converted records are appended to", parsed.Out,
                   TValueKind::File).Required = true;
  arguments.Option("--types", "DIR", "the folder of the type files (SOURCE's folder)", parsed.Types,
                   TValueKind::Folder);
  arguments.Option("--records", "LIST", "the records to convert, numbers as 'list' prints them (all)",
                   parsed.Records, RecordList());
  arguments.Repeated("--map", "TARGET=SOURCE",
                     "the target point TARGET takes the source point SOURCE (<none>: left undigitized); otherwise "
                     "points are matched by name",
                     [&parsed](std::string_view pair) {
                       const size_t equals = pair.find('=');
                       if (equals == std::string_view::npos || equals == 0) return false;
                       parsed.Map.push_back({std::string(pair.substr(0, equals)), std::string(pair.substr(equals + 1))});
                       return true;
                     });
  arguments.Option("--min-share", "PERCENT",
                   "refuse to convert when fewer of the target's points take a source point (50)",
                   parsed.MinimumShare, Percentage);
}

}  // namespace

int ConvertCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TConvertArguments arguments;
  Declare(parser, arguments);
  if (std::optional<int> exit = parser.Parse()) return *exit;

  const std::string typeFolder = TypeFolder(arguments.Types, arguments.Source);
  TTypeCache types({"", typeFolder});
  TXRayType* source = NeedType(types, arguments.From, typeFolder, err);
  TXRayType* target = source == nullptr ? nullptr : NeedType(types, arguments.To, typeFolder, err);
  if (target == nullptr) return kExitFailure;
  TCorrespondenceTable table;
  table.SetSourceType(*source);
  table.SetTargetType(*target);
  for (const TCorrespondence& pair : arguments.Map) {
    if (!table.Assign(pair.Target, pair.Source)) {
      err << "Cannot map '" << pair.Target << "' to '" << pair.Source << "': '" << arguments.To
          << "' needs a digitized point of its own on the left and '" << arguments.From
          << "' one of its digitized points (or " << kNoCorrespondence << ") on the right.\n";
      return kExitFailure;
    }
  }

  TTypeConversionOptions options;
  options.SourceFile = arguments.Source;
  options.SourceType = arguments.From;
  options.TargetType = arguments.To;
  options.TargetFile = arguments.Out;
  options.Correspondences = table.Rows();
  if (arguments.MinimumShare) options.MinimumCarried = *arguments.MinimumShare / 100.0;
  PrintTable(table, arguments.To, arguments.From, out);
  std::optional<std::vector<int>> records = ChosenRecords(arguments.Records, arguments.Source, err);
  if (!records) return kExitFailure;
  options.Records = std::move(*records);

  TProgressLine progressLine;
  const TConversionResult result = ConvertType(options, {types.Resolver(), {}},
                                               [&](const std::string& status) { return progressLine.Show(status); });
  progressLine.Finish();
  for (const std::string& error : result.SaveErrors) err << TText(kSaveErrorMessage).English() << ' ' << error << '\n';
  if (!result.Ok) {
    err << TerminalText(result.Message) << (result.Reason.empty() ? "" : " (" + result.Reason + ")") << '\n';
    return kExitFailure;
  }
  out << TerminalText(result.Message) << '\n';
  return result.SaveErrors.empty() ? kExitOk : kExitFailure;
}

}  // namespace lumacet::cli
