#include "game/SteamFiles.h"

#include <optional>

#include "game/KeyValues.h"

std::vector<std::string> SteamLibraries(std::string_view libraryFolders) {
  const std::optional<KeyValue> file = ReadKeyValues(libraryFolders);
  const KeyValue* root = file ? file->Find("libraryfolders") : nullptr;
  if (!root) return {};
  std::vector<std::string> libraries;
  for (const KeyValue& entry : root->entries) {
    // Only the numbered entries name libraries.
    const std::string& key = entry.key;
    if (key.empty() || key.find_first_not_of("0123456789") != key.npos) continue;
    const KeyValue* path = entry.isBlock ? entry.Find("path") : &entry;
    if (path && !path->text.empty()) libraries.push_back(path->text);  // a block has no text
  }
  return libraries;
}

std::string SteamInstallFolder(std::string_view appManifest) {
  const std::optional<KeyValue> file = ReadKeyValues(appManifest);
  const KeyValue* app = file ? file->Find("AppState") : nullptr;
  const KeyValue* folder = app ? app->Find("installdir") : nullptr;
  if (!folder) return "";
  // One folder of steamapps\common: a name that leads elsewhere is not Steam's (nor is a block,
  // whose text is empty).
  const std::string& name = folder->text;
  const bool elsewhere = name == "." || name == ".." || name.find_first_of("\\/:") != name.npos;
  return name.empty() || elsewhere ? "" : name;
}
