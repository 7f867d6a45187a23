#include "game/modRegistry.h"

#include <optional>

#include "game/RegistryText.h"

std::wstring GetRegString(HKEY root, const std::string& subKey, const std::string& valueName,
                          const std::wstring& defaultText) {
  const auto text = [&](RegistryView view) -> std::optional<std::wstring> {
    const std::optional<std::wstring> value = ReadRegistryText(root, subKey, valueName, view);
    if (!value) return std::nullopt;
    return CutAtFirstNul(*value);
  };
  // A 32-bit setup (the game's) writes HKEY_LOCAL_MACHINE\Software into the 32-bit view, which a
  // 64-bit program sees only when it asks for it. A value of a 64-bit writer is found in the
  // other view.
  const std::optional<std::wstring> view32 = text(RegistryView::Programs32);
  if (view32 && !view32->empty()) return *view32;
  const std::optional<std::wstring> view64 = text(RegistryView::Programs64);
  if (view64 && !view64->empty()) return *view64;
  // An empty text is still the value's text.
  if (view32) return *view32;
  if (view64) return *view64;
  return defaultText;
}
