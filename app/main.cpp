// tessivane.exe: the splash window is the program's start-up window; the program ends when the
// last window has been closed.
#include <windows.h>

#include "platform/Form.h"
#include "ui/frmSplash.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  frmSplash splash;
  splash.Show();
  return RunMessageLoop();
}
