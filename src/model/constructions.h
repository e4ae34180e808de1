// The arithmetic behind computed landmarks: the constructions of derived points and the
// placement of digitized points on their snake. The model calls these lazily when a
// point is read.
#pragma once

#include "geometry/coordinates.h"

namespace lumacet {

class TDerPoint;
class TDigPoint;

// Runs the point's kind construction on its operands and parameters. Every used
// operand slot is filled when this is called. False leaves the point invalid.
bool ConstructDerivedPoint(TDerPoint& point, double& x, double& y);

enum class TPlacementOutcome {
  Unplaced,  // nothing to work on: the point stays as it was and still needs placing
  Kept,      // the rule found no sample: the point stays as it was, but is settled
  Invalid,   // the rule found no sample and the point becomes invalid
  Moved,     // the point moves to the chosen sample
};

struct TPlacement {
  TPlacementOutcome Outcome = TPlacementOutcome::Unplaced;
  TFloatPoint At;
};

// Places an automatic digitized point (kinds 2..11) on its snake (automatic_points.cpp).
// Nothing to work on (no placed snake, no samples) reads Unplaced.
TPlacement PlaceAutomaticPoint(TDigPoint& point);

}  // namespace lumacet
