#include "platform/window/Resources.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/ComApartment.h"

namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (m_pointer) m_pointer->Release();
  }
  Interface** Out() { return &m_pointer; }
  Interface* operator->() const { return m_pointer; }
  explicit operator bool() const { return m_pointer != nullptr; }

 private:
  Interface* m_pointer = nullptr;
};

// A resource that the program cannot do without is missing or damaged.
[[noreturn]] void ThrowMissing(const char* kind, int id) {
  throw std::runtime_error(std::string("The program's ") + kind + " resource " +
                           std::to_string(id) + " is missing or damaged.");
}

UniqueBitmap DecodeJpegResource(int id) {
  HRSRC resource = FindResourceA(Module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /*RCDATA*/);
  if (!resource) return {};
  const DWORD size = SizeofResource(Module(), resource);
  HGLOBAL loaded = LoadResource(Module(), resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return {};

  // The picture reads from a stream, and the stream owns a movable copy of the bytes.
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!copy) return {};
  void* target = GlobalLock(copy);
  if (!target) {
    GlobalFree(copy);
    return {};
  }
  std::memcpy(target, bytes, size);
  GlobalUnlock(copy);

  ComApartment com;
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(copy, TRUE, stream.Out()))) {
    GlobalFree(copy);
    return {};
  }
  ComPtr<IPicture> picture;
  // __uuidof: the id comes from the header, not from libuuid's object of every interface id.
  if (FAILED(OleLoadPicture(stream.operator->(), static_cast<LONG>(size), FALSE, __uuidof(IPicture),
                            reinterpret_cast<void**>(picture.Out())))) {
    return {};
  }
  OLE_HANDLE handle = 0;
  if (FAILED(picture->get_Handle(&handle)) || !handle) return {};
  // The picture deletes its bitmap when it is released: keep a copy of our own.
  return UniqueBitmap(static_cast<HBITMAP>(CopyImage(reinterpret_cast<HBITMAP>(
                                                         static_cast<UINT_PTR>(handle)),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

HANDLE LoadImageResource(int id, UINT type) {
  return LoadImageA(Module(), MAKEINTRESOURCEA(id), type, 0, 0, LR_DEFAULTCOLOR);
}

// The owner of a loaded resource, or the error that it is missing.
template <typename Owner>
Owner Required(Owner owner, const char* kind, int id) {
  if (!owner) ThrowMissing(kind, id);
  return owner;
}

}  // namespace

UniqueBitmap LoadBitmapResource(int id) {
  return Required(UniqueBitmap(static_cast<HBITMAP>(LoadImageResource(id, IMAGE_BITMAP))), "picture",
                  id);
}

UniqueBitmap LoadJpegResource(int id) { return Required(DecodeJpegResource(id), "picture", id); }

UniqueCursor LoadCursorResource(int id) {
  return Required(UniqueCursor(static_cast<HCURSOR>(LoadImageResource(id, IMAGE_CURSOR))), "cursor",
                  id);
}

HICON LoadIconResource(int id) {
  HICON icon = LoadIconA(Module(), MAKEINTRESOURCEA(id));
  if (!icon) ThrowMissing("icon", id);
  return icon;
}
