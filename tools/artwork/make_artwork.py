#!/usr/bin/env python3
"""Draws the panels' artwork into resources/artwork/.

A maintainer script: the build uses the checked-in files and never runs it. Everything is drawn
here from simple shapes and from fonts in Debian packages, so the pictures can be changed by
editing this file and running it again:

    python3 tools/artwork/make_artwork.py            # as root it first installs PACKAGES
    python3 tools/artwork/make_artwork.py --check    # also draws twice and compares the bytes

Shapes are rasterised here, in plain Python, with 6 x 6 samples a pixel, so every line lands
where it is meant to and the output does not depend on a drawing library's version. ImageMagick
does what Python's standard library cannot: it turns text into glyph coverage (through FreeType
and fontconfig) and writes the BMP files. The icon and cursor containers are written here, as
they are a few dozen bytes of headers.

Bitmaps with a transparent colour are drawn by the program with TransparentBlt, which keys out
one exact colour. An icon anti-aliased against that colour would keep a pink or white fringe, so
such pictures are anti-aliased against a neutral light colour (the colour they are shown on) and
only pixels that the ink hardly touches become the key colour.
"""

import argparse
import hashlib
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
OUT_DIR = ROOT / "resources" / "artwork"
CONVERT = "/usr/bin/convert"

# Debian packages the script draws with: ImageMagick for text and BMP output, the CJK and Latin
# outline fonts, and WenQuanYi's bitmap song face for crisp small text.
PACKAGES = ("imagemagick", "fontconfig", "fonts-noto-cjk", "xfonts-wqy", "fonts-dejavu-core")

# Fonts, by ImageMagick's name (its fontconfig list picks the right face of a .ttc) or by file.
CJK_BOLD = "Noto-Sans-CJK-SC-Bold"
LATIN_BOLD = "DejaVu-Sans-Bold"
# WenQuanYi Bitmap Song at 15 px (the program's hint size), for the hint rows: a bitmap face,
# so small text is sharp; FreeType renders it only at its strike size, given here with it.
HINT_FACE = ("/usr/share/fonts/X11/misc/wenquanyi_11pt.pcf", 15)

# ---------------------------------------------------------------------------------------------
# Colours: a calm light theme. One table, so every picture agrees on what "panel" or "ink" is.

PANEL = (226, 232, 240)  # the panel's soft blue-grey
PANEL_TOP, PANEL_BOTTOM = (236, 240, 246), (222, 229, 238)  # its gentle top-to-bottom shading
PANEL_EDGE = (122, 140, 168)  # the panel's outer border
PANEL_LIGHT = (244, 247, 250)  # the inner highlight along the top and left
RAIL_TOP, RAIL_BOTTOM = (218, 226, 237), (204, 214, 228)  # the darker rail behind the buttons
RAIL_EDGE = (188, 199, 214)
FIELD = (255, 255, 255)  # candidate area and composition line
FIELD_EDGE = (170, 184, 204)
WELL = (238, 242, 247)  # the stroke and symbol button areas
WELL_EDGE = (190, 201, 216)
HINT = (245, 247, 250)  # the hint strip
INK = (28, 46, 92)  # icon strokes: dark blue
TEXT = (22, 28, 40)  # text: near black
ACCENT = (40, 84, 170)  # brighter blue for marks and "on" states
ACCENT_DARK = (24, 52, 118)
WHITE = (255, 255, 255)
MAGENTA = (255, 0, 255)

# What pictures keyed with TransparentBlt are anti-aliased against: a colour between those they
# are shown on. Button icons sit on the wells, the rail and the hover highlight (181,189,214);
# radicals on white cells and the same highlight; stroke glyphs on the white composition line
# and the hint strip.
ICON_AA = (208, 215, 230)
RADICAL_AA = (228, 233, 241)
LIGHT_AA = (242, 245, 249)

SS = 6  # samples per pixel along each axis when rasterising shapes


# ---------------------------------------------------------------------------------------------
# Setup


def ensure_packages():
    """Installs the Debian packages the drawing needs, when run as root and one is missing.

    The script is run rarely, on a fresh machine more often than not; installing what it needs
    keeps the steps to regenerate the artwork down to one command.
    """
    missing = []
    for package in PACKAGES:
        status = subprocess.run(
            ["dpkg-query", "-W", "-f=${Status}", package], capture_output=True, text=True
        ).stdout
        if "install ok installed" not in status:
            missing.append(package)
    if not missing:
        return
    if os.geteuid() != 0:
        sys.exit("missing packages (run as root to install them): " + " ".join(missing))
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    subprocess.run(["apt-get", "update"], check=True, env=env)
    subprocess.run(["apt-get", "install", "-y", "--no-install-recommends", *missing], check=True,
                   env=env)


def check_fonts():
    """Stops early, with a clear message, when ImageMagick cannot see a font by its name."""
    listing = subprocess.run([CONVERT, "-list", "font"], capture_output=True, text=True).stdout
    for name in (CJK_BOLD, LATIN_BOLD):
        if f"Font: {name}\n" not in listing:
            sys.exit(f"ImageMagick does not list the font {name}")
    if not Path(HINT_FACE[0]).exists():
        sys.exit(f"missing font file {HINT_FACE[0]}")


def font_has(family, char):
    """True when fontconfig says the family covers the character (Radicals Supplement forms)."""
    listing = subprocess.run(
        ["fc-list", f":charset={ord(char):x}", "family"], capture_output=True, text=True
    ).stdout
    return any(family in line for line in listing.splitlines())


# ---------------------------------------------------------------------------------------------
# Coverage masks and shapes


class Mask:
    """Coverage in [0, 1] per pixel: how much of each pixel some ink covers."""

    def __init__(self, w, h, values=None):
        self.w, self.h = w, h
        self.a = values if values is not None else [0.0] * (w * h)

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.a[y * self.w + x]
        return 0.0

    def ink_box(self, threshold=0.02):
        """The smallest rectangle (x0, y0, x1, y1; exclusive) holding all the ink."""
        xs, ys = [], []
        for y in range(self.h):
            row = self.a[y * self.w:(y + 1) * self.w]
            for x, v in enumerate(row):
                if v > threshold:
                    xs.append(x)
                    ys.append(y)
        if not xs:
            return (0, 0, 0, 0)
        return (min(xs), min(ys), max(xs) + 1, max(ys) + 1)

    def crop(self, x0, y0, x1, y1):
        out = Mask(x1 - x0, y1 - y0)
        for y in range(y0, y1):
            for x in range(x0, x1):
                out.a[(y - y0) * out.w + (x - x0)] = self.get(x, y)
        return out

    def sharpened(self, low=0.12, high=0.88):
        """Coverage stretched so that edges are mostly fully on or off.

        Small icons look crisper this way, and keyed icons get fewer half-tone edge pixels.
        """
        span = high - low
        return Mask(self.w, self.h, [min(1.0, max(0.0, (v - low) / span)) for v in self.a])

    def dilated(self):
        """The mask grown by one pixel in every direction (for outlines around a shape)."""
        out = Mask(self.w, self.h)
        for y in range(self.h):
            for x in range(self.w):
                out.a[y * self.w + x] = max(self.get(x + dx, y + dy)
                                            for dx in (-1, 0, 1) for dy in (-1, 0, 1))
        return out

class Shape:
    """A region of the plane in pixel-edge coordinates: pixel (x, y) is the square x..x+1."""

    def bounds(self):
        raise NotImplementedError

    def inside(self, x, y):
        raise NotImplementedError

    def coverage(self, px, py):
        """The covered fraction of pixel (px, py), by sampling SS x SS points in it."""
        hits = 0
        step = 1.0 / SS
        for j in range(SS):
            y = py + (j + 0.5) * step
            for i in range(SS):
                if self.inside(px + (i + 0.5) * step, y):
                    hits += 1
        return hits / (SS * SS)


