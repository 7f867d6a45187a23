#include "platform/Registry.h"

#include "platform/UniqueHandle.h"

std::optional<std::string> ReadRegistryText(HKEY root, const std::string& subKey,
                                            const std::string& valueName, RegistryView view) {
  const REGSAM viewFlag = view == RegistryView::Programs32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  UniqueRegistryKey key;
  if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE | viewFlag, key.Out()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  // The first query learns the type and the size in bytes; the second fills a buffer of exactly
  // that size.
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  std::string bytes(size, ' ');
  // The value may change between the two queries: a value that grew no longer fits (the read
  // fails), one that shrank reports its new size, and one that changed type is no text. Any of
  // these counts as no value rather than handing back a buffer that was never filled.
  DWORD secondType = 0;
  if (RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &secondType,
                       reinterpret_cast<BYTE*>(bytes.data()), &size) != ERROR_SUCCESS ||
      secondType != REG_SZ || size > bytes.size()) {
    return std::nullopt;
  }
  bytes.resize(size);
  return bytes;
}
