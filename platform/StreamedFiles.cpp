#include "platform/StreamedFiles.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "platform/AnsiText.h"

namespace {

constexpr DWORD kPieceSize = 64 * 1024;

std::atomic<unsigned> temporaryNumber{0};

bool ReadFully(HANDLE file, void* into, DWORD size) {
  DWORD read = 0;
  return ReadFile(file, into, size, &read, nullptr) && read == size;
}

}  // namespace

FileResult ReadOnlyFile::Open(const std::wstring& path) {
  m_file.Reset(CreateFileW(path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  const std::string name = AnsiFromWide(path).value_or("");
  if (!m_file) return FileResult::FromLastError(name, GetLastError());
  LARGE_INTEGER size;
  if (!GetFileSizeEx(m_file.Get(), &size)) return FileResult::FromLastError(name, GetLastError());
  m_size = static_cast<uint64_t>(size.QuadPart);
  return FileResult::Success();
}

bool ReadOnlyFile::ReadAt(uint64_t offset, void* into, size_t size) {
  if (offset > m_size || size > m_size - offset) return false;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(m_file.Get(), at, nullptr, FILE_BEGIN)) return false;
  for (char* next = static_cast<char*>(into); size > 0;) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
    if (!ReadFully(m_file.Get(), next, piece)) return false;
    next += piece;
    size -= piece;
  }
  return true;
}

NewFileWriter::~NewFileWriter() {
  m_file.Reset();
  if (!m_path.empty() && !m_moved) DeleteFileW(WidePath(m_path).c_str());
}

FileResult NewFileWriter::Create(const std::string& folder) {
  const std::string path = folder + "\\~tessivane-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(++temporaryNumber) + ".tmp";
  if (const unsigned long refused = NewFileRefusal(path); refused != 0)
    return FileResult::FromLastError(path, refused);
  m_file.Reset(CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!m_file) return FileResult::FromLastError(path, GetLastError());
  m_path = path;
  return FileResult::Success();
}

bool NewFileWriter::Write(const char* bytes, size_t size) {
  while (m_writeError == 0 && size > 0) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(m_file.Get(), bytes, piece, &written, nullptr)) {
      m_writeError = GetLastError();
    } else if (written == 0) {
      m_writeError = ERROR_WRITE_FAULT;
    }
    bytes += written;
    size -= written;
  }
  return m_writeError == 0;
}

FileResult NewFileWriter::Finish() {
  if (m_writeError == 0 && !FlushFileBuffers(m_file.Get())) m_writeError = GetLastError();
  if (!m_file.Close() && m_writeError == 0) m_writeError = GetLastError();
  if (m_writeError != 0) return FileResult::FromLastError(m_path, m_writeError);
  return FileResult::Success();
}

FileResult NewFileWriter::MoveOnto(const std::string& path, bool replace) {
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
  if (!MoveFileExW(WidePath(m_path).c_str(), WidePath(path).c_str(), flags))
    return FileResult::FromLastError(path, GetLastError());
  m_moved = true;
  return FileResult::Success();
}

bool FilesHoldSameBytes(const std::string& a, const std::string& b) {
  ReadOnlyFile first;
  ReadOnlyFile second;
  if (!first.Open(WidePath(a)).ok || !second.Open(WidePath(b)).ok) return false;
  if (first.Size() != second.Size()) return false;
  std::vector<char> one(kPieceSize);
  std::vector<char> other(kPieceSize);
  for (uint64_t at = 0; at < first.Size(); at += kPieceSize) {
    const size_t piece = static_cast<size_t>(std::min<uint64_t>(kPieceSize, first.Size() - at));
    if (!first.ReadAt(at, one.data(), piece) || !second.ReadAt(at, other.data(), piece) ||
        !std::equal(one.begin(), one.begin() + static_cast<long>(piece), other.begin())) {
      return false;
    }
  }
  return true;
}

bool IsReadOnlyFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

PathKind GetPathKind(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

std::vector<std::wstring> FilesDirectlyIn(const std::wstring& folder) {
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW found;
  UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find) return files;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      files.push_back(folder + L"\\" + found.cFileName);
  } while (FindNextFileW(find.Get(), &found));
  return files;
}
