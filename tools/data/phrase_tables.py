#!/usr/bin/env python3
"""Derive the phrase table and the characters-per-syllable table from Debian package data.

data/phrases.txt holds rime luna pinyin's phrases in simplified characters, one
reading each, most frequent first; data/pinyin.txt lists the characters of
data/words.txt under each syllable of the input method's syllable table.
tools/data/refresh.sh unpacks the packages and converts rime's essay word list,
tools/data/refresh.sh converts luna's phrase column with OpenCC t2s, and
refresh_data.py writes data/words.txt, which this script reads. The output
depends only on the input files: re-running gives identical bytes.
"""

import argparse
import collections
import math
import pathlib
import re
import sys
import unicodedata
from typing import NamedTuple

from refresh_data import (
    DEFAULT_BLEND,
    DEFAULT_LEVERS,
    add_tuning_arguments,
    JIEBA_DICT,
    RIME_ESSAY,
    UNIHAN_READINGS,
    blend_frequencies,
    read_essay_word_counts,
    read_jieba_word_counts,
)
from tables_common import DataError, read_unihan, read_words_table, require
from tuning_text import (
    best_mix,
    count_phrases,
    frequent_sequences,
    read_tuning_sources,
    tuning_shares,
)

# rime's compiled luna pinyin table, relative to the folder the packages were unpacked into.
LUNA_TABLE = "usr/share/rime-data/build/luna_pinyin.table.txt"

# The input method's built-in syllable table, read from the engine's source so that there is one
# copy of it: toneless, ü written v, in byte order of the text, without the empty row 0.
SYLLABLE_SOURCE = pathlib.Path(__file__).resolve().parents[2] / "engine" / "pinyin_syllables.cpp"


def read_syllables(path=SYLLABLE_SOURCE):
    """The syllables of the engine's table rows `{"text", weight}`, in table order."""
    rows = re.findall(r'\{"([a-z]*)", \d+\}', path.read_text(encoding="utf-8"))
    return tuple(text for text in rows if text)


SYLLABLES = read_syllables()

# Luna spells luán as lvan in the phrases of 挛, 孪, 娈, 脔 and their traditional forms
# (痉攣 jing lvan), a syllable Mandarin does not have; every character luna reads lvan
# reads luán (luna lists luan beside lvan for 攣 and 孿).
LUNA_SYLLABLE_FIXES = {"lvan": "luan"}

MIN_PHRASE_LENGTH = 2
MAX_PHRASE_LENGTH = 63  # the longest phrase the input method stores
MIN_PHRASE_COUNT = 230_000  # the lever "drop" leaves about 236,000

# Phrases that must come among the first few phrases starting with their first
# character, in file order (the association list after a committed character).
ASSOCIATION_SPOT_CHECKS = {"中国": 5, "我们": 5, "但是": 5, "可以": 5}
TOP_SPOT_CHECKS = {"我们": 100, "中国": 100}  # overall rank limits, from 1


def check_syllable_table():
    """The table must stay what the input method searches: 416 distinct syllables in byte order."""
    require(len(SYLLABLES) == 416, f"the syllable table has {len(SYLLABLES)} syllables, not 416")
    require(list(SYLLABLES) == sorted(set(SYLLABLES), key=lambda s: s.encode()),
            "the syllable table is not in byte order or repeats a syllable")


# --- source readers --------------------------------------------------------


class LunaRow(NamedTuple):
    """One row of luna's compiled table (a reading of a character or phrase), text simplified."""

    text: str  # simplified
    traditional: str
    syllables: tuple
    weight: float


def read_luna_rows(table_path, simplified_path):
    """Read the rows of luna's compiled table with their simplified text.

    After a `#` header listing the syllabary, the table has
    `text<TAB>syllables<TAB>weight` lines in traditional characters, one line per
    reading (睡覺 is there as both `shui jiao` and `shui jue`). The weights are
    rime's essay counts, fractional where the dictionary splits a character or
    word between readings (殷 yin 1753, yan 525.9). refresh.sh passed the
    first column of every line through OpenCC t2s into a line-aligned file.
    """
    with open(table_path, encoding="utf-8") as f:
        table = [line.rstrip("\n") for line in f]
    with open(simplified_path, encoding="utf-8") as f:
        simplified = [line.rstrip("\n") for line in f]
    require(len(table) == len(simplified),
            f"{simplified_path} is not line-aligned with {table_path}")
    rows = []
    for line, text in zip(table, simplified):
        fields = line.split("\t")
        if line.startswith("#") or len(fields) != 3:
            continue
        traditional, syllables, weight = fields
        require("\t" not in text, f"converted line {text!r} is not one column")
        rows.append(LunaRow(text, traditional, tuple(syllables.split()), float(weight)))
    require(len(rows) > 300_000, f"{table_path}: only {len(rows)} rows")
    return rows


def respell(rows):
    """Correct luna's misspelt syllables (LUNA_SYLLABLE_FIXES); also count the rows changed."""
    fixed = [row._replace(syllables=tuple(LUNA_SYLLABLE_FIXES.get(s, s) for s in row.syllables))
             for row in rows]
    return fixed, sum(a != b for a, b in zip(rows, fixed))


def split_luna_rows(rows):
    """Split luna's rows into phrase rows (2+ characters) and single-character rows."""
    phrases = [row for row in rows if len(row.traditional) >= 2]
    chars = [row for row in rows if len(row.traditional) == 1]
    return phrases, chars


def luna_char_weights(char_rows):
    """Sum luna's weight of each character reading: {simplified char: Counter(syllable: weight)}.

    Traditional forms t2s maps to one simplified character add up (綽 chuo 867.35
    counts for 绰, whose own rows have weight 0).
    """
    weights = collections.defaultdict(collections.Counter)
    for row in char_rows:
        if len(row.text) == 1 and len(row.syllables) == 1:
            weights[row.text][row.syllables[0]] += row.weight
    return weights


def read_pinlu(path):
    """Read Unihan kHanyuPinlu: how often each character takes each toneless reading.

    Values look like `jué(1032) jiào(179)` (counts from a corpus of modern
    Chinese); readings differing only in tone are added up (和 hé, he, hè).
    """
    raw = read_unihan(path, ["kHanyuPinlu"])["kHanyuPinlu"]
    pinlu = {}
    for char, value in raw.items():
        items = re.findall(r"(\S+?)\((\d+)\)", value)
        require(items and len(items) == len(value.split()),
                f"unexpected kHanyuPinlu value {value!r} for {char}")
        counts = collections.Counter()
        for reading, count in items:
            counts[toneless(reading)] += int(count)
        pinlu[char] = counts
    return pinlu


# --- readings --------------------------------------------------------------


def toneless(reading):
    """Strip the tone from a pinyin reading: zhōng -> zhong, lǜ -> lv, ńg -> ng, ê -> e.

    Decomposing puts every tone mark (and ê's circumflex) in a combining mark,
    which is dropped; ü decomposes to u + diaeresis and is written v.
    """
    decomposed = unicodedata.normalize("NFD", reading).replace("u\u0308", "v")
    return "".join(c for c in decomposed if unicodedata.category(c) != "Mn")


def toneless_readings(entry):
    """A character's distinct toneless readings, in the order of its words.txt annotation."""
    return tuple(dict.fromkeys(toneless(r) for r in entry.readings))


# --- phrase selection ------------------------------------------------------


class Drop(NamedTuple):
    """What one filter removed: phrase texts, and for reading filters also readings."""

    why: str
    phrases: int
    readings: int


