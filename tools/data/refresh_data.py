#!/usr/bin/env python3
"""Derive the input method's data tables from openly licensed Debian package data.

tools/data/refresh.sh downloads and unpacks the packages, converts the
traditional-character word list to simplified characters with OpenCC, and then
runs this script. Each source file has one reader function and each table one
writer function, so further tables can be added next to data/words.txt.
The output depends only on the input files: re-running gives identical bytes.
"""

import argparse
import collections
import math
import pathlib
import re
import sys
import unicodedata

from tables_common import (
    GBK_HANZI_COUNT,
    CharEntry,
    DataError,
    encodable,
    read_unihan,
    require,
)
from tuning_text import best_mix, count_chars, read_tuning_sources, tuning_shares

# Source files, relative to the folder the packages were unpacked into.
PY_STROKE = "usr/share/fcitx5/pinyinhelper/py_stroke.mb"
RIME_STROKE = "usr/share/rime-data/stroke.dict.yaml"
RIME_ESSAY = "usr/share/rime-data/essay.txt"
JIEBA_DICT = "usr/lib/python3/dist-packages/jieba/dict.txt"
UNIHAN_READINGS = "usr/share/unicode/Unihan_Readings.txt.bz2"
UNIHAN_MAPPINGS = "usr/share/unicode/Unihan_OtherMappings.txt.bz2"

# Stroke classes 横 竖 撇 点 折 as digits (fcitx), letters (rime) and our letters.
DIGITS_TO_CODE = str.maketrans("12345", "asdfg")
RIME_TO_CODE = str.maketrans("hspnz", "asdfg")

COMMON_LEVEL_SIZE = 3500  # level 1 of the 通用规范汉字表

READING_FIELDS = ("kTGHZ2013", "kXHC1983", "kHanyuPinyin", "kMandarin")
MAX_WEIGHT = 65535

# Mainland stroke orders every table build must reproduce.
STROKE_SPOT_CHECKS = {
    "必": "fgfdf",
    "火": "fddf",
    "王": "aasa",
    "有": "adsgaa",
    "出": "gssgs",
    "凸": "sasga",
    "中": "sgas",
}


# --- character set ---------------------------------------------------------


def is_table_hanzi(char):
    """Tell whether a decoded GBK character belongs in the character table.

    GBK also holds kana, bopomofo and symbols; the table wants the CJK unified
    ideographs of GBK's range, the compatibility ideographs GBK carries and 〇.
    """
    cp = ord(char)
    return 0x4E00 <= cp <= 0x9FA5 or 0xF900 <= cp <= 0xFAFF or cp == 0x3007


def gbk_hanzi():
    """List every hanzi GBK (code page 936) encodes, in GBK code order.

    The input method serves applications limited to code page 936, so this is
    the set of characters it can offer. Python's gbk codec does not decode the
    codes FE50-FEA0 (they are characters only in GB18030), which leaves them out.
    """
    chars = []
    for lead in range(0x81, 0xFF):
        for trail in range(0x40, 0xFF):
            if trail == 0x7F:
                continue
            try:
                char = bytes((lead, trail)).decode("gbk")
            except UnicodeDecodeError:
                continue
            if is_table_hanzi(char):
                chars.append(char)
    unified = sum(0x4E00 <= ord(c) <= 0x9FA5 for c in chars)
    compatibility = sum(0xF900 <= ord(c) <= 0xFAFF for c in chars)
    require(unified == 20902, f"GBK gave {unified} unified ideographs, not 20902")
    require(compatibility == 21, f"GBK gave {compatibility} compatibility ideographs, not 21")
    require("〇" in chars, "GBK gave no 〇")
    require(len(set(chars)) == len(chars) == GBK_HANZI_COUNT,
            f"GBK gave {len(chars)} hanzi, not {GBK_HANZI_COUNT}")
    return chars


# --- source readers --------------------------------------------------------


