// The main window on a real game folder: the rows it lists, what Add, Edit and Delete do to the
// rows, the buttons and user.cfg's bytes, and what it does when user.cfg cannot be read or
// written or the game folder cannot be found.
#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/ui/WindowTestSupport.h"

using namespace window_test;

namespace {

const std::string kWater = "~AoM_pgs_Water";
const std::string kNorse = "~UI_Norse";

// The game's own lines, which every save keeps in their order; the last has no line end yet.
const std::string kOtherLinesBefore = "// Age of Mythology user settings\r\n+noIntroCinematics\r\n";
const std::string kOtherLineAfter = "setMinimapStyle 1";
const std::string kOtherLinesSaved = kOtherLinesBefore + kOtherLineAfter + "\r\n";

std::string UserCfg(const Slots& enabled) {
  return kOtherLinesBefore + AttractLines(enabled) + kOtherLineAfter;
}
std::string SavedUserCfg(const Slots& enabled) { return kOtherLinesSaved + AttractLines(enabled); }

// Slots 0 .. count-1 enabled, named Map0, Map1, ...
Slots FirstSlots(int count) {
  Slots slots;
  for (int n = 0; n < count; ++n) slots[n] = "Map" + std::to_string(n);
  return slots;
}

std::vector<std::string> RowsOf(const Slots& enabled) {
  std::vector<std::string> rows;
  for (const auto& [slot, name] : enabled) {
    rows.push_back("Menu " + std::to_string(slot) + " : " + name);
  }
  return rows;
}

struct Buttons {
  bool add, edit, del;
  bool operator==(const Buttons&) const = default;
};
void PrintTo(const Buttons& b, std::ostream* out) {
  *out << "Add " << b.add << ", Edit " << b.edit << ", Delete " << b.del;
}
constexpr Buttons kAll{true, true, true};
constexpr Buttons kNoAdd{false, true, true};

class MainWindow : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    MakeScenarioFolder({"Alpha.scn", "Beta.scn"});
  }

  // Starts afresh on a user.cfg with these bytes, set far back in time so that any rewrite shows;
  // returns the file's state before the window was shown.
  FileState ShowMainOn(const std::string& bytes) {
    CloseMain();
    ResetGlobals();
    WriteBytes(game_.UserCfg(), bytes);
    Backdate(game_.UserCfg());
    const FileState before = CfgState();
    ShowMain();
    return before;
  }

  Buttons ButtonStates() const {
    return {IsWindowEnabled(MainButton("Add")) != 0, IsWindowEnabled(MainButton("Edit")) != 0,
            IsWindowEnabled(MainButton("Delete")) != 0};
  }
  void Select(int row) const { SendMessageA(MainList(), LB_SETCURSEL, row, 0); }

  // Presses Add or Edit and, inside the picker, chooses the row reading `pick` and presses
  // `answer`.
  void PressWithPicker(const char* button, const std::string& pick, const char* answer = "OK") {
    PickerDriver driver(main_->Picker(), {ChooseRowReading(pick), Press(answer)});
    Click(MainButton(button));
    EXPECT_TRUE(driver.RanAllSteps()) << button;
    EXPECT_FALSE(driver.LeftOpen()) << button;
  }

  FileState CfgState() const { return StateOf(game_.UserCfg()); }

  // Add, Edit and Delete when there is no user.cfg to work on: each shows the reason again,
  // opens no picker and writes nothing.
  void ExpectEveryChangeRefused(const ShownBox& reason, const char* what) {
    for (const char* button : {"Add", "Edit", "Delete"}) {
      ShownBoxes().clear();
      PickerDriver driver(main_->Picker(), {Press("OK")});
      Click(MainButton(button));
      EXPECT_FALSE(driver.Opened()) << what << ": " << button;
      ASSERT_EQ(ShownBoxes().size(), 1u) << what << ": " << button;
      EXPECT_EQ(ShownBoxes()[0].prompt, reason.prompt) << what << ": " << button;
      EXPECT_EQ(ShownBoxes()[0].title, reason.title) << what << ": " << button;
      EXPECT_EQ(ShownBoxes()[0].style, reason.style) << what << ": " << button;
    }
  }
};

