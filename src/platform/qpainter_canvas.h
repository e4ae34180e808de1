// The canvas over QPainter, so that one painting routine serves a widget, an image, an SVG
// or PDF picture and a printed page; and the helpers that paint into images and files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QStaticText>

#include <memory>
#include <vector>

#include "graphics/canvas.h"
#include "support/atomic_file.h"

class QPaintDevice;
class QPainter;

namespace lumacet {

// Colours of the model (0x00BBGGRR, the top byte ignored) and Qt's.
QColor ToQColor(std::uint32_t colour);
std::uint32_t FromQColor(const QColor& colour);

// Texts laid out for drawing, kept from one paint to the next by whoever paints again and
// again (a drag paints the same labels every step, and laying each out afresh was a quarter
// of a paint). Keyed by the device font and the text; emptied when it grows large.
class TTextLayouts {
 public:
  QStaticText& Layout(const QString& font, const QString& text, const QFont& qfont);

 private:
  QHash<QString, QStaticText> fLayouts;
};

// Draws in device coordinates: every primitive is mapped by the canvas's own mapping, so
// that pens, hatches and text keep their device sizes as GDI-like surfaces do. The painter
// must be active; its state is changed freely.
class TQPainterCanvas : public TCanvas {
 public:
  // Texts are laid out afresh at every paint unless `layouts` keeps them.
  explicit TQPainterCanvas(QPainter& painter, TTextLayouts* layouts = nullptr);

  TIntSize DeviceSize() const override;
  // The device's logical resolution over 96 dpi: 1 on the screen and in images.
  double DevicePixelsPerScreenPixel() const override;

  void Polyline(std::span<const TIntPoint> points) override;
  void Polygon(std::span<const TIntPoint> points) override;
  void Rectangle(const TIntRect& box) override;
  void Ellipse(const TIntRect& box) override;
  void Arc(const TIntRect& box, TIntPoint startRadial, TIntPoint endRadial) override;
  void Pie(const TIntRect& box, TIntPoint startRadial, TIntPoint endRadial) override;
  void TextOut(TIntPoint topLeft, std::string_view utf8) override;
  TIntSize TextExtent(std::string_view utf8) const override;
  void StretchImage(const TIntRect& target, const TBitmapView& image, const TIntRect& source,
                    TStretchMode mode) override;
  void BlitDevice(TIntPoint deviceTopLeft, const TBitmapView& image) override;
  // A new sheet on printers and PDF writers; false on images, widgets and SVG pictures.
  bool NewPage() override;

 protected:
  void ApplyClip(const std::optional<TIntRect>& deviceClip) override;

 private:
  void UsePen();
  void UseBrush();
  void UseNoBrush();
  enum class TArcKind { Arc, Pie };
  void DrawArc(const TIntRect& box, TIntPoint startRadial, TIntPoint endRadial, TArcKind kind);

  // The fonts this canvas has drawn with, and the widths of the texts measured in each: a
  // tracing's labels share a few fonts, and making the font and measuring the text again
  // for every label and its extent was a fifth of a paint.
  struct TDeviceFont {
    TFont Font;
    int Pixels = 0;
    QFont Qt;
    QString Key;  // for the layouts
    QFontMetricsF Metrics;
    QHash<QString, qreal> Advances;
  };
  TDeviceFont& CurrentFont() const;
  qreal Advance(TDeviceFont& font, const QString& text) const;

  QPainter& fPainter;
  TTextLayouts* fLayouts;
  mutable std::vector<std::unique_ptr<TDeviceFont>> fFonts;
};

using TPaintRoutine = std::function<void(TCanvas&)>;

struct TPaintResult {
  bool Ok = false;
  std::string Error;  // for the user's message
};

// A new image of `size` pixels (Format_RGB32) filled with `background` and painted; the
// image is null when it cannot be had.
TPaintResult PaintImage(TIntSize size, std::uint32_t background, const TPaintRoutine& paint, QImage& image);

// Pictures in files at 254 dpi, one tracing unit per device unit: `size` is the picture's
// size in tracing units and the routine's canvas starts with the identity mapping. The
// file is written whole through a temporary file or not at all.
// The same SVG picture as bytes, for documents that hold it.
TPaintResult SvgPicture(TIntSize size, const std::string& title, const TPaintRoutine& paint, QByteArray& svg);
TWriteResult WriteSvgPicture(const std::string& path, TIntSize size, const std::string& title,
                             const TPaintRoutine& paint);
TWriteResult WritePdfPicture(const std::string& path, TIntSize size, const std::string& title,
                             const TPaintRoutine& paint);
TWriteResult WritePngImage(const std::string& path, const QImage& image);

}  // namespace lumacet
