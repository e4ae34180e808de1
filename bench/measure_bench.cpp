// Measuring a practice's worth of radiographs: every variable of the example lateral type for
// 10,000 radiographs, each one of the example patients' lateral records with its landmarks
// moved a few tracing units. Target: under a second for all of them.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_support.h"
#include "measure/variables.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/data_lines.h"

namespace lumacet {
namespace {

constexpr int kRadiographs = 10000;

struct TPractice {
  TPractice() {
    const auto examples = ExamplesFolder();
    std::string message;
    LoadExampleType(type);

    const TTypeResolver resolver = [this](const std::string& name) { return name == type.Name ? &type : nullptr; };
    TDataFileIndex file;
    if (!file.Open((examples / "PATIENT.CSV").string())) throw std::runtime_error("PATIENT.CSV cannot be read");
    std::vector<std::string> records;
    std::string line;
    for (size_t n = 1; file.ReadLine(n, line); ++n) {
      TXRay probe;
      if (LoadFromDataLine(probe, line, resolver, {}) == lsLoaded) records.push_back(line);
    }
    if (records.empty()) throw std::runtime_error("PATIENT.CSV holds no record of " + type.Name);

    // Deterministic moves of up to 5 tracing units, different for every radiograph and point.
    for (int r = 0; r < kRadiographs; ++r) {
      auto& xray = *radiographs.emplace_back(std::make_unique<TXRay>());
      if (LoadFromDataLine(xray, records[r % records.size()], resolver, {}) != lsLoaded)
        throw std::runtime_error("record cannot be read again");
      for (size_t i = 0; i < xray.Coordinates.size(); ++i) {
        TDigPoint& point = *xray.Coordinates[i];
        if (!point.IsValid()) continue;
        const long seed = static_cast<long>(r) * 7919 + static_cast<long>(i) * 104729;
        point.SetXY(point.GetX() + static_cast<double>(seed % 11 - 5), point.GetY() + static_cast<double>(seed % 7 - 3));
      }
    }
    for (const auto& element : type.ElementList(ekVariable)) variables.push_back(static_cast<TXRVariable*>(element.get()));
  }

  TXRayType type;
  std::vector<std::unique_ptr<TXRay>> radiographs;
  std::vector<TXRVariable*> variables;
};

void BM_MeasureAllVariables(benchmark::State& state) {
  static TPractice practice;
  const TMeasureContext context;
  int valid = 0;
  for (auto _ : state) {
    valid = 0;
    for (const auto& xray : practice.radiographs) {
      xray->LoadCoordinates();
      for (TXRVariable* variable : practice.variables) {
        ComputeVariable(*variable, *xray, context);
        valid += variable->Valid;
        benchmark::DoNotOptimize(variable->ValueText.data());
      }
    }
  }
  state.counters["radiographs"] = kRadiographs;
  state.counters["variables"] = static_cast<double>(practice.variables.size());
  state.counters["valid values"] = valid;
}
BENCHMARK(BM_MeasureAllVariables)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumacet
