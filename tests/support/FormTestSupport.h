#pragma once
// Driving real windows from inside a test: pumping the thread's messages as the program's loops
// do, acting from inside a nested loop through thread timers, and a form that counts activations.
#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>

#include "platform/window/Form.h"
#include "platform/window/WindowError.h"

namespace test_support {

// Handles one waiting message; a WM_QUIT is swallowed, so that one test's quit does not end the
// next test's loops. False when none was waiting.
inline bool HandleOneMessage() {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message != WM_QUIT) DispatchFormMessage(msg);
  return true;
}

// The keys that the thread's keyboard state reports as held, as if the user held them (none: {}).
inline void SetHeldKeys(std::initializer_list<int> keys) {
  BYTE state[256] = {};
  for (int key : keys) state[key] = 0x80;
  SetKeyboardState(state);
}

inline void DrainMessages() {
  while (HandleOneMessage()) {
  }
}

// Handles messages until the condition holds; false if it still does not after a generous wait
// (a safety net against hanging, not a measure of speed).
inline bool PumpUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (!HandleOneMessage()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

// A label's caption measured in the font that it draws with (the one its window tells), and the
// width of its window: the caption is drawn on one line, so it shows whole if it fits.
struct LabelFit {
  long textWidth = 0;
  long labelWidth = 0;
};
inline LabelFit FitOf(HWND label) {
  char caption[256] = {};
  const int length = GetWindowTextA(label, caption, sizeof caption);
  HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32A(dc, caption, length, &extent);
  SelectObject(dc, previous);
  DeleteDC(dc);
  RECT client{};
  GetClientRect(label, &client);
  return {extent.cx, client.right};
}

// Runs an action every `ms` milliseconds on the thread's own timer (no window), so that it also
// runs inside a modal loop. Stops when destroyed or when the action returns false.
class ThreadTimer {
 public:
  using Action = std::function<bool()>;
  ThreadTimer(unsigned ms, Action action) : m_id(SetTimer(nullptr, 0, ms, &ThreadTimer::Proc)) {
    Actions()[m_id] = std::move(action);
  }
  ThreadTimer(const ThreadTimer&) = delete;
  ThreadTimer& operator=(const ThreadTimer&) = delete;
  ~ThreadTimer() { Stop(m_id); }

 private:
  static std::map<UINT_PTR, Action>& Actions() {
    static std::map<UINT_PTR, Action> actions;
    return actions;
  }
  static void Stop(UINT_PTR id) {
    KillTimer(nullptr, id);
    Actions().erase(id);
  }
  static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD) {
    const auto found = Actions().find(id);
    // Run a copy: the action may stop its own timer.
    if (found != Actions().end() && !Action(found->second)()) Stop(id);
  }
  UINT_PTR m_id;
};

// The first window of this class (a dialog is "#32770") among the children of `parent`, or with
// no parent among this thread's own windows; visible ones only, unless `anyVisibility`. nullptr
// when there is none.
inline HWND FindWindowOfClass(const char* className, HWND parent = nullptr,
                              bool anyVisibility = false) {
  struct Search {
    const char* className;
    bool anyVisibility;
    HWND found;
  } search{className, anyVisibility, nullptr};
  const WNDENUMPROC match = [](HWND hwnd, LPARAM context) {
    auto& wanted = *reinterpret_cast<Search*>(context);
    char name[16] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) != wanted.className || !(wanted.anyVisibility || IsWindowVisible(hwnd)))
      return TRUE;
    wanted.found = hwnd;
    return FALSE;
  };
  if (parent) {
    EnumChildWindows(parent, match, reinterpret_cast<LPARAM>(&search));
  } else {
    EnumThreadWindows(GetCurrentThreadId(), match, reinterpret_cast<LPARAM>(&search));
  }
  return search.found;
}

// Picks a folder in Windows' folder chooser (in this process or another) as a player does: types
// it into the chooser's name box and presses OK; "" presses Cancel.
inline void PickInFolderChooser(HWND chooser, const std::wstring& folder) {
  if (!folder.empty()) {
    SendMessageW(FindWindowOfClass("Edit", chooser), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(folder.c_str()));
  }
  PostMessageA(chooser, WM_COMMAND, folder.empty() ? IDCANCEL : IDOK, 0);
}

// Drives the folder chooser of this thread from inside its modal loop: picks the folder once the
// chooser, the thread's dialog, is up (PickInFolderChooser).
class FolderChooserDriver {
 public:
  explicit FolderChooserDriver(std::wstring folder)
      : m_folder(std::move(folder)), m_timer(50, [this] { return Tick(); }) {}
  bool Opened() const { return !m_title.empty(); }
  const std::wstring& Title() const { return m_title; }

 private:
  bool Tick() {
    const HWND chooser = FindWindowOfClass("#32770");
    if (!chooser) return true;
    m_title.assign(static_cast<size_t>(GetWindowTextLengthW(chooser)) + 1, L'\0');
    m_title.resize(static_cast<size_t>(
        GetWindowTextW(chooser, m_title.data(), static_cast<int>(m_title.size()))));
    if (m_title.empty()) m_title = L"?";
    PickInFolderChooser(chooser, m_folder);
    return false;
  }
  std::wstring m_folder;
  std::wstring m_title;
  test_support::ThreadTimer m_timer;
};

// A form that counts its activations and runs what a test hands it at each.
class RecordingForm : public Form {
 public:
  explicit RecordingForm(FormDesign design = {.caption = "Test", .clientSize = {3000, 2000}})
      : Form(std::move(design)) {}
  int activations = 0;
  std::function<void()> onActivate;
  std::function<void()> onLoad;

 protected:
  void Form_Load() override {
    if (onLoad) onLoad();
  }
  void Form_Activate() override {
    ++activations;
    if (onActivate) onActivate();
  }
};

}  // namespace test_support
