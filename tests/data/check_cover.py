#!/usr/bin/env python3
"""Checks that resources/cover.jpg keeps the plain JPEG layout it is built with.

The cover has to open in every JPEG reader the program may meet, including
minimal baseline-only decoders, so it is held to: JFIF 1.01 APP0 without
physical density or thumbnail, one comment, one baseline frame of 270 x 378
with 4:2:0 sampling, two quantisation and four Huffman tables, no restart
interval and a single interleaved scan. A re-export from an image editor
typically breaks one of these (progressive scans, EXIF with a thumbnail,
4:4:4, 300 dpi) while still looking fine in a viewer, which is why the
markers are read here instead of trusting a decoder.

Usage: check_cover.py [REPO_ROOT | path/to/cover.jpg] [unittest options]
       (or set KORVEL_ROOT). Without either, the repository holding this
       file is used. If djpeg is installed the file is also decoded.
"""

import os
import shutil
import struct
import subprocess
import sys
import unittest

WIDTH, HEIGHT = 270, 378

SOI, EOI, SOS, DQT, DHT, DRI, COM, APP0, DAC = 0xD8, 0xD9, 0xDA, 0xDB, 0xC4, 0xDD, 0xFE, 0xE0, 0xCC
SOF0 = 0xC0
# C0..CF are frame headers apart from DHT, JPG and DAC.
SOF_MARKERS = {m for m in range(0xC0, 0xD0)} - {DHT, 0xC8, DAC}
RST_MARKERS = set(range(0xD0, 0xD8))


class JpegError(ValueError):
    pass


def split_segments(data):
    """Return [(marker, payload)] in file order; a SOS payload is its header.

    The entropy-coded data after each SOS is returned as a pseudo-segment
    with marker None, so the file can be written back unchanged by
    join_segments (the tests below rely on that to build faulty copies).
    """
    if data[:2] != b"\xff\xd8":
        raise JpegError("file does not start with SOI")
    segments = [(SOI, b"")]
    pos = 2
    while True:
        if pos >= len(data):
            raise JpegError("file ends without EOI")
        if data[pos] != 0xFF:
            raise JpegError(f"expected a marker at offset {pos}")
        while pos < len(data) and data[pos] == 0xFF:  # fill bytes
            pos += 1
        if pos >= len(data):
            raise JpegError("file ends inside a marker")
        marker = data[pos]
        pos += 1
        if marker == EOI:
            segments.append((EOI, b""))
            if pos != len(data):
                raise JpegError(f"{len(data) - pos} bytes after EOI")
            return segments
        if marker in RST_MARKERS or marker in (0x00, 0x01, SOI):
            raise JpegError(f"stray marker FF{marker:02X} at offset {pos - 2}")
        if pos + 2 > len(data):
            raise JpegError("file ends inside a segment length")
        (length,) = struct.unpack(">H", data[pos:pos + 2])
        if length < 2 or pos + length > len(data):
            raise JpegError(f"segment FF{marker:02X} at offset {pos - 2} has a bad length")
        segments.append((marker, data[pos + 2:pos + length]))
        pos += length
        if marker == SOS:
            start = pos
            while True:
                if pos + 1 >= len(data):
                    raise JpegError("entropy-coded data runs to the end of the file")
                if data[pos] == 0xFF and data[pos + 1] != 0x00:
                    if data[pos + 1] in RST_MARKERS:
                        pos += 2  # belongs to the scan; problems() reports it
                        continue
                    break  # a marker, possibly after fill bytes
                pos += 1
            segments.append((None, data[start:pos]))


def join_segments(segments):
    out = bytearray()
    for marker, payload in segments:
        if marker is None:
            out += payload
        elif marker in (SOI, EOI):
            out += bytes((0xFF, marker))
        else:
            out += bytes((0xFF, marker)) + struct.pack(">H", len(payload) + 2) + payload
    return bytes(out)


def parse_dqt(payload):
    tables = []
    pos = 0
    while pos < len(payload):
        precision, table_id = payload[pos] >> 4, payload[pos] & 0x0F
        size = 64 * (2 if precision else 1)
        if pos + 1 + size > len(payload):
            raise JpegError("DQT table runs past its segment")
        tables.append((precision, table_id))
        pos += 1 + size
    return tables


