// The plane constructions, list functions and curves of geometry/ on model points. An
// invalid operand makes a construction's result absent; absent (null) and invalid entries
// of a point list are skipped everywhere and left untouched by the transforms.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "geometry/coordinates.h"
#include "geometry/plane_geometry.h"
#include "geometry/point_lists.h"
#include "geometry/spline.h"

namespace lumacet {

class TXRPoint;

using TPointList = std::span<TXRPoint* const>;

// The point's coordinates when it is valid.
std::optional<TFloatPoint> ValidPosition(TXRPoint& point);
double Distance(TXRPoint& p1, TXRPoint& p2);
double LineAngle(TXRPoint& p1, TXRPoint& p2);
double AngleBetweenLines(TXRPoint& p1, TXRPoint& p2, TXRPoint& p3, TXRPoint& p4);
std::optional<TFloatPoint> Midpoint(TXRPoint& p1, TXRPoint& p2);
std::optional<TFloatPoint> ExtendAlong(TXRPoint& p1, TXRPoint& p2, TXRPoint& base, double d);
std::optional<TFloatPoint> PerpendicularFrom(TXRPoint& p1, TXRPoint& p2, TXRPoint& base, double d);
std::optional<TFloatPoint> ProjectOnLine(TXRPoint& p, TXRPoint& a, TXRPoint& b);
std::optional<TFloatPoint> MirrorInLine(TXRPoint& p, TXRPoint& a, TXRPoint& b);
std::optional<TFloatPoint> IntersectLines(TXRPoint& p1, TXRPoint& p2, TXRPoint& p3, TXRPoint& p4);
std::optional<TFloatPoint> RotateAbout(TXRPoint& centre, TXRPoint& p, double degrees);
std::optional<TFloatPoint> CircleLineIntersection(TXRPoint& centre, TXRPoint& onCircle, TXRPoint& a,
                                                  TXRPoint& b);
std::optional<TFloatPoint> BisectorPoint(TXRPoint& p1, TXRPoint& p2, TXRPoint& p3, TXRPoint& p4);
std::optional<TFloatPoint> Circumcentre(TXRPoint& p1, TXRPoint& p2, TXRPoint& p3);
std::optional<TFloatPoint> Interpolate(TXRPoint& a, TXRPoint& b, double perMille);

// Coordinates of the present and valid entries, in list order.
std::vector<TFloatPoint> ValidPositions(TPointList points);

std::optional<TFloatPoint> Centroid(TPointList points);

std::optional<TFittedLine> FitLineOrthogonal(TPointList points, int minimumCount);
std::optional<TFloatPoint> ProjectOnFittedLine(TPointList points, TXRPoint& p, int minimumCount);

std::optional<double> FittedLineAngle(TPointList points, int minimumCount);

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

// The integer centre row (vertical) or column (horizontal) of the padded bounds of the
// valid points, which the flips mirror about; absent without a valid point.
std::optional<double> FlipAxis(TPointList points, bool vertical);

// Mirror the valid points top to bottom (left to right) about their FlipAxis.
void FlipPointsVertical(TPointList points);

void FlipPointsHorizontal(TPointList points);

// The curve of a drawing through the present and valid points. A point listed twice in
// succession (the same object) switches between curved and straight stretches: the first
// switch ends the current curve and continues in straight lines, the next begins a curve
// again. Inside a curve a point at the coordinates of the previous control point is
// skipped.
std::vector<TFloatPoint> SplinePoints(TPointList points, int step);

// One spline through all present and valid points, ignoring switches, with consecutive
// points at equal coordinates taken once.
std::vector<TFloatPoint> SmoothPoints(TPointList points, int step);

// Length of SplinePoints(points, 10), in tracing units.
double CurveLength(TPointList points);

// Area enclosed by SplinePoints(points, 10) closed back to its first sample, in square
// millimetres (square tracing units / 100); positive in either direction.
double CurveArea(TPointList points);

}  // namespace lumacet
