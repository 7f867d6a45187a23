#pragma once
// What the tests of the main window and the picker share: a game folder of the test's own that
// the registry points at, the message boxes and shell requests recorded instead of shown, the
// controls found and read as child windows, and the picker driven from inside its modal loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/modMain.h"
#include "platform/MsgBox.h"
#include "platform/ShellOpen.h"
#include "tests/platform/FormTestSupport.h"
#include "tests/support/RegistrySupport.h"
#include "tests/support/TempGameFolder.h"
#include "ui/frmMain.h"
#include "ui/frmSelectScn.h"

namespace window_test {

const std::string kGamesKey = "Software\\Microsoft\\Microsoft Games";
const std::string kGameKey = kGamesKey + "\\Age of Mythology\\1.0";
const std::string kAppPath = "AppPath";

// ---- message boxes and shell requests --------------------------------------------------------

struct ShownBox {
  std::string prompt;
  unsigned style = 0;
  std::string title;
};

inline std::vector<ShownBox>& ShownBoxes() {
  static std::vector<ShownBox> boxes;
  return boxes;
}

inline int RecordBox(const std::string& prompt, unsigned style, const std::string& title) {
  ShownBoxes().push_back({prompt, style, title});
  return IDOK;
}

inline std::vector<std::string>& ShellRequests() {
  static std::vector<std::string> files;
  return files;
}

inline HINSTANCE RecordShellRequest(HWND, const char*, const char* file, const char*, const char*,
                                    int) {
  ShellRequests().push_back(file ? file : "");
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));  // what success looks like
}

// ---- controls as child windows ---------------------------------------------------------------

inline HWND FindButton(HWND form, const char* caption) {
  return FindWindowExA(form, nullptr, "Button", caption);
}

inline HWND FindList(HWND form) { return FindWindowExA(form, nullptr, "ListBox", nullptr); }

inline std::vector<std::string> Rows(HWND list) {
  std::vector<std::string> rows;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT n = 0; n < count; ++n) {
    std::string text(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, n, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(
        SendMessageA(list, LB_GETTEXT, n, reinterpret_cast<LPARAM>(text.data()))));
    rows.push_back(text);
  }
  return rows;
}

inline int Selection(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }

inline void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

// A child window's place and size in its parent's client coordinates.
struct Place {
  int left, top, width, height;
  bool operator==(const Place&) const = default;
};

inline void PrintTo(const Place& p, std::ostream* out) {
  *out << "(" << p.left << "," << p.top << ") " << p.width << "x" << p.height;
}

inline Place PlaceOf(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

inline SIZE ClientSize(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return {r.right, r.bottom};
}

// ---- user.cfg --------------------------------------------------------------------------------

// Lines joined, each ended by CR LF as the game's files are.
inline std::string Lines(std::initializer_list<std::string> lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

// The ten attract-mode lines of a table whose enabled slots are these (slot -> scenario name).
using Slots = std::map<int, std::string>;
inline std::string AttractLines(const Slots& enabled) {
  std::string bytes;
  for (int slot = 0; slot < 10; ++slot) {
    const auto found = enabled.find(slot);
    bytes += found != enabled.end()
                 ? "attractMode-scenario-" + std::to_string(slot) + " " + found->second
                 : "-attractMode-scenario-" + std::to_string(slot);
    bytes += "\r\n";
  }
  return bytes;
}

// A file's bytes and its last-write time: a file that was rewritten, even with the same bytes,
// has a new time once it was set back with Backdate.
struct FileState {
  bool exists = false;
  std::string bytes;
  ULONGLONG lastWrite = 0;
  bool operator==(const FileState&) const = default;
};

inline void PrintTo(const FileState& s, std::ostream* out) {
  *out << (s.exists ? "file of " + std::to_string(s.bytes.size()) + " bytes" : "no file")
       << ", written at " << s.lastWrite << ":\n"
       << s.bytes;
}

inline FileState StateOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {};
  return {true, ReadBytes(path),
          (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) |
              data.ftLastWriteTime.dwLowDateTime};
}

// Sets the file's last-write time far into the past (1 January 2001).
inline void Backdate(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  SYSTEMTIME old{2001, 1, 1, 1, 12, 0, 0, 0};
  FILETIME time;
  SystemTimeToFileTime(&old, &time);
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
  CloseHandle(file);
}

// ---- the fixture -----------------------------------------------------------------------------

inline void SetHeldKeys(std::initializer_list<int> keys) {
  BYTE state[256] = {};
  for (int key : keys) state[key] = 0x80;
  SetKeyboardState(state);
}

inline void ResetGlobals() {
  sGamePath.clear();
  sCfgFile.clear();
  sPickedScenario.clear();
  bAutoSave = false;
  bOpenLinkOnShow = false;
}

// A game folder of the test's own, registered as the game's AppPath for the test's length, with
// message boxes and shell requests recorded, and the main window opened on it.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHeldKeys({});
    testing_support::DrainMessages();
    ResetGlobals();
    ShownBoxes().clear();
    ShellRequests().clear();
    previousBox_ = SetMsgBoxHandler(&RecordBox);
    previousShell_ = SetShellExecuteHandler(&RecordShellRequest);
    Register(game_.Path());
  }
  void TearDown() override {
    CloseMain();
    SetHeldKeys({});
    testing_support::DrainMessages();
    SetMsgBoxHandler(previousBox_);
    SetShellExecuteHandler(previousShell_);
  }

  static void Register(const std::string& folder) {
    ASSERT_TRUE(test_support::SetMachineValue(kGameKey, kAppPath, REG_SZ, folder + '\0'));
  }

  std::string ScenarioFolder() const { return game_.Path() + "scenario"; }
  // A fresh scenario folder holding these files (empty) and subfolders (names ending in "\").
  void MakeScenarioFolder(const std::vector<std::string>& entries) const {
    RemoveTree(ScenarioFolder());
    CreateDirectoryA(ScenarioFolder().c_str(), nullptr);
    for (const std::string& entry : entries) {
      const std::string path = ScenarioFolder() + "\\" + entry;
      if (entry.back() == '\\') {
        CreateDirectoryA(path.c_str(), nullptr);
      } else {
        WriteBytes(path, "scenario");
      }
    }
  }

  // Loads and shows a new main window, as the splash does, and waits for its first activation,
  // which switches saving on.
  void ShowMain() {
    CloseMain();
    main_ = std::make_unique<frmMain>();
    main_->Show();
    ASSERT_TRUE(testing_support::PumpUntil([] { return bAutoSave; })) << "never activated";
    testing_support::DrainMessages();  // the activation, also when loading set bAutoSave
  }
  void CloseMain() {
    if (!main_) return;
    main_->Unload();
    main_.reset();
    testing_support::DrainMessages();  // the quit that the last unload posts
  }
  HWND MainButton(const char* caption) const { return FindButton(main_->Hwnd(), caption); }
  HWND MainList() const { return FindList(main_->Hwnd()); }

  test_support::MachineValueGuard appPath_{kGamesKey, kGameKey, kAppPath};
  TempGameFolder game_;
  std::unique_ptr<frmMain> main_;

 private:
  MsgBoxHandler previousBox_ = nullptr;
  ShellExecuteHandler previousShell_ = nullptr;
};

