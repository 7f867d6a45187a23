// The scenario picker, opened modally over the main window on a real game folder and driven from
// inside its modal loop: its rows, what OK and Cancel hand back, the keys and clicks that must not
// close it, and its geometry.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/ui/WindowTestSupport.h"

using namespace window_test;

namespace {

const std::string kWater = "~AoM_pgs_Water";
const std::string kNorse = "~UI_Norse";

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
    EXPECT_FALSE(main_->Picker().IsLoaded());
  }
};

TEST_F(Picker, ListsTheBuiltInsThenTheScenarioFilesAfreshAtEveryOpening) {
  struct Case {
    const char* what;
    bool folder;
    std::vector<std::string> entries;
    std::vector<std::string> rows;
  };
  // One picker opened again and again while the folder changes; each opening ends with the last
  // row chosen and Cancel, so a selection or a row that survived would show in the next.
  const Case cases[] = {
      {"no scenario folder", false, {}, {kWater, kNorse}},
      {"an empty folder", true, {}, {kWater, kNorse}},
      {"two files and a text file", true, {"Beta.scn", "Alpha.scn", "notes.txt"},
       {kWater, kNorse, "Alpha", "Beta"}},
      {"the same folder again", true, {"Beta.scn", "Alpha.scn", "notes.txt"},
       {kWater, kNorse, "Alpha", "Beta"}},
      {"a file added meanwhile", true, {"Beta.scn", "Alpha.scn", "notes.txt", "aardvark.scn"},
       {kWater, kNorse, "aardvark", "Alpha", "Beta"}},  // in the order Windows lists them
      {"a subfolder named like a scenario", true, {"Sub.scn\\", "Sub.scn\\Inner.scn"},
       {kWater, kNorse}},
  };
  for (const Case& c : cases) {
    if (c.folder) {
      MakeScenarioFolder(c.entries);
    } else {
      RemoveTree(ScenarioFolder());
    }
    std::vector<std::string> rows;
    int selection = -2;
    OpenPicker({ReadRows(rows, selection), ChooseRow(static_cast<int>(c.rows.size()) - 1),
                Press("Cancel")});
    EXPECT_EQ(rows, c.rows) << c.what;
    EXPECT_EQ(selection, 0) << c.what;
    EXPECT_EQ(sPickedScenario, "") << c.what;
  }
  EXPECT_TRUE(ShownBoxes().empty());
}

TEST_F(Picker, OkHandsBackTheSelectedRowAndCancelNothing) {
  struct Case {
    const char* what;
    std::vector<std::string> files;
    std::vector<PickerStep> steps;
    std::string picked;
  };
  const Case cases[] = {
      {"OK at once", {"MyMap.SCN"}, {Press("OK")}, kWater},
      {"OK on a file's row", {"MyMap.SCN"}, {ChooseRow(2), Press("OK")}, "MyMap"},
      {"OK on the row of a file named .scn", {".scn", "Zed.scn"},
       {ChooseRowReading(""), Press("OK")}, ""},
      {"Cancel after choosing a row", {"MyMap.SCN"}, {ChooseRow(1), Press("Cancel")}, ""},
  };
  for (const Case& c : cases) {
    MakeScenarioFolder(c.files);
    OpenPicker(c.steps);
    EXPECT_EQ(sPickedScenario, c.picked) << c.what;
  }
}

// A double click on a row as the mouse makes it, and the notification a notifying list would send.
PickerStep DoubleClickRow(int row) {
  return [row](HWND picker) {
    HWND list = FindList(picker);
    RECT item{};
    ASSERT_NE(SendMessageA(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item)), LB_ERR);
    const LPARAM point = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
      SendMessageA(list, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, point);
    }
    SendMessageA(picker, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list));
  };
}

PickerStep ExpectSelectionAndFocus(int row, const char* focusedButton) {
  return [row, focusedButton](HWND picker) {
    EXPECT_EQ(Selection(FindList(picker)), row);
    const HWND focus = focusedButton ? FindButton(picker, focusedButton) : FindList(picker);
    EXPECT_EQ(GetFocus(), focus) << (focusedButton ? focusedButton : "the list");
  };
}

TEST_F(Picker, EscapeEnterInTheListAndDoubleClicksLeaveItOpenEnterPressesTheFocusedButton) {
  MakeScenarioFolder({"Alpha.scn"});
  struct Case {
    int tabs;  // from the list to the button that then takes Enter
    const char* button;
    std::string picked;
  };
  const Case cases[] = {{1, "OK", kNorse}, {2, "Cancel", ""}};
  for (const Case& c : cases) {
    std::vector<PickerStep> steps = {
        ChooseRow(2),
        PostKey(VK_ESCAPE),
        ExpectSelectionAndFocus(2, nullptr),
        DoubleClickRow(1),
        ExpectSelectionAndFocus(1, nullptr),
        PostKey(VK_RETURN),
        ExpectSelectionAndFocus(1, nullptr),
    };
    for (int n = 0; n < c.tabs; ++n) steps.push_back(PostKey(VK_TAB));
    steps.push_back(ExpectSelectionAndFocus(1, c.button));
    steps.push_back(PostKey(VK_ESCAPE));
    steps.push_back(ExpectSelectionAndFocus(1, c.button));
    steps.push_back(PostKey(VK_RETURN));  // closes it: the steps end here
    OpenPicker(steps);
    EXPECT_EQ(sPickedScenario, c.picked) << c.button;
  }
}

TEST_F(Picker, HasItsDesignGeometryCentredOnTheMainWindowAndStartsInTheList) {
  OpenPicker({[this](HWND picker) {
                const SIZE client = ClientSize(picker);
                EXPECT_EQ(client.cx, 253);
                EXPECT_EQ(client.cy, 281);
                const LONG_PTR style = GetWindowLongPtrA(picker, GWL_STYLE);
                EXPECT_NE(style & WS_CAPTION, WS_CAPTION) << "no title bar";
                EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
                EXPECT_EQ(GetWindow(picker, GW_OWNER), main_->Hwnd());

                RECT inner, outer;
                GetWindowRect(picker, &inner);
                GetWindowRect(main_->Hwnd(), &outer);
                EXPECT_EQ(inner.bottom - inner.top - client.cy, 2) << "a 1-pixel border only";
                EXPECT_NEAR(inner.left + inner.right, outer.left + outer.right, 1);
                EXPECT_NEAR(inner.top + inner.bottom, outer.top + outer.bottom, 1);

                EXPECT_EQ(PlaceOf(FindList(picker)), (Place{18, 20, 217, 212}));
                EXPECT_EQ(PlaceOf(FindButton(picker, "OK")), (Place{170, 236, 65, 25}));
                EXPECT_EQ(PlaceOf(FindButton(picker, "Cancel")), (Place{102, 236, 65, 25}));
                EXPECT_EQ(GetFocus(), FindList(picker));
                EXPECT_FALSE(IsWindowEnabled(main_->Hwnd())) << "the main window waits";
              },
              Press("Cancel")});
  EXPECT_TRUE(IsWindowEnabled(main_->Hwnd()));
}

}  // namespace
