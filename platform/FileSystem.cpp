#include "platform/FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

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

FileResult AtStep(FileResult result, FileStep step) {
  result.step = step;
  return result;
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
  DWORD error = newFileGate ? newFileGate(tempPath) : 0;
  if (error != 0) return AtStep(FileResult::FromLastError(tempPath, error), FileStep::CreateTemporary);
  FileHandle temp(OpenWithRetries(tempPath, GENERIC_WRITE, 0, CREATE_ALWAYS, &error));
  if (!temp.IsValid()) return AtStep(BusyOrError(tempPath, error), FileStep::CreateTemporary);
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

FileResult MoveOnto(const std::string& tempPath, const std::string& path) {
  return AtStep(TryMoveOnto(tempPath, path), FileStep::Replace);
}

int CompareNamesIgnoringCase(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                        b.c_str(), static_cast<int>(b.size()));
}

// Case-insensitive order of names as Windows' file systems list them; ties keep a stable order.
bool NameLess(const std::string& a, const std::string& b) {
  const int order = CompareNamesIgnoringCase(a, b);
  if (order != CSTR_EQUAL) return order == CSTR_LESS_THAN;
  return a < b;
}

// Equal bytes, or ASCII letters that differ only in case: text that Windows compares as equal
// when it ignores case.
bool EqualsIgnoringAsciiCase(const char* a, const char* b, size_t length) {
  const auto lower = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  for (size_t i = 0; i < length; ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Windows also matches a pattern against a file's 8.3 short name, so "*.scn" finds "a.scnx" too
// (short name A~1.SCN). Only a pattern of the form "*.ext" is used here: keep the names whose own
// extension matches it. Plain letters that differ only in case match at once; anything else is
// compared as Windows compares text.
bool MatchesOwnName(const std::string& name, const std::string& pattern) {
  if (pattern.size() < 2 || pattern[0] != '*' ||
      pattern.find_first_of("*?", 1) != std::string::npos) {
    return true;
  }
  const char* const suffix = pattern.c_str() + 1;
  const size_t length = pattern.size() - 1;
  if (name.size() < length) return false;
  const char* const end = name.c_str() + name.size() - length;
  return EqualsIgnoringAsciiCase(end, suffix, length) ||
         CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, end, static_cast<int>(length), suffix,
                        static_cast<int>(length)) == CSTR_EQUAL;
}

// Eight bytes of a sort key as a number that orders as the bytes do (Windows is little-endian).
uint64_t KeyWord(const char* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return __builtin_bswap64(word);
}

// Sort keys compare as unsigned bytes; eight at a time here, as the keys of names with a common
// beginning share dozens of bytes.
int CompareKeys(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  size_t i = 0;
  for (; i + 8 <= common; i += 8) {
    const uint64_t x = KeyWord(a.data() + i);
    const uint64_t y = KeyWord(b.data() + i);
    if (x != y) return x < y ? -1 : 1;
  }
  for (; i < common; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Sorts the names as NameLess orders them, each name's sort key made once: LCMapString's keys
// compare byte for byte as CompareString compares the names, and sorting a hundred thousand names
// by their keys takes a small part of the time that comparing the names pairwise does (seconds
// under Wine). The keys lie in one buffer.
void SortNames(std::vector<std::string>& names) {
  struct Entry {
    uint32_t offset;
    uint32_t length;
    size_t index;
  };
  constexpr DWORD kKeyFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
  std::string keys;
  keys.reserve(names.size() * 48);
  std::vector<Entry> entries(names.size());
  char key[1024];
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    const int size = LCMapStringA(LOCALE_INVARIANT, kKeyFlags, name.c_str(),
                                  static_cast<int>(name.size()), key, sizeof key);
    if (size <= 0 || keys.size() + static_cast<size_t>(size) > UINT32_MAX) {
      // A name without a key (or with a key beyond any file name's): compare the names themselves.
      std::sort(names.begin(), names.end(), NameLess);
      return;
    }
    entries[i] = {static_cast<uint32_t>(keys.size()), static_cast<uint32_t>(size), i};
    keys.append(key, static_cast<size_t>(size));
  }
  const std::string_view allKeys = keys;
  std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
    const int order =
        CompareKeys(allKeys.substr(a.offset, a.length), allKeys.substr(b.offset, b.length));
    if (order != 0) return order < 0;
    return names[a.index] < names[b.index];
  });
  std::vector<std::string> sorted;
  sorted.reserve(names.size());
  for (const Entry& entry : entries) sorted.push_back(std::move(names[entry.index]));
  names.swap(sorted);
}

