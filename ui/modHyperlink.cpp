#include "ui/modHyperlink.h"

#include "platform/ShellOpen.h"

void OpenLink(const std::string& address) { ShellOpen(address.c_str(), SW_SHOWMAXIMIZED); }
