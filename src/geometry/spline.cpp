#include "geometry/spline.h"

#include <algorithm>
#include <cmath>

#include "geometry/plane_geometry.h"

namespace lumacet {

namespace {

TFloatPoint operator-(TFloatPoint a, TFloatPoint b) { return {a.X - b.X, a.Y - b.Y}; }
TFloatPoint operator+(TFloatPoint a, TFloatPoint b) { return {a.X + b.X, a.Y + b.Y}; }
TFloatPoint operator*(double k, TFloatPoint a) { return {k * a.X, k * a.Y}; }

bool IsFinite(TFloatPoint p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

// Distance between samples along one chord of length h; 0 means the span gets none.
double SampleSpacing(double h, int step) {
  if (step > 0) return step;
  double parts = step == 0 ? 1 : -static_cast<double>(step);
  double spacing = std::trunc(h / parts);
  // A chord shorter than one unit truncates to 0 as well: no samples rather than no end.
  if (spacing == 0) spacing = std::trunc(h);
  return spacing;
}

// Tangents (derivatives by chord length) of the natural spline at every control point.
std::vector<TFloatPoint> SolveTangents(std::span<const TFloatPoint> p, const std::vector<double>& h) {
  std::size_t m = p.size();
  std::vector<double> lower(m, 0.0), diagonal(m, 0.0), upper(m, 0.0);
  std::vector<TFloatPoint> rhs(m);
  diagonal[0] = 1;
  upper[0] = 0.5;
  rhs[0] = (3 / (2 * h[0])) * (p[1] - p[0]);
  for (std::size_t i = 1; i + 1 < m; ++i) {
    lower[i] = h[i];
    diagonal[i] = 2 * (h[i - 1] + h[i]);
    upper[i] = h[i - 1];
    rhs[i] = 3.0 * ((h[i - 1] / h[i]) * (p[i + 1] - p[i]) + (h[i] / h[i - 1]) * (p[i] - p[i - 1]));
  }
  lower[m - 1] = 2;
  diagonal[m - 1] = 4;
  rhs[m - 1] = (6 / h[m - 2]) * (p[m - 1] - p[m - 2]);
  if (!SolveTridiagonal(lower, diagonal, upper, rhs)) return {};
  return rhs;
}

}  // namespace

bool SolveTridiagonal(std::span<const double> lower, std::span<const double> diagonal,
                      std::span<const double> upper, std::span<TFloatPoint> rhs) {
  std::size_t n = diagonal.size();
  if (n == 0 || lower.size() != n || upper.size() != n || rhs.size() != n) return false;
  std::vector<double> pivots(diagonal.begin(), diagonal.end());
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (pivots[i] == 0) return false;
    double factor = lower[i + 1] / pivots[i];
    pivots[i + 1] -= factor * upper[i];
    rhs[i + 1] = rhs[i + 1] - factor * rhs[i];
  }
  for (std::size_t i = n; i-- > 0;) {
    if (pivots[i] == 0) return false;
    TFloatPoint known = i + 1 < n ? rhs[i] - upper[i] * rhs[i + 1] : rhs[i];
    rhs[i] = {known.X / pivots[i], known.Y / pivots[i]};
    if (!IsFinite(rhs[i])) return false;
  }
  return true;
}

std::vector<TFloatPoint> NaturalSpline(std::span<const TFloatPoint> controls, int step) {
  std::size_t m = controls.size();
  if (m < 2) return {};
  std::vector<double> h(m - 1);
  for (std::size_t i = 0; i + 1 < m; ++i) {
    h[i] = Distance(controls[i], controls[i + 1]);
    if (!(h[i] > 0) || !std::isfinite(h[i])) return {};
  }
  std::vector<TFloatPoint> tangents = SolveTangents(controls, h);
  if (tangents.empty()) return {};

  std::vector<double> spacing(m - 1);
  double expected = 0;
  for (std::size_t i = 0; i + 1 < m; ++i) {
    spacing[i] = SampleSpacing(h[i], step);
    if (spacing[i] > 0) expected += h[i] / spacing[i];
  }
  const double limit = static_cast<double>(kMaxSplineSamples);
  if (expected > limit) {
    for (double& d : spacing) d *= expected / limit;
  }

  std::vector<TFloatPoint> samples;
  samples.reserve(m + static_cast<std::size_t>(std::min(expected, limit)));
  for (std::size_t i = 0; i + 1 < m; ++i) {
    const TFloatPoint& p = controls[i];
    TFloatPoint chord = controls[i + 1] - p;
    double hi = h[i];
    TFloatPoint c1 = tangents[i];
    TFloatPoint c2 = (3 / (hi * hi)) * chord + (-2 / hi) * tangents[i] + (-1 / hi) * tangents[i + 1];
    TFloatPoint c3 = (-2 / (hi * hi * hi)) * chord + (1 / (hi * hi)) * (tangents[i + 1] + tangents[i]);
    samples.push_back(p);
    double d = spacing[i];
    if (!(d > 0) || !(d < hi)) continue;
    for (int k = 1;; ++k) {
      double s = k * d;
      if (k > 1 && s > hi - d / 3) break;
      samples.push_back(p + s * (c1 + s * (c2 + s * c3)));
    }
  }
  samples.push_back(controls[m - 1]);
  if (!std::all_of(samples.begin(), samples.end(), IsFinite)) return {};
  return samples;
}

}  // namespace lumacet
