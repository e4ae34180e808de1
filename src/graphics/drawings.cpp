#include "graphics/drawings.h"

#include <algorithm>
#include <cmath>

#include "geometry/plane_geometry.h"
#include "graphics/shapes.h"
#include "graphics/tooth_templates.h"
#include "model/kind_tables.h"
#include "model/list_elements.h"
#include "model/point_geometry.h"

namespace lumacet {

namespace {

using TEntries = std::vector<TXRayElement*>;

// Stored attributes come from hand-editable files: a value outside its range falls back
// to the default instead of indexing past a table.
TPenStyle PenStyleOf(int stored) {
  return stored >= 0 && stored <= 5 ? static_cast<TPenStyle>(stored) : TPenStyle::Solid;
}

TBrushStyle BrushStyleOf(int stored) {
  return stored >= 0 && stored <= 7 ? static_cast<TBrushStyle>(stored) : TBrushStyle::Clear;
}

int PenWidthOf(int stored) { return stored >= 0 && stored <= 20 ? stored : 0; }

std::optional<TFloatPoint> PositionOf(TXRayElement* entry) {
  auto* point = dynamic_cast<TXRPoint*>(entry);
  if (!point) return std::nullopt;
  std::optional<TFloatPoint> position = ValidPosition(*point);
  if (position && (!std::isfinite(position->X) || !std::isfinite(position->Y))) return std::nullopt;
  return position;
}

bool AllValid(const TEntries& entries) {
  return std::all_of(entries.begin(), entries.end(),
                     [](TXRayElement* entry) { return PositionOf(entry).has_value(); });
}

std::vector<TXRPoint*> PointEntries(const TEntries& entries) {
  std::vector<TXRPoint*> points;
  points.reserve(entries.size());
  for (TXRayElement* entry : entries) points.push_back(dynamic_cast<TXRPoint*>(entry));
  return points;
}

// A polyline through the valid entries; with `breaks` an invalid entry ends one polyline
// and the next valid entry starts another.
void DrawLine(TCanvas& canvas, const TEntries& entries, bool breaks) {
  std::vector<TIntPoint> run;
  auto flush = [&] {
    if (run.size() >= 2) canvas.Polyline(run);
    run.clear();
  };
  for (TXRayElement* entry : entries) {
    if (std::optional<TFloatPoint> p = PositionOf(entry)) {
      run.push_back(RoundSaturated(*p));
    } else if (breaks) {
      flush();
    }
  }
  flush();
}

void DrawPairs(TCanvas& canvas, const TEntries& entries) {
  for (std::size_t k = 0; k + 1 < entries.size(); k += 2) {
    std::optional<TFloatPoint> from = PositionOf(entries[k]);
    if (!from) continue;
    canvas.MoveTo(RoundSaturated(*from));
    if (std::optional<TFloatPoint> to = PositionOf(entries[k + 1])) canvas.LineTo(RoundSaturated(*to));
  }
}

void DrawPolygon(TCanvas& canvas, const TEntries& entries) {
  std::vector<TIntPoint> corners;
  for (TXRayElement* entry : entries) {
    if (std::optional<TFloatPoint> p = PositionOf(entry)) corners.push_back(RoundSaturated(*p));
  }
  if (corners.size() >= 2) canvas.Polygon(corners);
}

void DrawCurve(TCanvas& canvas, const TEntries& entries, bool filled) {
  TPolySpline curve;
  curve.Points = PointEntries(entries);
  if (filled) {
    curve.DrawFilled(canvas);
  } else {
    curve.Draw(canvas);
  }
}

// One marker of half-size `s`: shape 0 a cross, 1 to 4 the marker outlines.
void DrawMarker(TCanvas& canvas, TFloatPoint at, double s, int shape) {
  static const char* const kShapeNames[] = {"Square", "Circle", "Diamond", "Triangle"};
  const TIntPoint centre = RoundSaturated(at);
  if (shape < 1 || shape > 4) {
    const double x = centre.X;
    const double y = centre.Y;
    canvas.MoveTo({RoundSaturated(x - s), centre.Y});
    canvas.LineTo({RoundSaturated(x + s), centre.Y});
    canvas.MoveTo({centre.X, RoundSaturated(y - s)});
    canvas.LineTo({centre.X, RoundSaturated(y + s)});
    return;
  }
  TMarker marker(kShapeNames[shape - 1], 0);
  marker.X1 = centre.X;
  marker.Y1 = centre.Y;
  DrawOutline(canvas, marker.Outline({2 * s, 2 * s}));
}

TXRPCA* FirstPca(const TEntries& entries) {
  for (TXRayElement* entry : entries) {
    if (auto* pca = dynamic_cast<TXRPCA*>(entry)) return pca;
  }
  return nullptr;
}

bool IsFinite(TFloatPoint p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

void DrawPca(TCanvas& canvas, const TXRGraphic& graphic, const TRenderOptions& options) {
  TXRPCA* pca = FirstPca(graphic.Points);
  if (!pca || !options.PcaConsensus) return;
  const std::vector<TFloatPoint> consensus = options.PcaConsensus(*pca);
  if (graphic.Kind() == KindNumber(TGraphicKind::PcaConsensusMarkers)) {
    const double s = std::nearbyint(graphic.Size);
    for (TFloatPoint p : consensus) {
      if (IsFinite(p)) DrawMarker(canvas, p, s, graphic.MarkerShape);
    }
    return;
  }
  // Only as far as both lists go: an analysis whose points changed since its consensus
  // was computed may hold fewer consensus points than landmarks, or more.
  const std::size_t n = std::min(consensus.size(), pca->Points.size());
  for (std::size_t i = 0; i < n; ++i) {
    std::optional<TFloatPoint> landmark = PositionOf(pca->Points[i]);
    if (!landmark || !IsFinite(consensus[i])) continue;
    canvas.MoveTo(RoundSaturated(consensus[i]));
    canvas.LineTo(RoundSaturated(*landmark));
  }
}

// Pies and arcs mark the angle at the second entry, counter-clockwise as displayed from
// the direction of the first entry to that of the third.
void DrawAngle(TCanvas& canvas, const TXRGraphic& graphic) {
  const TEntries& entries = graphic.Points;
  if (!AllValid(entries)) return;
  const auto kind = static_cast<TGraphicKind>(graphic.Kind());
  const TFloatPoint p0 = *PositionOf(entries[0]);
  const TFloatPoint p1 = *PositionOf(entries[1]);
  const TFloatPoint p2 = *PositionOf(entries[2]);
  const bool variable = kind == TGraphicKind::PieVariable || kind == TGraphicKind::ArcVariable;
  const double radius = std::nearbyint(variable ? Distance(*PositionOf(entries[3]), p1) : graphic.Size);
  const TIntPoint centre = RoundSaturated(p1);
  const TIntRect box{RoundSaturated(centre.X - radius), RoundSaturated(centre.Y - radius),
                     RoundSaturated(centre.X + radius), RoundSaturated(centre.Y + radius)};
  if (kind == TGraphicKind::Pie || kind == TGraphicKind::PieVariable) {
    canvas.Pie(box, RoundSaturated(p0), RoundSaturated(p2));
  } else {
    canvas.Arc(box, RoundSaturated(p0), RoundSaturated(p2));
  }
}

void DrawTooth(TCanvas& canvas, const TXRGraphic& graphic, const TToothTemplate& tooth) {
  std::optional<TFloatPoint> first = PositionOf(graphic.Points[0]);
  std::optional<TFloatPoint> second = PositionOf(graphic.Points[1]);
  if (!first || !second) return;
  for (const std::vector<TIntPoint>& outline :
       FitToothTemplate(tooth, *first, *second, graphic.Size < 0)) {
    canvas.Polygon(outline);
  }
}

bool DrawnNow(const TXRGraphic& graphic, const TRenderOptions& options) {
  return graphic.DrawOption != 1 || options.ForceDraw;
}

}  // namespace

TPen PositionPen(const TPositionPen& style) {
  return {style.Colour, PenStyleOf(style.Style), PenWidthOf(style.Width), TPenMode::Copy};
}

void DrawWith(TCanvas& canvas, const TXRGraphic& graphic, int position, const TRenderOptions& options) {
  if (!DrawnNow(graphic, options)) return;
  TPen pen;
  std::uint32_t brushColour = graphic.Colour;
  if (position >= 0 && position < kPositionCount) {
    const TPositionPen& style = options.PositionPens[static_cast<std::size_t>(position)];
    pen = PositionPen(style);
    brushColour = style.Colour;
  } else {
    std::uint32_t colour = graphic.Colour;
    auto* variable = dynamic_cast<TXRVariable*>(graphic.ColourVariable);
    if (variable && options.DeviationColour) {
      if (std::optional<std::uint32_t> deviation = options.DeviationColour(*variable)) colour = *deviation;
    }
    pen = {colour, PenStyleOf(graphic.PenStyle), PenWidthOf(graphic.LineWidth), TPenMode::Copy};
  }
  canvas.SetPen(pen);
  canvas.SetBrush({brushColour, BrushStyleOf(graphic.BrushStyle)});
  canvas.SetBackgroundColour(0x00FFFFFF);
  canvas.SetBackgroundMode(graphic.Opaque ? TBackgroundMode::Opaque : TBackgroundMode::Transparent);
  DrawShape(canvas, graphic, options);
}

std::vector<TFloatPoint> OutlinePoints(const TXRGraphic& graphic, int step) {
  const TEntries& entries = graphic.Points;
  auto straight = [&entries] {
    std::vector<TFloatPoint> kept;
    for (TXRayElement* entry : entries)
      if (std::optional<TFloatPoint> p = PositionOf(entry); p && (kept.empty() || !(kept.back() == *p)))
        kept.push_back(*p);
    return kept;
  };
  switch (static_cast<TGraphicKind>(graphic.Kind())) {
    case TGraphicKind::Line:
    case TGraphicKind::LineNoBreaks:
    case TGraphicKind::Polygon: return straight();
    case TGraphicKind::Spline:
      if (!AllValid(entries)) return straight();
      [[fallthrough]];
    case TGraphicKind::SplineNoBreaks:
    case TGraphicKind::SplineClosed: return SplinePoints(PointEntries(entries), step);
    default: return {};
  }
}

void DrawGhost(TCanvas& canvas, const TXRGraphic& graphic, const TRenderOptions& options) {
  if (!DrawnNow(graphic, options)) return;
  canvas.SetPen({0, TPenStyle::Dot, 0, TPenMode::Copy});
  canvas.SetBrush({0, TBrushStyle::Clear});
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  DrawShape(canvas, graphic, options);
}

void DrawShape(TCanvas& canvas, const TXRGraphic& graphic, const TRenderOptions& options) {
  const TEntries& entries = graphic.Points;
  const int kind = graphic.Kind();
  if (entries.size() < static_cast<std::size_t>(GraphicKind(kind).Entries)) return;
  switch (static_cast<TGraphicKind>(kind)) {
    case TGraphicKind::Line:
      DrawLine(canvas, entries, true);
      return;
    case TGraphicKind::LineNoBreaks:
      DrawLine(canvas, entries, false);
      return;
    case TGraphicKind::LinePairs:
      DrawPairs(canvas, entries);
      return;
    case TGraphicKind::Polygon:
      DrawPolygon(canvas, entries);
      return;
    case TGraphicKind::Spline:
      if (AllValid(entries)) {
        DrawCurve(canvas, entries, false);
      } else {
        DrawLine(canvas, entries, true);
      }
      return;
    case TGraphicKind::SplineNoBreaks:
      DrawCurve(canvas, entries, false);
      return;
    case TGraphicKind::SplineClosed:
      DrawCurve(canvas, entries, true);
      return;
    case TGraphicKind::Markers: {
      const double s = std::nearbyint(graphic.Size);
      for (TXRayElement* entry : entries) {
        if (std::optional<TFloatPoint> p = PositionOf(entry)) DrawMarker(canvas, *p, s, graphic.MarkerShape);
      }
      return;
    }
    case TGraphicKind::PcaConsensusMarkers:
    case TGraphicKind::PcaJoinPoints:
      DrawPca(canvas, graphic, options);
      return;
    case TGraphicKind::Pie:
    case TGraphicKind::PieVariable:
    case TGraphicKind::Arc:
    case TGraphicKind::ArcVariable:
      DrawAngle(canvas, graphic);
      return;
    default:
      if (std::optional<TToothTemplate> tooth = ToothTemplate(kind)) DrawTooth(canvas, graphic, *tooth);
      return;
  }
}

}  // namespace lumacet

namespace lumacet {

std::vector<std::optional<TFloatPoint>> MorphOutline(const TXRGraphic& graphic, bool sampleCurves) {
  const TEntries& entries = graphic.Points;
  std::vector<std::optional<TFloatPoint>> outline;
  // Copies of the valid points; `breaks` puts an empty entry for every invalid one.
  auto copies = [&](bool breaks) {
    for (TXRayElement* entry : entries) {
      std::optional<TFloatPoint> p = PositionOf(entry);
      if (p || breaks) outline.push_back(p);
    }
  };
  auto sampled = [&] {
    const std::vector<TXRPoint*> points = PointEntries(entries);
    for (TFloatPoint p : SplinePoints(points, -5)) outline.emplace_back(p);
  };
  switch (static_cast<TGraphicKind>(graphic.Kind())) {
    case TGraphicKind::Line:
      copies(true);
      break;
    case TGraphicKind::LineNoBreaks:
      copies(false);
      break;
    case TGraphicKind::Polygon:
      copies(false);
      if (!outline.empty()) outline.push_back(outline.front());
      break;
    case TGraphicKind::LinePairs:
      for (std::size_t k = 0; k + 1 < entries.size(); k += 2) {
        std::optional<TFloatPoint> from = PositionOf(entries[k]);
        std::optional<TFloatPoint> to = PositionOf(entries[k + 1]);
        if (!from || !to) continue;
        outline.insert(outline.end(), {from, to, std::nullopt});
      }
      break;
    case TGraphicKind::Spline:
      if (sampleCurves && AllValid(entries)) {
        sampled();
      } else {
        copies(true);
      }
      break;
    case TGraphicKind::SplineNoBreaks:
    case TGraphicKind::SplineClosed:
      if (sampleCurves) {
        sampled();
        if (graphic.Kind() == static_cast<int>(TGraphicKind::SplineClosed) && !outline.empty())
          outline.push_back(outline.front());
      } else {
        copies(true);
      }
      break;
    default:
      break;
  }
  return outline;
}

}  // namespace lumacet
