#pragma once
// What the window tests share: a game folder of the test's own that the registry points at, the
// message boxes and shell requests recorded instead of shown, the controls read as child windows,
// and the picker driven from inside its modal loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/modMain.h"
#include "platform/SystemFunction.h"
#include "platform/modHyperlink.h"
#include "platform/window/MsgBox.h"
#include "tests/support/FormTestSupport.h"
#include "tests/support/HandlerGuard.h"
#include "tests/support/RegistrySupport.h"
#include "tests/support/TempGameFolder.h"
#include "ui/frmMain.h"
#include "ui/frmSelectScn.h"

namespace test_support {

const std::string kWater = "~AoM_pgs_Water";
const std::string kNorse = "~UI_Norse";

inline std::vector<std::string> boxes;      // each as its title, a line break and its prompt
inline std::function<void()> whileBoxIsUp;  // runs as the real box's own loop would
inline std::vector<std::string> shellFiles;
inline std::vector<HWND> shellOwners;  // the owner of each request to the shell

inline HWND FindButton(HWND form, const char* caption) {
  return FindWindowExA(form, nullptr, "Button", caption);
}
inline HWND FindList(HWND form) { return FindWindowExA(form, nullptr, "ListBox", nullptr); }
inline int Selection(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }
inline void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

inline std::vector<std::string> Rows(HWND list) {
  std::vector<std::string> rows;
  for (LRESULT n = 0, count = SendMessageA(list, LB_GETCOUNT, 0, 0); n < count; ++n) {
    std::string text(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, n, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(
        SendMessageA(list, LB_GETTEXT, n, reinterpret_cast<LPARAM>(text.data()))));
    rows.push_back(text);
  }
  return rows;
}

// A child's left, top, width and height in its parent's client area.
using Place = std::array<long, 4>;
inline Place PlaceOf(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}
inline std::array<long, 2> ClientSize(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return {r.right, r.bottom};
}

// The window's rectangle around this client rectangle with its title bar and borders at `dpi`, as
// Windows computes it (AdjustWindowRectExForDpi, which Wine has too).
inline RECT WithFrameAt(HWND hwnd, RECT client, int dpi) {
  using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = SystemFunction<Adjust>("user32.dll", "AdjustWindowRectExForDpi");
  EXPECT_TRUE(adjust && adjust(&client, static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)),
                               FALSE, static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE)),
                               static_cast<UINT>(dpi)));
  return client;
}

// The window moved to a screen of `dpi`, as Windows does it: WM_DPICHANGED with the rectangle it
// suggests, the design client area at that DPI with the title bar and borders of that DPI, its
// top-left corner at `at`. Returns that rectangle.
inline RECT ChangeDpi(const Form& form, int dpi, POINT at = {37, 23}) {
  const HWND hwnd = form.Hwnd();
  RECT suggested = WithFrameAt(hwnd,
                               {0, 0, TwipsToPixels(form.Design().clientSize.width, dpi),
                                TwipsToPixels(form.Design().clientSize.height, dpi)},
                               dpi);
  OffsetRect(&suggested, at.x - suggested.left, at.y - suggested.top);
  SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  DrainMessages();
  return suggested;
}

// The ten attract-mode lines, CR LF ended, of a table whose enabled slots are these.
using Slots = std::map<int, std::string>;
inline std::string AttractLines(const Slots& enabled) {
  std::string bytes;
  for (int slot = 0; slot < 10; ++slot) {
    const std::string key = "attractMode-scenario-" + std::to_string(slot);
    bytes += (enabled.contains(slot) ? key + " " + enabled.at(slot) : "-" + key) + "\r\n";
  }
  return bytes;
}

// A file's last-write time and bytes; "" for no file. After Backdate, any rewrite shows.
inline std::string StateOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return "";
  const FILETIME& t = data.ftLastWriteTime;
  return std::to_string(t.dwHighDateTime) + ":" + std::to_string(t.dwLowDateTime) + "\n" +
         ReadBytes(path);
}
inline void Backdate(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  const FILETIME longAgo{0, 30000000};  // in 2009
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &longAgo)) << path;
  CloseHandle(file);
}

