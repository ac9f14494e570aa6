#!/usr/bin/env python3
"""Generate the setup program's art: three icons and the wizard bitmap.

    python3 make_art.py [output directory]

Writes, next to this script unless a directory is given:

    setup.ico      icon group 128: an open carton with an arrow going in
    uninstall.ico  icon group 129: the carton with a red cancel badge
    question.ico   icon group 130: a blue disc with a question mark
    wizard.bmp     bitmap 220: 213 x 378 pixels, 8 bits per pixel, a dusk
                   sky over hills with a hovering kestrel; its frame on the
                   wizard pages is 142 x 252 pixels at 100 % display scale,
                   so it is drawn for 150 %, and the program resamples it to
                   the frame's size at whatever scale it runs

Each icon holds a 32 x 32 and a 16 x 16 image, 32-bit BGRA with an AND
mask.  Only the standard library is used, and only arithmetic and square
roots (no trigonometry, no random module), so the output is the same byte
for byte on every run and every platform.
"""

import os
import struct
import sys


# ---------------------------------------------------------------------------
# Shapes.  Each shape answers contains(x, y) and has a bounding box used to
# skip samples quickly.  Coordinates are floats; y grows downwards.
# ---------------------------------------------------------------------------

class Shape:
    bbox = (float("-inf"), float("-inf"), float("inf"), float("inf"))

    def hit(self, x, y):
        x0, y0, x1, y1 = self.bbox
        return x0 <= x <= x1 and y0 <= y <= y1 and self.contains(x, y)

    def contains(self, x, y):
        raise NotImplementedError


class Polygon(Shape):
    def __init__(self, points):
        self.points = [(float(px), float(py)) for px, py in points]
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        self.bbox = (min(xs), min(ys), max(xs), max(ys))

    def contains(self, x, y):
        inside = False
        pts = self.points
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y):
                cross = xi + (y - yi) * (xj - xi) / (yj - yi)
                if x < cross:
                    inside = not inside
            j = i
        return inside


class Ellipse(Shape):
    def __init__(self, cx, cy, rx, ry=None):
        self.cx, self.cy = float(cx), float(cy)
        self.rx = float(rx)
        self.ry = float(rx if ry is None else ry)
        self.bbox = (self.cx - self.rx, self.cy - self.ry,
                     self.cx + self.rx, self.cy + self.ry)

    def contains(self, x, y):
        dx = (x - self.cx) / self.rx
        dy = (y - self.cy) / self.ry
        return dx * dx + dy * dy <= 1.0


