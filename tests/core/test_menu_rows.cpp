// The main list's rows and selection as the table changes.
#include <gtest/gtest.h>

#include "core/MenuRows.h"
#include "core/UserCfgFormat.h"

namespace {

TEST(MenuRows, OneRowPerEnabledSlotRememberingItsSlot) {
  MenuCollection menus;
  ReadAttractModeLines(
      "attractMode-scenario-3 Three\r\nattractMode-scenario-0 ~AoM_pgs_Water\r\n"
      "-attractMode-scenario-1\r\nattractMode-scenario-9 \r\n",
      menus);
  EXPECT_EQ(BuildMenuRows(menus),
            (std::vector<MenuRow>{
                {0, "Menu 0 : ~AoM_pgs_Water"}, {3, "Menu 3 : Three"}, {9, "Menu 9 : "}}));
  EXPECT_TRUE(BuildMenuRows(MenuCollection()).empty());
}

TEST(MenuRows, SelectionStaysOrMovesToTheNewLastRow) {
  struct Case {
    int previous, rows, expected;
  };
  const Case cases[] = {
      {-1, 3, 0},   // first fill: the first row
      {-1, 0, -1},  // nothing to select
      {1, 3, 1},    // an inner row removed or a row added: same index
      {2, 2, 1},    // the last row removed: the new last row
      {0, 0, -1},   // the only row gone
      {7, 2, 1},    // never beyond the list
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SelectionAfterRefresh(c.previous, c.rows), c.expected)
        << "previous " << c.previous << ", rows " << c.rows;
  }
}

}  // namespace
