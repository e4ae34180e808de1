// "Procrustes & PCA" end to end over data files of 1,000, 10,000 and 100,000 radiographs
// with 40 landmarks in the PCA (plus 20 other points, and 5 % of the records of another
// type): reading every record through the type, the superimposition, the components and the
// report with consensus, variances and loadings. Then R's shapes::procGPA on the same 10,000
// configurations, timed inside R (start-up and reading excluded), and the ratio of the two.
// Targets: 10,000 radiographs in under 5 s, linear in the number of radiographs, and at
// least 10 times faster than procGPA.
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
#include "model/list_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/type_finder.h"
#include "population/procrustes_run.h"
#include "support/atomic_file.h"

namespace lumacet {
namespace {

constexpr int kPcaPoints = 40;
constexpr int kOtherPoints = 20;

TBenchFolder& Folder() {
  static TBenchFolder folder("procrustes-bench");
  return folder;
}

std::unique_ptr<TXRayType> MakeType(const std::string& name, bool withPca) {
  auto type = std::make_unique<TXRayType>();
  type->Name = name;
  std::string message;
  for (int i = 1; i <= kPcaPoints + kOtherPoints; ++i) type->AddElement("P" + std::to_string(i), ekDigPoint, message);
  if (withPca) {
    auto* pca = static_cast<TXRPCA*>(type->AddElement("Shape", ekPCA, message));
    for (int i = 0; i < kPcaPoints; ++i) pca->Points.push_back(type->Element<TXRayElement>(ekDigPoint, i));
  }
  if (!type->SaveToTypeFile((Folder().Path / (name + ".lcr")).string())) std::abort();
  return type;
}

// A face-like mean bent along a few modes, placed and turned as radiographs are, digitized
// to a thousandth of a tracing unit.
struct TGenerated {
  std::string DataFile;
  std::vector<std::vector<double>> Shapes;  // the PCA points of the records of the type
};

const TGenerated& Generated(int records) {
  static std::map<int, TGenerated> made;
  if (auto found = made.find(records); found != made.end()) return found->second;
  static std::unique_ptr<TXRayType> lateral = MakeType("Lateral", true);
  static std::unique_ptr<TXRayType> other = MakeType("Other", false);
  std::mt19937 engine(17);
  std::normal_distribution<double> normal(0, 1);
  std::uniform_real_distribution<double> uniform(-1, 1);
  std::vector<double> mean;
  for (int i = 0; i < kPcaPoints + kOtherPoints; ++i) {
    const double a = 2 * std::numbers::pi * i / (kPcaPoints + kOtherPoints);
    mean.push_back(700 * std::cos(a) + 80 * std::cos(3 * a));
    mean.push_back(600 * std::sin(a) + 50 * std::sin(2 * a));
  }
  TGenerated generated;
  generated.DataFile = (Folder().Path / ("DATA" + std::to_string(records) + ".CSV")).string();
  std::string bytes;
  for (int r = 0; r < records; ++r) {
    const bool ofType = r % 20 != 7;
    TXRay xray;
    xray.SetType(ofType ? lateral.get() : other.get());
    xray.Name = "Patient " + std::to_string(r);
    xray.DateOfBirth = DayNumber(1980 + r % 30, 1 + r % 12, 1 + r % 28);
    xray.DateTaken = DayNumber(2000 + r % 20, 1 + r % 12, 1 + r % 28);
    xray.Magnification = 8;
    const double modes[3] = {30 * normal(engine), 15 * normal(engine), 8 * normal(engine)};
    const double turn = 0.2 * uniform(engine);
    std::vector<double> shape;
    for (size_t i = 0; i < xray.Coordinates.size(); ++i) {
      double x = mean[2 * i] + modes[0] * (i % 2 ? 1 : -1) + modes[2] * std::sin(0.3 * i) + 3 * normal(engine);
      double y = mean[2 * i + 1] + modes[1] * std::cos(0.7 * i) + 3 * normal(engine);
      const double px = std::nearbyint((1200 + x * std::cos(turn) - y * std::sin(turn)) * 1000) / 1000;
      const double py = std::nearbyint((1400 + x * std::sin(turn) + y * std::cos(turn)) * 1000) / 1000;
      xray.Coordinates[i]->SetRaw(px, py, true, true);
      if (i < kPcaPoints) {
        shape.push_back(px);
        shape.push_back(py);
      }
    }
    TResultOf<std::string> record = FormatDataRecord(xray, {});
    if (!record) std::abort();
    bytes += *record;
    if (ofType) generated.Shapes.push_back(std::move(shape));
  }
  if (!WriteFileAtomically(generated.DataFile, bytes).Ok) std::abort();
  return made.emplace(records, std::move(generated)).first->second;
}

double gSeconds10000 = 0;

void BM_ProcrustesEndToEnd(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  const TGenerated& generated = Generated(records);
  TProcrustesRequest request;
  request.DataFile = generated.DataFile;
  request.TypeName = "Lateral";
  request.PcaName = "Shape";
  request.ResultsFile = (Folder().Path / "results.txt").string();
  for (int n = 1; n <= records; ++n) request.Records.push_back(n);
  for (auto _ : state) {
    std::filesystem::remove(request.ResultsFile);
    // A fresh cache, as a new run loads the type from its file.
    TTypeCache types({"", Folder().Path.string()});
    const auto start = std::chrono::steady_clock::now();
    const TProcrustesResult result = RunProcrustes(request, types.Resolver(), {}, {});
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    if (result.Outcome != TProcrustesOutcome::Completed) state.SkipWithError(result.Message.c_str());
    state.SetIterationTime(seconds.count());
    if (records == 10000) gSeconds10000 = seconds.count();
    state.counters["us_per_radiograph"] = 1e6 * seconds.count() / records;
  }
}
BENCHMARK(BM_ProcrustesEndToEnd)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// R's procGPA with its defaults on the same 10,000 configurations; the time is procGPA's
// alone, as R measures it.
void BM_RProcGpa(benchmark::State& state) {
  if (std::system("command -v Rscript >/dev/null 2>&1") != 0) {
    state.SkipWithError("Rscript is not installed");
    return;
  }
  const TGenerated& generated = Generated(10000);
  const std::filesystem::path folder = Folder().Path;
  {
    std::ofstream tsv(folder / "shapes.tsv");
    for (const auto& shape : generated.Shapes) {
      for (size_t j = 0; j < shape.size(); ++j) {
        char buffer[32];
        const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, shape[j]);
        tsv << (j ? "\t" : "") << std::string_view(buffer, static_cast<size_t>(written.ptr - buffer));
      }
      tsv << '\n';
    }
    std::ofstream script(folder / "procgpa.R");
    script << "suppressMessages(library(shapes))\n"
              "X <- as.matrix(read.table('shapes.tsv'))\n"
              "k <- ncol(X) / 2; n <- nrow(X)\n"
              "A <- array(0, c(k, 2, n))\n"
              "for (i in 1:n) A[, , i] <- matrix(X[i, ], k, 2, byrow = TRUE)\n"
              "t <- system.time(g <- procGPA(A))[['elapsed']]\n"
              "writeLines(sprintf('%.6f', t), 'seconds.txt')\n";
  }
  for (auto _ : state) {
    const std::string command = "cd '" + folder.string() + "' && RGL_USE_NULL=TRUE Rscript procgpa.R >r.log 2>&1";
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("Rscript failed");
      return;
    }
    std::ifstream in(folder / "seconds.txt");
    std::string text;
    std::getline(in, text);
    double seconds = 0;
    std::from_chars(text.data(), text.data() + text.size(), seconds);
    state.SetIterationTime(seconds);
    state.counters["radiographs"] = static_cast<double>(generated.Shapes.size());
    if (gSeconds10000 > 0) state.counters["times_slower_than_ours"] = seconds / gSeconds10000;
  }
}
BENCHMARK(BM_RProcGpa)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace lumacet
