#pragma once
// The slot table: the ten attract-mode slots 0 to 9, in slot order. Only their flags and names
// change; each keeps its number.
#include "core/clsGameMenu.h"

constexpr int kMenuSlotCount = 10;

class MenuCollection {
 public:
  // Ten disabled and empty slots.
  MenuCollection() {
    for (int n = 0; n < kMenuSlotCount; ++n) m_slots[n].nId(n);
  }

  // The record of a slot number; nullptr outside 0 to 9.
  clsGameMenu* Slot(int slot) {
    return slot >= 0 && slot < kMenuSlotCount ? &m_slots[slot] : nullptr;
  }
  const clsGameMenu* Slot(int slot) const { return const_cast<MenuCollection*>(this)->Slot(slot); }

  const clsGameMenu* begin() const { return m_slots; }
  const clsGameMenu* end() const { return m_slots + kMenuSlotCount; }

  bool operator==(const MenuCollection&) const = default;

 private:
  clsGameMenu m_slots[kMenuSlotCount];
};
