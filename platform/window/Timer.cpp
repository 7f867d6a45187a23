#include "platform/window/Timer.h"

#include "platform/window/Form.h"
#include "platform/window/MessageLoop.h"

Timer::Timer(Form& form, unsigned intervalMs, bool enabled)
    : m_form(form), m_interval(intervalMs), m_enabled(enabled) {
  m_form.Attach(this);
}

Timer::~Timer() {
  Stop();
  m_form.Detach(this);
}

void Timer::SetEnabled(bool enabled) {
  m_enabled = enabled;
  enabled ? Start() : Stop();
}

void Timer::Start() {
  if (!m_form.IsLoaded()) return;
  if (m_enabled && m_interval > 0) {
    SetTimer(m_form.Hwnd(), Id(), m_interval, nullptr);
  } else {
    Stop();
  }
}

void Timer::Stop() {
  if (m_form.IsLoaded()) KillTimer(m_form.Hwnd(), Id());
}

void Timer::Tick() {
  // KillTimer leaves a WM_TIMER that was already posted in the queue.
  if (!m_enabled || m_interval == 0 || !OnTimer) return;
  RunEventProcedure(OnTimer);
}
