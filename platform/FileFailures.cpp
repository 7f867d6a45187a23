#include "platform/FileFailures.h"

#include <algorithm>

bool IsSharingError(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

FileResult BusyOrError(const std::string& path, DWORD error) {
  if (IsSharingError(error)) return FileResult::Failure(path, error, FailureKind::InUse);
  return FileResult::FromLastError(path, error);
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
