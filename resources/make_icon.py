#!/usr/bin/env python3
"""Draws the Lumvrex icon from one design, a few shapes on a 32 x 32 grid:

- lumvrex.png and lumvrex.ico: 32 x 32 in 256 colours, one sample per pixel
  (the window's and the Windows executable's icon);
- lumvrex-64.png and lumvrex-128.png: the same shapes twice and four times as
  large, in true colour with smoothed edges, for desktops and software centres;
- lumvrex.svg: the same shapes as a scalable drawing.

Run it from this folder after changing the drawing; all files are kept in the
repository so that building needs no Python.
"""
import struct
import zlib

SIZE = 32
LARGE_SIZES = (64, 128)
SAMPLES = 8  # per axis and pixel when smoothing the large PNGs

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

# The design, painted in this order on the 32 x 32 grid. Rectangles are
# (left, top, right, bottom); the sun and the hill are placed so that sampling
# each pixel's centre gives the pixel drawing of the small icon.
SHAPES = [
    ("rect", COVER, (3, 2, 29, 30)),         # the book
    ("rect", COVER_DARK, (3, 2, 6, 30)),     # its spine
    ("rect", PAGE_EDGE, (8, 4, 27, 28)),     # a stack of pages
    ("rect", PAGE, (8, 4, 26, 27)),
    ("rect", SKY, (10, 7, 24, 20)),          # one page holds a picture
    ("circle", SUN, (20.5, 10.5, 1.5)),
    ("polygon", HILL, ((10, 16.5), (15.5, 13.75), (24, 18), (24, 20), (10, 20))),
    ("rect", PAGE_EDGE, (10, 22, 24, 23)),   # and a caption
    ("rect", PAGE_EDGE, (10, 24, 24, 25)),
]


def inside(shape, x, y):
    kind, _, geometry = shape
    if kind == "rect":
        left, top, right, bottom = geometry
        return left <= x < right and top <= y < bottom
    if kind == "circle":
        cx, cy, r = geometry
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    # polygon, even-odd rule
    result = False
    points = geometry
    for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            result = not result
    return result


def colour_at(x, y):
    """The palette entry of the topmost shape at (x, y) on the 32 grid."""
    for shape in reversed(SHAPES):
        if inside(shape, x, y):
            return shape[1]
    return TRANSPARENT


def draw():
    """The 32 x 32 pixel drawing: each pixel takes the colour at its centre."""
    return [[colour_at(x + 0.5, y + 0.5) for x in range(SIZE)] for y in range(SIZE)]


def draw_rgba(size):
    """A size x size RGBA drawing; each pixel averages SAMPLES x SAMPLES points."""
    scale = SIZE / size
    offsets = [(k + 0.5) / SAMPLES for k in range(SAMPLES)]
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            red = green = blue = covered = 0
            for dy in offsets:
                for dx in offsets:
                    entry = colour_at((px + dx) * scale, (py + dy) * scale)
                    if entry != TRANSPARENT:
                        r, g, b = COLOURS[entry]
                        red, green, blue, covered = red + r, green + g, blue + b, covered + 1
            if covered:
                row += bytes((round(red / covered), round(green / covered), round(blue / covered),
                              round(255 * covered / SAMPLES ** 2)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def palette_bytes(order):
    colours = COLOURS + [(0, 0, 0)] * (256 - len(COLOURS))
    return b"".join(bytes(order(c)) for c in colours)


def png_file(size, colour_type, rows, extra_chunks=()):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, colour_type, 0, 0, 0))
            + b"".join(chunk(kind, data) for kind, data in extra_chunks)
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def png(pixels):
    # Colour type 3: palette entries, entry 0 fully transparent.
    return png_file(SIZE, 3, [bytes(row) for row in pixels],
                    [(b"PLTE", palette_bytes(lambda c: c)), (b"tRNS", b"\0")])


def png_rgba(size):
    # Colour type 6: red, green, blue and alpha.
    return png_file(size, 6, draw_rgba(size))


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


def svg():
    def number(value):
        return f"{value:g}"

    def fill(entry):
        return "#%02x%02x%02x" % COLOURS[entry]

    lines = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
             f'viewBox="0 0 {SIZE} {SIZE}">',
             "  <title>Lumvrex</title>"]
    for kind, entry, geometry in SHAPES:
        if kind == "rect":
            left, top, right, bottom = geometry
            lines.append(f'  <rect x="{number(left)}" y="{number(top)}" width="{number(right - left)}" '
                         f'height="{number(bottom - top)}" fill="{fill(entry)}"/>')
        elif kind == "circle":
            cx, cy, r = geometry
            lines.append(f'  <circle cx="{number(cx)}" cy="{number(cy)}" r="{number(r)}" fill="{fill(entry)}"/>')
        else:
            points = " ".join(f"{number(x)},{number(y)}" for x, y in geometry)
            lines.append(f'  <polygon points="{points}" fill="{fill(entry)}"/>')
    lines.append("</svg>")
    return "\n".join(lines) + "\n"


if __name__ == "__main__":
    picture = draw()
    with open("lumvrex.png", "wb") as f:
        f.write(png(picture))
    with open("lumvrex.ico", "wb") as f:
        f.write(ico(picture))
    for size in LARGE_SIZES:
        with open(f"lumvrex-{size}.png", "wb") as f:
            f.write(png_rgba(size))
    with open("lumvrex.svg", "w", encoding="ascii") as f:
        f.write(svg())
