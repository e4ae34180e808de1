// Digitizing on a 3000 x 2400 12-bit film with a bright disc on a darker ground:
// - edge lock for one mouse position (profile of 101 samples, filtering, the choice), at
//   the pixel size given in hundredths of a tracing unit (100: 0.1 mm pixels, the largest
//   filter window; 390: 0.39 mm);
// - fitting a 200-point snake round the disc (hot zone 5 mm);
// - the grey plane read from the 12-bit samples, once per image;
// - placing a point of the example lateral type (56 points, 5 snakes): the placement
//   stored and averaged, the next element selected, every derived point and variable
//   computed afresh (the engine's share of a click; painting is the window's);
// - the same with the repaint a click brings in the window: the example film, every tracing,
//   the analysis's labels and the digitize tool's marks painted into a 1280 x 860 picture.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "../tests/digitize/edge_scene.h"
#include "bench_support.h"
#include "digitize/digitize_tool.h"
#include "digitize/digitizing.h"
#include "digitize/edge_search.h"
#include "digitize/snake_fit.h"
#include "graphics/display.h"
#include "graphics/image_layer.h"
#include "graphics/tracing_painter.h"
#include "imaging/image_commands.h"
#include "measure/variables.h"
#include "model/list_elements.h"
#include "model/point_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "platform/qpainter_canvas.h"
#include "shell/settings.h"
#include "shell/settings_options.h"

