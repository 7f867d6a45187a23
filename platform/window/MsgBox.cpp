#include "platform/window/MsgBox.h"

#include <windows.h>

#include <utility>

#include "platform/AnsiText.h"

namespace {

// The window a real box belongs to, and which it disables while it is up: the program's active
// window; when another program is active, the program's topmost visible window; nullptr when it
// has none, and the box is then modal to the whole program (task-modal).
HWND MessageBoxOwner() {
  if (HWND active = GetActiveWindow()) return active;
  const DWORD thread = GetCurrentThreadId();
  for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
    if (IsWindowVisible(window) && GetWindowThreadProcessId(window, nullptr) == thread)
      return window;
  }
  return nullptr;
}

// An ownerless box would leave the program's windows working beneath it: a click on the splash
// would start the hand-over again while the main window's load waits on the box.
int ShowBox(const std::wstring& prompt, unsigned style, const std::string& title) {
  HWND owner = MessageBoxOwner();
  return MessageBoxW(owner, prompt.c_str(), WideFromAnsi(title).c_str(),
                     style | (owner ? 0 : MB_TASKMODAL));
}

// The ANSI prompt in the code page's characters, as MessageBoxA would show it.
int ShowRealMessageBox(const std::string& prompt, unsigned style, const std::string& title) {
  return ShowBox(WideFromAnsi(prompt), style, title);
}

MsgBoxHandler currentHandler = &ShowRealMessageBox;

std::string Utf8FromWide(const std::wstring& wide) {
  const int length = static_cast<int>(wide.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

}  // namespace

int MsgBox(const std::string& prompt, unsigned style, const std::string& title) {
  return currentHandler(prompt, style, title);
}

int MsgBox(const std::wstring& prompt, unsigned style, const std::string& title) {
  if (currentHandler != &ShowRealMessageBox)
    return currentHandler(Utf8FromWide(prompt), style, title);
  return ShowBox(prompt, style, title);
}

MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler) {
  return std::exchange(currentHandler, handler ? handler : &ShowRealMessageBox);
}
