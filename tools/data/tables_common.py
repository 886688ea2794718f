"""What the table scripts share: their error, the readers of files more than one of them reads,
and the character table as written to data/words.txt.

Imports go one way only: tables_common, then tuning_text, then refresh_data, then phrase_tables
and radical_tables. A script run as a program is loaded as __main__; had a module it uses
imported that script back, it would have loaded a second copy with a DataError of its own, which
the program's `except DataError` does not catch, and a refusal would end in a traceback instead
of the script's one-line message.
"""

import bz2
from typing import NamedTuple

# Every hanzi GBK encodes: 20,902 unified ideographs, 21 compatibility ideographs and 〇.
GBK_HANZI_COUNT = 20924


class DataError(Exception):
    """A source file does not look the way the table scripts expect."""


def require(condition, message):
    """Stop the refresh when the data breaks an expectation (unlike assert, never skipped)."""
    if not condition:
        raise DataError(message)


class CharEntry(NamedTuple):
    """One line of data/words.txt."""

    char: str
    code: str
    common: bool
    weight: int
    readings: tuple


def encodable(text, codec):
    """Tell whether the codec (gbk for code page 936, gb2312) can represent the text."""
    try:
        text.encode(codec)
    except UnicodeEncodeError:
        return False
    return True


def read_unihan(path, fields):
    """Read the given fields of one Unihan file: {field: {char: raw value}}."""
    values = {field: {} for field in fields}
    with bz2.open(path, "rt", encoding="utf-8") as f:
        for line in f:
            if not line.startswith("U+"):
                continue
            codepoint, field, value = line.rstrip("\n").split("\t")
            if field in values:
                values[field][chr(int(codepoint[2:], 16))] = value
    return values


def read_words_table(path):
    """Read data/words.txt back into CharEntry rows, in file order (for the other tables)."""
    entries = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#"):
                continue
            char, code, common, weight, annotation = line.rstrip("\n").split("\t")
            entries.append(CharEntry(char, code, common == "1", int(weight),
                                     tuple(annotation.split())))
    require(len(entries) == GBK_HANZI_COUNT, f"{path} has {len(entries)} characters")
    return entries
