#include "platform/window/Keyboard.h"

#include <windows.h>

int CurrentShiftState() {
  // The high bit of GetKeyState: held when the message being handled was sent.
  int shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftMask;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return shift;
}
