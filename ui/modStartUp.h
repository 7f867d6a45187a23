#pragma once
// The program from its start to its end: what tessivane.exe's entry point runs.
#include <string_view>

// Shows the splash window, runs the windows until the last one is closed and returns the exit
// code. `commandLineArguments` is what follows the program's name on its command line, in UTF-16
// as Windows keeps it: a game folder, when one is given. A failure while starting (a window that
// cannot be created, a resource missing) is shown in an error box and ends the run with exit
// code 1.
int RunTessivane(std::wstring_view commandLineArguments);
