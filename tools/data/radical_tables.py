#!/usr/bin/env python3
"""Derive the radical list and the radical groups from Unicode's radical data.

The input method lets the user pick a radical and then choose among the
characters built on it, narrowing them with the strokes of the rest of the
character. This script writes the two tables behind that:

  data/radicals.txt        every radical form (number, form, stroke code), most useful first
  data/radical_groups.txt  per radical form: its characters with the stroke code of the
                           rest, then links to the other forms of the same Kangxi radical

Numbers 1-214 are the Kangxi radicals; the simplified and positional forms
(纟, 氵, 亻 ...) have fixed numbers from 215 up, listed in EXTRA_FORMS, so a
number means the same form in every refresh. Each character of data/words.txt
goes to the group of its Unihan radical (kRSUnicode), to the form of that
radical its stroke code shows it uses. The output depends only on the input
files: re-running gives identical bytes.
"""

import argparse
import collections
import pathlib
import re
import sys
from typing import NamedTuple

from tables_common import DataError, encodable, read_unihan, read_words_table, require

# Source files, relative to the folder the packages were unpacked into (package unicode-data).
UNIHAN_IRG = "usr/share/unicode/Unihan_IRGSources.txt.bz2"
CJK_RADICALS = "usr/share/unicode/CJKRadicals.txt"
EQUIVALENT_IDEOGRAPHS = "usr/share/unicode/EquivalentUnifiedIdeograph.txt"
UNICODE_DATA = "usr/share/unicode/UnicodeData.txt"

KANGXI_COUNT = 214
KANGXI_BLOCK_START = 0x2F00  # ⼀, KANGXI RADICAL ONE; radical n is U+2F00 + n - 1

# A positional or derived form earns a number when it heads at least this many characters
# besides its own; the review printout flags registered forms below it and unregistered
# shapes above it.
MIN_FORM_CHARS = 3

# Characters Unihan gives no kRSUnicode, with the radical they go to. 〇 (ideographic zero)
# is a circle: it joins 囗, the enclosure it looks like.
MISSING_RADICALS = {"〇": "31"}


class RadicalKey(NamedTuple):
    """A kRSUnicode radical: the Kangxi number, and whether `'` marks its simplified form."""

    kangxi: int
    simplified: bool

    @classmethod
    def parse(cls, text):
        """Read a radical as kRSUnicode and CJKRadicals.txt write it: `120` or `120'`."""
        match = re.fullmatch(r"(\d+)('?)", text)
        require(match, f"unexpected radical number {text!r}")
        return cls(int(match.group(1)), bool(match.group(2)))

    def __str__(self):
        return f"{self.kangxi}'" if self.simplified else str(self.kangxi)


class ExtraForm(NamedTuple):
    """A registered radical form beyond the 214 Kangxi forms.

    form: the character the icon is drawn from (GBK). serves: the kRSUnicode
    radicals whose characters may use it. kind: "simplified" (a radical of
    CJKRadicals.txt), "positional" (a GBK character showing the form) or
    "derived": the form has no GBK character (⺮, ⻊ ...), `form` is a
    stand-in, and the stroke code is learnt from where the form sits in the
    characters, at the start or the end as `position` says (see derive_code).
    """

    number: int
    form: str
    kangxi: int
    serves: tuple
    note: str
    kind: str
    code: str = ""  # the expected code of a derived form
    position: str = ""  # where a derived form sits: "prefix" or "suffix"


def _simplified(number, form, kangxi, note="simplified", serves=None):
    """A simplified radical as CJKRadicals.txt lists it, for the characters marked `N'`."""
    return ExtraForm(number, form, kangxi, serves or (f"{kangxi}'",), note, "simplified")


def _positional(number, form, kangxi, note, serves=None):
    """A form GBK has a character for, used by the characters of radical `kangxi` (no `'`)."""
    return ExtraForm(number, form, kangxi, serves or (str(kangxi),), note, "positional")


