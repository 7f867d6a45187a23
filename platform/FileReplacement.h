#pragma once
// Replacing a file atomically, and the lock that its temporary file is.
#include <string>

#include "platform/FileSystem.h"
#include "platform/UniqueHandle.h"

// Replaces a file in two steps, through its temporary file path + ".tmp", which is also the lock
// of every save of that file: made only when absent and held without sharing until its bytes are
// moved onto the file. Two saves at the same moment (two copies of the tool) so take turns, and
// what the holder reads of the file meanwhile no other save changes. A save that finds the lock
// held waits for it as for a file in use; a temporary file that nobody holds (a save that was
// killed left it, perhaps read-only, hidden or system) is removed and made anew. A file that is a
// symbolic link stays one: the file it points to is replaced, through a temporary file beside it.
// The waits pump no messages: the caller in the window layer shows the busy pointer around them.
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
  UniqueFile m_temp;  // the temporary file, held while the lock is
  FileResult m_locked;
};

// Removes the temporary files of scenarios ("*.scn.tmp") in the folder that nobody holds: those
// of imports that were killed.
void RemoveLeftOverScenarioTemporaries(const std::string& folder);

// Tests make a folder refuse new files as a protected folder does for a user without
// administrator rights. They need this gate: they run as root under Wine, where no permission
// refuses a new file, and an immutable folder (chattr +i) is not to be had on every machine. The
// gate sees each temporary file's path before it is created and answers 0, or the Win32 error
// with which the creation fails.
using NewFileGate = unsigned long (*)(const std::string& path);
void SetNewFileGate(NewFileGate gate);

// The steps of a commit, reported to a hook: the crash-safety tests stop a saving process at each
// and kill it there, which nothing outside the process can time.
enum class ReplaceStep { TempCreated, TempWritten, TempFlushed, BeforeReplace, AfterReplace };
using ReplaceStepHook = void (*)(ReplaceStep step);
void SetReplaceStepHook(ReplaceStepHook hook);
