// The picker's rows, built from the names the scenario folder listing yields.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/ScenarioCatalogue.h"

namespace {

using Names = std::vector<std::string>;

TEST(ScenarioCatalogue, RowsAreTheBuiltInsThenEachFileWithoutItsExtension) {
  struct Case {
    const char* what;
    Names files;
    Names fileRows;  // the rows after the two built-ins
    unsigned codePage = 1252;
  };
  const Case cases[] = {
      {"empty folder", {}, {}},
      {"listing order kept, extension in any case, base keeps its case",
       {"Beta.scn", "alpha.scn", "MyMap.SCN", "x.Scn"},
       {"Beta", "alpha", "MyMap", "x"}},
      {"built-ins in any case add no row; only a whole-base match is one",
       {"~aom_pgs_water.scn", "~UI_NORSE.scn", "~AoM_pgs_Water2.scn", "AoM_pgs_Water.scn"},
       {"~AoM_pgs_Water2", "AoM_pgs_Water"}},
      {"the cut takes the extension, not from the first dot", {"a.b.scn", ".x.scn"}, {"a.b", ".x"}},
      {"names without a base (OK could not hand one back) are skipped",
       {"", "scn", ".scn", ".SCN", "Ok.scn"},
       {"Ok"}},
      {"ANSI code page bytes pass unchanged", {"Caf\xE9.scn", "\xFF.scn"}, {"Caf\xE9", "\xFF"}},
      // 表示 and ア in code page 932: trail bytes 0x5C ("\") and 0x41 ("A") stay as they are.
      {"double-byte names beside a built-in in another case",
       {"\x95\x5C\x8E\xA6.scn", "~ui_norse.scn", "\x83\x41.scn"},
       {"\x95\x5C\x8E\xA6", "\x83\x41"},
       932},
      {"control characters would split user.cfg: skipped",
       {"Line\r\nBreak.scn", "Tab\tMap.scn", std::string("Nul\0x.scn", 9), "Del\x7F.scn",
        "Fine.scn"},
       {"Fine"}},
  };
  for (const Case& c : cases) {
    Names expected = {"~AoM_pgs_Water", "~UI_Norse"};
    expected.insert(expected.end(), c.fileRows.begin(), c.fileRows.end());
    EXPECT_EQ(BuildScenarioRows(c.files, c.codePage), expected) << c.what;
  }
}

TEST(ScenarioCatalogue, AHundredThousandFilesAllBecomeRowsInOrder) {
  Names files, expected = {"~AoM_pgs_Water", "~UI_Norse"};
  for (int n = 0; n < 100000; ++n) {
    files.push_back("Map" + std::to_string(n) + ".scn");
    expected.push_back("Map" + std::to_string(n));
  }
  files.insert(files.begin() + 50000, "~ui_NORSE.scn");
  EXPECT_TRUE(BuildScenarioRows(files, 1252) == expected);  // not printed: a hundred thousand rows
}

}  // namespace
