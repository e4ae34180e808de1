#include "graphics/labels.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "geometry/plane_geometry.h"
#include "measure/norms.h"
#include "model/kind_tables.h"
#include "model/list_elements.h"
#include "model/point_geometry.h"
#include "model/radiograph.h"
#include "model/xray_type.h"

namespace lumacet {

namespace {

constexpr int kShowInTextWindowOnly = 1;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGrey = 0x808080;
// The measurement visual's solid lines: 0.8 mm on the tracing.
constexpr int kMeasureWidth = 8;

TColouredText NotAvailable(const TPresentationOptions& options) {
  return {options.NotAvailable, DeviationColour(kNoDeviationClass, options.DeviationColours)};
}

std::optional<TFloatPoint> ElementPosition(TXRayElement* element) {
  auto* point = dynamic_cast<TXRPoint*>(element);
  if (point == nullptr) return std::nullopt;
  std::optional<TFloatPoint> position = ValidPosition(*point);
  if (position && (!std::isfinite(position->X) || !std::isfinite(position->Y))) return std::nullopt;
  return position;
}

// Where the label hangs: the anchor rounded, or the origin without one; nothing for an
// anchor that is not valid.
std::optional<TIntPoint> LabelAnchor(const TXRVariable& variable) {
  if (variable.Anchor == nullptr) return TIntPoint{};
  std::optional<TFloatPoint> position = ElementPosition(variable.Anchor);
  if (!position) return std::nullopt;
  return RoundSaturated(*position);
}

void DrawSegments(TCanvas& canvas, TIntPoint at, const std::vector<TLabelSegment>& segments,
                  const std::vector<int>& widths, const std::uint32_t* onlyColour) {
  double x = at.X;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    canvas.SetTextColour(onlyColour ? *onlyColour : segments[i].Colour);
    canvas.TextOut({RoundSaturated(x), at.Y}, segments[i].Text);
    x += widths[i];
  }
}

// The reference radiograph when flagged operands can be read from it: of a type of the
// same name, and not sharing one type object with a type being drawn (whose own points
// would be overwritten).
TRadiograph* UsableReference(TRadiograph& radiograph, const TMeasureContext& measure) {
  TRadiograph* reference = measure.Reference;
  if (reference == nullptr || reference == &radiograph || reference->Type() == nullptr ||
      radiograph.Type() == nullptr || reference->Type()->Name != radiograph.Type()->Name) {
    return nullptr;
  }
  if (reference->Type() == radiograph.Type() && (reference->IsType() || radiograph.IsType())) return nullptr;
  return reference;
}

bool Flagged(const TXRVariable& variable, int slot) {
  return IsReferenceVariableKind(variable.Kind()) && variable.ReferenceFlags[static_cast<std::size_t>(slot)];
}

// The operand points of the construction, each from the radiograph its slot reads.
std::array<std::optional<TFloatPoint>, 4> OperandPositions(TXRVariable& variable, TRadiograph& radiograph,
                                                           const TMeasureContext& measure) {
  std::array<std::optional<TFloatPoint>, 4> positions;
  const int count = variable.OperandCount();
  bool anyFlagged = false;
  for (int i = 0; i < count; ++i) anyFlagged = anyFlagged || Flagged(variable, i);
  if (TRadiograph* reference = anyFlagged ? UsableReference(radiograph, measure) : nullptr) {
    const TLoadedRadiograph loaded = reference->Load();
    for (int i = 0; i < count; ++i) {
      TXRayElement* operand = variable.Operand(i);
      if (!Flagged(variable, i) || operand == nullptr) continue;
      positions[static_cast<std::size_t>(i)] = ElementPosition(loaded.Find(operand->Name, operand->KindCode()));
    }
  }
  radiograph.LoadIfStale();
  for (int i = 0; i < count; ++i) {
    if (!Flagged(variable, i)) positions[static_cast<std::size_t>(i)] = ElementPosition(variable.Operand(i));
  }
  return positions;
}

void Solid(TCanvas& canvas, std::uint32_t colour) { canvas.SetPen({colour, TPenStyle::Solid, kMeasureWidth}); }
void Dotted(TCanvas& canvas, std::uint32_t colour) { canvas.SetPen({colour, TPenStyle::Dot, 0}); }

void Path(TCanvas& canvas, std::initializer_list<TFloatPoint> points) {
  std::vector<TIntPoint> rounded;
  for (TFloatPoint p : points) rounded.push_back(RoundSaturated(p));
  canvas.Polyline(rounded);
}

void DrawAngleConstruction(TCanvas& canvas, TFloatPoint p1, TFloatPoint p2, TFloatPoint p3, TFloatPoint p4) {
  Solid(canvas, kBlue);
  Path(canvas, {p1, p2});
  Path(canvas, {p3, p4});
  std::optional<TFloatPoint> i = IntersectLines(p1, p2, p3, p4);
  if (!i) return;
  std::optional<TFloatPoint> a = ExtendAlong(p1, p2, *i, 150);
  std::optional<TFloatPoint> b = ExtendAlong(p3, p4, *i, 150);
  Dotted(canvas, kBlue);
  Path(canvas, {p2, *i, p1});
  Path(canvas, {p4, *i, p3});
  if (!a || !b) return;
  Path(canvas, {*a, *i, *b});
  const double radius = std::max(120.0, std::min({Distance(*i, p1), Distance(*i, p2), Distance(*i, p3), Distance(*i, p4)}));
  const TIntRect box{RoundSaturated(i->X - radius), RoundSaturated(i->Y - radius), RoundSaturated(i->X + radius),
                     RoundSaturated(i->Y + radius)};
  Solid(canvas, kRed);
  canvas.Arc(box, RoundSaturated(*b), RoundSaturated(*a));
}

void DrawPointConstruction(TCanvas& canvas, const TVariableKindInfo& kind,
                           const std::array<std::optional<TFloatPoint>, 4>& p) {
  const int needed = CountUsedSlots(kind.Slots, TXRVariable::kSlotCount);
  for (int i = 0; i < needed; ++i) {
    if (!p[static_cast<std::size_t>(i)]) return;
  }
  const TFloatPoint p1 = *p[0];
  const TFloatPoint p2 = *p[1];
  switch (kind.Base) {
    case TVariableKind::Angle180:
    case TVariableKind::Angle360:
      DrawAngleConstruction(canvas, p1, p2, *p[2], *p[3]);
      return;
    case TVariableKind::Distance1:
      Solid(canvas, kRed);
      Path(canvas, {p1, p2});
      return;
    case TVariableKind::Distance2: {
      const TFloatPoint p3 = *p[2];
      Solid(canvas, kBlue);
      Path(canvas, {p2, p3});
      std::optional<TFloatPoint> foot = ProjectOnLine(p1, p2, p3);
      if (!foot) return;
      Solid(canvas, kRed);
      Path(canvas, {p1, *foot});
      Dotted(canvas, kBlue);
      Path(canvas, {p2, *foot, p3});
      return;
    }
    case TVariableKind::Distance3: {
      const TFloatPoint p3 = *p[2];
      const TFloatPoint p4 = *p[3];
      Solid(canvas, kBlue);
      Path(canvas, {p3, p4});
      std::optional<TFloatPoint> f1 = ProjectOnLine(p1, p3, p4);
      std::optional<TFloatPoint> f2 = ProjectOnLine(p2, p3, p4);
      if (!f1 || !f2) return;
      Dotted(canvas, kBlue);
      Path(canvas, {p1, *f1});
      Path(canvas, {p2, *f2});
      Path(canvas, {p3, *f1, p4, *f2});
      Solid(canvas, kRed);
      Path(canvas, {*f1, *f2});
      return;
    }
    case TVariableKind::Distance4: {
      const TFloatPoint p3 = *p[2];
      const TFloatPoint p4 = *p[3];
      Solid(canvas, kBlue);
      Path(canvas, {p3, p4});
      std::optional<TFloatPoint> f1 = ProjectOnLine(p1, p3, p4);
      if (!f1) return;
      std::optional<TFloatPoint> g = ProjectOnLine(p2, p1, *f1);
      if (!g) return;
      Dotted(canvas, kBlue);
      Path(canvas, {p2, *g});
      Path(canvas, {p3, *f1, p4});
      Path(canvas, {p1, *f1});
      Solid(canvas, kRed);
      Path(canvas, {p1, *g});
      return;
    }
    default:
      return;
  }
}

void DrawDrawingConstruction(TCanvas& canvas, TXRVariable& variable, TRadiograph& radiograph,
                             const TMeasureContext& measure, const TRenderOptions& drawing) {
  auto* graphic = dynamic_cast<TXRGraphic*>(variable.Operand(0));
  if (graphic == nullptr) return;
  Solid(canvas, kRed);
  canvas.SetBrush({kRed, TBrushStyle::Clear});
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  TRadiograph* reference = Flagged(variable, 0) ? UsableReference(radiograph, measure) : nullptr;
  if (reference == nullptr) {
    if (!Flagged(variable, 0)) DrawShape(canvas, *graphic, drawing);
    return;
  }
  {
    const TLoadedRadiograph loaded = reference->Load();
    if (auto* counterpart = dynamic_cast<TXRGraphic*>(loaded.Find(graphic->Name, ekGraphic)))
      DrawShape(canvas, *counterpart, drawing);
  }
  radiograph.LoadIfStale();
}

}  // namespace

