// The installation lookup: the registered folder, its startup folder and the two error messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/modMain.h"
#include "game/modGameLookup.h"
#include "platform/MsgBox.h"
#include "tests/support/RegistrySupport.h"
#include "tests/support/TempGameFolder.h"

namespace {

using test_support::MachineValueGuard;
using test_support::SetMachineValue;

const std::string kGamesKey = "Software\\Microsoft\\Microsoft Games";
const std::string kGameKey = kGamesKey + "\\Age of Mythology\\1.0";
const std::string kAppPath = "AppPath";

struct ShownBox {
  std::string prompt;
  unsigned style;
  std::string title;
};
std::vector<ShownBox> shownBoxes;

int RecordBox(const std::string& prompt, unsigned style, const std::string& title) {
  shownBoxes.push_back({prompt, style, title});
  return IDOK;
}

std::string NoStartupPrompt(const std::string& gamePath) {
  return "The game installation points to this directory :\r\n" + gamePath +
         "\r\n\r\nBut this folder does not exist.";
}

class GameLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousHandler_ = SetMsgBoxHandler(&RecordBox);
    shownBoxes.clear();
    sGamePath = "left over";
  }
  void TearDown() override {
    SetMsgBoxHandler(previousHandler_);
    sGamePath.clear();
  }

  // Writes AppPath, runs the lookup and checks its outcome, sGamePath and the one box it showed.
  void ExpectLookup(const char* what, DWORD type, const std::string& bytes,
                    GameLookupOutcome outcome, const std::string& gamePath,
                    const std::string& prompt) {
    ASSERT_TRUE(SetMachineValue(kGameKey, kAppPath, type, bytes)) << what;
    ExpectLookupOfCurrentRegistry(what, outcome, gamePath, prompt);
  }

  void ExpectLookupOfCurrentRegistry(const char* what, GameLookupOutcome outcome,
                                     const std::string& gamePath, const std::string& prompt) {
    shownBoxes.clear();
    EXPECT_EQ(LookUpGamePath(), outcome) << what;
    EXPECT_EQ(sGamePath, gamePath) << what;
    if (prompt.empty()) {
      EXPECT_TRUE(shownBoxes.empty()) << what;
      return;
    }
    ASSERT_EQ(shownBoxes.size(), 1u) << what;
    EXPECT_EQ(shownBoxes[0].prompt, prompt) << what;
    EXPECT_EQ(shownBoxes[0].title, "Invalid AoM path") << what;
    EXPECT_EQ(shownBoxes[0].style, 16u) << what;
  }

  MachineValueGuard appPath_{kGamesKey, kGameKey, kAppPath};
  TempFolder game_;
  MsgBoxHandler previousHandler_ = nullptr;
};

constexpr GameLookupOutcome kSuccess = GameLookupOutcome::Success;
constexpr GameLookupOutcome kNothing = GameLookupOutcome::NothingRegistered;
constexpr GameLookupOutcome kNoStartup = GameLookupOutcome::NoStartupFolder;
const std::string kMessage1 = "Cannot find the folder where AoM is installed.";

TEST_F(GameLookupTest, RegisteredFolderWithStartupFolderSucceeds) {
  const std::string dir = game_.Path();
  // An empty startup folder is enough.
  ASSERT_TRUE(CreateDirectoryA((dir + "\\startup").c_str(), nullptr));
  const std::string z(1, '\0');
  ExpectLookup("no trailing backslash", REG_SZ, dir + z, kSuccess, dir + "\\", "");
  ExpectLookup("trailing backslash kept, not doubled", REG_SZ, dir + "\\" + z, kSuccess,
               dir + "\\", "");
  ExpectLookup("stored without its NUL", REG_SZ, dir, kSuccess, dir + "\\", "");
  ExpectLookup("cut at a NUL inside", REG_SZ, dir + z + "\\elsewhere" + z, kSuccess, dir + "\\",
               "");
}

TEST_F(GameLookupTest, NoUsableRegistryTextShowsMessage1AndLeavesThePathEmpty) {
  const std::string dir = game_.Path();
  ASSERT_TRUE(CreateDirectoryA((dir + "\\startup").c_str(), nullptr));
  ExpectLookup("only the NUL", REG_SZ, std::string(1, '\0'), kNothing, "", kMessage1);
  ExpectLookup("empty before the first NUL", REG_SZ, std::string(1, '\0') + dir, kNothing, "",
               kMessage1);
  ExpectLookup("expandable text is not expanded", REG_EXPAND_SZ, dir + '\0', kNothing, "",
               kMessage1);

  test_support::DeleteMachineValue(kGameKey, kAppPath);
  ExpectLookupOfCurrentRegistry("no value", kNothing, "", kMessage1);
  test_support::DeleteMachineKey(kGameKey);
  ExpectLookupOfCurrentRegistry("no key", kNothing, "", kMessage1);
}

TEST_F(GameLookupTest, MissingStartupFolderShowsMessage2WithTheRegisteredFolder) {
  const std::string dir = game_.Path();
  const std::string z(1, '\0');
  ExpectLookup("folder without startup", REG_SZ, dir + z, kNoStartup, dir + "\\",
               NoStartupPrompt(dir + "\\"));
  ExpectLookup("folder missing too", REG_SZ, dir + "\\gone" + z, kNoStartup, dir + "\\gone\\",
               NoStartupPrompt(dir + "\\gone\\"));

  // A file named startup is no folder.
  const HANDLE file = CreateFileA((dir + "\\startup").c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  ExpectLookup("startup is a file", REG_SZ, dir + "\\" + z, kNoStartup, dir + "\\",
               NoStartupPrompt(dir + "\\"));
}

TEST_F(GameLookupTest, TheMessageOfAFailedLookupCanBeShownAgain) {
  sGamePath = "C:\\Games\\AoM\\";
  ShowGameLookupMessage(kNoStartup);
  ShowGameLookupMessage(kNothing);
  ShowGameLookupMessage(kSuccess);
  ASSERT_EQ(shownBoxes.size(), 2u);
  EXPECT_EQ(shownBoxes[0].prompt, NoStartupPrompt("C:\\Games\\AoM\\"));
  EXPECT_EQ(shownBoxes[1].prompt, kMessage1);
  for (const ShownBox& box : shownBoxes) {
    EXPECT_EQ(box.title, "Invalid AoM path");
    EXPECT_EQ(box.style, 16u);
  }
}

}  // namespace
