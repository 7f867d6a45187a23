#include "game/ScenarioCatalogue.h"

#include <string_view>
#include <utility>

#include "core/UserCfgFormat.h"
#include "platform/PathText.h"

namespace {

// ".scn", cut by its length alone: the listing has already matched the extension.
constexpr size_t kExtensionLength = 4;

bool IsBuiltIn(unsigned codePage, std::string_view base) {
  return EqualsIgnoringAsciiCase(codePage, base, kBuiltInWater) ||
         EqualsIgnoringAsciiCase(codePage, base, kBuiltInNorse);
}

}  // namespace

std::vector<std::string> BuildScenarioRows(std::vector<std::string> fileNames, unsigned codePage) {
  std::vector<std::string> rows;
  rows.reserve(fileNames.size() + 2);
  rows.emplace_back(kBuiltInWater);
  rows.emplace_back(kBuiltInNorse);
  for (std::string& name : fileNames) {
    // A name that is only the extension has no base to offer: its row would be empty.
    if (name.size() <= kExtensionLength || HoldsControlCharacter(name)) continue;
    name.resize(name.size() - kExtensionLength);
    if (!IsBuiltIn(codePage, name)) rows.push_back(std::move(name));
  }
  return rows;
}
