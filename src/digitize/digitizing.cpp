#include "digitize/digitizing.h"

#include <algorithm>
#include <cmath>

#include "digitize/snake_fit.h"
#include "geometry/plane_geometry.h"
#include "imaging/image_frame.h"
#include "model/kind_codes.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "simulation/movements.h"

namespace lumacet {

namespace {

// The automatic kinds are placed from snakes: every kind but "Normal" and "Preset".
bool IsAutomatic(const TDigPoint& point) { return point.Kind() >= 2 && point.Kind() < kDigPointKindCount; }

bool HasElements(const TXRProtocol& protocol, const TXRayType& type) {
  return std::any_of(protocol.Points.begin(), protocol.Points.end(), [&](const TXRayElement* e) {
    return e != nullptr && (e->KindCode() == ekDigPoint || e->KindCode() == ekSnake) && type.IndexOf(e) >= 0;
  });
}

// Automatic points bound by each other (Pog between B and Me, Me beside Pog) are placed
// one after the other, each against the present positions of the rest: marked all at once
// they read each other while being placed, and the cycle collapsed them onto one sample.
void PlaceAgain(const std::vector<TDigPoint*>& points) {
  for (TDigPoint* p : points)
    if (IsAutomatic(*p)) {
      p->Invalidate();
      p->Place();
    }
}

// Re-registration moves the tracing alone, whatever the lock of image to tracing says.
const TMovementOptions kUnlocked{.TracingLocked = false};

// Loads the radiograph into its type for an edit of the type's points and stores them after;
// the derived points and measurements are computed afresh from the new positions.
template <typename F>
void Edit(TXRay& xray, F&& edit) {
  const TLoadedRadiograph loaded = xray.Load();
  edit(*loaded.Type());
  xray.StoreCoordinates();
  loaded.Type()->InvalidateDerived();
  loaded.Type()->InvalidateVariables();
}

}  // namespace

TFloatPoint TTemplateGuess::Map(TFloatPoint p) const {
  const double u = (p.X - TemplateCentroid.X) / Scale, v = (p.Y - TemplateCentroid.Y) / Scale;
  const double c = std::cos(-Angle), s = std::sin(-Angle);
  return {RadiographCentroid.X + u * c - v * s, RadiographCentroid.Y + u * s + v * c};
}

TResultOf<std::unique_ptr<TDigitizing>> TDigitizing::Start(TXRay& xray, int mode) {
  TXRayType* type = xray.Type();
  if (type == nullptr) return TResult::Failure(LcText("Digitize", "The radiograph has no type to digitize."));
  bool usable = false;
  for (const auto& p : type->ElementList(ekProtocol)) usable = usable || HasElements(*static_cast<TXRProtocol*>(p.get()), *type);
  if (!usable)
    return TResult::Failure(
        TText(LcText("Digitize", "The radiograph type '%1' has no digitizing protocol with points or snakes."),
              {type->Name}));
  if (mode < dmFirstOrientation || mode > dmDigitizing) mode = dmDigitizing;
  std::unique_ptr<TDigitizing> digitizing(new TDigitizing(xray, mode));
  return digitizing;
}

TDigitizing::TDigitizing(TXRay& xray, int mode) : fXRay(xray), fMode(mode) {
  fXRay.Digitizing = true;
  // Digitizing always happens at image scale.
  fXRay.UncorrectMagnification();
  fPlacements.resize(fXRay.Type()->Count(ekDigPoint));
  const std::vector<TXRProtocol*> protocols = Protocols();
  for (std::size_t i = 0; i < protocols.size(); ++i)
    if (HasElements(*protocols[i], *fXRay.Type())) {
      fProtocol = i;
      break;
    }
  if (fMode == dmOriented) Proceed();
  Select(0);
}

TDigitizing::~TDigitizing() {
  if (!fEnded) fXRay.Digitizing = false;
}

std::vector<TXRProtocol*> TDigitizing::Protocols() const {
  std::vector<TXRProtocol*> protocols;
  for (const auto& p : fXRay.Type()->ElementList(ekProtocol)) protocols.push_back(static_cast<TXRProtocol*>(p.get()));
  return protocols;
}

TXRProtocol* TDigitizing::Protocol() const {
  const std::vector<TXRProtocol*> protocols = Protocols();
  return fProtocol < protocols.size() ? protocols[fProtocol] : nullptr;
}

TResult TDigitizing::SelectProtocol(std::size_t index) {
  const std::vector<TXRProtocol*> protocols = Protocols();
  if (index >= protocols.size() || !HasElements(*protocols[index], *fXRay.Type()))
    return TResult::Failure(LcText("Digitize", "The protocol has no points or snakes to digitize."));
  fProtocol = index;
  Select(0);
  return {};
}

std::vector<TXRayElement*> TDigitizing::Elements() const {
  std::vector<TXRayElement*> elements;
  const TXRProtocol* protocol = Protocol();
  if (protocol == nullptr) return elements;
  // A protocol read from a file may still name elements deleted since: they are skipped.
  for (TXRayElement* e : protocol->Points)
    if (e != nullptr && (e->KindCode() == ekDigPoint || e->KindCode() == ekSnake) && fXRay.Type()->IndexOf(e) >= 0)
      elements.push_back(e);
  return elements;
}

TXRayElement* TDigitizing::Selected() const {
  const std::vector<TXRayElement*> elements = Elements();
  return fElement < elements.size() ? elements[fElement] : nullptr;
}

TDigPoint* TDigitizing::SelectedPoint() const {
  TXRayElement* e = Selected();
  return e != nullptr && e->KindCode() == ekDigPoint ? static_cast<TDigPoint*>(e) : nullptr;
}

int TDigitizing::PointIndex(const TXRayElement* element) const {
  if (element == nullptr || element->KindCode() != ekDigPoint) return -1;
  const int index = fXRay.Type()->IndexOf(element);
  return index >= 0 && static_cast<std::size_t>(index) < fPlacements.size() ? index : -1;
}

void TDigitizing::Select(std::size_t index) {
  const std::size_t count = Elements().size();
  fElement = count == 0 ? 0 : index % count;
  if (Selected() != nullptr && Selected()->KindCode() == ekSnake) PlaceSelectedSnake();
}

void TDigitizing::Next() { Select(fElement + 1); }

void TDigitizing::Previous() {
  const std::size_t count = Elements().size();
  Select(count == 0 ? 0 : (fElement + count - 1) % count);
}

void TDigitizing::Proceed() {
  fMode = dmDigitizing;
  const TLoadedRadiograph loaded = fXRay.Load();
  const auto& points = loaded.Type()->ElementList(ekDigPoint);
  for (std::size_t i = 0; i < points.size() && i < fPlacements.size(); ++i) {
    auto* point = static_cast<TDigPoint*>(points[i].get());
    if (fPlacements[i].empty() && point->IsValid()) fPlacements[i].push_back({point->GetX(), point->GetY()});
  }
}

void TDigitizing::SetToMean(std::size_t pointIndex) {
  const std::vector<TFloatPoint>& list = fPlacements[pointIndex];
  Edit(fXRay, [&](TXRayType& type) {
    auto* point = type.Element<TDigPoint>(ekDigPoint, pointIndex);
    if (list.empty()) {
      point->SetValid(false);
      return;
    }
    double x = 0, y = 0;
    for (const TFloatPoint& p : list) {
      x += p.X;
      y += p.Y;
    }
    point->SetXY(x / static_cast<double>(list.size()), y / static_cast<double>(list.size()));
    point->NeedsPlacing = false;
  });
}

void TDigitizing::AdvanceIfAuto(TPlacement& placement) {
  const TXRProtocol* protocol = Protocol();
  if (protocol != nullptr && protocol->AutoAdvance) {
    Next();
    placement.Advanced = true;
  }
}

TFloatPoint TDigitizing::Spread() const {
  const int index = PointIndex(Selected());
  if (index < 0 || fPlacements[static_cast<std::size_t>(index)].empty()) return {};
  const std::vector<TFloatPoint>& list = fPlacements[static_cast<std::size_t>(index)];
  const auto [minX, maxX] = std::minmax_element(list.begin(), list.end(), [](auto a, auto b) { return a.X < b.X; });
  const auto [minY, maxY] = std::minmax_element(list.begin(), list.end(), [](auto a, auto b) { return a.Y < b.Y; });
  return {maxX->X - minX->X, maxY->Y - minY->Y};
}

TPlacement TDigitizing::AddPoint(double x, double y) {
  TPlacement placement;
  if (!std::isfinite(x) || !std::isfinite(y)) return placement;
  if (fMode == dmFirstOrientation || fMode == dmSecondOrientation) return Orient(x, y);
  if (fMode != dmDigitizing) return placement;
  const int index = PointIndex(SelectedPoint());
  if (index < 0) return placement;
  fPlacements[static_cast<std::size_t>(index)].push_back({x, y});
  fSteps.push_back({.Element = fElement, .Point = static_cast<std::size_t>(index)});
  SetToMean(static_cast<std::size_t>(index));
  placement.Placed = true;
  const TXRProtocol* protocol = Protocol();
  if (protocol != nullptr && protocol->BeepOnAdvance) placement.Beeps = 1;
  // A margin that is not a positive number checks nothing: every spread would exceed it.
  if (protocol != nullptr && std::isfinite(protocol->ErrorMargin) && protocol->ErrorMargin > 0) {
    const TFloatPoint spread = Spread();
    const double margin = 10 * protocol->ErrorMargin;
    if (spread.X > margin || spread.Y > margin) placement.Beeps += 2;
  }
  AdvanceIfAuto(placement);
  return placement;
}

TPlacement TDigitizing::Orient(double x, double y) {
  TPlacement placement;
  TDigPoint* point = SelectedPoint();
  if (point == nullptr) return placement;
  std::optional<TFloatPoint> at;
  {
    const TLoadedRadiograph loaded = fXRay.Load();
    at = loaded.Position(point);
  }
  if (!at) return placement;
  TMovement movement;
  if (fMode == dmFirstOrientation) {
    movement = {.Kind = mkTranslateAll, .Dx = x - at->X, .Dy = y - at->Y};
  } else {
    const double angle = AngleBetweenLines(fFirstOrientation, *at, fFirstOrientation, {x, y});
    movement = {.Kind = mkRotateAll, .Angle = angle, .Centre = fFirstOrientation};
  }
  if (!ApplyMovement(movement, fXRay, kUnlocked)) return placement;
  fOrientation.push_back(movement);
  if (fMode == dmFirstOrientation) fFirstOrientation = {x, y};
  ++fMode;
  placement.Placed = true;
  AdvanceIfAuto(placement);
  return placement;
}

TPlacement TDigitizing::DigitizeAt(double x, double y) {
  const TPlacement placement = AddPoint(x, y);
  if (placement.Placed) fXRay.RecordChange(true, "Digitized Point.");
  return placement;
}

bool TDigitizing::DeletePlacement() {
  const int index = PointIndex(SelectedPoint());
  if (index < 0 || fPlacements[static_cast<std::size_t>(index)].empty()) return false;
  fPlacements[static_cast<std::size_t>(index)].pop_back();
  const auto last = std::find_if(fSteps.rbegin(), fSteps.rend(), [&](const TStep& step) {
    return step.SnakeBefore == nullptr && step.Point == static_cast<std::size_t>(index);
  });
  if (last != fSteps.rend()) fSteps.erase(std::next(last).base());
  SetToMean(static_cast<std::size_t>(index));
  fXRay.RecordChange(true, "Deleted/Edited a Point.");
  return true;
}

TDigitizeStep TDigitizing::UndoStep() const {
  if (fMode == dmSecondOrientation || fMode == dmOriented)
    return fOrientation.empty() ? TDigitizeStep::Nothing : TDigitizeStep::Orientation;
  if (fMode != dmDigitizing || fSteps.empty() || fDrag) return TDigitizeStep::Nothing;
  return fSteps.back().SnakeBefore != nullptr ? TDigitizeStep::SnakeChange : TDigitizeStep::Placement;
}

bool TDigitizing::Undo() {
  switch (UndoStep()) {
    case TDigitizeStep::Nothing: return false;
    case TDigitizeStep::Orientation: return static_cast<bool>(Back());
    case TDigitizeStep::Placement:
    case TDigitizeStep::SnakeChange: break;
  }
  TStep step = std::move(fSteps.back());
  fSteps.pop_back();
  if (step.SnakeBefore != nullptr) {
    if (step.Snake >= fXRay.Type()->Count(ekSnake)) return false;
    Edit(fXRay, [&](TXRayType& type) { type.Element<TDigSnake>(ekSnake, step.Snake)->Assign(*step.SnakeBefore); });
  } else {
    std::vector<TFloatPoint>& list = fPlacements[step.Point];
    if (list.empty()) return false;
    list.pop_back();
    SetToMean(step.Point);
  }
  // Back to the element the step was made on, so that the next click does it again.
  const std::size_t count = Elements().size();
  fElement = count == 0 ? 0 : step.Element % count;
  fXRay.RecordChange(true, "Deleted/Edited a Point.");
  return true;
}

void TDigitizing::RotatePlacements() {
  const int index = PointIndex(SelectedPoint());
  if (index < 0) return;
  std::vector<TFloatPoint>& list = fPlacements[static_cast<std::size_t>(index)];
  if (list.size() > 1) std::rotate(list.begin(), list.begin() + 1, list.end());
}

const std::vector<TFloatPoint>& TDigitizing::Placements(std::size_t pointIndex) const {
  static const std::vector<TFloatPoint> kNone;
  return pointIndex < fPlacements.size() ? fPlacements[pointIndex] : kNone;
}

TResult TDigitizing::GetFromReference(TXRay* reference) {
  if (reference == nullptr || reference == &fXRay)
    return TResult::Failure(LcText("Digitize", "Could not get coordinates. No reference radiograph."));
  TDigPoint* point = SelectedPoint();
  if (point == nullptr) return TResult::Failure(LcText("Digitize", "Could not get coordinates. No points selected."));
  std::optional<TFloatPoint> at;
  if (reference->Type() != nullptr) {
    const TLoadedRadiograph loaded = reference->Load();
    at = loaded.Position(loaded.Find(point->Name, ekDigPoint));
  }
  if (!at)
    return TResult::Failure(TText(
        LcText("Digitize", "Could not get coordinates.\r\nPoint '%1' could not be found in reference radiograph."),
        {point->Name}));
  AddPoint(at->X, at->Y);
  return {};
}

TResult TDigitizing::Back() {
  if (fMode != dmSecondOrientation && fMode != dmOriented) return {};
  if (fOrientation.empty()) return {};
  if (TResult undone = RevertMovement(fOrientation.back(), fXRay, kUnlocked); !undone) return undone;
  fOrientation.pop_back();
  --fMode;
  return {};
}

std::optional<TTemplateGuess> GuessTemplate(TXRay& xray) {
  if (xray.Type() == nullptr) return std::nullopt;
  const TXRayType& type = *xray.Type();
  std::vector<std::pair<TFloatPoint, TFloatPoint>> pairs;  // radiograph, template
  {
    const TLoadedRadiograph loaded = xray.Load();
    const auto& points = type.ElementList(ekDigPoint);
    for (std::size_t i = 0; i < points.size() && i < type.TemplatePoints.size(); ++i) {
      const std::optional<TFloatPoint> r = loaded.Position(points[i].get());
      TXRPoint& t = *type.TemplatePoints[i];
      if (r && t.IsValid()) pairs.push_back({*r, {t.GetX(), t.GetY()}});
    }
  }
  if (pairs.size() < 2) return std::nullopt;
  TTemplateGuess guess;
  for (const auto& [r, t] : pairs) {
    guess.RadiographCentroid = {guess.RadiographCentroid.X + r.X, guess.RadiographCentroid.Y + r.Y};
    guess.TemplateCentroid = {guess.TemplateCentroid.X + t.X, guess.TemplateCentroid.Y + t.Y};
  }
  const double count = static_cast<double>(pairs.size());
  guess.RadiographCentroid = {guess.RadiographCentroid.X / count, guess.RadiographCentroid.Y / count};
  guess.TemplateCentroid = {guess.TemplateCentroid.X / count, guess.TemplateCentroid.Y / count};
  double sum = 0, a = 0, b = 0;
  for (const auto& [rp, tp] : pairs) {
    const double rx = rp.X - guess.RadiographCentroid.X, ry = rp.Y - guess.RadiographCentroid.Y;
    const double tx = tp.X - guess.TemplateCentroid.X, ty = tp.Y - guess.TemplateCentroid.Y;
    sum += rx * rx + ry * ry;
    a += tx * rx + ty * ry;
    b += ty * rx - tx * ry;
  }
  if (!(sum > 0)) return std::nullopt;
  a /= sum;
  b /= sum;
  guess.Scale = std::hypot(a, b);
  // atan2, not the principal value of b / a: right also for a film turned past a quarter.
  guess.Angle = std::atan2(b, a);
  if (!(guess.Scale > 0) || !std::isfinite(guess.Scale) || !std::isfinite(guess.Angle)) return std::nullopt;
  return guess;
}

bool PlaceSnakeAtGuess(TXRayType& type, std::size_t index, const TTemplateGuess& guess) {
  if (index >= type.Count(ekSnake) || index >= type.TemplateSnakes.size()) return false;
  auto* snake = type.Element<TDigSnake>(ekSnake, index);
  if (snake->Placed) return false;
  snake->CopyFrom(*type.TemplateSnakes[index]);
  for (auto& p : snake->Points)
    if (p->IsValid()) {
      const TFloatPoint at = guess.Map({p->GetX(), p->GetY()});
      p->SetXY(at.X, at.Y);
    }
  snake->Placed = false;
  return true;
}

TResultOf<std::vector<TFittedSnake>> FitSnakes(TXRay& xray, const TGreyPlane& plane,
                                               const std::vector<std::string>& names) {
  TXRayType* type = xray.Type();
  if (type == nullptr) return TResult::Failure(LcText("Digitize", "The radiograph has no type to digitize."));
  const TImageFrame frame = ImageFrameOf(xray);
  if (plane.Empty() || !(frame.PixelWidth > 0) || !(frame.PixelHeight > 0))
    return TResult::Failure(LcText("Digitize", "The snakes cannot be fitted: the radiograph has no image with a pixel size."));
  std::vector<std::size_t> chosen;
  for (const std::string& name : names) {
    const int index = type->IndexOf(type->FindElement(name, ekSnake));
    if (index < 0)
      return TResult::Failure(TText(LcText("Digitize", "The type has no snake named '%1'."), {name}));
    chosen.push_back(static_cast<std::size_t>(index));
  }
  if (names.empty())
    for (std::size_t i = 0; i < type->Count(ekSnake); ++i) chosen.push_back(i);
  const std::optional<TTemplateGuess> guess = GuessTemplate(xray);
  std::vector<TFittedSnake> fitted;
  Edit(xray, [&](TXRayType& t) {
    for (std::size_t index : chosen) {
      if (guess) PlaceSnakeAtGuess(t, index, *guess);
      auto* snake = t.Element<TDigSnake>(ekSnake, index);
      fitted.push_back({snake->Name, FitDigSnake(*snake, plane, frame)});
    }
    std::vector<TDigPoint*> points;
    for (const auto& e : t.ElementList(ekDigPoint)) {
      auto* point = static_cast<TDigPoint*>(e.get());
      const int snake = t.IndexOf(point->Operand(0));
      if (point->Operand(0) != nullptr && point->Operand(0)->KindCode() == ekSnake &&
          std::find(chosen.begin(), chosen.end(), static_cast<std::size_t>(snake)) != chosen.end())
        points.push_back(point);
    }
    PlaceAgain(points);
  });
  xray.RecordChange(true, "Digitized Point.");
  return fitted;
}

std::optional<TTemplateGuess> TDigitizing::Guess() const { return GuessTemplate(fXRay); }

std::optional<TFloatPoint> TDigitizing::GuessedPosition() const {
  const int index = PointIndex(SelectedPoint());
  const TXRayType& type = *fXRay.Type();
  if (index < 0 || static_cast<std::size_t>(index) >= type.TemplatePoints.size()) return std::nullopt;
  TXRPoint& t = *type.TemplatePoints[static_cast<std::size_t>(index)];
  const std::optional<TTemplateGuess> guess = Guess();
  if (!guess || !t.IsValid()) return std::nullopt;
  const TFloatPoint p = guess->Map({t.GetX(), t.GetY()});
  if (!std::isfinite(p.X) || !std::isfinite(p.Y)) return std::nullopt;
  return p;
}

void TDigitizing::PlaceSelectedSnake() {
  const int index = fXRay.Type()->IndexOf(Selected());
  const std::optional<TTemplateGuess> guess = Guess();
  if (index < 0 || !guess) return;
  Edit(fXRay, [&](TXRayType& type) { PlaceSnakeAtGuess(type, static_cast<std::size_t>(index), *guess); });
}

namespace {

std::unique_ptr<TDigSnake> Snapshot(const TDigSnake& snake) {
  auto copy = std::make_unique<TDigSnake>();
  copy->Assign(snake);
  return copy;
}

bool SamePoints(const TDigSnake& a, const TDigSnake& b) {
  if (a.Points.size() != b.Points.size()) return false;
  for (std::size_t i = 0; i < a.Points.size(); ++i) {
    TXROwnedPoint &p = *a.Points[i], &q = *b.Points[i];
    if (p.IsValid() != q.IsValid() || (p.IsValid() && (p.RawX() != q.RawX() || p.RawY() != q.RawY()))) return false;
  }
  return true;
}

// The centre of the bounding box of the valid points; nothing without one.
std::optional<TFloatPoint> BoxCentre(const TDigSnake& snake) {
  std::optional<TFloatPoint> low, high;
  for (const auto& p : snake.Points) {
    if (!p->IsValid()) continue;
    const TFloatPoint at{p->GetX(), p->GetY()};
    low = low ? TFloatPoint{std::min(low->X, at.X), std::min(low->Y, at.Y)} : at;
    high = high ? TFloatPoint{std::max(high->X, at.X), std::max(high->Y, at.Y)} : at;
  }
  if (!low) return std::nullopt;
  return TFloatPoint{(low->X + high->X) / 2, (low->Y + high->Y) / 2};
}

}  // namespace

void TDigitizing::KeepSnakeStep(std::size_t snake, std::unique_ptr<TDigSnake> before) {
  fSteps.push_back({.Element = fElement, .Snake = snake, .SnakeBefore = std::move(before)});
}

template <typename F>
bool TDigitizing::ChangeSnake(F&& change) {
  TXRayElement* selected = Selected();
  const int index = fXRay.Type()->IndexOf(selected);
  if (selected == nullptr || selected->KindCode() != ekSnake || index < 0) return false;
  auto* snake = static_cast<TDigSnake*>(selected);
  bool changed = false;
  std::unique_ptr<TDigSnake> before;
  Edit(fXRay, [&](TXRayType& type) {
    before = Snapshot(*snake);
    changed = change(type, *snake, static_cast<std::size_t>(index)) &&
              (!SamePoints(*before, *snake) || before->Placed != snake->Placed);
  });
  // Only digitizing proper is taken back step by step: the orientation's movements would
  // leave a snake's earlier state where the tracing no longer is.
  if (changed && fMode == dmDigitizing) KeepSnakeStep(static_cast<std::size_t>(index), std::move(before));
  return changed;
}

std::optional<std::vector<double>> TDigitizing::FitSnake(const TGreyPlane& plane) {
  std::optional<std::vector<double>> moved;
  if (fMode != dmDigitizing) return moved;
  const TImageFrame frame = ImageFrameOf(fXRay);
  ChangeSnake([&](TXRayType&, TDigSnake& snake, std::size_t) {
    moved = FitDigSnake(snake, plane, frame);
    return true;
  });
  if (moved) fXRay.RecordChange(true, "Digitized Point.");
  return moved;
}

void TDigitizing::ResetSnake() {
  if (fMode != dmDigitizing) return;
  ChangeSnake([&](TXRayType& type, TDigSnake& snake, std::size_t index) {
    if (index >= type.TemplateSnakes.size()) return false;
    snake.CopyFrom(*type.TemplateSnakes[index]);
    snake.Placed = false;
    return true;
  });
}

bool TDigitizing::SetHotZone(int millimetres) {
  TXRayElement* selected = Selected();
  if (millimetres < 1 || millimetres > 10 || selected == nullptr || selected->KindCode() != ekSnake) return false;
  Edit(fXRay, [&](TXRayType&) { static_cast<TDigSnake*>(selected)->HotZone = 10 * millimetres; });
  return true;
}

bool TDigitizing::SetPointCount(int count) {
  TXRayElement* selected = Selected();
  if (count < 3 || count > 100 || selected == nullptr || selected->KindCode() != ekSnake) return false;
  ChangeSnake([&](TXRayType&, TDigSnake& snake, std::size_t) {
    snake.Resample(count);
    return true;
  });
  return true;
}

bool TDigitizing::MoveSnakeTo(double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return false;
  return ChangeSnake([&](TXRayType&, TDigSnake& snake, std::size_t) {
    if (snake.Points.empty() || !snake.Points.front()->IsValid()) return false;
    snake.Translate(x - snake.Points.front()->GetX(), y - snake.Points.front()->GetY());
    snake.Placed = true;
    return true;
  });
}

bool TDigitizing::BeginSnakeDrag(TSnakeDrag kind, std::size_t point, TFloatPoint from) {
  fDrag.reset();
  TXRayElement* selected = Selected();
  const int index = fXRay.Type()->IndexOf(selected);
  if (fMode != dmDigitizing || selected == nullptr || selected->KindCode() != ekSnake || index < 0 ||
      !std::isfinite(from.X) || !std::isfinite(from.Y))
    return false;
  auto* snake = static_cast<TDigSnake*>(selected);
  [[maybe_unused]] const TLoadedRadiograph loaded = fXRay.Load();
  if (kind == TSnakeDrag::Point && (point >= snake->Points.size() || !snake->Points[point]->IsValid())) return false;
  const std::optional<TFloatPoint> centre = BoxCentre(*snake);
  if (!centre) return false;
  fDrag = TDrag{kind, static_cast<std::size_t>(index), point, from, *centre, Snapshot(*snake)};
  return true;
}

bool TDigitizing::DragSnake(TFloatPoint to) {
  if (!fDrag) return false;
  if (!std::isfinite(to.X) || !std::isfinite(to.Y) || fDrag->Snake >= fXRay.Type()->Count(ekSnake)) return true;
  Edit(fXRay, [&](TXRayType& type) {
    auto* snake = type.Element<TDigSnake>(ekSnake, fDrag->Snake);
    snake->Assign(*fDrag->Before);
    const TFloatPoint c = fDrag->Centre, from = fDrag->From;
    switch (fDrag->Kind) {
      case TSnakeDrag::Point:
        if (fDrag->Point < snake->Points.size()) snake->Points[fDrag->Point]->SetXY(to.X, to.Y);
        break;
      case TSnakeDrag::Translate: snake->Translate(to.X - from.X, to.Y - from.Y); break;
      case TSnakeDrag::Rotate:
        // The angle the pointer swept about the centre; none while it is on the centre.
        if (to != c && from != c)
          snake->Rotate(c.X, c.Y, std::atan2(to.Y - c.Y, to.X - c.X) - std::atan2(from.Y - c.Y, from.X - c.X));
        break;
    }
    snake->Placed = true;
  });
  return true;
}

bool TDigitizing::EndSnakeDrag(TFloatPoint to) {
  if (!fDrag) return false;
  DragSnake(to);
  TDrag drag = std::move(*fDrag);
  fDrag.reset();
  if (drag.Snake >= fXRay.Type()->Count(ekSnake)) return true;
  bool moved = false;
  Edit(fXRay, [&](TXRayType& type) {
    auto* snake = type.Element<TDigSnake>(ekSnake, drag.Snake);
    moved = !SamePoints(*drag.Before, *snake);
    // A press and release in one place leaves the snake as it was, not placed if it was not.
    if (!moved) snake->Assign(*drag.Before);
  });
  if (!moved) return true;
  fXRay.RecordChange(true, "Digitized Point.");
  KeepSnakeStep(drag.Snake, std::move(drag.Before));
  return true;
}

std::vector<TDigPoint*> TDigitizing::AutomaticPoints() const {
  std::vector<TDigPoint*> points;
  for (const auto& e : fXRay.Type()->ElementList(ekDigPoint))
    if (IsAutomatic(*static_cast<TDigPoint*>(e.get()))) points.push_back(static_cast<TDigPoint*>(e.get()));
  return points;
}

void TDigitizing::AutoLocate(const std::vector<TDigPoint*>& points) {
  Edit(fXRay, [&](TXRayType&) { PlaceAgain(points); });
}

void TDigitizing::AutoAll() {
  std::vector<TDigPoint*> unplaced;
  for (TDigPoint* p : AutomaticPoints()) {
    const int index = PointIndex(p);
    if (index >= 0 && fPlacements[static_cast<std::size_t>(index)].empty()) unplaced.push_back(p);
  }
  AutoLocate(unplaced);
}

void TDigitizing::ResetPointsLinkedToSnakes() {
  const std::vector<TDigPoint*> points = AutomaticPoints();
  for (TDigPoint* p : points) {
    const int index = PointIndex(p);
    if (index >= 0) fPlacements[static_cast<std::size_t>(index)].clear();
  }
  AutoLocate(points);
  fXRay.RecordChange(true, "Deleted/Edited a Point.");
}

TDigitizeStatistics TDigitizing::Statistics() const {
  TDigitizeStatistics statistics;
  const TLoadedRadiograph loaded = fXRay.Load();
  const auto& points = loaded.Type()->ElementList(ekDigPoint);
  std::vector<std::pair<std::string, TFloatPoint>> valid;
  for (std::size_t i = 0; i < points.size(); ++i) {
    ++statistics.Total;
    const std::optional<TFloatPoint> at = loaded.Position(points[i].get());
    if (i < fPlacements.size() && !fPlacements[i].empty()) {
      ++statistics.Digitized;
    } else if (at) {
      ++statistics.AutoLocated;
    } else {
      ++statistics.Missing;
    }
    if (at) valid.emplace_back(points[i]->Name, *at);
  }
  for (std::size_t i = 0; i < valid.size(); ++i)
    for (std::size_t j = i + 1; j < valid.size(); ++j)
      if (valid[i].second == valid[j].second) statistics.CoincidentPairs.push_back(valid[i].first + " - " + valid[j].first);
  return statistics;
}

void TDigitizing::End(bool showLifeSize) {
  fEnded = true;
  fXRay.Digitizing = false;
  if (showLifeSize) fXRay.CorrectMagnification();
  fXRay.LoadCoordinates();
}

}  // namespace lumacet
