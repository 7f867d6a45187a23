// The real tessivane.exe in a process of its own, on a game folder that the test registered, seen
// and driven only through its windows, as a user would: the splash, the main window with the rows
// of user.cfg, a Delete that rewrites user.cfg, and the process ending when the main window
// closes.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/AnsiText.h"
#include "tests/support/WindowTestSupport.h"

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

class BlackBox : public WindowTest {
 protected:
  // Starts the real program with these arguments after its name, in UTF-16 as Explorer does.
  void Launch(const std::wstring& arguments) {
    std::string program = TESSIVANE_EXE;  // under Wine a Unix path /x/y is Z:\x\y
    if (program[0] == '/') program = "Z:" + program;
    std::replace(program.begin(), program.end(), '/', '\\');
    std::wstring commandLine = L"\"" + WideFromAnsi(program) + L"\"" + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &tool_))
        << program << ": " << GetLastError();
  }
  void TearDown() override {
    if (tool_.hProcess) {  // ended by force if the test leaves it running
      if (WaitForSingleObject(tool_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(tool_.hProcess, 99);
      CloseHandle(tool_.hThread);
      CloseHandle(tool_.hProcess);
    }
    WindowTest::TearDown();
  }
  // Closes the main window and returns the exit code of the program, which ends with it.
  DWORD CloseAndWait(HWND main) {
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(tool_.hProcess, 30000), WAIT_OBJECT_0) << "still running";
    DWORD exitCode = 1;
    GetExitCodeProcess(tool_.hProcess, &exitCode);
    return exitCode;
  }

  PROCESS_INFORMATION tool_{};
};

TEST_F(BlackBox, SplashThenMainWindowWhoseDeleteRewritesUserCfgThenExitZero) {
  // Other lines of the game's, one ended by a lone LF, around slots 0, 1 and 3 (2 is disabled).
  WriteBytes(game_.UserCfg(),
             "+showFPS\r\nsetVolume 0.5\n" +
                 AttractLines({{0, kWater}, {1, "Harbour At Dusk"}, {3, "Temple Hill"}}) +
                 "setGamma 1.1");
  Launch(L"");

  HWND splash = WaitForForm("");
  ASSERT_NE(splash, nullptr) << "no splash";
  PostMessageA(splash, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  PostMessageA(splash, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  HWND main = WaitForForm("Pelrith's Tessivane");
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
  EXPECT_TRUE(WaitUntil([&] { return RowsOf(list) == after; }));

  EXPECT_EQ(CloseAndWait(main), 0u);
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
  unsigned long error = 0;
  ASSERT_TRUE(CreateFolders(folder + std::string(kStartupFolder), &error));
  WriteBytes(folder + std::string(kUserCfgInGameFolder), AttractLines({{0, "Copied Game"}}));
  Launch(L" \"" + WideFromAnsi(folder) + L"\"");

  HWND main = WaitForForm("Pelrith's Tessivane");
  ASSERT_NE(main, nullptr) << "no main window";
  EXPECT_TRUE(WaitUntil([&] {
    return RowsOf(FindList(main)) == std::vector<std::string>{"Menu 0 : Copied Game"};
  }));
  EXPECT_EQ(CloseAndWait(main), 0u);
}

}  // namespace
