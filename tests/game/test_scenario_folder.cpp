// Listing a real scenario folder as the picker does: which files it offers and in what order.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "tests/support/TempGameFolder.h"

namespace {

void CreateFiles(const std::string& folder, const std::vector<std::string>& names) {
  for (const std::string& name : names) WriteBytes(folder + "\\" + name, "");
}

// The order the picker promises: as CompareStringA orders the names without regard to case, and
// names that it finds equal in byte order.
::testing::AssertionResult InWindowsOrder(const std::vector<std::string>& names) {
  for (size_t i = 1; i < names.size(); ++i) {
    const std::string& a = names[i - 1];
    const std::string& b = names[i];
    const int order = CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(),
                                     static_cast<int>(a.size()), b.c_str(),
                                     static_cast<int>(b.size()));
    if (order == CSTR_GREATER_THAN || (order == CSTR_EQUAL && b < a))
      return ::testing::AssertionFailure() << "\"" << a << "\" comes before \"" << b << "\"";
  }
  return ::testing::AssertionSuccess();
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ScenarioFolder, OffersTheScnFilesInWindowsOrder) {
  TempFolder folder;
  const std::vector<std::string> offered = {
      "Beta.scn", "alpha.scn", "Gamma.SCN", "delta.Scn",  ".scn",       "co-op.scn",
      "coop.scn", "it's.scn",  "Eta.scn",   "Zeus 9.scn", "Zeus 10.scn", "~custom.scn",
      "a b.scn",  "a_b.scn",   "ab.scn",    "\xc9t\xe9.scn" /* Été in the ANSI code page */};
  const std::vector<std::string> others = {"notes.txt", "map.scnx", "scn", "map.sc"};
  CreateFiles(folder.Path(), offered);
  CreateFiles(folder.Path(), others);
  CreateDirectoryA((folder.Path() + "\\folder.scn").c_str(), nullptr);

  std::vector<std::string> names = {"left over"};
  ASSERT_TRUE(ListFolderFiles(folder.Path(), "*.scn", names).ok);
  EXPECT_EQ(Sorted(names), Sorted(offered));
  EXPECT_TRUE(InWindowsOrder(names));
  // Letter case does not decide the order, as it would byte by byte.
  const auto at = [&](const char* name) { return std::find(names.begin(), names.end(), name); };
  EXPECT_LT(at("alpha.scn"), at("Beta.scn"));
  EXPECT_LT(at("Beta.scn"), at("delta.Scn"));
  EXPECT_LT(at("delta.Scn"), at("Gamma.SCN"));
}

TEST(ScenarioFolder, ThousandsOfFilesAllComeAndInOrder) {
  // More names than one request of the listing returns, so that it takes several.
  TempFolder folder;
  const char* stems[] = {"Aegean Sea ", "battle-", "NORSE_", "oasis ", "\xc5land ", "it's "};
  std::vector<std::string> offered;
  for (int i = 0; i < 1500; ++i) {
    offered.push_back(stems[i % 6] + std::to_string((i * 7919) % 10007) +
                      (i % 7 ? ".scn" : ".SCN"));
  }
  CreateFiles(folder.Path(), offered);

  std::vector<std::string> names;
  ASSERT_TRUE(ListFolderFiles(folder.Path(), "*.scn", names).ok);
  EXPECT_EQ(Sorted(names), Sorted(offered));
  EXPECT_TRUE(InWindowsOrder(names));
}

TEST(ScenarioFolder, MissingAndEmptyFoldersAndOtherPatterns) {
  TempFolder folder;
  std::vector<std::string> names = {"left over"};
  EXPECT_TRUE(ListFolderFiles(folder.Path(), "*.scn", names).ok) << "an empty folder";
  EXPECT_TRUE(names.empty());

  names = {"left over"};
  const FileResult missing = ListFolderFiles(folder.Path() + "\\missing", "*.scn", names);
  EXPECT_FALSE(missing.ok);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(missing.file, folder.Path() + "\\missing");

  // A pattern that is not just an extension is matched by the system.
  CreateFiles(folder.Path(), {"Alpha.scn", "another.scn", "Beta.scn", "a.txt"});
  ASSERT_TRUE(ListFolderFiles(folder.Path(), "a*.scn", names).ok);
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha.scn", "another.scn"}));
}

}  // namespace
