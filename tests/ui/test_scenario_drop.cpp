// Scenarios dropped on the real main window, from a downloads folder of the test's own: the
// shell's file list (WM_DROPFILES) and OLE drops of the test's own data object (the shell's file
// list, and file contents without a path), and what each leaves in the game's scenario folder,
// in the rows, in user.cfg and in message boxes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "game/ScenarioImport.h"
#include "platform/AnsiText.h"
#include "platform/window/ShutdownReason.h"
#include "tests/support/OleDropSupport.h"
#include "tests/support/WindowTestSupport.h"
#include "tests/support/ZipFixtures.h"

using namespace test_support;

namespace {

using Files = std::map<std::string, std::string>;  // name (with folders) -> bytes

// The rows of the main window for these enabled slots.
std::vector<std::string> Listed(const Slots& menus) {
  std::vector<std::string> rows;
  for (const auto& [slot, name] : menus)
    rows.push_back("Menu " + std::to_string(slot) + " : " + name);
  return rows;
}

// A file's bytes as failures show them: short text as it is, else its size and a hash.
std::string Digest(const std::string& bytes) {
  if (bytes.size() <= 40) return bytes;
  return std::to_string(bytes.size()) + " bytes #" +
         std::to_string(std::hash<std::string>{}(bytes));
}

// Every file under a folder, with its path below it, its bytes as Digest gives them.
void ListTree(const std::string& folder, const std::string& below, Files& files) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ListTree(folder + "\\" + name, below + name + "\\", files);
    } else {
      files[below + name] = Digest(ReadBytes(folder + "\\" + name));
    }
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

// The question boxes' answers, in order; any other box is answered OK.
std::vector<int> answers;
// Whether the pointer showed the program busy when the last question came.
bool busyAtQuestion = false;
// What a test does while the question is up, if anything.
std::function<void()> atQuestion;

bool PointerBusy() { return GetCursor() == LoadCursorA(nullptr, IDC_WAIT); }

class ScenarioDrop : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    OleInitialize(nullptr);
    answers.clear();
    recorder_.emplace([](const std::string& prompt, unsigned style, const std::string& title) {
      boxes.push_back(title + "\n" + prompt);
      if ((style & MB_TYPEMASK) != MB_YESNOCANCEL) return IDOK;
      busyAtQuestion = PointerBusy();
      if (atQuestion) atQuestion();
      if (answers.empty()) return IDCANCEL;
      const int answer = answers.front();
      answers.erase(answers.begin());
      return answer;
    });
  }
  void TearDown() override {
    atQuestion = nullptr;
    recorder_.reset();
    WindowTest::TearDown();
    OleUninitialize();
  }

  // The downloads folder with these files in it, and the scenario folder with those.
  void Prepare(const Files& downloads, const Files& scenarios) {
    for (const auto& [name, bytes] : downloads) {
      const std::string path = downloads_.Path() + "\\" + name;
      ASSERT_TRUE(bytes.rfind("zip:", 0) == 0
                      ? CopyFileA(ZipFixture(bytes.substr(4)).c_str(), path.c_str(), FALSE) != 0
                      : WriteBytesMakingFolders(path, bytes))
          << name;
    }
    MakeScenarioFolder({});
    for (const auto& [name, bytes] : scenarios) WriteBytes(ScenarioFolder() + "\\" + name, bytes);
  }
  // A new main window on a user.cfg of the attract-mode lines alone, which a save rewrites as
  // they were.
  void Start(const Slots& menus) {
    CloseMain();
    ResetGlobals();
    WriteBytes(game_.UserCfg(), AttractLines(menus));
    ShowMain();
    boxes.clear();
  }
  std::wstring Download(const std::string& name) const {
    return WideFromAnsi(downloads_.Path() + "\\" + name);
  }
  std::vector<std::wstring> Downloads(const std::vector<std::string>& names) const {
    std::vector<std::wstring> paths;
    for (const std::string& name : names) paths.push_back(Download(name));
    return paths;
  }
  // The game folder's files but user.cfg: nothing is ever written beside the scenario folder.
  Files GameFiles() const {
    Files files;
    ListTree(WithoutTrailingSlash(game_.Path()), "", files);
    files.erase("startup\\user.cfg");
    return files;
  }
  static std::string WithoutTrailingSlash(const std::string& path) {
    return path.substr(0, path.size() - 1);
  }

  void DropOnWindow(const std::vector<std::wstring>& paths) {
    SendMessageW(main_->Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(FileList(paths)), 0);
    DrainMessages();
  }
  DWORD DragOnWindow(IDataObject* data) { return DragOnto(main_->Hwnd(), data); }

  TempFolder downloads_;

 private:
  std::optional<MsgBoxGuard> recorder_;
};