def _segment_distance_sq(px, py, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    wx, wy = px - ax, py - ay
    length_sq = vx * vx + vy * vy
    t = 0.0 if length_sq == 0.0 else (wx * vx + wy * vy) / length_sq
    t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
    dx, dy = wx - t * vx, wy - t * vy
    return dx * dx + dy * dy


class Stroke(Shape):
    """A line of the given width along a polyline, with round ends."""

    def __init__(self, points, width, closed=False):
        self.points = [(float(px), float(py)) for px, py in points]
        if closed:
            self.points.append(self.points[0])
        self.half_sq = (width / 2.0) ** 2
        h = width / 2.0
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        self.bbox = (min(xs) - h, min(ys) - h, max(xs) + h, max(ys) + h)

    def contains(self, x, y):
        pts = self.points
        for i in range(len(pts) - 1):
            (ax, ay), (bx, by) = pts[i], pts[i + 1]
            if _segment_distance_sq(x, y, ax, ay, bx, by) <= self.half_sq:
                return True
        return False


class Ring(Shape):
    """Annulus around (cx, cy); `skip` drops the quadrants named in it
    ('ul', 'ur', 'll', 'lr': upper/lower, left/right)."""

    def __init__(self, cx, cy, r_mid, width, skip=()):
        self.cx, self.cy = float(cx), float(cy)
        self.r_in_sq = (r_mid - width / 2.0) ** 2
        self.r_out_sq = (r_mid + width / 2.0) ** 2
        self.skip = set(skip)
        r = r_mid + width / 2.0
        self.bbox = (cx - r, cy - r, cx + r, cy + r)

    def contains(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        d = dx * dx + dy * dy
        if d < self.r_in_sq or d > self.r_out_sq:
            return False
        quadrant = ("u" if dy < 0 else "l") + ("l" if dx < 0 else "r")
        return quadrant not in self.skip


class Union(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes
        self.bbox = (min(s.bbox[0] for s in shapes),
                     min(s.bbox[1] for s in shapes),
                     max(s.bbox[2] for s in shapes),
                     max(s.bbox[3] for s in shapes))

    def contains(self, x, y):
        return any(s.hit(x, y) for s in self.shapes)


# ---------------------------------------------------------------------------
# Paint: constant colours and linear gradients, RGBA with components 0..1.
# ---------------------------------------------------------------------------

def rgb(hex_text, alpha=1.0):
    v = int(hex_text.lstrip("#"), 16)
    return ((v >> 16) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0,
            alpha)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(4))


def solid(colour):
    return lambda x, y: colour


def linear(x0, y0, c0, x1, y1, c1):
    """Gradient from c0 at (x0, y0) to c1 at (x1, y1)."""
    vx, vy = x1 - x0, y1 - y0
    length_sq = vx * vx + vy * vy

    def paint(x, y):
        t = ((x - x0) * vx + (y - y0) * vy) / length_sq
        t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
        return mix(c0, c1, t)
    return paint


def stops(y_stops):
    """Vertical multi-stop gradient: [(y, colour), ...] sorted by y."""
    def paint(x, y):
        if y <= y_stops[0][0]:
            return y_stops[0][1]
        for (ya, ca), (yb, cb) in zip(y_stops, y_stops[1:]):
            if y <= yb:
                t = (y - ya) / (yb - ya)
                # Smoothstep, so the bands meet without a visible crease.
                return mix(ca, cb, t * t * (3.0 - 2.0 * t))
        return y_stops[-1][1]
    return paint


def over(top, below):
    """Porter-Duff 'over' on straight (non-premultiplied) RGBA."""
    ta = top[3]
    if ta >= 1.0:
        return top
    ba = below[3] * (1.0 - ta)
    a = ta + ba
    if a <= 0.0:
        return (0.0, 0.0, 0.0, 0.0)
    return tuple((top[i] * ta + below[i] * ba) / a for i in range(3)) + (a,)


# ---------------------------------------------------------------------------
# Rasteriser: supersampled, painter's algorithm over a list of layers.
# ---------------------------------------------------------------------------

def render(width, height, layers, scale_x, scale_y, samples, background=None):
    """Return rows of (r, g, b, a) floats.

    layers: [(shape, paint), ...] from back to front, in scene coordinates;
    a pixel (px, py) covers scene x in [px, px+1) * scale_x, same for y.
    """
    clear = (0.0, 0.0, 0.0, 0.0)
    n = samples * samples
    offsets = [(i + 0.5) / samples for i in range(samples)]
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for oy in offsets:
                y = (py + oy) * scale_y
                for ox in offsets:
                    x = (px + ox) * scale_x
                    colour = background(x, y) if background else clear
                    for shape, paint in layers:
                        if shape.hit(x, y):
                            colour = over(paint(x, y), colour)
                    a = colour[3]
                    acc[0] += colour[0] * a
                    acc[1] += colour[1] * a
                    acc[2] += colour[2] * a
                    acc[3] += a
            a = acc[3] / n
            if a <= 0.0:
                row.append(clear)
            else:
                row.append((acc[0] / acc[3], acc[1] / acc[3],
                            acc[2] / acc[3], a))
        rows.append(row)
    return rows


def to_byte(v):
    v = int(v * 255.0 + 0.5)
    return 0 if v < 0 else 255 if v > 255 else v


# ---------------------------------------------------------------------------
# Icons.  Designed on a 1 x 1 square; `px` is the size of one pixel in that
# square, so outlines stay one pixel wide at every size.
# ---------------------------------------------------------------------------

def carton_layers(px):
    """Open carton: (layers behind an inserted object, layers in front)."""
    outline = solid(rgb("#4a2e12"))
    front = [(0.10, 0.47), (0.60, 0.47), (0.60, 0.93), (0.10, 0.93)]
    side = [(0.60, 0.47), (0.90, 0.33), (0.90, 0.79), (0.60, 0.93)]
    opening = [(0.10, 0.47), (0.40, 0.33), (0.90, 0.33), (0.60, 0.47)]
    back_flap = [(0.40, 0.33), (0.90, 0.33), (0.80, 0.10), (0.30, 0.10)]
    label = [(0.18, 0.62), (0.44, 0.62), (0.44, 0.77), (0.18, 0.77)]

    behind = [
        (Polygon(back_flap),
         linear(0, 0.10, rgb("#f0d3a0"), 0, 0.33, rgb("#d4a566"))),
        (Stroke(back_flap, px, closed=True), outline),
        (Polygon(opening),
         linear(0, 0.33, rgb("#3e260f"), 0, 0.47, rgb("#6b4520"))),
        (Stroke(opening, px, closed=True), outline),
    ]
    in_front = [
        (Polygon(side),
         linear(0.60, 0, rgb("#a8733a"), 0.90, 0, rgb("#85562a"))),
        (Stroke(side, px, closed=True), outline),
        (Polygon(front),
         linear(0, 0.47, rgb("#e0b06a"), 0, 0.93, rgb("#c28c48"))),
        (Stroke(front, px, closed=True), outline),
        (Polygon(label), solid(rgb("#f6f1e6"))),
        (Stroke(label, px * 0.75, closed=True), solid(rgb("#9c7446"))),
    ]
    return behind, in_front


def setup_icon(px):
    behind, in_front = carton_layers(px)
    arrow = [(0.43, 0.02), (0.57, 0.02), (0.57, 0.20), (0.69, 0.20),
             (0.50, 0.42), (0.31, 0.20), (0.43, 0.20)]
    return behind + [
        (Polygon(arrow),
         linear(0.31, 0, rgb("#5cc95f"), 0.69, 0, rgb("#23852f"))),
        (Stroke(arrow, px, closed=True), solid(rgb("#14531c"))),
    ] + in_front


def uninstall_icon(px):
    behind, in_front = carton_layers(px)
    cx, cy, r = 0.70, 0.70, 0.28
    bar = max(0.085, 1.6 * px)
    d = 0.105
    return behind + in_front + [
        (Ellipse(cx, cy, r + px * 0.5), solid(rgb("#6e0e0a"))),
        (Ellipse(cx, cy, r - px * 0.5),
         linear(cx - r, cy - r, rgb("#f06a58"), cx + r, cy + r,
                rgb("#b41c16"))),
        (Stroke([(cx - d, cy - d), (cx + d, cy + d)], bar),
         solid(rgb("#ffffff"))),
        (Stroke([(cx + d, cy - d), (cx - d, cy + d)], bar),
         solid(rgb("#ffffff"))),
    ]


def question_icon(px):
    r = 0.47
    white = solid(rgb("#ffffff"))
    t = max(0.11, 1.7 * px)          # stroke of the question mark
    hook_cx, hook_cy, hook_r = 0.50, 0.36, 0.13
    return [
        (Ellipse(0.5, 0.5, r), solid(rgb("#123d80"))),
        (Ellipse(0.5, 0.5, r - px),
         linear(0.15, 0.10, rgb("#6cb0f5"), 0.85, 0.90, rgb("#1d59b8"))),
        (Ellipse(0.42, 0.30, 0.22, 0.13), solid(rgb("#ffffff", 0.18))),
        # Hook: left end, over the top, round the right, down to the stem.
        (Ring(hook_cx, hook_cy, hook_r, t, skip=("ll",)), white),
        (Ellipse(hook_cx - hook_r, hook_cy, t / 2.0), white),
        (Polygon([(0.5 - t / 2, hook_cy + hook_r),
                  (0.5 + t / 2, hook_cy + hook_r),
                  (0.5 + t / 2, 0.63), (0.5 - t / 2, 0.63)]), white),
        (Ellipse(0.5, 0.77, t * 0.70), white),
    ]


def icon_image(size, layer_function):
    px = 1.0 / size
    rows = render(size, size, layer_function(px), px, px, samples=6)
    # XOR image: BGRA, bottom-up.
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            alpha = to_byte(a)
            if alpha == 0:
                xor += b"\0\0\0\0"
            else:
                xor += bytes((to_byte(b), to_byte(g), to_byte(r), alpha))
    # AND mask: 1 bit per pixel, set where transparent; rows padded to 32 bits.
    mask_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if to_byte(a) < 128:
                line[x >> 3] |= 0x80 >> (x & 7)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def write_icon(path, layer_function, sizes=(32, 16)):
    images = [(size, icon_image(size, layer_function)) for size in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data),
                           offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


# ---------------------------------------------------------------------------
# Wizard bitmap. The scene is in the pixel coordinates of its frame at 100 %
# display scale (142 x 252); the bitmap has BMP_SCALE times as many pixels
# each way, so that it is sharp at 150 % and only ever resampled down below.
# ---------------------------------------------------------------------------

BMP_W, BMP_H = 142, 252
BMP_SCALE = 1.5
BIRD_X, BIRD_Y = 70.0, 84.0              # between the shoulders


def hill_profile(base, bumps, x0=-2.0, x1=BMP_W + 2.0, step=2.0):
    """Polygon of a range of hills: base line minus parabolic bumps."""
    points = []
    x = x0
    while x <= x1 + 1e-9:
        y = base
        for centre, half_width, height in bumps:
            u = (x - centre) / half_width
            if -1.0 < u < 1.0:
                y -= height * (1.0 - u * u)
        points.append((x, y))
        x += step
    return Polygon(points + [(x1, BMP_H + 2.0), (x0, BMP_H + 2.0)])


def kestrel(cx, cy):
    """Hovering kestrel seen from below: long pointed wings bent at the
    wrist, a small head and a long, slightly fanned tail."""
    left_wing = [(-4, -8), (-16, -14), (-30, -15), (-46, -9), (-60, 2),
                 (-48, 0), (-38, 2), (-26, 5), (-14, 8), (-4, 8)]
    wing_l = Polygon([(cx + dx, cy + dy) for dx, dy in left_wing])
    wing_r = Polygon([(cx - dx, cy + dy) for dx, dy in left_wing])
    tail = Polygon([(cx + dx, cy + dy) for dx, dy in
                    [(-4, 9), (4, 9), (7, 36), (4, 39), (0, 40), (-4, 39),
                     (-7, 36)]])
    body = Ellipse(cx, cy + 1, 6, 14)
    head = Ellipse(cx, cy - 14, 4.5, 5)
    beak = Polygon([(cx - 1.6, cy - 18), (cx + 1.6, cy - 18),
                    (cx, cy - 21.5)])
    return Union(wing_l, wing_r, tail, body, head, beak)


def wizard_layers():
    # A handful of stars in the upper sky, placed by a small fixed LCG.
    stars = []
    seed = 20240611
    for _ in range(40):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        x = 3 + (seed >> 8) % (BMP_W - 6)
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        y = 3 + (seed >> 8) % 95
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        size = 0.55 + ((seed >> 8) % 100) / 160.0
        glow = 0.35 + (100 - y) / 160.0
        if abs(x - BIRD_X) < 66 and -26 < y - BIRD_Y < 46:
            continue                    # keep the bird's outline clean
        stars.append((Ellipse(x + 0.5, y + 0.5, size),
                      solid(rgb("#fff6dc", min(1.0, glow)))))

    sun_x, sun_y = 100.0, 186.0
    layers = stars + [
        (Ellipse(sun_x, sun_y, 38), solid(rgb("#ffd9a0", 0.14))),
        (Ellipse(sun_x, sun_y, 29), solid(rgb("#ffe0a8", 0.22))),
        (Ellipse(sun_x, sun_y, 20),
         linear(0, sun_y - 20, rgb("#fff3c8"), 0, sun_y + 20,
                rgb("#ffc877"))),
        (hill_profile(214, [(10, 46, 22), (72, 40, 12), (128, 44, 26)]),
         linear(0, 188, rgb("#8a6f9a"), 0, 230, rgb("#6d5a86"))),
        (hill_profile(228, [(-6, 52, 16), (58, 50, 20), (150, 46, 12)]),
         linear(0, 206, rgb("#56497a"), 0, 240, rgb("#433a66"))),
        (hill_profile(243, [(34, 62, 15), (120, 58, 10)]),
         linear(0, 226, rgb("#2e2a4e"), 0, 252, rgb("#221f3c"))),
        (kestrel(BIRD_X, BIRD_Y), solid(rgb("#1b1d30"))),
    ]
    sky = stops([
        (0.0, rgb("#0f1b3d")),
        (70.0, rgb("#27497f")),
        (135.0, rgb("#5f86b8")),
        (180.0, rgb("#e8a873")),
        (215.0, rgb("#f3c88c")),
    ])
    return layers, sky


def median_cut(histogram, count):
    """Reduce {(r, g, b): n} to at most `count` colours (deterministic)."""
    boxes = [sorted(histogram.items())]

    def spread(box):
        best = (-1, 0)
        for channel in range(3):
            values = [c[channel] for c, _ in box]
            best = max(best, (max(values) - min(values), -channel))
        return best

    while len(boxes) < count:
        # Split the box whose widest channel, weighted by population, is
        # largest; ties go to the earliest box.
        best_index, best_score, best_channel = -1, 0, 0
        for index, box in enumerate(boxes):
            if len(box) < 2:
                continue
            extent, neg_channel = spread(box)
            population = sum(n for _, n in box)
            score = extent * extent * population
            if score > best_score:
                best_index, best_score = index, score
                best_channel = -neg_channel
        if best_index < 0:
            break
        box = sorted(boxes[best_index],
                     key=lambda item: (item[0][best_channel], item[0]))
        total = sum(n for _, n in box)
        running, cut = 0, 1
        for i, (_, n) in enumerate(box):
            running += n
            if running * 2 >= total:
                cut = min(max(i + 1, 1), len(box) - 1)
                break
        boxes[best_index:best_index + 1] = [box[:cut], box[cut:]]

    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(
            (sum(c[ch] * n for c, n in box) + total // 2) // total
            for ch in range(3)))
    return palette


def write_wizard_bitmap(path):
    layers, sky = wizard_layers()
    width, height = round(BMP_W * BMP_SCALE), round(BMP_H * BMP_SCALE)
    rows = render(width, height, layers, BMP_W / width, BMP_H / height,
                  samples=3, background=sky)
    pixels = [[(to_byte(r), to_byte(g), to_byte(b)) for r, g, b, _ in row]
              for row in rows]

    histogram = {}
    for row in pixels:
        for colour in row:
            histogram[colour] = histogram.get(colour, 0) + 1
    palette = sorted(set(median_cut(histogram, 256)),
                     key=lambda c: (c[0] * 299 + c[1] * 587 + c[2] * 114, c))
    palette += [(0, 0, 0)] * (256 - len(palette))

    nearest = {}
    for colour in histogram:
        best, best_d = 0, None
        for index, entry in enumerate(palette):
            dr = colour[0] - entry[0]
            dg = colour[1] - entry[1]
            db = colour[2] - entry[2]
            d = 3 * dr * dr + 4 * dg * dg + 2 * db * db
            if best_d is None or d < best_d:
                best, best_d = index, d
        nearest[colour] = best

    stride = (width + 3) & ~3
    bits = bytearray()
    for row in reversed(pixels):            # bottom-up DIB
        line = bytearray(nearest[c] for c in row)
        bits += line + bytes(stride - len(line))

    colour_table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(colour_table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0,
                              offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0,
                              len(bits), 2835, 2835, 256, 0)
    with open(path, "wb") as f:
        f.write(file_header + info_header + colour_table + bytes(bits))


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else \
        os.path.dirname(os.path.abspath(__file__))
    write_icon(os.path.join(out_dir, "setup.ico"), setup_icon)
    write_icon(os.path.join(out_dir, "uninstall.ico"), uninstall_icon)
    write_icon(os.path.join(out_dir, "question.ico"), question_icon)
    write_wizard_bitmap(os.path.join(out_dir, "wizard.bmp"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
