#!/usr/bin/env python3
"""Draws Morvane's icons and writes them as .ico files beside this script.

app.ico      (group 100) 32x32 chasing arrows, 16x16 full bin; each at 4 and 8 bits per pixel
binfull.ico  (group 101) 32x32 full grey bin with the green symbol, 4 and 8 bits per pixel
binempty.ico (group 102) 32x32 the same bin, empty, 4 and 8 bits per pixel
Each also has a 48x48 image in 32-bit colour with alpha, stored as PNG (Vista and later
read it; Windows XP takes the 16 and 32 pixel images), for 150 % and larger icons.

The pictures are polygons in pixel coordinates, rendered with 4x4 samples a pixel.
Edges against the background are hard (a 1-bit mask) in the paletted images and smooth
(the samples' coverage as alpha) in the 48-pixel ones; colours inside are smoothed.
Usage: icons.py [--preview DIR]   (--preview also writes enlarged PNGs to look at)
"""

import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 4

VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

GREEN_EDGE = (0, 84, 0)
GREEN_LIGHT = (96, 224, 96)
GREEN_DARK = (0, 150, 40)
GREY_EDGE = (64, 64, 64)
GREY_LIGHT = (236, 236, 236)
GREY_DARK = (150, 150, 150)
RIB = (120, 120, 120)
INSIDE = (48, 48, 48)
PAPER = (255, 255, 255)
PAPER_SHADE = (232, 226, 196)


# --- shapes: a polygon, an outline colour and width, and a fill that may vary by position

def arc_points(cx, cy, r, a0, a1, steps):
    return [(cx + r * math.cos(a0 + (a1 - a0) * i / steps),
             cy - r * math.sin(a0 + (a1 - a0) * i / steps)) for i in range(steps + 1)]


def chasing_arrow(cx, cy, r_in, r_out, start, sweep, head):
    """One arrow of a circular recycling symbol: a bent band from angle start,
    sweeping clockwise by sweep radians, ending in an arrowhead."""
    end = start - sweep
    mid = (r_in + r_out) / 2
    half = (r_out - r_in) / 2 * head
    outer = arc_points(cx, cy, r_out, start, end, 16)
    inner = arc_points(cx, cy, r_in, end, start, 16)
    tip_angle = end - (r_out - r_in) * 1.25 / mid
    tip = (cx + mid * math.cos(tip_angle), cy - mid * math.sin(tip_angle))
    wing_out = (cx + (mid + half) * math.cos(end), cy - (mid + half) * math.sin(end))
    wing_in = (cx + (mid - half) * math.cos(end), cy - (mid - half) * math.sin(end))
    return outer + [wing_out, tip, wing_in] + inner


def recycle_symbol(cx, cy, radius, edge):
    r_out = radius
    r_in = radius * 0.55
    shapes = []
    for k in range(3):
        start = math.radians(100 + 120 * k)
        poly = chasing_arrow(cx, cy, r_in, r_out, start, math.radians(74), 2.3)
        shapes.append((poly, GREEN_EDGE, edge, vertical_fill(GREEN_LIGHT, GREEN_DARK, cy - radius, cy + radius)))
    return shapes


def vertical_fill(top, bottom, y0, y1):
    def fill(x, y):
        t = min(1.0, max(0.0, (y - y0) / max(1e-6, y1 - y0)))
        return mix(top, bottom, t)
    return fill


def horizontal_fill(left, right, x0, x1):
    def fill(x, y):
        t = min(1.0, max(0.0, (x - x0) / max(1e-6, x1 - x0)))
        return mix(left, right, abs(t - 0.3) / 0.7)
    return fill