TRenderOptions DrawingOptions(TRadiograph& radiograph, const TPresentationOptions& presentation,
                              const std::array<TPositionPen, kPositionCount>& positionPens) {
  TRenderOptions options;
  options.PositionPens = positionPens;
  options.DeviationColour = [&radiograph, measure = presentation.Measure,
                             colours = presentation.DeviationColours](TXRVariable& variable) {
    return std::optional<std::uint32_t>(DeviationColour(DeviationClass(variable, radiograph, measure), colours));
  };
  if (TPcaStatistics* pca = presentation.Measure.Pca)
    options.PcaConsensus = [pca](TXRPCA& element) { return pca->ConsensusOnTracing(element); };
  return options;
}

void TComparisonValues::Add(int order, const TLoadedRadiograph& radiograph, const std::vector<std::string>& names,
                            const TPresentationOptions& options) {
  TEntry entry;
  entry.Order = order;
  for (const std::string& name : names) {
    TXRVariable* variable = radiograph.Variable(name);
    entry.Values.emplace_back(
        name, variable ? DisplayValue(*variable, radiograph.Radiograph(), options) : NotAvailable(options));
  }
  auto at = std::upper_bound(fRadiographs.begin(), fRadiographs.end(), order,
                             [](int o, const TEntry& e) { return o < e.Order; });
  fRadiographs.insert(at, std::move(entry));
}

