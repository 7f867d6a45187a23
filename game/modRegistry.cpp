#include "game/modRegistry.h"

#include <optional>
#include <string_view>

#include "platform/AnsiText.h"
#include "platform/PathText.h"
#include "platform/Registry.h"
#include "platform/VirtualStore.h"

namespace {

// A REG_SZ value usually ends with a NUL, but nothing forces a writer to store one, or to stop at
// it: the text is everything before the first NUL, or all of the value when there is none.
std::wstring CutAtFirstNul(std::wstring_view value) {
  return std::wstring(value.substr(0, value.find(L'\0')));
}

// Where Windows keeps a legacy 32-bit program's own copy of what it wrote under
// HKEY_LOCAL_MACHINE\Software, for each user, when it virtualises that program.
constexpr std::string_view kSoftwareKey = "Software\\";
constexpr std::string_view kPerUserCopyKey =
    "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\";

}  // namespace

std::wstring GetRegString(HKEY root, const std::string& subKey, const std::string& valueName,
                          const std::wstring& defaultText) {
  // Where Windows virtualises the game, the game sees its per-user copy of the key before the
  // machine's own.
  if (root == HKEY_LOCAL_MACHINE &&
      StartsWithIgnoringAsciiCase(AnsiCodePage(), subKey, kSoftwareKey) && WindowsVirtualises()) {
    const std::optional<std::wstring> copy = ReadRegistryText(
        HKEY_CURRENT_USER, std::string(kPerUserCopyKey) + subKey.substr(kSoftwareKey.size()),
        valueName, RegistryView::Programs64);
    if (copy && !CutAtFirstNul(*copy).empty()) return CutAtFirstNul(*copy);
  }
  // A 32-bit setup (the game's) writes HKEY_LOCAL_MACHINE\Software into the 32-bit view, which a
  // 64-bit program sees only when it asks for it. A value of a 64-bit writer is found in the
  // other view. An empty text is still the value's text.
  bool found = false;
  for (const RegistryView view : {RegistryView::Programs32, RegistryView::Programs64}) {
    const std::optional<std::wstring> value = ReadRegistryText(root, subKey, valueName, view);
    if (value && !CutAtFirstNul(*value).empty()) return CutAtFirstNul(*value);
    found = found || value;
  }
  return found ? L"" : defaultText;
}
