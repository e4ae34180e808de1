#include "digitize/digitize_tool.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "graphics/element_drawing.h"
#include "imaging/image_frame.h"
#include "model/list_elements.h"
#include "model/point_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"

namespace lumacet {

namespace {

const TDigPoint* SelectedPoint(const TDigitizing& digitizing) {
  const TXRayElement* selected = digitizing.Selected();
  return selected != nullptr && selected->KindCode() == ekDigPoint ? static_cast<const TDigPoint*>(selected) : nullptr;
}

// A whole radiograph's hint drawing is drawn with the point at the cursor, and the point
// put back: the type's derived points are computed afresh either side.
void DrawHint(TCanvas& canvas, TXRay& xray, TDigPoint& point, TFloatPoint cursor, const TRenderOptions& render) {
  auto* hint = point.HintDrawing != nullptr && point.HintDrawing->KindCode() == ekGraphic
                   ? static_cast<TXRGraphic*>(point.HintDrawing)
                   : nullptr;
  if (hint == nullptr) return;
  const TLoadedRadiograph loaded = xray.Load();
  TXRayType& type = *loaded.Type();
  const bool valid = point.IsValid();
  const double x = point.GetX(), y = point.GetY();
  point.SetXY(cursor.X, cursor.Y);
  type.InvalidateDerived();
  TRenderOptions forced = render;
  forced.ForceDraw = true;
  DrawWith(canvas, *hint, kPositionAsDefined, forced);
  point.SetXY(x, y);
  point.SetValid(valid);
  type.InvalidateDerived();
}

// The glyphs inside the icons' frames, a row a string, 'x' drawn; in the order of
// TSnakeHandleKind after Point.
constexpr int kGlyphSide = kSnakeIconPixels - 2;
using TGlyph = std::array<std::string_view, kGlyphSide>;
constexpr std::array<TGlyph, 7> kSnakeGlyphs{{
    {{  // Translate
        "             ",
        "      x      ",
        "     xxx     ",
        "    xxxxx    ",
        "   x  x  x   ",
        "  xx  x  xx  ",
        " xxxxxxxxxxx ",
        "  xx  x  xx  ",
        "   x  x  x   ",
        "    xxxxx    ",
        "     xxx     ",
        "      x      ",
        "             ",
    }},
    {{  // Rotate
        "             ",
        "    xxxxx  x ",
        "   xx   xxxx ",
        "  xx     xxx ",
        "  x     xxxx ",
        "  x          ",
        "  x       x  ",
        " xxxx     x  ",
        " xxx     xx  ",
        " xxxx   xx   ",
        " x  xxxxx    ",
        "             ",
        "             ",
    }},
    {{  // PreviousPoint
        "             ",
        "  x       x  ",
        "  x      xx  ",
        "  x     xxx  ",
        "  x    xxxx  ",
        "  x   xxxxx  ",
        "  x  xxxxxx  ",
        "  x   xxxxx  ",
        "  x    xxxx  ",
        "  x     xxx  ",
        "  x      xx  ",
        "  x       x  ",
        "             ",
    }},
    {{  // Fit
        "             ",
        "      x      ",
        "      x      ",
        "  x   x   x  ",
        "  xx  x  xx  ",
        " xxxx x xxxx ",
        " xxxxxxxxxxx ",
        " xxxx x xxxx ",
        "  xx  x  xx  ",
        "  x   x   x  ",
        "      x      ",
        "      x      ",
        "             ",
    }},
    {{  // Reset
        "             ",
        " x  xxxxx    ",
        " xxxx   xx   ",
        " xxx     xx  ",
        " xxxx     x  ",
        "          x  ",
        "          x  ",
        "          x  ",
        "         xx  ",
        "  xx    xx   ",
        "   xxxxxx    ",
        "             ",
        "             ",
    }},
    {{  // AutoAll
        "             ",
        "      x      ",
        "     xxx     ",
        "     x x     ",
        "    xx xx    ",
        "    x   x    ",
        "   xx   xx   ",
        "   xxxxxxx   ",
        "  xx     xx  ",
        "  x       x  ",
        " xx       xx ",
        "             ",
        "             ",
    }},
    {{  // NextPoint
        "             ",
        "  x       x  ",
        "  xx      x  ",
        "  xxx     x  ",
        "  xxxx    x  ",
        "  xxxxx   x  ",
        "  xxxxxx  x  ",
        "  xxxxx   x  ",
        "  xxxx    x  ",
        "  xxx     x  ",
        "  xx      x  ",
        "  x       x  ",
        "             ",
    }},
}};

// An icon's picture at `scale` device pixels a screen pixel: the frame, the ground and the glyph.
std::vector<std::uint32_t> IconPicture(TSnakeHandleKind kind, int scale) {
  constexpr std::uint32_t kFrame = 0x46505A, kGround = 0xF5F5F0, kInk = 0x143CA0;
  const TGlyph& glyph = kSnakeGlyphs[static_cast<std::size_t>(kind) - 1];
  const int side = kSnakeIconPixels * scale;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(side) * static_cast<std::size_t>(side));
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const int gx = x / scale - 1, gy = y / scale - 1;
      std::uint32_t colour = kGround;
      if (gx < 0 || gy < 0 || gx >= kGlyphSide || gy >= kGlyphSide)
        colour = kFrame;
      else if (glyph[static_cast<std::size_t>(gy)][static_cast<std::size_t>(gx)] == 'x')
        colour = kInk;
      pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(side) + static_cast<std::size_t>(x)] = colour;
    }
  return pixels;
}

