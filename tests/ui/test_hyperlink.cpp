// OpenLink's request to the shell, recorded instead of starting a browser, and the home-page
// address's fit in the link labels.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/modHyperlink.h"
#include "platform/window/GdiHandles.h"
#include "tests/support/HandlerGuard.h"
#include "ui/ProgramIdentity.h"

namespace {

std::vector<std::string> requests;  // owner, operation, file, parameters, directory, show

TEST(OpenLink, EachCallHandsOneMaximizedOpenRequestOwnedByTheLinksWindowToTheShell) {
  static HWND window = nullptr;
  window = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(window);
  {
    const test_support::ShellExecuteGuard recorder([](HWND owner, const char* operation,
                                                      const char* file, const char* parameters,
                                                      const char* directory, int show) {
      requests.push_back(std::string(owner == window ? "window " : "other ") + operation + " " +
                         file + (parameters ? " ?" : " NULL") + (directory ? " ?" : " NULL") + " " +
                         std::to_string(show));
      // What ShellExecuteA returns when no program is associated: OpenLink must not care.
      return reinterpret_cast<HINSTANCE>(INT_PTR{SE_ERR_NOASSOC});
    });
    OpenLink(window, std::string(kHomePageAddress));
    OpenLink(window, "http://example.org/a b?c=1");
  }
  const std::string maximized = " NULL NULL " + std::to_string(SW_SHOWMAXIMIZED);
  EXPECT_EQ(requests,
            (std::vector<std::string>{"window open " + std::string(kHomePageAddress) + maximized,
                                      "window open http://example.org/a b?c=1" + maximized}));
  DestroyWindow(window);
}

TEST(HomePage, AddressFitsTheLinkLabelsInTheirFont) {
  // MS Sans Serif 9.75 pt is 13 pixels high at 96 dots per inch; the labels underline it.
  const UniqueFont font(CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, ANSI_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
  MemoryDC dc;
  SelectedObject selected(dc.Get(), font.Get());
  SIZE extent = {};
  GetTextExtentPoint32A(dc.Get(), kHomePageAddress.data(),
                        static_cast<int>(kHomePageAddress.size()), &extent);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc.Get(), LF_FACESIZE, face);
  // The test session brings Wine the real face (Debian's fonts-wine); another face's widths would
  // say nothing about the labels on Windows.
  ASSERT_STREQ(face, "MS Sans Serif");
  // The main window's label is 155 pixels wide (it ends at the frame's band), the splash's 159
  // (it ends at the picture's frame): in the face designed, the address keeps its size in both.
  EXPECT_LE(extent.cx, 155) << "pixels, the main window's label at 96 DPI";
}

}  // namespace
