#include "platform/window/Control.h"

#include "platform/window/WindowError.h"

Control::Control(Form& form, TwipsRect place, int tabIndex)
    : FormPart(form, tabIndex), m_place(place) {}

Control::~Control() {
  // The window itself goes with the form's window; only the link to this object must end now.
  Unsubclass();
}

void Control::CreateChild(const char* className, const std::string& text, DWORD style,
                          DWORD exStyle, int id) {
  const PixelRect r = m_form.Pixels(m_place);
  m_hwnd = CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD | WS_VISIBLE, r.left,
                           r.top, r.width, r.height, m_form.Hwnd(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
  if (!m_hwnd) ThrowWindowsError("Creating a control");
  SendMessageA(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_form.DefaultFont()), FALSE);
}

void Control::ApplyDpi() {
  if (!m_hwnd) return;
  const PixelRect r = m_form.Pixels(m_place);
  SetWindowPos(m_hwnd, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_form.DefaultFont()), TRUE);
}

// The window procedure is replaced directly, with the object in GWLP_USERDATA (which the system's
// control classes leave to the program). comctl32's SetWindowSubclass, which finds its data in a
// window property, made every message about a hundred times slower under Wine, and filling a list
// sends one message per row.
void Control::Subclass() {
  SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  m_originalProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::SubclassProc)));
}

void Control::Unsubclass() {
  if (!m_hwnd || !m_originalProc) return;
  SetWindowLongPtrA(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_originalProc));
  SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
  m_originalProc = nullptr;
}

LRESULT Control::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(m_originalProc, m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* control = reinterpret_cast<Control*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!control || !control->m_originalProc) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    const WNDPROC original = control->m_originalProc;
    control->Unsubclass();
    return CallWindowProcA(original, hwnd, message, wParam, lParam);
  }
  try {
    return control->OnSubclassMessage(message, wParam, lParam);
  } catch (...) {
    ReportEventError(std::current_exception());
    return 0;
  }
}

bool Control::OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!m_hwnd) return false;
  switch (message) {
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) != m_hwnd) return false;
      OnCommand(HIWORD(wParam));
      return true;
    case WM_DRAWITEM:
      if (reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem != m_hwnd) return false;
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (reinterpret_cast<HWND>(lParam) != m_hwnd) return false;
      result = reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wParam)));
      return result != 0;
    case WM_SETCURSOR: {
      HCURSOR cursor = MouseCursor();
      if (reinterpret_cast<HWND>(wParam) != m_hwnd || LOWORD(lParam) != HTCLIENT || !cursor)
        return false;
      SetCursor(cursor);
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

void Control::Destroyed() {
  m_hwnd = nullptr;
  m_originalProc = nullptr;
}
