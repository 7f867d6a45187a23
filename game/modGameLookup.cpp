#include "game/modGameLookup.h"

#include <optional>
#include <vector>

#include "core/GameFolderLayout.h"
#include "core/modMain.h"
#include "game/GameRegistration.h"
#include "game/KeyValues.h"
#include "game/SteamFiles.h"
#include "game/modRegistry.h"
#include "platform/AnsiText.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/ProcessArguments.h"
#include "platform/Registry.h"

namespace {

// The folder in the ANSI code page, ending in "\"; nothing for no folder, or one whose name the
// code page cannot hold. The game's files are named in that code page: such a folder is never
// taken as its nearest look-alike, another folder that may well exist, and the game itself could
// not run from there either.
std::optional<std::string> AnsiFolder(const std::wstring& folder) {
  if (folder.empty()) return std::nullopt;
  std::optional<std::string> ansi = AnsiFromWide(folder);
  if (ansi && WithoutTrailingSeparators(AnsiCodePage(), *ansi).size() == ansi->size())
    *ansi += '\\';
  return ansi;
}

bool HoldsStartup(const std::string& folder) {
  return GetPathKind(WidePath(folder + std::string(kStartupFolder))) == PathKind::Folder;
}

// The folder the player named, or the game's setup registered, as sGamePath, and whether it is
// a game folder.
GameLookupOutcome TakeFolder(const std::wstring& folder, std::wstring* folderNotHeld) {
  const std::optional<std::string> ansiFolder = AnsiFolder(folder);
  sGamePath = ansiFolder.value_or("");
  if (!ansiFolder && folderNotHeld) *folderNotHeld = folder;
  return ansiFolder && HoldsStartup(sGamePath) ? GameLookupOutcome::Success
                                               : GameLookupOutcome::NoStartupFolder;
}

// A small file of Steam's, whole; "" when it is missing, unreadable or too large to be Steam's.
std::string ReadSteamFile(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(WidePath(path), bytes, kLargestKeyValuesFile).ok) return "";
  return bytes;
}

// The folders in which Steam's libraries hold the game, Steam's own folder (a library too) first,
// each <library>\steamapps\common\<installdir>. Steam's files are only read.
std::vector<std::string> SteamGameFolders() {
  // Where Steam says where it is: for the user, with "/" ("c:/program files (x86)/steam"); else
  // where its setup, a 32-bit program, wrote it (HKEY_LOCAL_MACHINE's 32-bit view).
  std::wstring steam = GetRegString(HKEY_CURRENT_USER, "Software\\Valve\\Steam", "SteamPath", L"");
  if (steam.empty())
    steam = GetRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Valve\\Steam", "InstallPath", L"");
  const std::optional<std::string> steamFolder =
      AnsiFolder(steam.empty() ? L"" : FullPathName(steam));
  if (!steamFolder) return {};
  std::vector<std::string> libraries{*steamFolder};
  // Steam writes its files in UTF-8.
  for (const std::string& path :
       SteamLibraries(ReadSteamFile(*steamFolder + "steamapps\\libraryfolders.vdf"))) {
    if (auto library = AnsiFolder(FullPathName(WideFromCodePage(kUtf8CodePage, path))))
      libraries.push_back(*library);
  }
  std::vector<std::string> games;
  for (const std::string& library : libraries) {
    const std::string apps = library + "steamapps\\";
    const std::string installFolder = SteamInstallFolder(
        ReadSteamFile(apps + "appmanifest_" + std::string(kSteamAppId) + ".acf"));
    if (auto game = AnsiFolder(WideFromCodePage(kUtf8CodePage, installFolder)))
      games.push_back(apps + "common\\" + *game);
  }
  return games;
}

}  // namespace

GameLookupOutcome LookUpGamePath(const std::wstring& gameFolderArgument,
                                 std::wstring* folderNotHeld) {
  sGamePath.clear();
  if (folderNotHeld) folderNotHeld->clear();
  // A folder the player named is the one he means: used, or said to be wrong, never exchanged for
  // another installation.
  if (!gameFolderArgument.empty())
    return TakeFolder(FullPathName(gameFolderArgument), folderNotHeld);
  // The program put into the game folder, as on a copied installation without setup.
  if (const std::optional<std::string> own = AnsiFolder(ProgramFolder());
      own && HoldsStartup(*own)) {
    sGamePath = *own;
    return GameLookupOutcome::Success;
  }
  const std::wstring registered = GetRegString(HKEY_LOCAL_MACHINE, std::string(kGameRegistryKey),
                                               std::string(kGameFolderValue), L"");
  if (!registered.empty() && TakeFolder(registered, nullptr) == GameLookupOutcome::Success)
    return GameLookupOutcome::Success;
  for (const std::string& folder : SteamGameFolders()) {
    if (HoldsStartup(folder)) {
      sGamePath = folder;
      return GameLookupOutcome::Success;
    }
  }
  // Nothing found: the registered folder, when there is one, is what the player is told about.
  if (registered.empty()) return GameLookupOutcome::NothingRegistered;
  return TakeFolder(registered, folderNotHeld);
}