std::string Millimetres(double units, char separator) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", units / 10);
  std::string out = text;
  std::replace(out.begin(), out.end(), '.', separator);
  return out;
}

}  // namespace

void TDigitizeTool::Move(const TDigitizing& digitizing, const TGreyPlane& plane, TFloatPoint cursor,
                         const TDigitizeToolOptions& options) {
  const TDigPoint* point = SelectedPoint(digitizing);
  if (point == nullptr || !std::isfinite(cursor.X) || !std::isfinite(cursor.Y)) {
    TEdgeLock none;
    none.Cursor = none.Position = cursor;
    fLock = none;
    return;
  }
  fLock = LockEdge(plane, ImageFrameOf(digitizing.Radiograph()), *point, cursor, options.Choice, options.AutoEdgeLock);
}

TFloatPoint TDigitizeTool::ClickPosition(const TDigitizing& digitizing, const TGreyPlane& plane, TFloatPoint cursor,
                                         bool left, const TDigitizeToolOptions& options) {
  // The search runs again at the click itself: a click with no move before it (a tablet
  // pen set down, a click at the very place the pointer entered) still finds its edge.
  Move(digitizing, plane, cursor, options);
  if (!left || options.AutoEdgeLock != 2 || !fLock->Locked) return cursor;
  const TFloatPoint at = fLock->Position;
  return std::isfinite(at.X) && std::isfinite(at.Y) ? at : cursor;
}

std::optional<TPredictedLandmark> TDigitizeTool::Prediction(const TDigitizing& digitizing) const {
  const TDigPoint* point = SelectedPoint(digitizing);
  if (!fModel || point == nullptr || digitizing.Mode() != dmDigitizing) return std::nullopt;
  return PredictLandmark(*fModel, digitizing.Radiograph(), point->Name);
}

void TDigitizeTool::Draw(TCanvas& canvas, const TDigitizing& digitizing, const TDigitizeToolOptions& options,
                         const TRenderOptions& render) const {
  TXRay& xray = digitizing.Radiograph();
  if (xray.Type() == nullptr) return;
  {
    const TLoadedRadiograph loaded = xray.Load();
    TXRayType& type = *loaded.Type();
    if (options.DigitizedDots)
      for (const auto& point : type.ElementList(ekDigPoint)) DrawElement(canvas, *point, options.SnakeMarker);
    if (TXRayElement* selected = digitizing.Selected()) {
      DrawElement(canvas, *selected, options.SnakeMarker);
      // A snake's own points are the handles that drag them.
      if (selected->KindCode() == ekSnake) {
        auto& snake = *static_cast<TDigSnake*>(selected);
        for (const auto& point : snake.Points) DrawElement(canvas, *point, options.SnakeMarker);
        if (options.SnakeIcons && digitizing.Mode() == dmDigitizing)
          DrawSnakeIcons(canvas, SnakeHandles(snake, true, canvas.ScreenPixelsToLogical(1)));
      }
    }
  }
  if (const std::optional<TPredictedLandmark> predicted = Prediction(digitizing)) DrawPrediction(canvas, *predicted);
  if (!fLock) return;
  if (auto* point = const_cast<TDigPoint*>(SelectedPoint(digitizing)); point != nullptr && options.ShowHint)
    DrawHint(canvas, xray, *point, fLock->Cursor, render);
  DrawOrientationCursor(canvas, OrientationCursor(*fLock, options.Choice, options.AutoEdgeLock));
}