std::string Scn(const std::string& name) { return "scenario\\" + name + ".scn"; }

TEST_F(ScenarioDrop, EachRuleOfADropAsFilesRowsUserCfgAndBoxes) {
  const Files downloads = {
      {"Oasis.scn", "oasis bytes"},
      {"LOUD.SCN", "loud bytes"},
      {"Old.scn", "old bytes, new version"},
      {"Same.scn", "same bytes"},
      {"readme.txt", "read me"},
      {"empty\\.scn", "nameless"},
      {"Pack\\In.scn", "in bytes"},
      {"Pack\\notes.txt", "notes"},
      {"Pack\\deeper\\Deep.scn", "deep bytes"},
      {"players.zip", "zip:players.zip"},
      {"zip64.zip", "zip:zip64.zip"},
      {"descriptors.zip", "zip:descriptors.zip"},
      {"infozip.zip", "zip:infozip.zip"},
      {"climbing.zip", "zip:climbing.zip"},
      {"cut.zip", "zip:cut.zip"},
      {"not-a-zip.zip", "zip:not-a-zip.zip"},
      {"bad-crc.zip", "zip:bad-crc.zip"},
      {"encrypted.zip", "zip:encrypted.zip"},
      {"bzip2.zip", "zip:bzip2.zip"},
      {"lzma.zip", "zip:lzma.zip"},
  };
  const Files scenarios = {{"Old.scn", "old bytes"}, {"same.scn", "same bytes"}};
  struct Case {
    const char* what;
    std::vector<std::string> dropped;
    std::vector<int> answers;
    Files added;                          // to the game folder, beside the scenarios before
    Slots menus;                          // after slot 0's Map0
    std::vector<std::string> boxes = {};  // each box's title, then what its prompt names
  };
  const Case cases[] = {
      {"scenario files in any case of the extension, in the order dropped",
       {"LOUD.SCN", "Oasis.scn"},
       {},
       {{Scn("LOUD"), "loud bytes"}, {Scn("Oasis"), "oasis bytes"}},
       {{1, "LOUD"}, {2, "Oasis"}}},
      {"the same bytes under the name in another case: nothing copied, nothing asked",
       {"Same.scn"},
       {},
       {},
       {{1, "Same"}}},
      {"other bytes, Yes: replaced",
       {"Old.scn"},
       {IDYES},
       {{Scn("Old"), "old bytes, new version"}},
       {{1, "Old"}},
       {"Replace scenario?", "\"Old\""}},
      {"other bytes, No: both kept",
       {"Old.scn"},
       {IDNO},
       {{Scn("Old (2)"), "old bytes, new version"}},
       {{1, "Old (2)"}},
       {"Replace scenario?", "\"Old\""}},
      {"other bytes, Cancel: left out",
       {"Old.scn"},
       {IDCANCEL},
       {},
       {},
       {"Replace scenario?", "\"Old\""}},
      {"anything else is refused by name; the others go on",
       {"readme.txt", "Oasis.scn"},
       {},
       {{Scn("Oasis"), "oasis bytes"}},
       {{1, "Oasis"}},
       {"Cannot add scenario", "readme.txt"}},
      {"an empty name is refused",
       {"empty\\.scn"},
       {},
       {},
       {},
       {"Cannot add scenario", "user.cfg cannot name it: its name is empty"}},
      {"a folder: the scenarios directly in it",
       {"Pack"},
       {},
       {{Scn("In"), "in bytes"}},
       {{1, "In"}}},
      {"an archive: its scenarios from any folder, in its order, nothing else",
       {"players.zip"},
       {},
       {{Scn("Oasis"), ZipScenario("Oasis")}, {Scn("Dune"), ZipScenario("Dune", 1200)}},
       {{1, "Oasis"}, {2, "Dune"}}},
      {"ZIP64, data descriptors, Info-ZIP",
       {"zip64.zip", "descriptors.zip", "infozip.zip"},
       {},
       {{Scn("Glacier"), ZipScenario("Glacier")},
        {Scn("Steppe"), ZipScenario("Steppe", 500)},
        {Scn("Marsh"), ZipScenario("Marsh")},
        {Scn("Fen"), ZipScenario("Fen")},
        {Scn("Canyon"), ZipScenario("Canyon")}},
       {{1, "Glacier"}, {2, "Steppe"}, {3, "Marsh"}, {4, "Fen"}, {5, "Canyon"}}},
      {"names that climb out give their last part only",
       {"climbing.zip"},
       {},
       {{Scn("Escape"), ZipScenario("Escape")},
        {Scn("Back"), ZipScenario("Back")},
        {Scn("Drive"), ZipScenario("Drive")},
        {Scn("Rooted"), ZipScenario("Rooted")}},
       {{1, "Escape"}, {2, "Back"}, {3, "Drive"}, {4, "Rooted"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Prepare(downloads, scenarios);
    const Files before = GameFiles();
    Start({{0, "Map0"}});
    answers = c.answers;
    busyAtQuestion = false;
    DropOnWindow(Downloads(c.dropped));
    EXPECT_EQ(busyAtQuestion, !c.answers.empty()) << "the busy pointer while the drop is taken";
    EXPECT_FALSE(PointerBusy()) << "and not after";

    Files expected = before;
    for (const auto& [name, bytes] : c.added) expected[name] = Digest(bytes);
    EXPECT_EQ(GameFiles(), expected);
    Slots menus = c.menus;
    menus[0] = "Map0";
    EXPECT_EQ(Rows(MainList()), Listed(menus));
    EXPECT_EQ(ReadBytes(game_.UserCfg()), AttractLines(menus));
    ASSERT_EQ(boxes.size(), c.boxes.size() / 2);
    for (size_t n = 0; n < boxes.size(); ++n) {
      EXPECT_EQ(boxes[n].substr(0, boxes[n].find('\n')), c.boxes[2 * n]);
      EXPECT_NE(boxes[n].find(c.boxes[2 * n + 1]), std::string::npos) << boxes[n];
    }
    EXPECT_TRUE(answers.empty());
  }
}

TEST_F(ScenarioDrop, ABrokenArchiveGivesNothingOfItAndIsNamed) {
  for (const char* archive :
       {"cut.zip", "not-a-zip.zip", "bad-crc.zip", "encrypted.zip", "bzip2.zip", "lzma.zip"}) {
    SCOPED_TRACE(archive);
    Prepare({{archive, std::string("zip:") + archive}}, {});
    Start({{0, "Map0"}});
    DropOnWindow(Downloads({archive}));
    EXPECT_EQ(GameFiles(), Files{});  // not even the good scenarios beside the bad one
    EXPECT_EQ(Rows(MainList()), Listed({{0, "Map0"}}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(downloads_.Path() + "\\" + archive), std::string::npos) << boxes[0];
  }
}

TEST_F(ScenarioDrop, NamesFreeNumbersAndTheTenMenus) {
  // "Old (2)" is taken, in another case: No gives "Old (3)".
  Prepare({{"Old.scn", "new"}, {"A.scn", "a"}, {"B.scn", "b"}},
          {{"Old.scn", "old"}, {"old (2).scn", "older"}});
  Slots nine;
  for (int n = 0; n < 9; ++n) nine[n] = "Map" + std::to_string(n);
  Start(nine);
  answers = {IDNO};
  DropOnWindow(Downloads({"Old.scn", "A.scn", "B.scn"}));
  EXPECT_EQ(ReadBytes(ScenarioFolder() + "\\Old (3).scn"), "new");
  EXPECT_EQ(ReadBytes(ScenarioFolder() + "\\A.scn"), "a");
  EXPECT_EQ(ReadBytes(ScenarioFolder() + "\\B.scn"), "b");
  Slots ten = nine;
  ten[9] = "Old (3)";
  EXPECT_EQ(Rows(MainList()), Listed(ten));
  EXPECT_EQ(ReadBytes(game_.UserCfg()), AttractLines(ten));
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1],
            "No menu free\nAll ten menus are in use, so these scenarios got no menu:\r\n\r\nA\r\nB"
            "\r\n\r\nThey are in the game's scenario folder now: Edit can put one of them in a "
            "menu.");
}

// Names in the player's script come in as the code page's bytes (表示 is 95 5C 8E A6 in 932, its
// trail byte that of "\\"); those it cannot hold are refused by name (make test runs this in
// Japanese, Chinese, Korean and Russian too). So is a scenario over the limit; the others go on.
TEST_F(ScenarioDrop, NamesInThePlayersScriptAndScenariosOverTheLimit) {
  Prepare({}, {});
  std::vector<std::wstring> dropped;
  Files expected;
  Slots menus = {{0, "Map0"}};
  size_t refused = 0;
  for (const std::wstring name : {L"\u8868\u793A", L"\u529F", L"\u03A9mega", L"Caf\u00E9"}) {
    dropped.push_back(WideFromAnsi(downloads_.Path()) + L"\\" + name + L".scn");
    MakeEmptyFile(dropped.back());
    if (const std::optional<std::string> ansi = AnsiFromWide(name)) {
      expected[Scn(*ansi)] = "";
      menus[static_cast<int>(menus.size())] = *ansi;
    } else {
      ++refused;
    }
  }
  const std::wstring large = Download("Large.scn");
  {
    HANDLE file = CreateFileW(large.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = static_cast<LONGLONG>(kDropBytes + 1);
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
  }
  dropped.insert(dropped.begin(), large);
  Start({{0, "Map0"}});
  DropOnWindow(dropped);
  EXPECT_EQ(GameFiles(), expected) << AnsiCodePage();
  EXPECT_EQ(Rows(MainList()), Listed(menus));
  ASSERT_EQ(boxes.size(), 1u);  // all that the drop refused, in one box
  EXPECT_NE(boxes[0].find("Large.scn\r\n      It is larger than 256 MiB"), std::string::npos)
      << boxes[0];
  size_t notWritten = 0;
  for (size_t at = 0; (at = boxes[0].find("code page cannot write", at)) != std::string::npos; ++at)
    ++notWritten;
  EXPECT_EQ(notWritten, refused) << boxes[0];
}

// Yes over a scenario marked read-only: the mark is kept, and so are its bytes.
TEST_F(ScenarioDrop, AReadOnlyScenarioIsNotReplaced) {
  Prepare({{"Old.scn", "new"}}, {{"Old.scn", "old"}});
  SetFileAttributesA((ScenarioFolder() + "\\Old.scn").c_str(), FILE_ATTRIBUTE_READONLY);
  Start({{0, "Map0"}});
  answers = {IDYES};
  DropOnWindow(Downloads({"Old.scn"}));
  SetFileAttributesA((ScenarioFolder() + "\\Old.scn").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(GameFiles(), (Files{{Scn("Old"), "old"}}));
  EXPECT_EQ(Rows(MainList()), Listed({{0, "Map0"}}));
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[1].find("The file is read-only."), std::string::npos) << boxes[1];
}

// A scenario folder that takes no new file, outside the folders Windows keeps per-user copies of:
// each failed copy is named with why, in the drop's one box, and the others are tried.
TEST_F(ScenarioDrop, FailedCopiesAreSaidInOneBox) {
  Prepare({{"Oasis.scn", "oasis"}, {"Reef.scn", "reef"}}, {});
  Start({{0, "Map0"}});
  RefuseNewFilesIn(ScenarioFolder());
  DropOnWindow(Downloads({"Oasis.scn", "Reef.scn"}));
  RefuseNewFilesIn("");
  EXPECT_EQ(GameFiles(), Files{});
  EXPECT_EQ(Rows(MainList()), Listed({{0, "Map0"}}));
  ASSERT_EQ(boxes.size(), 1u);
  for (const char* name : {"Oasis.scn", "Reef.scn"}) {
    EXPECT_NE(boxes[0].find(downloads_.Path() + "\\" + name +
                            "\r\n      It could not be copied into the game's scenario folder. " +
                            ScenarioFolder() + "\\" + name + ".tmp"),
              std::string::npos)
        << boxes[0];
  }
}

// A game under Program Files whose scenario folder takes no new file without administrator
// rights: new scenarios go to Windows' per-user copy of it; one of the same bytes in the real
// folder is simply used; Yes over one in the per-user copy replaces it there.
TEST_F(ScenarioDrop, TheRealFolderRefusingNewFilesSendsThemToThePerUserCopy) {
  ProtectedGameFolder protectedGame;
  Register(protectedGame.Path());
  const std::string real = protectedGame.Path() + "scenario\\";
  const std::string copy = protectedGame.CopyPath() + "scenario\\";
  ASSERT_TRUE(WriteBytesMakingFolders(real + "Temple.scn", "temple"));
  ASSERT_TRUE(WriteBytesMakingFolders(copy + "Old.scn", "old"));
  WriteBytes(protectedGame.UserCfg(), AttractLines({{0, "Map0"}}));
  Prepare({{"Oasis.scn", "oasis"}, {"Temple.scn", "temple"}, {"Old.scn", "new"}}, {});
  ShowMain();
  protectedGame.Refuse(true);
  boxes.clear();
  answers = {IDYES};
  DropOnWindow(Downloads({"Oasis.scn", "Temple.scn", "Old.scn"}));
  protectedGame.Refuse(false);
  Files inReal;
  Files inCopy;
  ListTree(WithoutTrailingSlash(real), "", inReal);
  ListTree(WithoutTrailingSlash(copy), "", inCopy);
  EXPECT_EQ(inReal, (Files{{"Temple.scn", "temple"}}));
  EXPECT_EQ(inCopy, (Files{{"Oasis.scn", "oasis"}, {"Old.scn", "new"}}));
  EXPECT_EQ(Rows(MainList()), Listed({{0, "Map0"}, {1, "Oasis"}, {2, "Temple"}, {3, "Old"}}));
  // The question, and the per-user copy of user.cfg that the save made, said once.
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].rfind("Replace scenario?", 0), 0u);
  EXPECT_EQ(boxes[1].rfind("Menus kept for this user", 0), 0u);
}

TEST_F(ScenarioDrop, WithoutAGameFolderNothingIsCopiedAndTheLookupIsSaidAgain) {
  Prepare({{"Oasis.scn", "oasis"}}, {});
  Register(game_.Path() + "missing\\");
  ShowMain();
  boxes.clear();
  DropOnWindow(Downloads({"Oasis.scn"}));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("Invalid AoM path", 0), 0u);
  EXPECT_EQ(GameFiles(), Files{});
}

