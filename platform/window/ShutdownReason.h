#pragma once
// The reason that Windows shows for a window that asks a log-off or shut-down to wait.
#include <string>

class Form;

// Sets the window's reason, one line; "" removes it. Where the system lacks the functions (before
// Windows Vista) nothing is shown.
void SetShutdownBlockReason(const Form& form, const std::string& reason);

// Tests see every reason given (Wine's functions do nothing, and it has no way to ask for the
// reason again); nullptr for none. Returns the observer before.
using ShutdownReasonObserver = void (*)(const std::string& reason);
ShutdownReasonObserver SetShutdownReasonObserver(ShutdownReasonObserver observer);
