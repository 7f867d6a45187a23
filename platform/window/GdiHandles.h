#pragma once
// Owners of GDI objects and cursors: each handle is released exactly once, by the object that
// made it. Handles that the system shares (LoadCursor of a system cursor, stock objects) are used
// as plain handles and never put in an owner.
#include <windows.h>

#include <string>
#include <utility>

template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : m_handle(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }

  Handle Release() { return std::exchange(m_handle, nullptr); }
  void Reset(Handle handle = nullptr) {
    Handle old = std::exchange(m_handle, handle);
    if (old) Traits::Close(old);
  }

 private:
  Handle m_handle = nullptr;
};

struct GdiObjectTraits {
  static void Close(HGDIOBJ object) { DeleteObject(object); }
};
struct CursorTraits {
  static void Close(HCURSOR cursor) { DestroyCursor(cursor); }
};

using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits>;
// A cursor this program made (LoadImage without LR_SHARED, CreateCursor).
using UniqueCursor = UniqueHandle<HCURSOR, CursorTraits>;

// A memory device context compatible with the screen, for drawing bitmaps.
class MemoryDC {
 public:
  MemoryDC() : m_dc(CreateCompatibleDC(nullptr)) {}
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  ~MemoryDC() {
    if (m_dc) DeleteDC(m_dc);
  }
  HDC Get() const { return m_dc; }

 private:
  HDC m_dc;
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

// A font as a window's design gives it: face name and size in points.
struct FontDesign {
  std::string face = "MS Sans Serif";
  double points = 8.0;
  bool bold = false;
  bool underline = false;
};

// The screen's vertical resolution in dots per inch (96 at the design resolution).
int ScreenDpi();

// Character height in pixels of a font of this many points on the screen (9.75 pt at 96 DPI = 13).
int PointsToPixels(double points);

// Creates the font in the ANSI character set; a face the system lacks is replaced by its nearest.
UniqueFont CreateFontFromDesign(const FontDesign& design);

UniqueBrush CreateSolidBrushOwned(COLORREF color);

// Width and height of a bitmap in pixels; {0, 0} for none.
SIZE BitmapSize(HBITMAP bitmap);

// Draws the whole bitmap unscaled with its top-left corner at (x, y); the DC's clipping cuts it.
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y);
