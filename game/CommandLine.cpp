#include "game/CommandLine.h"

#include <algorithm>

std::vector<std::wstring> SplitCommandLine(std::wstring_view arguments) {
  std::vector<std::wstring> result;
  size_t i = 0;
  const auto isBlank = [&](size_t at) {
    return at < arguments.size() && (arguments[at] == L' ' || arguments[at] == L'\t');
  };
  for (;;) {
    while (isBlank(i)) ++i;
    if (i >= arguments.size()) return result;
    std::wstring argument;
    bool quoted = false;
    while (i < arguments.size() && (quoted || !isBlank(i))) {
      const size_t backslashes =
          std::min(arguments.find_first_not_of(L'\\', i), arguments.size()) - i;
      i += backslashes;
      if (i < arguments.size() && arguments[i] == L'"') {
        argument.append(backslashes / 2, L'\\');
        if (backslashes % 2 == 1) {
          argument += L'"';
        } else if (quoted && i + 1 < arguments.size() && arguments[i + 1] == L'"') {
          argument += L'"';  // "" inside a quoted part
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        argument.append(backslashes, L'\\');
        if (backslashes == 0) argument += arguments[i++];
      }
    }
    result.push_back(std::move(argument));
  }
}

std::wstring GameFolderArgument(const std::vector<std::wstring>& arguments) {
  if (arguments.empty()) return L"";
  std::wstring folder = arguments.front();
  if (folder.empty()) return L".";
  if (folder.back() == L'"') folder.back() = L'\\';
  return folder;
}

SortedArguments SortArguments(const std::vector<std::wstring>& arguments,
                              const std::function<bool(const std::wstring&)>& isFile) {
  SortedArguments sorted;
  for (const std::wstring& argument : arguments)
    (!argument.empty() && isFile(argument) ? sorted.files : sorted.others).push_back(argument);
  return sorted;
}
