#!/usr/bin/env python3
"""Composes the client areas of the main window and the scenario picker from the bitmaps in
ui/res/ (background, edge tiles, corner pieces at the windows' own tile offsets) and writes them
as PPM pictures, to look at the frame's joins without building the program.

    python3 tools/preview_frame.py OUT_DIR [--edges-on-top]

By default the corners are drawn last, as the program draws them; --edges-on-top shows what
the other order would look like.
"""

import argparse
import os
import struct
import sys

TWIPS_PER_PIXEL = 15

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from art.frame import window_layouts  # noqa: E402

WINDOWS = window_layouts()


def read_bmp(path):
    """(width, height, rows of (r, g, b)) of a bottom-up BMP: 24-bit, or 8-bit with a palette."""
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    info_size = struct.unpack_from("<I", data, 14)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits, compression = struct.unpack_from("<HI", data, 28)
    if bits not in (8, 24) or compression != 0 or height <= 0:
        raise ValueError(path + ": not a bottom-up, uncompressed 8- or 24-bit BMP")
    if bits == 8:
        count = struct.unpack_from("<I", data, 46)[0] or 256
        base = 14 + info_size
        palette = [(data[base + 4 * i + 2], data[base + 4 * i + 1], data[base + 4 * i])
                   for i in range(count)]
    stride = (width * bits // 8 + 3) & ~3
    rows = []
    for y in range(height):
        base = offset + (height - 1 - y) * stride
        if bits == 8:
            rows.append([palette[data[base + x]] for x in range(width)])
        else:
            rows.append([(data[base + 3 * x + 2], data[base + 3 * x + 1], data[base + 3 * x])
                         for x in range(width)])
    return width, height, rows


def compose(res, size_twips, offsets, edges_on_top):
    w, h = (v // TWIPS_PER_PIXEL for v in size_twips)
    bw, bh, back = read_bmp(os.path.join(res, "background.bmp"))
    pic = [[back[y][x] for x in range(w)] for y in range(h)]

    def paste(name, x0, y0):
        tw, th, rows = read_bmp(os.path.join(res, name + ".bmp"))
        for y in range(th):
            for x in range(tw):
                if 0 <= y0 + y < h and 0 <= x0 + x < w:
                    pic[y0 + y][x0 + x] = rows[y][x]

    def edges():
        for t in offsets["top"]:
            paste("edge_top", t // TWIPS_PER_PIXEL, 0)
        for t in offsets["bottom"]:
            paste("edge_bottom", t // TWIPS_PER_PIXEL, h - 13)
        for t in offsets["left"]:
            paste("edge_left", 0, t // TWIPS_PER_PIXEL)
        for t in offsets["right"]:
            paste("edge_right", w - 13, t // TWIPS_PER_PIXEL)

    def corners():
        paste("corner_top_left", 0, 0)
        paste("corner_bottom_left", 0, h - 13)
        paste("corner_bottom_right", w - 13, h - 13)
        paste("corner_top_right", w - 13, 0)

    if edges_on_top:
        corners()
        edges()
    else:
        edges()
        corners()
    return w, h, pic


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--res", default=os.path.join(here, "..", "ui", "res"))
    parser.add_argument("--edges-on-top", action="store_true")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for name, (size, offsets) in WINDOWS.items():
        w, h, pic = compose(args.res, size, offsets, args.edges_on_top)
        with open(os.path.join(args.out, name + ".ppm"), "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (w, h))
            f.write(bytes(c for row in pic for p in row for c in p))
    return 0


if __name__ == "__main__":
    sys.exit(main())
