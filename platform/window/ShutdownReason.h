#pragma once
// The reason that Windows shows for a window that asks a log-off or shut-down to wait.
#include <string>

class Form;

// Sets the window's reason, one line; "" removes it.
void SetShutdownBlockReason(const Form& form, const std::string& reason);

// A test seam: tests see every reason given; nullptr for none. Returns the observer before. A
// test cannot read the real reason under Wine: its ShutdownBlockReasonCreate does nothing, and its
// user32 has no ShutdownBlockReasonQuery.
using ShutdownReasonObserver = void (*)(const std::string& reason);
ShutdownReasonObserver SetShutdownReasonObserver(ShutdownReasonObserver observer);
