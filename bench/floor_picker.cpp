// The floor of the picker's opening: the work that no picker can avoid. A hidden window with a
// plain list box, the folder listed with FindFirstFileA and FindNextFileA, and each file's name
// appended to the list box with redraw off.
//   floor_picker <scenario folder> <runs> <expected files>   times it and prints the runs
//   floor_picker <scenario folder> show                      shows it until it is closed
#include <cstdlib>
#include <string>

#include "bench/BenchTiming.h"

namespace {

LRESULT CALLBACK FloorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY && GetWindowLongPtrA(hwnd, GWLP_USERDATA)) PostQuitMessage(0);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The picker's size: a 253 x 281 client area and a 217 x 212 list.
HWND OpenFloorPicker(const std::string& folder, bool visible) {
  HWND window = CreateWindowExA(0, "FloorPicker", "", WS_POPUP | WS_BORDER, 100, 100, 255, 283,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 18, 20,
                              217, 212, window, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!window || !list) Fail("the floor window could not be made");
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "\\*.scn").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.cFileName));
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  if (visible) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 1);
    ShowWindow(window, SW_SHOW);
  }
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  const char* usage = "floor_picker <scenario folder> <runs> <expected files> | show";
  if (argc < 3) Fail(usage);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = FloorProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "FloorPicker";
  RegisterClassA(&windowClass);
  const std::string folder = argv[1];

  if (std::string(argv[2]) == "show") {
    OpenFloorPicker(folder, true);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
  }

  const int runs = RunsArgument(argc, argv, 2, usage);
  const long expectedRows = std::atol(argc > 3 ? argv[3] : "0");
  const auto samples = Repeat(runs, [&] {
    const double start = NowMs();
    HWND window = OpenFloorPicker(folder, false);
    const double elapsed = NowMs() - start;
    HWND list = FindWindowExA(window, nullptr, "ListBox", nullptr);
    if (SendMessageA(list, LB_GETCOUNT, 0, 0) != expectedRows)
      Fail("the floor lists another number of rows");
    DestroyWindow(window);
    PumpMessages();
    return elapsed;
  });
  PrintSamples("picker-floor", samples);
  return 0;
}
