#!/usr/bin/env python3
"""Checks the Word 97-2003 documents that Korvel embeds and writes to disk.

    python3 tests/data/check_documents.py [resources/documents]

The folder can also be given as KORVEL_DOCUMENTS_DIR. Every DOCn.doc must be a
file that Word 97-2003 opens as a Russian document, carry the title of its
DOCn.html source in its summary properties, and still match that source (a
.doc left behind after the HTML changed fails here).

Needs python3-olefile, and antiword or catdoc as an independent reader.
"""
import html.parser
import os
import re
import shutil
import struct
import subprocess
import sys
import unittest

try:
    import olefile
except ImportError:
    # A python3 from outside Debian (pyenv, venv) does not see Debian's
    # pure-Python packages; olefile has no compiled parts, so borrow it.
    sys.path.append("/usr/lib/python3/dist-packages")
    try:
        import olefile
    except ImportError:
        sys.exit("check_documents: olefile is missing (apt-get install python3-olefile)")

DOCUMENTS = ["DOC%d" % n for n in range(1, 6)]
LID_RUSSIAN = 0x0419
SUMMARY = "\x05SummaryInformation"
PIDSI_CODEPAGE, PIDSI_TITLE = 1, 2
CYRILLIC = re.compile("[\u0400-\u04FF]")
# cbRgFcLcb that each Word version writes; a FIB whose FC/LCB block does not
# match its declared version is read at the wrong offsets.
FCLCB_PAIRS = {0x00C1: 0x005D, 0x00D9: 0x006C, 0x0101: 0x0088, 0x010C: 0x00A4, 0x0112: 0x00B7}
SPRM_LANGUAGE = (0x486D, 0x4873)   # sprmCRgLid0_80, sprmCRgLid0


def documents_dir():
    if len(sys.argv) > 1:
        return os.path.abspath(sys.argv[1])
    if os.environ.get("KORVEL_DOCUMENTS_DIR"):
        return os.path.abspath(os.environ["KORVEL_DOCUMENTS_DIR"])
    here = os.path.dirname(os.path.abspath(__file__))
    return os.path.normpath(os.path.join(here, "..", "..", "resources", "documents"))


FOLDER = documents_dir()


class Source(html.parser.HTMLParser):
    """Title and text blocks of a DOCn.html source: the lines of paragraphs,
    list items and headings, and separately the table cells."""

    BLOCKS = {"p", "li", "h1", "h2", "h3", "h4", "h5", "h6", "td", "th"}

    def __init__(self, path):
        super().__init__()
        self.title, self.blocks, self.cells = "", [], []
        self._in_title, self._tables, self._current = False, 0, None
        with open(path, encoding="utf-8") as f:
            self.feed(f.read())
        self.title = squeeze(self.title)
        self.blocks = [squeeze(line) for line in self.blocks if squeeze(line)]
        self.cells = [squeeze(cell) for cell in self.cells if squeeze(cell)]

    def handle_starttag(self, tag, attrs):
        if tag == "title":
            self._in_title = True
        elif tag == "table":
            self._tables += 1
        elif tag in self.BLOCKS:
            self._current = self.cells if self._tables else self.blocks
            self._current.append("")
        elif tag == "br" and self._current is not None:
            self._current.append("")

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False
        elif tag == "table":
            self._tables -= 1
        elif tag in self.BLOCKS:
            self._current = None

    def handle_data(self, data):
        if self._in_title:
            self.title += data
        elif self._current is not None:
            self._current[-1] += data


def squeeze(text):
    return " ".join(text.split())


def u16(data, offset):
    return struct.unpack_from("<H", data, offset)[0]


def fib_layout(word):
    """Offsets and counts of the variable parts of a Word 97+ FIB."""
    pos = 0x20
    csw = u16(word, pos)
    pos += 2 + 2 * csw
    cslw = u16(word, pos)
    pos += 2 + 4 * cslw
    cb_fclcb = u16(word, pos)
    fclcb_at = pos + 2
    pos = fclcb_at + 8 * cb_fclcb
    csw_new = u16(word, pos)
    nfib_new = u16(word, pos + 2) if csw_new else None
    return {"cbRgFcLcb": cb_fclcb, "fcLcb": fclcb_at, "cswNew": csw_new, "nFibNew": nfib_new}


