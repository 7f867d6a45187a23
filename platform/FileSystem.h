#pragma once
// The file system as the tool uses it: existence tests, reading a file whole, replacing a file
// atomically, making folders. (A folder's file names: FolderListing.h.) Every failure carries the
// path, the Win32 error and the kind of failure, which the window puts into words.
#include <string>
#include <vector>

// What a failed file operation was doing when it failed.
enum class FileStep {
  Read,             // reading a file
  CreateTemporary,  // creating the temporary file beside the file to replace
  Write,            // writing, flushing or closing the temporary file
  Replace,  // the file's own state refused the replace, or moving the temporary file onto it
};

// Why a file operation failed. The window turns each kind into its own words.
enum class FailureKind {
  SystemError,         // the system's own text for the error says it
  ReadOnly,            // the file is marked read-only
  InUse,               // another program holds the file (a sharing refusal, after the retries)
  AccessRefused,       // the user may not write there (a permission refusal)
  Utf16Text,           // the file is UTF-16 text, which the game does not read
  NeverRead,           // user.cfg was never read, so it is not known where it is
  NeedsAdministrator,  // a permission refusal in a protected folder that Windows does not redirect
  ChangedElsewhere,    // another program changed the attract-mode lines since the tool read them
};

struct FileResult {
  bool ok = true;
  unsigned long error = 0;  // GetLastError() of the call that failed, 0 when none applies
  std::string file;         // the path the failure is about
  FailureKind kind = FailureKind::SystemError;
  FileStep step = FileStep::Read;

  bool IsWriting() const { return step != FileStep::Read; }
  // The folder or the file refused the write for want of permission (no write access): the case
  // in which Windows gives a legacy program a per-user copy of the folder instead.
  bool RefusedByPermission() const { return !ok && kind == FailureKind::AccessRefused; }

  static FileResult Success() { return {}; }
  static FileResult Failure(const std::string& file, unsigned long error, FailureKind kind);
  // A failure of the last Win32 call on this file, which the system's message text describes
  // (access denied counts as a permission refusal).
  static FileResult FromLastError(const std::string& file, unsigned long error);
};

enum class PathKind { Missing, File, Folder, Unknown };

// What stands at this path. Unknown means the question itself failed (error in *error).
PathKind GetPathKind(const std::string& path, unsigned long* error = nullptr);

// The size and last-write time of a file, to tell cheaply that it has not changed since.
struct FileStamp {
  bool exists = false;
  unsigned long long size = 0;
  unsigned long long lastWrite = 0;  // FILETIME as one number

  bool operator==(const FileStamp&) const = default;
};
FileStamp GetFileStamp(const std::string& path);

// The path made full against the current folder, as the system resolves it ("." and ".."
// resolved, "/" read as "\"); the path itself when the system cannot make it full.
std::string FullPathName(const std::string& path);
std::wstring FullPathName(const std::wstring& path);
bool FolderExists(const std::string& path);

// Reads the whole file as bytes. A file that another program holds open without sharing is tried
// again for about a second before the failure is reported as in use.
FileResult ReadWholeFile(const std::string& path, std::string& bytes);
// The same for a file named in UTF-16 (a dropped one), refused with ERROR_FILE_TOO_LARGE before
// it is read when it holds more than `limit` bytes.
FileResult ReadWholeFile(const std::wstring& path, std::string& bytes, unsigned long long limit);

// Replaces a file in two steps, through its temporary file path + ".tmp", which is also the lock
// of every save of that file: made only when absent and held without sharing until its bytes are
// moved onto the file. Two saves at the same moment (two copies of the tool) so take turns, and
// what the holder reads of the file meanwhile no other save changes. A save that finds the lock
// held waits for it as for a file in use; a temporary file that nobody holds (a save that was
// killed left it, perhaps read-only, hidden or system) is removed and made anew. A file that is a
// symbolic link stays one: the file it points to is replaced, through a temporary file beside it.
class FileReplacement {
 public:
  // Takes the lock. A file marked read-only, or a folder, is refused here already.
  explicit FileReplacement(const std::string& linkOrPath);
  // Without a commit, or after a failed one, the temporary file is removed and the file stays as
  // it was.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Success while the lock is held; otherwise why it could not be taken.
  const FileResult& Locked() const { return m_locked; }
  // Writes the bytes to the temporary file, flushes them to disk and moves the temporary file onto
  // the file in one step, so that the file is never missing or half written. A missing file is
  // simply created; with replaceExisting false, a file that appeared meanwhile is not replaced
  // (the error is then ERROR_ALREADY_EXISTS).
  FileResult Commit(const std::string& bytes, bool replaceExisting = true);

 private:
  std::string m_path;
  std::string m_tempPath;
  void* m_temp;  // the temporary file's handle, INVALID_HANDLE_VALUE when none is held
  FileResult m_locked;
};

// Removes the temporary files of replacements in the folder that nobody holds: those of saves
// and imports that were killed ("*.scn.tmp", and "~tessivane-*.tmp" of earlier versions).
void RemoveLeftOverScenarioTemporaries(const std::string& folder);

// Takes the lock and commits at once.
FileResult ReplaceFileContents(const std::string& path, const std::string& bytes);

// Creates the folder and every missing folder above it. False (error in *error) when one of them
// could not be made.
bool CreateFolders(const std::string& folder, unsigned long* error);

// Tests make a folder refuse new files as a protected folder does for a user without
// administrator rights (a test runs as root under Wine, where no permission refuses it): the gate
// sees each temporary file's path before it is created and answers 0, or the Win32 error with
// which the creation fails.
using NewFileGate = unsigned long (*)(const std::string& path);
void SetNewFileGate(NewFileGate gate);
// What the gate answers for a new file at this path (0 when no gate is set), for the other code
// that makes new files.
unsigned long NewFileRefusal(const std::string& path);

// The steps of ReplaceFileContents, reported to a hook so that a test can stop the process at each.
enum class ReplaceStep { TempCreated, TempWritten, TempFlushed, BeforeReplace, AfterReplace };
using ReplaceStepHook = void (*)(ReplaceStep step);
void SetReplaceStepHook(ReplaceStepHook hook);
