// JPEG of 12-bit precision (the extended lossy process), which libjpeg-turbo 2.1 does not
// decode, through GDCM's 12-bit build of the IJG library.
#pragma once

#include <cstdint>
#include <span>

#include "model/raw_image.h"

namespace lumacet {

// The sample precision the stream's first frame header gives, and whether that frame is
// lossless (process 14); precision 0 when the stream has no frame header.
struct TJpegFrameKind {
  int Precision = 0;
  bool Lossless = false;
};
TJpegFrameKind JpegFrameKind(std::span<const uint8_t> stream);

// Decodes a 12-bit stream into 12-bit samples: grey gives 1 sample, three components give
// blue, green, red (converted from YCbCr as the stream's markers say). `maxPixels` bounds
// the image before memory is taken. A damaged or truncated stream is refused rather than
// shown with invented rows. Throws TImageReadError.
void DecodeJpeg12(std::span<const uint8_t> stream, int64_t maxPixels, TRawImage& image);

}  // namespace lumacet
