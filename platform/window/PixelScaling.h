#pragma once
// Resizing the artwork for displays above 96 DPI, on plain pixel values (no Win32 here).
#include <cstdint>
#include <vector>

// An image as 32-bit pixels, row after row from the top; each byte of a pixel (blue, green, red,
// alpha, as a 32-bit DIB holds them) is a channel of its own. A picture with transparency has
// its colours premultiplied by its alpha, as for AlphaBlend and 32-bit cursors.
struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

// The image resized to width x height by area averaging: each new pixel is the average of the
// part of the old image that it covers, weighted by how much of each old pixel lies under it.
// Enlarged by a whole factor, every old pixel becomes a block of equal pixels, no smoothing, so
// pixel art stays crisp; at any other size the edges between old pixels blend over one new pixel,
// which keeps the drawing sharp without the uneven doubled rows of a nearest-pixel copy.
PixelImage ScaleByArea(const PixelImage& source, int width, int height);
