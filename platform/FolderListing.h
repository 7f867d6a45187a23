#pragma once
// A folder's file names with one extension, in one order whatever the file system underneath.
#include <string>
#include <vector>

#include "platform/FileSystem.h"

// The names (without folder, extension included) of the files, not folders, in this folder whose
// name ends in the extension (".scn", compared without regard to case), in a linguistic,
// case-insensitive order (CompareString's over the invariant locale), so that the order does not
// depend on the file system underneath (Wine's order is arbitrary).
// A missing or unreadable folder gives ok = false and no names. Names that the ANSI code page
// cannot hold exactly are left out: turned into look-alikes or "?", they would name files that
// do not exist.
FileResult ListFolderFiles(const std::string& folder, const std::string& extension,
                           std::vector<std::string>& names);

// The files of several folders seen as one: each name once (names that differ only in letter
// case are one file to Windows, and one spelling of it is kept), in the same order. Folders
// that are missing or unreadable add nothing; ok = false only when none could be listed.
FileResult ListFolderFiles(const std::vector<std::string>& folders, const std::string& extension,
                           std::vector<std::string>& names);
