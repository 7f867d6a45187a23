#pragma once
// The shell's "open", behind one replaceable function so that tests can record a request instead
// of starting a browser.
#include <windows.h>

using ShellExecuteHandler = HINSTANCE (*)(HWND owner, const char* operation, const char* file,
                                          const char* parameters, const char* directory,
                                          int showCommand);

// Hands the request to ShellExecuteA, or to the handler a test put in place.
HINSTANCE ShellExecuteRequest(HWND owner, const char* operation, const char* file,
                              const char* parameters, const char* directory, int showCommand);

// Replaces the function behind ShellExecuteRequest; nullptr puts ShellExecuteA back. Returns the
// handler that was in place.
ShellExecuteHandler SetShellExecuteHandler(ShellExecuteHandler handler);
