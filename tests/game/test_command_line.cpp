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

TEST(CommandLine, FilesApartFromTheGameFolderInAnyOrder) {
  struct Case {
    Args arguments;
    Args files;
    std::wstring folder;
  };
  const Case cases[] = {
      {{LR"(D:\Games\AoM\)"}, {}, LR"(D:\Games\AoM\)"},
      {{LR"(C:\dl\a.scn)"}, {LR"(C:\dl\a.scn)"}, L""},
      {{LR"(C:\dl\a.scn)", LR"(D:\Games\AoM\)", LR"(C:\dl\b.zip)"},
       {LR"(C:\dl\a.scn)", LR"(C:\dl\b.zip)"},
       LR"(D:\Games\AoM\)"},
      // A path that is no file (missing, or a folder) is the game folder, as before.
      {{LR"(C:\missing.scn)", LR"(C:\dl\a.scn)"}, {LR"(C:\dl\a.scn)"}, LR"(C:\missing.scn)"},
      {{L"", LR"(C:\dl\a.scn)"}, {LR"(C:\dl\a.scn)"}, L"."},
  };
  const auto isFile = [](const std::wstring& path) { return path.rfind(LR"(C:\dl\)", 0) == 0; };
  for (const Case& c : cases) {
    const SortedArguments sorted = SortArguments(c.arguments, isFile);
    EXPECT_EQ(sorted.files, c.files);
    EXPECT_EQ(GameFolderArgument(sorted.others), c.folder);
  }
}

}  // namespace