std::vector<TSnakeHandle> SnakeHandles(const TDigSnake& snake, bool icons, double pixel) {
  std::vector<TSnakeHandle> handles;
  std::optional<TFloatPoint> low, high;
  for (std::size_t i = 0; i < snake.Points.size(); ++i) {
    TXROwnedPoint& p = *snake.Points[i];
    if (!p.IsValid()) continue;
    const TFloatPoint at{p.GetX(), p.GetY()};
    handles.push_back({TSnakeHandleKind::Point, i, at});
    low = low ? TFloatPoint{std::min(low->X, at.X), std::min(low->Y, at.Y)} : at;
    high = high ? TFloatPoint{std::max(high->X, at.X), std::max(high->Y, at.Y)} : at;
  }
  if (!icons || !low || !(pixel > 0) || !std::isfinite(pixel)) return handles;
  const double side = kSnakeIconPixels * pixel;
  handles.push_back({TSnakeHandleKind::Translate, 0, {low->X - side, low->Y - side}});
  handles.push_back({TSnakeHandleKind::Rotate, 0, {high->X + side, low->Y - side}});
  const TSnakeHandleKind row[] = {TSnakeHandleKind::PreviousPoint, TSnakeHandleKind::Fit, TSnakeHandleKind::Reset,
                                  TSnakeHandleKind::AutoAll, TSnakeHandleKind::NextPoint};
  const double middle = (low->X + high->X) / 2, spacing = 1.4 * side;
  for (int i = 0; i < 5; ++i) handles.push_back({row[i], 0, {middle + (i - 2) * spacing, high->Y + side}});
  return handles;
}

std::optional<TSnakeHandle> SnakeHandleAt(const std::vector<TSnakeHandle>& handles, TFloatPoint at, double pixel,
                                          double reach) {
  if (!std::isfinite(at.X) || !std::isfinite(at.Y)) return std::nullopt;
  const double half = kSnakeIconPixels * pixel / 2;
  std::optional<TSnakeHandle> nearest;
  double best = reach;
  for (const TSnakeHandle& handle : handles) {
    if (handle.Kind != TSnakeHandleKind::Point) {
      if (std::abs(at.X - handle.At.X) <= half && std::abs(at.Y - handle.At.Y) <= half) return handle;
      continue;
    }
    const double distance = std::hypot(handle.At.X - at.X, handle.At.Y - at.Y);
    if (distance <= best) {
      best = distance;
      nearest = handle;
    }
  }
  return nearest;
}

void DrawSnakeIcons(TCanvas& canvas, const std::vector<TSnakeHandle>& handles) {
  const int scale = std::max(1, static_cast<int>(std::lround(canvas.DevicePixelsPerScreenPixel())));
  const int side = kSnakeIconPixels * scale;
  for (const TSnakeHandle& handle : handles) {
    if (handle.Kind == TSnakeHandleKind::Point) continue;
    const TFloatPoint centre = canvas.LogicalToDevice(handle.At);
    if (!std::isfinite(centre.X) || !std::isfinite(centre.Y)) continue;
    const std::vector<std::uint32_t> picture = IconPicture(handle.Kind, scale);
    canvas.BlitDevice(RoundSaturated({centre.X - side / 2.0, centre.Y - side / 2.0}), {picture, side, side});
  }
}

