#include "core/UserCfgFormat.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Character positions of the format, counted from 1 as in the game's own description of the lines.
constexpr size_t kEnabledDigitPos = 22;  // "attractMode-scenario-" then the digit
constexpr size_t kEnabledNamePos = 24;   // position 23 is the space, skipped unread
constexpr size_t kDisabledDigitPos = 23; // "-attractMode-scenario" then any character, then the digit

bool StartsWith(std::string_view line, std::string_view prefix) {
  return line.substr(0, prefix.size()) == prefix;
}

// The slot number of the digit at a 1-based position, or -1 when no digit stands there.
int SlotDigitAt(std::string_view line, size_t position) {
  if (line.size() < position) return -1;
  const char c = line[position - 1];
  return (c >= '0' && c <= '9') ? c - '0' : -1;
}

bool IsAttractModeLine(std::string_view line) {
  return StartsWith(line, kEnabledPrefix) || StartsWith(line, kDisabledPrefix);
}

// Where the line that starts at `from` ends: its CR or LF, or the end of the bytes.
size_t LineEnd(std::string_view bytes, size_t from) {
  while (from < bytes.size() && bytes[from] != '\r' && bytes[from] != '\n') ++from;
  return from;
}

// Calls visit(line) for every line in file order, without its terminator.
template <typename Visit>
void ForEachLine(std::string_view bytes, Visit&& visit) {
  for (size_t start = 0; start < bytes.size();) {
    const size_t end = LineEnd(bytes, start);
    visit(bytes.substr(start, end - start));
    const bool crLf = end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n';
    start = end < bytes.size() ? end + (crLf ? 2 : 1) : end;
  }
}

// A user.cfg can hold a million of the game's own lines, and it is read again at every save. Only
// the lines that begin with the first character of a prefix ('a' or '-') can be attract-mode lines,
// so one pass finds those without stopping at every line: it marks, 64 bytes at a time, where the
// CRs, LFs and those two characters stand.
struct BlockBits {
  uint64_t cr = 0;
  uint64_t lf = 0;
  uint64_t prefixStart = 0;
};

BlockBits ScanBlock(const char* block) {
  BlockBits bits;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i enabled = _mm_set1_epi8(kEnabledPrefix[0]);
  const __m128i disabled = _mm_set1_epi8(kDisabledPrefix[0]);
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
    bits.prefixStart |=
        mask(_mm_or_si128(_mm_cmpeq_epi8(bytes, enabled), _mm_cmpeq_epi8(bytes, disabled)));
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
    if (block[i] == kEnabledPrefix[0] || block[i] == kDisabledPrefix[0]) bits.prefixStart |= bit;
  }
#endif
  return bits;
}

struct FileScan {
  std::vector<size_t> candidates;  // where each line starts that begins with 'a' or '-'
  bool loneLineEnds = false;       // some line ends with a lone CR or LF rather than CR LF
};

FileScan ScanFile(std::string_view bytes) {
  FileScan scan;
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
    const BlockBits bits = ScanBlock(data);
    const uint64_t ends = bits.cr | bits.lf;
    for (uint64_t starts = ((ends << 1) | endBefore) & bits.prefixStart; starts != 0;
         starts &= starts - 1) {
      scan.candidates.push_back(block + static_cast<size_t>(std::countr_zero(starts)));
    }
    lone |= bits.lf & ~((bits.cr << 1) | crBefore);  // an LF after no CR
    lone |= bits.cr & ~(bits.lf >> 1) & ~(uint64_t{1} << 63);  // a CR before no LF
    lone |= crBefore & ~bits.lf;  // the same across blocks (bit 0 only)
    endBefore = ends >> 63;
    crBefore = bits.cr >> 63;
  }
  scan.loneLineEnds = lone != 0 || crBefore != 0;  // a CR as the last byte is alone too
  return scan;
}

// Drops the attract-mode lines, ends every line with CR LF and appends the ten slot lines.
void RewriteLines(std::string& bytes, const MenuCollection& menus);

std::string_view WithoutByteOrderMark(std::string_view bytes) {
  return StartsWith(bytes, kUtf8ByteOrderMark) ? bytes.substr(kUtf8ByteOrderMark.size()) : bytes;
}

void AppendAttractModeLines(std::string& out, const MenuCollection& menus) {
  for (int n = 0; n < kMenuSlotCount; ++n) {
    if (const clsGameMenu* menu = menus.Slot(n)) {
      out.append(AttractModeLine(*menu));
      out.append(kLineEnd);
    }
  }
}

}  // namespace

bool IsUtf16Text(std::string_view bytes) {
  return StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF");
}

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  ForEachLine(bytes, [&](std::string_view line) { lines.push_back(line); });
  return lines;
}

