// Valve's text format as Steam writes it, and what Steam's library list and the game's app
// manifest say through it: the shapes of every Steam since 2013, and files that are not Steam's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/KeyValues.h"
#include "game/SteamFiles.h"

namespace {

using Libraries = std::vector<std::string>;

// libraryfolders.vdf as Steam writes it today: one block a library, its own folder "0", the
// apps of each, tabs and LF.
const std::string kTodaysLibraries =
    "\"libraryfolders\"\n{\n"
    "\t\"0\"\n\t{\n"
    "\t\t\"path\"\t\t\"C:\\\\Program Files (x86)\\\\Steam\"\n"
    "\t\t\"label\"\t\t\"\"\n"
    "\t\t\"contentid\"\t\t\"4180316431371429837\"\n"
    "\t\t\"totalsize\"\t\t\"0\"\n"
    "\t\t\"update_clean_bytes_tally\"\t\t\"0\"\n"
    "\t\t\"time_last_update_corruption\"\t\t\"0\"\n"
    "\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"390681732\"\n\t\t}\n"
    "\t}\n"
    "\t\"1\"\n\t{\n"
    "\t\t\"path\"\t\t\"D:\\\\SteamLibrary\"\n"
    "\t\t\"label\"\t\t\"Games\"\n"
    "\t\t\"apps\"\n\t\t{\n\t\t\t\"266840\"\t\t\"3418710263\"\n\t\t}\n"
    "\t}\n}\n";

// The form Steam wrote until 2021: the paths are the numbered values themselves.
const std::string kOldLibraries =
    "\"LibraryFolders\"\n{\n"
    "\t\"TimeNextStatsReport\"\t\t\"1609459200\"\n"
    "\t\"ContentStatsID\"\t\t\"-4519864474624416385\"\n"
    "\t\"1\"\t\t\"D:\\\\SteamLibrary\"\n"
    "\t\"2\"\t\t\"E:\\\\Jeux \xC3\xA9t\xC3\xA9\"\n"
    "}\n";

TEST(SteamFiles, LibrariesOfEitherFormAndFilesThatAreNotSteams) {
  struct Case {
    const char* what;
    std::string file;
    Libraries libraries;
  };
  std::string deep;
  for (int level = 0; level < 40; ++level) deep += "\"k\" { ";
  const Case cases[] = {
      {"today's form", kTodaysLibraries, {"C:\\Program Files (x86)\\Steam", "D:\\SteamLibrary"}},
      {"the old form, UTF-8 as written",
       kOldLibraries,
       {"D:\\SteamLibrary", "E:\\Jeux \xC3\xA9t\xC3\xA9"}},
      {"old form, no second library",
       "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1\"\n\t\"ContentStatsID\"\t\t\"2\"\n}"
       "\n",
       {}},
      {"with a byte-order mark, CR LF",
       "\xEF\xBB\xBF\"libraryfolders\"\r\n{\r\n\"1\" \"D:\\\\L\"\r\n}",
       {"D:\\L"}},
      {"keys in any case", "\"LIBRARYFOLDERS\" { \"0\" { \"Path\" \"D:\\\\L\" } }", {"D:\\L"}},
      {"unquoted words, comments",
       "// written by hand\nlibraryfolders { 1 { path \"D:\\\\L\" } // the second\n}",
       {"D:\\L"}},
      {"\\\\ before n is a backslash, \\\" a quote, \\q stands",
       R"("libraryfolders" { "1" "D:\\new" "2" "D:\\a\"b" "3" "D:\q" })",
       {"D:\\new", "D:\\a\"b", "D:\\q"}},
      {"a library block without a path", "\"libraryfolders\" { \"1\" { \"label\" \"x\" } }", {}},
      {"another file", "\"AppState\" { \"1\" \"D:\\\\L\" }", {}},
      {"empty", "", {}},
      {"an unclosed block", "\"libraryfolders\" { \"1\" \"D:\\\\L\"", {}},
      {"an unclosed quote", "\"libraryfolders\" { \"1\" \"D:\\\\L }", {}},
      {"a brace too many", "\"libraryfolders\" { \"1\" \"D:\\\\L\" } }", {}},
      {"a key without its value", "\"libraryfolders\" { \"1\" }", {}},
      {"a block without a key", "{ \"1\" \"D:\\\\L\" }", {}},
      {"ends after a backslash", "\"libraryfolders\" { \"1\" \"D:\\", {}},
      {"nested too deep",
       "\"libraryfolders\" { \"1\" \"D:\\\\L\" " + deep + std::string(41, '}'),
       {}},
      {"a web page", "<html><body>404</body></html>", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SteamLibraries(c.file), c.libraries) << c.what;
  // Larger than any file of Steam's: passed over unread.
  EXPECT_EQ(SteamLibraries(kOldLibraries + std::string(kLargestKeyValuesFile, ' ')), Libraries{});
}

