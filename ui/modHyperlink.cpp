#include "ui/modHyperlink.h"

#include "platform/ShellOpen.h"

void OpenLink(const std::string& address) {
  // The desktop owns whatever the shell shows for this request, so no window of ours is tied to
  // the browser starting or failing.
  const HWND desktop = DesktopWindow();
  ShellExecuteRequest(desktop, "open", address.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
}
