"""The brand: its tile, the licence dialog's banner (167), the programs' icons and the move cursor
(111)."""

from artwork_common import (
    ACCENT, ACCENT_DARK, CJK_BOLD, FIELD_EDGE, PANEL, PANEL_EDGE, PRODUCT_NAME, WHITE,
    write_bmp, write_icon_file,
)
from drawing import (
    Box, Brush, Disc, Minus, Picture, Polygon, RoundBox, fitted_glyph, four_way_arrow, glyph,
    outline, polyline, rasterize, vertical_gradient,
)


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
# Licence dialog banner (167): 96 x 330, the name written downwards over misty hills.


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
    write_bmp(out_dir / "bmp167.bmp", pic.w, pic.h, pic.rgb_bytes())
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
