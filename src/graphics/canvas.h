// The drawing surface that every picture is painted on: the tracing display, pictures in
// files and printed pages all go through one painting routine over this interface. Callers
// draw in integer logical units (tracing units for a tracing) that an isotropic mapping
// turns into device pixels; pen, brush, font and background are state of the canvas, read
// by each primitive when it is drawn.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/coordinates.h"
#include "geometry/raster.h"

namespace lumacet {

// Colours are 0x00BBGGRR (red in the low byte) everywhere in the canvas interface.

// The numbering is the stored line style of drawings and position pens.
enum class TPenStyle : std::uint8_t { Solid, Dash, Dot, DashDot, DashDotDot, Clear };
// Invert paints by inverting what is below; only raster surfaces can, others draw as Copy.
enum class TPenMode : std::uint8_t { Copy, Invert };

// Width in logical units; 0 is the thinnest line the device draws. No line is drawn
// thinner than one device pixel.
struct TPen {
  std::uint32_t Colour = 0;
  TPenStyle Style = TPenStyle::Solid;
  int Width = 0;
  TPenMode Mode = TPenMode::Copy;
  friend bool operator==(const TPen&, const TPen&) = default;
};

// The numbering is the stored fill style of drawings. Hatches are spaced in screen pixels
// whatever the zoom, as they always have been.
enum class TBrushStyle : std::uint8_t {
  Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross
};

struct TBrush {
  std::uint32_t Colour = 0x00FFFFFF;
  TBrushStyle Style = TBrushStyle::Solid;
  friend bool operator==(const TBrush&, const TBrush&) = default;
};

// Opaque paints the gaps of dashed lines and hatches and the cells of text in the
// background colour.
enum class TBackgroundMode : std::uint8_t { Transparent, Opaque };

// Height is the em height in logical units. Label fonts are given in points at life size:
// multiply by kTracingUnitsPerPoint for a canvas that draws in tracing units.
struct TFont {
  std::string Name = "DejaVu Sans";
  double Height = 28;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  friend bool operator==(const TFont&, const TFont&) = default;
};
inline constexpr double kTracingUnitsPerPoint = 254.0 / 72;

struct TIntSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TIntSize&, const TIntSize&) = default;
};

// Logical to device coordinates with equal units on both axes: the smaller of the two
// viewport-to-window ratios serves both, each axis keeping the sign of its own ratio (a
// negative extent flips that axis). The default mapping is the identity.
class TIsotropicMapping {
 public:
  TIsotropicMapping() = default;
  // Absent when an extent is 0 on either axis.
  static std::optional<TIsotropicMapping> Make(TIntPoint windowOrigin, TIntSize windowExtent,
                                               TIntPoint viewportOrigin, TIntSize viewportExtent);
  // Logical units at scale `devicePerLogical` with logical `windowOrigin` at device
  // `viewportOrigin`; absent unless the scale is positive and finite.
  static std::optional<TIsotropicMapping> FromScale(TFloatPoint windowOrigin, double devicePerLogical,
                                                    TFloatPoint viewportOrigin = {});

  TFloatPoint ToDevice(TFloatPoint logical) const;
  TFloatPoint ToLogical(TFloatPoint device) const;
  // Device pixels per logical unit (always positive).
  double Scale() const { return fScaleX < 0 ? -fScaleX : fScaleX; }
  double ScaleX() const { return fScaleX; }  // signed
  double ScaleY() const { return fScaleY; }
  TFloatPoint WindowOrigin() const { return fWindowOrigin; }
  TFloatPoint ViewportOrigin() const { return fViewportOrigin; }

  friend bool operator==(const TIsotropicMapping&, const TIsotropicMapping&) = default;

 private:
  TFloatPoint fWindowOrigin;
  TFloatPoint fViewportOrigin;
  double fScaleX = 1;
  double fScaleY = 1;
};

// Where an arc or pie starts and how far it sweeps, counter-clockwise as displayed (y
// down), in degrees. The angles are those of the radial points as seen on the ellipse of
// the box; equal directions sweep the full ellipse. Absent for a box without area.
struct TArcAngles {
  double StartDegrees = 0;
  double SweepDegrees = 0;
};
std::optional<TArcAngles> ArcAngles(const TIntRect& box, TIntPoint startRadial, TIntPoint endRadial);

// The rectangle with Left <= Right and Top <= Bottom.
TIntRect Normalised(const TIntRect& rect);