def _derived(number, stand_in, kangxi, note, code, position="prefix", serves=None):
    """A form GBK has no character for: drawn from a stand-in, its code learnt.

    `code` is the form's stroke order as written; the refresh learns the code
    from the characters and stops if the two differ.
    """
    return ExtraForm(number, stand_in, kangxi, serves or (str(kangxi),), note, "derived", code,
                     position)


# Never renumber or reuse a number: the input method's settings and icons refer to them.
# Add new forms at the end with the next free number. data/README.md explains the choice.
EXTRA_FORMS = (
    # The simplified radicals of CJKRadicals.txt, in its order.
    _simplified(215, "丬", 90),
    _simplified(216, "纟", 120),
    _simplified(217, "见", 147),
    _simplified(218, "讠", 149),
    _simplified(219, "贝", 154),
    _simplified(220, "车", 159),
    _simplified(221, "辶", 162, "simplified; the walk form", serves=("162", "162'")),
    _simplified(222, "钅", 167),
    _simplified(223, "长", 168),
    _simplified(224, "门", 169),
    _simplified(225, "韦", 178),
    _simplified(226, "页", 181),
    _simplified(227, "风", 182),
    _simplified(228, "飞", 183),
    _simplified(229, "饣", 184),
    _simplified(230, "马", 187),
    _simplified(231, "鱼", 195),
    _simplified(232, "鸟", 196),
    _simplified(233, "卤", 197),
    _simplified(234, "麦", 199),
    _simplified(235, "黄", 201, "simplified; also 黃 characters written with it",
                serves=("201", "201'")),
    _simplified(236, "黾", 205),
    _simplified(237, "齐", 210),
    _simplified(238, "齿", 211),
    _simplified(239, "龙", 212),
    _simplified(240, "龟", 213),
    # Positional and mainland forms that GBK has a character for.
    _positional(241, "氵", 85, "left form"),
    _positional(242, "亻", 9, "left form"),
    _positional(243, "扌", 64, "left form"),
    _positional(244, "艹", 140, "top form"),
    _positional(245, "忄", 61, "left form"),
    _positional(246, "刂", 18, "right form"),
    _positional(247, "阝", 170, "left form (阜)"),
    _positional(248, "阝", 163, "right form (邑)"),
    _positional(249, "礻", 113, "left form"),
    _positional(250, "衤", 145, "left form"),
    _positional(251, "犭", 94, "left form"),
    _positional(252, "灬", 86, "bottom form"),
    _positional(253, "爫", 87, "top form"),
    _positional(254, "罒", 122, "top form"),
    _positional(255, "耂", 125, "top form"),
    _positional(256, "月", 130, "left form ⺼, written 月"),
    _positional(257, "王", 96, "left form (玉)"),
    _positional(258, "糹", 120, "traditional left form"),
    _positional(259, "飠", 184, "traditional left form"),
    _positional(260, "牜", 93, "left form"),
    _positional(261, "攵", 66, "right form"),
    _positional(262, "氺", 85, "bottom form"),
    _positional(263, "镸", 168, "traditional left form"),
    _positional(264, "彑", 58, "variant form"),
    _positional(265, "户", 63, "mainland form"),
    _positional(266, "青", 174, "mainland form"),
    _positional(267, "母", 80, "mainland form ⺟"),
    _positional(268, "丷", 12, "top form"),
    _positional(269, "旡", 71, "variant form ⺛"),
    _positional(270, "虎", 141, "variant form ⻁"),
    # Forms GBK has no character for: drawn from the Kangxi form, the code learnt. Each is
    # learnt from the characters the forms before it leave, so keep 275 before 276.
    _derived(271, "竹", 118, "top form ⺮ (not in GBK)", "dafdaf"),
    _derived(272, "足", 157, "left form ⻊ (not in GBK)", "sgasasa"),
    _derived(273, "雨", 173, "top form ⻗ (not in GBK)", "afgsffff"),
    _derived(274, "车", 159, "simplified left form, last stroke rising", "agsa", serves=("159'",)),
    _derived(275, "羊", 123, "left form ⺸ (not in GBK)", "fdaaad"),
    _derived(276, "羊", 123, "top form ⺷ (not in GBK)", "fdaasa"),
    _derived(277, "月", 130, "bottom form of 肉: 月 starting with 竖", "sgaa", "suffix"),
    _derived(278, "卜", 25, "top form ⺊ (not in GBK)", "sa"),
)


