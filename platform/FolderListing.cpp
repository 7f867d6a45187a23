#include "platform/FolderListing.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "platform/AnsiText.h"
#include "platform/PathText.h"
#include "platform/SystemMessage.h"
#include "platform/UniqueHandle.h"

namespace {

int CompareNamesIgnoringCase(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                        b.c_str(), static_cast<int>(b.size()));
}

// Whether two names name the same file: equal but for letter case, as the file system compares
// them (its upper-casing of UTF-16 units). CompareString's linguistic equality is not that: it
// passes over characters of no weight (a soft hyphen) and, under Wine, finds Hangul syllables
// such as 갂 and 갵 equal, which would hide one of two different scenarios.
bool SameFileName(const std::string& a, const std::string& b) {
  const std::wstring wideA = WideFromAnsi(a), wideB = WideFromAnsi(b);
  return CompareStringOrdinal(wideA.c_str(), static_cast<int>(wideA.size()), wideB.c_str(),
                              static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

// The linguistic, case-insensitive order of CompareString over the invariant locale, which is not
// a file system's order; names that it finds equal are ordered by their bytes.
bool NameLess(const std::string& a, const std::string& b) {
  const int order = CompareNamesIgnoringCase(a, b);
  if (order != CSTR_EQUAL) return order == CSTR_LESS_THAN;
  return a < b;
}

// True when the name's own end is the extension. Plain letters that differ only in case match at
// once; anything else is compared as Windows compares text.
bool HasExtension(const std::string& name, const std::string& extension) {
  if (name.size() < extension.size()) return false;
  const std::string_view end = std::string_view(name).substr(name.size() - extension.size());
  return EqualsIgnoringAsciiCase(AnsiCodePage(), end, extension) ||
         CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, end.data(), static_cast<int>(end.size()),
                        extension.c_str(), static_cast<int>(extension.size())) == CSTR_EQUAL;
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
  const int length = WideCharToMultiByte(
      codePage, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS, wide,
      static_cast<int>(wideLength), buffer, sizeof buffer, nullptr, utf8 ? nullptr : &usedDefault);
  if (length <= 0 || usedDefault) return false;
  name.assign(buffer, static_cast<size_t>(length));
  return true;
}

// Lists a folder through a handle to it, hundreds of entries a call, keeping the files whose own
// name ends in the extension. FindFirstFileA with "*.ext" would find them one entry a call, which
// makes listing a large folder a tenth to a sixth slower under Wine, and would find more: Windows
// matches a pattern against 8.3 names too, so "*.scn" finds "a.scnx" (short name A~1.SCN).
FileResult ListFilesByExtension(const std::string& folder, const std::string& extension,
                                std::vector<std::string>& names) {
  const std::wstring path = WidePath(folder.empty() ? "." : folder);
  UniqueFile directory(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!directory) {
    const DWORD error = GetLastError();
    // A folder that is not there is a path not found, as FindFirstFile reports it.
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
          HasExtension(name, extension)) {
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

}  // namespace

FileResult ListFolderFiles(const std::string& folder, const std::string& extension,
                           std::vector<std::string>& names) {
  names.clear();
  FileResult listed = ListFilesByExtension(folder, extension, names);
  if (listed.ok) SortNames(names);
  return listed;
}

FileResult ListFolderFiles(const std::vector<std::string>& folders, const std::string& extension,
                           std::vector<std::string>& names) {
  names.clear();
  std::optional<FileResult> firstFailure;
  bool listedAny = false;
  std::vector<std::string> folderNames;
  for (const std::string& folder : folders) {
    FileResult listed = ListFolderFiles(folder, extension, folderNames);
    if (!listed.ok) {
      if (!firstFailure) firstFailure = std::move(listed);
      continue;
    }
    listedAny = true;
    names.insert(names.end(), std::make_move_iterator(folderNames.begin()),
                 std::make_move_iterator(folderNames.end()));
  }
  if (!listedAny) {
    return firstFailure ? *firstFailure : FileResult::FromLastError("", ERROR_PATH_NOT_FOUND);
  }
  if (folders.size() > 1) {
    // One sorted list again; the same name in both folders stands twice in a row (equal but for
    // case, it compares equal in the sort's order too), and one of them is kept.
    SortNames(names);
    names.erase(std::unique(names.begin(), names.end(), SameFileName), names.end());
  }
  return FileResult::Success();
}
