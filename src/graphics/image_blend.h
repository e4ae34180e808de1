// How the current radiograph's image shows over what is already painted: dark pixels can
// be made see-through so that tracings and other images below stay visible, or the image
// can be shown as its difference from what lies below.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace lumacet {

enum class TBlendMode : std::uint8_t { Normal, Difference };

// Transparency T and black transparency K, each 0..1: a pixel of luminance i lets
// w(i) = T + (1 - T) K (1 - i / 255) of the background through.
class TBlendTables {
 public:
  // Values outside 0..1 are held to it; a value that is not a number counts as 0.
  TBlendTables(double transparency, double blackTransparency);

  // trunc(w(i) x value), for luminance i and a channel value.
  std::uint8_t SeeThrough(std::uint32_t luminance, std::uint32_t value) const { return fSeeThrough[luminance][value]; }
  // value - trunc(w(i) x value): what the image itself keeps of a channel.
  std::uint8_t Kept(std::uint32_t luminance, std::uint32_t value) const { return fKept[luminance][value]; }
  // Both settings 0: the image is painted as it is.
  bool Opaque() const { return fOpaque; }

 private:
  std::array<std::array<std::uint8_t, 256>, 256> fSeeThrough{};
  std::array<std::array<std::uint8_t, 256>, 256> fKept{};
  bool fOpaque = true;
};

// Blends the image over the background, pixel for pixel (0xXXRRGGBB, both the same length,
// the image already placed on the background's grid). Image pixels whose top byte is 0xFF
// lie outside the placed image and leave the background as it is; the background keeps
// its own top bytes.
void BlendImage(std::span<std::uint32_t> background, std::span<const std::uint32_t> image, const TBlendTables& tables,
                TBlendMode mode);

}  // namespace lumacet
