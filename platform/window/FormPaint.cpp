// What the form shows: the button face, the picture and the pictures above it under the child
// windows, and its icon.
#include <algorithm>

#include "platform/window/DisplaySettings.h"
#include "platform/window/Form.h"

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

HBRUSH Form::BrushFor(COLORREF color) {
  for (const auto& [made, brush] : m_brushes) {
    if (made == color) return brush.Get();
  }
  UniqueBrush brush(CreateSolidBrush(color));
  if (!brush) return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  return m_brushes.emplace_back(color, std::move(brush)).second.Get();
}

void Form::SetPicture(HBITMAP picture, PictureKind kind) {
  m_picture = picture;
  m_pictureKind = kind;
  if (m_hwnd) RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Form::AddPicture(TwipsPoint at, HBITMAP bitmap) {
  m_pictures.emplace_back(at, bitmap);
  if (m_hwnd) RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool Form::PictureShown() const {
  return m_picture && !(m_pictureKind == PictureKind::Decoration && HighContrastOn());
}

RECT Form::PictureRect(TwipsPoint at, HBITMAP bitmap) const {
  const SIZE size = BitmapSize(bitmap);
  const PixelRect r = Pixels({at.x, at.y, size.cx * kTwipsPerPixel, size.cy * kTwipsPerPixel});
  return {r.left, r.top, r.left + r.width, r.top + r.height};
}

void Form::DrawPicture(HDC dc, TwipsPoint at, HBITMAP bitmap) {
  const RECT place = PictureRect(at, bitmap);
  const auto scaled = std::find_if(m_scaled.begin(), m_scaled.end(),
                                   [&](const auto& made) { return made.first == bitmap; });
  if (scaled != m_scaled.end()) return DrawBitmap(dc, scaled->second.Get(), place);
  UniqueBitmap copy = ScaleBitmap(bitmap, place.right - place.left, place.bottom - place.top);
  // Out of memory for the copy: the picture is drawn scaled all the same.
  if (!copy) return DrawBitmap(dc, bitmap, place);
  DrawBitmap(dc, copy.Get(), place);
  m_scaled.emplace_back(bitmap, std::move(copy));
}

void Form::Paint(HDC dc) {
  RECT client;
  GetClientRect(m_hwnd, &client);
  PaintBackground(dc, client);
}

void Form::PaintBackground(HDC dc, const RECT& area) {
  // Drawn off the screen first and copied in one step, so that nothing flickers; compatible with
  // the screen, so that the copy shows what drawing on the window would.
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  const UniqueBitmap buffer(CreateCompatibleBitmap(screen, width, height));
  ReleaseDC(nullptr, screen);
  MemoryDC memory;
  if (!buffer || !memory.Get()) return DrawBackdrop(dc, area);  // out of memory
  SelectedObject selected(memory.Get(), buffer.Get());
  DrawBackdrop(memory.Get(), area);
  BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}

void Form::DrawBackdrop(HDC dc, const RECT& area) {
  const int saved = SaveDC(dc);
  OffsetWindowOrgEx(dc, area.left, area.top, nullptr);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  const HBITMAP shown = PictureShown() ? m_picture : nullptr;
  const RECT picture = PictureRect({0, 0}, shown);
  {
    // The button face only where the picture does not cover.
    const int beforeFill = SaveDC(dc);
    ExcludeClipRect(dc, picture.left, picture.top, picture.right, picture.bottom);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    RestoreDC(dc, beforeFill);
  }
  if (shown) DrawPicture(dc, {0, 0}, shown);
  for (const auto& [at, bitmap] : m_pictures) DrawPicture(dc, at, bitmap);
  RestoreDC(dc, saved);
}

void KeepWindowsDrawn() {
  // A bounded number: a window that never validates its area would keep asking.
  MSG message;
  for (int n = 0; n < 64 && PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++n)
    DispatchMessageW(&message);
}
