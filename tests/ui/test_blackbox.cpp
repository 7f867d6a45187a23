// The real tessivane.exe in a process of its own, on a game folder that the test registered, seen
// and driven only through its windows, as a user would: the splash, the main window with the rows
// of user.cfg, a Delete that rewrites user.cfg, and the process ending when the main window
// closes.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/AnsiText.h"
#include "platform/FileSystem.h"
#include "tests/support/WindowTestSupport.h"
#include "tests/support/ZipFixtures.h"
#include "ui/ProgramIdentity.h"

using namespace test_support;

namespace {

// Waits for the condition; false if it still does not hold after a generous time (a safety net
// against hanging, not a measure of speed).
bool WaitUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(50);
  }
  return true;
}

// The visible form of the program with this caption, once there is one.
HWND WaitForForm(const char* caption) {
  HWND found = nullptr;
  WaitUntil([&] {
    found = FindWindowA("TessivaneForm", caption);
    return found && IsWindowVisible(found);
  });
  return found;
}

// The rows of another process's list box. Asked across processes, Wine 8 answers LB_GETTEXT in
// UTF-16 whichever form of the call asked, overrunning an ANSI buffer: ask in UTF-16 and convert.
// The program may be refilling the list meanwhile: then there are no rows, and the caller asks
// again.
std::vector<std::string> RowsOf(HWND list) {
  std::vector<std::string> rows;
  for (LRESULT n = 0, count = SendMessageW(list, LB_GETCOUNT, 0, 0); n < count; ++n) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, n, 0);
    if (length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, n, reinterpret_cast<LPARAM>(text.data()));
    if (copied < 0 || copied > length) return {};
    rows.emplace_back(text.begin(), text.begin() + copied);  // the rows are ASCII
  }
  return rows;
}

// Waits until the window's list shows these rows; false if it never does.
bool ShowsRows(HWND main, const std::vector<std::string>& rows) {
  return WaitUntil([&] { return RowsOf(FindList(main)) == rows; });
}

void ClickAway(HWND splash) {
  PostMessageA(splash, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  PostMessageA(splash, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
}

// A visible window of this class and caption that the process owns; nullptr while there is none.
HWND WindowOf(DWORD process, const char* className, const char* caption) {
  for (HWND hwnd = FindWindowExA(nullptr, nullptr, className, caption); hwnd;
       hwnd = FindWindowExA(nullptr, hwnd, className, caption)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == process && IsWindowVisible(hwnd)) return hwnd;
  }
  return nullptr;
}

class BlackBox : public WindowTest {
 protected:
  // Starts the real program with these arguments after its name, in UTF-16 as Explorer does;
  // ended by force at the test's end if it still runs.
  PROCESS_INFORMATION Start(const std::wstring& arguments, DWORD creationFlags = 0,
                            const std::string& currentFolder = "",
                            std::string program = BuiltProgram()) {
    std::wstring commandLine = L"\"" + WideFromAnsi(program) + L"\"" + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    const std::wstring folder = WideFromAnsi(currentFolder);
    EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, creationFlags,
                               nullptr, folder.empty() ? nullptr : folder.c_str(), &startup,
                               &started))
        << program << ": " << GetLastError();
    tools_.push_back(started);
    return started;
  }
  // The tessivane.exe of the build tree.
  static std::string BuiltProgram() {
    std::string program = TESSIVANE_EXE;  // under Wine a Unix path /x/y is Z:\x\y
    if (program[0] == '/') program = "Z:" + program;
    std::replace(program.begin(), program.end(), '/', '\\');
    return program;
  }
  void TearDown() override {
    for (const PROCESS_INFORMATION& tool : tools_) {
      if (!tool.hProcess) continue;
      if (WaitForSingleObject(tool.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(tool.hProcess, 99);
      CloseHandle(tool.hThread);
      CloseHandle(tool.hProcess);
    }
    WindowTest::TearDown();
  }
  // Closes the main window and returns the exit code of the program, which ends with it.
  DWORD CloseAndWait(HWND main, const PROCESS_INFORMATION& tool) {
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(tool.hProcess, 30000), WAIT_OBJECT_0) << "still running";
    DWORD exitCode = 1;
    GetExitCodeProcess(tool.hProcess, &exitCode);
    return exitCode;
  }
  // The program's main window, once it is shown (the splash clicked away), with its list.
  HWND MainOf(const PROCESS_INFORMATION& tool) {
    HWND main = nullptr;
    WaitUntil([&] {
      if (HWND splash = WindowOf(tool.dwProcessId, "TessivaneForm", "")) ClickAway(splash);
      return (main = WindowOf(tool.dwProcessId, "TessivaneForm", kProgramCaption.data())) !=
                 nullptr &&
             !WindowOf(tool.dwProcessId, "TessivaneForm", "");
    });
    return main;
  }
  // The exit code of a program that ends by itself; 99 when it is still running.
  DWORD ExitCodeOf(const PROCESS_INFORMATION& tool) {
    DWORD exitCode = 99;
    if (WaitForSingleObject(tool.hProcess, 30000) == WAIT_OBJECT_0)
      GetExitCodeProcess(tool.hProcess, &exitCode);
    return exitCode;
  }
  void AddRow(const PROCESS_INFORMATION& tool, HWND main, int row) {
    PostMessageA(FindButton(main, "Add"), BM_CLICK, 0, 0);
    HWND picker = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (picker = WindowOf(tool.dwProcessId, "TessivaneForm", "")); }));
    SendMessageA(FindList(picker), LB_SETCURSEL, row, 0);
    PostMessageA(FindButton(picker, "OK"), BM_CLICK, 0, 0);
  }
  // Waits for the program's message box with this title, answers it with this button and waits
  // until it is gone.
  bool Answer(const PROCESS_INFORMATION& tool, const char* title, int button) {
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = WindowOf(tool.dwProcessId, "#32770", title)) != nullptr; }))
      return false;
    PostMessageA(box, WM_COMMAND, button, 0);
    return WaitUntil([&] { return !IsWindow(box); });
  }

  std::vector<PROCESS_INFORMATION> tools_;
};

