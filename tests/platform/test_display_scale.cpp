// Layout and artwork at the display's DPI, and text colours that stay readable: twips to pixels,
// the pictures' area averaging, and the choice of a text colour on a fixed back colour.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <set>
#include <vector>

#include "platform/window/DisplaySettings.h"
#include "platform/window/PixelScaling.h"
#include "platform/window/Twips.h"

namespace {

TEST(DisplayScale, TwipsBecomePixelsAtDpiOver1440) {
  struct Case {
    int twips, dpi, pixels;
  };
  const Case cases[] = {
      {4515, 96, 301},  {3375, 96, 225},  {4515, 120, 376}, {3375, 120, 281},
      {4515, 144, 452}, {3375, 144, 338}, {4515, 192, 602}, {3375, 192, 450},
      {195, 144, 20},   {-15, 96, -1},    {-195, 144, -20}, {0, 288, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
  }
  // Places that meet in twips meet in pixels, whatever the rounding: the picker's OK button ends
  // where its list ends, at every DPI.
  for (int dpi : {96, 120, 144, 168, 192, 240}) {
    const PixelRect list = ToPixels({270, 300, 3255, 3180}, dpi);
    const PixelRect ok = ToPixels({2550, 3540, 975, 375}, dpi);
    EXPECT_EQ(list.left + list.width, ok.left + ok.width) << dpi;
  }
}

uint32_t Gray(uint32_t level) { return level * 0x010101u; }

TEST(DisplayScale, PicturesGrowByWholeFactorsExactlyAndBlendOnlyAtEdgesOtherwise) {
  // Two columns, black and white, two rows.
  const PixelImage art{2, 2, {Gray(0), Gray(255), Gray(0), Gray(255)}};

  const PixelImage doubled = ScaleByArea(art, 4, 4);
  for (int y = 0; y < 4; ++y) {
    const auto row = doubled.pixels.begin() + y * 4;
    EXPECT_EQ((std::vector<uint32_t>(row, row + 4)),
              (std::vector<uint32_t>{Gray(0), Gray(0), Gray(255), Gray(255)}))
        << "row " << y << ": no smoothing at a whole factor";
  }

  // 1.5 times: the middle new pixel straddles the edge and blends; the others stay pure.
  const PixelImage half = ScaleByArea(art, 3, 3);
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(half.pixels[y * 3 + 0], Gray(0));
    EXPECT_EQ(half.pixels[y * 3 + 1], Gray(128));
    EXPECT_EQ(half.pixels[y * 3 + 2], Gray(255));
  }

  // The alpha channel is averaged like the colours: a cursor's edge becomes half transparent.
  const PixelImage edge{2, 1, {0xFF0000FFu, 0}};
  EXPECT_EQ(ScaleByArea(edge, 3, 1).pixels, (std::vector<uint32_t>{0xFF0000FFu, 0x80000080u, 0}));
}

TEST(DisplayScale, TextOnAFixedColourIsAlwaysReadable) {
  const COLORREF sand = RGB(228, 205, 122);
  const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
  EXPECT_NEAR(ContrastRatio(white, sand), 1.58, 0.02) << "white on sand: unreadable";
  EXPECT_NEAR(ContrastRatio(black, white), 21.0, 0.01);
  struct Case {
    COLORREF text, back, shown;
  };
  const Case cases[] = {
      {white, sand, black},                       // a dark scheme's button text
      {RGB(0, 0, 128), sand, RGB(0, 0, 128)},     // a dark blue of the user's stays
      {RGB(40, 40, 40), RGB(30, 30, 30), white},  // dark on dark
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadableTextColor(c.text, c.back), c.shown) << std::hex << c.text << " on " << c.back;
    EXPECT_GE(ContrastRatio(ReadableTextColor(c.text, c.back), c.back), 4.5);
  }
}

}  // namespace
