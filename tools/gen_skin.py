#!/usr/bin/env python3
"""Generate Snapcrest's skin images, cursors and window icon.

Everything is drawn from code so the artwork can be reviewed and changed
like any other source file, and so a rebuild always produces the same bytes.
Only the standard library is used: PNG, baseline JPEG, .cur and .ico are
written by the small encoders in this file.

Usage:
    python3 tools/gen_skin.py [--out DIR]

DIR defaults to the repository's resources/ directory; the layout below it is
    skinScreen/*.png, skinScreen/back.jpg, cursors/cursor1NN.cur, icon128.ico
"""

import argparse
import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Geometry shared with the program's layout code.  The tool bar places its
# buttons 30 px apart and centres them vertically on the bar; the pen-size
# buttons are 20 px apart.  Each sprite is composed over the background patch
# at PATCH_* before being drawn, so the backgrounds are flat under the buttons.
# ---------------------------------------------------------------------------
BAR_W, BAR_H = 339, 38
BTN = 24            # tool-bar button frame (square)
SIZE_BTN = 18       # pen-size button frame (square)
POP_W, POP_H = 102, 30
COLOR_BTN = 24      # colour button frame (square)

# Palette of the dark theme.
BAR_FILL = (0.118, 0.137, 0.180)       # #1e2330
BAR_BORDER = (0.255, 0.286, 0.353)     # #41495a
ICON = (0.855, 0.875, 0.910)           # light glyphs
ACCENT = (0.400, 0.690, 1.000)         # hover glyph colour (blue)
HOVER_BG = (0.215, 0.245, 0.310)
PRESS_BG = (0.165, 0.250, 0.380)
OK_ICON = (0.380, 0.830, 0.560)        # finish tick
OK_HOVER = (0.560, 0.960, 0.700)
OK_HOVER_BG = (0.170, 0.330, 0.255)
OK_PRESS_BG = (0.130, 0.400, 0.270)
NO_HOVER = (1.000, 0.470, 0.470)       # close cross on hover
NO_HOVER_BG = (0.360, 0.190, 0.215)
NO_PRESS_BG = (0.470, 0.180, 0.210)


# ===========================================================================
# PNG
# ===========================================================================
def _png_chunk(tag, data):
    body = tag + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def encode_png(width, height, rgba):
    """rgba: bytes of width*height*4, top-down rows. Colour type 6, 8 bit."""
    stride = width * 4
    raw = bytearray()
    for y in range(height):
        raw.append(0)  # filter type None; the images are small
        raw += rgba[y * stride:(y + 1) * stride]
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _png_chunk(b"IHDR", ihdr)
            + _png_chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + _png_chunk(b"IEND", b""))


# ===========================================================================
# Baseline JPEG (JFIF, 4:4:4, standard tables)
# ===========================================================================
_LUM_Q = [16, 11, 10, 16, 24, 40, 51, 61,
          12, 12, 14, 19, 26, 58, 60, 55,
          14, 13, 16, 24, 40, 57, 69, 56,
          14, 17, 22, 29, 51, 87, 80, 62,
          18, 22, 37, 56, 68, 109, 103, 77,
          24, 35, 55, 64, 81, 104, 113, 92,
          49, 64, 78, 87, 103, 121, 120, 101,
          72, 92, 95, 98, 112, 100, 103, 99]
_CHR_Q = [17, 18, 24, 47, 99, 99, 99, 99,
          18, 21, 26, 66, 99, 99, 99, 99,
          24, 26, 56, 99, 99, 99, 99, 99,
          47, 66, 99, 99, 99, 99, 99, 99] + [99] * 32

