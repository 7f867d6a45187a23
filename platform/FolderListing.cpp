#include "platform/FolderListing.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/AnsiText.h"
#include "platform/PathText.h"
#include "platform/UniqueHandle.h"

namespace {

int CompareNamesIgnoringCase(std::string_view a, std::string_view b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size()));
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
         CompareNamesIgnoringCase(end, extension) == CSTR_EQUAL;
}

// Sorts the names as NameLess orders them, each name's sort key made once: LCMapString's keys
// compare byte for byte (as unsigned bytes, as std::string does) as CompareString compares the
// names, and sorting a hundred thousand names by their keys takes a small part of the time that
// comparing the names pairwise does (seconds under Wine).
void SortNames(std::vector<std::string>& names) {
  std::vector<std::pair<std::string, std::string>> keyed;  // the key, then the name
  keyed.reserve(names.size());
  for (const std::string& name : names) {
    char key[1024];
    const int size = LCMapStringA(LOCALE_INVARIANT, LCMAP_SORTKEY | NORM_IGNORECASE, name.c_str(),
                                  static_cast<int>(name.size()), key, sizeof key);
    // A name without a key (or with a key beyond any file name's): compare the names themselves.
    if (size <= 0) {
      std::sort(names.begin(), names.end(), NameLess);
      return;
    }
    keyed.emplace_back(std::string(key, static_cast<size_t>(size)), name);
  }
  std::sort(keyed.begin(), keyed.end());
  for (size_t i = 0; i < names.size(); ++i) names[i] = std::move(keyed[i].second);
}

}  // namespace

// The pattern is "*", not "*.ext": Windows matches a pattern against 8.3 names too, so "*.scn"
// would find "a.scnx" (short name A~1.SCN).
FileResult ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  std::wstring pattern = folder;
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  WIN32_FIND_DATAW found;
  UniqueFind search(FindFirstFileW((pattern + L"*").c_str(), &found));
  const std::string path = AnsiPath(folder).value_or("");
  if (!search) {
    const DWORD error = GetLastError();
    // A folder without even "." and ".." (a drive's root) has no file to find.
    if (error == ERROR_FILE_NOT_FOUND &&
        GetPathKind(folder.empty() ? L"." : folder) == PathKind::Folder)
      return {};
    // A folder that is not there is a path not found, as FindFirstFile reports a missing folder.
    return FileResult::FromLastError(path,
                                     error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
  }
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..")
      entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search.Get(), &found));
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES) {
    entries.clear();
    return FileResult::FromLastError(path, error);
  }
  return {};
}

FileResult ListFolderFiles(const std::vector<std::string>& folders, const std::string& extension,
                           std::vector<std::string>& names) {
  names.clear();
  // Where none could be listed, the first folder's failure is the first failure.
  FileResult first = FileResult::FromLastError("", ERROR_PATH_NOT_FOUND);  // no folder given
  bool listedAny = false;
  std::vector<FolderEntry> entries;
  for (const std::string& folder : folders) {
    FileResult listed = ListFolder(WidePath(folder), entries);
    listedAny = listedAny || listed.ok;
    if (&folder == &folders.front()) first = std::move(listed);
    for (const FolderEntry& entry : entries) {
      std::optional<std::string> name = AnsiFromWide(entry.name);
      if (!entry.folder && name && HasExtension(*name, extension))
        names.push_back(std::move(*name));
    }
  }
  if (!listedAny) return first;
  SortNames(names);
  // The same name in both folders stands twice in a row (equal but for case, it compares equal in
  // the sort's order too), and one of them is kept.
  if (folders.size() > 1)
    names.erase(std::unique(names.begin(), names.end(), SameFileName), names.end());
  return {};
}

bool IsAliasOfAnother(const std::string& path) {
  const std::wstring wide = WidePath(path);
  // FindFirstFileW reads "*" and "?" as wildcards, which no file name holds.
  if (wide.find_first_of(L"*?") != std::wstring::npos) return false;
  WIN32_FIND_DATAW found;
  UniqueFind find(FindFirstFileW(wide.c_str(), &found));
  if (!find) return false;
  const size_t nameAt = wide.find_last_of(L"\\/") + 1;
  return CompareStringOrdinal(wide.c_str() + nameAt, -1, found.cFileName, -1, TRUE) != CSTR_EQUAL;
}

bool SameFileName(const std::string& a, const std::string& b) {
  const std::wstring wideA = WideFromAnsi(a), wideB = WideFromAnsi(b);
  return CompareStringOrdinal(wideA.c_str(), static_cast<int>(wideA.size()), wideB.c_str(),
                              static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}
