// Turning, mirroring and shrinking the pixels of an image: the raw samples at their full
// bit depth and the display bitmap alike, so that both stay in register.
#pragma once

#include "model/bitmap32.h"
#include "model/raw_image.h"

namespace lumacet {

// The size RotateBitmap gives a W x H image turned by `radians`:
// |round(cos a W)| + |round(sin a H)| by |round(sin a W)| + |round(cos a H)|.
struct TPixelSize {
  int Width = 0;
  int Height = 0;
};
TPixelSize RotatedSize(int width, int height, double radians);

// Resamples the pixels turned by `radians`: new pixel (i, j) takes the bilinear blend of the
// source at (W/2 + c u - s v, H/2 + s u + c v), u = i - W'/2, v = j - H'/2; positions
// outside the source are white (every sample at its largest value). Rows are shared
// between the cores. A non-finite angle, or a result above the reader's pixel limit,
// leaves the image as it was and gives false.
bool RotateBitmap(TBitmap32& bitmap, double radians);
bool RotateBitmap(TRawImage& image, double radians);

// Exact quarter turns (degrees -90, 90 or 180; anything else does nothing): -90 puts old
// (W - 1 - y, x) at (x, y) in an H x W image, 90 old (y, H - 1 - x), 180 old
// (W - 1 - x, H - 1 - y).
void QuarterTurn(TBitmap32& bitmap, int degrees);
void QuarterTurn(TRawImage& image, int degrees);
// Mirrors left to right (horizontal) or top to bottom.
void Flip(TBitmap32& bitmap, bool horizontal);
void Flip(TRawImage& image, bool horizontal);

// Shrinks to width x height by averaging the source area under each new pixel, the
// halftone stretch. Only shrinking: a larger or empty size does nothing and gives false.
bool Downsample(TBitmap32& bitmap, int width, int height);
bool Downsample(TRawImage& image, int width, int height);

}  // namespace lumacet
