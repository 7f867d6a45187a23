#include "core/LineScan.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Where, in 64 bytes, the CRs, the LFs and the two characters looked for stand, one bit a byte.
struct BlockBits {
  uint64_t cr = 0;
  uint64_t lf = 0;
  uint64_t wanted = 0;
};

BlockBits ScanBlock(const char* block, char first, char second) {
  BlockBits bits;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i firstBytes = _mm_set1_epi8(first);
  const __m128i secondBytes = _mm_set1_epi8(second);
  // Asked for well ahead, the bytes arrive from memory as fast as they are looked at; otherwise the
  // scan waits for each block in turn. A prefetch past the end of the bytes is harmless.
  _mm_prefetch(block + 2048, _MM_HINT_T0);
  // The four parts are written out, so that each shift is a constant.
  const auto scanPart = [&](int part) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * part));
    const auto mask = [part](__m128i equal) {
      return uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(equal))} << (16 * part);
    };
    bits.cr |= mask(_mm_cmpeq_epi8(bytes, cr));
    bits.lf |= mask(_mm_cmpeq_epi8(bytes, lf));
    bits.wanted |=
        mask(_mm_or_si128(_mm_cmpeq_epi8(bytes, firstBytes), _mm_cmpeq_epi8(bytes, secondBytes)));
  };
  scanPart(0);
  scanPart(1);
  scanPart(2);
  scanPart(3);
#else
  for (int i = 0; i < 64; ++i) {
    const uint64_t bit = uint64_t{1} << i;
    if (block[i] == '\r') bits.cr |= bit;
    if (block[i] == '\n') bits.lf |= bit;
    if (block[i] == first || block[i] == second) bits.wanted |= bit;
  }
#endif
  return bits;
}

}  // namespace

LineScan ScanLines(std::string_view bytes, char first, char second) {
  LineScan scan;
  uint64_t lone = 0;
  uint64_t endBefore = 1;  // a line ended just before the block: the file's start counts as one
  uint64_t crBefore = 0;   // the block before ended with a CR
  for (size_t block = 0; block < bytes.size(); block += 64) {
    const char* data = bytes.data() + block;
    char last[64];
    if (bytes.size() - block < 64) {
      // The last block, filled up with NUL bytes: none of the characters looked for.
      std::memset(last, 0, sizeof last);
      data = static_cast<const char*>(std::memcpy(last, data, bytes.size() - block));
    }
    const BlockBits bits = ScanBlock(data, first, second);
    const uint64_t ends = bits.cr | bits.lf;
    for (uint64_t starts = ((ends << 1) | endBefore) & bits.wanted; starts != 0;
         starts &= starts - 1) {
      scan.candidates.push_back(block + static_cast<size_t>(std::countr_zero(starts)));
    }
    lone |= bits.lf & ~((bits.cr << 1) | crBefore);            // an LF after no CR
    lone |= bits.cr & ~(bits.lf >> 1) & ~(uint64_t{1} << 63);  // a CR before no LF
    lone |= crBefore & ~bits.lf;  // the same across blocks (bit 0 only)
    endBefore = ends >> 63;
    crBefore = bits.cr >> 63;
  }
  scan.loneLineEnds = lone != 0 || crBefore != 0;  // a CR as the last byte is alone too
  return scan;
}
