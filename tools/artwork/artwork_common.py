"""What every part of the artwork shares: paths, fonts, colours, the check that the drawing tools
are there, and the writers of BMP, icon and cursor files."""

import re
import struct
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
OUT_DIR = ROOT / "resources" / "artwork"

# The product's name, as the programs spell it.
PRODUCT_NAME = re.search(r'^#define TVIME_PRODUCT_NAME "(.*)"$',
                         (ROOT / "base" / "product_title.h").read_text(encoding="utf-8"),
                         re.MULTILINE).group(1)
CONVERT = "/usr/bin/convert"

# Debian packages the script draws with: ImageMagick for text and BMP output, the CJK and Latin
# outline fonts, and WenQuanYi's bitmap song face for crisp small text.
# scripts/install-deps.sh --artwork installs them; this script only checks.
PACKAGES = ("imagemagick", "fontconfig", "fonts-noto-cjk", "xfonts-wqy", "fonts-dejavu-core")

# Fonts, by ImageMagick's name (its fontconfig list picks the right face of a .ttc) or by file.
CJK_BOLD = "Noto-Sans-CJK-SC-Bold"
LATIN_BOLD = "DejaVu-Sans-Bold"
# WenQuanYi Bitmap Song at 15 px (the program's hint size), for the hint rows: a bitmap face,
# so small text is sharp; FreeType renders it only at its strike size, given here with it.
# Small text at the larger scales, where the bitmap face of HINT_FACE has no size.
SCALED_TEXT_FONT = "Noto-Sans-CJK-SC"
HINT_FACE = ("/usr/share/fonts/X11/misc/wenquanyi_11pt.pcf", 15)

# ---------------------------------------------------------------------------------------------
# Colours: a calm light theme. One table, so every picture agrees on what "panel" or "ink" is.

PANEL = (226, 232, 240)  # the panel's soft blue-grey
PANEL_TOP, PANEL_BOTTOM = (236, 240, 246), (222, 229, 238)  # its gentle top-to-bottom shading
PANEL_EDGE = (122, 140, 168)  # the panel's outer border
PANEL_LIGHT = (244, 247, 250)  # the inner highlight along the top and left
RAIL_TOP, RAIL_BOTTOM = (218, 226, 237), (204, 214, 228)  # the darker rail behind the buttons
RAIL_EDGE = (188, 199, 214)
FIELD = (255, 255, 255)  # candidate area and composition line
FIELD_EDGE = (170, 184, 204)
WELL = (238, 242, 247)  # the stroke and symbol button areas
WELL_EDGE = (190, 201, 216)
HINT = (245, 247, 250)  # the hint strip
INK = (28, 46, 92)  # icon strokes: dark blue
TEXT = (22, 28, 40)  # text: near black
ACCENT = (40, 84, 170)  # brighter blue for marks and "on" states
ACCENT_DARK = (24, 52, 118)
WHITE = (255, 255, 255)
MAGENTA = (255, 0, 255)

# What pictures keyed with TransparentBlt are anti-aliased against: a colour between those they
# are shown on. Button icons sit on the wells, the rail and the hover highlight (181,189,214);
# radicals on white cells and the same highlight; stroke glyphs on the white composition line
# and the hint strip.
ICON_AA = (208, 215, 230)
RADICAL_AA = (228, 233, 241)
LIGHT_AA = (242, 245, 249)

SS = 6  # samples per pixel along each axis when rasterising shapes


# ---------------------------------------------------------------------------------------------
# Setup


def check_packages():
    """Stops early, naming them, when a package the drawing needs is missing.

    The script installs nothing: scripts/install-deps.sh --artwork installs these packages.
    """
    missing = []
    for package in PACKAGES:
        status = subprocess.run(
            ["dpkg-query", "-W", "-f=${Status}", package], capture_output=True, text=True
        ).stdout
        if "install ok installed" not in status:
            missing.append(package)
    if missing:
        sys.exit("missing packages (scripts/install-deps.sh --artwork installs them): "
                 + " ".join(missing))

def check_fonts():
    """Stops early, with a clear message, when ImageMagick cannot see a font by its name."""
    listing = subprocess.run([CONVERT, "-list", "font"], capture_output=True, text=True).stdout
    for name in (CJK_BOLD, LATIN_BOLD):
        if f"Font: {name}\n" not in listing:
            sys.exit(f"ImageMagick does not list the font {name}")
    if not Path(HINT_FACE[0]).exists():
        sys.exit(f"missing font file {HINT_FACE[0]}")


def font_has(family, char):
    """True when fontconfig says the family covers the character (Radicals Supplement forms)."""
    listing = subprocess.run(
        ["fc-list", f":charset={ord(char):x}", "family"], capture_output=True, text=True
    ).stdout
    return any(family in line for line in listing.splitlines())


# ---------------------------------------------------------------------------------------------
# Writers


def write_bmp(path, w, h, rgb):
    """Writes an uncompressed 24-bit bottom-up BMP (BMP3) through ImageMagick and checks it.

    BMP3 carries no time stamp or comment, so the same pixels give the same bytes.
    """
    subprocess.run([CONVERT, "-size", f"{w}x{h}", "-depth", "8", "rgb:-", "-type", "TrueColor",
                    f"BMP3:{path}"], input=rgb, check=True)
    data = Path(path).read_bytes()
    assert data[:2] == b"BM"
    header_size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    assert (header_size, width, height, planes, bits, compression) == (40, w, h, 1, 24, 0), path


def _dib_entry(rgba, size):
    """The image of one icon or cursor entry: a 32-bit BGRA DIB (bottom-up) and its AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row_mask = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = rgba[(y * size + x) * 4:(y * size + x) * 4 + 4]
            pixels += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    return header + bytes(pixels) + bytes(mask)


def write_icon_file(path, images, kind=1, hotspot=(0, 0)):
    """Writes an .ico (kind 1) or .cur (kind 2) holding square RGBA images.

    `images` is a list of (size, rgba bytes). A cursor entry stores its hotspot where an icon
    entry stores planes and bit count.
    """
    entries = [(size, _dib_entry(rgba, size)) for size, rgba in images]
    out = bytearray(struct.pack("<HHH", 0, kind, len(entries)))
    offset = 6 + 16 * len(entries)
    for size, data in entries:
        a, b = (1, 32) if kind == 1 else hotspot
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, a, b, len(data), offset)
        offset += len(data)
    for _, data in entries:
        out += data
    Path(path).write_bytes(bytes(out))
