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

  // Where the tiles of the right and the bottom edge begin.
  const int right = layout.client.width - kTileThickness;
  const int bottom = layout.client.height - kTileThickness;
  // The tiles of one picture, each placed by how far it lies along its edge and across it.
  const auto add = [&](int id, const std::vector<int>& along, int across, bool horizontal) {
    m_bitmaps.push_back(LoadBitmapResource(id));
    for (int at : along) {
      const TwipsPoint place = horizontal ? TwipsPoint{at, across} : TwipsPoint{across, at};
      form.AddPicture(place, m_bitmaps.back().Get());
    }
  };
  // Edges first, so that the corners lie above the tiles that reach into them.
  add(IDB_EDGE_TOP, layout.top, 0, true);
  add(IDB_EDGE_BOTTOM, layout.bottom, bottom, true);
  add(IDB_EDGE_LEFT, layout.left, 0, false);
  add(IDB_EDGE_RIGHT, layout.right, right, false);
  add(IDB_CORNER_TOP_LEFT, {0}, 0, true);
  add(IDB_CORNER_BOTTOM_LEFT, {0}, bottom, true);
  add(IDB_CORNER_BOTTOM_RIGHT, {right}, bottom, true);
  add(IDB_CORNER_TOP_RIGHT, {right}, 0, true);
}
