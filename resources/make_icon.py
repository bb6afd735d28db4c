#!/usr/bin/env python3
"""Draws the Lumvrex icon, 32 x 32 in 256 colours, as lumvrex.png and lumvrex.ico.

Run it from this folder after changing the drawing; both files are kept in the
repository so that building needs no Python.
"""
import struct
import zlib

SIZE = 32

# Palette entries used by the drawing; the rest of the 256 stay black.
TRANSPARENT, COVER, COVER_DARK, PAGE, PAGE_EDGE, SKY, SUN, HILL = range(8)
COLOURS = [
    (0, 0, 0),        # transparent in the ICO mask and the PNG tRNS chunk
    (32, 84, 160),    # book cover
    (20, 52, 104),    # cover shadow
    (250, 250, 244),  # paper
    (190, 190, 180),  # page edges
    (150, 200, 240),  # picture sky
    (250, 190, 40),   # picture sun
    (70, 150, 70),    # picture hill
]


def draw():
    pixels = [[TRANSPARENT] * SIZE for _ in range(SIZE)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                pixels[y][x] = colour

    fill(3, 2, 29, 30, COVER)          # the book
    fill(3, 2, 6, 30, COVER_DARK)      # its spine
    fill(8, 4, 27, 28, PAGE_EDGE)      # a stack of pages
    fill(8, 4, 26, 27, PAGE)
    fill(10, 7, 24, 20, SKY)           # one page holds a picture
    for y in range(9, 12):
        for x in range(19, 22):
            pixels[y][x] = SUN
    for x in range(10, 24):
        top = 14 + abs(x - 15) // 2
        for y in range(top, 20):
            pixels[y][x] = HILL
    for y in (22, 24):                 # and a caption
        fill(10, y, 24, y + 1, PAGE_EDGE)
    return pixels


def palette_bytes(order):
    colours = COLOURS + [(0, 0, 0)] * (256 - len(COLOURS))
    return b"".join(bytes(order(c)) for c in colours)


def png(pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\0" + bytes(row) for row in pixels)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 3, 0, 0, 0))
            + chunk(b"PLTE", palette_bytes(lambda c: c))
            + chunk(b"tRNS", b"\0")
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def ico(pixels):
    # An 8-bit DIB: bottom-up rows, BGRX palette, then a 1-bit AND mask.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    palette = palette_bytes(lambda c: (c[2], c[1], c[0], 0))
    colour_rows = b"".join(bytes(row) for row in reversed(pixels))
    mask_rows = b""
    for row in reversed(pixels):
        bits = 0
        for x, value in enumerate(row):
            if value == TRANSPARENT:
                bits |= 1 << (SIZE - 1 - x)
        mask_rows += struct.pack(">I", bits)
    image = header + palette + colour_rows + mask_rows
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 22)
    return directory + image


if __name__ == "__main__":
    picture = draw()
    with open("lumvrex.png", "wb") as f:
        f.write(png(picture))
    with open("lumvrex.ico", "wb") as f:
        f.write(ico(picture))
