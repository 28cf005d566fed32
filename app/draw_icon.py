#!/usr/bin/env python3
"""Draws the application icon, travune.ico: a tuner card seen from above
(teal board, dark receiver chip with gold pins, silver aerial socket, edge
connector), as five square 32-bit images of 64, 48, 32, 24 and 16 pixels.

Standard library only. Each image is a BMP-in-ICO entry: BITMAPINFOHEADER,
bottom-up BGRA rows, then the 1-bit AND mask. Shapes are drawn on a 64-unit
canvas and supersampled 4 x 4 per pixel for smooth edges.

Usage: draw_icon.py [output path]   (default: travune.ico beside this script)
"""
import os
import struct
import sys

SIZES = (64, 48, 32, 24, 16)
SUPERSAMPLE = 4

BOARD = (0x1F, 0x7A, 0x6E)
BOARD_EDGE = (0x12, 0x4D, 0x45)
CHIP = (0x24, 0x29, 0x33)
CHIP_MARK = (0x5C, 0x66, 0x78)
PIN = (0xE3, 0xB4, 0x41)
SOCKET = (0xC8, 0xCE, 0xD6)
SOCKET_HOLE = (0x3A, 0x40, 0x4A)
TRACE = (0x7F, 0xD1, 0xB9)


def rect(x0, y0, x1, y1, colour):
    return lambda x, y: colour if x0 <= x < x1 and y0 <= y < y1 else None


def rounded_rect(x0, y0, x1, y1, radius, colour):
    def shape(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return None
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return colour if (x - cx) ** 2 + (y - cy) ** 2 <= radius**2 else None

    return shape


def disc(cx, cy, radius, colour):
    return lambda x, y: colour if (x - cx) ** 2 + (y - cy) ** 2 <= radius**2 else None


def card():
    """The picture, back to front, in 64-unit coordinates."""
    shapes = [
        rounded_rect(2, 10, 62, 50, 4, BOARD_EDGE),
        rounded_rect(4, 12, 60, 48, 3, BOARD),
    ]
    # Edge connector fingers along the bottom.
    shapes.append(rect(10, 48, 50, 56, BOARD_EDGE))
    for x in range(12, 48, 6):
        shapes.append(rect(x, 49, x + 4, 56, PIN))
    # Traces from the chip to the socket and to the connector.
    shapes.append(rect(40, 28, 52, 31, TRACE))
    shapes.append(rect(18, 40, 21, 48, TRACE))
    shapes.append(rect(30, 40, 33, 48, TRACE))
    # Receiver chip with pins on its left and right sides.
    for y in range(19, 39, 5):
        shapes.append(rect(9, y, 39, y + 2, PIN))
    shapes.append(rounded_rect(12, 16, 36, 41, 2, CHIP))
    shapes.append(disc(16, 20, 1.5, CHIP_MARK))
    # Aerial socket.
    shapes.append(disc(51, 22, 7, SOCKET))
    shapes.append(disc(51, 22, 3, SOCKET_HOLE))
    return shapes


def render(size, shapes):
    """Returns rows top to bottom of (b, g, r, a) tuples."""
    scale = 64.0 / size
    step = scale / SUPERSAMPLE
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = px * scale + (sx + 0.5) * step
                    y = py * scale + (sy + 0.5) * step
                    colour = None
                    for shape in shapes:
                        colour = shape(x, y) or colour
                    if colour:
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        a += 1
            n = SUPERSAMPLE * SUPERSAMPLE
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                # Colour channels are averaged over the covered samples only
                # (straight alpha, as icons expect).
                row.append((round(b / a), round(g / a), round(r / a), round(255 * a / n)))
        rows.append(row)
    return rows


def icon_image(size, rows):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(p) for row in reversed(rows) for p in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def write_icon(path):
    shapes = card()
    images = [icon_image(size, render(size, shapes)) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        dim = size if size < 256 else 0
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_icon(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "travune.ico"))
