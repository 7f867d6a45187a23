#include "platform/window/WindowError.h"

#include <windows.h>

#include "platform/ExceptionText.h"
#include "platform/SystemMessage.h"
#include "platform/window/MsgBox.h"

namespace {

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
