#pragma once
// Window geometry is designed in twips: 1440 to the inch, so a twip is DPI / 1440 pixels on a
// display of that resolution. At 96 DPI, the design resolution, that is 15 twips a pixel.

constexpr int kDesignDpi = 96;
constexpr int kTwipsPerInch = 1440;
constexpr int kTwipsPerPixel = kTwipsPerInch / kDesignDpi;

// `value` times `numerator` / `denominator`, rounded to the nearest whole number (halves away
// from zero), without the overflow of int for any value a window can have.
constexpr int ScaleRounded(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : -((-product + half) / denominator));
}

// Twips to pixels on a display of `dpi` dots per inch.
constexpr int TwipsToPixels(int twips, int dpi) { return ScaleRounded(twips, dpi, kTwipsPerInch); }

// A length in design pixels (the artwork's own pixels, made for 96 DPI) at `dpi`.
constexpr int DesignPixelsAt(int pixels, int dpi) { return ScaleRounded(pixels, dpi, kDesignDpi); }

struct TwipsPoint {
  int x = 0;
  int y = 0;
};

struct TwipsSize {
  int width = 0;
  int height = 0;
};

// A control's place relative to the top-left corner of its window's client area.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The edges are converted, not the sizes: two places that meet or overlap in twips meet or
// overlap in pixels too, whatever the rounding at this DPI.
constexpr PixelRect ToPixels(const TwipsRect& r, int dpi) {
  const int left = TwipsToPixels(r.left, dpi);
  const int top = TwipsToPixels(r.top, dpi);
  return {left, top, TwipsToPixels(r.left + r.width, dpi) - left,
          TwipsToPixels(r.top + r.height, dpi) - top};
}
