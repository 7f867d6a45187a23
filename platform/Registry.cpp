#include "platform/Registry.h"

#include "platform/AnsiText.h"
#include "platform/UniqueHandle.h"

std::optional<std::wstring> ReadRegistryText(HKEY root, const std::string& subKey,
                                             const std::string& valueName, RegistryView view) {
  const REGSAM viewFlag = view == RegistryView::Programs32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  UniqueRegistryKey key;
  if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE | viewFlag, key.Out()) !=
      ERROR_SUCCESS)
    return std::nullopt;
  const std::wstring name = WideFromAnsi(valueName);
  // RRF_NOEXPAND: an expandable text (REG_EXPAND_SZ) is another type, not expanded into a REG_SZ.
  constexpr DWORD kTextOnly = RRF_RT_REG_SZ | RRF_NOEXPAND;
  // A path fits at the first read. A longer value is read again at the size it says it needs; one
  // that grew meanwhile once more, and so on.
  std::wstring text(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    auto size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const LSTATUS status =
        RegGetValueW(key.Get(), nullptr, name.c_str(), kTextOnly, nullptr, text.data(), &size);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return std::nullopt;
    // Whole UTF-16 units: a writer may have stored an odd number of bytes.
    text.resize((size + 1) / sizeof(wchar_t));
    if (status == ERROR_SUCCESS) return text;
  }
  return std::nullopt;  // a value that keeps growing faster than it can be read
}
