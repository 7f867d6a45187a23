#include "platform/FolderListing.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
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

// Sorts the names as NameLess orders them, each name's sort key made once: LCMapString's keys
// compare byte for byte as CompareString compares the names, and sorting a hundred thousand names
// by their keys takes a small part of the time that comparing the names pairwise does (seconds
// under Wine). The keys lie in one buffer and compare as unsigned bytes, as string_view does.
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
        allKeys.substr(a.offset, a.length).compare(allKeys.substr(b.offset, b.length));
    if (order != 0) return order < 0;
    return names[a.index] < names[b.index];
  });
  std::vector<std::string> sorted;
  sorted.reserve(names.size());
  for (const Entry& entry : entries) sorted.push_back(std::move(names[entry.index]));
  names.swap(sorted);
}

// The files of the folder whose own name ends in the extension. The pattern is "*", not "*.ext":
// Windows matches a pattern against 8.3 names too, so "*.scn" would find "a.scnx" (short name
// A~1.SCN). Names come as UTF-16, and those that the code page cannot hold are left out.
FileResult ListFilesByExtension(const std::string& folder, const std::string& extension,
                                std::vector<std::string>& names) {
  std::string pattern = folder;
  if (!pattern.empty() && !EndsWithSeparator(AnsiCodePage(), pattern)) pattern += '\\';
  WIN32_FIND_DATAW found;
  UniqueFind search(FindFirstFileW(WidePath(pattern + "*").c_str(), &found));
  if (!search) {
    const DWORD error = GetLastError();
    // A folder without even "." and ".." (a drive's root) has no file to find.
    if (error == ERROR_FILE_NOT_FOUND &&
        GetPathKind(folder.empty() ? "." : folder) == PathKind::Folder)
      return FileResult::Success();
    // A folder that is not there is a path not found, as FindFirstFile reports a missing folder.
    return FileResult::FromLastError(folder,
                                     error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
  }
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::optional<std::string> name = AnsiFromWide(found.cFileName);
    if (name && HasExtension(*name, extension)) names.push_back(std::move(*name));
  } while (FindNextFileW(search.Get(), &found));
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
