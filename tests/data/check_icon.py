#!/usr/bin/env python3
"""Checks resources/mainicon.ico, the hicolor PNGs and the SVG against their design.

The .ico is read here with its own decoder instead of the generator's code,
so a fault in make-icon.py (rows upside down, nibbles swapped, palette out of
order) shows up as a mismatch rather than being reproduced faithfully. The
generator is then used to confirm that the committed files are exactly what
resources/icon/mainicon.txt produces today.

Usage: check_icon.py [REPO_ROOT] [unittest options]   (or set KORVEL_ROOT)
"""

import os
import struct
import subprocess
import sys
import tempfile
import types
import unittest
import xml.etree.ElementTree as ElementTree
import zlib

ROOT = None

# The standard 16-colour Windows palette, in index order.
WINDOWS_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (128, 128, 128),
    (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
PNG_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def load_generator():
    path = os.path.join(ROOT, "resources", "icon", "make-icon.py")
    # The file name has a hyphen, so it cannot be imported by name.
    module = types.ModuleType("make_icon")
    module.__file__ = path
    with open(path, encoding="utf-8") as f:
        exec(compile(f.read(), path, "exec"), module.__dict__)
    return module


def read_ico(data):
    """Decode a one-image 32x32 4-bit .ico into its parts.

    Returns a dict with the raw header fields, the palette as RGB triples,
    the pixels as 32 top-down rows of palette indices, and the AND mask.
    """
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    entry = struct.unpack_from("<BBBBHHII", data, 6)
    offset, size = entry[7], entry[6]
    image = data[offset:offset + size]
    header = struct.unpack_from("<IiiHHIIiiII", image, 0)
    palette_raw = image[40:40 + 64]
    palette = [(palette_raw[i + 2], palette_raw[i + 1], palette_raw[i]) for i in range(0, 64, 4)]
    palette_pad = [palette_raw[i + 3] for i in range(0, 64, 4)]
    xor = image[104:104 + 512]
    mask = image[104 + 512:]
    rows = []
    for stored in range(32):
        line = xor[stored * 16:(stored + 1) * 16]
        pixels = []
        for byte in line:
            pixels += [byte >> 4, byte & 0x0F]
        rows.append(pixels)
    rows.reverse()  # stored bottom row first
    return {
        "icondir": (reserved, kind, count),
        "entry": entry,
        "header": header,
        "palette": palette,
        "palette_pad": palette_pad,
        "pixels": rows,
        "xor_size": len(xor),
        "mask": mask,
    }


def read_png(data):
    """Return (width, height, rows of RGB triples, chunk names) of an 8-bit PNG."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, chunks, idat, palette = 8, [], b"", None
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack_from(">I", data, pos + 8 + length)
        if zlib.crc32(kind + body) != crc:
            raise ValueError(f"bad CRC on {kind!r}")
        chunks.append(kind)
        if kind == b"IHDR":
            width, height, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    if depth != 8 or interlace or ctype not in (2, 3):
        raise ValueError(f"unsupported PNG: depth {depth}, colour type {ctype}")
    bpp = 3 if ctype == 2 else 1
    stride = width * bpp
    raw = zlib.decompress(idat)
    prev = bytearray(stride)
    rows = []
    for y in range(height):
        ftype = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ftype == 1:
                line[i] = (line[i] + a) & 0xFF
            elif ftype == 2:
                line[i] = (line[i] + b) & 0xFF
            elif ftype == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
        if ctype == 3:
            rows.append([palette[v] for v in line])
        else:
            rows.append([tuple(line[i:i + 3]) for i in range(0, stride, 3)])
        prev = line
    return width, height, rows, chunks


SVG_NS = "{http://www.w3.org/2000/svg}"


def read_svg(data):
    """Paint an SVG of axis-aligned rectangles onto a grid of RGB triples.

    Returns (root attributes, grid, problems). A cell painted twice, a
    rectangle off the grid or at a fractional position, or anything but a
    plain filled rectangle is a problem: such an icon would not show exactly
    the pixels of the design.
    """
    root = ElementTree.fromstring(data)
    if root.tag != SVG_NS + "svg":
        raise ValueError(f"root element is {root.tag}")
    size = int(root.get("width"))
    grid = [[None] * size for _ in range(size)]
    problems = []
    for element in root:
        if element.tag != SVG_NS + "rect":
            problems.append(f"unexpected element {element.tag}")
            continue
        extra = set(element.keys()) - {"x", "y", "width", "height", "fill"}
        if extra:
            problems.append(f"rect with {sorted(extra)}")
        try:
            x, y, w, h = (int(element.get(k)) for k in ("x", "y", "width", "height"))
        except (TypeError, ValueError):
            problems.append(f"rect not on whole pixels: {element.attrib}")
            continue
        fill = element.get("fill", "")
        if len(fill) != 7 or not fill.startswith("#"):
            problems.append(f"fill {fill!r}")
            continue
        rgb = tuple(int(fill[i:i + 2], 16) for i in (1, 3, 5))
        if w <= 0 or h <= 0 or x < 0 or y < 0 or x + w > size or y + h > size:
            problems.append(f"rect off the grid: {element.attrib}")
            continue
        for row in range(y, y + h):
            for col in range(x, x + w):
                if grid[row][col] is not None:
                    problems.append(f"pixel ({col}, {row}) painted twice")
                grid[row][col] = rgb
    return dict(root.attrib), grid, problems


class CommittedIcon(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.path = os.path.join(ROOT, "resources", "mainicon.ico")
        with open(cls.path, "rb") as f:
            cls.data = f.read()
        cls.ico = read_ico(cls.data)
        cls.gen = load_generator()
        with open(os.path.join(ROOT, "resources", "icon", "mainicon.txt"), encoding="utf-8") as f:
            cls.design = cls.gen.parse_design(f.read())

    def test_container(self):
        self.assertEqual(len(self.data), 766)
        self.assertEqual(self.ico["icondir"], (0, 1, 1))
        # width, height, colours, reserved, planes, bit count, bytes, offset
        self.assertEqual(self.ico["entry"], (32, 32, 16, 0, 1, 4, 744, 22))

    def test_bitmap_header(self):
        # size, width, doubled height, planes, bpp, BI_RGB, image size, then zeros
        self.assertEqual(self.ico["header"], (40, 32, 64, 1, 4, 0, 640, 0, 0, 0, 0))
        self.assertEqual(self.ico["xor_size"], 512)

    def test_palette_is_the_standard_windows_one(self):
        self.assertEqual(self.ico["palette"], WINDOWS_PALETTE)
        self.assertEqual(self.ico["palette_pad"], [0] * 16)

    def test_every_pixel_is_opaque(self):
        self.assertEqual(len(self.ico["mask"]), 128)
        self.assertEqual(self.ico["mask"], bytes(128))

    def test_pixels_match_the_design(self):
        pixels = self.ico["pixels"]
        self.assertEqual(sum(len(row) for row in pixels), 32 * 32)
        for y, (got, want) in enumerate(zip(pixels, self.design)):
            self.assertEqual(got, want, f"row {y} (counted from the top)")

    def test_generator_reproduces_the_committed_file(self):
        self.assertEqual(self.gen.build_ico(self.design), self.data,
                         "mainicon.ico is stale: run resources/icon/make-icon.py")

    def test_pngs_match_the_design(self):
        for size in PNG_SIZES:
            with self.subTest(size=size):
                path = os.path.join(ROOT, "resources", "icon", "hicolor",
                                    f"{size}x{size}", "apps", "korvel.png")
                with open(path, "rb") as f:
                    width, height, rows, chunks = read_png(f.read())
                self.assertEqual((width, height), (size, size))
                self.assertNotIn(b"tRNS", chunks, "PNG carries transparency")
                for y in range(size):
                    want = [WINDOWS_PALETTE[self.design[y * 32 // size][x * 32 // size]]
                            for x in range(size)]
                    self.assertEqual(rows[y], want,
                                     f"{size}px row {y} differs: run resources/icon/make-icon.py")

    def test_svg_matches_the_design(self):
        path = os.path.join(ROOT, "resources", "icon", "hicolor", "scalable", "apps", "korvel.svg")
        with open(path, "rb") as f:
            data = f.read()
        attributes, grid, problems = read_svg(data)
        self.assertEqual(problems, [])
        self.assertEqual(attributes.get("viewBox"), "0 0 32 32")
        self.assertEqual(attributes.get("shape-rendering"), "crispEdges",
                         "without crisp edges neighbouring pixels blur together")
        for y in range(32):
            want = [WINDOWS_PALETTE[index] for index in self.design[y]]
            self.assertEqual(grid[y], want, f"SVG row {y} differs: run resources/icon/make-icon.py")
        self.assertEqual(self.gen.build_svg(self.design), data,
                         "korvel.svg is stale: run resources/icon/make-icon.py")

    def test_script_output_is_repeatable(self):
        script = os.path.join(ROOT, "resources", "icon", "make-icon.py")
        runs = []
        for _ in range(2):
            with tempfile.TemporaryDirectory() as tmp:
                ico = os.path.join(tmp, "mainicon.ico")
                subprocess.run([sys.executable, script, "--ico", ico, "--png-dir", tmp],
                               check=True, capture_output=True)
                files = {}
                for base, _, names in os.walk(tmp):
                    for name in names:
                        full = os.path.join(base, name)
                        with open(full, "rb") as f:
                            files[os.path.relpath(full, tmp)] = f.read()
                runs.append(files)
        self.assertEqual(runs[0], runs[1])
        self.assertEqual(runs[0]["mainicon.ico"], self.data)
        self.assertEqual(len([n for n in runs[0] if n.endswith("korvel.png")]), len(PNG_SIZES))
        self.assertIn(os.path.join("scalable", "apps", "korvel.svg"), runs[0])
        self.assertFalse([n for n in runs[0] if n.endswith(".tmp")], "temporary files left behind")


LEGEND = "# . = black\n# w = white\n# r = red\n# b = blue\n# y = yellow\n"


def fixture(rows=None):
    """A 32x32 design, white apart from any (x, y, char) overrides."""
    grid = [["w"] * 32 for _ in range(32)]
    for x, y, char in rows or ():
        grid[y][x] = char
    return LEGEND + "\n".join("".join(r) for r in grid) + "\n"


class DesignReading(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.gen = load_generator()

    def test_corners_land_where_drawn(self):
        # Distinct colours in three corners and one off-centre pixel tell
        # apart a vertical flip, a horizontal flip and swapped nibbles.
        text = fixture([(0, 0, "r"), (31, 0, "b"), (0, 31, "y"), (1, 2, ".")])
        ico = read_ico(self.gen.build_ico(self.gen.parse_design(text)))
        red, blue, yellow, black, white = 9, 12, 11, 0, 15
        pixels = ico["pixels"]
        self.assertEqual(pixels[0][0], red)
        self.assertEqual(pixels[0][31], blue)
        self.assertEqual(pixels[31][0], yellow)
        self.assertEqual(pixels[2][1], black)
        self.assertEqual(pixels[2][0], white)
        self.assertEqual(pixels[31][31], white)

    def test_svg_draws_every_pixel_where_drawn(self):
        # Corners tell flips apart; a row of alternating colours and runs that reach the
        # right edge catch runs merged too far or cut short.
        marks = [(0, 0, "r"), (31, 0, "b"), (0, 31, "y"), (1, 2, ".")]
        marks += [(x, 5, "r" if x % 2 else "b") for x in range(32)]
        marks += [(x, 9, "y") for x in range(20, 32)]
        pixels = self.gen.parse_design(fixture(marks))
        _, grid, problems = read_svg(self.gen.build_svg(pixels))
        self.assertEqual(problems, [])
        for y in range(32):
            self.assertEqual(grid[y], [WINDOWS_PALETTE[i] for i in pixels[y]], f"row {y}")

    def test_line_endings_and_comments_do_not_change_the_result(self):
        text = fixture([(5, 7, "r")])
        variants = {
            "CRLF": text.replace("\n", "\r\n"),
            "blank lines and notes": "# a note about the design\n\n" + text.replace("\n", "\n\n", 3),
        }
        plain = self.gen.parse_design(text)
        for name, variant in variants.items():
            with self.subTest(name):
                self.assertEqual(self.gen.parse_design(variant), plain)

    def test_malformed_designs_are_rejected(self):
        good = fixture().splitlines()
        header, rows = good[:5], good[5:]
        cases = {
            "31 rows": header + rows[:31],
            "33 rows": header + rows + [rows[0]],
            "short row": header + rows[:3] + [rows[3][:31]] + rows[4:],
            "long row": header + rows[:3] + [rows[3] + "w"] + rows[4:],
            "trailing space": header + rows[:3] + [rows[3] + " "] + rows[4:],
            "character not in legend": header + rows[:3] + ["z" + rows[3][1:]] + rows[4:],
            "unknown colour name": ["# q = mauve"] + header + rows,
            "character given two colours": ["# w = black"] + header + rows,
            "no legend": rows,
        }
        for name, lines in cases.items():
            with self.subTest(name):
                with self.assertRaises(self.gen.DesignError):
                    self.gen.parse_design("\n".join(lines) + "\n")

    def test_rejected_design_leaves_outputs_alone(self):
        script = os.path.join(ROOT, "resources", "icon", "make-icon.py")
        with tempfile.TemporaryDirectory() as tmp:
            design = os.path.join(tmp, "bad.txt")
            with open(design, "w", encoding="utf-8") as f:
                f.write(fixture()[:-40])
            ico = os.path.join(tmp, "mainicon.ico")
            result = subprocess.run([sys.executable, script, "--design", design, "--ico", ico,
                                     "--png-dir", tmp], capture_output=True, text=True)
            self.assertNotEqual(result.returncode, 0)
            self.assertIn("bad.txt", result.stderr)
            self.assertEqual(os.listdir(tmp), ["bad.txt"])


def main():
    global ROOT
    args = [a for a in sys.argv[1:] if not a.startswith("-")]
    options = [a for a in sys.argv[1:] if a.startswith("-")]
    ROOT = args[0] if args else os.environ.get("KORVEL_ROOT") or \
        os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir)
    ROOT = os.path.normpath(ROOT)
    if not os.path.isfile(os.path.join(ROOT, "resources", "mainicon.ico")):
        print(f"check_icon.py: no resources/mainicon.ico under {ROOT}", file=sys.stderr)
        return 2
    program = unittest.main(argv=[sys.argv[0]] + options + args[1:], exit=False)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
