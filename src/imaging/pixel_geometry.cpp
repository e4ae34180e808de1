#include "imaging/pixel_geometry.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

namespace lumacet {

static_assert(std::endian::native == std::endian::little, "two-byte samples are read in place");

namespace {

// Pixels of `Channels` interleaved samples of type T, row-major without padding: the one
// shape of both the bitmap (four bytes) and the raw samples.
template <typename T>
struct TPlanes {
  T* Data;
  int Width;
  int Height;
  int Channels;
  T* At(int x, int y) const {
    return Data + (static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)) *
                      static_cast<std::size_t>(Channels);
  }
};

// Runs rows(begin, end) over [0, height) in one band per core; small images on the caller.
template <typename Rows>
void SplitRows(int height, std::size_t pixels, const Rows& rows) {
  constexpr std::size_t kPixelsPerWorker = std::size_t{1} << 17;
  const std::size_t cores = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
  const int bands = static_cast<int>(std::clamp<std::size_t>(pixels / kPixelsPerWorker, 1, cores));
  std::vector<std::jthread> workers;
  for (int band = 1; band < bands; ++band) {
    const int begin = band * height / bands;
    const int end = (band + 1) * height / bands;
    try {
      workers.emplace_back([&rows, begin, end] { rows(begin, end); });
    } catch (const std::system_error&) {
      rows(begin, end);  // no thread to be had: the caller works the band itself
    }
  }
  rows(0, height / bands);
}

template <typename T>
void RotatePlanes(const TPlanes<const T>& from, const TPlanes<T>& to, double radians, T white) {
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  const double halfW = from.Width / 2.0;
  const double halfH = from.Height / 2.0;
  // Exact quarter turns land on the border with rounding noise in cos and sin: a position
  // that close to it counts as on it.
  constexpr double kEdge = 1e-9;
  const double lastX = from.Width - 1;
  const double lastY = from.Height - 1;
  const int channels = from.Channels;
  SplitRows(to.Height, static_cast<std::size_t>(to.Width) * static_cast<std::size_t>(to.Height), [&](int begin, int end) {
    for (int j = begin; j < end; ++j) {
      const double v = j - to.Height / 2.0;
      T* out = to.At(0, j);
      for (int i = 0; i < to.Width; ++i, out += channels) {
        const double u = i - to.Width / 2.0;
        double x = halfW + c * u - s * v;
        double y = halfH + s * u + c * v;
        if (!(x >= -kEdge && x <= lastX + kEdge && y >= -kEdge && y <= lastY + kEdge)) {
          std::fill(out, out + channels, white);
          continue;
        }
        x = std::clamp(x, 0.0, lastX);
        y = std::clamp(y, 0.0, lastY);
        const int x0 = static_cast<int>(x);
        const int y0 = static_cast<int>(y);
        const double fx = x - x0;
        const double fy = y - y0;
        // On the last column or row the far neighbour has weight 0: read the edge instead
        // of past it.
        const int x1 = std::min(x0 + 1, from.Width - 1);
        const int y1 = std::min(y0 + 1, from.Height - 1);
        const T* p00 = from.At(x0, y0);
        const T* p10 = from.At(x1, y0);
        const T* p01 = from.At(x0, y1);
        const T* p11 = from.At(x1, y1);
        for (int k = 0; k < channels; ++k) {
          const double top = p00[k] + fx * (p10[k] - p00[k]);
          const double bottom = p01[k] + fx * (p11[k] - p01[k]);
          out[k] = static_cast<T>(std::lround(top + fy * (bottom - top)));
        }
      }
    }
  });
}

template <typename T>
void QuarterTurnPlanes(const TPlanes<const T>& from, const TPlanes<T>& to, int degrees) {
  const int w = from.Width;
  const int h = from.Height;
  for (int y = 0; y < to.Height; ++y)
    for (int x = 0; x < to.Width; ++x) {
      const T* source = degrees == -90 ? from.At(w - 1 - y, x)
                        : degrees == 90 ? from.At(y, h - 1 - x)
                                        : from.At(w - 1 - x, h - 1 - y);
      std::copy(source, source + from.Channels, to.At(x, y));
    }
}

template <typename T>
void FlipPlanes(const TPlanes<T>& planes, bool horizontal) {
  const int c = planes.Channels;
  if (horizontal) {
    for (int y = 0; y < planes.Height; ++y)
      for (int x = 0; x < planes.Width / 2; ++x)
        std::swap_ranges(planes.At(x, y), planes.At(x, y) + c, planes.At(planes.Width - 1 - x, y));
  } else {
    for (int y = 0; y < planes.Height / 2; ++y)
      std::swap_ranges(planes.At(0, y), planes.At(0, y) + planes.Width * c, planes.At(0, planes.Height - 1 - y));
  }
}

// Each new pixel is the mean of the source pixels whose centres fall under it.
template <typename T>
void DownsamplePlanes(const TPlanes<const T>& from, const TPlanes<T>& to) {
  const int channels = from.Channels;
  SplitRows(to.Height, static_cast<std::size_t>(from.Width) * static_cast<std::size_t>(from.Height), [&](int begin, int end) {
    std::vector<double> sum(static_cast<std::size_t>(channels));
    for (int j = begin; j < end; ++j) {
      const int y0 = static_cast<int>(static_cast<long long>(j) * from.Height / to.Height);
      const int y1 = std::max(y0 + 1, static_cast<int>(static_cast<long long>(j + 1) * from.Height / to.Height));
      for (int i = 0; i < to.Width; ++i) {
        const int x0 = static_cast<int>(static_cast<long long>(i) * from.Width / to.Width);
        const int x1 = std::max(x0 + 1, static_cast<int>(static_cast<long long>(i + 1) * from.Width / to.Width));
        std::fill(sum.begin(), sum.end(), 0.0);
        for (int y = y0; y < y1; ++y)
          for (int x = x0; x < x1; ++x) {
            const T* p = from.At(x, y);
            for (int k = 0; k < channels; ++k) sum[static_cast<std::size_t>(k)] += p[k];
          }
        const double count = static_cast<double>(x1 - x0) * (y1 - y0);
        T* out = to.At(i, j);
        for (int k = 0; k < channels; ++k) out[k] = static_cast<T>(std::lround(sum[static_cast<std::size_t>(k)] / count));
      }
    }
  });
}

TPlanes<const std::uint8_t> ConstBytes(const TBitmap32& b) {
  return {reinterpret_cast<const std::uint8_t*>(b.Pixels.data()), b.Width, b.Height, 4};
}
TPlanes<std::uint8_t> Bytes(TBitmap32& b) { return {reinterpret_cast<std::uint8_t*>(b.Pixels.data()), b.Width, b.Height, 4}; }

// Calls work(planes of the old samples, planes of the new ones) with the samples' type, the
// new buffer sized width x height, and makes it the image's.
template <typename Work>
void Rebuild(TRawImage& image, int width, int height, const Work& work) {
  std::vector<std::uint8_t> samples(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                                    static_cast<std::size_t>(image.SamplesPerPixel) *
                                    static_cast<std::size_t>(image.BytesPerSample()));
  if (image.BytesPerSample() == 2) {
    work(TPlanes<const std::uint16_t>{reinterpret_cast<const std::uint16_t*>(image.Samples.data()), image.Width,
                                      image.Height, image.SamplesPerPixel},
         TPlanes<std::uint16_t>{reinterpret_cast<std::uint16_t*>(samples.data()), width, height, image.SamplesPerPixel});
  } else {
    work(TPlanes<const std::uint8_t>{image.Samples.data(), image.Width, image.Height, image.SamplesPerPixel},
         TPlanes<std::uint8_t>{samples.data(), width, height, image.SamplesPerPixel});
  }
  image.Samples = std::move(samples);
  image.Width = width;
  image.Height = height;
}

bool Usable(const TRawImage& image) {
  return image.HasData() && image.Width > 0 && image.Height > 0 && image.SamplesPerPixel > 0 &&
         image.Samples.size() == static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height) *
                                     static_cast<std::size_t>(image.SamplesPerPixel) *
                                     static_cast<std::size_t>(image.BytesPerSample());
}

bool Fits(TPixelSize size) {
  return size.Width > 0 && size.Height > 0 &&
         static_cast<std::int64_t>(size.Width) * size.Height <= kMaxImagePixels;
}

}  // namespace

TPixelSize RotatedSize(int width, int height, double radians) {
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  const auto term = [](double value) { return static_cast<int>(std::abs(std::nearbyint(value))); };
  return {term(c * width) + term(s * height), term(s * width) + term(c * height)};
}

bool RotateBitmap(TBitmap32& bitmap, double radians) {
  if (bitmap.Empty() || !std::isfinite(radians)) return false;
  const TPixelSize size = RotatedSize(bitmap.Width, bitmap.Height, radians);
  if (!Fits(size)) return false;
  TBitmap32 turned;
  turned.Resize(size.Width, size.Height);
  RotatePlanes(ConstBytes(bitmap), Bytes(turned), radians, std::uint8_t{255});
  bitmap = std::move(turned);
  return true;
}

bool RotateBitmap(TRawImage& image, double radians) {
  if (!Usable(image) || !std::isfinite(radians)) return false;
  const TPixelSize size = RotatedSize(image.Width, image.Height, radians);
  if (!Fits(size)) return false;
  const int white = image.BitsPerSample >= 16 ? 0xFFFF : (1 << image.BitsPerSample) - 1;
  Rebuild(image, size.Width, size.Height, [&](const auto& from, const auto& to) {
    using T = std::remove_const_t<std::remove_pointer_t<decltype(to.Data)>>;
    RotatePlanes(from, to, radians, static_cast<T>(white));
  });
  return true;
}

