// Arranging the show in the main window with the real keyboard and mouse, as Windows delivers
// them (SendInput): Alt+Up and Alt+Down, dragging a row, the shortcut menu on the rows, and undo
// and redo, with user.cfg's bytes after each change.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/AnsiText.h"
#include "tests/support/WindowTestSupport.h"

using namespace test_support;

namespace {

const std::string kOtherLines = "+noIntroCinematics\r\n";
std::string UserCfg(const Slots& enabled) { return kOtherLines + AttractLines(enabled); }

std::vector<std::string> RowsOf(const Slots& enabled) {
  std::vector<std::string> rows;
  for (const auto& [slot, name] : enabled)
    rows.push_back("Menu " + std::to_string(slot) + " : " + name);
  return rows;
}

// Keys as the keyboard sends them: each pressed in order, then released in reverse order.
void SendKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs(keys.size() * 2, INPUT{INPUT_KEYBOARD, {}});
  for (size_t n = 0; n < keys.size(); ++n) {
    inputs[n].ki.wVk = keys[n];
    inputs[inputs.size() - 1 - n].ki = {keys[n], 0, KEYEVENTF_KEYUP, 0, 0};
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The mouse moved to a point of the screen, then these buttons pressed or released there.
void Mouse(POINT at, std::vector<DWORD> buttons = {}) {
  buttons.insert(buttons.begin(), 0);
  for (DWORD button : buttons) {
    INPUT input{INPUT_MOUSE, {}};
    input.mi = {MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1),
                MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1),
                0,
                MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | button,
                0,
                0};
    SendInput(1, &input, sizeof(INPUT));
  }
}

