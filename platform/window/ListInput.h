#pragma once
// The mouse and the keyboard on a list box's rows, beyond what the list box does itself: where
// its shortcut menu goes, and dragging a row to another place.
//
// Dragging a row of a list box to another place with the mouse. While the row is dragged, a mark
// between two rows shows where it would land (drawn as part of the list's own painting, so that
// it leaves nothing behind); Esc, a drop outside the list or the mouse taken away by another
// window cancels. A press and release that moves less than the system's drag distance stays a
// click, which the list handles as it always does.
#include <windows.h>

class RowDrag {
 public:
  // A row is held or dragged: the list wants every key (Esc) for itself meanwhile.
  bool Active() const { return m_state != State::Idle; }

  // Called before the list handles a message: true when the drag took it and the list must not
  // see it (mouse moves while a row is held, Esc while dragging).
  bool Before(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
  // Called after the list handled it. True for a drop that moves a row: the row dropped and the
  // row it lands on, counted from 0 as the list shows them now.
  bool After(HWND list, UINT message, LPARAM lParam, int& fromRow, int& toRow);

 private:
  enum class State { Idle, Pressed, Dragging, Cancelled };

  // The gap before row `gap` (the row count: after the last) that the point is nearest, when a
  // drop there would move the row; -1 outside the list or where the row would stay.
  int GapAt(HWND list, POINT point) const;
  // The band of the list's client area where the mark of a gap is drawn.
  RECT MarkBand(HWND list, int gap) const;
  void ShowMark(HWND list, int gap);
  void End(HWND list);

  State m_state = State::Idle;
  int m_fromRow = -1;
  POINT m_pressedAt{};
  int m_gap = -1;
  int m_dropTo = -1;  // the row of a drop that the list's own handling of the release precedes
};

// A right-click selects the row under the mouse (WM_RBUTTONDOWN's point), as a left-click would.
void SelectRowAt(HWND list, LPARAM clientPoint);

// Where the list's shortcut menu goes, on the screen: at the mouse for a right-click, and for
// Shift+F10 or the menu key (WM_CONTEXTMENU's -1, -1) just below the selected row, kept within
// the list (its top-left corner without a selection).
POINT ContextMenuPoint(HWND list, LPARAM screenPoint);