// Windows refuses a window while the main window is made: the main window itself, or one of its
// controls. Either way one error box says why, and once it is answered the program ends with exit
// code 1: no splash left behind that a click cannot close, no exit code 0.
TEST_F(BlackBox, MainWindowThatCannotBeMadeIsReportedOnceAndTheExitCodeIsOne) {
  const HMODULE hook = LoadLibraryA(REFUSE_WINDOW_HOOK);
  ASSERT_NE(hook, nullptr) << REFUSE_WINDOW_HOOK;
  const auto refuse = reinterpret_cast<HOOKPROC>(
      reinterpret_cast<void*>(GetProcAddress(hook, "RefuseNamedWindow")));
  for (const char* refused : {kProgramCaption.data(), "Add"}) {
    SetEnvironmentVariableA("TESS_REFUSE_WINDOW", refused);
    const PROCESS_INFORMATION tool = Start(L"", CREATE_SUSPENDED);
    SetEnvironmentVariableA("TESS_REFUSE_WINDOW", nullptr);
    const HHOOK hooked = SetWindowsHookExA(WH_CBT, refuse, hook, tool.dwThreadId);
    ASSERT_NE(hooked, nullptr) << GetLastError();
    ResumeThread(tool.hThread);
    HWND splash = WaitForForm("");
    ASSERT_NE(splash, nullptr) << refused << ": no splash";
    ClickAway(splash);
    EXPECT_TRUE(Answer(tool, kProgramCaption.data(), IDOK)) << refused << ": no error box";
    EXPECT_EQ(WaitForSingleObject(tool.hProcess, 30000), WAIT_OBJECT_0) << refused;
    DWORD exitCode = 0;
    GetExitCodeProcess(tool.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 1u) << refused;
    UnhookWindowsHookEx(hooked);
  }
  FreeLibrary(hook);
}

