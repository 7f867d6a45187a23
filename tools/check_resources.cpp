// Loads every resource of ui/res/tessivane.rc the way the program will, from a small executable
// linked with that script, and checks sizes, colour depth, the cursor's hot spot, the splash JPEG
// and the manifest. Then checks the built tessivane.exe as a player gets it (ExeChecks.h): its
// version information and its manifest carry the project's version (TESS_EXPECTED_VERSION, from
// CMakeLists.txt), it is a 64-bit program that imports only DLLs that every Windows 10 has, asks
// for ASLR, NX and terminal-server awareness, checks stack canaries, and keeps to its size limit.
// Prints one line per check and exits with 1 on any failure.
//
//   check_resources.exe TESSIVANE_EXE          checks only
//   check_resources.exe TESSIVANE_EXE --show   also opens the framed main-window layout and the
//                                              splash for a screenshot, and closes them after a
//                                              few seconds
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <olectl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/ExeChecks.h"
#include "ui/ProgramIdentity.h"
#include "ui/res/resource.h"

namespace {

// Owns a GDI object for the length of a check.
struct GdiObject {
  HGDIOBJ handle = nullptr;
  explicit GdiObject(HGDIOBJ h) : handle(h) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() {
    if (handle != nullptr) {
      DeleteObject(handle);
    }
  }
};

struct ExpectedBitmap {
  int id;
  const char* name;
  int width;
  int height;
  int bitsPerPixel;
};

// Stored with a palette where that is smaller (tools/make_art.py): the background and the edges.
const ExpectedBitmap kBitmaps[] = {
    {IDB_BACKGROUND, "background", 431, 320, 8},
    {IDB_CORNER_TOP_LEFT, "corner top-left", 13, 13, 24},
    {IDB_CORNER_BOTTOM_LEFT, "corner bottom-left", 13, 13, 24},
    {IDB_CORNER_BOTTOM_RIGHT, "corner bottom-right", 13, 13, 24},
    {IDB_CORNER_TOP_RIGHT, "corner top-right", 13, 13, 24},
    {IDB_EDGE_TOP, "edge top", 33, 13, 8},
    {IDB_EDGE_LEFT, "edge left", 13, 33, 8},
    {IDB_EDGE_BOTTOM, "edge bottom", 33, 13, 8},
    {IDB_EDGE_RIGHT, "edge right", 13, 33, 8},
};

void CheckBitmaps(HINSTANCE instance) {
  for (const ExpectedBitmap& expected : kBitmaps) {
    GdiObject bitmap(LoadImageA(instance, MAKEINTRESOURCEA(expected.id), IMAGE_BITMAP, 0, 0,
                                LR_CREATEDIBSECTION));
    BITMAP info{};
    const bool loaded =
        bitmap.handle != nullptr && GetObjectA(bitmap.handle, sizeof info, &info) != 0;
    Check(loaded && info.bmWidth == expected.width && info.bmHeight == expected.height &&
              info.bmBitsPixel == expected.bitsPerPixel,
          std::string("bitmap ") + expected.name + " loads, " + std::to_string(expected.width) +
              " x " + std::to_string(expected.height) + ", " +
              std::to_string(expected.bitsPerPixel) + "-bit");
  }
}

void CheckIconAndCursor(HINSTANCE instance) {
  HICON icon = static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_TESSIVANE), IMAGE_ICON, 32, 32, 0));
  ICONINFO info{};
  bool ok = icon != nullptr && GetIconInfo(icon, &info) != FALSE;
  if (ok) {
    BITMAP colour{};
    ok = info.fIcon == TRUE && info.hbmColor != nullptr &&
         GetObjectA(info.hbmColor, sizeof colour, &colour) != 0 && colour.bmWidth == 32 &&
         colour.bmHeight == 32;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
  Check(ok, "icon IDI_TESSIVANE loads at 32 x 32");
  if (icon != nullptr) {
    DestroyIcon(icon);
  }

  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const UINT count = ExtractIconExA(path, -1, nullptr, nullptr, 0);
  Check(count >= 1, "the executable's own icon is there for the shell");

  HCURSOR cursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_LINK_HAND));
  ICONINFO cursorInfo{};
  ok = cursor != nullptr && GetIconInfo(cursor, &cursorInfo) != FALSE;
  if (ok) {
    ok = cursorInfo.fIcon == FALSE && cursorInfo.xHotspot == 4 && cursorInfo.yHotspot == 0;
    DeleteObject(cursorInfo.hbmColor);
    DeleteObject(cursorInfo.hbmMask);
  }
  Check(ok, "cursor IDC_LINK_HAND loads with its hot spot at (4, 0)");
}

