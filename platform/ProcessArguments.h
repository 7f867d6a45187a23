#pragma once
// The arguments this process was started with, as Windows keeps them: in UTF-16, so that a folder
// named in characters the ANSI code page lacks reaches the program as it was written.
#include <string>

// The command line without the program's name and the blanks after it.
std::wstring ProcessArguments();

// The folder of this program's own file, ending in "\", in UTF-16; "" when it cannot be told.
std::wstring ProgramFolder();