TEST_F(BlackBox, SplashThenMainWindowWhoseDeleteRewritesUserCfgThenExitZero) {
  // Other lines of the game's, one ended by a lone LF, around slots 0, 1 and 3 (2 is disabled).
  WriteBytes(game_.UserCfg(),
             "+showFPS\r\nsetVolume 0.5\n" +
                 AttractLines({{0, kWater}, {1, "Harbour At Dusk"}, {3, "Temple Hill"}}) +
                 "setGamma 1.1");
  const PROCESS_INFORMATION tool = Start(L"");

  HWND splash = WaitForForm("");
  ASSERT_NE(splash, nullptr) << "no splash";
  ClickAway(splash);
  HWND main = WaitForForm(kProgramCaption.data());
  ASSERT_NE(main, nullptr) << "no main window";
  // The main window's activation unloads the splash, and from then on every change is saved.
  EXPECT_TRUE(WaitUntil([] { return !FindWindowA("TessivaneForm", ""); })) << "the splash stays";

  HWND list = FindList(main);
  EXPECT_EQ(RowsOf(list),
            (std::vector<std::string>{"Menu 0 : ~AoM_pgs_Water", "Menu 1 : Harbour At Dusk",
                                      "Menu 3 : Temple Hill"}));
  // Slot 1 goes; the later slots move down one place.
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  PostMessageA(FindButton(main, "Delete"), BM_CLICK, 0, 0);  // posted: a message box would block
  const std::vector<std::string> after = {"Menu 0 : ~AoM_pgs_Water", "Menu 2 : Temple Hill"};
  EXPECT_TRUE(ShowsRows(main, after));

  EXPECT_EQ(CloseAndWait(main, tool), 0u);
  EXPECT_EQ(ReadBytes(game_.UserCfg()), "+showFPS\r\nsetVolume 0.5\r\nsetGamma 1.1\r\n" +
                                            AttractLines({{0, kWater}, {2, "Temple Hill"}}));
}

// A game folder given on the command line, quoted with its spaces and final backslash as a
// console user types it, is used although the registry names none. Where the code page holds
// them (make test runs this in Japanese and Chinese too), its name ends in characters whose last
// byte is that of "\\" (表 in 932, 功 in 950).
TEST_F(BlackBox, GameFolderOnTheCommandLineReplacesTheRegistry) {
  test_support::DeleteMachineValue(kGameKey, kAppPath);
  TempFolder parent;
  const std::string name = AnsiFromWide(L"Game folder 功表").value_or("Game folder");
  const std::string folder = parent.Path() + "\\" + name + "\\";
  ASSERT_TRUE(WriteBytesMakingFolders(folder + std::string(kUserCfgInGameFolder),
                                      AttractLines({{0, "Copied Game"}})));
  const PROCESS_INFORMATION tool = Start(L" \"" + WideFromAnsi(folder) + L"\"");

  HWND main = WaitForForm(kProgramCaption.data());
  ASSERT_NE(main, nullptr) << "no main window";
  EXPECT_TRUE(ShowsRows(main, {"Menu 0 : Copied Game"}));
  EXPECT_EQ(CloseAndWait(main, tool), 0u);
}

// Files on the command line, as Explorer passes what was dropped on the program or opened with it,
// beside the game folder (before it, here): taken once the main window is up, in their order, the
// question about a scenario of the same name answered in the real box.
TEST_F(BlackBox, FilesOnTheCommandLineAreTakenAsDroppedOnTheWindow) {
  test_support::DeleteMachineValue(kGameKey, kAppPath);
  TempFolder downloads;
  const std::string folder = downloads.Path() + "\\Game\\";
  ASSERT_TRUE(WriteBytesMakingFolders(folder + std::string(kUserCfgInGameFolder),
                                      AttractLines({{0, "Copied Game"}})));
  ASSERT_TRUE(WriteBytesMakingFolders(folder + "scenario\\Old.scn", "old"));
  WriteBytes(downloads.Path() + "\\Reef.scn", "reef");
  WriteBytes(downloads.Path() + "\\Old.scn", "new");
  ASSERT_TRUE(CopyFileA(ZipFixture("players.zip").c_str(),
                        (downloads.Path() + "\\Oasis Pack.zip").c_str(), FALSE));
  std::wstring arguments;
  for (const char* file : {"Reef.scn", "Oasis Pack.zip", "Old.scn"})
    arguments += L" \"" + WideFromAnsi(downloads.Path() + "\\" + file) + L"\"";
  const PROCESS_INFORMATION tool = Start(arguments + L" \"" + WideFromAnsi(folder) + L"\"");

  HWND main = MainOf(tool);
  ASSERT_NE(main, nullptr) << "no main window";
  EXPECT_TRUE(Answer(tool, "Replace scenario?", IDNO)) << "no question about Old";
  EXPECT_TRUE(ShowsRows(main, {"Menu 0 : Copied Game", "Menu 1 : Reef", "Menu 2 : Oasis",
                               "Menu 3 : Dune", "Menu 4 : Old (2)"}));
  EXPECT_EQ(CloseAndWait(main, tool), 0u);
  EXPECT_EQ(ReadBytes(folder + "scenario\\Reef.scn"), "reef");
  EXPECT_EQ(ReadBytes(folder + "scenario\\Old.scn"), "old");
  EXPECT_EQ(ReadBytes(folder + "scenario\\Old (2).scn"), "new");
  EXPECT_TRUE(ReadBytes(folder + "scenario\\Dune.scn") == ZipScenario("Dune", 1200));
  EXPECT_EQ(ReadBytes(downloads.Path() + "\\Old.scn"), "new") << "the dropped file stays";
}

