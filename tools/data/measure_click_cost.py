#!/usr/bin/env python3
"""Measure how many mouse clicks characters cost to type with a words table.

Typing a character means clicking stroke buttons until the character shows on
the first candidate page, then clicking the character. This script ranks the
candidates the way the input method does and reports the average number of
clicks per character for

  * the 3,000 most frequent characters by the table's own order, each counted
    once ("3,000 most frequent characters");
  * the running text of each corpus given with --corpus: every hanzi
    occurrence the table holds counts once (other characters are skipped).

It does so for each page size (default 10 and 20) and with the big character
set off (only the common block is searched, so uncommon characters cannot be
typed and are left out of the average; the share left out is shown) and on.

Ranking for a stroke query q, as the input method does it:
  1. Scan the entries in dictionary order (with the big set off, stop at the
     first uncommon entry); an entry matches when its code starts with q; stop
     once 400 matches are collected.
  2. Matches whose code equals q come first, in dictionary order.
  3. The other matches follow, by weight descending; on equal weight a common
     entry before an uncommon one, else dictionary order. At most 400 in all.

Cost of a character: the fewest strokes k (0 to the code's length) after
which it is among the first P candidates of the list for code[:k], plus one
click to pick it. If it is never on the first page, even with the full code,
the cost is len(code) + 1 + position // P (one click per page turn).

A corpus path is a text file or a folder read recursively (symbolic links
are skipped, so a man page linked under several names counts once). Files
ending in .gz are decompressed; files that are not UTF-8 (such as the .dat
indexes of fortune files) are skipped. Lines starting with .\\" or '\\"
(troff comments) are dropped; other markup is ASCII and only hanzi count.

Usage:
  measure_click_cost.py [--words data/words.txt] [--corpus NAME=PATH ...]
                        [--page-sizes 10,20]
"""

import argparse
import bisect
import collections
import gzip
import pathlib
import sys
from typing import NamedTuple

from refresh_data import read_words_table

MAX_CANDIDATES = 400  # the most candidates the input method lists for a query
TOP_CHARACTERS = 3000
DEFAULT_WORDS = pathlib.Path(__file__).resolve().parents[2] / "data" / "words.txt"


# --- reading ---------------------------------------------------------------


def corpus_files(path):
    """List the files of a corpus path: the file itself, or a folder's files, sorted."""
    if path.is_file():
        return [path]
    return sorted(p for p in path.rglob("*") if p.is_file() and not p.is_symlink())


def read_text(path):
    """Return a corpus file's text, or None when it is not UTF-8."""
    data = path.read_bytes()
    if path.suffix == ".gz":
        data = gzip.decompress(data)
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError:
        return None
    lines = text.splitlines()
    return "\n".join(l for l in lines if not l.startswith(('.\\"', "'\\\"")))


def count_corpus_chars(path, known_chars):
    """Count the occurrences of the table's characters in a corpus.

    Returns (Counter of characters, number of files read, number skipped).
    """
    counts = collections.Counter()
    read = skipped = 0
    for file in corpus_files(path):
        text = read_text(file)
        if text is None:
            skipped += 1
            continue
        read += 1
        counts.update(c for c in text if c in known_chars)
    return counts, read, skipped


# --- ranking ---------------------------------------------------------------


class Ranker:
    """Candidate lists for stroke queries over a words table, as the input method ranks them.

    Codes that start with a query form one run in code order, so a query takes
    that run from a code-sorted index instead of scanning every entry; the
    first 400 of the run in dictionary order are the ones the scan collects.
    """

    def __init__(self, entries):
        self.entries = entries
        self.by_code = sorted(range(len(entries)), key=lambda i: entries[i].code)
        self.sorted_codes = [entries[i].code for i in self.by_code]
        self.cache = {}

    def matches(self, query):
        """Indexes of the entries whose code starts with the query, in dictionary order, at most 400."""
        lo = bisect.bisect_left(self.sorted_codes, query)
        hi = bisect.bisect_left(self.sorted_codes, query + "\x7f")
        return sorted(self.by_code[lo:hi])[:MAX_CANDIDATES]

    def positions(self, query):
        """Map each candidate (entry index) for the query to its position from 0."""
        if query not in self.cache:
            found = self.matches(query)
            exact = [i for i in found if self.entries[i].code == query]
            pending = [i for i in found if self.entries[i].code != query]
            pending.sort(key=lambda i: (-self.entries[i].weight, not self.entries[i].common, i))
            ranked = (exact + pending)[:MAX_CANDIDATES]
            self.cache[query] = {index: pos for pos, index in enumerate(ranked)}
        return self.cache[query]

    def cost(self, index, page_size):
        """Clicks to type the entry: strokes until it shows on the first page, plus the pick.

        Returns None when even the full code does not list it (more than 400
        earlier entries share the code's start).
        """
        code = self.entries[index].code
        for k in range(len(code) + 1):
            position = self.positions(code[:k]).get(index)
            if position is not None and position < page_size:
                return k + 1
        position = self.positions(code).get(index)
        if position is None:
            return None
        return len(code) + 1 + position // page_size


