#!/usr/bin/env python3
"""Draws the program's two icons, 32 x 32 pixels in the 16 standard colours, and
writes them as .ico files next to this script: vorn.ico (icon 1, the program) and
setup.ico (icon 2, the install dialog). Run it again after changing a drawing."""

import os
import struct

# The 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255),
    (255, 255, 255),
]
BLACK, NAVY, GREEN, OLIVE, GRAY, SILVER, BLUE, YELLOW, WHITE, LIME = 0, 4, 2, 3, 8, 7, 12, 11, 15, 10
SIZE = 32
CLEAR = None


def blank():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def disc(image, cx, cy, r, colour):
    for y in range(SIZE):
        for x in range(SIZE):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                image[y][x] = colour


def rect(image, left, top, right, bottom, colour):
    for y in range(top, bottom):
        for x in range(left, right):
            image[y][x] = colour


def line(image, x0, y0, x1, y1, colour, width):
    steps = max(abs(x1 - x0), abs(y1 - y0)) * 4
    for i in range(steps + 1):
        t = i / steps
        x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
        for dy in range(-width, width + 1):
            for dx in range(-width, width + 1):
                px, py = int(round(x + dx * 0.5)), int(round(y + dy * 0.5))
                if 0 <= px < SIZE and 0 <= py < SIZE:
                    image[py][px] = colour


def program_icon():
    """A blue disc with a black rim and a yellow V."""
    image = blank()
    disc(image, 16, 16, 15, BLACK)
    disc(image, 16, 16, 14, NAVY)
    disc(image, 14, 13, 9, BLUE)
    line(image, 8, 8, 16, 25, YELLOW, 2)
    line(image, 24, 8, 16, 25, YELLOW, 2)
    return image


def setup_icon():
    """An open grey box with a green arrow going into it."""
    image = blank()
    rect(image, 3, 16, 29, 30, BLACK)
    rect(image, 4, 17, 28, 29, SILVER)
    rect(image, 4, 17, 28, 19, GRAY)
    rect(image, 5, 22, 27, 23, GRAY)
    rect(image, 12, 1, 20, 12, BLACK)
    rect(image, 13, 2, 19, 12, LIME)
    for row in range(9):
        left, right = 7 + row, 25 - row
        for x in range(left, right):
            image[12 + row][x] = GREEN if left < x < right - 1 else BLACK
    return image


def ico(image):
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # bitmaps are stored bottom up
        row = image[y]
        for x in range(0, SIZE, 2):
            hi = row[x] if row[x] is not CLEAR else 0
            lo = row[x + 1] if row[x + 1] is not CLEAR else 0
            xor.append(hi << 4 | lo)
        bits = 0
        for x in range(SIZE):
            bits = bits << 1 | (1 if row[x] is CLEAR else 0)
        mask += struct.pack(">I", bits)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    body = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(body), 6 + 16)
    return directory + entry + body


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, image in (("vorn.ico", program_icon()), ("setup.ico", setup_icon())):
        with open(os.path.join(here, name), "wb") as out:
            out.write(ico(image))


if __name__ == "__main__":
    main()
