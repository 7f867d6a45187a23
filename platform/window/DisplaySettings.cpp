#include "platform/window/DisplaySettings.h"

#include <cmath>
#include <utility>

#include "platform/SystemFunction.h"
#include "platform/window/Fonts.h"

namespace {

// dwmapi.h's values for Windows 11's corners.
constexpr DWORD kDwmWindowCornerPreference = 33;  // DWMWA_WINDOW_CORNER_PREFERENCE
constexpr DWORD kDwmDoNotRound = 1;               // DWMWCP_DONOTROUND

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

int DpiOfWindow(HWND hwnd) {
  static const auto getDpiForWindow =
      SystemFunction<UINT(WINAPI*)(HWND)>("user32.dll", "GetDpiForWindow");
  const UINT dpi = getDpiForWindow && hwnd ? getDpiForWindow(hwnd) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

int SystemMetricAt(int index, int dpi) {
  static const auto forDpi =
      SystemFunction<int(WINAPI*)(int, UINT)>("user32.dll", "GetSystemMetricsForDpi");
  return forDpi ? forDpi(index, static_cast<UINT>(dpi))
                : MulDiv(GetSystemMetrics(index), dpi, ScreenDpi());
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjust = SystemFunction<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(
      "user32.dll", "AdjustWindowRectExForDpi");
  if (!adjust || !adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
}

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

void KeepSquareCorners(HWND hwnd) {
  static const auto setAttribute =
      SystemFunction<HRESULT(WINAPI*)(HWND, DWORD, const void*, DWORD)>("dwmapi.dll",
                                                                        "DwmSetWindowAttribute");
  if (!setAttribute) return;
  const DWORD preference = kDwmDoNotRound;
  // Refused before Windows 11, which knows no such attribute: the corners are square there.
  setAttribute(hwnd, kDwmWindowCornerPreference, &preference, sizeof preference);
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
