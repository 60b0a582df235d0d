#!/usr/bin/env python3
"""Draws the picture at the top of the main window's "Main" sheet (a whistle with
sound waves and the program's name on a teal band) and writes it as a binary PPM.
Encode it with libjpeg's cjpeg, for example:
    make_main_picture.py main.ppm && wine cjpeg.exe -quality 90 -outfile Main.jpg main.ppm"""
import sys

WIDTH, HEIGHT = 560, 96
SAMPLES = 3  # supersampling per axis, for smooth edges
TEAL = (0x1F, 0x7A, 0x8C)
TEAL_DARK = (0x0E, 0x3E, 0x48)
WHITE = (0xFF, 0xFF, 0xFF)
PALE = (0xBF, 0xE4, 0xEA)

# 5x7 capitals, one string per row, "#" for ink.
GLYPHS = {
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
}
TEXT = "TARNWHISTLE"
CELL = 6      # pixels per glyph dot
TEXT_X, TEXT_Y = 150, 27


def in_text(x, y):
    gx, gy = (x - TEXT_X) / CELL, (y - TEXT_Y) / CELL
    if gy < 0 or gy >= 7 or gx < 0:
        return False
    index, column = divmod(int(gx), 6)  # five dots and a gap
    if index >= len(TEXT) or column == 5:
        return False
    return GLYPHS[TEXT[index]][int(gy)][column] == "#"


def in_whistle(x, y):
    cx, cy, r = 62, 58, 22
    body = (x - cx) ** 2 + (y - cy) ** 2 <= r ** 2
    mouthpiece = cx <= x <= cx + 50 and cy - 22 <= y <= cy - 8
    hole = (x - cx) ** 2 + (y - cy) ** 2 <= 7 ** 2
    return (body or mouthpiece) and not hole


def in_waves(x, y):
    cx, cy = 118, 30
    d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
    if x < cx + 2 or y > cy + 8:
        return False
    return any(abs(d - r) <= 1.6 for r in (8, 15, 22))


def colour(x, y):
    if in_whistle(x, y) or in_text(x, y):
        return WHITE
    if in_waves(x, y):
        return PALE
    t = x / WIDTH * 0.6 + y / HEIGHT * 0.4  # darker towards the bottom right
    return tuple(round(a + (b - a) * t) for a, b in zip(TEAL, TEAL_DARK))


def render():
    out = bytearray()
    n = SAMPLES
    for py in range(HEIGHT):
        for px in range(WIDTH):
            acc = [0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    c = colour(px + (sx + 0.5) / n, py + (sy + 0.5) / n)
                    for i in range(3):
                        acc[i] += c[i]
            out += bytes(round(a / (n * n)) for a in acc)
    return out


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_main_picture.py OUT.ppm")
    with open(sys.argv[1], "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT))
        f.write(render())


if __name__ == "__main__":
    main()
