// Windows bitmap files, read and written by the program itself so that every bit depth,
// palette and row order is handled exactly, and so that a hostile header can only ever
// produce a message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/medical_readers.h"
#include "model/bitmap32.h"
#include "model/raw_image.h"

namespace lumacet {

// Decodes a bitmap file held in memory: 1, 4 and 8 bits with a palette (also RLE4 and
// RLE8), 16 bits (5-5-5 or bit fields), 24 bits, and 32 bits (plain or bit fields), rows
// bottom-up or top-down. Palette, 16 and 24-bit pictures give 3 samples of 8 bits (blue,
// green, red); 32-bit pictures give 4, the fourth byte as stored. On failure the image is
// left as it was and `error` says why (no reason: more than `maxPixels`, or too large for
// memory).
bool DecodeBmp(std::string_view bytes, TRawImage& image, TImageReadError& error,
               std::int64_t maxPixels = kMaxImagePixels);

struct TBmpWriteOptions {
  int BitsPerPixel = 32;  // 1, 4, 8, 24 or 32
  bool TopDown = false;
};

// The bitmap as a bitmap file. 32 bits keep the fourth byte; 24 bits drop it; 1, 4 and 8
// bits write a palette of the bitmap's distinct colours and fail when there are more than
// the depth can index. False for an empty bitmap or an unknown depth.
bool EncodeBmp(const TBitmap32& bitmap, const TBmpWriteOptions& options, std::string& bytes);

}  // namespace lumacet
