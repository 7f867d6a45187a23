// The window's size at a DPI, and its layout again when it moves to a screen of another DPI.
#include "platform/window/Control.h"
#include "platform/window/DisplaySettings.h"
#include "platform/window/Form.h"

void Form::StylesFor(const FormDesign& design, DWORD& style, DWORD& exStyle) {
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
