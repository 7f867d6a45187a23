#include "game/modGameLookup.h"

#include <string>

#include "core/GameFolderLayout.h"
#include "core/modMain.h"
#include "game/GameRegistration.h"
#include "game/modRegistry.h"
#include "platform/FileSystem.h"
#include "platform/window/MsgBox.h"

namespace {

constexpr const char* kLookupTitle = "Invalid AoM path";

}  // namespace

GameLookupOutcome LookUpGamePath(const std::string& gameFolderArgument) {
  sGamePath = gameFolderArgument.empty()
                  ? GetRegString(HKEY_LOCAL_MACHINE, std::string(kGameRegistryKey),
                                 std::string(kGameFolderValue), "")
                  : FullPathName(gameFolderArgument);
  if (sGamePath.empty()) {
    ShowGameLookupMessage(GameLookupOutcome::NothingRegistered);
    return GameLookupOutcome::NothingRegistered;
  }
  if (sGamePath.back() != '\\') sGamePath += '\\';

  if (!FolderExists(sGamePath + std::string(kStartupFolder))) {
    ShowGameLookupMessage(GameLookupOutcome::NoStartupFolder);
    return GameLookupOutcome::NoStartupFolder;
  }
  return GameLookupOutcome::Success;
}

void ShowGameLookupMessage(GameLookupOutcome outcome) {
  switch (outcome) {
    case GameLookupOutcome::Success:
      return;
    case GameLookupOutcome::NothingRegistered:
      MsgBox("Cannot find the folder where AoM is installed.", kMsgBoxError, kLookupTitle);
      return;
    case GameLookupOutcome::NoStartupFolder:
      // Names the game folder itself, although what is missing is its startup subfolder.
      MsgBox("The game installation points to this directory :\r\n" + sGamePath +
                 "\r\n\r\nBut this folder does not exist.",
             kMsgBoxError, kLookupTitle);
      return;
  }
}
