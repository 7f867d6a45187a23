#pragma once
// Driving real windows from inside a test: pumping the thread's messages as the program's loops
// do, acting from inside a nested loop through thread timers, and a form that records its events.
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "platform/Form.h"

namespace testing_support {

// Handles every message waiting, WM_QUIT included, so that one test's quit does not end the
// next test's loops.
inline void DrainMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_QUIT) DispatchFormMessage(msg);
  }
}

// Handles messages until the condition holds; false if it still does not after a generous wait
// (a safety net against hanging, not a measure of speed).
inline bool PumpUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message != WM_QUIT) DispatchFormMessage(msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  return true;
}

// Runs an action every `ms` milliseconds on the thread's own timer (no window), so that it also
// runs inside a modal loop. Stops when destroyed or when the action returns false.
class ThreadTimer {
 public:
  ThreadTimer(unsigned ms, std::function<bool()> action) {
    m_id = SetTimer(nullptr, 0, ms, &ThreadTimer::Proc);
    Actions()[m_id] = std::move(action);
  }
  ThreadTimer(const ThreadTimer&) = delete;
  ThreadTimer& operator=(const ThreadTimer&) = delete;
  ~ThreadTimer() { Stop(m_id); }

 private:
  static std::map<UINT_PTR, std::function<bool()>>& Actions() {
    static std::map<UINT_PTR, std::function<bool()>> actions;
    return actions;
  }
  static void Stop(UINT_PTR id) {
    KillTimer(nullptr, id);
    Actions().erase(id);
  }
  static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = Actions().find(id);
    if (found == Actions().end()) return;
    std::function<bool()> action = found->second;  // the action may stop its own timer
    if (!action()) Stop(id);
  }
  UINT_PTR m_id = 0;
};

// A form that counts its events and runs what a test hands it.
class RecordingForm : public Form {
 public:
  explicit RecordingForm(FormDesign design = {.caption = "Test", .clientSize = {3000, 2000}})
      : Form(std::move(design)) {}
  int loads = 0;
  int activations = 0;
  int clicks = 0;
  std::function<void()> onLoad;
  std::function<void()> onActivate;

 protected:
  void Form_Load() override {
    ++loads;
    if (onLoad) onLoad();
  }
  void Form_Activate() override {
    ++activations;
    if (onActivate) onActivate();
  }
  void Form_Click() override { ++clicks; }
};

}  // namespace testing_support