def flat(colour):
    return lambda x, y: colour


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def waste_bin(x0, y0, w, h, full, symbol_radius, edge):
    """A grey waste bin with a rim, vertical ribs and the green symbol on its front."""
    shapes = []
    taper = w * 0.14
    rim_h = max(2.0, h * 0.13)
    if full:
        # Crumpled paper heaped above the rim, drawn first so the rim covers it.
        s = w / 20.0
        heaps = [
            [(x0 + 2 * s, y0 + rim_h), (x0 + 3 * s, y0 - 3 * s), (x0 + 7 * s, y0 - 5 * s),
             (x0 + 10 * s, y0 - 2 * s), (x0 + 9 * s, y0 + rim_h)],
            [(x0 + 8 * s, y0 + rim_h), (x0 + 10 * s, y0 - 6 * s), (x0 + 14 * s, y0 - 6.5 * s),
             (x0 + 17 * s, y0 - 3 * s), (x0 + 18 * s, y0 + rim_h)],
        ]
        for poly in heaps:
            shapes.append((poly, GREY_EDGE, edge * 0.8, vertical_fill(PAPER, PAPER_SHADE, y0 - 6 * s, y0 + rim_h)))
    body = [(x0 + 1, y0 + rim_h * 0.5), (x0 + w - 1, y0 + rim_h * 0.5),
            (x0 + w - 1 - taper, y0 + h), (x0 + 1 + taper, y0 + h)]
    shapes.append((body, GREY_EDGE, edge, horizontal_fill(GREY_LIGHT, GREY_DARK, x0, x0 + w)))
    ribs = 4
    for i in range(1, ribs + 1):
        t = i / (ribs + 1)
        if abs(t - 0.5) < 0.2:
            continue  # the symbol sits in the middle
        xt = x0 + 1 + (w - 2) * t
        xb = x0 + 1 + taper + (w - 2 - 2 * taper) * t
        rib = [(xt - 0.45, y0 + rim_h + 1), (xt + 0.45, y0 + rim_h + 1),
               (xb + 0.45, y0 + h - 1.5), (xb - 0.45, y0 + h - 1.5)]
        shapes.append((rib, RIB, 0, flat(RIB)))
    rim = [(x0, y0), (x0 + w, y0), (x0 + w, y0 + rim_h), (x0, y0 + rim_h)]
    shapes.append((rim, GREY_EDGE, edge, vertical_fill(GREY_LIGHT, GREY_DARK, y0, y0 + rim_h)))
    if not full:
        opening = [(x0 + 1.5, y0 + 0.8), (x0 + w - 1.5, y0 + 0.8),
                   (x0 + w - 1.5, y0 + rim_h * 0.55), (x0 + 1.5, y0 + rim_h * 0.55)]
        shapes.append((opening, INSIDE, 0, flat(INSIDE)))
    cx = x0 + w / 2
    cy = y0 + rim_h + (h - rim_h) * 0.48
    shapes += recycle_symbol(cx, cy, symbol_radius, edge * 0.7)
    return shapes


# --- rendering

def point_in_polygon(x, y, poly):
    inside = False
    n = len(poly)
    for i in range(n):
        (x1, y1), (x2, y2) = poly[i], poly[(i + 1) % n]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def distance_to_edges(x, y, poly):
    best = float("inf")
    n = len(poly)
    for i in range(n):
        (x1, y1), (x2, y2) = poly[i], poly[(i + 1) % n]
        dx, dy = x2 - x1, y2 - y1
        length2 = dx * dx + dy * dy
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / length2))
        px, py = x1 + t * dx - x, y1 + t * dy - y
        best = min(best, px * px + py * py)
    return math.sqrt(best)


def render(size, shapes):
    """Returns rows of (r, g, b, covered, coverage) for a size x size picture."""
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    colour = None
                    for poly, edge_colour, edge_width, fill in shapes:
                        if point_in_polygon(x, y, poly):
                            inner = edge_width > 0 and distance_to_edges(x, y, poly) < edge_width
                            colour = edge_colour if inner else fill(x, y)
                    if colour is not None:
                        hits += 1
                        for i in range(3):
                            total[i] += colour[i]
            coverage = hits / (SAMPLES * SAMPLES)
            if hits:
                row.append(tuple(int(round(c / hits)) for c in total) + (hits * 2 >= SAMPLES * SAMPLES, coverage))
            else:
                row.append((0, 0, 0, False, 0.0))
        pixels.append(row)
    return pixels


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((colour[k] - palette[i][k]) ** 2 for k in range(3)))


