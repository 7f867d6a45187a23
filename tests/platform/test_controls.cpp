// The controls of a form: list box, push button, label and timer.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/window/Button.h"
#include "platform/window/Label.h"
#include "platform/window/ListBox.h"
#include "platform/window/Timer.h"
#include "tests/support/FormTestSupport.h"

using namespace test_support;

namespace {

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
  const std::vector<std::string> rows = {"Menu 0 : ~AoM_pgs_Water", "b", "", "a", "Caf\xE9"};
  for (const std::string& row : rows) list.AddItem(row);
  ASSERT_EQ(list.ListCount(), static_cast<int>(rows.size()));
  for (int i = 0; i < list.ListCount(); ++i) EXPECT_EQ(list.List(i), rows[i]) << "not sorted";
  EXPECT_EQ(list.List(99), "");
  for (int index : {4, 0, -1}) {
    list.SetListIndex(index);
    EXPECT_EQ(list.ListIndex(), index);
  }

  // No 16-bit limit on the rows or their indexes.
  for (int i = 0; i < 100000; ++i) list.AddItem("scenario " + std::to_string(i));
  list.SetListIndex(99999);
  EXPECT_EQ(list.ListCount(), 100005);
  EXPECT_EQ(list.List(100004), "scenario 99999");
  EXPECT_EQ(list.ListIndex(), 99999);
  list.Clear();
  EXPECT_EQ(list.ListCount(), 0);
  EXPECT_EQ(list.ListIndex(), -1);
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
      {{VK_SHIFT, VK_CONTROL, VK_MENU}, WM_SYSKEYUP, kShiftMask | kCtrlMask | kAltMask},
  };
  for (const Case& c : cases) {
    keyUps.clear();
    SetHeldKeys(c.held);
    SendMessageA(list.Hwnd(), WM_KEYDOWN, VK_DELETE, 1);
    SendMessageA(list.Hwnd(), c.message, VK_DELETE, 0xC0000001);
    EXPECT_EQ(keyUps, (std::vector<std::pair<int, int>>{{46, c.shift}})) << "only the release";
  }
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
  SendMessageA(first.Hwnd(), BM_CLICK, 0, 0);
  SendMessageA(second.Hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(firstClicks, 1);
  EXPECT_EQ(secondClicks, 0);

  second.SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(second.Hwnd()));
  SetFocus(first.Hwnd());
  first.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(first.Hwnd()));
  EXPECT_EQ(GetFocus(), second.Hwnd());
}

TEST_F(Controls, LabelTakesEveryClick) {
  Label label(form, {100, 100, 2400, 255}, "http://example.invalid/", 0);
  int clicks = 0;
  label.OnClick = [&] { ++clicks; };
  form.Load();

  // Two quick clicks are two clicks.
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
    SendMessageA(label.Hwnd(), message, 0, MAKELPARAM(2, 2));
  }
  EXPECT_EQ(clicks, 2);
}

// A caption never wraps: in a face wider than the one designed (Wine without its bitmap fonts
// gives another face for MS Sans Serif) the font is made smaller until it fits on one line; and
// the label is only as wide as its text, so that a click beside the text is none.
TEST_F(Controls, LabelCaptionFitsOnOneLineAndTheLabelIsAsWideAsItsText) {
  const std::string address = "https://tessivane.example";
  // The CJK face that the tests install is wide: its letters take 8 pixels each at 12 points.
  struct {
    const char* face;
    double points;
    std::string caption;
  } cases[] = {{"WenQuanYi Micro Hei Mono", 12, address},
               {"Tahoma", 9.75, address},
               {"WenQuanYi Micro Hei Mono", 12, "a"}};
  for (const auto& c : cases) {
    Label label(form, {100, 100, 2415, 255}, c.caption, 0);  // 161 pixels wide
    label.SetFont({.face = c.face, .points = c.points, .underline = true, .latinOnly = true});
    form.Load();
    const LabelFit fit = FitOf(label.Hwnd());
    EXPECT_GT(fit.textWidth, 0) << c.face;
    EXPECT_EQ(fit.labelWidth, fit.textWidth) << c.face << " " << c.caption;
    EXPECT_LE(fit.labelWidth, 161) << c.face << " " << c.caption;
    form.Unload();
  }
}

TEST_F(Controls, TimerTicksOnlyWhileEnabled) {
  Timer disabled(form, 10, false), once(form, 10, true), clock(form, 30, true);
  int disabledTicks = 0, onceTicks = 0, clockTicks = 0;
  disabled.OnTimer = [&] { ++disabledTicks; };
  once.OnTimer = [&] {
    ++onceTicks;
    once.SetEnabled(false);  // as the splash's hand-over does
  };
  clock.OnTimer = [&] { ++clockTicks; };
  form.Load();
  ASSERT_TRUE(PumpUntil([&] { return clockTicks >= 5; }));
  EXPECT_EQ(disabledTicks, 0);
  EXPECT_EQ(onceTicks, 1);
}

}  // namespace
