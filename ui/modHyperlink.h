#pragma once
// Opening a web address in the user's default browser.
#include <windows.h>

#include <string>

// Hands the address to the shell's "open" with a maximized window and returns at once, without
// waiting for the browser. Whether the address could be opened is not reported: the shell shows
// its own message, owned by `owner` (the window the link was clicked in), when it cannot.
void OpenLink(HWND owner, const std::string& address);
