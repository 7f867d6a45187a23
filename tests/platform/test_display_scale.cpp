// Layout, artwork and text at the display's DPI and in the player's script, and text colours that
// stay readable: twips to pixels, the pictures' scaling, the windows' font, and the choice of a
// text colour on a fixed back colour.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window/DisplaySettings.h"
#include "platform/window/Fonts.h"
#include "platform/window/GdiHandles.h"
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

// The pixels of a bitmap, as 0xRRGGBB values row after row from the top.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap) {
  const SIZE size = BitmapSize(bitmap);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint32_t> pixels(static_cast<size_t>(size.cx) * size.cy);
  MemoryDC dc;
  GetDIBits(dc.Get(), bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS);
  for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

constexpr uint32_t kBlack = 0, kWhite = 0xFFFFFF;

TEST(DisplayScale, PicturesGrowByWholeFactorsExactlyAndBlendOnlyNearEdgesOtherwise) {
  // Four columns, black, black, white, white, three rows: the artwork's hard edges.
  const uint32_t art[] = {kBlack, kBlack, kWhite, kWhite, kBlack, kBlack,
                          kWhite, kWhite, kBlack, kBlack, kWhite, kWhite};
  const UniqueBitmap source(CreateBitmap(4, 3, 1, 32, art));
  ASSERT_TRUE(source);

  const UniqueBitmap doubled = ScaleBitmap(source.Get(), 8, 6);
  ASSERT_EQ(BitmapSize(doubled.Get()).cx, 8);
  const std::vector<uint32_t> twice = PixelsOf(doubled.Get());
  for (int y = 0; y < 6; ++y) {
    EXPECT_EQ(
        std::vector<uint32_t>(twice.begin() + y * 8, twice.begin() + y * 8 + 8),
        (std::vector<uint32_t>{kBlack, kBlack, kBlack, kBlack, kWhite, kWhite, kWhite, kWhite}))
        << "row " << y << ": no smoothing at a whole factor";
  }

  // 1.5 times: the far columns stay pure, only those near the edge may blend, and the grey of
  // the blend is one of the edge's, never a colour the picture does not have.
  const UniqueBitmap half = ScaleBitmap(source.Get(), 6, 5);
  ASSERT_EQ(BitmapSize(half.Get()).cy, 5);
  const std::vector<uint32_t> larger = PixelsOf(half.Get());
  for (int y = 0; y < 5; ++y) {
    EXPECT_EQ(larger[y * 6 + 0], kBlack) << "row " << y;
    EXPECT_EQ(larger[y * 6 + 5], kWhite) << "row " << y;
    for (int x = 0; x < 6; ++x) {
      const uint32_t pixel = larger[y * 6 + x];
      EXPECT_EQ(pixel, (pixel & 0xFF) * 0x010101u) << "a grey at " << x << ", " << y;
    }
  }
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

// The windows' font shows the player's script: on a Japanese system (code page 932) a face with
// Japanese glyphs, in the Japanese character set, also where the design's face has only Latin
// letters; on a Western one the design's face itself. make test runs this in several code pages.
TEST(DisplayScale, TheWindowsFontDrawsThePlayersScript) {
  struct Script {
    UINT codePage;
    BYTE charset;
    const wchar_t* text;
  };
  const Script scripts[] = {
      {932, SHIFTJIS_CHARSET, L"\u8868\u793A"},       {936, GB2312_CHARSET, L"\u957F\u57CE"},
      {950, CHINESEBIG5_CHARSET, L"\u9577\u57CE"},    {949, HANGEUL_CHARSET, L"\uD55C\uAE00"},
      {1251, RUSSIAN_CHARSET, L"\u041C\u0438\u0440"}, {1252, ANSI_CHARSET, L"Harbour"}};
  for (const Script& script : scripts) {
    if (script.codePage != GetACP()) continue;
    for (const int dpi : {96, 144}) {
      const UniqueFont font = CreateFontFromDesign(FontDesign{}, dpi);
      ASSERT_TRUE(font);
      MemoryDC dc;
      const SelectedObject selected(dc.Get(), font.Get());
      char face[LF_FACESIZE] = {};
      GetTextFaceA(dc.Get(), LF_FACESIZE, face);
      const std::string what = std::string(face) + " at " + std::to_string(dpi) + " DPI in " +
                               std::to_string(script.codePage);
      EXPECT_EQ(GetTextCharset(dc.Get()), script.charset) << what;
      const std::wstring text = script.text;
      std::vector<WORD> glyphs(text.size());
      GetGlyphIndicesW(dc.Get(), text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                       GGI_MARK_NONEXISTING_GLYPHS);
      for (WORD glyph : glyphs) EXPECT_NE(glyph, 0xFFFF) << what << ": a glyph is missing";
      if (script.codePage == 1252 && dpi == kDesignDpi) {
        EXPECT_STREQ(face, "MS Sans Serif");
      }
    }
  }
}

}  // namespace
