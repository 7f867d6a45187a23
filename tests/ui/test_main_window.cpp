// The main window on a real game folder: the rows it lists, what Add, Edit and Delete do to the
// rows, the buttons and user.cfg's bytes, and what it does when user.cfg cannot be read or
// written or the game folder cannot be found.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/AnsiText.h"
#include "platform/FileReplacement.h"
#include "tests/support/WindowTestSupport.h"
#include "ui/PlayerMessages.h"
#include "ui/ProgramIdentity.h"

using namespace test_support;

namespace {

// The game's own lines, which every save keeps in their order; the last has no line end yet.
const std::string kOtherLines = "+noIntroCinematics\r\n";
const std::string kLastLine = "setMinimapStyle 1";

std::string UserCfg(const Slots& enabled) {
  return kOtherLines + AttractLines(enabled) + kLastLine;
}
std::string SavedUserCfg(const Slots& enabled) {
  return kOtherLines + kLastLine + "\r\n" + AttractLines(enabled);
}

Slots FirstSlots(int count, const std::string& last = "") {
  Slots slots;
  for (int n = 0; n < count; ++n) slots[n] = "Map" + std::to_string(n);
  if (!last.empty()) slots[count - 1] = last;
  return slots;
}

std::vector<std::string> RowsOf(const Slots& enabled) {
  std::vector<std::string> rows;
  for (const auto& [slot, name] : enabled)
    rows.push_back("Menu " + std::to_string(slot) + " : " + name);
  return rows;
}

class MainWindow : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    MakeScenarioFolder({"Alpha.scn", "Beta.scn"});  // picker rows 2 and 3
  }

  // Starts afresh on a user.cfg with these bytes; returns its state before the window was shown.
  std::string ShowMainOn(const std::string& bytes) {
    CloseMain();
    ResetGlobals();
    WriteBytes(game_.UserCfg(), bytes);
    Backdate(game_.UserCfg());
    const std::string before = StateOf(game_.UserCfg());
    ShowMain();
    return before;
  }

  std::string Buttons() const {
    std::string states;
    for (const char* b : {"Add", "Edit", "Delete"})
      states += IsWindowEnabled(MainButton(b)) ? "1" : "0";
    return states;
  }

  // Presses the button and, in the picker it opens, chooses the row and presses the answer.
  void PressWithPicker(const char* button, int row, const char* answer = "OK") {
    PickerDriver driver(main_->Picker(), {ChooseRow(row), Press(answer)});
    Click(MainButton(button));
    EXPECT_TRUE(driver.RanAllSteps() && !driver.LeftOpen()) << button;
  }
};

TEST_F(MainWindow, LoadThenAddEditOrDeleteChangeRowsSelectionButtonsAndUserCfg) {
  struct Case {
    Slots before;
    int select;
    const char* button;
    int pick;  // the picker's row, for Add and Edit
    Slots saved;
    int selection;
  };
  const Case cases[] = {
      {{{0, kWater}, {1, kNorse}}, 0, "Add", 2, {{0, kWater}, {1, kNorse}, {2, "Alpha"}}, 0},
      {{{0, kWater}, {2, "Alpha"}}, 1, "Add", 3, {{0, kWater}, {1, "Beta"}, {2, "Alpha"}}, 1},
      {FirstSlots(9), 4, "Add", 3, FirstSlots(10, "Beta"), 4},
      {{{0, kWater}, {3, "Alpha"}}, 1, "Edit", 3, {{0, kWater}, {3, "Beta"}}, 1},
      {{{0, kWater}, {1, kNorse}, {2, "Alpha"}}, 0, "Delete", 0, {{0, kNorse}, {1, "Alpha"}}, 0},
      {{{0, kWater}, {1, kNorse}, {2, "Alpha"}}, 2, "Delete", 0, {{0, kWater}, {1, kNorse}}, 1},
      {{{0, kWater}, {3, "Alpha"}}, 1, "Delete", 0, {{0, kWater}}, 0},
      {FirstSlots(10), 9, "Delete", 0, FirstSlots(9), 8},
  };
  for (const Case& c : cases) {
    const std::string what = std::string(c.button) + " on row " + std::to_string(c.select) +
                             " of " + std::to_string(c.before.size());
    const std::string before = ShowMainOn(UserCfg(c.before));
    EXPECT_EQ(Rows(MainList()), RowsOf(c.before)) << what;
    EXPECT_EQ(Selection(MainList()), 0) << what;
    EXPECT_EQ(Buttons(), c.before.size() == 10 ? "011" : "111") << what;
    EXPECT_EQ(StateOf(game_.UserCfg()), before) << what << ": loading writes nothing";

    SendMessageA(MainList(), LB_SETCURSEL, c.select, 0);
    std::string(c.button) == "Delete" ? Click(MainButton(c.button))
                                      : PressWithPicker(c.button, c.pick);
    EXPECT_EQ(Rows(MainList()), RowsOf(c.saved)) << what;
    EXPECT_EQ(Selection(MainList()), c.selection) << what;
    EXPECT_EQ(Buttons(), c.saved.size() == 10 ? "011" : "111") << what;
    EXPECT_EQ(ReadBytes(game_.UserCfg()), SavedUserCfg(c.saved)) << what;
  }
  EXPECT_TRUE(boxes.empty());
}

