#include "ui/modHyperlink.h"

#include "platform/ShellOpen.h"

void OpenLink(HWND owner, const std::string& address) {
  ShellOpen(owner, address.c_str(), SW_SHOWMAXIMIZED);
}