std::vector<TColouredText> TComparisonValues::ValuesOf(const std::string& name,
                                                       const TPresentationOptions& options) const {
  std::vector<TColouredText> values;
  values.reserve(fRadiographs.size());
  for (const TEntry& entry : fRadiographs) {
    auto it = std::find_if(entry.Values.begin(), entry.Values.end(), [&](const auto& v) { return v.first == name; });
    values.push_back(it != entry.Values.end() ? it->second : NotAvailable(options));
  }
  return values;
}

std::vector<std::string> LabelledVariableNames(const TXRAnalysis& analysis, const TRadiograph& radiograph) {
  std::vector<std::string> names;
  for (TXRayElement* element : analysis.Points) {
    auto* variable = dynamic_cast<TXRVariable*>(element);
    if (variable != nullptr && variable->ShowIn != kShowInTextWindowOnly && PassesView(radiograph, *variable)) {
      names.push_back(variable->Name);
    }
  }
  return names;
}

std::vector<TLabelSegment> LabelSegments(TXRVariable& variable, TRadiograph& radiograph,
                                         const TComparisonValues* others, const TLabelOptions& options) {
  const TPresentationOptions& presentation = options.Presentation;
  const TColouredText value = DisplayValue(variable, radiograph, presentation);
  std::vector<TLabelSegment> segments;
  segments.push_back({(variable.ShowName ? variable.Name + ": " : std::string()) +
                          ExpandCodes(variable, false, radiograph, presentation) + value.Text,
                      value.Colour});
  if (others != nullptr) {
    const std::uint32_t separatorColour = DeviationColour(kNoDeviationClass, presentation.DeviationColours);
    for (const TColouredText& other : others->ValuesOf(variable.Name, presentation)) {
      segments.push_back({" | ", separatorColour});
      segments.push_back({other.Text, other.Colour});
    }
  }
  std::string after = ExpandCodes(variable, true, radiograph, presentation);
  if (!after.empty()) segments.push_back({std::move(after), value.Colour});
  return segments;
}