// The icon's images as its icon group lists them, "width:bits" each: the 32 x 32 one in 16 colours
// as ever, and one in 32-bit colour for each size that a window's title bar or taskbar button
// takes at 100 % to 200 % and the shell's largest view.
void CheckIconImages(HMODULE module, const std::string& where) {
  std::string images;
  HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDI_TESSIVANE), RT_GROUP_ICON);
  const auto* bytes =
      group ? static_cast<const BYTE*>(LockResource(LoadResource(module, group))) : nullptr;
  const DWORD size = group ? SizeofResource(module, group) : 0;
  // GRPICONDIR: three WORDs, the last the count; then 14-byte entries: width, height, colours,
  // reserved (BYTEs), planes, bit count (WORDs), size (DWORD), id (WORD). A width of 0 is 256.
  WORD count = 0;
  if (bytes && size >= 6) std::memcpy(&count, bytes + 4, sizeof count);
  for (DWORD i = 0; i < count && 6 + 14 * (i + 1) <= size; ++i) {
    const BYTE* entry = bytes + 6 + 14 * i;
    WORD bits = 0;
    std::memcpy(&bits, entry + 6, sizeof bits);
    images += std::to_string(entry[0] ? entry[0] : 256) + ":" + std::to_string(bits) + " ";
  }
  const std::string expected = "32:4 16:32 20:32 24:32 48:32 256:32 ";
  Check(images == expected, "icon IDI_TESSIVANE of " + where + " holds the images " + expected +
                                "(it holds " + images + ")");
  for (const int side : {16, 20, 24, 48, 256}) {
    HICON icon = static_cast<HICON>(
        LoadImageA(module, MAKEINTRESOURCEA(IDI_TESSIVANE), IMAGE_ICON, side, side, 0));
    ICONINFO info{};
    BITMAP colour{};
    const bool ok = icon && GetIconInfo(icon, &info) &&
                    GetObjectA(info.hbmColor, sizeof colour, &colour) && colour.bmWidth == side &&
                    colour.bmBitsPixel == 32;
    if (icon) {
      DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
      DestroyIcon(icon);
    }
    Check(ok, "icon IDI_TESSIVANE of " + where + " loads at " + std::to_string(side) + " x " +
                  std::to_string(side) + " in 32-bit colour");
  }
}

// The splash JPEG the way the program reads it: RCDATA bytes -> HGLOBAL stream -> OleLoadPicture.
HBITMAP LoadSplash(HINSTANCE instance) {
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(IDR_SPLASH_JPEG), RT_RCDATA);
  if (found == nullptr) {
    return nullptr;
  }
  const DWORD size = SizeofResource(instance, found);
  const void* bytes = LockResource(LoadResource(instance, found));
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (bytes == nullptr || memory == nullptr) {
    return nullptr;
  }
  std::memcpy(GlobalLock(memory), bytes, size);
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  IPicture* picture = nullptr;
  HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr) || picture == nullptr) {
    return nullptr;
  }
  OLE_HANDLE handle = 0;
  picture->get_Handle(&handle);
  // The picture deletes its own bitmap when released: keep a copy.
  HBITMAP copy =
      static_cast<HBITMAP>(CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)),
                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  picture->Release();
  return copy;
}

void CheckSplash(HINSTANCE instance) {
  GdiObject splash(LoadSplash(instance));
  BITMAP info{};
  const bool ok = splash.handle != nullptr && GetObjectA(splash.handle, sizeof info, &info) != 0;
  Check(ok && info.bmWidth == 300 && info.bmHeight == 200,
        "splash JPEG decodes through OleLoadPicture to 300 x 200");
}

