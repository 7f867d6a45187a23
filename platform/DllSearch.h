#pragma once
// Where the process may load DLLs from by name.

// Limits the search for DLLs loaded by name to the System32 folder: neither the program's own
// folder nor the current folder is searched any more. tessivane.exe has no DLL of its own, but the
// shell, theming and the picture decoder load system DLLs by name while it runs, and a file of
// such a name lying beside the download (the Downloads folder) would otherwise be loaded into it.
// Called first thing at start, before anything loads a DLL.
void RestrictDllSearch();