def read_py_stroke(path):
    """Read fcitx's stroke table: lines `DIGITS CHAR`, mainland stroke order.

    Returns ({char: [codes in file order]}, number of malformed lines skipped).
    """
    codes = collections.defaultdict(list)
    skipped = 0
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.split()
            if len(fields) != 2 or len(fields[1]) != 1 or not re.fullmatch("[1-5]+", fields[0]):
                skipped += 1
                continue
            digits, char = fields
            codes[char].append(digits.translate(DIGITS_TO_CODE))
    return codes, skipped


def read_rime_stroke(path):
    """Read rime's stroke dictionary into its main and mainland sections.

    After the YAML header (ending with `...`) come `char<TAB>code` lines in
    letters h s p n z. The main section follows Taiwan's stroke classification;
    a comment block then starts a supplement that lists only the characters whose
    mainland code differs. Malformed lines (one has a stray digit) are skipped.
    Returns ({char: [codes]} for main, the same for the supplement, skipped count).
    """
    main = collections.defaultdict(list)
    supplement = collections.defaultdict(list)
    section = None
    skipped = 0
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if section is None:
                if line == "...":
                    section = main
                continue
            if line.startswith("#"):
                section = supplement
                continue
            if not line:
                continue
            fields = line.split("\t")
            if len(fields) != 2 or len(fields[0]) != 1 or not re.fullmatch("[hspnz]+", fields[1]):
                skipped += 1
                continue
            char, letters = fields
            section[char].append(letters.translate(RIME_TO_CODE))
    require(main and supplement, f"{path}: main or mainland section not found")
    return main, supplement, skipped


def read_tgh_index(path):
    """Read each character's index in the 通用规范汉字表 (Unihan kTGH).

    Values look like `2013:1234`: the 2013 edition and the index 1-8105, whose
    first 3,500 are level 1, the common characters.
    """
    raw = read_unihan(path, ["kTGH"])["kTGH"]
    index = {}
    for char, value in raw.items():
        match = re.fullmatch(r"2013:(\d+)", value)
        require(match, f"unexpected kTGH value {value!r} for {char}")
        index[char] = int(match.group(1))
    require(sorted(index.values()) == list(range(1, 8106)), "kTGH is not the indexes 1-8105")
    return index


def parse_reading_field(field, value):
    """Split one Unihan reading field into its readings, in the field's order.

    kMandarin is a space-separated list; the dictionary fields are
    space-separated `locations:readings` items, the readings comma-separated,
    e.g. kTGHZ2013 `480.020:zhōng 481.040:zhòng` or kHanyuPinyin
    `10028.100:zhōng,zhòng`.
    """
    if field == "kMandarin":
        return value.split()
    readings = []
    for item in value.split():
        _, _, listed = item.rpartition(":")
        readings.extend(listed.split(","))
    return readings


def read_readings(path):
    """Read each character's toned readings from the first field that has any GBK can show.

    The fields go from the current mainland standard to the broadest source.
    Duplicates are dropped keeping the first; readings GBK cannot encode (such
    as ḿ, ǹ or ê with a combining tone mark) are dropped because the input
    method shows them in code page 936 applications. A field left empty by that
    filter gives way to the next one (呒 has only ḿ in the first, wǔ later).
    """
    fields = read_unihan(path, READING_FIELDS)
    readings = {}
    for field in READING_FIELDS:
        for char, value in fields[field].items():
            if readings.get(char):
                continue
            kept = [r for r in parse_reading_field(field, value) if encodable(r, "gbk")]
            readings[char] = tuple(dict.fromkeys(kept))
    return readings


def read_jieba_word_counts(path):
    """Read jieba's word frequencies (lines `word freq POS`, simplified characters)."""
    counts = collections.Counter()
    with open(path, encoding="utf-8") as f:
        for line in f:
            word, freq, _ = line.split(" ")
            counts[word] += int(freq)
    return counts


