// The interactive morph window's share of a drag step: the target control points of the
// moved tracing and the mesh's target vertices, then the 1500 x 1200 preview drawn (target:
// both within 33 ms, one step at 30 frames a second). Building the mesh, once per source, is
// timed too. Offscreen the preview is drawn by QPainter; under a virtual X display
// (QT_QPA_PLATFORM=xcb xvfb-run ...) by OpenGL.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <memory>
#include <vector>

#include "app/morph_window.h"
#include "bench_support.h"
#include "simulation/morph.h"

namespace lumacet {
namespace {

QApplication& Widgets() {
  static int argc = 1;
  static char name[] = "lumacet_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication application(argc, argv);
  return application;
}

// The example type with every drawing steering the morph, a source with a 2000 x 1600 image
// and a grown, shifted copy of its tracing as the current radiograph.
struct TMorphPair {
  TMorphPair() {
    LoadExampleType(type);
    for (const auto& e : type.ElementList(ekGraphic)) static_cast<TXRGraphic*>(e.get())->UseForMorphing = true;
    source = &AddSyntheticRadiograph(radiographs, type, 0);
    current = &AddSyntheticRadiograph(radiographs, type, 1);
    TRawImage raw;
    raw.Width = 2000;
    raw.Height = 1600;
    raw.SamplesPerPixel = 1;
    raw.BitsPerSample = 8;
    raw.Samples.resize(size_t(raw.Width) * size_t(raw.Height));
    for (size_t i = 0; i < raw.Samples.size(); ++i) raw.Samples[i] = static_cast<uint8_t>((i * 7 + i / 2000 * 3) & 0xFF);
    source->Image.SetImage(std::move(raw));
    source->PixelWidth = source->PixelHeight = 1.5;
  }
  TXRayType type;
  std::vector<std::unique_ptr<TXRay>> radiographs;
  TXRay* source = nullptr;
  TXRay* current = nullptr;
};

TMorphPair& Pair() {
  static TMorphPair pair;
  return pair;
}

void BM_MorphMeshOfTheSource(benchmark::State& state) {
  TMorphPair& pair = Pair();
  size_t triangles = 0;
  for (auto _ : state) {
    const auto points = MorphControlPoints(*pair.source, *pair.source, false);
    triangles = DelaunayTriangulate(points).size();
    benchmark::DoNotOptimize(triangles);
  }
  state.counters["triangles"] = double(triangles);
}
BENCHMARK(BM_MorphMeshOfTheSource)->Unit(benchmark::kMillisecond);

void BM_MorphDragStepTargets(benchmark::State& state) {
  TMorphPair& pair = Pair();
  const auto points = MorphControlPoints(*pair.source, *pair.source, false);
  const std::vector<TDelTriangle> triangles = DelaunayTriangulate(points);
  std::vector<float> positions;
  for (auto _ : state) {
    const auto target = MorphControlPoints(*pair.current, *pair.source, false);
    positions.clear();
    for (const TDelTriangle& triangle : triangles)
      for (int vertex : triangle.Vertex) {
        positions.push_back(float(target[size_t(vertex)]->X));
        positions.push_back(float(target[size_t(vertex)]->Y));
      }
    benchmark::DoNotOptimize(positions.data());
  }
  state.counters["control_points"] = double(points.size());
}
BENCHMARK(BM_MorphDragStepTargets)->Unit(benchmark::kMillisecond);

void BM_MorphDragStepPreview(benchmark::State& state) {
  Widgets();
  TMorphPair& pair = Pair();
  TMorphInteractive window([&pair] { return pair.source; }, [&pair] { return pair.current; });
  window.show();
  window.Display()->setFixedSize(1500, 1200);
  window.adjustSize();
  QCoreApplication::processEvents();
  window.Prepare();
  for (auto _ : state) {
    window.DoTheMorph();
    const QImage picture = window.Picture();
    benchmark::DoNotOptimize(picture.constBits());
  }
  state.SetLabel(window.UsesOpenGL() ? "OpenGL" : "QPainter");
}
BENCHMARK(BM_MorphDragStepPreview)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumacet
