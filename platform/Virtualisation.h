#pragma once
// Whether Windows really gives the game per-user copies of what it writes under protected folders
// and under HKEY_LOCAL_MACHINE\Software (VirtualStore.h says where they lie).
//
// Windows virtualises a legacy 32-bit program only while it runs without administrator rights,
// with UAC and virtualisation switched on. Wine virtualises nothing: there the real file is the
// file. Where nothing is virtualised, the game reads and writes its own folder and registry key.
#include <optional>
#include <string>
#include <vector>

// True under Wine (ntdll exports wine_get_version), unless a test said otherwise.
bool RunningUnderWine();

// Tests on Wine stand in for Windows (false) or for Wine (true); nullopt detects again.
void SetRunningUnderWineForTests(std::optional<bool> underWine);

// Windows gives legacy programs per-user copies at all: not under Wine, and not when the policy
// values EnableLUA or EnableVirtualization under
// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\System are 0.
bool WindowsVirtualises();

// The same for these programs (full paths): also not when one of them is set to run as
// administrator (RUNASADMIN among its compatibility layers, for the user or the machine).
bool WindowsVirtualisesFor(const std::vector<std::string>& programs);