// A drop that is refused is said in one box; the window then closes, and the program ends with it.
// Before, a box for each of 300 names went on coming after the window had been closed, ownerless,
// each box's own loop ending at the quit message that the closed window had posted and posting it
// again for the next; and 3,000 scenarios were written and flushed one by one inside the window's
// activation, taking no message (a close included) for as long, then named in a box 32,767 pixels
// tall. Asked to close while the box is up, the window now waits for the drop to end, then closes.
// The window is drawn before the files are taken.
TEST_F(BlackBox, AfterARefusedDropTheWindowClosesAndTheProgramEnds) {
  test_support::DeleteMachineValue(kGameKey, kAppPath);
  TempFolder downloads;
  const std::string folder = downloads.Path() + "\\Game\\";
  for (const char* archive : {"bad-names.zip", "many-scenarios.zip"}) {
    for (const bool closeDuringTheBox : {false, true}) {
      SCOPED_TRACE(std::string(archive) + (closeDuringTheBox ? ", closed during the box" : ""));
      ASSERT_TRUE(WriteBytesMakingFolders(folder + std::string(kUserCfgInGameFolder),
                                          AttractLines({{0, "Copied Game"}})));
      // Saved deep in a player's folders: the box must still fit on the screen.
      const std::string zip = downloads.Path() +
                              "\\Downloads from the fan site\\Scenario packs of the season\\" +
                              archive;
      ASSERT_TRUE(WriteBytesMakingFolders(zip, ""));
      ASSERT_TRUE(
          CopyFileA((std::string(TESS_LARGE_ZIPS) + "/" + archive).c_str(), zip.c_str(), FALSE));
      const PROCESS_INFORMATION tool =
          Start(L" \"" + WideFromAnsi(zip) + L"\" \"" + WideFromAnsi(folder) + L"\"");
      HWND main = MainOf(tool);
      ASSERT_NE(main, nullptr) << "no main window";
      HWND box = nullptr;
      ASSERT_TRUE(WaitUntil([&] {
        return (box = WindowOf(tool.dwProcessId, "#32770", "Cannot add scenario")) != nullptr;
      }));
      RECT shown;
      GetWindowRect(box, &shown);
      EXPECT_LE(shown.bottom - shown.top, 768) << "the box fits on the screen";
      EXPECT_EQ(RowsOf(FindList(main)), std::vector<std::string>{"Menu 0 : Copied Game"})
          << "the window shows its rows before the drop is said";
      EXPECT_FALSE(GetUpdateRect(main, nullptr, FALSE)) << "and is drawn";
      if (closeDuringTheBox) PostMessageA(main, WM_CLOSE, 0, 0);
      EXPECT_TRUE(Answer(tool, "Cannot add scenario", IDOK));
      Sleep(500);  // time for another box to come, were there one
      EXPECT_EQ(WindowOf(tool.dwProcessId, "#32770", "Cannot add scenario"), nullptr)
          << "one box for the drop";
      if (closeDuringTheBox) {
        EXPECT_EQ(WaitForSingleObject(tool.hProcess, 30000), WAIT_OBJECT_0) << "still running";
      } else {
        EXPECT_EQ(CloseAndWait(main, tool), 0u);
      }
      EXPECT_NE(GetPathKind(WidePath(folder + "scenario")), PathKind::Folder)
          << "nothing of them written";
    }
  }
}