def group_by_text(rows):
    """Merge the rows into {simplified text: {syllables: luna weight}}.

    Traditional variants that t2s converts to the same text become one phrase;
    a reading they share keeps the larger weight. Also returns how many
    traditional texts there were.
    """
    readings = collections.defaultdict(dict)
    for row in rows:
        known = readings[row.text]
        known[row.syllables] = max(known.get(row.syllables, 0.0), row.weight)
    return readings, len({row.traditional for row in rows})


def filter_phrases(readings_by_text, table_chars):
    """Keep the phrases the input method can offer and type; report what each filter drops.

    Text filters first (length 2..63, every character in words.txt, i.e. a GBK
    hanzi; t2s can give characters GBK lacks, such as 𫫇), then reading filters
    (one syllable per character, every syllable in the syllable table); a phrase
    left without a reading goes. Counts are of what was still there.
    """
    syllables = set(SYLLABLES)
    text_filters = [
        (f"length outside {MIN_PHRASE_LENGTH}..{MAX_PHRASE_LENGTH}",
         lambda text: MIN_PHRASE_LENGTH <= len(text) <= MAX_PHRASE_LENGTH),
        ("a character not in words.txt (not a GBK hanzi)",
         lambda text: all(c in table_chars for c in text)),
    ]
    reading_filters = [
        ("syllables do not match the characters one to one",
         lambda text, reading: len(reading) == len(text)),
        ("a syllable not in the syllable table",
         lambda text, reading: all(s in syllables for s in reading)),
    ]
    kept = dict(readings_by_text)
    drops = []
    for why, keep in text_filters:
        before = len(kept)
        kept = {text: readings for text, readings in kept.items() if keep(text)}
        drops.append(Drop(why, before - len(kept), 0))
    for why, keep in reading_filters:
        before_texts = len(kept)
        before_readings = sum(len(r) for r in kept.values())
        filtered = {text: {s: w for s, w in readings.items() if keep(text, s)}
                    for text, readings in kept.items()}
        kept = {text: readings for text, readings in filtered.items() if readings}
        drops.append(Drop(why, before_texts - len(kept),
                          before_readings - sum(len(r) for r in kept.values())))
    return kept, drops


# --- polyphone phrases -----------------------------------------------------

# The rules that choose one reading for a phrase with several, in order; the first
# that tells the best reading from the others decides (reading_key has one part each).
READING_RULES = (
    "luna weight",
    "reading in longer luna phrases",
    "character reading frequency (kHanyuPinlu)",
    "character reading weight in luna",
    "character reading order in words.txt",
    "syllable text (byte order)",
)


class ReadingEvidence(NamedTuple):
    """What the sources say about readings, beyond luna's weight of the phrase itself."""

    context: dict  # phrase -> Counter(syllables: longer single-reading phrases that read it so)
    pinlu: dict  # char -> Counter(syllable: kHanyuPinlu count)
    char_weights: dict  # char -> Counter(syllable: luna weight)
    annotation_ranks: dict  # char -> {syllable: position in the words.txt annotation}


def context_evidence(kept):
    """Count how longer phrases with a single reading read each polyphone phrase.

    Luna gives 睡觉 both shui jiao and shui jue with equal weight, but 睡觉前
    and 晚上睡觉 only with jiao; character statistics would pick jue (觉 is jué
    in 觉得). Returns {phrase: Counter(syllables: number of longer phrases)}.
    """
    ambiguous = {text for text, readings in kept.items() if len(readings) > 1}
    evidence = collections.defaultdict(collections.Counter)
    for text, readings in kept.items():
        if len(readings) != 1:
            continue
        (reading,) = readings
        # The whole text is not ambiguous, so only shorter phrases inside it count.
        for start in range(len(text) - 1):
            for end in range(start + MIN_PHRASE_LENGTH, len(text) + 1):
                if text[start:end] in ambiguous:
                    evidence[text[start:end]][reading[start:end]] += 1
    return evidence


def annotation_ranks(words):
    """Each character's toneless readings numbered in words.txt annotation order."""
    return {e.char: {s: i for i, s in enumerate(toneless_readings(e))} for e in words}


