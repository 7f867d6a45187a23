#include "platform/window/Picture.h"

Picture::Picture(Form& form, TwipsPoint position, HBITMAP bitmap)
    : FormPart(form), m_position(position), m_bitmap(bitmap) {}

Picture::~Picture() {
  if (!m_form.IsLoaded() || !m_bitmap) return;
  const RECT area = m_form.PictureRect(m_position, m_bitmap);
  // The transparent labels above it draw it too.
  RedrawWindow(m_form.Hwnd(), &area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Picture::DrawBackground(HDC dc) const {
  DrawBitmap(dc, m_bitmap, m_form.PictureRect(m_position, m_bitmap));
}