void CheckManifest(HINSTANCE instance) {
  HRSRC manifest = FindResourceA(instance, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  std::string text;
  if (manifest != nullptr) {
    text.assign(static_cast<const char*>(LockResource(LoadResource(instance, manifest))),
                SizeofResource(instance, manifest));
  }
  Check(text.find("Microsoft.Windows.Common-Controls") != std::string::npos &&
            text.find("asInvoker") != std::string::npos &&
            text.find(">true</dpiAware>") != std::string::npos &&
            text.find(">PerMonitorV2, System</dpiAwareness>") != std::string::npos,
        "manifest 1: Common Controls 6, asInvoker, DPI aware (per-monitor v2, else system)");

  // The manifest's dependency is active for the process: comctl32 comes up as version 6.
  // Wine loads the 6.0 side-by-side copy but its DllGetVersion still says 5.81, so the
  // copy's folder counts as well.
  HMODULE comctl = LoadLibraryA("comctl32.dll");
  auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")));
  DLLVERSIONINFO version{};
  version.cbSize = sizeof version;
  const bool got = getVersion != nullptr && SUCCEEDED(getVersion(&version));
  char where[MAX_PATH] = {};
  GetModuleFileNameA(comctl, where, MAX_PATH);
  const std::string folder = where;
  const bool sideBySide6 = folder.find("common-controls") != std::string::npos &&
                           folder.find("_6.0.") != std::string::npos;
  Check(got && (version.dwMajorVersion == 6 || sideBySide6),
        "comctl32 loads as version 6 (" + std::to_string(version.dwMajorVersion) + "." +
            std::to_string(version.dwMinorVersion) + ", " + where + ")");
}

// --show: the main window's frame at its real tile offsets (corners drawn last), and the splash.
struct ShowState {
  HBITMAP background = nullptr;
  HBITMAP tiles[8] = {};
  HBITMAP splash = nullptr;
};

ShowState* shown = nullptr;

void Blit(HDC target, HDC scratch, HBITMAP bitmap, int x, int y) {
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  HGDIOBJ old = SelectObject(scratch, bitmap);
  BitBlt(target, x, y, info.bmWidth, info.bmHeight, scratch, 0, 0, SRCCOPY);
  SelectObject(scratch, old);
}

void PaintFrame(HDC dc, int width, int height) {
  static const int top[] = {180, 660, 1140, 1620, 2100, 2580, 3060, 3540, 3900};
  static const int bottom[] = {180, 660, 1140, 1620, 2100, 2580, 3060, 3540, 3960};
  static const int left[] = {180, 660, 1140, 1620, 2100, 2460, 2880};
  static const int right[] = {180, 660, 1140, 1620, 2100, 2520, 2880};
  HDC scratch = CreateCompatibleDC(dc);
  Blit(dc, scratch, shown->background, 0, 0);
  for (int t : top) Blit(dc, scratch, shown->tiles[4], t / 15, 0);
  for (int t : left) Blit(dc, scratch, shown->tiles[5], 0, t / 15);
  for (int t : bottom) Blit(dc, scratch, shown->tiles[6], t / 15, height - 13);
  for (int t : right) Blit(dc, scratch, shown->tiles[7], width - 13, t / 15);
  Blit(dc, scratch, shown->tiles[0], 0, 0);
  Blit(dc, scratch, shown->tiles[1], 0, height - 13);
  Blit(dc, scratch, shown->tiles[2], width - 13, height - 13);
  Blit(dc, scratch, shown->tiles[3], width - 13, 0);
  DeleteDC(scratch);
}

LRESULT CALLBACK ShowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    if (GetWindowLongPtrA(window, GWLP_ID) == 2) {
      HDC scratch = CreateCompatibleDC(dc);
      Blit(dc, scratch, shown->splash, 0, 0);
      DeleteDC(scratch);
    } else {
      PaintFrame(dc, client.right, client.bottom);
    }
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_TIMER) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND ShowWindowOf(HINSTANCE instance, const char* title, DWORD style, int id, int x, int y,
                  int width, int height) {
  RECT rect{0, 0, width, height};
  AdjustWindowRect(&rect, style, FALSE);
  HWND window = CreateWindowExA(0, "TessCheck", title, style, x, y, rect.right - rect.left,
                                rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
  SetWindowLongPtrA(window, GWLP_ID, id);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  return window;
}

void Show(HINSTANCE instance) {
  ShowState state;
  shown = &state;
  const int ids[8] = {IDB_CORNER_TOP_LEFT,  IDB_CORNER_BOTTOM_LEFT, IDB_CORNER_BOTTOM_RIGHT,
                      IDB_CORNER_TOP_RIGHT, IDB_EDGE_TOP,           IDB_EDGE_LEFT,
                      IDB_EDGE_BOTTOM,      IDB_EDGE_RIGHT};
  state.background = static_cast<HBITMAP>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDB_BACKGROUND), IMAGE_BITMAP, 0, 0, 0));
  for (int i = 0; i < 8; ++i) {
    state.tiles[i] =
        static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(ids[i]), IMAGE_BITMAP, 0, 0, 0));
  }
  state.splash = LoadSplash(instance);

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ShowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TESSIVANE));
  windowClass.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_LINK_HAND));
  windowClass.lpszClassName = "TessCheck";
  RegisterClassA(&windowClass);
  HWND main =
      ShowWindowOf(instance, std::string(kProgramCaption).c_str(),
                   WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 1, 40, 40, 301, 225);
  ShowWindowOf(instance, "", WS_POPUP | WS_DLGFRAME, 2, 400, 40, 300, 200);
  SetTimer(main, 1, 4000, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    DispatchMessageA(&message);
  }
  DeleteObject(state.background);
  for (HBITMAP tile : state.tiles) DeleteObject(tile);
  DeleteObject(state.splash);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--show") != 0)) {
    std::printf("usage: check_resources.exe TESSIVANE_EXE [--show]\n");
    return 1;
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (FAILED(CoInitialize(nullptr))) {
    std::printf("FAIL CoInitialize\n");
    return 1;
  }
  CheckBitmaps(instance);
  CheckIconAndCursor(instance);
  CheckIconImages(instance, "the resource script");
  if (HMODULE exe = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
    CheckIconImages(exe, "tessivane.exe");
    FreeLibrary(exe);
  } else {
    Check(false, std::string("tessivane.exe loads as a data file: ") + argv[1]);
  }
  CheckSplash(instance);
  CheckManifest(instance);
  CheckVersion(argv[1]);
  CheckManifestVersion(argv[1]);
  CheckImports(argv[1]);
  CheckHardening(argv[1]);
  if (argc == 3) {
    Show(instance);
  }
  CoUninitialize();
  std::printf("%s\n",
              CheckFailures() == 0 ? "all resource checks passed" : "resource checks failed");
  return CheckFailures() == 0 ? 0 : 1;
}
