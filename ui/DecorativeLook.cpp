#include "ui/DecorativeLook.h"

#include "platform/window/Resources.h"
// kMainWindowFrame and kPickerFrame, written by CMake from ui/res/frame.json, which the art tools
// read too.
#include "ui/FrameLayouts.h"
#include "ui/res/resource.h"

namespace {

// The tiles are 13 pixels thick.
constexpr int kTileThickness = 13 * kTwipsPerPixel;

}  // namespace

DecorativeLook::DecorativeLook(Form& form, const FrameLayout& layout)
    : m_background(LoadBitmapResource(IDB_BACKGROUND)) {
  form.SetPicture(m_background.Get(), PictureKind::Decoration);

  const int width = layout.client.width;
  const int height = layout.client.height;
  auto load = [this](int id) {
    m_bitmaps.push_back(LoadBitmapResource(id));
    return m_bitmaps.back().Get();
  };

  // Edges first, so that the corners lie above the tiles that reach into them.
  AddTiles(form, load(IDB_EDGE_TOP), layout.top, true, 0);
  AddTiles(form, load(IDB_EDGE_BOTTOM), layout.bottom, true, height - kTileThickness);
  AddTiles(form, load(IDB_EDGE_LEFT), layout.left, false, 0);
  AddTiles(form, load(IDB_EDGE_RIGHT), layout.right, false, width - kTileThickness);

  AddTile(form, load(IDB_CORNER_TOP_LEFT), {0, 0});
  AddTile(form, load(IDB_CORNER_BOTTOM_LEFT), {0, height - kTileThickness});
  AddTile(form, load(IDB_CORNER_BOTTOM_RIGHT), {width - kTileThickness, height - kTileThickness});
  AddTile(form, load(IDB_CORNER_TOP_RIGHT), {width - kTileThickness, 0});
}

void DecorativeLook::AddTiles(Form& form, HBITMAP bitmap, const std::vector<int>& offsets,
                              bool horizontal, int across) {
  for (int along : offsets) {
    AddTile(form, bitmap, horizontal ? TwipsPoint{along, across} : TwipsPoint{across, along});
  }
}

void DecorativeLook::AddTile(Form& form, HBITMAP bitmap, TwipsPoint position) {
  m_tiles.push_back(std::make_unique<Picture>(form, position, bitmap));
}
