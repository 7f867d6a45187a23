#include "platform/window/ShutdownReason.h"

#include <windows.h>

#include <utility>

#include "platform/AnsiText.h"
#include "platform/window/Form.h"

namespace {
ShutdownReasonObserver observer = nullptr;
}

void SetShutdownBlockReason(const Form& form, const std::string& reason) {
  if (observer) observer(reason);
  if (reason.empty()) {
    ShutdownBlockReasonDestroy(form.Hwnd());
  } else {
    ShutdownBlockReasonCreate(form.Hwnd(), WideFromAnsi(reason).c_str());
  }
}

ShutdownReasonObserver SetShutdownReasonObserver(ShutdownReasonObserver newObserver) {
  return std::exchange(observer, newObserver);
}