def median_cut(colours, count):
    boxes = [sorted(set(colours))]
    while len(boxes) < count:
        boxes.sort(key=lambda b: max(max(c[k] for c in b) - min(c[k] for c in b) for k in range(3)) if len(b) > 1 else -1)
        box = boxes.pop()
        if len(box) < 2:
            boxes.append(box)
            break
        axis = max(range(3), key=lambda k: max(c[k] for c in box) - min(c[k] for c in box))
        box.sort(key=lambda c: c[axis])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    return [tuple(sum(c[k] for c in b) // len(b) for k in range(3)) for b in boxes]


def palette_for(pixels, bits):
    """VGA's 16 colours at 4 bits; at 8, black, then of the colours the picture uses, as many
    as a row has pixels at the most (32 at 32x32), chosen by median cut; the header says how
    many. Each entry costs 4 bytes of every exe, and these pictures in 32 colours look as they
    do in 200. Black comes first: the pixels the mask leaves transparent take entry 0, and
    the screen shows through them only where that entry is black."""
    if bits == 4:
        return VGA16
    used = sorted(set(p[:3] for row in pixels for p in row if p[3]))
    most = len(pixels) - 1
    return [(0, 0, 0)] + (used if len(used) <= most else median_cut(used, most))


# --- .ico files

def dib(pixels, bits):
    size = len(pixels)
    palette = palette_for(pixels, bits)
    cache = {}
    xor_rows, and_rows = [], []
    for row in reversed(pixels):  # bottom-up
        indices = []
        mask_bits = []
        for r, g, b, covered, _ in row:
            if covered:
                key = (r, g, b)
                if key not in cache:
                    cache[key] = nearest(key, palette)
                indices.append(cache[key])
            else:
                indices.append(0)
            mask_bits.append(0 if covered else 1)
        if bits == 8:
            data = bytes(indices)
        else:
            data = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        xor_rows.append(data + b"\0" * (-len(data) % 4))
        mask = bytes(int("".join(str(b) for b in mask_bits[i:i + 8]).ljust(8, "0"), 2)
                     for i in range(0, size, 8))
        and_rows.append(mask + b"\0" * (-len(mask) % 4))
    image = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(image), 0, 0,
                         len(palette), 0)
    quads = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    return header + quads + image


def png(size, colour_type, raw):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, colour_type, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def png_rgba(pixels):
    """A 32-bit image with alpha, as the PNG that icon files may hold in place of a DIB. Its
    colours are kept to 5 bits a channel, as on a 16-bit display: no eye tells the difference
    at 48 pixels, and the image compresses to three quarters."""
    raw = b""
    for row in pixels:
        raw += b"\0" + b"".join(bytes((r & 0xF8, g & 0xF8, b & 0xF8, int(round(255 * coverage))))
                                if coverage else b"\0\0\0\0" for r, g, b, _, coverage in row)
    return png(len(pixels), 6, raw)


def write_ico(path, images):
    """images: list of (pixels, bits); 32 bits are written as PNG."""
    blobs = [png_rgba(pixels) if bits == 32 else dib(pixels, bits) for pixels, bits in images]
    offset = 6 + 16 * len(images)
    directory = b""
    for (pixels, bits), blob in zip(images, blobs):
        size = len(pixels)
        colours = 16 if bits == 4 else 0
        directory += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + directory + b"".join(blobs))


def write_preview(path, pixels, scale=8):
    raw = b""
    for row in pixels:
        line = b"".join(bytes(p[:3]) if p[3] else b"\xc0\xd8\xe8" for p in row for _ in range(scale))
        raw += (b"\0" + line) * scale
    with open(path, "wb") as f:
        f.write(png(len(pixels) * scale, 2, raw))


def main():
    arrows32 = render(32, recycle_symbol(16, 16, 13.2, 1.1))
    bin16 = render(16, waste_bin(2, 3, 12, 12.5, True, 3.4, 0.9))
    full32 = render(32, waste_bin(5, 7, 22, 24, True, 6.2, 1.1))
    empty32 = render(32, waste_bin(5, 7, 22, 24, False, 6.2, 1.1))
    arrows48 = render(48, recycle_symbol(24, 24, 19.8, 1.5))
    full48 = render(48, waste_bin(7.5, 10.5, 33, 36, True, 9.3, 1.5))
    empty48 = render(48, waste_bin(7.5, 10.5, 33, 36, False, 9.3, 1.5))

    write_ico(os.path.join(HERE, "app.ico"),
              [(bin16, 4), (bin16, 8), (arrows32, 4), (arrows32, 8), (arrows48, 32)])
    write_ico(os.path.join(HERE, "binfull.ico"), [(full32, 4), (full32, 8), (full48, 32)])
    write_ico(os.path.join(HERE, "binempty.ico"), [(empty32, 4), (empty32, 8), (empty48, 32)])

    if len(sys.argv) == 3 and sys.argv[1] == "--preview":
        for name, pixels in [("arrows32", arrows32), ("bin16", bin16), ("full32", full32), ("empty32", empty32),
                             ("arrows48", arrows48), ("full48", full48), ("empty48", empty48)]:
            write_preview(os.path.join(sys.argv[2], name + ".png"), pixels)


if __name__ == "__main__":
    main()
