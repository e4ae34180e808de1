// libFuzzer target for the PNG reader. Whatever the bytes, reading must neither crash nor
// touch memory outside them; a success must describe exactly the samples it holds and
// render, a failure must leave nothing behind and say why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "image_read_checks.h"
#include "imaging/png_reader.h"

namespace lumacet {

// Empty when the bytes pass; otherwise what went wrong.
std::string CheckPngRead(std::span<const uint8_t> bytes) {
  TRawImage image;
  const TResult read = ReadPngBytes(bytes, "fuzz.png", image);
  return CheckPlainRead(read, image, "fuzz.png");
}

}  // namespace lumacet

#ifndef LUMACET_CORPUS_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!lumacet::CheckPngRead({data, size}).empty()) std::abort();
  return 0;
}
#endif
