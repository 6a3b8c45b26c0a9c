#!/usr/bin/env python3
"""Draws the program's icon, three lottery balls, and writes res/zestawy.ico.

    python3 res/draw_icon.py [--preview PNG]

The icon holds 16, 32 and 48 pixel images, 32-bit with alpha. --preview also
writes a PNG of the three images, enlarged eight times and at their own size
on a light and a dark background, to look at. Python's standard library only;
the same script always writes the same bytes.
"""

import math
import os
import struct
import sys
import zlib

# Digits 3 x 5, drawn at a whole number of pixels per dot.
DIGITS = {
    "3": ["###", "..#", ".##", "..#", "###"],
    "7": ["###", "..#", ".#.", ".#.", ".#."],
    "9": ["###", "#.#", "###", "..#", "###"],
}

RED = (214, 40, 40)
BLUE = (37, 99, 235)
GOLD = (240, 170, 20)
INK = (30, 34, 44)

# Per size: the balls (centre x, centre y, radius, colour, digit), back to
# front, and the pixels per digit dot (0: no digits, only the white spot).
# Digit boxes fall on whole pixels, so the digits stay sharp.
LAYOUTS = {
    16: dict(balls=[(5, 11, 4.5, RED, "3"), (11, 11, 4.5, BLUE, "9"), (8, 5.5, 4.5, GOLD, "7")],
             dot=0, shadow=False),
    32: dict(balls=[(10.5, 21.5, 8.6, RED, "3"), (21.5, 21.5, 8.6, BLUE, "9"),
                    (16, 11.5, 8.6, GOLD, "7")],
             dot=1, shadow=True),
    48: dict(balls=[(15, 32, 13, RED, "3"), (33, 32, 13, BLUE, "9"), (24, 16, 13, GOLD, "7")],
             dot=2, shadow=True),
}

SUBSAMPLES = 6  # per pixel side


def normalise(v):
    n = math.sqrt(sum(c * c for c in v))
    return tuple(c / n for c in v)


LIGHT = normalise((-0.45, -0.6, 0.66))
HALF = normalise((LIGHT[0], LIGHT[1], LIGHT[2] + 1.0))


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def ball_colour(base, nx, ny, white_spot):
    """The colour of a ball at the normalised point (nx, ny) of its disc."""
    nz = math.sqrt(max(0.0, 1.0 - nx * nx - ny * ny))
    diffuse = max(0.0, nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2])
    specular = max(0.0, nx * HALF[0] + ny * HALF[1] + nz * HALF[2]) ** 40
    r2 = nx * nx + ny * ny
    if r2 < white_spot * white_spot:
        colour = mix((255, 255, 255), (200, 204, 212), 1.0 - diffuse)
    else:
        colour = tuple(c * (0.42 + 0.75 * diffuse) for c in base)
    colour = mix(colour, (255, 255, 255), 0.75 * specular)
    # A darker rim keeps overlapping balls apart at small sizes.
    rim = min(1.0, max(0.0, (math.sqrt(r2) - 0.86) / 0.14))
    colour = mix(colour, (0, 0, 0), 0.4 * rim)
    return tuple(min(255.0, c) for c in colour)


def digit_dots(layout):
    """The pixels (x, y) of the digits that are not behind a later ball."""
    dots = set()
    scale = layout["dot"]
    if not scale:
        return dots
    for cx, cy, r, _base, digit in layout["balls"]:
        dots = {(x, y) for (x, y) in dots if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 >= r * r}
        left = round(cx - 1.5 * scale)
        top = round(cy - 2.5 * scale)
        for j, row in enumerate(DIGITS[digit]):
            for i, ch in enumerate(row):
                if ch == "#":
                    for dy in range(scale):
                        for dx in range(scale):
                            dots.add((left + i * scale + dx, top + j * scale + dy))
    return dots


def render(size):
    """The image as rows of (r, g, b, a), 0-255, top row first."""
    layout = LAYOUTS[size]
    dots = digit_dots(layout)
    white_spot = 0.52 if layout["dot"] else 0.34
    image = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied
            for sy in range(SUBSAMPLES):
                for sx in range(SUBSAMPLES):
                    px = x + (sx + 0.5) / SUBSAMPLES
                    py = y + (sy + 0.5) / SUBSAMPLES
                    colour, alpha = (0.0, 0.0, 0.0), 0.0
                    if layout["shadow"]:
                        # A soft shadow under the two lower balls.
                        bottom = layout["balls"][0][1] + layout["balls"][0][2]
                        ex = (px - size / 2) / (size * 0.46)
                        ey = (py - bottom + size * 0.01) / (size * 0.045)
                        d = ex * ex + ey * ey
                        if d < 1.0:
                            alpha = 0.35 * (1.0 - d)
                    for cx, cy, r, base, _digit in layout["balls"]:
                        nx, ny = (px - cx) / r, (py - cy) / r
                        if nx * nx + ny * ny <= 1.0:
                            colour = ball_colour(base, nx, ny, white_spot)
                            alpha = 1.0
                    if (x, y) in dots:
                        colour, alpha = INK, 1.0
                    for k in range(3):
                        acc[k] += colour[k] * alpha
                    acc[3] += alpha
            n = SUBSAMPLES * SUBSAMPLES
            a = acc[3] / n
            if a <= 0.0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(acc[k] / n / a) for k in range(3)) + (round(a * 255),))
        image.append(row)
    return image


def ico_image(image):
    """One image of the .ico: BITMAPINFOHEADER, BGRA bottom-up, AND mask."""
    size = len(image)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(image) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(image):
        bits = bytearray(stride)
        for x, (_r, _g, _b, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def write_ico(path, images):
    blobs = [ico_image(images[s]) for s in sorted(images)]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, blob in zip(sorted(images), blobs):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


def write_png(path, rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def preview(images):
    """The images eight times enlarged on grey, then at their size on light and dark."""
    zoom, gap = 8, 16
    width = sum(s * zoom for s in images) + gap * (len(images) + 1)
    height = 48 * zoom + 2 * gap + 2 * (48 + gap)
    canvas = [[(160, 160, 160)] * width for _ in range(height)]

    def paste(image, left, top, scale, background):
        for y, row in enumerate(image):
            for x, (r, g, b, a) in enumerate(row):
                t = a / 255
                px = tuple(round(bg * (1 - t) + c * t) for bg, c in zip(background, (r, g, b)))
                for dy in range(scale):
                    for dx in range(scale):
                        canvas[top + y * scale + dy][left + x * scale + dx] = px

    left = gap
    for size in sorted(images):
        paste(images[size], left, gap, zoom, (160, 160, 160))
        for n, background in enumerate([(255, 255, 255), (40, 40, 48)]):
            top = 48 * zoom + 2 * gap + n * (48 + gap)
            for y in range(top - 4, top + 48 + 4):
                for x in range(left - 4, left + 48 + 4):
                    canvas[y][x] = background
            paste(images[size], left, top, 1, background)
        left += size * zoom + gap
    return canvas


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    images = {size: render(size) for size in LAYOUTS}
    write_ico(os.path.join(here, "zestawy.ico"), images)
    if len(argv) == 3 and argv[1] == "--preview":
        write_png(argv[2], preview(images))
    elif len(argv) != 1:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
