// Superimpositions and orientations: the movements that bring one tracing onto another on
// stable structures, or one tracing into a standard orientation. They move nothing
// themselves; the caller performs the movements and logs them, so they undo like any other.
#pragma once

#include <span>
#include <vector>

#include "simulation/movements.h"

namespace lumacet {

class TXRSupimp;
class TXROrient;
class TXRayType;

// The movements that bring `moving` onto `fixed` (the two may be of different types: points
// are matched by name). Refused with "Cannot superimpose. Points not valid." when a point is
// missing or not valid, or when the landmarks cannot define the transform (coincident points,
// a landmark set without extent); never a movement with a non-finite number.
TResultOf<std::vector<TMovement>> SuperimpositionMovements(TXRSupimp& superimposition, TRadiograph& fixed,
                                                           TRadiograph& moving);
// The movements that orient the radiograph; refused with "Cannot orientate. Points not
// valid." as above. "<Align to Image>" gives none.
TResultOf<std::vector<TMovement>> OrientationMovements(TXROrient& orientation, TRadiograph& radiograph);

// Superimposes every other radiograph on `current` that is not a type, not being digitized
// and visible: its movements are performed on it and the ones that move anything appended
// to its undo list. The others still move when one of them cannot; the first refusal is
// given back.
TResult SuperimposeOnCurrent(TXRSupimp& superimposition, TRadiograph& current,
                             std::span<TRadiograph* const> radiographs, const TMovementOptions& options);
// Performs and logs the orientation's movements.
TResult Orientate(TXROrient& orientation, TRadiograph& radiograph, const TMovementOptions& options);
// The type's first orientation, which "Orientate" and automatic orientation use; null when
// it has none.
TXROrient* DefaultOrientation(const TXRayType& type);
// The named orientation of the radiograph's type performed on it, then the named
// superimposition of `fixed`'s type bringing it onto `fixed` (nothing when it is `fixed`):
// what the command line does to each record it measures or paints. Unknown names are refused.
TResult OrientAndSuperimpose(TRadiograph& radiograph, TRadiograph& fixed, const std::string* orientation,
                             const std::string* superimposition, const TMovementOptions& options);
// Orientation on loading: the default orientation when there is one, it is not
// "<Align to Image>" and it can be computed; otherwise nothing happens and nothing is said.
void AutoOrientate(TRadiograph& radiograph, const TMovementOptions& options);

}  // namespace lumacet
