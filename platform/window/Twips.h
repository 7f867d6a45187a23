#pragma once
// Window geometry is designed in twips, at 15 twips per pixel. The manifest declares no DPI
// awareness, so Windows scales whole windows on high-DPI screens and pixels here stay design pixels.

constexpr int kTwipsPerPixel = 15;

// Rounds to the nearest pixel; every design value is a whole number of pixels anyway.
constexpr int TwipsToPixels(int twips) {
  return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                    : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

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

constexpr PixelRect ToPixels(const TwipsRect& r) {
  return {TwipsToPixels(r.left), TwipsToPixels(r.top), TwipsToPixels(r.width),
          TwipsToPixels(r.height)};
}
