#include "platform/Virtualisation.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "platform/AnsiText.h"
#include "platform/PathText.h"
#include "platform/UniqueHandle.h"

namespace {

std::optional<bool> wineForTests;

constexpr char kPolicyKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr char kLayersKey[] =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";

// A value of this type, read into the buffer; false when the key, the value or the type is not
// there or the value does not fit.
bool ReadValue(HKEY root, const char* subKey, const std::string& name, REGSAM view, DWORD type,
               void* buffer, DWORD size) {
  UniqueRegistryKey key;
  if (RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE | view, key.Out()) != ERROR_SUCCESS)
    return false;
  DWORD found = 0;
  return RegQueryValueExA(key.Get(), name.c_str(), nullptr, &found, static_cast<BYTE*>(buffer),
                          &size) == ERROR_SUCCESS &&
         found == type;
}

// A policy switch that is off only when the value says 0; a missing value leaves it on.
bool PolicySwitchedOff(const char* name) {
  DWORD value = 1;
  return ReadValue(HKEY_LOCAL_MACHINE, kPolicyKey, name, KEY_WOW64_64KEY, REG_DWORD, &value,
                   sizeof value) &&
         value == 0;
}

// The compatibility layers of a program are one text value named by its full path, words
// separated by spaces ("~ RUNASADMIN WINXPSP3").
bool LayersRunAsAdministrator(HKEY root, REGSAM view, const std::string& program) {
  char layers[1024] = {};  // one byte more than read: always ends with a NUL
  if (!ReadValue(root, kLayersKey, program, view, REG_SZ, layers, sizeof layers - 1)) return false;
  std::string_view rest(layers);
  while (!rest.empty()) {
    const size_t end = std::min(rest.find(' '), rest.size());
    if (EqualsIgnoringAsciiCase(AnsiCodePage(), rest.substr(0, end), "RUNASADMIN")) return true;
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return false;
}

bool RunsAsAdministrator(const std::string& program) {
  return LayersRunAsAdministrator(HKEY_CURRENT_USER, 0, program) ||
         LayersRunAsAdministrator(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, program) ||
         LayersRunAsAdministrator(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, program);
}

// True under Wine (ntdll exports wine_get_version), unless a test said otherwise.
bool RunningUnderWine() {
  if (wineForTests) return *wineForTests;
  static const bool underWine = [] {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return underWine;
}

}  // namespace

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
