#include "graphics/shapes.h"

#include <cmath>

#include "geometry/spline.h"
#include "model/point_geometry.h"

namespace lumacet {

namespace {

std::vector<TIntPoint> Rounded(const std::vector<TFloatPoint>& points) {
  std::vector<TIntPoint> rounded;
  rounded.reserve(points.size());
  for (const TFloatPoint& p : points) rounded.push_back(RoundSaturated(p));
  return rounded;
}

void DrawSegment(TCanvas& canvas, TIntPoint from, TIntPoint to) {
  canvas.MoveTo(from);
  canvas.LineTo(to);
}

}  // namespace

void TMyShape::ApplyPenAndBrush(TCanvas& canvas) const {
  canvas.SetPen(Pen);
  canvas.SetBrush(Brush);
}

std::vector<TFloatPoint> TPolyShape::SplinePoints(int step) const {
  return lumacet::SplinePoints(Points, step);
}

double TPolyShape::CurveLength() const { return lumacet::CurveLength(Points); }

double TPolyShape::CurveArea() const { return lumacet::CurveArea(Points); }

void TPolySpline::Draw(TCanvas& canvas) const {
  std::vector<TIntPoint> samples = Rounded(SplinePoints(10));
  if (samples.size() >= 2) canvas.Polyline(samples);
}

void TPolySpline::DrawFilled(TCanvas& canvas) const {
  std::vector<TIntPoint> samples = Rounded(SplinePoints(10));
  if (samples.size() >= 2) canvas.Polygon(samples);
}

std::vector<TFloatPoint> TPolySpline::SmoothPoints(int step) const {
  return lumacet::SmoothPoints(Points, step);
}

TMarkerShape MarkerShapeFromName(std::string_view name) {
  if (name == "Square") return TMarkerShape::Square;
  if (name == "Circle") return TMarkerShape::Circle;
  if (name == "Diamond") return TMarkerShape::Diamond;
  if (name == "Triangle") return TMarkerShape::Triangle;
  if (name == "image") return TMarkerShape::Image;
  return TMarkerShape::None;
}

TMarkerExtent TMarker::MarkerExtent(double unitsPerScreenPixel, bool sizeInScreenPixels,
                                    TMarkerExtent picturePixels) const {
  if (Shape() == TMarkerShape::Image) {
    return {picturePixels.Width * unitsPerScreenPixel, picturePixels.Height * unitsPerScreenPixel};
  }
  double half = sizeInScreenPixels ? Size * unitsPerScreenPixel : Size;
  return {2 * half, 2 * half};
}

TMarkerExtent TMarker::MarkerExtent(const TCanvas& canvas) const {
  return MarkerExtent(canvas.ScreenPixelsToLogical(1), SizeInScreenPixels,
                      {static_cast<double>(Image.Width), static_cast<double>(Image.Height)});
}

bool TMarker::HitTest(int px, int py, TMarkerExtent extent) const {
  return std::fabs(static_cast<double>(X1) - px) <= extent.Width / 2 &&
         std::fabs(static_cast<double>(Y1) - py) <= extent.Height / 2;
}

TMarkerOutline TMarker::Outline(TMarkerExtent extent) const {
  TMarkerOutline outline;
  outline.Shape = Shape();
  double x = X1;
  double y = Y1;
  double a = extent.Width / 2;
  double b = extent.Height / 2;
  auto at = [](double px, double py) { return RoundSaturated(TFloatPoint{px, py}); };
  switch (outline.Shape) {
    case TMarkerShape::Square:
    case TMarkerShape::Circle:
    case TMarkerShape::Image:
      outline.Box = {RoundSaturated(x - a), RoundSaturated(y - b), RoundSaturated(x + a),
                     RoundSaturated(y + b)};
      break;
    case TMarkerShape::Diamond:
      outline.Polygon = {at(x, y - b), at(x + a, y), at(x, y + b), at(x - a, y)};
      break;
    case TMarkerShape::Triangle: {
      double r = std::nearbyint(0.87 * a);
      double q = std::nearbyint(b / 2);
      outline.Polygon = {at(x, y - b), at(x + r, y + q), at(x - r, y + q)};
      break;
    }
    case TMarkerShape::None:
      break;
  }
  return outline;
}

void DrawOutline(TCanvas& canvas, const TMarkerOutline& outline) {
  switch (outline.Shape) {
    case TMarkerShape::Square:
      canvas.Rectangle(outline.Box);
      break;
    case TMarkerShape::Circle:
      canvas.Ellipse(outline.Box);
      break;
    case TMarkerShape::Diamond:
    case TMarkerShape::Triangle:
      canvas.Polygon(outline.Polygon);
      break;
    case TMarkerShape::Image:
    case TMarkerShape::None:
      break;
  }
}

void TMarker::Draw(TCanvas& canvas) const {
  const TPen savedPen = canvas.Pen();
  const TBrush savedBrush = canvas.Brush();
  canvas.SetPen({Pen.Colour, Pen.Style, 1, Pen.Mode});
  canvas.SetBrush({Brush.Colour, TBrushStyle::Solid});
  TMarkerOutline outline = Outline(MarkerExtent(canvas));
  if (outline.Shape == TMarkerShape::Image) {
    if (!Image.IsEmpty()) {
      canvas.StretchImage(outline.Box, Image, {0, 0, Image.Width, Image.Height}, TStretchMode::Nearest);
    }
  } else {
    DrawOutline(canvas, outline);
  }
  canvas.SetPen(savedPen);
  canvas.SetBrush(savedBrush);
}

void TLine::Draw(TCanvas& canvas) const {
  ApplyPenAndBrush(canvas);
  DrawSegment(canvas, {X1, Y1}, {X2, Y2});
}

void TDotLine::Draw(TCanvas& canvas) const {
  ApplyPenAndBrush(canvas);
  canvas.SetBrush({Brush.Colour, TBrushStyle::Clear});
  canvas.Rectangle(StartBox());
  DrawSegment(canvas, {X1, Y1}, {X2, Y2});
}

void TRectangle::Draw(TCanvas& canvas) const {
  ApplyPenAndBrush(canvas);
  canvas.Rectangle({X1, Y1, X2, Y2});
}

void TArrow::Draw(TCanvas& canvas) const {
  ApplyPenAndBrush(canvas);
  const TIntPoint tip{X2, Y2};
  std::array<TIntPoint, 2> head = HeadEnds();
  DrawSegment(canvas, {X1, Y1}, tip);
  canvas.LineTo(head[0]);
  DrawSegment(canvas, tip, head[1]);
}

void TRulerDoubleArrow::Draw(TCanvas& canvas) const {
  ApplyPenAndBrush(canvas);
  for (const TIntSegment& segment : Segments(canvas.ScreenPixelsToLogical(HeadSize))) {
    DrawSegment(canvas, segment.From, segment.To);
  }
}

TIntRect TDotLine::StartBox() const {
  return {RoundSaturated(X1 - 3.0), RoundSaturated(Y1 - 3.0), RoundSaturated(X1 + 3.0),
          RoundSaturated(Y1 + 3.0)};
}

std::array<TIntPoint, 2> TArrow::HeadEnds() const {
  double dx = ExtentX();
  double dy = ExtentY();
  double baseX = X2 - dx / 5;
  double baseY = Y2 - dy / 5;
  return {RoundSaturated(TFloatPoint{baseX + dy / 10, baseY - dx / 10}),
          RoundSaturated(TFloatPoint{baseX - dy / 10, baseY + dx / 10})};
}

std::vector<TIntSegment> TRulerDoubleArrow::Segments(double headLength) const {
  const TFloatPoint p1{static_cast<double>(X1), static_cast<double>(Y1)};
  const TFloatPoint p2{static_cast<double>(X2), static_cast<double>(Y2)};
  double length = std::hypot(ExtentX(), ExtentY());
  if (length == 0) length = 1;
  const double ux = ExtentX() / length;
  const double uy = ExtentY() / length;
  const double a = headLength;
  // Offsets from the shaft: `a` along it and a/2 across it to either side.
  auto point = [](TFloatPoint from, double along, double ax, double ay, double side) {
    return RoundSaturated(TFloatPoint{from.X + along * ax + side * ay, from.Y + along * ay - side * ax});
  };
  const TIntPoint end1 = RoundSaturated(p1);
  const TIntPoint end2 = RoundSaturated(p2);
  std::vector<TIntSegment> segments = {
      {point(p2, -a, ux, uy, a / 2), end2},
      {end2, point(p2, -a, ux, uy, -a / 2)},
      {end2, end1},
      {end1, point(p1, a, ux, uy, -a / 2)},
      {end1, point(p1, a, ux, uy, a / 2)},
  };
  if (!TickMarks) return segments;

  double spacing = kTickUnit;
  double ticks = std::floor(length / kTickUnit);
  if (FitTicks) {
    // A whole number of five-tick groups spans the ruler exactly; a ruler shorter than one
    // group gets no ticks at all.
    double groups = 5 * std::trunc(length / kTickUnit / 5);
    if (groups == 0) return segments;
    spacing = length / groups;
    ticks = groups;
  }
  auto tick = [&](double distance, double half) {
    TFloatPoint centre{p1.X + distance * ux, p1.Y + distance * uy};
    segments.push_back({point(centre, 0, ux, uy, half), point(centre, 0, ux, uy, -half)});
  };
  for (double n = 0; n <= ticks; ++n) {
    double half = std::fmod(n, 10) == 0 ? 3 * kTickUnit
                  : std::fmod(n, 5) == 0 ? 2 * kTickUnit
                                         : kTickUnit;
    tick(n * spacing, half);
  }
  tick(length, 3 * kTickUnit);
  return segments;
}

}  // namespace lumacet
