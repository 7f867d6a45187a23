#include "platform/window/Picture.h"

#include "platform/window/Form.h"

Picture::Picture(Form& form, TwipsPoint position, HBITMAP bitmap)
    : m_form(form), m_position(position), m_bitmap(bitmap) {
  m_form.Attach(this);
}

Picture::~Picture() {
  Invalidate();
  m_form.Detach(this);
}

void Picture::Draw(HDC dc) const {
  DrawBitmap(dc, m_bitmap, TwipsToPixels(m_position.x), TwipsToPixels(m_position.y));
}

void Picture::Invalidate() const {
  if (!m_form.IsLoaded() || !m_bitmap) return;
  const SIZE size = BitmapSize(m_bitmap);
  const int x = TwipsToPixels(m_position.x);
  const int y = TwipsToPixels(m_position.y);
  const RECT area{x, y, x + size.cx, y + size.cy};
  // The transparent labels above it draw it too.
  RedrawWindow(m_form.Hwnd(), &area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}
