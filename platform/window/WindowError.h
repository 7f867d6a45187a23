#pragma once
// A window, control or resource that could not be made, and what an event procedure throws: what
// start-up and the event guard show, since nothing may cross a window procedure.
#include <exception>
#include <string>
#include <utility>

// Carries its text in an ordinary std::string, as std::runtime_error would in the C++ library's
// older, reference-counted string.
class WindowError : public std::exception {
 public:
  explicit WindowError(std::string message) : m_message(std::move(message)) {}
  const char* what() const noexcept override { return m_message.c_str(); }

 private:
  std::string m_message;
};

// Throws WindowError naming the operation and GetLastError()'s text.
[[noreturn]] void ThrowWindowsError(const char* operation);

// Shows an error message for an exception that left an event procedure: nothing may cross a
// window procedure, and the program goes on as after any other failed action.
void ReportEventError(std::exception_ptr error);

// The title of ReportEventError's boxes: the program's caption, which only the program knows, set
// once at start.
void SetEventErrorTitle(std::string title);

// Runs an event procedure; an exception that leaves it is reported and goes no further.
template <typename Procedure>
void RunEventProcedure(Procedure&& procedure) noexcept {
  try {
    std::forward<Procedure>(procedure)();
  } catch (...) {
    ReportEventError(std::current_exception());
  }
}
