// Arbitrary bytes as user.cfg: reading and rewriting never crash, the rewrite keeps every other
// line in order byte for byte and ends with exactly the ten slot lines, a UTF-8 byte-order mark
// stays first, and reading the rewrite back gives the same slots.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/UserCfgFormat.h"

namespace {

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
  }
}

bool StartsWithMark(std::string_view bytes) {
  return bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark;
}

// The lines of the bytes as the reader of user.cfg takes them: CR LF, a lone CR or a lone LF ends
// one and is no part of it; the last needs no end.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  for (size_t start = 0; start < bytes.size();) {
    size_t end = start;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    lines.push_back(bytes.substr(start, end - start));
    start = end + (bytes.substr(end, 2) == "\r\n" ? 2 : 1);
  }
  return lines;
}

bool IsAttractModeLine(std::string_view line) {
  return line.substr(0, kEnabledPrefix.size()) == kEnabledPrefix ||
         line.substr(0, kDisabledPrefix.size()) == kDisabledPrefix;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);

  MenuCollection menus;
  const std::string readLines = ReadAttractModeLines(file, menus);
  if (size > 0 && (data[0] & 1)) ApplyDefaultMenus(menus);

  std::string rewrittenLines;
  const std::string out = RewriteUserCfg(file, menus, &rewrittenLines);
  Require(out.size() >= 2 && out.substr(out.size() - 2) == "\r\n", "the rewrite ends with CR LF");
  const bool marked = StartsWithMark(file);
  Require(StartsWithMark(out) == marked, "a byte-order mark stays first, and none is made");

  // The lines as the reader sees them: after the mark, when the file starts with one.
  const auto text = [](std::string_view bytes, bool mark) {
    return mark ? bytes.substr(kUtf8ByteOrderMark.size()) : bytes;
  };
  std::vector<std::string_view> others;
  std::string attractLines;
  for (std::string_view line : SplitLines(text(file, marked))) {
    if (!IsAttractModeLine(line)) others.push_back(line);
    if (IsAttractModeLine(line)) attractLines.append(line) += '\n';
  }
  Require(readLines == attractLines && rewrittenLines == attractLines,
          "the reader and the rewriter say which attract-mode lines the file holds");
  // A first line that would pass for a mark is kept a line by an empty line before it.
  if (!marked && !others.empty() && StartsWithMark(others.front()))
    others.insert(others.begin(), "");
  const std::vector<std::string_view> outLines = SplitLines(text(out, marked));
  Require(outLines.size() == others.size() + kMenuSlotCount, "other lines plus ten slot lines");
  for (size_t i = 0; i < others.size(); ++i)
    Require(outLines[i] == others[i], "other lines kept in order");
  for (int n = 0; n < kMenuSlotCount; ++n) {
    Require(outLines[others.size() + n] == AttractModeLine(*menus.Slot(n)),
            "slot lines in slot order");
  }

  MenuCollection back;
  const std::string backLines = ReadAttractModeLines(out, back);
  for (int n = 0; n < kMenuSlotCount; ++n) {
    const clsGameMenu& before = *menus.Slot(n);
    const clsGameMenu& after = *back.Slot(n);
    Require(after.bEnabled() == before.bEnabled(), "flags read back");
    Require(after.sName() == (before.bEnabled() ? before.sName() : ""), "names read back");
  }
  Require(RewriteUserCfg(out, back) == out, "a second rewrite changes nothing");
  Require(backLines == AttractModeLinesOf(menus),
          "the slot lines of a rewrite are known without reading it");
  return 0;
}
