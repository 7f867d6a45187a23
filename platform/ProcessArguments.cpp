#include "platform/ProcessArguments.h"

#include <windows.h>

#include "platform/FileFailures.h"

std::wstring ProcessArguments() {
  // The program's name ends at the first space or tab, or, when it starts with a quote, at the
  // next quote (a program's path holds no quote to escape).
  const std::wstring_view line = GetCommandLineW();
  const bool quoted = line.starts_with(L'"');
  size_t end = quoted ? line.find(L'"', 1) : line.find_first_of(L" \t");
  if (quoted && end != std::wstring_view::npos) ++end;
  const size_t start = line.find_first_not_of(L" \t", end);
  return std::wstring(start == std::wstring_view::npos ? L"" : line.substr(start));
}

std::wstring ProgramFolder() {
  const std::wstring path = PathOfCall(
      [](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
  return path.substr(0, path.find_last_of(L'\\') + 1);  // "" when npos: no path
}