def common_block(entries):
    """The entries the search covers with the big set off: the leading run of common entries."""
    end = next((i for i, e in enumerate(entries) if not e.common), len(entries))
    return entries[:end]


# --- measuring -------------------------------------------------------------


class Result(NamedTuple):
    """Average clicks over a set of characters and how much of it could be measured."""

    average: float
    typable_share: float  # share of the occurrences the search can list at all


def average_cost(ranker, index_of, char_counts, page_size):
    """Average clicks per occurrence over the characters the ranker's table holds."""
    total = clicks = typable = 0
    for char, n in char_counts.items():
        total += n
        index = index_of.get(char)
        cost = None if index is None else ranker.cost(index, page_size)
        if cost is not None:
            clicks += cost * n
            typable += n
    return Result(clicks / typable if typable else float("nan"), typable / total)


def measure(entries, samples, page_sizes):
    """Measure every sample for each page size, big set off and on.

    samples maps a name to a Counter of characters. Returns
    {(name, page size, big set on): Result}.
    """
    results = {}
    for big_set in (False, True):
        searched = entries if big_set else common_block(entries)
        ranker = Ranker(searched)
        index_of = {e.char: i for i, e in enumerate(searched)}
        for name, counts in samples.items():
            for page_size in page_sizes:
                results[name, page_size, big_set] = average_cost(ranker, index_of, counts, page_size)
    return results


def print_results(results, samples, page_sizes):
    """Print one row per sample: the averages for each page size, big set off and on.

    The last columns give the share of the occurrences left out of the average
    because the search cannot list them: with the big set off the uncommon
    characters; with it on the few whose code's start more than 400 earlier
    entries share (such as 丨 s or 丶 f).
    """
    columns = [(p, big) for big in (False, True) for p in page_sizes]
    header = "".join(f"  P={p:<2} {'on ' if big else 'off'}" for p, big in columns)
    print(f"{'average clicks per character':<30}{header}  left out: off     on  occurrences")
    for name, counts in samples.items():
        cells = "".join(f"  {results[name, p, big].average:9.3f}" for p, big in columns)
        left_out = "".join(f"  {1 - results[name, page_sizes[0], big].typable_share:7.2%}"
                           for big in (False, True))
        print(f"{name:<30}{cells}       {left_out}  {sum(counts.values())}")


# --- main ------------------------------------------------------------------


def parse_corpus(value):
    """Parse a --corpus value NAME=PATH."""
    name, sep, path = value.partition("=")
    if not sep or not name or not path:
        raise argparse.ArgumentTypeError(f"expected NAME=PATH, got {value!r}")
    return name, pathlib.Path(path)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--words", type=pathlib.Path, default=DEFAULT_WORDS,
                        help="words table to measure (default: data/words.txt)")
    parser.add_argument("--corpus", type=parse_corpus, action="append", default=[],
                        metavar="NAME=PATH", help="running text: a file or a folder; repeatable")
    parser.add_argument("--page-sizes", default="10,20",
                        help="comma-separated candidates per page (default: 10,20)")
    args = parser.parse_args(argv)
    page_sizes = [int(p) for p in args.page_sizes.split(",")]

    entries = read_words_table(args.words)
    samples = {f"{TOP_CHARACTERS} most frequent characters":
               collections.Counter(e.char for e in entries[:TOP_CHARACTERS])}
    known_chars = {e.char for e in entries}
    for name, path in args.corpus:
        counts, read, skipped = count_corpus_chars(path, known_chars)
        if not counts:
            sys.exit(f"measure_click_cost.py: no hanzi of the table in {path}")
        print(f"corpus {name}: {read} files read, {skipped} not UTF-8 skipped, "
              f"{sum(counts.values())} hanzi, {len(counts)} distinct")
        samples[name] = counts

    print(f"table {args.words}: {len(entries)} entries, "
          f"{len(common_block(entries))} in the common block")
    print_results(measure(entries, samples, page_sizes), samples, page_sizes)


if __name__ == "__main__":
    main(sys.argv[1:])