class Form(NamedTuple):
    """One line of data/radicals.txt: a radical form with its stroke code."""

    number: int
    form: str
    code: str
    kangxi: int
    note: str
    serves: tuple  # RadicalKeys whose characters may use this form
    kind: str  # "kangxi", or the ExtraForm kind
    position: str = ""  # where a derived form sits: "prefix" or "suffix"


class Placement(NamedTuple):
    """Where a character goes: its group's form, how the form matched, the rest's code."""

    char: str
    form: Form
    position: str  # one of POSITIONS
    rest: str


# How a form's strokes sit in a character's code: the ways a form can match (tried in
# this order unless positions_for says otherwise), and all the ways a character is placed.
MATCH_POSITIONS = ("prefix", "suffix", "enclosure")
POSITIONS = ("own form", *MATCH_POSITIONS, "fallback")


# --- source readers --------------------------------------------------------


def data_lines(path):
    """Yield the semicolon-separated fields of a UCD file's data lines, comments dropped."""
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                yield [field.strip() for field in line.split(";")]


def read_cjk_radicals(path):
    """Read CJKRadicals.txt: {RadicalKey: the unified ideograph that is the radical}."""
    forms = {}
    for number, _, unified in data_lines(path):
        forms[RadicalKey.parse(number)] = chr(int(unified, 16))
    return forms


def read_equivalents(path):
    """Read EquivalentUnifiedIdeograph.txt: {radical or stroke character: unified ideograph}."""
    equivalents = {}
    for codepoints, unified in data_lines(path):
        first, _, last = codepoints.partition("..")
        for cp in range(int(first, 16), int(last or first, 16) + 1):
            equivalents[chr(cp)] = chr(int(unified, 16))
    return equivalents


def read_kangxi_names(path):
    """Read the names of the Kangxi Radicals block from UnicodeData.txt: {number: name}.

    The names (`KANGXI RADICAL WATER`) become the notes of the Kangxi forms.
    """
    names = {}
    for fields in data_lines(path):
        cp = int(fields[0], 16)
        if KANGXI_BLOCK_START <= cp < KANGXI_BLOCK_START + KANGXI_COUNT:
            names[cp - KANGXI_BLOCK_START + 1] = fields[1].removeprefix("KANGXI RADICAL ").lower()
    require(len(names) == KANGXI_COUNT, f"UnicodeData.txt names {len(names)} Kangxi radicals")
    return names


class RadicalStrokes(NamedTuple):
    """A character's first kRSUnicode value and first kTotalStrokes value."""

    radical: RadicalKey
    residual: int  # strokes beyond the radical; negative for reduced forms (王 is 96.-1)
    total: int


def read_radical_strokes(path):
    """Read each character's radical, residual strokes and total strokes from Unihan.

    kRSUnicode may list several values (着 `109.7 123.5`); the first is
    Unicode's primary one, matching the glyph of its code charts. kTotalStrokes
    lists the mainland (zh-Hans) count first.
    """
    fields = read_unihan(path, ["kRSUnicode", "kTotalStrokes"])
    values = {}
    for char, value in fields["kRSUnicode"].items():
        match = re.fullmatch(r"(\d+'?)\.(-?\d+)", value.split()[0])
        require(match, f"unexpected kRSUnicode {value!r} for {char}")
        total = int(fields["kTotalStrokes"].get(char, "0").split()[0])
        values[char] = RadicalStrokes(RadicalKey.parse(match.group(1)), int(match.group(2)), total)
    return values