def read_essay_word_counts(essay_path, simplified_words_path):
    """Sum rime's essay weights per word, in simplified characters.

    essay.txt has `word<TAB>weight` in traditional characters; the maintainer
    script converts its word column with OpenCC t2s into a line-aligned file, so
    that, say, 們 counts for 们. Traditional variants that convert alike add up.
    """
    with open(essay_path, encoding="utf-8") as f:
        weights = [int(line.rstrip("\n").split("\t")[1]) for line in f]
    with open(simplified_words_path, encoding="utf-8") as f:
        words = [line.rstrip("\n") for line in f]
    require(len(words) == len(weights),
            f"{simplified_words_path} is not line-aligned with essay.txt")
    counts = collections.Counter()
    for word, weight in zip(words, weights):
        counts[word] += weight
    return counts


def char_counts(word_counts):
    """Count characters from word counts.

    Each word's count is added to every character occurrence in the word, so
    characters that mostly occur inside words are counted too.
    """
    counts = collections.Counter()
    for word, count in word_counts.items():
        for char in word:
            counts[char] += count
    return counts


# --- derived data ----------------------------------------------------------


def unambiguous(codes_by_char):
    """Keep the characters a source gives exactly one distinct code.

    In the data, a character listed twice with different codes carries a copied
    code of an unrelated character (rime lists 毵 and 熴 with 㐆's code), so
    such a source is not trusted for that character.
    """
    return {c: codes[0] for c, codes in codes_by_char.items() if len(set(codes)) == 1}


def unified_form(char):
    """The unified ideograph a compatibility ideograph stands for, or the character itself."""
    return unicodedata.normalize("NFD", char)


def choose_stroke_codes(chars, fcitx, rime_main, rime_supplement):
    """Give every character its mainland stroke code.

    fcitx's table follows mainland order and comes first; rime's mainland
    supplement comes before its Taiwan-based main section. A compatibility
    ideograph fcitx lacks takes fcitx's code of the unified ideograph it stands
    for (郎 U+F92C writes like 郎 U+90CE). Returns the codes and the characters
    on which fcitx and rime (supplement, else main) disagree.
    """
    codes = {}
    disagreements = []
    for char in chars:
        rime = rime_supplement.get(char) or rime_main.get(char)
        code = fcitx.get(char) or fcitx.get(unified_form(char)) or rime
        require(code, f"no stroke code for {char} U+{ord(char):04X}")
        codes[char] = code
        if char in fcitx and rime and fcitx[char] != rime:
            disagreements.append(char)
    for char, expected in STROKE_SPOT_CHECKS.items():
        require(codes[char] == expected, f"stroke code of {char} is {codes[char]}, not {expected}")
    return codes, disagreements


def source_shares(chars, counts):
    """Normalise one source's counts to shares that total 1 over the table's characters.

    Sources are normalised so that a large corpus does not outweigh a small one.
    """
    total = sum(counts[c] for c in chars)
    return {char: counts[char] / total for char in chars}


# Ways to combine the jieba and essay shares of each character: name -> (what, function).
# `--blend` picks one, to compare tables by typing the evaluation text with tvime-typing-cost.
BLENDS = {
    "average": ("the mean of the two shares",
                lambda jieba, essay: {c: jieba[c] / 2 + essay[c] / 2 for c in jieba}),
    "max": ("the larger of the two shares",
            lambda jieba, essay: {c: max(jieba[c], essay[c]) for c in jieba}),
    "essay2": ("essay weighted 2, jieba 1",
               lambda jieba, essay: {c: (jieba[c] + 2 * essay[c]) / 3 for c in jieba}),
}
# "max" counts a character as frequent when either source finds it so: it puts 的 first and
# 们 42nd; the blends differ by under 0.04 clicks per character on running text.
DEFAULT_BLEND = "max"


