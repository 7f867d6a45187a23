#include "game/ScenarioCatalogue.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "core/UserCfgFormat.h"

namespace {

// ".scn", cut by its length alone: the listing has already matched the extension.
constexpr size_t kExtensionLength = 4;

// The game names its built-ins in ASCII, so an ASCII comparison without regard to letter case
// recognises them whatever the code page; other bytes are compared as they are.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

bool HoldsControlCharacter(std::string_view name) {
  return std::any_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 32 || byte == 127;
  });
}

bool IsBuiltIn(std::string_view base) {
  return EqualsIgnoringAsciiCase(base, kBuiltInWater) ||
         EqualsIgnoringAsciiCase(base, kBuiltInNorse);
}

}  // namespace

std::vector<std::string> BuildScenarioRows(std::vector<std::string> fileNames) {
  std::vector<std::string> rows;
  rows.reserve(fileNames.size() + 2);
  rows.emplace_back(kBuiltInWater);
  rows.emplace_back(kBuiltInNorse);
  for (std::string& name : fileNames) {
    if (name.size() < kExtensionLength || HoldsControlCharacter(name)) continue;
    name.resize(name.size() - kExtensionLength);
    if (!IsBuiltIn(name)) rows.push_back(std::move(name));
  }
  return rows;
}
