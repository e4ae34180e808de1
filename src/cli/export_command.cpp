// lumacet-cli export DATAFILE --type NAME --out FILE [--analysis NAME | --drawing NAME |
// --pca NAME] [--format table|tps|morphoj] [--types DIR] [options]: every radiograph of the
// type in the data file becomes one record of the output.
//
// --format table (the default) appends to FILE what the Export dialog writes: the
// variables of --analysis or the coordinates of --drawing's points, with
//   --delimiter tab|comma|space|TEXT   between fields (tab)
//   --headers, --abbreviated           a header line, its texts cut to 8 characters
//   --include name,age,sex,sexnum,dob,taken,magnification,comments   patient fields
//   --full-precision, --all-variables, --keep-labels                  measurements
//   --no-reflect, --keep-incomplete, --same-line                      point coordinates
//   --size life|xray                   life size (default) or radiograph size
//   --decimal-separator C, --date-format PATTERN   how numbers and dates read (".", dd/MM/yyyy)
// --format tps|morphoj replaces FILE with the landmark configurations of --drawing, --pca
// or, without either, of every digitized point (--size and --no-reflect apply).
// Types are looked up in the data file's folder unless --types names another. The total is
// printed on stdout; progress goes to stderr while it is a terminal.
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>
#include <utility>

#include "cli/commands.h"
#include "cli/progress_line.h"
#include "persistence/type_finder.h"
#include "population/landmark_export.h"
#include "population/measurement_export.h"
#include "shell/settings_options.h"

namespace lumacet::cli {

namespace {

enum class TFormat { Table, Tps, MorphoJ };

struct TExportArguments {
  std::string DataFile;
  std::string Type;
  std::string Out;
  std::optional<std::string> Types;
  std::optional<std::string> Analysis;
  std::optional<std::string> Drawing;
  std::optional<std::string> Pca;
  TFormat Format = TFormat::Table;
  TMeasurementExportOptions Table;
  char DecimalSeparator = '.';
  std::optional<std::string> DateFormat;
};

std::optional<std::string> Delimiter(const std::string& text) {
  if (text == "tab") return DelimiterText(TDelimiterChoice::Tab, {});
  if (text == "comma") return DelimiterText(TDelimiterChoice::Comma, {});
  if (text == "space") return DelimiterText(TDelimiterChoice::Space, {});
  if (text.empty()) return std::nullopt;
  return DelimiterText(TDelimiterChoice::Other, text);
}

bool ParseInclude(std::string_view list, TPatientFields& include) {
  const std::pair<std::string_view, bool TPatientFields::*> kFields[] = {
      {"name", &TPatientFields::Name},
      {"age", &TPatientFields::Age},
      {"sex", &TPatientFields::Sex},
      {"sexnum", &TPatientFields::SexNum},
      {"dob", &TPatientFields::DateOfBirth},
      {"taken", &TPatientFields::DateTaken},
      {"magnification", &TPatientFields::Magnification},
      {"comments", &TPatientFields::Comments},
  };
  while (true) {
    const size_t comma = list.find(',');
    const std::string_view name = list.substr(0, comma);
    auto field = std::find_if(std::begin(kFields), std::end(kFields), [&](const auto& f) { return f.first == name; });
    if (field == std::end(kFields)) return false;
    include.*(field->second) = true;
    if (comma == std::string_view::npos) return true;
    list.remove_prefix(comma + 1);
  }
}

std::optional<TFormat> ParseFormat(const std::string& text) {
  if (text == "table") return TFormat::Table;
  if (text == "tps") return TFormat::Tps;
  if (text == "morphoj") return TFormat::MorphoJ;
  return std::nullopt;
}

std::optional<TExportArguments> ParseArguments(const std::vector<std::string>& args) {
  TExportArguments parsed;
  TMeasurementExportOptions& table = parsed.Table;
  bool formatGiven = false;
  bool delimiterGiven = false;
  bool sizeGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--headers") {
      table.Headers = true;
    } else if (arg == "--abbreviated") {
      table.AbbreviatedHeaders = true;
    } else if (arg == "--full-precision") {
      table.FullPrecision = true;
    } else if (arg == "--all-variables") {
      table.Variables = TExportVariables::All;
    } else if (arg == "--keep-labels") {
      table.SkipLabels = false;
    } else if (arg == "--no-reflect") {
      table.ReflectY = false;
    } else if (arg == "--keep-incomplete") {
      table.SkipMissingPoints = false;
    } else if (arg == "--same-line") {
      table.PointPerLine = false;
    } else if (!arg.starts_with("--")) {
      if (!parsed.DataFile.empty() || arg.empty()) return std::nullopt;
      parsed.DataFile = arg;
    } else if (!hasValue) {
      return std::nullopt;
    } else if (arg == "--type" && parsed.Type.empty()) {
      parsed.Type = args[++i];
    } else if (arg == "--out" && parsed.Out.empty()) {
      parsed.Out = args[++i];
    } else if (arg == "--types" && !parsed.Types) {
      parsed.Types = args[++i];
    } else if (arg == "--analysis" && !parsed.Analysis) {
      parsed.Analysis = args[++i];
    } else if (arg == "--drawing" && !parsed.Drawing) {
      parsed.Drawing = args[++i];
    } else if (arg == "--pca" && !parsed.Pca) {
      parsed.Pca = args[++i];
    } else if (arg == "--format" && !formatGiven) {
      std::optional<TFormat> format = ParseFormat(args[++i]);
      if (!format) return std::nullopt;
      parsed.Format = *format;
      formatGiven = true;
    } else if (arg == "--delimiter" && !delimiterGiven) {
      std::optional<std::string> delimiter = Delimiter(args[++i]);
      if (!delimiter) return std::nullopt;
      table.Delimiter = *delimiter;
      delimiterGiven = true;
    } else if (arg == "--include") {
      if (!ParseInclude(args[++i], table.Include)) return std::nullopt;
    } else if (arg == "--size" && !sizeGiven) {
      const std::string& size = args[++i];
      if (size != "life" && size != "xray") return std::nullopt;
      table.LifeSize = size == "life";
      sizeGiven = true;
    } else if (arg == "--decimal-separator" && args[i + 1].size() == 1) {
      parsed.DecimalSeparator = args[++i][0];
    } else if (arg == "--date-format" && !parsed.DateFormat) {
      parsed.DateFormat = args[++i];
    } else {
      return std::nullopt;
    }
  }
  if (parsed.DataFile.empty() || parsed.Type.empty() || parsed.Out.empty()) return std::nullopt;
  const int chosen = (parsed.Analysis ? 1 : 0) + (parsed.Drawing ? 1 : 0) + (parsed.Pca ? 1 : 0);
  if (parsed.Format == TFormat::Table ? chosen != 1 || parsed.Pca : chosen > 1 || parsed.Analysis) return std::nullopt;
  return parsed;
}

