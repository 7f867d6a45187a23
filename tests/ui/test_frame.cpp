// The decorative frame as it reaches the screen, on the main window and on the picker. Every line
// across an edge's 13-pixel band between the corners (a column along the top and bottom, a row
// along the sides) must be a line of that edge's tile: where a tile is missing or out of place,
// the background shows through and makes a line that no tile has. So again once the window was
// covered and uncovered. At other DPIs the tiles are scaled: there, with a magenta picture
// behind them, no pixel of the four bands may be magenta.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/window/GdiHandles.h"
#include "tests/support/WindowTestSupport.h"
#include "ui/frmSelectScn.h"
#include "ui/res/resource.h"

using namespace test_support;

namespace {

constexpr int kBand = 13;  // the tiles' thickness

// Pixels as 0xRRGGBB values, row after row from the top.
struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> values;
  uint32_t At(int x, int y) const { return values[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
  // The kBand pixels across a band: down from row `from` at column `along` of a horizontal band,
  // or right from column `from` at row `along` of a vertical one.
  std::vector<uint32_t> Across(bool horizontal, int along, int from) const {
    std::vector<uint32_t> line;
    for (int n = from; n < from + kBand; ++n)
      line.push_back(horizontal ? At(along, n) : At(n, along));
    return line;
  }
};

// The top-left area of a device context, copied through a 32-bit top-down DIB section.
Pixels Copy(HDC source, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueBitmap section(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  MemoryDC target;
  {
    SelectedObject selected(target.Get(), section.Get());
    BitBlt(target.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
  }
  GdiFlush();
  const auto* first = static_cast<const uint32_t*>(bits);
  return {width, height, {first, first + static_cast<size_t>(width) * height}};
}

void ExpectNoGapInTheFrame(HWND hwnd, const std::string& what) {
  DrainMessages();
  RECT client;
  GetClientRect(hwnd, &client);
  HDC dc = GetDC(hwnd);
  const Pixels shown = Copy(dc, client.right, client.bottom);
  ReleaseDC(hwnd, dc);

  struct Edge {
    const char* name;
    int tile;
    bool horizontal;
    bool farSide;  // bottom or right
  };
  for (const Edge& edge :
       {Edge{"top", IDB_EDGE_TOP, true, false}, Edge{"bottom", IDB_EDGE_BOTTOM, true, true},
        Edge{"left", IDB_EDGE_LEFT, false, false}, Edge{"right", IDB_EDGE_RIGHT, false, true}}) {
    UniqueBitmap bitmap(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(edge.tile), IMAGE_BITMAP, 0, 0, 0)));
    const SIZE size = BitmapSize(bitmap.Get());
    MemoryDC tileDc;
    SelectedObject selected(tileDc.Get(), bitmap.Get());
    const Pixels tile = Copy(tileDc.Get(), size.cx, size.cy);
    std::set<std::vector<uint32_t>> tileLines;
    for (int along = 0; along < (edge.horizontal ? size.cx : size.cy); ++along) {
      tileLines.insert(tile.Across(edge.horizontal, along, 0));
    }
    ASSERT_FALSE(tileLines.empty()) << edge.name;
    const int length = edge.horizontal ? shown.width : shown.height;
    const int from = edge.farSide ? (edge.horizontal ? shown.height : shown.width) - kBand : 0;
    int gaps = 0;
    for (int along = kBand; along < length - kBand; ++along) {
      gaps += !tileLines.contains(shown.Across(edge.horizontal, along, from));
    }
    EXPECT_EQ(gaps, 0) << what << ", " << edge.name << " edge: lines that no tile makes";
  }
}

// Another program's window over the whole of this one, then gone, and the window painted afresh.
void CoverAndUncover(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Static", "",
                               WS_POPUP | WS_VISIBLE | SS_BLACKRECT, r.left - 10, r.top - 10,
                               r.right - r.left + 20, r.bottom - r.top + 20, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  DrainMessages();
  DestroyWindow(cover);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void ExpectNoGapAlsoAfterCoverAndUncover(HWND hwnd, const std::string& what) {
  ExpectNoGapInTheFrame(hwnd, what);
  CoverAndUncover(hwnd);
  ExpectNoGapInTheFrame(hwnd, what + " uncovered");
}

class Frame : public WindowTest {};

TEST_F(Frame, OfTheMainWindowAndThePickerHasNoGapAlsoAfterCoverAndUncover) {
  ShowMain();
  ExpectNoGapAlsoAfterCoverAndUncover(main_->Hwnd(), "main window");
  frmSelectScn picker;
  picker.Show();
  ASSERT_TRUE(PumpUntil([&] { return picker.IsVisible(); }));
  ExpectNoGapAlsoAfterCoverAndUncover(picker.Hwnd(), "picker");
  picker.Unload();
}

void ExpectTheFrameCoversItsBands(Form& form, int dpi, const std::string& what) {
  ChangeDpi(form, dpi);
  RECT client;
  GetClientRect(form.Hwnd(), &client);
  HDC dc = GetDC(form.Hwnd());
  const Pixels shown = Copy(dc, client.right, client.bottom);
  ReleaseDC(form.Hwnd(), dc);
  const int band = TwipsToPixels(195, dpi);
  int background = 0, inBands = 0;
  for (int y = 0; y < shown.height; ++y) {
    for (int x = 0; x < shown.width; ++x) {
      const bool magenta = shown.At(x, y) == 0xFF00FF;
      background += magenta;
      inBands +=
          magenta && (x < band || y < band || x >= shown.width - band || y >= shown.height - band);
    }
  }
  EXPECT_GT(background, 0) << what << " at " << dpi << " DPI: the picture behind is not drawn";
  EXPECT_EQ(inBands, 0) << what << " at " << dpi << " DPI: gaps in the frame";
}

TEST_F(Frame, CoversEveryEdgeWithoutAGapAtEveryDpi) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, 640, -480, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueBitmap magenta(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  std::fill_n(static_cast<uint32_t*>(bits), 640 * 480, 0xFF00FFu);

  ShowMain();
  main_->SetPicture(magenta.Get());
  frmSelectScn picker;
  picker.Show();
  ASSERT_TRUE(PumpUntil([&] { return picker.IsVisible(); }));
  picker.SetPicture(magenta.Get());
  for (int dpi : {120, 144, 168, 192, 96}) {
    ExpectTheFrameCoversItsBands(*main_, dpi, "main window");
    ExpectTheFrameCoversItsBands(picker, dpi, "picker");
  }
  picker.Unload();
}

}  // namespace
