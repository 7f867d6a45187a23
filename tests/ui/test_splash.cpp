// The splash window and its hand-over to the main window: by a click, by the timer, by the link
// (which has the home page opened once the main window is up), never by a key; the game folder's
// message during the hand-over; and the splash's own frame and place on the screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "core/modMenus.h"
#include "tests/support/WindowTestSupport.h"
#include "ui/ProgramIdentity.h"
#include "ui/frmSplash.h"

using namespace test_support;
using Clock = std::chrono::steady_clock;

namespace {

bool MainVisible(const frmSplash& splash) {
  return splash.MainWindow() && splash.MainWindow()->IsVisible();
}

void ClickAt(HWND hwnd, POINT at) {
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

class Splash : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    InitMenus();
    WriteBytes(game_.UserCfg(), "+showFPS\r\n" + AttractLines({{0, kWater}}));
    splash_.Show();
  }

  // Waits for the main window's activation, which unloads the splash.
  void ExpectSplashUnloadedAtActivation() {
    ASSERT_TRUE(PumpUntil([&] { return !splash_.IsLoaded(); })) << "the splash stays loaded";
    EXPECT_TRUE(bAutoSave) << "unloaded by the main window's activation";
    ASSERT_TRUE(MainVisible(splash_));
    EXPECT_EQ(GetActiveWindow(), splash_.MainWindow()->Hwnd());
  }

  const Clock::time_point shown_ = Clock::now();
  frmSplash splash_;
};

// Without a game folder the message comes up inside the click, over the splash. It stays up past
// the timer's interval, running messages as a real box does: a timer still counting would start a
// second hand-over, showing the main window half loaded.
TEST_F(Splash, ClickHandsOverAtOnceAndTheTimerNeverFiresAfter) {
  test_support::DeleteMachineValue(kGameKey, kAppPath);
  std::string seen;
  whileBoxIsUp = [&] {
    seen += splash_.IsVisible() && !MainVisible(splash_) ? "splash " : "main ";
    PumpUntil([&] {
      return Clock::now() >= shown_ + std::chrono::milliseconds(frmSplash::kTimerInterval + 600);
    });
    seen += splash_.IsVisible() && !MainVisible(splash_) ? "splash " : "main ";
    // A second click, which reaches the splash when the box does not disable it, starts nothing.
    ClickAt(splash_.Hwnd(), {20, 20});
    seen += splash_.IsVisible() && !MainVisible(splash_) ? "splash" : "main";
  };
  ClickAt(splash_.Hwnd(), {20, 20});

  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Invalid AoM path\nCannot find the folder where AoM is installed.");
  EXPECT_EQ(seen, "splash splash splash");
  EXPECT_TRUE(MainVisible(splash_));
  EXPECT_FALSE(splash_.IsVisible());
  EXPECT_FALSE(bAutoSave) << "the activation comes through the queue, after the click";
  ExpectSplashUnloadedAtActivation();
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(shellFiles.empty());
}

// The real message box of the hand-over, while another program is active (the tool has no active
// window then): it belongs to the splash, which it disables while it is up.
TEST_F(Splash, MessageBoxBelongsToTheToolWhenAnotherProgramIsActive) {
  test_support::DeleteMachineValue(kGameKey, kAppPath);
  HWND otherWindow = nullptr;
  DWORD otherThread = 0;
  std::thread otherProgram([&] {
    otherThread = GetCurrentThreadId();
    otherWindow = CreateWindowExA(0, "STATIC", "other program", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                  nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(otherWindow);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(otherWindow);
  });
  ASSERT_TRUE(PumpUntil([] { return GetActiveWindow() == nullptr; })) << "still active";

  SetMsgBoxHandler(nullptr);  // the real box
  HWND owner = nullptr;
  BOOL splashEnabled = TRUE;
  test_support::ThreadTimer inspect(50, [&] {
    const HWND box = test_support::FindWindowOfClass("#32770", nullptr, true);
    if (!box) return true;
    owner = GetWindow(box, GW_OWNER);
    splashEnabled = IsWindowEnabled(splash_.Hwnd());
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return false;
  });
  ClickAt(splash_.Hwnd(), {20, 20});
  PostThreadMessageA(otherThread, WM_QUIT, 0, 0);
  otherProgram.join();

  EXPECT_EQ(owner, splash_.Hwnd());
  EXPECT_FALSE(splashEnabled);
  EXPECT_TRUE(MainVisible(splash_));
}

TEST_F(Splash, WithoutInputTheTimerHandsOver) {
  PumpUntil(
      [&] { return splash_.MainWindow() || Clock::now() - shown_ > std::chrono::seconds(1); });
  EXPECT_EQ(splash_.MainWindow(), nullptr) << "handed over long before the timer";
  ASSERT_TRUE(PumpUntil([&] { return splash_.MainWindow() != nullptr; })) << "no timer";
  ExpectSplashUnloadedAtActivation();
  EXPECT_TRUE(shellFiles.empty()) << "no browser without the link";
}

TEST_F(Splash, LinkHandsOverAndTheHomePageOpensOnceWhenTheMainWindowIsUp) {
  const std::string address(kHomePageAddress);
  HWND link = FindWindowExA(splash_.Hwnd(), nullptr, "Static", address.c_str());
  // The label reaches past the window's right edge; a user clicks its visible part, and the label
  // (not the picture under it) takes that click.
  POINT at{160, 188};
  ASSERT_EQ(ChildWindowFromPointEx(splash_.Hwnd(), at, CWP_SKIPINVISIBLE), link);
  ClientToScreen(splash_.Hwnd(), &at);
  ASSERT_EQ(SendMessageA(link, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)), HTCLIENT);
  ScreenToClient(link, &at);
  ClickAt(link, at);

  EXPECT_TRUE(MainVisible(splash_));
  EXPECT_FALSE(splash_.IsVisible());
  EXPECT_TRUE(shellFiles.empty()) << "opened at the main window's activation, not before";
  ExpectSplashUnloadedAtActivation();
  EXPECT_EQ(shellFiles, std::vector<std::string>{address});
  // The shell's message, should it give one, comes up above the main window, not behind it.
  EXPECT_EQ(shellOwners, std::vector<HWND>{splash_.MainWindow()->Hwnd()});

  // Another window of the program active, then the main window again: a second activation
  // (bAutoSave shows that it ran), which opens nothing more.
  test_support::RecordingForm other;
  other.Show();
  ASSERT_TRUE(PumpUntil([&] { return other.activations == 1; }));
  bAutoSave = false;
  SetForegroundWindow(splash_.MainWindow()->Hwnd());
  ASSERT_TRUE(PumpUntil([] { return bAutoSave; })) << "the main window was not activated again";
  EXPECT_EQ(shellFiles.size(), 1u);
  other.Unload();
}

