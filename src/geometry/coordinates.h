// Plain coordinate values shared by the geometry, the curves and the raster code, and the
// one rounding rule that turns reals into integer coordinates.
#pragma once

#include <climits>
#include <cmath>
#include <optional>

namespace lumacet {

// A position in tracing units (x right, y down), free of any validity state.
struct TFloatPoint {
  double X = 0;
  double Y = 0;
  friend bool operator==(const TFloatPoint&, const TFloatPoint&) = default;
};

// An integer position: device pixels or whole logical units.
struct TIntPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TIntPoint&, const TIntPoint&) = default;
};

struct TIntRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  friend bool operator==(const TIntRect&, const TIntRect&) = default;
};

// Nearest integer, ties to even; nothing when the value is not finite or lies outside
// the range of int.
inline std::optional<int> RoundToInt(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double rounded = std::nearbyint(value);
  if (rounded < static_cast<double>(INT_MIN) || rounded > static_cast<double>(INT_MAX)) {
    return std::nullopt;
  }
  return static_cast<int>(rounded);
}

// Nearest integer, ties to even, clamped into the range of int; 0 for NaN. For drawing
// positions, where a far-away point only has to stay far away.
inline int RoundSaturated(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(std::nearbyint(value));
}

inline TIntPoint RoundSaturated(TFloatPoint point) {
  return {RoundSaturated(point.X), RoundSaturated(point.Y)};
}

}  // namespace lumacet
