// Reading and rewriting user.cfg's bytes: which lines set which slots, and that every other line
// comes back byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/UserCfgFormat.h"

using namespace std::string_literals;

namespace {

// Slots written as in the slot table tests: "name" enabled, "-" disabled and empty, "-name"
// disabled with a name.
std::vector<std::string> SlotsOf(const MenuCollection& menus) {
  std::vector<std::string> slots;
  for (const clsGameMenu& menu : menus)
    slots.push_back(menu.bEnabled() ? menu.sName() : "-" + menu.sName());
  return slots;
}

MenuCollection Read(const std::string& bytes) {
  MenuCollection menus;
  ReadAttractModeLines(bytes, menus);
  return menus;
}

std::vector<std::string> With(int slot, const std::string& value) {
  std::vector<std::string> slots(10, "-");
  slots[slot] = value;
  return slots;
}

const std::string kAllDisabled =
    "-attractMode-scenario-0\r\n-attractMode-scenario-1\r\n-attractMode-scenario-2\r\n"
    "-attractMode-scenario-3\r\n-attractMode-scenario-4\r\n-attractMode-scenario-5\r\n"
    "-attractMode-scenario-6\r\n-attractMode-scenario-7\r\n-attractMode-scenario-8\r\n"
    "-attractMode-scenario-9\r\n";

TEST(UserCfgFormat, DefaultFileIsTheTenLinesByteForByte) {
  EXPECT_EQ(DefaultUserCfg(),
            "attractMode-scenario-0 ~AoM_pgs_Water\r\n"
            "attractMode-scenario-1 ~UI_Norse\r\n"
            "-attractMode-scenario-2\r\n-attractMode-scenario-3\r\n-attractMode-scenario-4\r\n"
            "-attractMode-scenario-5\r\n-attractMode-scenario-6\r\n-attractMode-scenario-7\r\n"
            "-attractMode-scenario-8\r\n-attractMode-scenario-9\r\n");
}

TEST(UserCfgFormat, ReaderTakesSlotsFromAttractModeLines) {
  struct Case {
    const char* what;
    std::string file;
    std::vector<std::string> slots;
  };
  const std::vector<Case> cases = {
      {"enabled line", "attractMode-scenario-3 My Map\r\n", With(3, "My Map")},
      {"name taken whole, spaces included", "attractMode-scenario-3  two  spaces \r\n",
       With(3, " two  spaces ")},
      {"23 characters: enabled with an empty name", "attractMode-scenario-7 ", With(7, "")},
      {"position 23 is skipped unread", "attractMode-scenario-12 Name", With(1, " Name")},
      {"disabled line empties the name only",
       "attractMode-scenario-5 A\r\n-attractMode-scenario-5 junk", With(5, "")},
      {"disabled line ignores position 22", "attractMode-scenario-7 A\r\n-attractMode-scenarioX7",
       With(7, "")},
      {"enabled then disabled: enabled, no name",
       "attractMode-scenario-4 A\r\n-attractMode-scenario-4\r\n", With(4, "")},
      {"disabled then enabled: the name stays",
       "-attractMode-scenario-4\r\nattractMode-scenario-4 A\r\n", With(4, "A")},
      {"the last enabled line wins", "attractMode-scenario-4 A\r\nattractMode-scenario-4 B\r\n",
       With(4, "B")},
      {"other letter case is another line", "AttractMode-scenario-2 A\r\n", With(0, "-")},
      {"a leading space is another line", " attractMode-scenario-2 A\r\n", With(0, "-")},
      {"the bare prefix is too short", "attractMode-scenario-\r\n", With(0, "-")},
      {"22 characters carry no setting", "attractMode-scenario-5\r\n", With(0, "-")},
      {"no digit at the slot position", "attractMode-scenario-X Name\r\n-attractMode-scenario-Y",
       With(0, "-")},
      {"22-character disabled prefix", "attractMode-scenario-2 A\r\n-attractMode-scenario-",
       With(2, "A")},
      {"lone LF ends a line", "x\nattractMode-scenario-1 A\nattractMode-scenario-2 B",
       [] {
         auto s = With(1, "A");
         s[2] = "B";
         return s;
       }()},
      {"lone CR ends a line", "attractMode-scenario-1 A\rattractMode-scenario-2 B\r",
       [] {
         auto s = With(1, "A");
         s[2] = "B";
         return s;
       }()},
      {"bytes above 127 and NUL stay in the name", "attractMode-scenario-6 Fj\xf6rd\0x\xff"s,
       With(6, "Fj\xf6rd\0x\xff"s)},
      {"a line that starts at byte 64", std::string(62, 'x') + "\r\nattractMode-scenario-1 A",
       With(1, "A")},
      {"a UTF-8 byte-order mark is no part of the first line",
       "\xEF\xBB\xBF"
       "attractMode-scenario-0 Mine\r\n",
       With(0, "Mine")},
      {"the mark's bytes further down are a line's own",
       "x\r\n\xEF\xBB\xBF"
       "attractMode-scenario-2 A",
       With(0, "-")},
  };
  for (const Case& c : cases) EXPECT_EQ(SlotsOf(Read(c.file)), c.slots) << c.what;
}

TEST(UserCfgFormat, RewriteKeepsOtherLinesInOrderAndEndsWithTheTenSlots) {
  struct Case {
    const char* what;
    std::string file;
    std::string kept;  // the other lines as the rewrite writes them, before the ten slot lines
  };
  const std::vector<Case> cases = {
      {"empty file", "", ""},
      {"one empty line", "\r\n", "\r\n"},
      {"LF then CR: two empty lines", "\n\r", "\r\n\r\n"},
      {"other lines stand first, attract-mode lines go",
       "first\r\nattractMode-scenario-0 A\r\nthird", "first\r\nthird\r\n"},
      {"line ends become CR LF, last line terminated", "a\nb\rc\r\nd", "a\r\nb\r\nc\r\nd\r\n"},
      {"every attract-mode line is dropped, unusable ones and duplicates too",
       "attractMode-scenario-\r\nattractMode-scenario-5\r\n-attractMode-scenario\r\n"
       "attractMode-scenario-X Y\r\n-attractMode-scenario-3\r\n-attractMode-scenario-3\r\nkeep",
       "keep\r\n"},
      {"lines only like the prefixes are kept",
       "AttractMode-scenario-2 A\r\n attractMode-scenario-2 A\r\nattractMode-scenari\r\n",
       "AttractMode-scenario-2 A\r\n attractMode-scenario-2 A\r\nattractMode-scenari\r\n"},
      {"bytes above 127 and NUL kept", "\xe9t\xe9\0\x01\x7f\x80\r\n"s,
       "\xe9t\xe9\0\x01\x7f\x80\r\n"s},
      {"lines that meet at 64-byte steps: a slot line at byte 64, a lone CR at byte 191",
       std::string(62, 'x') + "\r\nattractMode-scenario-1 A\r\n" + std::string(101, 'y') + "\rz",
       std::string(62, 'x') + "\r\n" + std::string(101, 'y') + "\r\nz\r\n"},
  };
  const MenuCollection noMenus;
  for (const Case& c : cases)
    EXPECT_EQ(RewriteUserCfg(c.file, noMenus), c.kept + kAllDisabled) << c.what;

  // A byte-order mark stays first, before the other lines and the slot lines alike.
  const std::string mark = "\xEF\xBB\xBF";
  EXPECT_EQ(RewriteUserCfg(mark + "attractMode-scenario-0 A\r\nkeep\nx", noMenus),
            mark + "keep\r\nx\r\n" + kAllDisabled);
  EXPECT_EQ(RewriteUserCfg(mark, noMenus), mark + kAllDisabled);
  // The mark's bytes at the start of a line further down stay that line's, also when the lines
  // before it go.
  EXPECT_EQ(
      RewriteUserCfg("attractMode-scenario-0 A\r\n" + mark + "attractMode-scenario-3 B", noMenus),
      "\r\n" + mark + "attractMode-scenario-3 B\r\n" + kAllDisabled);

  // UTF-16 files, either byte order, are told apart from ANSI text; a UTF-8 mark is ANSI enough.
  EXPECT_TRUE(IsUtf16Text("\xFF\xFE"
                          "a\0"s) &&
              IsUtf16Text("\xFE\xFF\0a"s));
  EXPECT_FALSE(IsUtf16Text(mark + "a") || IsUtf16Text("\xFF") || IsUtf16Text(""));
}

TEST(UserCfgFormat, RewriteWritesEachSlotAsTheGameReadsIt) {
  MenuCollection menus = Read("attractMode-scenario-3 My Map\r\nattractMode-scenario-0 \r\n");
  menus.Slot(5)->sName("disabled names are not written");
  const std::string out = RewriteUserCfg("setting 1\r\n", menus);
  EXPECT_EQ(out,
            "setting 1\r\n"
            "attractMode-scenario-0 \r\n"
            "-attractMode-scenario-1\r\n-attractMode-scenario-2\r\n"
            "attractMode-scenario-3 My Map\r\n"
            "-attractMode-scenario-4\r\n-attractMode-scenario-5\r\n-attractMode-scenario-6\r\n"
            "-attractMode-scenario-7\r\n-attractMode-scenario-8\r\n-attractMode-scenario-9\r\n");
}

TEST(UserCfgFormat, MegabyteLinesPassThrough) {
  const std::string longOther(1 << 20, 'o');
  const std::string longName(1 << 20, 'n');
  const std::string file = longOther + "\r\nattractMode-scenario-2 " + longName;
  MenuCollection menus = Read(file);
  EXPECT_EQ(menus.Slot(2)->sName(), longName);
  const std::string out = RewriteUserCfg(file, menus);
  EXPECT_EQ(out.substr(0, longOther.size() + 2), longOther + "\r\n");
  EXPECT_NE(out.find("attractMode-scenario-2 " + longName + "\r\n"), std::string::npos);
}

TEST(UserCfgFormat, DefaultMenusOnlyWhenSlotZeroIsNotEnabled) {
  MenuCollection menus = Read("-attractMode-scenario-1 Other\r\nattractMode-scenario-4 Kept\r\n");
  EXPECT_TRUE(ApplyDefaultMenus(menus));
  std::vector<std::string> expected = With(0, "~AoM_pgs_Water");
  expected[1] = "~UI_Norse";
  expected[4] = "Kept";
  EXPECT_EQ(SlotsOf(menus), expected);

  // The player's own slot 1 is kept; only slot 0 gets its built-in.
  MenuCollection ownSlotOne =
      Read("-attractMode-scenario-0\r\nattractMode-scenario-1 Harbour At Dusk");
  EXPECT_TRUE(ApplyDefaultMenus(ownSlotOne));
  expected = With(0, "~AoM_pgs_Water");
  expected[1] = "Harbour At Dusk";
  EXPECT_EQ(SlotsOf(ownSlotOne), expected);

  EXPECT_FALSE(ApplyDefaultMenus(menus));
  MenuCollection ownSlotZero = Read("attractMode-scenario-0 Mine\r\n");
  EXPECT_FALSE(ApplyDefaultMenus(ownSlotZero));
  EXPECT_EQ(SlotsOf(ownSlotZero), With(0, "Mine"));
}

}  // namespace
