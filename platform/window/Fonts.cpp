#include "platform/window/Fonts.h"

#include <cmath>
#include <string>
#include <vector>

#include "platform/window/Twips.h"

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  if (!screen) return 96;
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

// Faces that offer a character set, in the system's order, those of varying width first.
std::vector<std::string> FacesWithCharset(BYTE charset, const std::string& face) {
  struct Found {
    std::vector<std::string> proportional, fixed;
  } found;
  LOGFONTA wanted{};
  wanted.lfCharSet = charset;
  lstrcpynA(wanted.lfFaceName, face.c_str(), LF_FACESIZE);
  HDC screen = GetDC(nullptr);
  if (!screen) return {};
  EnumFontFamiliesExA(
      screen, &wanted,
      [](const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM param) -> int {
        auto* faces = reinterpret_cast<Found*>(param);
        if (font->lfFaceName[0] == '@') return 1;  // the same face turned for vertical text
        ((font->lfPitchAndFamily & 3) == FIXED_PITCH ? faces->fixed : faces->proportional)
            .emplace_back(font->lfFaceName);
        return 1;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  found.proportional.insert(found.proportional.end(), found.fixed.begin(), found.fixed.end());
  return found.proportional;
}

// The face to draw the system's script in: the face designed when it has the script's glyphs
// (MS Sans Serif on a Western system), else the face of the system's message boxes, else the
// first face that has them. An MS Sans Serif asked for in the Japanese character set would give
// its Latin letters and boxes for the rest.
std::string FaceForCharset(const std::string& designed, BYTE charset) {
  if (charset == DEFAULT_CHARSET || !FacesWithCharset(charset, designed).empty()) return designed;
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) &&
      !FacesWithCharset(charset, metrics.lfMessageFont.lfFaceName).empty()) {
    return metrics.lfMessageFont.lfFaceName;
  }
  const std::vector<std::string> faces = FacesWithCharset(charset, "");
  return faces.empty() ? designed : faces.front();
}

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
  const BYTE charset = design.latinOnly ? ANSI_CHARSET : SystemCharset();
  const std::string face = design.latinOnly ? design.face : FaceForCharset(design.face, charset);
  return UniqueFont(CreateFontA(-PointsToPixels(design.points, dpi), 0, 0, 0,
                                design.bold ? FW_BOLD : FW_NORMAL, FALSE, design.underline, FALSE,
                                charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}
