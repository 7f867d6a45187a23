// The modal loop of ShowModal.
#include "platform/window/Form.h"
#include "platform/window/MessageLoop.h"

void Form::ShowModal(Form* owner) {
  HWND ownerWindow = owner && owner->IsLoaded() ? owner->Hwnd() : GetActiveWindow();
  if (!m_hwnd) Create(ownerWindow);
  if (!m_hwnd || m_modal) return;
  const HWND dialog = m_hwnd;

  m_disabledWindows = DisableOtherThreadWindows(dialog);
  m_modal = true;
  m_modalOwner = GetWindow(dialog, GW_OWNER);
  Show();

  const std::optional<int> quit = RunMessagesWhile(dialog);
  if (m_hwnd == dialog) Unload();
  // Destroyed with its owner, the dialog went without Unload: what it disabled is enabled here.
  if (m_modal) EndModal();
  if (quit) PostQuitMessage(*quit);
}

void Form::EndModal() {
  m_modal = false;
  // Enabled again before the dialog goes, so that Windows does not hand the activation to
  // another program's window.
  for (HWND hwnd : m_disabledWindows) {
    if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
  }
  m_disabledWindows.clear();
  if (m_modalOwner && IsWindow(m_modalOwner) && IsWindowVisible(m_modalOwner) &&
      GetActiveWindow() == m_hwnd) {
    SetActiveWindow(m_modalOwner);
  }
  m_modalOwner = nullptr;
}
