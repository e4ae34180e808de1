#include "geometry/procrustes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace lumacet {

namespace {

struct TCentre {
  double X = 0;
  double Y = 0;
};

TCentre CentreOf(std::span<const double> xy) {
  TCentre centre;
  for (std::size_t i = 0; i < xy.size(); i += 2) {
    centre.X += xy[i];
    centre.Y += xy[i + 1];
  }
  double n = static_cast<double>(xy.size() / 2);
  return {centre.X / n, centre.Y / n};
}

// Moves the centre to the origin and returns the centroid size.
double CentreAndMeasure(std::vector<double>& xy, TCentre centre) {
  double sum = 0;
  for (std::size_t i = 0; i < xy.size(); i += 2) {
    xy[i] -= centre.X;
    xy[i + 1] -= centre.Y;
    sum += xy[i] * xy[i] + xy[i + 1] * xy[i + 1];
  }
  return std::sqrt(sum);
}

void Divide(std::vector<double>& xy, double divisor) {
  for (double& v : xy) v /= divisor;
}

void Shift(std::vector<double>& xy, TCentre by) {
  for (std::size_t i = 0; i < xy.size(); i += 2) {
    xy[i] += by.X;
    xy[i + 1] += by.Y;
  }
}

bool AllFinite(const std::vector<double>& values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

}  // namespace

std::optional<TProcrustesSizes> ProcrustesFit(std::span<double> a, std::span<double> b,
                                              unsigned flags) {
  if (a.size() != b.size() || a.size() % 2 != 0 || a.size() < 4) return std::nullopt;
  // Work on copies so that a failure leaves the caller's arrays as they were.
  std::vector<double> fa(a.begin(), a.end());
  std::vector<double> fb(b.begin(), b.end());
  TCentre centreB = CentreOf(fb);
  TProcrustesSizes sizes;
  sizes.SizeA = CentreAndMeasure(fa, CentreOf(fa));
  sizes.SizeB = CentreAndMeasure(fb, centreB);
  if (!(sizes.SizeA > 0) || !(sizes.SizeB > 0) || !std::isfinite(sizes.SizeA) ||
      !std::isfinite(sizes.SizeB)) {
    return std::nullopt;
  }

  double divisor = sizes.SizeA;
  if (flags & kProcrustesToSizeOfB) {
    divisor = sizes.SizeA / sizes.SizeB;
  } else {
    Divide(fb, sizes.SizeB);
  }
  if (!(flags & kProcrustesKeepSize)) Divide(fa, divisor);

  double w = 0;
  double q = 0;
  for (std::size_t i = 0; i < fa.size(); i += 2) {
    w += fa[i] * fb[i] + fa[i + 1] * fb[i + 1];
    q += fa[i] * fb[i + 1] - fa[i + 1] * fb[i];
  }
  // The full-circle arctangent: the principal value of q / w would leave shapes turned by
  // more than a right angle upside down, and has no value at all when w is 0.
  double t = std::atan2(q, w);
  double c = std::cos(t);
  double s = std::sin(t);
  for (std::size_t i = 0; i < fa.size(); i += 2) {
    double x = fa[i];
    double y = fa[i + 1];
    fa[i] = x * c - y * s;
    fa[i + 1] = x * s + y * c;
  }

  if (flags & kProcrustesPlaceOnB) {
    Shift(fa, centreB);
    Shift(fb, centreB);
  }
  if (!AllFinite(fa) || !AllFinite(fb)) return std::nullopt;
  std::copy(fa.begin(), fa.end(), a.begin());
  std::copy(fb.begin(), fb.end(), b.begin());
  return sizes;
}

}  // namespace lumacet
