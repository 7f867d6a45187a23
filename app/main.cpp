// tessivane.exe: the splash window is the program's start-up window; the program ends when the
// last window has been closed.
#include <windows.h>

#include "platform/DllSearch.h"
#include "ui/modStartUp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLineArguments, int) {
  RestrictDllSearch();
  return RunTessivane(commandLineArguments);
}
