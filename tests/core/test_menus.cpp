// The slot operations on the table: adding fills the first free place, removing closes the gap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/modMain.h"
#include "core/modMenus.h"

namespace {

// A slot as "name" when enabled, "-" when disabled and empty, "-name" when disabled with a name.
std::vector<std::string> Slots() {
  std::vector<std::string> slots;
  for (const clsGameMenu& menu : colMenus) {
    slots.push_back(menu.bEnabled() ? menu.sName() : "-" + menu.sName());
  }
  return slots;
}

void Enable(const std::vector<std::string>& names) {
  InitMenus();
  for (size_t n = 0; n < names.size(); ++n) {
    clsGameMenu* menu = colMenus.Slot(static_cast<int>(n));
    const bool disabled = names[n].starts_with("-");
    menu->bEnabled(!disabled);
    menu->sName(disabled ? names[n].substr(1) : names[n]);
  }
}

void ExpectIdsInPlace() {
  int n = 0;
  for (const clsGameMenu& menu : colMenus) {
    EXPECT_EQ(menu.nId(), n);
    ++n;
  }
  EXPECT_EQ(n, 10);
}

TEST(SlotTable, InitMenusMakesTenEmptyDisabledSlotsNumberedInOrder) {
  colMenus.Slot(4)->bEnabled(true);
  InitMenus();
  EXPECT_EQ(Slots(), std::vector<std::string>(10, "-"));
  ExpectIdsInPlace();
  EXPECT_NE(colMenus.Slot(9), nullptr);
  EXPECT_EQ(colMenus.Slot(10), nullptr);
  EXPECT_EQ(colMenus.Slot(-1), nullptr);
}

TEST(SlotTable, AddMenuFillsTheFirstDisabledSlot) {
  struct Case {
    std::vector<std::string> before;
    std::vector<std::string> after;
  };
  const std::vector<Case> cases = {
      {{"A", "B", "C", "-", "-", "-", "-", "-", "-", "-"},
       {"A", "B", "C", "X", "-", "-", "-", "-", "-", "-"}},
      {{"A", "-", "C", "-", "-", "-", "-", "-", "-", "-"},
       {"A", "X", "C", "-", "-", "-", "-", "-", "-", "-"}},
      {{"-", "-", "-", "-", "-", "-", "-", "-", "-", "J"},
       {"X", "-", "-", "-", "-", "-", "-", "-", "-", "J"}},
      {{"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"},
       {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"}},
  };
  for (const Case& c : cases) {
    Enable(c.before);
    AddMenu("X");
    EXPECT_EQ(Slots(), c.after);
    ExpectIdsInPlace();
  }
}

TEST(SlotTable, EditMenuRenamesAndKeepsTheFlag) {
  Enable({"A", "B", "-", "-", "-", "-", "-", "-", "-", "-"});
  EditMenu(1, "Renamed");
  EditMenu(3, "Hidden");
  EXPECT_EQ(Slots(), (std::vector<std::string>{"A", "Renamed", "-", "-Hidden", "-", "-", "-", "-",
                                               "-", "-"}));
  // Numbers outside 0 to 9 name no slot, as the main window's "no row selected" (-1) does.
  const auto before = Slots();
  EditMenu(-1, "X");
  EditMenu(10, "X");
  EXPECT_EQ(Slots(), before);
}

TEST(SlotTable, RemoveMenuMovesLaterSlotsDownAndEmptiesSlotNine) {
  struct Case {
    std::vector<std::string> before;
    int slot;
    std::vector<std::string> after;
  };
  const std::vector<std::string> all = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};
  const std::vector<Case> cases = {
      {{"A", "B", "C", "D", "-", "-", "-", "-", "-", "-"},
       1,
       {"A", "C", "D", "-", "-", "-", "-", "-", "-", "-"}},
      {all, 9, {"A", "B", "C", "D", "E", "F", "G", "H", "I", "-"}},
      {all, 0, {"B", "C", "D", "E", "F", "G", "H", "I", "J", "-"}},
      {{"A", "-", "-", "-", "-", "-", "-", "-", "-", "-"},
       0,
       {"-", "-", "-", "-", "-", "-", "-", "-", "-", "-"}},
      // Disabled slots move down with the rest, gaps included.
      {{"A", "-", "C", "-", "E", "-", "-", "-", "-", "-"},
       0,
       {"-", "C", "-", "E", "-", "-", "-", "-", "-", "-"}},
      {{"A", "B", "-", "-", "-", "-", "-", "-", "-", "-"},
       12,
       {"A", "B", "-", "-", "-", "-", "-", "-", "-", "-"}},
      {{"A", "B", "-", "-", "-", "-", "-", "-", "-", "-"},
       -1,
       {"A", "B", "-", "-", "-", "-", "-", "-", "-", "-"}},
  };
  for (const Case& c : cases) {
    Enable(c.before);
    RemoveMenu(c.slot);
    EXPECT_EQ(Slots(), c.after) << "removing slot " << c.slot;
    ExpectIdsInPlace();
  }
}

TEST(SlotTable, RemoveMenuCarriesNamesOfDisabledSlots) {
  Enable({"A", "B", "-", "-", "-", "-", "-", "-", "-", "-"});
  EditMenu(2, "Kept");
  RemoveMenu(0);
  EXPECT_EQ(Slots(),
            (std::vector<std::string>{"B", "-Kept", "-", "-", "-", "-", "-", "-", "-", "-"}));
}

TEST(SlotTable, MoveMenuShiftsTheMenusBetweenAndKeepsNumbersFlagsAndGaps) {
  struct Case {
    std::vector<std::string> before;
    int from, to;
    std::vector<std::string> after;
  };
  const std::vector<std::string> all = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};
  const std::vector<Case> cases = {
      // Neighbours trade places, either way.
      {all, 0, 1, {"B", "A", "C", "D", "E", "F", "G", "H", "I", "J"}},
      {all, 9, 8, {"A", "B", "C", "D", "E", "F", "G", "H", "J", "I"}},
      // Over several rows the rows between shift by one place.
      {all, 1, 4, {"A", "C", "D", "E", "B", "F", "G", "H", "I", "J"}},
      {all, 4, 1, {"A", "E", "B", "C", "D", "F", "G", "H", "I", "J"}},
      {all, 0, 9, {"B", "C", "D", "E", "F", "G", "H", "I", "J", "A"}},
      // Across gaps: disabled slots stay where they are, with their names.
      {{"A", "-x", "-", "B", "-", "-", "-", "-", "-", "-"},
       0,
       3,
       {"B", "-x", "-", "A", "-", "-", "-", "-", "-", "-"}},
      {{"A", "-", "B", "-y", "C", "-", "D", "-", "-", "-"},
       6,
       0,
       {"D", "-", "A", "-y", "B", "-", "C", "-", "-", "-"}},
      // In place, to or from a disabled slot, or outside 0 to 9: nothing.
      {all, 3, 3, all},
      {{"A", "-x", "B", "-", "-", "-", "-", "-", "-", "-"},
       0,
       1,
       {"A", "-x", "B", "-", "-", "-", "-", "-", "-", "-"}},
      {{"A", "-x", "B", "-", "-", "-", "-", "-", "-", "-"},
       1,
       2,
       {"A", "-x", "B", "-", "-", "-", "-", "-", "-", "-"}},
      {all, -1, 2, all},
      {all, 2, 10, all},
  };
  for (const Case& c : cases) {
    Enable(c.before);
    EXPECT_EQ(MoveMenu(c.from, c.to), c.after != c.before) << "moving " << c.from << " to " << c.to;
    EXPECT_EQ(Slots(), c.after) << "moving " << c.from << " to " << c.to;
    ExpectIdsInPlace();
  }
}

}  // namespace
