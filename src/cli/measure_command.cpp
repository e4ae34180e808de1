// lumacet-cli measure DATAFILE TYPEFILE [--values] [--graph] [--analysis NAME] [--reference N]:
// measures every record of the data file whose type is the given one and prints its
// analysis text (columns separated by TAB), or with --values every variable's value.
#include <optional>

#include "cli/commands.h"
#include "measure/analysis_text.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/data_lines.h"
#include "persistence/file_numbers.h"

namespace lumacet::cli {

namespace {

struct TMeasureArguments {
  std::string DataFile;
  std::string TypeFile;
  bool Values = false;
  bool Graph = false;
  std::optional<std::string> Analysis;
  std::optional<int> Reference;
};

std::optional<TMeasureArguments> ParseArguments(const std::vector<std::string>& args) {
  TMeasureArguments parsed;
  std::vector<std::string> paths;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--values") {
      parsed.Values = true;
    } else if (args[i] == "--graph") {
      parsed.Graph = true;
    } else if (args[i] == "--analysis" && hasValue && !parsed.Analysis) {
      parsed.Analysis = args[++i];
    } else if (args[i] == "--reference" && hasValue && !parsed.Reference) {
      std::optional<int32_t> line = ParseFileInt(args[++i]);
      if (!line || *line < 1) return std::nullopt;
      parsed.Reference = *line;
    } else if (!args[i].empty() && !args[i].starts_with("--")) {
      paths.push_back(args[i]);
    } else {
      return std::nullopt;
    }
  }
  if (paths.size() != 2) return std::nullopt;
  parsed.DataFile = paths[0];
  parsed.TypeFile = paths[1];
  return parsed;
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

void PrintValues(TXRay& xray, TXRayType& type, const TPresentationOptions& options, std::ostream& out) {
  xray.LoadCoordinates();
  for (const auto& element : type.ElementList(ekVariable)) {
    auto& variable = static_cast<TXRVariable&>(*element);
    ComputeVariable(variable, xray, options.Measure);
    out << variable.Name << '\t' << (variable.Valid ? variable.ValueText : options.NotAvailable) << '\n';
  }
}

void PrintAnalysis(TXRay& xray, int flags, const TPresentationOptions& options, std::ostream& out) {
  for (const TAnalysisLine& line : AnalysisLines(xray, flags, options)) out << line.Text << '\n';
}

}  // namespace

int MeasureCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::optional<TMeasureArguments> arguments = ParseArguments(args);
  if (!arguments) return kExitUsage;

  TXRayType type;
  std::string message;
  if (!type.LoadFromTypeFile(arguments->TypeFile, message)) {
    err << TerminalText(message) << '\n';
    return kExitFailure;
  }
  if (arguments->Analysis && type.FindElement(*arguments->Analysis, ekAnalysis) == nullptr) {
    err << "The type '" << type.Name << "' has no analysis '" << *arguments->Analysis << "'.\n";
    return kExitFailure;
  }
  TDataFileIndex file;
  if (!file.Open(arguments->DataFile)) {
    err << FillIn(kFileReadErrorMessage, arguments->DataFile) << '\n';
    return kExitFailure;
  }

  // Records of other types are passed over, as the population commands do.
  const TTypeResolver resolver = [&type](const std::string& name) { return name == type.Name ? &type : nullptr; };
  const TDataFileOptions fileOptions;
  TSettings settings = TSettings::Defaults(".");
  TPresentationOptions options = PresentationOptions(settings, TMeasureContext{});

  TXRay reference;
  if (arguments->Reference) {
    int stage = LoadFromDataFile(reference, file, arguments->DataFile, *arguments->Reference, resolver, fileOptions);
    if (stage != lsLoaded) {
      err << "Record " << *arguments->Reference << " cannot serve as the reference radiograph (stage " << stage
          << ").\n";
      return kExitFailure;
    }
    options.Measure.Reference = &reference;
  }

  const int flags = kTextLineNormals | (arguments->Graph ? kTextLineGraph : 0);
  int measured = 0;
  int passedOver = 0;
  bool failed = false;
  std::string text;
  for (size_t n = 1; file.ReadLine(n, text); ++n) {
    if (IsBlank(text)) continue;
    TXRay xray;
    xray.DataFile = arguments->DataFile;
    int stage = LoadFromDataLine(xray, text, resolver, fileOptions);
    if (stage == lsType) {
      ++passedOver;
      continue;
    }
    if (stage != lsLoaded) {
      err << "Record " << n << " cannot be read (stage " << stage << ").\n";
      failed = true;
      continue;
    }
    if (arguments->Analysis) xray.SelectAnalysis(*arguments->Analysis);
    ++measured;
    if (arguments->Values) {
      out << "Record " << n << ": " << xray.Caption(options.Measure.Formats) << '\n';
      PrintValues(xray, type, options, out);
    } else {
      out << "Record " << n << ": " << AnalysisCaption(xray, options.Measure.Formats) << '\n';
      PrintAnalysis(xray, flags, options, out);
    }
    out << '\n';
  }
  if (file.Failed()) {
    err << FillIn(kFileReadErrorMessage, arguments->DataFile) << '\n';
    return kExitFailure;
  }
  err << "Measured: " << measured << ", other types: " << passedOver << '\n';
  return failed ? kExitFailure : kExitOk;
}

}  // namespace lumacet::cli