class Box(Shape):
    """An axis-aligned rectangle; its coverage is computed exactly."""

    def __init__(self, x0, y0, x1, y1):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1

    def bounds(self):
        return (self.x0, self.y0, self.x1, self.y1)

    def inside(self, x, y):
        return self.x0 <= x < self.x1 and self.y0 <= y < self.y1

    def coverage(self, px, py):
        w = max(0.0, min(px + 1, self.x1) - max(px, self.x0))
        h = max(0.0, min(py + 1, self.y1) - max(py, self.y0))
        return w * h


class RoundBox(Shape):
    """A rectangle with rounded corners of radius r."""

    def __init__(self, x0, y0, x1, y1, r):
        self.x0, self.y0, self.x1, self.y1, self.r = x0, y0, x1, y1, r

    def bounds(self):
        return (self.x0, self.y0, self.x1, self.y1)

    def inside(self, x, y):
        if not (self.x0 <= x < self.x1 and self.y0 <= y < self.y1):
            return False
        r = self.r
        cx = min(max(x, self.x0 + r), self.x1 - r)
        cy = min(max(y, self.y0 + r), self.y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    def coverage(self, px, py):
        r = self.r
        in_corner_x = px < self.x0 + r or px + 1 > self.x1 - r
        in_corner_y = py < self.y0 + r or py + 1 > self.y1 - r
        if in_corner_x and in_corner_y:
            return Shape.coverage(self, px, py)
        return Box.coverage(self, px, py)


class Disc(Shape):
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r

    def bounds(self):
        return (self.cx - self.r, self.cy - self.r, self.cx + self.r, self.cy + self.r)

    def inside(self, x, y):
        return (x - self.cx) ** 2 + (y - self.cy) ** 2 <= self.r * self.r


class Ring(Shape):
    """A circle drawn with a pen of the given width, centred on radius r."""

    def __init__(self, cx, cy, r, width):
        self.cx, self.cy, self.r, self.half = cx, cy, r, width / 2

    def bounds(self):
        e = self.r + self.half
        return (self.cx - e, self.cy - e, self.cx + e, self.cy + e)

    def inside(self, x, y):
        d = math.hypot(x - self.cx, y - self.cy)
        return abs(d - self.r) <= self.half


class Segment(Shape):
    """A straight line of the given width with round caps."""

    def __init__(self, x0, y0, x1, y1, width):
        self.p = (x0, y0, x1, y1)
        self.half = width / 2

    def bounds(self):
        x0, y0, x1, y1 = self.p
        h = self.half
        return (min(x0, x1) - h, min(y0, y1) - h, max(x0, x1) + h, max(y0, y1) + h)

    def inside(self, x, y):
        x0, y0, x1, y1 = self.p
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy
        t = ((x - x0) * dx + (y - y0) * dy) / length2 if length2 else 0.0
        t = min(1.0, max(0.0, t))
        return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= self.half * self.half


class Polygon(Shape):
    """A filled polygon (even-odd rule)."""

    def __init__(self, points):
        self.points = points

    def bounds(self):
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        return (min(xs), min(ys), max(xs), max(ys))

    def inside(self, x, y):
        result = False
        pts = self.points
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result


class Union(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes

    def bounds(self):
        bs = [s.bounds() for s in self.shapes]
        return (min(b[0] for b in bs), min(b[1] for b in bs), max(b[2] for b in bs),
                max(b[3] for b in bs))

    def inside(self, x, y):
        return any(s.inside(x, y) for s in self.shapes)


class Minus(Shape):
    """The first shape with the second cut out of it."""

    def __init__(self, shape, cut):
        self.shape, self.cut = shape, cut

    def bounds(self):
        return self.shape.bounds()

    def inside(self, x, y):
        return self.shape.inside(x, y) and not self.cut.inside(x, y)


class Clip(Shape):
    """The part of the first shape inside the second."""

    def __init__(self, shape, window):
        self.shape, self.window = shape, window

    def bounds(self):
        a, b = self.shape.bounds(), self.window.bounds()
        return (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))

    def inside(self, x, y):
        return self.window.inside(x, y) and self.shape.inside(x, y)


class Brush(Shape):
    """A stroke whose width changes along its path: points are (x, y, width).

    Calligraphic strokes start heavy and taper (撇, 提) or swell into a foot (捺); a union of
    tapered capsules between the points draws that with a few numbers.
    """

    def __init__(self, points):
        self.points = points

    def bounds(self):
        return (min(x - w / 2 for x, _, w in self.points), min(y - w / 2 for _, y, w in self.points),
                max(x + w / 2 for x, _, w in self.points), max(y + w / 2 for _, y, w in self.points))

    def inside(self, x, y):
        pts = self.points
        for (x0, y0, w0), (x1, y1, w1) in zip(pts, pts[1:]):
            dx, dy = x1 - x0, y1 - y0
            length2 = dx * dx + dy * dy
            t = ((x - x0) * dx + (y - y0) * dy) / length2 if length2 else 0.0
            t = min(1.0, max(0.0, t))
            half = (w0 + (w1 - w0) * t) / 2
            if (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= half * half:
                return True
        return False


def polyline(points, width):
    """A line through several points with round joins and caps."""
    return Union(*[Segment(*points[i], *points[i + 1], width) for i in range(len(points) - 1)])


def rasterize(shape, w, h):
    """The coverage of a shape over a w x h picture."""
    mask = Mask(w, h)
    x0, y0, x1, y1 = shape.bounds()
    for py in range(max(0, math.floor(y0)), min(h, math.ceil(y1))):
        for px in range(max(0, math.floor(x0)), min(w, math.ceil(x1))):
            mask.a[py * w + px] = shape.coverage(px, py)
    return mask


# ---------------------------------------------------------------------------------------------
# Text through ImageMagick

_text_cache = {}


def _escape(text):
    """ImageMagick expands % escapes and a leading @ in -annotate text; neutralise them."""
    return text.replace("\\", "\\\\").replace("%", "%%")


def text_mask(text, font, size, antialias=True):
    """Glyph coverage of a line of text, and where its baseline origin lies in the mask.

    Returns (mask, (ox, oy)): the mask is cropped to the ink, and (ox, oy) is the pen's start
    point on the baseline in mask coordinates, so callers can place text either by its ink or by
    its baseline.
    """
    key = (text, font, size, antialias)
    if key in _text_cache:
        return _text_cache[key]
    w = size * (len(text) + 4) * 2
    h = size * 4
    ox, oy = size * 2, size * 3
    command = [CONVERT, "-size", f"{w}x{h}", "xc:black", "-font", font, "-pointsize", str(size),
               "-fill", "white", "-antialias" if antialias else "+antialias",
               "-annotate", f"+{ox}+{oy}", _escape(text), "-depth", "8", "gray:-"]
    raw = subprocess.run(command, capture_output=True, check=True).stdout
    assert len(raw) == w * h, (text, font, len(raw))
    full = Mask(w, h, [b / 255.0 for b in raw])
    x0, y0, x1, y1 = full.ink_box()
    result = (full.crop(x0, y0, x1, y1), (ox - x0, oy - y0))
    _text_cache[key] = result
    return result


def glyph(text, font, size, antialias=True):
    """Just the ink of a short text, for icons that centre it."""
    return text_mask(text, font, size, antialias)[0]


def fitted_glyph(text, font, max_w, max_h, largest=64):
    """The ink of a text at the largest whole point size that fits in max_w x max_h.

    Punctuation sits small and off-centre in its em box; an icon wants it as large as the button
    allows and centred, so the size is chosen from the ink, not from the font's em.
    """
    best = None
    for size in range(6, largest + 1):
        mask = glyph(text, font, size)
        if mask.w > max_w or mask.h > max_h:
            break
        best = mask
    return best


# ---------------------------------------------------------------------------------------------
# Pictures


class Picture:
    """An RGBA picture (premultiplied colour, alpha in [0, 1]) that shapes and text paint on."""

    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        n = w * h
        if fill is None:
            self.r, self.g, self.b, self.al = [0.0] * n, [0.0] * n, [0.0] * n, [0.0] * n
        else:
            self.r, self.g, self.b = [float(fill[0])] * n, [float(fill[1])] * n, [float(fill[2])] * n
            self.al = [1.0] * n

    def blend(self, x, y, colour, alpha):
        """Paints one pixel with a colour at some opacity (source over)."""
        if alpha <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        i = y * self.w + x
        keep = 1.0 - alpha
        self.r[i] = colour[0] * alpha + self.r[i] * keep
        self.g[i] = colour[1] * alpha + self.g[i] * keep
        self.b[i] = colour[2] * alpha + self.b[i] * keep
        self.al[i] = alpha + self.al[i] * keep

    def paint_mask(self, mask, x, y, colour, opacity=1.0):
        """Paints a coverage mask with its top-left corner at (x, y).

        `colour` is an (r, g, b) tuple, or a function of the picture's (x, y) giving one, for
        gradients.
        """
        flat = not callable(colour)
        for my in range(mask.h):
            for mx in range(mask.w):
                a = mask.a[my * mask.w + mx]
                if a > 0:
                    c = colour if flat else colour(x + mx, y + my)
                    self.blend(x + mx, y + my, c, a * opacity)

    def fill(self, shape, colour, opacity=1.0):
        """Paints a shape."""
        x0, y0, x1, y1 = shape.bounds()
        flat = not callable(colour)
        for py in range(max(0, math.floor(y0)), min(self.h, math.ceil(y1))):
            for px in range(max(0, math.floor(x0)), min(self.w, math.ceil(x1))):
                a = shape.coverage(px, py)
                if a > 0:
                    self.blend(px, py, colour if flat else colour(px, py), a * opacity)

    def paint_centred(self, mask, box, colour, dx=0, dy=0):
        """Paints a mask centred in box (x0, y0, x1, y1), on whole pixels so it stays sharp."""
        x0, y0, x1, y1 = box
        x = x0 + (x1 - x0 - mask.w) // 2 + dx
        y = y0 + (y1 - y0 - mask.h) // 2 + dy
        self.paint_mask(mask, x, y, colour)

    def paste(self, other, x, y):
        """Copies another picture's pixels in, alpha and all."""
        for oy in range(other.h):
            for ox in range(other.w):
                tx, ty = x + ox, y + oy
                if 0 <= tx < self.w and 0 <= ty < self.h:
                    i, j = ty * self.w + tx, oy * other.w + ox
                    self.r[i], self.g[i], self.b[i] = other.r[j], other.g[j], other.b[j]
                    self.al[i] = other.al[j]

    def paint_picture(self, other, x, y):
        """Paints another picture over this one, blending by its alpha."""
        for oy in range(other.h):
            for ox in range(other.w):
                j = oy * other.w + ox
                a = other.al[j]
                if a > 0:
                    colour = (other.r[j] / a, other.g[j] / a, other.b[j] / a)
                    self.blend(x + ox, y + oy, colour, a)

    def crop(self, x, y, w, h):
        out = Picture(w, h)
        for oy in range(h):
            for ox in range(w):
                i, j = (y + oy) * self.w + x + ox, oy * w + ox
                out.r[j], out.g[j], out.b[j], out.al[j] = self.r[i], self.g[i], self.b[i], self.al[i]
        return out

    def pixel(self, x, y, over=(0, 0, 0)):
        """The colour of a pixel laid over a background colour, in whole 0-255 values."""
        i = y * self.w + x
        keep = 1.0 - self.al[i]
        return tuple(
            max(0, min(255, int(round(c + o * keep))))
            for c, o in ((self.r[i], over[0]), (self.g[i], over[1]), (self.b[i], over[2])))

    def rgb_bytes(self, over=(0, 0, 0)):
        """The picture flattened onto a colour, as rows of R, G, B bytes, top row first."""
        out = bytearray()
        for y in range(self.h):
            for x in range(self.w):
                out += bytes(self.pixel(x, y, over))
        return bytes(out)

    def keyed_bytes(self, key, aa_background, threshold=0.3):
        """RGB bytes for TransparentBlt: ink over aa_background, the rest the key colour.

        Pixels whose ink covers less than `threshold` become the key; the others are blended
        against the light colour the picture is shown on, so there is no fringe of the key.
        """
        out = bytearray()
        for y in range(self.h):
            for x in range(self.w):
                i = y * self.w + x
                if self.al[i] < threshold:
                    out += bytes(key)
                else:
                    c = self.pixel(x, y, aa_background)
                    if c == key:  # never let ink become transparent by accident
                        c = (c[0], c[1], c[2] - 1 if c[2] else 1)
                    out += bytes(c)
        return bytes(out)

    def rgba_bytes(self):
        """Straight (not premultiplied) R, G, B, A bytes, for icons and cursors."""
        out = bytearray()
        for i in range(self.w * self.h):
            a = self.al[i]
            if a <= 0:
                out += b"\0\0\0\0"
                continue
            out += bytes(max(0, min(255, int(round(c / a)))) for c in (self.r[i], self.g[i], self.b[i]))
            out.append(max(0, min(255, int(round(a * 255)))))
        return bytes(out)


def vertical_gradient(y0, y1, top, bottom):
    """A colour function going from `top` at y0 to `bottom` at y1."""

    def colour(x, y):
        t = 0.0 if y1 <= y0 else min(1.0, max(0.0, (y + 0.5 - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))

    return colour


# ---------------------------------------------------------------------------------------------
# Writers


def write_bmp(path, w, h, rgb):
    """Writes an uncompressed 24-bit bottom-up BMP (BMP3) through ImageMagick and checks it.

    BMP3 carries no time stamp or comment, so the same pixels give the same bytes.
    """
    subprocess.run([CONVERT, "-size", f"{w}x{h}", "-depth", "8", "rgb:-", "-type", "TrueColor",
                    f"BMP3:{path}"], input=rgb, check=True)
    data = Path(path).read_bytes()
    assert data[:2] == b"BM"
    header_size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    assert (header_size, width, height, planes, bits, compression) == (40, w, h, 1, 24, 0), path


def _dib_entry(rgba, size):
    """The image of one icon or cursor entry: a 32-bit BGRA DIB (bottom-up) and its AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row_mask = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = rgba[(y * size + x) * 4:(y * size + x) * 4 + 4]
            pixels += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    return header + bytes(pixels) + bytes(mask)


def write_icon_file(path, images, kind=1, hotspot=(0, 0)):
    """Writes an .ico (kind 1) or .cur (kind 2) holding square RGBA images.

    `images` is a list of (size, rgba bytes). A cursor entry stores its hotspot where an icon
    entry stores planes and bit count.
    """
    entries = [(size, _dib_entry(rgba, size)) for size, rgba in images]
    out = bytearray(struct.pack("<HHH", 0, kind, len(entries)))
    offset = 6 + 16 * len(entries)
    for size, data in entries:
        a, b = (1, 32) if kind == 1 else hotspot
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, a, b, len(data), offset)
        offset += len(data)
    for _, data in entries:
        out += data
    Path(path).write_bytes(bytes(out))


# ---------------------------------------------------------------------------------------------
# Stroke buttons (102): strokes drawn as shapes, so that they are bold, centred and sharp


def stroke_shapes(index):
    """The shape of stroke button `index` (横 竖 撇 点 折 提 竖钩 捺 ? ') in an 18 x 18 cell.

    The horizontal and vertical parts sit on whole pixels (3 px wide) so they stay sharp; the
    slanted strokes taper like a brush so that each reads as the stroke it names.
    """
    if index == 0:  # 横: a level bar, pressed a little at the end
        return Union(Box(2, 8, 15, 11), Brush([(13.2, 9.6, 3.0), (15.2, 9.2, 3.6)]))
    if index == 1:  # 竖: a vertical bar, tapering slightly at its foot
        return Union(Box(7, 2, 10, 13), Brush([(8.5, 12.5, 3.0), (8.5, 15.6, 2.2)]))
    if index == 2:  # 撇: from the top right, sweeping down to the left
        return Brush([(12.6, 2.2, 3.2), (12.3, 6.5, 3.0), (10.4, 10.6, 2.6), (7.0, 13.8, 1.9),
                      (3.0, 15.8, 0.8)])
    if index == 3:  # 点: a short drop towards the lower right
        return Brush([(6.6, 4.6, 2.0), (9.2, 8.0, 3.6), (11.4, 11.6, 4.2), (11.2, 12.8, 3.0)])
    if index == 4:  # 折: across, then turning down
        return Union(Box(2, 4, 13, 7), Box(12, 4, 15, 16), Brush([(13.4, 4.8, 3.6), (14.6, 4.4, 1.8)]))
    if index == 5:  # 提: a rising stroke, heavy where it starts
        return Brush([(3.2, 13.6, 4.2), (5.0, 12.8, 3.6), (10.0, 9.0, 2.4), (15.4, 4.6, 0.8)])
    if index == 6:  # 竖钩: down, then a hook back up to the left
        return Union(Box(9, 2, 12, 14.5),
                     Brush([(10.5, 14.2, 3.0), (9.7, 15.6, 3.0), (6.9, 13.2, 2.2), (4.9, 11.0, 1.0)]))
    if index == 7:  # 捺: down to the right, swelling into a flat foot
        return Brush([(3.6, 2.4, 1.4), (6.4, 6.4, 2.4), (9.6, 10.6, 3.4), (12.0, 13.4, 3.8),
                      (15.6, 14.6, 1.2)])
    if index == 9:  # separator: a bar between two characters' dots
        return Union(Box(8, 3, 10, 15), Disc(4.0, 9.0, 1.8), Disc(14.0, 9.0, 1.8))
    raise ValueError(index)


def stroke_icon(index):
    """One 18 x 18 stroke button icon on a transparent picture."""
    pic = Picture(18, 18)
    if index == 8:  # wildcard: a question mark, as typed for "any stroke"
        pic.paint_centred(fitted_glyph("?", LATIN_BOLD, 12, 15), (0, 0, 18, 18), ACCENT)
    elif index == 9:
        pic.fill(stroke_shapes(index), ACCENT)
    else:
        pic.fill(stroke_shapes(index), INK)
    return pic


def strip(pictures, cell_w, cell_h):
    """Pictures of one size side by side."""
    out = Picture(cell_w * len(pictures), cell_h)
    for i, pic in enumerate(pictures):
        out.paste(pic, i * cell_w, 0)
    return out


def bmp102_stroke_icons(out_dir):
    """Stroke buttons: 10 icons of 18 x 18, keyed magenta, drawn on the light button areas."""
    pic = strip([stroke_icon(i) for i in range(10)], 18, 18)
    write_bmp(out_dir / "bmp102.bmp", pic.w, pic.h, pic.keyed_bytes(MAGENTA, ICON_AA))
    return pic


# ---------------------------------------------------------------------------------------------
# Stroke glyphs for the composition line (113)


def small_stroke_shapes(index):
    """Stroke `index` for the composition line: 10 x 20 cells, ink about 8 x 11, 2 px lines.

    These stand in a row after the characters typed so far, so they sit on the text's middle
    (rows 5 to 15) and keep their lines on whole pixels wherever they are straight.
    """
    if index == 0:  # 横
        return Box(1, 9, 9, 11)
    if index == 1:  # 竖
        return Box(4, 5, 6, 16)
    if index == 2:  # 撇
        return Brush([(6.8, 5.0, 2.2), (6.4, 8.6, 2.1), (4.6, 12.2, 1.8), (1.6, 15.2, 1.0)])
    if index == 3:  # 点
        return Brush([(3.4, 7.2, 1.6), (5.2, 10.0, 2.6), (6.4, 12.2, 2.6)])
    if index == 4:  # 折
        return Union(Box(1, 6, 8, 8), Box(6, 6, 8, 16))
    if index == 5:  # 提
        return Brush([(1.6, 13.6, 2.8), (4.8, 11.4, 2.0), (8.8, 8.0, 0.9)])
    if index == 6:  # 竖钩
        return Union(Box(5, 5, 7, 15), Brush([(6.0, 14.6, 2.2), (5.2, 15.4, 2.0), (2.2, 13.0, 1.2)]))
    if index == 7:  # 捺
        return Brush([(1.8, 5.2, 1.0), (4.4, 9.6, 1.9), (6.6, 13.2, 2.5), (9.0, 14.4, 0.8)])
    if index == 9:  # separator: an apostrophe, as typed between syllables
        return Brush([(5.2, 5.2, 3.0), (5.0, 7.6, 2.6), (4.2, 10.4, 1.2)])
    raise ValueError(index)


def small_stroke_glyph(index):
    """One 10 x 20 composition-line glyph; the wildcard and separator in the accent blue, as
    on their buttons."""
    pic = Picture(10, 20)
    if index == 8:
        pic.paint_centred(fitted_glyph("?", LATIN_BOLD, 8, 12).sharpened(), (0, 4, 10, 17), ACCENT)
    else:
        colour = ACCENT if index == 9 else INK
        pic.fill(small_stroke_shapes(index), colour)
    return pic


def bmp113_stroke_glyphs(out_dir):
    """Strokes typed so far, shown on the composition line: 10 glyphs of 10 x 20, keyed white."""
    pic = strip([small_stroke_glyph(i) for i in range(10)], 10, 20)
    write_bmp(out_dir / "bmp113.bmp", pic.w, pic.h, pic.keyed_bytes(WHITE, LIGHT_AA, 0.25))
    return pic


# ---------------------------------------------------------------------------------------------
# Symbol buttons (112)

# Each symbol button's character and the box its ink is fitted into: full-width punctuation
# sits small and low in its em, so each gets the size that makes it clear on an 18 px button.
SYMBOLS = (
    ("，", 8, 10), ("。", 9, 9), ("！", 6, 14), ("？", 10, 14), ("、", 6, 7), ("；", 6, 14),
    ("：", 5, 12), ("“", 12, 9), ("”", 12, 9), ("…", 16, 4), ("—", 16, 3), ("￥", 12, 14),
)


def space_shape():
    """The space key: a wide open bracket (␣)."""
    return Union(Box(3, 11, 15, 13), Box(3, 7, 5, 13), Box(13, 7, 15, 13))


def enter_shape():
    """The Enter key (↵): down from the right, then left to an arrow head."""
    return Union(Box(12, 4, 14, 12), Box(6, 10, 14, 12), Polygon([(2.5, 11), (7, 6.5), (7, 15.5)]))


def symbol_icon(index):
    """One 18 x 18 symbol button icon: a fitted glyph, or the drawn space and Enter keys."""
    pic = Picture(18, 18)
    if index < len(SYMBOLS):
        text, w, h = SYMBOLS[index]
        pic.paint_centred(fitted_glyph(text, CJK_BOLD, w, h).sharpened(), (0, 0, 18, 18), INK)
    elif index == 12:
        pic.fill(space_shape(), INK)
    else:
        pic.fill(enter_shape(), INK)
    return pic


def bmp112_symbol_icons(out_dir):
    """Symbol buttons: ，。！？、；：“”…—￥, space and Enter, 18 x 18 each, keyed magenta."""
    pic = strip([symbol_icon(i) for i in range(14)], 18, 18)
    write_bmp(out_dir / "bmp112.bmp", pic.w, pic.h, pic.keyed_bytes(MAGENTA, ICON_AA))
    return pic


# ---------------------------------------------------------------------------------------------
# Button-bar icons (107)


def rotated_box(cx, cy, angle, r0, r1, half_width):
    """A bar from radius r0 to r1 around (cx, cy) at `angle` (radians): a gear's tooth."""
    c, s = math.cos(angle), math.sin(angle)
    pts = []
    for r, w in ((r0, -half_width), (r1, -half_width), (r1, half_width), (r0, half_width)):
        pts.append((cx + c * r - s * w, cy + s * r + c * w))
    return Polygon(pts)


def outline(outer, inner):
    """A frame: the outer shape with the inner one cut out."""
    return Minus(outer, inner)


def four_way_arrow(c, arm, head, line, head_depth):
    """A move arrow centred on (c, c): two bars with a triangular head at each end."""
    h = line / 2
    parts = [Box(c - h, c - arm + head_depth, c + h, c + arm - head_depth),
             Box(c - arm + head_depth, c - h, c + arm - head_depth, c + h)]
    for dx, dy in ((0, -1), (0, 1), (-1, 0), (1, 0)):
        tip = (c + dx * arm, c + dy * arm)
        base = (c + dx * (arm - head_depth), c + dy * (arm - head_depth))
        if dx == 0:
            parts.append(Polygon([tip, (base[0] - head, base[1]), (base[0] + head, base[1])]))
        else:
            parts.append(Polygon([tip, (base[0], base[1] - head), (base[0], base[1] + head)]))
    return Union(*parts)


def bar_icon_shape(index):
    """The drawn (not lettered) button-bar icons, in an 18 x 18 cell."""
    if index == 0:  # search: a magnifier
        return Union(Ring(7.5, 7.5, 4.6, 2.0), Segment(11.0, 11.0, 15.2, 15.2, 2.8))
    if index == 1:  # settings: a gear
        teeth = [rotated_box(9, 9, k * math.pi / 4, 4.0, 7.6, 1.4) for k in range(8)]
        return Minus(Union(Disc(9, 9, 5.4), *teeth), Disc(9, 9, 2.6))
    if index == 2:  # move: a four-way arrow
        return four_way_arrow(9, 8, 3.5, 2, 3.5)
    if index == 3:  # minimise
        return Box(4, 12, 14, 14)
    if index == 4:  # close: a small cross
        return Union(Segment(5.5, 5.5, 12.5, 12.5, 2.2), Segment(12.5, 5.5, 5.5, 12.5, 2.2))
    if index == 5:  # keyboard
        keys = [Box(x, y, x + 2, y + 2) for y in (5, 8) for x in (3, 6, 9, 12)]
        return Union(outline(RoundBox(1, 3, 16, 15, 1.5), Box(2, 4, 15, 14)), *keys,
                     Box(5, 11, 12, 13))
    if index == 6:  # clear: a cross in a circle
        return Union(Ring(9, 9, 6.6, 2.0), Segment(6.6, 6.6, 11.4, 11.4, 2.0),
                     Segment(11.4, 6.6, 6.6, 11.4, 2.0))
    if index == 7:  # backspace: a key pointing left, with a cross
        outer = Polygon([(1.0, 9.0), (6.0, 3.0), (17.0, 3.0), (17.0, 15.0), (6.0, 15.0)])
        inner = Polygon([(3.4, 9.0), (6.9, 4.8), (15.2, 4.8), (15.2, 13.2), (6.9, 13.2)])
        return Union(outline(outer, inner), Segment(9.0, 7.0, 13.0, 11.0, 1.8),
                     Segment(13.0, 7.0, 9.0, 11.0, 1.8))
    if index == 8:  # previous page
        return Polygon([(9, 4.5), (3.5, 11.5), (14.5, 11.5)])
    if index == 9:  # next page
        return Polygon([(9, 13.5), (3.5, 6.5), (14.5, 6.5)])
    if index == 10:  # return
        return enter_shape()
    if index == 11:  # half shape: a half-filled moon
        return Union(Ring(9, 9, 6.0, 2.0), Clip(Disc(9, 9, 6.2), Box(9, 0, 18, 18)))
    if index == 13:  # full shape: a full moon
        return Disc(9, 9, 7.0)
    raise ValueError(index)


# Lettered button-bar icons: index -> (text, font, max width, max height).
BAR_LETTERS = {
    15: ("标", CJK_BOLD, 15, 15),
    16: ("Aa", LATIN_BOLD, 16, 13),
    18: ("笔", CJK_BOLD, 15, 15),
    19: ("拼", CJK_BOLD, 15, 15),
}


def latin_punctuation_shape():
    """".," in the square marks of a bold sans, sitting on one baseline."""
    return Union(Box(4, 11, 7, 14), Box(10, 11, 13, 14), Brush([(12.2, 13.2, 2.0), (10.6, 16.4, 1.0)]))


def paint_chinese_punctuation(pic):
    """"。，": the two full-width marks drawn close together on one baseline."""
    stop = fitted_glyph("。", CJK_BOLD, 7, 7).sharpened()
    comma = fitted_glyph("，", CJK_BOLD, 5, 8).sharpened()
    pic.paint_mask(stop, 3, 15 - stop.h - 1, INK)
    pic.paint_mask(comma, 11, 15 - comma.h + 2, INK)


def bar_icon(index):
    """One 18 x 18 button-bar icon, drawn or lettered."""
    pic = Picture(18, 18)
    if index == 17:  # spare
        return pic
    if index == 12:
        pic.fill(latin_punctuation_shape(), INK)
    elif index == 14:
        paint_chinese_punctuation(pic)
    elif index in BAR_LETTERS:
        text, font, w, h = BAR_LETTERS[index]
        mask = fitted_glyph(text, font, w, h).sharpened()
        pic.paint_centred(mask, (0, 0, 18, 18), INK)
    else:
        pic.fill(bar_icon_shape(index), INK)
    return pic


def bmp107_bar_icons(out_dir):
    """Button-bar icons: 20 of 18 x 18, keyed magenta, drawn on the button rail."""
    pic = strip([bar_icon(i) for i in range(20)], 18, 18)
    write_bmp(out_dir / "bmp107.bmp", pic.w, pic.h, pic.keyed_bytes(MAGENTA, ICON_AA))
    return pic


# ---------------------------------------------------------------------------------------------
# The panel background (290 x 156). Where the program draws (see session/geometry.h and the
# subpanels): composition line (4,4)-(261,26), top buttons x 210-287 y 4-24, right column
# x 268-287 y 24-148, candidate cells y 30-50 and 56-76 at x 6 + 26 i, stroke area frame
# (1,78)-(131,129), symbol buttons x 137-263 y 81-125, hint strip (3,131)-(264,153).

PANEL_W, PANEL_H = 290, 156
COMPOSITION_BOX = (3, 3, 207, 27)
CANDIDATE_BOX = (3, 29, 264, 78)
STROKE_WELL = (1, 78, 131, 129)
SYMBOL_WELL = (134, 79, 264, 129)
FOOTER_TOP = 130


def framed_box(pic, box, radius, edge, fill):
    """A rounded box with a one-pixel edge: the edge colour, then the fill one pixel inside."""
    x0, y0, x1, y1 = box
    pic.fill(RoundBox(x0, y0, x1, y1, radius), edge)
    pic.fill(RoundBox(x0 + 1, y0 + 1, x1 - 1, y1 - 1, max(0.5, radius - 1)), fill)


def button_rail(inset):
    """The L-shaped rail behind the top buttons and the right column, shrunk by `inset`.

    It runs into the window's right and bottom edges (the frame is drawn over it there), so
    the column is as wide as its buttons' highlight plus a pixel each side. The inner corner
    where the two arms meet is filled round, so the rail reads as one piece.
    """
    i = inset
    top = RoundBox(209 + i, 3 + i, PANEL_W + 6, 27 - i, 3 - i)
    column = RoundBox(266 + i, 3 + i, PANEL_W + 6, PANEL_H + 6, 3 - i)
    fillet = Minus(Box(263, 27 - i, 266 + i, 30), Disc(263, 30, 3 + i))
    return Union(top, column, fillet)


def draw_panel_frame(pic):
    """The window's own edge: a darker border, and a light line inside the top and left."""
    pic.fill(Minus(Box(0, 0, PANEL_W, PANEL_H), Box(1, 1, PANEL_W - 1, PANEL_H - 1)), PANEL_EDGE)
    pic.fill(Box(1, 1, PANEL_W - 1, 2), PANEL_LIGHT)
    pic.fill(Box(1, 2, 2, PANEL_H - 1), PANEL_LIGHT)


def draw_footer(pic):
    """The hint strip: a lighter band along the bottom, under a fine line."""
    pic.fill(Box(1, FOOTER_TOP, 266, PANEL_H - 1), HINT)
    pic.fill(Box(1, FOOTER_TOP, 266, FOOTER_TOP + 1), WELL_EDGE)


def panel_background():
    """The whole background as a picture (also the base of the mock-up and the capitals key)."""
    pic = Picture(PANEL_W, PANEL_H, PANEL)
    pic.fill(Box(0, 0, PANEL_W, PANEL_H), vertical_gradient(0, PANEL_H, PANEL_TOP, PANEL_BOTTOM))
    draw_footer(pic)
    pic.fill(button_rail(0), RAIL_EDGE)
    pic.fill(button_rail(1), vertical_gradient(3, PANEL_H, RAIL_TOP, RAIL_BOTTOM))
    framed_box(pic, COMPOSITION_BOX, 3, FIELD_EDGE, FIELD)
    framed_box(pic, CANDIDATE_BOX, 4, FIELD_EDGE, FIELD)
    # a faint rule between the two candidate rows
    pic.fill(Box(10, 52, 257, 53), (236, 240, 245))
    framed_box(pic, STROKE_WELL, 3, WELL_EDGE, WELL)
    framed_box(pic, SYMBOL_WELL, 3, WELL_EDGE, WELL)
    draw_panel_frame(pic)
    return pic


def bmp115_background(out_dir):
    """The composition window's background, 290 x 156, no transparency."""
    pic = panel_background()
    write_bmp(out_dir / "bmp115.bmp", pic.w, pic.h, pic.rgb_bytes())
    return pic


# ---------------------------------------------------------------------------------------------
# Text on pictures


def paint_text(pic, text, x, baseline, face, colour, antialias=True, bold=False):
    """Paints a line of text with its pen starting at (x, baseline); returns its ink width.

    `face` is (font, pixel size). `bold` paints the text twice, one pixel apart: the usual emboldening of a bitmap face,
    which has no bold of its own.
    """
    mask, (ox, oy) = text_mask(text, face[0], face[1], antialias)
    left, top = x - ox, baseline - oy
    pic.paint_mask(mask, left, top, colour)
    if bold:
        pic.paint_mask(mask, left + 1, top, colour)
    return mask.w + (1 if bold else 0) + max(0, left - x)


# ---------------------------------------------------------------------------------------------
# Stroke hints (168): ten rows of 18 px, one per stroke button, shown in the hint strip.

HINT_ROW = 18
HINT_BASELINE = 16  # text from about y 3 to 17: its middle near the hint strip's middle line
HINT_TEXTS = ("从左到右", "从上到下", "右上到左下", "向右下的点", None,
              "从左下到右上，按横计", "竖后向左上钩，按竖计", "从左上到右下，按点计",
              "通配符：代表任意一笔", "分隔：分开词组中各字的笔画")
STROKE_NAMES = ("横", "竖", "撇", "点", "折：", "提", "竖钩", "捺")
# The turning strokes (CJK Strokes characters) that the 折 button stands for, commonest first.
TURNING_STROKES = "㇕㇆㇗㇄㇟㇈㇉㇋㇌㇂㇃㇛㇙㇅㇊㇇㇎㇍"


def paint_turning_strokes(pic, x, limit):
    """As many turning strokes as fit before `limit`, all at one size, centred on the row."""
    for char in TURNING_STROKES:
        mask = glyph(char, CJK_BOLD, 16).sharpened(0.1, 0.8)
        if x + mask.w > limit:
            break
        pic.paint_mask(mask, x, 10 - mask.h // 2, INK)
        x += mask.w + 5


def hint_row(i):
    """Row i as its own picture (so nothing spills into the next row): the stroke's name, the
    same shape as on its button, and a short description; for 折 the shapes it stands for."""
    pic = Picture(260, HINT_ROW)
    x = 2
    if i < 8:
        x += paint_text(pic, STROKE_NAMES[i], x, HINT_BASELINE, HINT_FACE, ACCENT_DARK, False,
                        bold=True) + 4
    if i == 4:
        paint_turning_strokes(pic, x + 2, 258)
        return pic
    pic.paint_picture(stroke_icon(i), x - 1, 1)
    x += 20
    paint_text(pic, HINT_TEXTS[i], x, HINT_BASELINE, HINT_FACE, TEXT, False)
    return pic


def bmp168_stroke_hints(out_dir):
    """Stroke hints: 260 x 180, ten rows of 18 px, keyed white; rows 0-3 fit in 130 px."""
    pic = Picture(260, 10 * HINT_ROW)
    for i in range(10):
        row = hint_row(i)
        if i < 4:  # the program shows only the left 130 px of these rows
            assert max(row.crop(130, 0, 130, HINT_ROW).al) == 0, f"hint row {i} is wider than 130 px"
        pic.paste(row, 0, i * HINT_ROW)
    write_bmp(out_dir / "bmp168.bmp", pic.w, pic.h, pic.keyed_bytes(WHITE, HINT, 0.25))
    return pic


# ---------------------------------------------------------------------------------------------
# Radical icons (114)

RADICALS_FILE = ROOT / "data" / "radicals.txt"
RADICAL_CELL = 18
RADICALS_PER_ROW = 45


def radical_characters():
    """Radical number -> the character its icon shows.

    That is the FORM column, except that forms 271-278 stand in for Radicals Supplement
    characters outside GBK (⺮ ⻊ ⻗ ⺸ ⺷ ⺊): their NOTE names the real form, which is drawn when
    the font has it.
    """
    forms = {}
    for line in RADICALS_FILE.read_text(encoding="utf-8").splitlines():
        if not line or line.startswith("#"):
            continue
        number, form, _code, _kangxi, note = (line.split("\t") + [""] * 5)[:5]
        char = form
        if 271 <= int(number) <= 278:
            supplement = [c for c in note if 0x2E80 <= ord(c) <= 0x2EFF]
            if supplement and font_has("Noto Sans CJK SC", supplement[0]):
                char = supplement[0]
        forms[int(number)] = char
    return forms


def radical_glyph(char):
    """A radical in bold at 16 px, smaller if needed to stay inside the 17 x 17 the program
    copies (the composition line takes one pixel less than the cell)."""
    for size in (16, 15, 14, 13):
        mask = glyph(char, CJK_BOLD, size)
        if mask.w <= 17 and mask.h <= 17:
            return mask
    return mask


def bmp114_radical_icons(out_dir):
    """Radical icons: 18 x 18 cells, cell n = radical n, 45 a row, 7 rows, keyed white."""
    forms = radical_characters()
    rows = (max(forms) + RADICALS_PER_ROW) // RADICALS_PER_ROW
    pic = Picture(RADICAL_CELL * RADICALS_PER_ROW, RADICAL_CELL * rows)
    for number, char in sorted(forms.items()):
        x = (number % RADICALS_PER_ROW) * RADICAL_CELL
        y = (number // RADICALS_PER_ROW) * RADICAL_CELL
        pic.paint_centred(radical_glyph(char).sharpened(0.08, 0.9), (x, y, x + 17, y + 17), TEXT)
    write_bmp(out_dir / "bmp114.bmp", pic.w, pic.h, pic.keyed_bytes(WHITE, RADICAL_AA, 0.25))
    return pic


# ---------------------------------------------------------------------------------------------
# Brand mark: a blue tile with a white brush stroke; the status bar, banner and icons share it.


def brand_tile(pic, x, y, size):
    """The brand mark in a size x size square at (x, y): a rounded blue tile with two white
    peaks over a brush stroke: the mountains and mist of 岚, written in strokes."""
    s = size / 16.0
    pic.fill(RoundBox(x, y, x + size, y + size, 3.2 * s),
             vertical_gradient(y, y + size, (66, 118, 204), ACCENT_DARK))

    def p(px, py, w=0.0):
        return (x + px * s, y + py * s, w * s)

    peaks = [p(2.8, 9.6), p(6.4, 4.6), p(8.9, 7.8), p(10.6, 6.0), p(13.4, 9.6)]
    pic.fill(polyline([(px, py) for px, py, _ in peaks], 1.9 * s), WHITE)
    pic.fill(Brush([p(2.6, 12.2, 1.6), p(4.0, 12.0, 2.2), p(11.0, 12.0, 1.8), p(13.4, 12.6, 2.4)]),
             WHITE)


# ---------------------------------------------------------------------------------------------
# Status bar buttons (103): 320 x 40, released on top, pressed below.

STATUS_SEGMENTS = (  # (x, width, what)
    (0, 20, "logo"), (20, 40, "沃岚"), (60, 20, "中"), (80, 20, "英"), (100, 20, "half"),
    (120, 20, "full"), (140, 20, "latin"), (160, 20, "chinese"), (180, 20, "keyboard"),
    (200, 20, "keyboard on"), (220, 20, "简"), (240, 20, "繁"), (260, 20, "大"), (280, 20, "小"),
    (300, 20, "词"),
)


def keyboard_on_icon():
    """The soft keyboard while shown: a filled blue keyboard with light keys."""
    pic = Picture(18, 18)
    pic.fill(RoundBox(1, 3, 16, 15, 2), ACCENT)
    for y in (5, 8):
        for x in (3, 6, 9, 12):
            pic.fill(Box(x, y, x + 2, y + 2), WHITE)
    pic.fill(Box(5, 11, 12, 13), WHITE)
    return pic


def status_icon(what):
    """The 18 x 18 (or 38 x 18 for the name) content of one status bar segment."""
    if what == "沃岚":
        pic = Picture(38, 18)
        pic.paint_centred(glyph("沃岚", CJK_BOLD, 14).sharpened(), (0, 0, 38, 18), ACCENT_DARK)
        return pic
    if what == "logo":
        pic = Picture(18, 18)
        brand_tile(pic, 1, 1, 16)
        return pic
    by_bar = {"half": 11, "full": 13, "latin": 12, "chinese": 14, "keyboard": 5}
    if what in by_bar:
        return bar_icon(by_bar[what])
    if what == "keyboard on":
        return keyboard_on_icon()
    pic = Picture(18, 18)
    colour = ACCENT if what == "中" else INK
    pic.paint_centred(fitted_glyph(what, CJK_BOLD, 14, 14).sharpened(), (0, 0, 18, 18), colour)
    return pic


def status_row(pressed):
    """One row of the bar: a light raised face, or a sunken, darker one."""
    pic = Picture(320, 20, PANEL)
    if pressed:
        pic.fill(Box(0, 0, 320, 20), vertical_gradient(0, 20, (196, 208, 224), (214, 223, 235)))
    else:
        pic.fill(Box(0, 0, 320, 20), vertical_gradient(0, 20, (252, 253, 254), (226, 232, 241)))
    for x, width, what in STATUS_SEGMENTS:
        if pressed:  # an inner shadow along the top and left edges of each segment
            pic.fill(Box(x, 0, x + width, 1), (156, 172, 196))
            pic.fill(Box(x, 1, x + 1, 20), (176, 190, 210))
        else:
            pic.fill(Box(x, 0, x + width, 1), WHITE)
        if what != "logo":  # the logo and the name form one piece
            pic.fill(Box(x + width - 1, 3, x + width, 17), (196, 205, 219))
        pic.fill(Box(x, 19, x + width, 20), (182, 193, 209))
        icon = status_icon(what)
        shift = 1 if pressed else 0
        pic.paint_picture(icon, x + (width - icon.w) // 2 + shift, 1 + shift)
    return pic


def bmp103_status_buttons(out_dir):
    """The status bar's buttons, 320 x 40: released in the top row, pressed in the bottom."""
    pic = Picture(320, 40)
    pic.paste(status_row(False), 0, 0)
    pic.paste(status_row(True), 0, 20)
    write_bmp(out_dir / "bmp103.bmp", pic.w, pic.h, pic.rgb_bytes())
    return pic


# ---------------------------------------------------------------------------------------------
# Capitals key of the letter panel (116): two 60 x 22 images, on (left) and off (right).

CAPITALS_AT = (7, 106)  # where the letter panel puts the key on the background


def shift_arrow(x, y):
    """A hollow upward arrow, the Shift/Caps mark, in a 9 x 11 box at (x, y)."""
    outer = Polygon([(x + 4.5, y), (x + 9, y + 5.5), (x + 6.5, y + 5.5), (x + 6.5, y + 11),
                     (x + 2.5, y + 11), (x + 2.5, y + 5.5), (x, y + 5.5)])
    inner = Polygon([(x + 4.5, y + 2.1), (x + 6.8, y + 4.5), (x + 5.5, y + 4.5), (x + 5.5, y + 10),
                     (x + 3.5, y + 10), (x + 3.5, y + 4.5), (x + 2.2, y + 4.5)])
    return outline(outer, inner), inner


def capitals_key(on, background):
    """The key on the panel's own pixels, so that its rounded corners blend in."""
    pic = Picture(60, 22)
    pic.paste(background.crop(*CAPITALS_AT, 60, 22), 0, 0)
    if on:  # pressed in: a blue face with a shadow along the top
        pic.fill(RoundBox(0, 0, 60, 22, 4), ACCENT_DARK)
        pic.fill(RoundBox(1, 1, 59, 21, 3), vertical_gradient(1, 21, (40, 80, 162), (62, 114, 202)))
        pic.fill(Box(3, 1, 57, 2), (30, 62, 132))
        ink, label = WHITE, "ABC"
    else:  # standing out: a light face with a highlight along the top
        pic.fill(RoundBox(0, 0, 60, 22, 4), (150, 166, 190))
        pic.fill(RoundBox(1, 1, 59, 21, 3), vertical_gradient(1, 21, WHITE, (225, 231, 240)))
        ink, label = INK, "abc"
    frame, inside = shift_arrow(9, 5 + (1 if on else 0))
    pic.fill(frame, ink)
    if on:
        pic.fill(inside, ink)
    text = glyph(label, LATIN_BOLD, 12).sharpened(0.1, 0.9)
    pic.paint_mask(text, 23 + (31 - text.w) // 2, (22 - text.h) // 2 + (1 if on else 0), ink)
    return pic


def bmp116_capitals_key(out_dir, background):
    """The capitals key: 120 x 22, capitals on at the left, off at the right; opaque."""
    pic = Picture(120, 22)
    pic.paste(capitals_key(True, background), 0, 0)
    pic.paste(capitals_key(False, background), 60, 0)
    write_bmp(out_dir / "bmp116.bmp", pic.w, pic.h, pic.rgb_bytes())
    return pic


# ---------------------------------------------------------------------------------------------
# Licence dialog banner (167): 96 x 330, the name written downwards over misty hills.

PRODUCT_NAME = "沃岚鼠标输入法"


def hills(width, base, peaks, colour_top, colour_bottom, height):
    """A soft range of hills: a polygon through (x, y) peaks down to the bottom edge."""
    points = [(0, height), *peaks, (width, height)]
    return Polygon(points), vertical_gradient(base, height, colour_top, colour_bottom)


def bmp167_licence_banner(out_dir):
    """The licence dialog's picture: the brand mark, the name top to bottom, hills in mist."""
    w, h = 96, 330
    pic = Picture(w, h, PANEL)
    pic.fill(Box(0, 0, w, h), vertical_gradient(0, h, (242, 246, 251), (214, 224, 238)))
    brand_tile(pic, 28, 22, 40)
    pitch = 26
    top = 76
    for i, char in enumerate(PRODUCT_NAME):
        pic.paint_centred(glyph(char, CJK_BOLD, 22), (0, top + i * pitch, w, top + (i + 1) * pitch),
                          ACCENT_DARK)
    layers = (
        ([(0, 290), (18, 279), (34, 285), (58, 270), (80, 283), (96, 277)], (196, 210, 230),
         (214, 224, 238)),
        ([(0, 304), (22, 291), (44, 300), (70, 286), (96, 297)], (150, 174, 210), (188, 204, 228)),
        ([(0, 320), (30, 304), (54, 315), (78, 306), (96, 311)], (82, 118, 180), (120, 150, 200)),
    )
    for peaks, top_colour, bottom_colour in layers:
        shape, colour = hills(w, min(y for _, y in peaks), peaks, top_colour, bottom_colour, h)
        pic.fill(shape, colour)
    # a line of mist across the hills
    pic.fill(Brush([(8, 299, 1.0), (30, 297, 3.0), (60, 298, 2.4), (84, 296, 1.0)]), WHITE, 0.55)
    pic.fill(Minus(Box(0, 0, w, h), Box(1, 1, w - 1, h - 1)), FIELD_EDGE)
    write_bmp(out_dir / "bmp167.bmp", w, h, pic.rgb_bytes())
    return pic


# ---------------------------------------------------------------------------------------------
# Program icons (.ico with 16, 32 and 48 px images). Each is designed on a 16-unit grid, so the
# 32 and 48 px images, at two and three times, keep the same lines on whole pixels.

ICON_SIZES = (16, 32, 48)


def icon_tvime(size):
    """The input method: the brand mark."""
    pic = Picture(size, size)
    brand_tile(pic, 0, 0, size)
    return pic


def icon_tvimegui(size):
    """The panel program: a light card, like the panel, with 笔 on it and a blue title edge."""
    s = size / 16
    pic = Picture(size, size)
    pic.fill(RoundBox(0.5 * s, 0.5 * s, 15.5 * s, 15.5 * s, 2.5 * s), PANEL_EDGE)
    pic.fill(RoundBox(1.5 * s, 1.5 * s, 14.5 * s, 14.5 * s, 1.5 * s),
             vertical_gradient(0, size, WHITE, (226, 232, 240)))
    pic.fill(Box(1.5 * s, 1.5 * s, 14.5 * s, 3.5 * s), ACCENT)
    mark = fitted_glyph("笔", CJK_BOLD, round(11 * s), round(11 * s)).sharpened()
    pic.paint_centred(mark, (0, round(3 * s), size, size), ACCENT_DARK)
    return pic


def icon_tvimedic(size):
    """The dictionary manager: a blue book with 词 on its cover."""
    s = size / 16
    pic = Picture(size, size)
    pic.fill(RoundBox(3 * s, 1 * s, 15 * s, 15 * s, 1 * s), (236, 240, 246))  # the pages
    pic.fill(Box(3 * s, 13 * s, 14 * s, 14 * s), (190, 200, 215))
    pic.fill(RoundBox(1 * s, 0.5 * s, 13 * s, 13.5 * s, 1.5 * s),
             vertical_gradient(0, size, (66, 118, 204), ACCENT_DARK))
    pic.fill(Box(2.5 * s, 0.5 * s, 3.5 * s, 13.5 * s), (20, 44, 100))  # the spine's fold
    mark = fitted_glyph("词", CJK_BOLD, round(8.5 * s), round(8.5 * s)).sharpened()
    pic.paint_centred(mark, (round(3.5 * s), round(2 * s), round(13 * s), round(12 * s)), WHITE)
    return pic


def icon_tvimeup(size):
    """The updater: a white arrow rising in a blue disc."""
    s = size / 16
    pic = Picture(size, size)
    pic.fill(Disc(8 * s, 8 * s, 7.6 * s), vertical_gradient(0, size, (66, 118, 204), ACCENT_DARK))
    pic.fill(Polygon([(8 * s, 2.6 * s), (12.6 * s, 7.4 * s), (9.6 * s, 7.4 * s), (9.6 * s, 12.6 * s),
                      (6.4 * s, 12.6 * s), (6.4 * s, 7.4 * s), (3.4 * s, 7.4 * s)]), WHITE)
    return pic


def icon_tvimeist(size):
    """The installer: a box, lid open, with a blue arrow going into it."""
    s = size / 16
    pic = Picture(size, size)
    body = (176, 190, 210)
    pic.fill(Polygon([(1 * s, 7 * s), (15 * s, 7 * s), (15 * s, 15 * s), (1 * s, 15 * s)]),
             vertical_gradient(0, size, (206, 216, 230), body))
    pic.fill(Polygon([(1 * s, 7 * s), (4 * s, 4.5 * s), (7 * s, 7 * s)]), (150, 166, 190))
    pic.fill(Polygon([(9 * s, 7 * s), (12 * s, 4.5 * s), (15 * s, 7 * s)]), (150, 166, 190))
    pic.fill(outline(Box(1 * s, 7 * s, 15 * s, 15 * s), Box(2 * s, 8 * s, 14 * s, 14 * s)),
             (104, 122, 150))
    pic.fill(Polygon([(8 * s, 12.5 * s), (11.6 * s, 8.5 * s), (9.4 * s, 8.5 * s), (9.4 * s, 1 * s),
                      (6.6 * s, 1 * s), (6.6 * s, 8.5 * s), (4.4 * s, 8.5 * s)]), ACCENT)
    return pic


ICONS = {
    "tvime.ico": icon_tvime,
    "tvimegui.ico": icon_tvimegui,
    "tvimedic.ico": icon_tvimedic,
    "tvimeup.ico": icon_tvimeup,
    "tvimeist.ico": icon_tvimeist,
}


def write_program_icons(out_dir):
    """The five programs' icons, each with 16, 32 and 48 px images (32-bit, with alpha)."""
    for name, draw in ICONS.items():
        write_icon_file(out_dir / name, [(size, draw(size).rgba_bytes()) for size in ICON_SIZES])


# ---------------------------------------------------------------------------------------------
# Move cursor (111): 32 x 32, a white four-way arrow with a black edge, hotspot in the middle.

CURSOR_HOTSPOT = (15, 15)


def move_cursor():
    """The four-way arrow, centred on the hotspot pixel, outlined one pixel all round so that
    it shows on light and dark windows alike."""
    c = CURSOR_HOTSPOT[0] + 0.5
    arrow = rasterize(four_way_arrow(c, 13.5, 4.5, 3, 5.5), 32, 32).sharpened(0.25, 0.75)
    edge = arrow.dilated()
    pic = Picture(32, 32)
    pic.paint_mask(edge, 0, 0, (0, 0, 0))
    pic.paint_mask(arrow, 0, 0, WHITE)
    return pic


def write_move_cursor(out_dir):
    write_icon_file(out_dir / "cursor111.cur", [(32, move_cursor().rgba_bytes())], kind=2,
                    hotspot=CURSOR_HOTSPOT)


# ---------------------------------------------------------------------------------------------
# Main


def generate(out_dir):
    """Draws every file into out_dir; returns their names."""
    out_dir.mkdir(parents=True, exist_ok=True)
    background = bmp115_background(out_dir)
    bmp102_stroke_icons(out_dir)
    bmp103_status_buttons(out_dir)
    bmp107_bar_icons(out_dir)
    bmp112_symbol_icons(out_dir)
    bmp113_stroke_glyphs(out_dir)
    bmp114_radical_icons(out_dir)
    bmp116_capitals_key(out_dir, background)
    bmp167_licence_banner(out_dir)
    bmp168_stroke_hints(out_dir)
    write_program_icons(out_dir)
    write_move_cursor(out_dir)
    return sorted(p.name for p in out_dir.iterdir() if p.suffix in (".bmp", ".ico", ".cur"))


def digests(directory, names):
    return {name: hashlib.sha256((directory / name).read_bytes()).hexdigest() for name in names}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=Path, default=OUT_DIR, help="where to write the files")
    parser.add_argument("--check", action="store_true",
                        help="draw a second time into a scratch folder and compare the bytes")
    args = parser.parse_args()
    ensure_packages()
    check_fonts()
    names = generate(args.out)
    for name in names:
        print(f"{args.out / name}: {(args.out / name).stat().st_size} bytes")
    if args.check:
        scratch = Path(tempfile.mkdtemp(prefix="artwork-check-"))
        try:
            _text_cache.clear()
            again = generate(scratch)
            first, second = digests(args.out, names), digests(scratch, again)
            if names != again or first != second:
                sys.exit("a second run gave different files: "
                         + " ".join(n for n in names if first.get(n) != second.get(n)))
            print("second run: byte-identical")
        finally:
            shutil.rmtree(scratch)


if __name__ == "__main__":
    main()
