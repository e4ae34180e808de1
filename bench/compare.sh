#!/usr/bin/env bash
# Lumacet beside the tools people would use instead, on the same generated files, in one run:
#   bash bench/compare.sh [RUNS]
# Whole processes are timed in alternating pairs (ours, peer, ours, peer ...), RUNS of each
# (7 unless told); every row prints min / median / max in milliseconds, the ratio of the
# medians (ours / peer, below 1 is faster), the target and the load average before and after.
# In-process rows come from the Google Benchmark programs with as many repetitions.
# Needs the peers: bash bench/setup_peers.sh (DCMTK, GDCM, libtiff's and libjpeg-turbo's tools, ImageMagick, OpenCV).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
build=build/release

for tool in dcmconv dcmdjpeg dcmcjpeg dcmcjpls dcmdjpls gdcmconv tiffcp djpeg cjpeg python3 /usr/bin/convert; do
  command -v "$tool" >/dev/null || { echo "compare.sh: $tool is missing; run bash bench/setup_peers.sh" >&2; exit 1; }
done
cmake --preset release >/dev/null
cmake --build --preset release -j2 --target lumacet-cli bench_image_bench bench_data_file_bench bench_export_bench >/dev/null
cli=$PWD/$build/lumacet-cli

# LUMACET_BENCH_DIR keeps the inputs and outputs in a folder of one's own, for profiling.
if [ -n "${LUMACET_BENCH_DIR:-}" ]; then
  work=$LUMACET_BENCH_DIR && mkdir -p "$work"
else
  work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
fi

# ---- Inputs ---------------------------------------------------------------------------------
# A 3000 x 2400 radiograph-like image: 12 bits stored in 16 as an uncompressed DICOM file
# (explicit little endian), and its top 8 bits as a PGM for the JPEG encoder.
python3 - "$work" <<'PYTHON'
import math, random, struct, sys
work = sys.argv[1]
w, h = 3000, 2400
random.seed(1)
row_shape = [math.sin(x / 170.0) for x in range(w)]
samples = bytearray(2 * w * h)
grey = bytearray(w * h)
noise = [random.randrange(0, 64) for _ in range(4096)]
for y in range(h):
    cy = math.cos(y / 230.0)
    base = 2 * y * w
    for x in range(w):
        shape = 0.5 + 0.3 * row_shape[x] * cy
        v = int(4095 * shape * (0.6 + 0.4 * x / w)) + noise[(x * 7 + y * 13) & 4095] - 32
        v = 0 if v < 0 else 4095 if v > 4095 else v
        samples[base + 2 * x] = v & 0xFF
        samples[base + 2 * x + 1] = v >> 8
        grey[y * w + x] = v >> 4

def element(group, elem, vr, value):
    if len(value) % 2: value += b' ' if vr in (b'CS', b'DS', b'IS', b'PN', b'LO', b'DA') else b'\0'
    if vr in (b'OB', b'OW', b'UN', b'SQ', b'UT'):
        return struct.pack('<HH2sHI', group, elem, vr, 0, len(value)) + value
    return struct.pack('<HH2sH', group, elem, vr, len(value)) + value

uid = b'1.2.826.0.1.3680043.2.1143.1'
meta_body = (element(0x0002, 0x0001, b'OB', b'\0\1') + element(0x0002, 0x0002, b'UI', b'1.2.840.10008.5.1.4.1.1.1.1') +
             element(0x0002, 0x0003, b'UI', uid) + element(0x0002, 0x0010, b'UI', b'1.2.840.10008.1.2.1'))
meta = element(0x0002, 0x0000, b'UL', struct.pack('<I', len(meta_body))) + meta_body
us = lambda v: struct.pack('<H', v)
body = (element(0x0008, 0x0016, b'UI', b'1.2.840.10008.5.1.4.1.1.1.1') + element(0x0008, 0x0018, b'UI', uid) +
        element(0x0008, 0x0060, b'CS', b'DX') + element(0x0010, 0x0010, b'PN', b'Bench^Ceph') +
        element(0x0028, 0x0002, b'US', us(1)) + element(0x0028, 0x0004, b'CS', b'MONOCHROME2') +
        element(0x0028, 0x0010, b'US', us(h)) + element(0x0028, 0x0011, b'US', us(w)) +
        element(0x0028, 0x0100, b'US', us(16)) + element(0x0028, 0x0101, b'US', us(12)) +
        element(0x0028, 0x0102, b'US', us(11)) + element(0x0028, 0x0103, b'US', us(0)) +
        element(0x7FE0, 0x0010, b'OW', bytes(samples)))
open(f'{work}/native.dcm', 'wb').write(b'\0' * 128 + b'DICM' + meta + body)
swapped = bytearray(len(samples))  # PGM's 16-bit samples are big-endian
swapped[0::2], swapped[1::2] = samples[1::2], samples[0::2]
open(f'{work}/grey16.pgm', 'wb').write(b'P5\n%d %d\n4095\n' % (w, h) + bytes(swapped))
open(f'{work}/grey.pgm', 'wb').write(b'P5\n%d %d\n255\n' % (w, h) + bytes(grey))
open(f'{work}/small.pgm', 'wb').write(b'P5\n64 48\n255\n' + bytes(grey[:64 * 48]))
PYTHON
cjpeg -quality 90 -grayscale -outfile "$work/grey.jpg" "$work/grey.pgm"
cjpeg -quality 90 -grayscale -outfile "$work/small.jpg" "$work/small.pgm"
for sv in 1 2 3 4 5 6 7; do dcmcjpeg +el +sv "$sv" "$work/native.dcm" "$work/lossless-sv$sv.dcm" 2>/dev/null; done
dcmcjpls +el "$work/native.dcm" "$work/jpegls.dcm"
gdcmconv --j2k "$work/native.dcm" "$work/j2k.dcm"
/usr/bin/convert "$work/grey16.pgm" -compress LZW "$work/lzw16.tif"

# ---- Timing ---------------------------------------------------------------------------------
now() { date +%s%N; }
load() { cut -d' ' -f1-3 /proc/loadavg; }
# Milliseconds of one run of the command, its output thrown away.
time_once() { local start end; start=$(now); "$@" >/dev/null 2>&1; end=$(now); echo $(( (end - start) / 1000 )); }
stats() { sort -n | awk '{ v[NR] = $1 } END { printf "%.1f %.1f %.1f", v[1] / 1000, v[int((NR + 1) / 2)] / 1000, v[NR] / 1000 }'; }
printf '%-44s %-20s %-20s %-7s %-14s %s\n' "row" "ours min/med/max" "peer min/med/max" "ratio" "target" "load before -> after"
# pair LABEL TARGET_RATIO OURS... -- PEER...: alternated runs; met when median ratio <= target.
pair() {
  local label=$1 target=$2; shift 2
  local ours=() peer=()
  while [ "$1" != "--" ]; do ours+=("$1"); shift; done; shift; peer=("$@")
  local before; before=$(load)
  : >"$work/ours.t"; : >"$work/peer.t"
  time_once "${ours[@]}" >/dev/null; time_once "${peer[@]}" >/dev/null  # warm the page cache
  for _ in $(seq "$runs"); do time_once "${ours[@]}" >>"$work/ours.t"; time_once "${peer[@]}" >>"$work/peer.t"; done
  local o p; o=$(stats <"$work/ours.t"); p=$(stats <"$work/peer.t")
  local ratio; ratio=$(awk -v a="${o#* }" -v b="${p#* }" 'BEGIN { split(a, x, " "); split(b, y, " "); printf "%.2f", x[1] / y[1] }')
  local met; met=$(awk -v r="$ratio" -v t="$target" 'BEGIN { print (r <= t ? "met" : "NOT met") }')
  printf '%-44s %-20s %-20s %-7s <=%-5s %-7s %s -> %s\n' "$label" "${o// //}" "${p// //}" "$ratio" "$target" "$met" "$before" "$(load)"
}

