#include "platform/window/Resources.h"

#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/ComApartment.h"
#include "platform/window/DisplaySettings.h"
#include "platform/window/Twips.h"
#include "platform/window/WindowError.h"

namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

// A resource that the program cannot do without is missing or damaged.
[[noreturn]] void ThrowMissing(const char* kind, int id) {
  throw WindowError(std::string("The program's ") + kind + " resource " + std::to_string(id) +
                    " is missing or damaged.");
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
  return UniqueBitmap(
      static_cast<HBITMAP>(CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)),
                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// The cursor's picture with an alpha channel: opaque where its AND mask is clear, transparent
// (and black, as premultiplied) where it is set.
PixelImage CursorPixels(const ICONINFO& info) {
  PixelImage color = ReadPixels(info.hbmColor);
  const PixelImage mask = ReadPixels(info.hbmMask);
  if (color.pixels.empty() || mask.width != color.width || mask.height < color.height) return {};
  for (size_t i = 0; i < color.pixels.size(); ++i) {
    const bool transparent = (mask.pixels[i] & 0xFFFFFF) != 0;
    color.pixels[i] = transparent ? 0 : (color.pixels[i] | 0xFF000000u);
  }
  return color;
}

// A 32-bit cursor from premultiplied pixels: the system wants its colours straight.
UniqueCursor CursorFromPixels(PixelImage image, POINT hotSpot) {
  for (uint32_t& pixel : image.pixels) {
    const uint32_t alpha = pixel >> 24;
    if (alpha == 0 || alpha == 255) continue;
    uint32_t straight = pixel & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
      const uint32_t channel = (pixel >> shift) & 0xFF;
      straight |= std::min<uint32_t>(255, (channel * 255 + alpha / 2) / alpha) << shift;
    }
    pixel = straight;
  }
  UniqueBitmap color = BitmapFromPixels(image);
  // The AND mask, for where alpha is not used: set where nothing of the cursor shows.
  const int stride = ((image.width + 15) / 16) * 2;
  std::vector<BYTE> maskBits(static_cast<size_t>(stride) * image.height, 0);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if ((image.pixels[static_cast<size_t>(y) * image.width + x] >> 24) == 0) {
        maskBits[static_cast<size_t>(y) * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
      }
    }
  }
  UniqueBitmap mask(CreateBitmap(image.width, image.height, 1, 1, maskBits.data()));
  if (!color || !mask) return {};
  ICONINFO info{FALSE, static_cast<DWORD>(hotSpot.x), static_cast<DWORD>(hotSpot.y), mask.Get(),
                color.Get()};
  return UniqueCursor(CreateIconIndirect(&info));
}

UniqueCursor ScaleCursor(HCURSOR cursor, int dpi) {
  ICONINFO info{};
  if (!GetIconInfo(cursor, &info)) return {};
  UniqueBitmap color(info.hbmColor);
  UniqueBitmap mask(info.hbmMask);
  const PixelImage pixels = CursorPixels(info);
  if (pixels.pixels.empty()) return {};
  const PixelImage scaled =
      ScaleByArea(pixels, DesignPixelsAt(pixels.width, dpi), DesignPixelsAt(pixels.height, dpi));
  return CursorFromPixels(scaled, {DesignPixelsAt(static_cast<int>(info.xHotspot), dpi),
                                   DesignPixelsAt(static_cast<int>(info.yHotspot), dpi)});
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
  return Required(UniqueBitmap(static_cast<HBITMAP>(LoadImageResource(id, IMAGE_BITMAP))),
                  "picture", id);
}

UniqueBitmap LoadJpegResource(int id) { return Required(DecodeJpegResource(id), "picture", id); }

UniqueCursor LoadCursorResource(int id, int dpi) {
  UniqueCursor cursor = Required(
      UniqueCursor(static_cast<HCURSOR>(LoadImageResource(id, IMAGE_CURSOR))), "cursor", id);
  if (dpi == kDesignDpi) return cursor;
  // Where it cannot be scaled, the cursor at its own size still works.
  UniqueCursor scaled = ScaleCursor(cursor.Get(), dpi);
  return scaled ? std::move(scaled) : std::move(cursor);
}

WindowIcons LoadWindowIcons(int id, int dpi) {
  const auto load = [id](int size) {
    return Required(UniqueIcon(static_cast<HICON>(LoadImageA(
                        Module(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR))),
                    "icon", id);
  };
  return {load(SystemMetricAt(SM_CXICON, dpi)), load(SystemMetricAt(SM_CXSMICON, dpi))};
}
