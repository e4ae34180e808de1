// Sampling of 32-bit bitmaps between pixel centres, for image rotation, morphing and the
// edge search.
#pragma once

#include <cstdint>
#include <span>

namespace lumacet {

// A read-only view of a 32-bit bitmap: rows top to bottom, Width pixels each, no padding.
// A pixel value is 0xAARRGGBB (blue in the lowest byte), the layout of 32-bit device
// bitmaps and of QImage::Format_(A)RGB32.
struct TBitmapView {
  std::span<const std::uint32_t> Pixels;
  int Width = 0;
  int Height = 0;

  bool IsEmpty() const {
    return Width <= 0 || Height <= 0 ||
           Pixels.size() < static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height);
  }
  std::uint32_t At(int x, int y) const {
    return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                  static_cast<std::size_t>(x)];
  }
};

// Bilinear blend of the four pixels around (x, y), each of the four bytes separately and
// rounded to the nearest integer, in the bitmap's own byte order. Positions on or beyond
// the last row or column (or before the first) take the edge pixels. 0 for an empty
// bitmap or a non-finite position.
std::uint32_t BilinearSample(const TBitmapView& bitmap, double x, double y);

// The same blend of the three colour bytes only, returned as a colour value with red in
// the lowest byte (0x00BBGGRR).
std::uint32_t ClampedBilinearSample(const TBitmapView& bitmap, double x, double y);

// Mean of 0.3 R + 0.59 G + 0.11 B over the (2n+1) x (2n+1) pixels centred on the pixel
// nearest (x, y); 0 when that window is not wholly inside the bitmap.
double WindowLuminance(const TBitmapView& bitmap, int n, double x, double y);

}  // namespace lumacet
