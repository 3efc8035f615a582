#!/usr/bin/env python3
"""Checks the generated skin images, cursors and window icon.

The committed files under resources/ must be exactly what tools/gen_skin.py
produces, and they must fit the layout the program assumes when it composes
the tool bar, the pen/colour panel and the dimming layer.

Run from the repository root:  python3 tests/unit/test_resource_files.py
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
RES = os.path.join(ROOT, "resources")
SKIN = os.path.join(RES, "skinScreen")
CURSORS = os.path.join(RES, "cursors")
GENERATOR = os.path.join(ROOT, "tools", "gen_skin.py")

BAR_BUTTONS = ["rectangle.png", "round.png", "arrow.png", "font.png", "pen.png",
               "return.png", "save.png", "close.png", "finish.png"]
SIZE_BUTTONS = ["one.png", "mid.png", "big.png"]
SKIN_FILES = sorted(BAR_BUTTONS + SIZE_BUTTONS
                    + ["color.png", "icon_bg.png", "pop_bg.png", "back.jpg"])
CURSOR_FILES = ["cursor129.cur"] + ["cursor%d.cur" % k for k in range(132, 137)]
HOTSPOTS = {129: (2, 4), 132: (16, 16), 133: (16, 16), 134: (15, 16),
            135: (16, 16), 136: (15, 16)}

BAR_PITCH = 30          # left edges of tool-bar buttons
SIZE_PITCH = 20         # left edges of pen-size buttons
BAR_PATCH = (15, 7)     # icon_bg patch every bar sprite is composed over
POP_PATCH = (10, 7)     # pop_bg patch the size sprites are composed over
SIZE_X = (4, 24, 44)    # size buttons relative to pop_bg
COLOR_X, COLOR_RAISE = 74, 5


# ---------------------------------------------------------------------------
# Minimal PNG reader
# ---------------------------------------------------------------------------
class Png:
    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if data[:8] != b"\x89PNG\r\n\x1a\n":
            raise ValueError("%s: not a PNG" % path)
        pos, idat, self.chunks = 8, bytearray(), []
        while pos < len(data):
            length, tag = struct.unpack(">I4s", data[pos:pos + 8])
            body = data[pos + 8:pos + 8 + length]
            crc, = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
            if zlib.crc32(tag + body) & 0xFFFFFFFF != crc:
                raise ValueError("%s: bad CRC in %r" % (path, tag))
            self.chunks.append(tag)
            if tag == b"IHDR":
                (self.width, self.height, self.depth, self.color_type,
                 _, _, self.interlace) = struct.unpack(">IIBBBBB", body)
            elif tag == b"IDAT":
                idat += body
            pos += 12 + length
        self.trailing = len(data) - pos
        self._idat = bytes(idat)
        self._rows = None

    def rows(self):
        """Unfiltered RGBA rows (colour type 6, depth 8 only)."""
        if self._rows is None:
            raw = zlib.decompress(self._idat)
            bpp, stride = 4, self.width * 4
            rows, prev, pos = [], bytearray(stride), 0
            for _ in range(self.height):
                ftype, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
                pos += 1 + stride
                for i in range(stride):
                    a = line[i - bpp] if i >= bpp else 0
                    b = prev[i]
                    c = prev[i - bpp] if i >= bpp else 0
                    if ftype == 1:
                        line[i] = (line[i] + a) & 0xFF
                    elif ftype == 2:
                        line[i] = (line[i] + b) & 0xFF
                    elif ftype == 3:
                        line[i] = (line[i] + (a + b) // 2) & 0xFF
                    elif ftype == 4:
                        p = a + b - c
                        pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                        pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                        line[i] = (line[i] + pred) & 0xFF
                    elif ftype != 0:
                        raise ValueError("bad filter %d" % ftype)
                rows.append(bytes(line))
                prev = line
            self._rows = rows
        return self._rows

    def block(self, x, y, w, h):
        return [r[x * 4:(x + w) * 4] for r in self.rows()[y:y + h]]

    def pixel(self, x, y):
        return tuple(self.rows()[y][x * 4:x * 4 + 4])


def skin(name):
    return Png(os.path.join(SKIN, name))


def frame_width(png):
    return png.width // 3


# ---------------------------------------------------------------------------
class ReproducibleTest(unittest.TestCase):
    def test_generator_output_matches_committed_files(self):
        tmp = tempfile.mkdtemp(prefix="snapcrest-res-")
        try:
            subprocess.run([sys.executable, GENERATOR, "--out", tmp], check=True,
                           stdout=subprocess.DEVNULL)
            expected = ([os.path.join("skinScreen", n) for n in SKIN_FILES]
                        + [os.path.join("cursors", n) for n in CURSOR_FILES]
                        + ["icon128.ico"])
            produced = sorted(os.path.relpath(os.path.join(d, f), tmp)
                              for d, _, files in os.walk(tmp) for f in files)
            self.assertEqual(sorted(expected), produced)
            for rel in expected:
                with self.subTest(file=rel):
                    with open(os.path.join(tmp, rel), "rb") as f:
                        fresh = f.read()
                    with open(os.path.join(RES, rel), "rb") as f:
                        committed = f.read()
                    self.assertTrue(fresh == committed,
                                    "%s differs from a fresh generator run" % rel)
        finally:
            shutil.rmtree(tmp)


class SkinFormatTest(unittest.TestCase):
    def test_pngs_are_8bit_rgba_non_interlaced(self):
        for name in SKIN_FILES:
            if not name.endswith(".png"):
                continue
            with self.subTest(file=name):
                png = skin(name)
                self.assertEqual((png.depth, png.color_type, png.interlace), (8, 6, 0))
                self.assertEqual(png.chunks[0], b"IHDR")
                self.assertEqual(png.chunks[-1], b"IEND")
                self.assertEqual(png.trailing, 0)
                self.assertEqual(len(png.rows()), png.height)

    def test_back_is_baseline_jpeg(self):
        with open(os.path.join(SKIN, "back.jpg"), "rb") as f:
            data = f.read()
        self.assertEqual(data[:2], b"\xFF\xD8")
        self.assertEqual(data[-2:], b"\xFF\xD9")
        pos, markers, size = 2, [], None
        while pos < len(data):
            self.assertEqual(data[pos], 0xFF, "marker expected at %d" % pos)
            marker = data[pos + 1]
            length, = struct.unpack(">H", data[pos + 2:pos + 4])
            markers.append(marker)
            if marker == 0xC0:
                precision, h, w, ncomp = struct.unpack(">BHHB", data[pos + 4:pos + 10])
                size = (w, h)
                self.assertEqual(precision, 8)
                self.assertIn(ncomp, (1, 3))
            if marker == 0xDA:
                break
            pos += 2 + length
        self.assertIn(0xC0, markers)
        # progressive, lossless or arithmetic frames are not baseline
        non_baseline = {0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF}
        self.assertFalse(set(markers) & non_baseline)
        self.assertIn(0xDB, markers)
        self.assertIn(0xC4, markers)
        self.assertGreaterEqual(size[0], 80)
        self.assertGreaterEqual(size[1], 20)

    @unittest.skipUnless(shutil.which("convert"), "ImageMagick not installed")
    def test_back_decodes_dark_enough_behind_the_size_label(self):
        # The white size label sits on the top-left 80 x 20 at 70 % opacity.
        out = subprocess.run(
            ["convert", os.path.join(SKIN, "back.jpg"), "-crop", "80x20+0+0",
             "-format", "%[fx:maxima] %w %h", "info:"],
            check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.assertEqual(out.stderr.strip(), "")
        brightest, w, h = out.stdout.split()
        self.assertEqual((int(w), int(h)), (80, 20))
        self.assertLess(float(brightest), 0.2)


class BarLayoutTest(unittest.TestCase):
    def test_bar_background_size(self):
        bg = skin("icon_bg.png")
        self.assertEqual((bg.width, bg.height), (339, 38))

    def test_bar_buttons_are_strips_that_fit_the_pitch(self):
        bg = skin("icon_bg.png")
        for name in BAR_BUTTONS + ["color.png"]:
            with self.subTest(file=name):
                png = skin(name)
                self.assertEqual(png.width % 3, 0)
                self.assertLessEqual(frame_width(png), BAR_PITCH)
                self.assertLessEqual(png.height, bg.height)
                self.assertLessEqual(BAR_PATCH[0] + frame_width(png), bg.width)
                self.assertLessEqual(BAR_PATCH[1] + png.height, bg.height)

    def test_centred_buttons_start_on_the_patch_row(self):
        # Buttons are centred on the bar but composed over the patch at y = 7;
        # a different height would shift the sprite against its background.
        bg = skin("icon_bg.png")
        for name in BAR_BUTTONS:
            with self.subTest(file=name):
                self.assertEqual((bg.height - skin(name).height) // 2, BAR_PATCH[1])

    def test_bar_background_is_uniform_under_the_buttons(self):
        bg = skin("icon_bg.png")
        h = skin("rectangle.png").height
        first = BAR_PATCH[0]
        last = first + (len(BAR_BUTTONS) - 1) * BAR_PITCH + frame_width(skin("rectangle.png"))
        self.assertLessEqual(last, bg.width)
        for y in range(BAR_PATCH[1], BAR_PATCH[1] + h):
            row = bg.rows()[y]
            ref = row[first * 4:first * 4 + 4]
            self.assertEqual(ref[3], 255, "bar must be opaque under the buttons")
            for x in range(first, last):
                self.assertEqual(row[x * 4:x * 4 + 4], ref, "pixel (%d, %d)" % (x, y))

    def test_bar_corners_are_rounded(self):
        bg = skin("icon_bg.png")
        for x, y in ((0, 0), (bg.width - 1, 0), (0, bg.height - 1), (bg.width - 1, bg.height - 1)):
            self.assertEqual(bg.pixel(x, y)[3], 0, "corner (%d, %d)" % (x, y))
        self.assertGreater(bg.pixel(bg.width // 2, 0)[3], 200)


class PopLayoutTest(unittest.TestCase):
    def test_size_buttons_are_strips_that_fit_the_pitch(self):
        for name in SIZE_BUTTONS:
            with self.subTest(file=name):
                png = skin(name)
                self.assertEqual(png.width % 3, 0)
                self.assertLessEqual(frame_width(png), SIZE_PITCH)

    def test_panel_holds_the_size_and_colour_buttons(self):
        pop, one, color = skin("pop_bg.png"), skin("one.png"), skin("color.png")
        self.assertGreaterEqual(pop.height, one.height)
        size_top = (pop.height - one.height) // 2
        color_top = size_top - COLOR_RAISE
        self.assertGreaterEqual(color_top, 0)
        self.assertLessEqual(color_top + color.height, pop.height)
        self.assertGreater(pop.width, COLOR_X + frame_width(color))
        self.assertLessEqual(SIZE_X[-1] + frame_width(one), COLOR_X)
        for name in SIZE_BUTTONS:
            self.assertEqual(skin(name).height, one.height, name)

    def test_size_sprite_background_matches_where_they_are_drawn(self):
        pop, one = skin("pop_bg.png"), skin("one.png")
        fw, fh = frame_width(one), one.height
        patch = pop.block(POP_PATCH[0], POP_PATCH[1], fw, fh)
        top = (pop.height - fh) // 2
        for x in SIZE_X:
            with self.subTest(x=x):
                self.assertEqual(pop.block(x, top, fw, fh), patch)


class FramesTest(unittest.TestCase):
    def test_hover_frame_differs_from_normal(self):
        for name in BAR_BUTTONS + SIZE_BUTTONS + ["color.png"]:
            with self.subTest(file=name):
                png = skin(name)
                fw = frame_width(png)
                normal = png.block(0, 0, fw, png.height)
                hover = png.block(fw, 0, fw, png.height)
                changed = sum(1 for a, b in zip(b"".join(normal), b"".join(hover)) if a != b)
                # a real highlight touches a good share of the frame
                self.assertGreater(changed, fw * png.height // 4)

    def test_normal_frames_show_a_glyph(self):
        for name in BAR_BUTTONS + SIZE_BUTTONS + ["color.png"]:
            with self.subTest(file=name):
                png = skin(name)
                fw = frame_width(png)
                opaque = sum(1 for r in png.block(0, 0, fw, png.height)
                             for i in range(3, len(r), 4) if r[i] > 128)
                self.assertGreater(opaque, 3)
                self.assertLess(opaque, fw * png.height // 2)

    def test_tool_glyphs_are_distinct(self):
        seen = {}
        for name in BAR_BUTTONS:
            png = skin(name)
            alpha = bytes(b"".join(png.block(0, 0, frame_width(png), png.height))[3::4])
            self.assertNotIn(alpha, seen, "%s looks like %s" % (name, seen.get(alpha)))
            seen[alpha] = name

    def test_pen_dots_grow(self):
        coverage = []
        for name in SIZE_BUTTONS:
            png = skin(name)
            coverage.append(sum(b"".join(png.block(0, 0, frame_width(png), png.height))[3::4]))
        self.assertLess(coverage[0], coverage[1])
        self.assertLess(coverage[1], coverage[2])


# ---------------------------------------------------------------------------
# Cursors
# ---------------------------------------------------------------------------
def read_cursor(path):
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    w, h, colors, _, hx, hy, size, offset = struct.unpack("<BBBBHHII", data[6:22])
    hdr = struct.unpack("<IiiHHIIiiII", data[offset:offset + 40])
    bpp = hdr[4]
    ncolors = hdr[9] or (1 << bpp)
    pal_end = offset + 40 + 4 * ncolors
    palette = [tuple(data[pal_end - 4 * ncolors + 4 * i:][:3][::-1]) for i in range(ncolors)]
    xor_stride = ((w * bpp + 31) // 32) * 4
    and_stride = ((w + 31) // 32) * 4
    xor_start = pal_end
    and_start = xor_start + xor_stride * h
    pixels = {}
    for y in range(h):
        xr = data[xor_start + (h - 1 - y) * xor_stride:][:xor_stride]
        ar = data[and_start + (h - 1 - y) * and_stride:][:and_stride]
        for x in range(w):
            transparent = (ar[x >> 3] >> (7 - (x & 7))) & 1
            if bpp == 1:
                idx = (xr[x >> 3] >> (7 - (x & 7))) & 1
            else:
                idx = (xr[x >> 1] >> (4 if x % 2 == 0 else 0)) & 0xF
            if not transparent:
                pixels[(x, y)] = palette[idx]
    return dict(reserved=reserved, type=kind, count=count, width=w, height=h,
                colors=colors, hotspot=(hx, hy), size=size, offset=offset,
                file_len=len(data), header=hdr, bpp=bpp, ncolors=ncolors,
                end=and_start + and_stride * h, pixels=pixels)


class CursorTest(unittest.TestCase):
    def test_headers(self):
        for name in CURSOR_FILES:
            with self.subTest(file=name):
                cur = read_cursor(os.path.join(CURSORS, name))
                k = int(name[6:9])
                self.assertEqual((cur["reserved"], cur["type"], cur["count"]), (0, 2, 1))
                self.assertEqual((cur["width"], cur["height"]), (32, 32))
                self.assertEqual(cur["hotspot"], HOTSPOTS[k])
                self.assertEqual(cur["offset"] + cur["size"], cur["file_len"])
                self.assertEqual(cur["end"], cur["file_len"])
                hdr = cur["header"]
                self.assertEqual((hdr[0], hdr[1], hdr[2], hdr[3]), (40, 32, 64, 1))
                self.assertEqual(hdr[5], 0, "uncompressed")
                if k == 129:
                    self.assertEqual((cur["bpp"], cur["ncolors"], cur["colors"]), (4, 16, 16))
                else:
                    self.assertEqual((cur["bpp"], cur["ncolors"], cur["colors"]), (1, 2, 2))

    def test_figures_are_black_with_white_rim_and_sit_on_the_hotspot(self):
        for name in CURSOR_FILES:
            with self.subTest(file=name):
                cur = read_cursor(os.path.join(CURSORS, name))
                px = cur["pixels"]
                hx, hy = cur["hotspot"]
                self.assertIn((hx, hy), px, "hot spot must be on the figure")
                colours = set(px.values())
                self.assertEqual(colours, {(0, 0, 0), (255, 255, 255)})
                # every black pixel is enclosed: no black touches the transparent ground
                for (x, y), c in px.items():
                    if c == (0, 0, 0):
                        for n in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                            self.assertIn(n, px, "black pixel %s on the edge" % ((x, y),))
                xs = [p[0] for p in px]
                ys = [p[1] for p in px]
                if name == "cursor129.cur":
                    # the arrow's tip is the hot spot: nothing above or left of it
                    self.assertEqual((min(xs), min(ys)), (hx, hy))
                else:
                    self.assertAlmostEqual((min(xs) + max(xs)) / 2.0, hx, delta=0.5)
                    self.assertAlmostEqual((min(ys) + max(ys)) / 2.0, hy, delta=0.5)
                    self.assertGreater(max(xs) - min(xs) + max(ys) - min(ys), 16)

    def test_double_arrows_point_the_right_way(self):
        def span(name):
            px = read_cursor(os.path.join(CURSORS, name))["pixels"]
            xs = [p[0] for p in px]
            ys = [p[1] for p in px]
            return max(xs) - min(xs), max(ys) - min(ys), px
        w, h, _ = span("cursor135.cur")
        self.assertGreater(w, 2 * h)
        w, h, _ = span("cursor136.cur")
        self.assertGreater(h, 2 * w)
        _, _, px = span("cursor132.cur")
        self.assertIn((9, 9), px)
        self.assertNotIn((23, 9), px)
        _, _, px = span("cursor133.cur")
        self.assertIn((23, 9), px)
        self.assertNotIn((9, 9), px)
        w, h, px = span("cursor134.cur")
        self.assertAlmostEqual(w, h, delta=1)
        self.assertNotIn((6, 6), px)


# ---------------------------------------------------------------------------
# Window icon
# ---------------------------------------------------------------------------
class IconTest(unittest.TestCase):
    def setUp(self):
        with open(os.path.join(RES, "icon128.ico"), "rb") as f:
            self.data = f.read()

    def entries(self):
        reserved, kind, count = struct.unpack("<HHH", self.data[:6])
        self.assertEqual((reserved, kind), (0, 1))
        out = []
        for i in range(count):
            w, h, colors, res, planes, bpp, size, offset = struct.unpack(
                "<BBBBHHII", self.data[6 + 16 * i:22 + 16 * i])
            out.append(dict(w=w or 256, h=h or 256, colors=colors, planes=planes,
                            bpp=bpp, size=size, offset=offset))
        return out

    def decode(self, e):
        """Returns (width, height, alpha(x, y))."""
        blob = self.data[e["offset"]:e["offset"] + e["size"]]
        if blob[:8] == b"\x89PNG\r\n\x1a\n":
            tmp = tempfile.NamedTemporaryFile(suffix=".png", delete=False)
            try:
                tmp.write(blob)
                tmp.close()
                png = Png(tmp.name)
            finally:
                os.unlink(tmp.name)
            self.assertEqual((png.depth, png.color_type), (8, 6))
            return png.width, png.height, lambda x, y: png.pixel(x, y)[3]
        hdr = struct.unpack("<IiiHHIIiiII", blob[:40])
        self.assertEqual(hdr[0], 40)
        w, h2, bpp = hdr[1], hdr[2], hdr[4]
        self.assertEqual(bpp, 32)
        self.assertEqual(h2, 2 * w)
        h = h2 // 2
        and_stride = ((w + 31) // 32) * 4
        self.assertEqual(len(blob), 40 + w * h * 4 + and_stride * h)

        def alpha(x, y):
            return blob[40 + ((h - 1 - y) * w + x) * 4 + 3]
        return w, h, alpha

    def test_six_32bit_images(self):
        entries = self.entries()
        self.assertEqual(sorted((e["w"] for e in entries), reverse=True),
                         [256, 128, 64, 48, 32, 16])
        for e in entries:
            with self.subTest(size=e["w"]):
                self.assertEqual(e["w"], e["h"])
                self.assertEqual(e["bpp"], 32)
                self.assertEqual(e["planes"], 1)

    def test_payloads_are_in_bounds_and_disjoint(self):
        ranges = sorted((e["offset"], e["offset"] + e["size"]) for e in self.entries())
        self.assertEqual(ranges[0][0], 6 + 16 * len(ranges))
        for (a0, a1), (b0, _) in zip(ranges, ranges[1:]):
            self.assertLessEqual(a1, b0)
        self.assertEqual(ranges[-1][1], len(self.data))

    def test_payload_sizes_match_directory_and_show_a_tile(self):
        for e in self.entries():
            with self.subTest(size=e["w"]):
                w, h, alpha = self.decode(e)
                self.assertEqual((w, h), (e["w"], e["h"]))
                self.assertEqual(alpha(w // 2, h // 2), 255)
                self.assertEqual(alpha(0, 0), 0, "tile corners are rounded")


if __name__ == "__main__":
    unittest.main()
