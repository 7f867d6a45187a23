#pragma once
// Opening a web address in the user's default browser.
#include <string>

// Hands the address to the shell's "open" with a maximized window and returns at once, without
// waiting for the browser. Whether the address could be opened is not reported: the shell shows
// its own message, owned by the desktop, when it cannot.
void OpenLink(const std::string& address);
