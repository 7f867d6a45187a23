#pragma once
// The main window's list as data: one row per enabled slot, in slot order, each row remembering the
// slot it shows, so that Edit and Delete act on that slot also when disabled slots lie between.
#include <string>
#include <vector>

#include "core/MenuCollection.h"

struct MenuRow {
  int nSlot = 0;
  std::string sText;  // "Menu 3 : My Map"

  bool operator==(const MenuRow&) const = default;
};

std::vector<MenuRow> BuildMenuRows(const MenuCollection& menus);

// The row to select after the list was rebuilt: the row that was selected (the first when none
// was), or the one before it when the list got shorter than that; -1 for an empty list.
int SelectionAfterRefresh(int previousSelection, int rowCount);
