#pragma once
// The shift state that key events report.

// The shift state of key events: the sum of the modifier keys held.
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;

// The modifier keys held as the current message was sent, as the key events report them.
int CurrentShiftState();
