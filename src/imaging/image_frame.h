// Where an image lies on the tracing: its top-left corner, the size of one pixel in
// tracing units and its rotation.
#pragma once

#include <array>
#include <optional>

#include "geometry/coordinates.h"
#include "model/image_store.h"

namespace lumacet {

class TRadiograph;

TImageFrame ImageFrameOf(const TRadiograph& radiograph);

// Tracing position of pixel corner (column, row).
TFloatPoint PixelToTracing(const TImageFrame& frame, double column, double row);
// Pixel coordinates (column, row) of a tracing position; nothing while the pixel size is
// not set or the result is not finite.
std::optional<TFloatPoint> TracingToPixel(const TImageFrame& frame, TFloatPoint point);
// The corners (0, 0), (W, 0), (W, H), (0, H) of a W x H image, in tracing units.
std::array<TFloatPoint, 4> ImageCorners(const TImageFrame& frame, int width, int height);

}  // namespace lumacet
