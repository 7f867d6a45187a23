// The form's window class and the dispatch of its messages.
#include <utility>

#include "platform/window/Control.h"
#include "platform/window/Form.h"
#include "platform/window/MessageLoop.h"
#include "platform/window/Timer.h"

namespace {

const char kFormClassName[] = "TessivaneForm";

ATOM formClass = 0;
int loadedForms = 0;

}  // namespace

ATOM Form::WindowClass() {
  if (formClass) return formClass;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  // No CS_DBLCLKS: two quick clicks on a form are two clicks.
  windowClass.lpfnWndProc = &Form::WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.lpszClassName = kFormClassName;
  formClass = RegisterClassExA(&windowClass);
  if (!formClass) ThrowWindowsError("Registering the window class");
  return formClass;
}

Form* Form::FromHwnd(HWND hwnd) {
  if (!hwnd || !formClass || GetClassLongPtrA(hwnd, GCW_ATOM) != formClass) return nullptr;
  return reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

int Form::LoadedFormCount() { return loadedForms; }

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Form* form = nullptr;
  if (message == WM_NCCREATE) {
    form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    form->m_hwnd = hwnd;
    ++loadedForms;
  } else {
    form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!form) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    form->OnDestroyed();
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  try {
    return form->HandleMessage(message, wParam, lParam);
  } catch (...) {
    ReportEventError(std::current_exception());
    return 0;
  }
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT draws everything
    case WM_PAINT: {
      const PaintScope paint(m_hwnd);
      if (paint.Get()) Paint(paint.Get());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_DPICHANGED:
      ApplyDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
      // High contrast switched on or off, or other colours: everything is drawn anew.
      RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      break;
    case WM_ACTIVATE:
      OnActivate(wParam);
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case kActivateMessage:
      RunEventProcedure([this] { Form_Activate(); });
      return 0;
    case kReactivateMessage:
      RunEventProcedure([this] { Form_Reactivate(); });
      return 0;
    case WM_LBUTTONDOWN:
      m_leftButtonDown = true;
      return 0;
    case WM_LBUTTONUP:
      if (std::exchange(m_leftButtonDown, false)) RunEventProcedure([this] { Form_Click(); });
      return 0;
    case WM_COMMAND:
      // Commands from no control (IDOK, IDCANCEL of the dialog manager) are ignored.
      if (Control* control = ControlFromHwnd(reinterpret_cast<HWND>(lParam))) {
        control->OnCommand(HIWORD(wParam));
      }
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      Control* control = ControlFromHwnd(item->hwndItem);
      if (!control) break;
      control->OnDrawItem(*item);
      return TRUE;
    }
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (Control* control = ControlFromHwnd(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = control->OnCtlColor(reinterpret_cast<HDC>(wParam))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        Control* control = ControlFromHwnd(reinterpret_cast<HWND>(wParam));
        if (HCURSOR cursor = control ? control->MouseCursor() : nullptr) {
          SetCursor(cursor);
          return TRUE;
        }
      }
      break;
    case WM_TIMER:
      if (Timer* timer = TimerFromId(wParam)) {
        timer->Tick();
        return 0;
      }
      break;
    case WM_CLOSE: {
      bool cancel = false;
      RunEventProcedure([&] { Form_QueryUnload(cancel); });
      if (!cancel) Unload();
      return 0;
    }
    case WM_QUERYENDSESSION: {
      bool cancel = false;
      RunEventProcedure([&] { Form_QueryEndSession(cancel); });
      return cancel ? FALSE : TRUE;
    }
    case WM_ENDSESSION:
      RunEventProcedure([&] { Form_EndSession(wParam != FALSE); });
      return 0;
  }
  return DefWindowProcA(m_hwnd, message, wParam, lParam);
}

void Form::OnDestroyed() {
  for (Control* control : m_controls) control->Detached();
  m_hwnd = nullptr;
  m_focusChild = nullptr;
  m_leftButtonDown = false;
  if (s_activeForm == this) s_activeForm = nullptr;
  if (--loadedForms == 0) PostQuitMessage(0);
}

Control* Form::ControlFromHwnd(HWND hwnd) const {
  if (!hwnd) return nullptr;
  for (Control* control : m_controls) {
    if (control->Hwnd() == hwnd) return control;
  }
  return nullptr;
}

Timer* Form::TimerFromId(UINT_PTR id) const {
  for (Timer* timer : m_timers) {
    if (timer->Id() == id) return timer;
  }
  return nullptr;
}
