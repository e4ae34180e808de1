#include "geometry/delaunay.h"

#include <algorithm>
#include <cmath>
#include <system_error>
#include <thread>

namespace lumacet {

namespace {

bool Finite(TFloatPoint p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

// The circumcircle of a, b, c as centre and squared radius (measured to b, as the test
// compares with b); nothing for collinear points.
struct TCircle {
  double X, Y, RadiusSquared;
};

std::optional<TCircle> Circumcircle(TFloatPoint a, TFloatPoint b, TFloatPoint c) {
  const double cross = (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
  if (cross == 0) return std::nullopt;
  const double d = 2 * cross;
  const double a2 = a.X * a.X + a.Y * a.Y;
  const double b2 = b.X * b.X + b.Y * b.Y;
  const double c2 = c.X * c.X + c.Y * c.Y;
  const double x = (a2 * (b.Y - c.Y) + b2 * (c.Y - a.Y) + c2 * (a.Y - b.Y)) / d;
  const double y = (a2 * (c.X - b.X) + b2 * (a.X - c.X) + c2 * (b.X - a.X)) / d;
  const double r2 = (b.X - x) * (b.X - x) + (b.Y - y) * (b.Y - y);
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(r2)) return std::nullopt;
  return TCircle{x, y, r2};
}

bool Inside(const TCircle& circle, TFloatPoint d) {
  return (d.X - circle.X) * (d.X - circle.X) + (d.Y - circle.Y) * (d.Y - circle.Y) < circle.RadiusSquared;
}

}  // namespace

bool InCircumcircle(TFloatPoint a, TFloatPoint b, TFloatPoint c, TFloatPoint d) {
  if (!Finite(a) || !Finite(b) || !Finite(c) || !Finite(d)) return true;
  const std::optional<TCircle> circle = Circumcircle(a, b, c);
  return !circle || Inside(*circle, d);
}

std::vector<TDelTriangle> DelaunayTriangulate(std::span<const std::optional<TFloatPoint>> points) {
  std::vector<int> kept;  // indices into `points`
  std::vector<TFloatPoint> at;
  for (std::size_t k = 0; k < points.size(); ++k) {
    if (!points[k] || !Finite(*points[k])) continue;
    bool repeated = false;
    for (const TFloatPoint& p : at) repeated = repeated || p == *points[k];
    if (repeated) continue;
    kept.push_back(static_cast<int>(k));
    at.push_back(*points[k]);
  }
  const int n = static_cast<int>(kept.size());
  std::vector<TDelTriangle> triangles;
  if (n == 3) {
    triangles.push_back({{kept[0], kept[1], kept[2]}});
    return triangles;
  }
  // The triangles with first vertex i, for each i; the first points are shared out
  // between the cores and the lists joined in order afterwards.
  std::vector<std::vector<TDelTriangle>> byFirst(static_cast<std::size_t>(std::max(n, 0)));
  auto firsts = [&](int begin, int stride) {
    // The point that spoilt the last triple usually spoils the next: trying it first saves
    // most of the scans.
    int spoiler = -1;
    for (int i = begin; i < n; i += stride) {
      for (int j = i + 1; j < n; ++j) {
        for (int k = j + 1; k < n; ++k) {
          const std::optional<TCircle> circle = Circumcircle(at[i], at[j], at[k]);
          if (!circle) continue;  // collinear: every other point counts as inside
          auto spoils = [&](int l) { return l != i && l != j && l != k && Inside(*circle, at[l]); };
          if (spoiler >= 0 && spoils(spoiler)) continue;
          bool empty = true;
          for (int l = 0; l < n && empty; ++l) {
            if (spoils(l)) {
              empty = false;
              spoiler = l;
            }
          }
          if (empty) byFirst[static_cast<std::size_t>(i)].push_back({{kept[i], kept[j], kept[k]}});
        }
      }
    }
  };
  constexpr int kPointsPerThread = 60;
  const int cores = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
  const int threads = std::clamp(n / kPointsPerThread, 1, cores);
  {
    std::vector<std::jthread> workers;
    for (int t = 1; t < threads; ++t) {
      try {
        workers.emplace_back(firsts, t, threads);
      } catch (const std::system_error&) {
        firsts(t, threads);  // no thread to be had: the caller does that share too
      }
    }
    firsts(0, threads);
  }
  for (const std::vector<TDelTriangle>& list : byFirst) triangles.insert(triangles.end(), list.begin(), list.end());
  return triangles;
}

}  // namespace lumacet
