#!/usr/bin/env bash
# Regenerates the Word 97-2003 documents (DOCn.doc) that Korvel embeds, from
# the DOCn.html sources kept beside this script.
#
#   resources/documents/make-documents.sh            # every DOCn.html present
#   resources/documents/make-documents.sh DOC5 DOC2  # only these
#
# Needs LibreOffice Writer (Debian: libreoffice-writer-nogui) and python3; the
# program's own build never runs this, it only embeds the committed .doc files.
#
# HTML is first turned into flat ODF so that the document-wide settings the
# HTML importer does not carry over (Russian as the text language, A4 pages,
# Times New Roman) can be set in plain XML, and only then saved as .doc.
# The .doc is then checked and finished in place: the FIB is given the layout
# Word itself writes, and the summary properties are stored in code page 1251
# so that old Word and Windows property dialogs show the title correctly.
# A file is replaced only after all of that succeeded.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
soffice=${SOFFICE:-soffice}
python=${PYTHON:-python3}

die() { printf 'make-documents: %s\n' "$*" >&2; exit 1; }

command -v "$soffice" >/dev/null 2>&1 ||
    die "LibreOffice ($soffice) not found; install libreoffice-writer-nogui"
command -v "$python" >/dev/null 2>&1 || die "$python not found"

sources=()
if (($#)); then
    for name in "$@"; do
        name=$(basename -- "$name")
        name=${name%.html}
        name=${name%.doc}
        [[ $name =~ ^DOC[1-5]$ ]] || die "unknown document '$name' (expected DOC1..DOC5)"
        [[ -f $here/$name.html ]] || die "$here/$name.html does not exist"
        sources+=("$here/$name.html")
    done
else
    for n in 1 2 3 4 5; do
        [[ -f $here/DOC$n.html ]] && sources+=("$here/DOC$n.html")
    done
    ((${#sources[@]})) || die "no DOCn.html sources in $here"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/korvel-docs.XXXXXX")
trap 'rm -rf -- "$work"' EXIT
mkdir -p "$work/profile/user" "$work/fodt-raw" "$work/fodt" "$work/doc"

# A private profile keeps the run independent of (and away from) the user's
# LibreOffice settings and of any LibreOffice instance already running.
# Russian locale and default document language, so that whatever the HTML
# importer does not set explicitly (paper size, language of new paragraphs)
# starts out Russian rather than depending on the machine's locale.
cat >"$work/profile/user/registrymodifications.xcu" <<'XCU'
<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Setup/L10N"><prop oor:name="ooSetupSystemLocale" oor:op="fuse"><value>ru-RU</value></prop></item>
<item oor:path="/org.openoffice.Office.Linguistic/General"><prop oor:name="DefaultLocale" oor:op="fuse"><value>ru-RU</value></prop></item>
</oor:items>
XCU

profile_url=$("$python" -c 'import pathlib, sys; print(pathlib.Path(sys.argv[1]).as_uri())' \
    "$work/profile")

run_soffice() {
    # LibreOffice reports success even when a file could not be converted,
    # so callers check for the output themselves.
    "$soffice" "-env:UserInstallation=$profile_url" \
        --headless --norestore --nologo --nodefault --nolockcheck "$@" \
        >"$work/soffice.log" 2>&1 || {
        cat "$work/soffice.log" >&2
        die "LibreOffice failed"
    }
}

require_output() {
    local file=$1
    [[ -s $file ]] || {
        cat "$work/soffice.log" >&2
        die "LibreOffice produced no $(basename -- "$file")"
    }
}

cat >"$work/docfix.py" <<'PYTHON'
import html.parser
import os
import struct
import sys
import xml.dom.minidom

NS = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
    "svg": "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0",
    "dc": "http://purl.org/dc/elements/1.1/",
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
}
SERIF = "Times New Roman"
REPLACED_FONTS = {"Liberation Serif", "Liberation Sans"}
HEADING_SIZES = {"Heading_20_1": "16pt", "Heading_20_2": "14pt", "Heading_20_3": "12pt"}
# Single line spacing and a small gap after paragraphs, as in printed forms,
# instead of the airy web defaults the HTML importer uses.
BODY_SPACING = {"fo:line-height": "100%", "fo:margin-top": "0cm", "fo:margin-bottom": "0.2cm"}
PAGE_WIDTH_CM, MARGIN_LEFT_CM, MARGIN_RIGHT_CM = 21.0, 2.5, 1.5
TEXT_WIDTH_CM = PAGE_WIDTH_CM - MARGIN_LEFT_CM - MARGIN_RIGHT_CM
PAGE = {
    "fo:page-width": "%gcm" % PAGE_WIDTH_CM, "fo:page-height": "29.7cm",
    "fo:margin-top": "2cm", "fo:margin-bottom": "2cm",
    "fo:margin-left": "%gcm" % MARGIN_LEFT_CM, "fo:margin-right": "%gcm" % MARGIN_RIGHT_CM,
    "style:print-orientation": "portrait",
}
CM_PER_UNIT = {"cm": 1.0, "mm": 0.1, "in": 2.54, "pt": 2.54 / 72, "pc": 2.54 / 6}


def to_cm(length):
    for unit, factor in CM_PER_UNIT.items():
        if length.endswith(unit):
            return float(length[:-len(unit)]) * factor
    return None


def fail(message):
    sys.stderr.write("make-documents: %s\n" % message)
    sys.exit(1)


class TitleReader(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.inside = False
        self.parts = []
        self.lang = None

    def handle_starttag(self, tag, attrs):
        if tag == "html":
            self.lang = dict(attrs).get("lang")
        self.inside = tag == "title"

    def handle_endtag(self, tag):
        if tag == "title":
            self.inside = False

    def handle_data(self, data):
        if self.inside:
            self.parts.append(data)


def html_title(path):
    reader = TitleReader()
    with open(path, encoding="utf-8") as f:
        reader.feed(f.read())
    title = " ".join("".join(reader.parts).split())
    if not title:
        fail("%s has no <title>" % path)
    if reader.lang != "ru":
        fail('%s must declare <html lang="ru">' % path)
    return title


# ---------------------------------------------------------------- flat ODF

def set_attr(element, qname, value):
    prefix = qname.split(":", 1)[0]
    element.setAttributeNS(NS[prefix], qname, value)


def get_attr(element, qname):
    prefix, local = qname.split(":", 1)
    if element.hasAttributeNS(NS[prefix], local):
        return element.getAttributeNS(NS[prefix], local)
    return None


def elements(root, qname):
    prefix, local = qname.split(":", 1)
    return root.getElementsByTagNameNS(NS[prefix], local)


def child(parent, qname):
    for node in parent.childNodes:
        if node.nodeType == node.ELEMENT_NODE and node.namespaceURI == NS[qname.split(":")[0]] \
                and node.localName == qname.split(":")[1]:
            return node
    node = parent.ownerDocument.createElementNS(NS[qname.split(":")[0]], qname)
    parent.appendChild(node)
    return node


def prepare(html_path, src, dst):
    title = html_title(html_path)
    dom = xml.dom.minidom.parse(src)
    root = dom.documentElement
    for prefix, uri in NS.items():
        declared = root.getAttribute("xmlns:" + prefix)
        if declared != uri:
            fail("%s: unexpected namespace for '%s:' (%r)" % (src, prefix, declared))

    # Text language: the default styles carry the document language, and any
    # language the importer stamped on individual styles is replaced so that
    # spelling and hyphenation in Word treat the text as Russian.
    defaults = {get_attr(s, "style:family"): s for s in elements(root, "style:default-style")}
    if "paragraph" not in defaults:
        fail("%s: no default paragraph style" % src)
    for family in ("paragraph", "graphic"):
        if family in defaults:
            props = child(defaults[family], "style:text-properties")
            set_attr(props, "style:font-name", SERIF)
            set_attr(props, "fo:font-size", "12pt")
    for props in elements(root, "style:text-properties"):
        if get_attr(props, "fo:language") is not None or props.parentNode in defaults.values():
            set_attr(props, "fo:language", "ru")
            set_attr(props, "fo:country", "RU")

    # One serif face throughout; Times New Roman is what a Windows reader has,
    # and on Linux fontconfig maps it to the metric-compatible Liberation Serif.
    decls = elements(root, "office:font-face-decls")
    if not decls:
        fail("%s: no font declarations" % src)
    if not any(get_attr(f, "style:name") == SERIF for f in elements(root, "style:font-face")):
        face = dom.createElementNS(NS["style"], "style:font-face")
        set_attr(face, "style:name", SERIF)
        set_attr(face, "svg:font-family", "'%s'" % SERIF)
        set_attr(face, "style:font-family-generic", "roman")
        set_attr(face, "style:font-pitch", "variable")
        decls[0].appendChild(face)
    for props in elements(root, "style:text-properties"):
        if get_attr(props, "style:font-name") in REPLACED_FONTS:
            set_attr(props, "style:font-name", SERIF)
        if (get_attr(props, "fo:font-family") or "").strip("'\"") in REPLACED_FONTS:
            set_attr(props, "fo:font-family", "'%s'" % SERIF)
            set_attr(props, "style:font-family-generic", "roman")

    # Headings at sizes that suit a printed form rather than a web page.
    for style in elements(root, "style:style"):
        size = HEADING_SIZES.get(get_attr(style, "style:name"))
        if size:
            props = child(style, "style:text-properties")
            for qname in ("fo:font-size", "style:font-size-asian", "style:font-size-complex"):
                set_attr(props, qname, size)

    for style in elements(root, "style:style"):
        if get_attr(style, "style:name") == "Text_20_body":
            props = child(style, "style:paragraph-properties")
            for qname, value in BODY_SPACING.items():
                set_attr(props, qname, value)

    # A4 regardless of the locale LibreOffice happens to run under.
    layouts = elements(root, "style:page-layout-properties")
    if not layouts:
        fail("%s: no page layout" % src)
    for props in layouts:
        for qname, value in PAGE.items():
            set_attr(props, qname, value)

    # The importer sizes tables for its own web page margins; shrink any that
    # would stick out past the A4 margins, keeping the column proportions.
    styles = {}
    for style in elements(root, "style:style"):
        styles.setdefault(get_attr(style, "style:name"), style)
    scaled = set()
    for table in elements(root, "table:table"):
        style = styles.get(get_attr(table, "table:style-name"))
        if style is None:
            continue
        props = child(style, "style:table-properties")
        width = to_cm(get_attr(props, "style:width") or "")
        if width is None or width <= TEXT_WIDTH_CM:
            continue
        factor = TEXT_WIDTH_CM / width
        set_attr(props, "style:width", "%.3fcm" % TEXT_WIDTH_CM)
        set_attr(props, "table:align", "margins")
        for column in elements(table, "table:table-column"):
            name = get_attr(column, "table:style-name")
            if name in scaled or name not in styles:
                continue
            scaled.add(name)
            cprops = child(styles[name], "style:table-column-properties")
            cwidth = to_cm(get_attr(cprops, "style:column-width") or "")
            if cwidth is not None:
                set_attr(cprops, "style:column-width", "%.3fcm" % (cwidth * factor))

    meta = elements(root, "office:meta")
    if not meta:
        meta = [root.insertBefore(dom.createElementNS(NS["office"], "office:meta"), root.firstChild)]
    title_node = child(meta[0], "dc:title")
    while title_node.firstChild:
        title_node.removeChild(title_node.firstChild)
    title_node.appendChild(dom.createTextNode(title))
    language = child(meta[0], "dc:language")
    while language.firstChild:
        language.removeChild(language.firstChild)
    language.appendChild(dom.createTextNode("ru-RU"))

    with open(dst, "w", encoding="utf-8") as f:
        dom.writexml(f, encoding="UTF-8")


# ---------------------------------------------------------------- .doc

FREESECT, ENDOFCHAIN = 0xFFFFFFFF, 0xFFFFFFFE
LID_RUSSIAN = 0x0419
CP_1251 = 1251


class Compound:
    """Just enough of a compound-file reader to patch streams in place."""

    def __init__(self, data, path):
        self.data, self.path = data, path
        if data[:8] != bytes.fromhex("D0CF11E0A1B11AE1"):
            fail("%s is not a compound file" % path)
        minor, major, _bom, shift, mini_shift = struct.unpack_from("<HHHHH", data, 0x18)
        if (major, shift, mini_shift) != (3, 9, 6) or len(data) % 512:
            fail("%s: unexpected compound file layout (version %d, sector shift %d, "
                 "mini sector shift %d, size %d)" % (path, major, shift, mini_shift, len(data)))
        self.sector = 512
        (fat_count, dir_start, _sig, self.cutoff, minifat_start, minifat_count,
         difat_start, difat_count) = struct.unpack_from("<IIIIIIII", data, 0x2C)
        difat = list(struct.unpack_from("<109I", data, 0x4C))
        sect = difat_start
        for _ in range(difat_count):
            entries = struct.unpack_from("<128I", data, self.offset(sect))
            difat.extend(entries[:127])
            sect = entries[127]
        self.fat = []
        for sect in difat[:fat_count]:
            self.fat.extend(struct.unpack_from("<128I", data, self.offset(sect)))
        self.minifat = []
        for sect in self.chain(minifat_start):
            self.minifat.extend(struct.unpack_from("<128I", data, self.offset(sect)))
        self.entries = {}
        for sect in self.chain(dir_start):
            base = self.offset(sect)
            for i in range(4):
                entry = base + 128 * i
                name_len, kind = struct.unpack_from("<HB", data, entry + 64)
                if kind == 0 or name_len < 2:
                    continue
                name = data[entry:entry + name_len - 2].decode("utf-16-le")
                start, size = struct.unpack_from("<IQ", data, entry + 116)
                self.entries[name] = (kind, start, size & 0xFFFFFFFF)
        if "Root Entry" not in self.entries:
            fail("%s: no root entry" % path)
        self.ministream = list(self.chain(self.entries["Root Entry"][1]))

    def offset(self, sect):
        return (sect + 1) * self.sector

    def chain(self, start, table=None):
        table = self.fat if table is None else table
        seen = set()
        while start not in (ENDOFCHAIN, FREESECT):
            if start in seen or start >= len(table):
                fail("%s: broken sector chain" % self.path)
            seen.add(start)
            yield start
            start = table[start]

    def spans(self, name):
        """File ranges holding a stream, in order."""
        if name not in self.entries:
            fail("%s: no %r stream" % (self.path, name))
        _kind, start, size = self.entries[name]
        result = []
        if size >= self.cutoff:
            for sect in self.chain(start):
                result.append((self.offset(sect), self.sector))
        else:
            for mini in self.chain(start, self.minifat):
                big = self.ministream[mini * 64 // self.sector]
                result.append((self.offset(big) + mini * 64 % self.sector, 64))
        out, left = [], size
        for off, length in result:
            if left <= 0:
                break
            out.append((off, min(length, left)))
            left -= length
        if left > 0:
            fail("%s: stream %r is truncated" % (self.path, name))
        return out

    def read(self, name):
        return b"".join(self.data[o:o + n] for o, n in self.spans(name))

    def write(self, name, payload):
        """Overwrites a stream with data of exactly the same size."""
        spans = self.spans(name)
        if len(payload) != sum(n for _o, n in spans):
            fail("%s: rewriting %r would change its size" % (self.path, name))
        pos = 0
        for off, length in spans:
            self.data[off:off + length] = payload[pos:pos + length]
            pos += length


def fix_fib(word, path):
    """Brings LibreOffice's FIB in line with what Word 2002/2003 write.

    LibreOffice puts the real version (0x0101) into FibBase.nFib and writes no
    FibRgCswNew, while Word keeps 0x00C1 in the base and the real version in
    nFibNew; readers that trust the base then expect the Word 97 FIB size.
    It also always stamps the FIB with US English whatever the text is in, so
    the language is set to Russian here (the styles already carry Russian).
    """
    ident, nfib = struct.unpack_from("<HH", word, 0)
    flags, = struct.unpack_from("<H", word, 0x0A)
    if ident != 0xA5EC:
        fail("%s: WordDocument does not start with a Word FIB" % path)
    if flags & 0x0100:
        fail("%s: document is encrypted" % path)
    fc_min, = struct.unpack_from("<I", word, 0x18)
    pos = 0x20
    csw, = struct.unpack_from("<H", word, pos)
    pos += 2 + 2 * csw
    cslw, = struct.unpack_from("<H", word, pos)
    pos += 2 + 4 * cslw
    cb_fclcb, = struct.unpack_from("<H", word, pos)
    pos += 2 + 8 * cb_fclcb
    csw_new_at = pos
    csw_new, = struct.unpack_from("<H", word, pos)
    if nfib != 0x00C1:
        sizes = {0x00D9: 0x006C, 0x0101: 0x0088, 0x010C: 0x00A4}
        if csw != 0x0E or cslw != 0x16 or csw_new != 0 or sizes.get(nfib) != cb_fclcb:
            fail("%s: unexpected FIB (nFib 0x%04X, cbRgFcLcb 0x%X, cswNew %d)"
                 % (path, nfib, cb_fclcb, csw_new))
        tail = csw_new_at + 2
        if tail + 4 > fc_min or any(word[tail:tail + 4]):
            fail("%s: no room after the FIB for the version words" % path)
        struct.pack_into("<HH", word, tail, nfib, 0)   # nFibNew, cQuickSavesNew
        struct.pack_into("<H", word, csw_new_at, 2)
        struct.pack_into("<H", word, 2, 0x00C1)
    struct.pack_into("<H", word, 6, LID_RUSSIAN)
    if not flags & 0x4000:
        # lidFE (FibRgW97) follows lid unless the text is East Asian.
        struct.pack_into("<H", word, 0x3C, LID_RUSSIAN)


def recode_property_set(stream):
    """Rebuilds each section of a property set with code page 1251, keeping
    the stream size; returns None when the set holds anything not handled
    here, in which case the original stays as LibreOffice wrote it."""
    VT_I2, VT_I4, VT_BOOL, VT_LPSTR, VT_FILETIME = 2, 3, 11, 30, 64
    byte_order, _fmt, _os, _clsid, count = struct.unpack_from("<HHI16sI", stream, 0)
    if byte_order != 0xFFFE:
        return None
    header_len = 28 + 20 * count
    headers, sections = bytearray(stream[:header_len]), []
    for i in range(count):
        fmtid = stream[28 + 20 * i:44 + 20 * i]
        base, = struct.unpack_from("<I", stream, 44 + 20 * i)
        _size, nprops = struct.unpack_from("<II", stream, base)
        props = []
        codepage = None
        for j in range(nprops):
            pid, off = struct.unpack_from("<II", stream, base + 8 + 8 * j)
            at = base + off
            vt, = struct.unpack_from("<H", stream, at)
            if pid == 0 or vt not in (VT_I2, VT_I4, VT_BOOL, VT_LPSTR, VT_FILETIME):
                return None
            if pid == 1:
                codepage = struct.unpack_from("<H", stream, at + 4)[0]
                continue
            if vt == VT_LPSTR:
                n, = struct.unpack_from("<I", stream, at + 4)
                raw = stream[at + 8:at + 8 + n].split(b"\0", 1)[0]
                props.append((pid, vt, raw))
            elif vt == VT_FILETIME:
                props.append((pid, vt, stream[at + 4:at + 12]))
            else:
                props.append((pid, vt, stream[at + 4:at + 8]))
        sections.append((fmtid, codepage, props))

    encodings = {65001: "utf-8", 1252: "cp1252", 1251: "cp1251"}
    body = bytearray()
    offsets = []
    for fmtid, codepage, props in sections:
        entries = [(1, struct.pack("<HHHH", VT_I2, 0, CP_1251, 0))]
        for pid, vt, value in props:
            if vt == VT_LPSTR:
                if codepage not in encodings:
                    return None
                try:
                    text = value.decode(encodings[codepage]).encode("cp1251") + b"\0"
                except (UnicodeDecodeError, UnicodeEncodeError):
                    return None
                # The length counts the terminator but not the padding.
                entries.append((pid, struct.pack("<HHI", vt, 0, len(text))
                                + text + b"\0" * (-len(text) % 4)))
            else:
                entries.append((pid, struct.pack("<HH", vt, 0) + value))
        table_len = 8 + 8 * len(entries)
        payload, index = bytearray(), bytearray()
        for pid, blob in entries:
            index += struct.pack("<II", pid, table_len + len(payload))
            payload += blob
        section = struct.pack("<II", table_len + len(payload), len(entries)) + index + payload
        offsets.append(header_len + len(body))
        body += section
    for i, off in enumerate(offsets):
        struct.pack_into("<I", headers, 44 + 20 * i, off)
    result = bytes(headers) + bytes(body)
    if len(result) > len(stream):
        return None
    return result + b"\0" * (len(stream) - len(result))


def summary_title(stream):
    """Title (PIDSI_TITLE) of the first section, decoded with its code page."""
    base, = struct.unpack_from("<I", stream, 44)
    _size, nprops = struct.unpack_from("<II", stream, base)
    found = {}
    for j in range(nprops):
        pid, off = struct.unpack_from("<II", stream, base + 8 + 8 * j)
        found[pid] = base + off
    codepage = struct.unpack_from("<H", stream, found[1] + 4)[0] if 1 in found else None
    if 2 not in found:
        return codepage, None
    n, = struct.unpack_from("<I", stream, found[2] + 4)
    raw = stream[found[2] + 8:found[2] + 8 + n].split(b"\0", 1)[0]
    encoding = {65001: "utf-8", 1251: "cp1251", 1252: "cp1252"}.get(codepage, "utf-8")
    return codepage, raw.decode(encoding)


def finish(html_path, doc_path):
    title = html_title(html_path)
    with open(doc_path, "rb") as f:
        cfb = Compound(bytearray(f.read()), doc_path)

    word = bytearray(cfb.read("WordDocument"))
    fix_fib(word, doc_path)
    flags, = struct.unpack_from("<H", word, 0x0A)
    table = "1Table" if flags & 0x0200 else "0Table"
    if table not in cfb.entries:
        fail("%s: the FIB names %s, which is missing" % (doc_path, table))
    cfb.write("WordDocument", bytes(word))

    for name in ("\x05SummaryInformation", "\x05DocumentSummaryInformation"):
        if name in cfb.entries:
            recoded = recode_property_set(cfb.read(name))
            if recoded is not None:
                cfb.write(name, recoded)
    if "\x05SummaryInformation" not in cfb.entries:
        fail("%s: no SummaryInformation stream" % doc_path)
    codepage, stored = summary_title(cfb.read("\x05SummaryInformation"))
    if stored != title:
        fail("%s: stored title %r differs from %r" % (doc_path, stored, title))
    if codepage != CP_1251:
        sys.stderr.write("make-documents: %s: summary properties kept in code page %s\n"
                         % (doc_path, codepage))

    with open(doc_path, "wb") as f:
        f.write(cfb.data)
    print("%s: %d bytes, title %r" % (os.path.basename(doc_path), len(cfb.data), stored))


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    {"prepare": prepare, "finish": finish}[command](*args)
PYTHON

# HTML -> flat ODF. "HTML (StarWriter)" makes it a text document rather than
# a Writer/Web one, which cannot be saved as .doc.
run_soffice --infilter="HTML (StarWriter)" --convert-to fodt --outdir "$work/fodt-raw" "${sources[@]}"
for src in "${sources[@]}"; do
    name=$(basename -- "$src" .html)
    require_output "$work/fodt-raw/$name.fodt"
    "$python" "$work/docfix.py" prepare "$src" "$work/fodt-raw/$name.fodt" "$work/fodt/$name.fodt"
done

run_soffice --convert-to "doc:MS Word 97" --outdir "$work/doc" "$work"/fodt/*.fodt
for src in "${sources[@]}"; do
    name=$(basename -- "$src" .html)
    require_output "$work/doc/$name.doc"
    "$python" "$work/docfix.py" finish "$src" "$work/doc/$name.doc"
done

# Only replace the committed files once every document has been produced.
for src in "${sources[@]}"; do
    name=$(basename -- "$src" .html)
    cp -- "$work/doc/$name.doc" "$here/.$name.doc.tmp"
    mv -f -- "$here/.$name.doc.tmp" "$here/$name.doc"
done
