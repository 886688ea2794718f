"""The strokes: the stroke buttons (102), the stroke glyphs of the composition line (113) and the
stroke hints (168)."""

from artwork_common import (
    ACCENT, ACCENT_DARK, CJK_BOLD, HINT, HINT_FACE, ICON_AA, INK, LATIN_BOLD, LIGHT_AA, MAGENTA,
    TEXT, WHITE, write_bmp,
)
from drawing import (
    Box, Brush, Disc, Picture, Union, fitted_glyph, glyph, paint_text, strip, units,
)


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
        if x + units(mask.w) > limit:
            break
        pic.paint_mask(mask, x, 10 - units(mask.h) / 2, INK)
        x += units(mask.w) + 5


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
