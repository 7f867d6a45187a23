#include "platform/window/Fonts.h"

#include <cmath>

#include "platform/window/Twips.h"

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  if (!screen) return 96;
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

int PointsToPixels(double points, int dpi) {
  // The height the design has at 96 DPI, scaled and rounded down: the text grows with the boxes
  // it is drawn in (scaled exactly) and never beyond them.
  const long designPixels = std::lround(points * kDesignDpi / 72.0);
  return static_cast<int>(designPixels * dpi / kDesignDpi);
}

namespace {

// MS Sans Serif is a bitmap font, made in a few sizes for 96 DPI only (under Wine it stops
// growing at 16 pixels): above that its TrueType successor in Windows' own dialogs, Tahoma,
// grows with the display. At 96 DPI the design's face is kept, pixel for pixel.
FontDesign ScalableAt(FontDesign design, int dpi) {
  if (dpi != kDesignDpi && design.face == "MS Sans Serif") design.face = "Tahoma";
  return design;
}

}  // namespace

UniqueFont CreateFontFromDesign(const FontDesign& requested, int dpi) {
  const FontDesign design = ScalableAt(requested, dpi);
  // A negative height asks for the character height, which is what a point size measures.
  return UniqueFont(CreateFontA(-PointsToPixels(design.points, dpi), 0, 0, 0,
                                design.bold ? FW_BOLD : FW_NORMAL, FALSE, design.underline, FALSE,
                                ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, design.face.c_str()));
}
