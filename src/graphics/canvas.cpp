#include "graphics/canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace lumacet {

std::optional<TIsotropicMapping> TIsotropicMapping::Make(TIntPoint windowOrigin, TIntSize windowExtent,
                                                         TIntPoint viewportOrigin,
                                                         TIntSize viewportExtent) {
  if (windowExtent.Width == 0 || windowExtent.Height == 0 || viewportExtent.Width == 0 ||
      viewportExtent.Height == 0) {
    return std::nullopt;
  }
  double ratioX = static_cast<double>(viewportExtent.Width) / windowExtent.Width;
  double ratioY = static_cast<double>(viewportExtent.Height) / windowExtent.Height;
  double scale = std::min(std::fabs(ratioX), std::fabs(ratioY));
  TIsotropicMapping mapping;
  mapping.fWindowOrigin = {static_cast<double>(windowOrigin.X), static_cast<double>(windowOrigin.Y)};
  mapping.fViewportOrigin = {static_cast<double>(viewportOrigin.X),
                             static_cast<double>(viewportOrigin.Y)};
  mapping.fScaleX = ratioX < 0 ? -scale : scale;
  mapping.fScaleY = ratioY < 0 ? -scale : scale;
  return mapping;
}

std::optional<TIsotropicMapping> TIsotropicMapping::FromScale(TFloatPoint windowOrigin,
                                                              double devicePerLogical,
                                                              TFloatPoint viewportOrigin) {
  if (!(devicePerLogical > 0) || !std::isfinite(devicePerLogical) ||
      !std::isfinite(windowOrigin.X) || !std::isfinite(windowOrigin.Y) ||
      !std::isfinite(viewportOrigin.X) || !std::isfinite(viewportOrigin.Y)) {
    return std::nullopt;
  }
  TIsotropicMapping mapping;
  mapping.fWindowOrigin = windowOrigin;
  mapping.fViewportOrigin = viewportOrigin;
  mapping.fScaleX = devicePerLogical;
  mapping.fScaleY = devicePerLogical;
  return mapping;
}

TFloatPoint TIsotropicMapping::ToDevice(TFloatPoint logical) const {
  return {(logical.X - fWindowOrigin.X) * fScaleX + fViewportOrigin.X,
          (logical.Y - fWindowOrigin.Y) * fScaleY + fViewportOrigin.Y};
}

TFloatPoint TIsotropicMapping::ToLogical(TFloatPoint device) const {
  return {(device.X - fViewportOrigin.X) / fScaleX + fWindowOrigin.X,
          (device.Y - fViewportOrigin.Y) / fScaleY + fWindowOrigin.Y};
}

TIntRect Normalised(const TIntRect& rect) {
  return {std::min(rect.Left, rect.Right), std::min(rect.Top, rect.Bottom),
          std::max(rect.Left, rect.Right), std::max(rect.Top, rect.Bottom)};
}

std::optional<TArcAngles> ArcAngles(const TIntRect& box, TIntPoint startRadial, TIntPoint endRadial) {
  TIntRect b = Normalised(box);
  double rx = (static_cast<double>(b.Right) - b.Left) / 2;
  double ry = (static_cast<double>(b.Bottom) - b.Top) / 2;
  if (!(rx > 0) || !(ry > 0)) return std::nullopt;
  double cx = (static_cast<double>(b.Left) + b.Right) / 2;
  double cy = (static_cast<double>(b.Top) + b.Bottom) / 2;
  // The angle on the ellipse whose point lies on the ray towards the radial point; y is
  // negated because angles run counter-clockwise as displayed.
  auto degrees = [&](TIntPoint p) {
    double a = std::atan2(-(p.Y - cy) / ry, (p.X - cx) / rx) * 180 / std::numbers::pi;
    return a < 0 ? a + 360 : a;
  };
  double start = degrees(startRadial);
  double sweep = degrees(endRadial) - start;
  if (sweep <= 0) sweep += 360;
  return TArcAngles{start, sweep};
}

void TCanvas::Save() {
  fSaved.push_back(fState);
}

void TCanvas::Restore() {
  if (fSaved.empty()) return;
  const bool clipChanges = fSaved.back().Clip != fState.Clip;
  fState = std::move(fSaved.back());
  fSaved.pop_back();
  if (clipChanges) ApplyClip(fState.Clip);
}

void TCanvas::IntersectClip(const TIntRect& box) {
  const TFloatPoint a = LogicalToDevice(TFloatPoint{static_cast<double>(box.Left), static_cast<double>(box.Top)});
  const TFloatPoint b = LogicalToDevice(TFloatPoint{static_cast<double>(box.Right), static_cast<double>(box.Bottom)});
  // Whole device pixels, rounded as the primitives are, so that a clip and a rectangle
  // drawn on the same edges meet.
  TIntRect device = Normalised({RoundSaturated(a.X), RoundSaturated(a.Y), RoundSaturated(b.X), RoundSaturated(b.Y)});
  if (fState.Clip) {
    device = {std::max(device.Left, fState.Clip->Left), std::max(device.Top, fState.Clip->Top),
              std::min(device.Right, fState.Clip->Right), std::min(device.Bottom, fState.Clip->Bottom)};
    // Rectangles that do not meet leave nothing to draw on.
    device.Right = std::max(device.Right, device.Left);
    device.Bottom = std::max(device.Bottom, device.Top);
  }
  fState.Clip = device;
  ApplyClip(fState.Clip);
}

void TCanvas::LineTo(TIntPoint point) {
  std::array<TIntPoint, 2> segment{fState.PenPosition, point};
  Polyline(segment);
  fState.PenPosition = point;
}

}  // namespace lumacet
