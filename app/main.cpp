// tessivane.exe: the splash window is the program's start-up window; the program ends when the
// last window has been closed.
#include <windows.h>

#include "platform/DllSearch.h"
#include "platform/ProcessArguments.h"
#include "ui/modStartUp.h"

// The command line is read as UTF-16 rather than taken from WinMain's ANSI copy, in which a
// folder named in characters the code page lacks arrives as look-alikes.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  RestrictDllSearch();
  return RunTessivane(ProcessArguments());
}
