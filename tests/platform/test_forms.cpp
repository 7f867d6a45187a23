// Forms: loading, showing, deferred activation, the modal loop, unloading and the end of the
// program's loop, the window's geometry and its background.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ListBox.h"
#include "platform/MsgBox.h"
#include "platform/Picture.h"
#include "tests/platform/FormTestSupport.h"

using namespace testing_support;

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

TEST_F(Forms, LoadRunsFormLoadOnceWithTheControlsMadeAndTheWindowHidden) {
  RecordingForm form;
  ListBox list(form, {60, 60, 1500, 1000}, 0);
  bool visibleDuringLoad = true;
  form.onLoad = [&] {
    visibleDuringLoad = form.IsVisible();
    list.AddItem("made in Form_Load");
  };

  form.Show();  // not loaded: loads first
  EXPECT_EQ(form.loads, 1);
  EXPECT_FALSE(visibleDuringLoad);
  EXPECT_TRUE(form.IsVisible());
  EXPECT_EQ(list.ListCount(), 1);

  form.Load();
  form.Show();
  EXPECT_EQ(form.loads, 1) << "a loaded form does not load again";

  form.Hide();
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_FALSE(form.IsVisible());

  form.Unload();
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(list.ListCount(), 0);
  EXPECT_EQ(list.Hwnd(), nullptr);

  form.onLoad = nullptr;
  form.Show();
  EXPECT_EQ(form.loads, 2);
  EXPECT_EQ(list.ListCount(), 0) << "the rows of one load do not survive into the next";
  form.Unload();
}

TEST_F(Forms, ActivateRunsAfterTheShowingProcedureAndAtEachReactivation) {
  RecordingForm first;
  RecordingForm second;
  bool flagSetAfterShow = false;
  bool flagSeenByActivate = false;
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
  EXPECT_EQ(second.activations, 1);

  first.Unload();
  second.Unload();
}