// Scenarios named in the player's script, as the game's editor saves them, are offered, picked and
// written to user.cfg as the code page's own bytes, a trail byte 0x5C included (表示 is 95 5C 8E A6
// in 932, 功 A5 5C in 950, 乗 81 5C in 936). make test runs this in those code pages; names the
// code page cannot hold are not offered at all.
TEST_F(MainWindow, ScenarioNamedInThePlayersScriptIsWrittenByteForByte) {
  MakeScenarioFolder({"Alpha.scn"});
  Slots expected = {{0, kWater}};
  std::vector<std::string> held;
  for (const std::wstring name : {L"表示", L"功", L"乗", L"\u03A9mega"}) {
    MakeEmptyFile(WideFromAnsi(ScenarioFolder()) + L"\\" + name + L".scn");
    if (const std::optional<std::string> ansi = AnsiFromWide(name)) held.push_back(*ansi);
  }
  ShowMainOn(UserCfg(expected));
  for (const std::string& name : held) {
    std::vector<std::string> rows;
    const PickerStep chooseByName = [&](HWND picker) {
      rows = Rows(FindList(picker));
      const auto row = std::find(rows.begin(), rows.end(), name);
      SendMessageA(FindList(picker), LB_SETCURSEL, row - rows.begin(), 0);
    };
    PickerDriver driver(main_->Picker(), {chooseByName, Press("OK")});
    Click(MainButton("Add"));
    EXPECT_EQ(rows.size(), held.size() + 3) << AnsiCodePage();
    expected[static_cast<int>(expected.size())] = name;
  }
  EXPECT_EQ(ReadBytes(game_.UserCfg()), held.empty() ? UserCfg(expected) : SavedUserCfg(expected));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindow, CancellingThePickerChangesAndWritesNothing) {
  const Slots enabled = {{0, kWater}, {1, kNorse}};
  const std::string before = ShowMainOn(UserCfg(enabled));
  for (const char* button : {"Add", "Edit"}) {
    PressWithPicker(button, 2, "Cancel");
    EXPECT_EQ(Rows(MainList()), RowsOf(enabled)) << button;
    EXPECT_EQ(StateOf(game_.UserCfg()), before) << button;
  }
}

TEST_F(MainWindow, DeletingTheLastRowIsRefused) {
  ShowMainOn(UserCfg({{0, kWater}, {1, kNorse}}));
  Click(MainButton("Delete"));
  EXPECT_EQ(ReadBytes(game_.UserCfg()), SavedUserCfg({{0, kNorse}}));
  Backdate(game_.UserCfg());
  const std::string before = StateOf(game_.UserCfg());
  Click(MainButton("Delete"));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].starts_with("Cannot remove\n")) << boxes[0];
  EXPECT_EQ(Rows(MainList()), std::vector<std::string>{"Menu 0 : ~UI_Norse"});
  EXPECT_EQ(StateOf(game_.UserCfg()), before);
}

TEST_F(MainWindow, DeleteKeyDeletesWithAnyModifiersAndOtherKeysDoNothing) {
  struct Case {
    int held;
    UINT message;
    int key;
    bool deletes;
  };
  const Case cases[] = {
      {0, WM_KEYUP, VK_DELETE, true},          {VK_SHIFT, WM_KEYUP, VK_DELETE, true},
      {VK_CONTROL, WM_KEYUP, VK_DELETE, true}, {VK_MENU, WM_SYSKEYUP, VK_DELETE, true},
      {0, WM_KEYUP, VK_RETURN, false},         {0, WM_KEYUP, 'A', false}};
  ShowMainOn(UserCfg(FirstSlots(10)));
  for (const Case& c : cases) {
    Backdate(game_.UserCfg());
    const std::string before = StateOf(game_.UserCfg());
    const size_t rows = Rows(MainList()).size();
    SetHeldKeys({c.held});
    SendMessageA(MainList(), c.message, c.key, 0xC0000001);
    SetHeldKeys({});
    EXPECT_EQ(Rows(MainList()).size(), c.deletes ? rows - 1 : rows) << c.key << " " << c.held;
    EXPECT_EQ(StateOf(game_.UserCfg()) != before, c.deletes) << c.key << " " << c.held;
  }
}

