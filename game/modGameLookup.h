#pragma once
// Finding the game's installation folder, once per run, while the main window loads.
//
// The game's setup records its folder in the registry value "AppPath" (REG_SZ) under
// HKEY_LOCAL_MACHINE\Software\Microsoft\Microsoft Games\Age of Mythology\1.0. Everything the tool
// reads or writes lies in that folder, and user.cfg lives in its "startup" subfolder, which must
// exist.
#include <string>

enum class GameLookupOutcome {
  Success,            // sGamePath is the game folder, ending in "\", and it has a startup folder
  NothingRegistered,  // no usable "AppPath" text; sGamePath is empty
  NoStartupFolder,    // sGamePath is the registered folder with its "\"; it has no startup folder
                      // (empty when the code page cannot hold the folder's name)
};

// Reads the registered folder into sGamePath (ending in "\" whenever it is not empty) and tests
// its startup folder; the outcome says which failure, if any (ui/ words it for the player).
// A folder given on the command line (see CommandLine.h) is used instead of the registry: for a
// copied or moved installation, or a Wine prefix without the game's registration. It is made a
// full path, so that the message and the files name it whole; with it there is no
// NothingRegistered. A folder whose name the ANSI code page cannot hold exactly is
// NoStartupFolder with sGamePath empty; *folderNotHeld then names it as it was written.
GameLookupOutcome LookUpGamePath(const std::wstring& gameFolderArgument = L"",
                                 std::wstring* folderNotHeld = nullptr);
