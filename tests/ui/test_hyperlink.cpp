// OpenLink's request to the shell, recorded instead of starting a browser, and the home-page
// address's fit in the link labels.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/ShellOpen.h"
#include "ui/HomePage.h"
#include "ui/modHyperlink.h"

namespace {

struct ShellRequest {
  HWND owner;
  std::string operation;
  std::string file;
  const char* parameters;
  const char* directory;
  int showCommand;
};
std::vector<ShellRequest> requests;

HINSTANCE RecordRequest(HWND owner, const char* operation, const char* file,
                        const char* parameters, const char* directory, int showCommand) {
  requests.push_back({owner, operation ? operation : "(null)", file ? file : "(null)", parameters,
                      directory, showCommand});
  // What ShellExecuteA returns when no program is associated: OpenLink must not care.
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_NOASSOC));
}

TEST(OpenLink, EachCallHandsOneMaximizedOpenRequestOwnedByTheDesktopToTheShell) {
  requests.clear();
  const ShellExecuteHandler previous = SetShellExecuteHandler(&RecordRequest);
  OpenLink(std::string(kHomePageAddress));
  OpenLink("http://example.org/a b?c=1");
  SetShellExecuteHandler(previous);

  const std::vector<std::string> files = {std::string(kHomePageAddress),
                                          "http://example.org/a b?c=1"};
  ASSERT_EQ(requests.size(), files.size());
  for (size_t n = 0; n < files.size(); ++n) {
    EXPECT_EQ(requests[n].owner, GetDesktopWindow()) << n;
    EXPECT_EQ(requests[n].operation, "open") << n;
    EXPECT_EQ(requests[n].file, files[n]) << n;
    EXPECT_EQ(requests[n].parameters, nullptr) << n;
    EXPECT_EQ(requests[n].directory, nullptr) << n;
    EXPECT_EQ(requests[n].showCommand, SW_SHOWMAXIMIZED) << n;
  }
}

struct DeleteFont {
  void operator()(HFONT font) const { DeleteObject(font); }
};
struct ReleaseScreenDc {
  void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};

TEST(HomePage, AddressFitsTheLinkLabelsInTheirFont) {
  constexpr int kLabelWidth = 161;  // pixels at the design resolution
  // MS Sans Serif 9.75 pt is 13 pixels high at 96 dots per inch; the labels underline it.
  const std::unique_ptr<std::remove_pointer_t<HFONT>, DeleteFont> font(
      CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
  ASSERT_NE(font, nullptr);
  const std::unique_ptr<std::remove_pointer_t<HDC>, ReleaseScreenDc> dc(GetDC(nullptr));
  ASSERT_NE(dc, nullptr);
  const HGDIOBJ old = SelectObject(dc.get(), font.get());
  SIZE extent = {};
  ASSERT_TRUE(GetTextExtentPoint32A(dc.get(), kHomePageAddress.data(),
                                    static_cast<int>(kHomePageAddress.size()), &extent));
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc.get(), LF_FACESIZE, face);
  SelectObject(dc.get(), old);

  RecordProperty("face", face);
  RecordProperty("width", static_cast<int>(extent.cx));
  std::printf("\"%s\" in %s: %ld pixels\n", std::string(kHomePageAddress).c_str(), face,
              static_cast<long>(extent.cx));
  // The test session brings Wine the real face (Debian's fonts-wine); another face's widths would
  // say nothing about the labels on Windows.
  ASSERT_STREQ(face, "MS Sans Serif");
  EXPECT_LE(extent.cx, kLabelWidth);
}

}  // namespace
