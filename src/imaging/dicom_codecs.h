// The compressed pixel encodings of DICOM transfer syntaxes, each decoded by the library
// that does it well (libjpeg-turbo, GDCM's 12-bit JPEG, CharLS, OpenJPEG, zlib), and RLE.
// Every size a codec reports is checked against what the data set declares, and against
// the stream's length, before memory is taken for it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lumacet {

enum class TDicomCodec { Jpeg, JpegLs, Jpeg2000, Rle };

// What the data set says one frame holds.
struct TCodedFrame {
  int32_t Rows = 0;
  int32_t Columns = 0;
  int32_t SamplesPerPixel = 1;
  int32_t BitsAllocated = 0;
};

// One decoded frame, pixel-interleaved, components in the order they were coded.
struct TDecodedFrame {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Components = 0;
  int32_t Precision = 0;
  bool ConvertedToRgb = false;  // the codec itself turned YCbCr into RGB
  std::vector<uint16_t> Samples;
};

// Decodes one frame's stream; throws TImageReadError when the stream is not the frame the
// data set declares or cannot be decoded.
void DecodeDicomFrame(TDicomCodec codec, std::span<const uint8_t> stream, const TCodedFrame& expected,
                      TDecodedFrame& frame);

// The data set of a deflated transfer syntax (raw deflate, no zlib header), inflated; at
// most `limit` bytes.
std::vector<uint8_t> InflateDataSet(std::span<const uint8_t> deflated, uint64_t limit);

}  // namespace lumacet
