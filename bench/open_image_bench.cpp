// Opening a radiograph with a 3000 x 2400 JPEG and showing it: the whole of it (decoding,
// the display bitmap, and the first paint of a window-sized picture with the image under
// the tracing), and the repaint alone, at "Fit All" and at 100 %. Target: under 300 ms for
// the whole.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "graphics/image_layer.h"
#include "imaging/image_commands.h"
#include "imaging/jpeg_codec.h"
#include "model/xray.h"
#include "platform/qpainter_canvas.h"
#include "support/atomic_file.h"

namespace lumacet {
namespace {

constexpr int kWidth = 3000;
constexpr int kHeight = 2400;
constexpr TIntSize kWindow{1100, 760};

// A grey JPEG of quality 90 that looks like a scanned radiograph, written once.
const std::string& JpegFolder() {
  static const std::string folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumacet-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    TBitmap32 bitmap;
    bitmap.Resize(kWidth, kHeight);
    std::uint32_t noise = 1;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        noise = noise * 1664525u + 1013904223u;
        const double shape = 0.5 + 0.3 * std::sin(x / 170.0) * std::cos(y / 230.0);
        const double level = 255 * shape * (0.6 + 0.4 * x / kWidth) + static_cast<double>(noise >> 28) - 8;
        bitmap.Row(y)[x] = WithGrey(0, static_cast<std::uint32_t>(std::clamp(level, 0.0, 255.0)));
      }
    std::string bytes;
    std::string reason;
    if (!EncodeJpeg(bitmap, {90, true}, bytes, reason)) std::abort();
    WriteFileAtomically(pattern + "/ceph.jpg", bytes);
    std::atexit([] { std::filesystem::remove_all(JpegFolder()); });
    return pattern;
  }();
  return folder;
}

// The window's picture of the radiograph at `scale` device pixels per tracing unit.
void Paint(TXRay& xray, double scale, QImage& picture) {
  TDisplayScene scene;
  scene.Slots = {&xray};
  scene.Current = 0;
  scene.Images = ImageLayer(scene.Slots, scene.Current);
  const TDisplayOptions options;
  PaintImage(
      kWindow, kColourWhite,
      [&](TCanvas& canvas) {
        canvas.SetMapping(*TIsotropicMapping::FromScale({0, 0}, scale));
        DrawDisplay(canvas, scene, options);
      },
      picture);
}

bool Open(TXRay& xray) {
  TImageLoadSettings settings;
  settings.DefaultFolder = JpegFolder();
  settings.DefaultPixelWidth = 1;  // 0.1 mm per pixel: a 300 x 240 mm film
  settings.DefaultPixelHeight = 1;
  xray.ImageFile = "ceph.jpg";
  return LoadImageWithTracing(xray, xray.Image, settings).Ok();
}

// "Fit All" shows the 300 mm world in the window's height; 100 % is 3.37 pixels per mm.
constexpr double kFitAll = 759.0 / 3000;
constexpr double kLifeSize = 0.337;

void BM_OpenAndShow(benchmark::State& state) {
  EnsureGuiApplication();
  JpegFolder();
  QImage picture;
  for (auto _ : state) {
    TXRay xray;
    if (!Open(xray)) state.SkipWithError("the image did not open");
    Paint(xray, kFitAll, picture);
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_OpenAndShow)->Unit(benchmark::kMillisecond);

void BM_Repaint(benchmark::State& state, double scale) {
  EnsureGuiApplication();
  TXRay xray;
  if (!Open(xray)) state.SkipWithError("the image did not open");
  QImage picture;
  for (auto _ : state) {
    Paint(xray, scale, picture);
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK_CAPTURE(BM_Repaint, FitAll, kFitAll)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Repaint, LifeSize, kLifeSize)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumacet
