#include "platform/modHyperlink.h"

#include <shellapi.h>

#include <utility>

namespace {

ShellExecuteHandler currentHandler = &ShellExecuteA;

}  // namespace

void OpenLink(HWND owner, const std::string& address) {
  currentHandler(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
}

ShellExecuteHandler SetShellExecuteHandler(ShellExecuteHandler handler) {
  return std::exchange(currentHandler, handler ? handler : &ShellExecuteA);
}
