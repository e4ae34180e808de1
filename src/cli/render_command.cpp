// lumacet-cli render: paints the tracings of the chosen records superimposed, as the display
// paints them, into a picture. The picture shows the records' padded bounds and all their
// labels at life size: a PNG at the given resolution, an SVG or PDF in millimetres; --size
// fixes the PNG's pixel size (and the page of the others). --images paints each record's
// linked image under its tracing, the data file's folder serving as the default image folder.
// --orient turns every record by the named orientation of its type; --superimpose brings every
// record onto the first listed (or onto record N of --reference) by the named superimposition.
// Several tracings take their positions' pens and a legend names each; a PDF is laid out on
// A4 or Letter paper, at life size where it fits.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "graphics/image_layer.h"
#include "graphics/picture_caption.h"
#include "graphics/tracing_painter.h"
#include "imaging/image_commands.h"
#include "imaging/image_frame.h"
#include "measure/analysis_text.h"
#include "measure/number_format.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/data_lines.h"
#include "persistence/type_finder.h"
#include "platform/qpainter_canvas.h"
#include "population/record_scan.h"
#include "shell/settings.h"
#include "shell/settings_options.h"
#include "simulation/superimposition.h"

namespace lumacet::cli {

namespace {

constexpr int kDefaultDpi = 150;
constexpr int kMaximumDpi = 1200;
constexpr int kMaximumSide = 30000;            // pixels
constexpr double kMaximumPixels = 200'000'000;  // a 200-megapixel picture at most
constexpr double kUnitsPerInch = 254;
constexpr double kUnitsPerMetre = 10000;

enum class TFormat { Png, Svg, Pdf };
// A PDF's page: a paper size, or the picture's own size.
enum class TPage { A4, Letter, Fit };

// Paper sizes in tracing units (tenths of a millimetre), portrait.
TIntSize PageSize(TPage page) { return page == TPage::Letter ? TIntSize{2159, 2794} : TIntSize{2100, 2970}; }
constexpr int kPageMargin = 100;  // 10 mm

struct TRenderArguments {
  std::string DataFile;
  std::optional<std::vector<int>> Records;
  std::string Out;
  TFormat Format = TFormat::Png;
  std::optional<std::string> Analysis;
  std::optional<std::string> View;
  std::optional<int> Dpi;
  std::optional<TIntSize> Size;
  std::optional<std::string> Types;
  std::optional<int> Mode;
  std::optional<int> Style;
  bool Grid = true;
  bool Images = false;
  bool MixedTypes = false;
  std::optional<std::string> Orient;
  std::optional<std::string> Superimpose;
  std::optional<int> Reference;
  std::optional<std::string> Type;
  bool Anonymize = false;
  std::optional<std::string> Title;
  bool Legend = true;
  TPage Page = TPage::A4;
};

std::optional<TIntSize> ParseSize(std::string_view text) {
  const std::size_t x = text.find('x');
  if (x == std::string_view::npos) return std::nullopt;
  const TConvert<int> positive = PositiveUpTo(INT32_MAX);
  std::optional<int> width = positive(text.substr(0, x));
  std::optional<int> height = positive(text.substr(x + 1));
  if (!width || !height) return std::nullopt;
  return TIntSize{*width, *height};
}

std::optional<TFormat> FormatOf(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".png") return TFormat::Png;
  if (extension == ".svg") return TFormat::Svg;
  if (extension == ".pdf") return TFormat::Pdf;
  return std::nullopt;
}

void Declare(TArgumentParser& arguments, TRenderArguments& parsed) {
  arguments.Operand("DATAFILE", "the data file (.csv)", parsed.DataFile);
  arguments.Option("--records", "LIST",
                   "the records to draw, numbers as 'list' prints them; the first is the current one (with --type: "
                   "every record of the type)",
                   parsed.Records, RecordList());
  arguments.Option("--type", "NAME", "draw only the records of the radiograph type NAME, skipping the others",
                   parsed.Type);
  arguments.Option("--out", "FILE", "the picture, FILE.svg, FILE.png or FILE.pdf", parsed.Out, TValueKind::File).Required = true;
  arguments.Option("--analysis", "NAME", "the analysis whose labels are drawn (each record's own)", parsed.Analysis);
  arguments.Option("--view", "NAME", "the view to draw, or <all> or <none> (each record's own)", parsed.View);
  arguments.Option("--dpi", "N", "pixels per inch of a PNG (150), up to 1200", parsed.Dpi, PositiveUpTo(kMaximumDpi));
  arguments.Option("--size", "WxH", "the picture's size in pixels; the tracings are fitted into it unless --dpi is given",
                   parsed.Size, ParseSize);
  arguments.Option("--types", "DIR", "the folder of the type files (the data file's folder)", parsed.Types,
                   TValueKind::Folder);
  arguments.Choice("--mode", "which records' labels are drawn (the program's setting)", parsed.Mode,
                   {{"current", 0}, {"comparative", 1}, {"all", 2}});
  arguments.Choice("--style", "the pens of the tracings (the program's setting)", parsed.Style,
                   {{"defined", 0}, {"position", 1}, {"mixed", 2}});
  arguments.Flag("--no-grid", "leave the grid out", parsed.Grid, false);
  arguments.Flag("--images", "paint each record's linked image under its tracing", parsed.Images);
  arguments.Flag("--mixed-types", "draw records of different radiograph types in one picture", parsed.MixedTypes);
  arguments.Option("--orient", "NAME", "turn every record by the orientation NAME of its type", parsed.Orient);
  arguments.Option("--superimpose", "NAME",
                   "bring every record onto the first listed (or --reference) by the superimposition NAME",
                   parsed.Superimpose);
  arguments.Option("--reference", "N", "with --superimpose: record N is the one the others are brought onto",
                   parsed.Reference, PositiveUpTo(INT32_MAX));
  arguments.Flag("--anonymize",
                 "no name, date of birth or comment in the picture or its title: records are called by their numbers",
                 parsed.Anonymize);
  arguments.Option("--title", "TEXT", "a title above the tracings", parsed.Title);
  arguments.Flag("--no-legend", "leave out the legend that names each of several tracings", parsed.Legend, false);
  arguments.Choice("--page", "the paper a PDF is laid out on, or the picture's own size (a4)", parsed.Page,
                   {{"a4", TPage::A4}, {"letter", TPage::Letter}, {"fit", TPage::Fit}});
}

// The records to draw: those listed, or with --type only those of the type (all of them
// when none are listed); how many listed ones were passed over goes to `skipped`. Nullopt
// when the data file cannot be read.
std::optional<std::vector<int>> ChosenRecords(const TRenderArguments& arguments, int& skipped) {
  skipped = 0;
  if (!arguments.Type) return *arguments.Records;
  TDataFileIndex file;
  std::vector<std::string> typeNames;
  if (!file.Open(arguments.DataFile) || !file.ForEachLine([&](size_t, std::string_view line) {
        typeNames.push_back(RecordTypeName(line));
        return true;
      }))
    return std::nullopt;
  std::vector<int> chosen;
  auto ofType = [&](int n) {
    return n >= 1 && static_cast<size_t>(n) <= typeNames.size() && typeNames[static_cast<size_t>(n) - 1] == *arguments.Type;
  };
  if (!arguments.Records) {
    for (size_t n = 1; n <= typeNames.size(); ++n)
      if (ofType(static_cast<int>(n))) chosen.push_back(static_cast<int>(n));
    return chosen;
  }
  for (int n : *arguments.Records) {
    // A record beyond the file's end is kept, so that reading it says so.
    if (ofType(n) || n < 1 || static_cast<size_t>(n) > typeNames.size()) chosen.push_back(n);
    else ++skipped;
  }
  return chosen;
}

// The picture: the tracing rectangle it shows and its size in pixels at `scale` pixels
// per tracing unit.
struct TPictureGeometry {
  TIntRect Area;
  TIntSize Pixels;
  double Scale = 1;
};

std::optional<TPictureGeometry> Geometry(const TIntRect& bounds, const TRenderArguments& arguments, std::string& error) {
  const double w = static_cast<double>(bounds.Right) - bounds.Left;
  const double h = static_cast<double>(bounds.Bottom) - bounds.Top;
  TPictureGeometry geometry;
  if (!arguments.Size) {
    geometry.Scale = arguments.Dpi.value_or(kDefaultDpi) / kUnitsPerInch;
    geometry.Area = bounds;
    geometry.Pixels = {std::max(1, RoundSaturated(w * geometry.Scale)), std::max(1, RoundSaturated(h * geometry.Scale))};
  } else {
    geometry.Pixels = *arguments.Size;
    geometry.Scale = arguments.Dpi ? *arguments.Dpi / kUnitsPerInch
                                   : std::min(geometry.Pixels.Width / w, geometry.Pixels.Height / h);
    const double halfWidth = geometry.Pixels.Width / geometry.Scale / 2;
    const double halfHeight = geometry.Pixels.Height / geometry.Scale / 2;
    const double cx = (static_cast<double>(bounds.Left) + bounds.Right) / 2;
    const double cy = (static_cast<double>(bounds.Top) + bounds.Bottom) / 2;
    geometry.Area = {RoundSaturated(cx - halfWidth), RoundSaturated(cy - halfHeight), RoundSaturated(cx + halfWidth),
                     RoundSaturated(cy + halfHeight)};
  }
  const TIntSize p = geometry.Pixels;
  if (p.Width > kMaximumSide || p.Height > kMaximumSide ||
      static_cast<double>(p.Width) * p.Height > kMaximumPixels) {
    error = "The picture would be " + std::to_string(p.Width) + " x " + std::to_string(p.Height) +
            " pixels; choose a smaller --dpi or --size.";
    return std::nullopt;
  }
  return geometry;
}

// Applies --analysis and --view to a record; the error says what its type lacks.
bool ChooseAnalysisAndView(TXRay& xray, const TRenderArguments& arguments, std::string& error) {
  if (arguments.Analysis) {
    const TXRayElement* analysis = MatchElement(*xray.Type(), *arguments.Analysis, ekAnalysis, "analysis", error);
    if (analysis == nullptr) return false;
    xray.SelectAnalysis(analysis->Name);
  }
  if (arguments.View) {
    std::string view = *arguments.View;
    if (view != "<none>" && view != "<all>") {
      const TXRayElement* element = MatchElement(*xray.Type(), view, ekView, "view", error);
      if (element == nullptr) {
        error += "; a view may also be <all> or <none>";
        return false;
      }
      view = element->Name;
    }
    xray.SelectView(view);
  }
  return true;
}

TIntRect Union(const TIntRect& a, const TIntRect& b) {
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

bool HasArea(const TIntRect& r) { return r.Right > r.Left && r.Bottom > r.Top; }

// Paints nothing and gathers the box of everything drawn on it, texts measured by a real
// canvas: labels reach beyond the points they hang from, and the picture must hold them.
class TExtentCanvas : public TCanvas {
 public:
  explicit TExtentCanvas(TCanvas& measure) : fMeasure(measure) {}

  std::optional<TIntRect> Extent() const { return fExtent; }

  TIntSize DeviceSize() const override { return fMeasure.DeviceSize(); }
  void Polyline(std::span<const TIntPoint> points) override { AddAll(points); }
  void Polygon(std::span<const TIntPoint> points) override { AddAll(points); }
  void Rectangle(const TIntRect& box) override { Add(box); }
  void Ellipse(const TIntRect& box) override { Add(box); }
  void Arc(const TIntRect& box, TIntPoint, TIntPoint) override { Add(box); }
  void Pie(const TIntRect& box, TIntPoint, TIntPoint) override { Add(box); }
  void TextOut(TIntPoint topLeft, std::string_view utf8) override {
    const TIntSize size = TextExtent(utf8);
    Add({topLeft.X, topLeft.Y, topLeft.X + size.Width, topLeft.Y + size.Height});
  }
  TIntSize TextExtent(std::string_view utf8) const override {
    fMeasure.SetMapping(Mapping());
    fMeasure.SetFont(Font());
    return fMeasure.TextExtent(utf8);
  }
  void StretchImage(const TIntRect& target, const TBitmapView&, const TIntRect&, TStretchMode) override { Add(target); }
  void BlitDevice(TIntPoint, const TBitmapView&) override {}

 protected:
  // What a tracing covers is wanted whole, clipped or not.
  void ApplyClip(const std::optional<TIntRect>&) override {}

 private:
  void AddAll(std::span<const TIntPoint> points) {
    for (TIntPoint p : points) Add({p.X, p.Y, p.X, p.Y});
  }
  void Add(const TIntRect& box) {
    const TIntRect r = Normalised(box);
    fExtent = fExtent ? Union(*fExtent, r) : r;
  }

  TCanvas& fMeasure;
  std::optional<TIntRect> fExtent;
};

// What the tracings and their labels cover at about the picture's scale, with a margin.
std::optional<TIntRect> DrawnExtent(TDisplayScene& scene, const TDisplayOptions& options, double scale) {
  constexpr int kMargin = 15;  // 1.5 mm
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter painter(&probe);
  TQPainterCanvas measure(painter);
  TExtentCanvas extent(measure);
  extent.SetMapping(TIsotropicMapping::FromScale({0, 0}, scale).value_or(TIsotropicMapping{}));
  DrawTracings(extent, scene, options);
  std::optional<TIntRect> drawn = extent.Extent();
  if (!drawn) return std::nullopt;
  return TIntRect{RoundSaturated(drawn->Left - static_cast<double>(kMargin)),
                  RoundSaturated(drawn->Top - static_cast<double>(kMargin)),
                  RoundSaturated(drawn->Right + static_cast<double>(kMargin)),
                  RoundSaturated(drawn->Bottom + static_cast<double>(kMargin))};
}

// The title asked for; for several tracings, a line for each: its pen, its name and the
// date it was taken; then, below either, the scale the tracings and their values are drawn
// at (a lone tracing's picture keeps its size, and the summary names the scale).
TPictureCaption Caption(const std::vector<std::unique_ptr<TXRay>>& records, const TRenderArguments& arguments,
                        const TDisplayOptions& options) {
  TPictureCaption caption;
  caption.Title = arguments.Title.value_or("");
  const TTextFormats& formats = options.Labels.Presentation.Measure.Formats;
  for (size_t i = 0; arguments.Legend && records.size() > 1 && i < records.size(); ++i) {
    const TXRay& xray = *records[i];
    std::string text = xray.Name;
    if (xray.DateTaken != 0) text += ", " + FormatDate(xray.DateTaken, formats.ShortDateFormat);
    caption.Lines.push_back({SlotPen(options, static_cast<int>(i), i == 0), std::move(text)});
  }
  if (!caption.Empty())
    caption.Lines.push_back({std::nullopt, std::string(ScaleName(records.front()->MagnificationCorrected))});
  return caption;
}

}  // namespace

void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 3;
  static char name[] = "lumacet-cli";
  static char platformOption[] = "-platform";
  static char platform[] = "offscreen";
  static char* argv[] = {name, platformOption, platform, nullptr};
  static QGuiApplication application(argc, argv);
}

int RenderCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TRenderArguments arguments;
  Declare(parser, arguments);
  if (std::optional<int> exit = parser.Parse()) return *exit;
  std::optional<TFormat> format = FormatOf(arguments.Out);
  if (!format) return parser.Fail("invalid value for --out: '" + arguments.Out + "' (the name must end in .png, .svg or .pdf)");
  if (arguments.Reference && !arguments.Superimpose) return parser.Fail("--reference needs --superimpose");
  if (!arguments.Records && !arguments.Type) return parser.Fail("give the records to draw with --records or --type");
  int skipped = 0;
  std::optional<std::vector<int>> chosen = ChosenRecords(arguments, skipped);
  if (!chosen) {
    err << TText(kFileReadErrorMessage, {arguments.DataFile}).English() << '\n';
    return kExitFailure;
  }
  if (skipped > 0) err << "Skipped " << skipped << (skipped == 1 ? " record" : " records") << " of other types.\n";
  if (chosen->empty()) {
    err << "No record of " << arguments.DataFile << " is of the type '" << *arguments.Type << "'.\n";
    return kExitFailure;
  }

  const std::string typeFolder = TypeFolder(arguments.Types, arguments.DataFile);
  TTypeCache types({"", typeFolder});
  const TTypeResolver resolver = types.Resolver();
  std::vector<std::unique_ptr<TXRay>> records;
  std::string error;
  std::vector<int> numbers = *chosen;
  // The reference is read first and painted only when it is listed too.
  if (arguments.Reference) numbers.insert(numbers.begin(), *arguments.Reference);
  for (int record : numbers) {
    auto xray = std::make_unique<TXRay>();
    const int stage = LoadFromDataFile(*xray, arguments.DataFile, record, resolver, {});
    if (stage == lsType) {
      err << "Record " << record << ": its radiograph type is not among the type files in " << typeFolder
          << " (name another folder with --types).\n";
      return kExitFailure;
    }
    if (stage != lsLoaded) {
      err << "Record " << record << " of " << arguments.DataFile
          << " cannot be read: " << LoadStageProblem(stage).English() << ".\n";
      return kExitFailure;
    }
    if (arguments.Anonymize) Anonymize(*xray, static_cast<size_t>(record));
    if (!ChooseAnalysisAndView(*xray, arguments, error)) {
      err << "Record " << record << ": " << error << ".\n";
      return kExitFailure;
    }
    if (arguments.Images && !xray->ImageFile.empty()) {
      TImageLoadSettings imageSettings;
      imageSettings.DefaultFolder = std::filesystem::path(arguments.DataFile).parent_path().string();
      if (TResultOf<TLoadedImage> loaded = LoadImageWithTracing(*xray, xray->Image, imageSettings); !loaded) {
        const std::string failure = loaded.Text().English();
        err << "Record " << record << ": " << (failure.empty() ? "its image cannot be loaded." : failure) << '\n';
        return kExitFailure;
      }
    }
    // A frontal tracing drawn over a lateral one reads as nonsense: only when asked for.
    if (!records.empty() && xray->Type() != records.front()->Type() && !arguments.MixedTypes) {
      err << "Record " << record << " is of the type '" << xray->Type()->Name << "', record " << numbers.front()
          << " of the type '" << records.front()->Type()->Name
          << "': records of different types are drawn together only with --mixed-types.\n";
      return kExitFailure;
    }
    records.push_back(std::move(xray));
  }
  const std::string* orient = arguments.Orient ? &*arguments.Orient : nullptr;
  const std::string* superimpose = arguments.Superimpose ? &*arguments.Superimpose : nullptr;
  for (size_t i = 0; i < records.size(); ++i) {
    if (TResult placed = OrientAndSuperimpose(*records[i], *records.front(), orient, superimpose, {}); !placed) {
      err << "Record " << numbers[i] << ": " << TerminalText(placed.TextWithReason().English()) << '\n';
      return kExitFailure;
    }
  }
  if (arguments.Reference) records.erase(records.begin());
  TIntRect bounds;
  bool anyBounds = false;
  for (const auto& xray : records) {
    const TIntRect b = xray->TracingBounds();
    if (HasArea(b)) {
      bounds = anyBounds ? Union(bounds, b) : b;
      anyBounds = true;
    }
  }
  if (!anyBounds) {
    err << "The chosen records have no digitized points to draw.\n";
    return kExitFailure;
  }

  TSettings settings = TSettings::Defaults(".");
  if (arguments.Mode) settings.General.AnalysisMode = *arguments.Mode;
  // Several tracings all drawn in their types' own pens cannot be told apart: each takes
  // its position's pen unless a style is asked for.
  if (arguments.Style) settings.Radiograph.DrawingStyle = *arguments.Style;
  else if (records.size() > 1) settings.Radiograph.DrawingStyle = kStyleByPosition;
  settings.View.ViewGrid = arguments.Grid;
  TMeasuring measuring;
  const TDisplayOptions options = DisplayOptions(settings, measuring);
  TDisplayScene scene;
  for (const auto& xray : records) scene.Slots.push_back(xray.get());
  scene.Current = 0;
  if (arguments.Images) scene.Images = ImageLayer(scene.Slots, scene.Current);

  if (arguments.Images) {
    // The whole image, not only the part the tracing covers.
    for (const auto& xray : records) {
      const TBitmap32& bitmap = xray->Image.Display;
      const TImageFrame frame = ImageFrameOf(*xray);
      if (bitmap.Empty() || !(frame.PixelWidth > 0) || !(frame.PixelHeight > 0)) continue;
      for (TFloatPoint corner : ImageCorners(frame, bitmap.Width, bitmap.Height)) {
        const TIntPoint p = RoundSaturated(corner);
        bounds = Union(bounds, {p.X, p.Y, p.X, p.Y});
      }
    }
  }

  EnsureGuiApplication();
  const double probeScale = arguments.Dpi.value_or(kDefaultDpi) / kUnitsPerInch;
  if (std::optional<TIntRect> drawn = DrawnExtent(scene, options, probeScale)) bounds = Union(bounds, *drawn);
  const TPictureCaption caption = Caption(records, arguments, options);
  TIntPoint captionAt;
  if (!caption.Empty()) {
    // Above the tracings, the picture growing upwards to hold it.
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter painter(&probe);
    TQPainterCanvas measure(painter);
    measure.SetMapping(TIsotropicMapping::FromScale({0, 0}, probeScale).value_or(TIsotropicMapping{}));
    const TIntRect box = CaptionBox(measure, {0, 0}, caption);
    constexpr int kCaptionMargin = 30;  // 3 mm
    captionAt = {bounds.Left + kCaptionMargin, bounds.Top - box.Bottom - kCaptionMargin};
    bounds.Top = captionAt.Y - kCaptionMargin;
    bounds.Right = std::max(bounds.Right, captionAt.X + box.Right + kCaptionMargin);
  }
  std::optional<TPictureGeometry> geometry = Geometry(bounds, arguments, error);
  if (!geometry) {
    err << error << '\n';
    return kExitFailure;
  }

  const TFloatPoint origin{static_cast<double>(geometry->Area.Left), static_cast<double>(geometry->Area.Top)};
  auto paintAt = [&](double scale, TFloatPoint offset = {}) {
    return [&, scale, offset](TCanvas& canvas) {
      canvas.SetMapping(TIsotropicMapping::FromScale(origin, scale, offset).value_or(TIsotropicMapping{}));
      DrawDisplay(canvas, scene, options);
      if (!caption.Empty()) DrawCaption(canvas, captionAt, caption);
    };
  };

  // The caption may be set to show the date of birth or the comments: an anonymous
  // picture is called by its record's name alone.
  const TTextFormats& formats = options.Labels.Presentation.Measure.Formats;
  const std::string title =
      "Lumacet: " + (arguments.Anonymize ? records.front()->Name : records.front()->Caption(formats));
  const TIntSize area{geometry->Area.Right - geometry->Area.Left, geometry->Area.Bottom - geometry->Area.Top};
  TWriteResult written;
  if (*format == TFormat::Png) {
    QImage image;
    TPaintResult painted = PaintImage(geometry->Pixels, kColourWhite, paintAt(geometry->Scale), image);
    if (!painted.Ok) {
      err << painted.Error << '\n';
      return kExitFailure;
    }
    // The PNG states the resolution it was painted at, so that it prints at life size.
    const int dotsPerMetre = RoundSaturated(geometry->Scale * kUnitsPerMetre);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    written = WritePngImage(arguments.Out, image);
  } else if (*format == TFormat::Svg) {
    written = WriteSvgPicture(arguments.Out, area, title, paintAt(1));
  } else if (arguments.Page == TPage::Fit) {
    written = WritePdfPicture(arguments.Out, area, title, paintAt(1));
  } else {
    // On paper at life size when it fits within the margins, turned to landscape when the
    // picture is wider than tall, and made smaller only when it must be.
    TIntSize page = PageSize(arguments.Page);
    if (area.Width > area.Height) std::swap(page.Width, page.Height);
    const double scale = std::min({1.0, (page.Width - 2.0 * kPageMargin) / area.Width,
                                   (page.Height - 2.0 * kPageMargin) / area.Height});
    const TFloatPoint offset{(page.Width - area.Width * scale) / 2, (page.Height - area.Height * scale) / 2};
    written = WritePdfPicture(arguments.Out, page, title, paintAt(scale, offset));
  }
  if (!written.Ok) {
    err << "The picture could not be written to " << arguments.Out << ": " << written.Error << '\n';
    return kExitFailure;
  }
  out << "Rendered " << records.size() << (records.size() == 1 ? " record" : " records") << " to " << arguments.Out
      << ": " << geometry->Pixels.Width << " x " << geometry->Pixels.Height << " pixels, "
      << FormatNumber(area.Width / 10.0, "0.#", '.') << " x " << FormatNumber(area.Height / 10.0, "0.#", '.') << " mm\n"
      << ScaleName(records.front()->MagnificationCorrected) << '\n';
  return kExitOk;
}

}  // namespace lumacet::cli
