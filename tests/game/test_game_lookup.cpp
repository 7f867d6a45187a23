// The installation lookup against AppPath values the test writes into the registry: the folder it
// yields and the error message its outcome is shown with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <tuple>
#include <vector>

#include "core/modMain.h"
#include "game/SteamFiles.h"
#include "game/modGameLookup.h"
#include "platform/AnsiText.h"
#include "tests/support/HandlerGuard.h"
#include "tests/support/RegistrySupport.h"
#include "tests/support/TempGameFolder.h"
#include "ui/PlayerMessages.h"

using namespace test_support;

namespace {

std::vector<std::string> shownBoxes;  // style, title and prompt of each box

int RecordBox(const std::string& prompt, unsigned style, const std::string& title) {
  shownBoxes.push_back(std::to_string(style) + " " + title + ": " + prompt);
  return IDOK;
}

// The lookup as the main window makes it: a failed one is followed by its message, recorded
// afresh in shownBoxes.
GameLookupOutcome LookUpAndShow(const std::wstring& argument = L"",
                                std::wstring* folderNotHeld = nullptr) {
  shownBoxes.clear();
  std::wstring notHeld;
  const GameLookupOutcome outcome = LookUpGamePath(argument, &notHeld);
  ShowGameLookupMessage(outcome, notHeld);
  if (folderNotHeld) *folderNotHeld = notHeld;
  return outcome;
}

std::string NoStartupBox(const std::string& folder) {
  return "16 Invalid AoM path: The game installation points to this directory :\r\n" + folder +
         "\r\n\r\nBut this folder does not exist.";
}

std::vector<std::string> BoxesOf(const std::string& box) {
  return box.empty() ? std::vector<std::string>{} : std::vector<std::string>{box};
}

// A recorded box gets a prompt given in UTF-16 as UTF-8.
std::string Utf8Of(const std::wstring& text) {
  std::string utf8(text.size() * 3, '\0');
  utf8.resize(static_cast<size_t>(
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                          static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

bool MakeGameFolder(const std::wstring& folder) {
  return CreateDirectoryW(folder.c_str(), nullptr) &&
         CreateDirectoryW((folder + L"\\startup").c_str(), nullptr);
}

// Values in the 32-bit view, where the game's 32-bit setup writes them; the lookup also reads a
// value that only the 64-bit view holds, but the setup's wins.
TEST(GameLookup, FolderFromAppPathAndTheMessageOfEachFailure) {
  test_support::MachineValueGuard appPath{kGamesKey, kGameKey, kAppPath};
  test_support::MachineValueGuard appPath64{kGamesKey, kGameKey, kAppPath,
                                            test_support::kNativeView};
  test_support::DeleteMachineKey(kGameKey, test_support::kNativeView);
  TempFolder game, bare, other;  // `game` and `other` have an empty startup folder, `bare` none
  ASSERT_TRUE(CreateDirectoryA((game.Path() + "\\startup").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((other.Path() + "\\startup").c_str(), nullptr));
  const std::string dir = game.Path(), z(1, '\0');
  const std::string nothing = "16 Invalid AoM path: Cannot find the folder where AoM is installed.";
  constexpr DWORD kNoValue = ~0u - 1, kNoKey = ~0u;
  struct Case {
    const char* what;
    DWORD type;
    std::string bytes;
    GameLookupOutcome outcome;
    std::string gamePath, box;
    std::string native = "";  // a REG_SZ text in the 64-bit view
  };
  const Case cases[] = {
      {"no trailing backslash", REG_SZ, dir + z, GameLookupOutcome::Success, dir + "\\", ""},
      {"trailing backslash", REG_SZ, dir + "\\" + z, GameLookupOutcome::Success, dir + "\\", ""},
      {"stored without its NUL", REG_SZ, dir, GameLookupOutcome::Success, dir + "\\", ""},
      {"cut at a NUL inside", REG_SZ, dir + z + "\\x" + z, GameLookupOutcome::Success, dir + "\\",
       ""},
      {"only the NUL", REG_SZ, z, GameLookupOutcome::NothingRegistered, "", nothing},
      {"expandable text", REG_EXPAND_SZ, dir + z, GameLookupOutcome::NothingRegistered, "",
       nothing},
      {"no value", kNoValue, "", GameLookupOutcome::NothingRegistered, "", nothing},
      {"no key", kNoKey, "", GameLookupOutcome::NothingRegistered, "", nothing},
      {"no startup folder", REG_SZ, bare.Path() + z, GameLookupOutcome::NoStartupFolder,
       bare.Path() + "\\", NoStartupBox(bare.Path() + "\\")},
      {"only in the 64-bit view", kNoKey, "", GameLookupOutcome::Success, dir + "\\", "", dir},
      {"empty in the 32-bit view", REG_SZ, z, GameLookupOutcome::Success, dir + "\\", "", dir},
      {"both views: the setup's wins", REG_SZ, other.Path() + z, GameLookupOutcome::Success,
       other.Path() + "\\", "", dir},
  };
  const MsgBoxGuard recorder(&RecordBox);
  for (const Case& c : cases) {
    if (c.type == kNoKey) {
      test_support::DeleteMachineKey(kGameKey);
    } else if (c.type == kNoValue) {
      test_support::DeleteMachineValue(kGameKey, kAppPath);
    } else {
      ASSERT_TRUE(test_support::SetMachineValue(kGameKey, kAppPath, c.type, c.bytes)) << c.what;
    }
    if (c.native.empty()) {
      test_support::DeleteMachineKey(kGameKey, test_support::kNativeView);
    } else {
      ASSERT_TRUE(test_support::SetMachineValue(kGameKey, kAppPath, REG_SZ, c.native + '\0',
                                                test_support::kNativeView));
    }
    sGamePath = "left over";
    EXPECT_EQ(LookUpAndShow(), c.outcome) << c.what;
    EXPECT_EQ(sGamePath, c.gamePath) << c.what;
    EXPECT_EQ(shownBoxes, BoxesOf(c.box)) << c.what;
  }
  sGamePath.clear();
}

// A folder on the command line is used instead of the registry, made a full path; it never
// gives the message about nothing registered.
TEST(GameLookup, FolderOnTheCommandLineReplacesTheRegistry) {
  test_support::MachineValueGuard appPath{kGamesKey, kGameKey, kAppPath};
  test_support::DeleteMachineKey(kGameKey);
  TempFolder game, bare;
  ASSERT_TRUE(CreateDirectoryA((game.Path() + "\\startup").c_str(), nullptr));
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  struct Case {
    std::string argument;
    GameLookupOutcome outcome;
    std::string gamePath, box;
  };
  const Case cases[] = {
      {game.Path(), GameLookupOutcome::Success, game.Path() + "\\", ""},
      {game.Path() + "\\", GameLookupOutcome::Success, game.Path() + "\\", ""},
      {game.Path() + "/.", GameLookupOutcome::Success, game.Path() + "\\", ""},
      {bare.Path(), GameLookupOutcome::NoStartupFolder, bare.Path() + "\\",
       NoStartupBox(bare.Path() + "\\")},
  };
  const MsgBoxGuard recorder(&RecordBox);
  for (const Case& c : cases) {
    EXPECT_EQ(LookUpAndShow(WideFromAnsi(c.argument)), c.outcome) << c.argument;
    EXPECT_EQ(sGamePath, c.gamePath) << c.argument;
    EXPECT_EQ(shownBoxes, BoxesOf(c.box));
  }
  // Relative to the current folder, as a command line typed in a console means it.
  ASSERT_TRUE(SetCurrentDirectoryA(game.Path().c_str()));
  EXPECT_EQ(LookUpGamePath(L"."), GameLookupOutcome::Success);
  EXPECT_EQ(sGamePath, game.Path() + "\\");
  SetCurrentDirectoryA(current);
  sGamePath.clear();
}

// Folder names as characters of the code page the test runs in (make test runs it in Japanese,
// Chinese and Russian too), from the registry and from the command line. Where the code page holds
// the name the folder is found, also when its last byte is that of "\" (表 is 95 5C in code
// page 932); where it cannot, the lookup names the folder as written and never opens its
// look-alike ("Omega" for "Ωmega" in code page 1252), although that one exists.
TEST(GameLookup, FolderNamedInAnyScriptIsFoundOrNamedAsWritten) {
  test_support::MachineValueGuard appPath{kGamesKey, kGameKey, kAppPath};
  TempFolder root;
  const std::wstring base = WideFromAnsi(root.Path()) + L"\\";
  ASSERT_TRUE(MakeGameFolder(base + L"Omega"));
  const MsgBoxGuard recorder(&RecordBox);
  // A last trail byte of 0x5C: 表 and ソ能 in 932, 乗 in 936, 功許 in 950.
  for (const std::wstring name : {L"表", L"ソ能", L"乗", L"功許", L"\u03A9mega"}) {
    const std::wstring folder = base + name;
    ASSERT_TRUE(MakeGameFolder(folder));
    const std::optional<std::string> held = AnsiFromWide(folder);
    ASSERT_TRUE(test_support::SetMachineText(kGameKey, kAppPath, folder));
    for (const std::wstring& argument : {std::wstring(), folder + L"\\"}) {
      std::wstring notHeld = L"unchanged";
      const GameLookupOutcome outcome = LookUpAndShow(argument, &notHeld);
      const std::string what = std::to_string(AnsiCodePage()) +
                               (argument.empty() ? " registry, " : " command line, ") +
                               std::to_string(name.size()) + " characters";
      EXPECT_EQ(outcome, held ? GameLookupOutcome::Success : GameLookupOutcome::NoStartupFolder)
          << what;
      EXPECT_EQ(sGamePath, held ? *held + "\\" : "") << what;
      EXPECT_EQ(notHeld, held ? L"" : folder + (argument.empty() ? L"" : L"\\")) << what;
      EXPECT_EQ(shownBoxes, BoxesOf(held ? "" : NoStartupBox(Utf8Of(folder) + "\\"))) << what;
    }
  }
  sGamePath.clear();
}

// Steam's files name folders with each "\\" written as "\\\\".
std::string Escaped(const std::string& path) {
  std::string escaped;
  for (const char c : path) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return escaped;
}

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Steam's own folder and a second library, as Steam lays them out, the game in either or both:
// Steam's folder for the user in HKEY_CURRENT_USER written as Steam writes it, in lower case with
// "/", or only where its setup put it, HKEY_LOCAL_MACHINE's 32-bit view; libraryfolders.vdf in
// today's form or the old one, or damaged; the app manifest naming the game's folder, which
// holds startup or not (a game uninstalled leaves its folder behind). The registered AppPath comes
// first, when it holds startup; else the first Steam library with the game does.
TEST(GameLookup, SteamLibrariesAfterTheRegistry) {
  test_support::MachineValueGuard appPath{kGamesKey, kGameKey, kAppPath};
  const test_support::SteamKeysGuard steamKeys;
  TempFolder root;
  const std::string steam = root.Path() + "\\Steam", library = root.Path() + "\\SteamLibrary";
  const std::string manifest = "steamapps\\appmanifest_" + std::string(kSteamAppId) + ".acf";
  const std::string inSteam = steam + "\\steamapps\\common\\Age of Mythology\\";
  const std::string inLibrary = library + "\\steamapps\\common\\AoM EE\\";
  const std::string todays = "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" +
                             Escaped(steam) + "\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" +
                             Escaped(library) + "\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"" +
                             std::string(kSteamAppId) + "\"\t\t\"3418710263\"\n\t\t}\n\t}\n}\n";
  const std::string old =
      "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1609459200\"\n"
      "\t\"ContentStatsID\"\t\t\"-4519864474624416385\"\n\t\"1\"\t\t\"" +
      Escaped(library) + "\"\n}\n";
  const auto app = [](const std::string& folder) {
    return "\"AppState\"\n{\n\t\"appid\"\t\t\"266840\"\n\t\"installdir\"\t\t\"" + folder +
           "\"\n\t\"StateFlags\"\t\t\"4\"\n}\n";
  };
  TempFolder registered;  // AppPath, with a startup folder or not
  enum Where { kNone = 0, kSteam = 1, kLibrary = 2, kBoth = 3 };
  struct Case {
    const char* what;
    bool forUser;     // SteamPath for the user, else only InstallPath for the machine
    std::string vdf;  // libraryfolders.vdf
    int manifests;    // the libraries whose app manifest names the game
    int games;        // the libraries where the game's folder holds startup
    int appPath;      // 0 none, 1 a folder without startup, 2 a game folder
    GameLookupOutcome outcome;
    std::string gamePath;
  };
  const std::string gone = registered.Path() + "\\";
  const Case cases[] = {
      {"today's form, the second library", true, todays, kLibrary, kLibrary, 0,
       GameLookupOutcome::Success, inLibrary},
      {"the old form", true, old, kLibrary, kLibrary, 0, GameLookupOutcome::Success, inLibrary},
      {"Steam's own folder, no vdf", true, "", kSteam, kSteam, 0, GameLookupOutcome::Success,
       inSteam},
      {"Steam's own folder first", true, todays, kBoth, kBoth, 0, GameLookupOutcome::Success,
       inSteam},
      {"a folder left behind is passed over", true, old, kBoth, kLibrary, 0,
       GameLookupOutcome::Success, inLibrary},
      {"the machine's InstallPath", false, todays, kLibrary, kLibrary, 0,
       GameLookupOutcome::Success, inLibrary},
      {"a damaged vdf: Steam's folder only", true, "\"libraryfolders\" { \"1\" {", kBoth, kBoth, 0,
       GameLookupOutcome::Success, inSteam},
      {"a damaged vdf, the game elsewhere", true, todays.substr(0, 60), kLibrary, kLibrary, 0,
       GameLookupOutcome::NothingRegistered, ""},
      {"no manifest", true, todays, kNone, kLibrary, 0, GameLookupOutcome::NothingRegistered, ""},
      {"AppPath first", true, todays, kLibrary, kLibrary, 2, GameLookupOutcome::Success, gone},
      {"AppPath without startup", true, todays, kLibrary, kLibrary, 1, GameLookupOutcome::Success,
       inLibrary},
      {"nothing anywhere: AppPath named", true, todays, kLibrary, kNone, 1,
       GameLookupOutcome::NoStartupFolder, gone},
  };
  const MsgBoxGuard recorder(&RecordBox);
  for (const Case& c : cases) {
    test_support::SteamKeysGuard::Remove();
    RemoveTree(steam);
    RemoveTree(library);
    RemoveTree(gone + "startup");
    // Steam writes its folder for the user in lower case, with "/".
    std::string written = steam;
    std::replace(written.begin(), written.end(), '\\', '/');
    ASSERT_TRUE(c.forUser ? test_support::SetMachineText(test_support::kSteamKey, "SteamPath",
                                                         WideFromAnsi(Lowered(written)),
                                                         HKEY_CURRENT_USER)
                          : test_support::SetMachineText(test_support::kSteamKey, "InstallPath",
                                                         WideFromAnsi(steam)));
    if (!c.vdf.empty()) {
      ASSERT_TRUE(WriteBytesMakingFolders(steam + "\\steamapps\\libraryfolders.vdf", c.vdf));
    }
    for (const auto& [where, base, folder] :
         {std::tuple{kSteam, steam, inSteam}, std::tuple{kLibrary, library, inLibrary}}) {
      const std::string name = where == kSteam ? "Age of Mythology" : "AoM EE";
      if (c.manifests & where) {
        ASSERT_TRUE(WriteBytesMakingFolders(base + "\\" + manifest, app(name)));
      }
      ASSERT_TRUE(WriteBytesMakingFolders(
          folder + (c.games & where ? "startup\\user.cfg" : "aom.exe"), ""));
    }
    if (c.appPath == 0) test_support::DeleteMachineValue(kGameKey, kAppPath);
    if (c.appPath > 0) {
      ASSERT_TRUE(test_support::SetMachineText(kGameKey, kAppPath, WideFromAnsi(gone)));
    }
    if (c.appPath == 2) {
      ASSERT_TRUE(CreateDirectoryA((gone + "startup").c_str(), nullptr));
    }
    EXPECT_EQ(LookUpAndShow(), c.outcome) << c.what;
    EXPECT_EQ(Lowered(sGamePath), Lowered(c.gamePath)) << c.what;
  }
  sGamePath.clear();
}

}  // namespace
