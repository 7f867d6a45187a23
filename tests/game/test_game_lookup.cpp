// The installation lookup against AppPath values the test writes into the registry: the folder it
// yields and the error message it shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/modMain.h"
#include "game/modGameLookup.h"
#include "platform/MsgBox.h"
#include "tests/support/RegistrySupport.h"
#include "tests/support/TempGameFolder.h"

namespace {

const std::string kGamesKey = "Software\\Microsoft\\Microsoft Games";
const std::string kGameKey = kGamesKey + "\\Age of Mythology\\1.0";
const std::string kAppPath = "AppPath";

std::vector<std::string> shownBoxes;  // style, title and prompt of each box

int RecordBox(const std::string& prompt, unsigned style, const std::string& title) {
  shownBoxes.push_back(std::to_string(style) + " " + title + ": " + prompt);
  return IDOK;
}

TEST(GameLookup, FolderFromAppPathAndTheMessageOfEachFailure) {
  test_support::MachineValueGuard appPath{kGamesKey, kGameKey, kAppPath};
  TempFolder game, bare;  // `game` has an empty startup folder, `bare` none
  ASSERT_TRUE(CreateDirectoryA((game.Path() + "\\startup").c_str(), nullptr));
  const std::string dir = game.Path(), z(1, '\0');
  const std::string nothing = "16 Invalid AoM path: Cannot find the folder where AoM is installed.";
  constexpr DWORD kNoValue = ~0u - 1, kNoKey = ~0u;
  struct Case {
    const char* what;
    DWORD type;
    std::string bytes;
    GameLookupOutcome outcome;
    std::string gamePath, box;
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
       bare.Path() + "\\",
       "16 Invalid AoM path: The game installation points to this directory :\r\n" + bare.Path() +
           "\\\r\n\r\nBut this folder does not exist."},
  };
  const MsgBoxHandler previous = SetMsgBoxHandler(&RecordBox);
  for (const Case& c : cases) {
    if (c.type == kNoKey) {
      test_support::DeleteMachineKey(kGameKey);
    } else if (c.type == kNoValue) {
      test_support::DeleteMachineValue(kGameKey, kAppPath);
    } else {
      ASSERT_TRUE(test_support::SetMachineValue(kGameKey, kAppPath, c.type, c.bytes)) << c.what;
    }
    shownBoxes.clear();
    sGamePath = "left over";
    EXPECT_EQ(LookUpGamePath(), c.outcome) << c.what;
    EXPECT_EQ(sGamePath, c.gamePath) << c.what;
    EXPECT_EQ(shownBoxes, c.box.empty() ? std::vector<std::string>{}
                                        : std::vector<std::string>{c.box})
        << c.what;
  }
  SetMsgBoxHandler(previous);
  sGamePath.clear();
}

}  // namespace