TEST_F(MainWindow, ReadOnlyUserCfgIsReportedAndLeftUnchanged) {
  ShowMainOn(UserCfg({{0, kWater}, {1, kNorse}}));
  ASSERT_TRUE(SetFileAttributesA(game_.UserCfg().c_str(), FILE_ATTRIBUTE_READONLY));
  const std::string before = StateOf(game_.UserCfg());
  PressWithPicker("Add", 2);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find(game_.UserCfg()), std::string::npos) << boxes[0];
  EXPECT_EQ(StateOf(game_.UserCfg()), before);
  SetFileAttributesA(game_.UserCfg().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A save waits for another's lock (its temporary file) for about a second, pumping no messages:
// the pointer shows the tool busy at every try, and as it was once the save has ended.
std::vector<HCURSOR> pointersAtEachTry;
TEST_F(MainWindow, SaveThatWaitsForAFileInUseShowsTheBusyPointer) {
  ShowMainOn(UserCfg({{0, kWater}, {1, kNorse}}));
  const std::string temp = game_.UserCfg() + ".tmp";
  WriteBytes(temp, "");
  HANDLE held = HoldWithoutSharing(temp);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  SetCursor(arrow);
  pointersAtEachTry.clear();
  SetNewFileGate([](const std::string&) -> unsigned long {
    pointersAtEachTry.push_back(GetCursor());
    return 0;
  });
  Click(MainButton("Delete"));
  SetNewFileGate(nullptr);
  CloseHandle(held);
  ASSERT_GT(pointersAtEachTry.size(), 2u) << "tried again";
  for (HCURSOR pointer : pointersAtEachTry) EXPECT_EQ(pointer, LoadCursorA(nullptr, IDC_WAIT));
  EXPECT_EQ(GetCursor(), arrow);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find(temp), std::string::npos) << boxes[0];
}

TEST_F(MainWindow, UnreadableUserCfgOrFailedLookupLeavesItEmptyAndEveryChangeWritesNothing) {
  TempFolder noStartup;
  enum How { Lookup, Held, Utf16, Refused };
  struct Case {
    std::string appPath;  // "" for none
    std::string cfg;      // where a careless save would write
    How how;              // the lookup fails; user.cfg is open in another program at start-up,
                          // saved as UTF-16, or missing in a folder that refuses new files
    std::string box;      // title and prompt, or for user.cfg's own failures the title and the
                          // start of the prompt, which goes on with cfg and the reason
    std::string reason = "";
  };
  const Case cases[] = {
      {"", std::string(kUserCfgInGameFolder), Lookup,
       "Invalid AoM path\nCannot find the folder where AoM is installed."},
      {noStartup.Path(), noStartup.Path() + "\\" + std::string(kUserCfgInGameFolder), Lookup,
       "Invalid AoM path\nThe game installation points to this directory :\r\n" + noStartup.Path() +
           "\\\r\n\r\nBut this folder does not exist."},
      {game_.Path(), game_.UserCfg(), Held,
       "Cannot read menus\nThe game's menu settings could not be read from\r\n",
       "The file is in use by another program."},
      {game_.Path(), game_.UserCfg(), Utf16,
       "Cannot read menus\nThe game's menu settings could not be read from\r\n",
       "The file is Unicode (UTF-16) text, which the game does not read."},
      {game_.Path(), game_.UserCfg(), Refused,
       "Cannot create menus\nThe game's menu settings could not be written to\r\n",
       "denied."},  // "Access is denied." on Windows, "Access denied." in Wine
  };
  for (const Case& c : cases) {
    CloseMain();
    ResetGlobals();
    boxes.clear();
    c.appPath.empty() ? test_support::DeleteMachineValue(kGameKey, kAppPath) : Register(c.appPath);
    DeleteFileA(game_.UserCfg().c_str());
    if (c.how == Held) WriteBytes(c.cfg, UserCfg({{0, kWater}}));
    if (c.how == Utf16) WriteBytes(c.cfg, std::string("\xFF\xFE+\0x\0\r\0\n\0", 10));
    RefuseNewFilesIn(c.how == Refused ? game_.Path() : "");
    const std::string before = StateOf(c.cfg);
    HANDLE held = c.how == Held ? HoldWithoutSharing(c.cfg) : INVALID_HANDLE_VALUE;
    ShowMain();
    if (held != INVALID_HANDLE_VALUE)
      CloseHandle(held);   // readable again, yet nothing may be written
    RefuseNewFilesIn("");  // creatable now, yet nothing may be written

    // Without a game the list says how to choose its folder, and Add opens the chooser (here
    // cancelled).
    EXPECT_EQ(Rows(MainList()), c.how == Lookup ? NoGameFolderRows() : std::vector<std::string>{})
        << c.cfg;
    EXPECT_EQ(Buttons(), "111") << c.cfg;
    for (const std::string button : {"Add", "Edit", "Delete"}) {
      PickerDriver driver(main_->Picker(), {Press("OK")});
      FolderChooserDriver chooser(L"");
      Click(MainButton(button.c_str()));
      EXPECT_FALSE(driver.Opened()) << c.cfg << ": " << button;
      EXPECT_EQ(chooser.Opened(), c.how == Lookup && button == "Add") << c.cfg << ": " << button;
    }
    ASSERT_EQ(boxes.size(), c.how == Lookup ? 3u : 4u)
        << c.cfg << ": the reason at start-up and at each change";
    for (const std::string& box : boxes) {
      EXPECT_TRUE(c.how != Lookup ? box.starts_with(c.box + c.cfg + "\r\n") &&
                                        box.find(c.reason) != std::string::npos
                                  : box == c.box)
          << box;
    }
    EXPECT_EQ(StateOf(c.cfg), before) << c.cfg;
  }
}

