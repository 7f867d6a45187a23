#include "platform/window/Label.h"

#include <algorithm>
#include <utility>

#include "platform/window/DisplaySettings.h"
#include "platform/window/Resources.h"
#include "platform/window/WindowError.h"

Label::Label(Form& form, TwipsRect place, std::string caption, int tabIndex)
    : Control(form, place, tabIndex), m_caption(std::move(caption)) {}

void Label::Create(int id) {
  // Owner-drawn, so that the form paints what lies under it; SS_NOTIFY so that it takes clicks
  // and the mouse at all (a plain static lets them through to the form).
  CreateChild("STATIC", m_caption, SS_OWNERDRAW | SS_NOTIFY, 0, id);
  MakeFontAndCursor();
  FitCaption();
}

void Label::ApplyDpi() {
  Control::ApplyDpi();
  MakeFontAndCursor();
  FitCaption();
}

void Label::FitCaption() {
  if (!m_hwnd) return;
  const PixelRect place = m_form.Pixels(m_place);
  MemoryDC dc;
  SIZE extent{};
  for (double points = m_fontDesign ? m_fontDesign->points : 0;; points -= kPointsStep) {
    {
      SelectedObject font(dc.Get(), m_font ? m_font.Get() : m_form.DefaultFont());
      GetTextExtentPoint32A(dc.Get(), m_caption.c_str(), static_cast<int>(m_caption.size()),
                            &extent);
    }
    if (extent.cx <= place.width || !m_fontDesign || points - kPointsStep < kSmallestPoints) break;
    FontDesign smaller = *m_fontDesign;
    smaller.points = points - kPointsStep;
    m_font = CreateFontFromDesign(smaller, m_form.Dpi());
  }
  // The font that the text is drawn in, for whoever asks the window (WM_GETFONT).
  SendMessageA(m_hwnd, WM_SETFONT,
               reinterpret_cast<WPARAM>(m_font ? m_font.Get() : m_form.DefaultFont()), FALSE);
  SetWindowPos(m_hwnd, nullptr, 0, 0, std::min<int>(extent.cx, place.width),
               std::max<int>(extent.cy, place.height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The whole label, background included: the old text must not show through.
  InvalidateRect(m_hwnd, nullptr, FALSE);
}

void Label::MakeFontAndCursor() {
  if (m_fontDesign) m_font = CreateFontFromDesign(*m_fontDesign, m_form.Dpi());
  if (m_cursorResource) m_cursor = LoadCursorResource(m_cursorResource, m_form.Dpi());
}

void Label::SetFont(const FontDesign& font) {
  m_fontDesign = font;
  m_font = CreateFontFromDesign(font, m_form.Dpi());
  FitCaption();
}

void Label::SetForeColor(COLORREF color) {
  m_foreColor = color;
  if (m_hwnd) InvalidateRect(m_hwnd, nullptr, FALSE);
}

void Label::SetMouseCursorResource(int id) {
  m_cursorResource = id;
  m_cursor = LoadCursorResource(id, m_form.Dpi());
}

void Label::OnCommand(WORD code) {
  // The second click of a double click arrives as STN_DBLCLK: it is a click all the same.
  if ((code == STN_CLICKED || code == STN_DBLCLK) && OnClick) RunEventProcedure(OnClick);
}

void Label::OnDrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  MapWindowPoints(m_hwnd, m_form.Hwnd(), reinterpret_cast<POINT*>(&area), 2);
  m_form.PaintBackground(dc, area);

  SelectedObject font(dc, m_font ? m_font.Get() : m_form.DefaultFont());
  SetBkMode(dc, TRANSPARENT);
  // In high contrast, where the form's decoration gives way to the system's colour, so does the
  // colour of the text on it.
  const bool designColor = m_foreColor && (m_form.PictureShown() || !HighContrastOn());
  SetTextColor(dc, designColor ? *m_foreColor : GetSysColor(COLOR_BTNTEXT));
  RECT text = item.rcItem;
  DrawTextA(dc, m_caption.c_str(), -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}
