// The displayed image: a 32-bit bitmap that the enhancement functions edit, the display
// draws and Save writes. The raw samples it is rendered from stay untouched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/raster.h"

namespace lumacet {

// One pixel is 0xXXRRGGBB: bytes blue, green, red in memory order, then a fourth byte that
// the enhancement functions carry along unchanged.
struct TBitmap32 {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;  // rows top to bottom, no padding

  bool Empty() const { return Pixels.empty(); }
  // Sizes the bitmap and makes every pixel 0.
  void Resize(int width, int height);
  void Clear() { *this = TBitmap32{}; }
  std::uint32_t* Row(int y) { return Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Width); }
  const std::uint32_t* Row(int y) const {
    return Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Width);
  }
  TBitmapView View() const { return {Pixels, Width, Height}; }
  friend bool operator==(const TBitmap32&, const TBitmap32&) = default;
};

constexpr std::uint32_t PackPixel(std::uint32_t blue, std::uint32_t green, std::uint32_t red, std::uint32_t fourth = 0) {
  return blue | (green << 8) | (red << 16) | (fourth << 24);
}
constexpr std::uint32_t PixelBlue(std::uint32_t pixel) { return pixel & 0xFF; }
constexpr std::uint32_t PixelGreen(std::uint32_t pixel) { return (pixel >> 8) & 0xFF; }
constexpr std::uint32_t PixelRed(std::uint32_t pixel) { return (pixel >> 16) & 0xFF; }
constexpr std::uint32_t PixelFourth(std::uint32_t pixel) { return pixel >> 24; }

// Luminance in its integer form, (30 red + 59 green + 11 blue) div 100.
constexpr std::uint32_t PixelLuminance(std::uint32_t pixel) {
  return (30 * PixelRed(pixel) + 59 * PixelGreen(pixel) + 11 * PixelBlue(pixel)) / 100;
}

// Grey level g in blue, green and red, the fourth byte of `pixel` kept.
constexpr std::uint32_t WithGrey(std::uint32_t pixel, std::uint32_t grey) {
  return (pixel & 0xFF000000u) | grey | (grey << 8) | (grey << 16);
}

}  // namespace lumacet
