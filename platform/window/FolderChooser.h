#pragma once
// Windows' own folder chooser: the Open dialog choosing a folder, with the places, the address
// bar and the search that the player knows from Explorer.
#include <windows.h>

#include <optional>
#include <string>

// Shows the chooser modally over the owner, with this title, and returns the folder chosen, in
// UTF-16 as the shell names it; nothing when the player cancelled. A chooser that cannot be shown
// throws WindowError, with the system's reason.
std::optional<std::wstring> ChooseFolder(HWND owner, const std::wstring& title);
