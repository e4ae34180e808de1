#include "graphics/labels.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/recording_canvas.h"
#include "measure/variables_fixture.h"
#include "model/radiograph.h"

namespace lumacet {
namespace {

using Kind = TCanvasCallKind;
using Points = std::vector<TIntPoint>;

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kFuchsia = 0xFF00FF;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kRed = 0x0000FF;

// P1 (1000, 1000) and P2 (1300, 1400), 50 mm apart; the label of their distance hangs at
// P1. The label font is 20 units high: 10 units per character, cells 24 high.
class LabelsTest : public test::MeasureFixture {
 protected:
  LabelsTest() : distance(AddVariable("Length", 3, {P(1), P(2)})) {
    Place(1, 1000, 1000);
    Place(2, 1300, 1400);
    xray.LoadCoordinates();
    distance.Anchor = P(1);
    options.Font = {"DejaVu Sans", 20};
    options.Outline = false;
  }

  std::vector<TCanvasCall> Texts() const {
    std::vector<TCanvasCall> texts;
    std::copy_if(canvas.Calls.begin(), canvas.Calls.end(), std::back_inserter(texts),
                 [](const TCanvasCall& call) { return call.Kind == Kind::Text; });
    return texts;
  }

  TXRVariable& distance;
  TRecordingCanvas canvas;
  TLabelOptions options;
};

MATCHER_P3(IsText, text, at, colour, "") {
  return arg.Kind == Kind::Text && arg.Text == text && arg.Points == Points{at} && arg.TextColour == colour;
}

TEST_F(LabelsTest, PlacedByAlignmentAtTheAnchorPlusOffset) {
  distance.TextAfter = " mm";
  EXPECT_EQ(DrawLabel(canvas, distance, xray, nullptr, options), (TIntRect{1010, 990, 1060, 1014}));
  EXPECT_THAT(Texts(), ::testing::ElementsAre(IsText("50", TIntPoint{1010, 990}, kBlack),
                                              IsText(" mm", TIntPoint{1030, 990}, kBlack)));
  distance.Alignment = 1;
  EXPECT_EQ(DrawLabel(canvas, distance, xray, nullptr, options), (TIntRect{985, 990, 1035, 1014}));
  distance.Alignment = 2;
  distance.LabelOffsetX = -10;
  distance.LabelOffsetY = 20;
  EXPECT_EQ(DrawLabel(canvas, distance, xray, nullptr, options), (TIntRect{940, 1020, 990, 1044}));
  // An alignment from a hand-edited file that means nothing aligns left.
  distance.Alignment = 7;
  EXPECT_EQ(DrawLabel(canvas, distance, xray, nullptr, options), (TIntRect{990, 1020, 1040, 1044}));
}

// A label drawn while another radiograph of the type is loaded hangs at its own anchor
// with its own value.
TEST_F(LabelsTest, ARadiographNotLoadedIsLabelledWithItsOwnTracing) {
  TXRay other;
  other.SetType(&type);
  Place(other, 1, 0, 0);
  Place(other, 2, 0, 100);
  EXPECT_EQ(DrawLabel(canvas, distance, xray, nullptr, options), (TIntRect{1010, 990, 1030, 1014}));
  other.LoadCoordinates();
  EXPECT_EQ(DrawLabel(canvas, distance, xray, nullptr, options), (TIntRect{1010, 990, 1030, 1014}));
  EXPECT_EQ(DrawLabel(canvas, distance, other, nullptr, options), (TIntRect{10, -10, 30, 14}));
  EXPECT_THAT(Texts(), ::testing::ElementsAre(IsText("50", TIntPoint{1010, 990}, kBlack),
                                              IsText("50", TIntPoint{1010, 990}, kBlack),
                                              IsText("10", TIntPoint{10, -10}, kBlack)));
}

TEST_F(LabelsTest, NameAndCodesAndDeviationColour) {
  distance.ShowName = true;
  distance.TextBefore = "(@m) ";
  distance.FemaleNormals = {{0, 99, 40, 5}};
  const std::vector<TLabelSegment> segments = LabelSegments(distance, xray, nullptr, options);
  ASSERT_EQ(segments.size(), 1u);
  // z = 2: class 2 in fuchsia.
  EXPECT_EQ(segments[0].Text, "Length: (40) 50");
  EXPECT_EQ(segments[0].Colour, kFuchsia);
  options.Presentation.DeviationMode = 1;
  const std::vector<TLabelSegment> marked = LabelSegments(distance, xray, nullptr, options);
  EXPECT_EQ(marked[0].Text, "Length: (40) 50**");
  EXPECT_EQ(marked[0].Colour, kBlack);
}

TEST_F(LabelsTest, OutlinedFourTimesOneDevicePixelAwayThenInItsOwnColours) {
  options.Outline = true;
  options.OutlineColour = 0xFFFFFF;
  DrawLabel(canvas, distance, xray, nullptr, options);
  EXPECT_THAT(Texts(), ::testing::ElementsAre(IsText("50", TIntPoint{1009, 989}, 0xFFFFFFu),
                                              IsText("50", TIntPoint{1009, 991}, 0xFFFFFFu),
                                              IsText("50", TIntPoint{1011, 989}, 0xFFFFFFu),
                                              IsText("50", TIntPoint{1011, 991}, 0xFFFFFFu),
                                              IsText("50", TIntPoint{1010, 990}, kBlack)));
  EXPECT_EQ(canvas.Calls.back().BackgroundMode, TBackgroundMode::Transparent);

  // Where a device pixel is four tracing units, the outline stands four units off, so that
  // it shows.
  canvas.Calls.clear();
  canvas.SetMapping(*TIsotropicMapping::FromScale({0, 0}, 0.25));
  options.Transparent = false;
  DrawLabel(canvas, distance, xray, nullptr, options);
  EXPECT_EQ(Texts()[0].Points[0], (TIntPoint{1006, 986}));
  EXPECT_EQ(Texts()[0].BackgroundMode, TBackgroundMode::Opaque);
}

TEST_F(LabelsTest, NoLabelForTextWindowVariablesOrAnInvalidAnchor) {
  distance.ShowIn = 1;
  EXPECT_FALSE(DrawLabel(canvas, distance, xray, nullptr, options));
  distance.ShowIn = 2;
  distance.Anchor = P(3);  // never placed
  EXPECT_FALSE(DrawLabel(canvas, distance, xray, nullptr, options));
  EXPECT_TRUE(canvas.Calls.empty());
  // Without an anchor the label hangs from the origin.
  distance.Anchor = nullptr;
  EXPECT_EQ(DrawLabel(canvas, distance, xray, nullptr, options), (TIntRect{10, -10, 30, 14}));
}

TEST_F(LabelsTest, RectanglesAreStoredOnlyWhenAskedAndFoundByLabelAt) {
  auto* analysis = static_cast<TXRAnalysis*>(type.AddElement("Main", ekAnalysis, message));
  analysis->Points = {&distance};
  xray.CurrentAnalysis = analysis;
  DrawLabel(canvas, distance, xray, nullptr, options);
  EXPECT_EQ(distance.LabelRect, (std::array<int, 4>{0, 0, 0, 0}));
  options.StoreRectangles = true;
  DrawLabel(canvas, distance, xray, nullptr, options);
  EXPECT_EQ(distance.LabelRect, (std::array<int, 4>{1010, 990, 1030, 1014}));
  EXPECT_EQ(LabelAt(*analysis, xray, 1020, 1000), &distance);
  EXPECT_EQ(LabelAt(*analysis, xray, 1010, 1000), nullptr);  // strictly inside only
}

TEST_F(LabelsTest, ComparativeLabelsShowEveryOtherRadiographsValue) {
  TXRay second;
  second.SetType(&type);
  second.Female = true;
  second.DateOfBirth = xray.DateOfBirth;
  second.DateTaken = xray.DateTaken;
  Place(second, 1, 0, 0);
  Place(second, 2, 0, 400);
  distance.FemaleNormals = {{0, 99, 40, 5}};
  TComparisonValues others;
  others.Add(1, second.Load(), {"Length", "Missing"}, options.Presentation);
  EXPECT_EQ(others.ValuesOf("Missing", options.Presentation)[0].Text, "N/A");

  xray.LoadCoordinates();
  const std::vector<TLabelSegment> segments = LabelSegments(distance, xray, &others, options);
  ASSERT_EQ(segments.size(), 3u);
  EXPECT_EQ(segments[0].Text, "50");
  EXPECT_EQ(segments[1].Text, " | ");
  EXPECT_EQ(segments[1].Colour, kBlack);
  EXPECT_EQ(segments[2].Text, "40");
  EXPECT_EQ(segments[2].Colour, 0x008000u);  // at the mean
}

TEST_F(LabelsTest, AnalysesAndViewsFilterWhatIsDrawn) {
  auto* graphic = static_cast<TXRGraphic*>(type.AddElement("Join", ekGraphic, message));
  graphic->Points = {P(1), P(2)};
  graphic->DrawOption = 1;  // on demand
  auto* analysis = static_cast<TXRAnalysis*>(type.AddElement("Main", ekAnalysis, message));
  analysis->Points = {&distance};
  analysis->Graphics = {graphic};
  auto* view = static_cast<TXRView*>(type.AddElement("Lines only", ekView, message));
  view->Points = {graphic};
  xray.CurrentAnalysis = analysis;
  auto draw = [&](std::string_view viewName) {
    xray.SelectView(viewName);
    canvas.Calls.clear();
    DrawAnalysis(canvas, xray, nullptr, options, {});
    std::vector<Kind> kinds;
    for (const TCanvasCall& call : canvas.Calls) kinds.push_back(call.Kind);
    return kinds;
  };
  // The on-demand drawing shows inside its analysis, and stays on demand afterwards.
  EXPECT_THAT(draw("<all>"), ::testing::ElementsAre(Kind::Polyline, Kind::Text));
  EXPECT_EQ(graphic->DrawOption, 1);
  EXPECT_THAT(draw("<none>"), ::testing::IsEmpty());
  EXPECT_THAT(draw("Lines only"), ::testing::ElementsAre(Kind::Polyline));
  xray.Visible = false;
  EXPECT_THAT(draw("<all>"), ::testing::IsEmpty());
  xray.Visible = true;
  xray.CurrentAnalysis = nullptr;
  EXPECT_THAT(draw("<all>"), ::testing::IsEmpty());

  view->Variables = {&distance};
  canvas.Calls.clear();
  DrawView(canvas, *view, xray, options, {});
  ASSERT_EQ(canvas.Calls.size(), 2u);
  EXPECT_EQ(canvas.Calls[0].Kind, Kind::Polyline);
  EXPECT_EQ(canvas.Calls[1].Text, "50");
}

class MeasurementVisualTest : public test::MeasureFixture {
 protected:
  std::vector<TCanvasCall> Visual(TXRVariable& variable) {
    xray.LoadCoordinates();
    TRecordingCanvas canvas;
    DrawMeasurementVisual(canvas, variable, xray, {100, 200, 140, 224}, context, {});
    return canvas.Calls;
  }
};

TEST_F(MeasurementVisualTest, AngleShowsItsLinesTheirCrossingAndTheArc) {
  TXRVariable& angle = AddVariable("Angle", 1, {P(1), P(2), P(3), P(4)});
  Place(1, 100, 0);
  Place(2, 1000, 0);
  Place(3, 0, 100);
  Place(4, 0, 1000);
  const std::vector<TCanvasCall> calls = Visual(angle);
  ASSERT_EQ(calls.size(), 7u);
  EXPECT_EQ(calls[0].Kind, Kind::Rectangle);
  EXPECT_EQ(calls[0].Box, (TIntRect{92, 197, 148, 227}));
  EXPECT_EQ(calls[0].Pen, (TPen{0x808080, TPenStyle::Dot, 0}));
  EXPECT_EQ(calls[0].Brush.Style, TBrushStyle::Clear);
  EXPECT_EQ(calls[1].Points, (Points{{100, 0}, {1000, 0}}));
  EXPECT_EQ(calls[2].Points, (Points{{0, 100}, {0, 1000}}));
  EXPECT_EQ(calls[2].Pen, (TPen{kBlue, TPenStyle::Solid, 8}));
  EXPECT_EQ(calls[3].Points, (Points{{1000, 0}, {0, 0}, {100, 0}}));
  EXPECT_EQ(calls[4].Points, (Points{{0, 1000}, {0, 0}, {0, 100}}));
  EXPECT_EQ(calls[5].Points, (Points{{150, 0}, {0, 0}, {0, 150}}));
  EXPECT_EQ(calls[5].Pen, (TPen{kBlue, TPenStyle::Dot, 0}));
  // Radius: the nearest operand is 100 away, less than the least radius of 120. The arc
  // runs counter-clockwise from line 2 (straight down) to line 1 (right): 90 degrees.
  EXPECT_EQ(calls[6].Kind, Kind::Arc);
  EXPECT_EQ(calls[6].Box, (TIntRect{-120, -120, 120, 120}));
  EXPECT_EQ(calls[6].Points, (Points{{0, 150}, {150, 0}}));
  EXPECT_EQ(calls[6].Pen, (TPen{kRed, TPenStyle::Solid, 8}));
  const TArcAngles arc = *ArcAngles(calls[6].Box, calls[6].Points[0], calls[6].Points[1]);
  EXPECT_DOUBLE_EQ(arc.StartDegrees, 270);
  EXPECT_DOUBLE_EQ(arc.SweepDegrees, 90);

  // A farther crossing takes the nearest operand's distance as the radius.
  Place(1, 300, 0);
  Place(3, 0, 200);
  EXPECT_EQ(Visual(angle)[6].Box, (TIntRect{-200, -200, 200, 200}));
  // Parallel lines have no crossing: the lines and nothing further.
  Place(3, 0, 100);
  Place(4, 1000, 100);
  EXPECT_EQ(Visual(angle).size(), 3u);
}

TEST_F(MeasurementVisualTest, DistancesShowTheirFeet) {
  TXRVariable& fromLine = AddVariable("From line", 4, {P(1), P(2), P(3)});
  Place(1, 50, 30);
  Place(2, 0, 0);
  Place(3, 100, 0);
  std::vector<TCanvasCall> calls = Visual(fromLine);
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[1].Points, (Points{{0, 0}, {100, 0}}));
  EXPECT_EQ(calls[2].Points, (Points{{50, 30}, {50, 0}}));
  EXPECT_EQ(calls[2].Pen.Colour, kRed);
  EXPECT_EQ(calls[3].Points, (Points{{0, 0}, {50, 0}, {100, 0}}));

  TXRVariable& plain = AddVariable("Plain", 3, {P(1), P(2)});
  calls = Visual(plain);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].Points, (Points{{50, 30}, {0, 0}}));
  EXPECT_EQ(calls[1].Pen, (TPen{kRed, TPenStyle::Solid, 8}));

  // Not valid: the frame alone.
  Place(2, 0, 0);
  xray.Coordinates[1]->SetValid(false);
  EXPECT_EQ(Visual(plain).size(), 1u);
}

TEST_F(MeasurementVisualTest, ReferenceOperandsComeFromTheReferenceRadiograph) {
  TXRVariable& across = AddVariable("Across", 33, {P(1), P(2)});
  across.ReferenceFlags[0] = true;
  TXRay reference;
  reference.SetType(&type);
  Place(reference, 1, 500, 500);
  Place(1, 0, 0);
  Place(2, 100, 0);
  context.Reference = &reference;
  const std::vector<TCanvasCall> calls = Visual(across);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].Points, (Points{{500, 500}, {100, 0}}));
  // The radiograph's own coordinates are loaded again.
  EXPECT_EQ(static_cast<TXRPoint*>(P(1))->GetX(), 0);
}

}  // namespace
}  // namespace lumacet
