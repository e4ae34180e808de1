// lumacet-cli export: every radiograph of the type in the data file becomes one record of
// the output. A table (the default) is appended to the file as the Export dialog writes it;
// a spreadsheet workbook (--format xlsx) is written anew with numbers as numbers;
// TPS and MorphoJ replace the file with the landmark configurations of --drawing, --pca or,
// without either, of every digitized point. The total is printed on stdout; progress goes
// to stderr while it is a terminal.
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>
#include <tuple>
#include <utility>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "cli/progress_line.h"
#include "model/xray_type.h"
#include "persistence/type_finder.h"
#include "population/landmark_export.h"
#include "population/measurement_export.h"
#include "shell/settings_options.h"

namespace lumacet::cli {

namespace {

enum class TFormat { Table, Xlsx, Tps, MorphoJ };

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
  std::optional<std::string> Delimiter;
  bool AllVariables = false;
  std::optional<char> DecimalSeparator;
  std::optional<std::string> DateFormat;
};

std::optional<std::string> Delimiter(std::string_view text) {
  if (text == "tab") return DelimiterText(TDelimiterChoice::Tab, {});
  if (text == "comma") return DelimiterText(TDelimiterChoice::Comma, {});
  if (text == "space") return DelimiterText(TDelimiterChoice::Space, {});
  if (text.empty()) return std::nullopt;
  return DelimiterText(TDelimiterChoice::Other, std::string(text));
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

std::optional<char> OneCharacter(std::string_view text) {
  if (text.size() != 1) return std::nullopt;
  return text[0];
}

void Declare(TArgumentParser& arguments, TExportArguments& parsed) {
  TMeasurementExportOptions& table = parsed.Table;
  arguments.Operand("DATAFILE", "the data file (.csv)", parsed.DataFile);
  arguments.Option("--type", "NAME", "the radiograph type whose records are exported", parsed.Type).Required = true;
  arguments.Option("--out", "FILE", "the file written (a table is appended to it)", parsed.Out, TValueKind::File).Required = true;
  arguments.Option("--analysis", "NAME", "a table of the analysis's measurements", parsed.Analysis);
  arguments.Option("--drawing", "NAME", "the coordinates of the drawing's points", parsed.Drawing);
  arguments.Option("--pca", "NAME", "the landmarks of the PCA's points (tps and morphoj)", parsed.Pca);
  arguments.Choice("--format", "a table, a spreadsheet workbook written anew, or landmark configurations (table)",
                   parsed.Format,
                   {{"table", TFormat::Table}, {"xlsx", TFormat::Xlsx}, {"tps", TFormat::Tps}, {"morphoj", TFormat::MorphoJ}});
  arguments.Option("--types", "DIR", "the folder of the type files (the data file's folder)", parsed.Types,
                   TValueKind::Folder);
  arguments.Option("--delimiter", "tab|comma|space|TEXT", "what separates the fields of a table (tab)",
                   parsed.Delimiter, Delimiter);
  arguments.Flag("--headers", "begin the table with a header line (when the file is new or empty)", table.Headers);
  arguments.Flag("--replace", "write the table anew instead of appending it to the file", table.Replace);
  arguments.Flag("--abbreviated", "cut the headers to 8 characters", table.AbbreviatedHeaders);
  arguments.Repeated("--include", "LIST",
                     "patient fields, separated by commas: name, age, sex, sexnum, dob, taken, magnification, "
                     "comments",
                     [&table](std::string_view list) { return ParseInclude(list, table.Include); });
  arguments.Flag("--full-precision", "measurements in full precision", table.FullPrecision);
  arguments.Flag("--all-variables", "every variable of the analysis, not only those it shows", parsed.AllVariables);
  arguments.Flag("--keep-labels", "keep the variables that are only labels", table.SkipLabels, false);
  arguments.Choice("--size", "life size or radiograph size (life)", table.LifeSize, {{"life", true}, {"xray", false}});
  arguments.Flag("--no-reflect", "keep the radiograph's downward y axis", table.ReflectY, false);
  arguments.Flag("--keep-incomplete", "keep records with points missing", table.SkipMissingPoints, false);
  arguments.Flag("--same-line", "all points of a record on one line", table.PointPerLine, false);
  arguments.Option("--decimal-separator", "C", "the character before the decimals (.)", parsed.DecimalSeparator,
                   OneCharacter);
  arguments.Option("--missing", "TEXT", "what a value that cannot be measured reads as (N/A; nil for coordinates)",
                   table.Missing, AnyText());
  arguments.Option("--date-format", "PATTERN", "how dates are written (dd/MM/yyyy)", parsed.DateFormat);
  arguments.Choice("--encoding", "the characters of the file (windows-1252)", table.Encoding,
                   {{"windows-1252", TTextEncoding::Windows1252}, {"utf-8", TTextEncoding::Utf8}});
  arguments.Flag("--bom", "begin a new UTF-8 file with a byte-order mark", table.ByteOrderMark);
  arguments.Flag("--anonymize",
                 "no name, date of birth or comment: radiographs are called by their record numbers",
                 table.Anonymize);
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

int ExportCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TExportArguments arguments;
  Declare(parser, arguments);
  if (std::optional<int> exit = parser.Parse()) return *exit;
  const int chosen = (arguments.Analysis ? 1 : 0) + (arguments.Drawing ? 1 : 0) + (arguments.Pca ? 1 : 0);
  if (arguments.Format == TFormat::Table && (chosen != 1 || arguments.Pca))
    return parser.Fail("a table needs one of --analysis and --drawing");
  if (arguments.Format == TFormat::Xlsx && (chosen != 1 || !arguments.Analysis))
    return parser.Fail("a workbook needs --analysis");
  if ((arguments.Format == TFormat::Tps || arguments.Format == TFormat::MorphoJ) && (chosen > 1 || arguments.Analysis))
    return parser.Fail("landmarks take at most one of --drawing and --pca");
  if (arguments.Table.ByteOrderMark && arguments.Table.Encoding != TTextEncoding::Utf8)
    return parser.Fail("--bom needs --encoding utf-8");
  if (arguments.Delimiter) arguments.Table.Delimiter = *arguments.Delimiter;
  if (arguments.AllVariables) arguments.Table.Variables = TExportVariables::All;

  const std::string typeFolder = TypeFolder(arguments.Types, arguments.DataFile);
  TTypeCache types({"", typeFolder});
  const TXRayType* type = NeedType(types, arguments.Type, typeFolder, err);
  if (type == nullptr) return kExitFailure;
  // The analysis and the drawing may be named in any case while that names one of them.
  for (auto [name, code, what] : {std::tuple{&arguments.Analysis, int(ekAnalysis), "analysis"},
                                  std::tuple{&arguments.Drawing, int(ekGraphic), "drawing"}}) {
    if (!*name) continue;
    std::string error;
    const TXRayElement* element = MatchElement(*type, **name, code, what, error);
    if (element == nullptr) {
      err << "lumacet-cli export: " << error << '\n';
      return kExitFailure;
    }
    **name = element->Name;
  }
  TProgressLine progressLine;
  const TProgress progress = [&](const std::string& status) { return progressLine.Show(status); };

  TMeasurementExportOptions& table = arguments.Table;
  if (arguments.Format == TFormat::Tps || arguments.Format == TFormat::MorphoJ) {
    TLandmarkExportOptions options;
    options.SourceFile = arguments.DataFile;
    options.TargetFile = arguments.Out;
    options.TypeName = arguments.Type;
    options.Format = arguments.Format == TFormat::Tps ? TLandmarkFormat::Tps : TLandmarkFormat::MorphoJ;
    options.Points = arguments.Drawing ? TLandmarkSet::Drawing
                     : arguments.Pca   ? TLandmarkSet::Pca
                                        : TLandmarkSet::AllDigitized;
    options.Element = arguments.Drawing.value_or(arguments.Pca.value_or(""));
    options.LifeSize = table.LifeSize;
    options.ReflectY = table.ReflectY;
    options.Anonymize = table.Anonymize;
    options.Encoding = table.Encoding;
    options.ByteOrderMark = table.ByteOrderMark;
    const TLandmarkExportResult result = ExportLandmarks(options, {types.Resolver(), {}}, progress);
    progressLine.Finish();
    return Report(result.Ok, result.Message, result.Reason, out, err);
  }

  table.SourceFile = arguments.DataFile;
  table.TargetFile = arguments.Out;
  table.TypeName = arguments.Type;
  table.Data = arguments.Analysis ? TExportData::Measurements : TExportData::PointCoordinates;
  table.Analysis = arguments.Analysis.value_or("");
  table.Drawing = arguments.Drawing.value_or("");
  TExportContext context;
  context.Types = types.Resolver();
  TMeasuring measuring;
  if (arguments.DecimalSeparator) measuring.Formats.DecimalSeparator = *arguments.DecimalSeparator;
  if (arguments.DateFormat) measuring.Formats.ShortDateFormat = *arguments.DateFormat;
  context.Presentation = PresentationOptions(TSettings::Defaults("."), measuring);
  const TExportResult result = arguments.Format == TFormat::Xlsx ? ExportDataWorkbook(table, context, progress)
                                                                : ExportDataFile(table, context, progress);
  progressLine.Finish();
  return Report(result.Ok, result.Message, result.Reason, out, err);
}

}  // namespace lumacet::cli
