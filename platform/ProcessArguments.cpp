#include "platform/ProcessArguments.h"

#include <windows.h>

namespace {

// The same cut made on a given command line: the name ends at the first space or tab, or, when
// it starts with a quote, at the next quote (a program's path holds no quote to escape).
std::wstring_view ArgumentsAfterProgramName(std::wstring_view commandLine) {
  size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    at = commandLine.find(L'"', 1);
    at = at == std::wstring_view::npos ? commandLine.size() : at + 1;
  } else {
    while (at < commandLine.size() && commandLine[at] != L' ' && commandLine[at] != L'\t') ++at;
  }
  while (at < commandLine.size() && (commandLine[at] == L' ' || commandLine[at] == L'\t')) ++at;
  return commandLine.substr(at);
}

}  // namespace

std::wstring ProcessArguments() {
  const wchar_t* const commandLine = GetCommandLineW();
  return std::wstring(ArgumentsAfterProgramName(commandLine ? commandLine : L""));
}

std::wstring ProgramFolder() {
  std::wstring path(32768, L'\0');  // the longest path Windows has
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return L"";
  path.resize(length);
  return path.substr(0, path.find_last_of(L'\\') + 1);
}
