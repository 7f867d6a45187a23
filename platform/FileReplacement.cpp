#include "platform/FileReplacement.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/AnsiText.h"
#include "platform/FileFailures.h"
#include "platform/FolderListing.h"
#include "platform/PathText.h"

namespace {

ReplaceStepHook replaceStepHook = nullptr;
NewFileGate newFileGate = nullptr;

void ReportStep(ReplaceStep step) {
  if (replaceStepHook) replaceStepHook(step);
}

FileResult AtStep(FileResult result, FileStep step) {
  result.step = step;
  return result;
}

// A file that cannot be replaced for what it is: read-only, or a folder; nothing for any other.
std::optional<FileResult> RefusedForWhatItIs(const std::string& path, DWORD error) {
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    return FileResult::Failure(path, error, FailureKind::SystemError);
  if (attributes & FILE_ATTRIBUTE_READONLY)
    return FileResult::Failure(path, error, FailureKind::ReadOnly);
  return std::nullopt;
}

// What a replace refused after its retries really met: a file in use, a read-only file, or a
// user without the right to change it. Windows answers a refused replace with access denied both
// when another program has the file open and when the user may not replace it. Opening the file to
// change and delete it, sharing everything, tells them apart: a sharing refusal means in use, an
// access refusal means no permission. (Wine refuses a replace while any handle is open, and then
// the open succeeds: in use as well; a file that Linux keeps from being changed refuses the open:
// no permission.)
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

// The path without the "\\?\" that GetFinalPathNameByHandle puts in front.
std::string WithoutLongPathPrefix(const std::string& path) {
  if (path.rfind("\\\\?\\UNC\\", 0) == 0) return "\\" + path.substr(7);
  if (path.rfind("\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

// Where the file or folder really lies, links followed; "" when it cannot be opened.
std::string FinalPathName(const std::string& path) {
  const UniqueFile handle(CreateFileW(WidePath(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return "";
  const std::wstring final = PathOfCall([&](wchar_t* buffer, DWORD size) {
    return GetFinalPathNameByHandleW(handle.Get(), buffer, size, 0);
  });
  // A link to a place the code page cannot name is not followed: no exact name to keep.
  return WithoutLongPathPrefix(AnsiFromWide(final).value_or(""));
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
  // "C:\" names the drive's root; "C:\Games\" is opened without its final backslash.
  const std::string folder = FinalPathName(path.substr(0, cut > 2 ? cut : cut + 1));
  if (file.empty() || folder.empty()) return path;
  const std::string expected =
      WithoutTrailingSeparators(codePage, folder) + "\\" + path.substr(cut + 1);
  return EqualsIgnoringAsciiCase(codePage, file, expected) ? path : file;
}

// Removes a temporary file that nobody holds: a save that was killed left it. One left read-only,
// hidden or system would refuse the removal, so its attributes go first. A temporary file that
// another save holds refuses the removal with a sharing error (in *error).
bool RemoveLeftOver(const std::string& tempPath, DWORD* error) {
  const std::wstring wide = WidePath(tempPath);
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (DeleteFileW(wide.c_str())) return true;
  *error = GetLastError();
  return false;
}

// Makes the temporary file, only when absent, and holds it without sharing. The handle may
// delete the file, and so move it onto another.
FileResult TakeLock(const std::string& tempPath, UniqueFile& temp) {
  for (int attempt = 1;; ++attempt) {
    DWORD error = newFileGate ? newFileGate(tempPath) : 0;
    if (error != 0)
      return AtStep(FileResult::FromLastError(tempPath, error), FileStep::CreateTemporary);
    temp.Reset(CreateFileW(WidePath(tempPath).c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (temp) return {};
    error = GetLastError();
    // A folder in the way of the temporary file refuses it as well, but for no want of rights.
    if (GetPathKind(WidePath(tempPath)) == PathKind::Folder) {
      return AtStep(FileResult::Failure(tempPath, error, FailureKind::SystemError),
                    FileStep::CreateTemporary);
    }
    const bool exists = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
    if (exists && RemoveLeftOver(tempPath, &error) && attempt < kBusyRetries) continue;
    if (!IsSharingError(error) || attempt >= kBusyRetries)
      return AtStep(BusyOrError(tempPath, error), FileStep::CreateTemporary);
    Sleep(kBusyPause);
  }
}

// Moves the held temporary file onto the file, through its own handle: a name that nobody else
// can take over before the move. Windows refuses while another program has the file open without
// sharing, and Wine refuses while any program has it open at all, so a refusal of that kind is
// tried again before it is reported.
FileResult MoveOnto(HANDLE temp, const std::string& path, bool replaceExisting) {
  const std::wstring target = FullPathName(WidePath(path));
  // FILE_RENAME_INFO ends in the name; the system reads it up to its terminating NUL.
  std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + (target.size() + 1) * sizeof(wchar_t));
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = replaceExisting;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
  std::copy(target.begin(), target.end(), info->FileName);
  for (int attempt = 1;; ++attempt) {
    if (SetFileInformationByHandle(temp, FileRenameInfo, info, static_cast<DWORD>(buffer.size())))
      return {};
    const DWORD error = GetLastError();
    // Windows answers access denied too while another program has the file open.
    if (!IsSharingError(error) && error != ERROR_ACCESS_DENIED)
      return FileResult::FromLastError(path, error);
    if (attempt >= kBusyRetries) return RefusedReplace(path, error);
    Sleep(kBusyPause);
  }
}

}  // namespace

FileReplacement::FileReplacement(const std::string& linkOrPath)
    : m_path(FileToReplace(linkOrPath)), m_tempPath(m_path + ".tmp") {
  // Wine, unlike Windows, lets a replace overwrite a read-only file: refuse it here for both.
  if (std::optional<FileResult> refused = RefusedForWhatItIs(m_path, ERROR_ACCESS_DENIED)) {
    m_locked = AtStep(*refused, FileStep::Replace);
    return;
  }
  m_locked = TakeLock(m_tempPath, m_temp);
  if (m_locked.ok) ReportStep(ReplaceStep::TempCreated);
}

FileReplacement::~FileReplacement() {
  if (!m_temp) return;
  m_temp.Reset();
  // Should another save take the name in between, its handle shares nothing and refuses this.
  DeleteFileW(WidePath(m_tempPath).c_str());
}

FileResult FileReplacement::Commit(const std::string& bytes, bool replaceExisting) {
  if (!m_locked.ok) return m_locked;
  const auto failed = [&](DWORD writeError) {
    return AtStep(FileResult::FromLastError(m_tempPath, writeError), FileStep::Write);
  };
  DWORD error = 0;
  if (!WriteAll(m_temp.Get(), bytes.data(), bytes.size(), &error)) return failed(error);
  ReportStep(ReplaceStep::TempWritten);
  if (!FlushFileBuffers(m_temp.Get())) return failed(GetLastError());
  ReportStep(ReplaceStep::TempFlushed);

  ReportStep(ReplaceStep::BeforeReplace);
  FileResult moved = AtStep(MoveOnto(m_temp.Get(), m_path, replaceExisting), FileStep::Replace);
  if (!moved.ok) return moved;
  // The handle now holds the file itself: nothing is left to remove.
  if (!m_temp.Close()) return failed(GetLastError());
  ReportStep(ReplaceStep::AfterReplace);
  return moved;
}

void RemoveLeftOverScenarioTemporaries(const std::string& folder) {
  std::vector<std::string> names;
  ListFolderFiles({folder}, ".scn.tmp", names);
  DWORD error = 0;
  for (const std::string& name : names) RemoveLeftOver(folder + "\\" + name, &error);
}

void SetNewFileGate(NewFileGate gate) { newFileGate = gate; }

void SetReplaceStepHook(ReplaceStepHook hook) { replaceStepHook = hook; }
