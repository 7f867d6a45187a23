// The splash window and its hand-over to the main window: by a click, by the timer, by the link
// (which has the home page opened once the main window is up), never by a key; the game folder's
// message during the hand-over; and the splash's own frame and place on the screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "core/modMenus.h"
#include "tests/ui/WindowTestSupport.h"
#include "ui/HomePage.h"
#include "ui/frmSplash.h"

using namespace window_test;
using testing_support::DrainMessages;
using testing_support::PumpUntil;
using testing_support::RecordingForm;
using Clock = std::chrono::steady_clock;

namespace {

// What the program showed, and what the screen looked like at that moment.
struct BoxSeen {
  std::string prompt;
  unsigned style = 0;
  std::string title;
  bool splashVisible = false;
  bool mainVisible = false;
};
std::vector<BoxSeen> boxesSeen;
const frmSplash* splashUnderTest = nullptr;
// Runs while the recorded box is "up", as the real box's own message loop would run.
std::function<void()> whileBoxIsUp;

bool MainVisible(const frmSplash& splash) {
  return splash.MainWindow() && splash.MainWindow()->IsVisible();
}

int RecordBoxAndScreen(const std::string& prompt, unsigned style, const std::string& title) {
  boxesSeen.push_back({prompt, style, title, splashUnderTest && splashUnderTest->IsVisible(),
                       splashUnderTest && MainVisible(*splashUnderTest)});
  if (whileBoxIsUp) whileBoxIsUp();
  return IDOK;
}

struct ShellCall {
  HWND owner;
  std::string operation;
  std::string file;
  int showCommand;
};
std::vector<ShellCall> shellCalls;

HINSTANCE RecordShellCall(HWND owner, const char* operation, const char* file, const char*,
                          const char*, int showCommand) {
  shellCalls.push_back({owner, operation ? operation : "", file ? file : "", showCommand});
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

// Handles messages for this long, as any message loop of the program would meanwhile.
void PumpUntilTime(Clock::time_point until) {
  PumpUntil([until] { return Clock::now() >= until; });
}

// A press and a release of the left button at this point of the window's client area.
void ClickAt(HWND hwnd, POINT at) {
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

class Splash : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHeldKeys({});
    DrainMessages();
    ResetGlobals();
    InitMenus();
    boxesSeen.clear();
    shellCalls.clear();
    whileBoxIsUp = nullptr;
    previousBox_ = SetMsgBoxHandler(&RecordBoxAndScreen);
    previousShell_ = SetShellExecuteHandler(&RecordShellCall);
    ASSERT_TRUE(test_support::SetMachineValue(kGameKey, kAppPath, REG_SZ, game_.Path() + '\0'));
    WriteBytes(game_.UserCfg(), Lines({"+showFPS"}) + AttractLines({{0, "~AoM_pgs_Water"}}));
  }
  void TearDown() override {
    DrainMessages();  // the quit that the last unload posts
    splashUnderTest = nullptr;
    whileBoxIsUp = nullptr;
    SetMsgBoxHandler(previousBox_);
    SetShellExecuteHandler(previousShell_);
  }

  // Shows the splash as the program's entry does.
  void Start(frmSplash& splash) {
    splashUnderTest = &splash;
    splash.Show();
    ASSERT_TRUE(splash.IsVisible());
  }

  // Waits for the main window's activation, which unloads the splash.
  void ExpectSplashUnloadedAtActivation(frmSplash& splash) {
    ASSERT_TRUE(PumpUntil([&] { return !splash.IsLoaded(); })) << "the splash stays loaded";
    EXPECT_TRUE(bAutoSave) << "unloaded by the main window's activation";
    ASSERT_NE(splash.MainWindow(), nullptr);
    EXPECT_TRUE(splash.MainWindow()->IsVisible());
    EXPECT_EQ(GetActiveWindow(), splash.MainWindow()->Hwnd());
  }

  test_support::MachineValueGuard appPath_{kGamesKey, kGameKey, kAppPath};
  TempGameFolder game_;

 private:
  MsgBoxHandler previousBox_ = nullptr;
  ShellExecuteHandler previousShell_ = nullptr;
};

TEST_F(Splash, ClickOnThePictureHandsOverAtOnce) {
  frmSplash splash;
  Start(splash);
  ClickAt(splash.Hwnd(), {20, 20});

  // All within the click: the main window loaded and shown, the splash hidden but loaded.
  ASSERT_NE(splash.MainWindow(), nullptr);
  EXPECT_TRUE(splash.MainWindow()->IsVisible());
  EXPECT_TRUE(splash.IsLoaded());
  EXPECT_FALSE(splash.IsVisible());
  EXPECT_FALSE(bAutoSave) << "the activation comes through the queue, after the click";

  ExpectSplashUnloadedAtActivation(splash);
  EXPECT_TRUE(shellCalls.empty());
  EXPECT_TRUE(boxesSeen.empty());
}

TEST_F(Splash, WithoutInputTheTimerHandsOver) {
  const Clock::time_point shown = Clock::now();
  frmSplash splash;
  Start(splash);

  PumpUntil([&] { return splash.MainWindow() || Clock::now() - shown > std::chrono::seconds(1); });
  EXPECT_EQ(splash.MainWindow(), nullptr) << "handed over long before the timer";
  EXPECT_TRUE(splash.IsVisible());

  ASSERT_TRUE(PumpUntil([&] { return splash.MainWindow() != nullptr; })) << "the timer never fired";
  ExpectSplashUnloadedAtActivation(splash);
  EXPECT_TRUE(shellCalls.empty()) << "no browser without the link";
}

TEST_F(Splash, LinkHandsOverAndTheHomePageOpensOnceWhenTheMainWindowIsUp) {
  frmSplash splash;
  Start(splash);
  const std::string address(kHomePageAddress);
  HWND link = FindWindowExA(splash.Hwnd(), nullptr, "Static", address.c_str());
  ASSERT_NE(link, nullptr);

  // The label reaches past the window's right edge; a user clicks its visible part, and the label
  // (not the picture under it) takes that click: it is the child there, and it does not let the
  // mouse through to its parent as a plain static would.
  const POINT inSplash{160, 188};
  ASSERT_EQ(ChildWindowFromPointEx(splash.Hwnd(), inSplash, CWP_SKIPINVISIBLE), link);
  POINT onScreen = inSplash;
  ClientToScreen(splash.Hwnd(), &onScreen);
  ASSERT_EQ(SendMessageA(link, WM_NCHITTEST, 0, MAKELPARAM(onScreen.x, onScreen.y)), HTCLIENT);
  POINT inLabel = onScreen;
  ScreenToClient(link, &inLabel);
  ClickAt(link, inLabel);

  ASSERT_NE(splash.MainWindow(), nullptr);
  EXPECT_TRUE(splash.MainWindow()->IsVisible());
  EXPECT_FALSE(splash.IsVisible());
  EXPECT_TRUE(bOpenLinkOnShow) << "set after the hand-over";
  EXPECT_TRUE(shellCalls.empty()) << "opened at the main window's activation, not before";

  ExpectSplashUnloadedAtActivation(splash);
  ASSERT_EQ(shellCalls.size(), 1u);
  EXPECT_EQ(shellCalls[0].owner, GetDesktopWindow());
  EXPECT_EQ(shellCalls[0].operation, "open");
  EXPECT_EQ(shellCalls[0].file, address);
  EXPECT_EQ(shellCalls[0].showCommand, SW_SHOWMAXIMIZED);
  EXPECT_FALSE(bOpenLinkOnShow);

  // Another window of the program active, then the main window again: a second activation,
  // which opens nothing more. (bAutoSave shows that the activation procedure ran.)
  RecordingForm other;
  other.Show();
  ASSERT_TRUE(PumpUntil([&] { return other.activations == 1; }));
  bAutoSave = false;
  SetForegroundWindow(splash.MainWindow()->Hwnd());
  ASSERT_TRUE(PumpUntil([] { return bAutoSave; })) << "the main window was not activated again";
  EXPECT_EQ(shellCalls.size(), 1u);
  other.Unload();
}

TEST_F(Splash, KeysStartNothing) {
  frmSplash splash;
  Start(splash);
  struct Key {
    int code;
    int character;  // 0: none
  };
  for (const Key key : {Key{'A', 'a'}, Key{'Z', 'z'}, Key{VK_RETURN, '\r'}, Key{VK_ESCAPE, 0x1B},
                        Key{VK_SPACE, ' '}}) {
    HWND focus = GetFocus() ? GetFocus() : splash.Hwnd();
    PostMessageA(focus, WM_KEYDOWN, key.code, 1);
    if (key.character) PostMessageA(focus, WM_CHAR, key.character, 1);
    PostMessageA(focus, WM_KEYUP, key.code, 0xC0000001);
  }
  DrainMessages();

  EXPECT_EQ(splash.MainWindow(), nullptr);
  EXPECT_TRUE(splash.IsVisible());
  EXPECT_TRUE(boxesSeen.empty());
  EXPECT_TRUE(shellCalls.empty());
}

TEST_F(Splash, GameFolderMessageComesUpOverTheSplashAndTheTimerStaysQuietMeanwhile) {
  test_support::DeleteMachineValue(kGameKey, kAppPath);
  const Clock::time_point loaded = Clock::now();
  frmSplash splash;
  Start(splash);

  // The box stays up past the splash timer's interval, running messages as a real box does: a
  // timer still counting would start a second hand-over, showing the main window half loaded.
  bool splashVisibleLater = false;
  bool mainVisibleLater = true;
  whileBoxIsUp = [&] {
    PumpUntilTime(loaded + std::chrono::milliseconds(4600));
    splashVisibleLater = splash.IsVisible();
    mainVisibleLater = MainVisible(splash);
  };
  ClickAt(splash.Hwnd(), {20, 20});

  ASSERT_EQ(boxesSeen.size(), 1u);
  EXPECT_EQ(boxesSeen[0].prompt, "Cannot find the folder where AoM is installed.");
  EXPECT_EQ(boxesSeen[0].title, "Invalid AoM path");
  EXPECT_EQ(boxesSeen[0].style, 16u);
  EXPECT_TRUE(boxesSeen[0].splashVisible);
  EXPECT_FALSE(boxesSeen[0].mainVisible);
  EXPECT_TRUE(splashVisibleLater);
  EXPECT_FALSE(mainVisibleLater);

  // Dismissed: the hand-over goes on.
  EXPECT_FALSE(splash.IsVisible());
  ExpectSplashUnloadedAtActivation(splash);
  EXPECT_EQ(boxesSeen.size(), 1u);
}

TEST_F(Splash, ThinFrameNoTitleBarNoTaskbarButtonCentredOnTheScreen) {
  frmSplash splash;
  Start(splash);
  HWND hwnd = splash.Hwnd();

  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);

  // The frame is 3 pixels on every side, so there is no room for a title bar.
  RECT window;
  GetWindowRect(hwnd, &window);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  EXPECT_EQ(origin.x - window.left, 3);
  EXPECT_EQ(origin.y - window.top, 3);
  EXPECT_EQ(window.right - (origin.x + client.right), 3);
  EXPECT_EQ(window.bottom - (origin.y + client.bottom), 3);
  EXPECT_EQ(GetWindowTextLengthA(hwnd), 0);
  const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
  EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);

  // The shell gives a button to unowned windows that are not tool windows, and to any window
  // that asks for one.
  const LONG_PTR exStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
  EXPECT_EQ(exStyle & WS_EX_APPWINDOW, 0);
  EXPECT_TRUE(GetWindow(hwnd, GW_OWNER) != nullptr || (exStyle & WS_EX_TOOLWINDOW) != 0);

  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor));
  const RECT& screen = monitor.rcWork;
  EXPECT_LE(std::abs((window.left + window.right) - (screen.left + screen.right)), 2);
  EXPECT_LE(std::abs((window.top + window.bottom) - (screen.top + screen.bottom)), 2);
}

}  // namespace
