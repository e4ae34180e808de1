// The arithmetic behind computed landmarks: the constructions of derived points and the
// placement of digitized points on their snake. The model calls these lazily when a
// point is read.
#pragma once

namespace lumacet {

class TDerPoint;
class TDigPoint;

// Runs the point's kind construction on its operands and parameters. Every used
// operand slot is filled when this is called. False leaves the point invalid.
bool ConstructDerivedPoint(TDerPoint& point, double& x, double& y);

// Places an automatic digitized point (kinds 2..11) on its snake, which is present and
// placed when this is called. False leaves the point where it was, still needing placing.
bool PlaceAutomaticPoint(TDigPoint& point, double& x, double& y);

}  // namespace lumacet
