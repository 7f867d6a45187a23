#pragma once
// A timer of a form: ticks every interval while it is enabled and its form is loaded. It runs on
// the form's window (SetTimer), so its ticks are messages of the form's thread like any other.
#include <windows.h>

#include <functional>

#include "platform/window/Form.h"

class Timer : public FormPart {
 public:
  // An interval of 0 never ticks.
  Timer(Form& form, unsigned intervalMs, bool enabled);
  ~Timer() override;

  // Disabling stops it at once: a tick already queued does not run either.
  void SetEnabled(bool enabled);

  std::function<void()> OnTimer;

 private:
  UINT_PTR Id() const { return reinterpret_cast<UINT_PTR>(this); }
  void Create(int /*id*/) override { Start(); }
  bool OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // On the form's window, when it is loaded and the timer enabled.
  void Start();
  void Stop();

  unsigned m_interval;
  bool m_enabled;
};