def kangxi_forms(cjk_radicals, equivalents, names):
    """List the 214 Kangxi forms as unified ideographs: [(number, form, note)].

    CJKRadicals.txt gives the ideograph directly; EquivalentUnifiedIdeograph.txt
    must agree for the Kangxi Radicals block character, so the two files
    cannot drift apart unnoticed.
    """
    forms = []
    for number in range(1, KANGXI_COUNT + 1):
        form = cjk_radicals[RadicalKey(number, False)]
        radical_char = chr(KANGXI_BLOCK_START + number - 1)
        require(equivalents.get(radical_char) == form,
                f"radical {number}: CJKRadicals.txt has {form}, "
                f"EquivalentUnifiedIdeograph.txt {equivalents.get(radical_char)}")
        # The icon needs a GBK character and the code comes from words.txt; all 214 are in GBK.
        require(encodable(form, "gbk"), f"Kangxi radical {number} {form} is not in GBK")
        forms.append((number, form, f"Kangxi: {names[number]}"))
    return forms


def check_extra_forms(cjk_radicals):
    """Make sure EXTRA_FORMS is consistent and covers every simplified radical Unicode lists.

    A simplified radical that Unicode adds later stops the refresh, so that it
    gets a new number at the end of EXTRA_FORMS instead of shifting others.
    """
    numbers = [extra.number for extra in EXTRA_FORMS]
    require(numbers == list(range(KANGXI_COUNT + 1, KANGXI_COUNT + 1 + len(numbers))),
            "EXTRA_FORMS numbers must run from 215 without gaps")
    for extra in EXTRA_FORMS:
        require(encodable(extra.form, "gbk"), f"form {extra.form} ({extra.number}) is not in GBK")
    served = {RadicalKey.parse(key): extra for extra in EXTRA_FORMS for key in extra.serves}
    for key, unified in cjk_radicals.items():
        if key.simplified:
            require(key in served and served[key].form == unified,
                    f"CJKRadicals.txt lists {key} {unified}, which EXTRA_FORMS lacks")


def form_code(form, codes):
    """The stroke code of a form that is a character of data/words.txt."""
    require(form in codes, f"form {form} is not in words.txt; give it a derived code")
    return codes[form]


def derive_code(extra, words, radical_strokes, other_forms):
    """Learn the stroke code of a form GBK has no character for (⺮ top of 竹, say).

    Unihan counts a character's strokes as radical + residual, so the first
    (for a "suffix" form the last) kTotalStrokes - residual strokes of its code
    are the radical as written there. Over the characters of the form's radical
    that none of its other forms matches, the most frequent such stroke run is
    the form's code. Characters whose code length differs from kTotalStrokes
    are left out, since their count cannot be trusted to split the code.
    Returns the code, how many characters have it and out of how many.
    """
    serves = {RadicalKey.parse(key) for key in extra.serves}
    runs = collections.Counter()
    for entry in words:
        strokes = radical_strokes.get(entry.char)
        if not strokes or strokes.radical not in serves or strokes.total != len(entry.code):
            continue
        if any(match_form(entry.code, form, position) is not None
               for form in other_forms for position in positions_for(form)):
            continue
        length = strokes.total - strokes.residual
        if 0 < length < len(entry.code):
            runs[entry.code[-length:] if extra.position == "suffix" else entry.code[:length]] += 1
    require(runs, f"no characters to derive the code of form {extra.number}")
    (code, count), total = runs.most_common(1)[0], sum(runs.values())
    require(code == extra.code,
            f"form {extra.number}: the characters give it the code {code}, not {extra.code}")
    require(count >= MIN_FORM_CHARS,
            f"form {extra.number}: its code {code} fits only {count} characters")
    return code, count, total


def build_forms(words, radical_strokes, cjk_radicals, equivalents, names):
    """Build every radical form with its code, by number.

    Returns ({number: Form}, [(ExtraForm, code, characters with it, characters
    looked at)] for the learnt codes, to print).
    """
    codes = {entry.char: entry.code for entry in words}
    check_extra_forms(cjk_radicals)
    forms = {}
    for number, form, note in kangxi_forms(cjk_radicals, equivalents, names):
        forms[number] = Form(number, form, form_code(form, codes), number, note,
                             (RadicalKey(number, False),), "kangxi")
    # Derived codes are learnt from the characters the other forms leave, so those come first.
    derivations = []
    for extra in sorted(EXTRA_FORMS, key=lambda e: e.kind == "derived"):
        serves = tuple(RadicalKey.parse(key) for key in extra.serves)
        if extra.kind == "derived":
            others = [f for f in forms.values() if set(f.serves) & set(serves)]
            code, count, total = derive_code(extra, words, radical_strokes, others)
            derivations.append((extra, code, count, total))
        else:
            code = form_code(extra.form, codes)
        forms[extra.number] = Form(extra.number, extra.form, code, extra.kangxi, extra.note,
                                   serves, extra.kind, extra.position)
    forms = dict(sorted(forms.items()))
    return forms, derivations


