#!/usr/bin/env python3
"""Draws the task dialog's icons and writes them as .ico files beside this script.

Each shape is a coverage function of a point in a unit square; every pixel is sampled 8 x 8
times, so the edges are alpha-blended at both sizes. The icons are stored as 32-bit images
(straight BGRA with an AND mask), which every icon loader reads.

Usage: python3 draw_icons.py   (rewrites the .ico files; they are committed)
"""

import math
import os
import struct

SAMPLES = 8


def blend(under, over):
    """Source-over compositing of two straight-alpha colours (r, g, b, a) in 0..1."""
    a = over[3] + under[3] * (1 - over[3])
    if a == 0:
        return (0.0, 0.0, 0.0, 0.0)
    return tuple((over[i] * over[3] + under[i] * under[3] * (1 - over[3])) / a for i in range(3)) + (a,)


def render(layers, size):
    """layers: list of (inside(x, y) -> bool, colour(x, y) -> (r, g, b)) from bottom to top,
    in unit coordinates (0..1, y down). Returns rows of (r, g, b, a) bytes, top row first."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            pixel = (0.0, 0.0, 0.0, 0.0)
            for inside, colour in layers:
                hits = 0
                sr = sg = sb = 0.0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        x = (px + (sx + 0.5) / SAMPLES) / size
                        y = (py + (sy + 0.5) / SAMPLES) / size
                        if inside(x, y):
                            hits += 1
                            r, g, b = colour(x, y)
                            sr += r
                            sg += g
                            sb += b
                if hits:
                    cover = hits / (SAMPLES * SAMPLES)
                    pixel = blend(pixel, (sr / hits, sg / hits, sb / hits, cover))
            row.append(tuple(int(round(c * 255)) for c in pixel))
        rows.append(row)
    return rows


def ico(images):
    """An .ico file of 32-bit images (rows of RGBA tuples, top first)."""
    header = struct.pack("<HHH", 0, 1, len(images))
    entries = b""
    bodies = b""
    offset = 6 + 16 * len(images)
    for rows in images:
        size = len(rows)
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
        mask_row = ((size + 31) // 32) * 4
        mask = b""
        for row in reversed(rows):
            out = bytearray(mask_row)
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    out[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(out)
        body = info + pixels + mask
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(body), offset)
        bodies += body
        offset += len(body)
    return header + entries + bodies


def rgb(hex_colour):
    return tuple(int(hex_colour[i:i + 2], 16) / 255 for i in (0, 2, 4))


def solid(hex_colour):
    colour = rgb(hex_colour)
    return lambda x, y: colour


def vertical(top, bottom):
    a, b = rgb(top), rgb(bottom)
    return lambda x, y: tuple(a[i] + (b[i] - a[i]) * y for i in range(3))


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def capsule(ax, ay, bx, by, r):
    return lambda x, y: segment_distance(x, y, ax, ay, bx, by) <= r


def rounded_polygon(points, r):
    """Points inside the polygon grown by r (a polygon with rounded corners)."""
    def inside_polygon(x, y):
        crossing = False
        for i in range(len(points)):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % len(points)]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                crossing = not crossing
        return crossing

    def inside(x, y):
        if inside_polygon(x, y):
            return True
        return any(segment_distance(x, y, *points[i], *points[(i + 1) % len(points)]) <= r
                   for i in range(len(points)))
    return inside


def warning():
    outer = rounded_polygon([(0.5, 0.08), (0.93, 0.86), (0.07, 0.86)], 0.06)
    inner = rounded_polygon([(0.5, 0.16), (0.86, 0.82), (0.14, 0.82)], 0.03)
    return [
        (outer, solid("b07c00")),
        (inner, vertical("ffe680", "f5b800")),
        (capsule(0.5, 0.38, 0.5, 0.6, 0.055), solid("222222")),
        (disc(0.5, 0.73, 0.06), solid("222222")),
    ]


def arrow(light, dark):
    body = rounded_polygon([(0.1, 0.4), (0.5, 0.4), (0.5, 0.16), (0.9, 0.5), (0.5, 0.84),
                            (0.5, 0.6), (0.1, 0.6)], 0.03)
    return [(body, vertical(light, dark))]


def error():
    return [
        (disc(0.5, 0.5, 0.46), solid("9c1010")),
        (disc(0.5, 0.5, 0.42), vertical("f05a4a", "c81e1e")),
        (capsule(0.32, 0.32, 0.68, 0.68, 0.07), solid("ffffff")),
        (capsule(0.68, 0.32, 0.32, 0.68, 0.07), solid("ffffff")),
    ]


def information():
    return [
        (disc(0.5, 0.5, 0.46), solid("1d4f9c")),
        (disc(0.5, 0.5, 0.42), vertical("6aa8f0", "2763c4")),
        (disc(0.5, 0.27, 0.075), solid("ffffff")),
        (capsule(0.5, 0.44, 0.5, 0.74, 0.065), solid("ffffff")),
    ]


def shield():
    outline = [(0.5, 0.05), (0.9, 0.18), (0.86, 0.55), (0.5, 0.95), (0.14, 0.55), (0.1, 0.18)]
    body = rounded_polygon(outline, 0.02)
    inner = rounded_polygon([(0.5, 0.11), (0.84, 0.22), (0.8, 0.53), (0.5, 0.88), (0.2, 0.53),
                             (0.16, 0.22)], 0.0)
    # Blue, yellow, green and red quarters.
    quarters = {(0, 0): rgb("2f6fd6"), (1, 0): rgb("f2c200"), (0, 1): rgb("3aa845"),
                (1, 1): rgb("d9412b")}

    def quarter(x, y):
        return quarters[(int(x >= 0.5), int(y >= 0.47))]
    return [(body, solid("3a3a3a")), (inner, quarter)]


ICONS = [
    (11020, "warning", warning(), (16, 32)),
    (11021, "arrow", arrow("7fe07a", "1f8a2b"), (16,)),
    (11022, "arrow_hot", arrow("d2ffc0", "3edc4c"), (16,)),
    (11023, "error", error(), (16, 32)),
    (11024, "information", information(), (16, 32)),
    (11025, "shield", shield(), (16, 32)),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for number, name, layers, sizes in ICONS:
        data = ico([render(layers, size) for size in sizes])
        with open(os.path.join(here, f"{number}_{name}.ico"), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
