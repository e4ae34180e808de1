// Functions over whole point lists: centre, bounding box, orthogonal line fit and padded
// bounds. Their forms on model point lists, and the in-place transforms, are in
// model/point_geometry.h.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "geometry/coordinates.h"

namespace lumacet {

// Mean position; absent for an empty list.
std::optional<TFloatPoint> Centroid(std::span<const TFloatPoint> points);
// The orthogonal least-squares line: through the centre of the points and a second point.
struct TFittedLine {
  TFloatPoint Centre;
  TFloatPoint Through;
};

// Absent with fewer than max(2, minimumCount) points and whenever the cross sum Sxy is
// exactly 0, which includes points on an exactly horizontal or vertical line.
std::optional<TFittedLine> FitLineOrthogonal(std::span<const TFloatPoint> points, int minimumCount);
// p projected on the fitted line of the points.
std::optional<TFloatPoint> ProjectOnFittedLine(std::span<const TFloatPoint> points, TFloatPoint p,
                                               int minimumCount);
// Direction of the fitted line, oriented from the centre of the points towards the
// projection of the first point: reversing the list turns it by pi.
std::optional<double> FittedLineAngle(std::span<const TFloatPoint> points, int minimumCount);
// A reference point of the bounding box: anchors 0..8 run left to right, then top to
// bottom as displayed (0 top left, 4 centre, 8 bottom right). Absent for an anchor outside
// 0..8 or an empty list.
std::optional<TFloatPoint> BoxAnchorPoint(std::span<const TFloatPoint> points, int anchor);

// The integer rectangle enclosing the points with a 10 % margin on each side; absent for
// no points or a bound beyond the range of int.
std::optional<TIntRect> PaddedBox(std::span<const TFloatPoint> points);
}  // namespace lumacet
