#include "platform/window/Form.h"

#include <algorithm>
#include <stdexcept>

#include "platform/window/Control.h"
#include "platform/window/DisplaySettings.h"
#include "platform/window/MessageLoop.h"
#include "platform/window/Picture.h"
#include "platform/window/Timer.h"

namespace {

const char kFormClassName[] = "TessivaneForm";

// Posted on activation, so that Form_Activate runs after the procedure that showed the form.
// In WM_APP's range: WM_USER's belongs to the dialog manager (DM_GETDEFID), whose IsDialogMessage
// our loops call.
constexpr UINT kActivateMessage = WM_APP + 1;
// Posted when the active form becomes active again after another program's window or a message box.
constexpr UINT kReactivateMessage = WM_APP + 2;

ATOM formClass = 0;
int loadedForms = 0;
// The program's active form: Form_Activate runs when another form becomes it, not when the
// program gets the activation back from another program or from a message box.
Form* activeForm = nullptr;

void StylesFor(const FormDesign& design, DWORD& style, DWORD& exStyle) {
  // The form paints everything under its controls itself.
  style = WS_CLIPCHILDREN;
  exStyle = 0;
  switch (design.border) {
    case FormBorder::FixedSingle:
      style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
      break;
    case FormBorder::FixedSingleNoCaption:
      style |= WS_POPUP | WS_BORDER;
      break;
    case FormBorder::FixedDialogNoCaption:
      style |= WS_POPUP | WS_DLGFRAME;
      break;
  }
  if (!design.showInTaskbar) exStyle |= WS_EX_TOOLWINDOW;
}

RECT WorkAreaNear(HWND hwnd) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  HMONITOR monitor = hwnd ? MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST)
                          : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (monitor && GetMonitorInfoA(monitor, &info)) return info.rcWork;
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return screen;
}

// The top-left corner of a window of this size at its start-up position.
POINT StartUpPlace(StartUpPosition position, HWND owner, int width, int height) {
  const RECT work = WorkAreaNear(owner);
  RECT around = work;
  if (position == StartUpPosition::CenterOwner && owner) GetWindowRect(owner, &around);
  POINT place{around.left + (around.right - around.left - width) / 2,
              around.top + (around.bottom - around.top - height) / 2};
  // Centred on an owner near a screen edge, the window still comes up whole on the screen.
  place.x = std::max(work.left, std::min(place.x, work.right - width));
  place.y = std::max(work.top, std::min(place.y, work.bottom - height));
  return place;
}

// The control to take the focus first: the first tab stop in tab order.
HWND FirstTabStop(HWND form) {
  HWND first = GetNextDlgTabItem(form, nullptr, FALSE);
  if (!first || !IsChild(form, first)) return nullptr;
  return (GetWindowLongPtrA(first, GWL_STYLE) & WS_TABSTOP) ? first : nullptr;
}

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

int Form::LoadedFormCount() { return loadedForms; }

bool Form::IsVisible() const { return m_hwnd && IsWindowVisible(m_hwnd); }

COLORREF Form::BackColor() const {
  return m_design.backColor && !HighContrastOn() ? *m_design.backColor : GetSysColor(COLOR_BTNFACE);
}

HBRUSH Form::BrushFor(COLORREF color) {
  for (const auto& [made, brush] : m_brushes) {
    if (made == color) return brush.Get();
  }
  UniqueBrush brush = CreateSolidBrushOwned(color);
  if (!brush) return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  return m_brushes.emplace_back(color, std::move(brush)).second.Get();
}

void Form::SetPicture(HBITMAP picture, PictureKind kind) {
  m_picture = picture;
  m_pictureKind = kind;
  if (m_hwnd) RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool Form::PictureShown() const {
  return m_picture && !(m_pictureKind == PictureKind::Decoration && HighContrastOn());
}

PixelRect Form::PictureRect(TwipsPoint at, HBITMAP bitmap) const {
  const SIZE size = BitmapSize(bitmap);
  return Pixels({at.x, at.y, size.cx * kTwipsPerPixel, size.cy * kTwipsPerPixel});
}

HBITMAP Form::ScaledBitmap(HBITMAP bitmap, int width, int height) {
  const SIZE size = BitmapSize(bitmap);
  if (!bitmap || (size.cx == width && size.cy == height)) return bitmap;
  for (const ScaledCopy& scaled : m_scaled) {
    if (scaled.source == bitmap && scaled.width == width && scaled.height == height) {
      return scaled.copy.Get();
    }
  }
  UniqueBitmap copy = ScaleBitmap(bitmap, width, height);
  // Out of memory for the copy: the picture unscaled is better than none.
  if (!copy) return bitmap;
  m_scaled.push_back({bitmap, width, height, std::move(copy)});
  return m_scaled.back().copy.Get();
}

void Form::SetIcon(HICON icon) {
  m_icon = icon;
  if (!m_hwnd) return;
  SendMessageA(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
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
  if (const int dpi = ScreenDpi(); dpi != m_dpi) {
    m_dpi = dpi;
    m_scaled.clear();
  }
  const RECT frame = WindowRectAt(m_dpi);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const POINT place = StartUpPlace(m_design.startUpPosition, owner, width, height);
  m_font = CreateFontFromDesign(m_design.font, m_dpi);

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
    if (m_icon) SetIcon(m_icon);
    CreateControls();
    for (Timer* timer : m_timers) timer->Start();
  } catch (...) {
    Unload();
    throw;
  }
  RunEventProcedure([this] { Form_Load(); });
}

void Form::CreateControls() {
  std::vector<Control*> order = m_controls;
  std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
    return a->TabIndex() < b->TabIndex();
  });
  // Ids start clear of IDOK and IDCANCEL, which the dialog manager sends from no control.
  // Tab moves along the order of the child windows, and a new child window goes below its
  // siblings: made in tab index order, the controls are in tab order, as a dialog's are.
  int id = 100;
  for (Control* control : order) control->Create(id++);
}

