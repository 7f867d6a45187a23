// The floor of the start-up: a program that shows one empty window as soon as it starts and, at a
// click on it, shows one empty main window, makes it the active one and hides the first, as the
// splash hands over to the main window. Closing the main window ends the program.
#include <windows.h>

namespace {

const char kClassName[] = "FloorWindow";
HWND firstWindow = nullptr;
HWND mainWindow = nullptr;

LRESULT CALLBACK FloorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONUP:
      if (hwnd == firstWindow && !mainWindow) {
        mainWindow = CreateWindowExA(
            0, kClassName, "Floor main", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
            362, 259, 307, 251, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(mainWindow, SW_SHOW);
        SetForegroundWindow(mainWindow);
        ShowWindow(firstWindow, SW_HIDE);
      }
      return 0;
    case WM_DESTROY:
      if (hwnd == mainWindow) PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = FloorProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);

  // The splash's size and place: 300 x 200 inside a 3-pixel frame, centred on a 1024 x 768 screen.
  firstWindow = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP | WS_DLGFRAME, 359, 281,
                                306, 206, nullptr, nullptr, instance, nullptr);
  ShowWindow(firstWindow, SW_SHOW);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
