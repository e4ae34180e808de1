#include "model/type_edits.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "model/kind_codes.h"
#include "model/xray_type.h"

namespace lumacet {

namespace {

std::unique_ptr<TXRayElement> Snapshot(const TXRayElement& element) {
  std::unique_ptr<TXRayElement> copy = element.Create();
  copy->Assign(element);
  return copy;
}

// Points and variables are computed from their operands; only they can be computed from
// themselves.
bool ComputedFromItself(TXRayElement* element) {
  if (auto* point = dynamic_cast<TXRPoint*>(element)) return point->DependsOn(point);
  if (auto* variable = dynamic_cast<TXRVariable*>(element)) return variable->DependsOn(variable);
  return false;
}

// A new cycle through a changed element runs through the element itself or through one of
// the computed elements that refer to it (a derived point averaging a drawing the drawing
// now holds).
std::vector<TXRayElement*> CycleCandidates(const TXRayType& type, TXRayElement& element) {
  std::vector<TXRayElement*> candidates{&element};
  for (TXRayElement* referrer : type.Referrers(&element))
    if (dynamic_cast<TXRPoint*>(referrer) != nullptr || dynamic_cast<TXRVariable*>(referrer) != nullptr)
      candidates.push_back(referrer);
  return candidates;
}

std::unordered_set<const TXRayElement*> SelfComputed(const std::vector<TXRayElement*>& candidates) {
  std::unordered_set<const TXRayElement*> cyclic;
  for (TXRayElement* e : candidates)
    if (ComputedFromItself(e)) cyclic.insert(e);
  return cyclic;
}

// Every element the type holds, by address only: a reference is compared, never followed,
// until it is known to be one of these.
std::unordered_set<const TXRayElement*> HeldElements(const TXRayType& type) {
  std::unordered_set<const TXRayElement*> held;
  for (int code = 0; code < kElementListCount; ++code)
    for (const auto& e : type.ElementList(code)) {
      held.insert(e.get());
      if (code == ekSnake)
        for (const auto& p : static_cast<const TDigSnake&>(*e).Points) held.insert(p.get());
    }
  return held;
}

TText Refusal(const std::string& modelMessage) { return TText::Verbatim(modelMessage); }

// A snake left with `kept` points frees the rest: none of them may still be referred to.
TText SnakeLossFault(const TXRayType& type, const TDigSnake& snake, size_t kept) {
  for (size_t i = kept; i < snake.Points.size(); ++i)
    if (const TXRayElement* referrer = type.FindReferrer(snake.Points[i].get()))
      return TText(LcText("TypeEdits", "'%1' cannot lose its points: '%2' refers to them."),
                   {snake.Name, referrer->Name});
  return {};
}

// Empty when every reference of `element` is one of the type's own elements of the class
// its field takes, and no computed element has come to depend on itself.
TText ReferenceFault(const TXRayType& type, TXRayElement& element,
                     const std::unordered_set<const TXRayElement*>& cyclicBefore,
                     const std::vector<TXRayElement*>& candidates) {
  const std::unordered_set<const TXRayElement*> held = HeldElements(type);
  TText fault;
  static_cast<const TXRayElement&>(element).VisitReferences([&](TXRayElement* const& slot, int code) {
    if (slot == nullptr || !fault.Empty()) return;
    if (held.count(slot) == 0)
      fault = TText(LcText("TypeEdits", "'%1' refers to an element that is not part of the type."), {element.Name});
    else if (!FitsSlot(slot, code))
      fault = TText(LcText("TypeEdits", "'%1' cannot be used here in '%2': it is not a %3."),
                    {slot->Name, element.Name, ElementKindName(code == kDigPointOrSnake ? ekDigPoint : code)});
  });
  if (!fault.Empty()) return fault;
  for (TXRayElement* candidate : candidates)
    if (cyclicBefore.count(candidate) == 0 && ComputedFromItself(candidate))
      return Refusal(CircularReferenceMessage(candidate->Name));
  return {};
}

}  // namespace

std::string ChangedText(const TXRayElement& element) {
  static const char* const kTexts[kElementListCount] = {
      "Changed Point: ",       "Changed Snake: ",    "Changed Point: ",
      "Changed Area: ",        "Changed Graphic: ",  "Changed Variable: ",
      "Changed Analysis: ",    "Changed Protocol: ", "Changed Superimposition: ",
      "Changed Orientation: ", "Changed VTO Rels: ", "Changed View: ",
      "Changed PCA: "};
  const int code = element.KindCode();
  return std::string(code >= 0 && code < kElementListCount ? kTexts[code] : "Changed Point: ") + element.Name;
}

// One kept edit: how to take it back and make it again, each recording its history text.
class TTypeEdits::TStep {
 public:
  virtual ~TStep() = default;
  virtual TResult Undo(TXRayType& type) = 0;
  virtual TResult Redo(TXRayType& type) = 0;
  // The history text the step recorded when it was made.
  virtual std::string Text() const = 0;
};

namespace {

class TAddStep : public TTypeEdits::TStep {
 public:
  TAddStep(TXRayElement* element, size_t index) : fElement(element), fIndex(index), fName(element->Name) {}
  TResult Undo(TXRayType& type) override {
    std::unique_ptr<TXRayElement> taken = type.TakeElement(fElement);
    if (taken == nullptr) return TResult::Failure(Refusal(type.DeleteRefusal(fElement)));
    fHeld = std::move(taken);
    type.RecordChange(true, "Deleted: " + fName + ".");
    return {};
  }
  TResult Redo(TXRayType& type) override {
    type.InsertElement(std::move(fHeld), fIndex);
    type.RecordChange(true, Text());
    return {};
  }
  std::string Text() const override { return "Added: " + fName + "."; }

