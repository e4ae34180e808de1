// Triangulation of a few hundred control points by the empty-circumcircle rule, tried on
// every triple: slow in theory, exact in practice, and it keeps every triangle of points
// that lie on one circle (so overlapping triangles are possible, and wanted).
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "geometry/coordinates.h"

namespace lumacet {

// Three indices into the point list that was triangulated; a second list with the same
// layout (the moved tracing) gives the same triangle's other vertices by the same indices.
struct TDelTriangle {
  std::array<int, 3> Vertex{};
  bool operator==(const TDelTriangle&) const = default;
};

// True when any point is not finite, when a, b, c are collinear (cross product exactly 0),
// or when d lies strictly nearer the circumcentre of a, b, c than b does.
bool InCircumcircle(TFloatPoint a, TFloatPoint b, TFloatPoint c, TFloatPoint d);

// The distinct points are taken in list order, skipping absent and non-finite entries and
// points at exactly the coordinates of one kept before. Every triple i < j < k of them whose
// circumcircle holds no other kept point becomes a triangle, in that order; exactly three
// kept points give their one triangle untested. The indices are those of `points`.
std::vector<TDelTriangle> DelaunayTriangulate(std::span<const std::optional<TFloatPoint>> points);

}  // namespace lumacet
