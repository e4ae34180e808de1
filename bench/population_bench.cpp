// Mean tracings, sorting by shape and landmark prediction over generated data files of
// 40-landmark radiographs (1,000, 10,000 and 100,000 records), end to end from the file.
// Targets: the mean of 10,000 with a best-fit superimposition under 1 s and linear; sorting
// 10,000 by each measure under 1.5 s; the shape model of 10,000 built under 1 s and one
// prediction from 5 placed landmarks under 1 ms. With the shared real data present, the
// cross-validated prediction errors and outlier flags on the 400 real cephalograms are
// printed as counters (millimetres and percent).
#include <benchmark/benchmark.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <numbers>
#include <random>

#include "bench_support.h"
#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/type_finder.h"
#include "population/landmark_prediction.h"
#include "population/mean_tracing.h"
#include "population/shape_sort.h"
#include "shell/measuring.h"
#include "support/atomic_file.h"

namespace lumacet {
namespace {

constexpr int kLandmarks = 40;

TBenchFolder& Folder() {
  static TBenchFolder folder("population-bench");
  return folder;
}

// "Ceph40": 40 landmarks, the drawing "All" of them with a best-fit superimposition on it,
// the PCA "Shape" of them and an analysis of ten distances.
TXRayType& Type() {
  static std::unique_ptr<TXRayType> type = [] {
    auto made = std::make_unique<TXRayType>();
    made->Name = "Ceph40";
    std::string message;
    for (int i = 1; i <= kLandmarks; ++i) made->AddElement("L" + std::to_string(i), ekDigPoint, message);
    auto* all = static_cast<TXRGraphic*>(made->AddElement("All", ekGraphic, message));
    auto* pca = static_cast<TXRPCA*>(made->AddElement("Shape", ekPCA, message));
    for (int i = 0; i < kLandmarks; ++i) {
      all->Points.push_back(made->Element<TXRayElement>(ekDigPoint, i));
      pca->Points.push_back(made->Element<TXRayElement>(ekDigPoint, i));
    }
    auto* fit = static_cast<TXRSupimp*>(made->AddElement("Best fit", ekSupimp, message));
    fit->SetKind(KindNumber(TSupimpKind::BestFit));
    fit->SetOperand(0, all);
    auto* analysis = static_cast<TXRAnalysis*>(made->AddElement("Distances", ekAnalysis, message));
    for (int i = 0; i < 10; ++i) {
      auto* v = static_cast<TXRVariable*>(made->AddElement("D" + std::to_string(i), ekVariable, message));
      v->SetKind(KindNumber(TVariableKind::Distance1));
      v->SetOperand(0, made->Element<TXRayElement>(ekDigPoint, i));
      v->SetOperand(1, made->Element<TXRayElement>(ekDigPoint, 39 - i));
      analysis->Points.push_back(v);
    }
    return made;
  }();
  return *type;
}

TTypeResolver Resolver() {
  return [](const std::string& name) { return name == Type().Name ? &Type() : nullptr; };
}

// A head-like outline bent along three modes, each radiograph moved, turned and sized.
const std::string& DataFile(int records) {
  static std::map<int, std::string> made;
  if (auto found = made.find(records); found != made.end()) return found->second;
  std::mt19937 engine(2026);
  std::normal_distribution<double> normal(0, 1);
  std::string bytes;
  for (int r = 0; r < records; ++r) {
    TXRay xray;
    xray.SetType(&Type());
    xray.Name = "Case " + std::to_string(r + 1);
    const double bend[3] = {20 * normal(engine), 12 * normal(engine), 6 * normal(engine)};
    const double turn = 0.1 * normal(engine), size = 1 + 0.05 * normal(engine);
    for (int i = 0; i < kLandmarks; ++i) {
      const double a = 2 * std::numbers::pi * i / kLandmarks;
      const double x = 650 * std::cos(a) + bend[0] * std::sin(2 * a) + bend[2] * std::cos(5 * a) + 4 * normal(engine);
      const double y = 520 * std::sin(a) + bend[1] * std::cos(3 * a) + 4 * normal(engine);
      xray.Coordinates[static_cast<size_t>(i)]->SetRaw(
          std::nearbyint((1500 + size * (x * std::cos(turn) - y * std::sin(turn))) * 1000) / 1000,
          std::nearbyint((1300 + size * (x * std::sin(turn) + y * std::cos(turn))) * 1000) / 1000, true, true);
    }
    TResultOf<std::string> record = FormatDataRecord(xray, {});
    if (!record) std::abort();
    bytes += *record;
  }
  const std::string path = (Folder().Path / ("cases" + std::to_string(records) + ".csv")).string();
  if (!WriteFileAtomically(path, bytes).Ok) std::abort();
  return made.emplace(records, path).first->second;
}

std::vector<int> AllOf(int records) {
  std::vector<int> all;
  for (int n = 1; n <= records; ++n) all.push_back(n);
  return all;
}

template <typename F>
double Seconds(F&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_MeanBestFit(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  const TMeanRequest request{.DataFile = DataFile(records), .Records = AllOf(records), .TypeName = "Ceph40",
                             .SuperimpositionName = "Best fit"};
  for (auto _ : state) {
    TMeanResult result;
    const double seconds = Seconds([&] { result = RunMean(request, Resolver(), {}, {}); });
    state.SetIterationTime(seconds);
    if (!result.Outcome || result.Mean == nullptr) state.SkipWithError("no mean");
    state.counters["us_per_radiograph"] = 1e6 * seconds / records;
  }
}
BENCHMARK(BM_MeanBestFit)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_SortByShape(benchmark::State& state) {
  const auto measure = static_cast<TShapeMeasure>(state.range(0));
  const int records = 10000;
  TShapeSortRequest request{.DataFile = DataFile(records), .Records = AllOf(records), .Measure = measure,
                            .PcaName = "Shape", .SuperimpositionName = "Best fit", .DrawingName = "All",
                            .AnalysisName = "Distances", .ExcludeSamePatient = false};
  TXRay current;
  if (LoadFromDataFile(current, request.DataFile, 1, Resolver(), {}) != lsLoaded) std::abort();
  TMeasuring measuring;
  for (auto _ : state) {
    state.SetIterationTime(Seconds([&] {
      TShapeScan scan = ScanShapes(request, current, Resolver(), {}, measuring.Context(), {});
      if (scan.Scores.size() != static_cast<size_t>(records)) state.SkipWithError("not every radiograph scored");
      SortScores(scan.Scores);
    }));
  }
  state.SetLabel(measure == TShapeMeasure::Procrustes ? "Procrustes"
                 : measure == TShapeMeasure::Superimposition ? "Superimposition" : "Analysis");
}
BENCHMARK(BM_SortByShape)->Arg(0)->Arg(1)->Arg(2)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

TShapeSamples Samples(int records, unsigned seed) {
  std::mt19937 engine(seed);
  std::normal_distribution<double> normal(0, 1);
  TShapeSamples samples;
  samples.PointCount = kLandmarks;
  for (int r = 0; r < records; ++r) {
    std::vector<double> row;
    const double bend = 20 * normal(engine), turn = 0.1 * normal(engine);
    for (int i = 0; i < kLandmarks; ++i) {
      const double a = 2 * std::numbers::pi * i / kLandmarks;
      const double x = 650 * std::cos(a) + bend * std::sin(2 * a) + 4 * normal(engine);
      const double y = 520 * std::sin(a) + 4 * normal(engine);
      row.push_back(x * std::cos(turn) - y * std::sin(turn));
      row.push_back(x * std::sin(turn) + y * std::cos(turn));
    }
    samples.Add(row, "");
  }
  return samples;
}

void BM_BuildShapeModel(benchmark::State& state) {
  const TShapeSamples samples = Samples(static_cast<int>(state.range(0)), 5);
  for (auto _ : state) benchmark::DoNotOptimize(TShapeModel::Build(samples));
}
BENCHMARK(BM_BuildShapeModel)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_PredictFromFivePlaced(benchmark::State& state) {
  TResultOf<TShapeModel> model = TShapeModel::Build(Samples(10000, 5));
  const TShapeSamples one = Samples(1, 77);
  std::vector<TPlacedLandmark> placed;
  for (int i : {0, 8, 16, 24, 32}) placed.push_back({i, {one.Coordinates[2 * i], one.Coordinates[2 * i + 1]}});
  for (auto _ : state) benchmark::DoNotOptimize(model->Predict(placed));
}
BENCHMARK(BM_PredictFromFivePlaced)->Unit(benchmark::kMicrosecond);

// The figures of the real-data checks, from the shared data folder when it is there.
void BM_RealCephalogramPrediction(benchmark::State& state) {
  const std::string path = std::string(LUMACET_SHARED_DATA) + "/landmarks-400/all_senior.csv";
  std::ifstream file(path);
  if (!file) {
    state.SkipWithError("no real landmark data");
    return;
  }
  TShapeSamples samples;
  samples.PointCount = 19;
  std::string line;
  while (std::getline(file, line)) {
    std::vector<double> row;
    for (size_t at = line.find(','); at != std::string::npos; at = line.find(',', at + 1)) {
      double value = 0;
      std::from_chars(line.data() + at + 1, line.data() + line.size(), value);
      row.push_back(10 * value);
    }
    samples.Add(row, "");
  }
  for (auto _ : state) {
    const std::vector<int> three = {0, 1, 7}, five = {0, 1, 4, 7, 9};
    TResultOf<TCrossValidation> a = CrossValidate(samples, three, 10), b = CrossValidate(samples, five, 10);
    if (!a || !b) state.SkipWithError("cross-validation refused");
    state.counters["mre_mm_from_S_N_Me"] = a ? a->Overall / 10 : 0;
    state.counters["mre_mm_from_S_N_A_Me_Go"] = b ? b->Overall / 10 : 0;
    TResultOf<TFlagRates> flags = CheckFlags(samples, 10, 50, 2015);
    state.counters["pct_flagged_5mm_off"] = flags ? 100 * flags->Displaced : 0;
    state.counters["pct_flagged_in_place"] = flags ? 100 * flags->InPlace : 0;
  }
}
BENCHMARK(BM_RealCephalogramPrediction)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumacet
