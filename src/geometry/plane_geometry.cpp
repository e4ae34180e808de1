#include "geometry/plane_geometry.h"

#include <cmath>

namespace lumacet {

namespace {

std::optional<TFloatPoint> FinitePoint(double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
  return TFloatPoint{x, y};
}

}  // namespace

double RadToDeg(double radians) { return radians * 180 / kPi; }

double DegToRad(double degrees) { return degrees * kPi / 180; }

std::optional<double> NormalizeAngle(double radians) {
  // A remainder rather than repeated subtraction: the loop would never end for huge values.
  if (!std::isfinite(radians)) return std::nullopt;
  double result = std::fmod(radians, kTwoPi);
  if (result < 0) result += kTwoPi;
  // A tiny negative remainder plus 2 pi rounds to 2 pi itself.
  if (result >= kTwoPi) result = 0;
  return result;
}

double Distance(TFloatPoint p1, TFloatPoint p2) { return std::hypot(p1.X - p2.X, p1.Y - p2.Y); }

double LineAngle(TFloatPoint p1, TFloatPoint p2) {
  // y grows downwards, so "up the screen" is y1 - y2. Equal coordinates subtract to +0,
  // which gives 0 for coincident points and pi (not -pi) for a leftward line.
  double angle = std::atan2(p1.Y - p2.Y, p2.X - p1.X);
  if (angle < 0) angle += kTwoPi;
  // A direction just below the x axis would otherwise round up to 2 pi itself.
  if (angle >= kTwoPi) angle = 0;
  return angle;
}

double PixelLineAngle(TIntPoint p1, TIntPoint p2) {
  return LineAngle(TFloatPoint{static_cast<double>(p1.X), static_cast<double>(p1.Y)},
                   TFloatPoint{static_cast<double>(p2.X), static_cast<double>(p2.Y)});
}

double AngleBetweenLines(TFloatPoint p1, TFloatPoint p2, TFloatPoint p3, TFloatPoint p4) {
  double a = LineAngle(p1, p2);
  double b = LineAngle(p3, p4);
  double c = a >= b ? a - b : a + kTwoPi - b;
  return c <= kPi ? c : c - kTwoPi;
}

double PixelAngleBetweenLines(TIntPoint p1, TIntPoint p2, TIntPoint p3, TIntPoint p4) {
  auto real = [](TIntPoint p) {
    return TFloatPoint{static_cast<double>(p.X), static_cast<double>(p.Y)};
  };
  return AngleBetweenLines(real(p1), real(p2), real(p3), real(p4));
}

std::optional<TFloatPoint> Midpoint(TFloatPoint p1, TFloatPoint p2) {
  return FinitePoint((p1.X + p2.X) / 2, (p1.Y + p2.Y) / 2);
}

std::optional<TFloatPoint> ExtendAlong(TFloatPoint p1, TFloatPoint p2, TFloatPoint base, double d) {
  double length = Distance(p1, p2);
  if (!(length > 0)) return std::nullopt;
  return FinitePoint(base.X + (p2.X - p1.X) * d / length, base.Y + (p2.Y - p1.Y) * d / length);
}

std::optional<TFloatPoint> PerpendicularFrom(TFloatPoint p1, TFloatPoint p2, TFloatPoint base,
                                             double d) {
  double length = Distance(p1, p2);
  if (!(length > 0)) return std::nullopt;
  return FinitePoint(base.X - (p2.Y - p1.Y) * d / length, base.Y + (p2.X - p1.X) * d / length);
}

std::optional<TFloatPoint> ProjectOnLine(TFloatPoint p, TFloatPoint a, TFloatPoint b) {
  double ax = a.X - b.X;
  double cy = a.Y - b.Y;
  double e = -(ax * ax + cy * cy);
  if (e == 0) return std::nullopt;
  double t = (-cy * (p.Y - a.Y) - ax * (p.X - a.X)) / e;
  return FinitePoint(a.X + ax * t, a.Y + cy * t);
}

std::optional<TFloatPoint> MirrorInLine(TFloatPoint p, TFloatPoint a, TFloatPoint b) {
  auto foot = ProjectOnLine(p, a, b);
  if (!foot) return std::nullopt;
  return FinitePoint(2 * foot->X - p.X, 2 * foot->Y - p.Y);
}

std::optional<TFloatPoint> IntersectLines(TFloatPoint p1, TFloatPoint p2, TFloatPoint p3,
                                          TFloatPoint p4) {
  double a = p2.X - p1.X;
  double c = p2.Y - p1.Y;
  double e = p4.X - p3.X;
  double h = p4.Y - p3.Y;
  double m = e * c - a * h;
  if (m == 0) return std::nullopt;
  double t = (e * (p3.Y - p1.Y) - h * (p3.X - p1.X)) / m;
  // Nearly parallel lines meet far away, possibly beyond the range of a double.
  return FinitePoint(p1.X + a * t, p1.Y + c * t);
}

std::optional<TFloatPoint> RotateAbout(TFloatPoint centre, TFloatPoint p, double degrees) {
  double t = DegToRad(degrees);
  double dx = p.X - centre.X;
  double dy = p.Y - centre.Y;
  return FinitePoint(centre.X + (dx * std::cos(t) - dy * std::sin(t)),
                     centre.Y + (dx * std::sin(t) + dy * std::cos(t)));
}

std::optional<TFloatPoint> CircleLineIntersection(TFloatPoint centre, TFloatPoint onCircle,
                                                  TFloatPoint a, TFloatPoint b) {
  double bx = b.X - a.X;
  double by = b.Y - a.Y;
  double f = bx * bx + by * by;
  if (f == 0) return std::nullopt;
  double r = Distance(centre, onCircle);
  double m = bx * (centre.Y - a.Y) - by * (centre.X - a.X);
  double h = f * r * r - m * m;
  if (!(h >= 0)) return std::nullopt;
  double w = bx * (centre.X - a.X) + by * (centre.Y - a.Y);
  double s = h != 0 ? (w + std::sqrt(h)) / f : w / f;
  return FinitePoint(a.X + bx * s, a.Y + by * s);
}

std::optional<TFloatPoint> BisectorPoint(TFloatPoint p1, TFloatPoint p2, TFloatPoint p3,
                                         TFloatPoint p4) {
  auto crossing = IntersectLines(p1, p2, p3, p4);
  if (!crossing) return std::nullopt;
  return RotateAbout(*crossing, p2, RadToDeg(AngleBetweenLines(p1, p2, p3, p4)) / 2);
}

std::optional<TFloatPoint> Circumcentre(TFloatPoint p1, TFloatPoint p2, TFloatPoint p3) {
  double a = p2.X - p1.X;
  double c = p2.Y - p1.Y;
  double e = p3.X - p1.X;
  double h = p3.Y - p1.Y;
  double m = a * h - e * c;
  if (m == 0) return std::nullopt;
  double r = a * a + c * c;
  double s = e * e + h * h;
  double k = 0.5 / m;
  return FinitePoint(p1.X + (h * r - c * s) * k, p1.Y + k * (a * s - e * r));
}

std::optional<TFloatPoint> Interpolate(TFloatPoint a, TFloatPoint b, double perMille) {
  return FinitePoint(a.X + (b.X - a.X) * perMille / 1000, a.Y + (b.Y - a.Y) * perMille / 1000);
}

double PolylineLength(std::span<const TFloatPoint> points) {
  double length = 0;
  for (std::size_t i = 1; i < points.size(); ++i) length += Distance(points[i - 1], points[i]);
  return length;
}

double PolygonArea(std::span<const TFloatPoint> points) {
  if (points.empty()) return 0;
  // Heights are taken relative to the first point, which keeps the products small for
  // outlines far from the origin.
  double y0 = points.front().Y;
  double sum = 0;
  for (std::size_t i = 1; i <= points.size(); ++i) {
    const TFloatPoint& previous = points[i - 1];
    const TFloatPoint& current = points[i % points.size()];
    sum += (previous.X - current.X) * (current.Y + previous.Y - 2 * y0);
  }
  return std::fabs(sum) / 2;
}

}  // namespace lumacet
