#include "platform/window/Resources.h"

#include <ole2.h>
#include <olectl.h>

#include <string>

#include "platform/ComApartment.h"
#include "platform/SystemFunction.h"
#include "platform/window/Fonts.h"
#include "platform/window/Twips.h"
#include "platform/window/WindowError.h"

namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

UniqueBitmap DecodeJpegResource(int id) {
  HRSRC resource = FindResourceA(Module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /*RCDATA*/);
  const DWORD size = resource ? SizeofResource(Module(), resource) : 0;
  HGLOBAL loaded = resource ? LoadResource(Module(), resource) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return {};

  // The picture reads from a stream; this one holds a copy of the bytes in memory of its own.
  ComPtr<IStream> stream;
  ULONG written = 0;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Out())) ||
      FAILED(stream->Write(bytes, size, &written)) || written != size ||
      FAILED(stream->Seek({}, STREAM_SEEK_SET, nullptr))) {
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
  return UniqueBitmap(
      static_cast<HBITMAP>(CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)),
                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// A bitmap at its own size (0); an icon or a cursor at size x size, from the resource's image of
// that size or one that Windows stretched from the nearest, a cursor's hot spot moved with it.
HANDLE LoadImageResource(int id, UINT type, int size) {
  return LoadImageA(Module(), MAKEINTRESOURCEA(id), type, size, size, LR_DEFAULTCOLOR);
}

// A size of GetSystemMetrics (SM_CXICON, ...) as Windows gives it to a window at `dpi`.
int SystemMetricAt(int index, int dpi) {
  static const auto forDpi =
      SystemFunction<int(WINAPI*)(int, UINT)>("user32.dll", "GetSystemMetricsForDpi");
  return forDpi ? forDpi(index, static_cast<UINT>(dpi))
                : MulDiv(GetSystemMetrics(index), dpi, ScreenDpi());
}

// The owner of a loaded resource, or the error that the program cannot do without it.
template <typename Owner>
Owner Required(Owner owner, const char* kind, int id) {
  if (owner) return owner;
  throw WindowError(std::string("The program's ") + kind + " resource " + std::to_string(id) +
                    " is missing or damaged.");
}

}  // namespace

UniqueBitmap LoadBitmapResource(int id) {
  return Required(UniqueBitmap(static_cast<HBITMAP>(LoadImageResource(id, IMAGE_BITMAP, 0))),
                  "picture", id);
}

UniqueBitmap LoadJpegResource(int id) { return Required(DecodeJpegResource(id), "picture", id); }

UniqueCursor LoadCursorResource(int id, int dpi) {
  // The hand grows with the link it points at, as the pictures do: the system's cursor size at
  // 96 DPI scaled to `dpi` (Wine's own size for 120 DPI is still that of 96).
  const int size = DesignPixelsAt(SystemMetricAt(SM_CXCURSOR, kDesignDpi), dpi);
  return Required(UniqueCursor(static_cast<HCURSOR>(LoadImageResource(id, IMAGE_CURSOR, size))),
                  "cursor", id);
}

WindowIcons LoadWindowIcons(int id, int dpi) {
  const auto load = [id](int size) {
    return Required(UniqueIcon(static_cast<HICON>(LoadImageResource(id, IMAGE_ICON, size))), "icon",
                    id);
  };
  return {load(SystemMetricAt(SM_CXICON, dpi)), load(SystemMetricAt(SM_CXSMICON, dpi))};
}
