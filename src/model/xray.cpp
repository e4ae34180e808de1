#include "model/xray.h"

#include <cassert>
#include <cmath>
#include <utility>

#include "model/xray_type.h"

namespace lumacet {

void CopyPointState(const TDigPoint& from, TDigPoint& to) {
  to.SetRaw(from.RawX(), from.RawY(), from.XSet(), from.YSet());
  to.NeedsPlacing = from.NeedsPlacing;
}

TXRay::TXRay() { RecordChange(true, "New."); }

TXRay::~TXRay() {
  if (fType != nullptr) fType->Detach(this);
}

void TXRay::SetType(TXRayType* type) {
  if (fType != nullptr) fType->Detach(this);
  fType = type;
  Selection.clear();
  if (fType != nullptr) fType->Attach(this);
  CreateLists();
  ResetAnalysisAndView();
}

void TXRay::CreateLists() {
  Coordinates.clear();
  Snakes.clear();
  if (fType == nullptr) return;
  for (const auto& element : fType->ElementList(ekDigPoint)) {
    auto point = std::make_unique<TDigPoint>(element->Name);
    Coordinates.push_back(std::move(point));
  }
  const auto& snakes = fType->ElementList(ekSnake);
  for (size_t i = 0; i < snakes.size(); ++i) {
    auto snake = std::make_unique<TDigSnake>();
    const TDigSnake& source = i < fType->TemplateSnakes.size() ? *fType->TemplateSnakes[i]
                                                               : *static_cast<TDigSnake*>(snakes[i].get());
    snake->CopyFrom(source);
    snake->Placed = false;
    Snakes.push_back(std::move(snake));
  }
}

void TXRay::LoadCoordinates() {
  if (fType == nullptr) return;
  const auto& snakes = fType->ElementList(ekSnake);
  const auto& ownSnakes = std::as_const(Snakes);
  for (size_t i = 0; i < snakes.size() && i < ownSnakes.size(); ++i) {
    auto* target = static_cast<TDigSnake*>(snakes[i].get());
    target->CopyFrom(*ownSnakes[i]);
    target->Placed = ownSnakes[i]->Placed;
  }
  const auto& points = fType->ElementList(ekDigPoint);
  const auto& coordinates = std::as_const(Coordinates);
  for (size_t i = 0; i < points.size(); ++i) {
    auto* target = static_cast<TDigPoint*>(points[i].get());
    if (i < coordinates.size()) {
      CopyPointState(*coordinates[i], *target);
    } else {
      target->SetValid(false);
    }
  }
  fType->Female = Female;
  fType->DateOfBirth = DateOfBirth;
  fType->DateTaken = DateTaken;
  TRadiograph::LoadCoordinates();
}

void TXRay::StoreCoordinates() {
  // The type's points may hold another radiograph's tracing: storing them would overwrite
  // this one's with it.
  assert(fType == nullptr || TypeHoldsThis());
  if (!TypeHoldsThis()) return;
  const auto& snakes = fType->ElementList(ekSnake);
  for (size_t i = 0; i < snakes.size() && i < Snakes.size(); ++i) {
    auto* source = static_cast<TDigSnake*>(snakes[i].get());
    Snakes[i]->CopyFrom(*source);
    Snakes[i]->Placed = source->Placed;
  }
  const auto& points = fType->ElementList(ekDigPoint);
  for (size_t i = 0; i < points.size() && i < Coordinates.size(); ++i)
    CopyPointState(*static_cast<TDigPoint*>(points[i].get()), *Coordinates[i]);
  RecordLoaded();  // the type and this radiograph agree again
}

std::string TXRay::Caption(const TTextFormats& formats) const {
  switch (formats.RadiographTitle) {
    case 1: return Initials();
    case 2: return Initials() + " " + AgeText(formats);
    case 3: return FormatDate(DateOfBirth, formats.ShortDateFormat);
    case 4: return FormatDate(DateTaken, formats.ShortDateFormat);
    case 5: return Comments;
    case 6: return AgeText(formats);
    case 7: return Initials() + " " + Comments;
    default: return Name;
  }
}

void TXRay::ScaleAll(double factor) {
  auto scale = [factor](TXRPoint& p) {
    if (p.XSet() && p.YSet()) p.SetRaw(p.RawX() * factor, p.RawY() * factor, true, true);
  };
  for (auto& p : Coordinates) scale(*p);
  for (auto& snake : Snakes)
    for (auto& p : snake->Points) scale(*p);
}

void TXRay::ScaleCoordinates(double factor) {
  if (!std::isfinite(factor)) return;
  ScaleAll(factor);
  LoadCoordinates();
}

void TXRay::CorrectMagnification() {
  if (MagnificationCorrected || Magnification <= -100) return;
  ScaleAll(100.0 / (Magnification + 100.0));
  MagnificationCorrected = true;
}

void TXRay::UncorrectMagnification() {
  if (!MagnificationCorrected) return;
  if (Magnification > -100) ScaleAll((Magnification + 100.0) / 100.0);
  MagnificationCorrected = false;
}

bool TXRay::SetMagnification(double percent) {
  if (!std::isfinite(percent) || percent <= -100) return false;
  if (MagnificationCorrected && percent != Magnification) {
    UncorrectMagnification();
    Magnification = percent;
    CorrectMagnification();
  }
  Magnification = percent;
  return true;
}

void TXRay::TransferCoordinates(const TXRay& reference) {
  if (fType == nullptr) return;
  for (TXRPoint* point : SelectedPoints()) {
    // Derived points and positions beyond either list have nothing to copy.
    if (point->KindCode() != ekDigPoint) continue;
    int index = fType->IndexOf(point);
    if (index < 0 || static_cast<size_t>(index) >= Coordinates.size() ||
        static_cast<size_t>(index) >= reference.Coordinates.size())
      continue;
    CopyPointState(*reference.Coordinates[index], *Coordinates[index]);
  }
  LoadCoordinates();
  RecordChange(true, "Transferred coordinates.");
}

void TXRay::AssignFrom(const TXRay& source) {
  if (&source == this) return;
  SetType(source.fType);
  DataFile = source.DataFile;
  Name = source.Name;
  Female = source.Female;
  DateOfBirth = source.DateOfBirth;
  DateTaken = source.DateTaken;
  Magnification = source.Magnification;
  Comments = source.Comments;
  ResetAnalysisAndView();
  MagnificationCorrected = source.MagnificationCorrected;
  for (size_t i = 0; i < Coordinates.size() && i < source.Coordinates.size(); ++i)
    CopyPointState(*source.Coordinates[i], *Coordinates[i]);
  for (size_t i = 0; i < Snakes.size() && i < source.Snakes.size(); ++i) {
    Snakes[i]->CopyFrom(*source.Snakes[i]);
    Snakes[i]->Placed = source.Snakes[i]->Placed;
  }
}

}  // namespace lumacet
