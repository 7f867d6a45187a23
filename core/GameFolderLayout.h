#pragma once
// Where the game keeps what the tool reads and writes, inside its installation folder (a path
// ending in "\").
#include <string_view>

// The folder of the per-user start-up files; the game folder is taken as found only when it has
// one.
inline constexpr std::string_view kStartupFolder = "startup\\";
// The start-up file that holds the attract-mode lines.
inline constexpr std::string_view kUserCfgInGameFolder = "startup\\user.cfg";
// The folder of the scenario files that the picker offers (no final "\").
inline constexpr std::string_view kScenarioFolder = "scenario";
// The game's programs in its folder, the game's own and its expansion's: Windows keeps per-user
// copies for them only while neither is set to run as administrator.
inline constexpr std::string_view kGamePrograms[] = {"aom.exe", "aomx.exe"};