# --- placing characters ----------------------------------------------------


def match_form(code, form, position):
    """Find the form's strokes at the given position of a character's code: the rest, or None.

    prefix: the form is written first (氵 in 河), the rest is what follows.
    suffix: the form is written last (灬 in 熊, 辶 in 这), the rest is what precedes.
    enclosure: the form's first strokes open the character and its last ones
    close it (囗 in 国, 行 in 街, 匚 in 区); the rest is the middle. Each split
    of the form is tried, the longest opening first.
    """
    own = form.code
    if position == "prefix":
        return code[len(own):] if code.startswith(own) else None
    if len(code) <= len(own):
        return None  # a suffix or enclosure leaves a non-empty rest before or inside
    if position == "suffix":
        return code[:-len(own)] if code.endswith(own) else None
    for split in range(len(own) - 1, 0, -1):
        head, tail = own[:split], own[split:]
        if code.startswith(head) and code.endswith(tail):
            return code[len(head):-len(tail)]
    return None


def candidate_forms(key, forms):
    """The forms a character of kRSUnicode radical `key` may use, longest code first.

    The longer of two matching forms is the likelier one: 耄 starts with both 耂
    (asad) and 老 (asaddg), and is 老 毛 (place also weighs Unihan's counts).
    """
    usable = [f for f in forms.values() if key in f.serves]
    return sorted(usable, key=lambda f: (-len(f.code), f.number))


def primary_form(key, forms):
    """The form a character falls back to: the Kangxi form, or the simplified radical for N'."""
    if not key.simplified:
        return forms[key.kangxi]
    return next(f for f in candidate_forms(key, forms) if f.kind == "simplified")


def own_form(entry, key, forms):
    """The form a radical character itself stands for (水, 氵, 卤), or None.

    A form character goes to its own group with an empty rest even when Unihan
    files it elsewhere first (卤 is `25.5 197'.0`). Where one character shows
    several forms (月 of 74 and of 130, 阝 of 170 and of 163), the form of the
    character's own radical wins. Forms drawn from a stand-in (竹 for ⺮) have
    another code than the character, so they never claim it.
    """
    own = [f for f in forms.values() if f.form == entry.char and f.code == entry.code]
    own.sort(key=lambda f: (f.kangxi != key.kangxi, f.number))
    return own[0] if own else None


# Enclosing radicals whose last stroke closes the character (国 is 囗 王 then 一): their
# opening strokes often look like a prefix (囗's sga starts 国's sgaasafa), so the
# enclosure is tried first for them.
ENCLOSURE_FIRST = {22, 23, 31}  # 匚 匸 囗


def positions_for(form):
    """The positions to try for a form, in order (see POSITIONS and ENCLOSURE_FIRST).

    A form with a learnt code sits where it was learnt (⺮ at the start, the
    bottom 月 at the end) and is tried there only.
    """
    if form.kind == "derived":
        return (form.position,)
    if form.number in ENCLOSURE_FIRST:
        return ("enclosure", "prefix", "suffix")
    return MATCH_POSITIONS


def radical_length(entry, strokes):
    """How many strokes Unihan says the radical has in this character, or None.

    kTotalStrokes - residual strokes of kRSUnicode: 4 in 琼 (96.8, 12 strokes),
    which is written with 王, 5 in 璧 (96.13, 18 strokes), written with 玉.
    Unknown when the counts are missing or disagree with the code's length.
    """
    if strokes is None or strokes.total != len(entry.code):
        return None
    return strokes.total - strokes.residual


