// libFuzzer target for opening an image file as the program does, by its extension. The
// first byte chooses the file's name, the rest are its contents, so that every reader also
// meets files whose signature belongs to another format. Whatever the bytes, opening must
// neither crash nor leak; a failure names the file, a success is consistent and renders.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "image_read_checks.h"
#include "imaging/image_file.h"
#include "scratch_file.h"

namespace lumacet {

// Empty when the bytes pass; otherwise what went wrong.
std::string CheckImageFile(std::string_view bytes) {
  static constexpr std::array<const char*, 10> kNames = {"image.bmp",  "image.BMP",  "image.jpg", "image.jpeg",
                                                         "image.tif",  "image.TIFF", "image.viff", "image.dcm",
                                                         "image",      "image.png"};
  if (bytes.empty()) return {};
  const auto choice = static_cast<unsigned char>(bytes[0]);
  const std::string path = ScratchFolder().Write(kNames[choice % kNames.size()], bytes.substr(1));
  const bool dicomWindowAdjust = (choice / kNames.size()) % 2 == 1;
  const TResultOf<TImageFileContents> read = ReadImageFile(path, dicomWindowAdjust);
  if (!read) return CheckFailedRead(false, read.Outcome(), path);
  if (!RawImageIsConsistent(read->Raw)) return "the image read is not consistent";
  return CheckRendering(read->Raw);
}

}  // namespace lumacet

#ifndef LUMACET_CORPUS_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!lumacet::CheckImageFile(std::string_view(reinterpret_cast<const char*>(data), size)).empty()) std::abort();
  return 0;
}
#endif