// A start with a file while the tool is open on the same game, as Explorer's "Open with" makes
// it, named relative to the folder it was started in: the open window takes the file as dropped
// on it, and the start ends with 0, having shown nothing.
TEST_F(BlackBox, StartWithAFileHandsItToTheWindowOpenOnTheSameGame) {
  MakeScenarioFolder({});
  WriteBytes(game_.UserCfg(), AttractLines({{0, kWater}}));
  TempFolder downloads;
  WriteBytes(downloads.Path() + "\\Reef.scn", "reef");
  const PROCESS_INFORMATION first = Start(L"");
  HWND main = MainOf(first);
  ASSERT_NE(main, nullptr) << "no main window";

  const PROCESS_INFORMATION second = Start(L" Reef.scn", 0, downloads.Path());
  EXPECT_EQ(ExitCodeOf(second), 0u);
  EXPECT_TRUE(ShowsRows(main, {"Menu 0 : ~AoM_pgs_Water", "Menu 1 : Reef"}));
  EXPECT_EQ(ReadBytes(game_.UserCfg()), AttractLines({{0, kWater}, {1, "Reef"}}));
  EXPECT_EQ(ReadBytes(ScenarioFolder() + "\\Reef.scn"), "reef");
  EXPECT_EQ(CloseAndWait(main, first), 0u);
}

// Explorer's "Open with" on three downloads starts the tool three times at once: one window takes
// all three, and the other two starts end with 0.
TEST_F(BlackBox, ThreeStartsWithAFileEachAtOnceEndInOneWindow) {
  MakeScenarioFolder({});
  WriteBytes(game_.UserCfg(), AttractLines({{0, kWater}}));
  TempFolder downloads;
  std::vector<PROCESS_INFORMATION> starts;
  for (const char* name : {"Alpha", "Beta", "Gamma"}) {
    const std::string file = downloads.Path() + "\\" + name + ".scn";
    WriteBytes(file, name);
    starts.push_back(Start(L" \"" + WideFromAnsi(file) + L"\""));
  }
  HWND main = nullptr;
  const PROCESS_INFORMATION* owner = nullptr;
  std::set<DWORD> showing;  // the starts seen with a splash or a window
  ASSERT_TRUE(WaitUntil([&] {
    for (const PROCESS_INFORMATION& start : starts) {
      if (HWND splash = WindowOf(start.dwProcessId, "TessivaneForm", "")) {
        showing.insert(start.dwProcessId);
        ClickAway(splash);
      }
      if (HWND found = WindowOf(start.dwProcessId, "TessivaneForm", kProgramCaption.data())) {
        main = found;
        owner = &start;
        showing.insert(start.dwProcessId);
      }
    }
    return main != nullptr;
  })) << "no main window";
  EXPECT_EQ(showing.size(), 1u) << "starts that showed a splash or a window";
  // In the order in which the starts reached the window, which is none in particular.
  std::vector<std::string> menus;
  ASSERT_TRUE(WaitUntil([&] {
    menus.clear();
    for (const std::string& row : RowsOf(FindList(main))) menus.push_back(row.substr(9));
    std::sort(menus.begin(), menus.end());
    return menus.size() == 4;
  })) << "rows: "
      << menus.size();
  EXPECT_EQ(menus, (std::vector<std::string>{"Alpha", "Beta", "Gamma", "~AoM_pgs_Water"}));
  for (const PROCESS_INFORMATION& start : starts) {
    if (&start != owner) {
      EXPECT_EQ(ExitCodeOf(start), 0u);
    }
  }
  EXPECT_EQ(CloseAndWait(main, *owner), 0u);
  const std::string saved = ReadBytes(game_.UserCfg());
  for (const char* name : {"Alpha", "Beta", "Gamma"}) {
    EXPECT_NE(saved.find(std::string(" ") + name + "\r\n"), std::string::npos) << name;
  }
}

