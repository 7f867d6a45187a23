"""The gold frame of the windows, cut into corner pieces and edge tiles."""

import json
import math
import os

from art.pixels import Canvas

# The tile offsets of the two framed windows, as the program reads them too (ui/res/frame.json):
# per window ("main", "picker") the client size, then the offsets along the top, bottom, left and
# right edges, in twips (15 a pixel) from the client's corner.
LAYOUTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "ui", "res",
                       "frame.json")


def window_layouts(path=LAYOUTS):
    """{window: ((width, height), {"top": [...], "bottom": [...], "left": [...], "right": [...]})}"""
    with open(path, encoding="utf-8") as f:
        table = json.load(f)
    return {window: (tuple(parts["client"]),
                     {edge: parts[edge] for edge in ("top", "bottom", "left", "right")})
            for window, parts in table.items()}

# Frame: a gold rope band, a groove, a row of pearl beads and a gold fillet on the inner side.
#
# Every tile is cut from one imaginary framed window whose corners sit at multiples of 4 pixels,
# as the tiles of both real windows do, and the band's pattern repeats every 4 pixels along the
# edge. A tile therefore joins its neighbour, and an edge joins its corner, wherever the layout
# puts it (the regular step of 32 pixels and the shorter steps at the ends of a row alike).

BAND = 13
PERIOD = 4.0
FRAME_W = 301        # any size of 4k + 1 would do: a corner at 4k then ends the edge
FRAME_H = 225

GOLD = (198.0, 148.0, 58.0)
DARK = (66.0, 40.0, 16.0)
BEAD_GROUND = (96.0, 62.0, 24.0)
PEARL = (252.0, 238.0, 200.0)
FILLET = (184.0, 134.0, 50.0)
LIGHT = (-0.55, -0.62, 0.56)     # from the upper left, towards the viewer


def _norm(v):
    n = math.sqrt(sum(c * c for c in v))
    return tuple(c / n for c in v)


LIGHT_DIR = _norm(LIGHT)


def band_profile(d, t):
    """Height and material of the band at depth d (pixels in from the window's edge) and
    position t along the edge."""
    if d < 1.0:
        return 0.6, DARK, 1.0
    if d < 8.0:
        # A rope of twisted strands slanting across the band.
        u = (d - 4.5) / 3.5
        cyl = math.sqrt(max(0.0, 1.0 - u * u))
        s = ((t + (d - 4.5) * 0.9) % PERIOD) / PERIOD
        strand = math.sin(math.pi * s)
        height = 2.4 * cyl * (0.45 + 0.55 * strand ** 0.6)
        return height, GOLD, 0.55 + 0.45 * strand
    if d < 9.0:
        return 0.0, DARK, 1.0
    if d < 12.0:
        # Beads centred on pixel 2 of every 4 and on pixel 10 across the band: a window side of
        # 4k + 1 pixels then has a bead exactly 10.5 pixels in from both of its ends, where the
        # corner's own bead sits.
        tc = (t % PERIOD) - 2.5
        q = math.hypot(d - 10.5, tc)
        if q < 1.62:
            return math.sqrt(1.62 * 1.62 - q * q) * 1.1, PEARL, 1.0
        return 0.0, BEAD_GROUND, 1.0
    return 0.7, FILLET, 1.0


def corner_profile(a, b, ta, tb):
    """The corner piece seen from its own corner: a and b are the depths from the horizontal and
    the vertical outer edge, ta and tb the window coordinates along those edges (x and y), so that
    the band's pattern runs on from the edge tiles unchanged."""
    near = min(a, b)
    far = max(a, b)
    if far < 8.0:
        if near < 1.0:
            return 0.6, DARK, 1.0
        # A square gold boss with bevelled sides and a pearl dome in its middle.
        inset = min(a - 1.0, b - 1.0, 8.0 - a, 8.0 - b)
        plate = 0.9 + min(inset, 1.4) * 0.9
        q = math.hypot(a - 4.5, b - 4.5)
        if q < 2.1:
            return plate + math.sqrt(2.1 * 2.1 - q * q) * 1.2, PEARL, 1.0
        return plate, GOLD, 1.0
    if far < 9.0:
        return 0.0, DARK, 1.0
    # Mitred turn of the band: the nearer edge decides which band a point belongs to.
    if a <= b:
        return band_profile(a, ta)
    return band_profile(b, tb)


def frame_sample(x, y):
    """Height and material at a point of the imaginary framed window."""
    right = FRAME_W - x
    bottom = FRAME_H - y
    in_left = x < BAND
    in_right = right < BAND
    in_top = y < BAND
    in_bottom = bottom < BAND
    # Corner pieces are mirrored copies of one design, so the shading below (lit from the upper
    # left) gives each of them its own look.
    if (in_left or in_right) and (in_top or in_bottom):
        return corner_profile(y if in_top else bottom, x if in_left else right, x, y)
    if in_top:
        return band_profile(y, x)
    if in_bottom:
        return band_profile(bottom, x)
    if in_left:
        return band_profile(x, y)
    return band_profile(right, y)


def edge_sampler(side):
    """Sampling of one plain band, used for the edge tiles: near a corner it goes on as band
    instead of turning into the corner piece, as a tile does there."""
    if side == "top":
        return lambda x, y: band_profile(y, x)
    if side == "bottom":
        return lambda x, y: band_profile(FRAME_H - y, x)
    if side == "left":
        return lambda x, y: band_profile(x, y)
    return lambda x, y: band_profile(FRAME_W - x, y)


def shade_frame_pixel(px, py, sample):
    """The colour of one pixel, averaged over 4 x 4 samples, lit from the upper left."""
    total = [0.0, 0.0, 0.0]
    eps = 0.2
    n = 4
    # Half vector between the light and a viewer straight ahead.
    half = _norm((LIGHT_DIR[0], LIGHT_DIR[1], LIGHT_DIR[2] + 1.0))
    for sy in range(n):
        for sx in range(n):
            x = px + (sx + 0.5) / n
            y = py + (sy + 0.5) / n
            h, mat, occlusion = sample(x, y)
            hx = sample(x + eps, y)[0] - sample(x - eps, y)[0]
            hy = sample(x, y + eps)[0] - sample(x, y - eps)[0]
            normal = _norm((-hx / (2 * eps), -hy / (2 * eps), 1.0))
            lambert = max(0.0, sum(a * b for a, b in zip(normal, LIGHT_DIR)))
            specular = max(0.0, sum(a * b for a, b in zip(normal, half))) ** 24
            metal = 0.55 if mat in (GOLD, FILLET) else 0.35 if mat == PEARL else 0.0
            ambient = 0.62 if mat == PEARL else 0.42
            light = (ambient + 0.78 * lambert) * occlusion
            for i in range(3):
                total[i] += mat[i] * light + 255.0 * metal * specular
    return tuple(c / (n * n) for c in total)


def frame_tile(x0, y0, w, h, sample):
    canvas = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            canvas.set(x, y, shade_frame_pixel(x0 + x, y0 + y, sample))
    return canvas


def frame_tiles():
    far_x = FRAME_W - BAND
    far_y = FRAME_H - BAND
    long_side = 33
    return {
        "corner_top_left": frame_tile(0, 0, BAND, BAND, frame_sample),
        "corner_bottom_left": frame_tile(0, far_y, BAND, BAND, frame_sample),
        "corner_bottom_right": frame_tile(far_x, far_y, BAND, BAND, frame_sample),
        "corner_top_right": frame_tile(far_x, 0, BAND, BAND, frame_sample),
        # Edge tiles start 12 pixels in, a multiple of the pattern's period.
        "edge_top": frame_tile(12, 0, long_side, BAND, edge_sampler("top")),
        "edge_left": frame_tile(0, 12, BAND, long_side, edge_sampler("left")),
        "edge_bottom": frame_tile(12, far_y, long_side, BAND, edge_sampler("bottom")),
        "edge_right": frame_tile(far_x, 12, BAND, long_side, edge_sampler("right")),
    }
