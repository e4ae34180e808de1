// The main window's drawing area: which part of the tracing world it shows and how large.
// Tracing units become screen pixels through an isotropic mapping set by the zoom (per
// mille of nominal size, where 100 % shows 3.37 pixels per millimetre) and the scroll
// positions (the tracing coordinates of the area's top-left corner). The zoom commands,
// the zoom tool and the zoom box act on this state; the window only forwards its size and
// its mouse and keyboard input.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/coordinates.h"
#include "graphics/canvas.h"

namespace lumacet {

// The scrollable world: 0..3000 tracing units (300 mm) on each axis.
inline constexpr int kWorldExtent = 3000;
inline constexpr double kUnitsPerMillimetre = 10;
inline constexpr double kNominalPixelsPerMillimetre = 3.37;

inline constexpr int kNominalZoom = 1000;
inline constexpr int kMinimumZoom = 250;
inline constexpr int kMaximumZoom = 20000;
// The zoom box's presets, largest first, in per mille.
inline constexpr std::array<int, 10> kZoomPresets = {20000, 12000, 6000, 3000, 2000, 1500, 1000, 750, 500, 250};
inline constexpr std::string_view kFitAllEntry = "Fit All";
inline constexpr std::string_view kBestFitEntry = "Best Fit";
inline constexpr std::string_view kInvalidZoomMessage =
    "This is not a valid zoom value.\r\nUse an integer number in the range 25 - 2000.";

// "150%" for a zoom of 1500.
std::string ZoomText(int zoom);
// The zoom box list: the presets as ZoomText, then "Fit All" and "Best Fit".
std::array<std::string, kZoomPresets.size() + 2> ZoomBoxEntries();
// A zoom typed into the box and confirmed: whole percent from 25 to 2000, with or without
// a trailing "%", in per mille; nothing otherwise (show kInvalidZoomMessage).
std::optional<int> TypedZoom(std::string_view text);
// Whether the zoom box takes a typed character: digits, "%", "/", Backspace and Enter.
bool ZoomBoxAcceptsKey(char key);

struct TScrollBar {
  bool Enabled = false;
  int Page = 0;      // the visible extent, tracing units; also the large step
  int Position = 0;  // 0 .. kWorldExtent - Page
};

class TDisplayMapping {
 public:
  // The drawing area's size in pixels. Nothing is mapped or painted while either side is
  // below 2 pixels (a minimised window or a collapsed splitter).
  void SetAreaSize(TIntSize pixels);
  TIntSize AreaSize() const { return fArea; }
  bool CanPaint() const { return fArea.Width >= 2 && fArea.Height >= 2; }

  int Zoom() const { return fZoom; }
  TIntPoint Scroll() const { return fScroll; }
  // A scroll bar moved: the position is held to the bar's range.
  void SetScroll(TIntPoint position);

  // Width / 3.37 x 10 / (zoom / 1000) by the same of the height, each rounded: the part of
  // the world the area shows, in tracing units; at least 1 on each axis.
  TIntSize WindowExtent() const;
  // The isotropic mapping with the window at the scroll positions; absent while the area
  // cannot be painted.
  std::optional<TIsotropicMapping> Mapping() const;
  // Conversions through Mapping(); absent while the area cannot be painted.
  std::optional<TFloatPoint> ToTracing(TFloatPoint pixel) const;
  std::optional<TFloatPoint> ToPixel(TFloatPoint tracing) const;
  // The tracing point at the centre of the area: the scroll position plus half the window
  // extent.
  TFloatPoint Centre() const;

  TScrollBar HorizontalBar() const { return Bar(fScroll.X, WindowExtent().Width); }
  TScrollBar VerticalBar() const { return Bar(fScroll.Y, WindowExtent().Height); }

  // Sets the zoom and scrolls so that (x, y) comes to the centre of the area, as far as the
  // world allows.
  void ZoomCenterInDisplay(int zoom, double x, double y);
  // Re-centres on (x, y) at the current zoom unless it lies within 0.7 of half the visible
  // extent from the centre on both axes; true when it scrolled.
  bool CenterInDisplayRobust(double x, double y);
  // Zooms so that the rectangle (tracing units, corners in any order) fills the area along
  // its tighter side, centred on it; nothing for a rectangle without width or height.
  void ZoomRect(const TIntRect& rectangle);

  // "&Zoom In" and "Zoom &Out": the next preset, keeping the centre of the area in place.
  void ZoomIn() { ZoomInAt(Centre()); }
  void ZoomOut() { ZoomOutAt(Centre()); }
  // The same centred on a point: the zoom tool's click and right click.
  void ZoomInAt(TFloatPoint centre);
  void ZoomOutAt(TFloatPoint centre);
  // Ctrl + wheel: one preset in or out, the tracing point under the pixel `cursor` staying
  // under it as far as the world allows.
  void ZoomStepAbout(TFloatPoint cursor, bool in);
  // The middle button dragged by `pixels` since it was pressed at the scroll position
  // `pressedAt`: the picture follows the mouse.
  void PanFrom(TIntPoint pressedAt, TFloatPoint pixels);
  // The zoom tool's rubber band released: a band at least 2 units wide or high zooms onto
  // it, a smaller one counts as a click at its start.
  void ZoomToolRelease(const TIntRect& band);

  // "&Fit All": zoom min(W, H) - 1 at the origin, so that the whole world just fits.
  void FitAll();
  // "&Best Fit": onto the current radiograph's padded bounds.
  void BestFit(const TIntRect& paddedBounds) { ZoomRect(paddedBounds); }
  // An entry of the zoom box chosen, or a typed zoom confirmed: "Fit All", "Best Fit" (onto
  // `bestFitBounds`), or a percentage zoomed about the centre of the area, where a text
  // that is not a number means 100 %.
  void ChooseZoomBoxEntry(std::string_view entry, const TIntRect& bestFitBounds);

 private:
  static TScrollBar Bar(int position, int extent);
  static int ClampedPosition(double position, int extent);

  TIntSize fArea;
  int fZoom = kNominalZoom;
  TIntPoint fScroll;
};

}  // namespace lumacet
