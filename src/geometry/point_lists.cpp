#include "geometry/point_lists.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "geometry/plane_geometry.h"

namespace lumacet {

namespace {

struct TBox {
  double MinX, MinY, MaxX, MaxY;
};

std::optional<TBox> BoundingBox(std::span<const TFloatPoint> points) {
  if (points.empty()) return std::nullopt;
  TBox box{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (const TFloatPoint& p : points) {
    box.MinX = std::min(box.MinX, p.X);
    box.MaxX = std::max(box.MaxX, p.X);
    box.MinY = std::min(box.MinY, p.Y);
    box.MaxY = std::max(box.MaxY, p.Y);
  }
  return box;
}

}  // namespace

std::optional<TIntRect> PaddedBox(std::span<const TFloatPoint> points) {
  auto box = BoundingBox(points);
  if (!box) return std::nullopt;
  double w = std::fabs(box->MaxX - box->MinX);
  double h = std::fabs(box->MaxY - box->MinY);
  auto left = RoundToInt(box->MinX - 0.1 * w);
  auto top = RoundToInt(box->MinY - 0.1 * h);
  auto right = RoundToInt(box->MaxX + 0.1 * w);
  auto bottom = RoundToInt(box->MaxY + 0.1 * h);
  if (!left || !top || !right || !bottom) return std::nullopt;
  return TIntRect{*left, *top, *right, *bottom};
}

std::optional<TFloatPoint> Centroid(std::span<const TFloatPoint> points) {
  if (points.empty()) return std::nullopt;
  double sx = 0;
  double sy = 0;
  for (const TFloatPoint& p : points) {
    sx += p.X;
    sy += p.Y;
  }
  double n = static_cast<double>(points.size());
  double x = sx / n;
  double y = sy / n;
  if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
  return TFloatPoint{x, y};
}

std::optional<TFittedLine> FitLineOrthogonal(std::span<const TFloatPoint> points,
                                             int minimumCount) {
  std::size_t n = points.size();
  if (n < 2 || static_cast<std::int64_t>(n) < minimumCount) return std::nullopt;
  auto centre = Centroid(points);
  if (!centre) return std::nullopt;
  double sxx = 0;
  double syy = 0;
  double sxy = 0;
  for (const TFloatPoint& p : points) {
    double dx = p.X - centre->X;
    double dy = p.Y - centre->Y;
    sxx += dx * dx;
    syy += dy * dy;
    sxy += dx * dy;
  }
  if (sxy == 0) return std::nullopt;
  double b = (sxx - syy) / sxy;
  // The roots of m^2 + b m - 1 = 0: two perpendicular slopes, of which the one with the
  // smaller sum of squared perpendicular residuals is the fit. hypot keeps nearly axial
  // point sets (huge b or m) finite.
  double root = std::hypot(b, 2);
  double slopes[2] = {(root - b) / 2, (-root - b) / 2};
  double residuals[2] = {0, 0};
  for (int k = 0; k < 2; ++k) {
    double norm = std::hypot(slopes[k], 1);
    double s = slopes[k] / norm;
    double c = 1 / norm;
    for (const TFloatPoint& p : points) {
      double r = -(p.X - centre->X) * s + (p.Y - centre->Y) * c;
      residuals[k] += r * r;
    }
  }
  double m = residuals[0] < residuals[1] ? slopes[0] : slopes[1];
  TFloatPoint through = std::fabs(m) > 1 ? TFloatPoint{centre->X + 100 / m, centre->Y + 100}
                                         : TFloatPoint{centre->X + 100, centre->Y + 100 * m};
  if (!std::isfinite(m) || !std::isfinite(through.X) || !std::isfinite(through.Y)) {
    return std::nullopt;
  }
  return TFittedLine{*centre, through};
}

std::optional<TFloatPoint> ProjectOnFittedLine(std::span<const TFloatPoint> points, TFloatPoint p,
                                               int minimumCount) {
  auto line = FitLineOrthogonal(points, minimumCount);
  if (!line) return std::nullopt;
  return ProjectOnLine(p, line->Centre, line->Through);
}

std::optional<double> FittedLineAngle(std::span<const TFloatPoint> points, int minimumCount) {
  auto line = FitLineOrthogonal(points, minimumCount);
  if (!line) return std::nullopt;
  auto foot = ProjectOnLine(points.front(), line->Centre, line->Through);
  if (!foot) return std::nullopt;
  return LineAngle(line->Centre, *foot);
}

std::optional<TFloatPoint> BoxAnchorPoint(std::span<const TFloatPoint> points, int anchor) {
  if (anchor < 0 || anchor > 8) return std::nullopt;
  auto box = BoundingBox(points);
  if (!box) return std::nullopt;
  double xs[3] = {box->MinX, box->MinX + (box->MaxX - box->MinX) / 2, box->MaxX};
  double ys[3] = {box->MinY, box->MinY + (box->MaxY - box->MinY) / 2, box->MaxY};
  TFloatPoint result{xs[anchor % 3], ys[anchor / 3]};
  if (!std::isfinite(result.X) || !std::isfinite(result.Y)) return std::nullopt;
  return result;
}

}  // namespace lumacet
