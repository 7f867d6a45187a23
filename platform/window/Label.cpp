#include "platform/window/Label.h"

#include <utility>

#include "platform/window/DisplaySettings.h"
#include "platform/window/Form.h"
#include "platform/window/MessageLoop.h"
#include "platform/window/Resources.h"

Label::Label(Form& form, TwipsRect place, std::string caption, int tabIndex)
    : Control(form, place, tabIndex), m_caption(std::move(caption)) {}

void Label::Create(int id) {
  // Owner-drawn, so that the form paints what lies under it; SS_NOTIFY so that it takes clicks
  // and the mouse at all (a plain static lets them through to the form).
  CreateChild("STATIC", m_caption, SS_OWNERDRAW | SS_NOTIFY, 0, id);
  if (m_madeForDpi != m_form.Dpi()) MakeFontAndCursor();
}

void Label::ApplyDpi() {
  Control::ApplyDpi();
  MakeFontAndCursor();
}

void Label::MakeFontAndCursor() {
  m_madeForDpi = m_form.Dpi();
  if (m_fontDesign) m_font = CreateFontFromDesign(*m_fontDesign, m_madeForDpi);
  if (m_cursorResource) {
    m_ownCursor = LoadCursorResource(m_cursorResource, m_madeForDpi);
    m_cursor = m_ownCursor.Get();
  }
}

void Label::SetFont(const FontDesign& font) {
  m_fontDesign = font;
  m_font = CreateFontFromDesign(font, m_madeForDpi);
  Redraw();
}

void Label::SetForeColor(COLORREF color) {
  m_foreColor = color;
  Redraw();
}

void Label::SetMouseCursor(HCURSOR cursor) {
  m_cursorResource = 0;
  m_ownCursor = {};
  m_cursor = cursor;
}

void Label::SetMouseCursorResource(int id) {
  m_cursorResource = id;
  m_ownCursor = LoadCursorResource(id, m_madeForDpi);
  m_cursor = m_ownCursor.Get();
}

void Label::Redraw() {
  // The whole label, background included: the old text must not show through.
  if (m_hwnd) InvalidateRect(m_hwnd, nullptr, FALSE);
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
  DrawTextA(dc, m_caption.c_str(), -1, &text, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
}
