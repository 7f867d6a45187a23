#include "platform/FileFailures.h"

#include "platform/AnsiText.h"
#include "platform/PathText.h"
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

// Windows answers a refused replace with access denied both when another program has the file
// open and when the user may not replace it. Opening the file to change and delete it, sharing
// everything, tells them apart: a sharing refusal means in use, an access refusal means no
// permission. (Wine refuses a replace while any handle is open, and then the open succeeds: in
// use as well; a file that Linux keeps from being changed refuses the open: no permission.)
FileResult RefusedReplace(const std::string& path, DWORD error) {
  if (IsSharingError(error)) return FileResult::Failure(path, error, FailureKind::InUse);
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  // A target that became read-only or a folder is no "in use" case: say what it is.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    return FileResult::Failure(path, error, FailureKind::ReadOnly);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return FileResult::Failure(path, error, FailureKind::SystemError);
  UniqueFile probe(CreateFileW(WidePath(path).c_str(), DELETE | FILE_WRITE_DATA,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!probe && GetLastError() == ERROR_ACCESS_DENIED)
    return FileResult::Failure(path, error, FailureKind::AccessRefused);
  return FileResult::Failure(path, error, FailureKind::InUse);
}

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

void BusyWait::Pause() {
  if (!m_pointer) m_pointer.emplace();
  Sleep(100);
}
