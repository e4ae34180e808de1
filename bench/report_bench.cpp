// The extended report of four radiographs of the example type to a PDF of A4 pages
// (headers, tracings with their labels, the measurements table and both deviation graphs),
// as `lumacet-cli report` and the report window's save write it. Target: under 300 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_support.h"
#include "graphics/extended_report.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "platform/qpainter_canvas.h"
#include "shell/settings.h"
#include "shell/settings_options.h"

namespace lumacet {
namespace {

void BM_ExtendedReportToPdf(benchmark::State& state) {
  EnsureGuiApplication();
  TXRayType type;
  LoadExampleType(type);
  std::vector<std::unique_ptr<TXRay>> radiographs;
  std::vector<TRadiograph*> chosen;
  for (int r = 0; r < kMaximumReportRadiographs; ++r) {
    TXRay& xray = AddSyntheticRadiograph(radiographs, type, r);
    xray.Name = "Jane Roe";
    chosen.push_back(&xray);
  }
  TSettings settings = TSettings::Defaults(".");
  TMeasuring measuring;
  const TExtendedReport report = ExtendedReport(settings, measuring, chosen, false);
  const TPaper paper = MakePaper(TPaperKind::A4, true, 254);
  TBenchFolder folder("report");
  const std::string path = (folder.Path / "report.pdf").string();
  for (auto _ : state) {
    int pages = 0;
    const TWriteResult written = WritePdfPicture(path, paper.Dots, "Report", [&](TCanvas& canvas) {
      pages = DrawExtendedReport(canvas, report, paper, TPageFlow::Sheets).ValueOr(0);
    });
    if (!written.Ok || pages == 0) state.SkipWithError("the report was not written");
    state.counters["pages"] = pages;
  }
}
BENCHMARK(BM_ExtendedReportToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumacet
