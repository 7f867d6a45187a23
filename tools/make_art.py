#!/usr/bin/env python3
"""Draws every picture of Pelrith's Tessivane and writes them into ui/res/.

    python3 tools/make_art.py [--out DIR]

Everything is computed here from a fixed seed with the standard library only, so two runs give
the same bytes. The BMP, ICO and CUR files are written byte by byte; only the splash picture goes
through ImageMagick's `convert`, which turns the PPM drawn here into a baseline JPEG.

Pictures:
  background.bmp            431 x 320 parchment behind both framed windows
  corner_*.bmp, edge_*.bmp  the gold frame: four 13 x 13 corner pieces and four edge tiles
  splash.jpg                300 x 200 start-up picture
  tessivane.ico             32 x 32, 16 colours
  hand.cur                  32 x 32, 16 colours, pointing hand with its hot spot at (4, 0)
"""

import argparse
import math
import os
import struct
import subprocess
import sys
import tempfile

SEED = 0x7E55


# ---------------------------------------------------------------------------------------------
# Pixels, blending and noise

class Canvas:
    """An RGB picture of floats (0..255), row 0 at the top."""

    def __init__(self, width, height, colour=(0.0, 0.0, 0.0)):
        self.width = width
        self.height = height
        self.px = [list(colour) for _ in range(width * height)]

    def get(self, x, y):
        return self.px[y * self.width + x]

    def set(self, x, y, colour):
        self.px[y * self.width + x] = list(colour)

    def blend(self, x, y, colour, alpha):
        if alpha <= 0.0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        alpha = min(alpha, 1.0)
        p = self.px[y * self.width + x]
        for i in range(3):
            p[i] += (colour[i] - p[i]) * alpha

    def rows_bytes(self, bottom_up, bgr, pad):
        """The pixels as 8-bit rows, optionally bottom-up, BGR and padded to 4 bytes."""
        out = bytearray()
        order = range(self.height - 1, -1, -1) if bottom_up else range(self.height)
        for y in order:
            row = bytearray()
            for x in range(self.width):
                r, g, b = (to_byte(v) for v in self.get(x, y))
                row += bytes((b, g, r)) if bgr else bytes((r, g, b))
            if pad:
                row += b"\0" * (-len(row) % 4)
            out += row
        return bytes(out)


