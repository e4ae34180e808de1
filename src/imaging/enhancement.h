// The one-click enhancements of the display bitmap: histogram equalization and level
// stretching, over the whole image or tile by tile, and the negative. Each turns the image
// grey except the negative; none touches the fourth byte of a pixel or the raw samples.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "model/bitmap32.h"

namespace lumacet {

// Called after every tenth row of the long operations with the rows done so far and their
// total, for a progress bar. Those operations spread their rows over the cores, but the
// call always comes on the thread that started them.
using TProgressFunction = std::function<void(int position, int maximum)>;

// Side of the square tiles of the adaptive functions: `adaptiveSize` percent of the
// width, at least one pixel.
int AdaptiveTileSize(int width, int adaptiveSize);

// Integer luminances (30 red + 59 green + 11 blue) div 100 counted in 256 bins.
std::array<std::uint32_t, 256> LuminanceHistogram(const TBitmap32& bitmap);

void Equalize(TBitmap32& bitmap);
// Progress runs to the image height.
void AdaptiveEqualize(TBitmap32& bitmap, int adaptiveSize, const TProgressFunction& progress = {});
// `cutoff` is the percentage of pixels clipped at either end (0..10).
void AutoLevels(TBitmap32& bitmap, int cutoff);
// Progress runs to twice the image height.
void AdaptiveAutoLevels(TBitmap32& bitmap, int adaptiveSize, int cutoff, const TProgressFunction& progress = {});
void NegativeImage(TBitmap32& bitmap);

}  // namespace lumacet
