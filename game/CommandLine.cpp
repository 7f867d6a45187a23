#include "game/CommandLine.h"

std::vector<std::string> SplitCommandLine(std::string_view arguments) {
  std::vector<std::string> result;
  size_t i = 0;
  const auto isBlank = [&](size_t at) {
    return at < arguments.size() && (arguments[at] == ' ' || arguments[at] == '\t');
  };
  for (;;) {
    while (isBlank(i)) ++i;
    if (i >= arguments.size()) return result;
    std::string argument;
    bool quoted = false;
    while (i < arguments.size() && (quoted || !isBlank(i))) {
      size_t backslashes = 0;
      while (i < arguments.size() && arguments[i] == '\\') {
        ++backslashes;
        ++i;
      }
      if (i < arguments.size() && arguments[i] == '"') {
        argument.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          argument += '"';
        } else if (quoted && i + 1 < arguments.size() && arguments[i + 1] == '"') {
          argument += '"';  // "" inside a quoted part
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        argument.append(backslashes, '\\');
        if (backslashes == 0) argument += arguments[i++];
      }
    }
    result.push_back(std::move(argument));
  }
}

std::string GameFolderArgument(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return "";
  std::string folder = arguments.front();
  if (folder.empty()) return ".";
  if (folder.back() == '"') folder.back() = '\\';
  return folder;
}
