#include "imaging/scanned_image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "model/radiograph.h"
#include "model/raw_image_ops.h"

namespace lumacet {

namespace {

constexpr TTextSource kNoScan = LcText("Image", "The scanner delivered no image.");
constexpr TTextSource kScansDiffer = LcText("Image", "The scans differ in size or format and cannot be combined.");

bool SameFormat(const TRawImage& a, const TRawImage& b) {
  return a.Width == b.Width && a.Height == b.Height && a.SamplesPerPixel == b.SamplesPerPixel &&
         a.BitsPerSample == b.BitsPerSample && a.Samples.size() == b.Samples.size();
}

// One sample position's values, sorted where the reduction needs them, combined.
uint32_t Combine(std::vector<uint32_t>& values, TNoiseReduction reduction) {
  const size_t n = values.size();
  auto average = [](auto first, auto last) {
    double sum = 0;
    for (auto it = first; it != last; ++it) sum += *it;
    return uint32_t(std::nearbyint(sum / double(last - first)));
  };
  switch (reduction) {
    case TNoiseReduction::Median:
      std::sort(values.begin(), values.end());
      if (n % 2 == 1) return values[n / 2];
      return uint32_t(std::nearbyint((double(values[n / 2 - 1]) + values[n / 2]) * 0.5));
    case TNoiseReduction::Minimum:
      return *std::min_element(values.begin(), values.end());
    case TNoiseReduction::CentralAverage:
      if (n >= 3) {
        std::sort(values.begin(), values.end());
        return average(values.begin() + 1, values.end() - 1);
      }
      break;
    case TNoiseReduction::Average:
      break;
  }
  return average(values.begin(), values.end());
}

double UsablePixelSize(double value) { return std::isfinite(value) && value > 0 ? value : 3.9; }

}  // namespace

TResultOf<TRawImage> CombineScans(const std::vector<TRawImage>& scans, TNoiseReduction reduction) {
  if (scans.empty()) return TResult::Failure(kNoScan, "no scans");
  if (!RawImageIsConsistent(scans.front())) return TResult::Failure(kNoScan, "the first scan is inconsistent");
  const TRawImage& first = scans.front();
  for (const TRawImage& scan : scans)
    if (!SameFormat(scan, first)) return TResult::Failure(kScansDiffer, "the scans differ in size or format");
  TRawImage combined = first;
  const bool wide = first.BytesPerSample() == 2;
  const size_t count = first.Samples.size() / size_t(first.BytesPerSample());
  std::vector<uint32_t> values(scans.size());
  for (size_t k = 0; k < count; ++k) {
    for (size_t i = 0; i < scans.size(); ++i) {
      const uint8_t* samples = scans[i].Samples.data();
      values[i] = wide ? uint32_t(samples[2 * k] | samples[2 * k + 1] << 8) : samples[k];
    }
    const uint32_t value = Combine(values, reduction);
    if (wide) {
      combined.Samples[2 * k] = uint8_t(value);
      combined.Samples[2 * k + 1] = uint8_t(value >> 8);
    } else {
      combined.Samples[k] = uint8_t(value);
    }
  }
  return combined;
}

double ScanPixelSize(double dotsPerInch) {
  if (!std::isfinite(dotsPerInch) || dotsPerInch <= 0) return 0;
  const double size = 254.0 / dotsPerInch;
  return std::isfinite(size) ? size : 0;
}

bool DetectsScanResolution(int typeOption, bool autoDetectSetting) {
  return typeOption == 0 || (typeOption == 2 && autoDetectSetting);
}

void InstallScannedImage(TRadiograph& radiograph, TImageStore& store, TRawImage scan, double xDotsPerInch,
                         double yDotsPerInch, const TScanInstallSettings& settings) {
  ComputeMinMaxWindow(scan);
  scan.LoadedWindowLow = scan.WindowLow;
  scan.LoadedWindowHigh = scan.WindowHigh;
  scan.Gamma = scan.LoadedGamma = 1.0;
  store.SetImage(std::move(scan));
  store.ImageVisible = true;
  radiograph.ImageFile.clear();

  const TImageLoadSettings& load = settings.Load;
  const bool fromType = load.TypeScaleOverride && load.TypePixelWidth > 0 && load.TypePixelHeight > 0;
  radiograph.PixelWidth = UsablePixelSize(fromType ? load.TypePixelWidth : load.DefaultPixelWidth);
  radiograph.PixelHeight = UsablePixelSize(fromType ? load.TypePixelHeight : load.DefaultPixelHeight);
  const double width = ScanPixelSize(xDotsPerInch), height = ScanPixelSize(yDotsPerInch);
  if (settings.DetectResolution && width > 0 && height > 0) {
    radiograph.PixelWidth = width;
    radiograph.PixelHeight = height;
  }
  // Only the scanner has the picture: closing without saving must ask.
  radiograph.RecordImageChange(true, "");
  radiograph.RecordChange(true, "Image Scanned.");
}

}  // namespace lumacet