def grpprl_sprms(grpprl):
    """(sprm, operand) pairs of a property list."""
    pos = 0
    while pos + 2 <= len(grpprl):
        sprm = u16(grpprl, pos)
        pos += 2
        spra = sprm >> 13
        if spra == 6:
            size = grpprl[pos] + 1 if pos < len(grpprl) else 1
        else:
            size = {0: 1, 1: 1, 2: 2, 3: 4, 4: 2, 5: 2, 7: 3}[spra]
        yield sprm, grpprl[pos:pos + size]
        pos += size


def normal_style_sprms(stsh):
    """Character sprms of the Normal style (istd 0) in a Word 97 stylesheet."""
    cb_stshi = u16(stsh, 0)
    stshi = stsh[2:2 + cb_stshi]
    cstd, cb_base = u16(stshi, 0), u16(stshi, 2)
    pos = 2 + cb_stshi
    if cstd == 0:
        return []
    cb_std = u16(stsh, pos)
    std = stsh[pos + 2:pos + 2 + cb_std]
    if not std:
        return []
    sgc, cupx = u16(std, 2) & 0x000F, u16(std, 4) & 0x000F
    p = cb_base
    cch = u16(std, p)
    p += 2 + 2 * (cch + 1)
    upxs = []
    for _ in range(cupx):
        p += p % 2
        cb = u16(std, p)
        upxs.append(std[p + 2:p + 2 + cb])
        p += 2 + cb
    if sgc == 1 and len(upxs) >= 2:     # paragraph style: papx, then chpx
        return list(grpprl_sprms(upxs[1]))
    return []


class WordFile:
    def __init__(self, name):
        self.name = name
        self.doc_path = os.path.join(FOLDER, name + ".doc")
        self.source = Source(os.path.join(FOLDER, name + ".html"))
        with open(self.doc_path, "rb") as f:
            self.raw = f.read()
        self.ole = olefile.OleFileIO(self.doc_path)
        self.word = self.ole.openstream("WordDocument").read()

    def close(self):
        self.ole.close()


def extracted_texts(path):
    """Text of a .doc as read by each available independent reader."""
    readers = []
    if shutil.which("antiword"):
        readers.append(("antiword", ["antiword", "-m", "UTF-8.txt", "-w", "0", path]))
    if shutil.which("catdoc"):
        readers.append(("catdoc", ["catdoc", "-d", "utf-8", "-w", path]))
    for name, command in readers:
        result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                timeout=60)
        yield name, result.returncode, result.stdout.decode("utf-8", "replace")


