#pragma once
// The shell's "open", behind one replaceable function so that tests can record a request instead
// of starting a browser.
#include <windows.h>

// ShellExecuteA's own type, calling convention included (WINAPI: stdcall on 32-bit Windows).
using ShellExecuteHandler = HINSTANCE(WINAPI*)(HWND owner, const char* operation, const char* file,
                                               const char* parameters, const char* directory,
                                               int showCommand);

// Hands the file or address to the shell's "open", through ShellExecuteA or the handler a test
// put in place. `owner` owns whatever the shell shows for the request (its message when nothing
// can open the file), so that it comes up above the program's window rather than behind it.
HINSTANCE ShellOpen(HWND owner, const char* file, int showCommand);

// Replaces the function behind ShellOpen; nullptr puts ShellExecuteA back. Returns the
// handler that was in place.
ShellExecuteHandler SetShellExecuteHandler(ShellExecuteHandler handler);