namespace lumacet {
namespace {

constexpr int kWidth = 3000;
constexpr int kHeight = 2400;
constexpr double kRadius = 900;  // pixels

const TImageStore& Film() {
  static const TImageStore film = test::Picture(kWidth, kHeight, 12, 0.02, 3, [](double x, double y) {
    return 0.25 + 0.05 * x / kWidth + 0.4 * test::BlurredStep(kRadius - std::hypot(x - 1500, y - 1200), 1.5);
  });
  return film;
}

const TGreyPlane& Plane() {
  static const TGreyPlane plane = TGreyPlane::FromImage(Film());
  return plane;
}

TImageFrame Frame(double pixelWidth) {
  TImageFrame frame;
  frame.PixelWidth = frame.PixelHeight = pixelWidth;
  return frame;
}

void BM_EdgeLock(benchmark::State& state) {
  const double pw = static_cast<double>(state.range(0)) / 100;
  const TImageFrame frame = Frame(pw);
  TDigPoint point;
  point.SearchRange = 50;
  point.CursorOnly = false;
  // The cursor moves one unit per move across the disc's left edge and back.
  const double edge = (1500 - kRadius) * pw, y = 1200 * pw;
  const TGreyPlane& plane = Plane();
  int step = 0;
  for (auto _ : state) {
    const TFloatPoint cursor{edge - 20 + (step++ % 40), y};
    TEdgeLock lock = LockEdge(plane, frame, point, cursor, TEdgeChoice::MostProminent, 2);
    benchmark::DoNotOptimize(lock);
  }
}
BENCHMARK(BM_EdgeLock)->Arg(100)->Arg(390)->Unit(benchmark::kMillisecond);

void BM_FitSnake200(benchmark::State& state) {
  const TImageFrame frame = Frame(1);
  TDigSnake start;
  start.HotZone = 50;
  start.Transition = kAnyTransition;
  for (int i = 0; i < 200; ++i) {
    const double angle = (180 + 180.0 * i / 199) * M_PI / 180;
    start.AddPoint(1500 + (kRadius + 5) * std::cos(angle), 1200 + (kRadius + 5) * std::sin(angle), true);
  }
  const TGreyPlane& plane = Plane();
  for (auto _ : state) {
    state.PauseTiming();
    TDigSnake snake;
    snake.CopyFrom(start);
    state.ResumeTiming();
    benchmark::DoNotOptimize(FitDigSnake(snake, plane, frame));
  }
}
BENCHMARK(BM_FitSnake200)->Unit(benchmark::kMillisecond);

void BM_GreyPlaneFromTwelveBits(benchmark::State& state) {
  const TImageStore& film = Film();
  for (auto _ : state) benchmark::DoNotOptimize(TGreyPlane::FromImage(film));
}
BENCHMARK(BM_GreyPlaneFromTwelveBits)->Unit(benchmark::kMillisecond);

void BM_PlacePoint(benchmark::State& state) {
  TXRayType type;
  LoadExampleType(type);
  TXRay xray;
  xray.SetType(&type);
  for (std::size_t i = 0; i < xray.Coordinates.size(); ++i)
    xray.Coordinates[i]->SetXY(type.TemplatePoints[i]->RawX(), type.TemplatePoints[i]->RawY());
  TResultOf<std::unique_ptr<TDigitizing>> started = TDigitizing::Start(xray, dmOriented);
  if (!started) throw std::runtime_error(started.Outcome().Text().English());
  TDigitizing& digitizing = **started;
  const TMeasureContext context;
  int click = 0;
  for (auto _ : state) {
    while (digitizing.Selected()->KindCode() != ekDigPoint) digitizing.Next();
    const std::optional<TFloatPoint> at = digitizing.GuessedPosition();
    const TFloatPoint p = at.value_or(TFloatPoint{1000, 1000});
    digitizing.DigitizeAt(p.X + (++click % 3), p.Y);
    const TLoadedRadiograph loaded = xray.Load();
    for (const auto& e : type.ElementList(ekDerPoint)) benchmark::DoNotOptimize(loaded.Position(e.get()));
    for (const auto& e : type.ElementList(ekVariable))
      ComputeVariable(*static_cast<TXRVariable*>(e.get()), xray, context);
  }
}
BENCHMARK(BM_PlacePoint)->Unit(benchmark::kMillisecond);

void BM_PlacePointAndRepaint(benchmark::State& state) {
  EnsureGuiApplication();
  TXRayType type;
  LoadExampleType(type);
  TXRay xray;
  xray.SetType(&type);
  TImageLoadSettings images;
  images.DefaultFolder = ExamplesFolder().string();
  if (auto image = LoadDigBitmapFileName(xray, xray.Image, (ExamplesFolder() / "emma_lindqvist_2018.jpg").string(), images);
      !image)
    throw std::runtime_error(image.Text().English());
  TResultOf<std::unique_ptr<TDigitizing>> started = TDigitizing::Start(xray, dmDigitizing);
  if (!started) throw std::runtime_error(started.Outcome().Text().English());
  TDigitizing& digitizing = **started;
  const TGreyPlane plane = TGreyPlane::FromImage(xray.Image);
  TDigitizeTool tool;
  TDigitizeToolOptions tooling;
  TMeasuring measuring;
  const TDisplayOptions options = DisplayOptions(TSettings::Defaults("."), measuring);
  TDisplayScene scene;
  scene.Slots = {&xray};
  scene.Current = 0;
  scene.Images = ImageLayer(scene.Slots, 0);
  TDisplayMapping display;
  display.SetAreaSize({1280, 860});
  display.BestFit({0, 0, 2400, 2400});
  QImage picture(1280, 860, QImage::Format_RGB32);
  int click = 0;
  for (auto _ : state) {
    while (digitizing.Selected()->KindCode() != ekDigPoint) digitizing.Next();
    const TFloatPoint p = digitizing.GuessedPosition().value_or(TFloatPoint{1000, 1000});
    const TFloatPoint at = tool.ClickPosition(digitizing, plane, {p.X + (++click % 3), p.Y}, true, tooling);
    digitizing.DigitizeAt(at.X, at.Y);
    QPainter painter(&picture);
    TQPainterCanvas canvas(painter);
    canvas.SetMapping(*display.Mapping());
    DrawDisplay(canvas, scene, options);
    tool.Draw(canvas, digitizing, tooling, {});
    painter.end();
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_PlacePointAndRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumacet
