#include "core/UserCfgFormat.h"

#include <algorithm>

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Character positions of the format, counted from 1 as in the game's own description of the lines.
constexpr size_t kEnabledDigitPos = 22;  // "attractMode-scenario-" then the digit
constexpr size_t kEnabledNamePos = 24;   // position 23 is the space, skipped unread
// "-attractMode-scenario" then any character, then the digit.
constexpr size_t kDisabledDigitPos = 23;

// The slot number of the digit at a 1-based position, or -1 when no digit stands there.
int SlotDigitAt(std::string_view line, size_t position) {
  if (line.size() < position) return -1;
  const char c = line[position - 1];
  return (c >= '0' && c <= '9') ? c - '0' : -1;
}

bool IsAttractModeLine(std::string_view line) {
  return line.starts_with(kEnabledPrefix) || line.starts_with(kDisabledPrefix);
}

// Calls visit(line) for every line in file order, without its terminator.
template <typename Visit>
void ForEachLine(std::string_view bytes, Visit&& visit) {
  for (size_t start = 0; start < bytes.size();) {
    const size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
    visit(bytes.substr(start, end - start));
    start = end + (bytes.substr(end, 2) == "\r\n" ? 2 : 1);
  }
}

std::string_view WithoutByteOrderMark(std::string_view bytes) {
  return bytes.starts_with(kUtf8ByteOrderMark) ? bytes.substr(kUtf8ByteOrderMark.size()) : bytes;
}

// The ten slot lines of the table, each ended by `lineEnd`.
std::string SlotLines(const MenuCollection& menus, std::string_view lineEnd) {
  std::string lines;
  for (const clsGameMenu& menu : menus) lines.append(AttractModeLine(menu)) += lineEnd;
  return lines;
}

// Applies one attract-mode line to the table: an enabled line sets the slot's name and enables
// it; a disabled line only empties the name. A line without a slot digit, or too short to carry
// one, changes nothing.
void ApplyAttractModeLine(std::string_view line, MenuCollection& menus) {
  if (line.starts_with(kEnabledPrefix)) {
    // An enabled line needs its digit and the space after it; a bare "attractMode-scenario-5" of
    // 22 characters carries no usable setting.
    if (line.size() < kEnabledNamePos - 1) return;
    if (clsGameMenu* menu = menus.Slot(SlotDigitAt(line, kEnabledDigitPos))) {
      menu->sName(std::string(line.substr(kEnabledNamePos - 1)));
      menu->bEnabled(true);
    }
  } else if (line.starts_with(kDisabledPrefix)) {
    if (clsGameMenu* menu = menus.Slot(SlotDigitAt(line, kDisabledDigitPos))) menu->sName("");
  }
}

}  // namespace

bool IsUtf16Text(std::string_view bytes) {
  return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
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

std::string AttractModeLinesOf(const MenuCollection& menus) { return SlotLines(menus, "\n"); }

bool ApplyDefaultMenus(MenuCollection& menus) {
  clsGameMenu& slot0 = *menus.Slot(0);
  clsGameMenu& slot1 = *menus.Slot(1);
  if (slot0.bEnabled()) return false;
  slot0.sName(std::string(kBuiltInWater));
  slot0.bEnabled(true);
  // A slot 1 that the player enabled keeps its scenario: only an unused one gets the built-in.
  if (!slot1.bEnabled()) {
    slot1.sName(std::string(kBuiltInNorse));
    slot1.bEnabled(true);
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
  const bool marked = oldBytes.starts_with(kUtf8ByteOrderMark);
  std::string out(marked ? kUtf8ByteOrderMark : "");
  out.reserve(oldBytes.size() + kMenuSlotCount * 64);
  ForEachLine(WithoutByteOrderMark(oldBytes), [&](std::string_view line) {
    if (IsAttractModeLine(line)) {
      if (oldAttractLines) oldAttractLines->append(line) += '\n';
      return;
    }
    // A line that begins with the mark's bytes must not come first in a file without one, where
    // it would be read as the mark and no longer as a line: an empty line keeps it one.
    if (out.empty() && line.starts_with(kUtf8ByteOrderMark)) out.append(kLineEnd);
    out.append(line).append(kLineEnd);
  });
  out += SlotLines(menus, kLineEnd);
  return out;
}

std::string DefaultUserCfg() {
  MenuCollection menus;
  ApplyDefaultMenus(menus);
  return RewriteUserCfg({}, menus);
}
