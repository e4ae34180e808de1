// What is done with the full-depth samples: rendering them through the display window and
// gamma, taking them back from a bitmap, and their statistics for the Levels dialog.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/bitmap32.h"
#include "model/raw_image.h"

namespace lumacet {

// True when the sizes and the sample format are ones the program can draw from and the
// buffer holds exactly Width x Height pixels.
bool RawImageIsConsistent(const TRawImage& image);

// Display level (0..255) of every sample value for a window and gamma: both bounds 0 mean
// the full range of `bitsPerSample`. Two-byte samples get all 65536 entries, so a value
// above the stated bit depth still finds an entry (white, as any value above the window).
std::vector<std::uint8_t> DisplayTable(int bitsPerSample, int windowLow, int windowHigh, double gamma);

// Draws the samples into `bitmap` (resized to the image) through the window and gamma.
// Only 1 sample of 8..16 bits, 3 samples of 8..16 bits and 4 samples of 8 bits are drawn;
// other formats leave the sized bitmap black. Does nothing when the image holds nothing.
void RenderToBitmap(const TRawImage& image, TBitmap32& bitmap);

// Makes the raw image a copy of the bitmap: 4 samples of 8 bits, the fourth byte kept,
// window and gamma reset. An empty bitmap leaves the raw image empty.
void CaptureFromBitmap(const TBitmap32& bitmap, TRawImage& image);

// For grey images, the window becomes the smallest to the largest sample; colour images
// keep theirs.
void ComputeMinMaxWindow(TRawImage& image);

// Counts of the samples v with low <= v < high in 256 equal bins over that range; colour
// pixels count by their luminance (30 red + 59 green + 11 blue) div 100, in sample units.
std::array<std::uint32_t, 256> Histogram256(const TRawImage& image, int low, int high);

}  // namespace lumacet
