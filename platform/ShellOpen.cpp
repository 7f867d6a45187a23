#include "platform/ShellOpen.h"

#include <shellapi.h>

namespace {

ShellExecuteHandler currentHandler = &ShellExecuteA;

}  // namespace

HINSTANCE ShellOpen(HWND owner, const char* file, int showCommand) {
  return currentHandler(owner, "open", file, nullptr, nullptr, showCommand);
}

ShellExecuteHandler SetShellExecuteHandler(ShellExecuteHandler handler) {
  ShellExecuteHandler previous = currentHandler;
  currentHandler = handler ? handler : &ShellExecuteA;
  return previous;
}
