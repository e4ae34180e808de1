// Warping a radiograph-sized image (3000 x 2400, 16-bit samples and the display bitmap)
// along 300 control lines of a tracing whose jaw moved forward, by each method, and the
// Delaunay triangulation of 300 control points. Targets on two cores: Linear field warp
// under 2 s, S-curve under 10 s, triangle interpolation and the block warp 0.5 s, the
// triangulation 0.2 s.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>

#include "geometry/delaunay.h"
#include "simulation/morph.h"

namespace lumacet {
namespace {

constexpr int kWidth = 3000;
constexpr int kHeight = 2400;
constexpr int kLines = 300;

using TList = std::vector<std::optional<TFloatPoint>>;

// Twelve outlines of 25 segments each, ovals spread over the middle of the image, and the
// image frame; the target has the lower outlines moved 40 units forward and 15 down.
struct TControls {
  TList Source, Target;
};

TControls Controls() {
  TControls c;
  constexpr int kOutlines = 12;
  for (int o = 0; o < kOutlines; ++o) {
    const double cx = 700 + 420.0 * (o % 4), cy = 600 + 500.0 * (o / 4);
    const double rx = 180 + 20.0 * o, ry = 120 + 10.0 * o;
    const bool jaw = o >= 8;
    for (int k = 0; k <= kLines / kOutlines; ++k) {
      const double a = 1.8 * std::numbers::pi * k / (kLines / kOutlines);
      const TFloatPoint p{cx + rx * std::cos(a), cy + ry * std::sin(a)};
      c.Source.emplace_back(p);
      c.Target.emplace_back(jaw ? TFloatPoint{p.X + 40, p.Y + 15} : p);
    }
    c.Source.emplace_back(std::nullopt);
    c.Target.emplace_back(std::nullopt);
  }
  for (TFloatPoint p : {TFloatPoint{0, 0}, TFloatPoint{kWidth, 0}, TFloatPoint{kWidth, kHeight},
                        TFloatPoint{0, kHeight}, TFloatPoint{0, 0}}) {
    c.Source.emplace_back(p);
    c.Target.emplace_back(p);
  }
  return c;
}

struct TPictures {
  TBitmap32 Display;
  TRawImage Raw;
};

TPictures Pictures() {
  TPictures p;
  p.Display.Resize(kWidth, kHeight);
  p.Raw.Width = kWidth;
  p.Raw.Height = kHeight;
  p.Raw.SamplesPerPixel = 1;
  p.Raw.BitsPerSample = 16;
  p.Raw.Samples.resize(static_cast<std::size_t>(kWidth) * kHeight * 2);
  for (std::size_t i = 0; i < p.Display.Pixels.size(); ++i) {
    const auto g = static_cast<std::uint32_t>((i * 7 + i / kWidth * 3) % 251);
    p.Display.Pixels[i] = PackPixel(g, g, g);
    p.Raw.Samples[2 * i] = static_cast<std::uint8_t>(i * 13);
    p.Raw.Samples[2 * i + 1] = static_cast<std::uint8_t>(g);
  }
  return p;
}

void Warp(benchmark::State& state, const TMorphOptions& options) {
  const TControls controls = Controls();
  const TPictures source = Pictures();
  const TImageFrame frame{.OriginX = 0, .OriginY = 0, .PixelWidth = 1, .PixelHeight = 1, .Rotation = 0};
  for (auto _ : state) {
    state.PauseTiming();
    TPictures out = source;
    state.ResumeTiming();
    MorphPixels({source.Display, source.Raw, frame, out.Display, out.Raw}, controls.Source, controls.Target, options,
                [](int, int) { return true; });
    benchmark::DoNotOptimize(out.Display.Pixels.data());
  }
}

void BM_FieldWarpLinear(benchmark::State& state) { Warp(state, {.Function = TWarpFunction::Linear}); }
BENCHMARK(BM_FieldWarpLinear)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(2);

void BM_FieldWarpSCurve(benchmark::State& state) { Warp(state, {.Function = TWarpFunction::SCurve}); }
BENCHMARK(BM_FieldWarpSCurve)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

void BM_FieldWarpExponential(benchmark::State& state) { Warp(state, {.Function = TWarpFunction::Exponential}); }
BENCHMARK(BM_FieldWarpExponential)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

void BM_BlockWarpLinear(benchmark::State& state) {
  Warp(state, {.Function = TWarpFunction::Linear, .Quality = TMorphQuality::Low});
}
BENCHMARK(BM_BlockWarpLinear)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_BlockWarpSCurve(benchmark::State& state) {
  Warp(state, {.Function = TWarpFunction::SCurve, .Quality = TMorphQuality::Low});
}
BENCHMARK(BM_BlockWarpSCurve)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_TriangleWarp(benchmark::State& state) { Warp(state, {.Function = TWarpFunction::Triangle}); }
BENCHMARK(BM_TriangleWarp)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_Delaunay300(benchmark::State& state) {
  const TList points = Controls().Source;  // 300 outline points and the frame's corners
  for (auto _ : state) benchmark::DoNotOptimize(DelaunayTriangulate(points).size());
}
BENCHMARK(BM_Delaunay300)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace lumacet
