#!/usr/bin/env python3
"""Draws the panels' artwork into resources/artwork/.

A maintainer script: the build uses the checked-in files and never runs it. Everything is drawn
here from simple shapes and from fonts in Debian packages, so the pictures can be changed by
editing these files and running this one again:

    scripts/install-deps.sh --artwork                # once: the packages it draws with
    python3 tools/artwork/make_artwork.py            # draws into resources/artwork/
    python3 tools/artwork/make_artwork.py --check    # also draws twice and compares the bytes

The drawing is split by what it draws: stroke_art.py (stroke buttons, glyphs and hints),
button_art.py (symbol, bar and status buttons, the capitals key), panel_art.py (background and
radicals) and brand_art.py (banner, program icons, move cursor), over drawing.py (masks, shapes,
text, pictures) and artwork_common.py (paths, fonts, colours, file writers).

Shapes are rasterised here, in plain Python, with 6 x 6 samples a pixel, so every line lands
where it is meant to and the output does not depend on a drawing library's version. ImageMagick
does what Python's standard library cannot: it turns text into glyph coverage (through FreeType
and fontconfig) and writes the BMP files. The icon and cursor containers are written here, as
they are a few dozen bytes of headers.

Bitmaps with a transparent colour are drawn by the program with TransparentBlt, which keys out
one exact colour. An icon anti-aliased against that colour would keep a pink or white fringe, so
such pictures are anti-aliased against a neutral light colour (the colour they are shown on) and
only pixels that the ink hardly touches become the key colour.
"""

import argparse
import hashlib
import shutil
import sys
import tempfile
from pathlib import Path

sys.dont_write_bytecode = True  # leave no __pycache__ beside the scripts
from artwork_common import OUT_DIR, check_fonts, check_packages  # noqa: E402
from drawing import forget_text  # noqa: E402
from brand_art import (  # noqa: E402
    bmp167_licence_banner, write_move_cursor, write_program_icons,
)
from stroke_art import (  # noqa: E402
    bmp102_stroke_icons, bmp113_stroke_glyphs, bmp168_stroke_hints,
)
from button_art import (  # noqa: E402
    bmp103_status_buttons, bmp107_bar_icons, bmp112_symbol_icons, bmp116_capitals_key,
)
from panel_art import bmp114_radical_icons, bmp115_background  # noqa: E402

# ---------------------------------------------------------------------------------------------
# Main


def generate(out_dir):
    """Draws every file into out_dir; returns their names."""
    out_dir.mkdir(parents=True, exist_ok=True)
    background = bmp115_background(out_dir)
    bmp102_stroke_icons(out_dir)
    bmp103_status_buttons(out_dir)
    bmp107_bar_icons(out_dir)
    bmp112_symbol_icons(out_dir)
    bmp113_stroke_glyphs(out_dir)
    bmp114_radical_icons(out_dir)
    bmp116_capitals_key(out_dir, background)
    bmp167_licence_banner(out_dir)
    bmp168_stroke_hints(out_dir)
    write_program_icons(out_dir)
    write_move_cursor(out_dir)
    return sorted(p.name for p in out_dir.iterdir() if p.suffix in (".bmp", ".ico", ".cur"))


def digests(directory, names):
    return {name: hashlib.sha256((directory / name).read_bytes()).hexdigest() for name in names}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=Path, default=OUT_DIR, help="where to write the files")
    parser.add_argument("--check", action="store_true",
                        help="draw a second time into a scratch folder and compare the bytes")
    args = parser.parse_args()
    check_packages()
    check_fonts()
    names = generate(args.out)
    for name in names:
        print(f"{args.out / name}: {(args.out / name).stat().st_size} bytes")
    if args.check:
        scratch = Path(tempfile.mkdtemp(prefix="artwork-check-"))
        try:
            forget_text()
            again = generate(scratch)
            first, second = digests(args.out, names), digests(scratch, again)
            if names != again or first != second:
                sys.exit("a second run gave different files: "
                         + " ".join(n for n in names if first.get(n) != second.get(n)))
            print("second run: byte-identical")
        finally:
            shutil.rmtree(scratch)


if __name__ == "__main__":
    main()
