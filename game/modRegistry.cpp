#include "game/modRegistry.h"

#include <optional>

#include "game/RegistryText.h"

namespace {

// The text of a REG_SZ value in one view of the registry, or nothing when the key cannot be
// opened or the value is missing, of another type or unreadable.
std::optional<std::string> ReadTextValue(HKEY root, const std::string& subKey,
                                         const std::string& valueName, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
    return std::nullopt;

  std::optional<std::string> text;
  // The first query learns the type and the size in bytes (the terminating NUL included, when
  // the writer stored one); the second fills a buffer of exactly that size.
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_SZ) {
    std::string buffer(size, ' ');
    // The value may change between the two queries: a value that grew no longer fits (the read
    // fails), one that shrank reports its new size, and one that changed type is no text. Any of
    // these counts as no value rather than handing back a buffer that was never filled.
    DWORD secondType = 0;
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &secondType,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS &&
        secondType == REG_SZ && size <= buffer.size()) {
      buffer.resize(size);
      text = CutAtFirstNul(buffer);
    }
  }
  RegCloseKey(key);
  return text;
}

}  // namespace

std::string GetRegString(HKEY root, const std::string& subKey, const std::string& valueName,
                         const std::string& defaultText) {
  // A 32-bit setup (the game's) writes HKEY_LOCAL_MACHINE\Software into the 32-bit view, which a
  // 64-bit program sees only when it asks for it; 32-bit Windows ignores the flag. A value of a
  // 64-bit writer is found in the other view.
  const std::optional<std::string> view32 = ReadTextValue(root, subKey, valueName, KEY_WOW64_32KEY);
  if (view32 && !view32->empty()) return *view32;
  const std::optional<std::string> view64 = ReadTextValue(root, subKey, valueName, KEY_WOW64_64KEY);
  if (view64 && !view64->empty()) return *view64;
  // An empty text is still the value's text.
  if (view32) return *view32;
  if (view64) return *view64;
  return defaultText;
}