TEST(SteamFiles, InstallFolderOfTheAppManifest) {
  const std::string manifest =
      "\"AppState\"\n{\n"
      "\t\"appid\"\t\t\"266840\"\n\t\"Universe\"\t\t\"1\"\n"
      "\t\"LauncherPath\"\t\t\"C:\\\\Program Files (x86)\\\\Steam\\\\steam.exe\"\n"
      "\t\"name\"\t\t\"Age of Mythology: Extended Edition\"\n\t\"StateFlags\"\t\t\"4\"\n"
      "\t\"installdir\"\t\t\"Age of Mythology\"\n\t\"LastUpdated\"\t\t\"1689166418\"\n"
      "\t\"SizeOnDisk\"\t\t\"3418710263\"\n"
      "\t\"InstalledDepots\"\n\t{\n\t\t\"266841\"\n\t\t{\n"
      "\t\t\t\"manifest\"\t\t\"1720343548862377464\"\n\t\t\t\"size\"\t\t\"3418710263\"\n"
      "\t\t}\n\t}\n"
      "\t\"UserConfig\"\n\t{\n\t\t\"language\"\t\t\"english\"\n\t}\n}\n";
  struct Case {
    const char* what;
    std::string file;
    std::string folder;
  };
  const Case cases[] = {
      {"as Steam writes it", manifest, "Age of Mythology"},
      {"keys in any case", "\"appstate\" { \"InstallDir\" \"AoM\" }", "AoM"},
      {"UTF-8 as written", "\"AppState\" { \"installdir\" \"\xE8\xA1\xA8\" }", "\xE8\xA1\xA8"},
      {"no installdir", "\"AppState\" { \"appid\" \"266840\" }", ""},
      {"installdir a block", "\"AppState\" { \"installdir\" { } }", ""},
      {"climbs out", "\"AppState\" { \"installdir\" \"..\" }", ""},
      {"a path", "\"AppState\" { \"installdir\" \"..\\\\..\\\\Windows\" }", ""},
      {"a drive", "\"AppState\" { \"installdir\" \"C:\" }", ""},
      {"cut off", manifest.substr(0, manifest.size() / 2), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(SteamInstallFolder(c.file), c.folder) << c.what;
}

// The tree itself: order, blocks, and platform conditions after a value, as Valve's own files
// carry them, passed over.
TEST(KeyValues, TreeInTheFilesOrder) {
  const std::optional<KeyValue> file =
      ReadKeyValues("\"a\" \"1\" [$WIN32]\n\"b\" { \"c\" \"2\" \"C\" \"3\" }\n\"a\" \"4\" // last");
  ASSERT_TRUE(file);
  ASSERT_EQ(file->entries.size(), 3u);
  EXPECT_EQ(file->Find("A")->text, "1");
  const KeyValue* b = file->Find("b");
  ASSERT_TRUE(b && b->isBlock);
  ASSERT_EQ(b->entries.size(), 2u);
  EXPECT_EQ(b->Find("c")->text, "2");
  EXPECT_EQ(b->entries[1].text, "3");
  EXPECT_EQ(file->entries[2].text, "4");
  EXPECT_EQ(file->Find("d"), nullptr);
}

}  // namespace
