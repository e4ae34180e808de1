// TIFF through libtiff: the first image of the file, in strips or tiles, contiguous or in
// planes, any compression libtiff decodes; grey (1 to 16 bits), RGB(A) and palette colour,
// turned as its orientation says. Grey below 8 bits is spread over 0..255; samples above 8
// bits keep their depth.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/raw_image.h"
#include "support/result.h"

namespace lumacet {

// Reads a whole TIFF file held in memory; `fileName` only names it in the failure. On
// success `encoding`, when given, names the compression ("LZW", "uncompressed").
TResult ReadTiffBytes(std::span<const uint8_t> bytes, const std::string& fileName, TRawImage& image,
                      std::string* encoding = nullptr);

}  // namespace lumacet
