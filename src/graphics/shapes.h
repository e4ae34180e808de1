// The small drawable shapes of the interactive tools and tracings: lines, arrows, the
// ruler, point markers and curves. Each shape holds its data, works out the geometry it
// draws (integer logical coordinates, which for the tracing are tracing units) and paints
// it on a canvas.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "geometry/coordinates.h"
#include "geometry/raster.h"
#include "graphics/canvas.h"

namespace lumacet {

class TXRPoint;

struct TIntSegment {
  TIntPoint From;
  TIntPoint To;
  friend bool operator==(const TIntSegment&, const TIntSegment&) = default;
};

class TMyShape {
 public:
  virtual ~TMyShape() = default;

  virtual void Draw(TCanvas&) const {}
  // Copies the shape's pen and brush to the canvas.
  void ApplyPenAndBrush(TCanvas& canvas) const;

  double ExtentX() const { return static_cast<double>(X2) - X1; }
  double ExtentY() const { return static_cast<double>(Y2) - Y1; }

  int X1 = 0;
  int Y1 = 0;
  int X2 = 0;
  int Y2 = 0;
  TPen Pen;
  TBrush Brush;
};

// A curve or polyline through model points, which it does not own.
class TPolyShape : public TMyShape {
 public:
  std::vector<TFloatPoint> SplinePoints(int step) const;
  double CurveLength() const;
  double CurveArea() const;

  std::vector<TXRPoint*> Points;
};

// Curves are drawn with the canvas's own pen and brush, not the shape's.
class TPolySpline : public TPolyShape {
 public:
  // The samples of SplinePoints(10) as a polyline.
  void Draw(TCanvas& canvas) const override;
  // The same samples as one closed polygon, filled with the canvas brush.
  void DrawFilled(TCanvas& canvas) const;
  std::vector<TFloatPoint> SmoothPoints(int step) const;
};

enum class TMarkerShape { None, Square, Circle, Diamond, Triangle, Image };

// "Square", "Circle", "Diamond", "Triangle" or "image", compared exactly; any other name
// is a marker that draws nothing.
TMarkerShape MarkerShapeFromName(std::string_view name);

// The full drawn size of a marker in logical units.
struct TMarkerExtent {
  double Width = 0;
  double Height = 0;
};

// What a marker draws: a box for squares, circles (the ellipse in the box) and pictures
// (stretched into it), a polygon for diamonds and triangles, nothing for TMarkerShape::None.
struct TMarkerOutline {
  TMarkerShape Shape = TMarkerShape::None;
  TIntRect Box;
  std::vector<TIntPoint> Polygon;
};

// Paints a square, circle, diamond or triangle outline with the canvas pen and brush;
// pictures and empty outlines draw nothing here.
void DrawOutline(TCanvas& canvas, const TMarkerOutline& outline);

// A point marker centred on (X1, Y1), outlined in the pen colour and filled solid in the
// brush colour.
class TMarker : public TMyShape {
 public:
  TMarker() = default;
  TMarker(std::string shapeName, int size) : ShapeName(std::move(shapeName)), Size(size) {}

  // Leaves the canvas pen and brush as they were.
  void Draw(TCanvas& canvas) const override;

  TMarkerShape Shape() const { return MarkerShapeFromName(ShapeName); }
  // Twice the size, taken as logical units or, when marker sizes are set in screen
  // pixels, converted from them; for a picture marker the picture's pixel size converted.
  TMarkerExtent MarkerExtent(double unitsPerScreenPixel, bool sizeInScreenPixels,
                             TMarkerExtent picturePixels) const;
  // The same for this marker's own settings and picture on the canvas.
  TMarkerExtent MarkerExtent(const TCanvas& canvas) const;
  // True when (px, py) lies within half the extent of the centre, edges included.
  bool HitTest(int px, int py, TMarkerExtent extent) const;
  bool HitTest(int px, int py, const TCanvas& canvas) const { return HitTest(px, py, MarkerExtent(canvas)); }
  TMarkerOutline Outline(TMarkerExtent extent) const;

  std::string ShapeName;
  int Size = 0;
  bool SizeInScreenPixels = false;  // the workspace's marker-size setting
  int ImageIndex = 0;
  TBitmapView Image;  // the picture of an "image" marker, owned by the marker image list
};

class TMarkerExtended : public TMarker {
 public:
  using TMarker::TMarker;

  int Tag = 0;
  std::string Text;
  void* Subject = nullptr;  // whatever the marker stands for; not owned
};

class TLine : public TMyShape {
 public:
  void Draw(TCanvas& canvas) const override;
};

// A line with a small unfilled box around its start.
class TDotLine : public TMyShape {
 public:
  void Draw(TCanvas& canvas) const override;
  TIntRect StartBox() const;
};

class TRectangle : public TMyShape {
 public:
  void Draw(TCanvas& canvas) const override;
};

// A line from (X1, Y1) to (X2, Y2) with a head at the second point, one fifth of the
// arrow long and one tenth of it wide on each side.
class TArrow : public TMyShape {
 public:
  void Draw(TCanvas& canvas) const override;
  // The far ends of the two head strokes, both drawn from (X2, Y2).
  std::array<TIntPoint, 2> HeadEnds() const;
};

// The ruler: a double arrow from (X1, Y1) to (X2, Y2), optionally with millimetre ticks.
class TRulerDoubleArrow : public TMyShape {
 public:
  // Tracing units per millimetre: the spacing of unfitted ticks and the shortest tick's
  // half-length.
  static constexpr double kTickUnit = 10;

  // The head size is converted from screen pixels on the canvas.
  void Draw(TCanvas& canvas) const override;

  // Every stroke of the ruler, in drawing order: the head at the second point, the shaft,
  // the head at the first point, then the ticks. `headLength` is the head size in logical
  // units.
  std::vector<TIntSegment> Segments(double headLength) const;

  int HeadSize = 12;  // screen pixels
  bool FitTicks = false;
  bool TickMarks = false;
};

}  // namespace lumacet
