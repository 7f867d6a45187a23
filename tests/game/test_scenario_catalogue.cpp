// The picker's rows, built from the names the scenario folder listing yields.
#include <gtest/gtest.h>

#include <cstdio>
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
  };
  const Case cases[] = {
      {"empty folder", {}, {}},
      {"listing order kept", {"Beta.scn", "alpha.scn", "Gamma.scn"}, {"Beta", "alpha", "Gamma"}},
      {"extension in any case, base keeps its case", {"MyMap.SCN", "x.Scn"}, {"MyMap", "x"}},
      {"built-ins in any case add no row",
       {"~AoM_pgs_Water.scn", "~aom_pgs_water.scn", "~UI_NORSE.scn", "~ui_norse.scn", "Keep.scn"},
       {"Keep"}},
      {"only a whole-base match is a built-in",
       {"~AoM_pgs_Water2.scn", "AoM_pgs_Water.scn", "~UI_Norse .scn", "~UI_Nors.scn"},
       {"~AoM_pgs_Water2", "AoM_pgs_Water", "~UI_Norse ", "~UI_Nors"}},
      {"the cut counts characters, it does not look for the dot",
       {".scn", "a.b.scn", "Map.scnx"},
       {"", "a.b", "Map."}},
      {"names shorter than an extension are skipped", {"", "a", "scn", "Ok.scn"}, {"Ok"}},
      {"bytes of the ANSI code page pass unchanged",
       {"Caf\xE9.scn", "\xC4gypten.scn", "\xFF.scn"},
       {"Caf\xE9", "\xC4gypten", "\xFF"}},
      {"control characters would split user.cfg: skipped",
       {"Line\r\nBreak.scn", "Lf\n.scn", "Tab\tMap.scn", std::string("Nul\0x.scn", 9),
        "Del\x7F.scn", "\x1F.scn", "Fine.scn"},
       {"Fine"}},
  };
  for (const Case& c : cases) {
    Names expected = {"~AoM_pgs_Water", "~UI_Norse"};
    expected.insert(expected.end(), c.fileRows.begin(), c.fileRows.end());
    EXPECT_EQ(BuildScenarioRows(c.files), expected) << c.what;
  }
}

TEST(ScenarioCatalogue, AHundredThousandFilesAllBecomeRowsInOrder) {
  constexpr int kCount = 100000;
  Names files;
  files.reserve(kCount + 2);
  char name[32];
  for (int n = 0; n < kCount; ++n) {
    std::snprintf(name, sizeof name, "Map%06d.scn", n);
    files.push_back(name);
    if (n == kCount / 2) files.push_back("~ui_NORSE.scn");
  }

  const Names rows = BuildScenarioRows(files);

  ASSERT_EQ(rows.size(), static_cast<size_t>(kCount) + 2);
  EXPECT_EQ(rows[0], "~AoM_pgs_Water");
  EXPECT_EQ(rows[1], "~UI_Norse");
  for (int n = 0; n < kCount; ++n) {
    std::snprintf(name, sizeof name, "Map%06d", n);
    ASSERT_EQ(rows[n + 2], name);
  }
}

}  // namespace
