#include "platform/window/PixelScaling.h"

#include <algorithm>
#include <cstddef>

namespace {

// What one new pixel takes from the old ones along one axis: old pixel `index` with `weight`.
// Old pixel i spans [i * newLength, (i + 1) * newLength) and new pixel j spans
// [j * oldLength, (j + 1) * oldLength), so the weights are whole numbers that add up to
// oldLength for every new pixel.
struct Share {
  int index;
  uint32_t weight;
};

std::vector<std::vector<Share>> SharesAlong(int oldLength, int newLength) {
  std::vector<std::vector<Share>> shares(static_cast<size_t>(newLength));
  for (int j = 0; j < newLength; ++j) {
    const long long begin = static_cast<long long>(j) * oldLength;
    const long long end = begin + oldLength;
    for (long long i = begin / newLength; i < oldLength && i * newLength < end; ++i) {
      const long long overlap = std::min(end, (i + 1) * newLength) - std::max(begin, i * newLength);
      if (overlap > 0) {
        shares[static_cast<size_t>(j)].push_back(
            {static_cast<int>(i), static_cast<uint32_t>(overlap)});
      }
    }
  }
  return shares;
}

uint32_t Channel(uint32_t pixel, int channel) { return (pixel >> (8 * channel)) & 0xFF; }

}  // namespace

PixelImage ScaleByArea(const PixelImage& source, int width, int height) {
  PixelImage scaled{std::max(width, 0), std::max(height, 0), {}};
  scaled.pixels.assign(static_cast<size_t>(scaled.width) * scaled.height, 0);
  if (source.width <= 0 || source.height <= 0 || scaled.pixels.empty()) return scaled;

  const auto across = SharesAlong(source.width, scaled.width);
  const auto down = SharesAlong(source.height, scaled.height);
  // First along the rows, keeping the weighted sums (each at most 255 * source.width), then down
  // the columns; one rounding at the end, so a whole factor copies the values exactly.
  constexpr int kChannels = 4;
  std::vector<uint32_t> rows(static_cast<size_t>(scaled.width) * source.height * kChannels, 0);
  for (int y = 0; y < source.height; ++y) {
    const uint32_t* line = &source.pixels[static_cast<size_t>(y) * source.width];
    for (int x = 0; x < scaled.width; ++x) {
      uint32_t* sums = &rows[(static_cast<size_t>(y) * scaled.width + x) * kChannels];
      for (const Share& share : across[static_cast<size_t>(x)]) {
        for (int c = 0; c < kChannels; ++c) sums[c] += Channel(line[share.index], c) * share.weight;
      }
    }
  }
  const unsigned long long total = static_cast<unsigned long long>(source.width) *
                                   static_cast<unsigned long long>(source.height);
  for (int y = 0; y < scaled.height; ++y) {
    for (int x = 0; x < scaled.width; ++x) {
      uint32_t pixel = 0;
      for (int c = 0; c < kChannels; ++c) {
        unsigned long long sum = 0;
        for (const Share& share : down[static_cast<size_t>(y)]) {
          sum += static_cast<unsigned long long>(
                     rows[(static_cast<size_t>(share.index) * scaled.width + x) * kChannels + c]) *
                 share.weight;
        }
        pixel |= static_cast<uint32_t>((sum + total / 2) / total) << (8 * c);
      }
      scaled.pixels[static_cast<size_t>(y) * scaled.width + x] = pixel;
    }
  }
  return scaled;
}
