#include "platform/window/GdiHandles.h"

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& to) {
  const SIZE size = BitmapSize(bitmap);
  const int width = to.right - to.left;
  const int height = to.bottom - to.top;
  MemoryDC source;
  if (size.cx == 0 || size.cy == 0 || !source.Get()) return;
  SelectedObject selected(source.Get(), bitmap);
  // A whole factor copies pixels into blocks: HALFTONE would blend them there too (Wine's does).
  const bool wholeFactor = width % size.cx == 0 && height % size.cy == 0;
  SetStretchBltMode(dc, wholeFactor ? COLORONCOLOR : HALFTONE);
  // After choosing HALFTONE the brush origin must be set, or brushes are misaligned.
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, to.left, to.top, width, height, source.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
}

UniqueBitmap ScaleBitmap(HBITMAP bitmap, int width, int height) {
  HDC screen = GetDC(nullptr);
  UniqueBitmap scaled(CreateCompatibleBitmap(screen, width, height));
  ReleaseDC(nullptr, screen);
  MemoryDC target;
  if (!scaled || !target.Get()) return {};
  SelectedObject selected(target.Get(), scaled.Get());
  DrawBitmap(target.Get(), bitmap, {0, 0, width, height});
  return scaled;
}
