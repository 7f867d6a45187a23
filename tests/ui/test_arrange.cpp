// Arranging the show in the main window with the real keyboard and mouse, as Windows delivers
// them (SendInput): Alt+Up and Alt+Down, dragging a row, the shortcut menu on the rows, and undo
// and redo, with user.cfg's bytes after each change.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

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
void PressKeys(std::vector<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The mouse moved to a point of the screen, with buttons pressed or released there (flags).
void Mouse(POINT at, DWORD buttons = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | buttons;
  SendInput(1, &input, sizeof(INPUT));
}

void RightClick(POINT at) {
  Mouse(at);
  Mouse(at, MOUSEEVENTF_RIGHTDOWN);
  Mouse(at, MOUSEEVENTF_RIGHTUP);
}

// The shortcut menu while it is open (class #32768), or nullptr.
HWND MenuWindow() {
  HWND menu = FindWindowA("#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// Acts on the shortcut menu from inside its own loop, once it is open: reads its items ("-" a
// separator, a greyed item in brackets) and its place, then clicks item `choose` with the mouse
// (-1: closes it with Esc). Arm it before the input that opens the menu.
class MenuDriver {
 public:
  explicit MenuDriver(int choose) : m_choose(choose), m_timer(25, [this] { return Tick(); }) {}
  std::vector<std::string> items;
  RECT place{};

 private:
  bool Tick() {
    HWND window = MenuWindow();
    if (!window) return true;
    GetWindowRect(window, &place);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    for (int n = 0, count = GetMenuItemCount(menu); n < count; ++n) {
      char text[64] = {};
      GetMenuStringA(menu, static_cast<UINT>(n), text, sizeof text, MF_BYPOSITION);
      const UINT state = GetMenuState(menu, static_cast<UINT>(n), MF_BYPOSITION);
      items.push_back((state & MF_SEPARATOR) ? "-"
                      : (state & MF_GRAYED)  ? "(" + std::string(text) + ")"
                                             : text);
    }
    RECT item{};
    if (m_choose < 0 || !GetMenuItemRect(nullptr, menu, static_cast<UINT>(m_choose), &item)) {
      PressKeys({VK_ESCAPE});
      return false;
    }
    const POINT middle{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    Mouse(middle);
    Mouse(middle, MOUSEEVENTF_LEFTDOWN);
    Mouse(middle, MOUSEEVENTF_LEFTUP);
    return false;
  }
  int m_choose;
  ThreadTimer m_timer;
};

// Handles what arrives for a while: the input sent is then handled.
void Settle() {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 150) {
    if (!HandleOneMessage()) Sleep(5);
  }
}

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
  // Presses on a row, moves through these points and releases there.
  void Drag(int row, const std::vector<POINT>& through) {
    Mouse(RowPoint(row));
    Mouse(RowPoint(row), MOUSEEVENTF_LEFTDOWN);
    Settle();
    for (const POINT& point : through) {
      Mouse(point);
      Settle();
    }
    Mouse(through.back(), MOUSEEVENTF_LEFTUP);
    Settle();
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
  void ExpectShown(const Slots& enabled, int selection, const std::string& what) {
    EXPECT_EQ(Rows(MainList()), RowsOf(enabled)) << what;
    EXPECT_EQ(Selection(MainList()), selection) << what;
    EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(enabled)) << what;
  }
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
      PressKeys({VK_MENU, static_cast<WORD>(c.how == AltUp ? VK_UP : VK_DOWN)});
      Settle();
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
    PressKeys({VK_UP});
    Settle();
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
  Mouse(RowPoint(0));
  Mouse(RowPoint(0), MOUSEEVENTF_LEFTDOWN);
  Settle();
  Mouse(RowPoint(2, 0.8));
  Settle();
  EXPECT_EQ(PixelAt(gapBelowRow2), mark);
  EXPECT_EQ(Selection(MainList()), 0) << "the held row stays selected";
  Mouse(RowPoint(1, 0.8));
  Settle();
  EXPECT_EQ(PixelAt(gapBelowRow1), mark);
  EXPECT_EQ(PixelAt(gapBelowRow2), listBack) << "the old mark is gone";
  PressKeys({VK_ESCAPE});
  Settle();
  EXPECT_EQ(PixelAt(gapBelowRow1), listBack);
  Mouse(RowPoint(2, 0.8));
  Settle();
  Mouse(RowPoint(2, 0.8), MOUSEEVENTF_LEFTUP);
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
  enum Item { Up, Down, Edit = 3, Delete, Undo = 6, Redo, None = -1 };
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
      {three, 1, RightClickRow, Up, "zy", {{0, "B"}, {1, "A"}, {2, "C"}}, 0},
      {three, 0, ShiftF10, Down, "uzy", {{0, "B"}, {1, "A"}, {2, "C"}}, 1},
      {three, 2, MenuKey, Delete, "dzy", {{0, "A"}, {1, "B"}}, 1},
      {three, 2, RightClickRow, Edit, "dzy", {{0, "A"}, {1, "B"}, {2, "Alpha"}}, 2},
      {three, 1, ShiftF10, None, "zy", three, 1},
      {{{0, "A"}}, 0, RightClickRow, Delete, "udzy", {{0, "A"}}, 0},
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
    : c.open == ShiftF10    ? PressKeys({VK_SHIFT, VK_F10})
                            : PressKeys({VK_APPS});
    Settle();

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
    EXPECT_EQ(picker.Opened(), c.choose == Edit) << what;
    EXPECT_EQ(Rows(MainList()), RowsOf(c.after)) << what;
    EXPECT_EQ(Selection(MainList()), c.selection) << what;
    EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(c.after)) << what;
    const bool refused = c.before.size() == 1 && c.choose == Delete;
    ASSERT_EQ(boxes.size(), refused ? 1u : 0u) << what;
    if (refused) {
      EXPECT_TRUE(boxes[0].starts_with("Cannot remove\n")) << boxes[0];
    }
  }

  // Undo and Redo, greyed when they cannot act.
  ShowOn(three);
  Select(0);
  PressKeys({VK_MENU, VK_DOWN});
  Settle();
  const Slots moved = {{0, "B"}, {1, "A"}, {2, "C"}};
  const struct {
    Item choose;
    std::string undo, redo;
    Slots after;
  } steps[] = {{Undo, "Undo\tCtrl+Z", "(Redo\tCtrl+Y)", three},
               {Redo, "(Undo\tCtrl+Z)", "Redo\tCtrl+Y", moved},
               {None, "Undo\tCtrl+Z", "(Redo\tCtrl+Y)", moved}};
  for (const auto& step : steps) {
    MenuDriver menu(step.choose);
    RightClick(RowPoint(1));
    Settle();
    ASSERT_EQ(menu.items.size(), items.size());
    EXPECT_EQ(menu.items[Undo], step.undo);
    EXPECT_EQ(menu.items[Redo], step.redo);
    EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(step.after)) << step.choose;
  }
}

