#include "platform/window/Fonts.h"

#include <cmath>

#include "platform/window/Twips.h"

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

namespace {

// Character height in pixels of a font of this many points at `dpi` (9.75 pt: 13 at 96 DPI,
// 19 at 144).
int PointsToPixels(double points, int dpi) {
  // The height the design has at 96 DPI, scaled and rounded down: the text grows with the boxes
  // it is drawn in (scaled exactly) and never beyond them.
  const long designPixels = std::lround(points * kDesignDpi / 72.0);
  return static_cast<int>(designPixels * dpi / kDesignDpi);
}

// The character set of the system's ANSI code page: SHIFTJIS_CHARSET on a Japanese system,
// ANSI_CHARSET on a Western one; DEFAULT_CHARSET where there is none (UTF-8 as the code page).
BYTE SystemCharset() {
  CHARSETINFO info{};
  const auto codePage = static_cast<DWORD_PTR>(GetACP());
  if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(codePage), &info, TCI_SRCCODEPAGE))
    return DEFAULT_CHARSET;
  return static_cast<BYTE>(info.ciCharset);
}

}  // namespace

UniqueFont CreateFontFromDesign(FontDesign design, int dpi) {
  // MS Sans Serif is a bitmap font, made in a few sizes for 96 DPI only (under Wine it stops
  // growing at 16 pixels): above that its TrueType successor in Windows' own dialogs, Tahoma,
  // grows with the display. At 96 DPI the design's face is kept, pixel for pixel.
  if (dpi != kDesignDpi && design.face == "MS Sans Serif") design.face = "Tahoma";
  // Windows' font mapper weighs the character set above the face's name: asked for MS Sans Serif
  // in the Japanese set, which that face lacks, it gives a face that has Japanese glyphs (a
  // proportional sans serif one, as asked) rather than Latin letters and boxes for the rest.
  const BYTE charset = design.latinOnly ? ANSI_CHARSET : SystemCharset();
  // A negative height asks for the character height, which is what a point size measures.
  return UniqueFont(CreateFontA(-PointsToPixels(design.points, dpi), 0, 0, 0,
                                design.bold ? FW_BOLD : FW_NORMAL, FALSE, design.underline, FALSE,
                                charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                VARIABLE_PITCH | FF_SWISS, design.face.c_str()));
}