def blend_frequencies(chars, jieba_counts, essay_counts, blend=DEFAULT_BLEND):
    """Blend the two sources' character counts into one frequency per character.

    Each source is normalised to total 1 over the table's characters (see
    source_shares), and the shares are combined as BLENDS[blend] says.
    """
    _, combine = BLENDS[blend]
    return combine(source_shares(chars, jieba_counts), source_shares(chars, essay_counts))


def frequency_weights(frequencies):
    """Map frequencies to 16-bit weights on a log scale.

    Frequencies span many orders of magnitude; a log scale keeps rare
    characters apart. 0 stays 0, the rarest seen character gets 1 and the most
    frequent gets 65535.
    """
    seen = [f for f in frequencies.values() if f > 0]
    fmin, fmax = min(seen), max(seen)
    span = math.log(fmax / fmin)
    return {
        char: 0 if f == 0 else 1 + round((MAX_WEIGHT - 1) * math.log(f / fmin) / span)
        for char, f in frequencies.items()
    }


def build_char_entries(chars, codes, tgh_index, weights, readings, extra_common=frozenset()):
    """Build the character table in dictionary order.

    Common characters (level 1 of the 通用规范汉字表, and `extra_common`) come
    first, then the rest; each block by descending weight; ties by 通用规范汉字表
    index (indexed characters first), then GB2312 characters before the others,
    then code point.
    """
    entries = [
        CharEntry(
            char=char,
            code=codes[char],
            common=(tgh_index.get(char, COMMON_LEVEL_SIZE + 1) <= COMMON_LEVEL_SIZE
                    or char in extra_common),
            weight=weights[char],
            readings=readings.get(char) or readings.get(unified_form(char), ()),
        )
        for char in chars
    ]

    def order(entry):
        index = tgh_index.get(entry.char)
        return (
            not entry.common,
            -entry.weight,
            index is None,
            index or 0,
            not encodable(entry.char, "gb2312"),
            ord(entry.char),
        )

    return sorted(entries, key=order)


# --- table writers ---------------------------------------------------------

WORDS_HEADER = """\
# words.txt: the character table of the input method, one line per hanzi that
# GBK (code page 936) encodes, in dictionary order.
# Generated by tools/data/refresh.sh from Debian 12 package data; do not edit.
# Sources, licences and the full description: data/README.md.
# Columns, tab-separated: CHAR CODE COMMON WEIGHT ANNOTATION
#   CODE        mainland stroke order: a=横 s=竖 d=撇 f=点 g=折
#   COMMON      1 for the 3,500 characters of level 1 of the 通用规范汉字表, else 0
#   WEIGHT      character frequency on a log scale, 0..65535, larger = more frequent
#   ANNOTATION  toned pinyin readings separated by spaces; may be empty
# Order: COMMON=1 first, then the rest; each block by descending WEIGHT.
"""


def write_words(path, entries):
    """Write data/words.txt (UTF-8, LF line ends)."""
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(WORDS_HEADER)
        for e in entries:
            f.write(f"{e.char}\t{e.code}\t{int(e.common)}\t{e.weight}\t{' '.join(e.readings)}\n")


# --- checks and summary ----------------------------------------------------


def check_essay_converted(counts):
    """Make sure the essay counts are in simplified characters.

    Unconverted, the traditional word list counts 們 and leaves 们 low, and
    the blend would then under-rate every character simplification changed.
    """
    require(counts["们"] > counts["們"], "essay words were not converted to simplified")


def frequency_ranks(entries):
    """Rank the characters by weight, 0 for the most frequent."""
    ranking = sorted(entries, key=lambda e: -e.weight)
    return {e.char: rank for rank, e in enumerate(ranking)}


def check_frequencies(ranks):
    """Catch a broken frequency blend: 的 and 们 must rank near the top.

    Blends differ here: jieba gives the single word 的 a low frequency (below 了)
    while 一, 不 and 是 gather weight from the many words that contain them, so
    the average of the two sources ranks 的 4th; the larger share ranks it 1st.
    The tuning text (manuals and program messages, which address the reader
    and seldom say 们) would push 们 down: the mix with it keeps these checks.
    """
    require(ranks["的"] < 5, f"的 ranks {ranks['的'] + 1}, below the top 5")
    require(ranks["们"] < 100, f"们 ranks {ranks['们'] + 1}, below the top 100")


