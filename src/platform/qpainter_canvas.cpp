#include "platform/qpainter_canvas.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPolygonF>
#include <QStringList>
#include <QSvgGenerator>

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cmath>
#include <numbers>

#include "graphics/font_families.h"

namespace lumacet {

namespace {

// Curves whose box is larger than this many device pixels are left out: they come from
// far-away constructed points, and flattening them would take seconds per paint.
constexpr double kMaxCurveExtent = 1 << 20;

// Pictures are written at this resolution: one tracing unit (0.1 mm) per device unit.
constexpr int kPictureDpi = 254;

// An SVG names the fonts it was painted with; each becomes the family list every Linux
// viewer can follow (FontFamilies), written as CSS in the attribute.
QByteArray WithFamilyLists(const QByteArray& svg) {
  static const QByteArray kAttribute = "font-family=\"";
  QByteArray out;
  qsizetype at = 0;
  while (true) {
    const qsizetype found = svg.indexOf(kAttribute, at);
    const qsizetype valueStart = found + kAttribute.size();
    const qsizetype end = found < 0 ? -1 : svg.indexOf('"', valueStart);
    if (end < 0) break;
    QString family = QString::fromUtf8(svg.mid(valueStart, end - valueStart));
    family.replace("&quot;", "").replace("&apos;", "").replace("'", "");
    out += svg.mid(at, valueStart - at);
    out += QString::fromStdString(CssFontFamily(family.trimmed().toStdString())).toHtmlEscaped().toUtf8();
    at = end;
  }
  out += svg.mid(at);
  return out;
}

Qt::PenStyle QtPenStyle(TPenStyle style) {
  switch (style) {
    case TPenStyle::Solid: return Qt::SolidLine;
    case TPenStyle::Dash: return Qt::DashLine;
    case TPenStyle::Dot: return Qt::DotLine;
    case TPenStyle::DashDot: return Qt::DashDotLine;
    case TPenStyle::DashDotDot: return Qt::DashDotDotLine;
    case TPenStyle::Clear: return Qt::NoPen;
  }
  return Qt::SolidLine;
}

Qt::BrushStyle QtBrushStyle(TBrushStyle style) {
  switch (style) {
    case TBrushStyle::Solid: return Qt::SolidPattern;
    case TBrushStyle::Clear: return Qt::NoBrush;
    case TBrushStyle::Horizontal: return Qt::HorPattern;
    case TBrushStyle::Vertical: return Qt::VerPattern;
    case TBrushStyle::FDiagonal: return Qt::FDiagPattern;
    case TBrushStyle::BDiagonal: return Qt::BDiagPattern;
    case TBrushStyle::Cross: return Qt::CrossPattern;
    case TBrushStyle::DiagCross: return Qt::DiagCrossPattern;
  }
  return Qt::SolidPattern;
}

// A copy of part of a bitmap that Qt can draw: the top byte of every pixel set, as
// Format_RGB32 requires.
QImage ToQImage(const TBitmapView& bitmap, const TIntRect& part) {
  QImage image(part.Right - part.Left, part.Bottom - part.Top, QImage::Format_RGB32);
  if (image.isNull()) return image;
  // Row by row through pointers: the display's picture is copied at every paint.
  const int width = image.width(), height = image.height();
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
    const std::uint32_t* source = bitmap.Pixels.data() +
                                  static_cast<std::size_t>(part.Top + y) * static_cast<std::size_t>(bitmap.Width) +
                                  static_cast<std::size_t>(part.Left);
    for (int x = 0; x < width; ++x) row[x] = source[x] | 0xFF000000u;
  }
  return image;
}

std::string CannotPaint() { return "The picture could not be painted."; }

std::string NotEnoughMemory(TIntSize size) {
  return "Not enough memory for an image of " + std::to_string(size.Width) + " x " +
         std::to_string(size.Height) + " pixels.";
}

TPaintResult PaintOn(QPaintDevice& device, const TPaintRoutine& paint) {
  QPainter painter;
  if (!painter.begin(&device)) return {false, CannotPaint()};
  {
    TQPainterCanvas canvas(painter);
    paint(canvas);
  }
  if (!painter.end()) return {false, CannotPaint()};
  return {true, {}};
}

bool ValidPictureSize(TIntSize size) { return size.Width > 0 && size.Height > 0; }

TWriteResult WriteBytes(const std::string& path, const QByteArray& bytes) {
  return WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// libpng reports errors by a jump back into EncodePng; what the jump must keep lives here.
struct TPngState {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  std::string* Bytes = nullptr;
  std::string Reason;
  ~TPngState() { png_destroy_write_struct(&Png, &Info); }
};

void AppendPng(png_structp png, png_bytep data, png_size_t length) {
  static_cast<TPngState*>(png_get_io_ptr(png))->Bytes->append(reinterpret_cast<const char*>(data), length);
}

void FlushPng(png_structp) {}

[[noreturn]] void FailPng(png_structp png, png_const_charp message) {
  static_cast<TPngState*>(png_get_error_ptr(png))->Reason = message;
  png_longjmp(png, 1);
}

void IgnorePngWarning(png_structp, png_const_charp) {}

// PNG through libpng rather than Qt's writer, for the choice of filter and compression:
// pictures and radiographs are tens of megabytes of samples, and Qt's adaptive filter
// search at zlib's default level took two thirds of a render. One fixed "up" filter
// (drawings are mostly runs of equal rows, radiographs smooth from row to row) and run-length
// matching at the fastest level write a file about a third larger in less than half the time.
bool EncodePng(const QImage& source, std::string& bytes, std::string& reason) {
  QImage image = source;
  int colourType = PNG_COLOR_TYPE_RGB;
  int depth = 8;
  bool stripFourth = false;
  bool blueFirst = false;
  switch (image.format()) {
    case QImage::Format_Grayscale8: colourType = PNG_COLOR_TYPE_GRAY; break;
    case QImage::Format_Grayscale16: colourType = PNG_COLOR_TYPE_GRAY, depth = 16; break;
    case QImage::Format_RGB888: break;
    case QImage::Format_RGBA8888: colourType = PNG_COLOR_TYPE_RGB_ALPHA; break;
    case QImage::Format_RGBX64: depth = 16, stripFourth = true; break;
    case QImage::Format_RGBA64: colourType = PNG_COLOR_TYPE_RGB_ALPHA, depth = 16; break;
    default:
      if (image.hasAlphaChannel()) {
        image = image.convertToFormat(QImage::Format_RGBA8888);
        colourType = PNG_COLOR_TYPE_RGB_ALPHA;
      } else {
        image = image.convertToFormat(QImage::Format_RGB32);  // blue, green, red, x in memory
        stripFourth = blueFirst = true;
      }
  }
  if (image.isNull()) {
    reason = "Memory insufficient.";
    return false;
  }
  static_assert(std::endian::native == std::endian::little, "16-bit samples are swapped to PNG's byte order");
  TPngState state;
  std::string encoded;
  state.Bytes = &encoded;
  state.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, FailPng, IgnorePngWarning);
  if (state.Png == nullptr || (state.Info = png_create_info_struct(state.Png)) == nullptr) {
    reason = "Memory insufficient.";
    return false;
  }
  if (setjmp(png_jmpbuf(state.Png))) {
    reason = state.Reason;
    return false;
  }
  png_set_write_fn(state.Png, &state, AppendPng, FlushPng);
  png_set_IHDR(state.Png, state.Info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()),
               depth, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // The resolution the picture was painted at, so that it prints and imports at life size.
  if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0)
    png_set_pHYs(state.Png, state.Info, static_cast<png_uint_32>(image.dotsPerMeterX()),
                 static_cast<png_uint_32>(image.dotsPerMeterY()), PNG_RESOLUTION_METER);
  png_set_filter(state.Png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_set_compression_level(state.Png, 1);
  png_set_compression_strategy(state.Png, Z_RLE);
  png_write_info(state.Png, state.Info);
  if (depth == 16) png_set_swap(state.Png);
  if (stripFourth) png_set_filler(state.Png, 0, PNG_FILLER_AFTER);
  if (blueFirst) png_set_bgr(state.Png);
  for (int y = 0; y < image.height(); ++y) png_write_row(state.Png, image.constScanLine(y));
  png_write_end(state.Png, nullptr);
  bytes = std::move(encoded);
  return true;
}

}  // namespace

