#!/usr/bin/env python3
"""Draws Tovlen's pictures and writes them in the formats Windows loads.

    make_artwork.py [--out DIR] [--preview DIR] [--figures DIR]

--out      the resource pictures (default: res/ of this checkout): app.ico, pin.ico,
           LIGHTON.ico, commandback.bmp, splashlogo.bmp
--preview  PNGs of every picture at 1x and 2x, and mock-ups of the windows, for looking at
--figures  the EPS pictures that the user guide shows

Everything is drawn from the shapes below with the Python standard library alone, and the
output is byte for byte the same on every run, so the committed pictures can be checked
against a fresh run.
"""

import argparse
import os
import struct
import sys
import zlib
from math import sqrt

# ---------------------------------------------------------------- colours

def rgb(r, g, b, a=1.0):
    return (r / 255.0, g / 255.0, b / 255.0, a)


GREEN_BOX = rgb(121, 191, 104)      # the command window's icon box
TITLE_GREEN = rgb(0, 128, 0)        # the splash title
KEY_OUTLINE = rgb(30, 82, 24)
KEY_SKIRT_TOP = rgb(66, 138, 50)
KEY_SKIRT_BOTTOM = rgb(42, 104, 32)
KEY_FACE_TOP = rgb(166, 222, 148)
KEY_FACE_BOTTOM = GREEN_BOX
GLYPH = rgb(255, 255, 255)
GLYPH_SHADOW = rgb(28, 92, 22, 0.55)
WHITE = rgb(255, 255, 255)
BLACK = rgb(0, 0, 0)

# ---------------------------------------------------------------- shapes
# A shape is a signed distance function in pixels (negative inside) with a bounding box.


class Shape:
    def __init__(self, sdf, box):
        self.sdf = sdf
        self.box = box  # x0, y0, x1, y1

    def __or__(self, other):
        a, b = self.sdf, other.sdf
        return Shape(lambda x, y: min(a(x, y), b(x, y)), union_box(self.box, other.box))

    def __sub__(self, other):
        a, b = self.sdf, other.sdf
        return Shape(lambda x, y: max(a(x, y), -b(x, y)), self.box)

    def __and__(self, other):
        a, b = self.sdf, other.sdf
        return Shape(lambda x, y: max(a(x, y), b(x, y)), self.box)

    def grown(self, d):
        f = self.sdf
        x0, y0, x1, y1 = self.box
        return Shape(lambda x, y: f(x, y) - d, (x0 - d, y0 - d, x1 + d, y1 + d))

    def moved(self, dx, dy):
        f = self.sdf
        x0, y0, x1, y1 = self.box
        return Shape(lambda x, y: f(x - dx, y - dy), (x0 + dx, y0 + dy, x1 + dx, y1 + dy))


def union_box(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def sdf(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        ox, oy = max(qx, 0.0), max(qy, 0.0)
        return sqrt(ox * ox + oy * oy) + min(max(qx, qy), 0.0) - r

    return Shape(sdf, (x0, y0, x1, y1))


def capsule(ax, ay, bx, by, width):
    r = width / 2.0
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def sdf(x, y):
        px, py = x - ax, y - ay
        t = (px * dx + py * dy) / length2
        t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
        ex, ey = px - t * dx, py - t * dy
        return sqrt(ex * ex + ey * ey) - r

    return Shape(sdf, (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r))


def polyline(points, width):
    shape = capsule(*points[0], *points[1], width)
    for a, b in zip(points[1:], points[2:]):
        shape = shape | capsule(*a, *b, width)
    return shape


def circle(cx, cy, r):
    return Shape(lambda x, y: sqrt((x - cx) ** 2 + (y - cy) ** 2) - r, (cx - r, cy - r, cx + r, cy + r))


# ---------------------------------------------------------------- paints

def vertical(y0, y1, top, bottom):
    """A gradient from `top` at y0 to `bottom` at y1."""
    span = float(y1 - y0)

    def paint(x, y):
        t = (y - y0) / span
        t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))

    return paint


def smoothstep(t):
    t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
    return t * t * (3.0 - 2.0 * t)


# ---------------------------------------------------------------- canvas

