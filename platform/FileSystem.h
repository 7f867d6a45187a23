#pragma once
// The file system as the tool uses it: existence tests, a folder's file names, reading a file
// whole, and replacing a file atomically. Every failure carries the path, the Win32 error and a
// reason fit to show to the user.
#include <string>
#include <vector>

struct FileResult {
  bool ok = true;
  unsigned long error = 0;  // GetLastError() of the call that failed, 0 when none applies
  std::string file;         // the path the failure is about
  std::string reason;       // why, in words: the system's text, "read-only", "in use by another program"

  static FileResult Success() { return {}; }
  static FileResult Failure(const std::string& file, unsigned long error, const std::string& reason);
  // A failure of the last Win32 call on this file, described by the system's message text.
  static FileResult FromLastError(const std::string& file, unsigned long error);
};

enum class PathKind { Missing, File, Folder, Unknown };

// What stands at this path. Unknown means the question itself failed (error in *error).
PathKind GetPathKind(const std::string& path, unsigned long* error = nullptr);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// The names (without folder, extension included) of the files, not folders, in this folder that
// match the pattern, in the case-insensitive order that Windows' own file systems list them in,
// so that the order does not depend on the file system underneath (Wine's order is arbitrary).
// A missing or unreadable folder gives ok = false and no names.
FileResult ListFolderFiles(const std::string& folder, const std::string& pattern,
                           std::vector<std::string>& names);

// Reads the whole file as bytes. A file that another program holds open without sharing is tried
// again for about a second before the failure is reported as "in use by another program".
FileResult ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file with these bytes in one step, so that it is never missing or half written:
// the bytes go to path + ".tmp", which is flushed to disk and then moved onto the path. A file
// marked read-only is refused; on any failure the file stays as it was and the temporary file that
// this call made is removed. A missing file is simply created.
FileResult ReplaceFileContents(const std::string& path, const std::string& bytes);

// The steps of ReplaceFileContents, reported to a hook so that a test can stop the process at each.
enum class ReplaceStep { TempCreated, TempWritten, TempFlushed, BeforeReplace, AfterReplace };
using ReplaceStepHook = void (*)(ReplaceStep step);
void SetReplaceStepHook(ReplaceStepHook hook);
