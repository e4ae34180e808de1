// Uncompressed TIFF: the first image of the file, grey or RGB(A), 8 or 16 bits per sample,
// in strips, either byte order.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/raw_image.h"
#include "support/result.h"

namespace lumacet {

// Reads a whole TIFF file held in memory; `fileName` only names it in the failure.
TResult ReadTiffBytes(std::span<const uint8_t> bytes, const std::string& fileName, TRawImage& image);

}  // namespace lumacet
