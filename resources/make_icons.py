#!/usr/bin/env python3
"""Draws Trevalin's tool-bar icons as small PNG files.

Each icon is drawn pixel by pixel on a transparent canvas; the PNG encoder
is written out here so the script needs nothing beyond the standard library.
Run it from anywhere; it writes into the icons/ folder beside it. The
application icon is drawn by make_app_icon.py.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "icons")

BLACK = (0, 0, 0, 255)
GREY = (128, 128, 128, 255)
LIGHT = (192, 192, 192, 255)
WHITE = (255, 255, 255, 255)
BLUE = (0, 0, 160, 255)
SKY = (96, 160, 224, 255)
RED = (208, 0, 0, 255)
GREEN = (0, 160, 0, 255)
YELLOW = (240, 200, 40, 255)
BROWN = (160, 100, 30, 255)


class Canvas:
    def __init__(self, size):
        self.w = self.h = size
        self.px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.put(x, y0, c)
            self.put(x, y1, c)
        for y in range(y0, y1 + 1):
            self.put(x0, y, c)
            self.put(x1, y, c)

    def box(self, x0, y0, x1, y1, outline, inside):
        self.fill(x0, y0, x1, y1, inside)
        self.frame(x0, y0, x1, y1, outline)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            self.put(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, c):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.put(x, y, c)

    def scaled(self, factor):
        big = Canvas(self.w * factor)
        for y in range(self.h):
            for x in range(self.w):
                big.fill(x * factor, y * factor, x * factor + factor - 1, y * factor + factor - 1, self.px[y][x])
        return big

    def save(self, name):
        raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in self.px)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        png = b"\x89PNG\r\n\x1a\n"
        png += chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(raw, 9))
        png += chunk(b"IEND", b"")
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(png)


def page(c, x0=3, y0=1, x1=12, y1=14):
    c.box(x0, y0, x1, y1, BLACK, WHITE)
    c.fill(x1 - 2, y0, x1, y0 + 2, (0, 0, 0, 0))
    c.line(x1 - 3, y0, x1 - 3, y0 + 3, BLACK)
    c.line(x1 - 3, y0 + 3, x1, y0 + 3, BLACK)
    c.line(x1 - 3, y0, x1, y0 + 3, BLACK)


def icon_new():
    c = Canvas(16)
    page(c)
    return c


def icon_open():
    c = Canvas(16)
    c.box(1, 4, 13, 13, BLACK, YELLOW)
    c.fill(2, 3, 6, 3, BLACK)
    c.box(3, 7, 15, 13, BLACK, (250, 225, 110, 255))
    return c


def icon_save():
    c = Canvas(16)
    c.box(1, 1, 14, 14, BLACK, BLUE)
    c.box(4, 1, 11, 6, BLACK, WHITE)
    c.fill(9, 2, 10, 5, GREY)
    c.box(3, 9, 12, 14, BLACK, LIGHT)
    return c


def icon_cut():
    c = Canvas(16)
    c.line(4, 1, 9, 9, GREY)
    c.line(11, 1, 6, 9, GREY)
    c.frame(2, 10, 6, 14, BLACK)
    c.frame(9, 10, 13, 14, BLACK)
    return c


def icon_copy():
    c = Canvas(16)
    c.box(1, 1, 9, 10, BLACK, WHITE)
    c.box(6, 5, 14, 14, BLACK, WHITE)
    for y in (8, 10, 12):
        c.line(8, y, 12, y, GREY)
    return c


def icon_paste():
    c = Canvas(16)
    c.box(1, 2, 11, 14, BLACK, BROWN)
    c.box(4, 1, 8, 3, BLACK, LIGHT)
    c.box(6, 6, 14, 14, BLACK, WHITE)
    return c


def icon_print():
    c = Canvas(16)
    c.box(4, 1, 11, 6, BLACK, WHITE)
    c.box(1, 6, 14, 11, BLACK, LIGHT)
    c.box(4, 10, 11, 14, BLACK, WHITE)
    c.put(12, 8, GREEN)
    return c


def icon_about():
    c = Canvas(16)
    c.disc(7, 7, 7, BLUE)
    c.fill(6, 3, 8, 4, WHITE)
    c.fill(6, 6, 8, 11, WHITE)
    return c


def icon_linear():
    # Cross-dissolve: a red and a blue square blending where they overlap.
    c = Canvas(16)
    c.box(1, 1, 9, 9, BLACK, RED)
    c.box(6, 6, 14, 14, BLACK, BLUE)
    c.fill(7, 7, 8, 8, (128, 0, 96, 255))
    return c


def icon_feature():
    # Feature-based warp: a line pair with its end points.
    c = Canvas(16)
    c.line(2, 12, 7, 3, GREEN)
    c.line(8, 13, 13, 5, RED)
    for x, y in ((2, 12), (7, 3), (8, 13), (13, 5)):
        c.frame(x - 1, y - 1, x + 1, y + 1, BLACK)
    c.line(8, 6, 11, 8, GREY)
    c.put(10, 9, GREY)
    c.put(11, 7, GREY)
    return c


def icon_blank():
    c = Canvas(16)
    c.frame(3, 3, 12, 12, GREY)
    return c


def icon_draw():
    # A pencil drawing a line.
    c = Canvas(16)
    for i in range(9):
        c.line(5 + i, 10 - i, 6 + i, 11 - i, YELLOW)
    c.line(4, 11, 13, 2, BLACK)
    c.line(6, 13, 15, 4, BLACK)
    c.put(3, 13, BLACK)
    c.put(4, 12, BLACK)
    c.line(1, 15, 9, 15, RED)
    return c


def icon_select():
    # The pointer arrow.
    c = Canvas(16)
    for y in range(11):
        c.line(3, 1 + y, 3 + y * 7 // 10, 1 + y, WHITE)
    c.line(3, 1, 3, 12, BLACK)
    c.line(3, 1, 10, 8, BLACK)
    c.line(3, 12, 6, 9, BLACK)
    c.line(10, 8, 7, 8, BLACK)
    c.line(6, 9, 9, 14, BLACK)
    c.line(7, 8, 10, 13, BLACK)
    return c


def icon_inputs():
    # Two panes side by side.
    c = Canvas(16)
    c.box(0, 2, 7, 13, BLACK, SKY)
    c.box(8, 2, 15, 13, BLACK, (240, 170, 120, 255))
    c.line(2, 10, 5, 5, GREEN)
    c.line(10, 10, 13, 5, GREEN)
    return c


def icon_result():
    # One frame of film.
    c = Canvas(16)
    c.box(1, 1, 14, 14, BLACK, (40, 40, 40, 255))
    c.box(4, 3, 11, 12, BLACK, (190, 140, 200, 255))
    for y in (2, 5, 8, 11):
        c.put(2, y, WHITE)
        c.put(13, y, WHITE)
    return c


ICONS = {
    "file_new.png": icon_new,
    "file_open.png": icon_open,
    "file_save.png": icon_save,
    "edit_cut.png": icon_cut,
    "edit_copy.png": icon_copy,
    "edit_paste.png": icon_paste,
    "file_print.png": icon_print,
    "app_about.png": icon_about,
    "morph_linear.png": icon_linear,
    "morph_feature.png": icon_feature,
    "blank.png": icon_blank,
    "tool_draw.png": icon_draw,
    "tool_select.png": icon_select,
    "view_inputs.png": icon_inputs,
    "view_result.png": icon_result,
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, draw in ICONS.items():
        draw().save(name)


if __name__ == "__main__":
    main()