// Handles what arrives for a while: the input sent is then handled.
void Settle() {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 150) {
    if (!HandleOneMessage()) Sleep(5);
  }
}
void Type(const std::vector<WORD>& keys) {
  SendKeys(keys);
  Settle();
}
void RightClick(POINT at) {
  Mouse(at, {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
  Settle();
}

// The shortcut menu's items by place: the moves, a separator, Edit and Delete, another, Undo and
// Redo.
enum Item { kUp, kDown, kEdit = 3, kDelete, kUndo = 6, kRedo, kNone = -1 };

// Acts on the shortcut menu from inside its own loop, once it is open: reads its items ("-" a
// separator, a greyed item in brackets) and its place, then clicks one item (kNone: closes it
// with Esc). Arm it before the input that opens the menu.
class MenuDriver {
 public:
  explicit MenuDriver(Item choose) : m_choose(choose), m_timer(25, [this] { return Tick(); }) {}
  std::vector<std::string> items;
  RECT place{};

 private:
  bool Tick() {
    HWND window = FindWindowA("#32768", nullptr);
    if (!window || !IsWindowVisible(window)) return true;
    GetWindowRect(window, &place);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    for (UINT n = 0, count = static_cast<UINT>(GetMenuItemCount(menu)); n < count; ++n) {
      char text[64] = {};
      GetMenuStringA(menu, n, text, sizeof text, MF_BYPOSITION);
      const UINT state = GetMenuState(menu, n, MF_BYPOSITION);
      items.push_back((state & MF_SEPARATOR) ? "-"
                      : (state & MF_GRAYED)  ? "(" + std::string(text) + ")"
                                             : text);
    }
    RECT item{};
    if (m_choose == kNone || !GetMenuItemRect(nullptr, menu, m_choose, &item)) {
      SendKeys({VK_ESCAPE});
    } else {
      Mouse({(item.left + item.right) / 2, (item.top + item.bottom) / 2},
            {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    }
    return false;
  }
  Item m_choose;
  ThreadTimer m_timer;
};

class Arrange : public WindowTest {
 protected:
  void ShowOn(const Slots& enabled) {
    CloseMain();
    ResetGlobals();
    WriteBytes(game_.UserCfg(), UserCfg(enabled));
    Backdate(game_.UserCfg());
    ShowMain();
    SetForegroundWindow(main_->Hwnd());
    SetFocus(MainList());
    Settle();
  }
  // The middle of a row, on the screen; a fraction of a row further down with `down`.
  POINT RowPoint(int row, double down = 0.5) const {
    RECT r{};
    SendMessageA(MainList(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, r.top + static_cast<LONG>((r.bottom - r.top) * down)};
    ClientToScreen(MainList(), &p);
    return p;
  }
  // Presses on a row, moves through these points and releases at the last (unless `release`
  // is false).
  void Drag(int row, const std::vector<POINT>& through, bool release = true) {
    Mouse(RowPoint(row), {MOUSEEVENTF_LEFTDOWN});
    Settle();
    for (const POINT& point : through) {
      Mouse(point);
      Settle();
    }
    if (release) Mouse(through.back(), {MOUSEEVENTF_LEFTUP});
    Settle();
  }
  // Opens the shortcut menu on a row and chooses an item; returns the items it showed.
  std::vector<std::string> ChooseFromMenu(int row, Item choose) {
    MenuDriver menu(choose);
    RightClick(RowPoint(row));
    return menu.items;
  }
  // The colour of the list's pixel at this point of the screen.
  COLORREF PixelAt(POINT at) const {
    ScreenToClient(MainList(), &at);
    HDC dc = GetDC(MainList());
    const COLORREF color = GetPixel(dc, at.x, at.y);
    ReleaseDC(MainList(), dc);
    return color;
  }
  // Presses the button and, in the picker it opens, chooses the row and presses OK.
  void PressWithPicker(const char* button, int row) {
    PickerDriver driver(main_->Picker(), {ChooseRow(row), Press("OK")});
    Click(MainButton(button));
    EXPECT_TRUE(driver.RanAllSteps() && !driver.LeftOpen()) << button;
  }
  void Select(int row) { SendMessageA(MainList(), LB_SETCURSEL, row, 0); }
};

// The keys and mouse that move menus, each case on a fresh window: the file after it, and no
// save at all where nothing could move.
TEST_F(Arrange, AltArrowsAndDragsMoveMenusAcrossGapsAndStopAtTheEdges) {
  const Slots gapped = {{0, "A"}, {2, "B"}, {3, "C"}, {7, "D"}};
  enum How { AltUp, AltDown, Dragged };
  struct Case {
    Slots before;
    int row;
    How how;
    int onto;  // for a drag: the row it is dropped on (its upper or lower half by direction)
    Slots after;
    int selection;
  };
  const Case cases[] = {
      {gapped, 1, AltUp, 0, {{0, "B"}, {2, "A"}, {3, "C"}, {7, "D"}}, 0},
      {gapped, 2, AltDown, 0, {{0, "A"}, {2, "B"}, {3, "D"}, {7, "C"}}, 3},
      {gapped, 0, AltUp, 0, gapped, 0},
      {gapped, 3, AltDown, 0, gapped, 3},
      {gapped, 0, Dragged, 3, {{0, "B"}, {2, "C"}, {3, "D"}, {7, "A"}}, 3},
      {gapped, 3, Dragged, 0, {{0, "D"}, {2, "A"}, {3, "B"}, {7, "C"}}, 0},
      {gapped, 1, Dragged, 2, {{0, "A"}, {2, "C"}, {3, "B"}, {7, "D"}}, 2},
      {gapped, 2, Dragged, 2, gapped, 2},
  };
  for (const Case& c : cases) {
    const std::string what = "row " + std::to_string(c.row) + " by " + std::to_string(c.how);
    ShowOn(c.before);
    const std::string before = StateOf(game_.UserCfg());
    Select(c.row);
    if (c.how == Dragged) {
      const bool down = c.onto > c.row;
      Drag(c.row, {RowPoint(c.row, down ? 0.9 : 0.1), RowPoint(c.onto, down ? 0.9 : 0.1)});
    } else {
      Type({VK_MENU, static_cast<WORD>(c.how == AltUp ? VK_UP : VK_DOWN)});
    }
    EXPECT_EQ(Rows(MainList()), RowsOf(c.after)) << what;
    EXPECT_EQ(Selection(MainList()), c.selection) << what;
    if (c.after == c.before) {
      EXPECT_EQ(StateOf(game_.UserCfg()), before) << what << ": nothing saved";
    } else {
      EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(c.after)) << what;
    }
    // Alt went back to the window as pressed with a key: no menu mode, the arrows move the
    // selection as before.
    Type({VK_UP});
    EXPECT_EQ(Selection(MainList()), std::max(c.selection - 1, 0)) << what;
  }
  EXPECT_TRUE(boxes.empty());
}

// While dragging, the mark stands between the rows where the row would land and goes with the
// mouse, leaving the list as it was; Esc, a drop outside the list or a click change nothing.
TEST_F(Arrange, DragShowsItsMarkAndEscOutsideOrAClickCancel) {
  const Slots enabled = {{0, "A"}, {1, "B"}, {2, "C"}, {3, "D"}};
  ShowOn(enabled);
  const std::string before = StateOf(game_.UserCfg());
  const COLORREF mark = GetSysColor(COLOR_HIGHLIGHT);
  const POINT gapBelowRow2 = RowPoint(2, 1.0);  // the boundary of rows 2 and 3
  const POINT gapBelowRow1 = RowPoint(1, 1.0);
  const COLORREF listBack = PixelAt(gapBelowRow2);
  ASSERT_NE(listBack, mark);

  Select(0);
  Drag(0, {RowPoint(2, 0.8)}, false);
  EXPECT_EQ(PixelAt(gapBelowRow2), mark);
  EXPECT_EQ(Selection(MainList()), 0) << "the held row stays selected";
  Mouse(RowPoint(1, 0.8));
  Settle();
  EXPECT_EQ(PixelAt(gapBelowRow1), mark);
  EXPECT_EQ(PixelAt(gapBelowRow2), listBack) << "the old mark is gone";
  Type({VK_ESCAPE});
  EXPECT_EQ(PixelAt(gapBelowRow1), listBack);
  Mouse(RowPoint(2, 0.8));
  Settle();
  Mouse(RowPoint(2, 0.8), {MOUSEEVENTF_LEFTUP});
  Settle();
  EXPECT_EQ(Rows(MainList()), RowsOf(enabled)) << "Esc";
  EXPECT_EQ(PixelAt(gapBelowRow2), listBack);

  RECT list;
  GetWindowRect(MainList(), &list);
  Drag(0, {RowPoint(2), {list.right + 20, RowPoint(2).y}});
  EXPECT_EQ(Rows(MainList()), RowsOf(enabled)) << "dropped outside";

  // Less than the system's drag distance: a click, which selects the row pressed.
  POINT nudged = RowPoint(1);
  nudged.x += GetSystemMetrics(SM_CXDRAG) - 1;
  Drag(1, {nudged});
  EXPECT_EQ(Rows(MainList()), RowsOf(enabled)) << "a click";
  EXPECT_EQ(Selection(MainList()), 1);
  EXPECT_EQ(StateOf(game_.UserCfg()), before);
}

// The shortcut menu: its items with their keys, which are greyed, where it opens for each way
// of asking for it, and what each item does.
TEST_F(Arrange, ShortcutMenuOnTheRowsOpensWhereAskedAndDoesWhatItsItemsSay) {
  MakeScenarioFolder({"Alpha.scn"});  // picker row 2
  const Slots three = {{0, "A"}, {1, "B"}, {2, "C"}};
  enum Open { RightClickRow, ShiftF10, MenuKey };
  struct Case {
    Slots before;
    int row;  // selected first, or right-clicked
    Open open;
    Item choose;
    std::string greyed;  // the items greyed: u, d (the moves), e, x (Edit, Delete), z, y
    Slots after;
    int selection;
  };
  const Case cases[] = {
      {three, 1, RightClickRow, kUp, "zy", {{0, "B"}, {1, "A"}, {2, "C"}}, 0},
      {three, 0, ShiftF10, kDown, "uzy", {{0, "B"}, {1, "A"}, {2, "C"}}, 1},
      {three, 2, MenuKey, kDelete, "dzy", {{0, "A"}, {1, "B"}}, 1},
      {three, 2, RightClickRow, kEdit, "dzy", {{0, "A"}, {1, "B"}, {2, "Alpha"}}, 2},
      {three, 1, ShiftF10, kNone, "zy", three, 1},
      {{{0, "A"}}, 0, RightClickRow, kDelete, "udzy", {{0, "A"}}, 0},
  };
  const std::vector<std::string> items = {"Move up\tAlt+Up", "Move down\tAlt+Down", "-",
                                          "Edit...",         "Delete\tDel",         "-",
                                          "Undo\tCtrl+Z",    "Redo\tCtrl+Y"};
  for (const Case& c : cases) {
    const std::string what = "row " + std::to_string(c.row) + " item " + std::to_string(c.choose);
    ShowOn(c.before);
    boxes.clear();
    Select(c.open == RightClickRow ? 0 : c.row);
    MenuDriver menu(c.choose);
    PickerDriver picker(main_->Picker(), {ChooseRow(2), Press("OK")});
    RECT row{};
    SendMessageA(MainList(), LB_GETITEMRECT, c.row, reinterpret_cast<LPARAM>(&row));
    MapWindowPoints(MainList(), nullptr, reinterpret_cast<POINT*>(&row), 2);
    const POINT clicked = RowPoint(c.row);
    c.open == RightClickRow ? RightClick(clicked)
    : c.open == ShiftF10    ? Type({VK_SHIFT, VK_F10})
                            : Type({VK_APPS});

    std::vector<std::string> expected = items;
    for (size_t n = 0; n < items.size(); ++n) {
      if (c.greyed.find("ud-ex-zy"[n]) != std::string::npos) expected[n] = "(" + items[n] + ")";
    }
    EXPECT_EQ(menu.items, expected) << what;
    if (c.open == RightClickRow) {
      EXPECT_EQ(menu.place.left, clicked.x) << what;
      EXPECT_EQ(menu.place.top, clicked.y) << what;
    } else {
      EXPECT_TRUE(menu.place.left > row.left && menu.place.left < row.right) << what;
      EXPECT_EQ(menu.place.top, row.bottom) << what;
    }
    EXPECT_EQ(picker.Opened(), c.choose == kEdit) << what;
    EXPECT_EQ(Rows(MainList()), RowsOf(c.after)) << what;
    EXPECT_EQ(Selection(MainList()), c.selection) << what;
    EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(c.after)) << what;
    const bool refused = c.before.size() == 1 && c.choose == kDelete;
    ASSERT_EQ(boxes.size(), refused ? 1u : 0u) << what;
    if (refused) {
      EXPECT_TRUE(boxes[0].starts_with("Cannot remove\n")) << boxes[0];
    }
  }
}

// Undo and redo over a series of every kind of change, each step saved, by keys (wherever the
// focus is) and from the menu: back to the menus as loaded and no further, forward again, and a
// new change dropping what could be redone.
TEST_F(Arrange, UndoAndRedoWalkAMixedSeriesOfChangesSavingEachStep) {
  MakeScenarioFolder({"Alpha.scn", "Beta.scn"});  // picker rows 2 and 3
  const std::vector<Slots> tables = {
      {{0, "A"}, {1, "B"}},                   // loaded
      {{0, "A"}, {1, "B"}, {2, "Alpha"}},     // Add
      {{0, "Beta"}, {1, "B"}, {2, "Alpha"}},  // Edit of row 0
      {{0, "Beta"}, {1, "Alpha"}},            // Delete of row 1
      {{0, "Alpha"}, {1, "Beta"}},            // Alt+Down on row 0
      {{0, "Beta"}, {1, "Alpha"}},            // row 1 dragged onto row 0
  };
  ShowOn(tables[0]);
  PressWithPicker("Add", 2);
  Select(0);
  PressWithPicker("Edit", 3);
  Select(1);
  Click(MainButton("Delete"));
  Select(0);
  SetFocus(MainList());
  Type({VK_MENU, VK_DOWN});
  Drag(1, {RowPoint(1, 0.1), RowPoint(0, 0.1)});
  ASSERT_EQ(ReadBytes(game_.UserCfg()), UserCfg(tables[5]));

  const std::vector<WORD> undo = {VK_CONTROL, 'Z'}, redo = {VK_CONTROL, 'Y'};
  const struct {
    std::vector<WORD> keys;  // none: the menu's item
    Item item;
    int shown;
    bool saves = true;
    std::string undo = "", redo = "";  // the menu's items before the step, when it is used
  } steps[] = {
      {{}, kUndo, 4, true, "Undo\tCtrl+Z", "(Redo\tCtrl+Y)"},
      {undo, kNone, 3},
      {undo, kNone, 2},
      {undo, kNone, 1},
      {undo, kNone, 0},
      {undo, kNone, 0, false},  // nothing before the menus as loaded
      {{}, kRedo, 1, true, "(Undo\tCtrl+Z)", "Redo\tCtrl+Y"},
      {{VK_CONTROL, VK_SHIFT, 'Z'}, kNone, 2},
      {redo, kNone, 3},
  };
  for (const auto& step : steps) {
    if (step.shown == 1) SetFocus(MainButton("Add"));
    Backdate(game_.UserCfg());
    const std::string before = StateOf(game_.UserCfg());
    if (step.keys.empty()) {
      const std::vector<std::string> items = ChooseFromMenu(0, step.item);
      ASSERT_EQ(items.size(), 8u);
      EXPECT_EQ(items[kUndo], step.undo);
      EXPECT_EQ(items[kRedo], step.redo);
    } else {
      Type(step.keys);
    }
    EXPECT_EQ(Rows(MainList()), RowsOf(tables[step.shown])) << "to " << step.shown;
    EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(tables[step.shown])) << "to " << step.shown;
    EXPECT_EQ(StateOf(game_.UserCfg()) != before, step.saves) << "to " << step.shown;
  }
  EXPECT_EQ(Selection(MainList()), 1) << "the first row that the last step changed";

  // A new change: what was undone cannot be redone any more; undo goes back before it.
  SetFocus(MainList());
  Type({VK_MENU, VK_UP});
  const Slots moved = {{0, "Alpha"}, {1, "Beta"}};
  Type(redo);
  EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(moved)) << "nothing to redo";
  Type(undo);
  EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(tables[3]));
  EXPECT_TRUE(boxes.empty());
}