def log_share(counts_by_char, text, reading):
    """Sum over the characters of log(count of the character's syllable + 0.5).

    Only the comparison between readings of one phrase matters: a character
    without counts adds the same to every reading, and a character with counts
    but not for this syllable still gets a finite score.
    """
    return sum(math.log(counts_by_char.get(c, {}).get(s, 0) + 0.5) for c, s in zip(text, reading))


def reading_key(text, reading, weight, evidence):
    """Sort key of one candidate reading, best first, one part per READING_RULES entry.

    The words.txt rank of a reading is the sum over its characters of the
    syllable's position among the character's toneless readings, one past the
    end when not listed.
    """
    ranks = evidence.annotation_ranks
    rank = sum(ranks[c].get(s, len(ranks[c])) for c, s in zip(text, reading))
    return (
        -weight,
        -evidence.context.get(text, {}).get(reading, 0),
        -log_share(evidence.pinlu, text, reading),
        -log_share(evidence.char_weights, text, reading),
        rank,
        " ".join(reading),
    )


def choose_readings(kept, evidence):
    """Pick one reading per phrase; return {phrase: syllables} and how often each rule decided."""
    chosen = {}
    deciders = collections.Counter()
    for text, readings in kept.items():
        if len(readings) == 1:
            (chosen[text],) = readings
            continue
        keys = sorted((reading_key(text, r, w, evidence), r) for r, w in readings.items())
        (best, reading), (runner_up, _) = keys[0], keys[1]
        decider = next(i for i, (a, b) in enumerate(zip(best, runner_up)) if a != b)
        deciders[READING_RULES[decider]] += 1
        chosen[text] = reading
    return chosen, deciders


# --- ranking ---------------------------------------------------------------


def rank_phrases(kept, jieba_counts, essay_counts, tuning_sources=None, levers=()):
    """Order the phrases by descending frequency, most frequent first.

    Frequency is the blend refresh_data.py uses for characters: each source's
    word counts normalised to total 1 over the kept phrases, the larger share
    taken. With the lever "order" it is mixed with the tuning text's counts in
    the proportion that best predicts held-out tuning text; with "drop", phrases
    that have no frequency either way are left out. Ties (mostly phrases neither
    source lists) go by luna's weight, then shorter first, then by text, so the
    order is fully determined. Returns the ordered phrases and their frequencies.
    """
    texts = sorted(kept)
    frequency = blend_frequencies(texts, jieba_counts, essay_counts, DEFAULT_BLEND)
    if tuning_sources and ("order" in levers or "drop" in levers):
        total = sum(frequency.values())
        base = {t: f / total for t, f in frequency.items()}
        halves = count_phrases(tuning_sources, set(texts), jieba_counts,
                               max(len(t) for t in texts))
        tuning = tuning_shares(texts, halves)
        if "order" in levers:
            def keeps_checks(shares):
                ordered = sorted(texts, key=lambda t: -shares[t])
                return ranking_problem(ordered) is None
            mix, _ = best_mix(base, halves, keeps_checks)
            print(f"phrase order: {mix:.1f} of the share from the tuning text")
            frequency = {t: (1 - mix) * base[t] + mix * tuning[t] for t in texts}
        if "drop" in levers:
            unused = {t for t in texts if base[t] == 0 and tuning[t] == 0}
            print(f"phrases no source uses, dropped: {len(unused)}")
            texts = [t for t in texts if t not in unused]
    luna_weight = {text: max(readings.values()) for text, readings in kept.items()}
    ordered = sorted(texts, key=lambda t: (-frequency[t], -luna_weight[t], len(t), t))
    return ordered, frequency


# The sequences of the tuning text that become phrases (tuning_text.frequent_sequences): at most
# this long, this often, in this many sources.
SEQUENCE_MAX_CHARS = 8
SEQUENCE_MIN_COUNT = 4
SEQUENCE_MIN_SOURCES = 3


