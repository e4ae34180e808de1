// Constructions on single points: angles, distances, projections, intersections and
// rotations with one set of sign conventions for the whole program.
//
// Frame: x right, y down, as the tracing is displayed. Direction angles run
// counter-clockwise as displayed (0 right, pi/2 up the screen) in [0, 2 pi); rotating by a
// positive angle turns clockwise as displayed. Stored type files rely on both conventions.
//
// The same constructions on model points are in model/point_geometry.h. A result is absent for a degenerate
// configuration (decided by exact comparison with zero) and whenever the arithmetic would
// give a non-finite number.
#pragma once

#include <numbers>
#include <optional>
#include <span>

#include "geometry/coordinates.h"

namespace lumacet {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kTwoPi = 2 * std::numbers::pi;

double RadToDeg(double radians);
double DegToRad(double degrees);
// Wrapped into [0, 2 pi); nothing for a non-finite angle.
std::optional<double> NormalizeAngle(double radians);

// Never fail: validity of model points is the caller's concern.
double Distance(TFloatPoint p1, TFloatPoint p2);
// Direction of p1 -> p2 in [0, 2 pi); coincident points give 0.
double LineAngle(TFloatPoint p1, TFloatPoint p2);
double PixelLineAngle(TIntPoint p1, TIntPoint p2);
// LineAngle(p1,p2) - LineAngle(p3,p4) in (-pi, pi]: positive when the first line is turned
// counter-clockwise (as displayed) from the second; opposite lines give +pi.
double AngleBetweenLines(TFloatPoint p1, TFloatPoint p2, TFloatPoint p3, TFloatPoint p4);
double PixelAngleBetweenLines(TIntPoint p1, TIntPoint p2, TIntPoint p3, TIntPoint p4);

std::optional<TFloatPoint> Midpoint(TFloatPoint p1, TFloatPoint p2);
// base + d x unit(p2 - p1); absent when p1 and p2 coincide.
std::optional<TFloatPoint> ExtendAlong(TFloatPoint p1, TFloatPoint p2, TFloatPoint base, double d);
// base + d x the unit normal on the right-hand side (as displayed) of p1 -> p2: a
// rightward line puts a positive d below the base.
std::optional<TFloatPoint> PerpendicularFrom(TFloatPoint p1, TFloatPoint p2, TFloatPoint base,
                                             double d);
// Foot of the perpendicular from p to the line ab; absent when a and b coincide.
std::optional<TFloatPoint> ProjectOnLine(TFloatPoint p, TFloatPoint a, TFloatPoint b);
std::optional<TFloatPoint> MirrorInLine(TFloatPoint p, TFloatPoint a, TFloatPoint b);
// Crossing of the infinite lines p1p2 and p3p4; absent for parallel or coincident lines.
std::optional<TFloatPoint> IntersectLines(TFloatPoint p1, TFloatPoint p2, TFloatPoint p3,
                                          TFloatPoint p4);
// p turned about the centre by an angle in degrees (positive = clockwise as displayed).
std::optional<TFloatPoint> RotateAbout(TFloatPoint centre, TFloatPoint p, double degrees);
// Where the line a -> b meets the circle about `centre` through `onCircle`: of two
// crossings the one farther along a -> b; a tangent gives the point of contact.
std::optional<TFloatPoint> CircleLineIntersection(TFloatPoint centre, TFloatPoint onCircle,
                                                  TFloatPoint a, TFloatPoint b);
// p2 turned about the crossing of p1p2 and p3p4 by half the angle between the lines.
std::optional<TFloatPoint> BisectorPoint(TFloatPoint p1, TFloatPoint p2, TFloatPoint p3,
                                         TFloatPoint p4);
// Centre of the circle through three points; absent when they are collinear.
std::optional<TFloatPoint> Circumcentre(TFloatPoint p1, TFloatPoint p2, TFloatPoint p3);
// a + (b - a) x perMille / 1000: 500 is the midpoint; values outside 0..1000 extrapolate.
std::optional<TFloatPoint> Interpolate(TFloatPoint a, TFloatPoint b, double perMille);
// Sum of the distances between consecutive points.
double PolylineLength(std::span<const TFloatPoint> points);
// Area enclosed by the polygon closed back to its first point, in square tracing units,
// positive in either orientation.
double PolygonArea(std::span<const TFloatPoint> points);

}  // namespace lumacet
