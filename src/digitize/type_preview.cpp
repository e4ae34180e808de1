#include "digitize/type_preview.h"

#include <cmath>

#include "digitize/edge_search.h"
#include "geometry/plane_geometry.h"
#include "graphics/canvas.h"
#include "model/xray_type.h"

namespace lumacet {

namespace {

constexpr std::uint32_t kCyan = 0xFFFF00;  // 0x00BBGGRR
constexpr std::uint32_t kBlue = 0xFF0000;

TIntPoint Rounded(TFloatPoint p) { return {static_cast<int>(std::lround(p.X)), static_cast<int>(std::lround(p.Y))}; }

void Segment(TCanvas& canvas, TFloatPoint a, TFloatPoint b) {
  const TIntPoint points[] = {Rounded(a), Rounded(b)};
  canvas.Polyline(points);
}

}  // namespace

std::optional<TSearchLine> SearchLineOf(TDigPoint& point) {
  if (!point.IsValid() || !(point.SearchRange > 0) || !std::isfinite(point.SearchRange)) return std::nullopt;
  const TFloatPoint at{point.GetX(), point.GetY()};
  const double angle = SearchAngleAt(point, at);
  const std::optional<TFloatPoint> from = RotateAbout(at, {at.X - point.SearchRange, at.Y}, RadToDeg(angle));
  const std::optional<TFloatPoint> to = RotateAbout(at, {at.X + point.SearchRange, at.Y}, RadToDeg(angle));
  if (!from || !to) return std::nullopt;
  return TSearchLine{*from, *to, point.CursorOnly};
}

void DrawPointPreview(TCanvas& canvas, TXRayType& type, TDigPoint* chosen, double unitsPerPixel) {
  canvas.SetBrush({0, TBrushStyle::Clear});
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  canvas.SetPen({kCyan, TPenStyle::Solid, 0});
  const double radius = 2 * unitsPerPixel;
  for (const auto& e : type.ElementList(ekDigPoint)) {
    auto& point = static_cast<TDigPoint&>(*e);
    if (!point.IsValid()) continue;
    const TIntPoint low = Rounded({point.GetX() - radius, point.GetY() - radius});
    const TIntPoint high = Rounded({point.GetX() + radius, point.GetY() + radius});
    canvas.Ellipse({low.X, low.Y, high.X, high.Y});
  }
  if (chosen == nullptr) return;
  const std::optional<TSearchLine> line = SearchLineOf(*chosen);
  if (!line) return;
  canvas.SetPen({kBlue, line->CursorOnly ? TPenStyle::Dot : TPenStyle::Solid, 0});
  Segment(canvas, line->From, line->To);
  if (line->CursorOnly) return;
  // The head: two strokes back from the tip, a fifth of the line's length.
  const double length = std::hypot(line->To.X - line->From.X, line->To.Y - line->From.Y) / 5;
  const double back = std::atan2(line->From.Y - line->To.Y, line->From.X - line->To.X);
  for (double side : {-0.45, 0.45})
    Segment(canvas, line->To,
            {line->To.X + length * std::cos(back + side), line->To.Y + length * std::sin(back + side)});
}

}  // namespace lumacet
