#pragma once
// Finding the game's installation folder, while the main window loads.
//
// Everything the tool reads or writes lies in that folder, and user.cfg lives in its "startup"
// subfolder, which must exist. The first of these places that holds "startup" is the game folder:
// - the folder given on the command line (see CommandLine.h), which alone is then looked at;
// - the folder of tessivane.exe itself, which a player may put into a copied game folder;
// - the folder the game's 2002 setup records in the registry value "AppPath" (REG_SZ) under
//   HKEY_LOCAL_MACHINE\Software\Microsoft\Microsoft Games\Age of Mythology\1.0 (modRegistry.h);
// - the folders in which Steam's libraries hold the Extended Edition (SteamFiles.h), which Steam
//   records nowhere else.
#include <string>

enum class GameLookupOutcome {
  Success,            // sGamePath is the game folder, ending in "\", and it has a startup folder
  NothingRegistered,  // no usable "AppPath" text and no game anywhere; sGamePath is empty
  NoStartupFolder,    // sGamePath is the registered folder with its "\"; it has no startup folder
                      // (empty when the code page cannot hold the folder's name)
};

// Sets sGamePath to the game folder (ending in "\" whenever it is not empty); the outcome says
// which failure, if any (ui/ words it for the player). When no place holds a game, the registered
// folder is the one named (NoStartupFolder). A folder given on the command line is made a full
// path, so that the message and the files name it whole; with it there is no NothingRegistered. A
// folder whose name the ANSI code page cannot hold exactly is NoStartupFolder with sGamePath empty;
// *folderNotHeld then names it as it was written.
GameLookupOutcome LookUpGamePath(const std::wstring& gameFolderArgument = L"",
                                 std::wstring* folderNotHeld = nullptr);
