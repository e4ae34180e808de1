#include "graphics/extended_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "graphics/recording_canvas.h"
#include "measure/variables_fixture.h"
#include "model/list_elements.h"

namespace lumacet {
namespace {

using Kind = TCanvasCallKind;

// P1 (1000, 1000) and P2 (1300, 1400) are 50 mm apart; the report's analysis measures that
// distance three times against different norms. A4 at 254 dpi: the block runs from x 99 to
// 2001, so the variable graph of one radiograph has its centre at 1415 and 167 dots per SD.
class ExtendedReportTest : public test::MeasureFixture {
 protected:
  ExtendedReportTest() {
    Place(1, 1000, 1000);
    Place(2, 1300, 1400);
    far = &Norm("Far", 29, 3);        // z = +7
    flat = &Norm("Flat", 50, 0);      // an SD of 0: no bar
    rounded = &Norm("Rounded", 49.6, 0.4);  // z = 1, the SD shown rounded to 0
    rounded->NumberFormat = "0";
    analysis = static_cast<TXRAnalysis*>(type.AddElement("Main", ekAnalysis, message));
    analysis->Points = {far, flat, rounded};
    xray.CurrentAnalysis = analysis;
    report.Radiographs = {&xray};
    report.Settings.Sections = {kSectionVariableGraph};
  }

  TXRVariable& Norm(const std::string& name, double mean, double sd) {
    TXRVariable& v = AddVariable(name, 3, {P(1), P(2)});
    v.FemaleNormals.push_back({0, 100, mean, sd});
    return v;
  }

  TResultOf<int> Draw() { return DrawExtendedReport(canvas, report, paper, TPageFlow::Sheets); }

  std::vector<TCanvasCall> Calls(Kind kind) const {
    std::vector<TCanvasCall> calls;
    std::copy_if(canvas.Calls.begin(), canvas.Calls.end(), std::back_inserter(calls),
                 [&](const TCanvasCall& call) { return call.Kind == kind; });
    return calls;
  }
  // The bars: rectangles filled with a radiograph's colour.
  std::vector<TIntRect> Bars(std::size_t radiograph = 0) const {
    std::vector<TIntRect> bars;
    for (const TCanvasCall& call : Calls(Kind::Rectangle))
      if (call.Brush.Colour == report.Settings.CephColour[radiograph] && call.Pen.Style == TPenStyle::Solid)
        bars.push_back(call.Box);
    return bars;
  }

  TXRVariable* far = nullptr;
  TXRVariable* flat = nullptr;
  TXRVariable* rounded = nullptr;
  TXRAnalysis* analysis = nullptr;
  TExtendedReport report;
  TRecordingCanvas canvas{{2100, 2970}};
  TPaper paper = MakePaper(TPaperKind::A4, true, 254);
};

TEST_F(ExtendedReportTest, TableHoldsTextsAndUnroundedNorms) {
  const std::vector<TReportColumn> table = BuildReportTable({&xray}, report.Presentation);
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table[0].Name, "Far");
  const TReportEntry& entry = table[2].Entries.at(0);
  EXPECT_EQ(entry.Text, "50");
  EXPECT_EQ(entry.Value, 50);
  EXPECT_EQ(entry.MeanValue, 49.6);
  EXPECT_EQ(entry.SdValue, 0.4);
  // A variable only on the display is left out.
  flat->ShowIn = 0;
  EXPECT_EQ(BuildReportTable({&xray}, report.Presentation).size(), 2u);
}

TEST_F(ExtendedReportTest, BarsShowDeviationsClampedAndNoneWithoutAnSD) {
  ASSERT_TRUE(Draw());
  const std::vector<TIntRect> bars = Bars();
  ASSERT_EQ(bars.size(), 2u);
  // z = +7 with three SDs on the scale ends at c + 3.5 s (584.5, to the even 584).
  EXPECT_EQ(bars[0].Left, 1415);
  EXPECT_EQ(bars[0].Right, 1415 + 584);
  // An SD shown as "0" still gives its bar of one SD.
  EXPECT_EQ(bars[1].Left, 1415);
  EXPECT_EQ(bars[1].Right, 1415 + 167);
  // The SD of 0: its value at the left end of the graph on the graph's colour.
  const std::vector<TCanvasCall> texts = Calls(Kind::Text);
  int opaque = 0;
  for (const TCanvasCall& text : texts)
    if (text.BackgroundMode == TBackgroundMode::Opaque) {
      ++opaque;
      EXPECT_EQ(text.Text, "50");
      EXPECT_LT(text.Points.front().X, 1415 - 3 * 167);
      EXPECT_EQ(text.BackgroundColour, report.Settings.VariablesBackColour[3]);  // the second row's
    }
  EXPECT_EQ(opaque, 1);
}

TEST_F(ExtendedReportTest, DefaultSectionsFillFourPagesWithHeaderAndFooterCodes) {
  report.Settings = TExtAnalysisSettings{};
  report.Settings.PageHeader = "@n (@a)";
  const TResultOf<int> pages = Draw();
  ASSERT_TRUE(pages);
  EXPECT_EQ(*pages, 4);
  EXPECT_EQ(Calls(Kind::NewPage).size(), 3u);
  int headers = 0, footers = 0;
  for (const TCanvasCall& text : Calls(Kind::Text)) {
    headers += text.Text == "Jane Roe (11:12)";  // twelve years less three days
    footers += text.Text == "Your Name   -   Page: 4";
  }
  EXPECT_EQ(headers, 4);
  EXPECT_EQ(footers, 1);
  // The section heading "Dr. John Doe@#Orthodontic Office" prints as two lines.
  const std::vector<TCanvasCall> texts = Calls(Kind::Text);
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const TCanvasCall& c) { return c.Text == "Dr. John Doe"; }));
  // The tracing is clipped to its box, 7.09 x 5.51 inches centred in the block.
  const std::vector<TCanvasCall> lines = Calls(Kind::Polyline);
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const TCanvasCall& c) {
    return c.Clip && c.Clip->Right - c.Clip->Left == 1801 && c.Clip->Bottom - c.Clip->Top == 1400;
  }));
}

