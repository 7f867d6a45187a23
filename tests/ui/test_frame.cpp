// The decorative frame as it reaches the screen, on the main window and on the picker. Each
// corner shows its own bitmap, and every line across an edge's 13-pixel band (a column along the
// top and bottom, a row along the sides) is a line of that edge's tile: where a tile is missing or
// out of place, the background shows through and makes a line that no tile has. The frame is the
// same again after the window was covered and uncovered, and after it was moved.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/GdiHandles.h"
#include "tests/ui/WindowTestSupport.h"
#include "ui/frmSelectScn.h"
#include "ui/res/resource.h"

using namespace window_test;
using testing_support::DrainMessages;
using testing_support::PumpUntil;

namespace {

constexpr int kBand = 13;  // the tiles' thickness

// Pixels as 0xRRGGBB values, row after row from the top.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> values;
  uint32_t At(int x, int y) const {
    return values[static_cast<size_t>(y) * width + x] & 0xFFFFFF;
  }
};

// Copies the top-left area of a device context through a 32-bit DIB section.
Pixels Copy(HDC source, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap section(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section) return {};
  MemoryDC target;
  {
    SelectedObject selected(target.Get(), section.Get());
    BitBlt(target.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
  }
  GdiFlush();
  const auto* first = static_cast<const uint32_t*>(bits);
  return {width, height, {first, first + static_cast<size_t>(width) * height}};
}

Pixels ResourceBitmap(int id) {
  UniqueBitmap bitmap(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0)));
  if (!bitmap) return {};
  const SIZE size = BitmapSize(bitmap.Get());
  MemoryDC dc;
  SelectedObject selected(dc.Get(), bitmap.Get());
  return Copy(dc.Get(), size.cx, size.cy);
}

// The client area as the window shows it, controls included.
Pixels ClientPixels(HWND hwnd) {
  RECT client;
  GetClientRect(hwnd, &client);
  HDC dc = GetDC(hwnd);
  Pixels pixels = Copy(dc, client.right, client.bottom);
  ReleaseDC(hwnd, dc);
  return pixels;
}

using Line = std::vector<uint32_t>;

// The kBand pixels across a band at a place along it: a column of a horizontal band starting at
// row `from`, or a row of a vertical band starting at column `from`.
Line LineAcross(const Pixels& pixels, bool horizontal, int along, int from) {
  Line line;
  for (int n = 0; n < kBand; ++n) {
    line.push_back(horizontal ? pixels.At(along, from + n) : pixels.At(from + n, along));
  }
  return line;
}

struct Edge {
  const char* name;
  int tile;
  bool horizontal;
  bool farSide;  // bottom or right
};
constexpr Edge kEdges[] = {{"top", IDB_EDGE_TOP, true, false},
                           {"bottom", IDB_EDGE_BOTTOM, true, true},
                           {"left", IDB_EDGE_LEFT, false, false},
                           {"right", IDB_EDGE_RIGHT, false, true}};

struct Corner {
  const char* name;
  int tile;
  bool right;
  bool bottom;
};
constexpr Corner kCorners[] = {{"top-left", IDB_CORNER_TOP_LEFT, false, false},
                               {"top-right", IDB_CORNER_TOP_RIGHT, true, false},
                               {"bottom-left", IDB_CORNER_BOTTOM_LEFT, false, true},
                               {"bottom-right", IDB_CORNER_BOTTOM_RIGHT, true, true}};

