#include "platform/StreamedFiles.h"

#include <windows.h>

#include "platform/AnsiText.h"
#include "platform/UniqueHandle.h"

PathKind GetPathKind(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

std::vector<std::wstring> FilesDirectlyIn(const std::wstring& folder) {
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW found;
  UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find) return files;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      files.push_back(folder + L"\\" + found.cFileName);
  } while (FindNextFileW(find.Get(), &found));
  return files;
}

bool IsAliasOfAnother(const std::string& path) {
  const std::wstring wide = WidePath(path);
  // FindFirstFileW reads "*" and "?" as wildcards, which no file name holds.
  if (wide.find_first_of(L"*?") != std::wstring::npos) return false;
  WIN32_FIND_DATAW found;
  UniqueFind find(FindFirstFileW(wide.c_str(), &found));
  if (!find) return false;
  const size_t nameAt = wide.find_last_of(L"\\/") + 1;
  return CompareStringOrdinal(wide.c_str() + nameAt, -1, found.cFileName, -1, TRUE) != CSTR_EQUAL;
}

bool SameFileName(const std::string& a, const std::string& b) {
  return CompareStringOrdinal(WideFromAnsi(a).c_str(), -1, WideFromAnsi(b).c_str(), -1, TRUE) ==
         CSTR_EQUAL;
}

uint64_t FreeBytesIn(const std::string& folder) {
  ULARGE_INTEGER free;
  if (!GetDiskFreeSpaceExW(WidePath(folder).c_str(), &free, nullptr, nullptr)) return UINT64_MAX;
  return free.QuadPart;
}
