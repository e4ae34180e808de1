// How the automatic digitized-point kinds (2..11) choose a sample of their snake. The rules
// see only the snake's samples and the positions of the optional operands, so they can be
// reasoned about, and tested, apart from the model that feeds them.
#pragma once

#include "model/constructions.h"

#include <optional>
#include <span>

#include "geometry/coordinates.h"

namespace lumacet {

// The optional operands, each present only when its points are present and valid.
struct TPlacementOperands {
  std::optional<TFloatPoint> Start;  // operand 2; the point the crossing line runs through for "Intersection"
  std::optional<TFloatPoint> End;    // operand 3
  std::optional<double> Direction;   // LineAngle(operand 4, operand 5)
};

// Runs the kind's rule on the samples. parameter1 is stored ten times the shown value
// (tenths of a degree, per mille, tenths of a millimetre).
TPlacement PlaceOnSamples(int kind, std::span<const TFloatPoint> samples,
                          const TPlacementOperands& operands, double parameter1);

}  // namespace lumacet
