#pragma once
// The message box, behind one replaceable function so that tests can record what would be shown
// instead of blocking on a real box.
#include <string>

// Styles in use: 16 (error icon, OK) and 48 (exclamation icon, OK).
constexpr unsigned kMsgBoxError = 16;
constexpr unsigned kMsgBoxExclamation = 48;

// Shows a modal message box owned by the program's active window and returns the button pressed.
int MsgBox(const std::string& prompt, unsigned style, const std::string& title);

using MsgBoxHandler = int (*)(const std::string& prompt, unsigned style, const std::string& title);

// Replaces the function behind MsgBox; nullptr puts the real message box back. Returns the
// handler that was in place.
MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler);
