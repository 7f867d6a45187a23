#include "platform/window/MsgBox.h"

#include <windows.h>

namespace {

int ShowRealMessageBox(const std::string& prompt, unsigned style, const std::string& title) {
  // An ownerless box would leave the program's windows working beneath it: a click on the splash
  // would start the hand-over again while the main window's load waits on the box.
  HWND owner = MessageBoxOwner();
  return MessageBoxA(owner, prompt.c_str(), title.c_str(), style | (owner ? 0 : MB_TASKMODAL));
}

MsgBoxHandler currentHandler = &ShowRealMessageBox;

}  // namespace

HWND MessageBoxOwner() {
  if (HWND active = GetActiveWindow()) return active;
  const DWORD thread = GetCurrentThreadId();
  for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
    if (IsWindowVisible(window) && GetWindowThreadProcessId(window, nullptr) == thread) return window;
  }
  return nullptr;
}

int MsgBox(const std::string& prompt, unsigned style, const std::string& title) {
  return currentHandler(prompt, style, title);
}

MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler) {
  MsgBoxHandler previous = currentHandler;
  currentHandler = handler ? handler : &ShowRealMessageBox;
  return previous;
}
