// Data files of 10,000 and 100,000 records of one type with 40 digitized points: the record
// browser's sorted listing, finding and replacing one record, and reading every record in
// turn through the line index (which must grow linearly with the file).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <random>

#include "bench_support.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/data_lines.h"
#include "persistence/record_browser.h"
#include "support/atomic_file.h"

namespace lumacet {
namespace {

constexpr int kPoints = 40;

TXRayType& BenchType() {
  static std::unique_ptr<TXRayType> type = [] {
    auto t = std::make_unique<TXRayType>();
    t->Name = "Lateral Ceph";
    std::string message;
    for (int i = 1; i <= kPoints; ++i) t->AddElement("Point " + std::to_string(i), ekDigPoint, message);
    return t;
  }();
  return *type;
}

// A radiograph like those of a practice: patients in no order, several visits each,
// coordinates digitized to a thousandth of a tracing unit.
void Fill(TXRay& xray, int record, std::mt19937& random) {
  std::uniform_real_distribution<double> coordinate(0, 2400);
  const int patient = static_cast<int>((record * 7919L) % 100003);
  xray.Name = "Patient " + std::to_string(patient / 3);
  xray.DateOfBirth = DayNumber(1980 + patient % 30, 1 + patient % 12, 1 + patient % 28);
  xray.DateTaken = DayNumber(2000 + record % 20, 1 + record % 12, 1 + record % 28);
  xray.Comments = record % 3 == 0 ? "recall" : "first visit";
  xray.ImageFile = "/films/ceph" + std::to_string(record) + ".jpg";
  for (auto& point : xray.Coordinates) point->SetRaw(coordinate(random), coordinate(random), true, true);
}

// The data file of `records` records, made once per size.
const std::string& DataFile(int records) {
  static TBenchFolder folder("bench");
  static std::map<int, std::string> files;
  auto found = files.find(records);
  if (found != files.end()) return found->second;
  const std::string path = (folder.Path / ("patients-" + std::to_string(records) + ".csv")).string();
  std::mt19937 random(records);
  TXRay xray;
  xray.SetType(&BenchType());
  xray.Magnification = 10;
  std::string content;
  for (int record = 0; record < records; ++record) {
    Fill(xray, record, random);
    content += FormatDataRecord(xray, {}).Value();
  }
  if (!WriteFileAtomically(path, content).Ok) std::abort();
  return files.emplace(records, path).first->second;
}

TTypeResolver Resolver() {
  return [](const std::string& name) { return name == BenchType().Name ? &BenchType() : nullptr; };
}

void BM_SortedListing(benchmark::State& state) {
  const std::string& path = DataFile(static_cast<int>(state.range(0)));
  TRecordBrowser browser({});
  browser.SetDataFile(path);
  for (auto _ : state) {
    browser.LoadGrid();
    benchmark::DoNotOptimize(browser.Rows().data());
  }
  state.counters["rows"] = static_cast<double>(browser.Rows().size());
}
BENCHMARK(BM_SortedListing)->Arg(100000)->Unit(benchmark::kMillisecond);

// One keystroke in "Show only those containing:": the records read are filtered in memory,
// in any case of the letters typed (the target is 30 ms at 100,000 records).
void BM_FilterKeystroke(benchmark::State& state) {
  const std::string& path = DataFile(static_cast<int>(state.range(0)));
  TRecordBrowser browser({});
  browser.SetDataFile(path);
  browser.LoadGrid();
  const std::string typed[] = {"E", "Em", "Emm", "Emma", "Em", "E"};
  size_t key = 0;
  for (auto _ : state) {
    browser.FilterText = typed[key++ % std::size(typed)];
    browser.Filter();
    benchmark::DoNotOptimize(browser.Rows().data());
  }
  state.counters["rows"] = static_cast<double>(browser.Rows().size());
}
BENCHMARK(BM_FilterKeystroke)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FindAndReplace(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  const std::string& path = DataFile(records);
  TXRay xray;
  if (LoadFromDataFile(xray, path, records / 2, Resolver(), {}) != lsLoaded) std::abort();
  double shift = 0.5;
  for (auto _ : state) {
    if (FindInDataFile(xray, path, {}) != records / 2 - 1) std::abort();
    xray.Coordinates[0]->SetRaw(xray.Coordinates[0]->RawX() + shift, 1, true, true);
    shift = -shift;
    if (!ReplaceInDataFile(xray, path, {}).Ok()) std::abort();
  }
}
BENCHMARK(BM_FindAndReplace)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ReadAllRecords(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  const std::string& path = DataFile(records);
  const TTypeResolver types = Resolver();
  for (auto _ : state) {
    TDataFileIndex file;
    if (!file.Open(path)) std::abort();
    for (int line = 1; line <= records; ++line) {
      TXRay xray;
      if (LoadFromDataFile(xray, file, path, line, types, {}) != lsLoaded) std::abort();
    }
  }
  state.SetItemsProcessed(state.iterations() * records);
  state.SetComplexityN(records);
}
BENCHMARK(BM_ReadAllRecords)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
}  // namespace lumacet
