// The small drawable shapes of the interactive tools and tracings: lines, arrows, the
// ruler, point markers and curves. These classes hold each shape's data and work out the
// geometry it draws (integer logical coordinates, which for the tracing are tracing units);
// painting that geometry onto a canvas is the drawing code's business.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "geometry/coordinates.h"

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

  double ExtentX() const { return static_cast<double>(X2) - X1; }
  double ExtentY() const { return static_cast<double>(Y2) - Y1; }

  int X1 = 0;
  int Y1 = 0;
  int X2 = 0;
  int Y2 = 0;
};

// A curve or polyline through model points, which it does not own.
class TPolyShape : public TMyShape {
 public:
  std::vector<TFloatPoint> SplinePoints(int step) const;
  double CurveLength() const;
  double CurveArea() const;

  std::vector<TXRPoint*> Points;
};

class TPolySpline : public TPolyShape {
 public:
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

// A point marker centred on (X1, Y1).
class TMarker : public TMyShape {
 public:
  TMarker() = default;
  TMarker(std::string shapeName, int size) : ShapeName(std::move(shapeName)), Size(size) {}

  TMarkerShape Shape() const { return MarkerShapeFromName(ShapeName); }
  // Twice the size, taken as logical units or, when marker sizes are set in screen
  // pixels, converted from them; for a picture marker the picture's pixel size converted.
  TMarkerExtent MarkerExtent(double unitsPerScreenPixel, bool sizeInScreenPixels,
                             TMarkerExtent picturePixels) const;
  // True when (px, py) lies within half the extent of the centre, edges included.
  bool HitTest(int px, int py, TMarkerExtent extent) const;
  TMarkerOutline Outline(TMarkerExtent extent) const;

  std::string ShapeName;
  int Size = 0;
  int ImageIndex = 0;
};

class TMarkerExtended : public TMarker {
 public:
  using TMarker::TMarker;

  int Tag = 0;
  std::string Text;
  void* Subject = nullptr;  // whatever the marker stands for; not owned
};

class TLine : public TMyShape {};

// A line with a small box around its start.
class TDotLine : public TMyShape {
 public:
  TIntRect StartBox() const;
};

class TRectangle : public TMyShape {};

// A line from (X1, Y1) to (X2, Y2) with a head at the second point, one fifth of the
// arrow long and one tenth of it wide on each side.
class TArrow : public TMyShape {
 public:
  // The far ends of the two head strokes, both drawn from (X2, Y2).
  std::array<TIntPoint, 2> HeadEnds() const;
};

// The ruler: a double arrow from (X1, Y1) to (X2, Y2), optionally with millimetre ticks.
class TRulerDoubleArrow : public TMyShape {
 public:
  // Tracing units per millimetre: the spacing of unfitted ticks and the shortest tick's
  // half-length.
  static constexpr double kTickUnit = 10;

  // Every stroke of the ruler, in drawing order: the head at the second point, the shaft,
  // the head at the first point, then the ticks. `headLength` is the head size in logical
  // units.
  std::vector<TIntSegment> Segments(double headLength) const;

  int HeadSize = 12;  // screen pixels
  bool FitTicks = false;
  bool TickMarks = false;
};

}  // namespace lumacet
