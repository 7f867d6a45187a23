#include "platform/window/PopupMenu.h"

#include <string>

#include "platform/window/WindowError.h"

int ShowPopupMenu(HWND owner, POINT at, const std::vector<PopupMenuItem>& items) {
  HMENU menu = CreatePopupMenu();
  if (!menu) ThrowWindowsError("CreatePopupMenu");
  for (UINT n = 0; n < items.size(); ++n) {
    const PopupMenuItem& item = items[n];
    // A tab puts the keys in the menu's right-hand column.
    std::string text = item.text ? item.text : "";
    if (*item.keys) text = text + "\t" + item.keys;
    const UINT flags = !item.text ? MF_SEPARATOR : MF_STRING | (item.enabled ? 0 : MF_GRAYED);
    // Command 0 means no choice: item n is command n + 1.
    AppendMenuA(menu, flags, n + 1, text.c_str());
  }
  const BOOL chosen = TrackPopupMenu(
      menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
      at.y, 0, owner, nullptr);
  DestroyMenu(menu);
  return chosen > 0 ? chosen - 1 : -1;
}
