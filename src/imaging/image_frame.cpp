#include "imaging/image_frame.h"

#include <cmath>

#include "model/radiograph.h"

namespace lumacet {

TImageFrame ImageFrameOf(const TRadiograph& radiograph) {
  return {radiograph.ImageOriginX, radiograph.ImageOriginY, radiograph.PixelWidth, radiograph.PixelHeight,
          radiograph.ImageRotation};
}

TFloatPoint PixelToTracing(const TImageFrame& frame, double column, double row) {
  const double c = std::cos(frame.Rotation);
  const double s = std::sin(frame.Rotation);
  return {frame.OriginX + column * frame.PixelWidth * c - row * frame.PixelHeight * s,
          frame.OriginY + column * frame.PixelWidth * s + row * frame.PixelHeight * c};
}

std::optional<TFloatPoint> TracingToPixel(const TImageFrame& frame, TFloatPoint point) {
  if (frame.PixelWidth == 0 || frame.PixelHeight == 0) return std::nullopt;
  const double c = std::cos(frame.Rotation);
  const double s = std::sin(frame.Rotation);
  const double dx = point.X - frame.OriginX;
  const double dy = point.Y - frame.OriginY;
  const TFloatPoint pixel{(dx * c + dy * s) / frame.PixelWidth, (dy * c - dx * s) / frame.PixelHeight};
  if (!std::isfinite(pixel.X) || !std::isfinite(pixel.Y)) return std::nullopt;
  return pixel;
}

std::array<TFloatPoint, 4> ImageCorners(const TImageFrame& frame, int width, int height) {
  return {PixelToTracing(frame, 0, 0), PixelToTracing(frame, width, 0), PixelToTracing(frame, width, height),
          PixelToTracing(frame, 0, height)};
}

}  // namespace lumacet
