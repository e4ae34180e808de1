#include "model/point_elements.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_set>

#include "geometry/point_lists.h"
#include "model/constructions.h"
#include "model/kind_tables.h"
#include "model/list_elements.h"
#include "model/point_geometry.h"

namespace lumacet {

namespace {

bool IsComputablePoint(const TXRayElement* e) {
  return dynamic_cast<const TDigPoint*>(e) != nullptr || dynamic_cast<const TDerPoint*>(e) != nullptr;
}

// The elements whose positions a point reads: point operands, and the members of drawing
// operands (an "Average" reads every point of its drawing).
std::vector<TXRayElement*> PointInputs(TXRayElement* point) {
  std::vector<TXRayElement*> inputs;
  if (auto* dig = dynamic_cast<TDigPoint*>(point)) {
    for (int i = 0; i < TDigPoint::kOperandCount; ++i)
      if (IsComputablePoint(dig->Operand(i))) inputs.push_back(dig->Operand(i));
  } else if (auto* der = dynamic_cast<TDerPoint*>(point)) {
    for (int i = 0; i < der->OperandCount(); ++i) {
      TXRayElement* op = der->Operand(i);
      if (auto* graphic = dynamic_cast<TXRGraphic*>(op)) {
        for (TXRayElement* member : graphic->Points)
          if (IsComputablePoint(member)) inputs.push_back(member);
      } else if (IsComputablePoint(op)) {
        inputs.push_back(op);
      }
    }
  }
  return inputs;
}

// Depth-first search that visits each element once, so diamonds stay linear and cycles
// that do not pass through the target end.
bool Reaches(TXRayElement* from, const TXRPoint* target, std::unordered_set<const TXRayElement*>& seen) {
  if (from == target) return true;
  if (!seen.insert(from).second) return false;
  for (TXRayElement* next : PointInputs(from))
    if (Reaches(next, target, seen)) return true;
  return false;
}

bool DependsThroughOperands(TXRPoint& self, const TXRPoint* target) {
  if (target == nullptr) return false;
  std::unordered_set<const TXRayElement*> seen{&self};
  for (TXRayElement* next : PointInputs(&self))
    if (Reaches(next, target, seen)) return true;
  return false;
}

}  // namespace

// ---- TXROwnedPoint ---------------------------------------------------------------

std::unique_ptr<TXRayElement> TXROwnedPoint::Create() const { return std::make_unique<TXROwnedPoint>("", nullptr); }

// ---- TDigPoint ---------------------------------------------------------------------

std::unique_ptr<TXRayElement> TDigPoint::Create() const { return std::make_unique<TDigPoint>(); }

void TDigPoint::Assign(const TXRayElement& source) {
  TXRPoint::Assign(source);
  const auto* s = dynamic_cast<const TDigPoint*>(&source);
  if (s == nullptr) return;
  fKind = s->fKind;
  fOperands = s->fOperands;
  NeedsPlacing = s->NeedsPlacing;
  SearchRange = s->SearchRange;
  CursorOnly = s->CursorOnly;
  SearchAngle = s->SearchAngle;
  Transition = s->Transition;
  LockBias = s->LockBias;
  DirectionPoint1 = s->DirectionPoint1;
  DirectionPoint2 = s->DirectionPoint2;
  Parameter1 = s->Parameter1;
  Parameter2 = s->Parameter2;
  Description = s->Description;
  HintDrawing = s->HintDrawing;
}

void TDigPoint::VisitReferences(const TReferenceVisitor& visit) {
  for (int i = 0; i < kOperandCount; ++i) visit(fOperands[i], SlotClass(i));
  visit(DirectionPoint1, ekAnyPoint);
  visit(DirectionPoint2, ekAnyPoint);
  visit(HintDrawing, ekGraphic);
}

int TDigPoint::IconIndex() const { return DigPointKind(fKind).Icon; }

int TDigPoint::SlotClass(int slot) const { return DigPointKind(fKind).Slots[slot]; }

TOperandSlots TDigPoint::Slots() { return {fOperands, DigPointKind(fKind).Slots}; }

void TDigPoint::SetKind(int kind) {
  if (kind < 0 || kind >= kDigPointKindCount) return;
  fKind = kind;
  Slots().DropMisfits();
  NeedsPlacing = true;
}

bool TDigPoint::SetOperand(int slot, TXRayElement* element) {
  if (!Slots().Set(slot, element)) return false;
  NeedsPlacing = true;
  return true;
}

void TDigPoint::ClearOperand(int slot) {
  if (Slots().Clear(slot)) NeedsPlacing = true;
}

void TDigPoint::Place() {
  if (!NeedsPlacing || fEvaluating || TEvaluationGuard::TooDeep()) return;
  TEvaluationGuard guard(fEvaluating);
  switch (static_cast<TDigPointKind>(fKind)) {
    case TDigPointKind::Normal:
      NeedsPlacing = false;
      return;
    case TDigPointKind::Preset:
      SetXY(Parameter1, Parameter2);
      NeedsPlacing = false;
      return;
    default: {
      TPlacement placement = PlaceAutomaticPoint(*this);
      switch (placement.Outcome) {
        case TPlacementOutcome::Unplaced:
          return;  // stays marked: placed once its snake is
        case TPlacementOutcome::Kept:
          break;
        case TPlacementOutcome::Invalid:
          SetValid(false);
          break;
        case TPlacementOutcome::Moved:
          SetXY(placement.At.X, placement.At.Y);
          break;
      }
      NeedsPlacing = TEvaluationGuard::ChainCutShort();
      return;
    }
  }
}

double TDigPoint::GetX() {
  Place();
  return fX;
}

double TDigPoint::GetY() {
  Place();
  return fY;
}

bool TDigPoint::IsValid() {
  Place();
  return !fEvaluating && TXRPoint::IsValid();
}

bool TDigPoint::DependsOn(const TXRPoint* point) { return DependsThroughOperands(*this, point); }

// ---- TDerPoint ---------------------------------------------------------------------

std::unique_ptr<TXRayElement> TDerPoint::Create() const { return std::make_unique<TDerPoint>(); }

void TDerPoint::Assign(const TXRayElement& source) {
  TXRPoint::Assign(source);
  const auto* s = dynamic_cast<const TDerPoint*>(&source);
  if (s == nullptr) return;
  fKind = s->fKind;
  fOperands = s->fOperands;
  fParameter1 = s->fParameter1;
  fParameter2 = s->fParameter2;
  fNeedsComputing = true;
}

void TDerPoint::VisitReferences(const TReferenceVisitor& visit) {
  for (int i = 0; i < kOperandCount; ++i) visit(fOperands[i], SlotClass(i));
}

int TDerPoint::IconIndex() const { return DerPointKind(fKind).Icon; }

int TDerPoint::SlotClass(int slot) const { return DerPointKind(fKind).Slots[slot]; }

int TDerPoint::OperandCount() const { return CountUsedSlots(DerPointKind(fKind).Slots, kOperandCount); }

TOperandSlots TDerPoint::Slots() { return {fOperands, DerPointKind(fKind).Slots}; }

void TDerPoint::SetKind(int kind) {
  if (kind < 0 || kind >= kDerPointKindCount) return;
  fKind = kind;
  Slots().DropMisfits();
  fNeedsComputing = true;
}

bool TDerPoint::SetOperand(int slot, TXRayElement* element) {
  if (!Slots().Set(slot, element)) return false;
  fNeedsComputing = true;
  return true;
}

void TDerPoint::ClearOperand(int slot) {
  if (Slots().Clear(slot)) fNeedsComputing = true;
}

void TDerPoint::SetParameters(double p1, double p2) {
  fParameter1 = p1;
  fParameter2 = p2;
  fNeedsComputing = true;
}

void TDerPoint::Compute() {
  if (!fNeedsComputing || fEvaluating) return;
  if (TEvaluationGuard::TooDeep()) {
    SetValid(false);  // still marked: a shallower read computes it
    return;
  }
  TEvaluationGuard guard(fEvaluating);
  SetValid(false);
  for (int i = 0; i < OperandCount(); ++i)
    if (fOperands[i] == nullptr) return;  // stays marked: the next read tries again
  double x = 0, y = 0;
  if (ConstructDerivedPoint(*this, x, y) && std::isfinite(x) && std::isfinite(y)) SetRaw(x, y, true, true);
  fNeedsComputing = TEvaluationGuard::ChainCutShort();
}

double TDerPoint::GetX() {
  Compute();
  return fX;
}

double TDerPoint::GetY() {
  Compute();
  return fY;
}

bool TDerPoint::IsValid() {
  Compute();
  return !fEvaluating && TXRPoint::IsValid();
}

bool TDerPoint::DependsOn(const TXRPoint* point) { return DependsThroughOperands(*this, point); }

// ---- TDigSnake ---------------------------------------------------------------------

std::unique_ptr<TXRayElement> TDigSnake::Create() const { return std::make_unique<TDigSnake>(); }

void TDigSnake::Assign(const TXRayElement& source) {
  if (const auto* s = dynamic_cast<const TDigSnake*>(&source)) {
    CopyFrom(*s);
    Placed = s->Placed;
  } else {
    TXRayElement::Assign(source);
  }
}

void TDigSnake::CopyFrom(const TDigSnake& source) {
  if (&source == this) return;
  Name = source.Name;
  Description = source.Description;
  HotZone = source.HotZone;
  Transition = source.Transition;
  LockBias = source.LockBias;
  // The points keep their identity where both snakes have one: other elements and readers
  // of a loaded radiograph refer to them, and loading copies snakes every time.
  if (Points.size() > source.Points.size()) Points.resize(source.Points.size());
  for (std::size_t i = 0; i < source.Points.size(); ++i) {
    const TXROwnedPoint& from = *source.Points[i];
    const bool valid = from.XSet() && from.YSet();
    if (i == Points.size()) {
      AddPoint(from.RawX(), from.RawY(), valid);
    } else {
      NameGeneratedPoint(Points[i]->Name, i);
      Points[i]->SetRaw(from.RawX(), from.RawY(), valid, valid);
    }
  }
}

std::string TDigSnake::GeneratedPointName(std::size_t index) const {
  std::string name;
  NameGeneratedPoint(name, index);
  return name;
}

void TDigSnake::NameGeneratedPoint(std::string& name, std::size_t index) const {
  // Loading copies every snake point by point: the name is written into the string the point
  // has, without formatting through the C library or a new allocation.
  char digits[24];
  const auto written = std::to_chars(std::begin(digits), std::end(digits), index);
  name.assign("Point ");
  name.append(digits, written.ptr);
  name.append(" on ");
  name.append(Name);
}

TXROwnedPoint& TDigSnake::AddPoint(double x, double y, bool valid, const std::string& name) {
  auto point = std::make_unique<TXROwnedPoint>(name.empty() ? GeneratedPointName(Points.size()) : name, this);
  point->SetRaw(x, y, valid, valid);
  Points.push_back(std::move(point));
  return *Points.back();
}

void TDigSnake::Resample(int count) {
  if (Points.size() <= 2) return;
  // Dense enough that one sample per tracing unit never shows as a corner.
  const std::vector<TFloatPoint> samples = SmoothPoints(PointList(), 1);
  if (samples.size() < 2) return;
  if (count > 2 && static_cast<std::size_t>(count) != Points.size()) {
    const std::size_t wanted = std::min(static_cast<std::size_t>(count), samples.size());
    if (Points.size() > wanted) Points.resize(wanted);
    while (Points.size() < wanted) AddPoint(0, 0, true);
  }
  const std::size_t n = samples.size();
  const std::size_t c = Points.size();
  for (std::size_t i = 1; i + 1 < c; ++i) {
    const double at = std::nearbyint(static_cast<double>(i) * static_cast<double>(n) / static_cast<double>(c - 1));
    const TFloatPoint& sample = samples[std::min(static_cast<std::size_t>(at), n - 1)];
    Points[i]->SetRaw(sample.X, sample.Y, true, true);
  }
  Points[c - 1]->SetRaw(samples.back().X, samples.back().Y, true, true);
}

std::vector<TXRPoint*> TDigSnake::PointList() const {
  std::vector<TXRPoint*> list;
  list.reserve(Points.size());
  for (const auto& p : Points) list.push_back(p.get());
  return list;
}

void TDigSnake::Translate(double dx, double dy) { TranslatePoints(PointList(), dx, dy); }

void TDigSnake::Rotate(double cx, double cy, double angle) { RotatePoints(PointList(), angle, cx, cy); }

void TDigSnake::Scale(double factor) { ScalePoints(PointList(), factor); }

// ---- editing with the cycle check --------------------------------------------------

std::string CircularReferenceMessage(const std::string& name) {
  return "Circular reference detected.\r\n\r\nYou attempted to derive '" + name + "' using itself.";
}

namespace {

template <class TPoint>
bool SetOperandRefusingCycles(TPoint& point, int slot, TXRayElement* element, std::string& message) {
  message.clear();
  if (!point.SetOperand(slot, element)) return false;
  if (point.DependsOn(&point)) {
    point.ClearOperand(slot);
    message = CircularReferenceMessage(point.Name);
    return false;
  }
  return true;
}

}  // namespace

bool SetCheckedOperand(TDigPoint& point, int slot, TXRayElement* element, std::string& message) {
  return SetOperandRefusingCycles(point, slot, element, message);
}

bool SetCheckedOperand(TDerPoint& point, int slot, TXRayElement* element, std::string& message) {
  return SetOperandRefusingCycles(point, slot, element, message);
}

}  // namespace lumacet