// Undo and redo over a series of every kind of change, each step saved: back to the menus as
// loaded and no further, forward again, and a new change dropping what could be redone.
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
  PressKeys({VK_MENU, VK_DOWN});
  Settle();
  Drag(1, {RowPoint(1, 0.1), RowPoint(0, 0.1)});
  ASSERT_EQ(ReadBytes(game_.UserCfg()), UserCfg(tables[5]));

  // Undone wherever the focus is: the last ones with the focus on a button.
  for (int n = 4; n >= 0; --n) {
    if (n == 1) SetFocus(MainButton("Add"));
    PressKeys({VK_CONTROL, 'Z'});
    Settle();
    EXPECT_EQ(Rows(MainList()), RowsOf(tables[n])) << "undone to " << n;
    EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(tables[n])) << "undone to " << n;
  }
  Backdate(game_.UserCfg());
  const std::string loaded = StateOf(game_.UserCfg());
  PressKeys({VK_CONTROL, 'Z'});
  Settle();
  EXPECT_EQ(StateOf(game_.UserCfg()), loaded) << "nothing before the menus as loaded";

  const struct {
    std::vector<WORD> keys;
    int shown;
  } redos[] = {{{VK_CONTROL, 'Y'}, 1}, {{VK_CONTROL, VK_SHIFT, 'Z'}, 2}, {{VK_CONTROL, 'Y'}, 3}};
  for (const auto& redo : redos) {
    PressKeys(redo.keys);
    Settle();
    EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(tables[redo.shown]))
        << "redone to " << redo.shown;
  }
  EXPECT_EQ(Selection(MainList()), 1) << "the first row that the step changed";

  // A new change: what was undone cannot be redone any more; undo goes back before it.
  SetFocus(MainList());
  Select(1);
  PressKeys({VK_MENU, VK_UP});
  Settle();
  const Slots moved = {{0, "Alpha"}, {1, "Beta"}};
  EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(moved));
  PressKeys({VK_CONTROL, 'Y'});
  Settle();
  EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(moved)) << "nothing to redo";
  PressKeys({VK_CONTROL, 'Z'});
  Settle();
  EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg(tables[3]));
  EXPECT_TRUE(boxes.empty());
}