def add_sequences(kept, chosen, words, word_counts, tuning_sources):
    """Make the frequent multi-word sequences of the tuning text phrases, so that association
    grows across word boundaries (中国 → 中国人民). A sequence reads as its words do: the
    phrase's chosen reading, a lone character its first reading (in words.txt order)."""
    first_reading = {}
    for entry in words:
        readings = [r for r in toneless_readings(entry) if r in SYLLABLES]
        if readings:
            first_reading[entry.char] = readings[0]
    known = set(kept)
    sequences = frequent_sequences(tuning_sources, known, word_counts, max(len(t) for t in known),
                                   SEQUENCE_MIN_COUNT, SEQUENCE_MIN_SOURCES, SEQUENCE_MAX_CHARS)
    added = 0
    for text, (_, pieces) in sorted(sequences.items()):
        reading = []
        for piece in pieces:
            if piece in chosen:
                reading.extend(chosen[piece])
            elif len(piece) == 1 and piece in first_reading:
                reading.append(first_reading[piece])
            else:
                break
        if len(reading) != len(text):
            continue
        kept[text] = {tuple(reading): 0.0}
        chosen[text] = tuple(reading)
        added += 1
    print(f"multi-word sequences of the tuning text added as phrases: {added}")


def phrases_starting_with(ordered, char, count):
    """The first phrases starting with char, in file order (what association offers)."""
    return [text for text in ordered if text[0] == char][:count]


def ranking_problem(ordered):
    """What is wrong with a ranking in which well-known phrases do not come first where users
    look; None when nothing is."""
    for phrase, limit in ASSOCIATION_SPOT_CHECKS.items():
        first = phrases_starting_with(ordered, phrase[0], limit)
        if phrase not in first:
            return (f"{phrase} is not among the first {limit} phrases "
                    f"starting with {phrase[0]}: {' '.join(first)}")
    rank = {text: i for i, text in enumerate(ordered)}
    for phrase, limit in TOP_SPOT_CHECKS.items():
        if rank[phrase] >= limit:
            return f"{phrase} ranks {rank[phrase] + 1}, below {limit}"
    return None


def check_ranking(ordered):
    """Catch a broken ranking (see ranking_problem) or a table grown too small."""
    require(len(ordered) >= MIN_PHRASE_COUNT,
            f"only {len(ordered)} phrases, fewer than {MIN_PHRASE_COUNT}")
    problem = ranking_problem(ordered)
    require(problem is None, problem)


def binary_size(ordered):
    """Bytes the input method's binary phrase table takes: 4n + 6 per phrase of n characters."""
    return sum(4 * len(text) + 6 for text in ordered)


# --- characters per syllable -----------------------------------------------


class SyllableChars(NamedTuple):
    """data/pinyin.txt's content and what did not fit the syllable table."""

    chars: dict  # syllable -> characters in words.txt order, for every table syllable
    unknown: dict  # toneless reading not in the table -> characters
    unread: list  # characters with no reading in the table


def chars_by_syllable(words):
    """List under each table syllable the characters that read so, in words.txt order.

    A character with several readings appears under each of them, once per
    syllable (中 zhōng zhòng appears once under zhong).
    """
    chars = {syllable: [] for syllable in SYLLABLES}
    unknown = collections.defaultdict(list)
    unread = []
    for entry in words:
        listed = False
        for syllable in toneless_readings(entry):
            if syllable in chars:
                chars[syllable].append(entry.char)
                listed = True
            else:
                unknown[syllable].append(entry.char)
        if not listed:
            unread.append(entry.char)
    return SyllableChars(chars, dict(sorted(unknown.items())), unread)


# --- table writers ---------------------------------------------------------