TEST_F(MainWindow, LoadingListsTheEnabledSlotsSelectsTheFirstRowAndWritesNothing) {
  struct Case {
    const char* what;
    Slots enabled;
    std::vector<std::string> rows;
    Buttons buttons;
  };
  const Case cases[] = {
      {"three slots", {{0, kWater}, {1, kNorse}, {2, "My Map"}},
       {"Menu 0 : ~AoM_pgs_Water", "Menu 1 : ~UI_Norse", "Menu 2 : My Map"}, kAll},
      {"slots 0 and 3", {{0, kWater}, {3, "Alpha"}},
       {"Menu 0 : ~AoM_pgs_Water", "Menu 3 : Alpha"}, kAll},
      {"ten slots", FirstSlots(10), RowsOf(FirstSlots(10)), kNoAdd},
  };
  for (const Case& c : cases) {
    const FileState before = ShowMainOn(UserCfg(c.enabled));
    EXPECT_EQ(Rows(MainList()), c.rows) << c.what;
    EXPECT_EQ(Selection(MainList()), 0) << c.what;
    EXPECT_EQ(ButtonStates(), c.buttons) << c.what;
    EXPECT_EQ(CfgState(), before) << c.what;
  }
  EXPECT_TRUE(ShownBoxes().empty());
}

TEST_F(MainWindow, AddEditAndDeleteChangeRowsSelectionButtonsAndUserCfg) {
  struct Case {
    const char* what;
    Slots before;
    int select;
    const char* button;
    const char* pick;  // the picker's row, for Add and Edit
    std::vector<std::string> rows;
    int selection;
    Buttons buttons;
    Slots saved;
  };
  Slots tenAfterAdd = FirstSlots(9);
  tenAfterAdd[9] = "Beta";
  const Case cases[] = {
      {"Add to two slots", {{0, kWater}, {1, kNorse}}, 0, "Add", "Alpha",
       {"Menu 0 : ~AoM_pgs_Water", "Menu 1 : ~UI_Norse", "Menu 2 : Alpha"}, 0, kAll,
       {{0, kWater}, {1, kNorse}, {2, "Alpha"}}},
      {"Add fills the first free slot", {{0, kWater}, {2, "Alpha"}}, 1, "Add", "Beta",
       {"Menu 0 : ~AoM_pgs_Water", "Menu 1 : Beta", "Menu 2 : Alpha"}, 1, kAll,
       {{0, kWater}, {1, "Beta"}, {2, "Alpha"}}},
      {"Add the tenth", FirstSlots(9), 4, "Add", "Beta", RowsOf(tenAfterAdd), 4, kNoAdd,
       tenAfterAdd},
      {"Edit the second row", {{0, kWater}, {1, kNorse}, {2, "Alpha"}}, 1, "Edit", "Beta",
       {"Menu 0 : ~AoM_pgs_Water", "Menu 1 : Beta", "Menu 2 : Alpha"}, 1, kAll,
       {{0, kWater}, {1, "Beta"}, {2, "Alpha"}}},
      {"Edit the row of slot 3", {{0, kWater}, {3, "Alpha"}}, 1, "Edit", "Beta",
       {"Menu 0 : ~AoM_pgs_Water", "Menu 3 : Beta"}, 1, kAll, {{0, kWater}, {3, "Beta"}}},
      {"Delete the first row", {{0, kWater}, {1, kNorse}, {2, "Alpha"}}, 0, "Delete", nullptr,
       {"Menu 0 : ~UI_Norse", "Menu 1 : Alpha"}, 0, kAll, {{0, kNorse}, {1, "Alpha"}}},
      {"Delete the last row", {{0, kWater}, {1, kNorse}, {2, "Alpha"}}, 2, "Delete", nullptr,
       {"Menu 0 : ~AoM_pgs_Water", "Menu 1 : ~UI_Norse"}, 1, kAll, {{0, kWater}, {1, kNorse}}},
      {"Delete the row of slot 3", {{0, kWater}, {3, "Alpha"}}, 1, "Delete", nullptr,
       {"Menu 0 : ~AoM_pgs_Water"}, 0, kAll, {{0, kWater}}},
      {"Delete one of ten", FirstSlots(10), 9, "Delete", nullptr, RowsOf(FirstSlots(9)), 8, kAll,
       FirstSlots(9)},
  };
  for (const Case& c : cases) {
    ShowMainOn(UserCfg(c.before));
    ShownBoxes().clear();
    Select(c.select);
    if (c.pick) {
      PressWithPicker(c.button, c.pick);
    } else {
      Click(MainButton(c.button));
    }
    EXPECT_EQ(Rows(MainList()), c.rows) << c.what;
    EXPECT_EQ(Selection(MainList()), c.selection) << c.what;
    EXPECT_EQ(ButtonStates(), c.buttons) << c.what;
    EXPECT_EQ(CfgState().bytes, SavedUserCfg(c.saved)) << c.what;
    EXPECT_FALSE(PathExists(game_.UserCfg() + ".tmp")) << c.what;
    EXPECT_TRUE(ShownBoxes().empty()) << c.what;
  }
}

