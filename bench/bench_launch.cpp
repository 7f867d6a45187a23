// Starts a program as a user would and watches it from outside its process.
//   bench_launch startup <runs> <main caption> <exe>
//       Times each run from just before the process is created until its first window is
//       visible, and from a click on that window (the hand-over), posted at once, until the window
//       with the main caption is the foreground window and the only one the program shows; then
//       closes that window and waits for the process to end. One run before them warms up.
//   bench_launch import <runs> <game folder> <zip> <scenarios> <bytes> <exe> [floor]
//       Times each run from just before the process is created until the scenarios of the zip
//       have landed in the game folder's scenario folder (that many files, that many bytes in
//       all) and, for tessivane.exe, started as "tessivane.exe <game folder> <zip>", until its
//       menus are saved and its main window answers; a floor program, started as "<exe> <zip>
//       <scenario folder>", until it ends. Before each run, and at the end, the scenario folder is
//       emptied and user.cfg put back. One run before them warms up.
//   bench_launch memory <rows> <exe> [arguments...]
//       Waits until a window of the process shows a list box of that many rows and prints the
//       process's peak working set. A program started without arguments is tessivane.exe: it is
//       handed over from its splash to its main window, whose Add button opens the picker.
#include "bench/BenchTiming.h"
#include "ui/ProgramIdentity.h"

// After windows.h, which BenchTiming.h includes.
#include <psapi.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

constexpr DWORD kTimeoutMs = 60000;
const std::string kMainCaption(kProgramCaption);

std::string WindowText(HWND hwnd) {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

PROCESS_INFORMATION Start(const std::string& exe, const std::vector<std::string>& arguments) {
  std::string commandLine = "\"" + exe + "\"";
  for (const std::string& argument : arguments) commandLine += " \"" + argument + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    Fail("cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")");
  }
  return process;
}

struct WindowSearch {
  DWORD pid;
  const std::function<bool(HWND)>* test;
  HWND found;
};

BOOL CALLBACK TestWindow(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  if (ProcessOf(hwnd) != search->pid || !IsWindowVisible(hwnd) || !(*search->test)(hwnd))
    return TRUE;
  search->found = hwnd;
  return FALSE;
}

// Polls every millisecond for a visible top-level window of the process that passes the test.
HWND WaitForWindow(DWORD pid, const std::function<bool(HWND)>& test, const char* what) {
  const DWORD start = GetTickCount();
  for (;;) {
    WindowSearch search{pid, &test, nullptr};
    EnumWindows(TestWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (GetTickCount() - start > kTimeoutMs) Fail(std::string("timed out waiting for ") + what);
    Sleep(1);
  }
}

bool OnlyVisibleWindow(DWORD pid, HWND window) {
  const std::function<bool(HWND)> other = [window](HWND hwnd) { return hwnd != window; };
  WindowSearch search{pid, &other, nullptr};
  EnumWindows(TestWindow, reinterpret_cast<LPARAM>(&search));
  return search.found == nullptr;
}

// The hand-over is complete when the window with this caption is the foreground window and the
// program shows no other.
HWND WaitForMainWindow(DWORD pid, const std::string& caption) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND foreground = GetForegroundWindow();
    if (foreground && ProcessOf(foreground) == pid && WindowText(foreground) == caption &&
        OnlyVisibleWindow(pid, foreground)) {
      return foreground;
    }
    if (GetTickCount() - start > kTimeoutMs) Fail("timed out waiting for the main window");
    Sleep(1);
  }
}

// A click in the middle of the first window, on its picture (the splash's link lies lower).
void ClickOn(HWND hwnd) {
  const LPARAM point = MAKELPARAM(150, 60);
  PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(hwnd, WM_LBUTTONUP, 0, point);
}

BOOL CALLBACK CloseWindowOf(HWND hwnd, LPARAM pid) {
  if (ProcessOf(hwnd) == static_cast<DWORD>(pid)) PostMessageA(hwnd, WM_CLOSE, 0, 0);
  return TRUE;
}

