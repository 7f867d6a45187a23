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

// A CURSOR resource at its size for `dpi`: drawn for 96 DPI, it is scaled with the pictures'
// area averaging (a whole factor keeps its pixels crisp) and gets soft edges through an alpha
// channel; the hot spot moves with it.
UniqueCursor LoadCursorResource(int id, int dpi);

// An ICON resource at the system's large icon size. Resource icons are shared: never destroyed.
HICON LoadIconResource(int id);
