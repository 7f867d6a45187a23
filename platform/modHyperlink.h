#pragma once
// The shell's "open" of a web address, behind one replaceable function so that tests can record a
// request instead of starting a browser.
#include <windows.h>

#include <string>

// ShellExecuteA's own type, calling convention included (WINAPI: stdcall on 32-bit Windows).
using ShellExecuteHandler = HINSTANCE(WINAPI*)(HWND owner, const char* operation, const char* file,
                                               const char* parameters, const char* directory,
                                               int showCommand);

// Hands the address to the shell's "open" with a maximized window, through ShellExecuteA or the
// handler a test put in place, and returns at once, without waiting for the browser. Whether it
// could be opened is not reported: `owner` (the window the link was clicked in) owns whatever the
// shell shows for the request (its message when nothing can open it), so that it comes up above
// the program's window rather than behind it.
void OpenLink(HWND owner, const std::string& address);

// Replaces the function behind OpenLink; nullptr puts ShellExecuteA back. Returns the
// handler that was in place.
ShellExecuteHandler SetShellExecuteHandler(ShellExecuteHandler handler);
