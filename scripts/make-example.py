#!/usr/bin/env python3
"""Draws the two demo pictures and writes the demo project.

Everything here is generated: two 400 x 300 24-bit BMP pictures (a smiling
sun on a dusk sky, and a grinning pumpkin-like face on a morning sky) and a
project file with line pairs on their eyes, mouths and outlines.

Usage: scripts/make-example.py [OUTPUT_FOLDER]   (default: examples/)
"""
import math
import os
import struct
import sys

W, H = 400, 300


def write_bmp(path, pixels):
    row = (3 * W + 3) & ~3
    data = bytearray()
    for y in range(H - 1, -1, -1):
        line = bytearray()
        for x in range(W):
            r, g, b = pixels[y][x]
            line += bytes((b, g, r))
        line += b"\0" * (row - 3 * W)
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def canvas(top, bottom):
    return [[mix(top, bottom, y / (H - 1)) for _ in range(W)] for y in range(H)]


def disc(px, cx, cy, rx, ry, colour, edge=None):
    for y in range(max(0, int(cy - ry - 2)), min(H, int(cy + ry + 3))):
        for x in range(max(0, int(cx - rx - 2)), min(W, int(cx + rx + 3))):
            d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
            if d <= 1.0:
                px[y][x] = colour
                if edge and d > 0.86:
                    px[y][x] = edge


def arc(px, cx, cy, r, a0, a1, thick, colour):
    steps = int(abs(a1 - a0) * r * 2) + 1
    for i in range(steps + 1):
        a = a0 + (a1 - a0) * i / steps
        x, y = cx + r * math.cos(a), cy + r * math.sin(a)
        disc(px, x, y, thick, thick, colour)


def source():
    px = canvas((24, 30, 88), (170, 90, 140))
    for i in range(40):  # stars
        x, y = (i * 97) % W, (i * 53) % (H // 2)
        px[y][x] = (255, 255, 230)
    disc(px, 150, 150, 90, 90, (250, 210, 60), edge=(235, 150, 40))
    disc(px, 120, 125, 12, 16, (60, 40, 30))
    disc(px, 180, 125, 12, 16, (60, 40, 30))
    arc(px, 150, 160, 45, 0.35, math.pi - 0.35, 4, (150, 60, 40))
    return px


def target():
    px = canvas((140, 200, 250), (250, 240, 200))
    for x in range(W):  # hills
        h = int(230 + 25 * math.sin(x / 37.0))
        for y in range(h, H):
            px[y][x] = (70, 150, 70)
    disc(px, 250, 140, 110, 85, (240, 120, 30), edge=(190, 80, 20))
    for cx in (215, 285):  # triangular eyes
        for y in range(100, 130):
            half = (y - 100) // 2
            for x in range(cx - half, cx + half + 1):
                px[y][x] = (40, 25, 10)
    arc(px, 250, 130, 60, 0.5, math.pi - 0.5, 5, (40, 25, 10))
    return px


# Line pairs (source line, target line), each (x0, y0, x1, y1).
LINES = [
    ((108, 125, 132, 125), (203, 118, 227, 118)),  # left eye
    ((168, 125, 192, 125), (273, 118, 297, 118)),  # right eye
    ((115, 190, 185, 190), (200, 180, 300, 180)),  # mouth
    ((60, 150, 150, 60), (140, 140, 250, 55)),     # upper-left outline
    ((150, 60, 240, 150), (250, 55, 360, 140)),    # upper-right outline
    ((150, 240, 150, 290), (250, 225, 250, 290)),  # chin to ground
    # Anchors along the edges keep the picture's border in place.
    ((0, 50, 0, 250), (0, 50, 0, 250)),
    ((399, 250, 399, 50), (399, 250, 399, 50)),
    ((100, 0, 300, 0), (100, 0, 300, 0)),
]


def name_field(name):
    raw = name.encode("utf-8")
    assert len(raw) < 255
    return bytes((len(raw),)) + raw


def write_project(path):
    out = bytearray()
    out += name_field("\\source.bmp") + name_field("\\target.bmp")
    for side in (0, 1):
        out += struct.pack("<i", len(LINES))
        for pair in LINES:
            x0, y0, x1, y1 = pair[side]
            out += struct.pack("<iiiii", 2, x0, y0, x1, y1)
    with open(path, "wb") as f:
        f.write(out)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "examples")
    os.makedirs(os.path.join(folder, "images"), exist_ok=True)
    write_bmp(os.path.join(folder, "images", "source.bmp"), source())
    write_bmp(os.path.join(folder, "images", "target.bmp"), target())
    write_project(os.path.join(folder, "demo.tvl"))


if __name__ == "__main__":
    main()