// Two copies of the tool on one game, as a player leaves one open and starts another: each
// shows what the other saved when it is activated, and the file ends with both menus. The file
// enables slot 1 but not slot 0: start-up puts the built-in into slot 0 and keeps slot 1.
TEST_F(BlackBox, TwoCopiesOnOneGameKeepEachOthersMenus) {
  MakeScenarioFolder({"Alpha.scn", "Beta.scn"});
  WriteBytes(game_.UserCfg(),
             "-attractMode-scenario-0\r\nattractMode-scenario-1 Harbour At Dusk\r\n");
  const std::vector<std::string> atStart = {"Menu 0 : ~AoM_pgs_Water", "Menu 1 : Harbour At Dusk"};
  const PROCESS_INFORMATION a = Start(L""), b = Start(L"");
  HWND mainA = MainOf(a), mainB = MainOf(b);
  ASSERT_TRUE(mainA && mainB);
  EXPECT_TRUE(ShowsRows(mainA, atStart) && ShowsRows(mainB, atStart));

  std::vector<std::string> withAlpha = atStart;
  withAlpha.push_back("Menu 2 : Alpha");
  AddRow(a, mainA, 2);
  ASSERT_TRUE(ShowsRows(mainA, withAlpha));
  SetForegroundWindow(mainB);
  EXPECT_TRUE(ShowsRows(mainB, withAlpha)) << "B shows A's menu";
  AddRow(b, mainB, 3);
  std::vector<std::string> both = withAlpha;
  both.push_back("Menu 3 : Beta");
  EXPECT_TRUE(ShowsRows(mainB, both));
  SetForegroundWindow(mainA);
  EXPECT_TRUE(ShowsRows(mainA, both)) << "A shows B's menu";

  EXPECT_EQ(CloseAndWait(mainA, a), 0u);
  EXPECT_EQ(CloseAndWait(mainB, b), 0u);
  EXPECT_EQ(ReadBytes(game_.UserCfg()),
            AttractLines({{0, kWater}, {1, "Harbour At Dusk"}, {2, "Alpha"}, {3, "Beta"}}));
}

// The game holds user.cfg at a Delete: the save fails and says so. Released before the close, the
// change is saved then; still held, the close asks, and No closes without it.
TEST_F(BlackBox, ChangeThatCouldNotBeSavedIsSavedAtCloseOrAskedAbout) {
  const std::string before = AttractLines({{0, kWater}, {1, kNorse}});
  for (const bool releasedBeforeClose : {true, false}) {
    WriteBytes(game_.UserCfg(), before);
    const PROCESS_INFORMATION tool = Start(L"");
    HWND main = MainOf(tool);
    ASSERT_NE(main, nullptr);
    HANDLE held = HoldWithoutSharing(game_.UserCfg());
    PostMessageA(FindButton(main, "Delete"), BM_CLICK, 0, 0);
    EXPECT_TRUE(Answer(tool, "Cannot save menus", IDOK)) << "the failed save is said";
    if (releasedBeforeClose) CloseHandle(held);
    PostMessageA(main, WM_CLOSE, 0, 0);
    if (!releasedBeforeClose) {
      EXPECT_TRUE(Answer(tool, "Cannot save menus", IDNO)) << "no box at close";
    }
    EXPECT_EQ(WaitForSingleObject(tool.hProcess, 30000), WAIT_OBJECT_0) << "still running";
    if (!releasedBeforeClose) CloseHandle(held);
    EXPECT_EQ(ReadBytes(game_.UserCfg()),
              releasedBeforeClose ? AttractLines({{0, kNorse}}) : before);
  }
}

// The exe put into a copied game folder, as a player without any setup does, finds that game,
// also when the registry names another one.
TEST_F(BlackBox, ProgramInTheGameFolderFindsThatGame) {
  WriteBytes(game_.UserCfg(), AttractLines({{0, "Registered Game"}}));
  TempFolder copied;
  const std::string folder = copied.Path() + "\\Age of Mythology\\";
  ASSERT_TRUE(WriteBytesMakingFolders(folder + std::string(kUserCfgInGameFolder),
                                      AttractLines({{0, "Copied Game"}})));
  ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), (folder + "tessivane.exe").c_str(), FALSE));
  const PROCESS_INFORMATION tool = Start(L"", 0, "", folder + "tessivane.exe");
  HWND main = MainOf(tool);
  ASSERT_NE(main, nullptr) << "no main window";
  EXPECT_TRUE(ShowsRows(main, {"Menu 0 : Copied Game"}));
  EXPECT_EQ(CloseAndWait(main, tool), 0u);
}

