#include "platform/VirtualStore.h"

#include <windows.h>
// The known folders' ids defined here, the four in use alone kept by the linker, instead of
// libuuid's one object of every id Windows has (about 40 KB).
#include <initguid.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/AsciiText.h"
#include "platform/FileSystem.h"

namespace {

// True when path is folder itself or lies inside it.
bool IsInFolder(const std::string& path, std::string folder) {
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  if (folder.empty() || path.size() < folder.size()) return false;
  if (!StartsWithIgnoringAsciiCase(path, folder)) return false;
  return path.size() == folder.size() || path[folder.size()] == '\\';
}

// A UTF-16 path in the ANSI code page, exactly; "" when the code page cannot hold it. The short
// (8.3) form of an existing path is ASCII and serves then.
std::string AnsiPath(const wchar_t* wide) {
  const auto convert = [](const wchar_t* text) -> std::string {
    BOOL usedDefault = FALSE;
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL* const used = utf8 ? nullptr : &usedDefault;
    const int size = WideCharToMultiByte(CP_ACP, flags, text, -1, nullptr, 0, nullptr, used);
    if (size <= 1 || usedDefault) return "";
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, text, -1, ansi.data(), size, nullptr, nullptr);
    ansi.pop_back();  // the terminating NUL
    return ansi;
  };
  std::string ansi = convert(wide);
  if (!ansi.empty()) return ansi;
  wchar_t shortPath[MAX_PATH];
  const DWORD length = GetShortPathNameW(wide, shortPath, MAX_PATH);
  return length > 0 && length < MAX_PATH ? convert(shortPath) : "";
}

std::string KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* wide = nullptr;
  std::string path;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &wide)) && wide)
    path = AnsiPath(wide);
  CoTaskMemFree(wide);
  return path;
}

// The path with its 8.3 names written long, as far as it exists (a file about to be made
// does not yet).
std::string LongPathName(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return std::string(buffer, length);
  const size_t cut = path.find_last_of('\\');
  if (cut == std::string::npos || cut < 3) return path;
  return LongPathName(path.substr(0, cut)) + path.substr(cut);
}

}  // namespace

std::string VirtualStorePathFor(const std::string& fullPath, const std::string& localAppData,
                                const std::vector<std::string>& protectedFolders) {
  // Only paths on a drive ("C:\...") are redirected; the copy drops the drive.
  if (localAppData.empty() || fullPath.size() < 3 || fullPath[1] != ':' || fullPath[2] != '\\')
    return "";
  if (std::none_of(protectedFolders.begin(), protectedFolders.end(),
                   [&](const std::string& folder) { return IsInFolder(fullPath, folder); })) {
    return "";
  }
  std::string copy = localAppData;
  while (!copy.empty() && copy.back() == '\\') copy.pop_back();
  copy += "\\VirtualStore" + fullPath.substr(2);
  // A profile inside a protected folder (a service's, under the Windows folder) gets no copy.
  for (const std::string& folder : protectedFolders) {
    if (IsInFolder(copy, folder)) return "";
  }
  return copy;
}

std::string VirtualStorePath(const std::string& path) {
  // The folders are the same for the whole run, and asking the shell for them costs more than a
  // whole load of user.cfg does: asked once.
  static const std::vector<std::string> protectedFolders = {
      KnownFolder(FOLDERID_ProgramFiles), KnownFolder(FOLDERID_ProgramFilesX86),
      KnownFolder(FOLDERID_Windows)};
  static const std::string localAppData = KnownFolder(FOLDERID_LocalAppData);
  std::string full = FullPathName(path);
  // Only a path with an 8.3 name in it ("PROGRA~2") needs the file system's help to be compared;
  // asking it for every path would cost more than a whole load of a small user.cfg.
  if (full.find('~') != std::string::npos) full = LongPathName(full);
  return VirtualStorePathFor(full, localAppData, protectedFolders);
}
