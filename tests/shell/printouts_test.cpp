#include "shell/printouts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "common/example_paths.h"
#include "graphics/extended_report.h"
#include "graphics/recording_canvas.h"
#include "model/xray.h"
#include "persistence/data_file.h"
#include "persistence/type_finder.h"

namespace lumacet {
namespace {

// The example patient's two lateral radiographs, four years apart.
class PrintoutsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int record : {1, 2}) {
      auto xray = std::make_unique<TXRay>();
      ASSERT_EQ(LoadFromDataFile(*xray, test::kExampleData, record, types.Resolver(), {}), lsLoaded);
      records.push_back(std::move(xray));
    }
  }
  std::vector<TRadiograph*> Shown() { return {records[0].get(), records[1].get()}; }
  std::vector<TCanvasCall> Paint(TPrintout printout, int* sheets = nullptr) {
    const TPrintoutJob job = PrintoutJob(printout, settings, measuring, Shown(), false);
    const TPaper paper = MakePaper(TPaperKind::A4, job.Portrait, 100);
    TRecordingCanvas canvas(paper.Dots);
    TResultOf<int> drawn = job.Paint(canvas, paper);
    EXPECT_TRUE(drawn) << drawn.Outcome().Text().English();
    if (sheets != nullptr) *sheets = drawn.ValueOr(0);
    return canvas.Calls;
  }
  static std::size_t Count(const std::vector<TCanvasCall>& calls, TCanvasCallKind kind) {
    return static_cast<std::size_t>(
        std::count_if(calls.begin(), calls.end(), [&](const TCanvasCall& c) { return c.Kind == kind; }));
  }

  TTypeCache types{{"", test::kExamples}};
  std::vector<std::unique_ptr<TXRay>> records;
  TSettings settings = TSettings::Defaults(".");
  TMeasuring measuring;
};

TEST_F(PrintoutsTest, EachPrintoutIsTitledAndOrientedByItsSettings) {
  settings.Print.TracingPortrait = true;
  settings.Print.TextPortrait = false;
  settings.ExtAnalysis.PageOrientation = 0;
  const struct {
    TPrintout Printout;
    const char* Title;
    bool Portrait;
  } cases[] = {{TPrintout::Tracing, "Lumacet Tracing", true},
               {TPrintout::Analysis, "Lumacet Text", false},
               {TPrintout::Report, "Lumacet Extended Analysis", false}};
  for (const auto& c : cases) {
    const TPrintoutJob job = PrintoutJob(c.Printout, settings, measuring, Shown(), false);
    EXPECT_EQ(job.Title, c.Title);
    EXPECT_EQ(job.Portrait, c.Portrait) << c.Title;
  }
  settings.Print.PrintTextAnalysis = false;
  EXPECT_EQ(ChosenPrintouts(settings.Print), (std::vector<TPrintout>{TPrintout::Tracing, TPrintout::Report}));

  const TPrintoutJob nothing = PrintoutJob(TPrintout::Tracing, settings, measuring, {}, false);
  TRecordingCanvas canvas;
  const TResultOf<int> refused = nothing.Paint(canvas, MakePaper(TPaperKind::A4, true, 100));
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.Outcome().Text().Source(), kNoReportRadiographsMessage.Source);
  EXPECT_TRUE(canvas.Calls.empty());
}

TEST_F(PrintoutsTest, TheTracingPageShowsTheOtherRadiographsOnlyWithAllTracings) {
  settings.Print.AllTracings = false;
  const std::size_t alone = Count(Paint(TPrintout::Tracing), TCanvasCallKind::Polyline);
  settings.Print.AllTracings = true;
  const std::size_t both = Count(Paint(TPrintout::Tracing), TCanvasCallKind::Polyline);
  EXPECT_GT(alone, 20u);
  EXPECT_GT(both, alone * 3 / 2);
}

TEST_F(PrintoutsTest, DefaultStyleAndAllAnalysesChangeThePrintedLinesButNotTheRadiograph) {
  settings.Styles[10].FontName = "Default Printing";
  settings.Styles[11].FontName = "Headers";
  auto lines = [&] {
    std::vector<TCanvasCall> texts;
    for (const TCanvasCall& call : Paint(TPrintout::Analysis))
      if (call.Kind == TCanvasCallKind::Text && call.Font.Name != "Headers") texts.push_back(call);
    return texts;
  };
  const std::vector<TCanvasCall> own = lines();
  ASSERT_FALSE(own.empty());
  EXPECT_TRUE(std::none_of(own.begin(), own.end(), [](const TCanvasCall& c) { return c.Font.Name == "Default Printing"; }));

  settings.Print.UseDefaultStyle = true;
  const std::vector<TCanvasCall> styled = lines();
  EXPECT_EQ(styled.size(), own.size());
  EXPECT_TRUE(std::all_of(styled.begin(), styled.end(), [](const TCanvasCall& c) { return c.Font.Name == "Default Printing"; }));

  TXRAnalysis* const current = records[0]->CurrentAnalysis;
  settings.Print.AllAnalyses = true;
  EXPECT_GT(lines().size(), own.size());
  EXPECT_EQ(records[0]->CurrentAnalysis, current);
}

}  // namespace
}  // namespace lumacet
