#include "platform/window/ListBox.h"

#include "platform/window/DisplaySettings.h"
#include "platform/window/WindowError.h"

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
  if (!m_measure.Get()) return;
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
  if (!m_hwnd) return 0;
  const LRESULT count = SendMessageA(m_hwnd, LB_GETCOUNT, 0, 0);
  return count == LB_ERR ? 0 : static_cast<int>(count);
}

std::string ListBox::List(int index) const {
  if (!m_hwnd) return {};
  const LRESULT length = SendMessageA(m_hwnd, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied =
      SendMessageA(m_hwnd, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
  return text;
}

int ListBox::ListIndex() const {
  if (!m_hwnd) return -1;
  const LRESULT index = SendMessageA(m_hwnd, LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

void ListBox::SetListIndex(int index) {
  if (m_hwnd) SendMessageA(m_hwnd, LB_SETCURSEL, index, 0);
}

void ListBox::SetRedraw(bool redraw) {
  if (!m_hwnd) return;
  SendMessageA(m_hwnd, WM_SETREDRAW, redraw, 0);
  if (redraw) InvalidateRect(m_hwnd, nullptr, TRUE);
}

void ListBox::ReserveRows(int rows, std::size_t textBytes) {
  if (m_hwnd) SendMessageA(m_hwnd, LB_INITSTORAGE, rows, static_cast<LPARAM>(textBytes));
}

LRESULT ListBox::OnSubclassMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_drag.Before(m_hwnd, message, wParam, lParam)) return 0;
  // Esc ends a drag, rather than going to the window as its cancel key.
  if (message == WM_GETDLGCODE && m_drag.Active())
    return CallOriginal(message, wParam, lParam) | DLGC_WANTALLKEYS;
  if (message == WM_RBUTTONDOWN) SelectRowAt(m_hwnd, lParam);
  if (message == WM_CONTEXTMENU && OnContextMenu) {
    const POINT at = ContextMenuPoint(m_hwnd, lParam);
    RunEventProcedure([&] { OnContextMenu(at); });
    return 0;
  }
  const LRESULT result = CallOriginal(message, wParam, lParam);
  int fromRow = 0, toRow = 0;
  if (m_drag.After(m_hwnd, message, lParam, fromRow, toRow) && OnDragRow)
    RunEventProcedure([&] { OnDragRow(fromRow, toRow); });
  if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && OnKeyDown) {
    const int keyCode = static_cast<int>(wParam);
    const int shift = CurrentShiftState();
    RunEventProcedure([&] { OnKeyDown(keyCode, shift); });
  }
  // With Alt held, a released key arrives as WM_SYSKEYUP.
  if ((message == WM_KEYUP || message == WM_SYSKEYUP) && OnKeyUp) {
    const int keyCode = static_cast<int>(wParam);
    const int shift = CurrentShiftState();
    RunEventProcedure([&] { OnKeyUp(keyCode, shift); });
  }
  return result;
}