def place(entry, strokes, key, forms):
    """Decide a character's group and the code of its rest (see POSITIONS).

    Each position is tried over all the radical's forms before the next one,
    so 氵 (prefix of 河) wins over 水 (which could only match later strokes).
    When several forms match at one position (王 aasa and 玉 aasaf both start
    琼 aasafasgasdf), the one as long as radical_length wins, else the longest.
    """
    form = own_form(entry, key, forms)
    if form:
        return Placement(entry.char, form, "own form", "")
    candidates = candidate_forms(key, forms)
    expected = radical_length(entry, strokes)
    for rank in range(len(MATCH_POSITIONS)):
        matches = []
        for form in candidates:
            positions = positions_for(form)
            if rank < len(positions):
                rest = match_form(entry.code, form, positions[rank])
                if rest is not None:
                    matches.append(Placement(entry.char, form, positions[rank], rest))
        if matches:
            return next((m for m in matches if len(m.form.code) == expected), matches[0])
    return Placement(entry.char, primary_form(key, forms), "fallback", entry.code)


def radical_of(char, radical_strokes):
    """A character's kRSUnicode radical, or the one MISSING_RADICALS gives it."""
    if char in radical_strokes:
        return radical_strokes[char].radical
    require(char in MISSING_RADICALS, f"{char} U+{ord(char):04X} has no kRSUnicode")
    return RadicalKey.parse(MISSING_RADICALS[char])


def place_all(words, radical_strokes, forms):
    """Place every character of data/words.txt, in its order."""
    return [place(entry, radical_strokes.get(entry.char), radical_of(entry.char, radical_strokes),
                  forms)
            for entry in words]


# --- groups, links and list order ------------------------------------------


def group_members(placements):
    """{form number: [placements in words.txt order]}."""
    groups = collections.defaultdict(list)
    for placement in placements:
        groups[placement.form.number].append(placement)
    return groups


def list_order(forms, groups, common):
    """Order the forms for the radical list: most common characters in the group first.

    The input method offers at most 100 radicals matching the strokes typed, in
    list order, so the groups users need most come first. Ties: larger group,
    then lower number.
    """
    def usefulness(form):
        members = groups.get(form.number, [])
        return (-sum(common[p.char] for p in members), -len(members), form.number)

    return sorted(forms.values(), key=usefulness)


def links(form, ordered):
    """The other forms of the same Kangxi radical, in list order (水 -> 氵 氺)."""
    return [other for other in ordered
            if other.kangxi == form.kangxi and other.number != form.number]


# --- writers ---------------------------------------------------------------

RADICALS_HEADER = """\
# radicals.txt: the radical list of the input method, one line per radical form,
# most useful first (by the number of common characters in its group).
# Generated by tools/data/refresh.sh from Debian 12 package data; do not edit.
# Sources, licences and the full description: data/README.md.
# Columns, tab-separated: NUMBER FORM CODE KANGXI NOTE
#   NUMBER  1-214 the Kangxi radicals, 215 and up simplified and positional forms;
#           a number always means the same form; it is the group number in radical_groups.txt
#   FORM    the character the form's icon is drawn from (GBK)
#   CODE    the form's stroke code: a=横 s=竖 d=撇 f=点 g=折
#   KANGXI  the Kangxi radical it is a form of
#   NOTE    free text
# The first line is list entry 1; entry 0 is a placeholder the loader adds.
"""

GROUPS_HEADER = """\
# radical_groups.txt: the characters of each radical form, and links between forms.
# Generated by tools/data/refresh.sh from Debian 12 package data; do not edit.
# Sources, licences and the full description: data/README.md.
# Lines, tab-separated, grouped by NUMBER ascending (group 0 and unused numbers are empty):
#   NUMBER CHAR REST     a character of the group, in words.txt order; REST is the stroke
#                        code of the character without the form's strokes (may be empty)
#   NUMBER @OTHER CODE   after the characters: a link to form OTHER of the same Kangxi
#                        radical, with OTHER's stroke code
"""


def write_radicals(path, ordered):
    """Write data/radicals.txt (UTF-8, LF line ends)."""
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(RADICALS_HEADER)
        for form in ordered:
            f.write(f"{form.number}\t{form.form}\t{form.code}\t{form.kangxi}\t{form.note}\n")


