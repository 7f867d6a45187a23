#pragma once
// Dropped files, as Windows hands them over: named in UTF-16, and what the file system says about
// the names they are written under.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

// A dropped file: where it can be read, and how the player knows it: its path, or, for file
// contents without one, the name its source gave it ("maps\Reef.scn").
struct DroppedFile {
  std::wstring path;
  std::wstring name;
  bool tooLarge = false;  // contents beyond what the drop may take: nothing at `path`
};

// What stands at a path given in UTF-16.
PathKind GetPathKind(const std::wstring& path);
// The full paths of the files (not folders) directly in a folder, in the listing's order.
std::vector<std::wstring> FilesDirectlyIn(const std::wstring& folder);

// A file answers to this path under a long name of its own that differs, letter case aside: the
// path's name is only an alias of it, such as its short (8.3) name "HARBOU~1.scn" for
// "Harbour At Dusk.scn".
bool IsAliasOfAnother(const std::string& path);

// The two file names (in the ANSI code page) are one to the file system: equal but for letter case.
bool SameFileName(const std::string& a, const std::string& b);

// The bytes free to the user on the volume of the folder; the most there can be when that cannot
// be told.
uint64_t FreeBytesIn(const std::string& folder);
