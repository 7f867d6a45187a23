#pragma once
// What the display and the user's settings ask of the windows: high-contrast mode
// and readable text colours.
#include <windows.h>

// The user chose a high-contrast theme: decoration and fixed colours give way to the system's.
bool HighContrastOn();

// Replaces the system's answer behind HighContrastOn; nullptr puts the system's answer back.
// Returns the query that was in place. A seam for tests and the screenshots, kept because nothing
// else can stand in for it: Wine has no high-contrast mode (it always answers "off" and cannot be
// switched on), so without it no test could see the windows as a player in that mode does.
using HighContrastQuery = bool (*)();
HighContrastQuery SetHighContrastQuery(HighContrastQuery query);

// WCAG's contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double ContrastRatio(COLORREF a, COLORREF b);

// `text` when it can be read well on `back` (a contrast of 4.5 : 1 or more), else black or white,
// whichever stands out more on `back`.
COLORREF ReadableTextColor(COLORREF text, COLORREF back);
