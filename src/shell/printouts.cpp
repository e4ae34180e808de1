#include "shell/printouts.h"

#include <algorithm>
#include <memory>

#include "graphics/extended_report.h"
#include "graphics/image_layer.h"
#include "graphics/print_pages.h"
#include "model/list_elements.h"
#include "model/xray_type.h"
#include "shell/settings_options.h"

namespace lumacet {

namespace {

constexpr int kDefaultPrintingStyle = 11;
constexpr int kHeaderFooterStyle = 12;

const TTextStyle& Style(const TSettings& settings, int number) {
  return settings.Styles[static_cast<std::size_t>(number - 1)];
}

// The tracings as the display draws them while they are printed: in the deviation mode
// of the print settings, the others only with "All Tracings".
TTracingBox TracingBox(const TSettings& settings, TMeasuring& measuring, const std::vector<TRadiograph*>& radiographs,
                       bool all, bool images) {
  TTracingBox box;
  box.Display = DisplayOptions(settings, measuring);
  box.Display.Labels.Presentation.DeviationMode = settings.Print.DeviationFromMean;
  box.Scene.Slots = all ? radiographs : std::vector<TRadiograph*>(radiographs.begin(), radiographs.begin() + 1);
  box.Scene.Current = 0;
  if (images) box.Scene.Images = ImageLayer(box.Scene.Slots, 0);
  return box;
}

TPageCodeValues Codes(const TSettings& settings, TMeasuring& measuring, TRadiograph& radiograph) {
  return PageCodeValues(radiograph, PresentationOptions(settings, measuring).Measure.Formats);
}

// The lines of the current analysis or, with "All Analyses", of every analysis of the type
// each followed by an empty line; with "Use Default Style" all in style 11, coloured as
// style 11 colours them. The radiograph's current analysis is left as it was.
std::vector<TAnalysisLine> PrintedLines(const TSettings& settings, TMeasuring& measuring, TRadiograph& radiograph) {
  TPresentationOptions options = PresentationOptions(settings, measuring);
  if (settings.Print.UseDefaultStyle) std::fill(options.Styles.begin(), options.Styles.end(), Style(settings, kDefaultPrintingStyle));
  std::vector<TAnalysisLine> lines;
  auto append = [&] {
    for (TAnalysisLine& line : AnalysisLines(radiograph, settings.Print.TextFormat, options)) {
      if (settings.Print.UseDefaultStyle) line.Style = kDefaultPrintingStyle;
      lines.push_back(std::move(line));
    }
  };
  TXRayType* type = radiograph.Type();
  if (!settings.Print.AllAnalyses || type == nullptr) {
    append();
    return lines;
  }
  TXRAnalysis* const current = radiograph.CurrentAnalysis;
  for (std::size_t i = 0; i < type->Count(ekAnalysis); ++i) {
    radiograph.CurrentAnalysis = type->Element<TXRAnalysis>(ekAnalysis, i);
    append();
    lines.push_back({" ", kDefaultPrintingStyle, Style(settings, kDefaultPrintingStyle).Colour});
  }
  radiograph.CurrentAnalysis = current;
  return lines;
}

}  // namespace

TPrintoutJob PrintoutJob(TPrintout printout, const TSettings& settings, TMeasuring& measuring,
                         std::vector<TRadiograph*> radiographs, bool images) {
  TPrintoutJob job;
  job.Printout = printout;
  if (radiographs.empty()) {
    job.Paint = [](TCanvas&, const TPaper&) -> TResultOf<int> { return TResult::Failure(kNoReportRadiographsMessage); };
    return job;
  }
  TRadiograph& current = *radiographs.front();
  switch (printout) {
    case TPrintout::Tracing: {
      job.Title = "Lumacet Tracing";
      job.Portrait = settings.Print.TracingPortrait;
      auto page = std::make_shared<TTracingPage>();
      page->Print = settings.Print;
      page->Tracing = TracingBox(settings, measuring, radiographs, settings.Print.AllTracings, images);
      page->Tracing.RotationPoint = settings.Print.TracingRotationPoint;
      page->HeaderStyle = Style(settings, kHeaderFooterStyle);
      page->Codes = Codes(settings, measuring, current);
      job.Paint = [page](TCanvas& canvas, const TPaper& paper) -> TResultOf<int> {
        if (TResult drawn = DrawTracingPage(canvas, paper, *page); !drawn) return drawn;
        return 1;
      };
      break;
    }
    case TPrintout::Analysis: {
      job.Title = "Lumacet Text";
      job.Portrait = settings.Print.TextPortrait;
      auto pages = std::make_shared<TTextPages>();
      pages->Print = settings.Print;
      pages->Lines = PrintedLines(settings, measuring, current);
      pages->Styles = settings.Styles;
      pages->TextLayout = settings.Radiograph.TextLayout;
      pages->Tracing = TracingBox(settings, measuring, radiographs, false, images);
      pages->Codes = Codes(settings, measuring, current);
      job.Paint = [pages](TCanvas& canvas, const TPaper& paper) { return DrawTextPages(canvas, paper, *pages); };
      break;
    }
    case TPrintout::Report: {
      job.Title = "Lumacet Extended Analysis";
      job.Portrait = settings.ExtAnalysis.PageOrientation != 0;
      if (radiographs.size() > static_cast<std::size_t>(kMaximumReportRadiographs))
        radiographs.resize(kMaximumReportRadiographs);
      auto report = std::make_shared<TExtendedReport>(ExtendedReport(settings, measuring, std::move(radiographs), images));
      job.Paint = [report](TCanvas& canvas, const TPaper& paper) {
        return DrawExtendedReport(canvas, *report, paper, TPageFlow::Sheets);
      };
      break;
    }
  }
  return job;
}

std::vector<TPrintout> ChosenPrintouts(const TPrintSettings& print) {
  std::vector<TPrintout> printouts;
  if (print.PrintTracing) printouts.push_back(TPrintout::Tracing);
  if (print.PrintTextAnalysis) printouts.push_back(TPrintout::Analysis);
  if (print.PrintExtendedAnalysis) printouts.push_back(TPrintout::Report);
  return printouts;
}

}  // namespace lumacet
