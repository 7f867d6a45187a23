#pragma once
// The per-user copies that Windows keeps of files in protected folders for a legacy program.
//
// A program without administrator rights may not write under Program Files or the Windows folder.
// For a legacy program (32-bit, without a manifest that names an execution level, as the game is)
// Windows redirects instead: what it writes under C:\Program Files (x86)\Game\ goes to
// %LOCALAPPDATA%\VirtualStore\Program Files (x86)\Game\, and when it opens a file that has such a
// per-user copy it gets the copy. To edit the file that the game reads, the tool has to do the
// same.
#include <string>
#include <vector>

// The per-user copy of a file or folder under Program Files, Program Files (x86) or the Windows
// folder; "" for a path anywhere else, or when the user's local application data folder is not
// known. When the ANSI code page cannot hold that folder's name, the copy's path starts with
// %LOCALAPPDATA%, which the file functions of platform/ open in UTF-16 (AnsiText.h). The path is
// made full (and long, for 8.3 names) before it is compared, without regard to letter case.
std::string VirtualStorePath(const std::string& path);

// The same over given folders: the copy of fullPath under localAppData + "\VirtualStore" when
// fullPath lies in one of the protected folders, else "".
std::string VirtualStorePathFor(const std::string& fullPath, const std::string& localAppData,
                                const std::vector<std::string>& protectedFolders);
