#include "platform/window/ListInput.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

int RowHeight(HWND list) {
  const LRESULT height = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
  return height == LB_ERR || height <= 0 ? 1 : static_cast<int>(height);
}

int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

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

}  // namespace

int RowDrag::GapAt(HWND list, POINT point) const {
  RECT client;
  GetClientRect(list, &client);
  if (!PtInRect(&client, point)) return -1;
  const int height = RowHeight(list);
  const int count = RowCount(list);
  // The boundary between rows nearest the point, within the rows there are.
  const int gap =
      std::clamp(TopRow(list) + static_cast<int>((point.y + height / 2) / height), 0, count);
  return gap == m_fromRow || gap == m_fromRow + 1 ? -1 : gap;
}

RECT RowDrag::MarkBand(HWND list, int gap) const {
  RECT client;
  GetClientRect(list, &client);
  const int height = RowHeight(list);
  const int thickness = std::max(2, height / 6);
  const int y = (gap - TopRow(list)) * height;
  return {client.left, y - thickness / 2, client.right, y - thickness / 2 + thickness};
}

void RowDrag::ShowMark(HWND list, int gap) {
  if (gap == m_gap) return;
  // The list paints the old band afresh, and the new one with the mark (After, WM_PAINT).
  if (m_gap >= 0) {
    const RECT old = MarkBand(list, m_gap);
    InvalidateRect(list, &old, TRUE);
  }
  m_gap = gap;
  if (m_gap >= 0) {
    const RECT band = MarkBand(list, m_gap);
    InvalidateRect(list, &band, TRUE);
  }
  UpdateWindow(list);
}

void RowDrag::End(HWND list) {
  ShowMark(list, -1);
  m_state = State::Idle;
}

bool RowDrag::Before(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_state == State::Idle) return false;
  switch (message) {
    case WM_MOUSEMOVE: {
      const POINT point = PointOf(lParam);
      if (m_state == State::Pressed &&
          (std::abs(point.x - m_pressedAt.x) > GetSystemMetrics(SM_CXDRAG) ||
           std::abs(point.y - m_pressedAt.y) > GetSystemMetrics(SM_CYDRAG))) {
        m_state = State::Dragging;
      }
      if (m_state == State::Dragging) ShowMark(list, GapAt(list, point));
      return true;  // the held row stays selected
    }
    case WM_LBUTTONUP:
      // The list's own handling of the release ends its capture; the drop follows it (After).
      if (m_state == State::Dragging && m_gap >= 0)
        m_dropTo = m_gap > m_fromRow ? m_gap - 1 : m_gap;
      End(list);
      return false;
    case WM_KEYDOWN:
      if (wParam != VK_ESCAPE) return false;
      ShowMark(list, -1);
      m_state = State::Cancelled;
      return true;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != list) End(list);
      return false;
    default:
      return false;
  }
}

bool RowDrag::After(HWND list, UINT message, LPARAM lParam, int& fromRow, int& toRow) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      // Only a press on a row, which the list has just selected and holds the mouse for.
      const int row = RowAt(list, lParam);
      if (row < 0) return false;
      if (GetCapture() != list) SetCapture(list);
      m_state = State::Pressed;
      m_fromRow = row;
      m_pressedAt = PointOf(lParam);
      return false;
    }
    case WM_LBUTTONUP:
      fromRow = m_fromRow;
      toRow = std::exchange(m_dropTo, -1);
      return toRow >= 0;
    case WM_PAINT:
      if (m_state == State::Dragging && m_gap >= 0) {
        const RECT band = MarkBand(list, m_gap);
        HDC dc = GetDC(list);
        FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
        ReleaseDC(list, dc);
      }
      return false;
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
      // The rows moved under the mark: paint the list afresh, with the mark where it now is.
      if (m_state == State::Dragging) {
        m_gap = -1;
        InvalidateRect(list, nullptr, TRUE);
      }
      return false;
    default:
      return false;
  }
}

void SelectRowAt(HWND list, LPARAM clientPoint) {
  const int row = RowAt(list, clientPoint);
  if (row >= 0) SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  SetFocus(list);
}

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
