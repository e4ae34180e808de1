#!/usr/bin/env bash
# Writes the synthetic lateral radiographs that example records link to: grey JPEG images of
# 800 x 800 pixels at 2.5 tracing units (0.25 mm) per pixel, placed with their top-left
# corner at (300, 300) so that skull, jaw, teeth and profile lie under the example tracings.
# They are drawings, not patient images. Needs ImageMagick 6 ("convert"); the same command
# gives the same picture (fixed noise seeds).
#   examples/make_example_images.sh [OUTPUT_FOLDER]   (default: this folder)
set -euo pipefail
out="${1:-$(dirname "$0")}"

# $1 file, $2 noise seed, $3 horizontal shift of the face in pixels, $4 jaw drop in pixels
radiograph() {
  local file="$1" seed="$2" dx="$3" dy="$4"
  # Points of the face move right by dx, those of the lower face down by dy as well.
  f() { echo "$(($1 + dx)),$2"; }
  j() { echo "$(($1 + dx)),$(($2 + dy))"; }
  convert -size 800x800 xc:'gray(6%)' \
    -fill 'gray(27%)' -stroke none \
    -draw "polygon 0,0 $(f 505 0) $(f 502 120) $(f 492 216) $(f 572 368) $(f 557 407) $(f 521 416) $(f 513 436) \
$(f 524 475) $(j 470 500) $(j 466 528) $(j 446 565) $(j 450 610) $(j 431 649) $(j 390 671) $(j 247 664) 200,800 0,800" \
    -fill 'gray(42%)' -stroke 'gray(78%)' -strokewidth 16 -draw "ellipse 240,150 $((240 + dx / 2)),200 0,360" \
    -fill 'gray(33%)' -stroke 'gray(62%)' -strokewidth 6 -draw "ellipse $((405 + dx)),240 44,42 0,360" \
    -fill none -stroke 'gray(12%)' -strokewidth 9 -draw "arc 179,222 219,262 0,180" \
    -fill 'gray(58%)' -stroke 'gray(70%)' -strokewidth 4 \
    -draw "polygon 283,408 $(f 476 404) $(f 461 427) $(f 466 476) $(f 400 470) 300,455" \
    -fill none -stroke 'gray(72%)' -strokewidth 20 \
    -draw "polyline 136,312 142,349 149,441 $(j 165 560) $(j 250 578) $(j 382 643) $(j 415 597) $(j 410 558) $(j 414 517)" \
    -stroke 'gray(66%)' -strokewidth 12 -draw "polyline $(j 388 524) $(j 364 601) $(j 382 643)" \
    -stroke 'gray(94%)' -strokewidth 16 \
    -draw "line $(f 438 430) $(f 472 511)" -draw "line $(j 388 564) $(j 425 497)" \
    -strokewidth 30 -draw "line $(f 346 422) $(f 354 492)" -draw "line $(j 327 554) $(j 330 487)" \
    -fill 'gray(50%)' -stroke 'gray(60%)' -strokewidth 3 \
    -draw "rectangle 78,450 138,500" -draw "rectangle 74,515 134,565" -draw "rectangle 70,580 130,630" \
    -draw "rectangle 66,645 126,695" \
    -blur 0x5 \
    -seed "$seed" -attenuate 0.35 +noise Gaussian \
    -colorspace Gray -type Grayscale -depth 8 -strip -interlace none -quality 80 \
    "$out/$file"
}

radiograph emma_lindqvist_2018.jpg 11 0 0
radiograph emma_lindqvist_2022.jpg 23 10 20
