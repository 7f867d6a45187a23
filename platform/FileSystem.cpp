#include "platform/FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "platform/AnsiText.h"
#include "platform/FileFailures.h"
#include "platform/PathText.h"
#include "platform/UniqueHandle.h"

FileResult FileResult::Failure(const std::string& file, unsigned long error, FailureKind kind) {
  FileResult result;
  result.ok = false;
  result.error = error;
  result.file = file;
  result.kind = kind;
  return result;
}

FileResult FileResult::FromLastError(const std::string& file, unsigned long error) {
  return Failure(
      file, error,
      error == ERROR_ACCESS_DENIED ? FailureKind::AccessRefused : FailureKind::SystemError);
}

PathKind GetPathKind(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return PathKind::Missing;
    default:
      return PathKind::Unknown;
  }
}

FileStamp GetFileStamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  FileStamp stamp;
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return stamp;
  }
  stamp.exists = true;
  stamp.size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp.lastWrite = (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
  return stamp;
}

std::wstring FullPathName(const std::wstring& path) {
  return AskForText<std::wstring>([&](wchar_t* buffer, DWORD size) {
           return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
         })
      .value_or(path);
}

bool FolderExists(const std::string& path) {
  // "C:\Games\AoM\startup\" names the folder as well as "C:\Games\AoM\startup" does.
  const std::string folder = WithoutTrailingSeparators(AnsiCodePage(), path, 3);
  return !folder.empty() && GetPathKind(WidePath(folder)) == PathKind::Folder;
}

bool CreateFolders(const std::string& folder, unsigned long* error) {
  const unsigned codePage = AnsiCodePage();
  const std::string path = WithoutTrailingSeparators(codePage, folder, 3);
  if (GetPathKind(WidePath(path)) == PathKind::Folder) return true;
  const size_t parentEnd = FindLastSeparator(codePage, path);
  if (parentEnd != std::string::npos && parentEnd > 0 && path[parentEnd - 1] != ':' &&
      !CreateFolders(path.substr(0, parentEnd), error)) {
    return false;
  }
  if (CreateDirectoryW(WidePath(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
    return true;
  *error = GetLastError();
  return false;
}

FileResult ReadWholeFile(const std::wstring& widePath, std::string& bytes, uint64_t limit) {
  bytes.clear();
  const std::string path = AnsiPath(widePath).value_or("");
  UniqueFile file;
  // A file that another program holds without sharing is tried again for a while.
  for (int attempt = 1;; ++attempt) {
    file.Reset(CreateFileW(widePath.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) break;
    const DWORD error = GetLastError();
    if (!IsSharingError(error) || attempt >= kBusyRetries) return BusyOrError(path, error);
    Sleep(kBusyPause);
  }

  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) return FileResult::FromLastError(path, GetLastError());
  if (size.QuadPart < 0 || static_cast<uint64_t>(size.QuadPart) > limit)
    return FileResult::FromLastError(path, ERROR_FILE_TOO_LARGE);

  // Read until the end rather than trusting the size alone: the file may grow or shrink meanwhile
  // (but not beyond the limit). The bytes go straight into the string, asked for one more than the
  // size: a read that stops short has reached the end.
  size_t filled = 0;
  DWORD wanted = static_cast<DWORD>(std::min<uint64_t>(size.QuadPart + 1, kLargestCall));
  for (;;) {
    bytes.resize(filled + wanted);
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data() + filled, wanted, &read, nullptr)) {
      const DWORD readError = GetLastError();
      bytes.clear();
      return BusyOrError(path, readError);
    }
    filled += read;
    if (read < wanted) break;
    if (filled > limit) {
      bytes.clear();
      return FileResult::FromLastError(path, ERROR_FILE_TOO_LARGE);
    }
    wanted = kPieceSize;  // more than its size said: read on
  }
  bytes.resize(filled);
  return FileResult::Success();
}

uint64_t FreeBytesIn(const std::string& folder) {
  ULARGE_INTEGER free;
  if (!GetDiskFreeSpaceExW(WidePath(folder).c_str(), &free, nullptr, nullptr)) return UINT64_MAX;
  return free.QuadPart;
}