def write_groups(path, forms, groups, ordered):
    """Write data/radical_groups.txt (UTF-8, LF line ends)."""
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(GROUPS_HEADER)
        for number in sorted(forms):
            for placement in groups.get(number, []):
                f.write(f"{number}\t{placement.char}\t{placement.rest}\n")
            for other in links(forms[number], ordered):
                f.write(f"{number}\t@{other.number}\t{other.code}\n")


# --- checks and summary ----------------------------------------------------

# Well-known characters with the group and rest they must get.
GROUP_CHECKS = (("河", 241, "asgas"), ("们", 242, "fsg"), ("打", 243, "as"),
                ("叫", 30, "gs"), ("林", 75, "asdf"), ("这", 221, "fadf"),
                ("国", 31, "aasaf"), ("笔", 271, "daag"), ("肝", 256, "aas"))


# Groups whose first common characters the summary shows: 氵 亻 扌 口 木.
SHOWN_GROUPS = (241, 242, 243, 30, 75)


def check_groups(placements):
    """Stop when a well-known character lands in the wrong group or with the wrong rest."""
    by_char = {p.char: p for p in placements}
    for char, number, rest in GROUP_CHECKS:
        got = by_char[char]
        require((got.form.number, got.rest) == (number, rest),
                f"{char} is in group {got.form.number} with rest {got.rest!r}, "
                f"not {number} with {rest!r}")
    require(len(by_char) == len(placements), "a character was placed twice")


def weak_forms(forms, groups):
    """The positional and derived forms that head fewer than MIN_FORM_CHARS characters."""
    def headed(form):
        return sum(p.position != "own form" for p in groups.get(form.number, []))

    return [(f, headed(f)) for f in forms.values()
            if f.kind in ("positional", "derived") and headed(f) < MIN_FORM_CHARS]


def unregistered_forms(forms, groups, radical_strokes, equivalents, codes):
    """Find radical shapes GBK has that would head fallback characters if registered.

    Candidates are the radicals' own variant shapes: GBK characters Unihan
    gives 0 or fewer strokes beyond their radical (氵 is 85.0, 王 96.-1) and
    the GBK equivalents of the CJK Radicals Supplement (⺟ is 母, 80.1). A
    candidate whose code starts or ends at least MIN_FORM_CHARS characters of
    its radical that now fall back deserves a number.
    """
    registered = {f.form for f in forms.values()}
    supplement = {u for r, u in equivalents.items() if 0x2E80 <= ord(r) <= 0x2EFF}
    fallbacks = collections.defaultdict(list)
    for members in groups.values():
        for p in members:
            if p.position == "fallback":
                fallbacks[radical_of(p.char, radical_strokes)].append(codes[p.char])
    found = []
    for char, strokes in radical_strokes.items():
        if char in registered or char not in codes:
            continue
        if strokes.residual > 0 and char not in supplement:
            continue
        code = codes[char]
        heads = sum(len(c) > len(code) and (c.startswith(code) or c.endswith(code))
                    for c in fallbacks[strokes.radical])
        if heads >= MIN_FORM_CHARS:
            found.append((char, strokes.radical, heads))
    return sorted(found, key=lambda m: (-m[2], m[0]))


class Tables(NamedTuple):
    """Everything the writers and the summary need."""

    forms: dict  # {number: Form}
    ordered: list  # the forms in list order
    groups: dict  # {number: [Placement] in words.txt order}
    placements: list  # every character's Placement, in words.txt order
    derivations: list  # (ExtraForm, code, characters with it, characters looked at)
    weak: list  # (Form, characters headed) below MIN_FORM_CHARS
    unregistered: list  # (char, RadicalKey, fallback characters it would head)
    common: dict  # {char: whether it is a common character}