def parse_dht(payload):
    tables = []
    pos = 0
    while pos < len(payload):
        if pos + 17 > len(payload):
            raise JpegError("DHT table header runs past its segment")
        table_class, table_id = payload[pos] >> 4, payload[pos] & 0x0F
        count = sum(payload[pos + 1:pos + 17])
        if count == 0 or count > 256 or pos + 17 + count > len(payload):
            raise JpegError("DHT table has a bad symbol count")
        tables.append((table_class, table_id))
        pos += 17 + count
    return tables


def problems(data):
    """Everything about the JPEG bytes that departs from the expected layout."""
    try:
        segments = split_segments(data)
    except JpegError as e:
        return [str(e)]
    found = []
    markers = [m for m, _ in segments if m is not None]
    payloads = [(m, p) for m, p in segments if m is not None]

    # JFIF header, straight after SOI.
    if len(markers) < 2 or markers[1] != APP0:
        found.append("APP0 does not follow SOI")
    app0 = [p for m, p in payloads if m == APP0]
    if len(app0) != 1:
        found.append(f"{len(app0)} APP0 segments, expected 1")
    if app0:
        jfif = app0[0]
        if jfif[:5] != b"JFIF\x00" or len(jfif) < 14:
            found.append("APP0 is not a JFIF header")
        else:
            major, minor, units, xd, yd, xt, yt = struct.unpack(">BBBHHBB", jfif[5:14])
            if (major, minor) != (1, 1):
                found.append(f"JFIF version {major}.{minor:02d}, expected 1.01")
            if units != 0:
                found.append(f"JFIF density units {units}, expected 0")
            if (xd, yd) != (1, 1):
                found.append(f"JFIF density {xd}:{yd}, expected 1:1")
            if (xt, yt) != (0, 0) or len(jfif) != 14:
                found.append("JFIF header carries a thumbnail")
    other_app = sorted({m for m in markers if 0xE1 <= m <= 0xEF})
    if other_app:
        found.append("unexpected APPn segments: " + ", ".join(f"FF{m:02X}" for m in other_app))

    comments = markers.count(COM)
    if comments != 1:
        found.append(f"{comments} COM segments, expected 1")

    if DRI in markers:
        found.append("DRI segment present")
    if DAC in markers:
        found.append("arithmetic coding (DAC) present")

    # Tables: count them inside the segments, since one DQT/DHT may hold several.
    dqt, dht = [], []
    try:
        for m, p in payloads:
            if m == DQT:
                dqt += parse_dqt(p)
            elif m == DHT:
                dht += parse_dht(p)
    except JpegError as e:
        found.append(str(e))
    if len(dqt) != 2 or sorted(t for _, t in dqt) != [0, 1]:
        found.append(f"quantisation tables {dqt}, expected ids 0 and 1")
    if any(precision != 0 for precision, _ in dqt):
        found.append("16-bit quantisation table in a baseline file")
    if sorted(dht) != [(0, 0), (0, 1), (1, 0), (1, 1)]:
        found.append(f"Huffman tables {sorted(dht)}, expected DC0, DC1, AC0, AC1")

    # Frame.
    frames = [(m, p) for m, p in payloads if m in SOF_MARKERS]
    if [m for m, _ in frames] != [SOF0]:
        found.append("frame markers " + ", ".join(f"FF{m:02X}" for m, _ in frames) + ", expected one SOF0")
    components = {}
    if frames and len(frames[0][1]) >= 6:
        sof = frames[0][1]
        precision, height, width, count = struct.unpack(">BHHB", sof[:6])
        if precision != 8:
            found.append(f"sample precision {precision}, expected 8")
        if (width, height) != (WIDTH, HEIGHT):
            found.append(f"size {width}x{height}, expected {WIDTH}x{HEIGHT}")
        if count != 3 or len(sof) != 6 + 3 * count:
            found.append(f"{count} components, expected 3")
        else:
            comps = [sof[6 + 3 * i:9 + 3 * i] for i in range(3)]
            components = {c[0]: i for i, c in enumerate(comps)}
            sampling = [(c[1] >> 4, c[1] & 0x0F) for c in comps]
            if sampling != [(2, 2), (1, 1), (1, 1)]:
                found.append(f"sampling {sampling}, expected 4:2:0")
            y_q, cb_q, cr_q = (c[2] for c in comps)
            if cb_q != cr_q or y_q == cb_q:
                found.append(f"quantisation tables Y={y_q} Cb={cb_q} Cr={cr_q}, "
                             "expected Cb and Cr sharing one and Y using the other")
            defined = {t for _, t in dqt}
            if not {y_q, cb_q, cr_q} <= defined:
                found.append("frame refers to an undefined quantisation table")
            if len(components) != 3:
                found.append("component ids are not distinct")

    # Scan.
    scans = [p for m, p in payloads if m == SOS]
    if len(scans) != 1:
        found.append(f"{len(scans)} scans, expected 1")
    if scans:
        sos = scans[0]
        count = sos[0] if sos else 0
        if count != 3 or len(sos) != 1 + 2 * count + 3:
            found.append(f"scan has {count} components, expected 3 interleaved")
        else:
            ids = [sos[1 + 2 * i] for i in range(3)]
            tables = [(sos[2 + 2 * i] >> 4, sos[2 + 2 * i] & 0x0F) for i in range(3)]
            if components and [components.get(c) for c in ids] != [0, 1, 2]:
                found.append("scan components do not match the frame")
            if tables != [(0, 0), (1, 1), (1, 1)]:
                found.append(f"scan Huffman tables {tables}, expected Y 0/0, Cb and Cr 1/1")
            ss, se, ahal = sos[7], sos[8], sos[9]
            if (ss, se, ahal) != (0, 63, 0):
                found.append(f"scan covers coefficients {ss}..{se}, approximation {ahal:#x}: not sequential")
        position = markers.index(SOS)
        if any(m in (DQT, DHT) for m in markers[position + 1:]):
            found.append("tables defined after the scan")
        data_after = [p for m, p in segments if m is None]
        if not data_after or not data_after[0]:
            found.append("scan has no entropy-coded data")
        elif any(data_after[0].count(bytes((0xFF, m))) for m in RST_MARKERS):
            found.append("restart markers in the scan")

    return found


