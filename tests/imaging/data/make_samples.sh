#!/usr/bin/env bash
# Regenerates the small sample images under bmp/ and jpeg/ and their reference decodings.
# Needs ImageMagick 6 (/usr/bin/convert) and cjpeg/djpeg (libjpeg-turbo-progs); the tests
# only read the files this writes.
set -euo pipefail
cd "$(dirname "$0")"
mkdir -p bmp jpeg
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A 13 x 7 colour picture (odd width, so rows need padding) and a 33 x 17 one for JPEG
# blocks that do not fill whole MCUs; every pixel differs from its neighbours.
python3 - "$tmp" <<'PY'
import sys
out = sys.argv[1]
def write(name, w, h, grey):
    px = bytearray()
    for y in range(h):
        for x in range(w):
            r, g, b = (x * 19 + y * 7) % 256, (x * 5 + y * 31 + 40) % 256, (255 - x * 11 - y * 13) % 256
            px += bytes([(30 * r + 59 * g + 11 * b) // 100]) if grey else bytes([r, g, b])
    with open(f"{out}/{name}", "wb") as f:
        f.write(b"%s\n%d %d\n255\n" % (b"P5" if grey else b"P6", w, h) + bytes(px))
write("small.ppm", 13, 7, False)
write("small.pgm", 13, 7, True)
write("wide.ppm", 33, 17, False)
PY

IM=/usr/bin/convert
cp "$tmp/small.ppm" bmp/small.ppm
# Pictures with at most 91 colours keep them exactly in a palette.
$IM "$tmp/small.ppm" -type Palette -compress None BMP3:bmp/pal8.bmp
$IM "$tmp/small.ppm" -type Palette -compress RLE BMP3:bmp/rle8.bmp
$IM "$tmp/small.ppm" -type TrueColor BMP3:bmp/rgb24.bmp
$IM "$tmp/small.ppm" -define bmp:subtype=RGB565 BMP:bmp/rgb565.bmp
$IM "$tmp/small.ppm" -alpha set -channel A -fx '(i+j)/20' +channel -type TrueColorAlpha BMP:bmp/rgba32.bmp
$IM "$tmp/small.ppm" -colors 16 -type Palette -compress None BMP3:bmp/pal4.bmp
$IM "$tmp/small.ppm" -monochrome BMP3:bmp/mono1.bmp
for f in rgb565 pal4 mono1; do $IM bmp/$f.bmp -depth 8 ppm:bmp/$f.ppm; done
$IM bmp/rgba32.bmp -depth 8 rgba:bmp/rgba32.rgba

cjpeg -grayscale -quality 90 "$tmp/small.ppm" > jpeg/grey.jpg
cjpeg -quality 90 "$tmp/wide.ppm" > jpeg/colour420.jpg
cjpeg -quality 95 -sample 1x1 "$tmp/wide.ppm" > jpeg/colour444.jpg
cjpeg -quality 90 -progressive -restart 1 "$tmp/wide.ppm" > jpeg/progressive.jpg
for f in grey colour420 colour444 progressive; do
  djpeg -dct int -pnm jpeg/$f.jpg > jpeg/$f.pnm
done
cp "$tmp/wide.ppm" jpeg/wide.ppm
$IM "$tmp/wide.ppm" -colorspace CMYK -quality 95 jpeg/cmyk.jpg
