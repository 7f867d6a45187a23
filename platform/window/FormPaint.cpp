// What the form shows: the back colour, the picture and the picture parts under the child
// windows, and its icon.
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

void Form::Paint(HDC dc) {
  RECT client;
  GetClientRect(m_hwnd, &client);
  PaintBackground(dc, client);
}

void Form::PaintBackground(HDC dc, const RECT& area) {
  RECT client{};
  GetClientRect(m_hwnd, &client);
  const HBITMAP shown = PictureShown() ? m_picture : nullptr;
  const COLORREF back = BackColor();
  Backdrop& drawn = m_backdrop;
  if (!drawn.bitmap || !EqualRect(&drawn.client, &client) || drawn.dpi != m_dpi ||
      drawn.picture != shown || drawn.back != back) {
    // Compatible with the screen, so that the copy shows what drawing on the window would.
    HDC screen = GetDC(nullptr);
    drawn = {client, m_dpi, shown, back,
             UniqueBitmap(CreateCompatibleBitmap(screen, client.right, client.bottom))};
    ReleaseDC(nullptr, screen);
    MemoryDC memory;
    if (drawn.bitmap && memory.Get()) {
      SelectedObject selected(memory.Get(), drawn.bitmap.Get());
      DrawBackdrop(memory.Get(), client);
    } else {
      drawn.bitmap = {};
    }
  }
  RECT inside;
  MemoryDC source;
  if (!drawn.bitmap || !source.Get() || !IntersectRect(&inside, &area, &client) ||
      !EqualRect(&inside, &area)) {
    DrawBackdrop(dc, area);  // out of memory, or beyond the client area
    return;
  }
  SelectedObject selected(source.Get(), drawn.bitmap.Get());
  BitBlt(dc, 0, 0, area.right - area.left, area.bottom - area.top, source.Get(), area.left,
         area.top, SRCCOPY);
}

void Form::DrawBackdrop(HDC dc, const RECT& area) {
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
  for (const FormPart* part : m_parts) part->DrawBackground(dc);
  RestoreDC(dc, saved);
}

void KeepWindowsDrawn() {
  // A bounded number: a window that never validates its area would keep asking.
  MSG message;
  for (int n = 0; n < 64 && PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++n)
    DispatchMessageW(&message);
}
