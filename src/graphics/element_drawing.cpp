#include "graphics/element_drawing.h"

#include <algorithm>
#include <cmath>

#include "geometry/spline.h"
#include "graphics/shapes.h"
#include "model/point_elements.h"

namespace lumacet {

namespace {

constexpr std::uint32_t kCyan = 0xFFFF00;    // 0x00BBGGRR
constexpr std::uint32_t kYellow = 0x00FFFF;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr double kCircleRadiusPixels = 4;

void DrawCircle(TCanvas& canvas, TFloatPoint at, std::uint32_t fill) {
  const TIntPoint centre = RoundSaturated(at);
  const int radius = std::max(1, static_cast<int>(std::lround(canvas.ScreenPixelsToLogical(kCircleRadiusPixels))));
  canvas.SetPen({0, TPenStyle::Solid, 0});
  canvas.SetBrush({fill, TBrushStyle::Solid});
  canvas.Ellipse({centre.X - radius, centre.Y - radius, centre.X + radius, centre.Y + radius});
}

bool Position(TXRPoint& point, TFloatPoint& at) {
  if (!point.IsValid()) return false;
  at = {point.GetX(), point.GetY()};
  return std::isfinite(at.X) && std::isfinite(at.Y);
}

}  // namespace

std::vector<TFloatPoint> SnakeOutline(const TDigSnake& snake) {
  std::vector<TFloatPoint> kept;
  for (const auto& point : snake.Points) {
    TFloatPoint at;
    if (!Position(*point, at)) continue;
    if (!kept.empty() && kept.back().X == at.X && kept.back().Y == at.Y) continue;
    kept.push_back(at);
  }
  return kept;
}

void DrawElement(TCanvas& canvas, TXRayElement& element, const TMarkerSettings& snakeMarker) {
  if (element.KindCode() == ekSnake) {
    auto& snake = static_cast<TDigSnake&>(element);
    const std::vector<TFloatPoint> controls = SnakeOutline(snake);
    std::vector<TFloatPoint> curve = NaturalSpline(controls, 10);
    if (curve.empty()) curve = controls;
    std::vector<TIntPoint> line;
    line.reserve(curve.size());
    for (TFloatPoint p : curve) line.push_back(RoundSaturated(p));
    canvas.SetPen({snake.Placed ? kRed : kYellow, TPenStyle::Solid, 0});
    canvas.Polyline(line);
    if (controls.size() > 1) {
      TMarker marker(snakeMarker.Shape, snakeMarker.Size);
      marker.SizeInScreenPixels = true;
      const TIntPoint first = RoundSaturated(controls.front());
      marker.X1 = first.X;
      marker.Y1 = first.Y;
      marker.Pen = {snakeMarker.LineColour, TPenStyle::Solid, 0};
      marker.Brush = {snakeMarker.FillColour, TBrushStyle::Solid};
      marker.Draw(canvas);
    }
    return;
  }
  auto* point = dynamic_cast<TXRPoint*>(&element);
  TFloatPoint at;
  if (point == nullptr || !Position(*point, at)) return;
  const bool owned = dynamic_cast<TXROwnedPoint*>(point) != nullptr;
  DrawCircle(canvas, at, element.KindCode() == ekDerPoint ? kYellow : kCyan);
  if (owned) return;
  const TIntPoint label = RoundSaturated(at);
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  canvas.SetTextColour(0);
  canvas.TextOut({label.X + 10, label.Y - 10}, element.Name);
}

}  // namespace lumacet
