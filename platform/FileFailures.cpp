#include "platform/FileFailures.h"

#include <algorithm>

#include "platform/AnsiText.h"
#include "platform/UniqueHandle.h"

bool IsSharingError(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

bool IsBusyError(DWORD error) { return IsSharingError(error) || error == ERROR_ACCESS_DENIED; }

FileResult AtStep(FileResult result, FileStep step) {
  result.step = step;
  return result;
}

FileResult BusyOrError(const std::string& path, DWORD error) {
  if (IsSharingError(error)) return FileResult::Failure(path, error, FailureKind::InUse);
  return FileResult::FromLastError(path, error);
}

std::optional<FileResult> RefusedForWhatItIs(const std::string& path, DWORD error) {
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    return FileResult::Failure(path, error, FailureKind::SystemError);
  if (attributes & FILE_ATTRIBUTE_READONLY)
    return FileResult::Failure(path, error, FailureKind::ReadOnly);
  return std::nullopt;
}

// Windows answers a refused replace with access denied both when another program has the file
// open and when the user may not replace it. Opening the file to change and delete it, sharing
// everything, tells them apart: a sharing refusal means in use, an access refusal means no
// permission. (Wine refuses a replace while any handle is open, and then the open succeeds: in
// use as well; a file that Linux keeps from being changed refuses the open: no permission.)
FileResult RefusedReplace(const std::string& path, DWORD error) {
  if (IsSharingError(error)) return FileResult::Failure(path, error, FailureKind::InUse);
  // A target that became read-only or a folder is no "in use" case: say what it is.
  if (std::optional<FileResult> refused = RefusedForWhatItIs(path, error)) return *refused;
  UniqueFile probe(CreateFileW(WidePath(path).c_str(), DELETE | FILE_WRITE_DATA,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!probe && GetLastError() == ERROR_ACCESS_DENIED)
    return FileResult::Failure(path, error, FailureKind::AccessRefused);
  return FileResult::Failure(path, error, FailureKind::InUse);
}

bool WriteAll(HANDLE file, const char* bytes, size_t size, DWORD* error) {
  for (DWORD written = 0; size > 0; bytes += written, size -= written) {
    const auto piece = static_cast<DWORD>(std::min<size_t>(size, kLargestCall));
    if (!WriteFile(file, bytes, piece, &written, nullptr)) {
      *error = GetLastError();
      return false;
    }
    if (written != piece) {
      *error = ERROR_WRITE_FAULT;
      return false;
    }
  }
  return true;
}
