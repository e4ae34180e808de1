#include "model/list_elements.h"

#include <algorithm>
#include <unordered_set>

#include "model/kind_tables.h"
#include "model/point_elements.h"
#include "model/radiograph.h"

namespace lumacet {

namespace {

void VisitList(std::vector<TXRayElement*>& list, int code, const TXRayElement::TReferenceVisitor& visit) {
  for (auto& entry : list) visit(entry, code);
}

void EraseEmpty(std::vector<TXRayElement*>& list) { std::erase(list, nullptr); }

}  // namespace

// ---- TXRPointElement ---------------------------------------------------------------

void TXRPointElement::Assign(const TXRayElement& source) {
  TXRayElement::Assign(source);
  if (const auto* s = dynamic_cast<const TXRPointElement*>(&source)) Points = s->Points;
}

void TXRPointElement::VisitReferences(const TReferenceVisitor& visit) { VisitList(Points, MemberCode(), visit); }

void TXRPointElement::DropEmptyEntries() { EraseEmpty(Points); }

// ---- groups, protocols -------------------------------------------------------------

std::unique_ptr<TXRayElement> TArea::Create() const { return std::make_unique<TArea>(); }

std::unique_ptr<TXRayElement> TXRProtocol::Create() const { return std::make_unique<TXRProtocol>(); }

void TXRProtocol::Assign(const TXRayElement& source) {
  TXRPointElement::Assign(source);
  if (const auto* s = dynamic_cast<const TXRProtocol*>(&source)) {
    AutoAdvance = s->AutoAdvance;
    BeepOnAdvance = s->BeepOnAdvance;
    ErrorMargin = s->ErrorMargin;
  }
}

// ---- TXRGraphic --------------------------------------------------------------------

std::unique_ptr<TXRayElement> TXRGraphic::Create() const { return std::make_unique<TXRGraphic>(); }

void TXRGraphic::Assign(const TXRayElement& source) {
  TXRPointElement::Assign(source);
  const auto* s = dynamic_cast<const TXRGraphic*>(&source);
  if (s == nullptr) return;
  fKind = s->fKind;
  DrawOption = s->DrawOption;
  Colour = s->Colour;
  PenStyle = s->PenStyle;
  BrushStyle = s->BrushStyle;
  Opaque = s->Opaque;
  LineWidth = s->LineWidth;
  Size = s->Size;
  ColourVariable = s->ColourVariable;
  UseForMorphing = s->UseForMorphing;
  MarkerShape = s->MarkerShape;
}

void TXRGraphic::VisitReferences(const TReferenceVisitor& visit) {
  TXRPointElement::VisitReferences(visit);
  visit(ColourVariable, ekVariable);
}

int TXRGraphic::MemberCode() const { return IsPcaGraphicKind(fKind) ? ekPCA : ekAnyPoint; }

void TXRGraphic::SetKind(int kind) {
  if (kind < 0 || kind >= kGraphicKindCount) return;
  if (IsPcaGraphicKind(kind) != IsPcaGraphicKind(fKind)) Points.clear();
  fKind = kind;
}

// ---- analyses and views ------------------------------------------------------------

std::unique_ptr<TXRayElement> TXRAnalysis::Create() const { return std::make_unique<TXRAnalysis>(); }

void TXRAnalysis::Assign(const TXRayElement& source) {
  TXRPointElement::Assign(source);
  if (const auto* s = dynamic_cast<const TXRAnalysis*>(&source)) Graphics = s->Graphics;
}

void TXRAnalysis::VisitReferences(const TReferenceVisitor& visit) {
  TXRPointElement::VisitReferences(visit);
  VisitList(Graphics, ekGraphic, visit);
}

void TXRAnalysis::DropEmptyEntries() {
  TXRPointElement::DropEmptyEntries();
  EraseEmpty(Graphics);
}

std::unique_ptr<TXRayElement> TXRView::Create() const { return std::make_unique<TXRView>(); }

void TXRView::Assign(const TXRayElement& source) {
  TXRPointElement::Assign(source);
  if (const auto* s = dynamic_cast<const TXRView*>(&source)) Variables = s->Variables;
}

void TXRView::VisitReferences(const TReferenceVisitor& visit) {
  TXRPointElement::VisitReferences(visit);
  VisitList(Variables, ekVariable, visit);
}

void TXRView::DropEmptyEntries() {
  TXRPointElement::DropEmptyEntries();
  EraseEmpty(Variables);
}

// ---- relationships -----------------------------------------------------------------

std::unique_ptr<TXRayElement> TXRHardSoft::Create() const { return std::make_unique<TXRHardSoft>(); }

void TXRHardSoft::Assign(const TXRayElement& source) {
  TXRPointElement::Assign(source);
  const auto* s = dynamic_cast<const TXRHardSoft*>(&source);
  if (s == nullptr) return;
  MasterPoint = s->MasterPoint;
  AxisPoint1 = s->AxisPoint1;
  AxisPoint2 = s->AxisPoint2;
  PercentXPlus = s->PercentXPlus;
  PercentXMinus = s->PercentXMinus;
  PercentYPlus = s->PercentYPlus;
  PercentYMinus = s->PercentYMinus;
  PercentRotation = s->PercentRotation;
  RotationAsTranslation = s->RotationAsTranslation;
}

void TXRHardSoft::VisitReferences(const TReferenceVisitor& visit) {
  TXRPointElement::VisitReferences(visit);
  visit(MasterPoint, ekAnyPoint);
  visit(AxisPoint1, ekAnyPoint);
  visit(AxisPoint2, ekAnyPoint);
}

// ---- shape analyses ----------------------------------------------------------------

std::unique_ptr<TXRayElement> TXRPCA::Create() const { return std::make_unique<TXRPCA>(); }

void TXRPCA::Assign(const TXRayElement& source) {
  TXRPointElement::Assign(source);
  const auto* s = dynamic_cast<const TXRPCA*>(&source);
  if (s == nullptr) return;
  Consensus = s->Consensus;
  Loadings = s->Loadings;
  Variances = s->Variances;
  SampleCount = s->SampleCount;
  SumDistances = s->SumDistances;
  SumSquaredDistances = s->SumSquaredDistances;
  HasData = s->HasData;
}

bool TXRPCA::HasConsistentSizes() const {
  size_t n = Points.size();
  if (n <= 2) return false;
  size_t columns = 2 * n - 4;
  if (Consensus.size() != 2 * n || Variances.size() != columns || Loadings.size() != 2 * n) return false;
  return std::all_of(Loadings.begin(), Loadings.end(), [&](const auto& row) { return row.size() == columns; });
}

// ---- kind elements -----------------------------------------------------------------

TXRPointKindElement::TXRPointKindElement(std::string name) : TXRPointElement(std::move(name)) {
  Points.assign(kSlotCount, nullptr);
}

void TXRPointKindElement::Assign(const TXRayElement& source) {
  TXRPointElement::Assign(source);
  if (const auto* s = dynamic_cast<const TXRPointKindElement*>(&source)) fKind = s->fKind;
  Points.resize(kSlotCount, nullptr);
}

void TXRPointKindElement::VisitReferences(const TReferenceVisitor& visit) {
  for (int i = 0; i < kSlotCount; ++i) visit(Points[i], SlotClass(fKind, i));
}

int TXRPointKindElement::OperandCount() const { return CountUsedSlots(SlotClasses(fKind), kSlotCount); }

TOperandSlots TXRPointKindElement::Slots() { return {Points, SlotClasses(fKind)}; }

void TXRPointKindElement::SetKind(int kind) {
  if (kind < 0 || kind >= KindCount()) return;
  fKind = kind;
  Slots().DropMisfits();
}

bool TXRPointKindElement::SetOperand(int slot, TXRayElement* element) { return Slots().Set(slot, element); }

void TXRPointKindElement::ClearOperand(int slot) { Slots().Clear(slot); }

bool TXRPointKindElement::CanCompute(TRadiograph& radiograph) {
  const TLoadedRadiograph loaded = radiograph.Load();
  for (int i = 0; i < OperandCount(); ++i) {
    TXRayElement* op = Points[i];
    if (op == nullptr) return false;
    if (dynamic_cast<TXRPoint*>(op) != nullptr && !loaded.IsValid(op)) return false;
  }
  return true;
}

// ---- variables ---------------------------------------------------------------------

std::unique_ptr<TXRayElement> TXRVariable::Create() const { return std::make_unique<TXRVariable>(); }

void TXRVariable::Assign(const TXRayElement& source) {
  TXRPointKindElement::Assign(source);
  const auto* s = dynamic_cast<const TXRVariable*>(&source);
  if (s == nullptr) return;
  ReferenceFlags = s->ReferenceFlags;
  Anchor = s->Anchor;
  LabelOffsetX = s->LabelOffsetX;
  LabelOffsetY = s->LabelOffsetY;
  Alignment = s->Alignment;
  ShowIn = s->ShowIn;
  ShowName = s->ShowName;
  NumberFormat = s->NumberFormat;
  TextBefore = s->TextBefore;
  TextAfter = s->TextAfter;
  Style = s->Style;
  FemaleNormals = s->FemaleNormals;
  MaleNormals = s->MaleNormals;
  AuxiliaryValue = s->AuxiliaryValue;
  LabelRect = s->LabelRect;
  NeedsRecompute = true;
}

void TXRVariable::VisitReferences(const TReferenceVisitor& visit) {
  TXRPointKindElement::VisitReferences(visit);
  visit(Anchor, ekAnyPoint);
}

const TSlotClasses& TXRVariable::SlotClasses(int kind) const { return VariableKind(kind).Slots; }

int TXRVariable::KindCount() const { return kVariableKindCount; }

void TXRVariable::SetKind(int kind) {
  if (kind < 0 || kind >= KindCount()) return;
  TXRPointKindElement::SetKind(kind);
  for (int i = 0; i < kSlotCount; ++i)
    if (Points[i] == nullptr || !IsReferenceVariableKind(kind)) ReferenceFlags[i] = false;
  NeedsRecompute = true;
}

bool TXRVariable::SetOperand(int slot, TXRayElement* element) {
  if (!TXRPointKindElement::SetOperand(slot, element)) return false;
  NeedsRecompute = true;
  return true;
}

void TXRVariable::ClearOperand(int slot) {
  TXRPointKindElement::ClearOperand(slot);
  if (slot >= 0 && slot < kSlotCount) ReferenceFlags[slot] = false;
  NeedsRecompute = true;
}

bool TXRVariable::DependsOn(const TXRVariable* variable) const {
  if (variable == nullptr) return false;
  std::unordered_set<const TXRVariable*> seen{this};
  std::vector<const TXRVariable*> pending{this};
  while (!pending.empty()) {
    const TXRVariable* current = pending.back();
    pending.pop_back();
    for (int i = 0; i < current->OperandCount(); ++i) {
      const auto* op = dynamic_cast<const TXRVariable*>(current->Points[i]);
      if (op == nullptr) continue;
      if (op == variable) return true;
      if (seen.insert(op).second) pending.push_back(op);
    }
  }
  return false;
}

bool TXRVariable::UsesPoint(const TXRayElement* point) const {
  if (point == nullptr) return false;
  if (Anchor == point) return true;
  for (int i = 0; i < OperandCount(); ++i)
    if (Points[i] == point) return true;
  return false;
}

bool SetCheckedOperand(TXRVariable& variable, int slot, TXRayElement* element, std::string& message) {
  message.clear();
  if (!variable.SetOperand(slot, element)) return false;
  if (variable.DependsOn(&variable)) {
    variable.ClearOperand(slot);
    message = CircularReferenceMessage(variable.Name);
    return false;
  }
  return true;
}

std::string TXRVariable::KindDisplayName() const { return std::string(VariableKind(fKind).Token); }

// ---- superimpositions and orientations ---------------------------------------------

namespace {

// A drawing operand can be used when it has at least one valid point; a shape-analysis
// operand when it has been computed.
bool ExtraOperandsUsable(const TXRPointKindElement& element) {
  for (int i = 0; i < element.OperandCount(); ++i) {
    TXRayElement* op = element.Operand(i);
    if (auto* graphic = dynamic_cast<TXRGraphic*>(op)) {
      bool anyValid = std::any_of(graphic->Points.begin(), graphic->Points.end(), [](TXRayElement* e) {
        auto* p = dynamic_cast<TXRPoint*>(e);
        return p != nullptr && p->IsValid();
      });
      if (!anyValid) return false;
    } else if (auto* pca = dynamic_cast<TXRPCA*>(op); pca != nullptr && !pca->HasData) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::unique_ptr<TXRayElement> TXRSupimp::Create() const { return std::make_unique<TXRSupimp>(); }

const TSlotClasses& TXRSupimp::SlotClasses(int kind) const { return SupimpKind(kind).Slots; }

int TXRSupimp::KindCount() const { return kSupimpKindCount; }

bool TXRSupimp::CanCompute(TRadiograph& radiograph) {
  return TXRPointKindElement::CanCompute(radiograph) && ExtraOperandsUsable(*this);
}

std::unique_ptr<TXRayElement> TXROrient::Create() const { return std::make_unique<TXROrient>(); }

void TXROrient::Assign(const TXRayElement& source) {
  TXRPointKindElement::Assign(source);
  const auto* s = dynamic_cast<const TXROrient*>(&source);
  if (s == nullptr) return;
  Parameter1 = s->Parameter1;
  Parameter2 = s->Parameter2;
  Affect = s->Affect;
  AffectedArea = s->AffectedArea;
}

void TXROrient::VisitReferences(const TReferenceVisitor& visit) {
  TXRPointKindElement::VisitReferences(visit);
  visit(AffectedArea, ekArea);
}

const TSlotClasses& TXROrient::SlotClasses(int kind) const { return OrientKind(kind).Slots; }

int TXROrient::KindCount() const { return kOrientKindCount; }

bool TXROrient::CanCompute(TRadiograph& radiograph) {
  return TXRPointKindElement::CanCompute(radiograph) && ExtraOperandsUsable(*this);
}

}  // namespace lumacet
