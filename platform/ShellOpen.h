#pragma once
// The shell's "open", behind one replaceable function so that tests can record a request instead
// of starting a browser.
#include <windows.h>

// ShellExecuteA's own type, calling convention included (WINAPI: stdcall on 32-bit Windows).
using ShellExecuteHandler = HINSTANCE(WINAPI*)(HWND owner, const char* operation, const char* file,
                                               const char* parameters, const char* directory,
                                               int showCommand);

// The desktop window, the owner of requests that no window of the program should be tied to.
HWND DesktopWindow();

// Hands the request to ShellExecuteA, or to the handler a test put in place.
HINSTANCE ShellExecuteRequest(HWND owner, const char* operation, const char* file,
                              const char* parameters, const char* directory, int showCommand);

// Replaces the function behind ShellExecuteRequest; nullptr puts ShellExecuteA back. Returns the
// handler that was in place.
ShellExecuteHandler SetShellExecuteHandler(ShellExecuteHandler handler);
