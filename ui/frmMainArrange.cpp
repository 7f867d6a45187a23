// The main window's arrangement of the show: moving a menu with Alt+Up and Alt+Down or by
// dragging its row, the shortcut menu on the rows, and undo and redo of the window's changes.
#include <vector>

#include "core/modMain.h"
#include "core/modMenus.h"
#include "platform/window/PopupMenu.h"
#include "ui/frmMain.h"

bool frmMain::Form_KeyDown(int keyCode, int shift) {
  const bool undo = keyCode == 'Z' && shift == kCtrlMask;
  const bool redo = (keyCode == 'Y' && shift == kCtrlMask) ||
                    (keyCode == 'Z' && shift == (kCtrlMask | kShiftMask));
  if (!undo && !redo) return false;
  StepHistory(undo);
  return true;
}

void frmMain::lstMenus_KeyDown(int keyCode, int shift) {
  if (shift != kAltMask || (keyCode != VK_UP && keyCode != VK_DOWN)) return;
  const int selected = lstMenus.ListIndex();
  if (selected >= 0) MoveRowMenu(selected, keyCode == VK_UP ? selected - 1 : selected + 1);
}

void frmMain::lstMenus_ContextMenu(POINT at) {
  CatchUpWithFile();  // what Undo and Redo can do depends on it
  const int selected = lstMenus.ListIndex();
  const int rows = static_cast<int>(m_rows.size());
  const bool onRow = selected >= 0 && selected < rows;
  enum Item { kMoveUp, kMoveDown, kEdit = 3, kDelete, kUndo = 6, kRedo };
  const std::vector<PopupMenuItem> items = {
      {"Move up", "Alt+Up", onRow && selected > 0},
      {"Move down", "Alt+Down", onRow && selected + 1 < rows},
      {},
      {"Edit...", "", onRow},
      {"Delete", "Del", onRow},
      {},
      {"Undo", "Ctrl+Z", m_history.CanUndo()},
      {"Redo", "Ctrl+Y", m_history.CanRedo()},
  };
  const int chosen = ShowPopupMenu(lstMenus.Hwnd(), at, items);
  if (chosen == kMoveUp || chosen == kMoveDown)
    return MoveRowMenu(selected, chosen == kMoveUp ? selected - 1 : selected + 1);
  if (chosen == kEdit) return cmdEdit_Click();
  if (chosen == kDelete) return cmdDelete_Click();
  if (chosen == kUndo || chosen == kRedo) StepHistory(chosen == kUndo);
}

void frmMain::MoveRowMenu(int fromRow, int toRow) {
  const int rows = static_cast<int>(m_rows.size());
  if (fromRow < 0 || fromRow >= rows || toRow < 0 || toRow >= rows || fromRow == toRow) return;
  const int fromSlot = m_rows[fromRow].nSlot;
  const int toSlot = m_rows[toRow].nSlot;
  // Menus that another program set meanwhile are shown first; the move is between the same two
  // places, when both are still in use.
  CatchUpWithFile();
  if (!MoveMenu(fromSlot, toSlot)) return;
  // A move keeps the rows' count and slots: the refresh keeps this selection.
  for (size_t row = 0; row < m_rows.size(); ++row) {
    if (m_rows[row].nSlot == toSlot) lstMenus.SetListIndex(static_cast<int>(row));
  }
  RefreshList();
}

void frmMain::StepHistory(bool back) {
  if (!m_menusLoaded) return;
  CatchUpWithFile();  // a change made elsewhere leaves nothing to take back
  if (back ? !m_history.CanUndo() : !m_history.CanRedo()) return;
  const MenuCollection before = colMenus;
  colMenus = m_history.Step(back);
  RefreshList();
  // The first row that the step changed is selected, where there is one.
  for (size_t row = 0; row < m_rows.size(); ++row) {
    const int slot = m_rows[row].nSlot;
    if (!(*colMenus.Slot(slot) == *before.Slot(slot)))
      return lstMenus.SetListIndex(static_cast<int>(row));
  }
}
