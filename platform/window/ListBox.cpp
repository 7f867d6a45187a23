#include "platform/window/ListBox.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/window/DisplaySettings.h"
#include "platform/window/WindowError.h"

namespace {

POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

int RowHeight(HWND list) {
  return std::max(1, static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0)));
}

int TopRow(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)); }

// The row under a point of the list's client area; -1 where there is none (below the last).
int RowAt(HWND list, LPARAM clientPoint) {
  const LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, clientPoint);
  RECT row{};
  const POINT point = PointOf(clientPoint);
  if (HIWORD(hit) != 0 ||
      SendMessageA(list, LB_GETITEMRECT, LOWORD(hit), reinterpret_cast<LPARAM>(&row)) == LB_ERR ||
      !PtInRect(&row, point))
    return -1;
  return LOWORD(hit);
}

// Where the shortcut menu goes, on the screen: at the mouse for a right-click, and for Shift+F10
// or the menu key (WM_CONTEXTMENU's -1, -1) just below the selected row, kept within the list
// (its top-left corner without a selection).
POINT ContextMenuPoint(HWND list, LPARAM screenPoint) {
  POINT point = PointOf(screenPoint);
  if (point.x != -1 || point.y != -1) return point;
  RECT client;
  GetClientRect(list, &client);
  RECT row{};
  const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  point = {client.left, client.top};
  if (selected != LB_ERR && SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(selected),
                                         reinterpret_cast<LPARAM>(&row)) != LB_ERR) {
    point = {row.left + (row.bottom - row.top), row.bottom};
  }
  point.x = std::clamp(point.x, client.left, std::max(client.left, client.right - 1));
  point.y = std::clamp(point.y, client.top, std::max(client.top, client.bottom - 1));
  ClientToScreen(list, &point);
  return point;
}

}  // namespace

ListBox::ListBox(Form& form, TwipsRect place, int tabIndex) : Control(form, place, tabIndex) {}

void ListBox::Create(int id) {
  // No integral height: the list keeps the exact height of its design. The horizontal scroll bar
  // shows only while a row is wider than the list.
  CreateChild("LISTBOX", "", WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT,
              WS_EX_CLIENTEDGE, id);
  Subclass();
  m_widestRow = 0;
}

void ListBox::ApplyDpi() {
  Control::ApplyDpi();
  // The rows are as wide as the new font makes them.
  m_widestRow = 0;
  SendMessageA(m_hwnd, LB_SETHORIZONTALEXTENT, 0, 0);
  for (int i = 0, count = ListCount(); i < count; ++i) FitRow(List(i));
}

