#pragma once
// A shortcut menu, shown where the user asked for it and closed before the call returns.
#include <windows.h>

#include <string>
#include <vector>

struct PopupMenuItem {
  std::string text;  // "" for a separator line
  std::string keys;  // the keys that do the same, shown at the item's right ("" for none)
  bool enabled = true;
};

// Shows the menu at this screen point for the window and returns the index of the item chosen,
// or -1 when the menu was closed without a choice.
int ShowPopupMenu(HWND owner, POINT at, const std::vector<PopupMenuItem>& items);
