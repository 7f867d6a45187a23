#include "core/modMenus.h"

#include <algorithm>
#include <vector>

#include "core/modMain.h"

void InitMenus() { colMenus = NewMenuTable(); }

void AddMenu(const std::string& name) {
  for (int n = 0; n < kMenuSlotCount; ++n) {
    clsGameMenu* menu = colMenus.Slot(n);
    if (menu && !menu->bEnabled()) {
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
  for (int k = slot; k < kMenuSlotCount - 1; ++k) {
    clsGameMenu* to = colMenus.Slot(k);
    const clsGameMenu* from = colMenus.Slot(k + 1);
    to->bEnabled(from->bEnabled());
    to->sName(from->sName());
  }
  clsGameMenu* last = colMenus.Slot(kMenuSlotCount - 1);
  last->bEnabled(false);
  last->sName("");
}

bool MoveMenu(int fromSlot, int toSlot) {
  const clsGameMenu* from = colMenus.Slot(fromSlot);
  const clsGameMenu* to = colMenus.Slot(toSlot);
  if (!from || !to || !from->bEnabled() || !to->bEnabled() || fromSlot == toSlot) return false;
  // The enabled slots from the lower of the two to the higher, and their names in that order.
  std::vector<clsGameMenu*> places;
  std::vector<std::string> names;
  for (int k = std::min(fromSlot, toSlot); k <= std::max(fromSlot, toSlot); ++k) {
    clsGameMenu* menu = colMenus.Slot(k);
    if (!menu->bEnabled()) continue;
    places.push_back(menu);
    names.push_back(menu->sName());
  }
  // Down the list (to a higher slot) the first name goes last; up it, the last goes first.
  if (fromSlot < toSlot) {
    std::rotate(names.begin(), names.begin() + 1, names.end());
  } else {
    std::rotate(names.rbegin(), names.rbegin() + 1, names.rend());
  }
  for (size_t n = 0; n < places.size(); ++n) places[n]->sName(names[n]);
  return true;
}