TEST_F(ScenarioDrop, OleDropsOfFilesAndOfFileContentsWithoutAPath) {
  Prepare({{"Oasis.scn", "oasis"}, {"players.zip", "zip:players.zip"}}, {});
  const std::string pack = ReadBytes(downloads_.Path() + "\\players.zip");
  struct Case {
    const char* what;
    TestData data;
    Files added;
    Slots menus;
    std::vector<std::string> boxes = {};  // the titles
  };
  Case cases[] = {
      {"the shell's file list",
       TestData(TestData::Kind::FileList, {Download("Oasis.scn")}),
       {{Scn("Oasis"), "oasis"}},
       {{1, "Oasis"}}},
      // Two of one name from folders of the source: the second asked about (No: both kept);
      // anything but a scenario or an archive is refused.
      {"file contents in global memory, named with folders of the source",
       TestData(TestData::Kind::ContentsInMemory, {},
                {{"maps\\Reef.scn", "reef"},
                 {"old maps\\Reef.scn", "old reef"},
                 {"readme.txt", "read"}}),
       {{Scn("Reef"), "reef"}, {Scn("Reef (2)"), "old reef"}},
       {{1, "Reef"}, {2, "Reef (2)"}},
       {"Replace scenario?", "Cannot add scenario"}},
      {"file contents as streams: an archive out of a mail",
       TestData(TestData::Kind::ContentsAsStreams, {}, {{"players.zip", pack}}),
       {{Scn("Oasis"), ZipScenario("Oasis")}, {Scn("Dune"), ZipScenario("Dune", 1200)}},
       {{1, "Oasis"}, {2, "Dune"}}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    MakeScenarioFolder({});
    Start({{0, "Map0"}});
    answers = {IDNO};
    EXPECT_EQ(DragOnWindow(&c.data), static_cast<DWORD>(DROPEFFECT_COPY));
    Slots menus = c.menus;
    menus[0] = "Map0";
    Files added;
    for (const auto& [name, bytes] : c.added) added[name] = Digest(bytes);
    EXPECT_EQ(GameFiles(), added);
    EXPECT_EQ(Rows(MainList()), Listed(menus));
    std::vector<std::string> titles;
    for (const std::string& box : boxes) titles.push_back(box.substr(0, box.find('\n')));
    EXPECT_EQ(titles, c.boxes);
    // Named as its source named it, not by where it was written meanwhile.
    for (const std::string& box : boxes) {
      if (box.rfind("Cannot add", 0) == 0) {
        EXPECT_NE(box.find("\r\nreadme.txt\r\n      It is neither"), std::string::npos) << box;
      }
    }
  }
}

// Archives that would unpack to far more than they hold, and drops beyond the budget: refused
// before anything is written, each named once in the drop's one box.
TEST_F(ScenarioDrop, HostileArchivesAndTheBudgetOfADrop) {
  const std::string many = std::string(TESS_LARGE_ZIPS) + "/many-scenarios.zip";
  struct Case {
    const char* what;
    std::vector<std::string> dropped;
    Files added;
    std::vector<std::string> refused;  // what the box says of each
  };
  const Case cases[] = {
      {"hostile archives",
       {"shared-stream.zip", "overlapping.zip", "local-header-mismatch.zip", "outside-archive.zip"},
       {},
       {"shared-stream.zip\r\n      Nothing of it was added. It is not a zip archive",
        "overlapping.zip\r\n      Nothing of it was added.",
        "local-header-mismatch.zip\r\n      Nothing of it was added.",
        "outside-archive.zip\r\n      Nothing of it was added."}},
      {"3,000 scenarios in one archive", {"many.zip"}, {}, {"many.zip\r\n      One drop brings"}},
      {"160 MiB, then 100 MiB more",
       {"Big.scn", "Bigger.scn", "Small.scn"},
       {{Scn("Big"), std::string(160u << 20, '\0')}, {Scn("Small"), "small"}},
       {"Bigger.scn\r\n      One drop brings in at most 256 MiB and 1,000 scenarios"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Prepare({{"shared-stream.zip", "zip:shared-stream.zip"},
             {"overlapping.zip", "zip:overlapping.zip"},
             {"local-header-mismatch.zip", "zip:local-header-mismatch.zip"},
             {"outside-archive.zip", "zip:outside-archive.zip"},
             {"Small.scn", "small"}},
            {});
    ASSERT_TRUE(CopyFileA(many.c_str(), (downloads_.Path() + "\\many.zip").c_str(), FALSE));
    for (const auto& [name, size] : {std::pair{"Big.scn", 160u}, std::pair{"Bigger.scn", 100u}})
      WriteBytes(downloads_.Path() + "\\" + name, std::string(size << 20, '\0'));
    Start({{0, "Map0"}});
    DropOnWindow(Downloads(c.dropped));
    Files added;
    for (const auto& [name, bytes] : c.added) added[name] = Digest(bytes);
    EXPECT_EQ(GameFiles(), added);
    ASSERT_EQ(boxes.size(), 1u);
    for (const std::string& refused : c.refused)
      EXPECT_NE(boxes[0].find(refused), std::string::npos) << boxes[0];
  }
}

// Until the player has answered, nothing of the drop is on disk, and a log-off waits with a reason;
// a temporary file that a killed import left in the folder goes at the next write there (one that
// another copy of the tool holds stays); the answer then writes the scenario whole.
TEST_F(ScenarioDrop, NothingOnDiskBeforeTheAnswerAndALogOffWaits) {
  Prepare({{"Old.scn", "new"}, {"players.zip", "zip:players.zip"}},
          {{"Old.scn", "old"}, {"Killed.scn.tmp", "half"}, {"Held.scn.tmp", "busy"}});
  HANDLE held = HoldWithoutSharing(ScenarioFolder() + "\\Held.scn.tmp");
  Start({{0, "Map0"}});
  const Files before = GameFiles();
  Files atTheQuestion;
  LRESULT endSession = TRUE;
  std::string reasonAtTheQuestion;
  static std::string reason;
  ShutdownReasonGuard observer([](const std::string& given) { reason = given; });
  atQuestion = [&] {
    atTheQuestion = GameFiles();
    endSession = SendMessageA(main_->Hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    reasonAtTheQuestion = reason;
  };
  answers = {IDYES};
  DropOnWindow(Downloads({"players.zip", "Old.scn"}));
  CloseHandle(held);
  EXPECT_EQ(atTheQuestion, before);
  EXPECT_EQ(endSession, FALSE);
  EXPECT_EQ(reasonAtTheQuestion, "Scenarios are being added to the game.");
  EXPECT_EQ(reason, "") << "taken back after the drop";
  EXPECT_EQ(GameFiles(), (Files{{Scn("Old"), "new"},
                                {Scn("Oasis"), Digest(ZipScenario("Oasis"))},
                                {Scn("Dune"), Digest(ZipScenario("Dune", 1200))},
                                {"scenario\\Held.scn.tmp", "busy"}}));
  EXPECT_EQ(Rows(MainList()), Listed({{0, "Map0"}, {1, "Oasis"}, {2, "Dune"}, {3, "Old"}}));
}

// A name that reaches another file as its alias (Wine, as Windows, answers to a short 8.3 name
// such as "HARBOU~1.scn" for "Harbour At Dusk.scn") is not that file: it is refused, and the file
// stays; a name that differs only in letter case is the same file.
TEST_F(ScenarioDrop, AnAliasOfAnotherScenarioIsNotThatScenario) {
  Prepare({}, {{"Harbour At Dusk.scn", "harbour"}});
  wchar_t shortPath[MAX_PATH];
  ASSERT_GT(GetShortPathNameW(WideFromAnsi(ScenarioFolder() + "\\Harbour At Dusk.scn").c_str(),
                              shortPath, MAX_PATH),
            0u);
  const std::wstring alias =
      std::wstring(shortPath).substr(std::wstring(shortPath).rfind(L'\\') + 1);
  ASSERT_NE(alias, L"Harbour At Dusk.scn");
  const std::string aliasName = AnsiFromWide(alias).value_or("");
  WriteBytes(downloads_.Path() + "\\" + aliasName, "another scenario");
  WriteBytes(downloads_.Path() + "\\HARBOUR AT DUSK.scn", "harbour");
  Start({{0, "Map0"}});
  answers = {IDYES};
  DropOnWindow(Downloads({aliasName, "HARBOUR AT DUSK.scn"}));
  EXPECT_EQ(GameFiles(), (Files{{Scn("Harbour At Dusk"), "harbour"}}));
  EXPECT_EQ(Rows(MainList()), Listed({{0, "Map0"}, {1, "HARBOUR AT DUSK"}}));
  ASSERT_EQ(boxes.size(), 1u) << "no question: the alias is refused";
  EXPECT_NE(boxes[0].find(aliasName + "\r\n      Its name is another name (a short 8.3 name)"),
            std::string::npos)
      << boxes[0];
  EXPECT_EQ(answers.size(), 1u);
}

// One box names at most a dozen of what a drop refused, and a dozen of what got no menu, then how
// many more: 300 names that user.cfg cannot hold; 14 scenarios beside nine menus in use.
TEST_F(ScenarioDrop, EachBoxNamesADozenThenHowManyMore) {
  Prepare({}, {});
  ASSERT_TRUE(CopyFileA((std::string(TESS_LARGE_ZIPS) + "/bad-names.zip").c_str(),
                        (downloads_.Path() + "\\bad-names.zip").c_str(), FALSE));
  std::vector<std::string> dropped = {"bad-names.zip"};
  for (int n = 10; n < 24; ++n) {
    dropped.push_back("S" + std::to_string(n) + ".scn");
    WriteBytes(downloads_.Path() + "\\" + dropped.back(), dropped.back());
  }
  Slots nine;
  for (int n = 0; n < 9; ++n) nine[n] = "Map" + std::to_string(n);
  Start(nine);
  DropOnWindow(Downloads(dropped));
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0].find("Bad?011.scn in "), std::string::npos) << boxes[0];
  EXPECT_EQ(boxes[0].find("Bad?012.scn"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[0].find("\r\nand 288 more"), std::string::npos) << boxes[0];
  EXPECT_EQ(
      boxes[1],
      "No menu free\nAll ten menus are in use, so these scenarios got no menu:\r\n\r\nS11"
      "\r\nS12\r\nS13\r\nS14\r\nS15\r\nS16\r\nS17\r\nS18\r\nS19\r\nS20\r\nS21\r\nS22\r\nand 1 more"
      "\r\n\r\nThey are in the game's scenario folder now: Edit can put one of them in a "
      "menu.");
}

TEST_F(ScenarioDrop, NoDropWhileThePickerIsOpen) {
  Prepare({{"Oasis.scn", "oasis"}}, {});
  Start({{0, "Map0"}});
  TestData data(TestData::Kind::FileList, {Download("Oasis.scn")});
  DWORD effect = 0;
  PickerDriver driver(main_->Picker(), {[&](HWND) {
                                          DropOnWindow({Download("Oasis.scn")});
                                          effect = DragOnWindow(&data);
                                        },
                                        Press("Cancel")});
  Click(MainButton("Add"));
  EXPECT_TRUE(driver.RanAllSteps());
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(GameFiles(), Files{});
  EXPECT_EQ(Rows(MainList()), Listed({{0, "Map0"}}));
}

}  // namespace
