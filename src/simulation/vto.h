// Soft tissue following hard tissue: the VTO relationships of a radiograph type turn a
// movement of a master point into movements of its affected points.
#pragma once

#include <vector>

#include "model/movement.h"
#include "support/result.h"

namespace lumacet {

class TRadiograph;
class TXRayElement;
class TXRHardSoft;

// The movement `relationship` induces once `movement` has been performed on the radiograph:
// none unless the movement translates or rotates a selection that holds the relationship's
// valid master point. The result acts on the affected points whatever the area mode.
std::vector<TMovement> InducedMovements(const TXRHardSoft& relationship, TRadiograph& radiograph,
                                        const TMovement& movement);
// Those of every relationship of the radiograph's type, in the type's order. Induced
// movements induce nothing further.
std::vector<TMovement> InducedMovements(TRadiograph& radiograph, const TMovement& movement);

// The master point is never among the affected points: including it, or choosing an
// affected point as master, is refused with the message the editor shows.
TResult CheckAffectedPoint(const TXRHardSoft& relationship, const TXRayElement* point);
TResult CheckMasterPoint(const TXRHardSoft& relationship, const TXRayElement* point);

}  // namespace lumacet
