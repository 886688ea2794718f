#!/usr/bin/env python3
"""The text corpus the dictionaries are tuned and measured on.

Modern simplified Chinese from two kinds of Debian package only: the zh_CN
pages of manpages-zh, and the zh_CN message catalogues (.mo) that Debian's
packages ship. The text is cut into sources, and each source belongs to one
of two parts, once and for all (tools/data/corpus_split.txt):

  tuning      may inform weights and phrase choices (phrase_tables.py reads it)
  evaluation  only ever measured (tvime-typing-cost --folder), never read by
              the table scripts

A source is a Debian source package for the catalogues, and one manual page
(its name without the section) for manpages-zh, whose pages were translated
page by page for programs of many source packages.

Subcommands:
  choose  CONTENTS... --packages FILE...
          print the pinned package list, from the archive's Contents files (.gz) and its
          Packages files (decompressed; a later file, updates or security, wins)
  split   --packages PINNED --manpages ROOT
          print the split (run once: the split never changes)
  build   --debs ROOT --pinned PINNED --split SPLIT --out DIR
          write DIR/<part>/<source>.txt from the packages unpacked one per folder in ROOT
"""

import argparse
import gettext
import gzip
import hashlib
import os
import re
import sys

MO_PATH = re.compile(r"^usr/share/locale/zh_CN/LC_MESSAGES/[^/]+\.mo$")
MANPAGE_DIR = "usr/share/man/zh_CN"
# The source column of manpages-zh in the pinned list: its pages are sources of their own.
MANPAGES_PACKAGE = "(pages)"
# Catalogue packages whose smallest binary is larger than this are left out:
# they are mostly artwork or programs, and a refresh downloads every package.
MAX_DEB_BYTES = 2_000_000
# How many catalogue sources the corpus takes, in hash order: enough for a
# stable figure, few enough that a refresh downloads about 100 MB.
CATALOGUE_SOURCES = 240
# One source in four goes to the evaluation part.
EVALUATION_SHARE = 4


def stable_rank(name):
    return hashlib.sha256(name.encode()).hexdigest()


def read_packages_files(paths):
    """Binary package fields by name; a later file (updates, security) wins."""
    packages = {}
    for path in paths:
        with open(path, encoding="utf-8") as f:
            for block in f.read().split("\n\n"):
                fields = {}
                for line in block.split("\n"):
                    m = re.match(r"^([\w-]+): (.*)$", line)
                    if m:
                        fields[m.group(1)] = m.group(2)
                if "Package" in fields:
                    packages[fields["Package"]] = fields
    return packages


def choose(args):
    shipping = set()
    for path in args.contents:
        opener = gzip.open if path.endswith(".gz") else open
        with opener(path, "rt", encoding="utf-8", errors="replace") as f:
            for line in f:
                name, _, owners = line.rstrip("\n").rpartition(" ")
                if MO_PATH.match(name.strip()):
                    shipping.update(o.rsplit("/", 1)[-1] for o in owners.split(","))
    packages = read_packages_files(args.packages)
    by_source = {}
    for name in sorted(shipping):
        fields = packages.get(name)
        if not fields:
            continue
        source = fields.get("Source", name).split(" ")[0]
        candidate = (int(fields["Size"]), name, fields["Version"])
        if source not in by_source or candidate < by_source[source]:
            by_source[source] = candidate
    chosen = [(stable_rank(s), s, c) for s, c in by_source.items() if c[0] <= MAX_DEB_BYTES]
    chosen.sort()
    print("# package=version<TAB>source: the corpus's packages (tools/data/corpus.py choose)")
    manpages = packages["manpages-zh"]
    print(f"manpages-zh={manpages['Version']}\t{MANPAGES_PACKAGE}")
    for _, source, (_, name, version) in sorted(chosen[:CATALOGUE_SOURCES], key=lambda c: c[1]):
        print(f"{name}={version}\t{source}")


def read_pinned(path):
    pinned = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            package, source = line.rstrip("\n").split("\t")
            pinned.append((package, source))
    return pinned


def manpage_source(filename):
    """bash.1.gz and bash-builtins.1.gz are pages bash and bash-builtins."""
    base = filename[:-3] if filename.endswith(".gz") else filename
    return "man-" + base.rsplit(".", 1)[0]


