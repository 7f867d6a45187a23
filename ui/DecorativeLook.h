#pragma once
// The look that the main window and the scenario picker share: the parchment background, a frame
// of small gold tiles along the four edges of the client area, and sand-coloured buttons and lists.
#include <windows.h>

#include <vector>

#include "platform/window/Form.h"
#include "platform/window/GdiHandles.h"

inline constexpr COLORREF kSandColor = RGB(228, 205, 122);

// Where the edge tiles of one window lie along each edge, in twips from the client's corner (kept
// in ui/res/frame.json, with the client size). The tiles follow at a step of 480 twips (33-pixel
// tiles overlapping by one pixel); the last one or two sit closer so that the row reaches into the
// far corner tile.
struct FrameLayout {
  TwipsSize client;
  std::vector<int> top, bottom, left, right;
};

extern const FrameLayout kMainWindowFrame;
extern const FrameLayout kPickerFrame;

// The background and the frame of one window, loaded from the program's resources and given to
// the form as its picture and the pictures above it. It lives as long as its form object.
class DecorativeLook {
 public:
  DecorativeLook(Form& form, const FrameLayout& layout);
  DecorativeLook(const DecorativeLook&) = delete;
  DecorativeLook& operator=(const DecorativeLook&) = delete;

 private:
  UniqueBitmap m_background;
  std::vector<UniqueBitmap> m_bitmaps;
};
