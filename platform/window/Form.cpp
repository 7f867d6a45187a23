// The form's window class and procedure, its layout at the display's DPI, its activation and its
// modal loop, and the program's message loop.
#include "platform/window/Form.h"

#include <algorithm>

#include "platform/SystemFunction.h"
#include "platform/window/DisplaySettings.h"
#include "platform/window/WindowError.h"

namespace {

ATOM formClass = 0;
int loadedForms = 0;
// The program's active form: Form_Activate runs when another form becomes it, not when the
// program gets the activation back from another program or from a message box.
Form* activeForm = nullptr;

// dwmapi.h's values for Windows 11's corners.
constexpr DWORD kDwmWindowCornerPreference = 33;  // DWMWA_WINDOW_CORNER_PREFERENCE
constexpr DWORD kDwmDoNotRound = 1;               // DWMWCP_DONOTROUND

// The DPI of the screen a window is on: the monitor's own under per-monitor awareness, else the
// system's. Older Windows without a per-window DPI give the system's.
int DpiOfWindow(HWND hwnd) {
  static const auto getDpiForWindow =
      SystemFunction<UINT(WINAPI*)(HWND)>("user32.dll", "GetDpiForWindow");
  const UINT dpi = getDpiForWindow && hwnd ? getDpiForWindow(hwnd) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

// The outer size of a window whose client area is `rect`, with the title bar and borders at `dpi`.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjust = SystemFunction<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(
      "user32.dll", "AdjustWindowRectExForDpi");
  if (!adjust || !adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
}

// Asks Windows 11 not to round the window's corners, which would cut into the frame's corner
// tiles. Where DWM cannot round corners (older Windows, Wine) nothing happens.
void KeepSquareCorners(HWND hwnd) {
  static const auto setAttribute =
      SystemFunction<HRESULT(WINAPI*)(HWND, DWORD, const void*, DWORD)>("dwmapi.dll",
                                                                        "DwmSetWindowAttribute");
  if (!setAttribute) return;
  const DWORD preference = kDwmDoNotRound;
  // Refused before Windows 11, which knows no such attribute: the corners are square there.
  setAttribute(hwnd, kDwmWindowCornerPreference, &preference, sizeof preference);
}

// The top-left corner of a window of this size at its start-up position: on the owner's screen,
// else on the primary one.
POINT StartUpPlace(StartUpPosition position, HWND owner, int width, int height) {
  MONITORINFO screen{};
  screen.cbSize = sizeof screen;
  GetMonitorInfoA(owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                        : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY),
                  &screen);
  const RECT work = screen.rcWork;
  RECT around = work;
  if (position == StartUpPosition::CenterOwner && owner) GetWindowRect(owner, &around);
  POINT place{around.left + (around.right - around.left - width) / 2,
              around.top + (around.bottom - around.top - height) / 2};
  // Centred on an owner near a screen edge, the window still comes up whole on the screen.
  place.x = std::max(work.left, std::min(place.x, work.right - width));
  place.y = std::max(work.top, std::min(place.y, work.bottom - height));
  return place;
}

void StylesFor(const FormDesign& design, DWORD& style, DWORD& exStyle) {
  // By FormBorder: a title bar without maximise, a 1-pixel line, a raised dialog frame.
  constexpr DWORD kBorders[] = {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                WS_POPUP | WS_BORDER, WS_POPUP | WS_DLGFRAME};
  // The form paints everything under its controls itself.
  style = WS_CLIPCHILDREN | kBorders[static_cast<int>(design.border)];
  exStyle = design.showInTaskbar ? 0 : WS_EX_TOOLWINDOW;
}

// Disables the thread's visible, enabled top-level windows other than the dialog; returns them,
// to be enabled again when it closes (and no others).
std::vector<HWND> DisableOtherThreadWindows(HWND dialog) {
  struct Disabling {
    HWND dialog;
    std::vector<HWND> disabled;
  } modal{dialog, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM param) {
        auto* state = reinterpret_cast<Disabling*>(param);
        if (hwnd != state->dialog && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
          EnableWindow(hwnd, FALSE);
          state->disabled.push_back(hwnd);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&modal));
  return modal.disabled;
}

// Runs messages until the window is gone (nullptr: until WM_QUIT). A WM_QUIT that arrives
// meanwhile ends the loop early: its exit code comes back, for the caller to post again once the
// window is closed, so that the loop outside ends too.
std::optional<int> RunMessagesWhile(HWND window) {
  while (!window || IsWindow(window)) {
    MSG msg;
    const BOOL result = GetMessageA(&msg, nullptr, 0, 0);
    if (result == 0) return static_cast<int>(msg.wParam);
    if (result == -1) break;
    DispatchFormMessage(msg);
  }
  return std::nullopt;
}

}  // namespace

