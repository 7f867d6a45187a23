// The controls of a form: list box, push button, label, timer, and moving between them with the
// keyboard.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Button.h"
#include "platform/Label.h"
#include "platform/ListBox.h"
#include "platform/Timer.h"
#include "tests/platform/FormTestSupport.h"

using namespace testing_support;

namespace {

constexpr COLORREF kSand = RGB(228, 205, 122);

void SetHeldKeys(std::initializer_list<int> keys) {
  BYTE state[256] = {};
  for (int key : keys) state[key] = 0x80;
  SetKeyboardState(state);
}

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHeldKeys({});
    DrainMessages();
  }
  void TearDown() override {
    form.Unload();
    SetHeldKeys({});
    DrainMessages();
  }
  RecordingForm form;
};

TEST_F(Controls, ListBoxKeepsRowsInOrderWithOneSelectionOrNone) {
  ListBox list(form, {60, 60, 2000, 1500}, 0);
  form.Load();
  EXPECT_EQ(list.ListIndex(), -1);
  const std::vector<std::string> rows = {"Menu 0 : ~AoM_pgs_Water", "b", "", "a", "Caf\xE9 \xC6gir"};
  for (const std::string& row : rows) list.AddItem(row);
  ASSERT_EQ(list.ListCount(), static_cast<int>(rows.size()));
  for (int i = 0; i < list.ListCount(); ++i) EXPECT_EQ(list.List(i), rows[i]) << "not sorted";
  EXPECT_EQ(list.List(99), "");

  for (int index : {4, 0, -1, 2}) {
    list.SetListIndex(index);
    EXPECT_EQ(list.ListIndex(), index);
  }
  list.Clear();
  EXPECT_EQ(list.ListCount(), 0);
  EXPECT_EQ(list.ListIndex(), -1);
}

TEST_F(Controls, ListBoxFillsAHundredThousandRows) {
  ListBox list(form, {60, 60, 2000, 1500}, 0);
  form.Load();
  list.SetRedraw(false);
  list.ReserveRows(100000, 100000 * 12);
  for (int i = 0; i < 100000; ++i) list.AddItem("scenario " + std::to_string(i));
  list.SetRedraw(true);
  list.SetListIndex(0);
  EXPECT_EQ(list.ListCount(), 100000);
  EXPECT_EQ(list.List(99999), "scenario 99999");
  EXPECT_EQ(list.ListIndex(), 0);
}

