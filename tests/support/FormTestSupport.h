#pragma once
// Driving real windows from inside a test: pumping the thread's messages as the program's loops
// do, acting from inside a nested loop through thread timers, and a form that counts activations.
#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <map>
#include <utility>

#include "platform/window/Form.h"
#include "platform/window/MessageLoop.h"

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
