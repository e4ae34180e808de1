// Lossless JPEG (ITU-T T.81 process 14: Huffman coding, predictors 1 to 7, point
// transform, restart intervals) for one grey component, as DICOM encapsulates it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace lumacet {

struct TLosslessJpegImage {
  // Width * Height samples, row-major, top row first, the point transform already undone
  // (each value shifted back left by it), so they lie in 0 .. 2^Precision - 1.
  std::vector<uint16_t> Samples;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Precision = 0;  // 2..16
  int32_t Predictor = 0;  // 1..7
  int32_t PointTransform = 0;
};

// Decodes one stream from its start-of-image marker. Refuses (false, with `reason`) any
// stream that is not process 14 with one component, whose image holds more than
// `maxSamples` samples, or whose coded data are corrupt or end early; nothing is allocated
// for the image before its size has been found plausible for the bytes given. An empty
// reason means that memory ran out.
bool DecodeLosslessJpeg(std::span<const uint8_t> stream, int64_t maxSamples, TLosslessJpegImage& image,
                        std::string& reason);

}  // namespace lumacet
