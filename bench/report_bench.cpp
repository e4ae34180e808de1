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
  const auto examples = std::filesystem::path(__FILE__).parent_path().parent_path() / "examples";
  TXRayType type;
  if (const TResult loaded = type.LoadFromTypeFile((examples / "lateral_ceph.lcr").string()); !loaded)
    throw std::runtime_error(loaded.Text().English());
  std::vector<std::unique_ptr<TXRay>> radiographs;
  std::vector<TRadiograph*> chosen;
  for (int r = 0; r < kMaximumReportRadiographs; ++r) {
    auto& xray = *radiographs.emplace_back(std::make_unique<TXRay>());
    xray.SetType(&type);
    xray.Name = "Jane Roe";
    xray.Female = true;
    xray.DateOfBirth = DayNumber(2000, 1, 1);
    xray.DateTaken = DayNumber(2010 + r, 1, 1);
    for (std::size_t i = 0; i < xray.Coordinates.size(); ++i) {
      const TXRPoint& at = *type.TemplatePoints[i];
      xray.Coordinates[i]->SetXY(at.RawX() * (1 + 0.03 * r) + 15 * r, at.RawY() * (1 + 0.03 * r));
    }
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
