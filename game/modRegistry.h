#pragma once
// Reading a text value from the Windows registry.
#include <string>

#include "platform/RegistryKey.h"

// The text of the REG_SZ value valueName under root\subKey, up to its first NUL, in UTF-16 as the
// registry keeps it (see ReadRegistryText), or defaultText
// when the key cannot be opened, the value is missing or of any other type (REG_EXPAND_SZ
// included: it is not expanded), or it cannot be read. The 32-bit view of the registry is read
// first, where 32-bit setup programs write, then the 64-bit view. Opens the key for reading only,
// reports no error and writes nothing.
std::wstring GetRegString(HKEY root, const std::string& subKey, const std::string& valueName,
                          const std::wstring& defaultText);