// No game found: the player shows the window the game's folder, chosen with Add in Windows'
// folder chooser, or dropped on the window with a scenario beside it. A folder without startup is
// refused with a box that names it, and the window stays as it was; the game's folder is loaded as
// one given on the command line, the box says how to have it found at every start, and the window
// then works as ever.
TEST_F(MainWindow, GameFolderChosenWithAddOrDroppedWhenNoneWasFound) {
  TempFolder notGame, downloads;
  WriteBytes(downloads.Path() + "\\Reef.scn", "reef");
  const std::wstring reef = WideFromAnsi(downloads.Path() + "\\Reef.scn");
  const std::string game = game_.Path().substr(0, game_.Path().size() - 1);
  const std::string chosen = "Game folder chosen\nThe menus of the game in\r\n" + game_.Path() +
                             "\r\nare shown now.\r\n\r\nTo have this folder found at every start";
  const std::string refused = "Not the game's folder\nThis folder is not the game's:\r\n" +
                              notGame.Path() + "\r\n\r\nThe folder where AoM is installed holds";
  struct Case {
    const char* what;
    std::string folder;
    bool drop;  // dropped with Reef.scn, else chosen with Add
    std::string box;
    Slots menus;  // none: the window still has no game
  };
  const Case cases[] = {
      {"chosen, not a game folder", notGame.Path(), false, refused, {}},
      {"dropped, not a game folder", notGame.Path(), true, refused, {}},
      {"chosen", game, false, chosen, {{0, kWater}}},
      {"dropped with a scenario", game + "\\", true, chosen, {{0, kWater}, {1, "Reef"}}},
  };
  for (const Case& c : cases) {
    CloseMain();
    ResetGlobals();
    test_support::DeleteMachineValue(kGameKey, kAppPath);
    WriteBytes(game_.UserCfg(), UserCfg({{0, kWater}}));
    DeleteFileA((ScenarioFolder() + "\\Reef.scn").c_str());
    ShowMain();
    boxes.clear();
    const std::wstring folder = WideFromAnsi(c.folder);
    if (c.drop) {
      main_->TakeDroppedFiles({{reef, reef}, {folder, folder}});
    } else {
      FolderChooserDriver chooser(folder);
      Click(MainButton("Add"));
      EXPECT_EQ(chooser.Title(), L"Choose the folder where AoM is installed") << c.what;
    }
    ASSERT_EQ(boxes.size(), 1u) << c.what;
    EXPECT_EQ(boxes[0].substr(0, c.box.size()), c.box) << c.what;
    if (c.menus.empty()) {
      EXPECT_EQ(Rows(MainList()), NoGameFolderRows()) << c.what;
      EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg({{0, kWater}})) << c.what;
      continue;
    }
    EXPECT_EQ(Rows(MainList()), RowsOf(c.menus)) << c.what;
    EXPECT_EQ(ReadBytes(game_.UserCfg()), c.drop ? SavedUserCfg(c.menus) : UserCfg(c.menus))
        << c.what;
    // From now on Add adds a menu.
    PressWithPicker("Add", 2);
    Slots more = c.menus;
    more[static_cast<int>(more.size())] = "Alpha";
    EXPECT_EQ(ReadBytes(game_.UserCfg()), SavedUserCfg(more)) << c.what;
  }
}

