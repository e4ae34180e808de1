// Saving and loading a large radiograph type: 10,000 elements of every kind, with
// references between them. Target: under 50 ms each way.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "model/xray_type.h"
#include "persistence/type_file.h"

namespace lumacet {
namespace {

template <class T>
T* Append(TXRayType& type, int code, std::string name) {
  auto element = CreateElement(code);
  element->Name = std::move(name);
  auto* raw = static_cast<T*>(element.get());
  type.AppendElement(std::move(element));
  return raw;
}

std::unique_ptr<TXRayType> LargeType() {
  auto type = std::make_unique<TXRayType>();
  TXRayType& t = *type;
  t.Name = "Large";
  t.IconData.assign(766, 0x5A);
  std::vector<TXRayElement*> points, variables, graphics;
  auto point = [&](size_t i) { return points[i % points.size()]; };
  for (int i = 0; i < 2900; ++i) {
    auto* p = Append<TDigPoint>(t, ekDigPoint, "Point " + std::to_string(i));
    p->SetRaw(100.125 + i, 2000.5 - i * 0.25, true, true);
    p->Description = "landmark number " + std::to_string(i);
    points.push_back(p);
  }
  for (int i = 0; i < 1500; ++i) {
    auto* d = Append<TDerPoint>(t, ekDerPoint, "Derived " + std::to_string(i));
    d->SetKind(2);
    for (int s = 0; s < 3; ++s) d->SetOperand(s, point(i * 3 + s));
  }
  for (int i = 0; i < 500; ++i) {
    auto* a = Append<TArea>(t, ekArea, "Area " + std::to_string(i));
    for (int k = 0; k < 10; ++k) a->Points.push_back(point(i * 7 + k));
  }
  for (int i = 0; i < 1500; ++i) {
    auto* g = Append<TXRGraphic>(t, ekGraphic, "Drawing " + std::to_string(i));
    g->SetKind(4);
    g->Colour = 0x00123456u + i;
    for (int k = 0; k < 8; ++k) g->Points.push_back(point(i * 5 + k));
    graphics.push_back(g);
  }
  for (int i = 0; i < 2500; ++i) {
    auto* v = Append<TXRVariable>(t, ekVariable, "Variable " + std::to_string(i));
    v->SetKind(1);
    for (int s = 0; s < 4; ++s) v->SetOperand(s, point(i * 11 + s));
    v->Anchor = point(i);
    v->TextAfter = " deg";
    v->FemaleNormals = {{6, 12, 81.5, 3.25}, {12, 99, 82, 3.5}};
    v->MaleNormals = {{0, 99, 82.5, 3.75}};
    variables.push_back(v);
  }
  std::vector<TXRayElement*> snakes;
  for (int i = 0; i < 400; ++i) {
    auto* s = Append<TDigSnake>(t, ekSnake, "Snake " + std::to_string(i));
    for (int k = 0; k < 30; ++k) s->AddPoint(500 + k * 10.25, 700 + i * 0.5 + k, true);
    snakes.push_back(s);
  }
  for (int i = 0; i < 100; ++i) {
    const std::string n = std::to_string(i);
    auto* an = Append<TXRAnalysis>(t, ekAnalysis, "Analysis " + n);
    for (int k = 0; k < 25; ++k) an->Points.push_back(variables[(i * 25 + k) % variables.size()]);
    for (int k = 0; k < 15; ++k) an->Graphics.push_back(graphics[(i * 15 + k) % graphics.size()]);
    auto* pr = Append<TXRProtocol>(t, ekProtocol, "Protocol " + n);
    for (int k = 0; k < 30; ++k) pr->Points.push_back(point(i * 30 + k));
    pr->Points.push_back(snakes[i]);
    auto* su = Append<TXRSupimp>(t, ekSupimp, "Superimposition " + n);
    su->SetKind(1);
    for (int s = 0; s < 3; ++s) su->SetOperand(s, point(i + s));
    auto* o = Append<TXROrient>(t, ekOrient, "Orientation " + n);
    o->SetKind(3);
    for (int s = 0; s < 4; ++s) o->SetOperand(s, point(i * 4 + s));
    auto* h = Append<TXRHardSoft>(t, ekHardSoft, "Relation " + n);
    h->MasterPoint = point(i);
    h->AxisPoint1 = point(i + 1);
    h->AxisPoint2 = point(i + 2);
    for (int k = 0; k < 12; ++k) h->Points.push_back(point(i * 12 + k));
    auto* vw = Append<TXRView>(t, ekView, "View " + n);
    for (int k = 0; k < 20; ++k) vw->Points.push_back(graphics[(i * 20 + k) % graphics.size()]);
    for (int k = 0; k < 10; ++k) vw->Variables.push_back(variables[(i * 10 + k) % variables.size()]);
    auto* pca = Append<TXRPCA>(t, ekPCA, "Shape " + n);
    for (int k = 0; k < 10; ++k) pca->Points.push_back(point(i * 10 + k));
    pca->HasData = true;
    for (int k = 0; k < 20; ++k) pca->Consensus.push_back(0.01 * k - 0.1);
    for (int k = 0; k < 16; ++k) pca->Variances.push_back(1.0 / (k + 1));
    pca->Loadings.assign(20, std::vector<double>(16, 0.125));
    pca->SampleCount = 40;
  }
  return type;
}

const TXRayType& SharedType() {
  static const std::unique_ptr<TXRayType> type = LargeType();
  return *type;
}

std::string TempPath() {
  return (std::filesystem::temp_directory_path() / ("lumacet-bench-" + std::to_string(::getpid()) + ".lcr")).string();
}

void WriteText(benchmark::State& state) {
  const TXRayType& type = SharedType();
  size_t bytes = 0;
  for (auto _ : state) {
    std::string text = WriteTypeFileText(type);
    bytes = text.size();
    benchmark::DoNotOptimize(text);
  }
  state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(WriteText)->Unit(benchmark::kMillisecond);

void ReadText(benchmark::State& state) {
  const std::string text = WriteTypeFileText(SharedType());
  for (auto _ : state) {
    TXRayType type;
    if (const TResult read = ReadTypeFileText(text, type); !read) state.SkipWithError(read.Text().English().c_str());
    benchmark::DoNotOptimize(type);
  }
}
BENCHMARK(ReadText)->Unit(benchmark::kMillisecond);

// The whole command: through a temporary file, flushed to disk, renamed over the target.
void SaveToFile(benchmark::State& state) {
  auto type = LargeType();
  const std::string path = TempPath();
  for (auto _ : state) {
    if (const TResultOf<TText> saved = type->SaveToTypeFile(path); !saved)
      state.SkipWithError(saved.Text().English().c_str());
  }
  std::filesystem::remove(path);
}
BENCHMARK(SaveToFile)->Unit(benchmark::kMillisecond);

void LoadFromFile(benchmark::State& state) {
  auto source = LargeType();
  const std::string path = TempPath();
  if (!source->SaveToTypeFile(path)) state.SkipWithError("the type file cannot be written");
  for (auto _ : state) {
    TXRayType type;
    if (const TResult loaded = type.LoadFromTypeFile(path); !loaded) state.SkipWithError(loaded.Text().English().c_str());
    benchmark::DoNotOptimize(type);
  }
  std::filesystem::remove(path);
}
BENCHMARK(LoadFromFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumacet
