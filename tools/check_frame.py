#!/usr/bin/env python3
"""Checks that the frame bitmaps in ui/res/ join without a seam in both framed windows.

    python3 tools/check_frame.py [--res DIR]

The band repeats every 4 pixels along an edge and every tile offset of both windows is a multiple
of 4 pixels, so in a composed window each column of the top and bottom bands (each row of the left
and right bands) must equal the edge tile's column (row) at that position modulo 4, from corner to
corner, whatever the overlaps. Prints one line per failed check; exits with 1 if there is any.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from preview_frame import WINDOWS, compose, read_bmp  # noqa: E402

BAND = 13
PERIOD = 4
ROPE = 9        # outer rim, rope and groove: the rows that run straight into a corner
SIZES = {
    "background": (431, 320),
    "corner_top_left": (13, 13), "corner_bottom_left": (13, 13),
    "corner_bottom_right": (13, 13), "corner_top_right": (13, 13),
    "edge_top": (33, 13), "edge_bottom": (33, 13), "edge_left": (13, 33), "edge_right": (13, 33),
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--res", default=os.path.join(here, "..", "ui", "res"))
    args = parser.parse_args()
    problems = []

    tiles = {}
    for name, size in SIZES.items():
        w, h, rows = read_bmp(os.path.join(args.res, name + ".bmp"))
        if (w, h) != size:
            problems.append("%s is %d x %d, not %d x %d" % (name, w, h, size[0], size[1]))
        tiles[name] = rows

    def column(rows, x):
        return [row[x] for row in rows]

    # Each edge tile repeats itself every PERIOD pixels along the edge.
    for name in ("edge_top", "edge_bottom"):
        rows = tiles[name]
        for x in range(33 - PERIOD):
            if column(rows, x) != column(rows, x + PERIOD):
                problems.append("%s: column %d differs from column %d" % (name, x, x + PERIOD))
    for name in ("edge_left", "edge_right"):
        rows = tiles[name]
        for y in range(33 - PERIOD):
            if rows[y] != rows[y + PERIOD]:
                problems.append("%s: row %d differs from row %d" % (name, y, y + PERIOD))

    # In each composed window (corners drawn last) the bands run on unbroken from corner to corner.
    for window, (size, offsets) in WINDOWS.items():
        for twips in offsets.values():
            for t in twips:
                if (t // 15) % PERIOD:
                    problems.append("%s: offset %d is off the %d-pixel pattern" % (window, t, PERIOD))
        w, h, pic = compose(args.res, size, offsets, edges_on_top=False)
        top, bottom = tiles["edge_top"], tiles["edge_bottom"]
        left, right = tiles["edge_left"], tiles["edge_right"]
        # Between the corners every band is the edge pattern, unbroken.
        for x in range(BAND, w - BAND):
            if [pic[y][x] for y in range(BAND)] != column(top, x % PERIOD):
                problems.append("%s: top band breaks at x %d" % (window, x))
            if [pic[h - BAND + y][x] for y in range(BAND)] != column(bottom, x % PERIOD):
                problems.append("%s: bottom band breaks at x %d" % (window, x))
        for y in range(BAND, h - BAND):
            if pic[y][:BAND] != left[y % PERIOD]:
                problems.append("%s: left band breaks at y %d" % (window, y))
            if pic[y][w - BAND:] != right[y % PERIOD]:
                problems.append("%s: right band breaks at y %d" % (window, y))
        # The rope (the outer ROPE rows of the band) runs on into the corner pieces, over the three
        # pixels before the groove round the corner boss; the beads and fillet turn the corner.
        for x in list(range(BAND - 3, BAND)) + list(range(w - BAND, w - BAND + 3)):
            if [pic[y][x] for y in range(ROPE)] != column(top, x % PERIOD)[:ROPE]:
                problems.append("%s: top corner join breaks at x %d" % (window, x))
            if [pic[h - 1 - y][x] for y in range(ROPE)] != column(bottom, x % PERIOD)[::-1][:ROPE]:
                problems.append("%s: bottom corner join breaks at x %d" % (window, x))
        for y in list(range(BAND - 3, BAND)) + list(range(h - BAND, h - BAND + 3)):
            if pic[y][:ROPE] != left[y % PERIOD][:ROPE]:
                problems.append("%s: left corner join breaks at y %d" % (window, y))
            if pic[y][w - ROPE:] != right[y % PERIOD][BAND - ROPE:]:
                problems.append("%s: right corner join breaks at y %d" % (window, y))

    for line in problems:
        print(line)
    print("frame joins: %s" % ("ok" if not problems else "%d problems" % len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
