#include "simulation/movements.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <utility>

#include "model/kind_codes.h"
#include "model/point_geometry.h"
#include "model/xray_type.h"

namespace lumacet {

namespace {

constexpr double kNullTolerance = 1e-10;
// Tracing units (100 m): far beyond any radiograph, near enough that every later sum of
// coordinates stays exact to well below a micrometre.
constexpr double kFarthest = 1e6;

bool IsPreset(const TXRPoint& point) {
  const auto* dig = dynamic_cast<const TDigPoint*>(&point);
  return dig != nullptr && dig->Kind() == KindNumber(TDigPointKind::Preset);
}

// Constructed points follow their operands; only digitized and snake points hold positions.
bool HoldsPosition(const TXRPoint& point) { return dynamic_cast<const TDerPoint*>(&point) == nullptr; }

bool IsSelectionKind(TMovementKind kind) {
  return kind == mkTranslate || kind == mkRotate || kind == mkFlipVertical || kind == mkFlipHorizontal;
}

// The selection a movement acts on, put in place for one call and always given back.
class TSelectionScope {
 public:
  TSelectionScope(TRadiograph& radiograph, const TMovement& movement, const TMovementOptions& options)
      : fRadiograph(radiograph), fSaved(radiograph.Selection) {
    if ((options.OriginalArea || movement.Induced) && movement.Elements) radiograph.Selection = *movement.Elements;
  }
  ~TSelectionScope() { fRadiograph.Selection = std::move(fSaved); }
  TSelectionScope(const TSelectionScope&) = delete;
  TSelectionScope& operator=(const TSelectionScope&) = delete;

