// Radiograph-like pictures whose edges lie at known sub-pixel positions: levels blurred
// across each edge by a Gaussian, a gentle ramp, and noise from a fixed seed, stored at 8
// or 12 bits as an image loaded from a file would be.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

#include "model/image_store.h"

namespace lumacet::test {

// Standard normal deviates by Box-Muller on the Mersenne twister, whose sequence the
// standard fixes: the same picture on every library.
class TNoise {
 public:
  explicit TNoise(std::uint32_t seed) : fRandom(seed) {}
  double Next() {
    const double u = (static_cast<double>(fRandom()) + 1) / 4294967297.0;
    const double v = static_cast<double>(fRandom()) / 4294967296.0;
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * M_PI * v);
  }

 private:
  std::mt19937 fRandom;
};

// 0 well before an edge at 0, 1 well after it, blurred by a Gaussian of `blur`.
inline double BlurredStep(double distance, double blur) { return 0.5 * std::erfc(-distance / (blur * std::sqrt(2.0))); }

// `level(x, y)` at every pixel centre, as a share of full scale, plus noise of `noise` x
// full scale, rounded and clipped to the samples' range.
template <typename F>
TImageStore Picture(int width, int height, int bits, double noise, std::uint32_t seed, F&& level) {
  TRawImage raw;
  raw.Width = width;
  raw.Height = height;
  raw.SamplesPerPixel = 1;
  raw.BitsPerSample = bits;
  const double full = static_cast<double>((1u << bits) - 1);
  raw.Samples.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                     static_cast<std::size_t>(raw.BytesPerSample()));
  TNoise random(seed);
  std::size_t at = 0;
  for (int row = 0; row < height; ++row)
    for (int column = 0; column < width; ++column) {
      const double value = full * (level(column + 0.5, row + 0.5) + noise * random.Next());
      const auto sample = static_cast<std::uint32_t>(std::clamp(std::nearbyint(value), 0.0, full));
      raw.Samples[at++] = static_cast<std::uint8_t>(sample & 0xFF);
      if (raw.BytesPerSample() == 2) raw.Samples[at++] = static_cast<std::uint8_t>(sample >> 8);
    }
  TImageStore store;
  store.SetImage(std::move(raw));
  return store;
}

}  // namespace lumacet::test
