// Where an image lies on the tracing: its top-left corner, the size of one pixel in
// tracing units and its rotation.
#pragma once

#include <array>
#include <optional>

#include "geometry/coordinates.h"

namespace lumacet {

class TRadiograph;

struct TImageFrame {
  double OriginX = 0;  // tracing position of the image's top-left corner
  double OriginY = 0;
  double PixelWidth = 0;  // tracing units (tenths of a millimetre) per pixel
  double PixelHeight = 0;
  double Rotation = 0;  // radians, positive turns the image clockwise as displayed
};

TImageFrame ImageFrameOf(const TRadiograph& radiograph);

// Tracing position of pixel corner (column, row).
TFloatPoint PixelToTracing(const TImageFrame& frame, double column, double row);
// Pixel coordinates (column, row) of a tracing position; nothing while the pixel size is
// not set or the result is not finite.
std::optional<TFloatPoint> TracingToPixel(const TImageFrame& frame, TFloatPoint point);
// The corners (0, 0), (W, 0), (W, H), (0, H) of a W x H image, in tracing units.
std::array<TFloatPoint, 4> ImageCorners(const TImageFrame& frame, int width, int height);

}  // namespace lumacet
