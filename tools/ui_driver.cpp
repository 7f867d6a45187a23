// Drives a running tessivane.exe from outside, as a user would: finds its windows, presses its
// buttons, reads its list and closes it. Used by make run's screenshots.
//
//   ui_driver wait-button <text> [timeout ms]   wait until a visible window shows this button;
//                                               prints that window's rectangle: left top right
//                                               bottom
//   ui_driver wait-label <text> [timeout ms]    the same for a label (static control)
//   ui_driver click <text>                      press the button (posted: a modal dialog it opens
//                                               does not block the driver)
//   ui_driver rows <caption>                    print the rows of the window's list box, one a line
//   ui_driver close <caption>                   close the window as its close button does
//   ui_driver wait-gone <caption> [timeout ms]  wait until no visible window has this caption
//   ui_driver menu <caption> <row>              right-click the row of the window's list box (real
//                                               mouse input) and wait for the shortcut menu;
//                                               prints the menu's rectangle
//   ui_driver escape <any>                      press Esc (real keyboard input)
// Exit status 0 on success, 1 when the window or button was not found in time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>

namespace {

struct Search {
  std::string text;
  const char* childClass = nullptr;  // nullptr: the top-level window's own caption
  HWND window = nullptr;
  HWND child = nullptr;
};

std::string WindowText(HWND hwnd) {
  char text[512] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

BOOL CALLBACK FindChild(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  char className[64] = {};
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, search->childClass) == 0 && WindowText(child) == search->text) {
    search->child = child;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (!IsWindowVisible(hwnd)) return TRUE;
  if (!search->childClass) {
    if (WindowText(hwnd) == search->text) {
      search->window = hwnd;
      return FALSE;
    }
    return TRUE;
  }
  EnumChildWindows(hwnd, FindChild, data);
  if (search->child) {
    search->window = hwnd;
    return FALSE;
  }
  return TRUE;
}

Search Find(const std::string& text, const char* childClass, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    Search search{text, childClass};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    if (search.window || GetTickCount() - start >= timeoutMs) return search;
    Sleep(50);
  }
}

DWORD Timeout(int argc, char** argv, int index) {
  return argc > index ? static_cast<DWORD>(std::strtoul(argv[index], nullptr, 10)) : 20000;
}

void PrintRect(HWND hwnd) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
}

// Real input, as the mouse and the keyboard send it.
void Send(std::initializer_list<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), const_cast<INPUT*>(inputs.begin()), sizeof(INPUT));
}
INPUT MouseAt(POINT at, DWORD buttons) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | buttons;
  return input;
}
INPUT Key(WORD key, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = flags;
  return input;
}

int Fail(const char* what, const std::string& text) {
  std::fprintf(stderr, "ui_driver: %s \"%s\" not found\n", what, text.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: ui_driver wait-button|wait-label|click|rows|close|wait-gone|menu|escape "
                 "<text> [ms]\n");
    return 2;
  }
  // Rectangles in the screen's own pixels, as the tool (DPI aware) and the screenshots see them.
  SetProcessDPIAware();
  const std::string command = argv[1];
  const std::string text = argv[2];

  if (command == "wait-button" || command == "wait-label" || command == "click") {
    const bool label = command == "wait-label";
    const Search found = Find(text, label ? "Static" : "Button", Timeout(argc, argv, 3));
    if (!found.child) return Fail(label ? "label" : "button", text);
    if (command == "click") {
      PostMessageA(found.child, BM_CLICK, 0, 0);
      return 0;
    }
    PrintRect(found.window);
    return 0;
  }
  if (command == "menu") {
    const Search found = Find(text, nullptr, 20000);
    HWND list = found.window ? FindWindowExA(found.window, nullptr, "ListBox", nullptr) : nullptr;
    if (!list) return Fail("list box of", text);
    RECT row{};
    const WPARAM rowIndex = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 0;
    SendMessageA(list, LB_GETITEMRECT, rowIndex, reinterpret_cast<LPARAM>(&row));
    POINT at{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    ClientToScreen(list, &at);
    Send({MouseAt(at, 0), MouseAt(at, MOUSEEVENTF_RIGHTDOWN), MouseAt(at, MOUSEEVENTF_RIGHTUP)});
    for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(50)) {
      HWND menu = FindWindowA("#32768", nullptr);
      if (menu && IsWindowVisible(menu)) {
        PrintRect(menu);
        return 0;
      }
    }
    return Fail("shortcut menu of", text);
  }
  if (command == "escape") {
    Send({Key(VK_ESCAPE, 0), Key(VK_ESCAPE, KEYEVENTF_KEYUP)});
    return 0;
  }
  if (command == "rows" || command == "close") {
    const Search found = Find(text, nullptr, Timeout(argc, argv, 3));
    if (!found.window) return Fail("window", text);
    if (command == "close") {
      PostMessageA(found.window, WM_CLOSE, 0, 0);
      return 0;
    }
    HWND list = FindWindowExA(found.window, nullptr, "ListBox", nullptr);
    if (!list) return Fail("list box of", text);
    // Asked from another process, Wine 8 answers LB_GETTEXTA in UTF-16: ask for UTF-16 and
    // convert to the ANSI code page, as the rows are in the tool itself.
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      std::wstring row(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
      row.resize(static_cast<size_t>(
          SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row.data()))));
      std::string ansi(row.size() * 2 + 1, '\0');
      ansi.resize(static_cast<size_t>(
          WideCharToMultiByte(CP_ACP, 0, row.data(), static_cast<int>(row.size()), ansi.data(),
                              static_cast<int>(ansi.size()), nullptr, nullptr)));
      std::printf("%s\n", ansi.c_str());
    }
    return 0;
  }
  if (command == "wait-gone") {
    const DWORD start = GetTickCount();
    while (Find(text, nullptr, 0).window) {
      if (GetTickCount() - start >= Timeout(argc, argv, 3)) return Fail("the end of window", text);
      Sleep(50);
    }
    return 0;
  }
  std::fprintf(stderr, "ui_driver: unknown command %s\n", command.c_str());
  return 2;
}
