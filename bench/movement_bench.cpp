// Movements on the example type (56 digitized points, 5 snakes, derived points, variables
// and drawings):
// - one step of a drag (first argument: translation 0, rotation 1): the tracing put back to
//   where the drag began and the total movement so far performed; with the second argument
//   1 also the kept picture of everything else copied to the screen, with 2 also the moved
//   tracing (derived points, variables, drawings and labels computed afresh) painted over it
//   at 2560 x 1440;
// - superimposing 10 open radiographs on the reference by the cranial-base best fit;
// - undoing a log of N movements back to the start (linear in N).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

#include "bench_support.h"
#include "graphics/display.h"
#include "graphics/tracing_painter.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "platform/qpainter_canvas.h"
#include "shell/measuring.h"
#include "shell/settings.h"
#include "shell/settings_options.h"
#include "simulation/movement_log.h"
#include "simulation/superimposition.h"

namespace lumacet {
namespace {

struct TScene {
  TScene() {
    LoadExampleType(type);
    for (int r = 0; r < 11; ++r) {
      auto& xray = *radiographs.emplace_back(std::make_unique<TXRay>());
      xray.SetType(&type);
      xray.Female = true;
      xray.DateOfBirth = DayNumber(2000, 1, 1);
      xray.DateTaken = DayNumber(2010 + r, 1, 1);
      for (std::size_t i = 0; i < xray.Coordinates.size(); ++i) {
        const TXRPoint& at = *type.TemplatePoints[i];
        xray.Coordinates[i]->SetXY(at.RawX() * (1 + 0.01 * r) + 15 * r, at.RawY() - 7 * r);
      }
    }
    TSettings settings = TSettings::Defaults(".");
    options = DisplayOptions(settings, measuring);
    display.SetAreaSize({2560, 1440});
    display.BestFit(radiographs.front()->TracingBounds());
  }

  TXRayType type;
  std::vector<std::unique_ptr<TXRay>> radiographs;
  TMeasuring measuring;
  TDisplayOptions options;
  TDisplayMapping display;
};

TScene& Scene() {
  static TScene scene;
  return scene;
}

void BM_DragStep(benchmark::State& state) {
  EnsureGuiApplication();
  TScene& s = Scene();
  TXRay& xray = *s.radiographs.front();
  xray.Selection.clear();
  for (const auto& e : s.type.ElementList(ekArea)) xray.Selection.push_back(e.get());
  const bool rotate = state.range(0) == 1;
  // The picture kept when the drag began: the display without the moving tracing.
  QImage kept(2560, 1440, QImage::Format_RGB32);
  kept.fill(Qt::white);
  QImage screen(2560, 1440, QImage::Format_RGB32);
  TDisplayScene moving;
  moving.Slots.push_back(&xray);
  moving.Current = 0;
  // The revert snapshot of the drag.
  std::vector<std::unique_ptr<TDigPoint>> start;
  for (const auto& p : std::as_const(xray.Coordinates)) {
    start.push_back(std::make_unique<TDigPoint>());
    CopyPointState(*p, *start.back());
  }
  // The display's laid-out labels, kept from step to step as the drawing area keeps them.
  TTextLayouts layouts;
  THistoryPause pause(xray);
  int step = 0;
  for (auto _ : state) {
    ++step;
    for (std::size_t i = 0; i < start.size(); ++i) CopyPointState(*start[i], *xray.Coordinates[i]);
    const TMovement m = rotate ? TMovement{.Kind = mkRotate, .Angle = 1e-3 * step, .Centre = TFloatPoint{1200, 1300}}
                               : TMovement{.Kind = mkTranslate, .Dx = 0.5 * step, .Dy = -0.25 * step};
    if (!ApplyMovement(m, xray, {})) state.SkipWithError("the movement was refused");
    if (state.range(1) == 0) continue;
    std::memcpy(screen.bits(), kept.constBits(), static_cast<std::size_t>(kept.sizeInBytes()));
    if (state.range(1) == 1) continue;
    QPainter painter(&screen);
    TQPainterCanvas canvas(painter, &layouts);
    canvas.SetMapping(*s.display.Mapping());
    DrawTracings(canvas, moving, s.options);
    painter.end();
    benchmark::DoNotOptimize(screen.constBits());
  }
  for (std::size_t i = 0; i < start.size(); ++i) CopyPointState(*start[i], *xray.Coordinates[i]);
}
BENCHMARK(BM_DragStep)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

void BM_SuperimposeTenOnReference(benchmark::State& state) {
  TScene& s = Scene();
  auto* fit = static_cast<TXRSupimp*>(s.type.FindElement("Cranial base best fit", ekSupimp));
  std::vector<TRadiograph*> others;
  for (std::size_t r = 1; r < s.radiographs.size(); ++r) others.push_back(s.radiographs[r].get());
  for (auto _ : state) {
    if (!SuperimposeOnCurrent(*fit, *s.radiographs.front(), others, {})) state.SkipWithError("refused");
    state.PauseTiming();
    for (TRadiograph* other : others)
      while (!other->UndoMovements.empty()) static_cast<void>(UndoLast(*other, {}));
    for (TRadiograph* other : others) other->RedoMovements.clear();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SuperimposeTenOnReference)->Unit(benchmark::kMillisecond);

void BM_UndoWholeLog(benchmark::State& state) {
  TScene& s = Scene();
  TXRay& xray = *s.radiographs.back();
  xray.Selection = {s.type.ElementList(ekArea).front().get()};
  TMovementOptions options;
  options.Compile = false;
  THistoryPause pause(xray);
  for (auto _ : state) {
    state.PauseTiming();
    for (int64_t i = 0; i < state.range(0); ++i)
      static_cast<void>(DoTheMovement(xray, TMovement{.Kind = i % 2 ? mkTranslate : mkRotate, .Dx = 1, .Angle = 1e-3,
                                                      .Centre = TFloatPoint{1000, 1000}},
                                      options));
    state.ResumeTiming();
    while (!xray.UndoMovements.empty()) static_cast<void>(UndoLast(xray, options));
    state.PauseTiming();
    xray.RedoMovements.clear();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_UndoWholeLog)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumacet
