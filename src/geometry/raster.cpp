#include "geometry/raster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "geometry/coordinates.h"

namespace lumacet {

namespace {

using TChannels = std::array<double, 4>;  // bytes 0..3 of the pixel value, lowest first

std::optional<TChannels> Blend(const TBitmapView& bitmap, double x, double y) {
  if (bitmap.IsEmpty() || !std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
  // Clamping the position keeps every neighbour inside and the weights inside 0..1; at the
  // last row or column the far neighbour has weight 0 anyway.
  x = std::clamp(x, 0.0, static_cast<double>(bitmap.Width - 1));
  y = std::clamp(y, 0.0, static_cast<double>(bitmap.Height - 1));
  int x0 = static_cast<int>(x);
  int y0 = static_cast<int>(y);
  int x1 = std::min(x0 + 1, bitmap.Width - 1);
  int y1 = std::min(y0 + 1, bitmap.Height - 1);
  double fx = x - x0;
  double fy = y - y0;
  const std::array<std::uint32_t, 4> pixels = {bitmap.At(x0, y0), bitmap.At(x1, y0),
                                               bitmap.At(x0, y1), bitmap.At(x1, y1)};
  const std::array<double, 4> weights = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy,
                                         fx * fy};
  TChannels channels{};
  for (int byte = 0; byte < 4; ++byte) {
    double sum = 0;
    for (int k = 0; k < 4; ++k) sum += weights[k] * ((pixels[k] >> (8 * byte)) & 0xFF);
    channels[byte] = std::clamp(std::nearbyint(sum), 0.0, 255.0);
  }
  return channels;
}

std::uint32_t Byte(double channel) { return static_cast<std::uint32_t>(channel); }

}  // namespace

std::uint32_t BilinearSample(const TBitmapView& bitmap, double x, double y) {
  auto c = Blend(bitmap, x, y);
  if (!c) return 0;
  return Byte((*c)[0]) | Byte((*c)[1]) << 8 | Byte((*c)[2]) << 16 | Byte((*c)[3]) << 24;
}

std::uint32_t ClampedBilinearSample(const TBitmapView& bitmap, double x, double y) {
  auto c = Blend(bitmap, x, y);
  if (!c) return 0;
  // Pixel bytes are blue, green, red from the lowest; a colour value is red, green, blue.
  return Byte((*c)[2]) | Byte((*c)[1]) << 8 | Byte((*c)[0]) << 16;
}

double WindowLuminance(const TBitmapView& bitmap, int n, double x, double y) {
  auto cx = RoundToInt(x);
  auto cy = RoundToInt(y);
  if (bitmap.IsEmpty() || n < 0 || !cx || !cy) return 0;
  std::int64_t left = static_cast<std::int64_t>(*cx) - n;
  std::int64_t top = static_cast<std::int64_t>(*cy) - n;
  std::int64_t right = static_cast<std::int64_t>(*cx) + n;
  std::int64_t bottom = static_cast<std::int64_t>(*cy) + n;
  if (left < 0 || top < 0 || right >= bitmap.Width || bottom >= bitmap.Height) return 0;
  double sum = 0;
  for (auto row = top; row <= bottom; ++row) {
    for (auto column = left; column <= right; ++column) {
      std::uint32_t p = bitmap.At(static_cast<int>(column), static_cast<int>(row));
      sum += 0.3 * ((p >> 16) & 0xFF) + 0.59 * ((p >> 8) & 0xFF) + 0.11 * (p & 0xFF);
    }
  }
  double side = 2.0 * n + 1;
  return sum / (side * side);
}

}  // namespace lumacet
