#include "core/modMenus.h"

#include "core/modMain.h"

void InitMenus() { colMenus = MenuCollection(); }

void AddMenu(const std::string& name) {
  for (int n = 0; n < kMenuSlotCount; ++n) {
    clsGameMenu* menu = colMenus.Slot(n);
    if (!menu->bEnabled()) {
      menu->bEnabled(true);
      menu->sName(name);
      return;
    }
  }
}

void EditMenu(int slot, const std::string& name) {
  if (clsGameMenu* menu = colMenus.Slot(slot)) menu->sName(name);
}

void RemoveMenu(int slot) {
  if (!colMenus.Slot(slot)) return;
  for (int k = slot; k < kMenuSlotCount; ++k) {
    // The next slot's flag and name; after slot 9, a disabled and empty one.
    const clsGameMenu next = k + 1 < kMenuSlotCount ? *colMenus.Slot(k + 1) : clsGameMenu();
    colMenus.Slot(k)->bEnabled(next.bEnabled());
    colMenus.Slot(k)->sName(next.sName());
  }
}

bool MoveMenu(int fromSlot, int toSlot) {
  clsGameMenu* moving = colMenus.Slot(fromSlot);
  const clsGameMenu* to = colMenus.Slot(toSlot);
  if (!moving || !to || !moving->bEnabled() || !to->bEnabled() || fromSlot == toSlot) return false;
  // One enabled slot at a time towards the target, trading names with each, as moves of one row.
  const int step = fromSlot < toSlot ? 1 : -1;
  for (int k = fromSlot + step; k != toSlot + step; k += step) {
    clsGameMenu* next = colMenus.Slot(k);
    if (!next->bEnabled()) continue;
    const std::string name = moving->sName();
    moving->sName(next->sName());
    next->sName(name);
    moving = next;
  }
  return true;
}
