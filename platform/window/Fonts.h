#pragma once
// Fonts as a window's design gives them, and the screen resolution that turns points into pixels.
#include <windows.h>

#include <string>

#include "platform/window/GdiHandles.h"

// A font as a window's design gives it: face name and size in points.
struct FontDesign {
  std::string face = "MS Sans Serif";
  double points = 8.0;
  bool bold = false;
  bool underline = false;
  // Latin letters only, in this face whatever the system's script: a face such as MS Sans Serif
  // has no other character set, and asking it for the system's would give another face.
  bool latinOnly = false;
};

// The system's vertical resolution in dots per inch (96 at the design resolution), which a new
// window starts at.
int ScreenDpi();

// Creates the font in the system's character set (Japanese on a Japanese system), in the face
// designed when that face has the set's glyphs, else in one that Windows finds has them, so that
// every name shows in the player's script; a latinOnly font in the ANSI (Western) set and its own
// face. A face the system lacks is replaced by its nearest.
UniqueFont CreateFontFromDesign(FontDesign design, int dpi);