// What another copy of the tool saved is never undone: the table is read again, and the history
// before it is gone.
TEST_F(Arrange, AChangeSavedByAnotherCopyEmptiesTheHistory) {
  ShowOn({{0, "A"}, {1, "B"}});
  Select(0);
  Type({VK_MENU, VK_DOWN});
  ASSERT_EQ(ReadBytes(game_.UserCfg()), UserCfg({{0, "B"}, {1, "A"}}));
  // The other copy's save: the other lines, then its ten attract-mode lines.
  const Slots theirs = {{0, "B"}, {1, "A"}, {2, "Theirs"}};
  WriteBytes(game_.UserCfg(), UserCfg(theirs));
  Backdate(game_.UserCfg());  // a time other than that of the tool's own save
  const std::string written = StateOf(game_.UserCfg());

  for (const std::vector<WORD>& keys : {std::vector<WORD>{VK_CONTROL, 'Z'}, {VK_CONTROL, 'Y'}}) {
    Type(keys);
    EXPECT_EQ(Rows(MainList()), RowsOf(theirs));
    EXPECT_EQ(StateOf(game_.UserCfg()), written);
  }
  const std::vector<std::string> items = ChooseFromMenu(0, kNone);
  ASSERT_EQ(items.size(), 8u);
  EXPECT_EQ(items[kUndo], "(Undo\tCtrl+Z)");
  EXPECT_EQ(items[kRedo], "(Redo\tCtrl+Y)");
  EXPECT_TRUE(boxes.empty());
}