TEST_F(Forms, ClickOnTheFormIsAPressAndAReleaseOnIt) {
  RecordingForm form;
  form.Load();
  SendMessageA(form.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(form.clicks, 0) << "a release alone (a press that began elsewhere)";
  SendMessageA(form.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(form.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(form.clicks, 1);
  form.Unload();
}

TEST_F(Forms, UnloadingTwiceIsHarmlessAndTheLastUnloadEndsTheLoop) {
  RecordingForm never;
  never.Unload();
  EXPECT_FALSE(QuitIsPosted()) << "unloading a form that is not loaded does nothing";

  RecordingForm first;
  RecordingForm second;
  first.Show();
  second.Show();
  std::vector<int> loadedAfterEachStep;
  ThreadTimer steps(20, [&] {
    if (loadedAfterEachStep.empty()) {
      first.Unload();
      first.Unload();
      loadedAfterEachStep.push_back(Form::LoadedFormCount());
      return true;
    }
    second.Unload();
    loadedAfterEachStep.push_back(Form::LoadedFormCount());
    return false;
  });
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_EQ(loadedAfterEachStep, (std::vector<int>{1, 0}));
}

TEST_F(Forms, ModalShowBlocksWithTheOtherWindowsDisabledUntilTheDialogIsUnloaded) {
  RecordingForm owner;
  RecordingForm other;
  RecordingForm alreadyDisabled;
  RecordingForm dialog({.border = FormBorder::FixedSingleNoCaption,
                        .clientSize = {1500, 1500},
                        .startUpPosition = StartUpPosition::CenterOwner});
  other.Show();
  alreadyDisabled.Show();
  EnableWindow(alreadyDisabled.Hwnd(), FALSE);
  owner.Show();
  ASSERT_TRUE(PumpUntil([&] { return owner.activations == 1; }));

  struct Seen {
    bool ownerEnabled, otherEnabled, dialogEnabled, dialogVisible;
  } seen{};
  ThreadTimer closer(20, [&] {
    if (!dialog.IsVisible()) return true;
    seen = {IsWindowEnabled(owner.Hwnd()) != 0, IsWindowEnabled(other.Hwnd()) != 0,
            IsWindowEnabled(dialog.Hwnd()) != 0, dialog.IsVisible()};
    dialog.Unload();
    return false;
  });
  dialog.ShowModal();  // no owner named: the active window, `owner`, owns it

  EXPECT_EQ(dialog.loads, 1);
  EXPECT_FALSE(dialog.IsLoaded()) << "the show returned only once the dialog was unloaded";
  EXPECT_TRUE(seen.dialogVisible);
  EXPECT_TRUE(seen.dialogEnabled);
  EXPECT_FALSE(seen.ownerEnabled);
  EXPECT_FALSE(seen.otherEnabled);
  EXPECT_TRUE(IsWindowEnabled(owner.Hwnd()));
  EXPECT_TRUE(IsWindowEnabled(other.Hwnd()));
  EXPECT_FALSE(IsWindowEnabled(alreadyDisabled.Hwnd())) << "only what the loop disabled";
  EXPECT_EQ(GetActiveWindow(), owner.Hwnd());
  EXPECT_TRUE(PumpUntil([&] { return owner.activations == 2; }));

  owner.Unload();
  other.Unload();
  alreadyDisabled.Unload();
}

TEST_F(Forms, QuitDuringAModalShowEndsItAndIsPostedAgain) {
  RecordingForm owner;
  RecordingForm dialog;
  owner.Show();
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
}

TEST_F(Forms, AnEventProcedureThatThrowsIsReportedAndGoesNoFurther) {
  static std::vector<std::string> shown;
  shown.clear();
  MsgBoxHandler previous = SetMsgBoxHandler([](const std::string& text, unsigned style,
                                               const std::string&) {
    shown.push_back(std::to_string(style) + " " + text);
    return 1;
  });
  RecordingForm form;
  form.onActivate = [] { throw std::runtime_error("activation failed"); };
  form.Show();
  ASSERT_TRUE(PumpUntil([&] { return form.activations == 1; }));
  EXPECT_EQ(shown, std::vector<std::string>{"16 activation failed"});
  EXPECT_TRUE(form.IsLoaded());
  form.Unload();
  SetMsgBoxHandler(previous);
}

RECT WindowRect(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return r;
}

TEST_F(Forms, ClientAreaHasTheDesignSizeInsideTheBorderOfItsStyle) {
  struct Case {
    FormBorder border;
    TwipsSize client;
    int sideFrame;  // pixels of frame left and right of the client area; -1: the system's
    bool titleBar;
  };
  const Case cases[] = {
      {FormBorder::FixedSingle, {4515, 3375}, -1, true},
      {FormBorder::FixedSingleNoCaption, {3795, 4215}, 1, false},
      {FormBorder::FixedDialogNoCaption, {4500, 3000}, 3, false},
  };
  for (const Case& c : cases) {
    RecordingForm form({.border = c.border, .clientSize = c.client});
    form.Load();
    RECT client;
    GetClientRect(form.Hwnd(), &client);
    EXPECT_EQ(client.right, TwipsToPixels(c.client.width));
    EXPECT_EQ(client.bottom, TwipsToPixels(c.client.height));

    const RECT window = WindowRect(form.Hwnd());
    const int frameX = (window.right - window.left - client.right) / 2;
    const int frameY = window.bottom - window.top - client.bottom;
    if (c.sideFrame >= 0) {
      EXPECT_EQ(frameX, c.sideFrame);
    }
    EXPECT_EQ(frameY > 2 * frameX, c.titleBar);

    // Centred on the screen.
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(window.left + window.right, work.left + work.right, 1);
    EXPECT_NEAR(window.top + window.bottom, work.top + work.bottom, 1);
    form.Unload();
  }
}

TEST_F(Forms, CenterOwnerPlacesTheFormOverTheMiddleOfItsOwner) {
  RecordingForm owner({.clientSize = {6000, 4500}});
  owner.Show();
  SetWindowPos(owner.Hwnd(), nullptr, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RecordingForm dialog({.border = FormBorder::FixedSingleNoCaption,
                        .clientSize = {1500, 1200},
                        .startUpPosition = StartUpPosition::CenterOwner});
  dialog.Load();
  const RECT outer = WindowRect(owner.Hwnd());
  const RECT inner = WindowRect(dialog.Hwnd());
  EXPECT_EQ(GetWindow(dialog.Hwnd(), GW_OWNER), owner.Hwnd());
  EXPECT_NEAR(inner.left + inner.right, outer.left + outer.right, 1);
  EXPECT_NEAR(inner.top + inner.bottom, outer.top + outer.bottom, 1);
  dialog.Unload();
  owner.Unload();
}

// A bitmap of one colour.
UniqueBitmap SolidBitmap(int width, int height, COLORREF color) {
  HDC screen = GetDC(nullptr);
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen, width, height));
  ReleaseDC(nullptr, screen);
  MemoryDC dc;
  SelectedObject selected(dc.Get(), bitmap.Get());
  UniqueBrush brush = CreateSolidBrushOwned(color);
  RECT all{0, 0, width, height};
  FillRect(dc.Get(), &all, brush.Get());
  return bitmap;
}

TEST_F(Forms, BackgroundIsThePictureUnscaledWithPicturesAboveAndTheBackColourElsewhere) {
  const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 128, 0);
  UniqueBitmap background = SolidBitmap(20, 10, red);
  UniqueBitmap tile = SolidBitmap(2, 2, blue);
  RecordingForm form({.clientSize = {600, 450}, .backColor = green});  // 40 x 30 pixels
  Picture picture(form, {15, 15}, tile.Get());
  form.SetPicture(background.Get());
  form.Load();

  HDC screen = GetDC(nullptr);
  UniqueBitmap canvas(CreateCompatibleBitmap(screen, 40, 30));
  ReleaseDC(nullptr, screen);
  MemoryDC dc;
  SelectedObject selected(dc.Get(), canvas.Get());
  SendMessageA(form.Hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);

  struct Probe {
    int x, y;
    COLORREF expected;
  };
  const Probe probes[] = {
      {0, 0, red}, {19, 9, red},     // the picture from the top-left corner, unscaled
      {1, 1, blue}, {2, 2, blue},    // the picture control at (15, 15) twips above it
      {3, 3, red},   {20, 0, green}, // right of the picture
      {0, 10, green}, {39, 29, green},
  };
  for (const Probe& p : probes) {
    EXPECT_EQ(GetPixel(dc.Get(), p.x, p.y), p.expected) << p.x << "," << p.y;
  }
  form.Unload();
}

}  // namespace