 private:
  TXRayElement* fElement;
  size_t fIndex;
  std::string fName;
  std::unique_ptr<TXRayElement> fHeld;  // while undone
};

class TDeleteStep : public TTypeEdits::TStep {
 public:
  TDeleteStep(std::unique_ptr<TXRayElement> element, size_t index)
      : fElement(element.get()), fIndex(index), fName(element->Name), fHeld(std::move(element)) {}
  TResult Undo(TXRayType& type) override {
    type.InsertElement(std::move(fHeld), fIndex);
    type.RecordChange(true, "Added: " + fName + ".");
    return {};
  }
  TResult Redo(TXRayType& type) override {
    std::unique_ptr<TXRayElement> taken = type.TakeElement(fElement);
    if (taken == nullptr) return TResult::Failure(Refusal(type.DeleteRefusal(fElement)));
    fHeld = std::move(taken);
    type.RecordChange(true, Text());
    return {};
  }
  std::string Text() const override { return "Deleted: " + fName + "."; }

 private:
  TXRayElement* fElement;
  size_t fIndex;
  std::string fName;
  std::unique_ptr<TXRayElement> fHeld;  // while deleted
};

class TRenameStep : public TTypeEdits::TStep {
 public:
  TRenameStep(TXRayElement* element, std::string from, std::string to)
      : fElement(element), fFrom(std::move(from)), fTo(std::move(to)) {}
  TResult Undo(TXRayType& type) override { return Give(type, fTo, fFrom); }
  TResult Redo(TXRayType& type) override { return Give(type, fFrom, fTo); }
  std::string Text() const override { return "Renamed: \"" + fFrom + "\" to: \"" + fTo + "\"."; }

 private:
  TResult Give(TXRayType& type, const std::string& from, const std::string& to) {
    const std::string refusal = type.ValidateNewName(to, fElement->KindCode());
    if (!refusal.empty()) return TResult::Failure(Refusal(refusal));
    fElement->Name = to;
    type.RecordChange(true, "Renamed: \"" + from + "\" to: \"" + to + "\".");
    return {};
  }

  TXRayElement* fElement;
  std::string fFrom;
  std::string fTo;
};

class TChangeStep : public TTypeEdits::TStep {
 public:
  TChangeStep(TXRayElement* element, std::unique_ptr<TXRayElement> before, std::string field)
      : fElement(element), fBefore(std::move(before)), fAfter(Snapshot(*element)), fField(std::move(field)) {}
  // Takes in a further change of the same field of the same element.
  bool Absorb(const TXRayElement* element, const std::string& field) {
    if (field.empty() || element != fElement || field != fField) return false;
    fAfter = Snapshot(*fElement);
    return true;
  }
  TResult Undo(TXRayType& type) override { return Become(type, *fBefore); }
  TResult Redo(TXRayType& type) override { return Become(type, *fAfter); }
  std::string Text() const override { return ChangedText(*fElement); }

