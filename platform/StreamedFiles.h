#pragma once
// Files too large to hold in memory, read and written in pieces: a dropped archive read at
// offsets, and a new file written under a temporary name beside where it is going, flushed, and
// only then moved onto its name, so that a half-written file never carries the name. Dropped
// files are named as Windows hands them over, in UTF-16.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/UniqueHandle.h"

// A file opened for reading, shared with everyone.
class ReadOnlyFile {
 public:
  FileResult Open(const std::wstring& path);
  uint64_t Size() const { return m_size; }
  // Reads exactly `size` bytes at `offset`; false when they cannot all be read.
  bool ReadAt(uint64_t offset, void* into, size_t size);

 private:
  UniqueFile m_file;
  uint64_t m_size = 0;
};

// A new file made in a folder under a temporary name of its own ("~tessivane-....tmp"), which
// the picker does not list. Removed at the end unless it was moved onto a name.
class NewFileWriter {
 public:
  NewFileWriter() = default;
  NewFileWriter(const NewFileWriter&) = delete;
  NewFileWriter& operator=(const NewFileWriter&) = delete;
  ~NewFileWriter();

  // Makes the temporary file in `folder` (ANSI, no final "\").
  FileResult Create(const std::string& folder);
  // Appends bytes; false on failure (Finish then reports it).
  bool Write(const char* bytes, size_t size);
  // Flushes the bytes to disk and closes the file.
  FileResult Finish();
  // Moves the finished file onto `path` in one step: over a file of that name only when
  // `replace`, else failing with ERROR_ALREADY_EXISTS when there is one.
  FileResult MoveOnto(const std::string& path, bool replace);
  const std::string& TemporaryPath() const { return m_path; }

 private:
  std::string m_path;
  UniqueFile m_file;
  unsigned long m_writeError = 0;
  bool m_moved = false;
};

// The two files hold the same bytes (compared in pieces); false when either cannot be read.
bool FilesHoldSameBytes(const std::string& a, const std::string& b);

// A file marked read-only (which Wine, unlike Windows, would let a replace overwrite).
bool IsReadOnlyFile(const std::string& path);

// What stands at a path given in UTF-16.
PathKind GetPathKind(const std::wstring& path);
// The full paths of the files (not folders) directly in a folder, in the listing's order.
std::vector<std::wstring> FilesDirectlyIn(const std::wstring& folder);