TEST_F(MainWindow, PickerClosedWithoutANameChangesAndWritesNothing) {
  MakeScenarioFolder({".scn", "Alpha.scn"});  // a file named just ".scn" gives an empty row
  struct Case {
    const char* button;
    const char* pick;
    const char* answer;
  };
  const Case cases[] = {
      {"Add", "Alpha", "Cancel"},
      {"Edit", "Alpha", "Cancel"},
      {"Add", "", "OK"},
      {"Edit", "", "OK"},
  };
  const Slots enabled = {{0, kWater}, {1, kNorse}};
  const FileState before = ShowMainOn(UserCfg(enabled));
  Select(1);
  for (const Case& c : cases) {
    PressWithPicker(c.button, c.pick, c.answer);
    EXPECT_EQ(Rows(MainList()), RowsOf(enabled)) << c.button << " " << c.answer;
    EXPECT_EQ(Selection(MainList()), 1) << c.button << " " << c.answer;
    EXPECT_EQ(CfgState(), before) << c.button << " " << c.answer;
  }
  EXPECT_TRUE(ShownBoxes().empty());
}

TEST_F(MainWindow, DeletingTheLastRowIsRefused) {
  ShowMainOn(UserCfg({{0, kWater}, {1, kNorse}}));
  Select(1);
  Click(MainButton("Delete"));
  EXPECT_EQ(Rows(MainList()), std::vector<std::string>{"Menu 0 : ~AoM_pgs_Water"});
  EXPECT_EQ(ButtonStates(), kAll) << "Delete stays enabled at one row";
  EXPECT_EQ(CfgState().bytes, SavedUserCfg({{0, kWater}}));
  EXPECT_TRUE(ShownBoxes().empty());

  Backdate(game_.UserCfg());
  const FileState before = CfgState();
  Click(MainButton("Delete"));
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(ShownBoxes()[0].prompt, "You must leave at least one menu.");
  EXPECT_EQ(ShownBoxes()[0].title, "Cannot remove");
  EXPECT_EQ(ShownBoxes()[0].style, 48u);
  EXPECT_EQ(Rows(MainList()), std::vector<std::string>{"Menu 0 : ~AoM_pgs_Water"});
  EXPECT_EQ(CfgState(), before);
}

TEST_F(MainWindow, DeleteKeyDeletesWithAnyModifiersAndOtherKeysDoNothing) {
  struct Case {
    const char* what;
    std::initializer_list<int> held;
    UINT message;
    int key;
    bool deletes;
  };
  const Case cases[] = {
      {"Delete", {}, WM_KEYUP, VK_DELETE, true},
      {"Shift+Delete", {VK_SHIFT}, WM_KEYUP, VK_DELETE, true},
      {"Ctrl+Delete", {VK_CONTROL}, WM_KEYUP, VK_DELETE, true},
      {"Alt+Delete", {VK_MENU}, WM_KEYUP, VK_DELETE, true},
      {"Alt+Delete as the system sends it", {VK_MENU}, WM_SYSKEYUP, VK_DELETE, true},
      {"Enter", {}, WM_KEYUP, VK_RETURN, false},
      {"A", {}, WM_KEYUP, 'A', false},
  };
  ShowMainOn(UserCfg(FirstSlots(10)));
  for (const Case& c : cases) {
    Select(0);
    Backdate(game_.UserCfg());
    const FileState before = CfgState();
    const size_t rows = Rows(MainList()).size();
    SetHeldKeys(c.held);
    SendMessageA(MainList(), c.message, c.key, 0xC0000001);
    SetHeldKeys({});
    EXPECT_EQ(Rows(MainList()).size(), c.deletes ? rows - 1 : rows) << c.what;
    EXPECT_EQ(CfgState() == before, !c.deletes) << c.what;
  }
  EXPECT_TRUE(ShownBoxes().empty());
}