// Another program (an editor, another copy) sets a slot while the window is open: the next change
// shows it first and acts on the row the player chose, and the save keeps it.
TEST_F(MainWindow, SlotSetElsewhereWhileOpenSurvivesADelete) {
  ShowMainOn(UserCfg({{0, kWater}, {1, kNorse}}));
  WriteBytes(game_.UserCfg(), UserCfg({{0, kWater}, {1, kNorse}, {2, "Edited"}}));
  SendMessageA(MainList(), LB_SETCURSEL, 0, 0);
  Click(MainButton("Delete"));
  EXPECT_EQ(Rows(MainList()), RowsOf({{0, kNorse}, {1, "Edited"}}));
  EXPECT_EQ(ReadBytes(game_.UserCfg()), SavedUserCfg({{0, kNorse}, {1, "Edited"}}));
  EXPECT_TRUE(boxes.empty());
}

// A game under Program Files for a user without administrator rights: the picker lists the
// scenario folder with the player's own per-user copy of it, and the first save, refused in the
// game's folder, makes the per-user copy of user.cfg, which is said once.
TEST_F(MainWindow, GameUnderProgramFilesIsSavedInThePerUserCopySaidOnce) {
  ProtectedGameFolder protectedGame;
  Register(protectedGame.Path());
  ASSERT_TRUE(WriteBytesMakingFolders(protectedGame.Path() + "scenario\\Alpha.scn", ""));
  // Saved from the game's editor.
  ASSERT_TRUE(WriteBytesMakingFolders(protectedGame.CopyPath() + "scenario\\Mine.scn", ""));
  const std::string real = UserCfg({{0, kWater}});
  WriteBytes(protectedGame.UserCfg(), real);
  protectedGame.Refuse(true);
  ShowMain();
  EXPECT_TRUE(boxes.empty());

  std::vector<std::string> pickerRows;
  {
    PickerDriver driver(main_->Picker(), {[&](HWND picker) { pickerRows = Rows(FindList(picker)); },
                                          ChooseRow(3), Press("OK")});
    Click(MainButton("Add"));
  }
  EXPECT_EQ(pickerRows, (std::vector<std::string>{kWater, kNorse, "Alpha", "Mine"}));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].starts_with("Menus kept for this user\n")) << boxes[0];
  EXPECT_NE(boxes[0].find(protectedGame.CopyUserCfg() + "\r\n"), std::string::npos) << boxes[0];
  EXPECT_TRUE(boxes[0].ends_with("\r\n" + protectedGame.UserCfg())) << "names the game's own file";
  EXPECT_EQ(ReadBytes(protectedGame.CopyUserCfg()), SavedUserCfg({{0, kWater}, {1, "Mine"}}));
  EXPECT_EQ(ReadBytes(protectedGame.UserCfg()), real);

  PressWithPicker("Add", 2);
  EXPECT_EQ(boxes.size(), 1u) << "said once";
  EXPECT_EQ(ReadBytes(protectedGame.CopyUserCfg()),
            SavedUserCfg({{0, kWater}, {1, "Mine"}, {2, "Alpha"}}));
  EXPECT_EQ(ReadBytes(protectedGame.UserCfg()), real);
  CloseMain();
}

// The reason the window gave Windows for a log-off or shut-down to wait, "" for none: as Windows
// tells it, and as the window gave it (Wine keeps none, and has no ShutdownBlockReasonQuery).
std::string givenReason;
std::string ShutdownBlockReason(HWND window) {
  using Query = BOOL(WINAPI*)(HWND, LPWSTR, DWORD*);
  const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "ShutdownBlockReasonQuery")));
  if (!query) return givenReason;
  wchar_t reason[512] = {};
  DWORD size = 512;
  const std::string told = query(window, reason, &size) ? AnsiFromWide(reason).value_or("?") : "";
  EXPECT_EQ(told, givenReason) << "what Windows tells is what the window gave";
  return told;
}

