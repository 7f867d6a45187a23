#include "platform/DllSearch.h"

#include <windows.h>

#include "platform/SystemFunction.h"

void RestrictDllSearch() {
  // SetDefaultDllDirectories came with Windows 8 and with update KB2533623 for Windows 7: looked
  // up rather than imported, so that a Windows 7 without the update still starts the program.
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefaultDllDirectories =
      SystemFunction<SetDefaultDllDirectoriesFunction>("kernel32.dll", "SetDefaultDllDirectories");
  if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Without it, this at least takes the current folder out of the search.
  SetDllDirectoryA("");
}