class Canvas:
    """Premultiplied RGBA in floats; shapes are composited over it, antialiased by coverage."""

    def __init__(self, width, height, background=None):
        self.w, self.h = width, height
        self.px = [0.0] * (width * height * 4)
        if background:
            self.fill(background)

    def fill(self, colour):
        r, g, b, a = colour
        for i in range(0, len(self.px), 4):
            self.px[i:i + 4] = [r * a, g * a, b * a, a]

    def paint(self, shape, colour, opacity=1.0, soft=1.0, mapping=None):
        """Composites `colour` (RGBA or a function of x, y) where `shape` lies.

        `soft` widens the antialiased edge to that many pixels (shadows, glows).
        `mapping`, (sx, sy), evaluates the shape at (x * sx, y * sy): a drawing made for a
        wider cell squeezed into this canvas."""
        sx, sy = mapping or (1.0, 1.0)
        scale = sqrt(sx * sy)
        x0, y0, x1, y1 = shape.box
        pad = soft + 1.0
        xa = max(0, int((x0 - pad) / sx))
        ya = max(0, int((y0 - pad) / sy))
        xb = min(self.w, int((x1 + pad) / sx) + 2)
        yb = min(self.h, int((y1 + pad) / sy) + 2)
        sdf = shape.sdf
        flat = not callable(colour)
        px = self.px
        for y in range(ya, yb):
            cy = (y + 0.5) * sy
            row = y * self.w
            for x in range(xa, xb):
                cx = (x + 0.5) * sx
                d = sdf(cx, cy) / scale
                if soft == 1.0:
                    cov = 0.5 - d
                else:
                    cov = smoothstep(0.5 - d / soft)
                if cov <= 0.0:
                    continue
                if cov > 1.0:
                    cov = 1.0
                r, g, b, a = colour if flat else colour(cx, cy)
                a *= cov * opacity
                if a <= 0.0:
                    continue
                i = (row + x) * 4
                keep = 1.0 - a
                px[i] = r * a + px[i] * keep
                px[i + 1] = g * a + px[i + 1] * keep
                px[i + 2] = b * a + px[i + 2] * keep
                px[i + 3] = a + px[i + 3] * keep

    def draw(self, other, dx, dy, opacity=1.0, fade=None):
        """Composites another canvas at (dx, dy); `fade(y)` scales its opacity by row."""
        for y in range(other.h):
            ty = y + dy
            if ty < 0 or ty >= self.h:
                continue
            o = opacity * (fade(y) if fade else 1.0)
            for x in range(other.w):
                tx = x + dx
                if tx < 0 or tx >= self.w:
                    continue
                j = (y * other.w + x) * 4
                a = other.px[j + 3] * o
                if a <= 0.0:
                    continue
                i = (ty * self.w + tx) * 4
                keep = 1.0 - a
                for k in range(3):
                    self.px[i + k] = other.px[j + k] * o + self.px[i + k] * keep
                self.px[i + 3] = a + self.px[i + 3] * keep

    def flipped(self):
        out = Canvas(self.w, self.h)
        for y in range(self.h):
            src = (self.h - 1 - y) * self.w * 4
            out.px[y * self.w * 4:(y + 1) * self.w * 4] = self.px[src:src + self.w * 4]
        return out

    def scaled(self, factor):
        """Nearest-neighbour enlargement, for previews of pixel art."""
        out = Canvas(self.w * factor, self.h * factor)
        for y in range(out.h):
            for x in range(out.w):
                j = ((y // factor) * self.w + x // factor) * 4
                i = (y * out.w + x) * 4
                out.px[i:i + 4] = self.px[j:j + 4]
        return out

    def resampled(self, width, height):
        """Area-averaged (down) or bilinear (up) resampling, as the program draws stretched pictures."""
        out = Canvas(width, height)
        fx, fy = self.w / float(width), self.h / float(height)
        for y in range(height):
            for x in range(width):
                acc = [0.0] * 4
                if fx >= 1.0 and fy >= 1.0:
                    sx0, sx1 = x * fx, (x + 1) * fx
                    sy0, sy1 = y * fy, (y + 1) * fy
                    total = 0.0
                    for sy in range(int(sy0), min(self.h, int(sy1 + 0.999999))):
                        wy = min(sy1, sy + 1) - max(sy0, sy)
                        for sx in range(int(sx0), min(self.w, int(sx1 + 0.999999))):
                            wgt = (min(sx1, sx + 1) - max(sx0, sx)) * wy
                            if wgt <= 0:
                                continue
                            j = (sy * self.w + sx) * 4
                            for k in range(4):
                                acc[k] += self.px[j + k] * wgt
                            total += wgt
                    acc = [v / total for v in acc]
                else:
                    gx = min(max((x + 0.5) * fx - 0.5, 0.0), self.w - 1.0)
                    gy = min(max((y + 0.5) * fy - 0.5, 0.0), self.h - 1.0)
                    ix, iy = int(gx), int(gy)
                    tx, ty = gx - ix, gy - iy
                    ix1, iy1 = min(ix + 1, self.w - 1), min(iy + 1, self.h - 1)
                    for sy, wy in ((iy, 1 - ty), (iy1, ty)):
                        for sx, wx in ((ix, 1 - tx), (ix1, tx)):
                            j = (sy * self.w + sx) * 4
                            for k in range(4):
                                acc[k] += self.px[j + k] * wx * wy
                i = (y * width + x) * 4
                out.px[i:i + 4] = acc
        return out

    def on(self, background):
        out = Canvas(self.w, self.h, background)
        out.draw(self, 0, 0)
        return out

    def rgba8(self):
        """Straight (not premultiplied) RGBA bytes, rows top to bottom."""
        out = bytearray(self.w * self.h * 4)
        for i in range(0, len(self.px), 4):
            a = self.px[i + 3]
            if a > 0.0:
                for k in range(3):
                    out[i + k] = byte(self.px[i + k] / a)
                out[i + 3] = byte(a)
        return out


def byte(v):
    v = int(v * 255.0 + 0.5)
    return 0 if v < 0 else 255 if v > 255 else v


# ---------------------------------------------------------------- file formats

def png_bytes(canvas):
    raw = bytearray()
    data = canvas.rgba8()
    stride = canvas.w * 4
    for y in range(canvas.h):
        raw.append(0)
        raw += data[y * stride:(y + 1) * stride]

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def dib_icon_image(canvas):
    """An icon image as Windows stores it: a 32-bit DIB (double height) and the AND mask."""
    w, h = canvas.w, canvas.h
    data = canvas.rgba8()
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            i = (y * w + x) * 4
            pixels += bytes((data[i + 2], data[i + 1], data[i], data[i + 3]))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(w):
            if data[(y * w + x) * 4 + 3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + pixels + mask


def ico_bytes(images):
    """Icon file of the given canvases; the 256-pixel image is stored as PNG, the rest as DIBs."""
    blobs = [png_bytes(c) if c.w >= 256 else dib_icon_image(c) for c in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", canvas.w % 256, canvas.h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def bmp_bytes(canvas, alpha):
    """A bottom-up BMP: 24-bit, or 32-bit with straight alpha in the fourth byte."""
    w, h = canvas.w, canvas.h
    data = canvas.rgba8()
    bpp = 32 if alpha else 24
    stride = ((w * bpp // 8) + 3) & ~3
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            i = (y * w + x) * 4
            row += bytes((data[i + 2], data[i + 1], data[i]))
            if alpha:
                row.append(data[i + 3])
        row += bytes(stride - len(row))
        pixels += row
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, len(pixels), 3780, 3780, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return file_header + info + pixels


def eps_image(canvas, background, width_pt, height_pt):
    """PostScript that draws `canvas`, flattened on `background`, into a width x height box at the origin."""
    flat = canvas.on(background).rgba8()
    hexrows = []
    for y in range(canvas.h):
        row = flat[y * canvas.w * 4:(y + 1) * canvas.w * 4]
        hexrows.append("".join("%02x%02x%02x" % (row[i], row[i + 1], row[i + 2]) for i in range(0, len(row), 4)))
    lines = []
    for row in hexrows:
        lines += [row[i:i + 78] for i in range(0, len(row), 78)]
    return ("gsave %g %g scale\n%d %d 8 [%d 0 0 -%d 0 %d]\n{currentfile %d string readhexstring pop} "
            "false 3 colorimage\n%s\ngrestore\n") % (
        width_pt, height_pt, canvas.w, canvas.h, canvas.w, canvas.h, canvas.h, canvas.w * 3, "\n".join(lines))


def eps_file(width, height, body):
    return ("%%!PS-Adobe-3.0 EPSF-3.0\n%%%%BoundingBox: 0 0 %d %d\n%%%%EndComments\n%s"
            "showpage\n%%%%EOF\n") % (width, height, body)


# ---------------------------------------------------------------- the mark

def half_round(v):
    return round(v * 2.0) / 2.0


def mark_plan(size):
    """Where the parts of the mark go at one size, in pixels.

    The mark is drawn on a 32-unit grid. Rectangles are put on whole pixels, the chevron's
    corners on half pixels with its arms at 45 degrees, and strokes are never thinner than
    two pixels, so the small sizes stay crisp. 16 and 20 pixels get a flat key of their own."""
    if size == 16:
        return {"outer": (0, 0, 16, 16, 3.0), "face": (1, 1, 15, 13, 2.0), "outline": 1.0,
                "chevron": (4.0, 3.0, 6.5, 3.0), "stroke": 2.0, "cursor": (8, 8, 12, 10, 0.5),
                "highlight": False, "shadow": 0.0}
    if size == 20:
        return {"outer": (0, 0, 20, 20, 3.5), "face": (1, 1, 19, 16, 2.5), "outline": 1.0,
                "chevron": (5.0, 4.0, 8.5, 4.0), "stroke": 2.0, "cursor": (10, 10, 15, 12, 0.5),
                "highlight": False, "shadow": 0.0}
    u = size / 32.0
    stroke = max(2.0, half_round(4.0 * u))
    left, half, cy = round(8.5 * u), half_round(6.6 * u), half_round(13.8 * u)
    cursor_bottom = round(cy + half + stroke / 2.0)
    cursor_left = round(left + half + stroke * 0.7)
    return {
        "outer": (round(u), round(u), size - round(u), size - round(u), 6.5 * u),
        "face": (round(3 * u), round(2.2 * u), size - round(3 * u), round(25.5 * u), 5 * u),
        "outline": max(1.0, round(u)),
        "chevron": (left, half, cy, half),
        "stroke": stroke,
        "cursor": (cursor_left, cursor_bottom - round(stroke), cursor_left + round(8 * u), cursor_bottom,
                   max(0.5, u)),
        "highlight": True,
        # Below 40 pixels a shadow under the glyph only blurs it.
        "shadow": max(1.0, round(0.9 * u)) if size >= 40 else 0.0,
    }


def mark(size, canvas=None, x0=0, y0=0):
    """The application mark: a green keycap with a white prompt chevron and cursor."""
    c = canvas or Canvas(size, size)
    p = mark_plan(size)

    def box(a, b, cc, d, r):
        return rounded_rect(x0 + a, y0 + b, x0 + cc, y0 + d, r)

    ox0, oy0, ox1, oy1, orad = p["outer"]
    outer = box(ox0, oy0, ox1, oy1, orad)
    c.paint(outer, KEY_OUTLINE)
    c.paint(outer.grown(-p["outline"]), vertical(y0 + oy0, y0 + oy1, KEY_SKIRT_TOP, KEY_SKIRT_BOTTOM))
    fx0, fy0, fx1, fy1, frad = p["face"]
    face = box(fx0, fy0, fx1, fy1, frad)
    c.paint(face, vertical(y0 + fy0, y0 + fy1, KEY_FACE_TOP, KEY_FACE_BOTTOM))
    if p["highlight"]:
        # A thin light line along the face's upper edge makes it read as a raised surface.
        c.paint(face - face.moved(0, max(1.0, round(0.9 * size / 32.0))), WHITE, opacity=0.45)
    left, dx, cy, dy = p["chevron"]
    chevron = polyline([(x0 + left, y0 + cy - dy), (x0 + left + dx, y0 + cy), (x0 + left, y0 + cy + dy)], p["stroke"])
    glyph = chevron | box(*p["cursor"])
    if p["shadow"]:
        c.paint(glyph.moved(0, p["shadow"]), GLYPH_SHADOW)
    c.paint(glyph, GLYPH)
    return c


ICON_SIZES = (256, 64, 48, 40, 32, 24, 20, 16)

# ---------------------------------------------------------------- the pin
# Drawn for the suggestion row's pin cell, 20 x 15 pixels (40 x 30 at 200 %), into which the
# square icon image is stretched: the drawing is squeezed by the same 4:3 so that it looks
# right once stretched.

PIN_CELL = (20.0, 15.0)

PIN_PARTS = {
    False: {  # not tacked: quiet grey, it must not compete with the grey row text
        "light": rgb(188, 196, 194), "mid": rgb(132, 142, 140), "dark": rgb(82, 92, 90),
        "glow": None,
    },
    True: {  # tacked: lit, yellow-green
        "light": rgb(246, 255, 196), "mid": rgb(196, 240, 56), "dark": rgb(112, 170, 18),
        "glow": rgb(214, 255, 90),
    },
}
NEEDLE_LIGHT = rgb(236, 238, 238)
NEEDLE_DARK = rgb(120, 126, 126)
PIN_EDGE = rgb(24, 36, 36, 0.55)


def pin_geometry(k):
    """The pin's parts in cell pixels (cell 20k x 15k): a push pin leaning 45 degrees, its
    needle to the lower left."""
    # Axis from the needle's tip to the top of the head.
    tip = (3.6 * k, 14.2 * k)
    top = (15.2 * k, 3.0 * k)
    ax, ay = top[0] - tip[0], top[1] - tip[1]
    length = sqrt(ax * ax + ay * ay)
    ux, uy = ax / length, ay / length   # along the axis
    vx, vy = -uy, ux                    # across it

    def part(u0, u1, half, r):
        # A rounded rectangle in axis coordinates, as a shape in cell coordinates.
        cu, hu = (u0 + u1) / 2.0 * length, (u1 - u0) / 2.0 * length - r
        hv = half * k - r

        def sdf(x, y):
            px, py = x - tip[0], y - tip[1]
            qu = abs(px * ux + py * uy - cu) - hu
            qv = abs(px * vx + py * vy) - hv
            ou, ov = max(qu, 0.0), max(qv, 0.0)
            return sqrt(ou * ou + ov * ov) + min(max(qu, qv), 0.0) - r

        reach = (u1 * length) + half * k
        return Shape(sdf, (tip[0] - reach, tip[1] - reach, tip[0] + reach, tip[1] + reach))

    def across(x, y):
        # Position across the axis, -1 .. 1 over the head's width, for cylinder shading.
        return ((x - tip[0]) * vx + (y - tip[1]) * vy) / (3.6 * k)

    needle = part(0.0, 0.42, 0.62, 0.6 * k)
    flange = part(0.40, 0.52, 3.9, 0.9 * k)
    waist = part(0.50, 0.76, 1.9, 0.4 * k)
    head = part(0.74, 1.0, 3.3, 1.3 * k)
    return needle, flange, waist, head, across


def shaded(parts, across):
    light, mid, dark = parts["light"], parts["mid"], parts["dark"]

    def paint(x, y):
        t = across(x, y)  # light falls from the upper left: that side is lit
        if t < -0.35:
            s = (t + 1.0) / 0.65
            return tuple(dark[i] + (mid[i] - dark[i]) * 0.35 * s for i in range(4))
        if t < 0.15:
            s = (t + 0.35) / 0.5
            return tuple(mid[i] + (light[i] - mid[i]) * s for i in range(4))
        s = min(1.0, (t - 0.15) / 0.85)
        return tuple(light[i] + (mid[i] - light[i]) * s for i in range(4))

    return paint


def pin(lit, k, canvas_size=None):
    """The pin for a cell of 20k x 15k pixels; with `canvas_size` squeezed into a square icon image."""
    if canvas_size:
        c = Canvas(canvas_size, canvas_size)
        mapping = (PIN_CELL[0] * k / canvas_size, PIN_CELL[1] * k / canvas_size)
    else:
        c = Canvas(int(PIN_CELL[0] * k), int(PIN_CELL[1] * k))
        mapping = None
    needle, flange, waist, head, across = pin_geometry(k)
    parts = PIN_PARTS[lit]
    body = flange | waist | head
    if parts["glow"]:
        c.paint((body | needle).grown(1.2 * k), parts["glow"], opacity=0.45, soft=2.4 * k, mapping=mapping)
    c.paint((body | needle).grown(0.6 * k), PIN_EDGE, mapping=mapping)
    c.paint(needle, shaded({"light": NEEDLE_LIGHT, "mid": NEEDLE_LIGHT, "dark": NEEDLE_DARK}, across),
            mapping=mapping)
    paint = shaded(parts, across)
    c.paint(flange, paint, mapping=mapping)
    c.paint(waist, paint, mapping=mapping)
    c.paint(head, paint, mapping=mapping)
    return c


PIN_SIZES = (32, 16)

# ---------------------------------------------------------------- command window background

COMMAND_SIZE = (600, 50)
BACK_TOP = rgb(226, 244, 219)
BACK_BOTTOM = rgb(178, 221, 163)
BACK_BORDER = rgb(72, 140, 58)


def command_back(scale=1):
    w, h = COMMAND_SIZE[0] * scale, COMMAND_SIZE[1] * scale
    s = float(scale)
    c = Canvas(w, h, BACK_BORDER)
    c.paint(rounded_rect(s, s, w - s, h - s, 0.01), vertical(s, h - s, BACK_TOP, BACK_BOTTOM))
    # A light line under the top edge and a darker one over the bottom edge give it some depth.
    c.paint(rounded_rect(s, s, w - s, 2 * s, 0.01), WHITE, opacity=0.7)
    c.paint(rounded_rect(s, h - 2 * s, w - s, h - s, 0.01), BACK_BORDER, opacity=0.25)
    # The icon box (8, 8, 32 x 32) sits in a shallow well: darker above and left, lighter below
    # and right, one pixel around it.
    well = rounded_rect(7 * s, 7 * s, 41 * s, 41 * s, 0.01)
    c.paint(well, rgb(60, 120, 48), opacity=0.55)
    c.paint(rounded_rect(8 * s, 41 * s, 42 * s, 42 * s, 0.01) | rounded_rect(41 * s, 8 * s, 42 * s, 42 * s, 0.01),
            WHITE, opacity=0.8)
    c.paint(rounded_rect(8 * s, 8 * s, 40 * s, 40 * s, 0.01), GREEN_BOX)
    # A faint rule between the icon and the text.
    c.paint(rounded_rect(53 * s, 9 * s, 54 * s, 41 * s, 0.01), BACK_BORDER, opacity=0.22)
    c.paint(rounded_rect(54 * s, 9 * s, 55 * s, 41 * s, 0.01), WHITE, opacity=0.55)
    return c


# ---------------------------------------------------------------- splash logo

LOGO_SIZE = (106, 129)


def splash_logo(scale=1):
    """The key beside the title. The title's letters start at x 80 of the picture (88 on the
    splash) and span y 38 to 84, so the key stands left of them, centred on them, with a soft
    shadow that falls to the lower right as the title's own shadow does."""
    w, h = LOGO_SIZE[0] * scale, LOGO_SIZE[1] * scale
    size = 66 * scale
    x0, y0 = 2 * scale, 28 * scale
    c = Canvas(w, h)
    ox0, oy0, ox1, oy1, orad = mark_plan(size)["outer"]
    shadow = rounded_rect(x0 + ox0, y0 + oy0, x0 + ox1, y0 + oy1, orad).moved(3 * scale, 4 * scale)
    c.paint(shadow, BLACK, opacity=0.38, soft=5.0 * scale)
    mark(size, c, x0, y0)
    return c


# ---------------------------------------------------------------- previews and figures

def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def write_resources(out):
    icons = [mark(s) for s in ICON_SIZES]
    write(os.path.join(out, "app.ico"), ico_bytes(icons))
    write(os.path.join(out, "pin.ico"), ico_bytes([pin(False, s / 16.0, s) for s in PIN_SIZES]))
    write(os.path.join(out, "LIGHTON.ico"), ico_bytes([pin(True, s / 16.0, s) for s in PIN_SIZES]))
    write(os.path.join(out, "commandback.bmp"), bmp_bytes(command_back(), alpha=False))
    write(os.path.join(out, "splashlogo.bmp"), bmp_bytes(splash_logo(), alpha=True))


SPLASH_BACK = rgb(240, 240, 240)
ROW_BACK = rgb(0, 64, 64)


def write_previews(out):
    os.makedirs(out, exist_ok=True)
    for s in ICON_SIZES:
        icon = mark(s)
        write(os.path.join(out, "app-%d.png" % s), png_bytes(icon))
        if s <= 64:
            write(os.path.join(out, "app-%d-x8.png" % s), png_bytes(icon.on(WHITE).scaled(max(1, 256 // s))))
    for lit, name in ((False, "pin"), (True, "pinlit")):
        for s in PIN_SIZES:
            image = pin(lit, s / 16.0, s)
            write(os.path.join(out, "%s-%d.png" % (name, s)), png_bytes(image))
            cell = image.resampled(int(PIN_CELL[0] * s / 16), int(PIN_CELL[1] * s / 16))
            write(os.path.join(out, "%s-cell-%d-x8.png" % (name, s)), png_bytes(cell.on(ROW_BACK).scaled(8 * 16 // s)))
    for scale in (1, 2):
        write(os.path.join(out, "commandback-%dx.png" % scale), png_bytes(command_back(scale)))
        write(os.path.join(out, "splashlogo-%dx.png" % scale), png_bytes(splash_logo(scale).on(SPLASH_BACK)))


def write_figures(out):
    os.makedirs(out, exist_ok=True)
    icon = mark(128)
    write(os.path.join(out, "mark.eps"), eps_file(72, 72, eps_image(icon, WHITE, 72, 72)).encode())
    # The two pins, on the suggestion list's colour, as the rows show them.
    cell_w, cell_h = 60, 45
    body = "0 0.251 0.251 setrgbcolor 0 0 %d %d rectfill\n" % (2 * cell_w + 30, cell_h + 10)
    for n, lit in enumerate((False, True)):
        image = pin(lit, 2.0, 32).resampled(60, 45)
        body += "gsave %d 5 translate\n%sgrestore\n" % (10 + n * (cell_w + 10), eps_image(image, ROW_BACK, cell_w, cell_h))
    write(os.path.join(out, "pins.eps"), eps_file(2 * cell_w + 30, cell_h + 10, body).encode())
    write(os.path.join(out, "commandwindow.eps"), command_window_figure().encode())


def command_window_figure():
    """The command window and its suggestion list while "note" is typed, drawn to scale
    (one pixel, one point) with the real background and pins."""
    width, back_h = COMMAND_SIZE
    # "run notepad" is pinned to "note": without the pin "notes" would come first.
    rows = ["run notepad", "notes", "run onenote"]
    row_h = 18
    list_h = len(rows) * row_h + 10
    total_h = back_h + list_h
    body = []
    # Suggestion list.
    body.append("0 0.251 0.251 setrgbcolor 0 0 %d %d rectfill\n" % (width, list_h))
    pin_dark = pin(False, 1.0, 16).resampled(20, 15)
    pin_lit = pin(True, 1.0, 16).resampled(20, 15)
    body.append("/Helvetica findfont 15 scalefont setfont\n")
    for i, phrase in enumerate(rows):
        top = list_h - 4 - i * row_h
        image = pin_lit if i == 0 else pin_dark
        body.append("gsave 0 %d translate\n%sgrestore\n" % (list_h - (i * row_h + 5) - 15, eps_image(image, ROW_BACK, 20, 15)))
        grey = "1 setgray" if i == 0 else "0.502 setgray"
        body.append("%s 24 %d moveto (%s) show\n" % (grey, top - 14, phrase))
    # Command window.
    body.append("gsave 0 %d translate\n%sgrestore\n" % (list_h, eps_image(command_back(), WHITE, width, back_h)))
    base = list_h + back_h
    body.append("/Helvetica findfont 18 scalefont setfont\n")
    body.append("0.251 setgray 70 %d moveto (run notepad) show\n" % (base - 27))
    body.append("0 setgray 70 (run ) stringwidth pop add %d moveto (note) show\n" % (base - 27))
    # A document sheet in the icon box, standing in for the program's own icon.
    body.append("1 setgray 16 %d 16 20 rectfill 0.3 setgray 0.8 setlinewidth 16 %d 16 20 rectstroke\n"
                % (base - 38, base - 38))
    for n in range(4):
        body.append("0.55 setgray 19 %d moveto 10 0 rlineto stroke\n" % (base - 23 - 4 * n))
    return eps_file(width, total_h, "".join(body))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "res"))
    parser.add_argument("--preview")
    parser.add_argument("--figures")
    parser.add_argument("--no-resources", action="store_true", help="write only previews or figures")
    args = parser.parse_args()
    if not args.no_resources:
        os.makedirs(args.out, exist_ok=True)
        write_resources(args.out)
    if args.preview:
        write_previews(args.preview)
    if args.figures:
        write_figures(args.figures)
    return 0


if __name__ == "__main__":
    sys.exit(main())
