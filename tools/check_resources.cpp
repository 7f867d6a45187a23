// Loads every resource of ui/res/tessivane.rc the way the program will, from a small executable
// linked with that script, and checks sizes, colour depth, the cursor's hot spot, the splash JPEG
// and the manifest. Then checks the built tessivane.exe as a player gets it: its version
// information is the project's version (TESS_EXPECTED_VERSION, from CMakeLists.txt), and it is a
// 64-bit program that imports only DLLs that every Windows 10 has. Prints one line per check and
// exits with 1 on any failure.
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

#include "ui/res/resource.h"

namespace {

int failures = 0;

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
};

const ExpectedBitmap kBitmaps[] = {
    {IDB_BACKGROUND, "background", 431, 320},
    {IDB_CORNER_TOP_LEFT, "corner top-left", 13, 13},
    {IDB_CORNER_BOTTOM_LEFT, "corner bottom-left", 13, 13},
    {IDB_CORNER_BOTTOM_RIGHT, "corner bottom-right", 13, 13},
    {IDB_CORNER_TOP_RIGHT, "corner top-right", 13, 13},
    {IDB_EDGE_TOP, "edge top", 33, 13},
    {IDB_EDGE_LEFT, "edge left", 13, 33},
    {IDB_EDGE_BOTTOM, "edge bottom", 33, 13},
    {IDB_EDGE_RIGHT, "edge right", 13, 33},
};

void CheckBitmaps(HINSTANCE instance) {
    for (const ExpectedBitmap& expected : kBitmaps) {
        GdiObject bitmap(LoadImageA(instance, MAKEINTRESOURCEA(expected.id), IMAGE_BITMAP, 0, 0,
                                    LR_CREATEDIBSECTION));
        BITMAP info{};
        const bool loaded =
            bitmap.handle != nullptr && GetObjectA(bitmap.handle, sizeof info, &info) != 0;
        Check(loaded && info.bmWidth == expected.width && info.bmHeight == expected.height &&
                  info.bmBitsPixel == 24,
              std::string("bitmap ") + expected.name + " loads, " + std::to_string(expected.width) +
                  " x " + std::to_string(expected.height) + ", 24-bit");
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
    HBITMAP copy = static_cast<HBITMAP>(
        CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0,
                  LR_CREATEDIBSECTION));
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
              text.find("dpiAware") == std::string::npos &&
              text.find("dpiAwareness") == std::string::npos,
          "manifest 1: Common Controls 6, asInvoker, no DPI awareness");

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

void CheckVersion(const std::string& exe) {
    unsigned major = 0, minor = 0, patch = 0;
    char rest = 0;
    const bool parsed =
        std::sscanf(TESS_EXPECTED_VERSION, "%u.%u.%u%c", &major, &minor, &patch, &rest) == 3;
    Check(parsed, "the project's version " TESS_EXPECTED_VERSION " is MAJOR.MINOR.PATCH");

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    std::string block(size, '\0');
    const bool loaded =
        size != 0 && GetFileVersionInfoA(exe.c_str(), 0, size, block.data()) != FALSE;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    const bool hasFixed = loaded &&
                          VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed),
                                         &length) != FALSE &&
                          fixed != nullptr && length >= sizeof *fixed;
    const DWORD high = MAKELONG(minor, major);
    const DWORD low = MAKELONG(0, patch);
    auto text = [](DWORD high, DWORD low) {
        return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
               std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
    };
    const std::string found =
        hasFixed ? text(fixed->dwFileVersionMS, fixed->dwFileVersionLS) + " and " +
                       text(fixed->dwProductVersionMS, fixed->dwProductVersionLS)
                 : "none";
    Check(hasFixed && fixed->dwFileVersionMS == high && fixed->dwFileVersionLS == low &&
              fixed->dwProductVersionMS == high && fixed->dwProductVersionLS == low,
          "tessivane.exe: FILEVERSION and PRODUCTVERSION are " + text(high, low) + " (they are " +
              found + ")");
    for (const char* name : {"FileVersion", "ProductVersion"}) {
        const std::string value = loaded ? VersionText(block, name) : "";
        Check(value == TESS_EXPECTED_VERSION, std::string("tessivane.exe: ") + name + " is \"" +
                                                  TESS_EXPECTED_VERSION + "\" (it is \"" +
                                                  value + "\")");
    }
    Check(loaded && VersionText(block, "ProductName") == "Pelrith's Tessivane" &&
              VersionText(block, "OriginalFilename") == "tessivane.exe",
          "tessivane.exe: version information names the product and tessivane.exe");
}

// The DLLs that every Windows 10 has and that tessivane.exe may import. Anything else
// (libstdc++-6.dll, libwinpthread-1.dll, a DLL of our own) would have to ship beside it.
const char* const kSystemDlls[] = {"ADVAPI32.dll", "GDI32.dll",    "KERNEL32.dll", "msvcrt.dll",
                                   "ole32.dll",    "OLEAUT32.dll", "SHELL32.dll",  "USER32.dll"};

// Copies a structure out of the file's bytes; false when it does not lie wholly inside them.
template <typename T>
bool ReadAt(const std::string& file, size_t offset, T& out) {
    if (offset > file.size() || sizeof out > file.size() - offset) {
        return false;
    }
    std::memcpy(&out, file.data() + offset, sizeof out);
    return true;
}

