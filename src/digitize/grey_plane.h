// The grey values the edge search reads: the image's own samples at their full depth
// while the display shows them as loaded, the displayed picture once it has been edited.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

#include "model/image_store.h"

namespace lumacet {

// Grey values on a scale where 255 is white whatever the bit depth, so that profiles of a
// 12-bit image keep the steps an 8-bit rendering merges. Positions are pixel coordinates
// as the image frame gives them: pixel (i, j) covers [i, i+1) x [j, j+1).
class TGreyPlane {
 public:
  TGreyPlane() = default;
  TGreyPlane(int width, int height, std::vector<float> values);

  // From the raw samples when the display bitmap is still their plain rendering (same size,
  // every checked pixel as the window and gamma draw it); otherwise from the display bitmap
  // by 0.3 red + 0.59 green + 0.11 blue. Empty without an image.
  static TGreyPlane FromImage(const TImageStore& image);

  bool Empty() const { return fValues.empty(); }
  int Width() const { return fWidth; }
  int Height() const { return fHeight; }
  // True when the values came from the samples rather than from the 8-bit display.
  bool FullDepth() const { return fFullDepth; }
  float At(int column, int row) const {
    return fValues[static_cast<std::size_t>(row) * static_cast<std::size_t>(fWidth) + static_cast<std::size_t>(column)];
  }
  // Bilinear between pixel centres; positions beyond the outer centres take the edge pixels.
  double Sample(double x, double y) const {
    x -= 0.5;
    y -= 0.5;
    const double fx = std::floor(x), fy = std::floor(y);
    int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    double ax = x - fx, ay = y - fy;
    // Inside, as nearly every read of the edge search is: four neighbours, no clamping.
    if (x0 >= 0 && y0 >= 0 && x0 < fWidth - 1 && y0 < fHeight - 1) {
      const float* r0 = &fValues[static_cast<std::size_t>(y0) * static_cast<std::size_t>(fWidth) +
                                 static_cast<std::size_t>(x0)];
      const float* r1 = r0 + fWidth;
      const double top = r0[0] + ax * (r0[1] - r0[0]);
      return top + ay * (r1[0] + ax * (r1[1] - r1[0]) - top);
    }
    if (x0 < 0) { x0 = 0; ax = 0; }
    if (y0 < 0) { y0 = 0; ay = 0; }
    if (x0 >= fWidth - 1) { x0 = fWidth - 1; ax = 0; }
    if (y0 >= fHeight - 1) { y0 = fHeight - 1; ay = 0; }
    const int x1 = x0 + (ax > 0 ? 1 : 0), y1 = y0 + (ay > 0 ? 1 : 0);
    const double top = At(x0, y0) + ax * (At(x1, y0) - At(x0, y0));
    const double bottom = At(x0, y1) + ax * (At(x1, y1) - At(x0, y1));
    return top + ay * (bottom - top);
  }
  // Mean of the (2n+1) x (2n+1) pixels around (column, row); 0 when they are not all inside.
  double WindowMean(int n, int column, int row) const;

 private:
  int fWidth = 0;
  int fHeight = 0;
  std::vector<float> fValues;
  bool fFullDepth = false;
};

}  // namespace lumacet
