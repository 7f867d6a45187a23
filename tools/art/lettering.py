"""Roman capitals drawn as strokes, for the splash's title."""

import math

from art.pixels import clamp01

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
