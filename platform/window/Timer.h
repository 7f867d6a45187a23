#pragma once
// A timer of a form: ticks every interval while it is enabled and its form is loaded. It runs on
// the form's window (SetTimer), so its ticks are messages of the form's thread like any other.
#include <windows.h>

#include <functional>

class Form;

class Timer {
 public:
  // An interval of 0 never ticks.
  Timer(Form& form, unsigned intervalMs, bool enabled);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  // Disabling stops it at once: a tick already queued does not run either.
  void SetEnabled(bool enabled);

  std::function<void()> OnTimer;

 private:
  friend class Form;
  UINT_PTR Id() const { return reinterpret_cast<UINT_PTR>(this); }
  void Start();
  void Stop();
  void Tick();

  Form& m_form;
  unsigned m_interval;
  bool m_enabled;
};
