"""The buttons: the symbol buttons (112), the button bar (107), the status bar (103) and the
capitals key of the letter panel (116)."""

import math

from artwork_common import (
    ACCENT, ACCENT_DARK, CJK_BOLD, ICON_AA, INK, LATIN_BOLD, MAGENTA, PANEL, WHITE, write_bmp,
)
from drawing import (
    Box, Brush, Clip, Disc, Minus, Picture, Polygon, Ring, RoundBox, Segment, Union, fitted_glyph,
    four_way_arrow, glyph, outline, rotated_box, strip, units, vertical_gradient,
)
from brand_art import brand_tile


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
    pic.paint_mask(stop, 3, 15 - units(stop.h) - 1, INK)
    pic.paint_mask(comma, 11, 15 - units(comma.h) + 2, INK)


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
        pic.paint_picture(icon, x + (width - units(icon.w)) // 2 + shift, 1 + shift)
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
    pic.paint_mask(text, 23 + (31 - units(text.w)) // 2, (22 - units(text.h)) // 2 + (1 if on else 0),
                   ink)
    return pic


def bmp116_capitals_key(out_dir, background):
    """The capitals key: 120 x 22, capitals on at the left, off at the right; opaque."""
    pic = Picture(120, 22)
    pic.paste(capitals_key(True, background), 0, 0)
    pic.paste(capitals_key(False, background), 60, 0)
    write_bmp(out_dir / "bmp116.bmp", pic.w, pic.h, pic.rgb_bytes())
    return pic
