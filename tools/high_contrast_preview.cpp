// The real program with the system's high-contrast setting answered "on", for make screenshots:
// Wine has no high-contrast mode of its own (it always answers "off"). Run it with a
// high-contrast colour scheme in the prefix's registry, as Windows sets one.
#include <windows.h>

#include "platform/ProcessArguments.h"
#include "platform/window/DisplaySettings.h"
#include "ui/modStartUp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  SetHighContrastQuery([] { return true; });
  return RunTessivane(ProcessArguments());
}
