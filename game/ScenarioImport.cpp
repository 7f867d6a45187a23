#include "game/ScenarioImport.h"

#include <algorithm>

#include "platform/PathText.h"

namespace {

constexpr size_t kExtensionLength = 4;  // ".scn", ".zip"
constexpr int kLastFreeNumber = 9999;

// Whether the name ends in `ending` (in lower case) in any ASCII letter case.
bool EndsWithIgnoringCase(std::wstring_view name, std::wstring_view ending) {
  if (name.size() < ending.size()) return false;
  std::wstring tail(name.substr(name.size() - ending.size()));
  for (wchar_t& c : tail) c = c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c;
  return tail == ending;
}

}  // namespace

bool IsScenarioFileName(std::wstring_view fileName) {
  return EndsWithIgnoringCase(fileName, L".scn");
}

bool IsZipFileName(std::wstring_view fileName) { return EndsWithIgnoringCase(fileName, L".zip"); }

std::wstring ScenarioBaseName(std::wstring_view fileName) {
  return std::wstring(
      fileName.substr(0, fileName.size() - std::min(fileName.size(), kExtensionLength)));
}

NameRefusal CheckScenarioName(std::wstring_view name, bool heldByCodePage) {
  if (name.empty()) return NameRefusal::Empty;
  if (HoldsControlCharacter(name)) return NameRefusal::ControlCharacter;
  if (IsDeviceName(name)) return NameRefusal::DeviceName;
  return heldByCodePage ? NameRefusal::None : NameRefusal::NotInCodePage;
}

std::string FreeScenarioName(const std::string& name,
                             const std::function<bool(const std::string&)>& taken) {
  for (int number = 2; number <= kLastFreeNumber; ++number) {
    std::string candidate = name + " (" + std::to_string(number) + ")";
    if (!taken(candidate)) return candidate;
  }
  return "";
}
