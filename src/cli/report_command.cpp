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
  const TTypeResolver resolver = types.Resolver();
  std::vector<std::unique_ptr<TXRay>> records;
  for (int record : *arguments.Records) {
    auto xray = std::make_unique<TXRay>();
    if (!LoadRecord(*xray, arguments.DataFile, record, resolver, err)) return kExitFailure;
    if (!records.empty() && xray->Type()->Name != records.front()->Type()->Name) {
      err << "Record " << record << " is of the type '" << xray->Type()->Name << "', record "
          << arguments.Records->front() << " of the type '" << records.front()->Type()->Name
          << "': a report covers records of one type.\n";
      return kExitFailure;
    }
    if (arguments.Images && !xray->ImageFile.empty()) {
      TImageLoadSettings imageSettings = ImageLoadSettings(settings);
      imageSettings.DefaultFolder = std::filesystem::path(arguments.DataFile).parent_path().string();
      if (TResultOf<TLoadedImage> loaded = LoadImageWithTracing(*xray, xray->Image, imageSettings); !loaded) {
        err << "Record " << record << ": " << TerminalText(loaded.Text().English()) << '\n';
        return kExitFailure;
      }
    }
    records.push_back(std::move(xray));
  }

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
