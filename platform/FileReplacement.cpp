// The atomic replace of a file, and the lock that its temporary file is.
#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/AnsiText.h"
#include "platform/FileFailures.h"
#include "platform/FileLinks.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/UniqueHandle.h"

namespace {

ReplaceStepHook replaceStepHook = nullptr;
NewFileGate newFileGate = nullptr;

void ReportStep(ReplaceStep step) {
  if (replaceStepHook) replaceStepHook(step);
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

// Removes a temporary file that nobody holds: a save that was killed left it. One left read-only,
// hidden or system would refuse the removal, so those attributes go first. A temporary file that
// another save holds refuses the removal with a sharing error (in *error).
bool RemoveLeftOver(const std::string& tempPath, DWORD* error) {
  const std::wstring wide = WidePath(tempPath);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  constexpr DWORD kInTheWay =
      FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kInTheWay))
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (DeleteFileW(wide.c_str())) return true;
  *error = GetLastError();
  return false;
}

// Makes the temporary file, only when absent, and holds it without sharing. The handle may
// delete the file, and so move it onto another.
FileResult TakeLock(const std::string& tempPath, HANDLE* temp) {
  BusyWait wait;
  for (int attempt = 1;; ++attempt) {
    DWORD error = NewFileRefusal(tempPath);
    if (error != 0)
      return AtStep(FileResult::FromLastError(tempPath, error), FileStep::CreateTemporary);
    *temp = CreateFileW(WidePath(tempPath).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (*temp != INVALID_HANDLE_VALUE) return FileResult::Success();
    error = GetLastError();
    // A folder in the way of the temporary file refuses it as well, but for no want of rights.
    if (GetPathKind(tempPath) == PathKind::Folder) {
      return AtStep(FileResult::Failure(tempPath, error, FailureKind::SystemError),
                    FileStep::CreateTemporary);
    }
    const bool exists = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
    if (exists && RemoveLeftOver(tempPath, &error) && attempt < kBusyRetries) continue;
    if (!IsSharingError(error) || attempt >= kBusyRetries)
      return AtStep(BusyOrError(tempPath, error), FileStep::CreateTemporary);
    wait.Pause();
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
  BusyWait wait;
  for (int attempt = 1;; ++attempt) {
    if (SetFileInformationByHandle(temp, FileRenameInfo, info, static_cast<DWORD>(buffer.size()))) {
      return FileResult::Success();
    }
    const DWORD error = GetLastError();
    if (!IsBusyError(error)) return FileResult::FromLastError(path, error);
    if (attempt >= kBusyRetries) return RefusedReplace(path, error);
    wait.Pause();
  }
}

}  // namespace

FileReplacement::FileReplacement(const std::string& linkOrPath)
    : m_path(FileToReplace(linkOrPath)), m_tempPath(m_path + ".tmp"), m_temp(INVALID_HANDLE_VALUE) {
  // Wine, unlike Windows, lets a replace overwrite a read-only file: refuse it here for both.
  const DWORD attributes = GetFileAttributesW(WidePath(m_path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      m_locked = AtStep(FileResult::Failure(m_path, ERROR_ACCESS_DENIED, FailureKind::SystemError),
                        FileStep::Replace);
      return;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
      m_locked = AtStep(FileResult::Failure(m_path, ERROR_ACCESS_DENIED, FailureKind::ReadOnly),
                        FileStep::Replace);
      return;
    }
  }
  HANDLE temp = INVALID_HANDLE_VALUE;
  m_locked = TakeLock(m_tempPath, &temp);
  m_temp = temp;
  if (m_locked.ok) ReportStep(ReplaceStep::TempCreated);
}

FileReplacement::~FileReplacement() {
  if (m_temp == INVALID_HANDLE_VALUE) return;
  CloseHandle(m_temp);
  // Should another save take the name in between, its handle shares nothing and refuses this.
  DeleteFileW(WidePath(m_tempPath).c_str());
}

FileResult FileReplacement::Commit(const std::string& bytes, bool replaceExisting) {
  if (!m_locked.ok) return m_locked;
  if (m_temp == INVALID_HANDLE_VALUE)
    return AtStep(FileResult::Failure(m_tempPath, ERROR_INVALID_HANDLE, FailureKind::SystemError),
                  FileStep::Write);
  const auto failed = [&](DWORD writeError) {
    return AtStep(FileResult::FromLastError(m_tempPath, writeError), FileStep::Write);
  };
  DWORD error = 0;
  if (!WriteAll(m_temp, bytes, &error)) return failed(error);
  ReportStep(ReplaceStep::TempWritten);
  if (!FlushFileBuffers(m_temp)) return failed(GetLastError());
  ReportStep(ReplaceStep::TempFlushed);

  ReportStep(ReplaceStep::BeforeReplace);
  FileResult moved = AtStep(MoveOnto(m_temp, m_path, replaceExisting), FileStep::Replace);
  if (!moved.ok) return moved;
  // The handle now holds the file itself: nothing is left to remove.
  const BOOL closed = CloseHandle(m_temp);
  m_temp = INVALID_HANDLE_VALUE;
  if (!closed) return failed(GetLastError());
  ReportStep(ReplaceStep::AfterReplace);
  return moved;
}

void RemoveLeftOverScenarioTemporaries(const std::string& folder) {
  for (const char* pattern : {"\\*.scn.tmp", "\\~tessivane-*.tmp"}) {
    WIN32_FIND_DATAW found;
    const UniqueFind find(FindFirstFileW(WidePath(folder + pattern).c_str(), &found));
    if (!find) continue;
    do {
      const std::optional<std::string> name = AnsiFromWide(found.cFileName);
      DWORD error = 0;
      if (name && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        RemoveLeftOver(folder + "\\" + *name, &error);
    } while (FindNextFileW(find.Get(), &found));
  }
}

FileResult ReplaceFileContents(const std::string& path, const std::string& bytes) {
  FileReplacement replacement(path);
  return replacement.Commit(bytes);
}

void SetNewFileGate(NewFileGate gate) { newFileGate = gate; }

unsigned long NewFileRefusal(const std::string& path) {
  return newFileGate ? newFileGate(path) : 0;
}

void SetReplaceStepHook(ReplaceStepHook hook) { replaceStepHook = hook; }