std::optional<TIntRect> DrawLabel(TCanvas& canvas, TXRVariable& variable, TRadiograph& radiograph,
                                  const TComparisonValues* others, const TLabelOptions& options) {
  if (variable.ShowIn == kShowInTextWindowOnly) return std::nullopt;
  radiograph.LoadIfStale();
  std::optional<TIntPoint> anchor = LabelAnchor(variable);
  if (!anchor) return std::nullopt;
  const std::vector<TLabelSegment> segments = LabelSegments(variable, radiograph, others, options);

  canvas.SetFont(options.Font);
  std::vector<int> widths;
  double total = 0;
  int height = 0;
  for (const TLabelSegment& segment : segments) {
    const TIntSize extent = canvas.TextExtent(segment.Text);
    widths.push_back(extent.Width);
    total += extent.Width;
    height = std::max(height, extent.Height);
  }
  double left = static_cast<double>(anchor->X) + variable.LabelOffsetX;
  if (variable.Alignment == 1) left -= std::nearbyint(total / 2);
  if (variable.Alignment == 2) left -= total;
  const TIntPoint topLeft{RoundSaturated(left), RoundSaturated(static_cast<double>(anchor->Y) + variable.LabelOffsetY)};

  canvas.SetBackgroundColour(kColourWhite);
  canvas.SetBackgroundMode(options.Transparent ? TBackgroundMode::Transparent : TBackgroundMode::Opaque);
  if (options.Outline) {
    // One logical unit, as the outline was defined, is a third of a pixel on the screen:
    // never less than a device pixel, so that the outline shows.
    const int d = std::max(1, RoundSaturated(canvas.DeviceToLogical(1.0)));
    for (TIntPoint offset : {TIntPoint{-d, -d}, TIntPoint{-d, d}, TIntPoint{d, -d}, TIntPoint{d, d}}) {
      DrawSegments(canvas, {RoundSaturated(static_cast<double>(topLeft.X) + offset.X),
                            RoundSaturated(static_cast<double>(topLeft.Y) + offset.Y)},
                   segments, widths, &options.OutlineColour);
    }
  }
  DrawSegments(canvas, topLeft, segments, widths, nullptr);

  const TIntRect rect{topLeft.X, topLeft.Y, RoundSaturated(topLeft.X + total),
                      RoundSaturated(static_cast<double>(topLeft.Y) + height)};
  if (options.StoreRectangles) variable.LabelRect = {rect.Left, rect.Top, rect.Right, rect.Bottom};
  return rect;
}

void DrawAnalysis(TCanvas& canvas, TRadiograph& radiograph, const TComparisonValues* others,
                  const TLabelOptions& options, const TRenderOptions& drawing) {
  const TXRAnalysis* analysis = radiograph.CurrentAnalysis;
  if (!radiograph.Visible || analysis == nullptr) return;
  radiograph.LoadIfStale();
  TRenderOptions forced = drawing;
  forced.ForceDraw = true;
  for (TXRayElement* element : analysis->Graphics) {
    auto* graphic = dynamic_cast<TXRGraphic*>(element);
    if (graphic != nullptr && PassesView(radiograph, *graphic)) DrawWith(canvas, *graphic, kPositionAsDefined, forced);
  }
  for (TXRayElement* element : analysis->Points) {
    auto* variable = dynamic_cast<TXRVariable*>(element);
    if (variable != nullptr && PassesView(radiograph, *variable)) DrawLabel(canvas, *variable, radiograph, others, options);
  }
}

void DrawView(TCanvas& canvas, const TXRView& view, TRadiograph& radiograph, const TLabelOptions& options,
              const TRenderOptions& drawing) {
  radiograph.LoadIfStale();
  TRenderOptions forced = drawing;
  forced.ForceDraw = true;
  for (TXRayElement* element : view.Points) {
    if (auto* graphic = dynamic_cast<TXRGraphic*>(element)) DrawWith(canvas, *graphic, kPositionAsDefined, forced);
  }
  for (TXRayElement* element : view.Variables) {
    if (auto* variable = dynamic_cast<TXRVariable*>(element)) DrawLabel(canvas, *variable, radiograph, nullptr, options);
  }
}

void DrawMeasurementVisual(TCanvas& canvas, TXRVariable& variable, TRadiograph& radiograph, const TIntRect& labelRect,
                           const TMeasureContext& measure, const TRenderOptions& drawing) {
  const TIntRect r = Normalised(labelRect);
  canvas.SetPen({kGrey, TPenStyle::Dot, 0});
  canvas.SetBrush({kGrey, TBrushStyle::Clear});
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  canvas.Rectangle({RoundSaturated(r.Left - 8.0), RoundSaturated(r.Top - 3.0), RoundSaturated(r.Right + 8.0),
                    RoundSaturated(r.Bottom + 3.0)});
  ComputeVariable(variable, radiograph, measure);
  if (!variable.Valid) return;
  const TVariableKindInfo& kind = VariableKind(variable.Kind());
  if (kind.Has(kfDrawingMeasure)) {
    DrawDrawingConstruction(canvas, variable, radiograph, measure, drawing);
  } else if (kind.Has(kfConstruction)) {
    DrawPointConstruction(canvas, kind, OperandPositions(variable, radiograph, measure));
  }
}

}  // namespace lumacet
