#include "model/operand_slots.h"

#include "model/xray_element.h"

namespace lumacet {

int CountUsedSlots(const TSlotClasses& classes, int slotCount) {
  int n = 0;
  while (n < slotCount && classes[static_cast<std::size_t>(n)] != ekNone) ++n;
  return n;
}

void TOperandSlots::DropMisfits() const {
  for (std::size_t i = 0; i < fSlots.size(); ++i)
    if (!FitsSlot(fSlots[i], fClasses[i])) fSlots[i] = nullptr;
}

bool TOperandSlots::Set(int slot, TXRayElement* element) const {
  if (!Exists(slot) || !FitsSlot(element, fClasses[static_cast<std::size_t>(slot)])) return false;
  fSlots[static_cast<std::size_t>(slot)] = element;
  return true;
}

bool TOperandSlots::Clear(int slot) const {
  if (!Exists(slot)) return false;
  fSlots[static_cast<std::size_t>(slot)] = nullptr;
  return true;
}

}  // namespace lumacet
