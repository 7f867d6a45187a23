#include "platform/window/Fonts.h"

#include <cmath>

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  if (!screen) return 96;
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

int PointsToPixels(double points, int dpi) {
  return static_cast<int>(std::lround(points * dpi / 72.0));
}

UniqueFont CreateFontFromDesign(const FontDesign& design, int dpi) {
  // A negative height asks for the character height, which is what a point size measures.
  return UniqueFont(CreateFontA(-PointsToPixels(design.points, dpi), 0, 0, 0,
                                design.bold ? FW_BOLD : FW_NORMAL, FALSE, design.underline, FALSE,
                                ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, design.face.c_str()));
}
