#include "platform/window/Button.h"

#include <utility>

#include "platform/window/DisplaySettings.h"
#include "platform/window/GdiHandles.h"
#include "platform/window/WindowError.h"

Button::Button(Form& form, TwipsRect place, std::string caption, int tabIndex)
    : Control(form, place, tabIndex), m_caption(std::move(caption)) {}

void Button::Create(int id) {
  CreateChild("BUTTON", m_caption, WS_TABSTOP | BS_OWNERDRAW | (m_enabled ? 0 : WS_DISABLED), 0,
              id);
  Subclass();
}

void Button::SetEnabled(bool enabled) {
  m_enabled = enabled;
  if (!m_hwnd || (IsWindowEnabled(m_hwnd) != 0) == enabled) return;
  const bool hadFocus = GetFocus() == m_hwnd;
  EnableWindow(m_hwnd, enabled);
  // A disabled window loses the focus to nobody: hand it on as Tab would.
  if (!enabled && hadFocus) {
    HWND next = GetNextDlgTabItem(m_form.Hwnd(), m_hwnd, FALSE);
    SetFocus(next && next != m_hwnd ? next : m_form.Hwnd());
  }
}

void Button::SetBackColor(COLORREF color) {
  m_backColor = color;
  if (m_hwnd) InvalidateRect(m_hwnd, nullptr, FALSE);
}

void Button::OnCommand(WORD code) {
  if (code == BN_CLICKED) Press();
}

void Button::Press() {
  if (OnClick && m_hwnd && IsWindowEnabled(m_hwnd)) RunEventProcedure(OnClick);
}

LRESULT Button::OnSubclassMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button reports the second click of a double click as BN_DOUBLECLICKED
      // and does not press; here every click presses it.
      return CallOriginal(WM_LBUTTONDOWN, wParam, lParam);
    case WM_GETDLGCODE: {
      // Enter goes to the focused button itself instead of the dialog manager's IDOK.
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      const LRESULT code = CallOriginal(message, wParam, lParam);
      const bool enter = msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN;
      return enter ? code | DLGC_WANTMESSAGE : code;
    }
    case WM_KEYDOWN:
      if (wParam != VK_RETURN) break;
      // Bit 30: the key was down already, a repeat while it is held.
      if (!(lParam & (1 << 30))) Press();
      return 0;
  }
  return CallOriginal(message, wParam, lParam);
}

void Button::OnDrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  const bool pressed = item.itemState & ODS_SELECTED;
  const bool focused = item.itemState & ODS_FOCUS;
  const bool disabled = item.itemState & ODS_DISABLED;

  // The face colour of the design, unless the user asked for the system's high-contrast colours;
  // the caption on it is always dark enough to read, whatever the system's button text colour.
  const bool designFace = m_backColor && !HighContrastOn();
  const COLORREF face = designFace ? *m_backColor : GetSysColor(COLOR_BTNFACE);
  const COLORREF caption =
      designFace ? ReadableTextColor(GetSysColor(COLOR_BTNTEXT), face) : GetSysColor(COLOR_BTNTEXT);
  FillRect(dc, &rect, m_form.BrushFor(face));
  // The focused button has a black outline around its edge, as the system's buttons do.
  if (focused || pressed) {
    FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&rect, -1, -1);
  }
  if (pressed) {
    FrameRect(dc, &rect, GetSysColorBrush(COLOR_BTNSHADOW));
  } else {
    DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT);
  }

  RECT text = rect;
  if (pressed) OffsetRect(&text, 1, 1);
  SelectedObject font(dc, m_form.DefaultFont());
  SetBkMode(dc, TRANSPARENT);
  const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
  if (disabled) {
    // Engraved: a light copy one pixel down and right under the grey text.
    RECT light = text;
    OffsetRect(&light, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, m_caption.c_str(), -1, &light, format);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  } else {
    SetTextColor(dc, caption);
  }
  DrawTextA(dc, m_caption.c_str(), -1, &text, format);

  if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = rect;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}
