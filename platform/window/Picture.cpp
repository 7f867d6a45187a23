#include "platform/window/Picture.h"

Picture::Picture(Form& form, TwipsPoint position, HBITMAP bitmap)
    : FormPart(form), m_position(position), m_bitmap(bitmap) {}

Picture::~Picture() {
  if (!m_form.IsLoaded() || !m_bitmap) return;
  const PixelRect r = m_form.PictureRect(m_position, m_bitmap);
  const RECT area{r.left, r.top, r.left + r.width, r.top + r.height};
  // The transparent labels above it draw it too.
  RedrawWindow(m_form.Hwnd(), &area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Picture::DrawBackground(HDC dc) const {
  const PixelRect r = m_form.PictureRect(m_position, m_bitmap);
  DrawBitmap(dc, m_form.ScaledBitmap(m_bitmap, r.width, r.height), r.left, r.top);
}
