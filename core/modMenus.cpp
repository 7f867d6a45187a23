#include "core/modMenus.h"

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
