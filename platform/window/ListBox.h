#pragma once
// A single-selection list box. Rows stay in the order they were added (never sorted) and live
// only in the window: a form that loads again starts with an empty list.
//
// Beyond what the list box does itself: a right-click selects the row under the mouse, as a
// left-click would; the shortcut menu goes at the mouse, or for Shift+F10 and the menu key just
// below the selected row; and a row can be dragged to another place. While it is dragged, a mark
// between two rows shows where it would land (drawn as part of the list's own painting, so that
// it leaves nothing behind); Esc, a drop outside the list or the mouse taken away by another
// window cancels. A press and release that moves less than the system's drag distance stays a
// click, which the list handles as it always does.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/window/Control.h"
#include "platform/window/GdiHandles.h"

class ListBox : public Control {
 public:
  ListBox(Form& form, TwipsRect place, int tabIndex);

  // The colour behind the rows; none: the system's window colour, as in high-contrast mode. The
  // rows' text on it is always dark enough to read; a selected row has the system's highlight.
  void SetBackColor(COLORREF color);

  // While the form is not loaded the list is empty: adding does nothing.
  void Clear();
  void AddItem(const std::string& text);
  int ListCount() const;
  std::string List(int index) const;  // "" outside 0 .. ListCount() - 1
  int ListIndex() const;              // -1 when no row is selected
  void SetListIndex(int index);       // -1 clears the selection

  // A key released while the list has the focus: key code and shift state (kShiftMask ...).
  std::function<void(int keyCode, int shift)> OnKeyUp;
  // A key pressed while the list has the focus (with Alt held too), after the list handled it.
  std::function<void(int keyCode, int shift)> OnKeyDown;
  // The list's shortcut menu is asked for: the point on the screen where it goes.
  std::function<void(POINT at)> OnContextMenu;
  // A row dragged with the mouse onto another row; rows counted from 0 as the list shows them.
  std::function<void(int fromRow, int toRow)> OnDragRow;

 private:
  enum class Drag { None, Pressed, Dragging, Cancelled };

  void Create(int id) override;
  HBRUSH OnCtlColor(HDC dc) override;
  void ApplyDpi() override;
  // Widens the horizontal scroll range to fit this row, when it is the widest so far.
  void FitRow(const std::string& text);
  LRESULT OnSubclassMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // A drag's share of a message before the list handles it: true when the list must not see it
  // (mouse moves while a row is held, Esc while dragging).
  bool DragBefore(UINT message, WPARAM wParam, LPARAM lParam);
  // After the list handled it: true for a drop that moves a row (m_fromRow to m_dropTo).
  bool DragAfter(UINT message, LPARAM lParam);
  // The gap before row `gap` (the row count: after the last) that the point is nearest, when a
  // drop there would move the row; -1 outside the list or where the row would stay.
  int GapAt(POINT point) const;
  // The band of the client area where the mark of a gap is drawn.
  RECT MarkBand(int gap) const;
  void ShowMark(int gap);

  std::optional<COLORREF> m_backColor;
  // Measures rows in the list's font.
  MemoryDC m_measure;
  int m_widestRow = 0;  // pixels, margins included: the horizontal scroll range
  Drag m_drag = Drag::None;
  int m_fromRow = -1;
  POINT m_pressedAt{};
  int m_gap = -1;
  int m_dropTo = -1;  // the row of a drop that the list's own handling of the release precedes
};
