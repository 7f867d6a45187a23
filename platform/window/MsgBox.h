#pragma once
// The message box, behind one replaceable function so that tests can record what would be shown
// instead of blocking on a real box.
#include <string>

#include <windows.h>

// The styles in use: with a single OK button, the error icon (16, for installation and file
// problems), the exclamation icon (48, for a refused action) and the information icon (64).
constexpr unsigned kMsgBoxError = MB_ICONERROR | MB_OK;
constexpr unsigned kMsgBoxExclamation = MB_ICONEXCLAMATION | MB_OK;
constexpr unsigned kMsgBoxInformation = MB_ICONINFORMATION | MB_OK;
// A question with Yes and No, Yes the default.
constexpr unsigned kMsgBoxQuestionYesNo = MB_ICONEXCLAMATION | MB_YESNO;
// A question with Yes, No and Cancel, Yes the default.
constexpr unsigned kMsgBoxQuestionYesNoCancel = MB_ICONQUESTION | MB_YESNOCANCEL;
static_assert(kMsgBoxError == 16 && kMsgBoxExclamation == 48 && kMsgBoxInformation == 64,
              "the style numbers that the messages are given with");

// Shows a modal message box that belongs to the program and returns the button pressed.
int MsgBox(const std::string& prompt, unsigned style, const std::string& title);
// The same for a prompt that names something the ANSI code page cannot hold (a folder as the
// player wrote it), given in UTF-16. A handler set below receives such a prompt in UTF-8.
int MsgBox(const std::wstring& prompt, unsigned style, const std::string& title);

using MsgBoxHandler = int (*)(const std::string& prompt, unsigned style, const std::string& title);

// Replaces the function behind MsgBox; nullptr puts the real message box back. Returns the
// handler that was in place.
MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler);
