#include "core/UserCfgFormat.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Character positions of the format, counted from 1 as in the game's own description of the lines.
constexpr size_t kEnabledDigitPos = 22;  // "attractMode-scenario-" then the digit
constexpr size_t kEnabledNamePos = 24;   // position 23 is the space, skipped unread
constexpr size_t kDisabledDigitPos =
    23;  // "-attractMode-scenario" then any character, then the digit

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

// Where the line that starts at `from` ends: at its CR or LF, or at the end of the bytes.
size_t LineEnd(std::string_view bytes, size_t from) {
  size_t end = from;
  while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
  return end;
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

std::string ReadAttractModeLines(std::string_view bytes, MenuCollection& menus) {
  std::string lines;
  ForEachLine(WithoutByteOrderMark(bytes), [&](std::string_view line) {
    if (!IsAttractModeLine(line)) return;
    ApplyAttractModeLine(line, menus);
    lines.append(line) += '\n';
  });
  return lines;
}

std::string AttractModeLinesOf(std::string_view bytes) {
  MenuCollection unused = NewMenuTable();
  return ReadAttractModeLines(bytes, unused);
}

std::string AttractModeLinesOf(const MenuCollection& menus) {
  std::string lines;
  for (int n = 0; n < kMenuSlotCount; ++n) {
    if (const clsGameMenu* menu = menus.Slot(n)) lines.append(AttractModeLine(*menu)) += '\n';
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

std::string RewriteUserCfg(std::string_view oldBytes, const MenuCollection& menus,
                           std::string* oldAttractLines) {
  const bool marked = StartsWith(oldBytes, kUtf8ByteOrderMark);
  std::string out(marked ? kUtf8ByteOrderMark : "");
  out.reserve(oldBytes.size() + kMenuSlotCount * 64);
  ForEachLine(WithoutByteOrderMark(oldBytes), [&](std::string_view line) {
    if (IsAttractModeLine(line)) {
      if (oldAttractLines) oldAttractLines->append(line) += '\n';
      return;
    }
    // A line that begins with the mark's bytes must not come first in a file without one, where
    // it would be read as the mark and no longer as a line: an empty line keeps it one.
    if (out.empty() && StartsWith(line, kUtf8ByteOrderMark)) out.append(kLineEnd);
    out.append(line).append(kLineEnd);
  });
  AppendAttractModeLines(out, menus);
  return out;
}

std::string DefaultUserCfg() {
  MenuCollection menus = NewMenuTable();
  ApplyDefaultMenus(menus);
  return RewriteUserCfg({}, menus);
}
