#include "platform/window/MessageLoop.h"

#include <string>
#include <utility>

#include "platform/ExceptionText.h"
#include "platform/SystemMessage.h"
#include "platform/window/Form.h"
#include "platform/window/Keyboard.h"
#include "platform/window/MsgBox.h"
#include "platform/window/WindowError.h"

namespace {

struct ModalDisabling {
  HWND dialog;
  std::vector<HWND>* disabled;
};

BOOL CALLBACK DisableOtherWindow(HWND hwnd, LPARAM param) {
  auto* modal = reinterpret_cast<ModalDisabling*>(param);
  if (hwnd != modal->dialog && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
    EnableWindow(hwnd, FALSE);
    modal->disabled->push_back(hwnd);
  }
  return TRUE;
}

// The program's caption, which every box of ReportEventError carries.
std::string eventErrorTitle;

}  // namespace

[[noreturn]] void ThrowWindowsError(const char* operation) {
  const DWORD error = GetLastError();
  throw WindowError(std::string(operation) + " failed: " + SystemMessage(error) + " (error " +
                    std::to_string(error) + ")");
}

void SetEventErrorTitle(std::string title) { eventErrorTitle = std::move(title); }

void ReportEventError(std::exception_ptr error) {
  try {
    MsgBox(ExceptionText(error), kMsgBoxError, eventErrorTitle);
  } catch (...) {
    // Nothing is left to report with.
  }
}

void DispatchFormMessage(MSG& msg) {
  // IsDialogMessage gives the forms dialog keyboard navigation. Enter and Escape make it send
  // IDOK and IDCANCEL from no control, which the forms ignore: there is no default button.
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  Form* form = Form::FromHwnd(root);
  if (form && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)) {
    bool used = false;
    const int keyCode = static_cast<int>(msg.wParam);
    const int shift = CurrentShiftState();
    RunEventProcedure([&] { used = form->Form_KeyDown(keyCode, shift); });
    if (used) return;
  }
  if (form && IsDialogMessageA(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

int RunMessageLoop() {
  if (Form::LoadedFormCount() == 0) return 0;
  MSG msg;
  for (;;) {
    const BOOL result = GetMessageA(&msg, nullptr, 0, 0);
    if (result == 0) return static_cast<int>(msg.wParam);
    if (result == -1) return -1;
    DispatchFormMessage(msg);
  }
}

std::optional<int> RunMessagesWhile(HWND window) {
  while (IsWindow(window)) {
    MSG msg;
    const BOOL result = GetMessageA(&msg, nullptr, 0, 0);
    if (result == 0) return static_cast<int>(msg.wParam);
    if (result == -1) break;
    DispatchFormMessage(msg);
  }
  return std::nullopt;
}

std::vector<HWND> DisableOtherThreadWindows(HWND window) {
  std::vector<HWND> disabled;
  ModalDisabling modal{window, &disabled};
  EnumThreadWindows(GetCurrentThreadId(), DisableOtherWindow, reinterpret_cast<LPARAM>(&modal));
  return disabled;
}