// What another copy of the tool saved is never undone: the table is read again, and the history
// before it is gone.
TEST_F(Arrange, AChangeSavedByAnotherCopyEmptiesTheHistory) {
  ShowOn({{0, "A"}, {1, "B"}});
  Select(0);
  PressKeys({VK_MENU, VK_DOWN});
  Settle();
  ASSERT_EQ(ReadBytes(game_.UserCfg()), UserCfg({{0, "B"}, {1, "A"}}));

  // The other copy's save: the other lines, then its ten attract-mode lines, a little later.
  const Slots theirs = {{0, "B"}, {1, "A"}, {2, "Theirs"}};
  WriteBytes(game_.UserCfg(), UserCfg(theirs));
  HANDLE file = CreateFileA(game_.UserCfg().c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME later;
  GetSystemTimeAsFileTime(&later);
  later.dwHighDateTime += 1;  // some seven minutes on
  SetFileTime(file, nullptr, nullptr, &later);
  CloseHandle(file);
  const std::string written = StateOf(game_.UserCfg());

  for (const std::vector<WORD>& keys :
       {std::vector<WORD>{VK_CONTROL, 'Z'}, {VK_CONTROL, 'Z'}, {VK_CONTROL, 'Y'}}) {
    PressKeys(keys);
    Settle();
    EXPECT_EQ(Rows(MainList()), RowsOf(theirs));
    EXPECT_EQ(StateOf(game_.UserCfg()), written);
  }
  MenuDriver menu(-1);
  RightClick(RowPoint(0));
  Settle();
  ASSERT_EQ(menu.items.size(), 8u);
  EXPECT_EQ(menu.items[6], "(Undo\tCtrl+Z)");
  EXPECT_EQ(menu.items[7], "(Redo\tCtrl+Y)");
  EXPECT_TRUE(boxes.empty());
}

// A step whose save failed stays in the history like any change, and a change still unsaved at
// close is saved then.
TEST_F(Arrange, AStepWhoseSaveFailedStaysAndIsSavedAtClose) {
  const Slots loaded = {{0, "A"}, {1, "B"}, {2, "C"}};
  ShowOn(loaded);
  const auto readOnly = [&](bool on) {
    SetFileAttributesA(game_.UserCfg().c_str(),
                       on ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
  };
  readOnly(true);
  Select(0);
  PressKeys({VK_MENU, VK_DOWN});
  Settle();
  EXPECT_EQ(Rows(MainList()), RowsOf({{0, "B"}, {1, "A"}, {2, "C"}}));
  EXPECT_EQ(boxes.size(), 1u);
  PressKeys({VK_CONTROL, 'Z'});
  Settle();
  EXPECT_EQ(Rows(MainList()), RowsOf(loaded));
  readOnly(false);
  PressKeys({VK_CONTROL, 'Y'});
  Settle();
  EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg({{0, "B"}, {1, "A"}, {2, "C"}}));

  readOnly(true);
  Select(1);
  PressKeys({VK_MENU, VK_DOWN});
  Settle();
  readOnly(false);
  const size_t saidBeforeClose = boxes.size();
  PostMessageA(main_->Hwnd(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(main_->Hwnd()); }));
  EXPECT_EQ(ReadBytes(game_.UserCfg()), UserCfg({{0, "B"}, {1, "C"}, {2, "A"}}));
  EXPECT_EQ(boxes.size(), saidBeforeClose) << "saved at close without a word";
}

}  // namespace
