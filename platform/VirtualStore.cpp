#include "platform/VirtualStore.h"

#include <windows.h>
// The known folders' ids defined here, the four in use alone kept by the linker, instead of
// libuuid's one object of every id Windows has (about 40 KB).
#include <initguid.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>

#include "platform/AnsiText.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/Registry.h"

namespace {

// True when path is folder itself or lies inside it.
bool IsInFolder(const std::string& path, const std::string& protectedFolder) {
  const unsigned codePage = AnsiCodePage();
  const std::string folder = WithoutTrailingSeparators(codePage, protectedFolder);
  return !folder.empty() && StartsWithIgnoringAsciiCase(codePage, path, folder) &&
         (path.size() == folder.size() || path[folder.size()] == '\\');
}

// A known folder in the ANSI code page; "" when unknown or when the code page cannot hold it. The
// user's local application data folder, when its name is in another script than the code page's
// (the user's name), is named by its variable, which the file functions turn into the folder in
// UTF-16: short (8.3) names would not do, since a volume may keep none. (The protected folders are
// named in ASCII in every language of Windows.)
std::string KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* wide = nullptr;
  const HRESULT found = SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &wide);
  std::string path = SUCCEEDED(found) ? AnsiPath(wide).value_or("") : "";
  CoTaskMemFree(wide);
  return path;
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

constexpr char kLayersKey[] =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";

// A policy switch that is off only when the value says 0; a missing value leaves it on. (A key that
// both registry views share.)
bool PolicySwitchedOff(const wchar_t* name) {
  DWORD value = 1, size = sizeof value;
  return RegGetValueW(HKEY_LOCAL_MACHINE,
                      L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", name,
                      RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS &&
         value == 0;
}

// The compatibility layers of a program are one text value named by its full path, words
// separated by spaces ("~ RUNASADMIN WINXPSP3").
bool LayersRunAsAdministrator(HKEY root, RegistryView view, const std::string& program) {
  const std::optional<std::wstring> layers = ReadRegistryText(root, kLayersKey, program, view);
  if (!layers) return false;
  std::wstring words = L" " + std::wstring(layers->c_str()) + L" ";  // up to the terminating NUL
  CharUpperBuffW(words.data(), static_cast<DWORD>(words.size()));
  return words.find(L" RUNASADMIN ") != std::wstring::npos;
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
  const auto isProtected = [&](const std::string& path) {
    return std::any_of(protectedFolders.begin(), protectedFolders.end(),
                       [&](const std::string& folder) { return IsInFolder(path, folder); });
  };
  if (!isProtected(fullPath)) return "";
  const std::string copy = WithoutTrailingSeparators(AnsiCodePage(), localAppData) +
                           "\\VirtualStore" + fullPath.substr(2);
  // A profile inside a protected folder (a service's, under the Windows folder) gets no copy.
  return isProtected(copy) ? "" : copy;
}

std::string VirtualStorePath(const std::string& path) {
  // The folders are the same for the whole run, and asking the shell for them costs more than a
  // whole load of user.cfg does: asked once.
  static const std::vector<std::string> protectedFolders = {KnownFolder(FOLDERID_ProgramFiles),
                                                            KnownFolder(FOLDERID_ProgramFilesX86),
                                                            KnownFolder(FOLDERID_Windows)};
  static const std::string localAppData = KnownFolder(FOLDERID_LocalAppData);
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
  return !RunningUnderWine() && !PolicySwitchedOff(L"EnableLUA") &&
         !PolicySwitchedOff(L"EnableVirtualization");
}

bool WindowsVirtualisesFor(const std::vector<std::string>& programs) {
  return WindowsVirtualises() &&
         std::none_of(programs.begin(), programs.end(), RunsAsAdministrator);
}
