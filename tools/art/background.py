"""The parchment background of the framed windows."""

import math

from art.pixels import SEED, Canvas, fbm, hash01, mix, smoothstep, value_noise

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
