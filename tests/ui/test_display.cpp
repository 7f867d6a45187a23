// The windows on other displays: laid out at 144 DPI (as on a screen of that resolution), read
// in a dark colour scheme and in high-contrast mode, and the picker's list scrolled sideways to
// a name longer than it is wide.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "platform/window/DisplaySettings.h"
#include "platform/window/Resources.h"
#include "tests/support/WindowTestSupport.h"
#include "ui/ProgramIdentity.h"
#include "ui/frmSplash.h"
#include "ui/res/resource.h"

using namespace test_support;

namespace {

COLORREF PixelOf(HWND hwnd, int x, int y) {
  HDC dc = GetDC(hwnd);
  const COLORREF color = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return color;
}

// The text in the rectangle is drawn dark: more than a few dark pixels, and none white.
void ExpectDarkTextOnly(HWND hwnd, const RECT& r, const std::string& what) {
  int darkPixels = 0, whitePixels = 0;
  HDC dc = GetDC(hwnd);
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      darkPixels += GetRValue(c) + GetGValue(c) + GetBValue(c) < 150;
      whitePixels += c == RGB(255, 255, 255);
    }
  }
  ReleaseDC(hwnd, dc);
  EXPECT_GT(darkPixels, 10) << what << ": the text is drawn dark";
  EXPECT_EQ(whitePixels, 0) << what;
}

// System colours set for a scope: the previous ones come back however the test ends, so that a
// failed assertion does not leave the next tests (and the session) in the dark scheme.
class SysColorsGuard {
 public:
  template <size_t N>
  SysColorsGuard(const int (&indexes)[N], const COLORREF (&colors)[N])
      : m_indexes(indexes, indexes + N) {
    for (int index : m_indexes) m_saved.push_back(GetSysColor(index));
    SetSysColors(static_cast<int>(N), indexes, colors);
  }
  SysColorsGuard(const SysColorsGuard&) = delete;
  SysColorsGuard& operator=(const SysColorsGuard&) = delete;
  ~SysColorsGuard() {
    SetSysColors(static_cast<int>(m_indexes.size()), m_indexes.data(), m_saved.data());
  }

 private:
  std::vector<int> m_indexes;
  std::vector<COLORREF> m_saved;
};

class Display : public WindowTest {
 protected:
  void TearDown() override {
    SetHighContrastQuery(nullptr);
    WindowTest::TearDown();
  }
};

// The window has its top-left corner where Windows suggested.
void ExpectAtSuggestedPlace(HWND hwnd, const RECT& suggested, const char* what) {
  RECT window;
  GetWindowRect(hwnd, &window);
  EXPECT_EQ((std::array<long, 2>{window.left, window.top}),
            (std::array<long, 2>{suggested.left, suggested.top}))
      << what;
}

// Windows draws a window's title bar and borders at the DPI of its screen, from the moment it
// sends WM_DPICHANGED; Wine keeps the system's. This window procedure gives a window the frame of
// frameDpi, as Windows would.
int frameDpi = kDesignDpi;
WNDPROC formProcedure = nullptr;
LRESULT CALLBACK FrameAtDpi(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_NCCALCSIZE)
    return CallWindowProcA(formProcedure, hwnd, message, wParam, lParam);
  const RECT frame = WithFrameAt(hwnd, {}, frameDpi);
  RECT& r = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                   : *reinterpret_cast<RECT*>(lParam);
  r = {r.left - frame.left, r.top - frame.top, r.right - frame.right, r.bottom - frame.bottom};
  return 0;
}

TEST_F(Display, MovedToAScreenOfAnotherDpiTheWindowTakesTheRectangleWindowsSuggests) {
  ShowMain();
  formProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(main_->Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameAtDpi)));
  for (const int dpi : {144, 120, 96}) {
    frameDpi = dpi;
    const RECT suggested = ChangeDpi(*main_, dpi, {dpi, dpi / 2});
    RECT window;
    GetWindowRect(main_->Hwnd(), &window);
    EXPECT_EQ(
        (std::array<long, 4>{window.left, window.top, window.right, window.bottom}),
        (std::array<long, 4>{suggested.left, suggested.top, suggested.right, suggested.bottom}))
        << dpi << " DPI";
    EXPECT_EQ(ClientSize(main_->Hwnd()),
              (std::array<long, 2>{TwipsToPixels(main_->Design().clientSize.width, dpi),
                                   TwipsToPixels(main_->Design().clientSize.height, dpi)}))
        << dpi << " DPI";
  }
  SetWindowLongPtrA(main_->Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(formProcedure));
}

// The width of the window's icon of this kind (ICON_BIG, ICON_SMALL); 0 for none.
long IconWidth(HWND hwnd, WPARAM kind) {
  const auto icon = reinterpret_cast<HICON>(SendMessageA(hwnd, WM_GETICON, kind, 0));
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  const UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
  return BitmapSize(color.Get()).cx;
}

TEST_F(Display, At144DpiEveryWindowHasItsDesignSizeInPixels) {
  ShowMain();
  ExpectAtSuggestedPlace(main_->Hwnd(), ChangeDpi(*main_, 144), "main window");
  EXPECT_EQ(ClientSize(main_->Hwnd()), (std::array<long, 2>{452, 338}));
  EXPECT_EQ((std::array<long, 2>{IconWidth(main_->Hwnd(), ICON_BIG),
                                 IconWidth(main_->Hwnd(), ICON_SMALL)}),
            (std::array<long, 2>{48, 24}))
      << "the taskbar's and the title bar's icon at 144 DPI";
  EXPECT_EQ(PlaceOf(MainButton("Add")), (Place{24, 24, 98, 38}));
  EXPECT_EQ(PlaceOf(MainList()), (Place{24, 66, 404, 221}));
  frmSelectScn picker;
  picker.Show();
  ExpectAtSuggestedPlace(picker.Hwnd(), ChangeDpi(picker, 144, {300, 200}), "picker");
  EXPECT_EQ(ClientSize(picker.Hwnd()), (std::array<long, 2>{380, 422}));
  EXPECT_EQ(PlaceOf(FindButton(picker.Hwnd(), "OK")), (Place{255, 354, 98, 38}));
  picker.Unload();
  frmSplash splash;
  splash.Show();
  ExpectAtSuggestedPlace(splash.Hwnd(), ChangeDpi(splash, 144), "splash");
  EXPECT_EQ(ClientSize(splash.Hwnd()), (std::array<long, 2>{450, 300}));
  splash.Unload();
  // The link's hand grows too, at every DPI, its hot spot still at the fingertip.
  const struct {
    int dpi, size;
    DWORD hotSpotX;
  } hands[] = {{120, 40, 5}, {144, 48, 6}, {192, 64, 8}};
  for (const auto& expected : hands) {
    const UniqueCursor hand = LoadCursorResource(IDC_LINK_HAND, expected.dpi);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand.Get(), &info));
    const UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    EXPECT_EQ(BitmapSize(color.Get()).cx, expected.size) << expected.dpi << " DPI";
    EXPECT_EQ((std::array<DWORD, 2>{info.xHotspot, info.yHotspot}),
              (std::array<DWORD, 2>{expected.hotSpotX, 0}))
        << expected.dpi << " DPI";
  }
  // Back on a 96-DPI screen, exactly as designed.
  ExpectAtSuggestedPlace(main_->Hwnd(), ChangeDpi(*main_, 96, {5, 6}), "main window back");
  EXPECT_EQ(ClientSize(main_->Hwnd()), (std::array<long, 2>{301, 225}));
  EXPECT_EQ((std::array<long, 2>{IconWidth(main_->Hwnd(), ICON_BIG),
                                 IconWidth(main_->Hwnd(), ICON_SMALL)}),
            (std::array<long, 2>{32, 16}));
  EXPECT_EQ(PlaceOf(MainList()), (Place{16, 44, 269, 147}));
}

