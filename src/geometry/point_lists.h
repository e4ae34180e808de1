// Functions over whole point lists: centre, bounding box, orthogonal line fit, padded
// bounds and the in-place transforms. Absent (null) and invalid entries of a model point
// list are skipped everywhere and left untouched by the transforms.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "geometry/coordinates.h"

namespace lumacet {

class TXRPoint;

using TPointList = std::span<TXRPoint* const>;

// Coordinates of the present and valid entries, in list order.
std::vector<TFloatPoint> ValidPositions(TPointList points);

// Mean position; absent for an empty list.
std::optional<TFloatPoint> Centroid(std::span<const TFloatPoint> points);
std::optional<TFloatPoint> Centroid(TPointList points);

// The orthogonal least-squares line: through the centre of the points and a second point.
struct TFittedLine {
  TFloatPoint Centre;
  TFloatPoint Through;
};

// Absent with fewer than max(2, minimumCount) points and whenever the cross sum Sxy is
// exactly 0, which includes points on an exactly horizontal or vertical line.
std::optional<TFittedLine> FitLineOrthogonal(std::span<const TFloatPoint> points, int minimumCount);
std::optional<TFittedLine> FitLineOrthogonal(TPointList points, int minimumCount);

// p projected on the fitted line of the points.
std::optional<TFloatPoint> ProjectOnFittedLine(std::span<const TFloatPoint> points, TFloatPoint p,
                                               int minimumCount);
std::optional<TFloatPoint> ProjectOnFittedLine(TPointList points, TXRPoint& p, int minimumCount);

// Direction of the fitted line, oriented from the centre of the points towards the
// projection of the first point: reversing the list turns it by pi.
std::optional<double> FittedLineAngle(std::span<const TFloatPoint> points, int minimumCount);
std::optional<double> FittedLineAngle(TPointList points, int minimumCount);

// A reference point of the bounding box: anchors 0..8 run left to right, then top to
// bottom as displayed (0 top left, 4 centre, 8 bottom right). Absent for an anchor outside
// 0..8 or an empty list.
std::optional<TFloatPoint> BoxAnchorPoint(std::span<const TFloatPoint> points, int anchor);
std::optional<TFloatPoint> BoxAnchorPoint(TPointList points, int anchor);

// The integer rectangle enclosing the valid points of both lists with a 10 % margin on
// each side. An empty first list, no valid point at all, or a bound beyond the range of
// int gives (0, 0, 0, 0).
TIntRect PaddedBounds(TPointList first, TPointList second = {});

// Turns the valid points about (cx, cy) by `radians`, clockwise as displayed. An angle of
// exactly 0 does nothing, whatever the centre.
void RotatePoints(TPointList points, double radians, double cx, double cy);
void TranslatePoints(TPointList points, double dx, double dy);
// Scales about the origin of the tracing frame.
void ScalePoints(TPointList points, double factor);
// Mirror the valid points top to bottom (left to right) about the integer centre row
// (column) of their padded bounds.
void FlipPointsVertical(TPointList points);
void FlipPointsHorizontal(TPointList points);

}  // namespace lumacet
