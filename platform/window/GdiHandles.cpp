#include "platform/window/GdiHandles.h"

UniqueBrush CreateSolidBrushOwned(COLORREF color) { return UniqueBrush(CreateSolidBrush(color)); }

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
  SIZE size = BitmapSize(bitmap);
  if (size.cx == 0 || size.cy == 0) return;
  MemoryDC source;
  if (!source.Get()) return;
  SelectedObject selected(source.Get(), bitmap);
  BitBlt(dc, x, y, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
}