// Closes the program through its main window, as its user would. A program may keep a hidden
// window a moment longer (tessivane.exe unloads its splash at the main window's first activation):
// after two seconds its other windows are closed too, and after twenty the process is ended.
void CloseAndWait(PROCESS_INFORMATION& process, HWND mainWindow) {
  PostMessageA(mainWindow, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 2000) != WAIT_OBJECT_0) {
    EnumWindows(CloseWindowOf, static_cast<LPARAM>(process.dwProcessId));
    if (WaitForSingleObject(process.hProcess, 18000) != WAIT_OBJECT_0) {
      TerminateProcess(process.hProcess, 1);
      WaitForSingleObject(process.hProcess, INFINITE);
    }
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

HWND ChildButton(HWND parent, const char* text) {
  HWND button = FindWindowExA(parent, nullptr, "Button", text);
  if (!button) Fail(std::string("no button ") + text);
  return button;
}

LRESULT ListRows(HWND window) {
  HWND list = FindWindowExA(window, nullptr, "ListBox", nullptr);
  return list ? SendMessageA(list, LB_GETCOUNT, 0, 0) : -1;
}

int Startup(int runs, const std::string& mainCaption, const std::string& exe) {
  std::vector<double> toFirst, toMain;
  const auto anyWindow = [](HWND) { return true; };
  for (int i = 0; i <= runs; ++i) {  // run 0 warms up
    const double start = NowMs();
    PROCESS_INFORMATION process = Start(exe, {});
    HWND first = WaitForWindow(process.dwProcessId, anyWindow, "the first window");
    const double shown = NowMs();
    ClickOn(first);
    HWND mainWindow = WaitForMainWindow(process.dwProcessId, mainCaption);
    const double active = NowMs();
    CloseAndWait(process, mainWindow);
    if (i == 0) continue;
    toFirst.push_back(shown - start);
    toMain.push_back(active - shown);
  }
  PrintSamples("first-window", toFirst);
  PrintSamples("main-active", toMain);
  return 0;
}

// Every file of the folder removed (the folder itself kept).
void EmptyFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      DeleteFileA((folder + "\\" + found.cFileName).c_str());
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

// The folder holds that many files of that many bytes in all, and nothing else.
bool Landed(const std::string& folder, int files, unsigned long long bytes) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return false;
  unsigned long long total = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    --files;
    total += (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return files == 0 && total == bytes;
}

// The size and time of the last write: a save changes them. (Read without opening the file, which
// would keep the tool from replacing it.)
std::string Stamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return std::to_string(data.nFileSizeLow) + ":" +
         std::to_string(data.ftLastWriteTime.dwLowDateTime) + ":" +
         std::to_string(data.ftLastWriteTime.dwHighDateTime);
}

void WriteWhole(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  if (file == INVALID_HANDLE_VALUE ||
      !WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
    Fail("cannot write " + path);
  CloseHandle(file);
}

BOOL CALLBACK AnswerBoxOf(HWND hwnd, LPARAM pid) {
  char name[16] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (ProcessOf(hwnd) == static_cast<DWORD>(pid) && IsWindowVisible(hwnd) &&
      std::string(name) == "#32770")
    PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
  return TRUE;
}

// Waits until tessivane.exe has imported the scenarios: they have landed, user.cfg was saved, and
// the main window answers (the work is done; a box that says which scenarios got no menu may be
// up). Hands over from the splash as a user's click would.
HWND WaitForImport(const PROCESS_INFORMATION& process, const std::string& folder, int files,
                   unsigned long long bytes, const std::string& cfg, const std::string& before) {
  const DWORD start = GetTickCount();
  HWND clicked = nullptr;
  for (;;) {
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) Fail("the tool ended");
    const std::function<bool(HWND)> other = [](HWND hwnd) {
      return WindowText(hwnd) != kMainCaption;
    };
    WindowSearch search{process.dwProcessId, &other, nullptr};
    EnumWindows(TestWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found && search.found != clicked && GetParent(search.found) == nullptr) {
      char name[16] = {};
      GetClassNameA(search.found, name, sizeof name);
      if (std::string(name) != "#32770") ClickOn(clicked = search.found);
    }
    HWND mainWindow = FindWindowA(nullptr, kMainCaption.c_str());
    DWORD_PTR answer = 0;
    if (mainWindow && ProcessOf(mainWindow) == process.dwProcessId && Stamp(cfg) != before &&
        Landed(folder, files, bytes) &&
        SendMessageTimeoutA(mainWindow, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &answer))
      return mainWindow;
    if (GetTickCount() - start > kTimeoutMs) {
      TerminateProcess(process.hProcess, 1);  // its output is the benchmark's: it must end
      Fail("timed out waiting for the import");
    }
    Sleep(1);
  }
}

