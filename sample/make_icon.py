#!/usr/bin/env python3
"""Draw Kestrel Notes' icon, AppIcon.ico: a note page with ruled lines and a
pencil across it, at 32 x 32 and 16 x 16, 32-bit BGRA with an AND mask.

    python3 make_icon.py [output path]

Writes AppIcon.ico next to this script unless a path is given. Only the
standard library and plain arithmetic are used, so the file is the same byte
for byte on every run.
"""

import os
import struct
import sys

SAMPLES = 4  # per axis and pixel

PAPER = (255, 248, 220)
EDGE = (107, 91, 62)
RULE = (120, 150, 200)
FOLD = (230, 215, 170)
WOOD = (240, 160, 48)
LEAD = (60, 50, 40)


def in_page(x, y):
    """The page, 32 units square, with its top right corner folded down."""
    return 6 <= x <= 25 and 3 <= y <= 29 and (x - 19) < (y - 3)


def in_fold(x, y):
    return 19 <= x <= 25 and 3 <= y <= 9 and (x - 19) >= (y - 3) - 0.01 and x - 19 <= 6


def pencil_part(x, y):
    """'wood' or 'lead' along a band from (28, 6) to (13, 26), else None."""
    ax, ay, bx, by = 28.0, 6.0, 13.0, 26.0
    vx, vy = bx - ax, by - ay
    length_sq = vx * vx + vy * vy
    t = ((x - ax) * vx + (y - ay) * vy) / length_sq
    if not 0.0 <= t <= 1.0:
        return None
    dx, dy = x - (ax + t * vx), y - (ay + t * vy)
    half_width = 2.2 if t < 0.8 else 2.2 * (1.0 - t) / 0.2
    if dx * dx + dy * dy > half_width * half_width:
        return None
    return "lead" if t > 0.9 else "wood"


def colour_at(x, y):
    part = pencil_part(x, y)
    if part:
        return WOOD if part == "wood" else LEAD
    if in_fold(x, y):
        return FOLD
    if in_page(x, y):
        inner = 7 <= x <= 24 and 4 <= y <= 28 and (x - 19) < (y - 4)
        if not inner:
            return EDGE
        if 9 <= x <= 22 and any(abs(y - line) < 0.6 for line in (11, 15, 19, 23)):
            return RULE
        return PAPER
    return None


def render(size):
    """Rows of (b, g, r, a), top row first."""
    rows = []
    unit = 32.0 / size
    for py in range(size):
        row = []
        for px in range(size):
            totals, hits = [0, 0, 0], 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) * unit,
                                  (py + (sy + 0.5) / SAMPLES) * unit)
                    if c:
                        hits += 1
                        totals = [t + v for t, v in zip(totals, c)]
            if hits:
                r, g, b = (t // hits for t in totals)
                row.append((b, g, r, 255 * hits // (SAMPLES * SAMPLES)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def icon_image(size):
    """One icon image: the header, the colour bits bottom row first, the mask."""
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes(p) for row in reversed(rows) for p in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:  # transparent where the alpha is
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colour + bytes(mask)


def write_icon(path, sizes=(32, 16)):
    images = [(size, icon_image(size)) for size in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_icon(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "AppIcon.ico"))
