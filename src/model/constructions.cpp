#include "model/constructions.h"

#include <array>
#include <optional>
#include <vector>

#include "geometry/coordinates.h"
#include "geometry/plane_geometry.h"
#include "geometry/point_lists.h"
#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "model/point_elements.h"
#include "model/point_geometry.h"

namespace lumacet {

namespace {

// Operand slots hold elements of the class their kind accepts; a hand-edited file that
// slipped something else through reads as a failed construction, never as a crash.
TXRPoint* PointOperand(const TDerPoint& point, int slot) {
  return dynamic_cast<TXRPoint*>(point.Operand(slot));
}

// The points of a drawing operand; members that are not points (shape analyses) are left
// out, and the list functions skip the invalid ones.
std::optional<std::vector<TXRPoint*>> DrawingPoints(TDerPoint& point, int slot) {
  auto* drawing = dynamic_cast<TXRGraphic*>(point.Operand(slot));
  if (drawing == nullptr) return std::nullopt;
  // A drawing that holds this point, or a point built from it, is a cycle. The evaluation
  // guard alone would quietly leave the point out of its own drawing, and two such points
  // would then differ with the order they are read in.
  if (point.DependsOn(&point)) return std::nullopt;
  std::vector<TXRPoint*> members;
  for (TXRayElement* member : drawing->Points)
    if (auto* p = dynamic_cast<TXRPoint*>(member)) members.push_back(p);
  return members;
}

// Runs a construction on the first `count` operands, all of which must be points.
template <typename Construction>
std::optional<TFloatPoint> WithPoints(const TDerPoint& point, int count, Construction construction) {
  std::array<TXRPoint*, TDerPoint::kOperandCount> operands{};
  for (int i = 0; i < count; ++i) {
    operands[i] = PointOperand(point, i);
    if (operands[i] == nullptr) return std::nullopt;
  }
  return construction(operands);
}

// Component-wise sum or difference of two valid points.
std::optional<TFloatPoint> Combine(TXRPoint& a, TXRPoint& b, double sign) {
  auto pa = ValidPosition(a);
  auto pb = ValidPosition(b);
  if (!pa || !pb) return std::nullopt;
  return TFloatPoint{pa->X + sign * pb->X, pa->Y + sign * pb->Y};
}

std::optional<TFloatPoint> Construct(TDerPoint& point) {
  const double p1 = point.Parameter1();
  const double p2 = point.Parameter2();
  switch (static_cast<TDerPointKind>(point.Kind())) {
    case TDerPointKind::Fixed:
      return TFloatPoint{p1, p2};
    case TDerPointKind::Midpoint:
      return WithPoints(point, 2, [](const auto& o) { return Midpoint(*o[0], *o[1]); });
    case TDerPointKind::Projection:
      return WithPoints(point, 3, [](const auto& o) { return ProjectOnLine(*o[0], *o[1], *o[2]); });
    case TDerPointKind::Intersection:
      return WithPoints(point, 4, [](const auto& o) { return IntersectLines(*o[0], *o[1], *o[2], *o[3]); });
    case TDerPointKind::SweepAngle:  // tenths of a degree
      return WithPoints(point, 2, [p1](const auto& o) { return RotateAbout(*o[0], *o[1], p1 / 10); });
    case TDerPointKind::CircleIntersection:
      return WithPoints(point, 4,
                        [](const auto& o) { return CircleLineIntersection(*o[0], *o[1], *o[2], *o[3]); });
    case TDerPointKind::Extension:
      return WithPoints(point, 3, [p1](const auto& o) { return ExtendAlong(*o[0], *o[1], *o[2], p1); });
    case TDerPointKind::Perpendicular:
      return WithPoints(point, 3, [p1](const auto& o) { return PerpendicularFrom(*o[0], *o[1], *o[2], p1); });
    case TDerPointKind::Sum:
      return WithPoints(point, 2, [](const auto& o) { return Combine(*o[0], *o[1], 1); });
    case TDerPointKind::Difference:
      return WithPoints(point, 2, [](const auto& o) { return Combine(*o[0], *o[1], -1); });
    case TDerPointKind::Average: {
      auto members = DrawingPoints(point, 0);
      if (!members) return std::nullopt;
      return Centroid(*members);
    }
    case TDerPointKind::Circle3Point:
      return WithPoints(point, 3, [](const auto& o) { return Circumcentre(*o[0], *o[1], *o[2]); });
    case TDerPointKind::AngleBisector:
      return WithPoints(point, 4, [](const auto& o) { return BisectorPoint(*o[0], *o[1], *o[2], *o[3]); });
    case TDerPointKind::BestFitLine: {  // the minimum count is stored times ten
      auto members = DrawingPoints(point, 0);
      TXRPoint* projected = PointOperand(point, 1);
      if (!members || projected == nullptr) return std::nullopt;
      return ProjectOnFittedLine(*members, *projected, RoundSaturated(p1 / 10));
    }
    case TDerPointKind::Mirror:
      return WithPoints(point, 3, [](const auto& o) { return MirrorInLine(*o[0], *o[1], *o[2]); });
    case TDerPointKind::Interpolation:  // per mille in parameter 2, parameter 1 unused
      return WithPoints(point, 2, [p2](const auto& o) { return Interpolate(*o[0], *o[1], p2); });
    default:
      return std::nullopt;
  }
}

}  // namespace

bool ConstructDerivedPoint(TDerPoint& point, double& x, double& y) {
  auto result = Construct(point);
  if (!result) return false;
  x = result->X;
  y = result->Y;
  return true;
}

}  // namespace lumacet
