#include "platform/ShellOpen.h"

#include <shellapi.h>

namespace {

ShellExecuteHandler currentHandler = &ShellExecuteA;

}  // namespace

HWND DesktopWindow() { return GetDesktopWindow(); }

HINSTANCE ShellExecuteRequest(HWND owner, const char* operation, const char* file,
                              const char* parameters, const char* directory, int showCommand) {
  return currentHandler(owner, operation, file, parameters, directory, showCommand);
}

ShellExecuteHandler SetShellExecuteHandler(ShellExecuteHandler handler) {
  ShellExecuteHandler previous = currentHandler;
  currentHandler = handler ? handler : &ShellExecuteA;
  return previous;
}
