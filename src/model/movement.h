// One edit of a tracing by moving points: what the movement log of a radiograph holds and
// what superimpositions and orientations hand back. The behaviour is in simulation/.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "geometry/coordinates.h"

namespace lumacet {

class TXRayElement;

// Kind numbers are what users and logs know the kinds by; they never change.
enum TMovementKind : std::uint8_t {
  mkTranslate = 0,       // the selection by (Dx, Dy)
  mkRotate = 1,          // the selection by Angle about Centre
  mkTranslateAll = 2,    // every digitized point but the preset ones
  mkRotateAll = 3,
  mkFlipVertical = 4,    // the selection mirrored top to bottom
  mkFlipHorizontal = 5,  // left to right
  mkScale = 6,           // the whole tracing by the factor Dx about its centroid
};
inline constexpr int kMovementKindCount = 7;

struct TMovement {
  TMovementKind Kind = mkTranslate;
  // The elements (points and areas) the movement was made on; absent: the selection at the
  // time it is performed, or every point for the whole-tracing kinds. References into the
  // type, which forgets deleted elements here too.
  std::optional<std::vector<TXRayElement*>> Elements;
  double Dx = 0;     // tracing units; the factor for mkScale
  double Dy = 0;
  double Angle = 0;  // radians, positive clockwise as displayed
  std::optional<TFloatPoint> Centre;
  // The mirror line of a flip (a row for vertical, a column for horizontal), fixed when the
  // flip is first made, so that flipping again restores the points exactly.
  std::optional<double> Axis;
  // Made by a VTO relationship: it always acts on its own elements, whatever the area mode,
  // and never adds into a movement the user made.
  bool Induced = false;
};

}  // namespace lumacet
