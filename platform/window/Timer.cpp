#include "platform/window/Timer.h"

#include "platform/window/WindowError.h"

Timer::Timer(Form& form, unsigned intervalMs, bool enabled)
    : FormPart(form), m_interval(intervalMs), m_enabled(enabled) {}

Timer::~Timer() { Stop(); }

void Timer::SetEnabled(bool enabled) {
  m_enabled = enabled;
  enabled ? Start() : Stop();
}

void Timer::Start() {
  if (m_form.IsLoaded() && m_enabled && m_interval > 0)
    SetTimer(m_form.Hwnd(), Id(), m_interval, nullptr);
}

void Timer::Stop() {
  if (m_form.IsLoaded()) KillTimer(m_form.Hwnd(), Id());
}

bool Timer::OnFormMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/, LRESULT& /*result*/) {
  if (message != WM_TIMER || wParam != Id()) return false;
  // KillTimer leaves a WM_TIMER that was already posted in the queue.
  if (m_enabled && m_interval > 0 && OnTimer) RunEventProcedure(OnTimer);
  return true;
}
