#pragma once
// Pictures, icons and cursors compiled into the program as resources.
#include <windows.h>

#include "platform/GdiHandles.h"

// A BITMAP resource; an empty owner when it is missing.
UniqueBitmap LoadBitmapResource(int id);

// A JPEG kept as an RCDATA resource, decoded to a bitmap; an empty owner when it is missing or
// cannot be decoded.
UniqueBitmap LoadJpegResource(int id);

// A CURSOR resource; nullptr when it is missing.
UniqueCursor LoadCursorResource(int id);

// An ICON resource at the system's large icon size. Resource icons are shared: never destroyed.
HICON LoadIconResource(int id);
