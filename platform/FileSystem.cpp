#include "platform/FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "platform/AnsiText.h"
#include "platform/PathText.h"
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

// Another program holds the file without sharing it.
bool IsSharingError(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Windows answers a replace with access denied too while another program has the file open.
bool IsBusyError(DWORD error) { return IsSharingError(error) || error == ERROR_ACCESS_DENIED; }

// Text that a Windows call writes into a buffer of the given size, asked again with the size it
// says it needs when the buffer was too small; nothing when the call fails.
template <typename Text, typename Call>
std::optional<Text> AskForText(Call call) {
  Text text(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) return std::nullopt;
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(length);  // too small: the length asked for counts the terminating NUL
  }
}

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

// The file that a save replaces: the path itself, or, when it is a symbolic link (players on
// Linux link user.cfg to a file they share), the file it points to. Replacing the link itself
// would turn it into a file of its own and cut it from the shared one. A plain file's final path
// is its folder's final path and its own name; anything else came through a link.
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

// Opens a file, trying again for a while when another program holds it without sharing.
HANDLE OpenWithRetries(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                       DWORD* error) {
  for (int attempt = 0;; ++attempt) {
    HANDLE handle = CreateFileW(WidePath(path).c_str(), access, share, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) return handle;
    *error = GetLastError();
    if (!IsSharingError(*error)) return handle;
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
FileResult WriteTemporaryFile(const std::string& tempPath, const std::string& bytes,
                              bool* created) {
  DWORD error = newFileGate ? newFileGate(tempPath) : 0;
  if (error != 0)
    return AtStep(FileResult::FromLastError(tempPath, error), FileStep::CreateTemporary);
  // A temporary file that an earlier run left read-only, hidden or system would make Windows
  // refuse to overwrite it with access denied, which reads like a folder that takes no new file.
  const DWORD leftOver = GetFileAttributesW(WidePath(tempPath).c_str());
  constexpr DWORD kInTheWay =
      FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (leftOver != INVALID_FILE_ATTRIBUTES && !(leftOver & FILE_ATTRIBUTE_DIRECTORY) &&
      (leftOver & kInTheWay)) {
    SetFileAttributesW(WidePath(tempPath).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  UniqueFile temp(OpenWithRetries(tempPath, GENERIC_WRITE, 0, CREATE_ALWAYS, &error));
  if (!temp) {
    // A folder in the way of the temporary file refuses it as well, but for no want of rights.
    const bool folderInTheWay = GetPathKind(tempPath) == PathKind::Folder;
    FileResult failed = BusyOrError(tempPath, error);
    if (folderInTheWay) failed.kind = FailureKind::SystemError;
    return AtStep(failed, FileStep::CreateTemporary);
  }
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
    if (attempt + 1 >= kBusyRetries) return RefusedReplace(path, error);
    Sleep(kBusyRetryPauseMs);
  }
}

FileResult MoveOnto(const std::string& tempPath, const std::string& path) {
  return AtStep(TryMoveOnto(tempPath, path), FileStep::Replace);
}

}  // namespace

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

void SetNewFileGate(NewFileGate gate) { newFileGate = gate; }

unsigned long NewFileRefusal(const std::string& path) {
  return newFileGate ? newFileGate(path) : 0;
}

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
    return FileResult::FromLastError(path, ERROR_FILE_TOO_LARGE);

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

FileResult ReplaceFileContents(const std::string& linkOrPath, const std::string& bytes) {
  const std::string path = FileToReplace(linkOrPath);
  // Wine, unlike Windows, lets a replace overwrite a read-only file: refuse it here for both.
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
      return AtStep(FileResult::Failure(path, ERROR_ACCESS_DENIED, FailureKind::SystemError),
                    FileStep::Replace);
    if (attributes & FILE_ATTRIBUTE_READONLY)
      return AtStep(FileResult::Failure(path, ERROR_ACCESS_DENIED, FailureKind::ReadOnly),
                    FileStep::Replace);
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