def _locate_cover(argv):
    target = argv[0] if argv else os.environ.get("KORVEL_ROOT")
    if not target:
        target = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir)
    if os.path.isdir(target):
        target = os.path.join(target, "resources", "cover.jpg")
    return os.path.normpath(target)


COVER = None


class CoverLayout(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(COVER, "rb") as f:
            cls.data = f.read()

    def test_cover_has_expected_layout(self):
        self.assertEqual(problems(self.data), [])

    def test_size_is_plausible_for_a_picture(self):
        # A blank render (missing SVG content, a renderer failure flattened
        # to white) comes out near 2 KB; a quality slip to 100 over 50 KB.
        self.assertTrue(8_000 <= len(self.data) <= 48_000, f"{len(self.data)} bytes")

    @unittest.skipUnless(shutil.which("djpeg"), "djpeg not installed")
    def test_decodes_to_full_size_colour_picture(self):
        result = subprocess.run(["djpeg", "-pnm", COVER], capture_output=True, check=True)
        ppm = result.stdout
        header = ppm.split(b"\n", 3)
        self.assertEqual(header[0], b"P6", "decoded as greyscale or not at all")
        self.assertEqual(header[1].split(), [b"%d" % WIDTH, b"%d" % HEIGHT])
        self.assertEqual(header[2], b"255")
        pixels = header[3]
        self.assertEqual(len(pixels), WIDTH * HEIGHT * 3)
        # A colour header over grey content would still say P6.
        chromatic = sum(1 for i in range(0, len(pixels), 3 * 97)
                        if max(pixels[i:i + 3]) - min(pixels[i:i + 3]) > 40)
        self.assertGreater(chromatic, 100)


class LayoutDetectsFaults(unittest.TestCase):
    """Each change below is one a careless re-export makes; each must be caught.

    They start from the committed cover, so the checker is shown to reject
    a real file that is wrong in exactly one way.
    """

    @classmethod
    def setUpClass(cls):
        with open(COVER, "rb") as f:
            data = f.read()
        if problems(data):
            raise unittest.SkipTest("the cover itself fails; see CoverLayout")
        cls.segments = split_segments(data)

    def _modified(self, change):
        segments = [list(s) for s in self.segments]
        change(segments)
        return join_segments([tuple(s) for s in segments])

    def _index(self, segments, marker):
        return next(i for i, s in enumerate(segments) if s[0] == marker)

    def _remark(self, old, new):
        def change(segments):
            i = self._index(segments, old)
            segments[i][0] = new
        return change

    def _patch(self, marker, offset, value):
        def change(segments):
            i = self._index(segments, marker)
            payload = bytearray(segments[i][1])
            payload[offset:offset + len(value)] = value
            segments[i][1] = bytes(payload)
        return change

    def _insert_after(self, marker, new_marker, payload):
        def change(segments):
            i = self._index(segments, marker)
            segments.insert(i + 1, [new_marker, payload])
        return change

    def _remove(self, marker):
        def change(segments):
            segments.pop(self._index(segments, marker))
        return change

    def _add_thumbnail(self, segments):
        i = self._index(segments, APP0)
        payload = bytearray(segments[i][1][:14])
        payload[12:14] = b"\x01\x01"
        segments[i][1] = bytes(payload) + b"\x80\x80\x80"

    def test_roundtrip_of_unmodified_file(self):
        with open(COVER, "rb") as f:
            self.assertEqual(join_segments(self.segments), f.read())

    def test_each_fault_is_reported(self):
        cases = [
            ("progressive frame", self._remark(SOF0, 0xC2), "SOF0"),
            ("extended frame", self._remark(SOF0, 0xC1), "SOF0"),
            ("lossless frame", self._remark(SOF0, 0xC3), "SOF0"),
            ("JFIF 1.02", self._patch(APP0, 6, b"\x02"), "version"),
            ("dots per inch", self._patch(APP0, 7, b"\x01"), "density units"),
            ("2:1 pixel ratio", self._patch(APP0, 8, b"\x00\x02"), "density"),
            ("thumbnail", self._add_thumbnail, "thumbnail"),
            ("EXIF block", self._insert_after(APP0, 0xE1, b"Exif\x00\x00"), "APPn"),
            ("second comment", self._insert_after(COM, COM, b"again"), "COM"),
            ("no comment", self._remove(COM), "COM"),
            ("restart interval", self._insert_after(COM, DRI, b"\x00\x10"), "DRI"),
            ("12-bit samples", self._patch(SOF0, 0, b"\x0c"), "precision"),
            ("wrong height", self._patch(SOF0, 1, struct.pack(">H", HEIGHT + 1)), "size"),
            ("wrong width", self._patch(SOF0, 3, struct.pack(">H", 540)), "size"),
            ("4:2:2", self._patch(SOF0, 7, b"\x21"), "sampling"),
            ("chroma subsampled twice", self._patch(SOF0, 10, b"\x22"), "sampling"),
            ("Cr on the luma table", self._patch(SOF0, 14, b"\x00"), "quantisation tables Y="),
            ("Cb on its own table", self._patch(SOF0, 11, b"\x02"), "quantisation tables Y="),
            ("missing DQT", self._remove(DQT), "quantisation tables"),
            ("missing DHT", self._remove(DHT), "Huffman"),
            ("scan on AC table 0 for Cr", self._patch(SOS, 6, b"\x10"), "scan Huffman"),
            ("first five coefficients only", self._patch(SOS, 8, b"\x05"), "sequential"),
            ("non-interleaved scan", self._patch(SOS, 0, b"\x01"), "components"),
        ]
        for name, change, expected in cases:
            with self.subTest(name):
                found = problems(self._modified(change))
                self.assertTrue(any(expected in p for p in found), f"{name}: got {found}")

    def test_structural_damage_is_reported(self):
        with open(COVER, "rb") as f:
            data = f.read()
        cases = [
            ("truncated", data[:len(data) // 2]),
            ("no EOI", data[:-2]),
            ("junk after EOI", data + b"\x00\x00"),
            ("not a JPEG", b"\x89PNG" + data[4:]),
            ("restart marker in scan", self._with_rst(data)),
        ]
        for name, damaged in cases:
            with self.subTest(name):
                self.assertNotEqual(problems(damaged), [], name)

    def _with_rst(self, data):
        segments = split_segments(data)
        scan = next(i for i, s in enumerate(segments) if s[0] is None)
        body = segments[scan][1]
        segments[scan] = (None, body[:100] + b"\xff\xd0" + body[100:])
        return join_segments(segments)


def main():
    global COVER
    args = [a for a in sys.argv[1:] if not a.startswith("-")]
    options = [a for a in sys.argv[1:] if a.startswith("-")]
    COVER = _locate_cover(args[:1])
    if not os.path.isfile(COVER):
        print(f"check_cover.py: {COVER} not found", file=sys.stderr)
        return 2
    program = unittest.main(argv=[sys.argv[0]] + options + args[1:], exit=False)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
