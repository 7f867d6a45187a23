#include "platform/FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "platform/AnsiText.h"
#include "platform/FileFailures.h"
#include "platform/PathText.h"
#include "platform/UniqueHandle.h"

namespace {

// What ReadWholeFile reserves beyond the file's size: a save appends ten lines to what it read.
constexpr size_t kAppendRoom = 4096;

// Opens a file, trying again for a while when another program holds it without sharing.
HANDLE OpenWithRetries(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                       DWORD* error) {
  BusyWait wait;
  for (int attempt = 1;; ++attempt) {
    HANDLE handle = CreateFileW(path.c_str(), access, share, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) return handle;
    *error = GetLastError();
    if (!IsSharingError(*error) || attempt >= kBusyRetries) return handle;
    wait.Pause();
  }
}

}  // namespace

PathKind GetPathKind(const std::string& path, unsigned long* error) {
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD lastError = GetLastError();
    if (error) *error = lastError;
    if (lastError == ERROR_FILE_NOT_FOUND || lastError == ERROR_PATH_NOT_FOUND ||
        lastError == ERROR_INVALID_NAME || lastError == ERROR_BAD_NETPATH) {
      return PathKind::Missing;
    }
    return PathKind::Unknown;
  }
  if (error) *error = 0;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
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

std::string FullPathName(const std::string& path) {
  return AskForText<std::string>([&](char* buffer, DWORD size) {
           return GetFullPathNameA(path.c_str(), size, buffer, nullptr);
         })
      .value_or(path);
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
  return !folder.empty() && GetPathKind(folder) == PathKind::Folder;
}

bool CreateFolders(const std::string& folder, unsigned long* error) {
  const unsigned codePage = AnsiCodePage();
  const std::string path = WithoutTrailingSeparators(codePage, folder, 3);
  if (GetPathKind(path) == PathKind::Folder) return true;
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

FileResult ReadWholeFile(const std::string& path, std::string& bytes) {
  FileResult read = ReadWholeFile(WidePath(path), bytes, bytes.max_size());
  if (!read.ok) read.file = path;
  return read;
}

FileResult ReadWholeFile(const std::wstring& widePath, std::string& bytes,
                         unsigned long long limit) {
  bytes.clear();
  const std::string path = AnsiFromWide(widePath).value_or("");
  DWORD error = 0;
  UniqueFile file(OpenWithRetries(widePath, GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  OPEN_EXISTING, &error));
  if (!file) return BusyOrError(path, error);

  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) return FileResult::FromLastError(path, GetLastError());
  if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > limit)
    return FileResult::FromLastError(path, ERROR_FILE_TOO_LARGE);

  // Read until the end rather than trusting the size alone: the file may grow or shrink meanwhile
  // (but not beyond the limit). The bytes go straight into the string, asked for one more than the
  // size: a read that stops short has reached the end. The room beyond the size lets a caller
  // append a few lines without moving all the bytes.
  const size_t expected = static_cast<size_t>(size.QuadPart);
  bytes.reserve(expected + kAppendRoom);
  size_t filled = 0;
  DWORD wanted = static_cast<DWORD>(std::min<size_t>(expected + 1, 1u << 30));
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
    wanted = 64 * 1024;  // more than its size said: read on
  }
  bytes.resize(filled);
  return FileResult::Success();
}