// The home page's address shows whole in both windows at every DPI we test: each link label is
// as wide as the address in the font it draws with, and within its place.
TEST_F(Display, LinkLabelsShowTheWholeAddressAtEveryDpi) {
  ShowMain();
  frmSplash splash;
  splash.Show();
  const struct {
    const Form* form;
    TwipsRect place;
  } labels[] = {{main_.get(), {1995, 2880, 2325, 255}}, {&splash, {2055, 2700, 2385, 255}}};
  for (const int dpi : {96, 120, 144, 192}) {
    for (const auto& label : labels) {
      ChangeDpi(*label.form, dpi);
      const LabelFit fit =
          FitOf(FindWindowExA(label.form->Hwnd(), nullptr, "Static", kHomePageAddress.data()));
      const std::string what =
          (label.form == &splash ? "splash at " : "main window at ") + std::to_string(dpi) + " DPI";
      EXPECT_GT(fit.textWidth, 0) << what;
      EXPECT_EQ(fit.labelWidth, fit.textWidth) << what;
      EXPECT_LE(fit.labelWidth, ToPixels(label.place, dpi).width) << what;
    }
  }
  for (const auto& label : labels) ChangeDpi(*label.form, kDesignDpi);
  splash.Unload();
}

// The pointing hand over the link only: the rest of the window keeps the arrow.
TEST_F(Display, TheLinkAloneShowsTheHand) {
  ShowMain();
  const HWND link = FindWindowExA(main_->Hwnd(), nullptr, "Static", kHomePageAddress.data());
  ASSERT_TRUE(link);
  const HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  for (HWND over : {link, main_->Hwnd(), MainList()}) {
    SetCursor(arrow);
    SendMessageA(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor() != arrow, over == link) << "the hand only over the link";
  }
}

TEST_F(Display, CaptionsAndRowsOnSandStayDarkInADarkSchemeAndTheSelectionKeepsItsHighlight) {
  const int indexes[] = {COLOR_BTNTEXT, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT};
  const COLORREF dark[] = {RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 120, 215)};
  const SysColorsGuard darkScheme(indexes, dark);
  WriteBytes(game_.UserCfg(), AttractLines({{0, kWater}, {1, kNorse}}));
  ShowMain();
  for (const char* caption : {"Add", "Edit", "Delete"}) {
    RECT inside;
    GetClientRect(MainButton(caption), &inside);
    InflateRect(&inside, -4, -4);
    ExpectDarkTextOnly(MainButton(caption), inside, caption);
  }
  RECT selected, other;
  SendMessageA(MainList(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&selected));
  SendMessageA(MainList(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&other));
  EXPECT_EQ(PixelOf(MainList(), selected.right - 3, selected.top + 2), dark[2]);
  ExpectDarkTextOnly(MainList(), other, "the other row");
}

TEST_F(Display, HighContrastGivesTheSystemsColoursButKeepsTheSplashPicture) {
  SetHighContrastQuery([] { return true; });
  ShowMain();
  // Between Edit and Delete only the background shows.
  const PixelRect gap = ToPixels({2300, 300, 900, 200}, main_->Dpi());
  EXPECT_EQ(PixelOf(main_->Hwnd(), gap.left, gap.top), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(PixelOf(MainButton("Add"), 6, 6), GetSysColor(COLOR_BTNFACE));
  RECT client;
  GetClientRect(MainList(), &client);
  EXPECT_EQ(PixelOf(MainList(), 20, client.bottom - 3), GetSysColor(COLOR_WINDOW));
  frmSplash splash;
  splash.Show();
  DrainMessages();
  EXPECT_NE(PixelOf(splash.Hwnd(), 150, 100), GetSysColor(COLOR_BTNFACE)) << "the picture stays";
  splash.Unload();
}

TEST_F(Display, PickerListScrollsSidewaysToANameWiderThanItself) {
  const std::string longName = "An island campaign whose name is far wider than the list";
  MakeScenarioFolder({longName + ".scn"});
  ShowMain();
  LRESULT extent = 0;
  SIZE text{};
  bool scrollBar = false;
  const PickerStep look = [&](HWND picker) {
    HWND list = FindList(picker);
    extent = SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0);
    scrollBar = GetWindowLongPtrA(list, GWL_STYLE) & WS_HSCROLL;
    HDC dc = GetDC(list);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32A(dc, longName.c_str(), static_cast<int>(longName.size()), &text);
    ReleaseDC(list, dc);
  };
  PickerDriver driver(main_->Picker(), {look, Press("Cancel")});
  main_->Picker().ShowModal(main_.get());
  EXPECT_TRUE(scrollBar);
  EXPECT_GT(extent, text.cx) << "the whole name can be scrolled into view";
  EXPECT_LT(extent, text.cx + 20);
}

}  // namespace
