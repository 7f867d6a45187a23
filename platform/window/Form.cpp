#include "platform/window/Form.h"

#include <algorithm>
#include <stdexcept>

#include "platform/window/Control.h"
#include "platform/window/DisplaySettings.h"
#include "platform/window/MessageLoop.h"

#include "platform/window/Timer.h"

namespace {

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

}  // namespace

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

bool Form::IsVisible() const { return m_hwnd && IsWindowVisible(m_hwnd); }

void Form::SetIcon(int iconId) {
  m_iconId = iconId;
  if (m_hwnd) ApplyIcon();
}

void Form::ApplyIcon() {
  WindowIcons icons = LoadWindowIcons(m_iconId, m_dpi);
  SendMessageA(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.large.Get()));
  SendMessageA(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.small.Get()));
  // The window has let go of the icons it had: they go now.
  m_icons = std::move(icons);
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
    if (m_iconId) ApplyIcon();
    CreateControls();
    for (Timer* timer : m_timers) timer->Start();
    // A form whose load failed halfway is not fit to show: its caller hears of it.
    Form_Load();
  } catch (...) {
    Unload();
    throw;
  }
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