// What a PE file says about itself, read from its bytes: machine, subsystem, and the DLL names of
// its import table (mingw's linker leaves the delay-import directory empty). `error` says what
// was malformed.
struct PeFacts {
    WORD machine = 0;
    WORD subsystem = 0;
    std::vector<std::string> dlls;
    std::string error;
};

PeFacts ReadPeFacts(const std::string& file) {
    PeFacts facts;
    IMAGE_DOS_HEADER dos{};
    IMAGE_NT_HEADERS64 nt{};
    if (!ReadAt(file, 0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE ||
        !ReadAt(file, static_cast<size_t>(dos.e_lfanew), nt) || nt.Signature != IMAGE_NT_SIGNATURE ||
        nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        facts.error = "not a 64-bit PE file";
        return facts;
    }
    facts.machine = nt.FileHeader.Machine;
    facts.subsystem = nt.OptionalHeader.Subsystem;

    const size_t sectionTable = static_cast<size_t>(dos.e_lfanew) + sizeof nt.Signature +
                                sizeof nt.FileHeader + nt.FileHeader.SizeOfOptionalHeader;
    std::vector<IMAGE_SECTION_HEADER> sections(nt.FileHeader.NumberOfSections);
    for (size_t i = 0; i < sections.size(); ++i) {
        if (!ReadAt(file, sectionTable + i * sizeof(IMAGE_SECTION_HEADER), sections[i])) {
            facts.error = "section table cut short";
            return facts;
        }
    }
    // A relative virtual address as an offset into the file; 0 when no section's bytes in the
    // file hold it.
    auto offsetOf = [&](DWORD rva) -> size_t {
        for (const IMAGE_SECTION_HEADER& section : sections) {
            if (rva >= section.VirtualAddress &&
                rva - section.VirtualAddress < section.SizeOfRawData) {
                return size_t{section.PointerToRawData} + (rva - section.VirtualAddress);
            }
        }
        return 0;
    };
    auto addName = [&](DWORD rva) {
        const size_t at = offsetOf(rva);
        const size_t end = at == 0 ? std::string::npos : file.find('\0', at);
        if (end == std::string::npos) {
            facts.error = "a DLL name outside the file";
            return false;
        }
        facts.dlls.push_back(file.substr(at, end - at));
        return true;
    };

    // The import table: one descriptor for each DLL, up to one whose name is 0.
    const IMAGE_DATA_DIRECTORY& imports =
        nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) {
        return facts;
    }
    IMAGE_IMPORT_DESCRIPTOR entry{};
    for (size_t at = offsetOf(imports.VirtualAddress);; at += sizeof entry) {
        if (at == 0 || !ReadAt(file, at, entry)) {
            facts.error = "the import table lies outside the file";
            break;
        }
        if (entry.Name == 0 || !addName(entry.Name)) {
            break;
        }
    }
    return facts;
}

void CheckImports(const std::string& exe) {
    std::ifstream in(exe, std::ios::binary);
    const std::string file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const PeFacts facts = ReadPeFacts(file);
    Check(facts.error.empty() && facts.machine == IMAGE_FILE_MACHINE_AMD64 &&
              facts.subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI,
          "tessivane.exe is a 64-bit Windows program" +
              (facts.error.empty() ? std::string() : " (" + facts.error + ")"));
    std::string all;
    std::string foreign;
    for (const std::string& dll : facts.dlls) {
        all += (all.empty() ? "" : ", ") + dll;
        bool known = false;
        for (const char* system : kSystemDlls) {
            known = known || _stricmp(dll.c_str(), system) == 0;
        }
        if (!known) {
            foreign += " " + dll;
        }
    }
    Check(facts.error.empty() && !facts.dlls.empty() && foreign.empty(),
          "tessivane.exe imports only DLLs of Windows itself (" + all + ")" +
              (foreign.empty() ? std::string() : "; not part of Windows:" + foreign));
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
    const int ids[8] = {IDB_CORNER_TOP_LEFT, IDB_CORNER_BOTTOM_LEFT, IDB_CORNER_BOTTOM_RIGHT,
                        IDB_CORNER_TOP_RIGHT, IDB_EDGE_TOP, IDB_EDGE_LEFT, IDB_EDGE_BOTTOM,
                        IDB_EDGE_RIGHT};
    state.background = static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDB_BACKGROUND), IMAGE_BITMAP, 0, 0, 0));
    for (int i = 0; i < 8; ++i) {
        state.tiles[i] = static_cast<HBITMAP>(
            LoadImageA(instance, MAKEINTRESOURCEA(ids[i]), IMAGE_BITMAP, 0, 0, 0));
    }
    state.splash = LoadSplash(instance);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ShowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TESSIVANE));
    windowClass.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_LINK_HAND));
    windowClass.lpszClassName = "TessCheck";
    RegisterClassA(&windowClass);
    HWND main = ShowWindowOf(instance, "Pelrith's Tessivane",
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 1, 40, 40,
                             301, 225);
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
    CheckSplash(instance);
    CheckManifest(instance);
    CheckVersion(argv[1]);
    CheckImports(argv[1]);
    if (argc == 3) {
        Show(instance);
    }
    CoUninitialize();
    std::printf("%s\n", failures == 0 ? "all resource checks passed" : "resource checks failed");
    return failures == 0 ? 0 : 1;
}
