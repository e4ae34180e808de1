// libFuzzer target for the lossless JPEG decoder. Whatever the bytes, decoding must neither
// crash nor touch memory outside them; a success must hold exactly Width x Height samples
// within the precision, each a multiple of 2^PointTransform.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "imaging/lossless_jpeg.h"

namespace lumacet {

// Empty when the bytes pass; otherwise what went wrong.
std::string CheckLosslessJpegDecode(std::span<const uint8_t> bytes) {
  constexpr int64_t kFuzzSamples = int64_t{1} << 22;
  TLosslessJpegImage image;
  std::string reason;
  if (!DecodeLosslessJpeg(bytes, kFuzzSamples, image, reason)) {
    if (!image.Samples.empty()) return "a failure left samples behind";
    return reason.empty() ? "a failure without a reason" : "";
  }
  if (image.Samples.size() != size_t(image.Frame.Width) * size_t(image.Frame.Height)) return "the sample count is wrong";
  const uint32_t limit = uint32_t{1} << image.Frame.Precision;
  const uint32_t step = uint32_t{1} << image.Frame.PointTransform;
  for (uint16_t sample : image.Samples)
    if (sample >= limit || sample % step != 0) return "a sample lies outside the precision";
  return {};
}

}  // namespace lumacet

#ifndef LUMACET_CORPUS_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!lumacet::CheckLosslessJpegDecode({data, size}).empty()) std::abort();
  return 0;
}
#endif
