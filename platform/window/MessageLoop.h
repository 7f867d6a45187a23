#pragma once
// The message loops of the forms: the program's own, the nested loop of a modal form, and the
// reporting of what an event procedure throws, since nothing may cross a window procedure.
#include <windows.h>

#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Runs the program's message loop until no form is loaded any more; returns the exit code.
int RunMessageLoop();

// Handles one message as the message loops do: keyboard navigation (Tab between controls) for
// the forms' windows, then translation and dispatch.
void DispatchFormMessage(MSG& msg);

// Shows an error message for an exception that left an event procedure: nothing may cross a
// window procedure, and the program goes on as after any other failed action.
void ReportEventError(std::exception_ptr error);

// The title of ReportEventError's boxes: the program's caption, set once at start.
void SetEventErrorTitle(std::string title);

// Throws WindowError naming the operation and GetLastError()'s text.
[[noreturn]] void ThrowWindowsError(const char* operation);

// Runs messages until the window is gone. A WM_QUIT that arrives meanwhile ends the loop early:
// its exit code comes back, for the caller to post again once the window is closed, so that the
// loop outside ends too.
std::optional<int> RunMessagesWhile(HWND window);

// Disables the thread's visible, enabled top-level windows other than this one, for a modal form;
// returns them, to be enabled again when it closes (and no others).
std::vector<HWND> DisableOtherThreadWindows(HWND window);

// Runs an event procedure; an exception that leaves it is reported and goes no further.
template <typename Procedure>
void RunEventProcedure(Procedure&& procedure) noexcept {
  try {
    std::forward<Procedure>(procedure)();
  } catch (...) {
    ReportEventError(std::current_exception());
  }
}
