#pragma once
// Reading text values of the Windows registry, for reading only.
#include <windows.h>

#include <optional>
#include <string>

// The two views that 64-bit Windows (and a 64-bit Wine prefix) keeps of
// HKEY_LOCAL_MACHINE\Software: the one 32-bit programs see (Software\Wow6432Node), and the one
// 64-bit programs see. 32-bit Windows has one, whichever is asked for.
enum class RegistryView { Programs32, Programs64 };

// The UTF-16 text of the REG_SZ value valueName under root\subKey in that view, as stored, with or
// without a terminating NUL (the caller cuts it there); nothing when the key cannot be opened or
// the value is missing, of another type or cannot be read. The key is opened for querying only.
// Read as UTF-16, as the registry keeps it: the ANSI read would turn the characters that the code
// page lacks into best-fit look-alikes ("Ωmega" as "Omega"), naming another folder.
std::optional<std::wstring> ReadRegistryText(HKEY root, const std::string& subKey,
                                             const std::string& valueName, RegistryView view);
