#include "graphics/tracing_painter.h"

#include <algorithm>
#include <cmath>

#include "geometry/plane_geometry.h"
#include "graphics/display.h"
#include "model/list_elements.h"
#include "model/point_geometry.h"
#include "model/radiograph.h"
#include "model/xray_type.h"

namespace lumacet {

namespace {

constexpr std::uint32_t kRotationCentreGrey = 0x808080;
constexpr int kRotationCrossHalf = 40;   // 4 mm
constexpr int kRotationCircleRadius = 20;  // 2 mm
constexpr int kPlacedPageWidth = 10;
constexpr std::array<TPenStyle, 3> kPageOutlinePens = {TPenStyle::Dash, TPenStyle::Dot, TPenStyle::DashDotDot};

TRadiograph* CurrentOf(const TDisplayScene& scene) {
  if (scene.Current < 0 || static_cast<std::size_t>(scene.Current) >= scene.Slots.size()) return nullptr;
  return scene.Slots[static_cast<std::size_t>(scene.Current)];
}

bool AnalysisDrawn(const TRadiograph& radiograph, const TDisplayScene& scene) {
  return scene.EditedAnalysisType == nullptr || radiograph.Type() != scene.EditedAnalysisType;
}

bool SameTypeName(const TRadiograph& a, const TRadiograph& b) {
  return a.Type() != nullptr && b.Type() != nullptr && a.Type()->Name == b.Type()->Name;
}

// The radiograph's drawings that pass its view; a named view shows its drawings even when
// they are drawn only on demand.
void DrawDrawings(TCanvas& canvas, const TLoadedRadiograph& loaded, int position, TRenderOptions drawing) {
  const TXRayType* type = loaded.Type();
  if (type == nullptr) return;
  const TRadiograph& radiograph = loaded.Radiograph();
  drawing.ForceDraw = radiograph.CurrentView != nullptr;
  for (const auto& element : type->ElementList(ekGraphic)) {
    const auto& graphic = static_cast<const TXRGraphic&>(*element);
    if (PassesView(radiograph, graphic)) DrawWith(canvas, graphic, position, drawing);
  }
}

int PositionOf(int slot, bool byPosition) { return byPosition && slot < kPositionCount ? slot : kPositionAsDefined; }

}  // namespace

std::optional<TPen> SlotPen(const TDisplayOptions& options, int slot, bool current) {
  const bool byPosition =
      current ? options.DrawingStyle == kStyleByPosition : options.DrawingStyle != kStyleAsDefined;
  const int position = PositionOf(slot, byPosition);
  if (position == kPositionAsDefined) return std::nullopt;
  return PositionPen(options.PositionPens[static_cast<std::size_t>(position)]);
}

namespace {

void DrawPageOutlines(TCanvas& canvas, const TDisplayScene& scene, std::uint32_t colour) {
  canvas.SetBrush({colour, TBrushStyle::Clear});
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  for (std::size_t i = 0; i < scene.PageOutlines.size(); ++i) {
    if (!scene.PageOutlines[i]) continue;
    const bool placed = static_cast<int>(i) == scene.PlacedPage;
    canvas.SetPen({colour, kPageOutlinePens[i], placed ? kPlacedPageWidth : 0});
    canvas.Rectangle(*scene.PageOutlines[i]);
  }
}

}  // namespace

void DrawRotationCentre(TCanvas& canvas, TFloatPoint centre) {
  const TIntPoint c = RoundSaturated(centre);
  canvas.SetPen({kRotationCentreGrey, TPenStyle::Solid, 0});
  canvas.SetBrush({kRotationCentreGrey, TBrushStyle::Clear});
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  auto at = [&](double dx, double dy) {
    return TIntPoint{RoundSaturated(static_cast<double>(c.X) + dx), RoundSaturated(static_cast<double>(c.Y) + dy)};
  };
  canvas.MoveTo(at(-kRotationCrossHalf, 0));
  canvas.LineTo(at(kRotationCrossHalf, 0));
  canvas.MoveTo(at(0, -kRotationCrossHalf));
  canvas.LineTo(at(0, kRotationCrossHalf));
  const TIntPoint topLeft = at(-kRotationCircleRadius, -kRotationCircleRadius);
  const TIntPoint bottomRight = at(kRotationCircleRadius, kRotationCircleRadius);
  canvas.Ellipse({topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y});
}

TIntRect VisibleArea(const TCanvas& canvas) {
  const TIntSize size = canvas.DeviceSize();
  const TFloatPoint a = canvas.DeviceToLogical(TFloatPoint{0, 0});
  const TFloatPoint b = canvas.DeviceToLogical(TFloatPoint{static_cast<double>(size.Width), static_cast<double>(size.Height)});
  // A unit more on every side, so that rounding never leaves a sliver unpainted.
  auto low = [](double v) { return RoundSaturated(v - 1); };
  auto high = [](double v) { return RoundSaturated(v + 1); };
  return {low(std::min(a.X, b.X)), low(std::min(a.Y, b.Y)), high(std::max(a.X, b.X)), high(std::max(a.Y, b.Y))};
}

void DrawGrid(TCanvas& canvas, int density, std::uint32_t colour) {
  if (density < kMinimumGridDensity) return;
  canvas.SetPen({colour, TPenStyle::Dot, 0});
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  const long step = static_cast<long>(density) * static_cast<long>(kUnitsPerMillimetre);
  for (long at = 0; at <= kWorldExtent; at += step) {
    const int v = static_cast<int>(at);
    canvas.MoveTo({v, 0});
    canvas.LineTo({v, kWorldExtent});
    canvas.MoveTo({0, v});
    canvas.LineTo({kWorldExtent, v});
  }
}

std::vector<TMarker> SelectionMarkers(TRadiograph& radiograph, const TMarkerSettings& settings,
                                      bool sizeInScreenPixels) {
  radiograph.LoadIfStale();
  std::vector<TMarker> markers;
  for (TXRPoint* point : radiograph.SelectedPoints()) {
    std::optional<TFloatPoint> position = ValidPosition(*point);
    if (!position) continue;
    TMarker& marker = markers.emplace_back(settings.Shape, settings.Size);
    marker.SizeInScreenPixels = sizeInScreenPixels;
    const TIntPoint at = RoundSaturated(*position);
    marker.X1 = at.X;
    marker.Y1 = at.Y;
    marker.Pen = {settings.LineColour, TPenStyle::Solid, 1};
    marker.Brush = {settings.FillColour, TBrushStyle::Solid};
  }
  return markers;
}

void DrawTracings(TCanvas& canvas, TDisplayScene& scene, const TDisplayOptions& options) {
  TRadiograph* current = CurrentOf(scene);
  const TPresentationOptions& presentation = options.Labels.Presentation;
  const bool comparative = options.AnalysisShown && options.AnalysisMode == kAnalysisComparative &&
                           current != nullptr && current->CurrentAnalysis != nullptr;
  const std::vector<std::string> compared =
      comparative ? LabelledVariableNames(*current->CurrentAnalysis, *current) : std::vector<std::string>();
  TComparisonValues others;

  for (int slot = static_cast<int>(scene.Slots.size()) - 1; slot >= 0; --slot) {
    TRadiograph* radiograph = scene.Slots[static_cast<std::size_t>(slot)];
    if (radiograph == nullptr || radiograph == current || !radiograph->Visible) continue;
    // One load serves the comparison values and the drawings.
    const TLoadedRadiograph loaded = radiograph->Load();
    if (comparative && SameTypeName(*radiograph, *current)) others.Add(slot, loaded, compared, presentation);
    const TRenderOptions drawing = DrawingOptions(*radiograph, presentation, options.PositionPens);
    DrawDrawings(canvas, loaded, PositionOf(slot, options.DrawingStyle != kStyleAsDefined), drawing);
    if (options.AnalysisShown && options.AnalysisMode == kAnalysisAll && AnalysisDrawn(*radiograph, scene)) {
      DrawAnalysis(canvas, *radiograph, nullptr, options.Labels, drawing);
    }
  }

  if (scene.MovementPreview) scene.MovementPreview(canvas);

  if (current == nullptr) return;
  const TLoadedRadiograph loaded = current->Load();
  if (!current->Visible) return;
  const TRenderOptions drawing = DrawingOptions(*current, presentation, options.PositionPens);
  DrawDrawings(canvas, loaded, PositionOf(scene.Current, options.DrawingStyle == kStyleByPosition), drawing);
  if (options.AnalysisShown && AnalysisDrawn(*current, scene)) {
    DrawAnalysis(canvas, *current, comparative && !others.Empty() ? &others : nullptr, options.Labels, drawing);
  }
}

void DrawDisplay(TCanvas& canvas, TDisplayScene& scene, const TDisplayOptions& options) {
  canvas.SetPen({kColourWhite, TPenStyle::Clear, 0});
  canvas.SetBrush({kColourWhite, TBrushStyle::Solid});
  canvas.Rectangle(VisibleArea(canvas));

  if (scene.Images) scene.Images(canvas);
  if (options.GridShown) DrawGrid(canvas, options.GridDensity, options.GridColour);
  DrawPageOutlines(canvas, scene, options.GridColour);

  DrawTracings(canvas, scene, options);
  if (TRadiograph* current = CurrentOf(scene); current != nullptr && current->Visible) {
    for (const TMarker& marker : SelectionMarkers(*current, options.SelectionMarker, options.MarkerSizeInScreenPixels)) {
      marker.Draw(canvas);
    }
  }
  if (scene.SelectionHandles) scene.SelectionHandles(canvas);

  if (scene.RotationCentre) DrawRotationCentre(canvas, *scene.RotationCentre);
  if (scene.ImageToolHandles) scene.ImageToolHandles(canvas);
  if (scene.Protractor != nullptr) {
    DrawProtractor(canvas, *scene.Protractor, options.Ruler, options.Labels.Presentation.Measure.Formats.DecimalSeparator);
  }
}

void DrawTracingPicture(TCanvas& canvas, TDisplayScene& scene, const TDisplayOptions& options) {
  if (scene.Images) scene.Images(canvas);
  if (options.GridShown) DrawGrid(canvas, options.GridDensity, options.GridColour);
  DrawTracings(canvas, scene, options);
}

}  // namespace lumacet
