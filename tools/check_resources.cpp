// Loads every resource of ui/res/tessivane.rc the way the program will, from a small executable
// linked with that script, and checks sizes, colour depth, the cursor's hot spot, the splash JPEG
// and the manifest. Then checks the resources of the built tessivane.exe as a player gets it: its
// icon, and its version information and manifest carry the project's version
// (TESS_EXPECTED_VERSION, from CMakeLists.txt). What its headers say (imports, hardening, size)
// tools/check_exe.sh checks. Prints one line per check and exits with 1 on any failure.
//
//   check_resources.exe TESSIVANE_EXE
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <olectl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ui/ProgramIdentity.h"
#include "ui/res/resource.h"

namespace {

int failures = 0;

// Prints one line, "ok" or "FAIL" and what was checked.
void Check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  if (!ok) {
    ++failures;
  }
}

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

// A text value of the version information's US English block, or "" when there is none.
std::string VersionText(std::string& block, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  const std::string key = std::string("\\StringFileInfo\\040904E4\\") + name;
  if (VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) ==
          FALSE ||
      value == nullptr) {
    return "";
  }
  return value;
}

// The built exe's version information is the project's version (TESS_EXPECTED_VERSION).
void CheckVersion(const std::string& exe) {
  unsigned major = 0, minor = 0, patch = 0;
  char rest = 0;
  const bool parsed =
      std::sscanf(TESS_EXPECTED_VERSION, "%u.%u.%u%c", &major, &minor, &patch, &rest) == 3;
  Check(parsed, "the project's version " TESS_EXPECTED_VERSION " is MAJOR.MINOR.PATCH");

  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
  std::string block(size, '\0');
  const bool loaded = size != 0 && GetFileVersionInfoA(exe.c_str(), 0, size, block.data()) != FALSE;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  const bool hasFixed =
      loaded &&
      VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) != FALSE &&
      fixed != nullptr && length >= sizeof *fixed;
  const DWORD high = MAKELONG(minor, major);
  const DWORD low = MAKELONG(0, patch);
  auto text = [](DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
           std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
  };
  const std::string found = hasFixed
                                ? text(fixed->dwFileVersionMS, fixed->dwFileVersionLS) + " and " +
                                      text(fixed->dwProductVersionMS, fixed->dwProductVersionLS)
                                : "none";
  Check(hasFixed && fixed->dwFileVersionMS == high && fixed->dwFileVersionLS == low &&
            fixed->dwProductVersionMS == high && fixed->dwProductVersionLS == low,
        "tessivane.exe: FILEVERSION and PRODUCTVERSION are " + text(high, low) + " (they are " +
            found + ")");
  for (const char* name : {"FileVersion", "ProductVersion"}) {
    const std::string value = loaded ? VersionText(block, name) : "";
    Check(value == TESS_EXPECTED_VERSION, std::string("tessivane.exe: ") + name + " is \"" +
                                              TESS_EXPECTED_VERSION + "\" (it is \"" + value +
                                              "\")");
  }
  Check(loaded && VersionText(block, "ProductName") == kProgramCaption &&
            VersionText(block, "OriginalFilename") == "tessivane.exe",
        "tessivane.exe: version information names the product and tessivane.exe");
}

// The exe's manifest names the program with the project's version.
void CheckManifestVersion(const std::string& exe) {
  std::string text;
  HMODULE image = LoadLibraryExA(exe.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (image != nullptr) {
    HRSRC manifest = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL loaded = manifest != nullptr ? LoadResource(image, manifest) : nullptr;
    if (loaded != nullptr) {
      text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(image, manifest));
    }
    FreeLibrary(image);
  }
  // The program's own identity, the first element that names it: its version attribute.
  const std::string expected = TESS_EXPECTED_VERSION ".0";
  const size_t name = text.find("name=\"Pelrith.Tessivane\"");
  const size_t end = text.find("/>", name);
  const size_t version = text.find("version=\"", name);
  std::string found;
  if (name != std::string::npos && version < end) {
    const size_t start = version + std::strlen("version=\"");
    found = text.substr(start, text.find('"', start) - start);
  }
  Check(found == expected, "tessivane.exe: the manifest's assembly version is " + expected +
                               " (it is \"" + found + "\")");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: check_resources.exe TESSIVANE_EXE\n");
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
  CoUninitialize();
  std::printf("%s\n", failures == 0 ? "all resource checks passed" : "resource checks failed");
  return failures == 0 ? 0 : 1;
}
