#!/usr/bin/env python3
"""Draws Trevalin's application icon: an SVG and PNGs at the desktop sizes.

The icon is a rounded tile whose colour runs from warm (the source picture)
to cool (the target picture), crossed by a feature line with its two end
handles and, faintly behind it, the line it is paired with. The same shapes
are written once as SVG and once rasterised here, pixel by pixel, with
coverage taken from each shape's signed distance, so the PNGs need nothing
beyond the standard library.

Writes, beside this script:
  icons/hicolor/scalable/apps/org.trevalin.Trevalin.svg
  icons/hicolor/<N>x<N>/apps/org.trevalin.Trevalin.png   for every N in SIZES
  icons/trevalin-16.png, -32.png, -48.png                  the window icon
"""
import math
import os

from make_icons import Canvas

HERE = os.path.dirname(os.path.abspath(__file__))
HICOLOR = os.path.join(HERE, "icons", "hicolor")
APP_ID = "org.trevalin.Trevalin"
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)

# Everything is laid out on a 256-unit square, the SVG's view box.
UNITS = 256
TILE = (20, 20, 236, 236)
TILE_RADIUS = 44
BORDER = 6
GRADIENT = ((0.0, (224, 86, 60)), (0.5, (150, 82, 170)), (1.0, (47, 126, 224)))
INK = (34, 34, 58)
WHITE = (255, 255, 255)
# The paired line, faint, and the feature line with its handles.
GHOST = ((54, 138), (138, 54), 12, 0.45)
LINE = ((72, 184), (184, 72), 16)
HANDLE_RADIUS = 20
HANDLE_RING = 8


def hex_colour(rgb):
    return "#%02x%02x%02x" % rgb


def svg():
    x0, y0, x1, y1 = TILE
    inset = BORDER / 2
    stops = "\n".join(
        '      <stop offset="%g" stop-color="%s"/>' % (at, hex_colour(rgb)) for at, rgb in GRADIENT)
    (gx0, gy0), (gx1, gy1), gw, ga = GHOST
    (lx0, ly0), (lx1, ly1), lw = LINE
    handles = "\n".join(
        '  <circle cx="%d" cy="%d" r="%d" fill="#ffffff" stroke="%s" stroke-width="%d"/>'
        % (x, y, HANDLE_RADIUS - HANDLE_RING / 2, hex_colour(INK), HANDLE_RING)
        for x, y in LINE[:2])
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="{UNITS}" height="{UNITS}" viewBox="0 0 {UNITS} {UNITS}">
  <title>Trevalin</title>
  <defs>
    <linearGradient id="blend" gradientUnits="userSpaceOnUse" x1="{x0}" y1="0" x2="{x1}" y2="0">
{stops}
    </linearGradient>
  </defs>
  <rect x="{x0 + inset:g}" y="{y0 + inset:g}" width="{x1 - x0 - BORDER}" height="{y1 - y0 - BORDER}" \
rx="{TILE_RADIUS - inset:g}" fill="url(#blend)" stroke="{hex_colour(INK)}" stroke-width="{BORDER}"/>
  <line x1="{gx0}" y1="{gy0}" x2="{gx1}" y2="{gy1}" stroke="#ffffff" stroke-opacity="{ga}" \
stroke-width="{gw}" stroke-linecap="round"/>
  <line x1="{lx0}" y1="{ly0}" x2="{lx1}" y2="{ly1}" stroke="#ffffff" stroke-width="{lw}" stroke-linecap="round"/>
{handles}
</svg>
"""


def rounded_box_distance(px, py, box, radius):
    x0, y0, x1, y1 = box
    qx = abs(px - (x0 + x1) / 2) - ((x1 - x0) / 2 - radius)
    qy = abs(py - (y0 + y1) / 2) - ((y1 - y0) / 2 - radius)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def segment_distance(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def gradient(x):
    t = max(0.0, min(1.0, (x - TILE[0]) / (TILE[2] - TILE[0])))
    for (t0, c0), (t1, c1) in zip(GRADIENT, GRADIENT[1:]):
        if t <= t1:
            f = (t - t0) / (t1 - t0)
            return tuple(a + (b - a) * f for a, b in zip(c0, c1))
    return GRADIENT[-1][1]


def coverage(distance_px):
    """Share of a pixel inside a shape whose edge lies distance_px away."""
    return max(0.0, min(1.0, 0.5 - distance_px))


def over(dst, rgb, alpha):
    r, g, b, a = dst
    out = alpha + a * (1 - alpha)
    if out <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    mix = [(c * alpha + d * a * (1 - alpha)) / out for c, d in zip(rgb, (r, g, b))]
    return (mix[0], mix[1], mix[2], out)


def render(size):
    scale = size / UNITS
    # Strokes keep at least about a pixel so the small sizes stay legible;
    # below 32 pixels the faint paired line would only blur the main one.
    border = max(BORDER * scale, 1.0)
    line_half = max(LINE[2] * scale, 1.5) / 2
    ghost_half = max(GHOST[2] * scale, 1.0) / 2
    handle = max(HANDLE_RADIUS * scale, 1.5)
    ring = max(HANDLE_RING * scale, 0.75)
    canvas = Canvas(size)
    for y in range(size):
        for x in range(size):
            # Pixel centre in units, and distances measured in pixels.
            ux, uy = (x + 0.5) / scale, (y + 0.5) / scale
            px = (0.0, 0.0, 0.0, 0.0)
            tile = rounded_box_distance(ux, uy, TILE, TILE_RADIUS) * scale
            px = over(px, gradient(ux), coverage(tile))
            # The border: the band of the tile within `border` of its edge.
            px = over(px, INK, min(coverage(tile), coverage(-tile - border)))
            if size >= 32:
                ghost = segment_distance(ux, uy, GHOST[0], GHOST[1]) * scale - ghost_half
                px = over(px, WHITE, coverage(ghost) * GHOST[3])
            line = segment_distance(ux, uy, LINE[0], LINE[1]) * scale - line_half
            px = over(px, WHITE, coverage(line))
            for hx, hy in LINE[:2]:
                disc = math.hypot(ux - hx, uy - hy) * scale - handle
                px = over(px, INK, coverage(disc))
                px = over(px, WHITE, coverage(disc + ring))
            r, g, b, a = px
            canvas.put(x, y, (round(r), round(g), round(b), round(a * 255)))
    return canvas


def main():
    scalable = os.path.join(HICOLOR, "scalable", "apps")
    os.makedirs(scalable, exist_ok=True)
    with open(os.path.join(scalable, APP_ID + ".svg"), "w", encoding="utf-8") as f:
        f.write(svg())
    for size in SIZES:
        folder = os.path.join(HICOLOR, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        picture = render(size)
        picture.save(os.path.join(folder, APP_ID + ".png"))
        if size in (16, 32, 48):
            picture.save("trevalin-%d.png" % size)


if __name__ == "__main__":
    main()
