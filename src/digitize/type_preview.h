// What the digitized-point editor shows on a type's tracing while a point is chosen: every
// valid digitized point ringed in cyan, and the chosen point's edge-lock search line, so that
// the range, angle and direction points can be judged against the outlines.
#pragma once

#include <optional>

#include "geometry/coordinates.h"

namespace lumacet {

class TCanvas;
class TDigPoint;
class TXRayType;

struct TSearchLine {
  TFloatPoint From;
  TFloatPoint To;  // the arrow's head
  bool CursorOnly = false;
};

// From the point, its search range to either side, turned by its search angle where it
// stands; none for a point without a position or a range.
std::optional<TSearchLine> SearchLineOf(TDigPoint& point);

// The rings (2 screen pixels in radius, `unitsPerPixel` tracing units each) and the line in
// blue: dotted for a point that uses the orientation cursor only, an arrow otherwise.
void DrawPointPreview(TCanvas& canvas, TXRayType& type, TDigPoint* chosen, double unitsPerPixel);

}  // namespace lumacet
