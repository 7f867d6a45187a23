#include "core/UserCfgFormat.h"

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

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(bytes.substr(start, i - start));
      i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
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
  for (std::string_view line : SplitLines(bytes)) ApplyAttractModeLine(line, menus);
}

bool ApplyDefaultMenus(MenuCollection& menus) {
  clsGameMenu* slot0 = menus.Slot(0);
  clsGameMenu* slot1 = menus.Slot(1);
  if (!slot0 || !slot1 || slot0->bEnabled()) return false;
  slot0->sName(std::string(kBuiltInWater));
  slot0->bEnabled(true);
  slot1->sName(std::string(kBuiltInNorse));
  slot1->bEnabled(true);
  return true;
}

std::string AttractModeLine(const clsGameMenu& menu) {
  const std::string slot = std::to_string(menu.nId());
  if (menu.bEnabled()) return std::string(kEnabledPrefix) + slot + " " + menu.sName();
  return "-" + std::string(kEnabledPrefix) + slot;
}

std::string RewriteUserCfg(std::string_view oldBytes, const MenuCollection& menus) {
  std::string out;
  out.reserve(oldBytes.size() + kMenuSlotCount * 64);
  for (std::string_view line : SplitLines(oldBytes)) {
    if (StartsWith(line, kEnabledPrefix) || StartsWith(line, kDisabledPrefix)) continue;
    out.append(line);
    out.append(kLineEnd);
  }
  for (int n = 0; n < kMenuSlotCount; ++n) {
    if (const clsGameMenu* menu = menus.Slot(n)) {
      out.append(AttractModeLine(*menu));
      out.append(kLineEnd);
    }
  }
  return out;
}

std::string DefaultUserCfg() {
  MenuCollection menus = NewMenuTable();
  ApplyDefaultMenus(menus);
  return RewriteUserCfg({}, menus);
}
