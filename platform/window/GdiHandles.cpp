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

UniqueBitmap ScaleBitmap(HBITMAP bitmap, int width, int height) {
  const SIZE size = BitmapSize(bitmap);
  if (size.cx == 0 || size.cy == 0 || width <= 0 || height <= 0) return {};
  HDC screen = GetDC(nullptr);
  UniqueBitmap scaled(CreateCompatibleBitmap(screen, width, height));
  ReleaseDC(nullptr, screen);
  MemoryDC source, target;
  if (!scaled || !source.Get() || !target.Get()) return {};
  SelectedObject from(source.Get(), bitmap);
  SelectedObject to(target.Get(), scaled.Get());
  // A whole factor copies pixels into blocks: HALFTONE would blend them there too (Wine's does).
  const bool wholeFactor = width % size.cx == 0 && height % size.cy == 0;
  SetStretchBltMode(target.Get(), wholeFactor ? COLORONCOLOR : HALFTONE);
  // After choosing HALFTONE the brush origin must be set, or brushes are misaligned.
  SetBrushOrgEx(target.Get(), 0, 0, nullptr);
  if (!StretchBlt(target.Get(), 0, 0, width, height, source.Get(), 0, 0, size.cx, size.cy,
                  SRCCOPY)) {
    return {};
  }
  return scaled;
}