def largest_code_group(entries):
    """Find the stroke code shared by the most common characters."""
    groups = collections.Counter(e.code for e in entries if e.common)
    size = max(groups.values())
    return size, sorted(code for code, n in groups.items() if n == size)


def print_summary(entries, disagreements, skipped):
    """Print the figures a maintainer checks after a refresh."""
    size, group_codes = largest_code_group(entries)
    ranks = frequency_ranks(entries)
    print(f"entries: {len(entries)}")
    print(f"common: {sum(e.common for e in entries)}")
    print(f"stroke sources disagree on: {len(disagreements)} ({''.join(disagreements)})")
    print(f"malformed stroke lines skipped: {skipped}")
    print(f"empty annotation: {sum(not e.readings for e in entries)}")
    print(f"largest group of common characters with one code: {size} ({', '.join(group_codes)})")
    print(f"frequency rank (from 1): 的 {ranks['的'] + 1}, 们 {ranks['们'] + 1}")
    print(f"top 20: {''.join(e.char for e in entries[:20])}")


# --- main ------------------------------------------------------------------


# Levers that tune the tables to the tuning text (tools/data/tuning_text.py), each measured on
# its own against the evaluation text; data/README.md has the figures. The ones that helped are
# the default.
LEVERS = {
    "weights": "character weights mix the dictionaries' blend with tuning counts",
    "block": "characters at least as frequent in the tuning text as the median common one "
             "join the common block",
    "order": "phrase order mixes the dictionaries' blend with tuning counts",
    "drop": "phrases that no dictionary lists and the tuning text never uses are dropped",
    "sequences": "frequent multi-word sequences of the tuning text become phrases",
}
DEFAULT_LEVERS = ("weights", "order", "sequences")


def parse_levers(text):
    levers = tuple(lever for lever in text.split(",") if lever)
    for lever in levers:
        if lever not in LEVERS:
            raise argparse.ArgumentTypeError(f"unknown lever {lever}; known: {', '.join(LEVERS)}")
    return levers


def add_tuning_arguments(parser):
    """--tuning and --levers, which both table scripts take."""
    parser.add_argument("--tuning", type=pathlib.Path,
                        help="the tuning part of the text corpus (tools/data/corpus.sh)")
    parser.add_argument("--levers", type=parse_levers, default=DEFAULT_LEVERS,
                        help="comma-separated levers to apply with --tuning; "
                             + "; ".join(f"{k}: {v}" for k, v in LEVERS.items())
                             + f" (default: {','.join(DEFAULT_LEVERS)})")


def tuned_char_frequencies(chars, frequencies, tuning_sources):
    """The character frequencies mixed with the tuning text's counts (tuning_text.best_mix)."""
    total = sum(frequencies.values())
    base = {c: f / total for c, f in frequencies.items()}
    halves = count_chars(tuning_sources)

    def keeps_checks(shares):
        ranking = sorted(chars, key=lambda c: -shares[c])
        return ranking.index("的") < 5 and ranking.index("们") < 100

    mix, _ = best_mix(base, halves, keeps_checks)
    tuning = tuning_shares(chars, halves)
    print(f"character weights: {mix:.1f} of the share from the tuning text")
    return {c: (1 - mix) * base[c] + mix * tuning[c] for c in chars}, tuning


# A character outside level 1 joins the common block only when this many tuning sources use it:
# one translation's habit (a traditional form, a name) must not decide the block.
BLOCK_MIN_SOURCES = 5