// ---- the picker, from inside its modal loop --------------------------------------------------

// One action on the open picker, given its window.
using PickerStep = std::function<void(HWND picker)>;

// Runs the steps one per timer tick while the picker is open, so that keys posted by one step
// have been handled when the next runs. A picker still open after the last step is closed, and
// that is reported by LeftOpen. Arm it before the click or call that opens the picker.
class PickerDriver {
 public:
  PickerDriver(frmSelectScn& picker, std::vector<PickerStep> steps)
      : m_picker(picker), m_steps(std::move(steps)), m_timer(25, [this] { return Tick(); }) {}

  bool Opened() const { return m_next > 0; }
  bool RanAllSteps() const { return m_next == m_steps.size(); }
  bool LeftOpen() const { return m_leftOpen; }

 private:
  bool Tick() {
    if (m_next < m_steps.size()) {
      if (!m_picker.IsVisible()) return true;
      m_steps[m_next++](m_picker.Hwnd());
      return true;
    }
    if (m_picker.IsLoaded()) {
      m_leftOpen = true;
      m_picker.Unload();
    }
    return false;
  }

  frmSelectScn& m_picker;
  std::vector<PickerStep> m_steps;
  size_t m_next = 0;
  bool m_leftOpen = false;
  testing_support::ThreadTimer m_timer;
};

inline PickerStep ChooseRow(int row) {
  return [row](HWND picker) { SendMessageA(FindList(picker), LB_SETCURSEL, row, 0); };
}

// Chooses the row that reads exactly this.
inline PickerStep ChooseRowReading(std::string text) {
  return [text](HWND picker) {
    HWND list = FindList(picker);
    const std::vector<std::string> rows = Rows(list);
    for (size_t n = 0; n < rows.size(); ++n) {
      if (rows[n] == text) {
        SendMessageA(list, LB_SETCURSEL, n, 0);
        return;
      }
    }
    ADD_FAILURE() << "the picker offers no row " << text;
  };
}

inline PickerStep Press(const char* caption) {
  return [caption](HWND picker) {
    HWND button = FindButton(picker, caption);
    ASSERT_NE(button, nullptr) << caption;
    Click(button);
  };
}

// A key pressed and released on the focused window, through the modal loop as typed keys go.
inline PickerStep PostKey(int key) {
  return [key](HWND) {
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
  };
}

inline PickerStep ReadRows(std::vector<std::string>& rows, int& selection) {
  return [&rows, &selection](HWND picker) {
    rows = Rows(FindList(picker));
    selection = Selection(FindList(picker));
  };
}

}  // namespace window_test
