// The kind numbers of the elements that have a kind, by name. Elements and files keep the
// plain numbers (files through each kind's token); these names are for the code that
// decides by kind. Each enumeration lists its kinds in number order, and kind_tables.cpp
// holds one row per kind in the same order.
#pragma once

namespace lumacet {

// How a digitized point is placed.
enum class TDigPointKind : int {
  Normal,
  Preset,
  Extreme,
  FirstExtreme,
  SelfExtreme,
  SelfFirstExtreme,
  LowestCurvature,
  HighestCurvature,
  Centered,
  Intersection,
  WalkPercent,
  WalkMillimetres,
};
inline constexpr int kDigPointKindCount = 12;

// How a derived point is constructed.
enum class TDerPointKind : int {
  Fixed,
  Midpoint,
  Projection,
  Intersection,
  SweepAngle,
  CircleIntersection,
  Extension,
  Perpendicular,
  Sum,
  Difference,
  Average,
  Circle3Point,
  AngleBisector,
  BestFitLine,
  Mirror,
  Interpolation,
};
inline constexpr int kDerPointKindCount = 16;

// What a variable measures. The "[R]" kinds repeat a base kind with operands that may be
// taken from the reference radiograph.
enum class TVariableKind : int {
  Label,
  Angle180,
  Angle360,
  Distance1,
  Distance2,
  Distance3,
  Distance4,
  Sum,
  SumAny,
  Difference,
  Product,
  Ratio,
  RatioPercent,
  Sum4,
  Sum4Any,
  Absolute,
  Minimum,
  Maximum,
  XCoordinate,
  YCoordinate,
  SquareRoot,
  Constant,
  PatientName,
  DateOfBirth,
  PatientAge,
  PatientAgeText,
  DateTaken,
  Magnification,
  Comments,
  Area,
  Length,
  ReferenceAngle180,
  ReferenceAngle360,
  ReferenceDistance1,
  ReferenceDistance2,
  ReferenceDistance3,
  ReferenceDistance4,
  ReferenceSum,
  ReferenceSumAny,
  ReferenceDifference,
  ReferenceProduct,
  ReferenceRatio,
  ReferenceRatioPercent,
  ReferenceSum4,
  ReferenceSum4Any,
  ReferenceAbsolute,
  ReferenceMinimum,
  ReferenceMaximum,
  ReferenceXCoordinate,
  ReferenceYCoordinate,
  ReferenceSquareRoot,
  ReferencePatientName,
  ReferenceDateOfBirth,
  ReferencePatientAge,
  ReferencePatientAgeText,
  ReferenceDateTaken,
  ReferenceMagnification,
  ReferenceComments,
  ReferenceArea,
  ReferenceLength,
  CentroidSize,
  NormalizedCentroidSize,
  ProcrustesDistance,
  PrincipalComponent,
  PrincipalComponentZ,
  ReferenceProcrustesDistance,
};
inline constexpr int kVariableKindCount = 66;

// How a superimposition fits one tracing onto another.
enum class TSupimpKind : int {
  PointToPoint,
  CenteredAngle,
  PointLines,
  BestFit,
  BestFitAndScaling,
  Procrustes,
};
inline constexpr int kSupimpKindCount = 6;

// How an orientation turns a tracing.
enum class TOrientKind : int {
  SetHorizontal,
  SetVertical,
  SetToAngle,
  FixOnPoints,
  BestFit,
  AlignToImage,
};
inline constexpr int kOrientKindCount = 6;

// What a drawing paints.
enum class TGraphicKind : int {
  Line,
  LineNoBreaks,
  LinePairs,
  Polygon,
  Spline,
  SplineNoBreaks,
  SplineClosed,
  Markers,
  PcaConsensusMarkers,
  PcaJoinPoints,
  Pie,
  PieVariable,
  Arc,
  ArcVariable,
  UpperIncisor,
  UpperMolar,
  LowerIncisor,
  LowerMolar,
  LowerCanine,
  LowerFirstPremolar,
  LowerSecondPremolar,
  UpperCanine,
  UpperFirstPremolar,
  UpperSecondPremolar,
  UpperIncisorFrontal,
  UpperMolarFrontal,
  LowerIncisorFrontal,
  LowerMolarFrontal,
};
inline constexpr int kGraphicKindCount = 28;

// The number an element stores for a named kind.
template <class TKind>
constexpr int KindNumber(TKind kind) {
  return static_cast<int>(kind);
}

static_assert(KindNumber(TDigPointKind::WalkMillimetres) + 1 == kDigPointKindCount);
static_assert(KindNumber(TDerPointKind::Interpolation) + 1 == kDerPointKindCount);
static_assert(KindNumber(TVariableKind::ReferenceProcrustesDistance) + 1 == kVariableKindCount);
static_assert(KindNumber(TSupimpKind::Procrustes) + 1 == kSupimpKindCount);
static_assert(KindNumber(TOrientKind::AlignToImage) + 1 == kOrientKindCount);
static_assert(KindNumber(TGraphicKind::LowerMolarFrontal) + 1 == kGraphicKindCount);

}  // namespace lumacet
