// libFuzzer target for the JPEG reader. Whatever the bytes, decoding must neither crash,
// leak nor end the process (libjpeg's own error handling would); an image that decodes
// must be consistent, render, and encode again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "imaging/jpeg_codec.h"
#include "model/raw_image_ops.h"

namespace lumacet {

// Empty when the bytes pass; otherwise what went wrong.
std::string CheckJpegDecode(std::string_view bytes) {
  // Small enough that a lying header cannot exhaust the fuzzer's memory or time.
  constexpr std::int64_t kFuzzPixels = std::int64_t{1} << 18;
  TRawImage image;
  TImageReadError error;
  if (!DecodeJpeg(bytes, image, error, kFuzzPixels)) return image.HasData() ? "a failure left samples behind" : "";
  if (!RawImageIsConsistent(image) || image.BitsPerSample != 8 ||
      (image.SamplesPerPixel != 1 && image.SamplesPerPixel != 3))
    return "the decoded image is not consistent";
  TBitmap32 shown;
  RenderToBitmap(image, shown);
  if (shown.Width != image.Width || shown.Height != image.Height) return "the rendered bitmap has another size";
  std::string written;
  std::string reason;
  if (!EncodeJpeg(shown, {}, written, reason)) return "the rendered bitmap cannot be encoded: " + reason;
  TRawImage again;
  if (!DecodeJpeg(written, again, error) || again.Width != image.Width || again.Height != image.Height)
    return "an encoded image does not decode to its size";
  return {};
}

}  // namespace lumacet

#ifndef LUMACET_CORPUS_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!lumacet::CheckJpegDecode(std::string_view(reinterpret_cast<const char*>(data), size)).empty()) std::abort();
  return 0;
}
#endif
