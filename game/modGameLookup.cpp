#include "game/modGameLookup.h"

#include <optional>
#include <string>

#include "core/GameFolderLayout.h"
#include "core/modMain.h"
#include "game/GameRegistration.h"
#include "game/modRegistry.h"
#include "platform/AnsiText.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/Registry.h"

GameLookupOutcome LookUpGamePath(const std::wstring& gameFolderArgument,
                                 std::wstring* folderNotHeld) {
  const std::wstring folder = gameFolderArgument.empty()
                                  ? GetRegString(HKEY_LOCAL_MACHINE, std::string(kGameRegistryKey),
                                                 std::string(kGameFolderValue), L"")
                                  : FullPathName(gameFolderArgument);
  sGamePath.clear();
  if (folderNotHeld) folderNotHeld->clear();
  if (folder.empty()) {
    return GameLookupOutcome::NothingRegistered;
  }
  // The game's files are named in the ANSI code page. A folder whose name it cannot hold is
  // never taken as its nearest look-alike, another folder that may well exist: the game itself
  // could not run from there either.
  const std::optional<std::string> ansiFolder = AnsiFromWide(folder);
  if (!ansiFolder) {
    if (folderNotHeld) *folderNotHeld = folder;
    return GameLookupOutcome::NoStartupFolder;
  }
  sGamePath = *ansiFolder;
  if (!EndsWithSeparator(AnsiCodePage(), sGamePath)) sGamePath += '\\';

  if (!FolderExists(sGamePath + std::string(kStartupFolder))) {
    return GameLookupOutcome::NoStartupFolder;
  }
  return GameLookupOutcome::Success;
}
