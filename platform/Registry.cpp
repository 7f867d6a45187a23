#include "platform/Registry.h"

#include "platform/AnsiText.h"
#include "platform/UniqueHandle.h"

std::optional<std::wstring> ReadRegistryText(HKEY root, const std::string& subKey,
                                            const std::string& valueName, RegistryView view) {
  const REGSAM viewFlag = view == RegistryView::Programs32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  UniqueRegistryKey key;
  if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE | viewFlag, key.Out()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  // The first query learns the type and the size in bytes; the second fills a buffer of exactly
  // that size.
  const std::wstring name = WideFromAnsi(valueName);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  // Whole UTF-16 units: a writer may have stored an odd number of bytes.
  std::wstring text((size + 1) / sizeof(wchar_t), L' ');
  // The value may change between the two queries: a value that grew no longer fits (the read
  // fails), one that shrank reports its new size, and one that changed type is no text. Any of
  // these counts as no value rather than handing back a buffer that was never filled.
  DWORD secondType = 0;
  if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &secondType,
                       reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS ||
      secondType != REG_SZ || size > text.size() * sizeof(wchar_t)) {
    return std::nullopt;
  }
  text.resize((size + 1) / sizeof(wchar_t));
  return text;
}
