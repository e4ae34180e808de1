// libFuzzer target for colour table (".lut") files. Whatever the bytes, reading must
// neither crash nor leak, and the table must hold the file's red, green and blue runs of
// 256 bytes, a missing byte counting as 0; colourising a grey ramp with it must give the
// table's colours and keep each pixel's fourth byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "imaging/image_adjust.h"
#include "model/bitmap32.h"
#include "scratch_file.h"

namespace lumacet {

// Empty when the bytes pass; otherwise what went wrong.
std::string CheckLutFile(std::string_view bytes) {
  TColourLut lut{};
  if (!ReadLutFile(ScratchFolder().Write("colours.lut", bytes), lut)) return "a readable file does not read";
  const auto byte = [&](std::size_t at) -> std::uint32_t {
    return at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : 0u;
  };
  TBitmap32 ramp;
  ramp.Resize(256, 1);
  for (std::uint32_t i = 0; i < 256; ++i) {
    if (lut[i] != PackPixel(byte(512 + i), byte(256 + i), byte(i))) return "entry " + std::to_string(i) + " differs";
    ramp.Pixels[i] = PackPixel(i, i, i, i);
  }
  Colorize(ramp, lut);
  for (std::uint32_t i = 0; i < 256; ++i)
    if (ramp.Pixels[i] != ((lut[i] & 0x00FFFFFFu) | (i << 24))) return "grey " + std::to_string(i) + " colourised wrongly";
  return {};
}

}  // namespace lumacet

#ifndef LUMACET_CORPUS_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!lumacet::CheckLutFile(std::string_view(reinterpret_cast<const char*>(data), size)).empty()) std::abort();
  return 0;
}
#endif
