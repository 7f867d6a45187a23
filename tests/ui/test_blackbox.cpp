// The real tessivane.exe in a process of its own, on a game folder that the test registered, seen
// and driven only through its windows, as a user would: the splash, the main window with the rows
// of user.cfg, a Delete that rewrites user.cfg, and the process ending when the main window
// closes, with no window left behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "tests/ui/WindowTestSupport.h"

using namespace window_test;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char* kMainCaption = "Pelrith's Tessivane";
constexpr const char* kFormClass = "TessivaneForm";

// The build tree's path of the program; under Wine a Unix path /x/y is Z:\x\y.
std::string ProgramPath() {
  std::string path = TESSIVANE_EXE;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// Waits for the condition; false if it still does not hold after a generous time (a safety net
// against hanging, not a measure of speed).
bool WaitUntil(const std::function<bool()>& done) {
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(30);
  while (!done()) {
    if (Clock::now() > deadline) return false;
    Sleep(50);
  }
  return true;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

std::string TextOf(HWND hwnd) {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// The program's process, ended by force if a test leaves it running.
class ToolProcess {
 public:
  ToolProcess() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + ProgramPath() + "\"";
    m_started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &m_info) != FALSE;
  }
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;
  ~ToolProcess() {
    if (!m_started) return;
    if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(m_info.hProcess, 99);
      WaitForSingleObject(m_info.hProcess, 10000);
    }
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
  }

  bool Started() const { return m_started; }

  // The top-level windows of the process, hidden ones included.
  std::vector<HWND> Windows() const {
    struct Search {
      DWORD pid;
      std::vector<HWND> found;
    } search{m_info.dwProcessId, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
          auto* s = reinterpret_cast<Search*>(data);
          DWORD pid = 0;
          GetWindowThreadProcessId(hwnd, &pid);
          if (pid == s->pid) s->found.push_back(hwnd);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  // Its forms: the windows of the program's own class.
  std::vector<HWND> Forms() const {
    std::vector<HWND> forms = Windows();
    std::erase_if(forms, [](HWND hwnd) { return ClassOf(hwnd) != kFormClass; });
    return forms;
  }

  // The visible form with this caption, once there is one.
  HWND WaitForVisibleForm(const std::string& caption) const {
    HWND found = nullptr;
    WaitUntil([&] {
      for (HWND hwnd : Forms()) {
        if (IsWindowVisible(hwnd) && TextOf(hwnd) == caption) found = hwnd;
      }
      return found != nullptr;
    });
    return found;
  }

  // Waits for the process to end; its exit code, or -1 if it is still running.
  long WaitForExit() const {
    if (WaitForSingleObject(m_info.hProcess, 30000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    return static_cast<long>(code);
  }

 private:
  PROCESS_INFORMATION m_info{};
  bool m_started = false;
};

// The rows of another process's list box. Asked across processes, Wine 8 answers LB_GETTEXT in
// UTF-16 whichever form of the call asked, overrunning an ANSI buffer: ask in UTF-16 and convert.
std::vector<std::string> RowsOf(HWND list) {
  std::vector<std::string> rows;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT n = 0; n < count; ++n) {
    // The program may be refilling the list between two of these questions: then ask again.
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, n, 0);
    if (length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, n, reinterpret_cast<LPARAM>(text.data()));
    if (copied < 0 || copied > length) return {};
    text.resize(static_cast<size_t>(copied));
    std::string row(text.size() * 2 + 1, '\0');
    row.resize(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, text.data(),
                                                       static_cast<int>(text.size()), row.data(),
                                                       static_cast<int>(row.size()), nullptr,
                                                       nullptr)));
    rows.push_back(row);
  }
  return rows;
}

class BlackBox : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test_support::SetMachineValue(kGameKey, kAppPath, REG_SZ, game_.Path() + '\0'));
    WriteBytes(game_.UserCfg(), userCfg_);
  }

  // Other lines of the game's, one ended by a lone LF, around slots 0, 1 and 3 (2 is disabled).
  const std::string userCfg_ = "+showFPS\r\nsetVolume 0.5\n" +
                               AttractLines({{0, "~AoM_pgs_Water"},
                                             {1, "Harbour At Dusk"},
                                             {3, "Temple Hill"}}) +
                               "setGamma 1.1";

  test_support::MachineValueGuard appPath_{kGamesKey, kGameKey, kAppPath};
  TempGameFolder game_;
};

TEST_F(BlackBox, SplashThenMainWindowWhoseDeleteRewritesUserCfgThenExitZero) {
  ToolProcess tool;
  ASSERT_TRUE(tool.Started()) << ProgramPath() << ": error " << GetLastError();

  HWND splash = tool.WaitForVisibleForm("");
  ASSERT_NE(splash, nullptr) << "no splash";
  PostMessageA(splash, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  PostMessageA(splash, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));

  HWND main = tool.WaitForVisibleForm(kMainCaption);
  ASSERT_NE(main, nullptr) << "no main window";
  // The main window's activation unloads the splash, and from then on every change is saved.
  EXPECT_TRUE(WaitUntil([&] { return tool.Forms() == std::vector<HWND>{main}; }))
      << "the splash is still there";

  HWND list = FindList(main);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(RowsOf(list), (std::vector<std::string>{"Menu 0 : ~AoM_pgs_Water",
                                                    "Menu 1 : Harbour At Dusk",
                                                    "Menu 3 : Temple Hill"}));

  // Slot 1 goes; the later slots move down one place.
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  HWND deleteButton = FindButton(main, "Delete");
  ASSERT_NE(deleteButton, nullptr);
  PostMessageA(deleteButton, BM_CLICK, 0, 0);  // posted: a message box would block a send
  const std::vector<std::string> after = {"Menu 0 : ~AoM_pgs_Water", "Menu 2 : Temple Hill"};
  EXPECT_TRUE(WaitUntil([&] { return RowsOf(list) == after; }));

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(tool.WaitForExit(), 0);
  EXPECT_EQ(ReadBytes(game_.UserCfg()),
            "+showFPS\r\nsetVolume 0.5\r\nsetGamma 1.1\r\n" +
                AttractLines({{0, "~AoM_pgs_Water"}, {2, "Temple Hill"}}));
  EXPECT_FALSE(PathExists(game_.UserCfg() + ".tmp"));
}

TEST_F(BlackBox, WithoutInputTheTimerHandsOverAndClosingTheMainWindowLeavesNothingBehind) {
  ToolProcess tool;
  ASSERT_TRUE(tool.Started()) << ProgramPath() << ": error " << GetLastError();
  ASSERT_NE(tool.WaitForVisibleForm(""), nullptr) << "no splash";

  HWND main = tool.WaitForVisibleForm(kMainCaption);
  ASSERT_NE(main, nullptr) << "no main window";
  EXPECT_TRUE(WaitUntil([&] { return tool.Forms() == std::vector<HWND>{main}; }))
      << "the splash is still there, hidden or not";

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(tool.WaitForExit(), 0) << "the process is still running";
  EXPECT_TRUE(tool.Windows().empty());
  EXPECT_EQ(ReadBytes(game_.UserCfg()), userCfg_) << "nothing is saved without a change";
}

}  // namespace
