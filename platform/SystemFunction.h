#pragma once
// Functions of newer Windows, looked up at run time so that the program still starts where they
// are missing (and imports nothing beyond the DLLs every Windows has).
#include <windows.h>

// The function, or nullptr where this Windows lacks it. A DLL not yet loaded is loaded from
// System32 only.
template <typename Function>
Function SystemFunction(const char* dll, const char* name) {
  HMODULE module = GetModuleHandleA(dll);
  if (!module) module = LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}
