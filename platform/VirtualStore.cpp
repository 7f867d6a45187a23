#include "platform/VirtualStore.h"

#include <windows.h>
// The known folders' ids defined here, the four in use alone kept by the linker, instead of
// libuuid's one object of every id Windows has (about 40 KB).
#include <initguid.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/AnsiText.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/Registry.h"

namespace {

// True when path is folder itself or lies inside it.
bool IsInFolder(const std::string& path, const std::string& protectedFolder) {
  const unsigned codePage = AnsiCodePage();
  const std::string folder = WithoutTrailingSeparators(codePage, protectedFolder);
  if (folder.empty() || path.size() < folder.size()) return false;
  if (!StartsWithIgnoringAsciiCase(codePage, path, folder)) return false;
  return path.size() == folder.size() || path[folder.size()] == '\\';
}

std::wstring KnownFolderWide(REFKNOWNFOLDERID id) {
  wchar_t* wide = nullptr;
  std::wstring path;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &wide)) && wide) path = wide;
  CoTaskMemFree(wide);
  return path;
}

// A known folder in the ANSI code page, exactly; "" when unknown or when the code page cannot
// hold it (the protected folders are named in ASCII in every language of Windows).
std::string KnownFolder(REFKNOWNFOLDERID id) {
  return AnsiFromWide(KnownFolderWide(id)).value_or("");
}

// The user's local application data folder. One that the code page cannot hold (a user name in
// another script) is named by its variable, which the file functions turn into the folder in
// UTF-16: short (8.3) names would not do, since a volume may keep none.
std::string LocalAppDataFolder() {
  return AnsiPath(KnownFolderWide(FOLDERID_LocalAppData)).value_or("");
}

// The path with its 8.3 names written long, as far as it exists (a file about to be made
// does not yet).
std::string LongPathName(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return std::string(buffer, length);
  const size_t cut = FindLastSeparator(AnsiCodePage(), path);
  if (cut == std::string::npos || cut < 3) return path;
  return LongPathName(path.substr(0, cut)) + path.substr(cut);
}

std::optional<bool> wineForTests;

constexpr char kPolicyKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr char kLayersKey[] =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";

// A policy switch that is off only when the value says 0; a missing value leaves it on.
bool PolicySwitchedOff(const char* name) {
  return ReadRegistryNumber(HKEY_LOCAL_MACHINE, kPolicyKey, name, RegistryView::Programs64) == 0u;
}

// The compatibility layers of a program are one text value named by its full path, words
// separated by spaces ("~ RUNASADMIN WINXPSP3").
bool LayersRunAsAdministrator(HKEY root, RegistryView view, const std::string& program) {
  const std::optional<std::wstring> layers = ReadRegistryText(root, kLayersKey, program, view);
  if (!layers) return false;
  std::wstring_view rest(layers->c_str());  // up to the terminating NUL
  while (!rest.empty()) {
    const std::wstring_view word = rest.substr(0, rest.find(L' '));
    if (CompareStringOrdinal(word.data(), static_cast<int>(word.size()), L"RUNASADMIN", -1, TRUE) ==
        CSTR_EQUAL) {
      return true;
    }
    rest.remove_prefix(std::min(word.size() + 1, rest.size()));
  }
  return false;
}

bool RunsAsAdministrator(const std::string& program) {
  return LayersRunAsAdministrator(HKEY_CURRENT_USER, RegistryView::Programs64, program) ||
         LayersRunAsAdministrator(HKEY_LOCAL_MACHINE, RegistryView::Programs64, program) ||
         LayersRunAsAdministrator(HKEY_LOCAL_MACHINE, RegistryView::Programs32, program);
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
  std::string copy = WithoutTrailingSeparators(AnsiCodePage(), localAppData);
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
  static const std::vector<std::string> protectedFolders = {KnownFolder(FOLDERID_ProgramFiles),
                                                            KnownFolder(FOLDERID_ProgramFilesX86),
                                                            KnownFolder(FOLDERID_Windows)};
  static const std::string localAppData = LocalAppDataFolder();
  std::string full = AnsiPath(FullPathName(WidePath(path))).value_or(path);
  // Only a path with an 8.3 name in it ("PROGRA~2") needs the file system's help to be compared;
  // asking it for every path would cost more than a whole load of a small user.cfg.
  if (full.find('~') != std::string::npos) full = LongPathName(full);
  return VirtualStorePathFor(full, localAppData, protectedFolders);
}

bool RunningUnderWine() {
  if (wineForTests) return *wineForTests;
  static const bool underWine = [] {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return underWine;
}

void SetRunningUnderWineForTests(std::optional<bool> underWine) { wineForTests = underWine; }

bool WindowsVirtualises() {
  return !RunningUnderWine() && !PolicySwitchedOff("EnableLUA") &&
         !PolicySwitchedOff("EnableVirtualization");
}

bool WindowsVirtualisesFor(const std::vector<std::string>& programs) {
  if (!WindowsVirtualises()) return false;
  for (const std::string& program : programs) {
    if (RunsAsAdministrator(program)) return false;
  }
  return true;
}