TEST_F(Splash, KeysStartNothing) {
  for (const int key : {int{'A'}, VK_RETURN, VK_ESCAPE, VK_SPACE}) {
    HWND focus = GetFocus() ? GetFocus() : splash_.Hwnd();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_CHAR, key == 'A' ? 'a' : key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
  }
  DrainMessages();
  EXPECT_EQ(splash_.MainWindow(), nullptr);
  EXPECT_TRUE(splash_.IsVisible());
  EXPECT_TRUE(boxes.empty() && shellFiles.empty());
}

TEST_F(Splash, ThinFrameNoTitleBarNoTaskbarButtonCentredOnTheScreen) {
  HWND hwnd = splash_.Hwnd();
  EXPECT_EQ(ClientSize(hwnd), (std::array<long, 2>{300, 200}));
  RECT window, client;
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_EQ((Place{client.left - window.left, client.top - window.top, window.right - client.right,
                   window.bottom - client.bottom}),
            (Place{3, 3, 3, 3}))
      << "a 3-pixel frame, no room for a title bar";
  EXPECT_EQ(GetWindowTextLengthA(hwnd), 0);

  // The shell gives a button to unowned windows that are not tool windows, and to any window
  // that asks for one.
  const LONG_PTR exStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
  EXPECT_EQ(exStyle & WS_EX_APPWINDOW, 0);
  EXPECT_TRUE(GetWindow(hwnd, GW_OWNER) != nullptr || (exStyle & WS_EX_TOOLWINDOW) != 0);

  MONITORINFO monitor{sizeof monitor, {}, {}, 0};
  GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
  EXPECT_LE(std::abs(window.left + window.right - monitor.rcWork.left - monitor.rcWork.right), 2);
  EXPECT_LE(std::abs(window.top + window.bottom - monitor.rcWork.top - monitor.rcWork.bottom), 2);
}

// The picture's gold frame takes its two right-most design pixels; the link's whole address, as
// the label draws it in its font, ends clear of it (four design pixels before), and the label ends
// before it, at every DPI.
TEST_F(Splash, LinkEndsClearOfThePicturesFrameAtEveryDpi) {
  const std::string address(kHomePageAddress);
  const HWND link = FindWindowExA(splash_.Hwnd(), nullptr, "Static", address.c_str());
  ASSERT_NE(link, nullptr);
  for (const int dpi : {96, 120, 144, 192}) {
    ChangeDpi(splash_, dpi);
    const long frameLeft = ClientSize(splash_.Hwnd())[0] - TwipsToPixels(2 * 15, dpi);
    const Place label = PlaceOf(link);  // left, top, width, height
    const long left = label[0], width = label[2];
    HDC dc = GetDC(link);
    const HGDIOBJ before =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(link, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32A(dc, address.data(), static_cast<int>(address.size()), &text);
    SelectObject(dc, before);
    ReleaseDC(link, dc);
    EXPECT_LE(left + text.cx, frameLeft - TwipsToPixels(4 * 15, dpi))
        << dpi << " DPI: the address runs into the frame";
    EXPECT_LE(left + width, frameLeft) << dpi << " DPI: the label lies over it";
    EXPECT_LE(text.cx, width) << dpi << " DPI: the label cuts the address";
  }
}

}  // namespace
