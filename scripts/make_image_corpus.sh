#!/usr/bin/env bash
# Makes the image reader test corpus in tests/imaging/corpus with real tools (DCMTK, GDCM,
# libtiff, netpbm, ImageMagick, libjpeg-turbo) and writes, beside every file, the samples
# the tool itself decodes from it. Tests read only the committed result; the tools are
# needed here alone:
#   apt-get install dcmtk libgdcm-tools libtiff-tools netpbm imagemagick libjpeg-turbo-progs python3
#
# Usage:
#   scripts/make_image_corpus.sh               re-make the corpus
#   scripts/make_image_corpus.sh --bench DIR   make a 3000 x 2400 x 12-bit lossless DICOM in DIR
#                                              and time dcmdjpeg on it, for bench_dicom_bench
#
# manifest.txt lists one file a line: "<file> <expected decoding>" or "<file> refused".
# Expected decodings are PGM (grey), PPM (RGB) or PAM (RGB with alpha), top row first,
# 16-bit samples big-endian as the formats define them.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
convert=/usr/bin/convert  # other 'convert's on the PATH are not ImageMagick
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for tool in dump2dcm dcmconv dcmcjpeg dcmdjpeg dcmcrle dcmodify dcmdump gdcmimg gdcmconv raw2tiff tiffcp tiffset \
            tifftopnm pngtopnm cjpeg djpeg python3 "$convert"; do
  command -v "$tool" >/dev/null || { echo "make_image_corpus: $tool is missing" >&2; exit 1; }
done

# ---- Helper: synthetic radiographs, a lossless JPEG encoder, PNM conversions --------------
cat > "$work/tool.py" <<'PYTHON'
import math, random, sys

def read_pnm(path):
    d = open(path, 'rb').read()
    if d[:2] == b'P7':
        head, _, px = d.partition(b'ENDHDR\n')
        keys = dict(line.split(b' ', 1) for line in head.split(b'\n')[1:] if b' ' in line)
        w, h, depth, mv = (int(keys[k]) for k in (b'WIDTH', b'HEIGHT', b'DEPTH', b'MAXVAL'))
    else:
        fields, pos = [], 0
        while len(fields) < 4:
            while d[pos:pos + 1].isspace(): pos += 1
            if d[pos:pos + 1] == b'#':
                while d[pos:pos + 1] != b'\n': pos += 1
                continue
            start = pos
            while not d[pos:pos + 1].isspace(): pos += 1
            fields.append(d[start:pos])
        pos += 1
        w, h, mv = int(fields[1]), int(fields[2]), int(fields[3])
        depth = 3 if fields[0] == b'P6' else 1
        px = d[pos:]
    n = w * h * depth
    vals = list(px[:n]) if mv < 256 else [px[2 * i] << 8 | px[2 * i + 1] for i in range(n)]
    return w, h, depth, mv, vals

def write_pnm(path, w, h, depth, mv, vals):
    if depth == 4:
        head = b'P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL %d\nTUPLTYPE RGB_ALPHA\nENDHDR\n' % (w, h, mv)
    else:
        head = b'%s\n%d %d\n%d\n' % (b'P6' if depth == 3 else b'P5', w, h, mv)
    body = bytes(vals) if mv < 256 else b''.join(bytes([v >> 8, v & 255]) for v in vals)
    open(path, 'wb').write(head + body)