void ListBox::FitRow(const std::string& text) {
  SIZE size{};
  {
    SelectedObject font(m_measure.Get(), m_form.DefaultFont());
    GetTextExtentPoint32A(m_measure.Get(), text.data(), static_cast<int>(text.size()), &size);
  }
  // The list box draws a row's text a little way in from its left edge: room on both sides.
  const int width = size.cx + DesignPixelsAt(6, m_form.Dpi());
  if (width <= m_widestRow) return;
  m_widestRow = width;
  SendMessageA(m_hwnd, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
}

void ListBox::SetBackColor(COLORREF color) {
  m_backColor = color;
  if (m_hwnd) InvalidateRect(m_hwnd, nullptr, TRUE);
}

HBRUSH ListBox::OnCtlColor(HDC dc) {
  if (!m_backColor || HighContrastOn()) return nullptr;
  SetBkColor(dc, *m_backColor);
  SetTextColor(dc, ReadableTextColor(GetSysColor(COLOR_WINDOWTEXT), *m_backColor));
  return m_form.BrushFor(*m_backColor);
}

void ListBox::Clear() {
  if (!m_hwnd) return;
  SendMessageA(m_hwnd, LB_RESETCONTENT, 0, 0);
  m_widestRow = 0;
  SendMessageA(m_hwnd, LB_SETHORIZONTALEXTENT, 0, 0);
}

void ListBox::AddItem(const std::string& text) {
  if (!m_hwnd) return;
  const LRESULT result =
      SendMessageA(m_hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (result == LB_ERR || result == LB_ERRSPACE) {
    throw WindowError("The list has no room for another row.");
  }
  FitRow(text);
}

int ListBox::ListCount() const {
  return m_hwnd ? static_cast<int>(SendMessageA(m_hwnd, LB_GETCOUNT, 0, 0)) : 0;
}

std::string ListBox::List(int index) const {
  if (!m_hwnd) return {};
  const LRESULT length = SendMessageA(m_hwnd, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(
      SendMessageA(m_hwnd, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

int ListBox::ListIndex() const {
  // LB_ERR, -1, when no row is selected.
  return m_hwnd ? static_cast<int>(SendMessageA(m_hwnd, LB_GETCURSEL, 0, 0)) : -1;
}

void ListBox::SetListIndex(int index) {
  if (m_hwnd) SendMessageA(m_hwnd, LB_SETCURSEL, index, 0);
}

LRESULT ListBox::OnSubclassMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (DragBefore(message, wParam, lParam)) return 0;
  // Esc ends a drag, rather than going to the window as its cancel key.
  if (message == WM_GETDLGCODE && m_drag != Drag::None)
    return CallOriginal(message, wParam, lParam) | DLGC_WANTALLKEYS;
  if (message == WM_RBUTTONDOWN) {
    const int row = RowAt(m_hwnd, lParam);
    if (row >= 0) SetListIndex(row);
    SetFocus(m_hwnd);
  }
  if (message == WM_CONTEXTMENU && OnContextMenu) {
    const POINT at = ContextMenuPoint(m_hwnd, lParam);
    RunEventProcedure([&] { OnContextMenu(at); });
    return 0;
  }
  const LRESULT result = CallOriginal(message, wParam, lParam);
  if (DragAfter(message, lParam)) {
    const int toRow = std::exchange(m_dropTo, -1);
    if (OnDragRow) RunEventProcedure([&] { OnDragRow(m_fromRow, toRow); });
  }
  // With Alt held, keys arrive as WM_SYSKEYDOWN and WM_SYSKEYUP.
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  const auto& onKey = down ? OnKeyDown : OnKeyUp;
  if ((down || message == WM_KEYUP || message == WM_SYSKEYUP) && onKey) {
    const int keyCode = static_cast<int>(wParam);
    const int shift = CurrentShiftState();
    RunEventProcedure([&] { onKey(keyCode, shift); });
  }
  return result;
}

int ListBox::GapAt(POINT point) const {
  RECT client;
  GetClientRect(m_hwnd, &client);
  if (!PtInRect(&client, point)) return -1;
  const int height = RowHeight(m_hwnd);
  // The boundary between rows nearest the point, within the rows there are.
  const int gap = std::clamp(TopRow(m_hwnd) + static_cast<int>((point.y + height / 2) / height), 0,
                             ListCount());
  return gap == m_fromRow || gap == m_fromRow + 1 ? -1 : gap;
}

RECT ListBox::MarkBand(int gap) const {
  RECT client;
  GetClientRect(m_hwnd, &client);
  const int height = RowHeight(m_hwnd);
  const int thickness = std::max(2, height / 6);
  const int y = (gap - TopRow(m_hwnd)) * height;
  return {client.left, y - thickness / 2, client.right, y - thickness / 2 + thickness};
}

void ListBox::ShowMark(int gap) {
  if (gap == m_gap) return;
  // The list paints the old band afresh, and the new one with the mark (DragAfter, WM_PAINT).
  for (const int band : {m_gap, gap}) {
    const RECT area = MarkBand(band);
    if (band >= 0) InvalidateRect(m_hwnd, &area, TRUE);
  }
  m_gap = gap;
  UpdateWindow(m_hwnd);
}

bool ListBox::DragBefore(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_drag == Drag::None) return false;
  switch (message) {
    case WM_MOUSEMOVE: {
      const POINT point = PointOf(lParam);
      if (m_drag == Drag::Pressed &&
          (std::abs(point.x - m_pressedAt.x) > GetSystemMetrics(SM_CXDRAG) ||
           std::abs(point.y - m_pressedAt.y) > GetSystemMetrics(SM_CYDRAG))) {
        m_drag = Drag::Dragging;
      }
      if (m_drag == Drag::Dragging) ShowMark(GapAt(point));
      return true;  // the held row stays selected
    }
    case WM_LBUTTONUP:
      // The list's own handling of the release ends its capture; the drop follows it (DragAfter).
      if (m_drag == Drag::Dragging && m_gap >= 0) m_dropTo = m_gap > m_fromRow ? m_gap - 1 : m_gap;
      ShowMark(-1);
      m_drag = Drag::None;
      return false;
    case WM_KEYDOWN:
      if (wParam != VK_ESCAPE) return false;
      ShowMark(-1);
      m_drag = Drag::Cancelled;
      return true;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) == m_hwnd) return false;
      ShowMark(-1);
      m_drag = Drag::None;
      return false;
    default:
      return false;
  }
}

bool ListBox::DragAfter(UINT message, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      // Only a press on a row, which the list has just selected and holds the mouse for.
      const int row = RowAt(m_hwnd, lParam);
      if (row < 0) return false;
      if (GetCapture() != m_hwnd) SetCapture(m_hwnd);
      m_drag = Drag::Pressed;
      m_fromRow = row;
      m_pressedAt = PointOf(lParam);
      return false;
    }
    case WM_LBUTTONUP:
      return m_dropTo >= 0;
    case WM_PAINT:
      if (m_drag == Drag::Dragging && m_gap >= 0) {
        const RECT band = MarkBand(m_gap);
        HDC dc = GetDC(m_hwnd);
        FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
        ReleaseDC(m_hwnd, dc);
      }
      return false;
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
      // The rows moved under the mark: paint the list afresh, with the mark where it now is.
      if (m_drag == Drag::Dragging) {
        m_gap = -1;
        InvalidateRect(m_hwnd, nullptr, TRUE);
      }
      return false;
    default:
      return false;
  }
}