 private:
  TResult Become(TXRayType& type, const TXRayElement& state) {
    if (auto* snake = dynamic_cast<TDigSnake*>(fElement))
      if (TText fault = SnakeLossFault(type, *snake, static_cast<const TDigSnake&>(state).Points.size());
          !fault.Empty())
        return TResult::Failure(fault);
    std::unique_ptr<TXRayElement> now = Snapshot(*fElement);
    const std::vector<TXRayElement*> candidates = CycleCandidates(type, *fElement);
    const auto cyclic = SelfComputed(candidates);
    fElement->Assign(state);
    if (TText fault = ReferenceFault(type, *fElement, cyclic, candidates); !fault.Empty()) {
      fElement->Assign(*now);
      return TResult::Failure(fault);
    }
    type.InvalidateDerived();
    type.InvalidateVariables();
    type.RecordChange(true, ChangedText(*fElement));
    return {};
  }

  TXRayElement* fElement;
  std::unique_ptr<TXRayElement> fBefore;
  std::unique_ptr<TXRayElement> fAfter;
  std::string fField;
};

class TReorderStep : public TTypeEdits::TStep {
 public:
  TReorderStep(int code, std::vector<TXRayElement*> before, std::vector<TXRayElement*> after, std::string typeName)
      : fCode(code), fBefore(std::move(before)), fAfter(std::move(after)), fTypeName(std::move(typeName)) {}
  TResult Undo(TXRayType& type) override { return Order(type, fBefore); }
  TResult Redo(TXRayType& type) override { return Order(type, fAfter); }
  std::string Text() const override { return "Changed Type: " + fTypeName; }

 private:
  TResult Order(TXRayType& type, const std::vector<TXRayElement*>& order) {
    if (!type.ReorderElements(fCode, order))
      return TResult::Failure(LcText("TypeEdits", "The list has changed since: its order cannot be restored."));
    type.RecordChange(true, "Changed Type: " + type.Name);
    return {};
  }

