#!/usr/bin/env python3
"""Draws the program icon, a white application window with a cyan title bar, tilted, with a
grey shadow, and writes it as app/form/flagwright.ico (32x32 at 1 and 4 bits per pixel, 16x16
at 4 bits, each with its transparency mask) and app/qt/flagwright.png (32x32, for desktop menus)."""

import math
import pathlib
import struct
import zlib

# The 16 standard colours of a 4-bit icon; the drawing uses black, grey, cyan and white.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREY, CYAN, WHITE = 0, 8, 14, 15
TRANSPARENT = None

TILT_DEGREES = -14


def sample(size, x, y):
    """The colour index at a pixel centre of a size x size icon, or TRANSPARENT."""
    # Work on a 32-unit canvas whatever the size, turned about its centre.
    u = (x + 0.5) * 32 / size - 15
    v = (y + 0.5) * 32 / size - 15
    turn = math.radians(TILT_DEGREES)
    cos, sin = math.cos(turn), math.sin(turn)

    def local(px, py):
        return px * cos + py * sin, -px * sin + py * cos

    line = 32 / size  # one pixel, in canvas units
    wx, wy = local(u, v)
    half_w, half_h = 11.0, 8.5
    if abs(wx) <= half_w and abs(wy) <= half_h:
        if half_w - abs(wx) < line or half_h - abs(wy) < line:
            return BLACK
        if wy < -half_h + 5:
            return CYAN
        return WHITE
    sx, sy = local(u - 2, v - 2)
    if abs(sx) <= half_w and abs(sy) <= half_h:
        return GREY
    return TRANSPARENT


def draw(size):
    return [[sample(size, x, y) for x in range(size)] for y in range(size)]


def one_bit(colour, x, y):
    """Black and white: the title bar black, the shadow a checkerboard that reads as grey."""
    if colour == WHITE:
        return 1
    if colour == GREY:
        return (x + y) % 2
    return 0


def packed_rows(rows, bits):
    """Bottom-up rows of pixel values packed MSB first, each padded to 4 bytes."""
    out = b""
    for row in reversed(rows):
        value, count, data = 0, 0, bytearray()
        for pixel in row:
            value = (value << bits) | pixel
            count += bits
            if count == 8:
                data.append(value)
                value, count = 0, 0
        data.extend(b"\0" * (-len(data) % 4))
        out += bytes(data)
    return out


def icon_image(pixels, bits):
    size = len(pixels)
    if bits == 1:
        palette = [(0, 0, 0), (255, 255, 255)]
        colours = [[0 if c is None else one_bit(c, x, y) for x, c in enumerate(row)]
                   for y, row in enumerate(pixels)]
    else:
        palette = PALETTE16
        colours = [[0 if c is None else c for c in row] for row in pixels]
    mask = [[1 if c is None else 0 for c in row] for row in pixels]
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0,
                         len(palette), 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + table + packed_rows(colours, bits) + packed_rows(mask, 1), len(palette)


def ico(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for pixels, bits in images:
        image, colours = icon_image(pixels, bits)
        size = len(pixels)
        entries += struct.pack("<BBBBHHII", size, size, colours % 256, 0, 1, bits, len(image),
                               offset + len(data))
        data += image
    return directory + entries + data


def png(pixels):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    raw = b""
    for row in pixels:
        raw += b"\0" + b"".join(bytes((0, 0, 0, 0)) if c is None else bytes(PALETTE16[c] + (255,))
                                for c in row)
    size = len(pixels)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    app = pathlib.Path(__file__).resolve().parent.parent / "app"
    large, small = draw(32), draw(16)
    (app / "form" / "flagwright.ico").write_bytes(ico([(large, 1), (large, 4), (small, 4)]))
    (app / "qt" / "flagwright.png").write_bytes(png(large))


if __name__ == "__main__":
    main()
