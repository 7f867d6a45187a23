#pragma once
// Files named at a start of the program, handed to its window that is already open on the same
// game folder: Explorer's "Open with" on a selection of downloads starts the program once per
// file, and all of them are to end in one window. The window's side is
// FileDropTarget::TakeHandedFiles, which takes them as dropped on it.
//
// The starts for one folder take turns at a named mutex of that folder: the first holds it for
// its whole run and opens the window; the others wait for that window and hand it their files
// with WM_COPYDATA. A folder is known by the file system's own identity of it (volume and file
// index), which neither the case of its name, nor its 8.3 name, nor a link to it change.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/UniqueHandle.h"

// The window's side: the property that marks a window open on a game folder, and the tag of the
// WM_COPYDATA message that hands it files (FileDropTarget).
inline constexpr wchar_t kHandOverTarget[] = L"TessivaneHandOverTarget";
inline constexpr ULONG_PTR kHandOverTag = 0x54455353;  // "TESS": our WM_COPYDATA among any other

class FileHandOver {
 public:
  // True when a window of the program open on this game folder took the files (full paths); it
  // takes them as a drop once it is free. False when this start is to open the window itself: no
  // other start for the folder is under way, or the one under way has not opened its window
  // within half a minute. While this object lives, later starts for the folder wait for this
  // start's window.
  bool HandToOpenWindow(const std::string& folder, const std::vector<std::wstring>& files);

 private:
  UniqueKernelObject m_turn;
};

// The file system's identity of the folder as text; "" when it cannot be opened.
std::wstring FolderIdentity(const std::string& folder);
