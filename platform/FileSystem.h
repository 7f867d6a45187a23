#pragma once
// The file system as the tool uses it: what stands at a path, reading a file whole, making
// folders. (Replacing a file: FileReplacement.h; a folder's names: FolderListing.h.) Every failure
// carries the path, the Win32 error and the kind of failure, which the window puts into words.
#include <cstddef>
#include <cstdint>
#include <string>

// The pieces in which bytes are streamed: a file read past its stated size, dropped contents,
// inflated data.
inline constexpr size_t kPieceSize = 64 * 1024;

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

  // The folder or the file refused the write for want of permission (no write access): the case
  // in which Windows gives a legacy program a per-user copy of the folder instead.
  bool RefusedByPermission() const { return !ok && kind == FailureKind::AccessRefused; }

  static FileResult Failure(const std::string& file, unsigned long error, FailureKind kind);
  // A failure of the last Win32 call on this file, which the system's message text describes
  // (access denied counts as a permission refusal).
  static FileResult FromLastError(const std::string& file, unsigned long error);
};

enum class PathKind { Missing, File, Folder, Unknown };

// What stands at a path (ANSI paths go through WidePath). Missing when the system says that
// nothing is there, or that the name cannot be one; Unknown when the question itself failed
// (access to the folder refused, a drive not ready).
PathKind GetPathKind(const std::wstring& path);

// The size and last-write time of a file, to tell cheaply that it has not changed since.
struct FileStamp {
  bool exists = false;
  unsigned long long size = 0;
  unsigned long long lastWrite = 0;  // FILETIME as one number

  bool operator==(const FileStamp&) const = default;
};
FileStamp GetFileStamp(const std::string& path);

// The path made full against the current folder, as the system resolves it ("." and ".."
// resolved, "/" read as "\"); the path itself when the system cannot make it full. (ANSI paths go
// through WidePath and back through AnsiPath.)
std::wstring FullPathName(const std::wstring& path);

// Reads the whole file as bytes (ANSI paths go through WidePath; the failure names the path as
// AnsiPath gives it). A file that another program holds open without sharing is tried again for
// about a second before the failure is reported as in use. One of more than `limit` bytes is
// refused with ERROR_FILE_TOO_LARGE.
FileResult ReadWholeFile(const std::wstring& path, std::string& bytes, uint64_t limit = UINT64_MAX);

// Creates the folder and every missing folder above it. False (error in *error) when one of them
// could not be made.
bool CreateFolders(const std::string& folder, unsigned long* error);

// The bytes free to the user on the volume of the folder; the most there can be when that cannot
// be told.
uint64_t FreeBytesIn(const std::string& folder);