def frequent_uncommon_chars(chars, tgh_index, tuning, tuning_sources):
    """Characters outside level 1 that the tuning text uses at least as often as the median
    level-1 character, in at least BLOCK_MIN_SOURCES sources."""
    def level1(c):
        return tgh_index.get(c, COMMON_LEVEL_SIZE + 1) <= COMMON_LEVEL_SIZE
    median = sorted(tuning[c] for c in chars if level1(c))[COMMON_LEVEL_SIZE // 2]
    frequent = {c for c in chars if tuning[c] >= median and tuning[c] > 0 and not level1(c)}
    sources_using = collections.Counter()
    for text in tuning_sources.values():
        sources_using.update(frequent & set(text))
    extra = frozenset(c for c in frequent if sources_using[c] >= BLOCK_MIN_SOURCES)
    print(f"common block: {len(extra)} characters added ({''.join(sorted(extra))})")
    return extra


def build_words(src, essay_simplified, blend=DEFAULT_BLEND, tuning_sources=None,
                levers=DEFAULT_LEVERS):
    """Derive the character table from the unpacked packages.

    blend names how the two frequency sources are combined (see BLENDS);
    tuning_sources ({name: text} of the corpus's tuning part) feed the levers.

    Returns the entries, the characters the stroke sources disagree on and the
    number of malformed stroke lines skipped.
    """
    chars = gbk_hanzi()
    fcitx, fcitx_skipped = read_py_stroke(src / PY_STROKE)
    rime_main, rime_supplement, rime_skipped = read_rime_stroke(src / RIME_STROKE)
    codes, disagreements = choose_stroke_codes(
        chars, unambiguous(fcitx), unambiguous(rime_main), unambiguous(rime_supplement))

    essay_counts = char_counts(read_essay_word_counts(src / RIME_ESSAY, essay_simplified))
    check_essay_converted(essay_counts)
    frequencies = blend_frequencies(
        chars, char_counts(read_jieba_word_counts(src / JIEBA_DICT)), essay_counts, blend)

    tgh_index = read_tgh_index(src / UNIHAN_MAPPINGS)
    extra_common = frozenset()
    if tuning_sources and ("weights" in levers or "block" in levers):
        tuned, tuning = tuned_char_frequencies(chars, frequencies, tuning_sources)
        if "weights" in levers:
            frequencies = tuned
        if "block" in levers:
            extra_common = frequent_uncommon_chars(chars, tgh_index, tuning, tuning_sources)
    entries = build_char_entries(
        chars, codes, tgh_index, frequency_weights(frequencies),
        read_readings(src / UNIHAN_READINGS), extra_common)
    check_frequencies(frequency_ranks(entries))
    return entries, disagreements, fcitx_skipped + rime_skipped


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sources", type=pathlib.Path, required=True,
                        help="folder the Debian packages were unpacked into")
    parser.add_argument("--essay-simplified", type=pathlib.Path, required=True,
                        help="essay.txt's word column converted with OpenCC t2s, line by line")
    parser.add_argument("--out", type=pathlib.Path, required=True,
                        help="data folder to write the tables into")
    parser.add_argument("--blend", choices=sorted(BLENDS), default=DEFAULT_BLEND,
                        help="how to combine the two frequency sources, to compare blends "
                             "(with tvime-typing-cost) in a scratch --out; "
                             + "; ".join(f"{name}: {what}" for name, (what, _) in BLENDS.items())
                             + f" (default: {DEFAULT_BLEND})")
    add_tuning_arguments(parser)
    args = parser.parse_args(argv)

    try:
        tuning_sources = None
        if args.tuning:
            tuning_sources = read_tuning_sources(args.tuning)
        entries, disagreements, skipped = build_words(
            args.sources, args.essay_simplified, args.blend, tuning_sources, args.levers)
    except DataError as error:
        sys.exit(f"refresh_data.py: {error}")
    args.out.mkdir(parents=True, exist_ok=True)
    write_words(args.out / "words.txt", entries)
    print(f"frequency blend: {args.blend}")
    print_summary(entries, disagreements, skipped)


if __name__ == "__main__":
    main(sys.argv[1:])