// The Extended Edition in a second Steam library, as Steam leaves it: no AppPath, Steam's folder
// for the user in lower case with "/", libraryfolders.vdf in today's form and in the old one,
// the game's app manifest in the library.
TEST_F(BlackBox, GameInASecondSteamLibraryIsFound) {
  test_support::DeleteMachineValue(kGameKey, kAppPath);
  const test_support::SteamKeysGuard steamKeys;
  TempFolder root;
  const std::string steam = root.Path() + "\\Steam", library = root.Path() + "\\SteamLibrary";
  std::string escaped;  // the library as Steam's files write it, each "\\" as "\\\\"
  for (const char c : library) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  std::string written = steam;  // and Steam's folder as the registry holds it for the user
  std::replace(written.begin(), written.end(), '\\', '/');
  std::transform(written.begin(), written.end(), written.begin(), [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  });
  ASSERT_TRUE(test_support::SetMachineText(test_support::kSteamKey, "SteamPath",
                                           WideFromAnsi(written), HKEY_CURRENT_USER));
  const std::string game = library + "\\steamapps\\common\\Age of Mythology\\";
  ASSERT_TRUE(WriteBytesMakingFolders(game + std::string(kUserCfgInGameFolder),
                                      AttractLines({{0, "Steam Game"}})));
  ASSERT_TRUE(WriteBytesMakingFolders(
      library + "\\steamapps\\appmanifest_266840.acf",
      "\"AppState\"\n{\n\t\"appid\"\t\t\"266840\"\n\t\"Universe\"\t\t\"1\"\n"
      "\t\"name\"\t\t\"Age of Mythology: Extended Edition\"\n\t\"StateFlags\"\t\t\"4\"\n"
      "\t\"installdir\"\t\t\"Age of Mythology\"\n}\n"));
  const std::string forms[] = {
      "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"C:\\\\Program Files "
      "(x86)\\\\Steam\"\n"
      "\t\t\"apps\"\n\t\t{\n\t\t}\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" +
          escaped + "\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"266840\"\t\t\"3418710263\"\n\t\t}\n\t}\n}\n",
      "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1609459200\"\n"
      "\t\"ContentStatsID\"\t\t\"-4519864474624416385\"\n\t\"1\"\t\t\"" +
          escaped + "\"\n}\n"};
  for (const std::string& form : forms) {
    ASSERT_TRUE(WriteBytesMakingFolders(steam + "\\steamapps\\libraryfolders.vdf", form));
    const PROCESS_INFORMATION tool = Start(L"");
    HWND main = MainOf(tool);
    ASSERT_NE(main, nullptr) << "no main window";
    EXPECT_TRUE(ShowsRows(main, {"Menu 0 : Steam Game"})) << form;
    EXPECT_EQ(CloseAndWait(main, tool), 0u);
  }
}

// No game anywhere: the lookup's box as ever, then Add opens Windows' folder chooser in which the
// player picks the game's folder; its menus are shown, and a box says how to have the folder found
// at every start.
TEST_F(BlackBox, NoGameFoundThenTheFolderChosenWithAdd) {
  test_support::DeleteMachineValue(kGameKey, kAppPath);
  WriteBytes(game_.UserCfg(), AttractLines({{0, "Chosen Game"}}));
  const PROCESS_INFORMATION tool = Start(L"");
  EXPECT_TRUE(Answer(tool, "Invalid AoM path", IDOK)) << "no lookup box";
  HWND main = MainOf(tool);
  ASSERT_NE(main, nullptr) << "no main window";
  PostMessageA(FindButton(main, "Add"), BM_CLICK, 0, 0);
  HWND chooser = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    return (chooser = WindowOf(tool.dwProcessId, "#32770",
                               "Choose the folder where AoM is installed")) != nullptr;
  })) << "no folder chooser";
  PickInFolderChooser(chooser, WideFromAnsi(game_.Path()));
  EXPECT_TRUE(Answer(tool, "Game folder chosen", IDOK)) << "no box about the chosen folder";
  EXPECT_TRUE(ShowsRows(main, {"Menu 0 : Chosen Game"}));
  EXPECT_EQ(CloseAndWait(main, tool), 0u);
}

}  // namespace
