// An image exactly as decoded, at full bit depth: what every reader produces and what
// the display bitmap and the enhancement functions are rendered from.
#pragma once

#include <cstdint>
#include <vector>

namespace lumacet {

// The largest image any reader will allocate; beyond it the message is the one for an
// image that does not fit in memory. At most four 8-bit or three 16-bit samples a pixel,
// this holds an image to 1.5 GB of samples. Readers also refuse, before allocating, a file
// too short to hold (or, compressed, to plausibly hold) the samples its header claims.
inline constexpr int64_t kMaxImagePixels = int64_t{1} << 28;

struct TRawImage {
  // Row-major, top row first, no padding. A pixel is SamplesPerPixel consecutive samples;
  // a sample is one byte at 8 bits, otherwise two bytes, unsigned, little-endian. Colour
  // samples are blue, green, red, then alpha when there are four.
  std::vector<uint8_t> Samples;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t SamplesPerPixel = 0;  // 1 grey, 3 colour, 4 colour with alpha; 0 empty
  int32_t BitsPerSample = 0;    // 8, or 9..16 stored in two bytes; 0 empty
  // Display window in sample units; both 0 means the full range.
  int32_t WindowLow = 0;
  int32_t WindowHigh = 0;
  int32_t LoadedWindowLow = 0;
  int32_t LoadedWindowHigh = 0;
  double Gamma = 1.0;
  double LoadedGamma = 1.0;

  bool HasData() const { return !Samples.empty(); }
  int BytesPerSample() const { return BitsPerSample > 8 ? 2 : 1; }
};

void ClearRawImage(TRawImage& image);

}  // namespace lumacet