def print_summary(t):
    """Print the figures a maintainer checks after a refresh."""
    link_count = sum(len(links(f, t.ordered)) for f in t.forms.values())
    print(f"radical forms: {len(t.forms)} "
          f"(Kangxi {KANGXI_COUNT}, others {len(t.forms) - KANGXI_COUNT})")
    print(f"groups: {max(t.forms) + 1} (0..{max(t.forms)}, group 0 empty), "
          f"non-empty {sum(1 for n in t.forms if t.groups.get(n))}")
    print(f"character pairs: {len(t.placements)}, links: {link_count}")
    counts = collections.Counter(p.position for p in t.placements)
    print("placement: " + ", ".join(f"{pos} {counts[pos]}" for pos in POSITIONS))
    fallback = [p.char for p in t.placements if p.position == "fallback"]
    common_fallback = [c for c in fallback if t.common[c]]
    print(f"common characters in fallback: {len(common_fallback)} ({''.join(common_fallback)})")
    for extra, code, count, total in t.derivations:
        print(f"learnt code of {extra.number} {extra.form} ({extra.note}): {code}, "
              f"{count} of {total} characters")
    for form, headed in t.weak:
        print(f"review: form {form.number} {form.form} heads only {headed} other characters")
    for char, key, heads in t.unregistered:
        print(f"review: {char} (radical {key}) would head {heads} fallback characters")
    if not t.weak and not t.unregistered:
        print("review: nothing to flag")
    print("largest groups (number form: characters / common):")
    largest = sorted(t.forms.values(), key=lambda f: (-len(t.groups.get(f.number, [])), f.number))
    for form in largest[:20]:
        members = t.groups.get(form.number, [])
        print(f"  {form.number} {form.form}: {len(members)} / "
              f"{sum(t.common[p.char] for p in members)}")
    print("list order, first 30: " + " ".join(f"{f.number}{f.form}" for f in t.ordered[:30]))
    for number in SHOWN_GROUPS:
        members = [p for p in t.groups[number] if t.common[p.char]]
        print(f"group {number} {t.forms[number].form}, {len(members)} common characters, first: "
              + " ".join(f"{p.char}:{p.rest}" for p in members[:12]))
    by_char = {p.char: p for p in t.placements}
    print("checks: " + ", ".join(
        f"{c} in {by_char[c].form.number}{by_char[c].form.form} rest {by_char[c].rest}"
        for c, _, _ in GROUP_CHECKS))


# --- main ------------------------------------------------------------------


def build_tables(sources, words_path):
    """Read the sources and build the tables, stopping on data that breaks an expectation."""
    words = read_words_table(words_path)
    radical_strokes = read_radical_strokes(sources / UNIHAN_IRG)
    equivalents = read_equivalents(sources / EQUIVALENT_IDEOGRAPHS)
    forms, derivations = build_forms(
        words, radical_strokes, read_cjk_radicals(sources / CJK_RADICALS), equivalents,
        read_kangxi_names(sources / UNICODE_DATA))
    placements = place_all(words, radical_strokes, forms)
    check_groups(placements)
    groups = group_members(placements)
    common = {entry.char: entry.common for entry in words}
    codes = {entry.char: entry.code for entry in words}
    return Tables(
        forms=forms,
        ordered=list_order(forms, groups, common),
        groups=groups,
        placements=placements,
        derivations=derivations,
        weak=weak_forms(forms, groups),
        unregistered=unregistered_forms(forms, groups, radical_strokes, equivalents, codes),
        common=common,
    )


def write_tables(out, tables):
    """Write data/radicals.txt and data/radical_groups.txt into the data folder."""
    out.mkdir(parents=True, exist_ok=True)
    write_radicals(out / "radicals.txt", tables.ordered)
    write_groups(out / "radical_groups.txt", tables.forms, tables.groups, tables.ordered)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sources", type=pathlib.Path, required=True,
                        help="folder the Debian packages were unpacked into")
    parser.add_argument("--words", type=pathlib.Path, required=True,
                        help="the character table, data/words.txt")
    parser.add_argument("--out", type=pathlib.Path, required=True,
                        help="data folder to write the tables into")
    args = parser.parse_args(argv)

    try:
        tables = build_tables(args.sources, args.words)
    except DataError as error:
        sys.exit(f"radical_tables.py: {error}")
    write_tables(args.out, tables)
    print_summary(tables)


if __name__ == "__main__":
    main(sys.argv[1:])