TEST_F(Controls, ListBoxReportsReleasedKeysWithTheShiftStateHeld) {
  ListBox list(form, {60, 60, 2000, 1500}, 0);
  std::vector<std::pair<int, int>> keyUps;
  list.OnKeyUp = [&](int key, int shift) { keyUps.emplace_back(key, shift); };
  form.Load();

  struct Case {
    std::initializer_list<int> held;
    UINT message;  // with Alt held a release is a system key message
    int shift;
  };
  const Case cases[] = {
      {{}, WM_KEYUP, 0},
      {{VK_SHIFT}, WM_KEYUP, kShiftMask},
      {{VK_CONTROL}, WM_KEYUP, kCtrlMask},
      {{VK_MENU}, WM_SYSKEYUP, kAltMask},
      {{VK_SHIFT, VK_CONTROL, VK_MENU}, WM_SYSKEYUP, kShiftMask | kCtrlMask | kAltMask},
  };
  for (const Case& c : cases) {
    keyUps.clear();
    SetHeldKeys(c.held);
    SendMessageA(list.Hwnd(), c.message, VK_DELETE, 0xC0000001);
    EXPECT_EQ(keyUps, (std::vector<std::pair<int, int>>{{46, c.shift}}));
  }
  SetHeldKeys({});
  keyUps.clear();
  SendMessageA(list.Hwnd(), WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_TRUE(keyUps.empty()) << "only the release counts";
}

TEST_F(Controls, ListBoxBackColourComesFromOneBrushOfTheForm) {
  ListBox list(form, {60, 60, 2000, 1500}, 0);
  list.SetBackColor(kSand);
  form.Load();
  HDC dc = GetDC(list.Hwnd());
  auto ask = [&] {
    return reinterpret_cast<HBRUSH>(SendMessageA(form.Hwnd(), WM_CTLCOLORLISTBOX,
                                                 reinterpret_cast<WPARAM>(dc),
                                                 reinterpret_cast<LPARAM>(list.Hwnd())));
  };
  HBRUSH brush = ask();
  LOGBRUSH info{};
  ASSERT_TRUE(GetObjectA(brush, sizeof info, &info));
  EXPECT_EQ(info.lbColor, kSand);
  EXPECT_EQ(GetBkColor(dc), kSand);
  EXPECT_EQ(ask(), brush);
  ReleaseDC(list.Hwnd(), dc);
}

TEST_F(Controls, ButtonClicksWhileEnabledAndHandsTheFocusOnWhenDisabled) {
  Button first(form, {60, 60, 975, 375}, "Add", 0);
  Button second(form, {1100, 60, 975, 375}, "Edit", 1);
  second.SetEnabled(false);  // the state it starts with at load
  int firstClicks = 0, secondClicks = 0;
  first.OnClick = [&] { ++firstClicks; };
  second.OnClick = [&] { ++secondClicks; };
  form.Show();
  ASSERT_TRUE(PumpUntil([&] { return form.activations == 1; }));
  EXPECT_FALSE(IsWindowEnabled(second.Hwnd()));

  SendMessageA(first.Hwnd(), BM_CLICK, 0, 0);
  SendMessageA(second.Hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(firstClicks, 1);
  EXPECT_EQ(secondClicks, 0);

  // A double click is two clicks.
  const LPARAM inside = MAKELPARAM(5, 5);
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
    SendMessageA(first.Hwnd(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, inside);
  }
  EXPECT_EQ(firstClicks, 3);

  second.SetEnabled(true);
  EXPECT_TRUE(second.Enabled());
  SetFocus(first.Hwnd());
  first.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(first.Hwnd()));
  EXPECT_EQ(GetFocus(), second.Hwnd());
}

TEST_F(Controls, TabFollowsTheTabIndexAndOnlyTheFocusedButtonTakesEnter) {
  // Declared out of tab order.
  Button ok(form, {2000, 1500, 975, 375}, "OK", 2);
  ListBox list(form, {60, 60, 2000, 1400}, 1);
  Button cancel(form, {900, 1500, 975, 375}, "Cancel", 3);
  list.AddItem("row");
  std::vector<std::string> pressed;
  ok.OnClick = [&] { pressed.push_back("OK"); };
  cancel.OnClick = [&] { pressed.push_back("Cancel"); };
  form.Show();
  ASSERT_TRUE(PumpUntil([&] { return form.activations == 1; }));
  EXPECT_EQ(GetFocus(), list.Hwnd()) << "the first tab stop has the focus";

  auto press = [](int key) {
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
    DrainMessages();
  };
  press(VK_RETURN);
  press(VK_ESCAPE);
  EXPECT_TRUE(pressed.empty()) << "no default or cancel button";

  press(VK_TAB);
  EXPECT_EQ(GetFocus(), ok.Hwnd());
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), cancel.Hwnd());
  press(VK_RETURN);
  press(VK_ESCAPE);
  EXPECT_EQ(pressed, std::vector<std::string>{"Cancel"});
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), list.Hwnd());
  EXPECT_TRUE(form.IsLoaded());
}

TEST_F(Controls, LabelTakesClicksShowsItsCursorAndRepaintsItsCaption) {
  Label label(form, {100, 100, 2400, 255}, "http://example.invalid/", 0);
  HCURSOR hand = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
  label.SetMouseCursor(hand);
  label.SetFont({.face = "MS Sans Serif", .points = 9.75, .underline = true});
  int clicks = 0;
  label.OnClick = [&] { ++clicks; };
  form.Load();

  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  SendMessageA(label.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label.Hwnd()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), hand);
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  SendMessageA(form.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.Hwnd()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), hand) << "only over the label";

  // Two quick clicks are two clicks; the form itself sees none.
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
    SendMessageA(label.Hwnd(), message, 0, MAKELPARAM(2, 2));
  }
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(form.clicks, 0);

  label.SetCaption("changed");
  char text[32] = {};
  GetWindowTextA(label.Hwnd(), text, sizeof text);
  EXPECT_STREQ(text, "changed");
  EXPECT_EQ(PointsToPixels(9.75), 13) << "at the design resolution of 96 DPI";
}

TEST_F(Controls, TimerTicksOnlyWhileEnabled) {
  Timer disabled(form, 10, false);
  Timer zeroInterval(form, 0, true);
  Timer once(form, 10, true);
  Timer clock(form, 30, true);
  int disabledTicks = 0, zeroTicks = 0, onceTicks = 0, clockTicks = 0;
  disabled.OnTimer = [&] { ++disabledTicks; };
  zeroInterval.OnTimer = [&] { ++zeroTicks; };
  once.OnTimer = [&] {
    ++onceTicks;
    once.SetEnabled(false);  // as the splash's hand-over does
  };
  clock.OnTimer = [&] { ++clockTicks; };

  form.Load();
  ASSERT_TRUE(PumpUntil([&] { return clockTicks >= 5; }));
  EXPECT_EQ(disabledTicks, 0);
  EXPECT_EQ(zeroTicks, 0);
  EXPECT_EQ(onceTicks, 1);
  EXPECT_FALSE(once.Enabled());

}

}  // namespace
