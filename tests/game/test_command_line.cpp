// The game folder on the command line, split as the Windows C runtime splits arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/CommandLine.h"

namespace {

using Args = std::vector<std::wstring>;

TEST(CommandLine, ArgumentsAsWindowsSplitsThemAndTheFolderTheFirstNames) {
  struct Case {
    const wchar_t* line;
    Args arguments;
    std::wstring folder;
  };
  const Case cases[] = {
      {L"", {}, L""},
      {L"  \t ", {}, L""},
      {LR"("D:\Games\Game folder")", {LR"(D:\Games\Game folder)"}, LR"(D:\Games\Game folder)"},
      {LR"(D:\Games\AoM)", {LR"(D:\Games\AoM)"}, LR"(D:\Games\AoM)"},
      // Unquoted spaces separate: the first part alone is the folder.
      {LR"(D:\Games\Game folder)", {LR"(D:\Games\Game)", L"folder"}, LR"(D:\Games\Game)"},
      // A quoted folder with its final backslash, and a drive as Explorer passes it: the split
      // reads \" as a quote, which no folder name holds, so it is a backslash again.
      {LR"("D:\Games\AoM\")", {LR"(D:\Games\AoM")"}, LR"(D:\Games\AoM\)"},
      {LR"("D:\")", {LR"(D:")"}, LR"(D:\)"},
      {LR"("D:\Games\AoM\\")", {LR"(D:\Games\AoM\)"}, LR"(D:\Games\AoM\)"},
      {LR"(a\\\"b c"d e"f \\server\share)",
       {LR"(a\"b)", L"cd ef", LR"(\\server\share)"},
       LR"(a\"b)"},
      {LR"("say ""hi"" now" next)", {LR"(say "hi" now)", L"next"}, LR"(say "hi" now)"},
      {LR"(half"open arg)", {L"halfopen arg"}, L"halfopen arg"},
      {LR"("" second)", {L"", L"second"}, L"."},
  };
  for (const Case& c : cases) {
    const Args arguments = SplitCommandLine(c.line);
    EXPECT_EQ(arguments, c.arguments) << c.line;
    EXPECT_EQ(GameFolderArgument(arguments), c.folder) << c.line;
  }
}

}  // namespace
