// Turning a radiograph-sized image (3000 x 2400) by an arbitrary angle with resampling: the
// 16-bit samples, the display bitmap, and both as "Image Rotation (Resample)" does; quarter
// turns for comparison. Target: the samples under 150 ms on two cores.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "imaging/pixel_geometry.h"

namespace lumacet {
namespace {

constexpr int kWidth = 3000;
constexpr int kHeight = 2400;

TRawImage Samples16() {
  TRawImage raw;
  raw.Width = kWidth;
  raw.Height = kHeight;
  raw.SamplesPerPixel = 1;
  raw.BitsPerSample = 16;
  raw.Samples.resize(static_cast<std::size_t>(kWidth) * kHeight * 2);
  for (std::size_t i = 0; i < raw.Samples.size(); ++i) raw.Samples[i] = static_cast<std::uint8_t>(i * 7 % 251);
  return raw;
}

TBitmap32 Bitmap() {
  TBitmap32 bitmap;
  bitmap.Resize(kWidth, kHeight);
  for (std::size_t i = 0; i < bitmap.Pixels.size(); ++i) bitmap.Pixels[i] = static_cast<std::uint32_t>(i * 2654435761u);
  return bitmap;
}

void BM_RotateSamples16(benchmark::State& state) {
  const TRawImage source = Samples16();
  for (auto _ : state) {
    state.PauseTiming();
    TRawImage image = source;
    state.ResumeTiming();
    RotateBitmap(image, 0.1745);  // 10 degrees: 3371 x 2884 pixels out
    benchmark::DoNotOptimize(image.Samples.data());
  }
}
BENCHMARK(BM_RotateSamples16)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_RotateBitmap32(benchmark::State& state) {
  const TBitmap32 source = Bitmap();
  for (auto _ : state) {
    state.PauseTiming();
    TBitmap32 bitmap = source;
    state.ResumeTiming();
    RotateBitmap(bitmap, 0.1745);
    benchmark::DoNotOptimize(bitmap.Pixels.data());
  }
}
BENCHMARK(BM_RotateBitmap32)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_QuarterTurnSamples16(benchmark::State& state) {
  const TRawImage source = Samples16();
  for (auto _ : state) {
    state.PauseTiming();
    TRawImage image = source;
    state.ResumeTiming();
    QuarterTurn(image, 90);
    benchmark::DoNotOptimize(image.Samples.data());
  }
}
BENCHMARK(BM_QuarterTurnSamples16)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace lumacet
