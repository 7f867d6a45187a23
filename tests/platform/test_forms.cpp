// Forms: deferred activation, the modal loop, unloading and the end of the program's loop, and an
// event procedure that fails.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/window/Button.h"
#include "platform/window/GdiHandles.h"
#include "platform/window/MsgBox.h"
#include "platform/window/WindowError.h"
#include "tests/support/FormTestSupport.h"
#include "tests/support/HandlerGuard.h"

using namespace test_support;

namespace {

class Forms : public ::testing::Test {
 protected:
  void SetUp() override {
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    DrainMessages();
  }
  void TearDown() override { DrainMessages(); }
};

bool QuitIsPosted(WPARAM* exitCode = nullptr) {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return false;
  if (exitCode) *exitCode = msg.wParam;
  return true;
}

TEST_F(Forms, ActivateRunsAfterTheShowingProcedureAndAtEachReactivation) {
  RecordingForm first, second;
  bool flagSetAfterShow = false, flagSeenByActivate = false;
  first.onActivate = [&] { flagSeenByActivate = flagSetAfterShow; };

  first.Show();
  EXPECT_EQ(first.activations, 0) << "not from inside the show";
  flagSetAfterShow = true;
  ASSERT_TRUE(PumpUntil([&] { return first.activations == 1; }));
  EXPECT_TRUE(flagSeenByActivate);

  second.Show();
  ASSERT_TRUE(PumpUntil([&] { return second.activations == 1; }));
  first.Show();  // already visible: it becomes active again
  ASSERT_TRUE(PumpUntil([&] { return first.activations == 2; }));
  first.Unload();
  second.Unload();
}

TEST_F(Forms, UnloadingTwiceIsHarmlessAndTheLastUnloadEndsTheLoop) {
  RecordingForm never, first, second;
  never.Unload();
  EXPECT_FALSE(QuitIsPosted()) << "unloading a form that is not loaded does nothing";

  first.Show();
  second.Show();
  std::vector<int> loadedAfterEachStep;
  ThreadTimer steps(20, [&] {
    RecordingForm& next = loadedAfterEachStep.empty() ? first : second;
    next.Unload();
    next.Unload();
    loadedAfterEachStep.push_back(Form::LoadedFormCount());
    return loadedAfterEachStep.size() < 2;
  });
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_EQ(loadedAfterEachStep, (std::vector<int>{1, 0}));
}

// The modal loop disables the other windows (only those it disabled come back), blocks until the
// dialog is unloaded and gives the activation back to the owner; a quit ends it and is re-posted
// for the program's own loop.
TEST_F(Forms, ModalShowBlocksWithTheOtherWindowsDisabledUntilTheDialogIsUnloaded) {
  RecordingForm owner, other, alreadyDisabled;
  RecordingForm dialog({.border = FormBorder::FixedSingleNoCaption, .clientSize = {1500, 1500}});
  other.Show();
  alreadyDisabled.Show();
  EnableWindow(alreadyDisabled.Hwnd(), FALSE);
  owner.Show();
  ASSERT_TRUE(PumpUntil([&] { return owner.activations == 1; }));

  bool ownerEnabled = true, otherEnabled = true, dialogEnabled = false;
  ThreadTimer closer(20, [&] {
    if (!dialog.IsVisible()) return true;
    ownerEnabled = IsWindowEnabled(owner.Hwnd());
    otherEnabled = IsWindowEnabled(other.Hwnd());
    dialogEnabled = IsWindowEnabled(dialog.Hwnd());
    dialog.Unload();
    return false;
  });
  dialog.ShowModal();  // no owner named: the active window, `owner`, owns it
  EXPECT_FALSE(dialog.IsLoaded()) << "the show returned only once the dialog was unloaded";
  EXPECT_TRUE(dialogEnabled);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_FALSE(otherEnabled);
  EXPECT_TRUE(IsWindowEnabled(owner.Hwnd()));
  EXPECT_TRUE(IsWindowEnabled(other.Hwnd()));
  EXPECT_FALSE(IsWindowEnabled(alreadyDisabled.Hwnd()));
  EXPECT_TRUE(PumpUntil([&] { return owner.activations == 2; }));

  ThreadTimer quitter(20, [&] {
    if (!dialog.IsVisible()) return true;
    PostQuitMessage(7);
    return false;
  });
  dialog.ShowModal(&owner);
  EXPECT_FALSE(dialog.IsLoaded());
  EXPECT_TRUE(IsWindowEnabled(owner.Hwnd()));
  WPARAM exitCode = 0;
  EXPECT_TRUE(QuitIsPosted(&exitCode));
  EXPECT_EQ(exitCode, 7u);
  owner.Unload();
  other.Unload();
  alreadyDisabled.Unload();
}

// Its owner destroyed while it is open (the main window at log-off), the dialog goes with it: the
// windows it disabled are enabled again and the next modal show works as the first.
TEST_F(Forms, ModalDialogDestroyedWithItsOwnerLeavesNothingDisabled) {
  RecordingForm owner, other;
  RecordingForm dialog({.border = FormBorder::FixedSingleNoCaption, .clientSize = {1500, 1500}});
  other.Show();
  owner.Show();
  ThreadTimer destroyer(20, [&] {
    if (!dialog.IsVisible()) return true;
    DestroyWindow(owner.Hwnd());
    return false;
  });
  dialog.ShowModal(&owner);
  EXPECT_FALSE(dialog.IsLoaded());
  EXPECT_FALSE(owner.IsLoaded());
  EXPECT_TRUE(IsWindowEnabled(other.Hwnd()));

  bool shownAgain = false;
  ThreadTimer closer(20, [&] {
    if (!dialog.IsVisible()) return true;
    shownAgain = true;
    dialog.Unload();
    return false;
  });
  dialog.ShowModal(&other);
  EXPECT_TRUE(shownAgain);
  EXPECT_TRUE(IsWindowEnabled(other.Hwnd()));
  other.Unload();
}

TEST_F(Forms, APaintThatThrowsStillValidatesTheWindow) {
  RecordingForm form;
  form.Show();
  DrainMessages();
  InvalidateRect(form.Hwnd(), nullptr, FALSE);
  ASSERT_TRUE(GetUpdateRect(form.Hwnd(), nullptr, FALSE));
  try {
    const PaintScope paint(form.Hwnd());
    ASSERT_TRUE(paint.Get());
    throw std::runtime_error("paint failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(GetUpdateRect(form.Hwnd(), nullptr, FALSE)) << "WM_PAINT would come again at once";
  form.Unload();
}

// Declared out of order, the controls still follow their tab index, and Tab goes that way.
class TabOrderForm : public RecordingForm {
 public:
  Button third{*this, {0, 800, 900, 300}, "Third", 2};
  Button first{*this, {0, 0, 900, 300}, "First", 0};
  Button second{*this, {0, 400, 900, 300}, "Second", 1};
};

TEST_F(Forms, ControlsFollowTheirTabIndexWhateverTheirDeclaration) {
  TabOrderForm form;
  form.Show();
  std::vector<std::string> order;
  for (HWND child = GetWindow(form.Hwnd(), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    char text[16] = {};
    GetWindowTextA(child, text, sizeof text);
    order.push_back(text);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"First", "Second", "Third"}));
  EXPECT_EQ(GetNextDlgTabItem(form.Hwnd(), form.first.Hwnd(), FALSE), form.second.Hwnd());
  form.Unload();
}

TEST_F(Forms, AnEventProcedureThatThrowsIsReportedButAFailedLoadGoesToTheCaller) {
  static std::vector<std::string> shown;
  shown.clear();
  const MsgBoxGuard recorder([](const std::string& text, unsigned style, const std::string& title) {
    shown.push_back(std::to_string(style) + " " + title + ": " + text);
    return 1;
  });
  SetEventErrorTitle("Caption");
  RecordingForm form;
  form.onActivate = [] { throw std::runtime_error("activation failed"); };
  form.Show();
  ASSERT_TRUE(PumpUntil([&] { return form.activations == 1; }));
  EXPECT_EQ(shown, std::vector<std::string>{"16 Caption: activation failed"});
  EXPECT_TRUE(form.IsLoaded());
  form.Unload();

  // A load that fails is its caller's to handle: the form is not left half loaded.
  RecordingForm failing;
  failing.onLoad = [] { throw std::runtime_error("load failed"); };
  EXPECT_THROW(failing.Show(), std::runtime_error);
  EXPECT_FALSE(failing.IsLoaded());
  EXPECT_EQ(shown.size(), 1u) << "no box of its own";
}

// A picture added to a loaded form shows at once, over the form's own back colour.
TEST_F(Forms, APictureAddedToALoadedFormShows) {
  const std::vector<uint32_t> redPixels(20 * 20, 0xFF0000u);
  const UniqueBitmap red(CreateBitmap(20, 20, 1, 32, redPixels.data()));
  RecordingForm form;
  form.Show();
  const auto shownAt = [&](int x, int y) {
    DrainMessages();
    HDC dc = GetDC(form.Hwnd());
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(form.Hwnd(), dc);
    return color;
  };
  const COLORREF without = shownAt(10, 10);
  ASSERT_NE(without, RGB(255, 0, 0));
  form.AddPicture({0, 0}, red.Get());
  EXPECT_EQ(shownAt(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(shownAt(30, 30), without);
  form.Unload();
}

}  // namespace