// A step whose save failed stays in the history like any change, and one still unsaved at close
// is saved then.
TEST_F(Arrange, AStepWhoseSaveFailedStaysAndIsSavedAtClose) {
  const Slots loaded = {{0, "A"}, {1, "B"}, {2, "C"}}, moved = {{0, "B"}, {1, "A"}, {2, "C"}};
  ShowOn(loaded);
  const auto readOnly = [&](bool on) {
    SetFileAttributesA(game_.UserCfg().c_str(),
                       on ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
  };
  readOnly(true);
  Select(0);
  Type({VK_MENU, VK_DOWN});
  EXPECT_EQ(boxes.size(), 1u);
  Type({VK_CONTROL, 'Z'});
  EXPECT_EQ(Rows(MainList()), RowsOf(loaded));
  readOnly(false);
  Type({VK_CONTROL, 'Y'});
  EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(moved));

  readOnly(true);
  Select(1);
  Type({VK_MENU, VK_DOWN});
  readOnly(false);
  const size_t said = boxes.size();
  PostMessageA(main_->Hwnd(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(main_->Hwnd()); }));
  EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg({{0, "B"}, {1, "C"}, {2, "A"}}));
  EXPECT_EQ(boxes.size(), said) << "saved at close without a word";
}

// The menus that one start with files added are one step: undone together, while the scenarios
// copied into the game's folder stay.
TEST_F(Arrange, TheMenusOfAStartWithFilesAreUndoneAndRedoneInOneStep) {
  MakeScenarioFolder({});
  TempFolder downloads;
  std::vector<std::wstring> files;
  for (const char* name : {"Oasis.scn", "Reef.scn"}) {
    WriteBytes(downloads.Path() + "\\" + name, "scenario");
    files.push_back(WideFromAnsi(downloads.Path() + "\\" + name));
  }
  const Slots loaded = {{0, "A"}}, added = {{0, "A"}, {1, "Oasis"}, {2, "Reef"}};
  WriteBytes(game_.UserCfg(), UserCfg(loaded));
  main_ = std::make_unique<frmMain>(nullptr, L"", files);
  main_->Show();
  ASSERT_TRUE(PumpUntil([&] { return Rows(MainList()).size() == 3; }));
  SetForegroundWindow(main_->Hwnd());
  SetFocus(MainList());
  Settle();
  EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(added));

  const struct {
    std::vector<WORD> keys;
    Slots shown;
  } steps[] = {
      {{VK_CONTROL, 'Z'}, loaded}, {{VK_CONTROL, 'Z'}, loaded}, {{VK_CONTROL, 'Y'}, added}};
  for (const auto& step : steps) {
    Type(step.keys);
    EXPECT_EQ(Rows(MainList()), RowsOf(step.shown));
    EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(step.shown));
    EXPECT_NE(GetFileAttributesA((ScenarioFolder() + "\\Reef.scn").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << "the copy stays";
  }
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
