// A full paint of a 2560 x 1440 display showing four superimposed tracings of the example
// type with every drawing and 100 outlined labels (mode "All"): the engine's vector pass
// alone over the recording canvas, and the whole paint into an image through QPainter.
// The labels of one paint read each radiograph's values once; both passes include
// loading every radiograph's coordinates, as every paint does.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_support.h"
#include "graphics/display.h"
#include "graphics/recording_canvas.h"
#include "graphics/tracing_painter.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "platform/qpainter_canvas.h"
#include "shell/settings.h"
#include "shell/settings_options.h"

namespace lumacet {
namespace {

constexpr int kRadiographs = 4;
constexpr int kLabelsPerRadiograph = 25;

// The example type with its analysis grown to 25 labelled measurements, and four
// radiographs where its template puts the landmarks, each a little larger and shifted.
struct TScene {
  TScene() {
    std::string message;
    LoadExampleType(type);
    auto* analysis = static_cast<TXRAnalysis*>(type.ElementList(ekAnalysis).front().get());
    const auto& points = type.ElementList(ekDigPoint);
    int labelled = 0;
    for (TXRayElement* element : analysis->Points) labelled += static_cast<TXRVariable*>(element)->ShowIn != 1;
    for (std::size_t i = 0; labelled < kLabelsPerRadiograph; ++i, ++labelled) {
      auto* variable = static_cast<TXRVariable*>(type.AddElement("Extra " + std::to_string(i), ekVariable, message));
      variable->SetKind(3);
      variable->SetOperand(0, points[i % points.size()].get());
      variable->SetOperand(1, points[(i + 3) % points.size()].get());
      variable->Anchor = points[(i + 1) % points.size()].get();
      variable->TextAfter = " mm";
      analysis->Points.push_back(variable);
    }
    for (int r = 0; r < kRadiographs; ++r) scene.Slots.push_back(&AddSyntheticRadiograph(radiographs, type, r));
    scene.Current = 0;
    TSettings settings = TSettings::Defaults(".");
    settings.General.AnalysisMode = kAnalysisAll;
    settings.Radiograph.DrawingStyle = kStyleCurrentAsDefined;
    options = DisplayOptions(settings, measuring);
    display.SetAreaSize({2560, 1440});
    display.BestFit(radiographs.back()->TracingBounds());
  }

  TXRayType type;
  std::vector<std::unique_ptr<TXRay>> radiographs;
  TDisplayScene scene;
  TMeasuring measuring;
  TDisplayOptions options;
  TDisplayMapping display;
};

TScene& Scene() {
  static TScene scene;
  return scene;
}

void BM_VectorPass(benchmark::State& state) {
  TScene& scene = Scene();
  TRecordingCanvas canvas({2560, 1440});
  for (auto _ : state) {
    canvas.Calls.clear();
    canvas.SetMapping(*scene.display.Mapping());
    DrawDisplay(canvas, scene.scene, scene.options);
    benchmark::DoNotOptimize(canvas.Calls.data());
  }
  std::size_t texts = 0;
  for (const TCanvasCall& call : canvas.Calls) texts += call.Kind == TCanvasCallKind::Text;
  state.counters["calls"] = static_cast<double>(canvas.Calls.size());
  state.counters["texts"] = static_cast<double>(texts);
}
BENCHMARK(BM_VectorPass)->Unit(benchmark::kMillisecond);

void BM_FullPaintIntoImage(benchmark::State& state) {
  EnsureGuiApplication();
  TScene& scene = Scene();
  QImage image(2560, 1440, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    TQPainterCanvas canvas(painter);
    canvas.SetMapping(*scene.display.Mapping());
    DrawDisplay(canvas, scene.scene, scene.options);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_FullPaintIntoImage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumacet
