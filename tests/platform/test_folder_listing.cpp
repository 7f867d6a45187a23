// The folder listing on a real scenario folder, as the picker lists it: which files it offers and
// in what order.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/AnsiText.h"
#include "platform/FolderListing.h"
#include "tests/support/TempGameFolder.h"

using namespace test_support;

namespace {

// The order the picker promises: as CompareStringA orders the names without regard to case, and
// names that it finds equal in byte order.
::testing::AssertionResult InWindowsOrder(const std::vector<std::string>& names) {
  for (size_t i = 1; i < names.size(); ++i) {
    const std::string& a = names[i - 1];
    const std::string& b = names[i];
    const int order =
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                       b.c_str(), static_cast<int>(b.size()));
    if (order == CSTR_GREATER_THAN || (order == CSTR_EQUAL && b < a))
      return ::testing::AssertionFailure() << "\"" << a << "\" comes before \"" << b << "\"";
  }
  return ::testing::AssertionSuccess();
}

TEST(ScenarioFolder, OffersTheScnFilesOnlyInWindowsOrderAndFailsForAMissingFolder) {
  TempFolder folder;
  std::vector<std::string> offered = {
      "Beta.scn",    "alpha.scn", "Gamma.SCN", "delta.Scn",    ".scn",
      "co-op.scn",   "coop.scn",  "it's.scn",  "Zeus 9.scn",   "Zeus 10.scn",
      "~custom.scn", "a_b.scn",   "ab.scn",    "\xc9t\xe9.scn" /* Été in the ANSI code page */};
  // More names than one request of the listing returns, so that it takes several.
  const char* stems[] = {"Aegean Sea ", "battle-", "NORSE_", "oasis ", "\xc5land "};
  for (int i = 0; i < 1500; ++i) {
    offered.push_back(stems[i % 5] + std::to_string((i * 7919) % 10007) +
                      (i % 7 ? ".scn" : ".SCN"));
  }
  for (const std::string& name : offered) WriteBytes(folder.Path() + "\\" + name, "");
  for (const char* other : {"notes.txt", "map.scnx", "scn", "map.sc"}) {
    WriteBytes(folder.Path() + "\\" + other, "");
  }
  CreateDirectoryA((folder.Path() + "\\folder.scn").c_str(), nullptr);
  // Names as a player's system makes them, in UTF-16: one the code page holds (Café, offered byte
  // for byte), and ones it cannot hold exactly, which best-fit mapping would offer as "Omega",
  // "Lodz" or with "?" in place: files that do not exist.
  const auto writeWide = [&](const std::wstring& name) {
    MakeEmptyFile(std::wstring(folder.Path().begin(), folder.Path().end()) + L"\\" + name);
  };
  ASSERT_EQ(GetACP(), 1252u) << "the prefix's ANSI code page, which these names are made for";
  writeWide(L"Caf\u00e9.scn");
  offered.push_back("Caf\xe9.scn");
  for (const wchar_t* unheld : {L"\u03a9mega.scn", L"\u0141\u00f3d\u017a.scn", L"\u65e5\u672c.scn"})
    writeWide(unheld);

  std::vector<std::string> names = {"left over"};
  ASSERT_TRUE(ListFolderFiles({folder.Path()}, ".scn", names).ok);
  EXPECT_TRUE(InWindowsOrder(names));
  std::vector<std::string> sorted = names;
  std::sort(sorted.begin(), sorted.end());
  std::sort(offered.begin(), offered.end());
  EXPECT_EQ(sorted, offered);

  names = {"left over"};
  const FileResult missing = ListFolderFiles({folder.Path() + "\\missing"}, ".scn", names);
  EXPECT_FALSE(missing.ok);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(missing.file, folder.Path() + "\\missing");
}

// A game under Program Files is seen by the game as its folder and Windows' per-user copy of it
// together: one listing, each name once whatever its letter case, in the one order.
TEST(ScenarioFolder, SeveralFoldersListAsOne) {
  TempFolder real, copy;
  for (const char* name : {"Beta.scn", "Shared.scn", "zeta.scn"})
    WriteBytes(real.Path() + "\\" + name, "");
  for (const char* name : {"alpha.scn", "SHARED.scn", "Mine.scn", "notes.txt"})
    WriteBytes(copy.Path() + "\\" + name, "");

  std::vector<std::string> names;
  ASSERT_TRUE(ListFolderFiles({real.Path(), copy.Path()}, ".scn", names).ok);
  ASSERT_EQ(names.size(), 5u);
  EXPECT_EQ(names[0] + names[1] + names[2], "alpha.scnBeta.scnMine.scn");
  EXPECT_TRUE(names[3] == "Shared.scn" || names[3] == "SHARED.scn") << names[3];
  EXPECT_EQ(names[4], "zeta.scn");

  // No per-user copy yet (the player never saved a scenario): the real folder alone.
  ASSERT_TRUE(ListFolderFiles({real.Path(), copy.Path() + "\\missing"}, ".scn", names).ok);
  EXPECT_EQ(names, (std::vector<std::string>{"Beta.scn", "Shared.scn", "zeta.scn"}));
  EXPECT_FALSE(
      ListFolderFiles({real.Path() + "\\missing", copy.Path() + "\\missing"}, ".scn", names).ok);
  EXPECT_TRUE(names.empty());
  // Names in the player's script, where the code page holds them (make test runs this in
  // Japanese, Chinese, Korean and Russian too): 表示 in both folders once; ア and ャ (83 41 and
  // 83 61 in 932), 갂 and 갵 (81 41 and 81 61 in 949) differ in a trail byte that is "A" in one
  // and "a" in the other, and stay two files.
  const std::vector<const wchar_t*> trailCasePairs = {L"ア.scn", L"ャ.scn", L"갂.scn", L"갵.scn"};
  for (const auto& [folder, name] : {std::pair{&real, L"表示.scn"}, {&copy, L"表示.SCN"}})
    MakeEmptyFile(WideFromAnsi(folder->Path()) + L"\\" + name);
  size_t held = AnsiFromWide(L"表示.scn") ? 1 : 0;
  for (size_t i = 0; i < trailCasePairs.size(); ++i) {
    MakeEmptyFile(WideFromAnsi((i % 2 ? copy : real).Path()) + L"\\" + trailCasePairs[i]);
    if (AnsiFromWide(trailCasePairs[i])) ++held;
  }
  ASSERT_TRUE(ListFolderFiles({real.Path(), copy.Path()}, ".scn", names).ok);
  EXPECT_EQ(names.size(), 5 + held) << GetACP();
  EXPECT_TRUE(InWindowsOrder(names));
  for (const wchar_t* wide : trailCasePairs) {
    if (const std::optional<std::string> name = AnsiFromWide(wide)) {
      EXPECT_NE(std::find(names.begin(), names.end(), *name), names.end()) << GetACP();
    }
  }
}

}  // namespace
