// lumacet-cli render: paints the tracings of the chosen records superimposed, as the display
// paints them, into a picture. The picture shows the records' padded bounds and all their
// labels at life size: a PNG at the given resolution, an SVG or PDF in millimetres; --size
// fixes the PNG's pixel size (and the page of the others). --images paints each record's
// linked image under its tracing, the data file's folder serving as the default image folder.
// --orient turns every record by the named orientation of its type; --superimpose brings every
// record onto the first listed (or onto record N of --reference) by the named superimposition.
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
#include "graphics/tracing_painter.h"
#include "imaging/image_commands.h"
#include "measure/number_format.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/type_finder.h"
#include "platform/qpainter_canvas.h"
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
  arguments.Option("--records", "LIST", "the records to draw, numbers as 'list' prints them; the first is the current one",
                   parsed.Records, RecordList()).Required = true;
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

// Painting needs a GUI application for its fonts; the command line never shows anything,
// so it always uses the offscreen platform.
void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 3;
  static char name[] = "lumacet-cli";
  static char platformOption[] = "-platform";
  static char platform[] = "offscreen";
  static char* argv[] = {name, platformOption, platform, nullptr};
  static QGuiApplication application(argc, argv);
}

// Applies --analysis and --view to a record; the message says what its type lacks.
bool ChooseAnalysisAndView(TXRay& xray, const TRenderArguments& arguments, int record, std::string& error) {
  const std::string where = "Record " + std::to_string(record) + " (type '" + xray.Type()->Name + "')";
  if (arguments.Analysis) {
    if (xray.Type()->FindElement(*arguments.Analysis, ekAnalysis) == nullptr) {
      error = where + " has no analysis '" + *arguments.Analysis + "'.";
      return false;
    }
    xray.SelectAnalysis(*arguments.Analysis);
  }
  if (arguments.View) {
    const std::string& view = *arguments.View;
    if (view != "<none>" && view != "<all>" && xray.Type()->FindElement(view, ekView) == nullptr) {
      error = where + " has no view '" + view + "' (or use <all> or <none>).";
      return false;
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

}  // namespace

int RenderCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TRenderArguments arguments;
  Declare(parser, arguments);
  if (std::optional<int> exit = parser.Parse()) return *exit;
  std::optional<TFormat> format = FormatOf(arguments.Out);
  if (!format) return parser.Fail("invalid value for --out: '" + arguments.Out + "' (the name must end in .png, .svg or .pdf)");
  if (arguments.Reference && !arguments.Superimpose) return parser.Fail("--reference needs --superimpose");

  const std::string typeFolder = TypeFolder(arguments.Types, arguments.DataFile);
  TTypeCache types({"", typeFolder});
  const TTypeResolver resolver = types.Resolver();
  std::vector<std::unique_ptr<TXRay>> records;
  std::string error;
  std::vector<int> numbers = *arguments.Records;
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
      err << "Record " << record << " of " << arguments.DataFile << " cannot be read (stage " << stage << ").\n";
      return kExitFailure;
    }
    if (!ChooseAnalysisAndView(*xray, arguments, record, error)) {
      err << error << '\n';
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
  if (arguments.Style) settings.Radiograph.DrawingStyle = *arguments.Style;
  settings.View.ViewGrid = arguments.Grid;
  TMeasuring measuring;
  const TDisplayOptions options = DisplayOptions(settings, measuring);
  TDisplayScene scene;
  for (const auto& xray : records) scene.Slots.push_back(xray.get());
  scene.Current = 0;
  if (arguments.Images) scene.Images = ImageLayer(scene.Slots, scene.Current);

  EnsureGuiApplication();
  if (std::optional<TIntRect> drawn = DrawnExtent(scene, options, arguments.Dpi.value_or(kDefaultDpi) / kUnitsPerInch)) {
    bounds = Union(bounds, *drawn);
  }
  std::optional<TPictureGeometry> geometry = Geometry(bounds, arguments, error);
  if (!geometry) {
    err << error << '\n';
    return kExitFailure;
  }

  const TFloatPoint origin{static_cast<double>(geometry->Area.Left), static_cast<double>(geometry->Area.Top)};
  auto paintAt = [&](double scale) {
    return [&, scale](TCanvas& canvas) {
      canvas.SetMapping(TIsotropicMapping::FromScale(origin, scale).value_or(TIsotropicMapping{}));
      DrawDisplay(canvas, scene, options);
    };
  };

  const std::string title = "Lumacet: " + records.front()->Caption(options.Labels.Presentation.Measure.Formats);
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
  } else {
    written = WritePdfPicture(arguments.Out, area, title, paintAt(1));
  }
  if (!written.Ok) {
    err << "The picture could not be written to " << arguments.Out << ": " << written.Error << '\n';
    return kExitFailure;
  }
  out << "Rendered " << records.size() << (records.size() == 1 ? " record" : " records") << " to " << arguments.Out
      << ": " << geometry->Pixels.Width << " x " << geometry->Pixels.Height << " pixels, "
      << FormatNumber(area.Width / 10.0, "0.#", '.') << " x " << FormatNumber(area.Height / 10.0, "0.#", '.') << " mm\n";
  return kExitOk;
}

}  // namespace lumacet::cli
