#pragma once
// Where the game's setup records the game's folder: the REG_SZ value below, under
// HKEY_LOCAL_MACHINE. The setup is a 32-bit program, so on 64-bit Windows the key lies in the
// registry's 32-bit view. scripts/screenshots.sh reads the key and value from this file.
#include <string_view>

// The key of the game's publisher, above the game's own key.
inline constexpr std::string_view kGamesRegistryKey = "Software\\Microsoft\\Microsoft Games";
inline constexpr std::string_view kGameRegistryKey =
    "Software\\Microsoft\\Microsoft Games\\Age of Mythology\\1.0";
inline constexpr std::string_view kGameFolderValue = "AppPath";