pair "image --out, uncompressed DICOM vs dcmconv" 1.2 "$cli" image "$work/native.dcm" --out "$work/o.pgm" -- \
  dcmconv "$work/native.dcm" "$work/peer.dcm"
pair "image --out, JPEG vs djpeg (PGM)" 1.2 "$cli" image "$work/grey.jpg" --out "$work/o.pgm" -- \
  djpeg -outfile "$work/peer.pgm" "$work/grey.jpg"
for sv in 1 2 3 4 5 6 7; do
  pair "image --out, lossless SV$sv vs dcmdjpeg" 0.67 "$cli" image "$work/lossless-sv$sv.dcm" --out "$work/o.pgm" -- \
    dcmdjpeg "$work/lossless-sv$sv.dcm" "$work/peer.dcm"
done
for peer in "dcmdjpls" "gdcmconv --raw"; do
  pair "image --out, JPEG-LS vs $peer" 1.0 "$cli" image "$work/jpegls.dcm" --out "$work/o.pgm" -- \
    $peer "$work/jpegls.dcm" "$work/peer.dcm"
done
pair "image --out, JPEG 2000 vs gdcmconv --raw" 1.0 "$cli" image "$work/j2k.dcm" --out "$work/o.pgm" -- \
  gdcmconv --raw "$work/j2k.dcm" "$work/peer.dcm"
pair "image --out, LZW 16-bit TIFF vs tiffcp -c none" 1.0 "$cli" image "$work/lzw16.tif" --out "$work/o.pgm" -- \
  tiffcp -c none "$work/lzw16.tif" "$work/peer.tif"
# The SVG render is the yardstick of the PNG one: the same tracings, the same size.
render() { "$cli" render examples/PATIENT.CSV --records 1,2,4,5 --size 2560x1440 --mode all --out "$1"; }
pair "render 4 tracings 2560x1440: PNG vs SVG" 1.5 render "$work/r.png" -- render "$work/r.svg"
echo "  PNG $(stat -c %s "$work/r.png") bytes, SVG $(stat -c %s "$work/r.svg") bytes"
# Verbs that paint nothing start no Qt application: a small file's --info alone.
: >"$work/info.t"
for _ in $(seq "$runs"); do time_once "$cli" image "$work/small.jpg" --info >>"$work/info.t"; done
echo "image --info of a 64 x 48 JPEG: min/med/max $(stats <"$work/info.t" | tr ' ' /) ms (load $(load))"

# ---- In process -----------------------------------------------------------------------------
gbench() {
  "$build/bench/$1" --benchmark_filter="$2" --benchmark_repetitions="$runs" \
    --benchmark_report_aggregates_only=false --benchmark_format=csv 2>/dev/null |
    awk -F, '/^"/ && $1 !~ /_(mean|median|stddev|cv)"$/ { gsub(/"/, "", $1); sub(/\/repeats:.*/, "", $1); print $1, $3 }' |
    sort -k1,1 -k2,2n |
    awk '{ if ($1 != name) { if (name != "") show(); name = $1; k = 0 } v[++k] = $2 }
         function show() { printf "  %-52s min/med/max %.1f/%.1f/%.1f ms\n", name, v[1], v[int((k + 1) / 2)], v[k] }
         END { if (name != "") show() }'
}
echo "adaptive equalization, 3000 x 2400, 8-bit (target: ours <= OpenCV CLAHE with 2 threads; load $(load)):"
gbench bench_image_bench 'BM_AdaptiveEqualize|BM_OpenCvClahe'
echo "sorted listing of 100,000 records (target < 100 ms) and export of 10,000 x 60 (target < 250 ms; load $(load)):"
gbench bench_data_file_bench 'BM_SortedListing'
gbench bench_export_bench 'BM_ExportMeasurements/10000'
