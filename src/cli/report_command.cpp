// lumacet-cli report: the extended report of one to four records of one radiograph type,
// laid out on A4 or Letter sheets as the program prints it: a PDF of real pages with real
// text, or an SVG showing the pages one under another as the report window previews them.
// The layout is the settings file's (--settings), or the defaults.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "graphics/extended_report.h"
#include "graphics/recording_canvas.h"
#include "imaging/image_commands.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/type_finder.h"
#include "platform/qpainter_canvas.h"
#include "shell/settings.h"
#include "shell/settings_options.h"
#include "support/file_numbers.h"

namespace lumacet::cli {

namespace {

// Pictures are painted at 254 dots per inch: one dot is one tracing unit.
constexpr double kReportDpi = 254;

enum class TReportFormat { Pdf, Svg };

struct TReportArguments {
  std::string DataFile;
  std::optional<std::vector<int>> Records;
  std::string Out;
  TPaperKind Page = TPaperKind::A4;
  std::optional<std::string> Types;
  std::optional<std::string> Settings;
  std::optional<std::string> Header;
  std::optional<std::string> Footer;
  std::optional<double> Zoom;
  std::optional<TIntPoint> Offset;
  bool Landscape = false;
  bool Images = false;
};

std::optional<TReportFormat> ReportFormatOf(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".pdf") return TReportFormat::Pdf;
  if (extension == ".svg") return TReportFormat::Svg;
  return std::nullopt;
}

std::optional<TIntPoint> ParseOffset(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::optional<int> x = ParseFileInt(text.substr(0, comma));
  const std::optional<int> y = ParseFileInt(text.substr(comma + 1));
  if (!x || !y) return std::nullopt;
  return TIntPoint{*x, *y};
}

// The offset that puts the middle of the records' tracings in the middle of the box.
TPageOffset CentredOffset(const std::vector<std::unique_ptr<TXRay>>& records, const TExtAnalysisSettings& settings) {
  std::optional<TIntRect> bounds;
  for (const auto& xray : records) {
    const TIntRect b = xray->TracingBounds();
    if (b.Right <= b.Left || b.Bottom <= b.Top) continue;
    bounds = bounds ? TIntRect{std::min(bounds->Left, b.Left), std::min(bounds->Top, b.Top),
                               std::max(bounds->Right, b.Right), std::max(bounds->Bottom, b.Bottom)}
                    : b;
  }
  if (!bounds || !(settings.TracingZoom > 0)) return settings.TracingExtPage;
  const double width = settings.TracingWidth * 254 / settings.TracingZoom;
  const double height = settings.TracingHeight * 254 / settings.TracingZoom;
  return {RoundSaturated((bounds->Left + bounds->Right - width) / 2),
          RoundSaturated((bounds->Top + bounds->Bottom - height) / 2)};
}

void Declare(TArgumentParser& arguments, TReportArguments& parsed) {
  arguments.Operand("DATAFILE", "the data file (.csv)", parsed.DataFile);
  arguments.Option("--records", "LIST", "one to four records, numbers as 'list' prints them; the first is the current one",
                   parsed.Records, RecordList()).Required = true;
  arguments.Option("--out", "FILE", "the report, FILE.pdf or FILE.svg", parsed.Out, TValueKind::File).Required = true;
  arguments.Choice("--page", "the paper (a4)", parsed.Page, {{"a4", TPaperKind::A4}, {"letter", TPaperKind::Letter}});
  arguments.Flag("--landscape", "lay the sheets out in landscape (the settings' orientation)", parsed.Landscape);
  arguments.Option("--types", "DIR", "the folder of the type files (the data file's folder)", parsed.Types,
                   TValueKind::Folder);
  arguments.Option("--settings", "FILE", "the settings file whose report layout is used (the defaults)",
                   parsed.Settings, TValueKind::File);
  arguments.Option("--header", "TEXT", "the page header, with the codes @n @c @d @b @a @p (the settings')",
                   parsed.Header);
  arguments.Option("--footer", "TEXT", "the page footer, with the same codes (the settings')", parsed.Footer);
  arguments.Option("--zoom", "F", "the tracing's scale in its box, 1 for life size (the settings')", parsed.Zoom,
                   [](std::string_view text) { return ParseFileReal(text, false); });
  arguments.Option("--offset", "X,Y",
                   "the tracing point at the top left of the tracing box, in tenths of a millimetre (the settings' "
                   "with --settings, else the tracings centred in the box)",
                   parsed.Offset, ParseOffset);
  arguments.Flag("--images", "paint each record's linked image under the tracings", parsed.Images);
}

}  // namespace

int ReportCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TReportArguments arguments;
  Declare(parser, arguments);
  if (std::optional<int> exit = parser.Parse()) return *exit;
  const std::optional<TReportFormat> format = ReportFormatOf(arguments.Out);
  if (!format) return parser.Fail("invalid value for --out: '" + arguments.Out + "' (the name must end in .pdf or .svg)");
  if (arguments.Records->empty() || arguments.Records->size() > static_cast<std::size_t>(kMaximumReportRadiographs))
    return parser.Fail("--records: a report covers one to four records");

  TSettings settings = TSettings::Defaults(".");
  if (arguments.Settings && !settings.Load(*arguments.Settings)) {
    err << "The settings file " << *arguments.Settings << " cannot be read.\n";
    return kExitFailure;
  }
  if (arguments.Header) settings.ExtAnalysis.PageHeader = *arguments.Header;
  if (arguments.Footer) settings.ExtAnalysis.PageFooter = *arguments.Footer;
  if (arguments.Zoom) settings.ExtAnalysis.TracingZoom = *arguments.Zoom;
  if (arguments.Landscape) settings.ExtAnalysis.PageOrientation = 0;

  const std::string typeFolder = TypeFolder(arguments.Types, arguments.DataFile);
  TTypeCache types({"", typeFolder});
  auto loaded = LoadRecords(arguments.DataFile, *arguments.Records, types, settings, arguments.Images, err);
  if (!loaded) return kExitFailure;
  std::vector<std::unique_ptr<TXRay>>& records = *loaded;
  for (std::size_t i = 1; i < records.size(); ++i) {
    if (records[i]->Type()->Name != records.front()->Type()->Name) {
      err << "Record " << (*arguments.Records)[i] << " is of the type '" << records[i]->Type()->Name << "', record "
          << arguments.Records->front() << " of the type '" << records.front()->Type()->Name
          << "': a report covers records of one type.\n";
      return kExitFailure;
    }
  }

  // As render draws them: several tracings in their types' own pens cannot be told apart.
  if (!arguments.Settings && records.size() > 1) settings.Radiograph.DrawingStyle = kStyleByPosition;
  if (arguments.Offset) settings.ExtAnalysis.TracingExtPage = {arguments.Offset->X, arguments.Offset->Y};
  else if (!arguments.Settings) settings.ExtAnalysis.TracingExtPage = CentredOffset(records, settings.ExtAnalysis);

  TMeasuring measuring;
  std::vector<TRadiograph*> radiographs;
  for (const auto& xray : records) radiographs.push_back(xray.get());
  const TExtendedReport report = ExtendedReport(settings, measuring, radiographs, arguments.Images);
  const TPaper paper = MakePaper(arguments.Page, settings.ExtAnalysis.PageOrientation != 0, kReportDpi);

  // Laid out once without painting: bad settings are refused before any file is begun,
  // and an SVG learns how many pages it shows.
  EnsureGuiApplication();
  TRecordingCanvas dryRun(paper.Dots);
  const TResultOf<int> pages = DrawExtendedReport(dryRun, report, paper, TPageFlow::Sheets);
  if (!pages) {
    err << TerminalText(pages.Text().English()) << '\n';
    return kExitFailure;
  }
  const TTextFormats& formats = report.Presentation.Measure.Formats;
  const std::string title = "Lumacet Extended Analysis: " + records.front()->Caption(formats);
  TWriteResult written;
  if (*format == TReportFormat::Pdf) {
    written = WritePdfPicture(arguments.Out, paper.Dots, title, [&](TCanvas& canvas) {
      (void)DrawExtendedReport(canvas, report, paper, TPageFlow::Sheets);
    });
  } else {
    written = WriteSvgPicture(arguments.Out, PreviewSize(paper, *pages), title, [&](TCanvas& canvas) {
      (void)DrawExtendedReport(canvas, report, paper, TPageFlow::Preview);
    });
  }
  if (!written.Ok) {
    err << "The report could not be written to " << arguments.Out << ": " << written.Error << '\n';
    return kExitFailure;
  }
  out << "Wrote the extended report of " << records.size() << (records.size() == 1 ? " record" : " records") << " to "
      << arguments.Out << ": " << *pages << (*pages == 1 ? " page" : " pages") << '\n';
  return kExitOk;
}

}  // namespace lumacet::cli
