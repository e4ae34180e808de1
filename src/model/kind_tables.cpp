#include "model/kind_tables.h"

#include <array>

#include "model/xray_element.h"

namespace lumacet {

namespace {

constexpr int P = ekAnyPoint;
constexpr int S = ekSnake;
constexpr int V = ekVariable;
constexpr int D = ekGraphic;
constexpr int A = ekPCA;
constexpr int N = ekNone;

using Dig = TDigPointKind;
using Der = TDerPointKind;
using Var = TVariableKind;
using Sup = TSupimpKind;
using Ori = TOrientKind;
using Gra = TGraphicKind;

constexpr unsigned kfRef = kfReference;

constexpr auto kDigPointKinds = std::to_array<TDigPointKindInfo>({
    {Dig::Normal, "Normal", {N, N, N, N, N}, "", "", -1, 0},
    {Dig::Preset, "Preset", {N, N, N, N, N}, "X:", "Y:", 6, 0},
    {Dig::Extreme, "Extreme", {S, P, P, P, P}, "&Angle:", "", 0, 2},
    {Dig::FirstExtreme, "First Extreme", {S, P, P, P, P}, "&Angle:", "", 0, 2},
    {Dig::SelfExtreme, "Self Extreme", {S, P, P, N, N}, "&Angle:", "", 38, 2},
    {Dig::SelfFirstExtreme, "Self First Extreme", {S, P, P, N, N}, "&Angle:", "", 38, 2},
    {Dig::LowestCurvature, "Lowest Curvature", {S, P, P, N, N}, "", "", 1, 5},
    {Dig::HighestCurvature, "Highest Curvature", {S, P, P, N, N}, "", "", 5, 5},
    {Dig::Centered, "Centered", {S, P, P, N, N}, "", "", 2, 5},
    {Dig::Intersection, "Intersection", {S, P, N, P, P}, "&Angle:", "", 3, 5},
    {Dig::WalkPercent, "Walk (%)", {S, P, P, N, N}, "&Dist:", "", 4, 2},
    {Dig::WalkMillimetres, "Walk (mm)", {S, P, P, N, N}, "&Dist:", "", 4, 2},
});

constexpr auto kDerPointKinds = std::to_array<TDerPointKindInfo>({
    {Der::Fixed, "Fixed", {N, N, N, N, N}, "&X:", "&Y:", 6},
    {Der::Midpoint, "Midpoint", {P, P, N, N, N}, "", "", 7},
    {Der::Projection, "Projection", {P, P, P, N, N}, "", "", 8},
    {Der::Intersection, "Intersection", {P, P, P, P, N}, "", "", 9},
    {Der::SweepAngle, "Sweep Angle", {P, P, N, N, N}, "&Angle:", "", 17},
    {Der::CircleIntersection, "Circle Intersection", {P, P, P, P, N}, "", "", 10},
    {Der::Extension, "Extension", {P, P, P, N, N}, "d&L:", "", 11},
    {Der::Perpendicular, "Perpendicular", {P, P, P, N, N}, "d&L:", "", 12},
    {Der::Sum, "Sum", {P, P, N, N, N}, "", "", -1},
    {Der::Difference, "Difference", {P, P, N, N, N}, "", "", -1},
    {Der::Average, "Average", {D, N, N, N, N}, "", "", 13},
    {Der::Circle3Point, "Circle (3 point)", {P, P, P, N, N}, "", "", 14},
    {Der::AngleBisector, "Angle Bisector", {P, P, P, P, N}, "", "", 16},
    {Der::BestFitLine, "Best Fit Line", {D, P, N, N, N}, "&Min.:", "", 17},
    {Der::Mirror, "Mirror", {P, P, P, N, N}, "", "", 18},
    {Der::Interpolation, "Interpolation", {P, P, N, N, N}, "", "d&L(%):", 40},
});

constexpr auto kVariableKinds = std::to_array<TVariableKindInfo>({
    {Var::Label, "Label", {N, N, N, N, N}, "", Var::Label, 0},
    {Var::Angle180, "Angle 180", {P, P, P, P, N}, "", Var::Angle180, kfConstruction},
    {Var::Angle360, "Angle 360", {P, P, P, P, N}, "", Var::Angle360, kfConstruction},
    {Var::Distance1, "Distance1", {P, P, N, N, N}, "", Var::Distance1, kfConstruction},
    {Var::Distance2, "Distance2", {P, P, P, N, N}, "", Var::Distance2, kfConstruction},
    {Var::Distance3, "Distance3", {P, P, P, P, N}, "", Var::Distance3, kfConstruction},
    {Var::Distance4, "Distance4", {P, P, P, P, N}, "", Var::Distance4, kfConstruction},
    {Var::Sum, "Sum", {V, V, N, N, N}, "", Var::Sum, 0},
    {Var::SumAny, "Sum (any)", {V, V, N, N, N}, "", Var::SumAny, 0},
    {Var::Difference, "Difference", {V, V, N, N, N}, "", Var::Difference, 0},
    {Var::Product, "Product", {V, V, N, N, N}, "", Var::Product, 0},
    {Var::Ratio, "Ratio", {V, V, N, N, N}, "", Var::Ratio, 0},
    {Var::RatioPercent, "Ratio (%)", {V, V, N, N, N}, "", Var::RatioPercent, 0},
    {Var::Sum4, "Sum4", {V, V, V, V, N}, "", Var::Sum4, 0},
    {Var::Sum4Any, "Sum4 (any)", {V, V, V, V, N}, "", Var::Sum4Any, 0},
    {Var::Absolute, "Absolute", {V, N, N, N, N}, "", Var::Absolute, 0},
    {Var::Minimum, "Minimum", {V, V, N, N, N}, "", Var::Minimum, 0},
    {Var::Maximum, "Maximum", {V, V, N, N, N}, "", Var::Maximum, 0},
    {Var::XCoordinate, "X Coordinate", {P, N, N, N, N}, "", Var::XCoordinate, 0},
    {Var::YCoordinate, "Y Coordinate", {P, N, N, N, N}, "", Var::YCoordinate, 0},
    {Var::SquareRoot, "Square Root", {V, N, N, N, N}, "", Var::SquareRoot, 0},
    {Var::Constant, "Constant", {N, N, N, N, N}, "", Var::Constant, 0},
    {Var::PatientName, "Patient Name", {N, N, N, N, N}, "", Var::PatientName, kfText},
    {Var::DateOfBirth, "Date of Birth", {N, N, N, N, N}, "", Var::DateOfBirth, 0},
    {Var::PatientAge, "Patient Age", {N, N, N, N, N}, "", Var::PatientAge, 0},
    {Var::PatientAgeText, "Patient Age (text)", {N, N, N, N, N}, "", Var::PatientAgeText, kfText},
    {Var::DateTaken, "Date Taken", {N, N, N, N, N}, "", Var::DateTaken, 0},
    {Var::Magnification, "Magnification", {N, N, N, N, N}, "", Var::Magnification, 0},
    {Var::Comments, "Comments", {N, N, N, N, N}, "", Var::Comments, kfText},
    {Var::Area, "Area", {D, N, N, N, N}, "", Var::Area, kfDrawingMeasure},
    {Var::Length, "Length", {D, N, N, N, N}, "", Var::Length, kfDrawingMeasure},
    {Var::ReferenceAngle180, "[R] Angle 180", {P, P, P, P, N}, "", Var::Angle180, kfRef | kfConstruction},
    {Var::ReferenceAngle360, "[R] Angle 360", {P, P, P, P, N}, "", Var::Angle360, kfRef | kfConstruction},
    {Var::ReferenceDistance1, "[R] Distance1", {P, P, N, N, N}, "", Var::Distance1, kfRef | kfConstruction},
    {Var::ReferenceDistance2, "[R] Distance2", {P, P, P, N, N}, "", Var::Distance2, kfRef | kfConstruction},
    {Var::ReferenceDistance3, "[R] Distance3", {P, P, P, P, N}, "", Var::Distance3, kfRef | kfConstruction},
    {Var::ReferenceDistance4, "[R] Distance4", {P, P, P, P, N}, "", Var::Distance4, kfRef | kfConstruction},
    {Var::ReferenceSum, "[R] Sum", {V, V, N, N, N}, "", Var::Sum, kfRef},
    {Var::ReferenceSumAny, "[R] Sum (any)", {V, V, N, N, N}, "", Var::SumAny, kfRef},
    {Var::ReferenceDifference, "[R] Difference", {V, V, N, N, N}, "", Var::Difference, kfRef},
    {Var::ReferenceProduct, "[R] Product", {V, V, N, N, N}, "", Var::Product, kfRef},
    {Var::ReferenceRatio, "[R] Ratio", {V, V, N, N, N}, "", Var::Ratio, kfRef},
    {Var::ReferenceRatioPercent, "[R] Ratio (%)", {V, V, N, N, N}, "", Var::RatioPercent, kfRef},
    {Var::ReferenceSum4, "[R] Sum4", {V, V, V, V, N}, "", Var::Sum4, kfRef},
    {Var::ReferenceSum4Any, "[R] Sum4 (any)", {V, V, V, V, N}, "", Var::Sum4Any, kfRef},
    {Var::ReferenceAbsolute, "[R] Absolute", {V, N, N, N, N}, "", Var::Absolute, kfRef},
    {Var::ReferenceMinimum, "[R] Minimum", {V, V, N, N, N}, "", Var::Minimum, kfRef},
    {Var::ReferenceMaximum, "[R] Maximum", {V, V, N, N, N}, "", Var::Maximum, kfRef},
    {Var::ReferenceXCoordinate, "[R] X Coordinate", {P, N, N, N, N}, "", Var::XCoordinate, kfRef},
    {Var::ReferenceYCoordinate, "[R] Y Coordinate", {P, N, N, N, N}, "", Var::YCoordinate, kfRef},
    {Var::ReferenceSquareRoot, "[R] Square Root", {V, N, N, N, N}, "", Var::SquareRoot, kfRef},
    {Var::ReferencePatientName, "[R] Patient Name", {N, N, N, N, N}, "", Var::PatientName, kfRef | kfText},
    {Var::ReferenceDateOfBirth, "[R] Date of Birth", {N, N, N, N, N}, "", Var::DateOfBirth, kfRef},
    {Var::ReferencePatientAge, "[R] Patient Age", {N, N, N, N, N}, "", Var::PatientAge, kfRef},
    {Var::ReferencePatientAgeText, "[R] Patient Age (text)", {N, N, N, N, N}, "", Var::PatientAgeText, kfRef | kfText},
    {Var::ReferenceDateTaken, "[R] Date Taken", {N, N, N, N, N}, "", Var::DateTaken, kfRef},
    {Var::ReferenceMagnification, "[R] Magnification", {N, N, N, N, N}, "", Var::Magnification, kfRef},
    {Var::ReferenceComments, "[R] Comments", {N, N, N, N, N}, "", Var::Comments, kfRef | kfText},
    {Var::ReferenceArea, "[R] Area", {D, N, N, N, N}, "", Var::Area, kfRef | kfDrawingMeasure},
    {Var::ReferenceLength, "[R] Length", {D, N, N, N, N}, "", Var::Length, kfRef | kfDrawingMeasure},
    {Var::CentroidSize, "Centroid Size", {A, N, N, N, N}, "", Var::CentroidSize, 0},
    {Var::NormalizedCentroidSize, "Normalized Centroid Size", {A, N, N, N, N}, "", Var::NormalizedCentroidSize, 0},
    {Var::ProcrustesDistance, "Procrustes Distance", {A, N, N, N, N}, "", Var::ProcrustesDistance, 0},
    {Var::PrincipalComponent, "Principal Component", {A, N, N, N, N}, "&PC:", Var::PrincipalComponent, 0},
    {Var::PrincipalComponentZ, "Principal Component (z)", {A, N, N, N, N}, "&PC:", Var::PrincipalComponentZ, 0},
    {Var::ReferenceProcrustesDistance, "[R] Procrustes Distance", {A, N, N, N, N}, "", Var::ProcrustesDistance, kfRef},
});

constexpr auto kSupimpKinds = std::to_array<TSupimpKindInfo>({
    {Sup::PointToPoint, "Point to point", {P, P, N, N, N}},
    {Sup::CenteredAngle, "Centered angle", {P, P, P, N, N}},
    {Sup::PointLines, "Point - Lines", {P, P, P, N, N}},
    {Sup::BestFit, "Best fit", {D, N, N, N, N}},
    {Sup::BestFitAndScaling, "Best fit and scaling", {D, N, N, N, N}},
    {Sup::Procrustes, "Procrustes", {A, N, N, N, N}},
});

constexpr auto kOrientKinds = std::to_array<TOrientKindInfo>({
    {Ori::SetHorizontal, "Set Horizontal", {P, P, N, N, N}, "", ""},
    {Ori::SetVertical, "Set Vertical", {P, P, N, N, N}, "", ""},
    {Ori::SetToAngle, "Set to Angle", {P, P, N, N, N}, "&Angle:", ""},
    {Ori::FixOnPoints, "Fix on Points", {P, P, P, P, N}, "", ""},
    {Ori::BestFit, "Best Fit", {D, D, N, N, N}, "", ""},
    {Ori::AlignToImage, "<Align to Image>", {P, P, D, D, N}, "", "&Hot zone (mm):"},
});

constexpr auto kGraphicKinds = std::to_array<TGraphicKindInfo>({
    {Gra::Line, "Line", 2, 0},
    {Gra::LineNoBreaks, "Line (no breaks)", 2, 0},
    {Gra::LinePairs, "Line (pairs)", 2, 0},
    {Gra::Polygon, "Polygon", 2, kfClosed},
    {Gra::Spline, "Spline", 2, kfSpline},
    {Gra::SplineNoBreaks, "Spline (no breaks)", 2, kfSpline},
    {Gra::SplineClosed, "Spline (closed)", 2, kfSpline | kfClosed},
    {Gra::Markers, "Markers", 1, 0},
    {Gra::PcaConsensusMarkers, "PCA Consensus Markers", 1, kfShapeAnalysis},
    {Gra::PcaJoinPoints, "PCA Join Points", 1, kfShapeAnalysis},
    {Gra::Pie, "Pie", 3, 0},
    {Gra::PieVariable, "Pie (variable)", 4, 0},
    {Gra::Arc, "Arc", 3, 0},
    {Gra::ArcVariable, "Arc (variable)", 4, 0},
    {Gra::UpperIncisor, "Upper Incisor", 2, 0},
    {Gra::UpperMolar, "Upper Molar", 2, 0},
    {Gra::LowerIncisor, "Lower Incisor", 2, 0},
    {Gra::LowerMolar, "Lower Molar", 2, 0},
    {Gra::LowerCanine, "Lower Canine", 2, 0},
    {Gra::LowerFirstPremolar, "Lower First Premolar", 2, 0},
    {Gra::LowerSecondPremolar, "Lower Second Premolar", 2, 0},
    {Gra::UpperCanine, "Upper Canine", 2, 0},
    {Gra::UpperFirstPremolar, "Upper First Premolar", 2, 0},
    {Gra::UpperSecondPremolar, "Upper Second Premolar", 2, 0},
    {Gra::UpperIncisorFrontal, "Upper Incisor Frontal", 2, 0},
    {Gra::UpperMolarFrontal, "Upper Molar Frontal", 2, 0},
    {Gra::LowerIncisorFrontal, "Lower Incisor Frontal", 2, 0},
    {Gra::LowerMolarFrontal, "Lower Molar Frontal", 2, 0},
});

static_assert(kDigPointKinds.size() == 12 && kDigPointKinds.size() == kDigPointKindCount);
static_assert(kDerPointKinds.size() == 16 && kDerPointKinds.size() == kDerPointKindCount);
static_assert(kVariableKinds.size() == 66 && kVariableKinds.size() == kVariableKindCount);
static_assert(kSupimpKinds.size() == 6 && kSupimpKinds.size() == kSupimpKindCount);
static_assert(kOrientKinds.size() == 6 && kOrientKinds.size() == kOrientKindCount);
static_assert(kGraphicKinds.size() == 28 && kGraphicKinds.size() == kGraphicKindCount);

// Row k describes kind k, so the names and the numbers cannot drift apart.
template <class TRow, std::size_t Count>
constexpr bool InKindOrder(const std::array<TRow, Count>& table) {
  for (std::size_t k = 0; k < Count; ++k)
    if (KindNumber(table[k].Kind) != static_cast<int>(k)) return false;
  return true;
}
static_assert(InKindOrder(kDigPointKinds));
static_assert(InKindOrder(kDerPointKinds));
static_assert(InKindOrder(kVariableKinds));
static_assert(InKindOrder(kSupimpKinds));
static_assert(InKindOrder(kOrientKinds));
static_assert(InKindOrder(kGraphicKinds));

// A reference kind is its base kind with "[R] " in front: the same slots and caption, a
// base that is no reference kind itself; every other kind is its own base. All slots of a
// kind take one class, and the drawing measures are exactly the kinds that take drawings.
constexpr bool VariableRowsAgree() {
  for (const TVariableKindInfo& row : kVariableKinds) {
    const TVariableKindInfo& base = kVariableKinds[static_cast<std::size_t>(KindNumber(row.Base))];
    if (row.Has(kfReference) != (row.Base != row.Kind)) return false;
    for (int slot : row.Slots)
      if (slot != ekNone && slot != row.Slots[0]) return false;
    if (row.Has(kfDrawingMeasure) != (row.Slots[0] == ekGraphic)) return false;
    if (!row.Has(kfReference)) continue;
    if (base.Has(kfReference) || row.Slots != base.Slots || row.Caption1 != base.Caption1) return false;
    if (row.Token.substr(0, 4) != "[R] " || row.Token.substr(4) != base.Token) return false;
    if ((row.Flags & ~kfReference) != base.Flags) return false;
  }
  return true;
}
static_assert(VariableRowsAgree());

template <class TRow, std::size_t Count>
const TRow& Row(const std::array<TRow, Count>& table, int kind) {
  return table[(kind >= 0 && kind < static_cast<int>(Count)) ? static_cast<std::size_t>(kind) : 0];
}

}  // namespace

const TDigPointKindInfo& DigPointKind(int kind) { return Row(kDigPointKinds, kind); }
const TDerPointKindInfo& DerPointKind(int kind) { return Row(kDerPointKinds, kind); }
const TVariableKindInfo& VariableKind(int kind) { return Row(kVariableKinds, kind); }
const TSupimpKindInfo& SupimpKind(int kind) { return Row(kSupimpKinds, kind); }
const TOrientKindInfo& OrientKind(int kind) { return Row(kOrientKinds, kind); }
const TGraphicKindInfo& GraphicKind(int kind) { return Row(kGraphicKinds, kind); }

bool IsReferenceVariableKind(int kind) { return VariableKind(kind).Has(kfReference); }

bool IsTextVariableKind(int kind) { return VariableKind(kind).Has(kfText); }

bool IsPcaGraphicKind(int kind) { return GraphicKind(kind).Has(kfShapeAnalysis); }

}  // namespace lumacet
