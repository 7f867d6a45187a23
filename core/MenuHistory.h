#pragma once
// The changes made in the main window, for undo and redo: the slot table as it was loaded and
// after each change since, and the place of the table now shown among them. Whole tables are
// kept: ten short records each, and going back is plainly right whatever the change was.
#include <cstddef>
#include <vector>

#include "core/MenuCollection.h"

class MenuHistory {
 public:
  // Starts anew from this table, as it was read from the file: nothing to undo or redo.
  void Reset(const MenuCollection& loaded);

  // The table after a change: it becomes the one shown, and what was undone can no longer be
  // redone. A table equal to the one shown is no change and is not recorded.
  void Record(const MenuCollection& changed);

  // An undo goes back one change, never before the loaded table, and never to a table without
  // an enabled slot unless that is the loaded one.
  bool CanUndo() const;
  bool CanRedo() const;

  // Steps back (undo) or forward (redo) and returns the table to show; without a step, the one
  // shown.
  const MenuCollection& Step(bool back);

 private:
  // [0] as loaded, then one after each change.
  std::vector<MenuCollection> m_tables = std::vector<MenuCollection>(1);
  std::size_t m_shown = 0;
};