// Halftone averages the source pixels that fall on each target pixel (smooth scaling);
// Nearest takes the one source pixel under each target pixel.
enum class TStretchMode : std::uint8_t { Nearest, Halftone };

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  void SetPen(const TPen& pen) { fState.Pen = pen; }
  const TPen& Pen() const { return fState.Pen; }
  void SetBrush(const TBrush& brush) { fState.Brush = brush; }
  const TBrush& Brush() const { return fState.Brush; }
  void SetFont(const TFont& font) { fState.Font = font; }
  const TFont& Font() const { return fState.Font; }
  void SetTextColour(std::uint32_t colour) { fState.TextColour = colour; }
  std::uint32_t TextColour() const { return fState.TextColour; }
  void SetBackgroundMode(TBackgroundMode mode) { fState.BackgroundMode = mode; }
  TBackgroundMode BackgroundMode() const { return fState.BackgroundMode; }
  void SetBackgroundColour(std::uint32_t colour) { fState.BackgroundColour = colour; }
  std::uint32_t BackgroundColour() const { return fState.BackgroundColour; }

  void SetMapping(const TIsotropicMapping& mapping) { fState.Mapping = mapping; }
  const TIsotropicMapping& Mapping() const { return fState.Mapping; }
  TFloatPoint LogicalToDevice(TFloatPoint logical) const { return fState.Mapping.ToDevice(logical); }
  TFloatPoint DeviceToLogical(TFloatPoint device) const { return fState.Mapping.ToLogical(device); }
  // Lengths between device pixels and logical units.
  double DeviceToLogical(double pixels) const { return pixels / fState.Mapping.Scale(); }
  double LogicalToDevice(double units) const { return units * fState.Mapping.Scale(); }
  // Sizes that the program gives in screen pixels (marker and arrow-head sizes, read-out
  // fonts) in logical units: on a printer or in a picture file a screen pixel is 1/96 inch.
  double ScreenPixelsToLogical(double screenPixels) const {
    return DeviceToLogical(screenPixels * DevicePixelsPerScreenPixel());
  }

  // Save keeps the drawing state (pen, brush, font, colours, background, mapping, pen
  // position and clip) and Restore brings back the last one kept; the pairs nest. A
  // Restore without its Save changes nothing.
  void Save();
  void Restore();
  // Limits drawing to where the rectangle (logical units under the mapping now set) meets
  // the clip already in force, until the Restore that matches the last Save. The clip is
  // kept in device pixels, so a mapping set later does not move it.
  void IntersectClip(const TIntRect& box);
  // The clip in device pixels; nullopt while drawing is not clipped.
  const std::optional<TIntRect>& DeviceClip() const { return fState.Clip; }

  // Ends the page drawn so far and starts a blank one on surfaces made of pages (printers,
  // PDF files, page lists); false on a surface of one page only, which is left as it is.
  // The drawing state stays as it was.
  virtual bool NewPage() { return false; }

  // The surface's size in device pixels.
  virtual TIntSize DeviceSize() const = 0;
  virtual double DevicePixelsPerScreenPixel() const { return 1; }

  // A line from the pen position, which then moves to the end.
  void MoveTo(TIntPoint point) { fState.PenPosition = point; }
  void LineTo(TIntPoint point);
  TIntPoint PenPosition() const { return fState.PenPosition; }

  // Pen only; fewer than two points draw nothing.
  virtual void Polyline(std::span<const TIntPoint> points) = 0;
  // Closed back to the first point, filled with the brush (alternate filling), outlined
  // with the pen.
  virtual void Polygon(std::span<const TIntPoint> points) = 0;
  // Filled and outlined; reversed corners are normalised.
  virtual void Rectangle(const TIntRect& box) = 0;
  virtual void Ellipse(const TIntRect& box) = 0;
  // Part of the ellipse in the box from the direction of the start radial point to that of
  // the end radial point, counter-clockwise as displayed (see ArcAngles). A pie is closed
  // to the centre and filled.
  virtual void Arc(const TIntRect& box, TIntPoint startRadial, TIntPoint endRadial) = 0;
  virtual void Pie(const TIntRect& box, TIntPoint startRadial, TIntPoint endRadial) = 0;
  // Text in the font and text colour with the top left of its cell at `topLeft`; an opaque
  // background fills the cell. No "&" is ever taken for a mnemonic.
  virtual void TextOut(TIntPoint topLeft, std::string_view utf8) = 0;
  // Width and cell height of the text in logical units.
  virtual TIntSize TextExtent(std::string_view utf8) const = 0;
  // The source rectangle of the bitmap (pixels 0xAARRGGBB, the top byte ignored) scaled
  // into the target rectangle. A target with Left > Right (Top > Bottom) mirrors the
  // picture left to right (top to bottom).
  virtual void StretchImage(const TIntRect& target, const TBitmapView& image, const TIntRect& source,
                            TStretchMode mode) = 0;
  // The bitmap pixel for pixel at a device position, past the mapping (composed display
  // buffers).
  virtual void BlitDevice(TIntPoint deviceTopLeft, const TBitmapView& image) = 0;

 protected:
  // Makes the surface clip to the device rectangle, or not at all; called whenever the
  // clip changes.
  virtual void ApplyClip(const std::optional<TIntRect>& deviceClip) = 0;

 private:
  struct TState {
    TPen Pen;
    TBrush Brush;
    TFont Font;
    std::uint32_t TextColour = 0;
    TBackgroundMode BackgroundMode = TBackgroundMode::Opaque;
    std::uint32_t BackgroundColour = 0x00FFFFFF;
    TIsotropicMapping Mapping;
    TIntPoint PenPosition;
    std::optional<TIntRect> Clip;
  };

  TState fState;
  std::vector<TState> fSaved;
};

}  // namespace lumacet
