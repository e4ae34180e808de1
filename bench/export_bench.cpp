// Exporting a study: 1,000, 10,000 and 100,000 radiographs of the example lateral type in one
// data file, 60 variables each, written as one table. Target: 10,000 radiographs under 5 s,
// and time growing in proportion to the number of radiographs; and the same as a spreadsheet
// workbook, 10,000 radiographs under 3 s.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_support.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/data_lines.h"
#include "population/measurement_export.h"

namespace lumacet {
namespace {

constexpr size_t kVariables = 60;
const std::string kAnalysis = "Sixty";

// The example type with an analysis of its first 60 variables, and data files of the example
// patients' lateral records with landmarks moved a few units, one per size asked for.
class TStudy {
 public:
  TStudy() {
    const auto examples = ExamplesFolder();
    std::string message;
    LoadExampleType(type);
    auto* analysis = static_cast<TXRAnalysis*>(type.AddElement(kAnalysis, ekAnalysis, message));
    if (analysis == nullptr || type.Count(ekVariable) < kVariables)
      throw std::runtime_error("no room for the analysis");
    for (size_t i = 0; i < kVariables; ++i) analysis->Points.push_back(type.Element<TXRayElement>(ekVariable, i));

    TDataFileIndex file;
    if (!file.Open((examples / "PATIENT.CSV").string())) throw std::runtime_error("PATIENT.CSV cannot be read");
    std::string line;
    for (size_t n = 1; file.ReadLine(n, line); ++n) {
      TXRay probe;
      if (LoadFromDataLine(probe, line, Types(), {}) == lsLoaded) fRecords.push_back(line);
    }
    if (fRecords.empty()) throw std::runtime_error("PATIENT.CSV holds no record of " + type.Name);
    std::string folder = (std::filesystem::temp_directory_path() / "lumacet-export-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) throw std::runtime_error("no temporary folder");
    fFolder = folder;
  }
  ~TStudy() {
    std::error_code error;
    std::filesystem::remove_all(fFolder, error);
  }

  TTypeResolver Types() {
    return [this](const std::string& name) { return name == type.Name ? &type : nullptr; };
  }
  std::string Target() const { return (fFolder / "table.txt").string(); }

  // The data file of `count` radiographs, written the first time it is asked for.
  const std::string& DataFile(int count) {
    std::string& path = fFiles[count];
    if (!path.empty()) return path;
    path = (fFolder / ("study" + std::to_string(count) + ".csv")).string();
    std::ofstream out(path, std::ios::binary);
    for (int r = 0; r < count; ++r) {
      TXRay xray;
      if (LoadFromDataLine(xray, fRecords[static_cast<size_t>(r) % fRecords.size()], Types(), {}) != lsLoaded)
        throw std::runtime_error("record cannot be read again");
      for (size_t i = 0; i < xray.Coordinates.size(); ++i) {
        TDigPoint& point = *xray.Coordinates[i];
        if (!point.IsValid()) continue;
        const long seed = static_cast<long>(r) * 7919 + static_cast<long>(i) * 104729;
        point.SetXY(point.GetX() + static_cast<double>(seed % 11 - 5),
                    point.GetY() + static_cast<double>(seed % 7 - 3));
      }
      out << FormatDataRecord(xray, {}).Value();
    }
    if (!out) throw std::runtime_error("cannot write " + path);
    return path;
  }

  TXRayType type;

 private:
  std::vector<std::string> fRecords;
  std::filesystem::path fFolder;
  std::map<int, std::string> fFiles;
};

// The table or the workbook of `count` radiographs, timed without the removal of the last
// run's output.
using TExportRun = TExportResult (*)(const TMeasurementExportOptions&, const TExportContext&, const TProgress&);
void RunExport(benchmark::State& state, TExportRun run, const std::string& extension) {
  static TStudy study;
  const int count = static_cast<int>(state.range(0));
  TMeasurementExportOptions options;
  options.SourceFile = study.DataFile(count);
  options.TargetFile = study.Target() + extension;
  options.TypeName = study.type.Name;
  options.Analysis = kAnalysis;
  options.Variables = TExportVariables::All;
  options.SkipLabels = false;
  options.Headers = true;
  options.Include = {true, true, true, false, true, true, false, false};
  TExportContext context;
  context.Types = study.Types();
  TExportResult result;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(options.TargetFile);
    state.ResumeTiming();
    result = run(options, context, [](const std::string&) { return true; });
    if (!result.Ok || result.Exported != count) state.SkipWithError(result.Message.c_str());
  }
  state.counters["radiographs"] = count;
  state.counters["variables"] = kVariables;
  state.counters["per radiograph"] = benchmark::Counter(
      static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["output MB"] = static_cast<double>(std::filesystem::file_size(options.TargetFile)) / 1e6;
}

void BM_ExportMeasurements(benchmark::State& state) { RunExport(state, ExportDataFile, ""); }
BENCHMARK(BM_ExportMeasurements)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same study as a spreadsheet workbook. Target: 10,000 radiographs under 3 s.
void BM_ExportWorkbook(benchmark::State& state) { RunExport(state, ExportDataWorkbook, ".xlsx"); }
BENCHMARK(BM_ExportWorkbook)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumacet
