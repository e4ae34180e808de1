// JPEG files through libjpeg-turbo: decoding in its accurate mode, encoding the display
// bitmap with a chosen quality, in colour or grey.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/medical_readers.h"
#include "model/bitmap32.h"
#include "model/raw_image.h"

namespace lumacet {

// Decodes a JPEG file held in memory with the accurate integer transform and smooth
// chroma upsampling. Grey files give 1 sample of 8 bits, colour files 3 (blue, green,
// red); CMYK files are converted to colour. On failure the image is left as it was and
// `error` gives the decoder's reason (none: more than `maxPixels`, or too large for memory).
bool DecodeJpeg(std::string_view bytes, TRawImage& image, TImageReadError& error,
                std::int64_t maxPixels = kMaxImagePixels);

struct TJpegOptions {
  int Quality = 90;  // 1 (smallest file) .. 100 (best quality)
  bool Grayscale = false;
};

// The bitmap as a baseline JPEG file; its fourth byte is not stored. False only for an
// empty bitmap or when the encoder fails (`reason` then says why).
bool EncodeJpeg(const TBitmap32& bitmap, const TJpegOptions& options, std::string& bytes, std::string& reason);

}  // namespace lumacet
