"""Pixels, blending, noise and the file formats of the pictures."""

import math
import struct
import zlib

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


def bmp8(canvas):
    """A bottom-up 8-bit BMP with BITMAPINFOHEADER and a palette of the picture's own colours,
    sorted, so that it draws exactly as the 24-bit picture would in a third of the bytes. Fails
    for a picture of more than 256 colours, which this format cannot hold exactly."""
    rows = canvas.rows_bytes(bottom_up=True, bgr=True, pad=False)
    colours = sorted({rows[i:i + 3] for i in range(0, len(rows), 3)})
    if len(colours) > 256:
        raise ValueError("%d colours do not fit an 8-bit palette" % len(colours))
    index = {colour: i for i, colour in enumerate(colours)}
    pixels = bytearray()
    for row in range(canvas.height):
        start = row * canvas.width * 3
        pixels += bytes(index[rows[start + x * 3:start + x * 3 + 3]] for x in range(canvas.width))
        pixels += b"\0" * (-canvas.width % 4)
    palette = b"".join(colour + b"\0" for colour in colours)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 8, 0, len(pixels),
                       2835, 2835, len(colours), 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + bytes(pixels)


def bmp(canvas):
    """The smaller of the 8-bit and the 24-bit BMP of the picture; both draw the same pixels."""
    full = bmp24(canvas)
    try:
        paletted = bmp8(canvas)
    except ValueError:
        return full
    return paletted if len(paletted) < len(full) else full


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


def ico_or_cur(image, kind, hotspot=(0, 0), more=()):
    """An .ico (kind 1) or .cur (kind 2) file holding one 32 x 32, 16-colour image and, for an
    icon, the (size, PNG bytes) images of `more` in 32-bit colour."""
    entries = [(32, 16, (1, 4) if kind == 1 else hotspot, image)]
    entries += [(size, 0, (1, 32), png) for size, png in more]
    header = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    directory = b""
    for size, colours, (planes, bits), data in entries:
        # A size of 256 is written as 0.
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, planes, bits,
                                 len(data), offset)
        offset += len(data)
    return header + directory + b"".join(data for _, _, _, data in entries)


def rgba_from_indexes(indexes, transparent, palette):
    """An icon's palette picture as rows of (r, g, b, a) floats, a = 0 where it is transparent."""
    return [[(0.0, 0.0, 0.0, 0.0) if transparent[y][x] else palette[i] + (255.0,)
             for x, i in enumerate(row)] for y, row in enumerate(indexes)]


def scale_rgba_by_area(rows, size):
    """A square RGBA picture resized to size x size: each new pixel is the average of the old
    pixels it covers, weighted by the area covered and by their opacity (so that transparent
    pixels lend no colour)."""
    old = len(rows)
    step = old / size
    out = []
    for ty in range(size):
        line = []
        for tx in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            y0, y1 = ty * step, (ty + 1) * step
            x0, x1 = tx * step, (tx + 1) * step
            for sy in range(int(y0), min(old, math.ceil(y1))):
                wy = min(y1, sy + 1) - max(y0, sy)
                for sx in range(int(x0), min(old, math.ceil(x1))):
                    w = wy * (min(x1, sx + 1) - max(x0, sx))
                    r, g, b, a = rows[sy][sx]
                    wa = w * a / 255.0
                    acc[0] += r * wa
                    acc[1] += g * wa
                    acc[2] += b * wa
                    acc[3] += wa
            area = step * step
            if acc[3] > 0:
                line.append((acc[0] / acc[3], acc[1] / acc[3], acc[2] / acc[3],
                             255.0 * acc[3] / area))
            else:
                line.append((0.0, 0.0, 0.0, 0.0))
        out.append(line)
    return out


def png_rgba(rows):
    """A PNG file of the RGBA rows (8 bits a channel), each row filtered with Sub."""
    height, width = len(rows), len(rows[0])

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = bytearray()
    for row in rows:
        raw.append(1)  # Sub: each byte less the one of the pixel to its left
        previous = (0, 0, 0, 0)
        for pixel in row:
            current = tuple(to_byte(v) for v in pixel)
            raw += bytes((c - p) & 0xFF for c, p in zip(current, previous))
            previous = current
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
