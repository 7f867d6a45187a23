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
};

// The system's vertical resolution in dots per inch (96 at the design resolution), which a new
// window starts at.
int ScreenDpi();

// Character height in pixels of a font of this many points at `dpi` (9.75 pt: 13 at 96 DPI,
// 19 at 144).
int PointsToPixels(double points, int dpi);

// Creates the font in the ANSI character set; a face the system lacks is replaced by its nearest.
UniqueFont CreateFontFromDesign(const FontDesign& design, int dpi);
