#!/usr/bin/env python3
"""Draws the application icon (a white whistle on a teal tile) and writes it as a
Windows .ico with 16, 32 and 48 pixel 32-bit images. Usage: make_icon.py OUT.ico"""
import struct
import sys

SIZES = (16, 32, 48)
SAMPLES = 4  # supersampling per axis, for smooth edges
TILE = (0x1F, 0x7A, 0x8C)
TILE_DARK = (0x12, 0x4E, 0x5A)
WHITE = (0xFF, 0xFF, 0xFF)


def inside_rounded_square(x, y, radius):
    cx = min(max(x, radius), 1 - radius)
    cy = min(max(y, radius), 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_whistle(x, y):
    body = (x - 0.40) ** 2 + (y - 0.58) ** 2 <= 0.20 ** 2
    mouthpiece = 0.40 <= x <= 0.86 and 0.38 <= y <= 0.54
    hole = (x - 0.40) ** 2 + (y - 0.58) ** 2 <= 0.07 ** 2
    return (body or mouthpiece) and not hole


def sample(x, y):
    """Colour and alpha (0 or 1) of one point of the unit square, y downwards."""
    if not inside_rounded_square(x, y, 0.18):
        return (0, 0, 0), 0
    if inside_whistle(x, y):
        return WHITE, 1
    shade = y  # the tile darkens towards the bottom
    colour = tuple(round(a + (b - a) * shade) for a, b in zip(TILE, TILE_DARK))
    return colour, 1


def render(size):
    """Rows of (b, g, r, a) pixels, top row first."""
    rows = []
    n = SAMPLES
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    colour, alpha = sample((px + (sx + 0.5) / n) / size,
                                           (py + (sy + 0.5) / n) / size)
                    for i in range(3):
                        acc[i] += colour[i] * alpha
                    acc[3] += alpha
            a = acc[3]
            rgb = [round(c / a) if a else 0 for c in acc[:3]]
            row.append((rgb[2], rgb[1], rgb[0], round(255 * a / (n * n))))
        rows.append(row)
    return rows


def dib(size):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA pixels, AND mask."""
    rows = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes(c for px in row for c in px) for row in reversed(rows))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    images = [dib(s) for s in SIZES]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out += b''.join(images)
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
