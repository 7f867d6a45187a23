// Activation: Form_Activate and Form_Reactivate, and the focus kept across them.
#include "platform/window/Form.h"

namespace {

// The control to take the focus first: the first tab stop in tab order.
HWND FirstTabStop(HWND form) {
  HWND first = GetNextDlgTabItem(form, nullptr, FALSE);
  if (!first || !IsChild(form, first)) return nullptr;
  return (GetWindowLongPtrA(first, GWL_STYLE) & WS_TABSTOP) ? first : nullptr;
}

}  // namespace

// The program's active form: Form_Activate runs when another form becomes it, not when the
// program gets the activation back from another program or from a message box.
Form* Form::s_activeForm = nullptr;

void Form::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(m_hwnd, focus)) m_focusChild = focus;
    return;
  }
  if (s_activeForm != this) {
    s_activeForm = this;
    PostMessageA(m_hwnd, kActivateMessage, 0, 0);
  } else {
    PostMessageA(m_hwnd, kReactivateMessage, 0, 0);
  }
  if (!HIWORD(wParam)) RestoreFocus();  // not while minimised
}

void Form::RestoreFocus() {
  HWND target = m_focusChild;
  if (!target || !IsWindow(target) || !IsChild(m_hwnd, target) || !IsWindowEnabled(target) ||
      !IsWindowVisible(target)) {
    target = FirstTabStop(m_hwnd);
  }
  SetFocus(target ? target : m_hwnd);
}
