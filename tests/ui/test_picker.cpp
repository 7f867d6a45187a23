// The scenario picker, opened modally over the main window on a real game folder and driven from
// inside its modal loop: its rows, what OK and Cancel hand back, the key and the clicks that must
// not close it, and its geometry.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/WindowTestSupport.h"

using namespace test_support;

namespace {

class Picker : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ShowMain();
  }

  // Opens the picker as the main window does, with nothing picked yet, and runs the steps in it.
  void OpenPicker(std::vector<PickerStep> steps) {
    sPickedScenario = "";
    PickerDriver driver(main_->Picker(), std::move(steps));
    main_->Picker().ShowModal(main_.get());
    EXPECT_TRUE(driver.RanAllSteps()) << "the picker closed before its last step";
    EXPECT_FALSE(driver.LeftOpen()) << "the last step should have closed the picker";
  }
};

// A double click on a row as the mouse makes it, and the notification a notifying list would send.
void DoubleClickRow(HWND picker, int row) {
  HWND list = FindList(picker);
  RECT item{};
  SendMessageA(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
  const LPARAM point = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
    SendMessageA(list, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, point);
  }
  SendMessageA(picker, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_DBLCLK),
               reinterpret_cast<LPARAM>(list));
}

// One picker opened again and again while the folder changes, so that rows left from an earlier
// opening would show in the next.
TEST_F(Picker, ListsTheScenarioFilesAfreshAtEveryOpeningAndHandsBackTheChosenRow) {
  const PickerStep escapeThenDoubleClick = [](HWND picker) {
    SendMessageA(FindList(picker), LB_SETCURSEL, 2, 0);
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);  // through the modal loop, as typed
    PostMessageA(GetFocus(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
  };
  struct Case {
    const char* what;
    std::vector<std::string> entries;  // {"-"}: no scenario folder
    std::vector<std::string> rows;
    std::vector<PickerStep> steps;
    std::string picked;
  };
  const Case cases[] = {
      {"no folder", {"-"}, {kWater, kNorse}, {Press("OK")}, kWater},
      {"an empty folder", {}, {kWater, kNorse}, {ChooseRow(1), Press("Cancel")}, ""},
      {"two files and a text file",
       {"Beta.scn", "Alpha.scn", "notes.txt"},
       {kWater, kNorse, "Alpha", "Beta"},
       {ChooseRow(3), Press("OK")},
       "Beta"},
      {"a file added since",
       {"Beta.scn", "Alpha.scn", "notes.txt", "aardvark.scn"},
       {kWater, kNorse, "aardvark", "Alpha", "Beta"},
       {escapeThenDoubleClick, [](HWND p) { DoubleClickRow(p, 1); }, Press("OK")},
       kNorse},
      {"a subfolder named like a scenario",
       {"Sub.scn\\", "Sub.scn\\Inner.scn"},
       {kWater, kNorse},
       {Press("OK")},
       kWater},
      {"a file named .scn",
       {".scn", "Zed.scn"},
       {kWater, kNorse, "Zed"},
       {ChooseRow(2), Press("OK")},
       "Zed"},
  };
  for (const Case& c : cases) {
    if (c.entries == std::vector<std::string>{"-"}) {
      RemoveTree(ScenarioFolder());
    } else {
      MakeScenarioFolder(c.entries);
    }
    std::vector<std::string> rows;
    std::vector<PickerStep> steps = {[&rows](HWND picker) { rows = Rows(FindList(picker)); }};
    steps.insert(steps.end(), c.steps.begin(), c.steps.end());
    OpenPicker(steps);
    EXPECT_EQ(rows, c.rows) << c.what;
    EXPECT_EQ(sPickedScenario, c.picked) << c.what;
  }
  EXPECT_TRUE(boxes.empty());
}

TEST_F(Picker, HasItsDesignGeometryCentredOnTheMainWindow) {
  OpenPicker({[this](HWND picker) {
                const auto client = ClientSize(picker);
                EXPECT_EQ(client, (std::array<long, 2>{253, 281}));
                RECT inner, outer;
                GetWindowRect(picker, &inner);
                GetWindowRect(main_->Hwnd(), &outer);
                EXPECT_EQ(inner.bottom - inner.top - client[1], 2)
                    << "a 1-pixel border, no title bar";
                EXPECT_NEAR(inner.left + inner.right, outer.left + outer.right, 1);
                EXPECT_NEAR(inner.top + inner.bottom, outer.top + outer.bottom, 1);
                EXPECT_EQ(PlaceOf(FindList(picker)), (Place{18, 20, 217, 212}));
                EXPECT_EQ(PlaceOf(FindButton(picker, "OK")), (Place{170, 236, 65, 25}));
                EXPECT_EQ(PlaceOf(FindButton(picker, "Cancel")), (Place{102, 236, 65, 25}));
              },
              Press("Cancel")});
}

}  // namespace