void DrawOrientationCursor(TCanvas& canvas, const std::vector<TCursorLine>& lines) {
  constexpr std::uint32_t kGreen = 0x008000, kBlue = 0xFF0000;
  for (const TCursorLine& line : lines) {
    canvas.SetPen({line.Edge ? kBlue : kGreen, line.Dotted ? TPenStyle::Dot : TPenStyle::Solid, 0});
    canvas.SetBackgroundMode(TBackgroundMode::Transparent);
    canvas.MoveTo(RoundSaturated(line.From));
    canvas.LineTo(RoundSaturated(line.To));
  }
}

void DrawPrediction(TCanvas& canvas, const TPredictedLandmark& prediction) {
  constexpr std::uint32_t kOrange = 0x008CFF;
  constexpr int kOutlineSteps = 48;
  const TEllipse ellipse = UncertaintyEllipse(prediction);
  if (!std::isfinite(ellipse.Major) || !std::isfinite(ellipse.Minor) || !std::isfinite(ellipse.Angle)) return;
  canvas.SetPen({kOrange, TPenStyle::Solid, 0});
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  // Counter-clockwise as displayed, with y running down.
  const double c = std::cos(ellipse.Angle), s = std::sin(ellipse.Angle);
  std::vector<TIntPoint> outline;
  for (int i = 0; i <= kOutlineSteps; ++i) {
    const double t = 2 * M_PI * i / kOutlineSteps;
    const double u = ellipse.Major * std::cos(t), v = ellipse.Minor * std::sin(t);
    outline.push_back(RoundSaturated({ellipse.Centre.X + u * c + v * s, ellipse.Centre.Y - u * s + v * c}));
  }
  canvas.Polyline(outline);
  // The cross keeps its size on the screen whatever the zoom.
  const double arm = canvas.ScreenPixelsToLogical(6);
  const TFloatPoint at = prediction.At;
  canvas.MoveTo(RoundSaturated({at.X - arm, at.Y}));
  canvas.LineTo(RoundSaturated({at.X + arm, at.Y}));
  canvas.MoveTo(RoundSaturated({at.X, at.Y - arm}));
  canvas.LineTo(RoundSaturated({at.X, at.Y + arm}));
}

TPlacementView PlacementView(const std::vector<TFloatPoint>& placements, double side, char decimalSeparator) {
  TPlacementView view;
  if (placements.empty() || !(side > 0)) return view;
  double minX = placements.front().X, maxX = minX, minY = placements.front().Y, maxY = minY;
  for (TFloatPoint p : placements) {
    minX = std::min(minX, p.X);
    maxX = std::max(maxX, p.X);
    minY = std::min(minY, p.Y);
    maxY = std::max(maxY, p.Y);
  }
  const double dx = maxX - minX, dy = maxY - minY;
  const double extent = std::max(1.2 * std::max(dx, dy), 20.0);
  const double scale = side / extent;
  const double left = (minX + maxX) / 2 - extent / 2, top = (minY + maxY) / 2 - extent / 2;
  for (double at = std::ceil(left / 10) * 10; at <= left + extent; at += 10) view.GridLines.push_back((at - left) * scale);
  for (std::size_t i = 0; i < placements.size(); ++i)
    view.Crosses.push_back({(placements[i].X - left) * scale, (placements[i].Y - top) * scale,
                            i + 1 == placements.size()});
  view.CrossHalf = 4 * scale;
  view.Label = "dx: " + Millimetres(dx, decimalSeparator) + " dy: " + Millimetres(dy, decimalSeparator) + " mm";
  return view;
}

TProfileGraph ProfileGraph(const std::vector<double>& values, double width, double height) {
  TProfileGraph graph;
  if (values.empty() || !(width > 0) || !(height > 0)) return graph;
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  const double min = *low, max = *high;
  const double n = static_cast<double>(values.size());
  graph.MiddleX = std::round(n / 2 * 10) / (10 * n) * width;
  if (!(max > min) || !std::isfinite(max - min)) return graph;
  const double across = width / (10 * n);
  auto y = [&](double v) { return height - 1000 * (v - min) / (max - min) * height / 1000; };
  for (std::size_t i = 0; i < values.size(); ++i) graph.Line.push_back({10.0 * static_cast<double>(i) * across, y(values[i])});
  if (min < 0 && max > 0) graph.ZeroY = y(0);
  return graph;
}

}  // namespace lumacet
