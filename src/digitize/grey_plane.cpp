#include "digitize/grey_plane.h"

#include <cstdint>
#include <utility>

#include "model/raw_image_ops.h"

namespace lumacet {

namespace {

// Pixels compared between the display and a fresh rendering of the samples: enough that an
// enhancement of any region shows, few enough to cost nothing beside the plane itself.
constexpr std::size_t kCheckedPixels = 4096;

std::uint32_t SampleAt(const TRawImage& raw, std::size_t index) {
  if (raw.BytesPerSample() == 1) return raw.Samples[index];
  return raw.Samples[2 * index] | (static_cast<std::uint32_t>(raw.Samples[2 * index + 1]) << 8);
}

bool DisplayShowsRaw(const TImageStore& image) {
  const TRawImage& raw = image.Raw;
  const TBitmap32& display = image.Display;
  if (!RawImageIsConsistent(raw) || raw.Width != display.Width || raw.Height != display.Height) return false;
  if (raw.SamplesPerPixel != 1 && raw.SamplesPerPixel != 3) return false;
  const std::vector<std::uint8_t> table = DisplayTable(raw.BitsPerSample, raw.WindowLow, raw.WindowHigh, raw.Gamma);
  const std::size_t pixels = display.Pixels.size();
  const std::size_t stride = pixels / kCheckedPixels + 1;
  const std::size_t spp = static_cast<std::size_t>(raw.SamplesPerPixel);
  for (std::size_t i = 0; i < pixels; i += stride) {
    const std::uint32_t shown = display.Pixels[i];
    if (spp == 1) {
      const std::uint32_t level = table[SampleAt(raw, i)];
      if (PixelBlue(shown) != level || PixelGreen(shown) != level || PixelRed(shown) != level) return false;
    } else if (PixelBlue(shown) != table[SampleAt(raw, 3 * i)] || PixelGreen(shown) != table[SampleAt(raw, 3 * i + 1)] ||
               PixelRed(shown) != table[SampleAt(raw, 3 * i + 2)]) {
      return false;
    }
  }
  return true;
}

}  // namespace

TGreyPlane::TGreyPlane(int width, int height, std::vector<float> values)
    : fWidth(width), fHeight(height), fValues(std::move(values)) {
  if (fWidth <= 0 || fHeight <= 0 ||
      fValues.size() != static_cast<std::size_t>(fWidth) * static_cast<std::size_t>(fHeight)) {
    *this = TGreyPlane{};
  }
}

TGreyPlane TGreyPlane::FromImage(const TImageStore& image) {
  if (!image.HasImage()) return {};
  const TBitmap32& display = image.Display;
  std::vector<float> values(display.Pixels.size());
  TGreyPlane plane;
  if (DisplayShowsRaw(image)) {
    const TRawImage& raw = image.Raw;
    const double full = raw.BitsPerSample >= 16 ? 65535.0 : static_cast<double>((1u << raw.BitsPerSample) - 1);
    const double scale = 255.0 / full;
    if (raw.SamplesPerPixel == 1) {
      for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<float>(SampleAt(raw, i) * scale);
    } else {
      for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<float>((0.11 * SampleAt(raw, 3 * i) + 0.59 * SampleAt(raw, 3 * i + 1) +
                                        0.3 * SampleAt(raw, 3 * i + 2)) * scale);
    }
    plane = TGreyPlane(display.Width, display.Height, std::move(values));
    plane.fFullDepth = true;
    return plane;
  }
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::uint32_t p = display.Pixels[i];
    values[i] = static_cast<float>(0.3 * PixelRed(p) + 0.59 * PixelGreen(p) + 0.11 * PixelBlue(p));
  }
  return TGreyPlane(display.Width, display.Height, std::move(values));
}

double TGreyPlane::WindowMean(int n, int column, int row) const {
  if (n < 0 || column - n < 0 || row - n < 0 || column + n >= fWidth || row + n >= fHeight) return 0;
  double sum = 0;
  for (int y = row - n; y <= row + n; ++y)
    for (int x = column - n; x <= column + n; ++x) sum += At(x, y);
  return sum / ((2 * n + 1) * (2 * n + 1));
}

}  // namespace lumacet
