#pragma once
// What Steam's own files say about where it installed the game. Steam keeps its libraries (its
// own folder, and others the player added, such as D:\SteamLibrary) in
// <Steam>\steamapps\libraryfolders.vdf, and each game of a library in
// <library>\steamapps\appmanifest_<app id>.acf, whose "installdir" names the game's folder under
// <library>\steamapps\common. Both are Valve's text format (KeyValues.h) in UTF-8. Pure.
#include <string>
#include <string_view>
#include <vector>

// Steam's number for the game (its Extended Edition).
inline constexpr std::string_view kSteamAppId = "266840";

// The libraries that libraryfolders.vdf lists, in UTF-8 and in its order. Two forms are read:
// today's, "libraryfolders" with a numbered block for each library holding its "path", and the
// one Steam wrote until 2021, "LibraryFolders" whose numbered values are the paths (beside other
// values, such as "TimeNextStatsReport"). Nothing for a file of neither form.
std::vector<std::string> SteamLibraries(std::string_view libraryFolders);

// The game's folder name under steamapps\common that an app manifest gives, in UTF-8; "" when it
// gives none, or a name that is not one folder's ("..", "a\b").
std::string SteamInstallFolder(std::string_view appManifest);
