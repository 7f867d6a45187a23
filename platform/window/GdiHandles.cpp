#include "platform/window/GdiHandles.h"

#include <algorithm>
#include <cstdint>

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

namespace {

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

PixelImage ReadPixels(HBITMAP bitmap) {
  const SIZE size = BitmapSize(bitmap);
  PixelImage image{size.cx, size.cy, {}};
  if (size.cx <= 0 || size.cy <= 0) return {};
  image.pixels.resize(static_cast<size_t>(size.cx) * size.cy);
  BITMAPINFO info = TopDown32(size.cx, size.cy);
  MemoryDC dc;
  if (!dc.Get() || GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(size.cy), image.pixels.data(),
                             &info, DIB_RGB_COLORS) != size.cy) {
    return {};
  }
  return image;
}

UniqueBitmap BitmapFromPixels(const PixelImage& image) {
  BITMAPINFO info = TopDown32(image.width, image.height);
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return {};
  std::copy(image.pixels.begin(), image.pixels.end(), static_cast<uint32_t*>(bits));
  GdiFlush();
  return bitmap;
}

UniqueBitmap ScaleBitmap(HBITMAP bitmap, int width, int height) {
  const PixelImage pixels = ReadPixels(bitmap);
  if (pixels.pixels.empty()) return {};
  return BitmapFromPixels(ScaleByArea(pixels, width, height));
}
