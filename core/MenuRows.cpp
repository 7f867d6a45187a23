#include "core/MenuRows.h"

#include <algorithm>

std::vector<MenuRow> BuildMenuRows(const MenuCollection& menus) {
  std::vector<MenuRow> rows;
  for (const clsGameMenu& menu : menus) {
    if (menu.bEnabled())
      rows.push_back({menu.nId(), "Menu " + std::to_string(menu.nId()) + " : " + menu.sName()});
  }
  return rows;
}

int SelectionAfterRefresh(int previousSelection, int rowCount) {
  return std::min(std::max(previousSelection, 0), rowCount - 1);
}
