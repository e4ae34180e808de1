#include "model/raw_image_ops.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace lumacet {

namespace {

std::size_t PixelCount(const TRawImage& image) {
  return static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height);
}

// Sample k of the buffer, one or two bytes little-endian.
inline std::uint32_t Sample16(const std::uint8_t* samples, std::size_t k) {
  return samples[2 * k] | (static_cast<std::uint32_t>(samples[2 * k + 1]) << 8);
}

// Luminance of a blue-green-red triple in sample units.
inline std::uint32_t TripleLuminance(std::uint32_t blue, std::uint32_t green, std::uint32_t red) {
  return (30 * red + 59 * green + 11 * blue) / 100;
}

}  // namespace

bool RawImageIsConsistent(const TRawImage& image) {
  if (image.Width <= 0 || image.Height <= 0) return false;
  if (image.SamplesPerPixel != 1 && image.SamplesPerPixel != 3 && image.SamplesPerPixel != 4) return false;
  if (image.BitsPerSample < 8 || image.BitsPerSample > 16) return false;
  const std::int64_t pixels = std::int64_t{image.Width} * image.Height;
  if (pixels > kMaxImagePixels) return false;
  return image.Samples.size() ==
         static_cast<std::size_t>(pixels) * static_cast<std::size_t>(image.SamplesPerPixel * image.BytesPerSample());
}

std::vector<std::uint8_t> DisplayTable(int bitsPerSample, int windowLow, int windowHigh, double gamma) {
  const int bits = std::clamp(bitsPerSample, 1, 16);
  double low = windowLow;
  double high = windowHigh;
  if (windowLow == 0 && windowHigh == 0) high = static_cast<double>((1 << bits) - 1);
  const bool useGamma = gamma != 1.0 && std::isfinite(gamma) && gamma > 0;
  std::vector<std::uint8_t> table(bits > 8 ? 65536 : 256);
  for (std::size_t v = 0; v < table.size(); ++v) {
    const double value = static_cast<double>(v);
    if (value <= low) {
      table[v] = 0;
    } else if (value <= high) {
      double level = std::nearbyint(255.0 * (value - low) / (high - low));
      if (useGamma) level = std::nearbyint(255.0 * std::pow(level / 255.0, gamma));
      table[v] = static_cast<std::uint8_t>(std::clamp(level, 0.0, 255.0));
    } else {
      table[v] = 255;
    }
  }
  return table;
}

void RenderToBitmap(const TRawImage& image, TBitmap32& bitmap) {
  if (!image.HasData() || image.SamplesPerPixel == 0 || image.BitsPerSample == 0) return;
  if (!RawImageIsConsistent(image)) return;
  bitmap.Resize(image.Width, image.Height);
  const int spp = image.SamplesPerPixel;
  const bool wide = image.BitsPerSample > 8;
  if (spp == 4 && wide) return;  // drawn black

  const std::vector<std::uint8_t> table =
      DisplayTable(image.BitsPerSample, image.WindowLow, image.WindowHigh, image.Gamma);
  const std::uint8_t* samples = image.Samples.data();
  std::uint32_t* out = bitmap.Pixels.data();
  const std::size_t pixels = PixelCount(image);
  if (spp == 1) {
    for (std::size_t p = 0; p < pixels; ++p) {
      const std::uint32_t t = table[wide ? Sample16(samples, p) : samples[p]];
      out[p] = t * 0x010101u;
    }
  } else if (spp == 3) {
    for (std::size_t p = 0; p < pixels; ++p) {
      const std::size_t k = 3 * p;
      if (wide)
        out[p] = PackPixel(table[Sample16(samples, k)], table[Sample16(samples, k + 1)], table[Sample16(samples, k + 2)]);
      else
        out[p] = PackPixel(table[samples[k]], table[samples[k + 1]], table[samples[k + 2]]);
    }
  } else {
    for (std::size_t p = 0; p < pixels; ++p) {
      const std::uint8_t* s = samples + 4 * p;
      out[p] = PackPixel(table[s[0]], table[s[1]], table[s[2]], s[3]);
    }
  }
}

void CaptureFromBitmap(const TBitmap32& bitmap, TRawImage& image) {
  ClearRawImage(image);
  if (bitmap.Empty()) return;
  image.Width = bitmap.Width;
  image.Height = bitmap.Height;
  image.SamplesPerPixel = 4;
  image.BitsPerSample = 8;
  image.Samples.resize(bitmap.Pixels.size() * 4);
  for (std::size_t p = 0; p < bitmap.Pixels.size(); ++p) {
    const std::uint32_t pixel = bitmap.Pixels[p];
    image.Samples[4 * p] = static_cast<std::uint8_t>(PixelBlue(pixel));
    image.Samples[4 * p + 1] = static_cast<std::uint8_t>(PixelGreen(pixel));
    image.Samples[4 * p + 2] = static_cast<std::uint8_t>(PixelRed(pixel));
    image.Samples[4 * p + 3] = static_cast<std::uint8_t>(PixelFourth(pixel));
  }
}

void ComputeMinMaxWindow(TRawImage& image) {
  if (image.SamplesPerPixel != 1 || !RawImageIsConsistent(image)) return;
  const std::size_t pixels = PixelCount(image);
  std::uint32_t lowest = 0xFFFF;
  std::uint32_t highest = 0;
  for (std::size_t p = 0; p < pixels; ++p) {
    const std::uint32_t v = image.BitsPerSample > 8 ? Sample16(image.Samples.data(), p) : image.Samples[p];
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
  }
  image.WindowLow = static_cast<std::int32_t>(lowest);
  image.WindowHigh = static_cast<std::int32_t>(highest);
}

std::array<std::uint32_t, 256> Histogram256(const TRawImage& image, int low, int high) {
  std::array<std::uint32_t, 256> counts{};
  if (high <= low || !RawImageIsConsistent(image)) return counts;
  const std::int64_t span = std::int64_t{high} - low;
  const bool wide = image.BitsPerSample > 8;
  const std::uint8_t* samples = image.Samples.data();
  auto sample = [&](std::size_t k) -> std::uint32_t { return wide ? Sample16(samples, k) : samples[k]; };
  auto count = [&](std::int64_t v) {
    if (v < low || v >= high) return;
    counts[static_cast<std::size_t>(std::min<std::int64_t>((v - low) * 256 / span, 255))]++;
  };
  const std::size_t pixels = PixelCount(image);
  const std::size_t spp = static_cast<std::size_t>(image.SamplesPerPixel);
  for (std::size_t p = 0; p < pixels; ++p) {
    const std::size_t k = p * spp;
    if (spp == 1)
      count(sample(k));
    else
      count(TripleLuminance(sample(k), sample(k + 1), sample(k + 2)));
  }
  return counts;
}

}  // namespace lumacet
