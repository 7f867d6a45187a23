// Child process of the crash-safety tests: loads the game folder's user.cfg, adds a menu and saves,
// stopping at one step of the save until the test kills it, or, given a second event, until the
// test sets that one: then the save goes on, and the exit code tells whether it succeeded.
// Usage: save_child <game folder without final backslash> <step number> <event name> [<event>]
#include <windows.h>

#include <cstdlib>
#include <string>

#include "core/modFileOperation.h"
#include "core/modMain.h"
#include "core/modMenus.h"
#include "platform/FileReplacement.h"

namespace {

int stopAtStep = -1;
HANDLE reachedEvent = nullptr;
HANDLE goOnEvent = nullptr;

void StopHere(ReplaceStep step) {
  if (static_cast<int>(step) != stopAtStep) return;
  SetEvent(reachedEvent);
  if (goOnEvent) {
    WaitForSingleObject(goOnEvent, INFINITE);
    return;
  }
  Sleep(INFINITE);  // the test terminates the process here
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) return 2;
  sGamePath = std::string(argv[1]) + "\\";
  stopAtStep = std::atoi(argv[2]);
  reachedEvent = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
  if (argc == 5) goOnEvent = OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
  if (!reachedEvent || (argc == 5 && !goOnEvent)) return 3;

  InitMenus();
  if (!LoadMenus().ok) return 4;
  AddMenu("New");
  SetReplaceStepHook(&StopHere);
  return SaveMenus().ok ? 0 : 5;
}
