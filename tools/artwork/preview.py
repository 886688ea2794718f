#!/usr/bin/env python3
"""Looks at the artwork as a person would: enlarged copies and a mock-up of the whole panel.

    python3 tools/artwork/preview.py [OUT_DIR]      # default /tmp/artwork-preview

For every BMP in resources/artwork/ it writes NAME_x4.png (nearest-neighbour, so single pixels
stay visible), and it writes mock-ups at twice the size: panel_mock.png (also copied to /tmp/panel_mock.png),
the stroke panel with icons at the program's button positions, candidates, a composition line
with stroke glyphs and a hint row; panel_mock_radicals.png and panel_mock_letters.png, the
radical and letter panels; and status_bar_mock.png, a row of status bar buttons.
The BMPs are read back from disk, not taken from the generator, so this also checks that the
files hold what the program will load. The mock-up's text stands in for the program's own: the
program draws with 宋体, the mock-up with the Ming face of AR PL UMing, which looks much alike.
"""

import struct
import subprocess
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # leave no __pycache__ beside the scripts
sys.path.insert(0, str(Path(__file__).resolve().parent))
import artwork_common as common  # noqa: E402
import drawing  # noqa: E402

ART = common.OUT_DIR
SONG = "AR-PL-UMing-CN"  # a Ming face standing in for 宋体


class Bitmap:
    """A 24-bit BMP read into rows of (r, g, b), top row first."""

    def __init__(self, path):
        data = Path(path).read_bytes()
        offset = struct.unpack_from("<I", data, 10)[0]
        _, w, h, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
        assert bits == 24 and compression == 0 and h > 0, path
        stride = (w * 3 + 3) & ~3
        self.w, self.h = w, h
        self.rows = []
        for y in range(h):
            row = data[offset + (h - 1 - y) * stride:offset + (h - 1 - y) * stride + w * 3]
            self.rows.append([(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]) for x in range(w)])

    @classmethod
    def blank(cls, w, h, colour):
        """A plain picture of one colour, to compose on."""
        bitmap = cls.__new__(cls)
        bitmap.w, bitmap.h = w, h
        bitmap.rows = [[colour] * w for _ in range(h)]
        return bitmap


class Canvas:
    """An RGB picture to compose the mock-up on."""

    def __init__(self, bitmap):
        self.w, self.h = bitmap.w, bitmap.h
        self.rows = [list(r) for r in bitmap.rows]

    def blit(self, bitmap, source, at, key=None):
        """Copies `source` (x0, y0, x1, y1) of a bitmap to `at`, skipping the key colour."""
        x0, y0, x1, y1 = source
        for y in range(y0, y1):
            for x in range(x0, x1):
                c = bitmap.rows[y][x]
                tx, ty = at[0] + x - x0, at[1] + y - y0
                if c != key and 0 <= tx < self.w and 0 <= ty < self.h:
                    self.rows[ty][tx] = c

    def rect(self, box, colour):
        x0, y0, x1, y1 = box
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.rows[y][x] = colour

    def frame(self, box, colour, width):
        x0, y0, x1, y1 = box
        for i in range(width):
            self.rect((x0 + i, y0 + i, x1 - i, y0 + i + 1), colour)
            self.rect((x0 + i, y1 - i - 1, x1 - i, y1 - i), colour)
            self.rect((x0 + i, y0 + i, x0 + i + 1, y1 - i), colour)
            self.rect((x1 - i - 1, y0 + i, x1 - i, y1 - i), colour)

    def text(self, text, x, y_top, size, colour, line_height, font=SONG):
        """Text with its baseline placed as GDI would for a line of `line_height` at y_top."""
        mask, (ox, oy) = drawing.text_mask(text, font, size)
        baseline = y_top + (line_height + size) // 2 - 2
        left, top = x - ox, baseline - oy
        for my in range(mask.h):
            for mx in range(mask.w):
                a = mask.a[my * mask.w + mx]
                tx, ty = left + mx, top + my
                if a > 0 and 0 <= tx < self.w and 0 <= ty < self.h:
                    bg = self.rows[ty][tx]
                    self.rows[ty][tx] = tuple(round(c * a + b * (1 - a)) for c, b in zip(colour, bg))
        return mask.w

    def save(self, path, scale):
        raw = bytes(v for row in self.rows for c in row for v in c)
        subprocess.run([common.CONVERT, "-size", f"{self.w}x{self.h}", "-depth", "8", "rgb:-",
                        "-filter", "point", "-resize", f"{scale * 100}%", str(path)],
                       input=raw, check=True)


def enlarged_copies(out):
    for bmp in sorted(ART.glob("*.bmp")):
        subprocess.run([common.CONVERT, str(bmp), "-filter", "point", "-resize", "400%",
                        str(out / f"{bmp.stem}_x4.png")], check=True)


MAGENTA, WHITE = (255, 0, 255), (255, 255, 255)
HIGHLIGHT_FILL, HIGHLIGHT_EDGE = (181, 189, 214), (8, 36, 107)  # panels/gdi_renderer_win.cpp
BAR_BUTTONS = [((210, 4, 228, 24), 0), ((230, 4, 248, 24), 18), ((250, 4, 268, 24), 1),
               ((269, 4, 287, 24), 2), ((268, 24, 286, 42), 6), ((268, 46, 286, 64), 7),
               ((268, 68, 286, 86), 8), ((268, 90, 286, 108), 9), ((268, 110, 287, 128), 16),
               ((268, 130, 287, 148), 15)]


