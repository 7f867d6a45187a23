// tessivane.exe: the main window is the program's start-up window; the program ends when the
// last window has been closed.
#include <windows.h>

#include "platform/Form.h"
#include "ui/frmMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  frmMain mainWindow;
  mainWindow.Show();
  return RunMessageLoop();
}