class DocumentsTest(unittest.TestCase):
    files = {}

    @classmethod
    def setUpClass(cls):
        for name in DOCUMENTS:
            if os.path.exists(os.path.join(FOLDER, name + ".doc")) and \
                    os.path.exists(os.path.join(FOLDER, name + ".html")):
                cls.files[name] = WordFile(name)

    @classmethod
    def tearDownClass(cls):
        for doc in cls.files.values():
            doc.close()
        cls.files = {}

    def doc(self, name):
        """The parsed document; its absence is reported once, by the test below."""
        doc = self.files.get(name)
        if doc is None:
            self.skipTest("%s.doc or %s.html is missing" % (name, name))
        return doc

    def test_every_document_has_source_and_output(self):
        for name in DOCUMENTS:
            with self.subTest(document=name):
                for ext in (".html", ".doc"):
                    self.assertTrue(os.path.isfile(os.path.join(FOLDER, name + ext)),
                                    "%s%s is missing" % (name, ext))

    def test_compound_file_is_version_3_with_512_byte_sectors(self):
        for name in DOCUMENTS:
            with self.subTest(document=name):
                doc = self.doc(name)
                header = doc.raw[:512]
                self.assertEqual(header[:8], bytes.fromhex("D0CF11E0A1B11AE1"))
                _minor, major, byte_order, sector_shift, mini_shift = struct.unpack_from(
                    "<HHHHH", header, 0x18)
                self.assertEqual(byte_order, 0xFFFE)
                self.assertEqual(major, 3)
                self.assertEqual(sector_shift, 9)
                self.assertEqual(mini_shift, 6)
                self.assertEqual(len(doc.raw) % 512, 0, "size %d" % len(doc.raw))

    def test_fib_is_unencrypted_word97_in_russian(self):
        for name in DOCUMENTS:
            with self.subTest(document=name):
                doc = self.doc(name)
                word = doc.word
                self.assertEqual(u16(word, 0), 0xA5EC, "wIdent")
                self.assertEqual(u16(word, 2), 0x00C1, "nFib")
                self.assertEqual(u16(word, 6), LID_RUSSIAN, "lid")
                flags = u16(word, 0x0A)
                self.assertFalse(flags & 0x0100, "fEncrypted is set")
                self.assertFalse(flags & 0x8000, "fObfuscated is set")
                table = "1Table" if flags & 0x0200 else "0Table"
                self.assertTrue(doc.ole.exists(table), "%s named by the FIB is missing" % table)

    def test_fib_block_sizes_match_its_version(self):
        for name in DOCUMENTS:
            with self.subTest(document=name):
                doc = self.doc(name)
                layout = fib_layout(doc.word)
                version = layout["nFibNew"] if layout["cswNew"] else u16(doc.word, 2)
                self.assertIn(version, FCLCB_PAIRS, "unknown Word version 0x%04X" % version)
                self.assertEqual(layout["cbRgFcLcb"], FCLCB_PAIRS[version],
                                 "FC/LCB block does not fit version 0x%04X" % version)
                fc_min = struct.unpack_from("<I", doc.word, 0x18)[0]
                fib_end = layout["fcLcb"] + 8 * layout["cbRgFcLcb"] + 2 + 2 * layout["cswNew"]
                self.assertLessEqual(fib_end, fc_min, "FIB runs into the text")

    def test_normal_style_text_is_russian(self):
        for name in DOCUMENTS:
            with self.subTest(document=name):
                doc = self.doc(name)
                flags = u16(doc.word, 0x0A)
                table = doc.ole.openstream("1Table" if flags & 0x0200 else "0Table").read()
                layout = fib_layout(doc.word)
                fc, lcb = struct.unpack_from("<II", doc.word, layout["fcLcb"] + 8 * 1)  # fcStshf
                self.assertGreater(lcb, 0, "no stylesheet")
                sprms = normal_style_sprms(table[fc:fc + lcb])
                languages = [u16(operand, 0) for sprm, operand in sprms if sprm in SPRM_LANGUAGE]
                self.assertTrue(languages, "Normal style sets no text language")
                self.assertEqual(set(languages), {LID_RUSSIAN})

    def test_summary_title_matches_html_title(self):
        for name in DOCUMENTS:
            with self.subTest(document=name):
                doc = self.doc(name)
                self.assertTrue(doc.ole.exists(SUMMARY), "no SummaryInformation stream")
                props = doc.ole.getproperties(SUMMARY, convert_time=False)
                codepage = props.get(PIDSI_CODEPAGE)
                self.assertEqual(codepage, 1251, "summary code page")
                title = props.get(PIDSI_TITLE)
                self.assertIsInstance(title, bytes)
                self.assertEqual(title.decode("cp1251"), doc.source.title)

    def test_independent_reader_sees_the_current_text(self):
        for name in DOCUMENTS:
            with self.subTest(document=name):
                doc = self.doc(name)
                texts = list(extracted_texts(doc.doc_path))
                self.assertTrue(texts, "neither antiword nor catdoc is installed")
                title_words = [w for w in re.findall(r"\w+", doc.source.title.lower())
                               if len(w) >= 4 and CYRILLIC.search(w)]
                for reader, code, text in texts:
                    with self.subTest(reader=reader):
                        self.assertEqual(code, 0, "%s failed" % reader)
                        flat = squeeze(text).lower()
                        self.assertGreater(len(CYRILLIC.findall(flat)), 1000,
                                           "%s extracted little or no Cyrillic text" % reader)
                        missing = [w for w in title_words if w not in flat]
                        self.assertFalse(missing, "title words not in the text: %s" % missing)
                        # Every line of the source must be there, so a .doc
                        # not regenerated after its HTML changed fails here.
                        # antiword lays table cells out side by side, which
                        # splits their text, so only catdoc is held to them.
                        expected = doc.source.blocks + (doc.source.cells if reader == "catdoc" else [])
                        missing = [line for line in expected if line.lower() not in flat]
                        self.assertFalse(missing, "%d line(s) of %s.html not in the .doc, first: %r"
                                         % (len(missing), name, missing[:1]))

if __name__ == "__main__":
    if not os.path.isdir(FOLDER):
        sys.exit("check_documents: no such folder %s" % FOLDER)
    unittest.main(argv=sys.argv[:1], verbosity=2)