QColor ToQColor(std::uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

std::uint32_t FromQColor(const QColor& colour) {
  QColor rgb = colour.toRgb();
  return static_cast<std::uint32_t>(rgb.red()) | static_cast<std::uint32_t>(rgb.green()) << 8 |
         static_cast<std::uint32_t>(rgb.blue()) << 16;
}

TQPainterCanvas::TQPainterCanvas(QPainter& painter, TTextLayouts* layouts) : fPainter(painter), fLayouts(layouts) {
  fPainter.resetTransform();
  fPainter.setRenderHint(QPainter::Antialiasing, false);
}

TIntSize TQPainterCanvas::DeviceSize() const {
  QPaintDevice* device = fPainter.device();
  return device ? TIntSize{device->width(), device->height()} : TIntSize{};
}

double TQPainterCanvas::DevicePixelsPerScreenPixel() const {
  QPaintDevice* device = fPainter.device();
  return device ? device->logicalDpiX() / 96.0 : 1.0;
}

namespace {

QPointF Device(const TCanvas& canvas, TIntPoint p) {
  TFloatPoint d = canvas.LogicalToDevice(TFloatPoint{static_cast<double>(p.X), static_cast<double>(p.Y)});
  return {d.X, d.Y};
}

QPolygonF DevicePolygon(const TCanvas& canvas, std::span<const TIntPoint> points) {
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (TIntPoint p : points) polygon << Device(canvas, p);
  return polygon;
}

QRectF DeviceRect(const TCanvas& canvas, const TIntRect& box) {
  return QRectF(Device(canvas, {box.Left, box.Top}), Device(canvas, {box.Right, box.Bottom})).normalized();
}

}  // namespace

void TQPainterCanvas::UsePen() {
  const TPen& pen = Pen();
  double width = LogicalToDevice(static_cast<double>(pen.Width));
  // Width 0 and anything thinner than a device pixel is the device's thinnest line.
  QPen qpen(ToQColor(pen.Colour), width >= 1 ? width : 0, QtPenStyle(pen.Style), Qt::RoundCap, Qt::RoundJoin);
  fPainter.setPen(qpen);
  fPainter.setBackground(QBrush(ToQColor(BackgroundColour())));
  fPainter.setBackgroundMode(BackgroundMode() == TBackgroundMode::Opaque ? Qt::OpaqueMode
                                                                          : Qt::TransparentMode);
  bool invert = pen.Mode == TPenMode::Invert && fPainter.paintEngine() &&
                fPainter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
  fPainter.setCompositionMode(invert ? QPainter::RasterOp_NotDestination : QPainter::CompositionMode_SourceOver);
}

void TQPainterCanvas::UseBrush() {
  const TBrush& brush = Brush();
  QBrush qbrush(ToQColor(brush.Colour), QtBrushStyle(brush.Style));
  // Hatches are spaced in screen pixels on every device.
  double screen = DevicePixelsPerScreenPixel();
  if (screen != 1) qbrush.setTransform(QTransform::fromScale(screen, screen));
  fPainter.setBrush(qbrush);
}

void TQPainterCanvas::UseNoBrush() { fPainter.setBrush(Qt::NoBrush); }

void TQPainterCanvas::Polyline(std::span<const TIntPoint> points) {
  if (points.size() < 2) return;
  UsePen();
  fPainter.drawPolyline(DevicePolygon(*this, points));
}

void TQPainterCanvas::Polygon(std::span<const TIntPoint> points) {
  if (points.empty()) return;
  UsePen();
  UseBrush();
  fPainter.drawPolygon(DevicePolygon(*this, points), Qt::OddEvenFill);
}

void TQPainterCanvas::Rectangle(const TIntRect& box) {
  UsePen();
  UseBrush();
  fPainter.drawRect(DeviceRect(*this, box));
}

void TQPainterCanvas::Ellipse(const TIntRect& box) {
  QRectF rect = DeviceRect(*this, box);
  if (rect.isEmpty() || rect.width() > kMaxCurveExtent || rect.height() > kMaxCurveExtent) return;
  UsePen();
  UseBrush();
  fPainter.drawEllipse(rect);
}

void TQPainterCanvas::Arc(const TIntRect& box, TIntPoint startRadial, TIntPoint endRadial) {
  DrawArc(box, startRadial, endRadial, TArcKind::Arc);
}

void TQPainterCanvas::Pie(const TIntRect& box, TIntPoint startRadial, TIntPoint endRadial) {
  DrawArc(box, startRadial, endRadial, TArcKind::Pie);
}

void TQPainterCanvas::DrawArc(const TIntRect& box, TIntPoint startRadial, TIntPoint endRadial,
                              TArcKind kind) {
  std::optional<TArcAngles> angles = ArcAngles(box, startRadial, endRadial);
  QRectF rect = DeviceRect(*this, box);
  if (!angles || rect.isEmpty() || rect.width() > kMaxCurveExtent || rect.height() > kMaxCurveExtent) return;
  // The angles are counter-clockwise in logical space; a mapping that flips one axis turns
  // them clockwise on the device, as on the surfaces this interface models.
  const double sx = Mapping().ScaleX() < 0 ? -1 : 1;
  const double sy = Mapping().ScaleY() < 0 ? -1 : 1;
  const double a = angles->StartDegrees * std::numbers::pi / 180;
  const double start = std::atan2(sy * std::sin(a), sx * std::cos(a)) * 180 / std::numbers::pi;
  const double sweep = angles->SweepDegrees * sx * sy;
  QPainterPath path;
  if (kind == TArcKind::Pie) {
    path.moveTo(rect.center());
    path.arcTo(rect, start, sweep);
    path.closeSubpath();
  } else {
    path.arcMoveTo(rect, start);
    path.arcTo(rect, start, sweep);
  }
  UsePen();
  if (kind == TArcKind::Pie) {
    UseBrush();
  } else {
    UseNoBrush();
  }
  fPainter.drawPath(path);
}

namespace {

QFont DeviceFont(const TFont& font, double pixelHeight) {
  QStringList families;
  for (const std::string& family : FontFamilies(font.Name)) families << QString::fromStdString(family);
  QFont qfont;
  qfont.setFamilies(families);
  qfont.setPixelSize(std::max(1, static_cast<int>(std::nearbyint(pixelHeight))));
  qfont.setBold(font.Bold);
  qfont.setItalic(font.Italic);
  qfont.setUnderline(font.Underline);
  qfont.setStrikeOut(font.StrikeOut);
  return qfont;
}

}  // namespace

TQPainterCanvas::TDeviceFont& TQPainterCanvas::CurrentFont() const {
  const double pixelHeight = LogicalToDevice(Font().Height);
  const int pixels = std::max(1, static_cast<int>(std::nearbyint(pixelHeight)));
  for (const auto& font : fFonts)
    if (font->Pixels == pixels && font->Font == Font()) return *font;
  QFont qfont = DeviceFont(Font(), pixelHeight);
  QFontMetricsF metrics(qfont, fPainter.device());
  const QString key = qfont.key() + QString::number(fPainter.device()->logicalDpiX());
  fFonts.push_back(std::make_unique<TDeviceFont>(TDeviceFont{Font(), pixels, qfont, key, metrics, {}}));
  return *fFonts.back();
}

qreal TQPainterCanvas::Advance(TDeviceFont& font, const QString& text) const {
  const auto known = font.Advances.constFind(text);
  if (known != font.Advances.constEnd()) return *known;
  const qreal advance = font.Metrics.horizontalAdvance(text);
  font.Advances.insert(text, advance);
  return advance;
}

void TQPainterCanvas::TextOut(TIntPoint topLeft, std::string_view utf8) {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  TDeviceFont& font = CurrentFont();
  const QPointF at = Device(*this, topLeft);
  fPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (BackgroundMode() == TBackgroundMode::Opaque) {
    fPainter.fillRect(QRectF(at, QSizeF(Advance(font, text), font.Metrics.height())), ToQColor(BackgroundColour()));
  }
  fPainter.setFont(font.Qt);
  fPainter.setPen(ToQColor(TextColour()));
  fPainter.setBackgroundMode(Qt::TransparentMode);
  if (fLayouts != nullptr) {
    fPainter.drawStaticText(at, fLayouts->Layout(font.Key, text, font.Qt));
    return;
  }
  // Text cells are placed by their top; Qt places text by its baseline.
  fPainter.drawText(QPointF(at.x(), at.y() + font.Metrics.ascent()), text);
}

QStaticText& TTextLayouts::Layout(const QString& font, const QString& text, const QFont& qfont) {
  const QString key = font + QChar(0) + text;
  auto found = fLayouts.find(key);
  if (found != fLayouts.end()) return *found;
  if (fLayouts.size() > 4096) fLayouts.clear();
  QStaticText layout(text);
  layout.setTextFormat(Qt::PlainText);
  layout.prepare(QTransform(), qfont);
  return *fLayouts.insert(key, layout);
}

TIntSize TQPainterCanvas::TextExtent(std::string_view utf8) const {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  TDeviceFont& font = CurrentFont();
  return {RoundSaturated(DeviceToLogical(Advance(font, text))), RoundSaturated(DeviceToLogical(font.Metrics.height()))};
}

void TQPainterCanvas::StretchImage(const TIntRect& target, const TBitmapView& image, const TIntRect& source,
                                   TStretchMode mode) {
  if (image.IsEmpty()) return;
  TIntRect part = Normalised(source);
  part = {std::max(part.Left, 0), std::max(part.Top, 0), std::min(part.Right, image.Width),
          std::min(part.Bottom, image.Height)};
  if (part.Right <= part.Left || part.Bottom <= part.Top) return;
  const QPointF corner1 = Device(*this, {target.Left, target.Top});
  const QPointF corner2 = Device(*this, {target.Right, target.Bottom});
  const QRectF rect = QRectF(corner1, corner2).normalized();
  if (rect.isEmpty()) return;
  QImage picture = ToQImage(image, part);
  if (picture.isNull()) return;
  picture = picture.mirrored(corner2.x() < corner1.x(), corner2.y() < corner1.y());
  fPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  fPainter.setRenderHint(QPainter::SmoothPixmapTransform, mode == TStretchMode::Halftone);
  fPainter.drawImage(rect, picture);
}

void TQPainterCanvas::BlitDevice(TIntPoint deviceTopLeft, const TBitmapView& image) {
  if (image.IsEmpty()) return;
  QImage picture = ToQImage(image, {0, 0, image.Width, image.Height});
  if (picture.isNull()) return;
  fPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  fPainter.drawImage(QPoint(deviceTopLeft.X, deviceTopLeft.Y), picture);
}

bool TQPainterCanvas::NewPage() {
  auto* paged = dynamic_cast<QPagedPaintDevice*>(fPainter.device());
  // A printer's own newPage() is the one that must be called: QPrinter overrides it.
  return paged != nullptr && paged->newPage();
}

void TQPainterCanvas::ApplyClip(const std::optional<TIntRect>& deviceClip) {
  if (!deviceClip) {
    fPainter.setClipping(false);
    return;
  }
  fPainter.setClipRect(QRect(deviceClip->Left, deviceClip->Top, deviceClip->Right - deviceClip->Left,
                             deviceClip->Bottom - deviceClip->Top));
}

TPaintResult PaintImage(TIntSize size, std::uint32_t background, const TPaintRoutine& paint, QImage& image) {
  image = QImage();
  if (!ValidPictureSize(size)) return {false, NotEnoughMemory(size)};
  QImage painted(size.Width, size.Height, QImage::Format_RGB32);
  if (painted.isNull()) return {false, NotEnoughMemory(size)};
  painted.fill(ToQColor(background));
  TPaintResult result = PaintOn(painted, paint);
  if (result.Ok) image = std::move(painted);
  return result;
}

TPaintResult SvgPicture(TIntSize size, const std::string& title, const TPaintRoutine& paint, QByteArray& svg) {
  if (!ValidPictureSize(size)) return {false, "The picture is empty."};
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setResolution(kPictureDpi);
  generator.setSize(QSize(size.Width, size.Height));
  generator.setViewBox(QRect(0, 0, size.Width, size.Height));
  generator.setTitle(QString::fromStdString(title));
  TPaintResult painted = PaintOn(generator, paint);
  if (painted.Ok) svg = WithFamilyLists(buffer.data());
  return painted;
}

TWriteResult WriteSvgPicture(const std::string& path, TIntSize size, const std::string& title,
                             const TPaintRoutine& paint) {
  QByteArray svg;
  const TPaintResult painted = SvgPicture(size, title, paint, svg);
  if (!painted.Ok) return {false, painted.Error};
  return WriteBytes(path, svg);
}

TWriteResult WritePdfPicture(const std::string& path, TIntSize size, const std::string& title,
                             const TPaintRoutine& paint) {
  if (!ValidPictureSize(size)) return {false, "The picture is empty."};
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPictureDpi);
    writer.setTitle(QString::fromStdString(title));
    writer.setCreator("Lumacet");
    // Page sizes are whole points: round up so that nothing of the picture is cut off.
    const QSizeF points(std::ceil(size.Width / 254.0 * 72), std::ceil(size.Height / 254.0 * 72));
    if (!writer.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch)) ||
        !writer.setPageMargins(QMarginsF(0, 0, 0, 0))) {
      return {false, CannotPaint()};
    }
    TPaintResult painted = PaintOn(writer, paint);
    if (!painted.Ok) return {false, painted.Error};
  }
  return WriteBytes(path, buffer.data());
}

TWriteResult WritePngImage(const std::string& path, const QImage& image) {
  if (image.isNull()) return {false, "The picture is empty."};
  std::string bytes;
  std::string reason;
  if (!EncodePng(image, bytes, reason)) return {false, reason};
  return WriteFileAtomically(path, bytes);
}

}  // namespace lumacet
