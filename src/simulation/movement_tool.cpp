#include "simulation/movement_tool.h"

#include <cmath>

#include "geometry/plane_geometry.h"
#include "measure/number_format.h"
#include "model/radiograph.h"
#include "model/xray_type.h"
#include "simulation/movement_log.h"
#include "simulation/vto.h"
#include "support/user_numbers.h"

namespace lumacet {

namespace {

// The display's extent: no typed shift and no scaled tracing may go beyond it.
constexpr double kDisplayExtent = 3000;
// A typed rotation centre farther than this (100 m) is a slip of the keyboard.
constexpr double kFarthestCentre = 1e6;

// Whole millimetres; halves go to the even multiple, as the processor rounds by default.
double SnapUnits(double units) { return std::nearbyint(units / 10) * 10; }

double SnapAngle(double radians) { return DegToRad(std::nearbyint(RadToDeg(radians))); }

TFloatPoint Rounded(TFloatPoint p) {
  const TIntPoint r = RoundSaturated(p);
  return {static_cast<double>(r.X), static_cast<double>(r.Y)};
}

TResult BadNumber(std::string_view field) {
  return TResult::Failure(
      TText(LcText("Movements", "Bad input.\r\n\r\n%1 is not a valid number."), {std::string(field)}));
}

TResultOf<double> ReadField(std::string_view text, std::string_view field, char separator) {
  const std::optional<double> value = ReadTypedNumber(text, separator);
  if (!value || !std::isfinite(*value)) return BadNumber(field);
  return *value;
}

TResultOf<double> ReadShift(std::string_view text, std::string_view field, char separator) {
  TResultOf<double> millimetres = ReadField(text, field, separator);
  if (!millimetres) return millimetres;
  if (std::abs(*millimetres) * 10 > kDisplayExtent)
    return TResult::Failure(TText(
        LcText("Movements", "Bad input.\r\n\r\n%1 moves the points beyond the display (at most 300 mm)."),
        {std::string(field)}));
  return *millimetres * 10;
}

// Every point whose position a movement may change, in the type's order.
std::vector<TXRPoint*> PositionedPoints(const TXRayType& type) {
  std::vector<TXRPoint*> points;
  for (const auto& e : type.ElementList(ekDigPoint)) points.push_back(static_cast<TXRPoint*>(e.get()));
  for (const auto& e : type.ElementList(ekSnake))
    for (TXRPoint* point : static_cast<TDigSnake*>(e.get())->PointList()) points.push_back(point);
  return points;
}

void PerformInduced(TRadiograph& radiograph, const TMovement& movement, const TMovementOptions& options) {
  if (!options.AutoVto) return;
  for (const TMovement& m : InducedMovements(radiograph, movement))
    static_cast<void>(ApplyMovement(m, radiograph, options));
}

}  // namespace

bool TMovementTool::Begin(TRadiograph& radiograph, TFloatPoint at, TDragMode mode, TXRayElement* marker) {
  if (Dragging() || mode == TDragMode::None || radiograph.Type() == nullptr) return false;
  fStart = fLast = Rounded(at);
  fAngle = 0;
  if (mode == TDragMode::Centre) {
    fMode = mode;
    return true;
  }
  if (marker != nullptr) {
    fSavedSelection = radiograph.Selection;
    radiograph.Selection = {marker};
  }
  if (radiograph.Selection.empty()) {
    fSavedSelection.reset();
    return false;
  }
  fMode = mode;
  const TLoadedRadiograph loaded = radiograph.Load();
  fRevert.clear();
  for (TXRPoint* point : PositionedPoints(*loaded.Type()))
    if (point->IsValid()) fRevert.push_back({point, {point->GetX(), point->GetY()}});
  fHistoryWasEnabled = radiograph.HistoryEnabled;
  radiograph.HistoryEnabled = false;
  return true;
}

void TMovementTool::Restore(TRadiograph& radiograph) {
  // Painting loads every shown radiograph in turn: the type may hold another one's points.
  radiograph.LoadIfStale();
  for (const TSaved& saved : fRevert) saved.Point->SetXY(saved.At.X, saved.At.Y);
  radiograph.StoreCoordinates();
}

TMovement TMovementTool::Total() const {
  TMovement m;
  if (fMode == TDragMode::Rotate) {
    m.Kind = mkRotate;
    m.Angle = fAngle;
    m.Centre = RotationCentre;
  } else {
    m.Kind = mkTranslate;
    m.Dx = fLast.X - fStart.X;
    m.Dy = fLast.Y - fStart.Y;
  }
  return m;
}

bool TMovementTool::Step(TRadiograph& radiograph, TFloatPoint at, const TDragOptions& options) {
  const TFloatPoint q = Rounded(at);
  switch (fMode) {
    case TDragMode::None: return false;
    case TDragMode::Centre:
      fLast = q;
      return true;
    case TDragMode::Rotate: {
      double step = AngleBetweenLines(RotationCentre, fLast, RotationCentre, q);
      if (options.Snap) step = SnapAngle(step);
      if (step == 0 || !std::isfinite(step)) return false;
      fAngle += step;
      fLast = q;  // a step snapped to nothing keeps the last point, so slow drags add up
      break;
    }
    case TDragMode::Translate:
    case TDragMode::Marker: {
      double sx = q.X - fLast.X;
      double sy = q.Y - fLast.Y;
      if (options.Constraint == TTranslateConstraint::AlongX) sy = 0;
      if (options.Constraint == TTranslateConstraint::AlongY) sx = 0;
      if (options.Snap) {
        sx = SnapUnits(sx);
        sy = SnapUnits(sy);
      }
      if (sx == 0 && sy == 0) return false;
      fLast = {fLast.X + sx, fLast.Y + sy};
      break;
    }
  }
  Restore(radiograph);
  TMovement m = Total();
  if (!ApplyMovement(m, radiograph, options.Movement)) return false;
  PerformInduced(radiograph, m, options.Movement);
  return true;
}

void TMovementTool::Finish(TRadiograph& radiograph) {
  if (fSavedSelection) radiograph.Selection = std::move(*fSavedSelection);
  fSavedSelection.reset();
  fRevert.clear();
  fMode = TDragMode::None;
}

TResult TMovementTool::End(TRadiograph& radiograph, const TDragOptions& options) {
  if (!Dragging()) return {};
  if (fMode == TDragMode::Centre) {
    RotationCentre = fLast;
    Finish(radiograph);
    return {};
  }
  Restore(radiograph);
  radiograph.HistoryEnabled = fHistoryWasEnabled;
  TMovement m = Total();
  m.Elements = radiograph.Selection;
  TResult done = DoTheMovement(radiograph, m, options.Movement);
  Finish(radiograph);
  return done;
}

void TMovementTool::Cancel(TRadiograph& radiograph, const TMovementOptions& options) {
  if (!Dragging()) return;
  if (fMode != TDragMode::Centre) {
    Restore(radiograph);
    // A null movement of the whole tracing has everything computed from the restored points.
    static_cast<void>(ApplyMovement(TMovement{.Kind = mkTranslateAll}, radiograph, options));
    radiograph.HistoryEnabled = fHistoryWasEnabled;
  }
  Finish(radiograph);
}

std::string TMovementTool::Status(char separator, bool redrawHint) const {
  auto mm = [separator](double units) { return FormatNumber(units / 10, "0.##", separator); };
  std::string text;
  switch (fMode) {
    case TDragMode::None: return {};
    case TDragMode::Centre: return " x: " + mm(fLast.X) + " y: " + mm(fLast.Y);
    case TDragMode::Rotate: text = " angle: " + FormatNumber(RadToDeg(fAngle), "0.##", separator) + "\u00B0"; break;
    default: {
      const TMovement m = Total();
      text = " dx: " + mm(m.Dx) + " mm  dy: " + mm(m.Dy) + " mm   dist: " + mm(std::hypot(m.Dx, m.Dy)) + " mm";
    }
  }
  if (redrawHint) text += "   (Right-click to redraw)";
  return text;
}

TMovement KeyboardMovement(TArrowKey key, bool rotate, bool ctrl, bool shift, TFloatPoint centre) {
  const double multiplier = ctrl ? 0.1 : shift ? 10 : 1;
  const bool backwards = key == TArrowKey::Left || key == TArrowKey::Up;
  if (rotate) return {.Kind = mkRotate, .Angle = DegToRad(backwards ? -multiplier : multiplier), .Centre = centre};
  const double step = 10 * multiplier * (backwards ? -1 : 1);
  const bool horizontal = key == TArrowKey::Left || key == TArrowKey::Right;
  return {.Kind = mkTranslate, .Dx = horizontal ? step : 0, .Dy = horizontal ? 0 : step};
}

TResultOf<TMovement> TypedTranslation(std::string_view dx, std::string_view dy, char separator) {
  const TResultOf<double> x = ReadShift(dx, "dX", separator);
  if (!x) return x.Outcome();
  const TResultOf<double> y = ReadShift(dy, "dY", separator);
  if (!y) return y.Outcome();
  return TMovement{.Kind = mkTranslate, .Dx = *x, .Dy = *y};
}

TResultOf<TMovement> TypedRotation(std::string_view degrees, TFloatPoint centre, char separator) {
  const TResultOf<double> angle = ReadField(degrees, "Angle", separator);
  if (!angle) return angle.Outcome();
  // 370 degrees turn the points where 10 do.
  return TMovement{.Kind = mkRotate, .Angle = DegToRad(std::fmod(*angle, 360.0)), .Centre = centre};
}

TResultOf<TFloatPoint> TypedCentre(std::string_view x, std::string_view y, char separator) {
  const TResultOf<double> cx = ReadField(x, "X", separator);
  if (!cx) return cx.Outcome();
  const TResultOf<double> cy = ReadField(y, "Y", separator);
  if (!cy) return cy.Outcome();
  if (std::abs(*cx) > kFarthestCentre || std::abs(*cy) > kFarthestCentre)
    return TResult::Failure(LcText("Movements", "Bad input.\r\n\r\nThe rotation centre lies too far away."));
  return Rounded({*cx, *cy});
}

TResultOf<double> TypedScaleFactor(std::string_view factor, char separator) {
  const TResultOf<double> value = ReadField(factor, "Other", separator);
  if (!value) return value;
  // 0 or below would collapse or mirror the tracing beyond any undo.
  if (*value <= 0) return TResult::Failure(LcText("Movements", "Bad input.\r\n\r\nThe factor must be greater than 0."));
  return *value;
}

bool ScaleExceedsDisplay(TRadiograph& radiograph, double factor) {
  const TIntRect bounds = radiograph.DigitizedBounds();
  const double width = std::abs(static_cast<double>(bounds.Right) - bounds.Left);
  const double height = std::abs(static_cast<double>(bounds.Bottom) - bounds.Top);
  return std::max(width, height) * factor > kDisplayExtent;
}

TResult ScaleTracing(TRadiograph& radiograph, double factor, const TMovementOptions& options) {
  const TMovement m{.Kind = mkScale, .Dx = factor};
  if (TResult done = ApplyMovement(m, radiograph, options); !done) return done;
  AddMovement(radiograph, m, options);
  return {};
}

TResult FlipSelection(TRadiograph& radiograph, bool vertical, const TMovementOptions& options) {
  TResultOf<TMovement> flip = FlipMovement(radiograph, vertical);
  if (!flip) return flip.Outcome();
  if (TResult done = ApplyMovement(*flip, radiograph, options); !done) return done;
  AddMovement(radiograph, *flip, options);
  return {};
}

}  // namespace lumacet
