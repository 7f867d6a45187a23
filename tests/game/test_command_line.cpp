// The game folder on the command line, split as the Windows C runtime splits arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/CommandLine.h"

namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, ArgumentsAsWindowsSplitsThemAndTheFolderTheFirstNames) {
  struct Case {
    const char* line;
    Args arguments;
    std::string folder;
  };
  const Case cases[] = {
      {"", {}, ""},
      {"  \t ", {}, ""},
      {R"("D:\Games\Game folder")", {R"(D:\Games\Game folder)"}, R"(D:\Games\Game folder)"},
      {R"(D:\Games\AoM)", {R"(D:\Games\AoM)"}, R"(D:\Games\AoM)"},
      // Unquoted spaces separate: the first part alone is the folder.
      {R"(D:\Games\Game folder)", {R"(D:\Games\Game)", "folder"}, R"(D:\Games\Game)"},
      // A quoted folder with its final backslash, and a drive as Explorer passes it: the split
      // reads \" as a quote, which no folder name holds, so it is a backslash again.
      {R"("D:\Games\AoM\")", {R"(D:\Games\AoM")"}, R"(D:\Games\AoM\)"},
      {R"("D:\")", {R"(D:")"}, R"(D:\)"},
      {R"("D:\Games\AoM\\")", {R"(D:\Games\AoM\)"}, R"(D:\Games\AoM\)"},
      {R"(a\\\"b c"d e"f \\server\share)", {R"(a\"b)", "cd ef", R"(\\server\share)"}, R"(a\"b)"},
      {R"("say ""hi"" now" next)", {R"(say "hi" now)", "next"}, R"(say "hi" now)"},
      {R"(half"open arg)", {"halfopen arg"}, "halfopen arg"},
      {R"("" second)", {"", "second"}, "."},
  };
  for (const Case& c : cases) {
    const Args arguments = SplitCommandLine(c.line);
    EXPECT_EQ(arguments, c.arguments) << c.line;
    EXPECT_EQ(GameFolderArgument(arguments), c.folder) << c.line;
  }
}

}  // namespace
