#include "graphics/image_blend.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/bitmap32.h"

namespace lumacet {

namespace {

double Unit(double value) { return std::isnan(value) ? 0 : std::clamp(value, 0.0, 1.0); }

constexpr std::uint32_t kOutside = 0xFF000000u;

}  // namespace

TBlendTables::TBlendTables(double transparency, double blackTransparency) {
  const double t = Unit(transparency);
  const double k = Unit(blackTransparency);
  fOpaque = t == 0 && k == 0;
  for (int i = 0; i < 256; ++i) {
    const double w = t + (1 - t) * k * (1 - i / 255.0);
    for (int v = 0; v < 256; ++v) {
      const auto through = static_cast<std::uint8_t>(std::trunc(w * v));
      fSeeThrough[i][v] = through;
      fKept[i][v] = static_cast<std::uint8_t>(v - through);
    }
  }
}

void BlendImage(std::span<std::uint32_t> background, std::span<const std::uint32_t> image, const TBlendTables& tables,
                TBlendMode mode) {
  const std::size_t n = std::min(background.size(), image.size());
  for (std::size_t p = 0; p < n; ++p) {
    const std::uint32_t source = image[p];
    if ((source & kOutside) == kOutside) continue;
    const std::uint32_t below = background[p];
    if (mode == TBlendMode::Normal && tables.Opaque()) {
      background[p] = (below & kOutside) | (source & 0x00FFFFFFu);
      continue;
    }
    const std::uint32_t i = PixelLuminance(source);
    std::uint32_t out = below & kOutside;
    for (int shift = 0; shift <= 16; shift += 8) {
      const std::uint32_t s = (source >> shift) & 0xFF;
      const std::uint32_t b = (below >> shift) & 0xFF;
      const int kept = tables.Kept(i, s);
      const std::uint32_t channel = mode == TBlendMode::Difference
                                        ? static_cast<std::uint32_t>(std::abs(kept - static_cast<int>(b)))
                                        : tables.SeeThrough(i, b) + static_cast<std::uint32_t>(kept);
      out |= std::min<std::uint32_t>(channel, 255) << shift;
    }
    background[p] = out;
  }
}

}  // namespace lumacet
