// libFuzzer target for the TIFF reader. Whatever the bytes, reading must neither crash nor
// touch memory outside them; a success must describe exactly the samples it holds and
// render, a failure must leave nothing behind and say why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "imaging/raw_image_ops.h"
#include "imaging/tiff_reader.h"

namespace lumacet {

// Empty when the bytes pass; otherwise what went wrong.
std::string CheckTiffRead(std::span<const uint8_t> bytes) {
  TRawImage image;
  std::string message;
  if (!ReadTiffBytes(bytes, "fuzz.tif", image, message)) {
    if (image.HasData()) return "a failure left samples behind";
    if (message.find("fuzz.tif") == std::string::npos) return "the message does not name the file: " + message;
    return {};
  }
  if (!RawImageIsConsistent(image) || (image.BitsPerSample != 8 && image.BitsPerSample != 16))
    return "the image read is not consistent";
  TBitmap32 shown;
  RenderToBitmap(image, shown);
  if (shown.Width != image.Width || shown.Height != image.Height) return "the rendered bitmap has another size";
  return {};
}

}  // namespace lumacet

#ifndef LUMACET_CORPUS_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!lumacet::CheckTiffRead({data, size}).empty()) std::abort();
  return 0;
}
#endif
