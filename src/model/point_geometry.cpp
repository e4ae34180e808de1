#include "model/point_geometry.h"

#include <cstdint>

#include "model/xray_element.h"

namespace lumacet {

namespace {

// Runs a coordinate construction on model points, provided every one of them is valid.
template <typename Construction, typename... Points>
std::optional<TFloatPoint> OnValidPoints(Construction construction, Points&... points) {
  if (!(points.IsValid() && ...)) return std::nullopt;
  return construction(TFloatPoint{points.GetX(), points.GetY()}...);
}

TFloatPoint Position(TXRPoint& point) { return {point.GetX(), point.GetY()}; }

template <typename Action>
void ForEachValid(TPointList points, Action action) {
  for (TXRPoint* point : points) {
    if (point && point->IsValid()) action(*point);
  }
}

std::optional<TIntRect> RepresentablePaddedBounds(TPointList first, TPointList second) {
  if (first.empty()) return std::nullopt;
  std::vector<TFloatPoint> positions = ValidPositions(first);
  std::vector<TFloatPoint> more = ValidPositions(second);
  positions.insert(positions.end(), more.begin(), more.end());
  return PaddedBox(positions);
}

// The integer middle of low..high, truncated towards zero like the rest of the integer
// arithmetic of the tracing.
double IntegerMiddle(int low, int high) {
  std::int64_t half = (static_cast<std::int64_t>(high) - low) / 2;
  return static_cast<double>(low + half);
}

std::vector<TXRPoint*> PresentAndValid(TPointList points) {
  std::vector<TXRPoint*> kept;
  kept.reserve(points.size());
  for (TXRPoint* point : points) {
    if (point && point->IsValid()) kept.push_back(point);
  }
  return kept;
}

void Append(std::vector<TFloatPoint>& to, const std::vector<TFloatPoint>& from) {
  to.insert(to.end(), from.begin(), from.end());
}

}  // namespace

std::optional<TFloatPoint> ValidPosition(TXRPoint& point) {
  if (!point.IsValid()) return std::nullopt;
  return Position(point);
}

double Distance(TXRPoint& p1, TXRPoint& p2) { return Distance(Position(p1), Position(p2)); }

double LineAngle(TXRPoint& p1, TXRPoint& p2) { return LineAngle(Position(p1), Position(p2)); }

double AngleBetweenLines(TXRPoint& p1, TXRPoint& p2, TXRPoint& p3, TXRPoint& p4) {
  return AngleBetweenLines(Position(p1), Position(p2), Position(p3), Position(p4));
}

std::optional<TFloatPoint> Midpoint(TXRPoint& p1, TXRPoint& p2) {
  return OnValidPoints([](TFloatPoint a, TFloatPoint b) { return Midpoint(a, b); }, p1, p2);
}

std::optional<TFloatPoint> ExtendAlong(TXRPoint& p1, TXRPoint& p2, TXRPoint& base, double d) {
  return OnValidPoints(
      [d](TFloatPoint a, TFloatPoint b, TFloatPoint c) { return ExtendAlong(a, b, c, d); }, p1, p2,
      base);
}

std::optional<TFloatPoint> PerpendicularFrom(TXRPoint& p1, TXRPoint& p2, TXRPoint& base, double d) {
  return OnValidPoints(
      [d](TFloatPoint a, TFloatPoint b, TFloatPoint c) { return PerpendicularFrom(a, b, c, d); },
      p1, p2, base);
}

std::optional<TFloatPoint> ProjectOnLine(TXRPoint& p, TXRPoint& a, TXRPoint& b) {
  return OnValidPoints(
      [](TFloatPoint q, TFloatPoint u, TFloatPoint v) { return ProjectOnLine(q, u, v); }, p, a, b);
}

std::optional<TFloatPoint> MirrorInLine(TXRPoint& p, TXRPoint& a, TXRPoint& b) {
  return OnValidPoints(
      [](TFloatPoint q, TFloatPoint u, TFloatPoint v) { return MirrorInLine(q, u, v); }, p, a, b);
}

std::optional<TFloatPoint> IntersectLines(TXRPoint& p1, TXRPoint& p2, TXRPoint& p3, TXRPoint& p4) {
  return OnValidPoints([](TFloatPoint a, TFloatPoint b, TFloatPoint c,
                          TFloatPoint d) { return IntersectLines(a, b, c, d); },
                       p1, p2, p3, p4);
}

std::optional<TFloatPoint> RotateAbout(TXRPoint& centre, TXRPoint& p, double degrees) {
  return OnValidPoints(
      [degrees](TFloatPoint c, TFloatPoint q) { return RotateAbout(c, q, degrees); }, centre, p);
}

std::optional<TFloatPoint> CircleLineIntersection(TXRPoint& centre, TXRPoint& onCircle, TXRPoint& a,
                                                  TXRPoint& b) {
  return OnValidPoints([](TFloatPoint c, TFloatPoint r, TFloatPoint u,
                          TFloatPoint v) { return CircleLineIntersection(c, r, u, v); },
                       centre, onCircle, a, b);
}

std::optional<TFloatPoint> BisectorPoint(TXRPoint& p1, TXRPoint& p2, TXRPoint& p3, TXRPoint& p4) {
  return OnValidPoints([](TFloatPoint a, TFloatPoint b, TFloatPoint c,
                          TFloatPoint d) { return BisectorPoint(a, b, c, d); },
                       p1, p2, p3, p4);
}

std::optional<TFloatPoint> Circumcentre(TXRPoint& p1, TXRPoint& p2, TXRPoint& p3) {
  return OnValidPoints(
      [](TFloatPoint a, TFloatPoint b, TFloatPoint c) { return Circumcentre(a, b, c); }, p1, p2,
      p3);
}

std::optional<TFloatPoint> Interpolate(TXRPoint& a, TXRPoint& b, double perMille) {
  return OnValidPoints(
      [perMille](TFloatPoint u, TFloatPoint v) { return Interpolate(u, v, perMille); }, a, b);
}

std::vector<TFloatPoint> ValidPositions(TPointList points) {
  std::vector<TFloatPoint> positions;
  positions.reserve(points.size());
  ForEachValid(points, [&](TXRPoint& p) { positions.push_back({p.GetX(), p.GetY()}); });
  return positions;
}

std::optional<TFloatPoint> Centroid(TPointList points) { return Centroid(ValidPositions(points)); }

std::optional<TFittedLine> FitLineOrthogonal(TPointList points, int minimumCount) {
  return FitLineOrthogonal(ValidPositions(points), minimumCount);
}

std::optional<TFloatPoint> ProjectOnFittedLine(TPointList points, TXRPoint& p, int minimumCount) {
  auto position = ValidPosition(p);
  if (!position) return std::nullopt;
  return ProjectOnFittedLine(ValidPositions(points), *position, minimumCount);
}

std::optional<double> FittedLineAngle(TPointList points, int minimumCount) {
  return FittedLineAngle(ValidPositions(points), minimumCount);
}

std::optional<TFloatPoint> BoxAnchorPoint(TPointList points, int anchor) {
  return BoxAnchorPoint(ValidPositions(points), anchor);
}

TIntRect PaddedBounds(TPointList first, TPointList second) {
  return RepresentablePaddedBounds(first, second).value_or(TIntRect{});
}

void RotatePoints(TPointList points, double radians, double cx, double cy) {
  if (radians == 0) return;
  ForEachValid(points, [&](TXRPoint& p) { p.Rotate(cx, cy, radians); });
}

void TranslatePoints(TPointList points, double dx, double dy) {
  ForEachValid(points, [&](TXRPoint& p) { p.SetXY(p.GetX() + dx, p.GetY() + dy); });
}

void ScalePoints(TPointList points, double factor) {
  ForEachValid(points, [&](TXRPoint& p) { p.SetXY(p.GetX() * factor, p.GetY() * factor); });
}

std::optional<double> FlipAxis(TPointList points, bool vertical) {
  auto bounds = RepresentablePaddedBounds(points, {});
  if (!bounds) return std::nullopt;
  return vertical ? IntegerMiddle(bounds->Top, bounds->Bottom) : IntegerMiddle(bounds->Left, bounds->Right);
}

void FlipPointsVertical(TPointList points) {
  if (auto cy = FlipAxis(points, true)) ForEachValid(points, [&](TXRPoint& p) { p.SetY(2 * *cy - p.GetY()); });
}

void FlipPointsHorizontal(TPointList points) {
  if (auto cx = FlipAxis(points, false)) ForEachValid(points, [&](TXRPoint& p) { p.SetX(2 * *cx - p.GetX()); });
}

std::vector<TFloatPoint> SplinePoints(TPointList points, int step) {
  std::vector<TXRPoint*> entries = PresentAndValid(points);
  if (entries.size() < 2) return {};
  std::vector<TFloatPoint> samples;
  std::vector<TFloatPoint> curve{Position(*entries[0])};
  bool curved = true;
  for (std::size_t i = 1; i < entries.size(); ++i) {
    TFloatPoint at = Position(*entries[i]);
    if (entries[i] == entries[i - 1]) {
      if (curved) {
        Append(samples, NaturalSpline(curve, step));
        curve.clear();
        samples.push_back(at);
      } else {
        curve = {at};
      }
      curved = !curved;
    } else if (curved) {
      if (at != curve.back()) curve.push_back(at);
    } else {
      samples.push_back(at);
    }
  }
  if (curved) {
    Append(samples, NaturalSpline(curve, step));
    samples.push_back(Position(*entries.back()));
  }
  return samples;
}

std::vector<TFloatPoint> SmoothPoints(TPointList points, int step) {
  std::vector<TFloatPoint> controls;
  for (const TFloatPoint& p : ValidPositions(points)) {
    if (controls.empty() || p != controls.back()) controls.push_back(p);
  }
  return NaturalSpline(controls, step);
}

double CurveLength(TPointList points) { return PolylineLength(SplinePoints(points, 10)); }

double CurveArea(TPointList points) { return PolygonArea(SplinePoints(points, 10)) / 100; }

}  // namespace lumacet
