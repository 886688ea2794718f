"""The panel itself: its background (115) and the radical icons of the radical panel (114)."""

from artwork_common import (
    CJK_BOLD, FIELD, FIELD_EDGE, HINT, PANEL, PANEL_BOTTOM, PANEL_EDGE, PANEL_LIGHT, PANEL_TOP,
    RADICAL_AA, RAIL_BOTTOM, RAIL_EDGE, RAIL_TOP, ROOT, TEXT, WELL, WELL_EDGE, WHITE, font_has,
    write_bmp,
)
from drawing import Box, Disc, Minus, Picture, RoundBox, Union, glyph, vertical_gradient


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
