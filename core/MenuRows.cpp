#include "core/MenuRows.h"

std::vector<MenuRow> BuildMenuRows(const MenuCollection& menus) {
  std::vector<MenuRow> rows;
  for (int n = 0; n < kMenuSlotCount; ++n) {
    const clsGameMenu* menu = menus.Slot(n);
    if (menu && menu->bEnabled())
      rows.push_back({n, "Menu " + std::to_string(n) + " : " + menu->sName()});
  }
  return rows;
}

MenuButtonStates ButtonStatesForRows(int rowCount) {
  MenuButtonStates states;
  states.bAdd = rowCount < kMenuSlotCount;
  states.bEdit = rowCount > 0;
  states.bDelete = rowCount > 0;  // one row: Delete stays pressable and explains why it refuses
  return states;
}

int SelectionAfterRefresh(int previousSelection, int rowCount) {
  const int remembered = previousSelection < 0 ? 0 : previousSelection;
  if (remembered < rowCount) return remembered;
  // The list shrinks by at most one row between two refreshes; clamp all the same.
  return rowCount > 0 ? rowCount - 1 : -1;
}