// A file name in the ANSI code page, exactly: false for a name that the code page cannot hold.
// The ANSI functions would hand such a name over with best-fit look-alikes ("Ωmega" as "Omega")
// or "?" in place of what the code page lacks, naming a file that does not exist. UTF-8 as the
// code page holds every name but unpaired surrogates, which it refuses.
bool AnsiName(UINT codePage, const WCHAR* wide, size_t wideLength, std::string& name) {
  char buffer[1024];  // a file name has at most 255 UTF-16 units, three bytes each at most
  const bool utf8 = codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8) ||
                    (codePage == CP_OEMCP && GetOEMCP() == CP_UTF8);
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(codePage, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS,
                                         wide, static_cast<int>(wideLength), buffer, sizeof buffer,
                                         nullptr, utf8 ? nullptr : &usedDefault);
  if (length <= 0 || usedDefault) return false;
  name.assign(buffer, static_cast<size_t>(length));
  return true;
}

// "*.ext" with a plain extension: the pattern whose matches can be told from a name's own end.
bool IsExtensionPattern(const std::string& pattern) {
  return pattern.size() > 2 && pattern[0] == '*' && pattern[1] == '.' &&
         pattern.find_first_of("*?.<>\"", 2) == std::string::npos;
}

// Lists a folder through a handle to it, hundreds of entries a call, keeping the files whose own
// name ends in the pattern's extension. FindFirstFileA finds the same files (and some through
// their 8.3 names, which MatchesOwnName drops), but one entry a call, which makes listing a large
// folder a tenth to a sixth slower under Wine.
FileResult ListFilesByExtension(const std::string& folder, const std::string& pattern,
                                std::vector<std::string>& names) {
  FileHandle directory(CreateFileA(folder.empty() ? "." : folder.c_str(), FILE_LIST_DIRECTORY,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!directory.IsValid()) {
    const DWORD error = GetLastError();
    // A folder that is not there is a path not found, as a listing by pattern reports it.
    return FileResult::FromLastError(folder,
                                     error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
  }
  // The names come as UTF-16; the ANSI functions would convert them with the same code page.
  const UINT codePage = AreFileApisANSI() ? CP_ACP : CP_OEMCP;
  std::vector<LONGLONG> buffer(64 * 1024 / sizeof(LONGLONG));  // entries are 8-byte aligned
  const DWORD bufferBytes = static_cast<DWORD>(buffer.size() * sizeof(LONGLONG));
  std::string name;
  FILE_INFO_BY_HANDLE_CLASS infoClass = FileFullDirectoryRestartInfo;
  while (GetFileInformationByHandleEx(directory.Get(), infoClass, buffer.data(), bufferBytes)) {
    infoClass = FileFullDirectoryInfo;
    const char* entryBytes = reinterpret_cast<const char*>(buffer.data());
    for (;;) {
      const auto* entry = reinterpret_cast<const FILE_FULL_DIR_INFO*>(entryBytes);
      if (!(entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          AnsiName(codePage, entry->FileName, entry->FileNameLength / sizeof(WCHAR), name) &&
          MatchesOwnName(name, pattern)) {
        names.push_back(name);
      }
      if (entry->NextEntryOffset == 0) break;
      entryBytes += entry->NextEntryOffset;
    }
  }
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES) {
    names.clear();
    return FileResult::FromLastError(folder, error);
  }
  return FileResult::Success();
}

// Lists the files that FindFirstFileA matches with the pattern.
FileResult ListFilesByPattern(const std::string& folder, const std::string& pattern,
                              std::vector<std::string>& names) {
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
    // A "?" never stands in a file name: it is what the system put for a character that the code
    // page lacks.
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        std::strchr(entry.cFileName, '?') == nullptr && MatchesOwnName(entry.cFileName, pattern)) {
      names.emplace_back(entry.cFileName);
    }
  } while (FindNextFileA(find.Get(), &entry));
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES) {
    names.clear();
    return FileResult::FromLastError(folder, error);
  }
  return FileResult::Success();
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

