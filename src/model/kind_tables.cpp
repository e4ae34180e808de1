#include "model/kind_tables.h"

#include "model/xray_element.h"

namespace lumacet {

namespace {

constexpr int P = ekAnyPoint;
constexpr int S = ekSnake;
constexpr int V = ekVariable;
constexpr int D = ekGraphic;
constexpr int A = ekPCA;
constexpr int N = ekNone;

constexpr std::array<TKindInfo, kDigPointKindCount> kDigPointKinds = {{
    {"Normal", {N, N, N, N, N}, "", "", -1},
    {"Preset", {N, N, N, N, N}, "X:", "Y:", 6},
    {"Extreme", {S, P, P, P, P}, "&Angle:", "", 0},
    {"First Extreme", {S, P, P, P, P}, "&Angle:", "", 0},
    {"Self Extreme", {S, P, P, N, N}, "&Angle:", "", 38},
    {"Self First Extreme", {S, P, P, N, N}, "&Angle:", "", 38},
    {"Lowest Curvature", {S, P, P, N, N}, "", "", 1},
    {"Highest Curvature", {S, P, P, N, N}, "", "", 5},
    {"Centered", {S, P, P, N, N}, "", "", 2},
    {"Intersection", {S, P, N, P, P}, "&Angle:", "", 3},
    {"Walk (%)", {S, P, P, N, N}, "&Dist:", "", 4},
    {"Walk (mm)", {S, P, P, N, N}, "&Dist:", "", 4},
}};

constexpr std::array<TKindInfo, kDerPointKindCount> kDerPointKinds = {{
    {"Fixed", {N, N, N, N, N}, "&X:", "&Y:", 6},
    {"Midpoint", {P, P, N, N, N}, "", "", 7},
    {"Projection", {P, P, P, N, N}, "", "", 8},
    {"Intersection", {P, P, P, P, N}, "", "", 9},
    {"Sweep Angle", {P, P, N, N, N}, "&Angle:", "", 17},
    {"Circle Intersection", {P, P, P, P, N}, "", "", 10},
    {"Extension", {P, P, P, N, N}, "d&L:", "", 11},
    {"Perpendicular", {P, P, P, N, N}, "d&L:", "", 12},
    {"Sum", {P, P, N, N, N}, "", "", -1},
    {"Difference", {P, P, N, N, N}, "", "", -1},
    {"Average", {D, N, N, N, N}, "", "", 13},
    {"Circle (3 point)", {P, P, P, N, N}, "", "", 14},
    {"Angle Bisector", {P, P, P, P, N}, "", "", 16},
    {"Best Fit Line", {D, P, N, N, N}, "&Min.:", "", 17},
    {"Mirror", {P, P, P, N, N}, "", "", 18},
    {"Interpolation", {P, P, N, N, N}, "", "d&L(%):", 40},
}};

// Base kinds 0..30 and the shape kinds 60..64; the reference kinds are built from them.
constexpr std::array<TKindInfo, 31> kBaseVariableKinds = {{
    {"Label", {N, N, N, N, N}, "", "", -1},
    {"Angle 180", {P, P, P, P, N}, "", "", -1},
    {"Angle 360", {P, P, P, P, N}, "", "", -1},
    {"Distance1", {P, P, N, N, N}, "", "", -1},
    {"Distance2", {P, P, P, N, N}, "", "", -1},
    {"Distance3", {P, P, P, P, N}, "", "", -1},
    {"Distance4", {P, P, P, P, N}, "", "", -1},
    {"Sum", {V, V, N, N, N}, "", "", -1},
    {"Sum (any)", {V, V, N, N, N}, "", "", -1},
    {"Difference", {V, V, N, N, N}, "", "", -1},
    {"Product", {V, V, N, N, N}, "", "", -1},
    {"Ratio", {V, V, N, N, N}, "", "", -1},
    {"Ratio (%)", {V, V, N, N, N}, "", "", -1},
    {"Sum4", {V, V, V, V, N}, "", "", -1},
    {"Sum4 (any)", {V, V, V, V, N}, "", "", -1},
    {"Absolute", {V, N, N, N, N}, "", "", -1},
    {"Minimum", {V, V, N, N, N}, "", "", -1},
    {"Maximum", {V, V, N, N, N}, "", "", -1},
    {"X Coordinate", {P, N, N, N, N}, "", "", -1},
    {"Y Coordinate", {P, N, N, N, N}, "", "", -1},
    {"Square Root", {V, N, N, N, N}, "", "", -1},
    {"Constant", {N, N, N, N, N}, "", "", -1},
    {"Patient Name", {N, N, N, N, N}, "", "", -1},
    {"Date of Birth", {N, N, N, N, N}, "", "", -1},
    {"Patient Age", {N, N, N, N, N}, "", "", -1},
    {"Patient Age (text)", {N, N, N, N, N}, "", "", -1},
    {"Date Taken", {N, N, N, N, N}, "", "", -1},
    {"Magnification", {N, N, N, N, N}, "", "", -1},
    {"Comments", {N, N, N, N, N}, "", "", -1},
    {"Area", {D, N, N, N, N}, "", "", -1},
    {"Length", {D, N, N, N, N}, "", "", -1},
}};

constexpr std::array<std::string_view, 35> kReferenceTokens = {
    "[R] Angle 180", "[R] Angle 360", "[R] Distance1", "[R] Distance2", "[R] Distance3",
    "[R] Distance4", "[R] Sum", "[R] Sum (any)", "[R] Difference", "[R] Product",
    "[R] Ratio", "[R] Ratio (%)", "[R] Sum4", "[R] Sum4 (any)", "[R] Absolute",
    "[R] Minimum", "[R] Maximum", "[R] X Coordinate", "[R] Y Coordinate", "[R] Square Root",
    "[R] Patient Name", "[R] Date of Birth", "[R] Patient Age", "[R] Patient Age (text)",
    "[R] Date Taken", "[R] Magnification", "[R] Comments", "[R] Area", "[R] Length",
    "Centroid Size", "Normalized Centroid Size", "Procrustes Distance", "Principal Component",
    "Principal Component (z)", "[R] Procrustes Distance"};

// Kinds 31..65 mirror a base kind's slots: 31-50 <- 1-20, 51-57 <- 22-28, 58-59 <- 29-30.
constexpr int BaseOf(int kind) {
  if (kind <= 50) return kind - 30;
  if (kind <= 57) return kind - 29;
  return kind - 29;
}

std::array<TKindInfo, kVariableKindCount> BuildVariableKinds() {
  std::array<TKindInfo, kVariableKindCount> kinds{};
  for (int k = 0; k <= 30; ++k) kinds[k] = kBaseVariableKinds[k];
  for (int k = 31; k <= 65; ++k) {
    std::array<int, 5> slots = (k >= 60) ? std::array<int, 5>{A, N, N, N, N} : kBaseVariableKinds[BaseOf(k)].Slots;
    kinds[k] = {kReferenceTokens[k - 31], slots, (k == 63 || k == 64) ? "&PC:" : "", "", -1};
  }
  return kinds;
}

const std::array<TKindInfo, kVariableKindCount> kVariableKinds = BuildVariableKinds();

constexpr std::array<TKindInfo, kSupimpKindCount> kSupimpKinds = {{
    {"Point to point", {P, P, N, N, N}, "", "", -1},
    {"Centered angle", {P, P, P, N, N}, "", "", -1},
    {"Point - Lines", {P, P, P, N, N}, "", "", -1},
    {"Best fit", {D, N, N, N, N}, "", "", -1},
    {"Best fit and scaling", {D, N, N, N, N}, "", "", -1},
    {"Procrustes", {A, N, N, N, N}, "", "", -1},
}};

constexpr std::array<TKindInfo, kOrientKindCount> kOrientKinds = {{
    {"Set Horizontal", {P, P, N, N, N}, "", "", -1},
    {"Set Vertical", {P, P, N, N, N}, "", "", -1},
    {"Set to Angle", {P, P, N, N, N}, "&Angle:", "", -1},
    {"Fix on Points", {P, P, P, P, N}, "", "", -1},
    {"Best Fit", {D, D, N, N, N}, "", "", -1},
    {"<Align to Image>", {P, P, D, D, N}, "", "&Hot zone (mm):", -1},
}};

constexpr std::array<std::string_view, kGraphicKindCount> kGraphicKinds = {
    "Line", "Line (no breaks)", "Line (pairs)", "Polygon", "Spline", "Spline (no breaks)",
    "Spline (closed)", "Markers", "PCA Consensus Markers", "PCA Join Points", "Pie",
    "Pie (variable)", "Arc", "Arc (variable)", "Upper Incisor", "Upper Molar", "Lower Incisor",
    "Lower Molar", "Lower Canine", "Lower First Premolar", "Lower Second Premolar", "Upper Canine",
    "Upper First Premolar", "Upper Second Premolar", "Upper Incisor Frontal", "Upper Molar Frontal",
    "Lower Incisor Frontal", "Lower Molar Frontal"};

template <size_t Count>
const TKindInfo& Clamped(const std::array<TKindInfo, Count>& table, int kind) {
  return table[(kind >= 0 && kind < static_cast<int>(Count)) ? kind : 0];
}

}  // namespace

const TKindInfo& DigPointKind(int kind) { return Clamped(kDigPointKinds, kind); }
const TKindInfo& DerPointKind(int kind) { return Clamped(kDerPointKinds, kind); }
const TKindInfo& VariableKind(int kind) { return Clamped(kVariableKinds, kind); }
const TKindInfo& SupimpKind(int kind) { return Clamped(kSupimpKinds, kind); }
const TKindInfo& OrientKind(int kind) { return Clamped(kOrientKinds, kind); }

bool IsReferenceVariableKind(int kind) { return (kind >= 31 && kind <= 59) || kind == 65; }

std::string_view GraphicKindToken(int kind) {
  return kGraphicKinds[(kind >= 0 && kind < kGraphicKindCount) ? kind : 0];
}

bool IsPcaGraphicKind(int kind) { return kind == 8 || kind == 9; }

int FindKindToken(const TKindInfo& (*table)(int), int count, std::string_view token) {
  for (int k = 0; k < count; ++k)
    if (table(k).Token == token) return k;
  return -1;
}

int FindGraphicKindToken(std::string_view token) {
  for (int k = 0; k < kGraphicKindCount; ++k)
    if (kGraphicKinds[k] == token) return k;
  return -1;
}

int CountUsedSlots(const std::array<int, 5>& slots, int slotCount) {
  int n = 0;
  while (n < slotCount && slots[n] != ekNone) ++n;
  return n;
}

}  // namespace lumacet
