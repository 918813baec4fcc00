#!/usr/bin/env python3
"""Build the program icon from its pixel design in mainicon.txt.

Writes resources/mainicon.ico (the MAINICON resource linked into the Windows
executable) and the hicolor PNGs and scalable SVG installed with the Linux build.

The .ico holds a single 32x32 16-colour image with the standard Windows
palette. That is the one format every Windows shell, resource compiler and
icon viewer since Windows 3.x reads the same way, and with the fixed palette
the design file maps to it one character per pixel with nothing to
quantise. Every pixel is opaque, so the AND mask is all zero.

Only the standard library is used, and nothing that varies between runs
(time, dict order, file system order) reaches the output, so re-running the
script over an unchanged design gives identical files. The PNG bytes also
depend on the zlib in use; tests/data/check_icon.py therefore compares the
decoded PNG pixels with the design rather than the compressed bytes.

The SVG draws the same pixels as squares with crisp edges, so that a desktop
that prefers scalable icons shows the design itself and not a blurred bitmap.

Usage: make-icon.py [--design FILE] [--ico FILE] [--png-dir DIR]

--png-dir is the hicolor folder: the PNGs go to NxN/apps, the SVG to scalable/apps.
"""

import argparse
import os
import re
import struct
import sys
import zlib

SIZE = 32

# Order matters: a pixel's value in the .ico is its index here.
PALETTE = (
    ("black", (0, 0, 0)),
    ("maroon", (128, 0, 0)),
    ("green", (0, 128, 0)),
    ("olive", (128, 128, 0)),
    ("navy", (0, 0, 128)),
    ("purple", (128, 0, 128)),
    ("teal", (0, 128, 128)),
    ("grey", (128, 128, 128)),
    ("silver", (192, 192, 192)),
    ("red", (255, 0, 0)),
    ("lime", (0, 255, 0)),
    ("yellow", (255, 255, 0)),
    ("blue", (0, 0, 255)),
    ("fuchsia", (255, 0, 255)),
    ("aqua", (0, 255, 255)),
    ("white", (255, 255, 255)),
)
COLOUR_INDEX = {name: i for i, (name, _) in enumerate(PALETTE)}

PNG_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)

_LEGEND = re.compile(r"^#\s*(\S)\s*=\s*(\S+)\s*$")


class DesignError(ValueError):
    """The design text cannot be turned into an icon."""


def parse_design(text):
    """Return the design as SIZE rows of SIZE palette indices, top row first.

    Lines starting with '#' are comments; those of the form '# c = name'
    bind the character c to a palette colour. Blank lines are ignored. Every
    other line is a row of pixels. Anything malformed is rejected rather than
    guessed at, since a silently shifted row would still produce a
    plausible-looking icon.
    """
    legend = {}
    rows = []
    for lineno, line in enumerate(text.splitlines(), 1):
        if line.startswith("#"):
            m = _LEGEND.match(line)
            if not m:
                continue
            char, name = m.group(1), m.group(2).lower()
            if char == "#":
                raise DesignError(f"line {lineno}: '#' starts a comment and cannot be a pixel")
            if name not in COLOUR_INDEX:
                raise DesignError(f"line {lineno}: unknown colour {name!r}")
            if char in legend and legend[char] != COLOUR_INDEX[name]:
                raise DesignError(f"line {lineno}: {char!r} is already {PALETTE[legend[char]][0]}")
            legend[char] = COLOUR_INDEX[name]
            continue
        if not line.strip():
            continue
        if len(rows) == SIZE:
            raise DesignError(f"line {lineno}: more than {SIZE} pixel rows")
        if len(line) != SIZE:
            raise DesignError(f"line {lineno}: {len(line)} pixels, expected {SIZE}")
        row = []
        for col, char in enumerate(line, 1):
            if char not in legend:
                raise DesignError(f"line {lineno}, column {col}: {char!r} is not in the legend")
            row.append(legend[char])
        rows.append(row)
    if len(rows) != SIZE:
        raise DesignError(f"{len(rows)} pixel rows, expected {SIZE}")
    return rows


