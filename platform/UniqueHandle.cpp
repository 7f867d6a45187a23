#include "platform/UniqueHandle.h"

#include <windows.h>

bool FileTraits::Close(void* handle) { return CloseHandle(handle) != 0; }

bool FindTraits::Close(void* handle) { return FindClose(handle) != 0; }

bool RegistryKeyTraits::Close(HKEY key) { return RegCloseKey(key) == ERROR_SUCCESS; }

bool KernelObjectTraits::Close(void* handle) { return CloseHandle(handle) != 0; }