void Form::Show() {
  if (!m_hwnd) Load();
  if (!m_hwnd) return;  // Form_Load unloaded it
  ShowWindow(m_hwnd, SW_SHOW);
  if (GetActiveWindow() != m_hwnd && IsWindowEnabled(m_hwnd)) SetForegroundWindow(m_hwnd);
}

void Form::ShowModal(Form* owner) {
  HWND ownerWindow = owner && owner->IsLoaded() ? owner->Hwnd() : GetActiveWindow();
  if (!m_hwnd) Create(ownerWindow);
  if (!m_hwnd || m_modal) return;
  const HWND dialog = m_hwnd;

  m_disabledWindows = DisableOtherThreadWindows(dialog);
  m_modal = true;
  m_modalOwner = GetWindow(dialog, GW_OWNER);
  Show();

  const std::optional<int> quit = RunMessagesWhile(dialog);
  if (m_hwnd == dialog) Unload();
  if (quit) PostQuitMessage(*quit);
}

void Form::EndModal() {
  m_modal = false;
  // Enabled again before the dialog goes, so that Windows does not hand the activation to
  // another program's window.
  for (HWND hwnd : m_disabledWindows) {
    if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
  }
  m_disabledWindows.clear();
  if (m_modalOwner && IsWindow(m_modalOwner) && IsWindowVisible(m_modalOwner) &&
      GetActiveWindow() == m_hwnd) {
    SetActiveWindow(m_modalOwner);
  }
  m_modalOwner = nullptr;
}

void Form::Hide() {
  if (m_hwnd) ShowWindow(m_hwnd, SW_HIDE);
}

void Form::Unload() {
  if (!m_hwnd) return;
  RunEventProcedure([this] { Form_Unload(); });
  if (!m_hwnd) return;
  if (m_modal) EndModal();
  if (m_hwnd) DestroyWindow(m_hwnd);
}

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
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(m_hwnd, &paint);
      if (dc) Paint(dc);
      EndPaint(m_hwnd, &paint);
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
    target = FirstTabStop(m_hwnd);
  }
  SetFocus(target ? target : m_hwnd);
}

void Form::OnDestroyed() {
  for (Control* control : m_controls) control->Detached();
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
  if (!m_hwnd || dpi <= 0) return;
  const bool changed = dpi != m_dpi;
  m_dpi = dpi;
  if (changed) {
    // The controls let go of the old font before it is deleted, at the end of this block.
    UniqueFont oldFont = std::exchange(m_font, CreateFontFromDesign(m_design.font, dpi));
    m_scaled.clear();
    for (Control* control : m_controls) {
      if (control->IsLoaded()) control->ApplyDpi();
    }
  }
  // The title bar and borders as the window has them now, at the DPI it is drawn at.
  RECT window, client;
  GetWindowRect(m_hwnd, &window);
  GetClientRect(m_hwnd, &client);
  const int frameWidth = (window.right - window.left) - client.right;
  const int frameHeight = (window.bottom - window.top) - client.bottom;
  const POINT at =
      suggested ? POINT{suggested->left, suggested->top} : POINT{window.left, window.top};
  SetWindowPos(
      m_hwnd, nullptr, at.x, at.y, TwipsToPixels(m_design.clientSize.width, dpi) + frameWidth,
      TwipsToPixels(m_design.clientSize.height, dpi) + frameHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form::Paint(HDC dc) {
  RECT client;
  GetClientRect(m_hwnd, &client);
  PaintBackground(dc, client);
}

void Form::PaintBackground(HDC dc, const RECT& area) {
  const int saved = SaveDC(dc);
  OffsetWindowOrgEx(dc, area.left, area.top, nullptr);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  const HBITMAP shown = PictureShown() ? m_picture : nullptr;
  const PixelRect picture = PictureRect({0, 0}, shown);
  {
    // The back colour only where the picture does not cover, so nothing flickers.
    const int beforeFill = SaveDC(dc);
    ExcludeClipRect(dc, 0, 0, picture.width, picture.height);
    FillRect(dc, &area, BrushFor(BackColor()));
    RestoreDC(dc, beforeFill);
  }
  DrawBitmap(dc, ScaledBitmap(shown, picture.width, picture.height), 0, 0);
  for (const Picture* item : m_pictures) item->Draw(dc);
  RestoreDC(dc, saved);
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