inline void ResetGlobals() {
  sGamePath.clear();
  sCfgFile.clear();
  sPickedScenario.clear();
  bAutoSave = bOpenLinkOnShow = false;
}

// A game folder of the test's own, registered as the game's AppPath for the test's length, with
// message boxes and shell requests recorded, and the main window opened on it.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHeldKeys({});
    DrainMessages();
    ResetGlobals();
    boxes.clear();
    shellFiles.clear();
    shellOwners.clear();
    whileBoxIsUp = nullptr;
    boxRecorder_.emplace([](const std::string& prompt, unsigned, const std::string& title) {
      boxes.push_back(title + "\n" + prompt);
      if (whileBoxIsUp) whileBoxIsUp();
      return IDOK;
    });
    shellRecorder_.emplace(
        [](HWND owner, const char*, const char* file, const char*, const char*, int) {
          shellFiles.push_back(file);
          shellOwners.push_back(owner);
          return reinterpret_cast<HINSTANCE>(INT_PTR{33});  // what success looks like
        });
    Register(game_.Path());
  }
  void TearDown() override {
    CloseMain();
    SetHeldKeys({});
    DrainMessages();  // the quit that the last unload posts
    whileBoxIsUp = nullptr;
    boxRecorder_.reset();
    shellRecorder_.reset();
  }

  static void Register(const std::string& folder) {
    ASSERT_TRUE(test_support::SetMachineValue(kGameKey, kAppPath, REG_SZ, folder + '\0'));
  }

  // A fresh scenario folder holding these files (empty) and subfolders (names ending in "\").
  std::string ScenarioFolder() const { return game_.Path() + std::string(kScenarioFolder); }
  void MakeScenarioFolder(const std::vector<std::string>& entries) const {
    RemoveTree(ScenarioFolder());
    CreateDirectoryA(ScenarioFolder().c_str(), nullptr);
    for (const std::string& entry : entries) {
      const std::string path = ScenarioFolder() + "\\" + entry;
      entry.back() == '\\' ? (void)CreateDirectoryA(path.c_str(), nullptr)
                           : WriteBytes(path, "scenario");
    }
  }

  // Loads and shows a new main window, as the splash does, and waits for its first activation,
  // which switches saving on.
  void ShowMain() {
    CloseMain();
    main_ = std::make_unique<frmMain>();
    main_->Show();
    ASSERT_TRUE(PumpUntil([] { return bAutoSave; })) << "never activated";
    DrainMessages();
  }
  void CloseMain() {
    if (main_) main_->Unload();
    main_.reset();
    DrainMessages();
  }
  HWND MainButton(const char* caption) const { return FindButton(main_->Hwnd(), caption); }
  HWND MainList() const { return FindList(main_->Hwnd()); }

  test_support::MachineValueGuard appPath_{kGamesKey, kGameKey, kAppPath};
  TempGameFolder game_;
  std::unique_ptr<frmMain> main_;

 private:
  std::optional<MsgBoxGuard> boxRecorder_;
  std::optional<ShellExecuteGuard> shellRecorder_;
};

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
    // A step that pumps messages (a drag waiting for the window under the pointer) must not run
    // the next step from inside itself.
    if (m_inStep) return true;
    if (m_next < m_steps.size()) {
      if (m_picker.IsVisible()) {
        m_inStep = true;
        m_steps[m_next++](m_picker.Hwnd());
        m_inStep = false;
      }
      return true;
    }
    if ((m_leftOpen = m_picker.IsLoaded())) m_picker.Unload();
    return false;
  }
  frmSelectScn& m_picker;
  std::vector<PickerStep> m_steps;
  size_t m_next = 0;
  bool m_inStep = false;
  bool m_leftOpen = false;
  test_support::ThreadTimer m_timer;
};

inline PickerStep ChooseRow(int row) {
  return [row](HWND picker) { SendMessageA(FindList(picker), LB_SETCURSEL, row, 0); };
}
inline PickerStep Press(const char* caption) {
  return [caption](HWND picker) { Click(FindButton(picker, caption)); };
}

}  // namespace test_support
