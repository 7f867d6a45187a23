#include "platform/FileLinks.h"

#include <windows.h>

#include <optional>

#include "platform/AnsiText.h"
#include "platform/FileFailures.h"
#include "platform/PathText.h"
#include "platform/UniqueHandle.h"

namespace {

// The path without the "\\?\" that GetFinalPathNameByHandle puts in front.
std::string WithoutLongPathPrefix(const std::string& path) {
  if (path.rfind("\\\\?\\UNC\\", 0) == 0) return "\\" + path.substr(7);
  if (path.rfind("\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

// Where the file or folder really lies, links followed; "" when it cannot be opened.
std::string FinalPathName(const std::string& path) {
  UniqueFile handle(CreateFileW(WidePath(path).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return "";
  const std::optional<std::wstring> final =
      AskForText<std::wstring>([&](wchar_t* buffer, DWORD size) {
        return GetFinalPathNameByHandleW(handle.Get(), buffer, size, 0);
      });
  if (!final) return "";
  // A link to a place the code page cannot name is not followed: no exact name to keep.
  return WithoutLongPathPrefix(AnsiFromWide(*final).value_or(""));
}

}  // namespace

// A plain file's final path is its folder's final path and its own name; anything else came
// through a link.
std::string FileToReplace(const std::string& path) {
  const unsigned codePage = AnsiCodePage();
  const size_t cut = FindLastSeparator(codePage, path);
  if (cut == std::string::npos) return path;
  const std::string file = FinalPathName(path);
  if (file.empty() || EqualsIgnoringAsciiCase(codePage, file, FullPathName(path)))
    return path;  // mostly
  // "C:\" names the drive's root; "C:\Games\" is opened without its final backslash.
  const std::string folder = FinalPathName(path.substr(0, cut > 2 ? cut : cut + 1));
  if (folder.empty()) return path;
  std::string expected = folder;
  if (!EndsWithSeparator(codePage, expected)) expected += '\\';
  expected += path.substr(cut + 1);
  return EqualsIgnoringAsciiCase(codePage, file, expected) ? path : file;
}
