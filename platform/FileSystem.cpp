#include "platform/FileSystem.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/AnsiText.h"
#include "platform/FileFailures.h"
#include "platform/UniqueHandle.h"

FileResult FileResult::Failure(const std::string& file, unsigned long error, FailureKind kind) {
  return {false, error, file, kind};
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
  // Nothing is there, or the name cannot be one; else the question itself failed.
  const DWORD error = GetLastError();
  const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                       error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH;
  return missing ? PathKind::Missing : PathKind::Unknown;
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
  const std::wstring full = PathOfCall([&](wchar_t* buffer, DWORD size) {
    return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
  });
  return full.empty() ? path : full;
}

// An existing folder is not made again: where the user may not create folders, Windows may refuse
// that with access denied.
bool CreateFolders(const std::string& folder, unsigned long* error) {
  const std::wstring path = FullPathName(WidePath(folder));
  if (GetPathKind(path) == PathKind::Folder) return true;
  const int result = SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
  // The shell says "exists" in either of two ways, as when a folder appeared meanwhile.
  if (result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS)
    return true;
  *error = static_cast<unsigned long>(result);
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
  return {};
}

uint64_t FreeBytesIn(const std::string& folder) {
  ULARGE_INTEGER free;
  if (!GetDiskFreeSpaceExW(WidePath(folder).c_str(), &free, nullptr, nullptr)) return UINT64_MAX;
  return free.QuadPart;
}
