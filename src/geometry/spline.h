// The traced curve: a natural cubic spline in chord-length parameter, sampled at a fixed
// spacing along each chord, with lengths and areas measured on the samples.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "geometry/coordinates.h"

namespace lumacet {

// Upper bound on the samples of one curve: far-away control points (a garbage coordinate,
// lines crossing almost in parallel) coarsen the spacing instead of exhausting memory.
// Ordinary tracings stay far below it.
inline constexpr std::size_t kMaxSplineSamples = 100000;

// Solves a tridiagonal system by elimination without pivoting, for two right-hand sides at
// once (the x and y columns of `rhs`), in place. lower[i] and upper[i] are the entries
// left and right of diagonal[i] (lower[0] and upper[n-1] are unused). False, with `rhs`
// unspecified, on an exactly zero pivot, a non-finite solution or mismatched sizes.
bool SolveTridiagonal(std::span<const double> lower, std::span<const double> diagonal,
                      std::span<const double> upper, std::span<TFloatPoint> rhs);

// Samples of the natural spline through the control points. Each span from P[i] to P[i+1]
// contributes P[i] and then points at s = d, 2d, ... along the chord parameter, where the
// spacing d is `step` when positive, or the chord divided into |step| equal parts when
// negative (0 counts as -1); a sample is kept while s <= h - d/3 (the first whenever
// d < h). The last control point ends the list. Empty with fewer than two control points,
// on a zero chord or when the curve cannot be computed.
std::vector<TFloatPoint> NaturalSpline(std::span<const TFloatPoint> controls, int step);

}  // namespace lumacet
