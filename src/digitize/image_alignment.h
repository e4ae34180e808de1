// Bringing a tracing and its image into register from the film's own edges: "&Auto Refine"
// pulls one drawing's outline onto the edges near it and aligns image and tracing by the
// fitted outline; "Adjust &Points" moves each point of a drawing onto the edge nearest it,
// as logged movements the user can take back.
#pragma once

#include "simulation/image_geometry.h"
#include "simulation/movements.h"
#include "support/result.h"

namespace lumacet {

class TRadiograph;
class TXRGraphic;

struct TRefineSettings {
  double HotZoneMm = 5;  // how far from the outline an edge is looked for
  int Interpolate = 3;   // curve samples added between two outline points
  int Repeat = 5;        // fitting passes after the first
};

// "&Hot zone (mm):" as typed: below 1 or not a number gives 5, otherwise rounded.
double HotZoneFromText(double typed);

// "&Auto Refine" with the refine drawing `drawing` (null when none is chosen): "Cannot
// refine. Drawing not valid.", "Cannot refine. Drawing has less than two points.", or the
// refusals of DoTheAlign; nothing changes on a refusal.
TResult AutoRefineAlignment(TRadiograph& radiograph, const TXRGraphic* drawing, const TRefineSettings& settings,
                            const TAlignOptions& options);

// "Adjust &Points" with the adjust drawing `drawing`: "Cannot adjust points. No valid points
// found." when it has no valid digitized point. Points whose normal crosses no edge stay.
TResult AdjustPointsToImage(TRadiograph& radiograph, const TXRGraphic* drawing, double hotZoneMm,
                            const TMovementOptions& options);

}  // namespace lumacet
