#!/usr/bin/env python3
"""Draws every picture of Pelrith's Tessivane and writes them into ui/res/.

    python3 tools/make_art.py [--out DIR]

Everything is computed here from a fixed seed with the standard library only, so two runs give
the same bytes. The BMP, ICO and CUR files are written byte by byte; only the splash picture goes
through ImageMagick's `convert`, which turns the PPM drawn here into a baseline JPEG.

Pictures:
  background.bmp            431 x 320 parchment behind both framed windows
  corner_*.bmp, edge_*.bmp  the gold frame: four 13 x 13 corner pieces and four edge tiles
Each BMP is written with a palette of its own colours (8-bit) where that makes the file smaller,
as for the background's 213 colours and the edges' 48 or fewer; else in 24 bits.
  splash.jpg                300 x 200 start-up picture
  tessivane.ico             32 x 32, 16 colours, and the same at 16, 20, 24 and 48 (resized by
                            area averaging) and 256 (each pixel 8 x 8) in 32-bit colour as PNG,
                            for the title bar and taskbar at every DPI
  hand.cur                  32 x 32, 16 colours, pointing hand with its hot spot at (4, 0)
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from art.background import background  # noqa: E402
from art.frame import frame_tiles  # noqa: E402
from art.icon import CURSOR_PALETTE, ICON_PALETTE, cursor_pixels, icon_pixels  # noqa: E402
from art.pixels import (bmp, ico_or_cur, icon_image, png_rgba, rgba_from_indexes,  # noqa: E402
                        scale_rgba_by_area)
from art.splash import jpeg, splash  # noqa: E402


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "ui", "res"),
                        help="folder to write the pictures into (default: ui/res)")
    args = parser.parse_args()
    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)

    def write(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)

    write("background.bmp", bmp(background()))
    for name, tile in frame_tiles().items():
        write(name + ".bmp", bmp(tile))
    jpeg(splash(), os.path.join(out, "splash.jpg"))
    px, clear = icon_pixels()
    rgba = rgba_from_indexes(px, clear, ICON_PALETTE)
    # 256 is a whole factor, 8: area averaging gives each pixel as an 8 x 8 block.
    sizes = [(size, png_rgba(scale_rgba_by_area(rgba, size))) for size in (16, 20, 24, 48, 256)]
    write("tessivane.ico", ico_or_cur(icon_image(px, clear, ICON_PALETTE), 1, more=sizes))
    px, clear = cursor_pixels()
    write("hand.cur", ico_or_cur(icon_image(px, clear, CURSOR_PALETTE), 2, hotspot=(4, 0)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