  int fCode;
  std::vector<TXRayElement*> fBefore;
  std::vector<TXRayElement*> fAfter;
  std::string fTypeName;
};

TResult NotOfType(const TXRayElement& element) {
  return TResult::Failure(TText(LcText("TypeEdits", "'%1' is not part of the type."), {element.Name}));
}

}  // namespace

TTypeEdits::TTypeEdits(TXRayType& type) : fType(type) {}
TTypeEdits::~TTypeEdits() = default;

TResult TTypeEdits::Keep(std::unique_ptr<TStep> step) {
  fUndo.push_back(std::move(step));
  fRedo.clear();
  return {};
}

TResultOf<TXRayElement*> TTypeEdits::Add(int code, const std::string& name, const TXRayElement* copyOf) {
  if (code < 0 || code >= kElementListCount) return TResult::Failure(LcText("TypeEdits", "No such element kind."));
  if (copyOf != nullptr && (copyOf->KindCode() != code || fType.IndexOf(copyOf) < 0)) return NotOfType(*copyOf);
  std::string message;
  TXRayElement* added = fType.AddElement(name, code, message);
  if (added == nullptr) return TResult::Failure(Refusal(message));
  if (copyOf != nullptr) {
    added->Assign(*copyOf);
    added->Name = name;
  }
  Keep(std::make_unique<TAddStep>(added, static_cast<size_t>(fType.IndexOf(added))));
  return added;
}

TResult TTypeEdits::Rename(TXRayElement& element, const std::string& newName) {
  if (fType.IndexOf(&element) < 0) return NotOfType(element);
  const std::string refusal = fType.ValidateNewName(newName, element.KindCode());
  if (!refusal.empty()) return TResult::Failure(Refusal(refusal));
  std::string oldName = element.Name;
  element.Name = newName;
  auto step = std::make_unique<TRenameStep>(&element, oldName, newName);
  fType.RecordChange(true, step->Text());
  return Keep(std::move(step));
}

TResult TTypeEdits::Delete(TXRayElement& element) {
  const int index = fType.IndexOf(&element);
  if (index < 0) return NotOfType(element);
  const std::string refusal = fType.DeleteRefusal(&element);
  if (!refusal.empty()) return TResult::Failure(Refusal(refusal));
  auto step = std::make_unique<TDeleteStep>(fType.TakeElement(&element), static_cast<size_t>(index));
  fType.RecordChange(true, step->Text());
  return Keep(std::move(step));
}

TResult TTypeEdits::Change(TXRayElement& element, const TEdit& edit, const std::string& field) {
  return ChangeRecording(element, edit, field, ChangedText(element));
}

TResult TTypeEdits::ChangeRecording(TXRayElement& element, const TEdit& edit, const std::string& field,
                                    const std::string& history) {
  if (fType.IndexOf(&element) < 0) return NotOfType(element);
  std::unique_ptr<TXRayElement> before = Snapshot(element);
  // Snake edits take points from the end: tried on the copy first, so that no point another
  // element refers to is freed.
  if (auto* snake = dynamic_cast<TDigSnake*>(&element)) {
    std::unique_ptr<TXRayElement> trial = Snapshot(element);
    edit(*trial);
    if (TText fault = SnakeLossFault(fType, *snake, static_cast<const TDigSnake&>(*trial).Points.size());
        !fault.Empty())
      return TResult::Failure(fault);
  }
  const std::vector<TXRayElement*> candidates = CycleCandidates(fType, element);
  const auto cyclic = SelfComputed(candidates);
  edit(element);
  if (TText fault = ReferenceFault(fType, element, cyclic, candidates); !fault.Empty()) {
    element.Assign(*before);
    return TResult::Failure(fault);
  }
  // The definition may feed any computed value of the radiograph loaded into the type.
  fType.InvalidateDerived();
  fType.InvalidateVariables();
  fType.RecordChange(true, history);
  if (!fUndo.empty() && fRedo.empty())
    if (auto* last = dynamic_cast<TChangeStep*>(fUndo.back().get()); last != nullptr && last->Absorb(&element, field))
      return {};
  return Keep(std::make_unique<TChangeStep>(&element, std::move(before), field));
}

TResult TTypeEdits::SetKind(TXRayElement& element, int kind) {
  int count = 0;
  if (dynamic_cast<TDigPoint*>(&element) != nullptr)
    count = kDigPointKindCount;
  else if (dynamic_cast<TDerPoint*>(&element) != nullptr)
    count = kDerPointKindCount;
  else if (auto* k = dynamic_cast<TXRPointKindElement*>(&element))
    count = k->KindCount();
  else if (dynamic_cast<TXRGraphic*>(&element) != nullptr)
    count = kGraphicKindCount;
  if (kind < 0 || kind >= count)
    return TResult::Failure(
        TText(LcText("TypeEdits", "'%1' has no kind number %2."), {element.Name, std::to_string(kind)}));
  return Change(element, [kind](TXRayElement& e) {
    if (auto* d = dynamic_cast<TDigPoint*>(&e))
      d->SetKind(kind);
    else if (auto* p = dynamic_cast<TDerPoint*>(&e))
      p->SetKind(kind);
    else if (auto* k = dynamic_cast<TXRPointKindElement*>(&e))
      k->SetKind(kind);
    else
      static_cast<TXRGraphic&>(e).SetKind(kind);
  });
}

TResult TTypeEdits::SetOperand(TXRayElement& element, int slot, TXRayElement* operand) {
  int slotCount = 0;
  int slotClass = ekNone;
  if (auto* d = dynamic_cast<TDigPoint*>(&element)) {
    slotCount = TDigPoint::kOperandCount;
    if (slot >= 0 && slot < slotCount) slotClass = d->SlotClass(slot);
  } else if (auto* p = dynamic_cast<TDerPoint*>(&element)) {
    slotCount = TDerPoint::kOperandCount;
    if (slot >= 0 && slot < slotCount) slotClass = p->SlotClass(slot);
  } else if (auto* k = dynamic_cast<TXRPointKindElement*>(&element)) {
    slotCount = TXRPointKindElement::kSlotCount;
    if (slot >= 0 && slot < slotCount) slotClass = k->SlotClass(k->Kind(), slot);
  }
  if (slot < 0 || slot >= slotCount)
    return TResult::Failure(
        TText(LcText("TypeEdits", "'%1' has no operand %2."), {element.Name, std::to_string(slot + 1)}));
  if (operand != nullptr && !FitsSlot(operand, slotClass))
    return TResult::Failure(TText(LcText("TypeEdits", "'%1' cannot be operand %2 of '%3' as it is now."),
                                  {operand->Name, std::to_string(slot + 1), element.Name}));
  return Change(element, [&](TXRayElement& e) {
    if (auto* d = dynamic_cast<TDigPoint*>(&e))
      d->SetOperand(slot, operand);
    else if (auto* p = dynamic_cast<TDerPoint*>(&e))
      p->SetOperand(slot, operand);
    else
      static_cast<TXRPointKindElement&>(e).SetOperand(slot, operand);
  });
}

TResult TTypeEdits::DigitizeAt(TXRayElement& chosen, double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y))
    return TResult::Failure(LcText("TypeEdits", "The position is not on the tracing."));
  if (dynamic_cast<TDigPoint*>(&chosen) != nullptr)
    return ChangeRecording(chosen, [x, y](TXRayElement& e) {
      auto& point = static_cast<TDigPoint&>(e);
      point.SetXY(x, y);
      point.NeedsPlacing = false;
      // Shown in millimetres with two decimals, stored ten times that.
      if (point.Kind() == KindNumber(TDigPointKind::Preset)) {
        point.Parameter1 = std::nearbyint(x * 10) / 10;
        point.Parameter2 = std::nearbyint(y * 10) / 10;
      }
    }, {}, "Digitized Point.");
  if (auto* derived = dynamic_cast<TDerPoint*>(&chosen)) {
    if (derived->Kind() != KindNumber(TDerPointKind::Fixed))
      return TResult::Failure(
          TText(LcText("TypeEdits", "'%1' is computed from its operands: only a Fixed point takes a position."),
                {chosen.Name}));
    return ChangeRecording(chosen, [x, y](TXRayElement& e) { static_cast<TDerPoint&>(e).SetParameters(x, y); }, {},
                           "Digitized Fixed Point.");
  }
  if (dynamic_cast<TDigSnake*>(&chosen) != nullptr)
    return Change(chosen, [x, y](TXRayElement& e) { static_cast<TDigSnake&>(e).AddPoint(x, y, true); });
  if (auto* variable = dynamic_cast<TXRVariable*>(&chosen)) {
    // Labels stand at whole units from the rounded anchor, as they are drawn.
    double ax = 0;
    double ay = 0;
    if (variable->Anchor != nullptr) {
      auto* anchor = dynamic_cast<TXRPoint*>(variable->Anchor);
      if (anchor == nullptr || !anchor->IsValid())
        return TResult::Failure(
            TText(LcText("TypeEdits", "The anchor of '%1' has no position on the tracing."), {chosen.Name}));
      ax = std::nearbyint(anchor->GetX());
      ay = std::nearbyint(anchor->GetY());
    }
    const double dx = std::nearbyint(x - ax);
    const double dy = std::nearbyint(y - ay);
    if (std::fabs(dx) > 1e6 || std::fabs(dy) > 1e6)
      return TResult::Failure(LcText("TypeEdits", "The position is not on the tracing."));
    return ChangeRecording(chosen, [dx, dy](TXRayElement& e) {
      auto& v = static_cast<TXRVariable&>(e);
      v.LabelOffsetX = static_cast<int>(dx);
      v.LabelOffsetY = static_cast<int>(dy);
    }, {}, ChangedText(chosen) + ".");
  }
  return TResult::Failure(TText(LcText("TypeEdits", "'%1' takes no position from a click."), {chosen.Name}));
}