void ExpectWholeFrame(const Pixels& shown, const std::string& window) {
  ASSERT_GT(shown.width, 2 * kBand) << window;
  ASSERT_GT(shown.height, 2 * kBand) << window;

  for (const Corner& corner : kCorners) {
    const Pixels tile = ResourceBitmap(corner.tile);
    ASSERT_EQ(tile.width, kBand) << corner.name;
    const int left = corner.right ? shown.width - kBand : 0;
    const int top = corner.bottom ? shown.height - kBand : 0;
    int wrong = 0;
    for (int y = 0; y < kBand; ++y) {
      for (int x = 0; x < kBand; ++x) wrong += shown.At(left + x, top + y) != tile.At(x, y);
    }
    EXPECT_EQ(wrong, 0) << window << ": pixels of the " << corner.name << " corner";
  }

  for (const Edge& edge : kEdges) {
    const Pixels tile = ResourceBitmap(edge.tile);
    const int tileLength = edge.horizontal ? tile.width : tile.height;
    ASSERT_GT(tileLength, 0) << edge.name;
    std::set<Line> tileLines;
    for (int along = 0; along < tileLength; ++along) {
      tileLines.insert(LineAcross(tile, edge.horizontal, along, 0));
    }
    const int length = edge.horizontal ? shown.width : shown.height;
    const int across = edge.horizontal ? shown.height : shown.width;
    const int from = edge.farSide ? across - kBand : 0;
    std::vector<int> gaps;
    for (int along = kBand; along < length - kBand; ++along) {
      if (!tileLines.contains(LineAcross(shown, edge.horizontal, along, from))) {
        gaps.push_back(along);
      }
    }
    EXPECT_TRUE(gaps.empty()) << window << ", " << edge.name << " edge: " << gaps.size()
                              << " lines that no tile makes, from " << gaps.front() << " to "
                              << gaps.back();
  }
}

// Compares the four bands of two pictures of one window.
void ExpectSameFrame(const Pixels& before, const Pixels& after, const std::string& what) {
  ASSERT_EQ(after.width, before.width) << what;
  ASSERT_EQ(after.height, before.height) << what;
  int changed = 0;
  for (int y = 0; y < before.height; ++y) {
    for (int x = 0; x < before.width; ++x) {
      const bool inBand = x < kBand || y < kBand || x >= before.width - kBand ||
                          y >= before.height - kBand;
      changed += inBand && before.At(x, y) != after.At(x, y);
    }
  }
  EXPECT_EQ(changed, 0) << what << ": frame pixels that changed";
}

// Another program's window over the whole of this one while it lives.
class Cover {
 public:
  explicit Cover(HWND target) {
    RECT r;
    GetWindowRect(target, &r);
    m_hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Static", "",
                             WS_POPUP | SS_BLACKRECT, r.left - 10, r.top - 10,
                             r.right - r.left + 20, r.bottom - r.top + 20, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(m_hwnd);
  }
  Cover(const Cover&) = delete;
  Cover& operator=(const Cover&) = delete;
  ~Cover() { DestroyWindow(m_hwnd); }

 private:
  HWND m_hwnd;
};

// The frame as first shown, then after the window was covered and uncovered (and painted
// afresh), then after it was moved.
void ExpectFrameHolds(HWND hwnd, const std::string& window) {
  DrainMessages();
  const Pixels shown = ClientPixels(hwnd);
  ExpectWholeFrame(shown, window);

  {
    Cover cover(hwnd);
    DrainMessages();
  }
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  DrainMessages();
  ExpectSameFrame(shown, ClientPixels(hwnd), window + " uncovered");

  RECT place;
  GetWindowRect(hwnd, &place);
  SetWindowPos(hwnd, nullptr, place.left + 41, place.top + 27, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  DrainMessages();
  ExpectSameFrame(shown, ClientPixels(hwnd), window + " moved");
}

class Frame : public WindowTest {};

TEST_F(Frame, MainWindowFrameHasNoGapAndStaysInPlace) {
  ShowMain();
  ExpectFrameHolds(main_->Hwnd(), "main window");
}

TEST_F(Frame, PickerFrameHasNoGapAndStaysInPlace) {
  ShowMain();
  frmSelectScn picker;
  picker.Show();
  ASSERT_TRUE(PumpUntil([&] { return picker.IsVisible(); }));
  ExpectFrameHolds(picker.Hwnd(), "picker");
  picker.Unload();
}

}  // namespace
