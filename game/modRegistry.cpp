#include "game/modRegistry.h"

#include "game/RegistryText.h"

std::string GetRegString(HKEY root, const std::string& subKey, const std::string& valueName,
                         const std::string& defaultText) {
  HKEY key = nullptr;
  if (RegOpenKeyA(root, subKey.c_str(), &key) != ERROR_SUCCESS) return defaultText;

  std::string result = defaultText;
  // The first query learns the type and the size in bytes (the terminating NUL included, when
  // the writer stored one); the second fills a buffer of exactly that size.
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_SZ) {
    std::string buffer(size, ' ');
    // The value may change between the two queries: a value that grew no longer fits (the read
    // fails), one that shrank reports its new size, and one that changed type is no text. Any of
    // these keeps the default rather than handing back a buffer that was never filled.
    DWORD secondType = 0;
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &secondType,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS &&
        secondType == REG_SZ && size <= buffer.size()) {
      buffer.resize(size);
      result = CutAtFirstNul(buffer);
    }
  }
  RegCloseKey(key);
  return result;
}
