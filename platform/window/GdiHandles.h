#pragma once
// Owners of GDI objects, cursors and device contexts, and drawing with them.
#include <windows.h>

#include "platform/UniqueHandle.h"

template <typename Object>
struct GdiObjectTraits : NullIsInvalid<Object> {
  static bool Close(Object object) { return DeleteObject(object) != 0; }
};
// Cursors too: an HCURSOR is an HICON, and DestroyIcon destroys either.
struct IconTraits : NullIsInvalid<HICON> {
  static bool Close(HICON icon) { return DestroyIcon(icon) != 0; }
};
struct DcTraits : NullIsInvalid<HDC> {
  static bool Close(HDC dc) { return DeleteDC(dc) != 0; }
};

template <typename Object>
using UniqueGdiObject = UniqueHandle<Object, GdiObjectTraits<Object>>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniqueFont = UniqueGdiObject<HFONT>;
// An icon or cursor this program made or loaded at a size of its own (LoadImage without
// LR_SHARED).
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueCursor = UniqueIcon;

// A memory device context compatible with the screen, for drawing bitmaps.
struct MemoryDC : UniqueHandle<HDC, DcTraits> {
  MemoryDC() : UniqueHandle(CreateCompatibleDC(nullptr)) {}
};

// Selects an object into a device context for the lifetime of this scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (m_previous) SelectObject(m_dc, m_previous);
  }

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

// One WM_PAINT's BeginPaint and EndPaint: the window is validated however its painting ends, so a
// paint that throws is not asked for again at once and forever.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : m_hwnd(hwnd), m_dc(BeginPaint(hwnd, &m_paint)) {}
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(m_hwnd, &m_paint); }
  HDC Get() const { return m_dc; }

 private:
  HWND m_hwnd;
  PAINTSTRUCT m_paint{};
  HDC m_dc;
};

// Width and height of a bitmap in pixels; {0, 0} for none.
SIZE BitmapSize(HBITMAP bitmap);

// Draws the whole bitmap into the rectangle `to`; the DC's clipping cuts it. Enlarged by a whole
// factor, every pixel becomes a block of equal pixels, so pixel art stays crisp; at any other size
// GDI's halftone averaging blends neighbouring pixels rather than doubling some rows and not
// others.
void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& to);

// A copy of the bitmap drawn at width x height, compatible with the screen. Halftone averaging
// depends on where the drawing starts: a picture that is drawn in parts (under a transparent
// label as under the form) is scaled once and copied, so that the parts meet without a seam.
UniqueBitmap ScaleBitmap(HBITMAP bitmap, int width, int height);
