"""The splash picture: a temple on a headland against a sunset sea."""

import math
import os
import subprocess
import tempfile

from art.lettering import coverage, text_segments, text_width
from art.pixels import SEED, Canvas, clamp01, gradient, hash01, mix, ppm, smoothstep, value_noise

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
