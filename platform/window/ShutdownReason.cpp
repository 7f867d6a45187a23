#include "platform/window/ShutdownReason.h"

#include <windows.h>

#include "platform/AnsiText.h"
#include "platform/SystemFunction.h"
#include "platform/window/Form.h"

namespace {
ShutdownReasonObserver observer = nullptr;
}

void SetShutdownBlockReason(const Form& form, const std::string& reason) {
  if (observer) observer(reason);
  // Looked up when used: not every user32 exports them.
  static const auto create =
      SystemFunction<BOOL(WINAPI*)(HWND, LPCWSTR)>("user32.dll", "ShutdownBlockReasonCreate");
  static const auto destroy =
      SystemFunction<BOOL(WINAPI*)(HWND)>("user32.dll", "ShutdownBlockReasonDestroy");
  if (reason.empty()) {
    if (destroy) destroy(form.Hwnd());
  } else if (create) {
    create(form.Hwnd(), WideFromAnsi(reason).c_str());
  }
}

ShutdownReasonObserver SetShutdownReasonObserver(ShutdownReasonObserver newObserver) {
  const ShutdownReasonObserver previous = observer;
  observer = newObserver;
  return previous;
}
