// What movements act on: the radiograph's selection of points and areas, chosen by clicks,
// a rubber band or the whole tracing, and the handles drawn around it. Positions are
// tracing units; `tolerance` is how far from a point a click still hits it (the length of
// a few screen pixels, which only the caller knows).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "geometry/coordinates.h"

namespace lumacet {

class TArea;
class TRadiograph;
class TXRPoint;

// The type's areas with a valid member within `tolerance` of `at` on both axes, in the
// type's order.
std::vector<TArea*> AreasAt(TRadiograph& radiograph, TFloatPoint at, double tolerance);
// A click of the Select / Move tool. Ctrl drops the first selected area under the point and
// takes the next one under it in the type's order, so that repeated Ctrl-clicks step
// through overlapping areas; Shift toggles the area taken instead of replacing the
// selection. Where no area lies under the point, a digitized point under it is taken the
// same way. True when the selection changed.
bool SelectAt(TRadiograph& radiograph, TFloatPoint at, double tolerance, bool shift, bool ctrl);
// The rubber band: the areas whose valid members all lie inside it, then the digitized
// points inside it that none of those areas holds; added to the selection with `add`, else
// replacing it.
void SelectInBand(TRadiograph& radiograph, const TIntRect& band, bool add);
// "Select A&ll": every digitized point of the type in the type's order.
void SelectAllPoints(TRadiograph& radiograph);
// The selected point whose marker lies under `at`, the nearest when several do; null for none.
TXRPoint* SelectedPointAt(TRadiograph& radiograph, TFloatPoint at, double tolerance);
// Empty for no selection, the element's name for one, "Multiple Selection" for more.
std::string SelectionDescription(const TRadiograph& radiograph);

// The Select / Move tool's handles around the bounds of the selected valid points: the
// translate handles 1.5 marker sizes diagonally outside the corners, the rotate handles 3.
struct TSelectionHandles {
  std::array<TFloatPoint, 4> Translate;
  std::array<TFloatPoint, 4> Rotate;
};
std::optional<TSelectionHandles> SelectionHandles(TRadiograph& radiograph, double markerSize);

}  // namespace lumacet
