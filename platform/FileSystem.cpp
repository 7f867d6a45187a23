#include "platform/FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

// A replace or an open refused because another program holds the file is tried again for about a
// second: the game and editors keep user.cfg open only briefly.
constexpr int kBusyRetries = 10;
constexpr DWORD kBusyRetryPauseMs = 100;

ReplaceStepHook replaceStepHook = nullptr;

void ReportStep(ReplaceStep step) {
  if (replaceStepHook) replaceStepHook(step);
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : m_handle(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return m_handle; }
  bool Close() {
    if (!IsValid()) return true;
    const bool closed = CloseHandle(m_handle) != 0;
    m_handle = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE m_handle;
};

class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : m_handle(handle) {}
  ~FindHandle() {
    if (m_handle != INVALID_HANDLE_VALUE) FindClose(m_handle);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE Get() const { return m_handle; }

 private:
  HANDLE m_handle;
};

bool IsBusyError(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_ACCESS_DENIED;
}

std::string SystemMessage(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length && text ? std::string(text, length) : std::string();
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\r' || message.back() == '\n' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  if (message.empty()) message = "system error " + std::to_string(error);
  return message;
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
    HANDLE handle = CreateFileA(path.c_str(), access, share, nullptr, disposition,
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
  DWORD error = 0;
  FileHandle temp(OpenWithRetries(tempPath, GENERIC_WRITE, 0, CREATE_ALWAYS, &error));
  if (!temp.IsValid()) return BusyOrError(tempPath, error);
  *created = true;
  ReportStep(ReplaceStep::TempCreated);

  if (!WriteAll(temp.Get(), bytes, &error)) return FileResult::FromLastError(tempPath, error);
  ReportStep(ReplaceStep::TempWritten);

  if (!FlushFileBuffers(temp.Get())) return FileResult::FromLastError(tempPath, GetLastError());
  ReportStep(ReplaceStep::TempFlushed);

  if (!temp.Close()) return FileResult::FromLastError(tempPath, GetLastError());
  return FileResult::Success();
}

// Moves the temporary file onto the target in one step. Windows refuses while another program has
// the target open without sharing, and Wine refuses while any program has it open at all, so a
// refusal of that kind is tried again before it is reported.
FileResult MoveOnto(const std::string& tempPath, const std::string& path) {
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExA(tempPath.c_str(), path.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return FileResult::Success();
    }
    const DWORD error = GetLastError();
    if (!IsBusyError(error)) return FileResult::FromLastError(path, error);
    if (attempt + 1 >= kBusyRetries) {
      // A target that became read-only or a folder is no "in use" case: say what it is.
      const DWORD attributes = GetFileAttributesA(path.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return FileResult::Failure(path, error, "read-only");
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileResult::FromLastError(path, error);
      return FileResult::Failure(path, error, "in use by another program");
    }
    Sleep(kBusyRetryPauseMs);
  }
}

// Case-insensitive order of names as Windows' file systems list them; ties keep a stable order.
bool NameLess(const std::string& a, const std::string& b) {
  const int order = CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(),
                                   static_cast<int>(a.size()), b.c_str(),
                                   static_cast<int>(b.size()));
  if (order != CSTR_EQUAL) return order == CSTR_LESS_THAN;
  return a < b;
}

// Windows also matches a pattern against a file's 8.3 short name, so "*.scn" finds "a.scnx" too
// (short name A~1.SCN). Only a pattern of the form "*.ext" is used here: keep the names whose own
// extension matches it.
bool MatchesOwnName(const std::string& name, const std::string& pattern) {
  if (pattern.size() < 2 || pattern[0] != '*' ||
      pattern.find_first_of("*?", 1) != std::string::npos) {
    return true;
  }
  const std::string suffix = pattern.substr(1);
  return name.size() >= suffix.size() &&
         CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.c_str() + name.size() - suffix.size(),
                        static_cast<int>(suffix.size()), suffix.c_str(),
                        static_cast<int>(suffix.size())) == CSTR_EQUAL;
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
  const DWORD attributes = GetFileAttributesA(path.c_str());
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

bool FileExists(const std::string& path) { return GetPathKind(path) == PathKind::File; }

bool FolderExists(const std::string& path) {
  // "C:\Games\AoM\startup\" names the folder as well as "C:\Games\AoM\startup" does.
  std::string folder = path;
  while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return !folder.empty() && GetPathKind(folder) == PathKind::Folder;
}

FileResult ListFolderFiles(const std::string& folder, const std::string& pattern,
                           std::vector<std::string>& names) {
  names.clear();
  std::string search = folder;
  if (!search.empty() && search.back() != '\\' && search.back() != '/') search += '\\';
  search += pattern;

  WIN32_FIND_DATAA entry;
  FindHandle find(FindFirstFileA(search.c_str(), &entry));
  if (find.Get() == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // An existing folder without a matching file is an empty listing, not a failure.
    if (error == ERROR_FILE_NOT_FOUND && FolderExists(folder)) return FileResult::Success();
    return FileResult::FromLastError(folder, error);
  }
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        MatchesOwnName(entry.cFileName, pattern)) {
      names.emplace_back(entry.cFileName);
    }
  } while (FindNextFileA(find.Get(), &entry));
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES) {
    names.clear();
    return FileResult::FromLastError(folder, error);
  }
  std::sort(names.begin(), names.end(), NameLess);
  return FileResult::Success();
}

FileResult ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  DWORD error = 0;
  FileHandle file(OpenWithRetries(path, GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  OPEN_EXISTING, &error));
  if (!file.IsValid()) return BusyOrError(path, error);

  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) return FileResult::FromLastError(path, GetLastError());
  if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > bytes.max_size())
    return FileResult::Failure(path, ERROR_FILE_TOO_LARGE, SystemMessage(ERROR_FILE_TOO_LARGE));

  // Read until the end rather than trusting the size alone: the file may grow or shrink meanwhile.
  bytes.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[64 * 1024];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) {
      const DWORD readError = GetLastError();
      bytes.clear();
      return BusyOrError(path, readError);
    }
    if (read == 0) break;
    bytes.append(buffer, read);
  }
  return FileResult::Success();
}

FileResult ReplaceFileContents(const std::string& path, const std::string& bytes) {
  // Wine, unlike Windows, lets a replace overwrite a read-only file: refuse it here for both.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
      return FileResult::FromLastError(path, ERROR_ACCESS_DENIED);
    if (attributes & FILE_ATTRIBUTE_READONLY)
      return FileResult::Failure(path, ERROR_ACCESS_DENIED, "read-only");
  }

  const std::string tempPath = path + ".tmp";
  bool created = false;
  FileResult result = WriteTemporaryFile(tempPath, bytes, &created);
  if (result.ok) {
    ReportStep(ReplaceStep::BeforeReplace);
    result = MoveOnto(tempPath, path);
    if (result.ok) ReportStep(ReplaceStep::AfterReplace);
  }
  if (!result.ok && created) DeleteFileA(tempPath.c_str());
  return result;
}

void SetReplaceStepHook(ReplaceStepHook hook) { replaceStepHook = hook; }
