// Undo and redo over whole slot tables: back to the table as loaded and no further, a new change
// dropping what could be redone, and no step back to a table without menus but the loaded one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/MenuHistory.h"

namespace {

// A table whose slots 0, 1, ... are enabled with these names ("" leaves a slot disabled).
MenuCollection Table(const std::vector<std::string>& names) {
  MenuCollection menus;
  for (size_t n = 0; n < names.size(); ++n) {
    menus.Slot(static_cast<int>(n))->bEnabled(!names[n].empty());
    menus.Slot(static_cast<int>(n))->sName(names[n]);
  }
  return menus;
}

TEST(MenuHistory, UndoAndRedoWalkTheChangesBetweenTheLoadedTableAndTheLast) {
  const std::vector<MenuCollection> t = {Table({"A", "B"}), Table({"A", "B", "C"}),
                                         Table({"B", "A", "C"}), Table({"X", "A", "C"}),
                                         Table({"B", "C"})};
  MenuHistory history;
  EXPECT_EQ(history.Step(true), MenuCollection()) << "nothing before a table was loaded";
  history.Reset(t[0]);
  // 'u' undo, 'r' redo, a digit: that table recorded (t[2] twice is one change); with the table
  // shown after each and whether undo and redo can act then.
  const struct {
    char what;
    int shown;
    bool canUndo, canRedo;
  } steps[] = {
      {'1', 1, true, false}, {'2', 2, true, false}, {'2', 2, true, false}, {'3', 3, true, false},
      {'u', 2, true, true},  {'u', 1, true, true},  {'u', 0, false, true}, {'u', 0, false, true},
      {'r', 1, true, true},  {'r', 2, true, true},  {'r', 3, true, false}, {'r', 3, true, false},
      {'u', 2, true, true},  {'2', 2, true, true},  {'4', 4, true, false}, {'u', 2, true, true},
  };
  for (const auto& step : steps) {
    if (step.what == 'u' || step.what == 'r') {
      const MenuCollection& shown = history.Step(step.what == 'u');
      EXPECT_TRUE(shown == t[step.shown]) << step.what << " to " << step.shown;
    } else {
      history.Record(t[step.what - '0']);
    }
    EXPECT_EQ(history.CanUndo(), step.canUndo) << step.what << " to " << step.shown;
    EXPECT_EQ(history.CanRedo(), step.canRedo) << step.what << " to " << step.shown;
  }
  // Read again from the file: nothing to undo or redo, and the new table is the first.
  history.Reset(t[3]);
  EXPECT_FALSE(history.CanUndo() || history.CanRedo());
  EXPECT_TRUE(history.Step(true) == t[3] && history.Step(false) == t[3]);
}

TEST(MenuHistory, AnUndoLeavesNoMenuOnlyWhereItRestoresTheLoadedTable) {
  const MenuCollection none = Table({});
  const struct {
    std::vector<MenuCollection> tables;  // loaded, then each change
    bool canUndo;                        // from the last
  } cases[] = {
      {{none, Table({"A"})}, true},
      {{Table({"A"}), none, Table({"B"})}, false},
      {{Table({"A"}), Table({"", "B"}), Table({"C"})}, true},
  };
  for (const auto& c : cases) {
    MenuHistory history;
    history.Reset(c.tables[0]);
    for (size_t n = 1; n < c.tables.size(); ++n) history.Record(c.tables[n]);
    EXPECT_EQ(history.CanUndo(), c.canUndo) << c.tables.size() << " tables";
    EXPECT_TRUE(history.Step(true) == c.tables[c.tables.size() - (c.canUndo ? 2 : 1)]);
  }
}

}  // namespace
