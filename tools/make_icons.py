#!/usr/bin/env python3
"""Draws the program's two icons and writes them as .ico files.

DELICON: an archive box with a red cross (the uninstaller's own icon).
KVXICON: an archive box with a blue band and a white K (the product icon).
Each icon holds 16x16 and 32x32 images, 32 bits per pixel with an AND mask.
"""
import struct
import sys


def draw(size, kind):
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    s = size / 32.0

    def rect(x0, y0, x1, y1, color):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                px[y][x] = color

    brown = (196, 150, 84, 255)
    dark = (110, 78, 36, 255)
    rect(3, 8, 29, 29, dark)
    rect(4, 9, 28, 28, brown)
    rect(3, 4, 29, 9, dark)
    rect(4, 5, 28, 8, (220, 180, 110, 255))
    if kind == "kvx":
        rect(4, 14, 28, 22, (40, 90, 190, 255))
        white = (255, 255, 255, 255)
        rect(10, 15, 12, 21, white)
        for i in range(3):
            rect(12 + 2 * i, 17 - i, 14 + 2 * i, 18 - i, white)
            rect(12 + 2 * i, 18 + i, 14 + 2 * i, 19 + i, white)
    else:
        red = (210, 30, 30, 255)
        for i in range(14):
            rect(14 + i, 14 + i, 16 + i, 16 + i, red)
            rect(27 - i, 14 + i, 29 - i, 16 + i, red)
    return px


def image_bytes(size, px):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = px[y][x]
            xor += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    andm = bytearray()
    for y in reversed(range(size)):
        row = bytearray(mask_row)
        for x in range(size):
            if px[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        andm += row
    return header + bytes(xor) + bytes(andm)


def write_ico(path, kind):
    images = [image_bytes(n, draw(n, kind)) for n in (32, 16)]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for n, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "resources"
    write_ico(folder + "/delicon.ico", "del")
    write_ico(folder + "/kvxicon.ico", "kvx")