def to_byte(v):
    return max(0, min(255, int(math.floor(v + 0.5))))


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(lerp(a, b, t) for a, b in zip(c1, c2))


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def smoothstep(e0, e1, v):
    t = clamp01((v - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def gradient(stops, v):
    """Colour at v along [(position, colour), ...] sorted by position."""
    if v <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if v <= p1:
            return mix(c0, c1, (v - p0) / (p1 - p0))
    return stops[-1][1]


def hash01(x, y, seed):
    """A fixed integer hash of a lattice point, in [0, 1)."""
    n = (x * 374761393 + y * 668265263 + seed * 2246822519) & 0xFFFFFFFF
    n = ((n ^ (n >> 13)) * 1274126177) & 0xFFFFFFFF
    n ^= n >> 16
    return n / 4294967296.0


def value_noise(x, y, seed, period_x=0, period_y=0):
    """Smooth noise in [0, 1); with periods it tiles at those lattice counts."""
    x0 = math.floor(x)
    y0 = math.floor(y)
    fx = x - x0
    fy = y - y0
    sx = fx * fx * (3 - 2 * fx)
    sy = fy * fy * (3 - 2 * fy)

    def at(ix, iy):
        if period_x:
            ix %= period_x
        if period_y:
            iy %= period_y
        return hash01(ix, iy, seed)

    top = lerp(at(x0, y0), at(x0 + 1, y0), sx)
    bottom = lerp(at(x0, y0 + 1), at(x0 + 1, y0 + 1), sx)
    return lerp(top, bottom, sy)


def fbm(x, y, seed, octaves):
    total = 0.0
    weight = 0.5
    norm = 0.0
    for i in range(octaves):
        total += value_noise(x, y, seed + i * 101) * weight
        norm += weight
        x *= 2.03
        y *= 2.03
        weight *= 0.5
    return total / norm


# ---------------------------------------------------------------------------------------------
# File formats

def bmp24(canvas):
    """A bottom-up 24-bit BMP with BITMAPINFOHEADER."""
    pixels = canvas.rows_bytes(bottom_up=True, bgr=True, pad=True)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(pixels),
                       2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def ppm(canvas):
    head = b"P6\n%d %d\n255\n" % (canvas.width, canvas.height)
    return head + canvas.rows_bytes(bottom_up=False, bgr=False, pad=False)


def icon_image(indexes, transparent, palette):
    """One 32 x 32, 4-bit image of an icon or cursor: BITMAPINFOHEADER (double height for the
    colour and mask planes), 16 palette entries, the colour plane, then the 1-bit AND mask in which
    a set bit lets the screen show through."""
    size = 32
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    xor = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = indexes[y]
        for x in range(0, size, 2):
            hi = 0 if transparent[y][x] else row[x]
            lo = 0 if transparent[y][x + 1] else row[x + 1]
            xor.append((hi << 4) | lo)
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if transparent[y][x] else 0)
        mask += struct.pack(">I", bits)
    return info + pal + bytes(xor) + bytes(mask)


def ico_or_cur(image, kind, hotspot=(0, 0)):
    """An .ico (kind 1) or .cur (kind 2) file holding one 32 x 32, 16-colour image."""
    header = struct.pack("<HHH", 0, kind, 1)
    if kind == 1:
        planes, bits = 1, 4
    else:
        planes, bits = hotspot
    entry = struct.pack("<BBBBHHII", 32, 32, 16, 0, planes, bits, len(image), 6 + 16)
    return header + entry + image


# ---------------------------------------------------------------------------------------------
# Background: light parchment with a faint lattice of small rosettes

BACKGROUND_SIZE = (431, 320)


def background():
    w, h = BACKGROUND_SIZE
    canvas = Canvas(w, h)
    paper = (242.0, 232.0, 201.0)
    shade = (222.0, 204.0, 160.0)
    ink = (196.0, 170.0, 118.0)
    cell = 40.0
    for y in range(h):
        for x in range(w):
            # Broad clouds of ageing, then long fibres, then grain.
            cloud = fbm(x / 70.0, y / 70.0, SEED, 4)
            blotch = smoothstep(0.35, 0.75, cloud) * 0.38
            fibre = value_noise(x / 23.0, y / 1.7, SEED + 7) - 0.5
            grain = hash01(x, y, SEED + 13) - 0.5
            colour = mix(paper, shade, blotch)
            lift = fibre * 3.2 + grain * 3.0
            colour = tuple(c + lift for c in colour)

            # The motif: a diamond lattice of fine lines with a four-petal rosette in each cell.
            u = (x + 0.5) / cell
            v = (y + 0.5) / cell
            fu = u - math.floor(u) - 0.5
            fv = v - math.floor(v) - 0.5
            diamond = abs(abs(fu) + abs(fv) - 0.5) * cell
            line = 1.0 - smoothstep(0.25, 0.95, diamond)
            r = math.hypot(fu, fv) * cell
            ang = math.atan2(fv, fu)
            petal = 3.2 + 1.4 * math.cos(4 * ang)
            rosette = 1.0 - smoothstep(petal - 0.6, petal + 0.6, r)
            hole = 1.0 - smoothstep(0.6, 1.4, r)
            motif = max(line * 0.16, rosette * 0.20 - hole * 0.12)
            colour = mix(colour, ink, motif)
            canvas.set(x, y, colour)
    return canvas


# ---------------------------------------------------------------------------------------------
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


# ---------------------------------------------------------------------------------------------
# Lettering: Roman capitals drawn with strokes of varying width, cap height 10 units

THICK, THIN, MID, AUTO = "thick", "thin", "mid", "auto"


def arc(cx, cy, rx, ry, a0, a1, steps=14):
    """Points of an elliptic arc, angles in degrees counted anticlockwise with y up."""
    pts = []
    for i in range(steps + 1):
        a = math.radians(a0 + (a1 - a0) * i / steps)
        pts.append((cx + rx * math.cos(a), cy - ry * math.sin(a)))
    return pts


def _bowl(stem_x, right, bottom):
    """The bowl of P and R: top bar, a half ellipse, the bar back to the stem."""
    cy = bottom / 2.0
    return [
        ([(stem_x, 0.0), (right - cy * 0.9, 0.0)], MID),
        (arc(right - cy * 0.9, cy, cy * 0.9 + 0.2, cy, 90, -90), AUTO),
        ([(right - cy * 0.9, bottom), (stem_x, bottom)], MID),
    ]


GLYPHS = {
    " ": (3.6, []),
    "'": (2.2, [([(1.3, 0.0), (1.1, 1.3)], THICK), ([(1.1, 1.3), (0.7, 2.9)], MID)]),
    "A": (8.0, [([(0.8, 10.0), (4.0, 0.0)], THIN), ([(4.0, 0.0), (7.2, 10.0)], THICK),
                ([(2.0, 6.6), (6.0, 6.6)], MID),
                ([(-0.3, 10.0), (2.0, 10.0)], THIN), ([(6.0, 10.0), (8.4, 10.0)], THIN)]),
    "E": (6.8, [([(1.2, 0.0), (1.2, 10.0)], THICK),
                ([(0.0, 0.0), (6.0, 0.0)], MID), ([(6.0, 0.0), (6.2, 1.9)], THIN),
                ([(1.2, 5.0), (4.8, 5.0)], MID), ([(4.8, 4.1), (4.8, 5.9)], THIN),
                ([(0.0, 10.0), (6.4, 10.0)], MID), ([(6.4, 10.0), (6.6, 7.8)], THIN)]),
    "H": (8.4, [([(1.2, 0.0), (1.2, 10.0)], THICK), ([(7.2, 0.0), (7.2, 10.0)], THICK),
                ([(1.2, 5.0), (7.2, 5.0)], MID),
                ([(0.0, 0.0), (2.4, 0.0)], THIN), ([(6.0, 0.0), (8.4, 0.0)], THIN),
                ([(0.0, 10.0), (2.4, 10.0)], THIN), ([(6.0, 10.0), (8.4, 10.0)], THIN)]),
    "I": (3.2, [([(1.6, 0.0), (1.6, 10.0)], THICK),
                ([(0.2, 0.0), (3.0, 0.0)], THIN), ([(0.2, 10.0), (3.0, 10.0)], THIN)]),
    "L": (6.4, [([(1.2, 0.0), (1.2, 10.0)], THICK), ([(0.0, 0.0), (2.6, 0.0)], THIN),
                ([(0.0, 10.0), (6.2, 10.0)], MID), ([(6.2, 10.0), (6.4, 7.8)], THIN)]),
    "N": (8.4, [([(1.2, 0.0), (1.2, 10.0)], THIN), ([(7.2, 0.0), (7.2, 10.0)], THIN),
                ([(1.2, 0.0), (7.2, 10.0)], THICK),
                ([(0.0, 0.0), (1.4, 0.0)], THIN), ([(0.0, 10.0), (2.4, 10.0)], THIN),
                ([(6.0, 0.0), (8.4, 0.0)], THIN)]),
    "P": (7.4, [([(1.2, 0.0), (1.2, 10.0)], THICK), ([(0.0, 0.0), (1.2, 0.0)], THIN),
                ([(0.0, 10.0), (2.6, 10.0)], THIN)] + _bowl(1.2, 7.0, 5.4)),
    "R": (7.8, [([(1.2, 0.0), (1.2, 10.0)], THICK), ([(0.0, 0.0), (1.2, 0.0)], THIN),
                ([(0.0, 10.0), (2.6, 10.0)], THIN)] + _bowl(1.2, 6.8, 5.2)
         + [([(3.8, 5.2), (6.6, 10.0)], THICK), ([(5.8, 10.0), (7.8, 10.0)], THIN)]),
    "S": (6.2, [(arc(3.1, 2.6, 2.7, 2.6, 28, 270, 20), AUTO),
                (arc(3.1, 7.3, 2.9, 2.7, 90, -152, 22), AUTO),
                ([(5.6, 0.2), (5.6, 2.0)], THIN), ([(0.45, 7.9), (0.45, 9.8)], THIN)]),
    "T": (7.4, [([(0.0, 0.0), (7.4, 0.0)], MID), ([(0.0, 0.0), (0.0, 1.9)], THIN),
                ([(7.4, 0.0), (7.4, 1.9)], THIN), ([(3.7, 0.0), (3.7, 10.0)], THICK),
                ([(2.3, 10.0), (5.1, 10.0)], THIN)]),
    "V": (8.0, [([(0.8, 0.0), (4.0, 10.0)], THICK), ([(4.0, 10.0), (7.2, 0.0)], THIN),
                ([(-0.4, 0.0), (2.2, 0.0)], THIN), ([(6.2, 0.0), (8.4, 0.0)], THIN)]),
}


def stroke_width(mode, dx, dy, weight):
    thick, thin = weight
    if mode == THICK:
        return thick
    if mode == THIN:
        return thin
    if mode == MID:
        return thin + (thick - thin) * 0.3
    # A broad nib held at 20 degrees: strokes across the nib are thick, along it thin.
    angle = math.atan2(-dy, dx) - math.radians(20.0)
    return thin + (thick - thin) * abs(math.sin(angle)) ** 1.5


def text_segments(text, x0, y0, scale, tracking, weight):
    """Capsules (ax, ay, bx, by, half width) of a line of capitals, in pixels."""
    segments = []
    pen = 0.0
    for ch in text:
        advance, strokes = GLYPHS[ch]
        for pts, mode in strokes:
            for (ax, ay), (bx, by) in zip(pts, pts[1:]):
                half = stroke_width(mode, bx - ax, by - ay, weight) * scale / 2.0
                segments.append((x0 + (pen + ax) * scale, y0 + ay * scale,
                                 x0 + (pen + bx) * scale, y0 + by * scale, half))
        pen += advance + tracking
    return segments, (pen - tracking) * scale


def text_width(text, scale, tracking, weight):
    return text_segments(text, 0.0, 0.0, scale, tracking, weight)[1]


def coverage(segments, width, height, n=4):
    """Anti-aliased coverage map of the capsules on a width x height grid."""
    cov = [[0.0] * width for _ in range(height)]
    for ax, ay, bx, by, half in segments:
        minx = max(0, int(math.floor(min(ax, bx) - half - 1)))
        maxx = min(width - 1, int(math.ceil(max(ax, bx) + half + 1)))
        miny = max(0, int(math.floor(min(ay, by) - half - 1)))
        maxy = min(height - 1, int(math.ceil(max(ay, by) + half + 1)))
        dx = bx - ax
        dy = by - ay
        length2 = dx * dx + dy * dy or 1e-9
        for py in range(miny, maxy + 1):
            for px in range(minx, maxx + 1):
                if cov[py][px] >= 1.0:
                    continue
                hits = 0
                for sy in range(n):
                    for sx in range(n):
                        x = px + (sx + 0.5) / n
                        y = py + (sy + 0.5) / n
                        t = clamp01(((x - ax) * dx + (y - ay) * dy) / length2)
                        ex = ax + dx * t - x
                        ey = ay + dy * t - y
                        if ex * ex + ey * ey <= half * half:
                            hits += 1
                cov[py][px] = max(cov[py][px], hits / (n * n))
    return cov


def union_coverage(maps):
    height = len(maps[0])
    width = len(maps[0][0])
    return [[min(1.0, max(m[y][x] for m in maps)) for x in range(width)] for y in range(height)]


# ---------------------------------------------------------------------------------------------
# Splash: a temple on a headland against a sunset sea, the title in gold, a dark plinth below

SPLASH_SIZE = (300, 200)
HORIZON = 118
PLINTH = 176
SUN = (214.0, 116.0, 12.0)


def sky_colour(x, y):
    stops = [(0, (18.0, 22.0, 58.0)), (40, (48.0, 44.0, 102.0)), (78, (138.0, 82.0, 122.0)),
             (102, (226.0, 138.0, 102.0)), (HORIZON, (252.0, 198.0, 132.0))]
    colour = gradient(stops, y)
    # The glow round the sun.
    r = math.hypot(x - SUN[0], (y - SUN[1]) * 1.6)
    glow = math.exp(-r / 34.0) * 0.75
    colour = mix(colour, (255.0, 214.0, 150.0), glow)
    # Thin bands of cloud lit from below.
    if 58 < y < HORIZON - 4:
        band = value_noise(x / 46.0, y / 3.2, SEED + 31)
        wisp = smoothstep(0.58, 0.82, band) * smoothstep(58, 80, y) * 0.55
        lit = mix((120.0, 70.0, 110.0), (255.0, 170.0, 120.0), smoothstep(80, 112, y))
        colour = mix(colour, lit, wisp)
    # A few stars high up.
    if y < 56 and hash01(int(x), int(y), SEED + 41) > 0.9965:
        colour = mix(colour, (255.0, 250.0, 230.0), 0.55 * (1 - y / 56.0))
    return colour


def sea_colour(x, y):
    depth = (y - HORIZON) / float(PLINTH - HORIZON)
    stops = [(0.0, (186.0, 124.0, 116.0)), (0.18, (92.0, 72.0, 108.0)),
             (0.55, (34.0, 40.0, 78.0)), (1.0, (14.0, 20.0, 44.0))]
    colour = gradient(stops, depth)
    wave = value_noise(x / (9.0 + depth * 26.0), (y - HORIZON) / 1.2, SEED + 51)
    colour = mix(colour, (255.0, 190.0, 140.0), smoothstep(0.62, 0.9, wave) * 0.25 * (1 - depth))
    colour = mix(colour, (8.0, 10.0, 26.0), smoothstep(0.55, 0.1, wave) * 0.18)
    # The sun's road across the water: broken streaks widening towards the viewer.
    half_width = 6.0 + depth * 26.0
    off = abs(x - SUN[0]) / half_width
    if off < 1.0:
        sparkle = value_noise(x / 2.5, (y - HORIZON) / 0.9, SEED + 61)
        strength = (1.0 - off * off) * smoothstep(0.45, 0.8, sparkle) * (1.0 - depth * 0.55)
        colour = mix(colour, (255.0, 226.0, 170.0), strength)
    return colour


def headland_top(x):
    """Upper edge of the headland on the left, in pixels from the top."""
    rough = (value_noise(x / 7.0, 0.5, SEED + 71) - 0.5) * 2.4
    if x < 118:
        return 100.0 + rough * 0.5
    return 100.0 + ((x - 118) / 44.0) ** 1.6 * 24.0 + rough


def temple_mask(x, y):
    """Coverage of the temple silhouette at pixel centre (x, y): steps, eight columns,
    entablature and pediment."""
    def box(x0, y0, x1, y1):
        return x0 <= x < x1 and y0 <= y < y1

    if box(20, 96, 108, 100) or box(23, 93, 105, 96) or box(26, 90, 102, 93):
        return True
    for i in range(8):
        cx = 30 + i * 9.6
        if box(cx, 71, cx + 4.4, 90):
            return True
        if box(cx - 0.8, 69, cx + 5.2, 71):          # capital
            return True
    if box(26, 61, 102, 69):                          # architrave and frieze
        return True
    if box(24, 59, 104, 61):                          # cornice
        return True
    # Pediment: a low triangle on the cornice.
    if 44 <= y < 59:
        half = (y - 44.0) / 15.0 * 40.0
        return abs(x - 64.0) <= half
    return False


def draw_scene(canvas):
    w, _ = SPLASH_SIZE
    for y in range(PLINTH):
        for x in range(w):
            if y < HORIZON:
                colour = sky_colour(x + 0.5, y + 0.5)
                r = math.hypot(x + 0.5 - SUN[0], y + 0.5 - SUN[1])
                disc = clamp01(SUN[2] - r + 0.5)
                if disc > 0:
                    core = mix((255.0, 246.0, 210.0), (255.0, 196.0, 120.0), clamp01(r / SUN[2]))
                    colour = mix(colour, core, disc)
                # A low island far off on the right.
                island = HORIZON - 1.5 - 5.0 * math.exp(-((x - 262.0) / 22.0) ** 2) \
                    - (value_noise(x / 5.0, 0.5, SEED + 81) - 0.5) * 1.2
                if y + 0.5 > island:
                    colour = mix(colour, (118.0, 70.0, 98.0), 0.9)
            else:
                colour = sea_colour(x + 0.5, y + 0.5)
            canvas.set(x, y, colour)

    # Headland and temple, dark against the light, with a warm rim where the sun catches them.
    land = (26.0, 18.0, 34.0)
    for x in range(w):
        top = headland_top(x + 0.5)
        for y in range(int(top) - 1, PLINTH):
            cover = clamp01(y + 1 - top)
            if cover > 0:
                # Faint ledges of rock, lighter towards the sunlit slope on the right.
                ledge = value_noise(x / 16.0 + y / 40.0, y / 3.0, SEED + 91)
                rock = mix(land, (52.0, 34.0, 56.0),
                           smoothstep(0.5, 0.9, ledge) * (0.35 + 0.5 * smoothstep(40, 150, x)))
                rim = 1.0 - smoothstep(0.0, 2.5, y + 0.5 - top)
                colour = mix(rock, (150.0, 84.0, 70.0), rim * 0.6 * smoothstep(60, 150, x))
                canvas.blend(x, y, colour, cover)
    for y in range(40, 101):
        for x in range(16, 112):
            hits = 0
            for sy in range(3):
                for sx in range(3):
                    if temple_mask(x + (sx + 0.5) / 3, y + (sy + 0.5) / 3):
                        hits += 1
            if hits:
                canvas.blend(x, y, land, hits / 9.0)
    # A rim of sunlight along the right-hand edges of the columns and the roof.
    for y in range(40, 101):
        for x in range(16, 112):
            here = temple_mask(x + 0.5, y + 0.5)
            right = temple_mask(x + 1.5, y + 0.5)
            if here and not right:
                canvas.blend(x, y, (196.0, 120.0, 84.0), 0.55)

    # Birds: two small arcs.
    for bx, by, size in ((168.0, 78.0, 3.0), (178.0, 72.0, 2.4), (158.0, 70.0, 2.0)):
        for i in range(-8, 9):
            t = i / 8.0
            px = bx + t * size * 1.6
            py = by - abs(t) ** 0.7 * size * 0.8
            canvas.blend(int(px), int(py), (40.0, 28.0, 48.0), 0.7)


def draw_plinth(canvas):
    w, h = SPLASH_SIZE
    for y in range(PLINTH, h):
        for x in range(w):
            t = (y - PLINTH) / float(h - PLINTH)
            colour = mix((30.0, 24.0, 38.0), (14.0, 12.0, 22.0), t)
            canvas.set(x, y, colour)
    # A gold moulding along its top edge.
    for x in range(w):
        canvas.set(x, PLINTH, (214.0, 168.0, 78.0))
        canvas.set(x, PLINTH + 1, (92.0, 62.0, 26.0))
    # A faint meander on the left part, well away from the link text on the right.
    gold = (120.0, 92.0, 46.0)
    pattern = [
        "#######.",
        "#.....#.",
        "#.###.#.",
        "#.#...#.",
        "#.#####.",
        "#.......",
        "########",
    ]
    top = PLINTH + 8
    for x in range(10, 130):
        for row, line in enumerate(pattern):
            if line[(x - 10) % 8] == "#":
                canvas.blend(x, top + row, gold, 0.55)


def draw_border(canvas):
    w, h = SPLASH_SIZE
    outer = (50.0, 32.0, 14.0)
    gold = (200.0, 154.0, 64.0)
    for x in range(w):
        for y in (0, h - 1):
            canvas.set(x, y, outer)
        for y in (1, h - 2):
            canvas.set(x, y, gold)
    for y in range(h):
        for x in (0, w - 1):
            canvas.set(x, y, outer)
        for x in (1, w - 2):
            if 0 < y < h - 1:
                canvas.set(x, y, gold)
    # A thin inner line round the picture above the plinth.
    inner = (170.0, 126.0, 52.0)
    for x in range(4, w - 4):
        canvas.blend(x, 4, inner, 0.6)
    for y in range(4, PLINTH - 3):
        canvas.blend(4, y, inner, 0.6)
        canvas.blend(w - 5, y, inner, 0.6)
    for x in range(4, w - 4):
        canvas.blend(x, PLINTH - 3, inner, 0.6)


def draw_title(canvas, text, top, scale, tracking, weight):
    w, h = SPLASH_SIZE
    width = text_width(text, scale, tracking, weight)
    left = (w - width) / 2.0
    segments, _ = text_segments(text, left, top, scale, tracking, weight)
    cov = coverage(segments, w, h)
    cap = 10.0 * scale
    # Soft dark shadow below and right, then a dark edge, then the gold.
    shadow = [[0.0] * w for _ in range(h)]
    edge = [[0.0] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            best = 0.0
            around = 0.0
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    yy, xx = y + dy, x + dx
                    if 0 <= yy < h and 0 <= xx < w:
                        c = cov[yy][xx] * (1.0 if dx == 0 or dy == 0 else 0.7)
                        best = max(best, c)
                    yy, xx = y - 1 + dy, x - 1 + dx
                    if 0 <= yy < h and 0 <= xx < w:
                        around += cov[yy][xx]
            edge[y][x] = best
            shadow[y][x] = around / 9.0
    for y in range(h):
        for x in range(w):
            canvas.blend(x, y, (6.0, 4.0, 14.0), shadow[y][x] * 0.8)
            canvas.blend(x, y, (48.0, 26.0, 8.0), edge[y][x] * 0.95)
            if cov[y][x] > 0:
                v = clamp01((y + 0.5 - top) / cap)
                gold = gradient([(0.0, (255.0, 244.0, 190.0)), (0.35, (246.0, 204.0, 104.0)),
                                 (0.7, (214.0, 150.0, 54.0)), (1.0, (168.0, 104.0, 34.0))], v)
                canvas.blend(x, y, gold, cov[y][x])


def splash():
    canvas = Canvas(*SPLASH_SIZE)
    draw_scene(canvas)
    draw_plinth(canvas)
    draw_border(canvas)
    draw_title(canvas, "PELRITH'S", 13.0, 0.95, 1.6, (2.0, 0.9))
    draw_title(canvas, "TESSIVANE", 28.0, 2.1, 1.7, (1.7, 0.6))
    return canvas


def jpeg(canvas, path):
    """Encodes with ImageMagick: baseline, no metadata, 96 dpi, full-resolution colour."""
    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, "splash.ppm")
        with open(source, "wb") as f:
            f.write(ppm(canvas))
        subprocess.run(["convert", source, "-strip", "-units", "PixelsPerInch", "-density", "96",
                        "-sampling-factor", "1x1", "-interlace", "none", "-quality", "92",
                        "jpeg:" + path], check=True)


# ---------------------------------------------------------------------------------------------
# Icon: a gold frame with pearl beads round a temple against a sunset sea

ICON_PALETTE = [
    (0, 0, 0),          # 0 black, also under transparent pixels
    (62, 38, 14),       # 1 dark brown outline
    (134, 90, 32),      # 2 bronze
    (206, 156, 60),     # 3 gold
    (252, 222, 134),    # 4 light gold
    (255, 248, 228),    # 5 pearl
    (22, 26, 74),       # 6 night blue
    (72, 56, 128),      # 7 dusk violet
    (196, 104, 122),    # 8 rose
    (246, 156, 82),     # 9 orange
    (255, 232, 160),    # 10 sun
    (16, 34, 72),       # 11 deep sea
    (46, 78, 132),      # 12 sea
    (30, 20, 42),       # 13 silhouette
    (170, 120, 150),    # 14 haze
    (255, 255, 255),    # 15 white
]


# The picture inside the icon's frame, 20 x 20 pixels, one letter per palette entry (see
# ICON_LETTERS): a temple on a headland against the setting sun.
ICON_SCENE = [
    "NNNNNNNNNNNNNNNPNNNN",
    "NNNNNNNNNNPNNNNNNNNN",
    "NNNNNNNNNNNNNNNNNNPN",
    "VVVVVTTTTTVVVVVVVVVV",
    "VVTTTTTTTTTTTVVVVVVV",
    "VTTTTTTTTTTTTTVVVVVV",
    "RRTTTTTTTTTTTRRRRRRR",
    "RRTRTRTRTRTRTRRRRRRR",
    "RRTRTRTRTRTRTRRRYYRR",
    "OOTOTOTOTOTOTOOYYYYO",
    "OOTOTOTOTOTOTOYYYYYY",
    "TTTTTTTTTTTTTTYYYYYY",
    "TTTTTTTTTTTTTTTOOOOO",
    "TTTTTTTTTTTTTTMYYYYM",
    "TTTTTTTTTTTTTMMMLLMM",
    "TTTTTTTTTTTTMMYYYMMM",
    "TTTTTTTTTTTSSSSLLLSS",
    "TTTTTTTTTTSSSLLSSSSS",
    "TTTTTTTTTSSSSSSLLLSS",
    "TTTTTTTTSSSSSSSSSSSS",
]
ICON_LETTERS = {"N": 6, "V": 7, "R": 8, "O": 9, "Y": 10, "L": 4, "P": 5, "M": 12, "S": 11,
                "T": 13}


def icon_pixels():
    size = 32
    px = [[0] * size for _ in range(size)]
    clear = [[False] * size for _ in range(size)]
    for y, line in enumerate(ICON_SCENE):
        for x, ch in enumerate(line):
            px[6 + y][6 + x] = ICON_LETTERS[ch]

    # The frame: outline, gold with a light upper-left and a bronze lower-right, pearl beads.
    for y in range(size):
        for x in range(size):
            ring = min(x, y, size - 1 - x, size - 1 - y)
            lower_right = x + y > size - 1
            if ring == 0:
                clear[y][x] = True
            elif ring == 1:
                px[y][x] = 1
            elif ring == 2:
                px[y][x] = 2 if lower_right else 4
            elif ring == 3:
                px[y][x] = 3
            elif ring == 4:
                along = x if y in (4, size - 5) else y
                px[y][x] = 5 if along % 2 == 0 else 1
            elif ring == 5:
                px[y][x] = 1
    # Rounded outer corners.
    for cx, cy in ((1, 1), (30, 1), (1, 30), (30, 30)):
        clear[cy][cx] = True
    for cx, cy, dx, dy in ((1, 1, 1, 1), (30, 1, -1, 1), (1, 30, 1, -1), (30, 30, -1, -1)):
        px[cy + dy][cx + dx] = 1
    # Gold corner bosses with a pearl.
    for cx, cy in ((4, 4), (27, 4), (4, 27), (27, 27)):
        for y in range(cy - 1, cy + 2):
            for x in range(cx - 1, cx + 2):
                px[y][x] = 3
        px[cy][cx] = 5
        px[cy - 1][cx - 1] = 4
        px[cy + 1][cx + 1] = 2
    return px, clear


HAND = [
    "....XX..........",
    "...XooX.........",
    "...XooX.........",
    "...XooX.........",
    "...XooX.........",
    "...XooXXX.......",
    "...XooXooXXX....",
    "...XooXooXooXX..",
    ".XXXooXooXooXoX.",
    "XooXooooooooooX.",
    "XooXooooooooooX.",
    "XoooooooooooooX.",
    ".XooooooooooooX.",
    ".XooooooooooooX.",
    "..XoooooooooooX.",
    "..XooooooooooX..",
    "...XoooooooooX..",
    "...XooooooooX...",
    "....XoooooooX...",
    "....XXXXXXXXX...",
]


def cursor_pixels():
    """A white pointing hand outlined in black; the tip of the index finger is (4, 0)."""
    size = 32
    px = [[0] * size for _ in range(size)]
    clear = [[True] * size for _ in range(size)]
    for y, line in enumerate(HAND):
        for x, ch in enumerate(line):
            if ch == "X":
                px[y][x] = 0
                clear[y][x] = False
            elif ch == "o":
                px[y][x] = 15
                clear[y][x] = False
    # Light grey shading down the right side of the palm and fingers.
    for y, line in enumerate(HAND):
        for x in range(1, len(line)):
            if line[x] == "X" and line[x - 1] == "o" and y >= 9:
                px[y][x - 1] = 7
    return px, clear


CURSOR_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


# ---------------------------------------------------------------------------------------------

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

    write("background.bmp", bmp24(background()))
    for name, tile in frame_tiles().items():
        write(name + ".bmp", bmp24(tile))
    jpeg(splash(), os.path.join(out, "splash.jpg"))
    px, clear = icon_pixels()
    write("tessivane.ico", ico_or_cur(icon_image(px, clear, ICON_PALETTE), 1))
    px, clear = cursor_pixels()
    write("hand.cur", ico_or_cur(icon_image(px, clear, CURSOR_PALETTE), 2, hotspot=(4, 0)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
