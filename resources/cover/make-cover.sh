#!/bin/bash
# Rebuilds resources/cover.jpg from cover.svg.
#
# The JPEG is deliberately plain: baseline Huffman, 4:2:0, one scan, JFIF 1.01
# with no physical density and no thumbnail, one comment. That is the subset
# every JPEG reader handles, down to minimal baseline-only decoders; a
# progressive or arithmetic-coded file would still look fine in a desktop
# viewer and fail elsewhere. tests/data/check_cover.py guards the layout.
#
# Needs: rsvg-convert (librsvg2-bin), cjpeg and wrjpgcom (libjpeg-turbo-progs),
# fc-list and the DejaVu fonts (fonts-dejavu-core, fonts-dejavu-extra), python3.
# Output is byte-for-byte reproducible for a given set of tool versions.
#
# Usage: resources/cover/make-cover.sh [output.jpg]
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
svg="$here/cover.svg"
out="${1:-$(dirname "$here")/cover.jpg}"

width=270
height=378
# Lands the file near 21 KB; more detail would be lost at the reduced size
# the program shows it at anyway.
quality=82
comment="Korvel cover"

for tool in rsvg-convert cjpeg wrjpgcom python3 fc-list; do
    command -v "$tool" >/dev/null 2>&1 || {
        echo "make-cover.sh: $tool not found" >&2
        exit 1
    }
done

# rsvg-convert substitutes a missing font without a word, which would reflow
# the title; better to stop than commit a cover set in the wrong face.
for family in "DejaVu Sans" "DejaVu Sans Condensed" "DejaVu Serif" "DejaVu Serif Condensed"; do
    if [ -z "$(fc-list "$family" family)" ]; then
        echo "make-cover.sh: font \"$family\" not installed (fonts-dejavu-core, fonts-dejavu-extra)" >&2
        exit 1
    fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

rsvg-convert --width="$width" --height="$height" --format=png \
    --background-color=white "$svg" -o "$work/cover.png"

# cjpeg does not read PNG. Decoding it here keeps ImageMagick out of the
# toolchain and lets us refuse anything but the exact size we asked for,
# rather than handing a silently rescaled picture to the encoder.
python3 - "$work/cover.png" "$work/cover.ppm" "$width" "$height" <<'PY'
import struct
import sys
import zlib

src, dst, want_w, want_h = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
data = open(src, "rb").read()
if data[:8] != b"\x89PNG\r\n\x1a\n":
    sys.exit("make-cover.sh: rsvg-convert did not write a PNG")

pos, idat, ihdr = 8, [], None
while pos < len(data):
    length, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    if kind == b"IHDR":
        ihdr = struct.unpack(">IIBBBBB", body)
    elif kind == b"IDAT":
        idat.append(body)
    elif kind == b"IEND":
        break
    pos += 12 + length

if ihdr is None:
    sys.exit("make-cover.sh: PNG has no IHDR")
w, h, depth, ctype, _, _, interlace = ihdr
if (w, h) != (want_w, want_h):
    sys.exit(f"make-cover.sh: rendered {w}x{h}, expected {want_w}x{want_h}")
if depth != 8 or ctype not in (2, 6) or interlace != 0:
    sys.exit(f"make-cover.sh: unsupported PNG (depth {depth}, colour type {ctype}, interlace {interlace})")

bpp = 4 if ctype == 6 else 3
stride = w * bpp
raw = zlib.decompress(b"".join(idat))
if len(raw) != h * (stride + 1):
    sys.exit("make-cover.sh: PNG data is truncated")

def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c

prev = bytearray(stride)
out = bytearray()
for y in range(h):
    ftype = raw[y * (stride + 1)]
    line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for i in range(stride):
        left = line[i - bpp] if i >= bpp else 0
        up = prev[i]
        ul = prev[i - bpp] if i >= bpp else 0
        if ftype == 1:
            line[i] = (line[i] + left) & 0xFF
        elif ftype == 2:
            line[i] = (line[i] + up) & 0xFF
        elif ftype == 3:
            line[i] = (line[i] + ((left + up) >> 1)) & 0xFF
        elif ftype == 4:
            line[i] = (line[i] + paeth(left, up, ul)) & 0xFF
        elif ftype != 0:
            sys.exit(f"make-cover.sh: bad PNG filter {ftype} on row {y}")
    if bpp == 4:
        # rsvg-convert already flattened onto white; this only guards
        # against a renderer that ignores --background-color.
        for x in range(w):
            r, g, b, a = line[x * 4:x * 4 + 4]
            out += bytes(((c * a + 255 * (255 - a) + 127) // 255) for c in (r, g, b))
    else:
        out += line
    prev = line

with open(dst, "wb") as f:
    f.write(b"P6\n%d %d\n255\n" % (w, h))
    f.write(out)
PY

# -baseline keeps the quantisation tables within 8 bits; -sample spells out
# 4:2:0 so a change of cjpeg's default cannot slip through; -restart 0 and no
# -progressive give a single interleaved scan without DRI.
cjpeg -quality "$quality" -baseline -optimize -sample 2x2,1x1,1x1 \
    -restart 0 -dct int -outfile "$work/plain.jpg" "$work/cover.ppm"

# -replace drops any comment already present, so the file ends up with one.
wrjpgcom -replace -comment "$comment" "$work/plain.jpg" >"$work/cover.jpg"

mkdir -p "$(dirname "$out")"
mv "$work/cover.jpg" "$out"
echo "wrote $out ($(wc -c <"$out") bytes)"