def build_ico(pixels):
    """Return the bytes of a one-image 32x32 4-bit .ico for the given rows."""
    height = len(pixels)
    width = len(pixels[0])
    if (width, height) != (SIZE, SIZE):
        raise ValueError("the icon is 32x32")

    # 4-bit rows are padded to 32 bits; at 32 pixels that is exactly 16 bytes.
    xor_stride = width // 2
    and_stride = ((width + 31) // 32) * 4
    xor_size = xor_stride * height
    and_size = and_stride * height

    header = struct.pack(
        "<IiiHHIIiiII",
        40,              # biSize
        width,
        height * 2,      # XOR and AND bitmaps stacked, as icons require
        1,               # planes
        4,               # bits per pixel
        0,               # BI_RGB
        xor_size + and_size,
        0, 0,            # resolution: unused for icons
        0, 0,            # colours used / important: 0 means all 16
    )
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)

    xor = bytearray()
    for row in reversed(pixels):  # DIBs are stored bottom row first
        for x in range(0, width, 2):
            xor.append((row[x] << 4) | row[x + 1])
    and_mask = bytes(and_size)  # every pixel opaque

    image = header + palette + bytes(xor) + and_mask
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack(
        "<BBBBHHII",
        width, height,
        16,              # colours in the palette
        0,
        1, 4,            # planes, bits per pixel
        len(image),
        len(icondir) + 16,
    )
    return icondir + entry + image


def _png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def scale_nearest(pixels, size):
    """Nearest-neighbour resample: hard pixel edges, no colours outside the palette."""
    src = len(pixels)
    return [[pixels[y * src // size][x * src // size] for x in range(size)] for y in range(size)]


def build_png(pixels, size):
    """Return an indexed-colour PNG of the design scaled to size x size."""
    scaled = scale_nearest(pixels, size)
    raw = b"".join(b"\x00" + bytes(row) for row in scaled)
    ihdr = struct.pack(">IIBBBBB", size, size, 8, 3, 0, 0, 0)
    plte = b"".join(bytes(rgb) for _, rgb in PALETTE)
    return (
        b"\x89PNG\r\n\x1a\n"
        + _png_chunk(b"IHDR", ihdr)
        + _png_chunk(b"PLTE", plte)
        + _png_chunk(b"IDAT", zlib.compress(raw, 9))
        + _png_chunk(b"IEND", b"")
    )


def build_svg(pixels):
    """Return an SVG of the design, one rectangle per run of one colour in a row.

    A rectangle per pixel would do, but runs keep the file small enough to read.
    crispEdges stops renderers from blending neighbouring runs into colours
    that are not in the palette.
    """
    size = len(pixels)
    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
        f'viewBox="0 0 {size} {size}" shape-rendering="crispEdges">',
    ]
    for y, row in enumerate(pixels):
        x = 0
        while x < len(row):
            end = x
            while end < len(row) and row[end] == row[x]:
                end += 1
            r, g, b = PALETTE[row[x]][1]
            lines.append(f'<rect x="{x}" y="{y}" width="{end - x}" height="1" '
                         f'fill="#{r:02x}{g:02x}{b:02x}"/>')
            x = end
    lines.append("</svg>")
    return ("\n".join(lines) + "\n").encode("ascii")


def png_path(png_dir, size):
    return os.path.join(png_dir, f"{size}x{size}", "apps", "korvel.png")


def svg_path(png_dir):
    return os.path.join(png_dir, "scalable", "apps", "korvel.svg")


def _write(path, data):
    # Write beside the target and rename, so an interrupted run never leaves
    # a truncated icon that would still be picked up by the build.
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def main(argv=None):
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--design", default=os.path.join(here, "mainicon.txt"))
    ap.add_argument("--ico", default=os.path.join(os.path.dirname(here), "mainicon.ico"))
    ap.add_argument("--png-dir", default=os.path.join(here, "hicolor"))
    args = ap.parse_args(argv)

    with open(args.design, encoding="utf-8") as f:
        try:
            pixels = parse_design(f.read())
        except DesignError as e:
            print(f"{args.design}: {e}", file=sys.stderr)
            return 1

    ico = build_ico(pixels)
    _write(args.ico, ico)
    print(f"wrote {args.ico} ({len(ico)} bytes)")
    for size in PNG_SIZES:
        path = png_path(args.png_dir, size)
        _write(path, build_png(pixels, size))
        print(f"wrote {path}")
    path = svg_path(args.png_dir)
    _write(path, build_svg(pixels))
    print(f"wrote {path}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
