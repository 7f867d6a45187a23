#pragma once
// The message box, behind one replaceable function so that tests can record what would be shown
// instead of blocking on a real box.
#include <string>

#include <windows.h>

// Styles in use: 16 (error icon, OK), 48 (exclamation icon, OK) and 64 (information icon, OK).
constexpr unsigned kMsgBoxError = 16;
constexpr unsigned kMsgBoxExclamation = 48;
constexpr unsigned kMsgBoxInformation = 64;

// Shows a modal message box that belongs to the program and returns the button pressed.
int MsgBox(const std::string& prompt, unsigned style, const std::string& title);

// The window a real box belongs to, and which it disables while it is up: the program's active
// window; when another program is active, the program's topmost visible window; nullptr when it
// has none, and the box is then modal to the whole program (task-modal).
HWND MessageBoxOwner();

using MsgBoxHandler = int (*)(const std::string& prompt, unsigned style, const std::string& title);

// Replaces the function behind MsgBox; nullptr puts the real message box back. Returns the
// handler that was in place.
MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler);
