#include "platform/Virtualisation.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "platform/Registry.h"

namespace {

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
