#!/usr/bin/env python3
"""The triangle warp of `lumacet-cli morph` against scikit-image's PiecewiseAffineTransform.

The example patient's first record is copied and its mandible advanced with `lumacet-cli
move`; the image is then morphed by triangle interpolation, and scikit-image warps the same
decoded image through the same control points. The two triangulations need not agree
everywhere (scikit-image triangulates the target points, the program the source points,
keeping cocircular overlaps), so the test asks for agreement on nearly every pixel and
prints the difference.

Usage: morph_peer_test.py LUMACET_CLI EXAMPLES_FOLDER
Exit 77 (skipped) when scikit-image is not installed.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import warnings

try:
    import numpy as np
    from skimage.transform import PiecewiseAffineTransform, warp
except ImportError:
    print("skipped: scikit-image (python3-skimage) is not installed")
    sys.exit(77)

# scikit-image 0.19 still asks SciPy for a deprecated attribute; that is not ours to mend.
warnings.filterwarnings("ignore", category=DeprecationWarning)

IMAGE = "emma_lindqvist_2018.jpg"


def run(cli, *args):
    done = subprocess.run([cli, *args], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"lumacet-cli {' '.join(args)} failed:\n{done.stderr}")
    return done.stdout


def read_netpbm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    magic, width, height, top = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
    at += 1
    channels = 3 if magic == b"P6" else 1
    dtype = ">u2" if top > 255 else "u1"
    pixels = np.frombuffer(data[at:], dtype=dtype, count=width * height * channels)
    return pixels.reshape(height, width, channels)[:, :, 0].astype(float)


def read_bmp_blue(path):
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    step = bits // 8
    stride = (width * step + 3) // 4 * 4
    rows = np.frombuffer(data[offset:offset + stride * abs(height)], dtype="u1").reshape(abs(height), stride)
    picture = rows[:, 0:width * step:step].astype(float)
    return picture[::-1] if height > 0 else picture


def main():
    cli, examples = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        shutil.copy(os.path.join(examples, IMAGE), folder)
        before, after, both = (os.path.join(folder, n) for n in ("before.csv", "after.csv", "both.csv"))
        patients = os.path.join(examples, "PATIENT.CSV")
        run(cli, "copy", patients, before, "--records", "1")
        run(cli, "copy", patients, after, "--records", "1")
        run(cli, "move", after, "--types", examples, "--records", "1", "--points", "Mandible", "--translate", "4,1",
            "--save")
        with open(both, "wb") as out:
            for part in (before, after):
                with open(part, "rb") as f:
                    out.write(f.read())
        morphed, controls, source = (os.path.join(folder, n) for n in ("morphed.bmp", "controls.txt", "source.pgm"))
        run(cli, "morph", both, "--types", examples, "--source", "1", "--target", "2", "--function", "triangle",
            "--out", morphed, "--controls", controls)
        run(cli, "image", os.path.join(folder, IMAGE), "--out", source)
        ours = read_bmp_blue(morphed)
        image = read_netpbm(source)

        pairs = {}
        with open(controls) as f:
            for line in f:
                if line.strip():
                    sx, sy, tx, ty = map(float, line.split())
                    pairs.setdefault((sx, sy), (tx, ty))
        src = np.array(list(pairs.keys()))
        dst = np.array(list(pairs.values()))
        transform = PiecewiseAffineTransform()
        if not transform.estimate(dst, src):
            sys.exit("scikit-image could not triangulate the control points")
        peer = warp(image, transform, order=1, mode="edge", preserve_range=True)
        peer = np.rint(peer)

    if ours.shape != peer.shape:
        sys.exit(f"sizes differ: {ours.shape} against {peer.shape}")
    difference = np.abs(ours - peer)
    close = np.mean(difference <= 2)
    print(f"{len(src)} control points, {ours.shape[1]} x {ours.shape[0]} pixels")
    print(f"mean difference {difference.mean():.3f} grey levels, largest {difference.max():.0f}, "
          f"{100 * close:.2f} % within 2 levels")
    if close < 0.95 or difference.mean() > 1:
        sys.exit("the triangle warp differs from scikit-image's on too many pixels")


if __name__ == "__main__":
    main()