TEST_F(ExtendedReportTest, FourRadiographsGetSixIntervals) {
  std::vector<std::unique_ptr<TXRay>> others;
  for (int year : {2013, 2014, 2016}) {
    auto other = std::make_unique<TXRay>();
    other->SetType(&type);
    other->Name = xray.Name;
    other->Female = true;
    other->DateOfBirth = xray.DateOfBirth;
    other->DateTaken = DayNumber(year, 1, 1);
    other->CurrentAnalysis = analysis;
    report.Radiographs.push_back(other.get());
    others.push_back(std::move(other));
  }
  report.Settings.Sections = {kSectionHeaders};
  ASSERT_TRUE(Draw());
  std::vector<std::string> pairs;
  for (const TCanvasCall& text : Calls(Kind::Text))
    if (text.Text.find(" - ") != std::string::npos && text.Text.back() == ' ') pairs.push_back(text.Text);
  EXPECT_EQ(pairs, (std::vector<std::string>{"1 - 2: ", "2 - 3: ", "3 - 4: ", "1 - 3: ", "1 - 4: ", "2 - 4: "}));
  // The same patient: name, sex and birth date once across the page, not in the blocks.
  int names = 0;
  for (const TCanvasCall& text : Calls(Kind::Text)) names += text.Text == "Name: Jane Roe";
  EXPECT_EQ(names, 1);
}

TEST_F(ExtendedReportTest, BadSettingsAreRefusedBeforeAnythingIsDrawn) {
  struct TCase {
    const char* What;
    std::function<void(TExtendedReport&)> Spoil;
    TTextSource Message;
  };
  for (const TCase& c : {
           TCase{"unknown code", [](TExtendedReport& r) { r.Settings.PageFooter = "Page @q"; }, kUnknownPageCodeMessage},
           TCase{"zero zoom", [](TExtendedReport& r) { r.Settings.TracingZoom = 0; }, kZoomNotPositiveMessage},
           TCase{"negative zoom", [](TExtendedReport& r) { r.Settings.TracingZoom = -1; }, kZoomNotPositiveMessage},
           TCase{"margins", [](TExtendedReport& r) { r.Settings.PageMargin = {5, 1, 5, 1, 0, 0}; }, kMarginsTooLargeMessage},
           TCase{"no radiograph", [](TExtendedReport& r) { r.Radiographs.clear(); }, kNoReportRadiographsMessage},
       }) {
    SCOPED_TRACE(c.What);
    TExtendedReport spoilt = report;
    c.Spoil(spoilt);
    canvas.Calls.clear();
    const TResultOf<int> drawn = DrawExtendedReport(canvas, spoilt, paper, TPageFlow::Sheets);
    ASSERT_FALSE(drawn);
    EXPECT_EQ(drawn.Text().Source(), c.Message.Source);
    EXPECT_TRUE(canvas.Calls.empty());
  }
}

TEST_F(ExtendedReportTest, PreviewStacksPagesOnOneSurface) {
  report.Settings.Sections = {kSectionVariableGraph, kSectionPageBreak, kSectionVariableGraph};
  const TResultOf<int> pages = DrawExtendedReport(canvas, report, paper, TPageFlow::Preview);
  ASSERT_TRUE(pages);
  EXPECT_EQ(*pages, 2);
  EXPECT_TRUE(Calls(Kind::NewPage).empty());
  // The second page's bars lie a page and a quarter inch lower on the device.
  const std::vector<TIntRect> bars = Bars();
  ASSERT_EQ(bars.size(), 4u);
  std::vector<double> tops;
  for (const TCanvasCall& call : Calls(Kind::Rectangle))
    if (call.Brush.Colour == report.Settings.CephColour[0] && call.Pen.Style == TPenStyle::Solid)
      tops.push_back(call.Mapping.ToDevice({0, static_cast<double>(call.Box.Top)}).Y);
  EXPECT_DOUBLE_EQ(tops[2] - tops[0], 2970 + 63.5);
  EXPECT_EQ(PreviewSize(paper, 2), (TIntSize{2100 + 25, 2 * 2970 + 64 + 25}));
}

}  // namespace
}  // namespace lumacet
