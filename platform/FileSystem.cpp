#include "platform/FileSystem.h"

#include <windows.h>

#include <algorithm>

#include "platform/AnsiText.h"
#include "platform/PathText.h"
#include "platform/SystemMessage.h"
#include "platform/UniqueHandle.h"

namespace {

// A replace or an open refused because another program holds the file is tried again for about a
// second: the game and editors keep user.cfg open only briefly.
constexpr int kBusyRetries = 10;
constexpr DWORD kBusyRetryPauseMs = 100;

// What ReadWholeFile reserves beyond the file's size: a save appends ten lines to what it read.
constexpr size_t kAppendRoom = 4096;

ReplaceStepHook replaceStepHook = nullptr;
NewFileGate newFileGate = nullptr;

void ReportStep(ReplaceStep step) {
  if (replaceStepHook) replaceStepHook(step);
}

bool IsBusyError(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_ACCESS_DENIED;
}

FileResult AtStep(FileResult result, FileStep step) {
  result.step = step;
  return result;
}

FileResult BusyOrError(const std::string& path, DWORD error) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
    return FileResult::Failure(path, error, "in use by another program");
  return FileResult::FromLastError(path, error);
}

// Opens a file, trying again for a while when another program holds it without sharing.
HANDLE OpenWithRetries(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                       DWORD* error) {
  for (int attempt = 0;; ++attempt) {
    HANDLE handle = CreateFileW(WidePath(path).c_str(), access, share, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) return handle;
    *error = GetLastError();
    if (*error != ERROR_SHARING_VIOLATION && *error != ERROR_LOCK_VIOLATION) return handle;
    if (attempt + 1 >= kBusyRetries) return handle;
    Sleep(kBusyRetryPauseMs);
  }
}

bool WriteAll(HANDLE file, const std::string& bytes, DWORD* error) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) {
      *error = GetLastError();
      return false;
    }
    if (written == 0) {
      *error = ERROR_WRITE_FAULT;
      return false;
    }
    done += written;
  }
  return true;
}

// Writes the temporary file whole and flushes it to disk. The caller removes it on failure.
FileResult WriteTemporaryFile(const std::string& tempPath, const std::string& bytes, bool* created) {
  DWORD error = newFileGate ? newFileGate(tempPath) : 0;
  if (error != 0) return AtStep(FileResult::FromLastError(tempPath, error), FileStep::CreateTemporary);
  UniqueFile temp(OpenWithRetries(tempPath, GENERIC_WRITE, 0, CREATE_ALWAYS, &error));
  if (!temp) return AtStep(BusyOrError(tempPath, error), FileStep::CreateTemporary);
  *created = true;
  ReportStep(ReplaceStep::TempCreated);

  const auto failed = [&](DWORD writeError) {
    return AtStep(FileResult::FromLastError(tempPath, writeError), FileStep::Write);
  };
  if (!WriteAll(temp.Get(), bytes, &error)) return failed(error);
  ReportStep(ReplaceStep::TempWritten);

  if (!FlushFileBuffers(temp.Get())) return failed(GetLastError());
  ReportStep(ReplaceStep::TempFlushed);

  if (!temp.Close()) return failed(GetLastError());
  return FileResult::Success();
}

// Moves the temporary file onto the target in one step. Windows refuses while another program has
// the target open without sharing, and Wine refuses while any program has it open at all, so a
// refusal of that kind is tried again before it is reported.
FileResult TryMoveOnto(const std::string& tempPath, const std::string& path) {
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExW(WidePath(tempPath).c_str(), WidePath(path).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return FileResult::Success();
    }
    const DWORD error = GetLastError();
    if (!IsBusyError(error)) return FileResult::FromLastError(path, error);
    if (attempt + 1 >= kBusyRetries) {
      // A target that became read-only or a folder is no "in use" case: say what it is.
      const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return FileResult::Failure(path, error, "read-only");
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileResult::FromLastError(path, error);
      return FileResult::Failure(path, error, "in use by another program");
    }
    Sleep(kBusyRetryPauseMs);
  }
}

FileResult MoveOnto(const std::string& tempPath, const std::string& path) {
  return AtStep(TryMoveOnto(tempPath, path), FileStep::Replace);
}

}  // namespace

FileResult FileResult::Failure(const std::string& file, unsigned long error,
                               const std::string& reason) {
  FileResult result;
  result.ok = false;
  result.error = error;
  result.file = file;
  result.reason = reason;
  return result;
}

FileResult FileResult::FromLastError(const std::string& file, unsigned long error) {
  return Failure(file, error, SystemMessage(error));
}

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

bool FileResult::FolderDeniedNewFile() const {
  return !ok && step == FileStep::CreateTemporary && error == ERROR_ACCESS_DENIED;
}

namespace {

DWORD GetFullPath(const std::string& path, std::string& full) {
  return GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
}
DWORD GetFullPath(const std::wstring& path, std::wstring& full) {
  return GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
}

template <typename Text>
Text FullPath(const Text& path) {
  Text full(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetFullPath(path, full);
    if (length == 0) return path;
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);  // too small: the length asked for counts the terminating NUL
  }
}

}  // namespace

std::string FullPathName(const std::string& path) { return FullPath(path); }
std::wstring FullPathName(const std::wstring& path) { return FullPath(path); }

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
  if (CreateDirectoryW(WidePath(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return true;
  *error = GetLastError();
  return false;
}

void SetNewFileGate(NewFileGate gate) { newFileGate = gate; }

FileResult ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  DWORD error = 0;
  UniqueFile file(OpenWithRetries(path, GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  OPEN_EXISTING, &error));
  if (!file) return BusyOrError(path, error);

  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) return FileResult::FromLastError(path, GetLastError());
  if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > bytes.max_size())
    return FileResult::Failure(path, ERROR_FILE_TOO_LARGE, SystemMessage(ERROR_FILE_TOO_LARGE));

  // Read until the end rather than trusting the size alone: the file may grow or shrink meanwhile.
  // The bytes go straight into the string, asked for one more than the size: a read that stops
  // short has reached the end. The room beyond the size lets a caller append a few lines without
  // moving all the bytes.
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
    wanted = 64 * 1024;  // more than its size said: read on
  }
  bytes.resize(filled);
  return FileResult::Success();
}

FileResult ReplaceFileContents(const std::string& path, const std::string& bytes) {
  // Wine, unlike Windows, lets a replace overwrite a read-only file: refuse it here for both.
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
      return AtStep(FileResult::FromLastError(path, ERROR_ACCESS_DENIED), FileStep::Replace);
    if (attributes & FILE_ATTRIBUTE_READONLY)
      return AtStep(FileResult::Failure(path, ERROR_ACCESS_DENIED, "read-only"), FileStep::Replace);
  }

  const std::string tempPath = path + ".tmp";
  bool created = false;
  FileResult result = WriteTemporaryFile(tempPath, bytes, &created);
  if (result.ok) {
    ReportStep(ReplaceStep::BeforeReplace);
    result = MoveOnto(tempPath, path);
    if (result.ok) ReportStep(ReplaceStep::AfterReplace);
  }
  if (!result.ok && created) DeleteFileW(WidePath(tempPath).c_str());
  return result;
}

void SetReplaceStepHook(ReplaceStepHook hook) { replaceStepHook = hook; }
