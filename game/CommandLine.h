#pragma once
// The game folder given on the command line: `tessivane.exe "D:\Games\Game folder"`, which is
// also what Explorer runs when a folder is dropped on the program. The command line is taken as
// Windows keeps it, in UTF-16: split there, a two-byte character of the ANSI code page whose
// second byte is that of "\" (表 in code page 932) is one character, as the C runtime's split in
// that code page takes it, and a folder whose name the code page cannot hold is still seen whole.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Splits the arguments part of a command line (what follows the program's name) the way the
// Windows C runtime builds argv: spaces and tabs separate arguments outside double quotes;
// 2n backslashes before a quote give n backslashes and the quote opens or closes a quoted part,
// 2n+1 give n backslashes and a literal quote; inside a quoted part "" is a literal quote;
// backslashes before anything else stand as they are.
std::vector<std::wstring> SplitCommandLine(std::wstring_view arguments);

// The game folder that the first argument names; "" when there is no argument. A quoted folder
// ending in a backslash ("D:\Games\", or a drive "D:\" as Explorer passes it) comes out of the
// split with a quote where its backslash was: no folder name holds a quote, so it is turned back.
// An empty argument ("") names the current folder.
std::wstring GameFolderArgument(const std::vector<std::wstring>& arguments);

// The arguments apart: the files among them (dropped on the program in Explorer, or "Open with"),
// which the main window takes as dropped on it, in order; and the others, of which the first
// names the game folder (GameFolderArgument).
struct SortedArguments {
  std::vector<std::wstring> others;
  std::vector<std::wstring> files;
};
SortedArguments SortArguments(const std::vector<std::wstring>& arguments,
                              const std::function<bool(const std::wstring&)>& isFile);
