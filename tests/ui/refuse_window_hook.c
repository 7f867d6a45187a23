/* A CBT hook that test_blackbox places on the real program's thread: Windows is made to refuse
   the creation of the window whose caption the environment variable TESS_REFUSE_WINDOW names, as
   it refuses one when the desktop runs out of resources. A message box keeps its caption. */
#include <windows.h>
#include <string.h>

/* A message box's class, #32770: Windows names it by its atom, Wine by its name. */
static int IsDialogClass(const char* name) {
  return HIWORD((ULONG_PTR)name) ? strcmp(name, "#32770") == 0 : (ULONG_PTR)name == 0x8002;
}

__declspec(dllexport) LRESULT CALLBACK RefuseNamedWindow(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const CREATESTRUCTA* create = ((const CBT_CREATEWNDA*)lParam)->lpcs;
    char refused[256];
    const DWORD length = GetEnvironmentVariableA("TESS_REFUSE_WINDOW", refused, sizeof refused);
    if (length > 0 && length < sizeof refused && HIWORD((ULONG_PTR)create->lpszName) &&
        !IsDialogClass(create->lpszClass) && strcmp(create->lpszName, refused) == 0) {
      return 1;
    }
  }
  return CallNextHookEx(NULL, code, wParam, lParam);
}
