#include "game/modGameLookup.h"

#include <optional>
#include <string>
#include <string_view>

#include "core/GameFolderLayout.h"
#include "core/modMain.h"
#include "game/GameRegistration.h"
#include "game/modRegistry.h"
#include "platform/AnsiText.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/window/MsgBox.h"

namespace {

constexpr const char* kLookupTitle = "Invalid AoM path";
// The message about a folder without its startup folder, before and after the folder's name.
constexpr std::string_view kNoStartupFolderStart =
    "The game installation points to this directory :\r\n";
constexpr std::string_view kNoStartupFolderEnd = "\r\n\r\nBut this folder does not exist.";

}  // namespace

GameLookupOutcome LookUpGamePath(const std::wstring& gameFolderArgument,
                                 std::wstring* folderNotHeld) {
  const std::wstring folder =
      gameFolderArgument.empty() ? GetRegString(HKEY_LOCAL_MACHINE, std::string(kGameRegistryKey),
                                                std::string(kGameFolderValue), L"")
                                 : FullPathName(gameFolderArgument);
  sGamePath.clear();
  if (folderNotHeld) folderNotHeld->clear();
  if (folder.empty()) {
    ShowGameLookupMessage(GameLookupOutcome::NothingRegistered);
    return GameLookupOutcome::NothingRegistered;
  }
  // The game's files are named in the ANSI code page. A folder whose name it cannot hold is
  // never taken as its nearest look-alike, another folder that may well exist: the game itself
  // could not run from there either.
  const std::optional<std::string> ansiFolder = AnsiFromWide(folder);
  if (!ansiFolder) {
    if (folderNotHeld) *folderNotHeld = folder;
    ShowGameLookupMessage(GameLookupOutcome::NoStartupFolder, folder);
    return GameLookupOutcome::NoStartupFolder;
  }
  sGamePath = *ansiFolder;
  if (!EndsWithSeparator(AnsiCodePage(), sGamePath)) sGamePath += '\\';

  if (!FolderExists(sGamePath + std::string(kStartupFolder))) {
    ShowGameLookupMessage(GameLookupOutcome::NoStartupFolder);
    return GameLookupOutcome::NoStartupFolder;
  }
  return GameLookupOutcome::Success;
}

void ShowGameLookupMessage(GameLookupOutcome outcome, const std::wstring& folderNotHeld) {
  switch (outcome) {
    case GameLookupOutcome::Success:
      return;
    case GameLookupOutcome::NothingRegistered:
      MsgBox("Cannot find the folder where AoM is installed.", kMsgBoxError, kLookupTitle);
      return;
    case GameLookupOutcome::NoStartupFolder:
      // Names the game folder itself, although what is missing is its startup subfolder; a
      // folder that the code page cannot hold is named as it was written.
      if (sGamePath.empty() && !folderNotHeld.empty()) {
        const bool ends = folderNotHeld.back() == L'\\' || folderNotHeld.back() == L'/';
        MsgBox(WideFromAnsi(kNoStartupFolderStart) + folderNotHeld + (ends ? L"" : L"\\") +
                   WideFromAnsi(kNoStartupFolderEnd),
               kMsgBoxError, kLookupTitle);
        return;
      }
      MsgBox(std::string(kNoStartupFolderStart) + sGamePath + std::string(kNoStartupFolderEnd),
             kMsgBoxError, kLookupTitle);
      return;
  }
}
