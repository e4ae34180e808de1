#include "digitize/image_alignment.h"

#include <cmath>

#include "digitize/grey_plane.h"
#include "digitize/snake_fit.h"
#include "geometry/plane_geometry.h"
#include "graphics/drawings.h"
#include "imaging/image_frame.h"
#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "model/point_elements.h"
#include "model/radiograph.h"
#include "simulation/movement_log.h"

namespace lumacet {

double HotZoneFromText(double typed) { return std::isfinite(typed) && typed >= 1 ? std::nearbyint(typed) : 5; }

TResult AutoRefineAlignment(TRadiograph& r, const TXRGraphic* drawing, const TRefineSettings& settings,
                            const TAlignOptions& options) {
  if (drawing == nullptr || r.Type() == nullptr)
    return TResult::Failure(LcText("AlignTracing", "Cannot refine. Drawing not valid."));
  std::vector<TFloatPoint> outline;
  {
    // The drawing reads the coordinates loaded into the type.
    [[maybe_unused]] const TLoadedRadiograph loaded = r.Load();
    outline = OutlinePoints(*drawing, -(settings.Interpolate + 1));
  }
  if (outline.size() < 2)
    return TResult::Failure(LcText("AlignTracing", "Cannot refine. Drawing has less than two points."));
  TActiveShape shape;
  shape.SetModel(outline);
  shape.HalfLength = static_cast<int>(std::nearbyint(settings.HotZoneMm * 10));
  const TGreyPlane plane = TGreyPlane::FromImage(r.Image);
  const TImageFrame frame = ImageFrameOf(r);
  for (int pass = 0; pass <= settings.Repeat; ++pass) {
    shape.FindTargets(plane, frame);
    shape.FitToTargets();
  }
  // The outline's longest reach from its first point fixes the second pair.
  std::size_t far = 0;
  for (std::size_t k = 1; k < outline.size(); ++k)
    if (Distance(outline[0], outline[k]) > Distance(outline[0], outline[far])) far = k;
  return DoTheAlign(r, outline[0], outline[far], shape.Model[far], shape.Model[0], options);
}

TResult AdjustPointsToImage(TRadiograph& r, const TXRGraphic* drawing, double hotZoneMm,
                            const TMovementOptions& options) {
  std::vector<TXRayElement*> points;
  std::vector<TFloatPoint> model;
  if (drawing != nullptr && r.Type() != nullptr) {
    const TLoadedRadiograph loaded = r.Load();
    const bool pca = drawing->Kind() == static_cast<int>(TGraphicKind::PcaConsensusMarkers) ||
                     drawing->Kind() == static_cast<int>(TGraphicKind::PcaJoinPoints);
    for (TXRayElement* entry : drawing->Points) {
      if (pca || entry == nullptr || entry->KindCode() != ekDigPoint) continue;
      if (std::optional<TFloatPoint> at = loaded.Position(entry)) {
        points.push_back(entry);
        model.push_back(*at);
      }
    }
  }
  if (points.empty()) return TResult::Failure(LcText("AlignTracing", "Cannot adjust points. No valid points found."));
  TActiveShape shape;
  shape.SetModel(model);
  shape.HalfLength = static_cast<int>(std::nearbyint(hotZoneMm * 10));
  shape.FindTargets(TGreyPlane::FromImage(r.Image), ImageFrameOf(r));
  for (std::size_t i = 0; i < points.size(); ++i) {
    const TActiveShape::TTarget& target = shape.Targets[i];
    if (!target.Valid) continue;
    TMovement m{.Kind = mkTranslate, .Dx = target.Point.X - model[i].X, .Dy = target.Point.Y - model[i].Y};
    m.Elements = {points[i]};
    if (IsNullMovement(m)) continue;
    if (TResult moved = DoTheMovement(r, m, options); !moved) return moved;
  }
  return {};
}

}  // namespace lumacet
