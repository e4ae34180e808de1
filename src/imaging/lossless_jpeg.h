// Lossless JPEG (ITU-T T.81 process 14: Huffman coding, predictors 1 to 7, point
// transform, restart intervals) for one grey component, as DICOM encapsulates it.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace lumacet {

struct TLosslessJpegFrame {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Precision = 0;  // 2..16
  int32_t Predictor = 0;  // 1..7
  int32_t PointTransform = 0;
};

// Sees the frame before anything is decoded; a non-empty result refuses it, as the reason.
using TLosslessJpegFrameCheck = std::function<std::string(const TLosslessJpegFrame&)>;
// Takes each decoded line, top first, the point transform already undone (each value
// shifted back left by it), so samples lie in 0 .. 2^Precision - 1. The span lives for the
// call only.
using TLosslessJpegLineSink = std::function<void(int32_t row, std::span<const uint16_t> line)>;

// Decodes one stream from its start-of-image marker, line by line. Refuses (false, with
// `reason`) any stream that is not process 14 with one component, that the check refuses,
// whose image holds more samples than its coded data can, or whose coded data are corrupt
// or end early. An empty reason means that memory ran out.
bool DecodeLosslessJpegLines(std::span<const uint8_t> stream, const TLosslessJpegFrameCheck& check,
                             const TLosslessJpegLineSink& sink, std::string& reason);

struct TLosslessJpegImage {
  std::vector<uint16_t> Samples;  // Width * Height, row-major, top row first
  TLosslessJpegFrame Frame;
};

// The whole image at once; frames of more than `maxSamples` samples are refused before
// anything is allocated for them.
bool DecodeLosslessJpeg(std::span<const uint8_t> stream, int64_t maxSamples, TLosslessJpegImage& image,
                        std::string& reason);

}  // namespace lumacet
