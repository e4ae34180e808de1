// libFuzzer target for the DICOM reader, every transfer syntax and colour model included. Whatever the
// bytes, reading must neither crash nor touch memory outside them; a success must describe
// exactly the samples it holds, with a window and spacing that can be used, and render; a
// failure must leave nothing behind and say why.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "image_read_checks.h"
#include "imaging/dicom_reader.h"

namespace lumacet {

// Empty when the bytes pass; otherwise what went wrong.
std::string CheckDicomRead(std::span<const uint8_t> bytes) {
  TRawImage image;
  TDicomInfo info;
  if (const TResult read = ReadDicomBytes(bytes, "fuzz.dcm", image, info); !read) {
    return CheckFailedRead(image.HasData() || info.HasPatientData() || info.HasPixelSpacing || info.HasWindow,
                           read, "fuzz.dcm");
  }
  if (!RawImageIsConsistent(image) || (image.SamplesPerPixel != 1 && image.SamplesPerPixel != 3))
    return "the image read is not consistent";
  if (info.BitsStored < 1 || info.BitsStored > image.BitsPerSample) return "the stored bits exceed the samples";
  if (info.HasPixelSpacing && !(info.PixelWidth > 0 && info.PixelHeight > 0 && std::isfinite(info.PixelWidth) &&
                                std::isfinite(info.PixelHeight)))
    return "an unusable pixel spacing was taken";
  if (info.HasWindow && info.WindowWidth < 1) return "a window without width was taken";
  if (image.WindowLow > image.WindowHigh) return "the window is upside down";
  return CheckRendering(image);
}

}  // namespace lumacet

#ifndef LUMACET_CORPUS_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!lumacet::CheckDicomRead({data, size}).empty()) std::abort();
  return 0;
}
#endif
