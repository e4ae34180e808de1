// Superimposition of one configuration of landmarks on another by translation, scaling and
// rotation (ordinary Procrustes fit).
#pragma once

#include <optional>
#include <span>

namespace lumacet {

// Flag bits of ProcrustesFit. Without kProcrustesToSizeOfB and kProcrustesKeepSize both
// shapes come out at unit centroid size.
inline constexpr unsigned kProcrustesPlaceOnB = 1;    // move both onto B's original centroid
inline constexpr unsigned kProcrustesToSizeOfB = 2;   // scale A to B's size; B keeps its size
inline constexpr unsigned kProcrustesKeepSize = 4;    // leave A's size alone

struct TProcrustesSizes {
  double SizeA = 0;  // centroid sizes before the fit
  double SizeB = 0;
};

// Fits A onto B in place. Both arrays hold interleaved coordinates x0, y0, x1, y1, ...
// Both are centred (and B scaled as the flags say), then A is scaled and turned by the
// angle that minimises the squared distances to B, whatever that angle is.
// Absent, with both arrays unchanged, unless the arrays have the same even length of at
// least two points, both shapes have a positive finite size and the result is finite.
// Two shapes at right angles with no preferred turn (both cross sums 0) are left unturned.
std::optional<TProcrustesSizes> ProcrustesFit(std::span<double> a, std::span<double> b,
                                              unsigned flags);

}  // namespace lumacet
