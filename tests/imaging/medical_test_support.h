// Helpers for the reader tests: a writer for hand-made files, a lossless JPEG encoder to
// make streams the tools cannot (restart intervals, long codes, every precision), and a
// reader for the PNM files that hold the tools' own decodings in the corpus.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/raw_image.h"

namespace lumacet::test {

class TByteWriter {
 public:
  explicit TByteWriter(bool bigEndian = false) : fBigEndian(bigEndian) {}

  TByteWriter& U8(uint32_t value);
  TByteWriter& U16(uint32_t value);
  TByteWriter& U32(uint32_t value);
  TByteWriter& Text(std::string_view text);
  TByteWriter& Bytes(std::span<const uint8_t> bytes);
  TByteWriter& Zeros(size_t count);
  void PutU16(size_t at, uint32_t value);
  void PutU32(size_t at, uint32_t value);
  size_t Size() const { return fData.size(); }
  const std::vector<uint8_t>& Data() const { return fData; }

 private:
  std::vector<uint8_t> fData;
  bool fBigEndian;
};

struct TLosslessJpegOptions {
  int Precision = 16;
  int Predictor = 1;
  int PointTransform = 0;
  int RestartRows = 0;  // 0: no restart intervals
  // Codes per length 1..16; the symbols 0..16 take them in order of falling frequency.
  std::vector<uint8_t> Counts = {0, 2, 2, 2, 2, 2, 2, 2, 2, 1, 0, 0, 0, 0, 0, 0};
};

// A complete stream (SOI to EOI) of one component; samples hold Precision bits.
std::vector<uint8_t> EncodeLosslessJpeg(std::span<const uint16_t> samples, int width, int height,
                                        const TLosslessJpegOptions& options);

// Deterministic noise over a smooth ramp: every predictor sees positive and negative
// differences of all sizes.
std::vector<uint16_t> TestSamples(int width, int height, int bits, uint32_t seed);

// A PNM (P5, P6 or P7) as the corpus stores expected decodings; samples in file order.
struct TPnmImage {
  int Width = 0;
  int Height = 0;
  int Depth = 0;  // samples per pixel
  int MaxValue = 0;
  std::vector<uint32_t> Samples;
};
bool ReadPnm(const std::string& path, TPnmImage& image);

// The raw image's samples in the PNM's order (red, green, blue, alpha), for comparison.
std::vector<uint32_t> SamplesInRgbOrder(const TRawImage& image);

std::vector<uint8_t> ReadFileBytes(const std::string& path);

}  // namespace lumacet::test
