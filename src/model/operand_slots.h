// The operand slots of the elements that have a kind: digitized and derived points,
// variables, superimpositions and orientations. The kind decides which class each slot
// accepts; these rules keep the slots consistent with it.
#pragma once

#include <algorithm>
#include <array>
#include <span>

namespace lumacet {

class TXRayElement;

// Accepted class per operand slot of one kind, by element kind code (13 any point); 14
// marks a slot the kind does not use. Five: as many slots as any element has.
using TSlotClasses = std::array<int, 5>;

// Leading slots whose class is not 14.
int CountUsedSlots(const TSlotClasses& classes, int slotCount);

// A view of an element's own slot storage together with the classes its current kind
// gives the slots.
class TOperandSlots {
 public:
  // Slots beyond the classes are left out of the view.
  TOperandSlots(std::span<TXRayElement*> storage, const TSlotClasses& classes)
      : fSlots(storage.first(std::min(storage.size(), classes.size()))), fClasses(classes) {}

  // After a kind change: empties every filled slot that the kind does not use or whose
  // class does not take the element in it.
  void DropMisfits() const;
  // Fills a slot that exists and accepts the element (an empty reference always fits);
  // false leaves the slot as it was.
  bool Set(int slot, TXRayElement* element) const;
  // Empties a slot that exists; false when there is no such slot.
  bool Clear(int slot) const;

 private:
  bool Exists(int slot) const { return slot >= 0 && static_cast<std::size_t>(slot) < fSlots.size(); }

  std::span<TXRayElement*> fSlots;
  TSlotClasses fClasses;
};

}  // namespace lumacet
