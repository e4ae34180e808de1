// PNG through libpng: grey, grey with alpha, RGB, RGBA and palette images of every bit
// depth, interlaced or not. Grey below 8 bits is spread over 0..255, palettes become
// colour, 16-bit samples keep their depth. Alpha is kept at 8 bits, where the display
// can show it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/raw_image.h"
#include "support/result.h"

namespace lumacet {

// True when the bytes begin with the PNG signature.
bool HasPngSignature(std::span<const uint8_t> bytes);

// Reads a whole PNG file held in memory; `fileName` only names it in the failure.
TResult ReadPngBytes(std::span<const uint8_t> bytes, const std::string& fileName, TRawImage& image);

}  // namespace lumacet