int Import(int runs, const std::string& game, const std::string& zip, int files,
           unsigned long long bytes, const std::string& exe, bool floor) {
  const std::string folder = game + "\\scenario", cfg = game + "\\startup\\user.cfg";
  const std::string original = ReadWhole(cfg);
  std::vector<double> samples;
  for (int i = 0; i <= runs; ++i) {  // run 0 warms up
    EmptyFolder(folder);
    WriteWhole(cfg, original);
    const std::string before = Stamp(cfg);
    const double start = NowMs();
    PROCESS_INFORMATION process = Start(
        exe, floor ? std::vector<std::string>{zip, folder} : std::vector<std::string>{game, zip});
    HWND mainWindow = nullptr;
    if (floor) {
      WaitForSingleObject(process.hProcess, kTimeoutMs);
    } else {
      mainWindow = WaitForImport(process, folder, files, bytes, cfg, before);
    }
    const double done = NowMs();
    if (!Landed(folder, files, bytes)) Fail("the scenarios did not land");
    if (mainWindow) {
      for (int n = 0; n < 20; ++n) {  // the boxes answered before the window is closed
        EnumWindows(AnswerBoxOf, static_cast<LPARAM>(process.dwProcessId));
        Sleep(50);
      }
      CloseAndWait(process, mainWindow);
    } else {
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
    if (i > 0) samples.push_back(done - start);
  }
  // The game folder as it was found, for the next round.
  EmptyFolder(folder);
  WriteWhole(cfg, original);
  PrintSamples("import", samples);
  return 0;
}

int Memory(long rows, const std::string& exe, const std::vector<std::string>& arguments) {
  PROCESS_INFORMATION process = Start(exe, arguments);
  const DWORD pid = process.dwProcessId;
  HWND mainWindow = nullptr;
  if (arguments.empty()) {
    ClickOn(WaitForWindow(
        pid, [](HWND) { return true; }, "the splash"));
    mainWindow = WaitForMainWindow(pid, kMainCaption);
    PostMessageA(ChildButton(mainWindow, "Add"), BM_CLICK, 0, 0);
  }
  HWND listWindow = WaitForWindow(
      pid, [&](HWND hwnd) { return hwnd != mainWindow && ListRows(hwnd) == rows; }, "the list");
  Sleep(500);  // painted and settled, as the user sees it

  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters))
    Fail("GetProcessMemoryInfo failed");
  std::printf("peak-working-set %.3f\n", counters.PeakWorkingSetSize / (1024.0 * 1024.0));

  if (mainWindow) {
    PostMessageA(ChildButton(listWindow, "Cancel"), BM_CLICK, 0, 0);
    WaitForMainWindow(pid, kMainCaption);
  }
  CloseAndWait(process, mainWindow ? mainWindow : listWindow);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* usage =
      "bench_launch startup <runs> <main caption> <exe> | memory <rows> <exe> [arguments...] | "
      "import <runs> <game folder> <zip> <scenarios> <bytes> <exe> [floor]";
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "startup" && argc == 5)
    return Startup(RunsArgument(argc, argv, 2, usage), argv[3], argv[4]);
  if (mode == "import" && (argc == 8 || argc == 9)) {
    return Import(RunsArgument(argc, argv, 2, usage), argv[3], argv[4], std::atoi(argv[5]),
                  std::strtoull(argv[6], nullptr, 10), argv[7], argc == 9);
  }
  if (mode == "memory" && argc >= 4)
    return Memory(std::atol(argv[2]), argv[3], std::vector<std::string>(argv + 4, argv + argc));
  Fail(usage);
}