def radiograph(w, h, mv, seed, colour=False):
    """Exposure gradient, a skull-like dome with a cortical rim, a chequered soft-tissue
    band and noise; the corners reach both ends of the range."""
    rnd = random.Random(seed)
    vals = []
    for y in range(h):
        for x in range(w):
            v = 0.25 + 0.5 * x / w
            r = math.hypot((x - 0.55 * w) / (0.3 * w), (y - 0.45 * h) / (0.35 * h))
            if r < 1: v += 0.35 * (1 - r * r)
            if abs(r - 1) < 0.06: v += 0.2
            if (x // 6 + y // 6) % 2 == 0 and x > 0.7 * w: v -= 0.1
            chans = [v, v * (0.6 + 0.4 * y / h), 1 - v] if colour else [v]
            for c in chans:
                c = min(max(c + rnd.gauss(0, 0.02), 0.0), 1.0)
                vals.append(int(c * mv + 0.5))
    depth = 3 if colour else 1
    vals[:depth] = [0] * depth
    vals[-depth:] = [mv] * depth
    return vals

def ljpeg(w, h, vals, precision, predictor, pt, restart_rows):
    """Lossless JPEG, process 14: one component, restart intervals of whole lines."""
    x = [[vals[r * w + c] >> pt for c in range(w)] for r in range(h)]
    interval = restart_rows or h
    intervals = []
    for top in range(0, h, interval):
        diffs = []
        for r in range(top, min(top + interval, h)):
            for c in range(w):
                if r == top:
                    p = (1 << (precision - pt - 1)) if c == 0 else x[r][c - 1]
                elif c == 0:
                    p = x[r - 1][0]
                else:
                    a, b, cc = x[r][c - 1], x[r - 1][c], x[r - 1][c - 1]
                    p = [0, a, b, cc, a + b - cc, a + ((b - cc) >> 1), b + ((a - cc) >> 1), (a + b) >> 1][predictor]
                d = (x[r][c] - p) & 0xFFFF
                diffs.append(d - 65536 if d >= 32768 else d)
        intervals.append(diffs)
    category = lambda d: 16 if d == -32768 else abs(d).bit_length()
    freq = [0] * 17
    for diffs in intervals:
        for d in diffs: freq[category(d)] += 1
    symbols = sorted(range(17), key=lambda s: (-freq[s], s))
    counts = [0, 2, 2, 2, 2, 2, 2, 2, 2, 1, 0, 0, 0, 0, 0, 0]  # 17 codes, none all ones
    codes, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(counts[length - 1]):
            codes[symbols[k]] = (code, length); code += 1; k += 1
        code <<= 1
    out = bytearray(b'\xff\xd8')
    out += b'\xff\xc3\x00\x0b' + bytes([precision]) + h.to_bytes(2, 'big') + w.to_bytes(2, 'big') + bytes([1, 1, 0x11, 0])
    out += b'\xff\xc4\x00\x24\x00' + bytes(counts) + bytes(symbols)
    if restart_rows:
        out += b'\xff\xdd\x00\x04' + (restart_rows * w).to_bytes(2, 'big')
    out += b'\xff\xda\x00\x08' + bytes([1, 1, 0x00, predictor, 0, pt])
    for n, diffs in enumerate(intervals):
        acc, nbits, data = 0, 0, bytearray()
        def put(value, length):
            nonlocal acc, nbits
            for i in range(length - 1, -1, -1):
                acc = (acc << 1) | ((value >> i) & 1); nbits += 1
                if nbits == 8:
                    data.append(acc)
                    if acc == 0xFF: data.append(0)
                    acc, nbits = 0, 0
        for d in diffs:
            s = category(d)
            put(*codes[s])
            if 0 < s < 16: put(d if d > 0 else d + (1 << s) - 1, s)
        if nbits: put((1 << (8 - nbits)) - 1, 8 - nbits)
        out += data
        if n + 1 < len(intervals): out += bytes([0xFF, 0xD0 + n % 8])
    return bytes(out + b'\xff\xd9')

def viff(w, h, bands, mv, vals, big_endian):
    """1024-byte header, then the bands one after the other."""
    order = 'big' if big_endian else 'little'
    head = bytearray(1024)
    head[0:5] = bytes([0xAB, 1, 1, 3, 2 if big_endian else 8])
    fields = {520: w, 524: h, 548: 1, 556: 1, 560: bands, 564: 1 if mv < 256 else 2, 568: 0, 572: 0}
    for at, value in fields.items(): head[at:at + 4] = value.to_bytes(4, order)
    size = 1 if mv < 256 else 2
    planes = b''.join(v.to_bytes(size, order) for b in range(bands) for v in vals[b::bands])
    return bytes(head) + planes

cmd, args = sys.argv[1], sys.argv[2:]
if cmd == 'radiograph':      # W H MAXVAL SEED grey|colour OUT
    w, h, mv, seed = map(int, args[:4])
    colour = args[4] == 'colour'
    write_pnm(args[5], w, h, 3 if colour else 1, mv, radiograph(w, h, mv, seed, colour))
elif cmd == 'raw':           # IN.pnm OUT SHIFT: samples << SHIFT, little-endian words (bytes at 8 bits)
    w, h, depth, mv, vals = read_pnm(args[0])
    shift = int(args[2])
    out = bytes(vals) if mv < 256 and shift == 0 else b''.join((v << shift).to_bytes(2, 'little') for v in vals)
    open(args[1], 'wb').write(out)
elif cmd == 'ljpeg':         # IN.pgm PRECISION PREDICTOR PT RESTART_ROWS OUT
    w, h, depth, mv, vals = read_pnm(args[0])
    open(args[5], 'wb').write(ljpeg(w, h, vals, *map(int, args[1:5])))
elif cmd == 'viff':          # IN.pnm be|le OUT
    w, h, depth, mv, vals = read_pnm(args[0])
    open(args[2], 'wb').write(viff(w, h, depth, mv, vals, args[1] == 'be'))
elif cmd == 'cells':         # RAW W H ALLOCATED STORED HIGHBIT SIGNED MONO1 OUT.pgm: DICOM cells as shown
    w, h, allocated, stored, high, signed, mono1 = map(int, args[1:8])
    d = open(args[0], 'rb').read()
    cells = list(d[:w * h]) if allocated == 8 else [d[2 * i] | d[2 * i + 1] << 8 for i in range(w * h)]
    mask = (1 << stored) - 1
    flip = (1 << (stored - 1) if signed else 0) ^ (mask if mono1 else 0)
    write_pnm(args[8], w, h, 1, mask, [((c >> (high - stored + 1)) & mask) ^ flip for c in cells])
elif cmd == 'same':          # A B: exit 0 when both hold the same size and samples
    a, b = read_pnm(args[0]), read_pnm(args[1])
    sys.exit(0 if a[:3] == b[:3] and a[4] == b[4] else 1)
elif cmd == 'rescale':      # IN.pnm MAXVAL OUT.pnm: samples brought to another maximum, rounded
    w, h, depth, mv, vals = read_pnm(args[0])
    to = int(args[1])
    write_pnm(args[2], w, h, depth, to, [(v * to + mv // 2) // mv for v in vals])
elif cmd == 'digest':        # FILE: a digest of its size and samples
    import hashlib
    w, h, depth, mv, vals = read_pnm(args[0])
    print(hashlib.sha256(repr((w, h, depth, vals)).encode()).hexdigest())
elif cmd == 'bigraw':        # W H OUT: a 12-bit radiograph as little-endian words, fast enough for 7 Mpx
    w, h = int(args[0]), int(args[1])
    rnd = random.Random(7)
    row = bytearray(2 * w)
    with open(args[2], 'wb') as f:
        for y in range(h):
            for x in range(w):
                r = math.hypot((x - 0.55 * w) / (0.3 * w), (y - 0.45 * h) / (0.35 * h))
                v = 1000 + 1600 * x // w + (int(1200 * (1 - r * r)) if r < 1 else 0) + rnd.randrange(64)
                row[2 * x:2 * x + 2] = min(v, 4095).to_bytes(2, 'little')
            f.write(row)
PYTHON
py() { python3 "$work/tool.py" "$@"; }

# A DICOM data set from a dump: patient particulars, spacing and window, and the pixel cells.
# dicom_dump OUT ROWS COLUMNS ALLOCATED STORED HIGHBIT RAWFILE [extra dump lines]
dicom_dump() {
  local out=$1 rows=$2 columns=$3 allocated=$4 stored=$5 high=$6 raw=$7; shift 7
  local vr=OW; [ "$allocated" = 8 ] && vr=OB
  {
    echo '(0002,0001) OB 00\01'
    echo '(0002,0002) UI =SecondaryCaptureImageStorage'
    echo '(0002,0003) UI [1.2.826.0.1.3680043.9.7433.1.1]'
    echo '(0002,0010) UI =LittleEndianExplicit'
    echo '(0008,0005) CS [ISO_IR 100]'
    echo '(0008,0016) UI =SecondaryCaptureImageStorage'
    echo '(0008,0018) UI [1.2.826.0.1.3680043.9.7433.1.1]'
    echo '(0008,0022) DA [20240315]'
    echo '(0008,0060) CS [DX]'
    echo '(0010,0010) PN [Test^Ceph]'
    echo '(0010,0020) LO [ID0001]'
    echo '(0010,0030) DA [19800131]'
    echo '(0010,0040) CS [F]'
    echo '(0018,1164) DS [0.139\0.139]'
    echo '(0028,0002) US 1'
    echo '(0028,0004) CS [MONOCHROME2]'
    echo "(0028,0010) US $rows"
    echo "(0028,0011) US $columns"
    echo '(0028,0030) DS [0.1\0.12]'
    echo "(0028,0100) US $allocated"
    echo "(0028,0101) US $stored"
    echo "(0028,0102) US $high"
    echo '(0028,0103) US 0'
    for line in "$@"; do echo "$line"; done
    echo "(7fe0,0010) $vr =$raw"
  } > "$work/dump.txt"
  dump2dcm "$work/dump.txt" "$out"
}

if [ "${1:-}" = "--bench" ]; then
  dir=${2:?usage: make_image_corpus.sh --bench DIR [BENCH_BINARY]}
  bench=${3:-}
  mkdir -p "$dir"
  py bigraw 3000 2400 "$work/big.raw"
  dicom_dump "$dir/ceph-3000x2400-12bit.dcm" 2400 3000 16 12 11 "$work/big.raw" '(0028,1050) DS [2048]' '(0028,1051) DS [4096]'
  dcmcjpeg +e1 "$dir/ceph-3000x2400-12bit.dcm" "$dir/ceph-3000x2400-12bit-sv1.dcm"
  ls -l "$dir"
  # Whole processes, file to decoded pixels, best of five.
  best() {
    local label=$1 fastest=""; shift
    for run in 1 2 3 4 5; do
      local start end
      start=$(date +%s%N); "$@" > /dev/null; end=$(date +%s%N)
      local ms=$(( (end - start) / 1000000 ))
      if [ -z "$fastest" ] || [ "$ms" -lt "$fastest" ]; then fastest=$ms; fi
    done
    echo "$label: best of 5 whole-process runs: $fastest ms"
  }
  best "dcmdjpeg" dcmdjpeg "$dir/ceph-3000x2400-12bit-sv1.dcm" "$work/out.dcm"
  if [ -n "$bench" ]; then
    LUMACET_DICOM_BENCH_DIR="$dir" best "$(basename "$bench") (one read)" "$bench" --benchmark_filter=BM_ReadLosslessDicomOnce
  fi
  exit 0
fi

corpus="$root/tests/imaging/corpus"
rm -rf "$corpus"
mkdir -p "$corpus"/{dicom,tiff,viff,jpeg,expected,codec/expected}
manifest="$corpus/manifest.txt"
echo "# file  expected-decoding | refused   (made by scripts/make_image_corpus.sh)" > "$manifest"
src="$work/src"; mkdir -p "$src"

py radiograph 96 72 255 8 grey "$src/g8.pgm"
py radiograph 96 72 4095 12 grey "$src/g12.pgm"
py radiograph 96 72 65535 16 grey "$src/g16.pgm"
py radiograph 80 60 255 3 colour "$src/rgb8.ppm"
py radiograph 80 60 65535 5 colour "$src/rgb16.ppm"

# The expected decoding `decoded` of corpus file `file`: kept as a file of its own unless an
# expected file with the same samples exists already.
declare -A expected_by_digest
expect() {
  local file=$1 decoded=$2 name=$3 digest
  digest=$(py digest "$decoded")
  if [ -z "${expected_by_digest[$digest]:-}" ]; then
    cp "$decoded" "$corpus/expected/$name"
    expected_by_digest[$digest]=$name
  fi
  echo "$file expected/${expected_by_digest[$digest]}" >> "$manifest"
}
refused() { echo "$1 refused" >> "$manifest"; }
# Fails the script when a tool's decoding differs from the source it was made from.
same() { py same "$1" "$2" || { echo "make_image_corpus: $3 does not decode to its source" >&2; exit 1; }; }

# ---- DICOM ----------------------------------------------------------------------------------
# A second tool's decoding of a DICOM file (DCMTK's dcmdjpeg unless $decode names another
# command taking IN OUT): its pixel cells, shown as this program shows them.
# dicom_expect NAME ROWS COLUMNS ALLOCATED STORED HIGHBIT SIGNED MONO1 [SOURCE]
decode=dcmdjpeg
dicom_expect() {
  local name=$1 rows=$2 columns=$3 allocated=$4 stored=$5 high=$6 signed=$7 mono1=$8 source=${9:-}
  rm -rf "$work/cells" && mkdir "$work/cells"
  $decode "$corpus/dicom/$name" "$work/plain.dcm"
  dcmconv +te "$work/plain.dcm" "$work/plain-le.dcm"
  dcmdump +W "$work/cells" "$work/plain-le.dcm" > /dev/null
  py cells "$work"/cells/*.raw "$columns" "$rows" "$allocated" "$stored" "$high" "$signed" "$mono1" "$work/shown.pgm"
  [ -z "$source" ] || same "$work/shown.pgm" "$source" "dicom/$name"
  expect "dicom/$name" "$work/shown.pgm" "${name%.dcm}.pgm"
}

py raw "$src/g8.pgm" "$work/g8.raw" 0
py raw "$src/g12.pgm" "$work/g12.raw" 0
py raw "$src/g12.pgm" "$work/g12-hb15.raw" 4
py raw "$src/g16.pgm" "$work/g16.raw" 0
window8=('(0028,1050) DS [128]' '(0028,1051) DS [256]')
window12=('(0028,1050) DS [2048]' '(0028,1051) DS [4096]')
dicom_dump "$corpus/dicom/d8-exle.dcm" 72 96 8 8 7 "$work/g8.raw" "${window8[@]}"
dicom_dump "$corpus/dicom/d12-exle.dcm" 72 96 16 12 11 "$work/g12.raw" "${window12[@]}"
dicom_dump "$corpus/dicom/d16-exle.dcm" 72 96 16 16 15 "$work/g16.raw" \
  '(0028,1050) DS [30000.5\20000]' '(0028,1051) DS [40000\100]' '(0028,1052) DS [-1024]' '(0028,1053) DS [2]'
dicom_dump "$corpus/dicom/d12-hb15.dcm" 72 96 16 12 15 "$work/g12-hb15.raw"
dicom_expect d8-exle.dcm 72 96 8 8 7 0 0 "$src/g8.pgm"
dicom_expect d12-exle.dcm 72 96 16 12 11 0 0 "$src/g12.pgm"
dicom_expect d16-exle.dcm 72 96 16 16 15 0 0 "$src/g16.pgm"
dicom_expect d12-hb15.dcm 72 96 16 12 15 0 0 "$src/g12.pgm"

for bits in 8 12 16; do
  dcmconv +ti "$corpus/dicom/d$bits-exle.dcm" "$corpus/dicom/d$bits-imle.dcm"
  dcmconv +tb "$corpus/dicom/d$bits-exle.dcm" "$corpus/dicom/d$bits-exbe.dcm"
  dcmcjpeg +e1 "$corpus/dicom/d$bits-exle.dcm" "$corpus/dicom/d$bits-sv1.dcm"
done
dcmconv -F +ti "$corpus/dicom/d12-exle.dcm" "$corpus/dicom/d12-imle-nometa.dcm"
for sv in 2 3 4 5 6 7; do
  dcmcjpeg +el +sv "$sv" "$corpus/dicom/d12-exle.dcm" "$corpus/dicom/d12-sv$sv.dcm"
done
dcmcjpeg +el +sv 6 "$corpus/dicom/d16-exle.dcm" "$corpus/dicom/d16-sv6.dcm"
dcmcjpeg +el +sv 1 +pt 2 "$corpus/dicom/d12-exle.dcm" "$corpus/dicom/d12-sv1-pt2.dcm"
dcmcjpeg +el +sv 7 +pt 3 "$corpus/dicom/d16-exle.dcm" "$corpus/dicom/d16-sv7-pt3.dcm"
dcmcjpeg +e1 +fs 1 "$corpus/dicom/d12-exle.dcm" "$corpus/dicom/d12-sv1-fragments.dcm"
gdcmconv -J "$corpus/dicom/d12-exle.dcm" "$corpus/dicom/d12-gdcm-lossless.dcm"
for bits in 8 12 16; do
  case $bits in 8) a=8 h=7 ;; 12) a=16 h=11 ;; 16) a=16 h=15 ;; esac
  for kind in imle exbe sv1; do dicom_expect "d$bits-$kind.dcm" 72 96 $a $bits $h 0 0 "$src/g$bits.pgm"; done
done
dicom_expect d12-imle-nometa.dcm 72 96 16 12 11 0 0 "$src/g12.pgm"
for sv in 2 3 4 5 6 7; do dicom_expect "d12-sv$sv.dcm" 72 96 16 12 11 0 0 "$src/g12.pgm"; done
dicom_expect d16-sv6.dcm 72 96 16 16 15 0 0 "$src/g16.pgm"
dicom_expect d12-sv1-pt2.dcm 72 96 16 12 11 0 0
dicom_expect d16-sv7-pt3.dcm 72 96 16 16 15 0 0
dicom_expect d12-sv1-fragments.dcm 72 96 16 12 11 0 0 "$src/g12.pgm"
dicom_expect d12-gdcm-lossless.dcm 72 96 16 12 11 0 0 "$src/g12.pgm"

# Restart intervals: no DICOM tool writes them, so the stream comes from the encoder above,
# GDCM encapsulates it and DCMTK decodes it.
for restart in "8 2 0 5 d8-restart" "12 4 0 8 d12-restart" "16 6 2 7 d16-restart-pt2"; do
  read -r bits sv pt rows name <<< "$restart"
  py ljpeg "$src/g$bits.pgm" "$bits" "$sv" "$pt" "$rows" "$work/restart.jpg"
  gdcmimg -i "$work/restart.jpg" -o "$corpus/dicom/$name.dcm"
  # GDCM takes BitsAllocated from the stream's precision; the cells are 16 bits wide.
  [ "$bits" = 8 ] || dcmodify -nb -m "(0028,0100)=16" "$corpus/dicom/$name.dcm"
  case $bits in 8) a=8 h=7 ;; 12) a=16 h=11 ;; 16) a=16 h=15 ;; esac
  if [ "$pt" = 0 ]; then dicom_expect "$name.dcm" 72 96 $a "$bits" $h 0 0 "$src/g$bits.pgm"
  else dicom_expect "$name.dcm" 72 96 $a "$bits" $h 0 0; fi
done

# Relabelled copies: the same cells shown inverted, or as signed values.
cp "$corpus/dicom/d12-exle.dcm" "$corpus/dicom/d12-mono1.dcm"
dcmodify -nb -m "(0028,0004)=MONOCHROME1" "$corpus/dicom/d12-mono1.dcm"
dicom_expect d12-mono1.dcm 72 96 16 12 11 0 1
cp "$corpus/dicom/d8-exle.dcm" "$corpus/dicom/d8-mono1.dcm"
dcmodify -nb -m "(0028,0004)=MONOCHROME1" -m "(0028,1050)=100" "$corpus/dicom/d8-mono1.dcm"
dicom_expect d8-mono1.dcm 72 96 8 8 7 0 1
cp "$corpus/dicom/d16-exle.dcm" "$corpus/dicom/d16-signed.dcm"
dcmodify -nb -m "(0028,0103)=1" -m "(0028,1050)=40" -m "(0028,1051)=400" -e "(0028,1052)" -e "(0028,1053)" \
  "$corpus/dicom/d16-signed.dcm"
dicom_expect d16-signed.dcm 72 96 16 16 15 1 0
dcmcjpeg +e1 "$corpus/dicom/d16-signed.dcm" "$corpus/dicom/d16-signed-sv1.dcm"
dicom_expect d16-signed-sv1.dcm 72 96 16 16 15 1 0

# Every other encoding clinics receive, each written by the tool that writes it and checked
# against another tool's decoding.
dcmconv +td "$corpus/dicom/d8-exle.dcm" "$corpus/dicom/d8-deflate.dcm"
dcmconv +td "$corpus/dicom/d12-exle.dcm" "$corpus/dicom/d12-deflate.dcm"
dcmcrle "$corpus/dicom/d8-exle.dcm" "$corpus/dicom/d8-rle.dcm"
dcmcrle "$corpus/dicom/d16-exle.dcm" "$corpus/dicom/d16-rle.dcm"
gdcmconv --rle "$corpus/dicom/d12-exle.dcm" "$corpus/dicom/d12-gdcm-rle.dcm"
dcmcjpeg +eb "$corpus/dicom/d8-exle.dcm" "$corpus/dicom/d8-baseline.dcm"
dcmcjpeg +ee "$corpus/dicom/d12-exle.dcm" "$corpus/dicom/d12-extended.dcm"
dcmcjpls +el "$corpus/dicom/d12-exle.dcm" "$corpus/dicom/d12-jpegls.dcm"
dcmcjpls +en +md 3 "$corpus/dicom/d12-exle.dcm" "$corpus/dicom/d12-jpegls-near.dcm"
dcmcjpls +el "$corpus/dicom/d16-exle.dcm" "$corpus/dicom/d16-jpegls.dcm"
gdcmconv --jpegls "$corpus/dicom/d8-exle.dcm" "$corpus/dicom/d8-jpegls.dcm"
gdcmconv --j2k "$corpus/dicom/d8-exle.dcm" "$corpus/dicom/d8-j2k.dcm"
gdcmconv --j2k "$corpus/dicom/d12-exle.dcm" "$corpus/dicom/d12-j2k.dcm"
gdcmconv --j2k --lossy -q 40 "$corpus/dicom/d12-exle.dcm" "$corpus/dicom/d12-j2k-lossy.dcm"
decode="dcmconv +te"
dicom_expect d8-deflate.dcm 72 96 8 8 7 0 0 "$src/g8.pgm"
dicom_expect d12-deflate.dcm 72 96 16 12 11 0 0 "$src/g12.pgm"
decode=dcmdrle
dicom_expect d8-rle.dcm 72 96 8 8 7 0 0 "$src/g8.pgm"
dicom_expect d16-rle.dcm 72 96 16 16 15 0 0 "$src/g16.pgm"
dicom_expect d12-gdcm-rle.dcm 72 96 16 12 11 0 0 "$src/g12.pgm"
decode=dcmdjpeg
dicom_expect d8-baseline.dcm 72 96 8 8 7 0 0
dicom_expect d12-extended.dcm 72 96 16 12 11 0 0
# A 12-bit JPEG file: the stream DCMTK's extended encoder wrote, taken out of its item.
python3 - "$corpus/dicom/d12-extended.dcm" "$corpus/jpeg/g12-extended.jpg" <<'PYTHON'
import sys
d = open(sys.argv[1], 'rb').read()
start = d.index(b'\xff\xd8\xff')
open(sys.argv[2], 'wb').write(d[start:d.index(b'\xff\xd9', start) + 2])
PYTHON
expect jpeg/g12-extended.jpg "$work/shown.pgm" g12-extended.pgm

decode=dcmdjpls
dicom_expect d12-jpegls.dcm 72 96 16 12 11 0 0 "$src/g12.pgm"
dicom_expect d12-jpegls-near.dcm 72 96 16 12 11 0 0
dicom_expect d16-jpegls.dcm 72 96 16 16 15 0 0 "$src/g16.pgm"
dicom_expect d8-jpegls.dcm 72 96 8 8 7 0 0 "$src/g8.pgm"
decode="gdcmconv --raw"
dicom_expect d8-j2k.dcm 72 96 8 8 7 0 0 "$src/g8.pgm"
dicom_expect d12-j2k.dcm 72 96 16 12 11 0 0 "$src/g12.pgm"
dicom_expect d12-j2k-lossy.dcm 72 96 16 12 11 0 0
decode=dcmdjpeg

# Colour: DCMTK's dcm2pnm shows each (after GDCM's decoding for JPEG 2000) as 8-bit RGB.
colour_expect() {
  local name=$1 source=${2:-}
  $decode "$corpus/dicom/$name" "$work/plain.dcm"
  dcm2pnm +op "$work/plain.dcm" "$work/shown.ppm"
  [ -z "$source" ] || same "$work/shown.ppm" "$source" "dicom/$name"
  expect "dicom/$name" "$work/shown.ppm" "${name%.dcm}.ppm"
}
$convert "$src/rgb8.ppm" -quality 95 "$work/rgb.jpg"
img2dcm "$work/rgb.jpg" "$corpus/dicom/rgb8-img2dcm.dcm"
dcmdjpeg "$corpus/dicom/rgb8-img2dcm.dcm" "$corpus/dicom/rgb8.dcm"
dcmdjpeg +pl "$corpus/dicom/rgb8-img2dcm.dcm" "$corpus/dicom/rgb8-planar.dcm"
dcmdjpeg +cn "$corpus/dicom/rgb8-img2dcm.dcm" "$corpus/dicom/rgb8-ybr-full.dcm"
py raw "$src/rgb8.ppm" "$work/rgb8.raw" 0
dicom_dump "$work/rgb8-exact.dcm" 60 80 8 8 7 "$work/rgb8.raw"
dcmodify -nb -m "(0028,0002)=3" -m "(0028,0004)=RGB" -i "(0028,0006)=0" "$work/rgb8-exact.dcm"
dcmcrle "$work/rgb8-exact.dcm" "$corpus/dicom/rgb8-rle.dcm"
dcmcjpls +el "$work/rgb8-exact.dcm" "$corpus/dicom/rgb8-jpegls.dcm"
gdcmconv --j2k "$work/rgb8-exact.dcm" "$corpus/dicom/rgb8-j2k.dcm"
dcmcjpeg +eb "$work/rgb8-exact.dcm" "$corpus/dicom/rgb8-baseline.dcm"
colour_expect rgb8-img2dcm.dcm
# dcm2pnm's own YCbCr conversion rounds otherwise than libjpeg's, which dcmdjpeg used just
# now on the very samples rgb8-ybr-full.dcm holds unconverted.
expect dicom/rgb8-ybr-full.dcm "$work/shown.ppm" rgb8-img2dcm.ppm
for name in rgb8 rgb8-planar rgb8-baseline; do colour_expect "$name.dcm"; done
decode=dcmdrle; colour_expect rgb8-rle.dcm "$src/rgb8.ppm"
decode=dcmdjpls; colour_expect rgb8-jpegls.dcm "$src/rgb8.ppm"
decode="gdcmconv --raw"; colour_expect rgb8-j2k.dcm "$src/rgb8.ppm"
decode=dcmdjpeg

# Palette colour: 16-bit tables whose entries repeat their high byte, so that dcm2pnm's
# 8-bit rendering, scaled back, is the 16-bit truth.
python3 - "$work" <<'PYTHON'
import sys
work = sys.argv[1]
for name, f in (('red', lambda i: i), ('green', lambda i: (i * 7) % 256), ('blue', lambda i: 255 - i)):
    open(f'{work}/{name}.lut', 'wb').write(b''.join((f(i) * 257).to_bytes(2, 'little') for i in range(256)))
PYTHON
dicom_dump "$corpus/dicom/palette8.dcm" 72 96 8 8 7 "$work/g8.raw" \
  '(0028,1101) US 256\0\16' '(0028,1102) US 256\0\16' '(0028,1103) US 256\0\16' \
  "(0028,1201) OW =$work/red.lut" "(0028,1202) OW =$work/green.lut" "(0028,1203) OW =$work/blue.lut"
dcmodify -nb -m "(0028,0004)=PALETTE COLOR" "$corpus/dicom/palette8.dcm"
dcm2pnm +op "$corpus/dicom/palette8.dcm" "$work/palette8.ppm"
py rescale "$work/palette8.ppm" 65535 "$work/palette16.ppm"
expect dicom/palette8.dcm "$work/palette16.ppm" palette8.ppm

# Encodings this reader still refuses rather than show wrongly.
gdcmimg -i "$src/g16.pgm" -o "$corpus/dicom/d16-ge-private.dcm"
refused dicom/d16-ge-private.dcm

# ---- TIFF -----------------------------------------------------------------------------------
tiff_expect() {
  local name=$1 source=${2:-}
  if [[ $name == rgba* ]]; then
    # tifftopnm premultiplies unassociated alpha; ImageMagick gives the stored samples.
    $convert "$corpus/tiff/$name" pam:"$work/decoded.pnm"
  elif [[ $name == *tiled* ]]; then
    # tifftopnm reads tiles at 8 bits only.
    $convert "$corpus/tiff/$name" pgm:"$work/decoded.pnm"
  elif [[ $name == rgb*-jpeg* ]]; then
    # tifftopnm reads no YCbCr.
    $convert "$corpus/tiff/$name" ppm:"$work/decoded.pnm"
  else
    tifftopnm -byrow "$corpus/tiff/$name" > "$work/decoded.pnm" 2>/dev/null
  fi
  [ -z "$source" ] || same "$work/decoded.pnm" "$source" "tiff/$name"
  local ext=pgm; head -c2 "$work/decoded.pnm" | grep -q P6 && ext=ppm; head -c2 "$work/decoded.pnm" | grep -q P7 && ext=pam
  expect "tiff/$name" "$work/decoded.pnm" "${name%.tif}.$ext"
}
py raw "$src/g8.pgm" "$work/t8.raw" 0
# raw2tiff writes 16-bit data in the machine's order; this one is little-endian.
tail -c $((96 * 72 * 2)) "$src/g16.pgm" | python3 -c 'import sys; d=sys.stdin.buffer.read(); sys.stdout.buffer.write(b"".join(d[i+1:i+2]+d[i:i+1] for i in range(0,len(d),2)))' > "$work/t16.raw"
raw2tiff -M -w 96 -l 72 -d byte -b 1 -p minisblack -c none -r 72 "$work/t8.raw" "$corpus/tiff/g8-le-1strip.tif"
raw2tiff -M -w 96 -l 72 -d short -b 1 -p minisblack -c none -r 72 "$work/t16.raw" "$corpus/tiff/g16-le-1strip.tif"
raw2tiff -w 96 -l 72 -d byte -b 1 -p minisblack -c none -r 9 "$work/t8.raw" "$corpus/tiff/g8-le-fillorder2.tif"
tiffcp -B -c none -r 5 "$corpus/tiff/g8-le-1strip.tif" "$corpus/tiff/g8-be-strips.tif"
tiffcp -B -c none -r 16 "$corpus/tiff/g16-le-1strip.tif" "$corpus/tiff/g16-be-strips.tif"
tiffcp -L -c none -r 7 "$corpus/tiff/g16-le-1strip.tif" "$corpus/tiff/g16-le-strips.tif"
cp "$corpus/tiff/g8-le-1strip.tif" "$corpus/tiff/g8-whiteiszero.tif"
tiffset -s 262 0 "$corpus/tiff/g8-whiteiszero.tif"
cp "$corpus/tiff/g16-be-strips.tif" "$corpus/tiff/g16-be-whiteiszero.tif"
tiffset -s 262 0 "$corpus/tiff/g16-be-whiteiszero.tif"
$convert "$src/rgb8.ppm" -compress none "$corpus/tiff/rgb8-le.tif"
$convert "$src/rgb8.ppm" -compress none -define tiff:endian=msb -define tiff:rows-per-strip=11 "$corpus/tiff/rgb8-be.tif"
$convert "$src/rgb16.ppm" -compress none -define tiff:endian=msb "$corpus/tiff/rgb16-be.tif"
$convert "$src/rgb8.ppm" \( "$src/g8.pgm" -resize 80x60! \) -alpha off -compose CopyOpacity -composite \
  -compress none "$corpus/tiff/rgba8-le.tif"
for name in g8-le-1strip g8-le-fillorder2 g8-be-strips; do tiff_expect "$name.tif" "$src/g8.pgm"; done
for name in g16-le-1strip g16-be-strips g16-le-strips; do tiff_expect "$name.tif" "$src/g16.pgm"; done
tiff_expect g8-whiteiszero.tif
tiff_expect g16-be-whiteiszero.tif
tiff_expect rgb8-le.tif "$src/rgb8.ppm"
tiff_expect rgb8-be.tif "$src/rgb8.ppm"
tiff_expect rgb16-be.tif "$src/rgb16.ppm"
tiff_expect rgba8-le.tif

# Every compression and layout libtiff writes, each compared with netpbm's decoding.
tiffcp -c lzw "$corpus/tiff/g8-le-1strip.tif" "$corpus/tiff/g8-lzw.tif"
tiffcp -c lzw:2 -r 9 "$corpus/tiff/g16-le-1strip.tif" "$corpus/tiff/g16-lzw-predictor.tif"
tiffcp -c zip "$corpus/tiff/g16-be-strips.tif" "$corpus/tiff/g16-deflate.tif"
tiffcp -c zip:2 "$corpus/tiff/rgb16-be.tif" "$corpus/tiff/rgb16-deflate-predictor.tif"
tiffcp -c packbits "$corpus/tiff/g8-le-1strip.tif" "$corpus/tiff/g8-packbits.tif"
tiffcp -c jpeg:90 -r 16 "$corpus/tiff/g8-le-1strip.tif" "$corpus/tiff/g8-jpeg.tif"
# Colour JPEG: tiffcp stores it as subsampled YCbCr.
tiffcp -c jpeg:90 -r 16 "$corpus/tiff/rgb8-le.tif" "$corpus/tiff/rgb8-jpeg.tif"
$convert "$src/rgb8.ppm" -colors 64 -depth 8 -type Palette -compress lzw "$corpus/tiff/palette8-lzw.tif"
tiffcp -t -w 32 -l 32 -c none "$corpus/tiff/g8-le-1strip.tif" "$corpus/tiff/g8-tiled.tif"
tiffcp -t -w 16 -l 16 -c lzw "$corpus/tiff/g16-le-1strip.tif" "$corpus/tiff/g16-tiled-lzw.tif"
tiffcp -p separate -c none "$corpus/tiff/rgb8-le.tif" "$corpus/tiff/rgb8-planar.tif"
tiffcp -8 -c zip "$corpus/tiff/g16-le-1strip.tif" "$corpus/tiff/g16-bigtiff.tif"
$convert "$src/g12.pgm" -depth 12 -compress none "$corpus/tiff/g12-packed.tif"
for name in g8-lzw g8-packbits; do tiff_expect "$name.tif" "$src/g8.pgm"; done
for name in g16-lzw-predictor g16-deflate g16-tiled-lzw g16-bigtiff; do tiff_expect "$name.tif" "$src/g16.pgm"; done
for name in g8-jpeg rgb8-jpeg palette8-lzw; do tiff_expect "$name.tif"; done
tiff_expect rgb16-deflate-predictor.tif "$src/rgb16.ppm"
tiff_expect rgb8-planar.tif "$src/rgb8.ppm"
tiff_expect g8-tiled.tif "$src/g8.pgm"
# netpbm reads no 12-bit samples; ImageMagick's decoding comes at 16 bits, brought back to 12.
$convert "$corpus/tiff/g12-packed.tif" -depth 16 pgm:"$work/decoded16.pgm"
py rescale "$work/decoded16.pgm" 4095 "$work/decoded.pnm"
expect tiff/g12-packed.tif "$work/decoded.pnm" g12-packed.pgm
# Bilevel: ImageMagick's decoding, spread over 0..255 as the reader shows it.
$convert "$src/g8.pgm" -monochrome -depth 1 -compress none "$corpus/tiff/bilevel.tif"
$convert "$corpus/tiff/bilevel.tif" -depth 8 pgm:"$work/decoded.pnm"
expect tiff/bilevel.tif "$work/decoded.pnm" bilevel.pgm
# Turned: ImageMagick puts the picture upright as the orientation tag says.
for orientation in 3 6; do
  cp "$corpus/tiff/g8-le-1strip.tif" "$corpus/tiff/g8-orientation$orientation.tif"
  tiffset -s 274 "$orientation" "$corpus/tiff/g8-orientation$orientation.tif"
  $convert "$corpus/tiff/g8-orientation$orientation.tif" -auto-orient pgm:"$work/decoded.pnm"
  expect "tiff/g8-orientation$orientation.tif" "$work/decoded.pnm" "g8-orientation$orientation.pgm"
done
$convert "$src/g8.pgm" -depth 32 -define quantum:format=floating-point -compress none "$corpus/tiff/g32-float.tif" 2>/dev/null || [ -s "$corpus/tiff/g32-float.tif" ]
refused tiff/g32-float.tif

# ---- PNG ------------------------------------------------------------------------------------
mkdir -p "$corpus/png"
png_expect() {  # NAME SOURCE: netpbm's decoding, which must give the source's samples
  local name=$1 source=$2
  pngtopnm "$corpus/png/$name" > "$work/decoded.pnm"
  same "$work/decoded.pnm" "$source" "png/$name"
  local ext=pgm; head -c2 "$work/decoded.pnm" | grep -q P6 && ext=ppm
  expect "png/$name" "$work/decoded.pnm" "${name%.png}.$ext"
}
$convert "$src/g8.pgm" "$corpus/png/g8.png"
$convert "$src/g16.pgm" "$corpus/png/g16.png"
$convert "$src/rgb8.ppm" "$corpus/png/rgb8.png"
$convert "$src/rgb16.ppm" "$corpus/png/rgb16.png"
$convert "$src/g8.pgm" -interlace PNG "$corpus/png/g8-interlaced.png"
cp "$corpus/png/rgb8.png" "$corpus/png/rgb8-no-extension"
for name in g8 g8-interlaced; do png_expect "$name.png" "$src/g8.pgm"; done
png_expect g16.png "$src/g16.pgm"
png_expect rgb8.png "$src/rgb8.ppm"
png_expect rgb16.png "$src/rgb16.ppm"
expect png/rgb8-no-extension "$src/rgb8.ppm" rgb8.ppm
$convert "$src/rgb8.ppm" \( "$src/g8.pgm" -resize 80x60! \) -alpha off -compose CopyOpacity -composite \
  PNG32:"$corpus/png/rgba8.png"
$convert "$corpus/png/rgba8.png" pam:"$work/decoded.pnm"
expect png/rgba8.png "$work/decoded.pnm" rgba8-png.pam
head -c 300 "$corpus/png/g8.png" > "$corpus/png/g8-truncated.png"
refused png/g8-truncated.png

# ---- VIFF -----------------------------------------------------------------------------------
viff_expect() {
  local name=$1 source=$2 depth=8
  case $source in *16*) depth=16 ;; esac
  $convert "$corpus/viff/$name" -depth $depth "$work/decoded.$3"
  same "$work/decoded.$3" "$source" "viff/$name"
  expect "viff/$name" "$source" "${name%.viff}.$3"
}
$convert "$src/rgb8.ppm" "$corpus/viff/rgb8-im.viff"
py viff "$src/g8.pgm" be "$corpus/viff/g8-be.viff"
py viff "$src/g8.pgm" le "$corpus/viff/g8-le.viff"
py viff "$src/g12.pgm" le "$corpus/viff/g12-le.viff"
py viff "$src/g12.pgm" be "$corpus/viff/g12-be.viff"
py viff "$src/rgb8.ppm" le "$corpus/viff/rgb8-le.viff"
viff_expect rgb8-im.viff "$src/rgb8.ppm" ppm
viff_expect g8-be.viff "$src/g8.pgm" pgm
viff_expect g8-le.viff "$src/g8.pgm" pgm
viff_expect rgb8-le.viff "$src/rgb8.ppm" ppm
# ImageMagick takes 16-bit VIFF samples as signed and rescales them; the 12-bit values are
# checked against their source instead.
expect viff/g12-le.viff "$src/g12.pgm" g12.pgm
expect viff/g12-be.viff "$src/g12.pgm" g12.pgm

# ---- BMP and JPEG, for the bitmap and JPEG codecs -------------------------------------------
codec="$corpus/codec"
echo "# file  expected-decoding   (made by scripts/make_image_corpus.sh)" > "$codec/manifest.txt"
codec_bmp() {  # NAME FORMAT CONVERT-ARGUMENTS...
  local name=$1 format=$2; shift 2
  $convert "$@" "$format:$codec/$name"
  $convert "$codec/$name" -depth 8 "$work/decoded.ppm"
  cp "$work/decoded.ppm" "$codec/expected/${name%.bmp}.ppm"
  echo "$name expected/${name%.bmp}.ppm" >> "$codec/manifest.txt"
}
codec_bmp bmp1.bmp BMP3 "$src/g8.pgm" -monochrome -type Bilevel
codec_bmp bmp4.bmp BMP3 "$src/rgb8.ppm" -colors 16 -type Palette -compress None
codec_bmp bmp8-palette.bmp BMP3 "$src/rgb8.ppm" -colors 200 -type Palette -compress None
codec_bmp bmp8-grey.bmp BMP3 "$src/g8.pgm" -type Grayscale -compress None
codec_bmp bmp8-rle.bmp BMP3 "$src/rgb8.ppm" -colors 200 -type Palette -compress RLE
codec_bmp bmp16-565.bmp BMP "$src/rgb8.ppm" -define bmp:subtype=RGB565
codec_bmp bmp24.bmp BMP3 "$src/rgb8.ppm" -type TrueColor
codec_bmp bmp32-v5.bmp BMP "$src/rgb8.ppm" -alpha set -type TrueColorAlpha
cjpeg -grayscale -quality 90 "$src/g8.pgm" > "$codec/grey-q90.jpg"
cjpeg -quality 90 "$src/rgb8.ppm" > "$codec/colour-q90.jpg"
cjpeg -quality 90 -progressive "$src/rgb8.ppm" > "$codec/colour-progressive.jpg"
cjpeg -quality 90 -progressive -restart 2 -grayscale "$src/g8.pgm" > "$codec/grey-progressive-restart.jpg"
cjpeg -quality 75 -sample 1x1 -restart 1 "$src/rgb8.ppm" > "$codec/colour-444-restart.jpg"
for name in grey-q90 colour-q90 colour-progressive grey-progressive-restart colour-444-restart; do
  djpeg -dct int -pnm "$codec/$name.jpg" > "$work/decoded.pnm"
  ext=pgm; head -c2 "$work/decoded.pnm" | grep -q P6 && ext=ppm
  cp "$work/decoded.pnm" "$codec/expected/$name.$ext"
  echo "$name.jpg expected/$name.$ext" >> "$codec/manifest.txt"
done

# ---- Fuzzing seeds: small versions of the same kinds of file --------------------------------
# Only the seed-* files are made here; what the fuzzers found and kept stays.
fuzz="$root/fuzz/corpus"
mkdir -p "$fuzz"/{tiff,viff,dicom,lossless_jpeg,png}
rm -f "$fuzz"/{tiff,viff,dicom,lossless_jpeg,png}/seed-*
py radiograph 16 12 255 1 grey "$src/s8.pgm"
py radiograph 16 12 4095 2 grey "$src/s12.pgm"
py radiograph 16 12 65535 3 grey "$src/s16.pgm"
py radiograph 8 6 255 4 colour "$src/srgb.ppm"
py raw "$src/s8.pgm" "$work/s8.raw" 0
py raw "$src/s12.pgm" "$work/s12.raw" 0
raw2tiff -M -w 16 -l 12 -d byte -b 1 -p minisblack -c none -r 12 "$work/s8.raw" "$fuzz/tiff/seed-g8-le.tif"
raw2tiff -M -w 16 -l 12 -d short -b 1 -p minisblack -c none -r 12 "$work/s12.raw" "$fuzz/tiff/seed-g16-le.tif"
raw2tiff -w 16 -l 12 -d byte -b 1 -p minisblack -c none -r 5 "$work/s8.raw" "$fuzz/tiff/seed-g8-fillorder2.tif"
tiffcp -B -c none -r 3 "$fuzz/tiff/seed-g8-le.tif" "$fuzz/tiff/seed-g8-be-strips.tif"
tiffcp -B -c none -r 5 "$fuzz/tiff/seed-g16-le.tif" "$fuzz/tiff/seed-g16-be-strips.tif"
cp "$fuzz/tiff/seed-g8-le.tif" "$fuzz/tiff/seed-g8-whiteiszero.tif"
tiffset -s 262 0 "$fuzz/tiff/seed-g8-whiteiszero.tif"
$convert "$src/srgb.ppm" -compress none "$fuzz/tiff/seed-rgb8.tif"
$convert "$src/srgb.ppm" -compress none -depth 16 -define tiff:endian=msb "$fuzz/tiff/seed-rgb16-be.tif"
$convert "$src/srgb.ppm" -alpha set -compress none "$fuzz/tiff/seed-rgba8.tif"
$convert "$src/s8.pgm" -compress LZW "$fuzz/tiff/seed-lzw.tif"
tiffcp -p separate -c none "$fuzz/tiff/seed-rgb8.tif" "$fuzz/tiff/seed-rgb8-planar.tif"
tiffcp -c zip:2 "$fuzz/tiff/seed-g16-le.tif" "$fuzz/tiff/seed-g16-deflate-predictor.tif"
tiffcp -c packbits "$fuzz/tiff/seed-g8-le.tif" "$fuzz/tiff/seed-g8-packbits.tif"
tiffcp -c jpeg -r 16 "$fuzz/tiff/seed-rgb8.tif" "$fuzz/tiff/seed-rgb8-jpeg.tif"
tiffcp -t -w 16 -l 16 -c lzw "$fuzz/tiff/seed-g8-le.tif" "$fuzz/tiff/seed-g8-tiled.tif"
tiffcp -8 "$fuzz/tiff/seed-g8-le.tif" "$fuzz/tiff/seed-g8-bigtiff.tif"
$convert "$src/srgb.ppm" -colors 16 -type Palette "$fuzz/tiff/seed-palette4.tif"
$convert "$src/s8.pgm" -monochrome -depth 1 "$fuzz/tiff/seed-bilevel.tif"
$convert "$src/s8.pgm" "$fuzz/png/seed-g8.png"
$convert "$src/s12.pgm" "$fuzz/png/seed-g16.png"
$convert "$src/srgb.ppm" "$fuzz/png/seed-rgb8.png"
$convert "$src/srgb.ppm" -depth 16 "$fuzz/png/seed-rgb16.png"
$convert "$src/srgb.ppm" -colors 16 PNG8:"$fuzz/png/seed-palette.png"
$convert "$src/srgb.ppm" -alpha set PNG32:"$fuzz/png/seed-rgba8.png"
$convert "$src/s8.pgm" -interlace PNG "$fuzz/png/seed-g8-interlaced.png"

$convert "$src/srgb.ppm" "$fuzz/viff/seed-rgb8-im.viff"
py viff "$src/s8.pgm" be "$fuzz/viff/seed-g8-be.viff"
py viff "$src/s8.pgm" le "$fuzz/viff/seed-g8-le.viff"
py viff "$src/s12.pgm" le "$fuzz/viff/seed-g16-le.viff"
py viff "$src/s12.pgm" be "$fuzz/viff/seed-g16-be.viff"
py viff "$src/srgb.ppm" le "$fuzz/viff/seed-rgb8-le.viff"

dicom_dump "$fuzz/dicom/seed-d8-exle.dcm" 12 16 8 8 7 "$work/s8.raw" "${window8[@]}"
dicom_dump "$fuzz/dicom/seed-d12-exle.dcm" 12 16 16 12 11 "$work/s12.raw" "${window12[@]}" '(0028,1052) DS [-1024]'
dcmconv +ti "$fuzz/dicom/seed-d12-exle.dcm" "$fuzz/dicom/seed-d12-imle.dcm"
dcmconv -F +ti "$fuzz/dicom/seed-d12-exle.dcm" "$fuzz/dicom/seed-d12-nometa.dcm"
dcmconv +tb "$fuzz/dicom/seed-d12-exle.dcm" "$fuzz/dicom/seed-d12-exbe.dcm"
dcmconv +tb "$fuzz/dicom/seed-d8-exle.dcm" "$fuzz/dicom/seed-d8-exbe.dcm"
dcmconv +td "$fuzz/dicom/seed-d8-exle.dcm" "$fuzz/dicom/seed-d8-deflate.dcm"
dcmcjpeg +e1 "$fuzz/dicom/seed-d12-exle.dcm" "$fuzz/dicom/seed-d12-sv1.dcm"
dcmcjpeg +e1 "$fuzz/dicom/seed-d8-exle.dcm" "$fuzz/dicom/seed-d8-sv1.dcm"
dcmcjpeg +el +sv 6 +pt 2 "$fuzz/dicom/seed-d12-exle.dcm" "$fuzz/dicom/seed-d12-sv6-pt2.dcm"
cp "$fuzz/dicom/seed-d12-exle.dcm" "$fuzz/dicom/seed-d12-mono1-signed.dcm"
dcmodify -nb -m "(0028,0004)=MONOCHROME1" -m "(0028,0103)=1" "$fuzz/dicom/seed-d12-mono1-signed.dcm"
py ljpeg "$src/s12.pgm" 12 5 0 2 "$work/seed.jpg"
gdcmimg -i "$work/seed.jpg" -o "$fuzz/dicom/seed-d12-restart.dcm"
dcmodify -nb -m "(0028,0100)=16" "$fuzz/dicom/seed-d12-restart.dcm"

for sv in 1 2 3 4 5 6 7; do py ljpeg "$src/s12.pgm" 12 "$sv" 0 0 "$fuzz/lossless_jpeg/seed-p12-sv$sv.jpg"; done
py ljpeg "$src/s8.pgm" 8 1 0 0 "$fuzz/lossless_jpeg/seed-p8-sv1.jpg"
py ljpeg "$src/s16.pgm" 16 4 3 0 "$fuzz/lossless_jpeg/seed-p16-sv4-pt3.jpg"
py ljpeg "$src/s12.pgm" 12 7 1 3 "$fuzz/lossless_jpeg/seed-p12-sv7-restart.jpg"
py ljpeg "$src/s16.pgm" 16 6 0 1 "$fuzz/lossless_jpeg/seed-p16-sv6-restart.jpg"

du -sh "$corpus"

# Seeds for the DICOM codec targets: the frame the data set declares (rows and columns as
# big-endian 16 bits, samples per pixel odd for three, bits allocated odd for 16), then the
# first fragment of a tool-made file.
codec_seed() {  # FOLDER SOURCE.dcm ROWS COLUMNS SAMPLES ALLOCATED
  python3 - "$fuzz/$1/seed-$(basename "${2%.dcm}")" "$2" "$3" "$4" "$5" "$6" <<'PYTHON'
import sys
out, source, rows, columns, samples, allocated = sys.argv[1], sys.argv[2], *map(int, sys.argv[3:])
d = open(source, 'rb').read()
pos = d.index(b'\xe0\x7f\x10\x00OB\x00\x00\xff\xff\xff\xff') + 12
length = lambda at: int.from_bytes(d[at + 4:at + 8], 'little')
pos += 8 + length(pos)
head = rows.to_bytes(2, 'big') + columns.to_bytes(2, 'big') + bytes([1 if samples == 3 else 0, 1 if allocated == 16 else 0])
open(out, 'wb').write(head + d[pos + 8:pos + 8 + length(pos)])
PYTHON
}
mkdir -p "$fuzz"/{dicom_jpeg,dicom_jpegls,dicom_j2k,dicom_rle} "$work/seeds"
rm -f "$fuzz"/{dicom_jpeg,dicom_jpegls,dicom_j2k,dicom_rle}/seed-*
# GDCM's JPEG 2000 encoder fails on images as small as the other seeds.
py radiograph 16 12 255 4 colour "$src/srgb16.ppm"
py raw "$src/srgb16.ppm" "$work/srgb16.raw" 0
dicom_dump "$work/seeds/rgb8.dcm" 12 16 8 8 7 "$work/srgb16.raw"
dcmodify -nb -m "(0028,0002)=3" -m "(0028,0004)=RGB" -i "(0028,0006)=0" "$work/seeds/rgb8.dcm"
cp "$work/seeds/rgb8.dcm" "$fuzz/dicom/seed-rgb8.dcm"
s8="$fuzz/dicom/seed-d8-exle.dcm" s12="$fuzz/dicom/seed-d12-exle.dcm" rgb="$work/seeds/rgb8.dcm"
dcmcjpeg +eb "$s8" "$work/seeds/d8-baseline.dcm"
dcmcjpeg +ee "$s12" "$work/seeds/d12-extended.dcm"
dcmcjpeg +eb "$rgb" "$work/seeds/rgb8-baseline.dcm"
dcmcjpls +el "$s12" "$work/seeds/d12-jpegls.dcm"
dcmcjpls +en "$s8" "$work/seeds/d8-jpegls-near.dcm"
dcmcjpls +el "$rgb" "$work/seeds/rgb8-jpegls.dcm"
gdcmconv --j2k "$s12" "$work/seeds/d12-j2k.dcm"
gdcmconv --j2k --lossy -q 40 "$s8" "$work/seeds/d8-j2k-lossy.dcm" > /dev/null
gdcmconv --j2k "$rgb" "$work/seeds/rgb8-j2k.dcm"
dcmcrle "$s8" "$work/seeds/d8-rle.dcm"
dcmcrle "$s12" "$work/seeds/d12-rle.dcm"
dcmcrle "$rgb" "$work/seeds/rgb8-rle.dcm"
cp "$work/seeds/rgb8-rle.dcm" "$fuzz/dicom/seed-rgb8-rle.dcm"
cp "$work/seeds/d12-jpegls.dcm" "$fuzz/dicom/seed-d12-jpegls.dcm"
codec_seed dicom_jpeg "$work/seeds/d8-baseline.dcm" 12 16 1 8
codec_seed dicom_jpeg "$work/seeds/d12-extended.dcm" 12 16 1 16
codec_seed dicom_jpeg "$work/seeds/rgb8-baseline.dcm" 12 16 3 8
codec_seed dicom_jpegls "$work/seeds/d12-jpegls.dcm" 12 16 1 16
codec_seed dicom_jpegls "$work/seeds/d8-jpegls-near.dcm" 12 16 1 8
codec_seed dicom_jpegls "$work/seeds/rgb8-jpegls.dcm" 12 16 3 8
codec_seed dicom_j2k "$work/seeds/d12-j2k.dcm" 12 16 1 16
codec_seed dicom_j2k "$work/seeds/d8-j2k-lossy.dcm" 12 16 1 8
codec_seed dicom_j2k "$work/seeds/rgb8-j2k.dcm" 12 16 3 8
codec_seed dicom_rle "$work/seeds/d8-rle.dcm" 12 16 1 8
codec_seed dicom_rle "$work/seeds/d12-rle.dcm" 12 16 1 16
codec_seed dicom_rle "$work/seeds/rgb8-rle.dcm" 12 16 3 8
