#pragma once
// A shortcut menu, shown where the user asked for it and closed before the call returns.
#include <windows.h>

#include <vector>

struct PopupMenuItem {
  const char* text = nullptr;  // nullptr for a separator line
  const char* keys = "";       // the keys that do the same, shown at the item's right
  bool enabled = true;
};

// Shows the menu at this screen point for the window and returns the index of the item chosen,
// or -1 when the menu was closed without a choice.
int ShowPopupMenu(HWND owner, POINT at, const std::vector<PopupMenuItem>& items);
