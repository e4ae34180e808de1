// libFuzzer target for one DICOM pixel codec (chosen at build time by
// LUMACET_FUZZ_DICOM_CODEC: 0 JPEG, 1 JPEG-LS, 2 JPEG 2000, 3 RLE). The first six bytes
// give the frame the data set declares (rows and columns, big-endian 16 bits each,
// samples per pixel, bits allocated), the rest is the stream. Whatever the bytes, decoding
// must neither crash nor touch memory outside them; a success must be exactly the declared
// frame, each sample inside its precision; a failure must say why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "imaging/dicom_codecs.h"
#include "imaging/medical_readers.h"

namespace lumacet {

std::string CheckDicomFrameDecode(TDicomCodec codec, std::span<const uint8_t> bytes) {
  if (bytes.size() < 6) return {};
  TCodedFrame expected;
  expected.Rows = bytes[0] << 8 | bytes[1];
  expected.Columns = bytes[2] << 8 | bytes[3];
  expected.SamplesPerPixel = bytes[4] % 2 ? 3 : 1;
  expected.BitsAllocated = bytes[5] % 2 ? 16 : 8;
  if (expected.Rows == 0 || expected.Columns == 0) return {};
  TDecodedFrame frame;
  try {
    DecodeDicomFrame(codec, bytes.subspan(6), expected, frame);
  } catch (const TImageReadError&) {
    return {};
  }
  if (frame.Width != expected.Columns || frame.Height != expected.Rows || frame.Components != expected.SamplesPerPixel)
    return "the frame decoded is not the frame declared";
  if (frame.Precision < 1 || frame.Precision > expected.BitsAllocated) return "the precision exceeds the cells";
  if (frame.Samples.size() != size_t(frame.Width) * size_t(frame.Height) * size_t(frame.Components))
    return "the samples do not fill the frame";
  for (uint16_t sample : frame.Samples)
    if (frame.Precision < 16 && sample >> frame.Precision) return "a sample exceeds its precision";
  return {};
}

}  // namespace lumacet

#ifndef LUMACET_CORPUS_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto codec = static_cast<lumacet::TDicomCodec>(LUMACET_FUZZ_DICOM_CODEC);
  if (!lumacet::CheckDicomFrameDecode(codec, {data, size}).empty()) std::abort();
  return 0;
}
#endif
