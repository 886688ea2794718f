"""The drawing kit: coverage masks, shapes rasterised in plain Python, text through ImageMagick,
and RGBA pictures that shapes and text are painted on."""

import math
import subprocess

from artwork_common import CONVERT, SCALED_TEXT_FONT, SS

# ---------------------------------------------------------------------------------------------
# Scale: the panels' pictures are drawn for 100, 125, 150 and 200 %. Every art module works in
# the 96-dpi layout's units; pictures, shapes, positions and text sizes are scaled here, so each
# scale is drawn from the shapes and fonts themselves, never by stretching pixels. Positions
# round as the program's LayoutScale does, so cells land where the program looks for them.

SCALE = 1.0


def set_scale(scale):
    global SCALE
    SCALE = scale


def px(units):
    """Layout units to whole pixels at the current scale (half rounds up, as in the program)."""
    return int(math.floor(units * SCALE + 0.5))


def units(pixels):
    """Pixels (of a mask or picture) back to layout units."""
    return pixels / SCALE


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


class Scaled(Shape):
    """A shape at the current scale, sampled (the exact shapes are scaled by scaled_shape)."""

    def __init__(self, shape, s):
        self.shape, self.s = shape, s

    def bounds(self):
        return tuple(v * self.s for v in self.shape.bounds())

    def inside(self, x, y):
        return self.shape.inside(x / self.s, y / self.s)


def scaled_shape(shape):
    """A shape in layout units as pixels at the current scale. Rectangles keep their edges on
    whole pixels, so lines drawn sharp at 100 % stay sharp at every scale."""
    if SCALE == 1.0:
        return shape
    if isinstance(shape, RoundBox):
        return RoundBox(px(shape.x0), px(shape.y0), px(shape.x1), px(shape.y1), shape.r * SCALE)
    if isinstance(shape, Box):
        return Box(px(shape.x0), px(shape.y0), px(shape.x1), px(shape.y1))
    return Scaled(shape, SCALE)


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


# ---------------------------------------------------------------------------------------------
# Text through ImageMagick

_text_cache = {}


def forget_text():
    """Empties the cache of text masks, so that a second run draws its text again."""
    _text_cache.clear()


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
    """Just the ink of a short text, for icons that centre it (size in layout units)."""
    return text_mask(text, font, max(1, round(size * SCALE)), antialias)[0]


def fitted_glyph(text, font, max_w, max_h, largest=64):
    """The ink of a text at the largest whole point size that fits in max_w x max_h.

    Punctuation sits small and off-centre in its em box; an icon wants it as large as the button
    allows and centred, so the size is chosen from the ink, not from the font's em.
    """
    best = None
    max_w, max_h = px(max_w), px(max_h)
    for size in range(6, round(largest * SCALE) + 1):
        mask = text_mask(text, font, size)[0]
        if mask.w > max_w or mask.h > max_h:
            break
        best = mask
    return best


# ---------------------------------------------------------------------------------------------
# Pictures


class Picture:
    """An RGBA picture (premultiplied colour, alpha in [0, 1]) that shapes and text paint on."""

    def __init__(self, w, h, fill=None, pixels=False):
        """A picture of w x h layout units (pixels with `pixels`)."""
        if not pixels:
            w, h = px(w), px(h)
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
        """Paints a coverage mask with its top-left corner at (x, y) in layout units.

        `colour` is an (r, g, b) tuple, or a function of the picture's (x, y) giving one, for
        gradients.
        """
        self.paint_mask_px(mask, px(x), px(y), colour, opacity)

    def paint_mask_px(self, mask, x, y, colour, opacity=1.0):
        """The same at a pixel position."""
        flat = not callable(colour)
        for my in range(mask.h):
            for mx in range(mask.w):
                a = mask.a[my * mask.w + mx]
                if a > 0:
                    c = colour if flat else colour(x + mx, y + my)
                    self.blend(x + mx, y + my, c, a * opacity)

    def fill(self, shape, colour, opacity=1.0):
        """Paints a shape given in layout units."""
        shape = scaled_shape(shape)
        x0, y0, x1, y1 = shape.bounds()
        flat = not callable(colour)
        for py in range(max(0, math.floor(y0)), min(self.h, math.ceil(y1))):
            for px in range(max(0, math.floor(x0)), min(self.w, math.ceil(x1))):
                a = shape.coverage(px, py)
                if a > 0:
                    self.blend(px, py, colour if flat else colour(px, py), a * opacity)

    def paint_centred(self, mask, box, colour, dx=0, dy=0):
        """Paints a mask centred in box (x0, y0, x1, y1), on whole pixels so it stays sharp."""
        x0, y0, x1, y1 = (px(v) for v in box)
        x = x0 + (x1 - x0 - mask.w) // 2 + px(dx)
        y = y0 + (y1 - y0 - mask.h) // 2 + px(dy)
        self.paint_mask_px(mask, x, y, colour)

    def paste(self, other, x, y):
        """Copies another picture's pixels in, alpha and all, at (x, y) in layout units."""
        x, y = px(x), px(y)
        for oy in range(other.h):
            for ox in range(other.w):
                tx, ty = x + ox, y + oy
                if 0 <= tx < self.w and 0 <= ty < self.h:
                    i, j = ty * self.w + tx, oy * other.w + ox
                    self.r[i], self.g[i], self.b[i] = other.r[j], other.g[j], other.b[j]
                    self.al[i] = other.al[j]

    def paint_picture(self, other, x, y):
        """Paints another picture over this one, blending by its alpha ((x, y) in units)."""
        x, y = px(x), px(y)
        for oy in range(other.h):
            for ox in range(other.w):
                j = oy * other.w + ox
                a = other.al[j]
                if a > 0:
                    colour = (other.r[j] / a, other.g[j] / a, other.b[j] / a)
                    self.blend(x + ox, y + oy, colour, a)

    def crop(self, x, y, w, h):
        """The part (x, y, w, h) in layout units."""
        x, y, w, h = px(x), px(y), px(x + w) - px(x), px(y + h) - px(y)
        out = Picture(w, h, pixels=True)
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

    y0, y1 = y0 * SCALE, y1 * SCALE  # called with pixel positions

    def colour(x, y):
        t = 0.0 if y1 <= y0 else min(1.0, max(0.0, (y + 0.5 - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))

    return colour


def strip(pictures, cell_w, cell_h):
    """Pictures of one size side by side."""
    out = Picture(cell_w * len(pictures), cell_h)  # each cell where the program copies it
    for i, pic in enumerate(pictures):
        out.paste(pic, i * cell_w, 0)
    return out


# ---------------------------------------------------------------------------------------------
# Text on pictures


def paint_text(pic, text, x, baseline, face, colour, antialias=True, bold=False):
    """Paints a line of text with its pen starting at (x, baseline); returns its ink width.

    `face` is (font, pixel size). `bold` paints the text twice, one pixel apart: the usual emboldening of a bitmap face,
    which has no bold of its own.
    """
    font = face[0]
    if SCALE != 1.0 and font.endswith(".pcf"):
        # A bitmap face has only its own size: larger scales take the regular outline face,
        # smoothed as outline text is.
        font, antialias = SCALED_TEXT_FONT, True
    mask, (ox, oy) = text_mask(text, font, max(1, round(face[1] * SCALE)), antialias)
    left, top = px(x) - ox, px(baseline) - oy
    pic.paint_mask_px(mask, left, top, colour)
    if bold:
        pic.paint_mask_px(mask, left + 1, top, colour)
    return units(mask.w + (1 if bold else 0) + max(0, left - px(x)))