TResult TTypeEdits::Reorder(int code, const std::vector<TXRayElement*>& order) {
  if (code < 0 || code >= kElementListCount) return TResult::Failure(LcText("TypeEdits", "No such element kind."));
  std::vector<TXRayElement*> before;
  for (const auto& e : fType.ElementList(code)) before.push_back(e.get());
  if (!fType.ReorderElements(code, order))
    return TResult::Failure(LcText("TypeEdits", "The new order must hold every element of the list once."));
  auto step = std::make_unique<TReorderStep>(code, std::move(before), order, fType.Name);
  fType.RecordChange(true, step->Text());
  return Keep(std::move(step));
}

std::string TTypeEdits::UndoText() const { return fUndo.empty() ? std::string() : fUndo.back()->Text(); }
std::string TTypeEdits::RedoText() const { return fRedo.empty() ? std::string() : fRedo.back()->Text(); }

TResult TTypeEdits::Undo() {
  if (fUndo.empty()) return TResult::Failure(LcText("TypeEdits", "Nothing to undo."));
  if (TResult undone = fUndo.back()->Undo(fType); !undone) return undone;
  fRedo.push_back(std::move(fUndo.back()));
  fUndo.pop_back();
  return {};
}

TResult TTypeEdits::Redo() {
  if (fRedo.empty()) return TResult::Failure(LcText("TypeEdits", "Nothing to redo."));
  if (TResult redone = fRedo.back()->Redo(fType); !redone) return redone;
  fUndo.push_back(std::move(fRedo.back()));
  fRedo.pop_back();
  return {};
}

void TTypeEdits::Clear() {
  fUndo.clear();
  fRedo.clear();
}

}  // namespace lumacet