void ApplyAttractModeLine(std::string_view line, MenuCollection& menus) {
  if (line.size() < kEnabledDigitPos) return;
  if (StartsWith(line, kEnabledPrefix)) {
    // An enabled line needs its digit and the space after it; a bare "attractMode-scenario-5" of
    // 22 characters carries no usable setting.
    if (line.size() < kEnabledNamePos - 1) return;
    if (clsGameMenu* menu = menus.Slot(SlotDigitAt(line, kEnabledDigitPos))) {
      menu->sName(std::string(line.substr(kEnabledNamePos - 1)));
      menu->bEnabled(true);
    }
  } else if (StartsWith(line, kDisabledPrefix)) {
    if (clsGameMenu* menu = menus.Slot(SlotDigitAt(line, kDisabledDigitPos))) menu->sName("");
  }
}

void ReadAttractModeLines(std::string_view bytes, MenuCollection& menus) {
  bytes = WithoutByteOrderMark(bytes);
  for (size_t start : ScanFile(bytes).candidates) {
    ApplyAttractModeLine(bytes.substr(start, LineEnd(bytes, start) - start), menus);
  }
}

std::string AttractModeLinesOf(std::string_view bytes) {
  bytes = WithoutByteOrderMark(bytes);
  std::string lines;
  for (size_t start : ScanFile(bytes).candidates) {
    const std::string_view line = bytes.substr(start, LineEnd(bytes, start) - start);
    if (!IsAttractModeLine(line)) continue;
    lines.append(line);
    lines += '\n';
  }
  return lines;
}

bool ApplyDefaultMenus(MenuCollection& menus) {
  clsGameMenu* slot0 = menus.Slot(0);
  clsGameMenu* slot1 = menus.Slot(1);
  if (!slot0 || !slot1 || slot0->bEnabled()) return false;
  slot0->sName(std::string(kBuiltInWater));
  slot0->bEnabled(true);
  // A slot 1 that the player enabled keeps its scenario: only an unused one gets the built-in.
  if (!slot1->bEnabled()) {
    slot1->sName(std::string(kBuiltInNorse));
    slot1->bEnabled(true);
  }
  return true;
}

std::string AttractModeLine(const clsGameMenu& menu) {
  const std::string slot = std::to_string(menu.nId());
  if (menu.bEnabled()) return std::string(kEnabledPrefix) + slot + " " + menu.sName();
  return "-" + std::string(kEnabledPrefix) + slot;
}

std::string RewriteUserCfg(std::string_view oldBytes, const MenuCollection& menus) {
  std::string bytes(oldBytes);
  RewriteUserCfgInPlace(bytes, menus);
  return bytes;
}

void RewriteUserCfgInPlace(std::string& bytes, const MenuCollection& menus) {
  if (StartsWith(bytes, kUtf8ByteOrderMark)) {
    // Rewritten without the mark, which then goes back in front: files with one are few.
    std::string text = bytes.substr(kUtf8ByteOrderMark.size());
    RewriteLines(text, menus);
    bytes.assign(kUtf8ByteOrderMark);
    bytes.append(text);
    return;
  }
  RewriteLines(bytes, menus);
  // A line further down that begins with the mark's bytes may now come first, where it would be
  // read as the file's mark and no longer as a line of its own: an empty line keeps it one.
  if (StartsWith(bytes, kUtf8ByteOrderMark)) bytes.insert(0, kLineEnd);
}

namespace {

void RewriteLines(std::string& bytes, const MenuCollection& menus) {
  const FileScan scan = ScanFile(bytes);
  if (scan.loneLineEnds) {
    // Line ends change: a new buffer, line by line.
    std::string out;
    out.reserve(bytes.size() + kMenuSlotCount * 64);
    ForEachLine(bytes, [&](std::string_view line) {
      if (IsAttractModeLine(line)) return;
      out.append(line);
      out.append(kLineEnd);
    });
    bytes.swap(out);
  } else {
    // Every line ends with CR LF already, but perhaps the last: the other lines stay as they
    // stand, and the attract-mode lines among them are cut out by moving the rest forward.
    size_t kept = 0;  // the bytes kept so far, at the front
    size_t from = 0;  // where the next bytes to keep begin
    for (size_t start : scan.candidates) {
      const size_t end = LineEnd(bytes, start);
      if (!IsAttractModeLine(std::string_view(bytes).substr(start, end - start))) continue;
      if (kept != from) std::memmove(bytes.data() + kept, bytes.data() + from, start - from);
      kept += start - from;
      from = std::min(end + kLineEnd.size(), bytes.size());
    }
    if (kept != from) std::memmove(bytes.data() + kept, bytes.data() + from, bytes.size() - from);
    bytes.resize(kept + bytes.size() - from);
    if (!bytes.empty() && bytes.back() != '\n') bytes.append(kLineEnd);  // the last line had none
  }
  AppendAttractModeLines(bytes, menus);
}

}  // namespace

std::string DefaultUserCfg() {
  MenuCollection menus = NewMenuTable();
  ApplyDefaultMenus(menus);
  return RewriteUserCfg({}, menus);
}
