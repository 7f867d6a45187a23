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
