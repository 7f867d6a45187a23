#include "platform/Registry.h"

#include "platform/AnsiText.h"
#include "platform/UniqueHandle.h"

namespace {

// The key opened for querying its values only; an empty owner when it cannot be opened.
UniqueRegistryKey OpenForQuery(HKEY root, const std::string& subKey, RegistryView view) {
  const REGSAM viewFlag = view == RegistryView::Programs32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  UniqueRegistryKey key;
  if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE | viewFlag, key.Out()) !=
      ERROR_SUCCESS) {
    return {};
  }
  return key;
}

}  // namespace

std::optional<DWORD> ReadRegistryNumber(HKEY root, const std::string& subKey,
                                        const std::string& valueName, RegistryView view) {
  const UniqueRegistryKey key = OpenForQuery(root, subKey, view);
  DWORD type = 0, value = 0, size = sizeof value;
  if (!key ||
      RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::wstring> ReadRegistryText(HKEY root, const std::string& subKey,
                                             const std::string& valueName, RegistryView view) {
  const UniqueRegistryKey key = OpenForQuery(root, subKey, view);
  if (!key) return std::nullopt;
  // The first query learns the type and the size in bytes; the second fills a buffer of exactly
  // that size.
  const std::wstring name = WideFromAnsi(valueName);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  // The value may change between the two queries: one that grew no longer fits and is read again
  // with its new size; one that shrank reports its new size; one that changed type is no text.
  // None of these hands back a buffer that was never filled.
  for (int attempt = 0; attempt < 8; ++attempt) {
    // Whole UTF-16 units: a writer may have stored an odd number of bytes.
    std::wstring text((size + 1) / sizeof(wchar_t), L' ');
    DWORD secondType = 0;
    const LSTATUS status = RegQueryValueExW(key.Get(), name.c_str(), nullptr, &secondType,
                                            reinterpret_cast<BYTE*>(text.data()), &size);
    if (status == ERROR_MORE_DATA) continue;  // size now holds what the value needs
    if (status != ERROR_SUCCESS || secondType != REG_SZ || size > text.size() * sizeof(wchar_t))
      return std::nullopt;
    text.resize((size + 1) / sizeof(wchar_t));
    return text;
  }
  return std::nullopt;  // a value that keeps growing faster than it can be read
}