_DC_LUM_BITS = [0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0]
_DC_CHR_BITS = [0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0]
_DC_VALS = list(range(12))
_AC_LUM_BITS = [0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D]
_AC_LUM_VALS = bytes.fromhex(
    "01020300041105122131410613516107227114328191a1082342b1c11552d1f0"
    "2433627282090a161718191a25262728292a3435363738393a43444546474849"
    "4a535455565758595a636465666768696a737475767778797a83848586878889"
    "8a92939495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5"
    "c6c7c8c9cad2d3d4d5d6d7d8d9dae1e2e3e4e5e6e7e8e9eaf1f2f3f4f5f6f7f8"
    "f9fa")
_AC_CHR_BITS = [0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77]
_AC_CHR_VALS = bytes.fromhex(
    "000102031104052131061241510761711322328108144291a1b1c109233352f0"
    "156272d10a162434e125f11718191a262728292a35363738393a434445464748"
    "494a535455565758595a636465666768696a737475767778797a828384858687"
    "88898a92939495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3"
    "c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae2e3e4e5e6e7e8e9eaf2f3f4f5f6f7f8"
    "f9fa")


def _zigzag():
    order = []
    for s in range(15):
        rng = range(s + 1) if s < 8 else range(s - 7, 8)
        cells = [(i, s - i) for i in rng if 0 <= s - i < 8]
        # even diagonals run upwards (row decreasing), odd ones downwards
        if s % 2 == 0:
            cells.sort(key=lambda c: -c[0])
        else:
            cells.sort(key=lambda c: c[0])
        order.extend(r * 8 + c for r, c in cells)
    return order


ZIGZAG = _zigzag()


