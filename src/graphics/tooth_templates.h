// Built-in tooth outlines for the tooth drawing kinds, and their fitting to two landmarks.
//
// Every template is drawn in its own integer units with the first landmark at the origin
// and the second at (ReferenceLength, 0). The first landmark is the incisal edge or the
// cusp tip (for the molars the mesial cusp tip, in frontal views the buccal cusp tip), the
// second the apex of the root on the tooth's long axis. The outlines show the tooth with
// its labial or buccal side towards the right of the picture: a profile facing right in a
// lateral view, a tooth right of the midline of the picture in a frontal view. Drawings
// with a negative size get the mirror image. Each outline is closed: its first and last
// pairs are the same.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "geometry/coordinates.h"

namespace lumacet {

struct TToothTemplate {
  int ReferenceLength = 0;
  // Crown first, then the roots.
  std::span<const std::span<const TIntPoint>> Outlines;
};

// The template of a tooth drawing kind ("Upper Incisor" .. "Lower Molar Frontal"); absent
// for the other kinds.
std::optional<TToothTemplate> ToothTemplate(int graphicKind);

// The template's outlines placed on the landmarks, scaled by their distance over the
// reference length, rounded to integers. `mirrored` reflects the template across its axis
// first. Coincident landmarks collapse every outline onto the first.
std::vector<std::vector<TIntPoint>> FitToothTemplate(const TToothTemplate& tooth, TFloatPoint first,
                                                     TFloatPoint second, bool mirrored);

}  // namespace lumacet
