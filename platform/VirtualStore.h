#pragma once
// The per-user copies that Windows keeps of files in protected folders for a legacy program:
// where they lie, and whether Windows keeps them for the game at all.
//
// A program without administrator rights may not write under Program Files or the Windows folder.
// For a legacy program (32-bit, without a manifest that names an execution level, as the game is)
// Windows redirects instead: what it writes under C:\Program Files (x86)\Game\ goes to
// %LOCALAPPDATA%\VirtualStore\Program Files (x86)\Game\, and when it opens a file that has such a
// per-user copy it gets the copy. To edit the file that the game reads, the tool has to do the
// same.
//
// Windows virtualises a legacy 32-bit program only while it runs without administrator rights,
// with UAC and virtualisation switched on; it does the same for what the program writes under
// HKEY_LOCAL_MACHINE\Software. Wine virtualises nothing: there the real file is the file.
#include <optional>
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

// True under Wine (ntdll exports wine_get_version), unless a test said otherwise.
bool RunningUnderWine();

// Tests on Wine stand in for Windows (false) or for Wine (true); nullopt detects again. The tests
// of the per-user copies need it: under Wine nothing is virtualised, and nothing a test can do
// hides Wine from the program.
void SetRunningUnderWineForTests(std::optional<bool> underWine);

// Windows gives legacy programs per-user copies at all: not under Wine, and not when the policy
// values EnableLUA or EnableVirtualization under
// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\System are 0.
bool WindowsVirtualises();

// The same for these programs (full paths): also not when one of them is set to run as
// administrator (RUNASADMIN among its compatibility layers, for the user or the machine).
bool WindowsVirtualisesFor(const std::vector<std::string>& programs);
