#pragma once
// What a folder holds: its entries, its file names with one extension in one order whatever the
// file system underneath, and what the file system says about the names files are written under.
#include <string>
#include <vector>

#include "platform/FileSystem.h"

// An entry directly in a folder, named as Windows keeps names (UTF-16).
struct FolderEntry {
  std::wstring name;
  bool folder = false;
};

// The entries directly in the folder, "." and ".." left out, in the listing's order. A folder
// that is missing or cannot be listed gives ok = false (a missing one ERROR_PATH_NOT_FOUND) and no
// entries; an empty one (a drive's root has not even "." and "..") gives none.
FileResult ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries);

// The names (without folder, extension included) of the files, not folders, in these folders
// whose name ends in the extension (".scn", compared without regard to case), in a linguistic,
// case-insensitive order (CompareString's over the invariant locale), so that the order does not
// depend on the file system underneath (Wine's order is arbitrary). Several folders are seen as
// one (the game's folder and Windows' per-user copy of it): each name once (names that differ
// only in letter case are one file to Windows, and one spelling of it is kept). Folders that are
// missing or unreadable add nothing; ok = false (the first one's failure) only when none could be
// listed. Names that the ANSI code page cannot hold exactly are left out: turned into look-alikes
// or "?", they would name files that do not exist.
FileResult ListFolderFiles(const std::vector<std::string>& folders, const std::string& extension,
                           std::vector<std::string>& names);

// A file answers to this path under a long name of its own that differs, letter case aside: the
// path's name is only an alias of it, such as its short (8.3) name "HARBOU~1.scn" for
// "Harbour At Dusk.scn".
bool IsAliasOfAnother(const std::string& path);

// Whether two names (in the ANSI code page) name the same file: equal but for letter case, as the
// file system compares them (its upper-casing of UTF-16 units). CompareString's linguistic
// equality is not that: it passes over characters of no weight (a soft hyphen) and, under Wine,
// finds Hangul syllables such as 갂 and 갵 equal, which would hide one of two different scenarios.
bool SameFileName(const std::string& a, const std::string& b);
