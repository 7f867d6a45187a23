#include "core/MenuRows.h"

#include <algorithm>

std::vector<MenuRow> BuildMenuRows(const MenuCollection& menus) {
  std::vector<MenuRow> rows;
  for (int n = 0; n < kMenuSlotCount; ++n) {
    const clsGameMenu* menu = menus.Slot(n);
    if (menu && menu->bEnabled())
      rows.push_back({n, "Menu " + std::to_string(n) + " : " + menu->sName()});
  }
  return rows;
}

int SelectionAfterRefresh(int previousSelection, int rowCount) {
  return std::min(std::max(previousSelection, 0), rowCount - 1);
}
