// Undo and redo over whole slot tables: back to the table as loaded and no further, a new change
// dropping what could be redone, and no step back to a table without menus but the loaded one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/MenuHistory.h"

namespace {

// A table whose slots 0, 1, ... are enabled with these names ("" leaves a slot disabled).
MenuCollection Table(const std::vector<std::string>& names) {
  MenuCollection menus = NewMenuTable();
  for (size_t n = 0; n < names.size(); ++n) {
    clsGameMenu* menu = menus.Slot(static_cast<int>(n));
    menu->bEnabled(!names[n].empty());
    menu->sName(names[n]);
  }
  return menus;
}

TEST(MenuHistory, UndoAndRedoWalkTheChangesBetweenTheLoadedTableAndTheLast) {
  const MenuCollection loaded = Table({"A", "B"});
  const MenuCollection added = Table({"A", "B", "C"});
  const MenuCollection moved = Table({"B", "A", "C"});
  const MenuCollection edited = Table({"X", "A", "C"});
  MenuHistory history;
  history.Reset(loaded);
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
  for (const MenuCollection* change : {&added, &moved, &moved, &edited}) history.Record(*change);

  // 'u' undo, 'r' redo, each with the table it shows then; recorded twice, 'moved' is one step.
  struct Step {
    char what;
    const MenuCollection* shown;
    bool canUndo, canRedo;
  };
  const Step steps[] = {
      {'u', &moved, true, true},   {'u', &added, true, true},   {'u', &loaded, false, true},
      {'u', &loaded, false, true}, {'r', &added, true, true},   {'r', &moved, true, true},
      {'r', &edited, true, false}, {'r', &edited, true, false}, {'u', &moved, true, true},
  };
  int n = 0;
  for (const Step& step : steps) {
    const MenuCollection& shown = step.what == 'u' ? history.Undo() : history.Redo();
    EXPECT_TRUE(shown == *step.shown) << "step " << n;
    EXPECT_EQ(history.CanUndo(), step.canUndo) << "step " << n;
    EXPECT_EQ(history.CanRedo(), step.canRedo) << "step " << n;
    ++n;
  }

  // A new change drops what could be redone; the shown table recorded again changes nothing.
  const MenuCollection deleted = Table({"B", "C"});
  history.Record(moved);
  EXPECT_TRUE(history.CanRedo());
  history.Record(deleted);
  EXPECT_FALSE(history.CanRedo());
  EXPECT_TRUE(history.Undo() == moved);
  EXPECT_TRUE(history.Undo() == added);

  // Read again from the file: nothing to undo or redo, and the new table is the first.
  history.Reset(edited);
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
  EXPECT_TRUE(history.Undo() == edited);
  EXPECT_TRUE(history.Redo() == edited);
}

TEST(MenuHistory, AnUndoLeavesNoMenuOnlyWhereItRestoresTheLoadedTable) {
  const MenuCollection none = Table({});
  struct Case {
    std::vector<MenuCollection> tables;  // loaded, then each change
    bool canUndo;                        // from the last
  };
  const Case cases[] = {
      {{none, Table({"A"})}, true},
      {{Table({"A"}), none, Table({"B"})}, false},
      {{Table({"A"}), Table({"", "B"}), Table({"C"})}, true},
  };
  for (const Case& c : cases) {
    MenuHistory history;
    history.Reset(c.tables[0]);
    for (size_t n = 1; n < c.tables.size(); ++n) history.Record(c.tables[n]);
    EXPECT_EQ(history.CanUndo(), c.canUndo) << c.tables.size() << " tables";
    const MenuCollection& shown = history.Undo();
    EXPECT_TRUE(shown == c.tables[c.canUndo ? c.tables.size() - 2 : c.tables.size() - 1]);
  }
}

TEST(MenuHistory, BeforeAnyTableThereIsNothingToUndoOrRedo) {
  MenuHistory history;
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.Undo().Count(), 0);
  EXPECT_EQ(history.Redo().Count(), 0);
}

}  // namespace