bool FileResult::FolderDeniedNewFile() const {
  return !ok && step == FileStep::CreateTemporary && error == ERROR_ACCESS_DENIED;
}

bool FileExists(const std::string& path) { return GetPathKind(path) == PathKind::File; }

std::string FullPathName(const std::string& path) {
  std::string full(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return path;
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);  // too small: the length asked for counts the terminating NUL
  }
}

bool FolderExists(const std::string& path) {
  // "C:\Games\AoM\startup\" names the folder as well as "C:\Games\AoM\startup" does.
  std::string folder = path;
  while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return !folder.empty() && GetPathKind(folder) == PathKind::Folder;
}

FileResult ListFolderFiles(const std::string& folder, const std::string& pattern,
                           std::vector<std::string>& names) {
  names.clear();
  FileResult listed = IsExtensionPattern(pattern) ? ListFilesByExtension(folder, pattern, names)
                                                  : ListFilesByPattern(folder, pattern, names);
  if (listed.ok) SortNames(names);
  return listed;
}

FileResult ListFolderFiles(const std::vector<std::string>& folders, const std::string& pattern,
                           std::vector<std::string>& names) {
  names.clear();
  FileResult result = FileResult::Failure("", ERROR_PATH_NOT_FOUND, SystemMessage(ERROR_PATH_NOT_FOUND));
  std::vector<std::string> folderNames;
  for (const std::string& folder : folders) {
    FileResult listed = ListFolderFiles(folder, pattern, folderNames);
    if (!listed.ok) {
      if (!result.ok && result.file.empty()) result = listed;
      continue;
    }
    result = FileResult::Success();
    names.insert(names.end(), std::make_move_iterator(folderNames.begin()),
                 std::make_move_iterator(folderNames.end()));
  }
  if (folders.size() > 1 && result.ok) {
    // One sorted list again; names that compare equal stand together, and one of them is kept.
    SortNames(names);
    names.erase(std::unique(names.begin(), names.end(),
                            [](const std::string& a, const std::string& b) {
                              return CompareNamesIgnoringCase(a, b) == CSTR_EQUAL;
                            }),
                names.end());
  }
  return result;
}

bool CreateFolders(const std::string& folder, unsigned long* error) {
  std::string path = folder;
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  if (GetPathKind(path) == PathKind::Folder) return true;
  const size_t parentEnd = path.find_last_of("\\/");
  if (parentEnd != std::string::npos && parentEnd > 0 && path[parentEnd - 1] != ':' &&
      !CreateFolders(path.substr(0, parentEnd), error)) {
    return false;
  }
  if (CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return true;
  *error = GetLastError();
  return false;
}

void SetNewFileGate(NewFileGate gate) { newFileGate = gate; }

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

FileResult ReplaceFileContents(const std::string& path, const std::string& bytes) {
  // Wine, unlike Windows, lets a replace overwrite a read-only file: refuse it here for both.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
      return AtStep(FileResult::FromLastError(path, ERROR_ACCESS_DENIED), FileStep::Replace);
    if (attributes & FILE_ATTRIBUTE_READONLY)
      return AtStep(FileResult::Failure(path, ERROR_ACCESS_DENIED, "read-only"), FileStep::Replace);
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
