#pragma once
// The handle of an open registry key (HKEY_LOCAL_MACHINE and the like), declared as <windows.h>
// declares it, for headers that pass one on without needing the rest of Windows' headers. The
// root keys themselves and the calls on a key are in <windows.h> and platform/Registry.h.
struct HKEY__;
typedef HKEY__* HKEY;