 private:
  TRadiograph& fRadiograph;
  std::vector<TXRayElement*> fSaved;
};

std::vector<TXRPoint*> WholeTracing(const TXRayType& type, bool withPreset) {
  std::vector<TXRPoint*> points;
  for (const auto& e : type.ElementList(ekDigPoint)) {
    auto* point = static_cast<TXRPoint*>(e.get());
    if (withPreset || !IsPreset(*point)) points.push_back(point);
  }
  for (const auto& e : type.ElementList(ekSnake))
    for (TXRPoint* point : static_cast<TDigSnake*>(e.get())->PointList()) points.push_back(point);
  return points;
}

std::vector<TXRPoint*> MovedPoints(TRadiograph& radiograph, const TXRayType& type, const TMovement& movement) {
  if (IsSelectionKind(movement.Kind)) {
    std::vector<TXRPoint*> points = radiograph.SelectedPoints();
    std::erase_if(points, [](TXRPoint* p) { return !HoldsPosition(*p); });
    return points;
  }
  return WholeTracing(type, movement.Kind == mkScale);
}

TFloatPoint Centroid(const TXRayType& type) {
  std::vector<TXRPoint*> digitized;
  for (const auto& e : type.ElementList(ekDigPoint)) digitized.push_back(static_cast<TXRPoint*>(e.get()));
  return Centroid(digitized).value_or(TFloatPoint{});
}

TFloatPoint Rotated(TFloatPoint p, TFloatPoint centre, double angle) {
  const double dx = p.X - centre.X;
  const double dy = p.Y - centre.Y;
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  return {centre.X + dx * c - dy * s, centre.Y + dx * s + dy * c};
}

bool Finite(TFloatPoint p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

bool WithinReach(TFloatPoint p) { return std::abs(p.X) <= kFarthest && std::abs(p.Y) <= kFarthest; }

TResult Refused(std::string reason) {
  return TResult::Failure(LcText("Movements", "The movement cannot be performed: nothing was moved."),
                          std::move(reason));
}

TResult CheckParameters(const TMovement& m) {
  for (double value : {m.Dx, m.Dy, m.Angle})
    if (!std::isfinite(value)) return Refused("a parameter is not a finite number");
  if (m.Centre && !Finite(*m.Centre)) return Refused("the rotation centre is not a finite position");
  if (m.Axis && !std::isfinite(*m.Axis)) return Refused("the mirror line is not a finite position");
  if (m.Kind == mkScale && !(m.Dx > 0)) return Refused("the scale factor is not positive");
  if (m.Kind >= kMovementKindCount) return Refused("unknown movement kind");
  return {};
}

std::string HistoryText(const TMovement& m) {
  switch (m.Kind) {
    case mkTranslate:
    case mkTranslateAll: return "Translated points.";
    case mkRotate:
    case mkRotateAll: return "Rotated points.";
    case mkFlipVertical: return "Flipped Vertical.";
    case mkFlipHorizontal: return "Flipped Horizontal.";
    case mkScale: return "Scaled by: " + FormatSignificant(m.Dx, 3);
  }
  return {};
}

// The image keeps its place under a tracing locked to it.
void MoveImage(TRadiograph& r, const TMovement& m, TFloatPoint scaleCentre) {
  const TFloatPoint origin{r.ImageOriginX, r.ImageOriginY};
  TFloatPoint moved = origin;
  switch (m.Kind) {
    case mkTranslateAll: moved = {origin.X + m.Dx, origin.Y + m.Dy}; break;
    case mkRotateAll:
      moved = Rotated(origin, m.Centre.value_or(TFloatPoint{}), m.Angle);
      r.ImageRotation += m.Angle;
      break;
    case mkScale:
      moved = {scaleCentre.X + m.Dx * (origin.X - scaleCentre.X), scaleCentre.Y + m.Dx * (origin.Y - scaleCentre.Y)};
      r.PixelWidth *= m.Dx;
      r.PixelHeight *= m.Dx;
      break;
    default: return;
  }
  r.ImageOriginX = moved.X;
  r.ImageOriginY = moved.Y;
}

}  // namespace

TResult ApplyMovement(const TMovement& m, TRadiograph& radiograph, const TMovementOptions& options) {
  if (radiograph.Type() == nullptr) return Refused("the radiograph has no type");
  if (TResult checked = CheckParameters(m); !checked) return checked;
  const TLoadedRadiograph loaded = radiograph.Load();
  TXRayType& type = *loaded.Type();
  const TSelectionScope scope(radiograph, m, options);
  const std::vector<TXRPoint*> points = MovedPoints(radiograph, type, m);

  const TFloatPoint scaleCentre = m.Kind == mkScale ? Centroid(type) : TFloatPoint{};
  std::optional<double> axis = m.Axis;
  if (!axis && (m.Kind == mkFlipVertical || m.Kind == mkFlipHorizontal))
    axis = FlipAxis(points, m.Kind == mkFlipVertical);
  std::function<TFloatPoint(TFloatPoint)> transform;
  switch (m.Kind) {
    case mkTranslate:
    case mkTranslateAll: transform = [&](TFloatPoint p) { return TFloatPoint{p.X + m.Dx, p.Y + m.Dy}; }; break;
    case mkRotate:
    case mkRotateAll: {
      const TFloatPoint centre = m.Centre.value_or(TFloatPoint{});
      transform = [&, centre](TFloatPoint p) { return Rotated(p, centre, m.Angle); };
      break;
    }
    case mkFlipVertical: transform = [&](TFloatPoint p) { return TFloatPoint{p.X, 2 * axis.value_or(0) - p.Y}; }; break;
    case mkFlipHorizontal: transform = [&](TFloatPoint p) { return TFloatPoint{2 * axis.value_or(0) - p.X, p.Y}; }; break;
    case mkScale:
      transform = [&](TFloatPoint p) {
        return TFloatPoint{scaleCentre.X + m.Dx * (p.X - scaleCentre.X), scaleCentre.Y + m.Dx * (p.Y - scaleCentre.Y)};
      };
      break;
  }

  // Every target is computed before anything moves, so a refusal leaves the tracing whole.
  std::vector<std::pair<TXRPoint*, TFloatPoint>> targets;
  std::string leftInPlace;
  for (TXRPoint* point : points) {
    if (!point->IsValid()) {
      leftInPlace += (leftInPlace.empty() ? "" : ", ") + point->Name;
      continue;
    }
    const TFloatPoint target = transform({point->GetX(), point->GetY()});
    if (!WithinReach(target)) return Refused("a point would be moved beyond 100 m");
    targets.emplace_back(point, target);
  }
  for (auto& [point, target] : targets) point->SetXY(target.X, target.Y);
  if (options.TracingLocked) MoveImage(radiograph, m, scaleCentre);

  radiograph.StoreCoordinates();
  type.InvalidateDerived();
  type.InvalidateVariables();
  radiograph.RecordChange(true, HistoryText(m));
  if (!leftInPlace.empty()) radiograph.RecordChange(true, "Left in place, not valid: " + leftInPlace + ".");
  return {};
}

TMovement InverseMovement(const TMovement& m) {
  TMovement inverse = m;
  switch (m.Kind) {
    case mkTranslate:
    case mkTranslateAll:
      inverse.Dx = -m.Dx;
      inverse.Dy = -m.Dy;
      break;
    case mkRotate:
    case mkRotateAll: inverse.Angle = -m.Angle; break;
    case mkFlipVertical:
    case mkFlipHorizontal: break;
    case mkScale: inverse.Dx = 1 / m.Dx; break;
  }
  return inverse;
}

TResult RevertMovement(const TMovement& m, TRadiograph& radiograph, const TMovementOptions& options) {
  if (TResult checked = CheckParameters(m); !checked) return checked;
  return ApplyMovement(InverseMovement(m), radiograph, options);
}

bool IsNullMovement(const TMovement& m) {
  switch (m.Kind) {
    case mkTranslate:
    case mkTranslateAll: return std::abs(m.Dx) < kNullTolerance && std::abs(m.Dy) < kNullTolerance;
    case mkRotate:
    case mkRotateAll: return std::abs(m.Angle) < kNullTolerance;
    case mkScale: return std::abs(m.Dx - 1) < kNullTolerance;
    default: return false;
  }
}

std::optional<TMovement> CompileMovements(const TMovement& next, const TMovement& last) {
  if (next.Kind != last.Kind || next.Kind > mkRotateAll || next.Induced != last.Induced) return std::nullopt;
  if (next.Elements && last.Elements && *next.Elements != *last.Elements) return std::nullopt;
  if (next.Centre.has_value() != last.Centre.has_value()) return std::nullopt;
  if (next.Centre && !(next.Centre->X == last.Centre->X && next.Centre->Y == last.Centre->Y)) return std::nullopt;
  TMovement combined = next;
  combined.Dx = next.Dx + last.Dx;
  combined.Dy = next.Dy + last.Dy;
  combined.Angle = next.Angle + last.Angle;
  return combined;
}

TResultOf<TMovement> FlipMovement(TRadiograph& radiograph, bool vertical) {
  if (radiograph.Type() == nullptr) return Refused("the radiograph has no type");
  radiograph.LoadCoordinates();
  std::vector<TXRPoint*> points = radiograph.SelectedPoints();
  std::erase_if(points, [](TXRPoint* p) { return !HoldsPosition(*p); });
  const std::optional<double> axis = FlipAxis(points, vertical);
  if (!axis) return TResult::Failure(LcText("Movements", "No points selected."));
  TMovement flip{.Kind = vertical ? mkFlipVertical : mkFlipHorizontal, .Elements = radiograph.Selection};
  flip.Axis = axis;
  return flip;
}

double ReduceToLifeSizeFactor(double magnification) { return EnteredScaleFactor(100 / (magnification + 100)); }

double EnlargeToRadiographSizeFactor(double magnification) {
  return EnteredScaleFactor((magnification + 100) / 100);
}

// A factor of 0 or below would collapse or mirror the tracing beyond any undo.
double EnteredScaleFactor(std::optional<double> entered) {
  return entered && std::isfinite(*entered) && *entered > 0 ? *entered : 1.0;
}

std::string FormatSignificant(double value, int digits) {
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
  if (error != std::errc()) return {};
  return std::string(buffer, end);
}

std::string AbbreviateMiddle(std::string_view text, int width) {
  const size_t w = static_cast<size_t>(std::max(width, 5));
  if (text.size() <= w) return std::string(text);
  const size_t k = (w - 3) / 2;
  return std::string(text.substr(0, k)) + "..." + std::string(text.substr(text.size() - (k + 1)));
}

std::string MovementText(const TMovement& m, int width, bool originalArea) {
  std::string subject;
  if (!m.Elements) {
    subject = "<All Points>";
  } else if (!originalArea) {
    subject = "- Current -";
  } else {
    for (const TXRayElement* e : *m.Elements) subject += (subject.empty() ? "" : ", ") + e->Name;
  }
  const TFloatPoint centre = m.Centre.value_or(TFloatPoint{});
  std::string text;
  switch (m.Kind) {
    case mkTranslate:
    case mkTranslateAll:
      text = "Translate: dx: " + FormatSignificant(m.Dx / 10, 3) + ", dy: " + FormatSignificant(m.Dy / 10, 3);
      break;
    case mkRotate:
    case mkRotateAll:
      text = "Rotate: angle: " + FormatSignificant(RadToDeg(m.Angle), 3) + ", center at: " +
             FormatSignificant(centre.X, 4) + ", " + FormatSignificant(centre.Y, 4);
      break;
    case mkFlipVertical: text = "Flip Vertical"; break;
    case mkFlipHorizontal: text = "Flip Horizontal"; break;
    case mkScale: text = "Scale: " + FormatSignificant(m.Dx, 3); break;
  }
  return AbbreviateMiddle(text + ": " + subject, width);
}

}  // namespace lumacet