void QuarterTurn(TBitmap32& bitmap, int degrees) {
  if (bitmap.Empty() || (degrees != -90 && degrees != 90 && degrees != 180)) return;
  TBitmap32 turned;
  if (degrees == 180)
    turned.Resize(bitmap.Width, bitmap.Height);
  else
    turned.Resize(bitmap.Height, bitmap.Width);
  QuarterTurnPlanes(ConstBytes(bitmap), Bytes(turned), degrees);
  bitmap = std::move(turned);
}

void QuarterTurn(TRawImage& image, int degrees) {
  if (!Usable(image) || (degrees != -90 && degrees != 90 && degrees != 180)) return;
  const bool swap = degrees != 180;
  Rebuild(image, swap ? image.Height : image.Width, swap ? image.Width : image.Height,
          [&](const auto& from, const auto& to) { QuarterTurnPlanes(from, to, degrees); });
}

void Flip(TBitmap32& bitmap, bool horizontal) { FlipPlanes(Bytes(bitmap), horizontal); }

void Flip(TRawImage& image, bool horizontal) {
  if (!Usable(image)) return;
  if (image.BytesPerSample() == 2)
    FlipPlanes(TPlanes<std::uint16_t>{reinterpret_cast<std::uint16_t*>(image.Samples.data()), image.Width, image.Height,
                                      image.SamplesPerPixel},
               horizontal);
  else
    FlipPlanes(TPlanes<std::uint8_t>{image.Samples.data(), image.Width, image.Height, image.SamplesPerPixel}, horizontal);
}

bool Downsample(TBitmap32& bitmap, int width, int height) {
  if (bitmap.Empty() || width <= 0 || height <= 0 || width > bitmap.Width || height > bitmap.Height) return false;
  TBitmap32 shrunk;
  shrunk.Resize(width, height);
  DownsamplePlanes(ConstBytes(bitmap), Bytes(shrunk));
  bitmap = std::move(shrunk);
  return true;
}

bool Downsample(TRawImage& image, int width, int height) {
  if (!Usable(image) || width <= 0 || height <= 0 || width > image.Width || height > image.Height) return false;
  Rebuild(image, width, height, [](const auto& from, const auto& to) { DownsamplePlanes(from, to); });
  return true;
}

}  // namespace lumacet