def load(number):
    return Bitmap(ART / f"bmp{number}.bmp")


def highlight(c, box):
    c.rect(box, HIGHLIGHT_FILL)
    c.frame(box, HIGHLIGHT_EDGE, 1)


def button_bar(c, icons=None):
    bar = load(107)
    for rect, icon in BAR_BUTTONS:
        icon = (icons or {}).get(icon, icon)
        c.blit(bar, (icon * 18, 0, icon * 18 + 18, 18), (rect[0] + 1, rect[1] + 1), MAGENTA)


def stroke_and_symbol_buttons(c):
    strokes, symbols = load(102), load(112)
    c.frame((1, 78, 131, 129), (0, 0, 128), 2)  # the program's frame round the stroke area
    for i in range(10):
        left, top = 7 + 25 * (i % 5), 81 + 25 * (i // 5)
        c.blit(strokes, (i * 18, 0, i * 18 + 18, 18), (left + 1, top + 1), MAGENTA)
    for i in range(14):
        left, top = 137 + 18 * (i % 7), 81 + 26 * (i // 7)
        c.blit(symbols, (i * 18, 0, i * 18 + 18, 18), (left, top), MAGENTA)


def stroke_glyphs(c, codes, x, y):
    glyphs = load(113)
    for code in codes:
        c.blit(glyphs, (code * 10, 0, code * 10 + 10, 20), (x, y), WHITE)
        x += 10
    return x


def mock_stroke_panel():
    """The stroke panel: two characters typed and strokes of a third, candidates, a hovered
    stroke button and its hint row."""
    c = Canvas(load(115))
    highlight(c, (32, 81, 52, 101))
    button_bar(c)
    x = 7 + c.text("中国", 7, 5, 18, (0, 0, 0), 20) + 5
    stroke_glyphs(c, (0, 1, 4, 9, 2, 3), x, 5)
    for r, chars in enumerate(["人大中国的一是了我不", "在有这个上们来到时和"]):
        for i, ch in enumerate(chars):
            c.text(ch, 6 + 26 * i + 1, 30 + 26 * r, 18, (0, 0, 0), 20)
    stroke_and_symbol_buttons(c)
    c.blit(load(168), (0, 1 * 18, 130, 2 * 18), (3, 131), WHITE)
    return c


def mock_radical_panel():
    """Choosing by radical: radical icons in the cells, a radical and strokes on the
    composition line, the 折 hint row, a hovered top button."""
    c = Canvas(load(115))
    radicals = load(114)
    highlight(c, (250, 4, 268, 24))
    button_bar(c, {18: 19})

    def radical(n, at):
        c.blit(radicals, ((n % 45) * 18, (n // 45) * 18, (n % 45) * 18 + 17, (n // 45) * 18 + 17),
               at, WHITE)

    radical(243, (7, 5))
    stroke_glyphs(c, (0, 1, 8), 7 + 26, 5)
    numbers = [243, 241, 30, 75, 244, 242, 218, 216, 32, 221,
               245, 256, 38, 222, 142, 72, 61, 219, 271, 272]
    for i, n in enumerate(numbers):
        left, top = 6 + 26 * (i % 10), 30 + 26 * (i // 10)
        radical(n, (left + 2, top + 2))
    stroke_and_symbol_buttons(c)
    c.blit(load(168), (0, 4 * 18, 260, 5 * 18), (3, 131), WHITE)
    return c


def mock_letter_panel():
    """The letter panel with capitals on, and a text hint with stroke glyphs in the strip."""
    c = Canvas(load(115))
    button_bar(c)
    c.frame((268, 110, 287, 128), (0, 0, 0), 1)
    letters = "ABCDEFGHIJKLM NOPQRSTUVWXYZ 1234567890-_()    ,.?!;:\"'空回"
    for i, ch in enumerate(letters):
        if ch != " ":
            c.text(ch, 7 + (i % 14) * 18 + 5, 31 + (i // 14) * 26, 18, (0, 0, 0), 18)
    c.blit(load(116), (0, 0, 60, 22), (7, 106))
    w = c.text("横竖撇点折", 3, 131, 15, (0, 0, 0), 22)
    stroke_glyphs(c, (0, 1, 2, 3, 4), 3 + w + 10, 132)
    return c


def mock_status_bar():
    """The status window as a row of its buttons, one of them pressed."""
    buttons = load(103)
    segments = [(0, 60), (60, 20), (100, 20), (160, 20), (180, 20), (220, 20), (300, 20)]
    width = sum(w for _, w in segments)
    c = Canvas(Bitmap.blank(width + 2, 22, (122, 140, 168)))
    x = 1
    for i, (left, w) in enumerate(segments):
        row = 20 if i == 2 else 0
        c.blit(buttons, (left, row, left + w, row + 20), (x, 1))
        x += w
    return c


def mock_panel(out):
    stroke = mock_stroke_panel()
    stroke.save(out / "panel_mock.png", 2)
    stroke.save(Path("/tmp/panel_mock.png"), 2)
    mock_radical_panel().save(out / "panel_mock_radicals.png", 2)
    mock_letter_panel().save(out / "panel_mock_letters.png", 2)
    mock_status_bar().save(out / "status_bar_mock.png", 3)


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path("/tmp/artwork-preview")
    out.mkdir(parents=True, exist_ok=True)
    enlarged_copies(out)
    mock_panel(out)
    print(out)


if __name__ == "__main__":
    main()
