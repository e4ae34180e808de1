// Khoros VIFF: a 1024-byte header and uncompressed band-sequential data, one grey band or
// three colour bands (red, green, blue) of 8 or 16 bits, either byte order.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/raw_image.h"
#include "support/result.h"

namespace lumacet {

// Reads a whole VIFF file held in memory; `fileName` only names it in the failure.
TResult ReadViffBytes(std::span<const uint8_t> bytes, const std::string& fileName, TRawImage& image);

}  // namespace lumacet