// Logging off with a change that could not be saved: it is saved then; when it still cannot be,
// the window asks the session to wait and gives Windows the reason, and shows no box, since
// Windows waits for the answer. With nothing to save, the answer comes at once.
TEST_F(MainWindow, EndOfSessionSavesAPendingChangeOrWaitsWithItsReasonAndNoBox) {
  ShowMainOn(UserCfg({{0, kWater}, {1, kNorse}}));
  givenReason.clear();
  ShutdownReasonGuard observer([](const std::string& reason) { givenReason = reason; });
  const auto ask = [&] {
    return SendMessageA(main_->Hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  };
  EXPECT_EQ(ask(), TRUE);

  HANDLE held = HoldWithoutSharing(game_.UserCfg());
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  PressWithPicker("Add", 2);
  EXPECT_EQ(boxes.size(), 1u) << "the failed save said so";
  boxes.clear();
  EXPECT_EQ(ask(), FALSE);
  EXPECT_TRUE(boxes.empty());
  const std::string reason = ShutdownBlockReason(main_->Hwnd());
  EXPECT_EQ(reason, "The menus are not saved: The file is in use by another program.");
  SendMessageA(main_->Hwnd(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  EXPECT_EQ(ShutdownBlockReason(main_->Hwnd()), "") << "the session went on";

  EXPECT_EQ(ask(), FALSE) << "asked again while still in use";
  CloseHandle(held);
  EXPECT_EQ(ask(), TRUE);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(ShutdownBlockReason(main_->Hwnd()), "");
  EXPECT_EQ(ReadBytes(game_.UserCfg()), SavedUserCfg({{0, kWater}, {1, kNorse}, {2, "Alpha"}}));
  SendMessageA(main_->Hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  CloseMain();
}

// A change whose save failed, then another program's change to user.cfg: closing the window and
// logging off both give way to that program's lines; the log-off is not held and shows no box.
TEST_F(MainWindow, EndOfSessionGivesWayToAnotherProgramsLinesAsClosingDoes) {
  const std::string theirs = UserCfg({{0, kWater}, {4, "Theirs"}});
  for (const bool logOff : {false, true}) {
    SCOPED_TRACE(logOff ? "log-off" : "close");
    ShowMainOn(UserCfg({{0, kWater}, {1, kNorse}}));
    givenReason.clear();
    ShutdownReasonGuard observer([](const std::string& reason) { givenReason = reason; });
    HANDLE held = HoldWithoutSharing(game_.UserCfg());
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    PressWithPicker("Add", 2);
    CloseHandle(held);
    WriteBytes(game_.UserCfg(), theirs);
    boxes.clear();
    if (logOff) {
      EXPECT_EQ(SendMessageA(main_->Hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
      EXPECT_EQ(ShutdownBlockReason(main_->Hwnd()), "");
      EXPECT_TRUE(boxes.empty());
      EXPECT_EQ(Rows(MainList()), RowsOf({{0, kWater}, {4, "Theirs"}}));
      SendMessageA(main_->Hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    }
    SendMessageA(main_->Hwnd(), WM_CLOSE, 0, 0);
    CloseMain();
    ASSERT_EQ(boxes.size(), logOff ? 0u : 1u);
    if (!logOff) {
      EXPECT_TRUE(boxes[0].starts_with("Menus changed elsewhere\n")) << boxes[0];
    }
    EXPECT_EQ(ReadBytes(game_.UserCfg()), theirs);
  }
}

TEST_F(MainWindow, HasItsDesignGeometryAndCaption) {
  ShowMainOn(UserCfg({{0, kWater}}));
  EXPECT_EQ(ClientSize(main_->Hwnd()), (std::array<long, 2>{301, 225}));
  char caption[64] = {};
  GetWindowTextA(main_->Hwnd(), caption, sizeof caption);
  EXPECT_EQ(std::string(caption), kProgramCaption);
  EXPECT_EQ(PlaceOf(MainButton("Add")), (Place{16, 16, 65, 25}));
  EXPECT_EQ(PlaceOf(MainButton("Edit")), (Place{84, 16, 65, 25}));
  EXPECT_EQ(PlaceOf(MainButton("Delete")), (Place{220, 16, 65, 25}));
  EXPECT_EQ(PlaceOf(MainList()), (Place{16, 44, 269, 147}));
}

}  // namespace