TEST_F(MainWindow, ReadOnlyUserCfgIsReportedLeftUnchangedAndTheChangeSavedLater) {
  ShowMainOn(UserCfg({{0, kWater}, {1, kNorse}}));
  ASSERT_TRUE(SetFileAttributesA(game_.UserCfg().c_str(), FILE_ATTRIBUTE_READONLY));
  const FileState before = CfgState();

  PressWithPicker("Add", "Alpha");
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(ShownBoxes()[0].style, 16u);
  EXPECT_NE(ShownBoxes()[0].prompt.find(game_.UserCfg()), std::string::npos)
      << ShownBoxes()[0].prompt;
  EXPECT_NE(ShownBoxes()[0].prompt.find("read-only"), std::string::npos);
  EXPECT_EQ(CfgState(), before);
  EXPECT_FALSE(PathExists(game_.UserCfg() + ".tmp"));
  EXPECT_EQ(Rows(MainList()).size(), 3u) << "the window keeps the change";

  // Writable again: the next change saves both.
  ASSERT_TRUE(SetFileAttributesA(game_.UserCfg().c_str(), FILE_ATTRIBUTE_NORMAL));
  Select(0);
  Click(MainButton("Delete"));
  EXPECT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(CfgState().bytes, SavedUserCfg({{0, kNorse}, {1, "Alpha"}}));
}

TEST_F(MainWindow, UserCfgHeldByAnotherProgramAtStartUpLeavesTheWindowEmptyAndWritesNothing) {
  WriteBytes(game_.UserCfg(), UserCfg({{0, kWater}, {1, kNorse}}));
  Backdate(game_.UserCfg());
  const FileState before = CfgState();
  HANDLE held = CreateFileA(game_.UserCfg().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ShowMain();
  CloseHandle(held);  // readable again, yet nothing may be written now

  ASSERT_EQ(ShownBoxes().size(), 1u);
  const ShownBox reason = ShownBoxes()[0];
  EXPECT_EQ(reason.title, "Cannot read menus");
  EXPECT_EQ(reason.style, 16u);
  EXPECT_NE(reason.prompt.find(game_.UserCfg()), std::string::npos) << reason.prompt;
  EXPECT_TRUE(Rows(MainList()).empty());
  EXPECT_EQ(ButtonStates(), kAll);

  ExpectEveryChangeRefused(reason, "held");
  EXPECT_EQ(CfgState(), before);
}

TEST_F(MainWindow, FailedLookupLeavesTheWindowEmptyAndEveryChangeShowsItsMessageAgain) {
  TempFolder noStartup;
  struct Case {
    const char* what;
    bool registered;
    std::string prompt;
  };
  const Case cases[] = {
      {"no AppPath value", false, "Cannot find the folder where AoM is installed."},
      {"a folder without startup", true,
       "The game installation points to this directory :\r\n" + noStartup.Path() +
           "\\\r\n\r\nBut this folder does not exist."},
  };
  for (const Case& c : cases) {
    CloseMain();
    ResetGlobals();
    ShownBoxes().clear();
    if (c.registered) {
      Register(noStartup.Path());
    } else {
      test_support::DeleteMachineValue(kGameKey, kAppPath);
    }
    ShowMain();

    ASSERT_EQ(ShownBoxes().size(), 1u) << c.what;
    const ShownBox reason = ShownBoxes()[0];
    EXPECT_EQ(reason.prompt, c.prompt) << c.what;
    EXPECT_EQ(reason.title, "Invalid AoM path") << c.what;
    EXPECT_EQ(reason.style, 16u) << c.what;
    EXPECT_TRUE(Rows(MainList()).empty()) << c.what;
    EXPECT_EQ(Selection(MainList()), -1) << c.what;
    EXPECT_EQ(ButtonStates(), kAll) << c.what;

    ExpectEveryChangeRefused(reason, c.what);
    EXPECT_EQ(sCfgFile, "") << c.what;
    EXPECT_FALSE(PathExists(sGamePath + "startup")) << c.what;
    EXPECT_FALSE(PathExists(game_.UserCfg())) << c.what;
  }
}

TEST_F(MainWindow, HasItsDesignGeometry) {
  ShowMainOn(UserCfg({{0, kWater}}));
  const HWND window = main_->Hwnd();
  const SIZE client = ClientSize(window);
  EXPECT_EQ(client.cx, 301);
  EXPECT_EQ(client.cy, 225);
  char caption[64] = {};
  GetWindowTextA(window, caption, sizeof caption);
  EXPECT_STREQ(caption, "Pelrith's Tessivane");
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);

  EXPECT_EQ(PlaceOf(MainButton("Add")), (Place{16, 16, 65, 25}));
  EXPECT_EQ(PlaceOf(MainButton("Edit")), (Place{84, 16, 65, 25}));
  EXPECT_EQ(PlaceOf(MainButton("Delete")), (Place{220, 16, 65, 25}));
  EXPECT_EQ(PlaceOf(MainList()), (Place{16, 44, 269, 147}));
}

}  // namespace
