#pragma once
// Pictures, icons and cursors compiled into the program as resources.
#include <windows.h>

#include "platform/window/GdiHandles.h"

// The windows cannot be drawn without their resources: each loader throws WindowError,
// naming the resource, when it is missing or cannot be loaded.

// A BITMAP resource.
UniqueBitmap LoadBitmapResource(int id);

// A JPEG kept as an RCDATA resource, decoded to a bitmap.
UniqueBitmap LoadJpegResource(int id);

// A CURSOR resource at the size Windows gives cursors at `dpi`: drawn for 96 DPI, it is stretched
// by Windows, its hot spot moved with it.
UniqueCursor LoadCursorResource(int id, int dpi);

// A window's icons from an ICON resource, at the sizes Windows gives a window at `dpi`: the large
// one (Alt+Tab, the taskbar) and the small one (the title bar). Each is the resource's image of
// that size, or one that Windows resized from the nearest.
struct WindowIcons {
  UniqueIcon large, small;
};
WindowIcons LoadWindowIcons(int id, int dpi);
