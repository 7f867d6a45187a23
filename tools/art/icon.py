"""The program's icon and the link's hand cursor."""

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