PHRASES_HEADER = """\
# phrases.txt: the phrase dictionary of the input method, one line per phrase,
# most frequent first.
# Generated by tools/data/refresh.sh from Debian 12 package data; do not edit.
# Sources, licences and the full description: data/README.md.
# Phrases of 2..63 characters from rime's luna pinyin table, converted to simplified
# characters with OpenCC t2s, every character in words.txt and every syllable in the
# input method's syllable table; one reading per phrase.
# Columns, tab-separated: PHRASE SYLLABLES
#   SYLLABLES   one toneless syllable per character, space-separated, ü written v
# Order: descending frequency (the larger share of jieba's and rime essay's word
# counts), then luna's weight, then shorter first, then by text.
"""

PINYIN_HEADER = """\
# pinyin.txt: the characters of words.txt under each syllable of the input method's
# syllable table, one line per syllable, in byte order of the syllable.
# Generated by tools/data/refresh.sh from data/words.txt; do not edit.
# Description: data/README.md.
# Columns, tab-separated: SYLLABLE CHARS
#   SYLLABLE    toneless, ü written v
#   CHARS       every character one of whose words.txt readings, without its tone, is
#               SYLLABLE, in words.txt order, without separators; may be empty
"""


def write_phrases(path, ordered, chosen):
    """Write data/phrases.txt (UTF-8, LF line ends)."""
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(PHRASES_HEADER)
        for text in ordered:
            f.write(f"{text}\t{' '.join(chosen[text])}\n")


def write_pinyin(path, chars):
    """Write data/pinyin.txt (UTF-8, LF line ends)."""
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(PINYIN_HEADER)
        for syllable in SYLLABLES:
            f.write(f"{syllable}\t{''.join(chars[syllable])}\n")


# --- summary ---------------------------------------------------------------


def print_phrase_summary(stats, ordered, chosen, frequency):
    """Print the figures a maintainer checks after a refresh."""
    print(f"luna phrase rows (2+ characters): {stats['rows']}")
    fixes = ", ".join(f"{wrong} -> {right}" for wrong, right in LUNA_SYLLABLE_FIXES.items())
    print(f"luna rows, characters included, respelt ({fixes}): {stats['respelt']}")
    print(f"traditional phrase texts: {stats['traditional']}")
    print(f"simplified phrase texts: {stats['simplified']} "
          f"({stats['traditional'] - stats['simplified']} merged by t2s)")
    for drop in stats["drops"]:
        readings = f", {drop.readings} readings" if drop.readings else ""
        print(f"dropped, {drop.why}: {drop.phrases} phrases{readings}")
    print(f"phrases: {len(ordered)}")
    print("by length: " + ", ".join(
        f"{n}: {c}" for n, c in sorted(collections.Counter(map(len, ordered)).items())))
    print(f"without frequency (ranked by luna weight, length, text): "
          f"{sum(frequency[t] == 0 for t in ordered)}")
    print(f"binary size (4n+6 bytes per phrase of n characters): {binary_size(ordered)} bytes")
    print(f"phrases with several readings: {sum(stats['deciders'].values())}, decided by:")
    for rule in READING_RULES:
        print(f"  {rule}: {stats['deciders'][rule]}")
    print(f"top 30: {' '.join(ordered[:30])}")
    for char in "中我是":
        first = phrases_starting_with(ordered, char, 10)
        print(f"first 10 starting with {char}: {' '.join(first)}")
    for text in ("睡觉", "银行", "音乐", "重庆", "长大", "还是", "觉得", "朝阳"):
        if text in chosen:
            print(f"reading of {text}: {' '.join(chosen[text])}")


def print_pinyin_summary(syllable_chars):
    """Print how well the characters' readings fit the syllable table."""
    filled = sum(bool(chars) for chars in syllable_chars.chars.values())
    print(f"syllables with characters: {filled} of {len(SYLLABLES)}")
    empty = [s for s, chars in syllable_chars.chars.items() if not chars]
    print(f"syllables without characters: {' '.join(empty) or '-'}")
    for syllable, chars in syllable_chars.unknown.items():
        print(f"reading not in the syllable table: {syllable} ({''.join(chars)})")
    print(f"characters without a table syllable: {len(syllable_chars.unread)} "
          f"({''.join(syllable_chars.unread)})")


