// libFuzzer target for the bitmap reader. Whatever the bytes, decoding must neither crash
// nor leak; an image that decodes must be consistent, render, and survive being written
// as a bitmap and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "imaging/bmp_codec.h"
#include "model/raw_image_ops.h"

namespace lumacet {

// Empty when the bytes pass; otherwise what went wrong.
std::string CheckBmpDecode(std::string_view bytes) {
  // Small enough that a lying header cannot exhaust the fuzzer's memory.
  constexpr std::int64_t kFuzzPixels = std::int64_t{1} << 20;
  TRawImage image;
  TImageReadError error;
  if (!DecodeBmp(bytes, image, error, kFuzzPixels)) return image.HasData() ? "a failure left samples behind" : "";
  if (!RawImageIsConsistent(image) || image.BitsPerSample != 8 || image.SamplesPerPixel < 3)
    return "the decoded image is not consistent";
  TBitmap32 shown;
  RenderToBitmap(image, shown);
  if (shown.Width != image.Width || shown.Height != image.Height) return "the rendered bitmap has another size";
  std::string written;
  if (!EncodeBmp(shown, {}, written)) return "the rendered bitmap cannot be written";
  TRawImage again;
  if (!DecodeBmp(written, again, error)) return "a written bitmap does not read back: " + error.Reason;
  TBitmap32 shownAgain;
  RenderToBitmap(again, shownAgain);
  if (shownAgain != shown) return "a written bitmap reads back differently";
  return {};
}

}  // namespace lumacet

#ifndef LUMACET_CORPUS_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!lumacet::CheckBmpDecode(std::string_view(reinterpret_cast<const char*>(data), size)).empty()) std::abort();
  return 0;
}
#endif