int Report(bool ok, const std::string& message, const std::string& reason, std::ostream& out, std::ostream& err) {
  if (!ok) {
    err << TerminalText(message) << (reason.empty() ? "" : " (" + reason + ")") << '\n';
    return kExitFailure;
  }
  out << TerminalText(message) << '\n';
  return kExitOk;
}

}  // namespace

int ExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::optional<TExportArguments> arguments = ParseArguments(args);
  if (!arguments) return kExitUsage;

  std::string typeFolder = arguments->Types.value_or(std::filesystem::path(arguments->DataFile).parent_path().string());
  if (typeFolder.empty()) typeFolder = ".";
  TTypeCache types({"", typeFolder});
  if (TResultOf<TXRayType*> type = types.GetOrLoadType(arguments->Type); !type) {
    err << TerminalText(type.Text().English()) << '\n';
    return kExitFailure;
  }
  TProgressLine progressLine;
  const TProgress progress = [&](const std::string& status) { return progressLine.Show(status); };

  TMeasurementExportOptions& table = arguments->Table;
  if (arguments->Format != TFormat::Table) {
    TLandmarkExportOptions options;
    options.SourceFile = arguments->DataFile;
    options.TargetFile = arguments->Out;
    options.TypeName = arguments->Type;
    options.Format = arguments->Format == TFormat::Tps ? TLandmarkFormat::Tps : TLandmarkFormat::MorphoJ;
    options.Points = arguments->Drawing ? TLandmarkSet::Drawing
                     : arguments->Pca   ? TLandmarkSet::Pca
                                        : TLandmarkSet::AllDigitized;
    options.Element = arguments->Drawing.value_or(arguments->Pca.value_or(""));
    options.LifeSize = table.LifeSize;
    options.ReflectY = table.ReflectY;
    const TLandmarkExportResult result = ExportLandmarks(options, {types.Resolver(), {}}, progress);
    progressLine.Finish();
    return Report(result.Ok, result.Message, result.Reason, out, err);
  }

  table.SourceFile = arguments->DataFile;
  table.TargetFile = arguments->Out;
  table.TypeName = arguments->Type;
  table.Data = arguments->Analysis ? TExportData::Measurements : TExportData::PointCoordinates;
  table.Analysis = arguments->Analysis.value_or("");
  table.Drawing = arguments->Drawing.value_or("");
  TExportContext context;
  context.Types = types.Resolver();
  context.Presentation = PresentationOptions(TSettings::Defaults("."), TMeasureContext{});
  context.Presentation.Measure.Formats.DecimalSeparator = arguments->DecimalSeparator;
  if (arguments->DateFormat) context.Presentation.Measure.Formats.ShortDateFormat = *arguments->DateFormat;
  const TExportResult result = ExportDataFile(table, context, progress);
  progressLine.Finish();
  return Report(result.Ok, result.Message, result.Reason, out, err);
}

}  // namespace lumacet::cli
