// Resource ids of tessivane.exe, shared by tessivane.rc and the C++ code.
// Plain integer literals only: windres reads this file too.
#pragma once

// The program's icon: the lowest icon id, so Explorer shows it as the file's icon.
#define IDI_TESSIVANE 1

// The hand over the link labels, hot spot at the tip of the index finger (4, 0).
#define IDC_LINK_HAND 2

// The shared look of the main window and the scenario picker (8-bit bitmaps where that is
// smaller: the background and the edges; the corners 24-bit).
#define IDB_BACKGROUND 101
#define IDB_CORNER_TOP_LEFT 102
#define IDB_CORNER_BOTTOM_LEFT 103
#define IDB_CORNER_BOTTOM_RIGHT 104
#define IDB_CORNER_TOP_RIGHT 105
#define IDB_EDGE_TOP 106
#define IDB_EDGE_LEFT 107
#define IDB_EDGE_BOTTOM 108
#define IDB_EDGE_RIGHT 109

// The splash picture, a 300 x 200 JPEG kept as raw bytes (RT_RCDATA).
#define IDR_SPLASH_JPEG 201