def split(args):
    sources = {source for _, source in read_pinned(args.packages)} - {MANPAGES_PACKAGE}
    for dirpath, _, files in os.walk(os.path.join(args.manpages, MANPAGE_DIR)):
        sources.update(manpage_source(f) for f in files)
    print("# source<TAB>part: written once by tools/data/corpus.py split; never edit a part")
    for source in sorted(sources):
        part = "evaluation" if int(stable_rank(source), 16) % EVALUATION_SHARE == 0 else "tuning"
        print(f"{source}\t{part}")


def catalogue_text(path):
    with open(path, "rb") as f:
        catalog = gettext.GNUTranslations(f)._catalog
    lines = []
    for key, value in catalog.items():
        if key == "" or (isinstance(key, tuple) and key[0] == ""):
            continue  # the header
        lines.append(value)
    # The catalogue's order is a hash table's; sorting keeps the text stable.
    return "\n".join(sorted(lines)) + "\n"


ROFF_ESCAPES = re.compile(r"\\f(\[[^]]*\]|\(..|.)|\\\*(\(..|\[[^]]*\]|.)|\\\(..|\\[&|^%:-]|\\s[-+]?\d")


def manpage_text(data):
    """The words of a roff page: comments and request names dropped, font escapes removed."""
    lines = []
    for line in data.decode("utf-8", "replace").split("\n"):
        if line.startswith(('.\\"', "'\\\"", '.\\}')):
            continue
        if line.startswith((".", "'")):
            line = line[1:].lstrip()
            line = line.split(" ", 1)[1] if " " in line else ""
        line = ROFF_ESCAPES.sub("", line).replace("\\e", "\\")
        if line.strip():
            lines.append(line)
    return "\n".join(lines) + "\n"


def build(args):
    parts = {}
    with open(args.split, encoding="utf-8") as f:
        for line in f:
            if not line.startswith("#") and line.strip():
                source, part = line.rstrip("\n").split("\t")
                parts[source] = part
    texts = {}
    for package_dir in sorted(os.listdir(args.debs)):
        root = os.path.join(args.debs, package_dir)
        source = args.sources.get(package_dir) if args.sources else None
        for dirpath, _, files in os.walk(root):
            rel = os.path.relpath(dirpath, root)
            for name in sorted(files):
                path = os.path.join(dirpath, name)
                if MO_PATH.match(os.path.join(rel, name)) and source:
                    texts.setdefault(source, []).append(catalogue_text(path))
                elif (package_dir == "manpages-zh" and rel.startswith(MANPAGE_DIR)
                      and not os.path.islink(path)):
                    with gzip.open(path) as page:
                        texts.setdefault(manpage_source(name), []).append(manpage_text(page.read()))
    counts = {"tuning": [0, 0], "evaluation": [0, 0]}
    for source, chunks in sorted(texts.items()):
        part = parts.get(source)
        if part is None:
            sys.exit(f"corpus.py: {source} is not in {args.split}; the split is fixed")
        os.makedirs(os.path.join(args.out, part), exist_ok=True)
        text = "".join(chunks)
        with open(os.path.join(args.out, part, source + ".txt"), "w", encoding="utf-8") as f:
            f.write(text)
        counts[part][0] += 1
        counts[part][1] += sum(1 for c in text if "\u4e00" <= c <= "\u9fa5")
    for part, (sources, hanzi) in counts.items():
        print(f"{part}: {sources} sources, {hanzi} hanzi")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    sub = parser.add_subparsers(dest="command", required=True)
    p = sub.add_parser("choose")
    p.add_argument("contents", nargs="+")
    p.add_argument("--packages", nargs="+", required=True)
    p = sub.add_parser("split")
    p.add_argument("--packages", required=True)
    p.add_argument("--manpages", required=True)
    p = sub.add_parser("build")
    p.add_argument("--debs", required=True, help="one unpacked folder per package name")
    p.add_argument("--pinned", required=True)
    p.add_argument("--split", required=True)
    p.add_argument("--out", required=True)
    args = parser.parse_args()
    if args.command == "choose":
        choose(args)
    elif args.command == "split":
        split(args)
    else:
        args.sources = {p.split("=")[0]: s for p, s in read_pinned(args.pinned)}
        build(args)


if __name__ == "__main__":
    main()
