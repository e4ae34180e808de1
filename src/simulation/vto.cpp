#include "simulation/vto.h"

#include <algorithm>
#include <cmath>

#include "model/radiograph.h"
#include "model/xray_type.h"

namespace lumacet {

namespace {

// The share of a displacement along one axis: the plus percentage only for a strictly
// positive step.
double Share(double step, double plus, double minus) { return step * (step > 0 ? plus : minus) / 100; }

// The points the movement moved: its own elements, or the selection it was made on.
std::vector<TXRPoint*> MovedPoints(TRadiograph& radiograph, const TMovement& movement) {
  if (!movement.Elements) return radiograph.SelectedPoints();
  std::vector<TXRayElement*> saved = std::move(radiograph.Selection);
  radiograph.Selection = *movement.Elements;
  std::vector<TXRPoint*> points = radiograph.SelectedPoints();
  radiograph.Selection = std::move(saved);
  return points;
}

}  // namespace

std::vector<TMovement> InducedMovements(const TXRHardSoft& r, TRadiograph& radiograph, const TMovement& m) {
  if (m.Induced || (m.Kind != mkTranslate && m.Kind != mkRotate) || r.Points.empty()) return {};
  auto* master = dynamic_cast<TXRPoint*>(r.MasterPoint);
  if (master == nullptr) return {};
  const std::vector<TXRPoint*> moved = MovedPoints(radiograph, m);
  if (std::find(moved.begin(), moved.end(), master) == moved.end()) return {};
  radiograph.LoadIfStale();
  if (!master->IsValid()) return {};

  TMovement induced{.Kind = mkTranslate, .Elements = r.Points, .Induced = true};
  if (m.Kind == mkTranslate) {
    induced.Dx = Share(m.Dx, r.PercentXPlus, r.PercentXMinus);
    induced.Dy = Share(m.Dy, r.PercentYPlus, r.PercentYMinus);
  } else if (!r.RotationAsTranslation) {
    induced.Kind = mkRotate;
    induced.Centre = m.Centre;
    induced.Angle = m.Angle * r.PercentRotation / 100;
  } else {
    // The master point has turned already: its chord is what it moved.
    const TFloatPoint c = m.Centre.value_or(TFloatPoint{});
    const double px = master->GetX() - c.X;
    const double py = master->GetY() - c.Y;
    const double cs = std::cos(-m.Angle);
    const double sn = std::sin(-m.Angle);
    const double ex = px - (px * cs - py * sn);
    const double ey = py - (px * sn + py * cs);
    induced.Dx = Share(ex, r.PercentXPlus, r.PercentXMinus);
    induced.Dy = Share(ey, r.PercentYPlus, r.PercentYMinus);
  }
  return {std::move(induced)};
}

std::vector<TMovement> InducedMovements(TRadiograph& radiograph, const TMovement& movement) {
  std::vector<TMovement> all;
  const TXRayType* type = radiograph.Type();
  if (type == nullptr) return all;
  for (const auto& e : type->ElementList(ekHardSoft))
    for (TMovement& m : InducedMovements(static_cast<const TXRHardSoft&>(*e), radiograph, movement))
      all.push_back(std::move(m));
  return all;
}

TResult CheckAffectedPoint(const TXRHardSoft& r, const TXRayElement* point) {
  if (point != nullptr && point == r.MasterPoint)
    return TResult::Failure(LcText("VtoRelationships", "Cannot include this point.\r\n\r\nIt is used as the Master Point."));
  return {};
}

TResult CheckMasterPoint(const TXRHardSoft& r, const TXRayElement* point) {
  if (point != nullptr && std::find(r.Points.begin(), r.Points.end(), point) != r.Points.end())
    return TResult::Failure(
        LcText("VtoRelationships", "Cannot use this point as Master Point.\r\n\r\nIt is included in the Affected Points."));
  return {};
}

}  // namespace lumacet
