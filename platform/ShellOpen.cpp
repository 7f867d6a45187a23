#include "platform/ShellOpen.h"

#include <shellapi.h>

#include <utility>

namespace {

ShellExecuteHandler currentHandler = &ShellExecuteA;

}  // namespace

HINSTANCE ShellOpen(HWND owner, const char* file, int showCommand) {
  return currentHandler(owner, "open", file, nullptr, nullptr, showCommand);
}

ShellExecuteHandler SetShellExecuteHandler(ShellExecuteHandler handler) {
  return std::exchange(currentHandler, handler ? handler : &ShellExecuteA);
}
