#pragma once
// A single-selection list box. Rows stay in the order they were added (never sorted) and live
// only in the window: a form that loads again starts with an empty list.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "platform/window/Control.h"
#include "platform/window/GdiHandles.h"
#include "platform/window/ListInput.h"

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

  // For filling many rows at once: room for the rows reserved up front instead of growing row by
  // row. (No drawing meanwhile: a RedrawOff.)
  void ReserveRows(int rows, std::size_t textBytes);

  // A key released while the list has the focus: key code and shift state (kShiftMask ...).
  std::function<void(int keyCode, int shift)> OnKeyUp;
  // A key pressed while the list has the focus (with Alt held too), after the list handled it.
  std::function<void(int keyCode, int shift)> OnKeyDown;
  // The list's shortcut menu is asked for (ListInput.h): the point on the screen where it goes.
  std::function<void(POINT at)> OnContextMenu;
  // A row dragged with the mouse onto another row (ListInput.h); rows counted from 0.
  std::function<void(int fromRow, int toRow)> OnDragRow;

 private:
  void Create(int id) override;
  HBRUSH OnCtlColor(HDC dc) override;
  void ApplyDpi() override;
  // Widens the horizontal scroll range to fit this row, when it is the widest so far.
  void FitRow(const std::string& text);
  LRESULT OnSubclassMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  friend class RedrawOff;
  void SetRedraw(bool redraw);

  std::optional<COLORREF> m_backColor;
  // Measures rows in the list's font.
  MemoryDC m_measure;
  int m_widestRow = 0;  // pixels, margins included: the horizontal scroll range
  RowDrag m_drag;
};

// Switches a list's drawing off for the lifetime of this object, and on again (drawing it anew)
// however the scope is left: an exception while filling cannot leave the list frozen.
class RedrawOff {
 public:
  explicit RedrawOff(ListBox& list) : m_list(list) { m_list.SetRedraw(false); }
  RedrawOff(const RedrawOff&) = delete;
  RedrawOff& operator=(const RedrawOff&) = delete;
  ~RedrawOff() { m_list.SetRedraw(true); }

 private:
  ListBox& m_list;
};
