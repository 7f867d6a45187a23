#include "platform/window/DisplaySettings.h"

#include <cmath>
#include <utility>

namespace {

double Linear(int channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(COLORREF color) {
  return 0.2126 * Linear(GetRValue(color)) + 0.7152 * Linear(GetGValue(color)) +
         0.0722 * Linear(GetBValue(color));
}

// A replacement for the system's answer, for tests and screenshots.
HighContrastQuery highContrastQuery = nullptr;

}  // namespace

HighContrastQuery SetHighContrastQuery(HighContrastQuery query) {
  return std::exchange(highContrastQuery, query);
}

bool HighContrastOn() {
  if (highContrastQuery) return highContrastQuery();
  HIGHCONTRASTA settings{};
  settings.cbSize = sizeof settings;
  return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof settings, &settings, 0) &&
         (settings.dwFlags & HCF_HIGHCONTRASTON);
}

double ContrastRatio(COLORREF a, COLORREF b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return la > lb ? (la + 0.05) / (lb + 0.05) : (lb + 0.05) / (la + 0.05);
}

COLORREF ReadableTextColor(COLORREF text, COLORREF back) {
  constexpr double kReadable = 4.5;
  if (ContrastRatio(text, back) >= kReadable) return text;
  const COLORREF black = RGB(0, 0, 0);
  const COLORREF white = RGB(255, 255, 255);
  return ContrastRatio(black, back) >= ContrastRatio(white, back) ? black : white;
}