def _huff_codes(bits, vals):
    if sum(bits) != len(vals):
        raise ValueError("Huffman table: counts and symbols disagree")
    codes, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(bits[length - 1]):
            codes[vals[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


def _scaled_q(table, quality):
    scale = 5000 // quality if quality < 50 else 200 - 2 * quality
    return [min(255, max(1, (q * scale + 50) // 100)) for q in table]


_DCT = [[(math.sqrt(0.125) if u == 0 else 0.5) * math.cos((2 * x + 1) * u * math.pi / 16)
         for x in range(8)] for u in range(8)]


def _fdct(block):
    tmp = []
    for y in range(0, 64, 8):
        row = block[y:y + 8]
        tmp.extend(sum(c * v for c, v in zip(cu, row)) for cu in _DCT)
    out = [0.0] * 64
    for u in range(8):
        col = tmp[u::8]
        for v in range(8):
            out[v * 8 + u] = sum(c * t for c, t in zip(_DCT[v], col))
    return out


class _BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def put(self, code, length):
        self.acc = (self.acc << length) | code
        self.n += length
        while self.n >= 8:
            self.n -= 8
            b = (self.acc >> self.n) & 0xFF
            self.out.append(b)
            if b == 0xFF:
                self.out.append(0)
        self.acc &= (1 << self.n) - 1

    def flush(self):
        if self.n:
            self.put((1 << (8 - self.n)) - 1, 8 - self.n)


def _category(v):
    a = -v if v < 0 else v
    size = a.bit_length()
    return size, (v if v >= 0 else v + (1 << size) - 1)


def encode_jpeg(width, height, pixel, quality=90):
    """pixel(x, y) -> (r, g, b) floats 0..255.  Width/height multiples of 8.

    Samples are fed to the DCT as floats, so smooth gradients are not banded
    by an 8-bit quantisation before compression.
    """
    qt = [_scaled_q(_LUM_Q, quality), _scaled_q(_CHR_Q, quality)]
    dc = [_huff_codes(_DC_LUM_BITS, _DC_VALS), _huff_codes(_DC_CHR_BITS, _DC_VALS)]
    ac = [_huff_codes(_AC_LUM_BITS, _AC_LUM_VALS), _huff_codes(_AC_CHR_BITS, _AC_CHR_VALS)]

    planes = ([0.0] * (width * height), [0.0] * (width * height), [0.0] * (width * height))
    for y in range(height):
        base = y * width
        for x in range(width):
            r, g, b = pixel(x, y)
            planes[0][base + x] = 0.299 * r + 0.587 * g + 0.114 * b - 128.0
            planes[1][base + x] = -0.168736 * r - 0.331264 * g + 0.5 * b
            planes[2][base + x] = 0.5 * r - 0.418688 * g - 0.081312 * b

    bw = _BitWriter()
    pred = [0, 0, 0]
    for by in range(0, height, 8):
        for bx in range(0, width, 8):
            for comp in range(3):
                plane = planes[comp]
                block = []
                for y in range(by, by + 8):
                    block.extend(plane[y * width + bx:y * width + bx + 8])
                coef = _fdct(block)
                q = qt[0 if comp == 0 else 1]
                t = 0 if comp == 0 else 1
                zz = []
                for k in ZIGZAG:
                    v = coef[k] / q[k]
                    zz.append(int(v + 0.5) if v >= 0 else -int(-v + 0.5))
                diff = zz[0] - pred[comp]
                pred[comp] = zz[0]
                size, bits = _category(diff)
                bw.put(*dc[t][size])
                if size:
                    bw.put(bits, size)
                run = 0
                last = max((i for i in range(1, 64) if zz[i]), default=0)
                for i in range(1, last + 1):
                    v = zz[i]
                    if v == 0:
                        run += 1
                        continue
                    while run > 15:
                        bw.put(*ac[t][0xF0])
                        run -= 16
                    size, bits = _category(v)
                    bw.put(*ac[t][(run << 4) | size])
                    bw.put(bits, size)
                    run = 0
                if last < 63:
                    bw.put(*ac[t][0x00])
    bw.flush()

    def seg(marker, payload):
        return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload

    out = bytearray(b"\xFF\xD8")
    out += seg(0xE0, b"JFIF\x00" + struct.pack(">BBBHHBB", 1, 1, 0, 1, 1, 0, 0))
    for i, table in enumerate(qt):
        out += seg(0xDB, bytes([i]) + bytes(table[k] for k in ZIGZAG))
    out += seg(0xC0, struct.pack(">BHHB", 8, height, width, 3)
               + bytes([1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1]))
    for cls_id, bits, vals in ((0x00, _DC_LUM_BITS, _DC_VALS), (0x10, _AC_LUM_BITS, _AC_LUM_VALS),
                               (0x01, _DC_CHR_BITS, _DC_VALS), (0x11, _AC_CHR_BITS, _AC_CHR_VALS)):
        out += seg(0xC4, bytes([cls_id]) + bytes(bits) + bytes(vals))
    out += seg(0xDA, bytes([3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0]))
    out += bw.out
    out += b"\xFF\xD9"
    return bytes(out)


# ===========================================================================
# Anti-aliased rasteriser.  Shapes are signed distance functions in pixel
# units (negative inside); pixel (x, y) covers [x, x+1) x [y, y+1).  Pixels
# near an edge are supersampled 4x4 and box-filtered; pixels clearly inside
# or outside skip the sampling.
# ===========================================================================
SS = 4
_SUB = [(i + 0.5) / SS for i in range(SS)]


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [0.0] * (w * h * 4)   # premultiplied RGBA, 0..1

    def fill(self, sdf, color, alpha=1.0, bbox=None, edge=1.0):
        """color: (r, g, b) or a function (x, y) -> (r, g, b)."""
        x0, y0, x1, y1 = bbox if bbox else (0, 0, self.w, self.h)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        px = self.px
        full = SS * SS
        for y in range(y0, y1):
            for x in range(x0, x1):
                d = sdf(x + 0.5, y + 0.5)
                if d > edge:
                    continue
                if d < -edge:
                    cov = 1.0
                else:
                    n = 0
                    for sy in _SUB:
                        for sx in _SUB:
                            if sdf(x + sx, y + sy) <= 0.0:
                                n += 1
                    if not n:
                        continue
                    cov = n / full
                a = alpha * cov
                r, g, b = color(x + 0.5, y + 0.5) if callable(color) else color
                i = (y * self.w + x) * 4
                k = 1.0 - a
                px[i] = r * a + px[i] * k
                px[i + 1] = g * a + px[i + 1] * k
                px[i + 2] = b * a + px[i + 2] * k
                px[i + 3] = a + px[i + 3] * k

    def rgba_bytes(self):
        out = bytearray(self.w * self.h * 4)
        px = self.px
        for i in range(0, len(px), 4):
            a = px[i + 3]
            a8 = int(a * 255.0 + 0.5)
            if a8 <= 0:
                continue
            for c in range(3):
                v = int(px[i + c] / a * 255.0 + 0.5)
                out[i + c] = 255 if v > 255 else (0 if v < 0 else v)
            out[i + 3] = 255 if a8 > 255 else a8
        return bytes(out)

    def png(self):
        return encode_png(self.w, self.h, self.rgba_bytes())


def hstack(canvases):
    """Joins equally tall canvases into one strip (frame 0 leftmost)."""
    h = canvases[0].h
    w = sum(c.w for c in canvases)
    out = Canvas(w, h)
    xo = 0
    for c in canvases:
        for y in range(h):
            src = c.px[y * c.w * 4:(y + 1) * c.w * 4]
            dst = (y * w + xo) * 4
            out.px[dst:dst + c.w * 4] = src
        xo += c.w
    return out


# --- signed distance primitives -------------------------------------------
def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_ring(cx, cy, r, w):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - w / 2.0


def sd_segment(ax, ay, bx, by, w):
    """Round-capped line of thickness w."""
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy

    def f(x, y):
        px, py = x - ax, y - ay
        t = (px * dx + py * dy) / ll if ll else 0.0
        t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
        return math.hypot(px - dx * t, py - dy * t) - w / 2.0
    return f


def sd_rbox(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0) - r
    return f


def sd_ellipse(cx, cy, a, b):
    # First-order distance estimate; accurate near the outline, which is all
    # the coverage sampling needs.
    def f(x, y):
        px, py = (x - cx) / a, (y - cy) / b
        k0 = math.hypot(px, py)
        if k0 == 0.0:
            return -min(a, b)
        k1 = math.hypot(px / a, py / b)
        return k0 * (k0 - 1.0) / k1
    return f


def sd_polygon(pts):
    n = len(pts)

    def f(x, y):
        d = float("inf")
        inside = False
        j = n - 1
        for i in range(n):
            ax, ay = pts[j]
            bx, by = pts[i]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            ll = ex * ex + ey * ey
            t = (wx * ex + wy * ey) / ll if ll else 0.0
            t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
            dd = math.hypot(wx - ex * t, wy - ey * t)
            if dd < d:
                d = dd
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
            j = i
        return -d if inside else d
    return f


def sd_polyline(pts, w):
    segs = [sd_segment(pts[i][0], pts[i][1], pts[i + 1][0], pts[i + 1][1], w)
            for i in range(len(pts) - 1)]
    return lambda x, y: min(s(x, y) for s in segs)


def sd_union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def sd_subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def sd_intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def sd_stroke(f, w):
    return lambda x, y: abs(f(x, y)) - w / 2.0


# ===========================================================================
# Skin: backgrounds
# ===========================================================================
def _panel(w, h, radius):
    """Flat dark panel with a hairline border and a faint top highlight.

    The fill is flat away from the border so that any button-sized patch of
    the interior looks like any other.
    """
    c = Canvas(w, h)
    outer = sd_rbox(0, 0, w, h, radius)
    c.fill(outer, BAR_BORDER, 0.95)
    c.fill(sd_rbox(1, 1, w - 1, h - 1, radius - 1), BAR_FILL)
    # one-pixel sheen just inside the top border
    sheen = sd_intersect(sd_rbox(1, 1, w - 1, h - 1, radius - 1),
                         lambda x, y: abs(y - 1.5) - 0.5)
    c.fill(sheen, (1.0, 1.0, 1.0), 0.07)
    return c


def make_icon_bg():
    return _panel(BAR_W, BAR_H, 8)


def make_pop_bg():
    return _panel(POP_W, POP_H, 8)


def back_pixel(x, y):
    """Dimming layer: deep slate with a soft vignette, darkest at the corners."""
    w, h = 1280.0, 720.0
    nx, ny = (x + 0.5) / w - 0.5, (y + 0.5) / h - 0.5
    v = min(1.0, (nx * nx + ny * ny) * 2.2)        # 0 centre .. 1 corners
    t = (y + 0.5) / h
    # top slightly cooler, bottom slightly deeper
    r = 17.0 - 2.0 * t
    g = 21.0 - 2.0 * t
    b = 31.0 - 1.0 * t
    k = 1.0 - 0.45 * v
    return (r * k, g * k, b * k)


# ===========================================================================
# Skin: button glyphs, drawn on a 24 x 24 grid (Feather-like 2 px strokes)
# ===========================================================================
def g_rectangle(c, col):
    c.fill(sd_stroke(sd_rbox(5, 6, 19, 18, 2), 2.0), col)


def g_ellipse(c, col):
    c.fill(sd_stroke(sd_ellipse(12, 12, 7.5, 6.0), 2.0), col, edge=1.5)


def g_arrow(c, col):
    c.fill(sd_segment(6.5, 17.5, 14.2, 9.8, 2.0), col)
    c.fill(sd_polygon([(18.5, 5.5), (17.2, 13.6), (10.4, 6.8)]), col)


def g_text(c, col):
    # serif-less capital T with small feet on the crossbar
    c.fill(sd_union(sd_rbox(6, 5, 18, 7.2, 0.6),
                    sd_rbox(10.9, 5, 13.1, 19, 0.6),
                    sd_rbox(6, 5, 7.6, 8.6, 0.5),
                    sd_rbox(16.4, 5, 18, 8.6, 0.5),
                    sd_rbox(9, 17.4, 15, 19, 0.5)), col)


def g_pen(c, col):
    # pencil at 45 degrees, tip bottom-left
    ux, uy = math.sqrt(0.5), -math.sqrt(0.5)      # along the pencil
    vx, vy = math.sqrt(0.5), math.sqrt(0.5)       # across it
    tipx, tipy = 5.2, 18.8
    half = 2.6

    def p(a, b):
        return (tipx + ux * a + vx * b, tipy + uy * a + vy * b)
    body = [p(0, 0), p(4.2, -half), p(16.5, -half), p(16.5, half), p(4.2, half)]
    c.fill(sd_stroke(sd_polygon(body), 1.8), col)
    c.fill(sd_segment(*p(4.2, -half), *p(4.2, half), 1.8), col)
    c.fill(sd_segment(*p(13.3, -half), *p(13.3, half), 1.8), col)
    c.fill(sd_polygon([p(0, 0), p(1.8, -1.1), p(1.8, 1.1)]), col)


def g_undo(c, col):
    cx, cy, r = 13.5, 13.0, 4.8
    arc = sd_intersect(sd_ring(cx, cy, r, 2.0), lambda x, y: cx - x)
    c.fill(sd_union(arc,
                    sd_segment(9.0, cy - r, cx, cy - r, 2.0),
                    sd_segment(cx, cy + r, 8.0, cy + r, 2.0)), col)
    c.fill(sd_polygon([(4.2, cy - r), (9.6, cy - r - 4.2), (9.6, cy - r + 4.2)]), col)


def g_save(c, col):
    # download: arrow into a tray
    c.fill(sd_segment(12, 4.5, 12, 13.5, 2.0), col)
    c.fill(sd_polyline([(7.8, 10.2), (12, 14.4), (16.2, 10.2)], 2.0), col)
    c.fill(sd_polyline([(5, 14.5), (5, 18.5), (19, 18.5), (19, 14.5)], 2.0), col)


def g_close(c, col):
    c.fill(sd_segment(7, 7, 17, 17, 2.2), col)
    c.fill(sd_segment(17, 7, 7, 17, 2.2), col)


def g_finish(c, col):
    c.fill(sd_polyline([(5.6, 12.6), (10.0, 17.0), (18.6, 7.6)], 2.4), col)


def g_palette(c, col):
    c.fill(sd_subtract(sd_circle(12, 12, 8.0), sd_circle(15.2, 15.4, 2.0)), col)
    for (x, y), dot in (((8.4, 11.0), (0.94, 0.33, 0.33)), ((10.8, 7.6), (0.98, 0.78, 0.25)),
                        ((14.8, 8.2), (0.33, 0.80, 0.45)), ((16.4, 11.8), (0.30, 0.60, 1.00))):
        c.fill(sd_circle(x, y, 1.7), dot)


def make_button(size, glyph, icon, hover, press, hover_bg, press_bg, radius=5):
    frames = []
    for bg, col in ((None, icon), (hover_bg, hover), (press_bg, hover)):
        c = Canvas(size, size)
        if bg is not None:
            c.fill(sd_rbox(0.5, 0.5, size - 0.5, size - 0.5, radius), bg)
        glyph(c, col)
        frames.append(c)
    return hstack(frames)


def g_dot(diameter):
    def draw(c, col):
        m = SIZE_BTN / 2.0
        c.fill(sd_circle(m, m, diameter / 2.0), col)
    return draw


BAR_BUTTONS = [
    ("rectangle.png", g_rectangle), ("round.png", g_ellipse), ("arrow.png", g_arrow),
    ("font.png", g_text), ("pen.png", g_pen), ("return.png", g_undo),
    ("save.png", g_save),
]
SIZE_BUTTONS = [("one.png", 2.6), ("mid.png", 5.2), ("big.png", 8.4)]


def make_skin():
    files = {}
    files["icon_bg.png"] = make_icon_bg().png()
    files["pop_bg.png"] = make_pop_bg().png()
    for name, glyph in BAR_BUTTONS:
        files[name] = make_button(BTN, glyph, ICON, ACCENT, ACCENT, HOVER_BG, PRESS_BG).png()
    files["close.png"] = make_button(BTN, g_close, ICON, NO_HOVER, NO_HOVER,
                                     NO_HOVER_BG, NO_PRESS_BG).png()
    files["finish.png"] = make_button(BTN, g_finish, OK_ICON, OK_HOVER, OK_HOVER,
                                      OK_HOVER_BG, OK_PRESS_BG).png()
    files["color.png"] = make_button(COLOR_BTN, g_palette, ICON, (1.0, 1.0, 1.0),
                                     (1.0, 1.0, 1.0), HOVER_BG, PRESS_BG).png()
    for name, d in SIZE_BUTTONS:
        files[name] = make_button(SIZE_BTN, g_dot(d), ICON, ACCENT, ACCENT,
                                  HOVER_BG, PRESS_BG, radius=4).png()
    files["back.jpg"] = encode_jpeg(1280, 720, back_pixel, quality=90)
    return files


# ===========================================================================
# Cursors
# ===========================================================================
# The session pointer, drawn pixel by pixel so it stays crisp:
# B = black body, W = white rim, . = transparent.  Tip is the top-left cell.
ARROW = [
    "W...........",
    "WW..........",
    "WBW.........",
    "WBBW........",
    "WBBBW.......",
    "WBBBBW......",
    "WBBBBBW.....",
    "WBBBBBBW....",
    "WBBBBBBBW...",
    "WBBBBBBBBW..",
    "WBBBBBBBBBW.",
    "WBBBBBBWWWWW",
    "WBBBWBBW....",
    "WBBWWBBW....",
    "WBW..WBBW...",
    "WW...WBBW...",
    "W.....WBBW..",
    "......WBBW..",
    ".......WW...",
]


def _rim(black, size=32):
    """White one-pixel rim (8-neighbourhood) around a set of black pixels."""
    white = set()
    for (x, y) in black:
        for dy in (-1, 0, 1):
            for dx in (-1, 0, 1):
                p = (x + dx, y + dy)
                if p not in black and 0 <= p[0] < size and 0 <= p[1] < size:
                    white.add(p)
    return white


def _double_arrow_h(dx, dy, arm=10, head=4):
    """Horizontal double arrow around (0, 0): 1 px shaft, 45-degree heads."""
    ax = abs(dx)
    if ax > arm:
        return False
    if dy == 0:
        return True
    t = ax - (arm - head + 1)          # 0 .. head-1 from the head's base to its tip
    return t >= 0 and abs(dy) <= head - 1 - t


def _double_arrow_diag(dx, dy, arm=8, leg=7):
    """Top-left to bottom-right double arrow around (0, 0)."""
    if dx == dy and abs(dx) <= arm:
        return True
    # right-angled heads with their corner at (-arm, -arm) / (arm, arm)
    if dx >= -arm and dy >= -arm and (dx + arm) + (dy + arm) <= leg - 1:
        return True
    if dx <= arm and dy <= arm and (arm - dx) + (arm - dy) <= leg - 1:
        return True
    return False


def cursor_figure(kind):
    """Returns (black pixel set, hot spot)."""
    shapes = {
        132: ((16, 16), lambda dx, dy: _double_arrow_diag(dx, dy)),
        133: ((16, 16), lambda dx, dy: _double_arrow_diag(-dx, dy)),
        134: ((15, 16), lambda dx, dy: _double_arrow_h(dx, dy, 9) or _double_arrow_h(dy, dx, 9)),
        135: ((16, 16), lambda dx, dy: _double_arrow_h(dx, dy)),
        136: ((15, 16), lambda dx, dy: _double_arrow_h(dy, dx)),
    }
    (hx, hy), inside = shapes[kind]
    black = {(x, y) for y in range(32) for x in range(32) if inside(x - hx, y - hy)}
    return black, (hx, hy)


def _cur_file(width, height, bpp, palette, xor_rows, and_rows, hotspot):
    """xor_rows/and_rows: top-down lists of packed row bytes (already padded)."""
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bpp, 0,
                         sum(map(len, xor_rows)) + sum(map(len, and_rows)), 0, 0, 0, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    body = header + pal + b"".join(reversed(xor_rows)) + b"".join(reversed(and_rows))
    colors = len(palette) if bpp < 8 else 0
    entry = struct.pack("<BBBBHHII", width, height, colors, 0, hotspot[0], hotspot[1],
                        len(body), 6 + 16)
    return struct.pack("<HHH", 0, 2, 1) + entry + body


def _pack_bits(bits):
    out = bytearray((len(bits) + 31) // 32 * 4)
    for i, b in enumerate(bits):
        if b:
            out[i >> 3] |= 0x80 >> (i & 7)
    return bytes(out)


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def make_pointer_cursor():
    hx, hy = 2, 4
    grid = [[None] * 32 for _ in range(32)]
    for r, line in enumerate(ARROW):
        for col, ch in enumerate(line):
            if ch != ".":
                grid[hy + r][hx + col] = 0 if ch == "B" else 15
    xor_rows, and_rows = [], []
    for y in range(32):
        row = bytearray(16)
        for x in range(32):
            idx = grid[y][x] or 0
            row[x >> 1] |= idx << (4 if x % 2 == 0 else 0)
        xor_rows.append(bytes(row))
        and_rows.append(_pack_bits([grid[y][x] is None for x in range(32)]))
    return _cur_file(32, 32, 4, VGA16, xor_rows, and_rows, (hx, hy))


def make_mono_cursor(kind):
    black, hot = cursor_figure(kind)
    white = _rim(black)
    xor_rows, and_rows = [], []
    for y in range(32):
        xor_rows.append(_pack_bits([(x, y) in white for x in range(32)]))
        and_rows.append(_pack_bits([(x, y) not in black and (x, y) not in white
                                    for x in range(32)]))
    return _cur_file(32, 32, 1, [(0, 0, 0), (255, 255, 255)], xor_rows, and_rows, hot)


def make_cursors():
    files = {"cursor129.cur": make_pointer_cursor()}
    for k in (132, 133, 134, 135, 136):
        files["cursor%d.cur" % k] = make_mono_cursor(k)
    return files


# ===========================================================================
# Window icon
# ===========================================================================
ICON_SIZES = (256, 128, 64, 48, 32, 16)


def draw_app_icon(s):
    """Blue rounded tile with a white selection frame and corner handles.

    Frame and handle positions are snapped to whole pixels at every size so
    the 16 and 32 px versions stay sharp.
    """
    c = Canvas(s, s)
    pad = 0 if s <= 16 else s // 16
    radius = (s - 2 * pad) * 0.22
    top = (0.27, 0.60, 1.00)
    bottom = (0.42, 0.33, 0.96)

    def grad(x, y):
        t = min(1.0, max(0.0, (x + y) / (2.0 * s)))
        lift = 0.08 * max(0.0, 1.0 - 2.0 * y / s)    # soft light from the top
        return tuple(min(1.0, a + (b - a) * t + lift) for a, b in zip(top, bottom))
    tile = sd_rbox(pad, pad, s - pad, s - pad, radius)
    c.fill(tile, grad)

    m = round(s * 0.25)
    t = max(1, round(s / 24.0))
    h = 3 * t
    x0, y0, x1, y1 = m, m, s - m, s - m
    c.fill(sd_rbox(x0, y0, x1, y1, 0), (1.0, 1.0, 1.0), 0.22)
    frame = sd_subtract(sd_rbox(x0, y0, x1, y1, 0), sd_rbox(x0 + t, y0 + t, x1 - t, y1 - t, 0))
    c.fill(frame, (1.0, 1.0, 1.0))
    for cx in (x0, x1 - t):
        for cy in (y0, y1 - t):
            c.fill(sd_rbox(cx - t, cy - t, cx - t + h, cy - t + h, 0), (1.0, 1.0, 1.0))
    return c


def _ico_bmp(canvas):
    w, h = canvas.w, canvas.h
    rgba = canvas.rgba_bytes()
    rows, masks = [], []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            i = (y * w + x) * 4
            row += bytes((rgba[i + 2], rgba[i + 1], rgba[i], rgba[i + 3]))
        rows.append(bytes(row))
        masks.append(_pack_bits([rgba[(y * w + x) * 4 + 3] == 0 for x in range(w)]))
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                         sum(map(len, rows)) + sum(map(len, masks)), 0, 0, 0, 0)
    return header + b"".join(reversed(rows)) + b"".join(reversed(masks))


def make_icon():
    images = []
    for s in ICON_SIZES:
        c = draw_app_icon(s)
        images.append((s, c.png() if s >= 256 else _ico_bmp(c)))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, data in images:
        out += struct.pack("<BBBBHHII", s & 0xFF, s & 0xFF, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


# ===========================================================================
def generate(out_dir):
    written = []
    groups = ((os.path.join(out_dir, "skinScreen"), make_skin()),
              (os.path.join(out_dir, "cursors"), make_cursors()),
              (out_dir, {"icon128.ico": make_icon()}))
    for directory, files in groups:
        os.makedirs(directory, exist_ok=True)
        for name in sorted(files):
            path = os.path.join(directory, name)
            with open(path, "wb") as f:
                f.write(files[name])
            written.append(path)
    return written


def main(argv=None):
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.join(here, os.pardir, "resources"),
                    help="output directory (default: the repository's resources/)")
    args = ap.parse_args(argv)
    for path in generate(os.path.normpath(args.out)):
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