# --- main ------------------------------------------------------------------


def build_phrases(src, essay_simplified, luna_simplified, words, tuning_sources=None,
                  levers=DEFAULT_LEVERS):
    """Derive the phrase table from the unpacked packages and the character table.

    Returns the phrases in order, {phrase: syllables}, {phrase: frequency} and
    the figures for the summary.
    """
    rows, respelt = respell(read_luna_rows(src / LUNA_TABLE, luna_simplified))
    rows, char_rows = split_luna_rows(rows)
    readings_by_text, traditional = group_by_text(rows)
    kept, drops = filter_phrases(readings_by_text, {e.char for e in words})
    evidence = ReadingEvidence(
        context=context_evidence(kept),
        pinlu=read_pinlu(src / UNIHAN_READINGS),
        char_weights=luna_char_weights(char_rows),
        annotation_ranks=annotation_ranks(words))
    chosen, deciders = choose_readings(kept, evidence)
    jieba_counts = read_jieba_word_counts(src / JIEBA_DICT)
    if tuning_sources and "sequences" in levers:
        # jieba's counts are made for cutting text into words.
        add_sequences(kept, chosen, words, jieba_counts, tuning_sources)
    ordered, frequency = rank_phrases(
        kept, jieba_counts, read_essay_word_counts(src / RIME_ESSAY, essay_simplified),
        tuning_sources, levers)
    check_ranking(ordered)
    stats = {"rows": len(rows), "respelt": respelt, "traditional": traditional,
             "simplified": len(readings_by_text), "drops": drops, "deciders": deciders}
    return ordered, chosen, frequency, stats


def write_tables(src, essay_simplified, luna_simplified, words, out, tuning_sources=None,
                 levers=DEFAULT_LEVERS):
    """Write phrases.txt and pinyin.txt into out and print their summary.

    words is the character table as CharEntry rows in words.txt order, read
    from the file or as refresh_data.build_words returns it. Raises DataError
    when the data breaks an expectation; nothing is written then.
    """
    check_syllable_table()
    ordered, chosen, frequency, stats = build_phrases(
        src, essay_simplified, luna_simplified, words, tuning_sources, levers)
    syllable_chars = chars_by_syllable(words)
    out.mkdir(parents=True, exist_ok=True)
    write_phrases(out / "phrases.txt", ordered, chosen)
    write_pinyin(out / "pinyin.txt", syllable_chars.chars)
    print_phrase_summary(stats, ordered, chosen, frequency)
    print_pinyin_summary(syllable_chars)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sources", type=pathlib.Path, required=True,
                        help="folder the Debian packages were unpacked into")
    parser.add_argument("--essay-simplified", type=pathlib.Path, required=True,
                        help="essay.txt's word column converted with OpenCC t2s, line by line")
    parser.add_argument("--luna-simplified", type=pathlib.Path, required=True,
                        help="the first column of luna_pinyin.table.txt converted with "
                             "OpenCC t2s, line by line (tools/data/refresh.sh)")
    parser.add_argument("--words", type=pathlib.Path, required=True,
                        help="data/words.txt, the character table")
    parser.add_argument("--out", type=pathlib.Path, required=True,
                        help="data folder to write phrases.txt and pinyin.txt into")
    add_tuning_arguments(parser)
    args = parser.parse_args(argv)

    try:
        tuning_sources = read_tuning_sources(args.tuning) if args.tuning else None
        write_tables(args.sources, args.essay_simplified, args.luna_simplified,
                     read_words_table(args.words), args.out, tuning_sources, args.levers)
    except DataError as error:
        sys.exit(f"phrase_tables.py: {error}")


if __name__ == "__main__":
    main(sys.argv[1:])
