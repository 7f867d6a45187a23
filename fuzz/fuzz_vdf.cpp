// Arbitrary bytes as one of Steam's files (libraryfolders.vdf, an app manifest): reading them
// never crashes or hangs, the tree keeps to its depth, and a game folder taken from them is one
// folder's name.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "game/KeyValues.h"
#include "game/SteamFiles.h"

namespace {

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
  }
}

int Depth(const KeyValue& block) {
  int deepest = 0;
  for (const KeyValue& entry : block.entries) {
    if (entry.isBlock) deepest = std::max(deepest, 1 + Depth(entry));
    Require(entry.isBlock || entry.entries.empty(), "a text holds no entries");
  }
  return deepest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const std::optional<KeyValue> file = ReadKeyValues(text)) {
    Require(Depth(*file) <= kDeepestKeyValuesBlock, "the depth bound holds");
  }
  for (const std::string& library : SteamLibraries(text)) Require(!library.empty(), "a path");
  const std::string folder = SteamInstallFolder(text);
  Require(folder.find_first_of("\\/:") == std::string::npos && folder != "..", "one folder's name");
  return 0;
}