FormPart::FormPart(Form& form, int tabIndex) : m_form(form), m_tabIndex(tabIndex) {
  m_form.m_parts.push_back(this);
}

FormPart::~FormPart() { std::erase(m_form.m_parts, this); }

void FormPart::RaiseDropFiles(const std::vector<DroppedFile>& files) {
  RunEventProcedure([&] { m_form.Form_DropFiles(files); });
}

Form::Form(FormDesign design) : m_design(std::move(design)) {}

Form::~Form() {
  if (!m_hwnd) return;
  // Only Form's part of this object is left: no message may reach it any more.
  HWND hwnd = m_hwnd;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  if (m_modal) EndModal();
  OnDestroyed();
  DestroyWindow(hwnd);
}

void Form::Load() {
  // A form centred on its owner is owned by the window that is active when it loads.
  Create(m_design.startUpPosition == StartUpPosition::CenterOwner ? GetActiveWindow() : nullptr);
}

void Form::Create(HWND owner) {
  if (m_hwnd) return;
  DWORD style = 0;
  DWORD exStyle = 0;
  StylesFor(m_design, style, exStyle);
  // Laid out at the system's DPI first; a window that comes up on a screen of another DPI is laid
  // out again for that screen below, before anything is shown.
  m_dpi = ScreenDpi();
  m_scaled.clear();
  const RECT frame = WindowRectAt(m_dpi);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const POINT place = StartUpPlace(m_design.startUpPosition, owner, width, height);
  // The controls' default font: the design's default face and size, in the system's script.
  m_font = CreateFontFromDesign({}, m_dpi);

  HWND hwnd =
      CreateWindowExA(exStyle, MAKEINTATOM(WindowClass()), m_design.caption.c_str(), style, place.x,
                      place.y, width, height, owner, nullptr, GetModuleHandleA(nullptr), this);
  if (!hwnd) ThrowWindowsError("Creating a window");
  KeepSquareCorners(hwnd);
  // The window counts as loaded from here on: a failure below unloads it again.
  try {
    if (const int dpi = DpiOfWindow(hwnd); dpi != m_dpi) {
      ApplyDpi(dpi, nullptr);
      RECT resized;
      GetWindowRect(hwnd, &resized);
      const POINT centred =
          StartUpPlace(m_design.startUpPosition, owner, resized.right - resized.left,
                       resized.bottom - resized.top);
      SetWindowPos(hwnd, nullptr, centred.x, centred.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // A new window has no icon of its own: telling it "none" would still cost Wine a round trip
    // to the X server.
    if (m_iconId) ApplyIcon();
    std::vector<FormPart*> order = m_parts;
    std::stable_sort(order.begin(), order.end(), [](const FormPart* a, const FormPart* b) {
      return a->m_tabIndex < b->m_tabIndex;
    });
    // Ids start clear of IDOK and IDCANCEL, which the dialog manager sends from no control.
    // Tab moves along the order of the child windows, and a new child window goes below its
    // siblings: made in tab index order, the controls are in tab order, as a dialog's are.
    int id = 100;
    for (FormPart* part : order) part->Create(id++);
    // A form whose load failed halfway is not fit to show: its caller hears of it.
    Form_Load();
  } catch (...) {
    Unload();
    throw;
  }
}

void Form::Show() {
  if (!m_hwnd) Load();
  if (!m_hwnd) return;  // Form_Load unloaded it
  ShowWindow(m_hwnd, SW_SHOW);
  if (GetActiveWindow() != m_hwnd && IsWindowEnabled(m_hwnd)) SetForegroundWindow(m_hwnd);
}

void Form::Unload() {
  if (!m_hwnd) return;
  RunEventProcedure([this] { Form_Unload(); });
  if (!m_hwnd) return;
  if (m_modal) EndModal();
  if (m_hwnd) DestroyWindow(m_hwnd);
}

ATOM Form::WindowClass() {
  if (formClass) return formClass;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  // No CS_DBLCLKS: two quick clicks on a form are two clicks.
  windowClass.lpfnWndProc = &Form::WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.lpszClassName = "TessivaneForm";
  formClass = RegisterClassExA(&windowClass);
  if (!formClass) ThrowWindowsError("Registering the window class");
  return formClass;
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
  // By index: a part's event may add a part to the form.
  for (size_t n = 0; n < m_parts.size(); ++n) {
    LRESULT result = 0;
    if (m_parts[n]->OnFormMessage(message, wParam, lParam, result)) return result;
  }
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
      return 0;  // from no part: IDOK and IDCANCEL of the dialog manager
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
  for (FormPart* part : m_parts) part->Destroyed();
  m_hwnd = nullptr;
  m_focusChild = nullptr;
  m_leftButtonDown = false;
  if (activeForm == this) activeForm = nullptr;
  if (--loadedForms == 0) PostQuitMessage(0);
}

RECT Form::WindowRectAt(int dpi) const {
  DWORD style = 0;
  DWORD exStyle = 0;
  StylesFor(m_design, style, exStyle);
  RECT frame{0, 0, TwipsToPixels(m_design.clientSize.width, dpi),
             TwipsToPixels(m_design.clientSize.height, dpi)};
  AdjustWindowRectForDpi(frame, style, exStyle, dpi);
  return frame;
}

void Form::ApplyDpi(int dpi, const RECT* suggested) {
  const bool changed = dpi != m_dpi;
  m_dpi = dpi;
  if (changed) {
    // The controls let go of the old font before it is deleted, at the end of this block.
    UniqueFont oldFont = std::exchange(m_font, CreateFontFromDesign({}, dpi));
    m_scaled.clear();
    for (FormPart* part : m_parts) part->ApplyDpi();
    if (m_iconId) ApplyIcon();
  }
  // Windows suggests the design size at the new DPI with the title bar and borders of that DPI
  // (the old frame would leave the client area short); without a suggestion the window keeps its
  // top-left corner.
  RECT place = WindowRectAt(dpi);
  if (suggested) {
    place = *suggested;
  } else {
    RECT window;
    GetWindowRect(m_hwnd, &window);
    OffsetRect(&place, window.left - place.left, window.top - place.top);
  }
  SetWindowPos(m_hwnd, nullptr, place.left, place.top, place.right - place.left,
               place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // Where the frame is not drawn at the window's DPI (Wine keeps the system's), the client area
  // would miss the design size: the frame the window has decides the outer size then.
  RECT client;
  GetClientRect(m_hwnd, &client);
  const int missingWidth = TwipsToPixels(m_design.clientSize.width, dpi) - client.right;
  const int missingHeight = TwipsToPixels(m_design.clientSize.height, dpi) - client.bottom;
  if (missingWidth || missingHeight) {
    SetWindowPos(m_hwnd, nullptr, 0, 0, place.right - place.left + missingWidth,
                 place.bottom - place.top + missingHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form::ShowModal(Form* owner) {
  HWND ownerWindow = owner && owner->IsLoaded() ? owner->Hwnd() : GetActiveWindow();
  if (!m_hwnd) Create(ownerWindow);
  if (!m_hwnd || m_modal) return;
  const HWND dialog = m_hwnd;

  m_disabledWindows = DisableOtherThreadWindows(dialog);
  m_modal = true;
  Show();

  const std::optional<int> quit = RunMessagesWhile(dialog);
  if (m_hwnd == dialog) Unload();
  // Destroyed with its owner, the dialog went without Unload: what it disabled is enabled here.
  if (m_modal) EndModal();
  if (quit) PostQuitMessage(*quit);
}

void Form::EndModal() {
  m_modal = false;
  // Enabled again before the dialog goes, so that Windows does not hand the activation to
  // another program's window.
  for (HWND hwnd : m_disabledWindows) EnableWindow(hwnd, TRUE);
  m_disabledWindows.clear();
  const HWND owner = m_hwnd ? GetWindow(m_hwnd, GW_OWNER) : nullptr;
  if (owner && IsWindowVisible(owner) && GetActiveWindow() == m_hwnd) SetActiveWindow(owner);
}

void Form::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(m_hwnd, focus)) m_focusChild = focus;
    return;
  }
  if (activeForm != this) {
    activeForm = this;
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
    // The first tab stop in tab order.
    target = GetNextDlgTabItem(m_hwnd, nullptr, FALSE);
    if (target && !(IsChild(m_hwnd, target) && (GetWindowLongPtrA(target, GWL_STYLE) & WS_TABSTOP)))
      target = nullptr;
  }
  SetFocus(target ? target : m_hwnd);
}

void DispatchFormMessage(MSG& msg) {
  // IsDialogMessage gives the forms dialog keyboard navigation. Enter and Escape make it send
  // IDOK and IDCANCEL from no control, which the forms ignore: there is no default button.
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  Form* form = root && formClass && GetClassLongPtrA(root, GCW_ATOM) == formClass
                   ? reinterpret_cast<Form*>(GetWindowLongPtrA(root, GWLP_USERDATA))
                   : nullptr;
  if (form && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)) {
    bool used = false;
    const int keyCode = static_cast<int>(msg.wParam);
    const int shift = CurrentShiftState();
    RunEventProcedure([&] { used = form->Form_KeyDown(keyCode, shift); });
    if (used) return;
  }
  if (form && IsDialogMessageA(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

int RunMessageLoop() {
  return Form::LoadedFormCount() == 0 ? 0 : RunMessagesWhile(nullptr).value_or(-1);
}
