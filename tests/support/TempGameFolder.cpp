#include "tests/support/TempGameFolder.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/AnsiText.h"
#include "platform/FileReplacement.h"
#include "platform/PathText.h"
#include "platform/VirtualStore.h"

namespace test_support {
namespace {

std::string refusedFolder;

std::string Environment(const char* name) {
  char value[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) throw std::runtime_error(std::string("no ") + name);
  return std::string(value, length);
}

}  // namespace

void RefuseNewFilesIn(const std::string& folder) {
  refusedFolder = folder;
  const NewFileGate refuse = [](const std::string& path) -> unsigned long {
    return path.compare(0, refusedFolder.size(), refusedFolder) == 0 ? ERROR_ACCESS_DENIED : 0;
  };
  SetNewFileGate(folder.empty() ? nullptr : refuse);
}

TempFolder::TempFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  static unsigned counter = 0;
  for (;;) {
    m_path = std::string(temp) + "tessivane-test-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++counter);
    if (CreateDirectoryA(m_path.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("no temporary folder");
  }
}

TempFolder::~TempFolder() { RemoveTree(m_path); }

TempGameFolder::TempGameFolder() : m_path(m_folder.Path() + "\\") {
  CreateDirectoryA((m_path + std::string(kStartupFolder)).c_str(), nullptr);
}

ProtectedGameFolder::ProtectedGameFolder() {
  // Windows' redirection, not Wine's lack of it, unless a test says otherwise.
  SetRunningUnderWineForTests(false);
  if (!SetMachineDword(kSystemPolicyKey, "EnableLUA", 1, kNativeView)) {
    throw std::runtime_error("EnableLUA not set");
  }
  // Where a 32-bit setup installs on 64-bit Windows, and where Windows keeps the per-user copies:
  // the path without its drive, under VirtualStore.
  static unsigned counter = 0;
  const std::string below = "\\Tessivane test " + std::to_string(GetCurrentProcessId()) + "-" +
                            std::to_string(++counter) + "\\";
  const std::string programFiles = Environment("ProgramFiles(x86)");
  m_path = programFiles + below;
  m_copy = Environment("LOCALAPPDATA") + "\\VirtualStore" + programFiles.substr(2) + below;
  RemoveTree(m_path);
  RemoveTree(m_copy);
  if (!CreateDirectoryA(m_path.c_str(), nullptr) ||
      !CreateDirectoryA((m_path + std::string(kStartupFolder)).c_str(), nullptr)) {
    throw std::runtime_error("no game folder under " + programFiles);
  }
}

ProtectedGameFolder::~ProtectedGameFolder() {
  SetRunningUnderWineForTests(std::nullopt);
  Refuse(false);
  RemoveTree(m_path);
  RemoveTree(m_copy);
}

void ProtectedGameFolder::Refuse(bool refuse) { RefuseNewFilesIn(refuse ? m_path : ""); }

std::string LinuxPath(const std::string& windowsPath) {
  using UnixFileName = char* (*)(const wchar_t*);
  const auto unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixFileName) throw std::runtime_error("not running under Wine");
  const std::wstring wide(windowsPath.begin(), windowsPath.end());  // the tests' paths are ASCII
  char* unixPath = unixFileName(wide.c_str());
  if (!unixPath) throw std::runtime_error("no Linux path for " + windowsPath);
  std::string path = unixPath;
  HeapFree(GetProcessHeap(), 0, unixPath);
  return path;
}

bool RunLinuxCommand(const std::string& program, const std::vector<std::string>& arguments,
                     const std::function<bool()>& done) {
  std::string commandLine = program;
  for (const std::string& argument : arguments) commandLine += " \"" + argument + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int waited = 0; waited < 100; ++waited) {
    if (done()) return true;
    Sleep(50);
  }
  return false;
}

std::string FinalPath(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  char final[MAX_PATH] = {};
  const DWORD length = GetFinalPathNameByHandleA(file, final, MAX_PATH, 0);
  CloseHandle(file);
  return length > 0 && length < MAX_PATH ? std::string(final, length) : "";
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool WriteBytesMakingFolders(const std::string& path, const std::string& bytes) {
  unsigned long error = 0;
  if (!CreateFolders(path.substr(0, FindLastSeparator(AnsiCodePage(), path)), &error)) return false;
  WriteBytes(path, bytes);
  return PathExists(path);
}

bool PathExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeEmptyFile(const std::wstring& path) {
  CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
}

HANDLE HoldWithoutSharing(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

void RemoveTree(const std::string& path) { RemoveTree(WideFromAnsi(path)); }

// Wide, so that names the code page cannot hold are removed too.
void RemoveTree(const std::wstring& path) {
  std::wstring folder = path;
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = folder + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace test_support
