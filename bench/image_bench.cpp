// Image store and enhancement speed on a radiograph-sized image (3000 x 2400): opening a
// linked JPEG and showing it, rendering 16-bit samples, and the enhancements, with
// OpenCV's CLAHE beside Adaptive Equalize when OpenCV is there.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "imaging/enhancement.h"
#include "imaging/image_commands.h"
#include "imaging/jpeg_codec.h"
#include "model/raw_image_ops.h"
#include "model/xray.h"
#include "support/atomic_file.h"

#ifdef LUMACET_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace lumacet {
namespace {

constexpr int kWidth = 3000;
constexpr int kHeight = 2400;

// Grey levels that look like a scanned radiograph: smooth shapes, uneven exposure, noise.
std::uint32_t RadiographLevel(int x, int y, std::uint32_t& noise) {
  noise = noise * 1664525u + 1013904223u;
  const double shape = 0.5 + 0.3 * std::sin(x / 170.0) * std::cos(y / 230.0) + 0.15 * std::sin((x + 2 * y) / 41.0);
  const double exposure = 0.6 + 0.4 * x / kWidth;
  const double level = 255 * shape * exposure + static_cast<double>(noise >> 28) - 8;
  return static_cast<std::uint32_t>(std::clamp(level, 0.0, 255.0));
}

const TBitmap32& RadiographBitmap() {
  static const TBitmap32 bitmap = [] {
    TBitmap32 b;
    b.Resize(kWidth, kHeight);
    std::uint32_t noise = 1;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) b.Row(y)[x] = WithGrey(0, RadiographLevel(x, y, noise));
    return b;
  }();
  return bitmap;
}

// A folder holding the radiograph as a grey and as a colour JPEG of quality 90.
const std::string& JpegFolder() {
  static const std::string folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumacet-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    std::string bytes;
    std::string reason;
    if (!EncodeJpeg(RadiographBitmap(), {90, true}, bytes, reason)) std::abort();
    WriteFileAtomically(pattern + "/grey.jpg", bytes);
    if (!EncodeJpeg(RadiographBitmap(), {90, false}, bytes, reason)) std::abort();
    WriteFileAtomically(pattern + "/colour.jpg", bytes);
    std::atexit([] { std::filesystem::remove_all(JpegFolder()); });
    return pattern;
  }();
  return folder;
}

// Opening a radiograph with its image: find the file, read it, decode it at full quality,
// render the display bitmap.
void BM_OpenRadiographWithJpeg(benchmark::State& state, const char* name) {
  TImageLoadSettings settings;
  settings.DefaultFolder = JpegFolder();
  for (auto _ : state) {
    TXRay xray;
    xray.ImageFile = name;
    if (const TResultOf<TLoadedImage> loaded = LoadImageWithTracing(xray, xray.Image, settings); !loaded)
      state.SkipWithError(loaded.Text().English().c_str());
    benchmark::DoNotOptimize(xray.Image.Display.Pixels.data());
  }
}
BENCHMARK_CAPTURE(BM_OpenRadiographWithJpeg, Grey, "grey.jpg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenRadiographWithJpeg, Colour, "colour.jpg")->Unit(benchmark::kMillisecond);

void BM_RenderSixteenBits(benchmark::State& state) {
  TRawImage raw;
  raw.Width = kWidth;
  raw.Height = kHeight;
  raw.SamplesPerPixel = 1;
  raw.BitsPerSample = 16;
  raw.WindowLow = 1000;
  raw.WindowHigh = 3000;
  raw.Gamma = 1.5;
  raw.Samples.resize(static_cast<std::size_t>(kWidth) * kHeight * 2);
  for (std::size_t i = 0; i < raw.Samples.size(); ++i) raw.Samples[i] = static_cast<std::uint8_t>(i * 7 % 251);
  TBitmap32 bitmap;
  for (auto _ : state) {
    RenderToBitmap(raw, bitmap);
    benchmark::DoNotOptimize(bitmap.Pixels.data());
  }
}
BENCHMARK(BM_RenderSixteenBits)->Unit(benchmark::kMillisecond);

// Runs `adjust` on a fresh copy of the radiograph each time; the copy is not timed.
template <typename Adjust>
void TimeAdjustment(benchmark::State& state, Adjust adjust) {
  TBitmap32 bitmap;
  for (auto _ : state) {
    state.PauseTiming();
    bitmap = RadiographBitmap();
    state.ResumeTiming();
    adjust(bitmap);
    benchmark::DoNotOptimize(bitmap.Pixels.data());
  }
}

// The adaptive functions and OpenCV spread their work over threads: the time that counts
// is the wall clock's, and CPU time is that of the whole process.
void BM_AdaptiveEqualize(benchmark::State& state) {
  TimeAdjustment(state, [](TBitmap32& b) { AdaptiveEqualize(b, 10); });
}
BENCHMARK(BM_AdaptiveEqualize)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_AdaptiveAutoLevels(benchmark::State& state) {
  TimeAdjustment(state, [](TBitmap32& b) { AdaptiveAutoLevels(b, 10, 5); });
}
BENCHMARK(BM_AdaptiveAutoLevels)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_Equalize(benchmark::State& state) {
  TimeAdjustment(state, [](TBitmap32& b) { Equalize(b); });
}
BENCHMARK(BM_Equalize)->Unit(benchmark::kMillisecond);

#ifdef LUMACET_HAVE_OPENCV
// The same image as one 8-bit channel through OpenCV's contrast-limited adaptive
// equalization without a clip limit, on the 10 x 8 tiles that 10 percent tiles give here.
// A different algorithm: only its time is compared. Argument: OpenCV's thread count.
void BM_OpenCvClahe(benchmark::State& state) {
  cv::setNumThreads(static_cast<int>(state.range(0)));
  const TBitmap32& bitmap = RadiographBitmap();
  cv::Mat grey(kHeight, kWidth, CV_8UC1);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) grey.at<std::uint8_t>(y, x) = static_cast<std::uint8_t>(PixelBlue(bitmap.Row(y)[x]));
  cv::Ptr<cv::CLAHE> clahe = cv::createCLAHE(0.0, cv::Size(10, 8));
  cv::Mat result;
  for (auto _ : state) {
    clahe->apply(grey, result);
    benchmark::DoNotOptimize(result.data);
  }
}
BENCHMARK(BM_OpenCvClahe)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
#endif

}  // namespace
}  // namespace lumacet
