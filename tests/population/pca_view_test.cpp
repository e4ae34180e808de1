// What the PCA viewer shows, without its window: the consensus deformed along the
// components, the links a drawing gives, the missing-data text, and the graph's painting.
#include "population/pca_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "graphics/recording_canvas.h"
#include "model/list_elements.h"
#include "model/xray.h"
#include "population/pca_statistics.h"
#include "population_fixture.h"

namespace lumacet {
namespace {

// Three points, two components; the second has no variance.
class PcaViewTest : public ::testing::Test {
 protected:
  PcaViewTest() : type(test::PointType("Shapes", {"A", "B", "C", "D"})) {
    std::string message;
    pca = static_cast<TXRPCA*>(type->AddElement("Outline", ekPCA, message));
    for (const char* name : {"A", "B", "C"}) pca->Points.push_back(type->FindElement(name, ekDigPoint));
    pca->Consensus = {-0.5, -0.3, 0.5, -0.3, 0.0, 0.6};
    pca->Variances = {0.04, 0.0};
    pca->Loadings = {{1, 0}, {0, 1}, {0, 0}, {-1, 0}, {0.5, 0}, {0, 0}};
    pca->HasData = true;
    pca->SampleCount = 10;
  }

  std::unique_ptr<TXRayType> type;
  TXRPCA* pca = nullptr;
};

TEST_F(PcaViewTest, TheConsensusMovesByStandardDeviationsOfEachComponent) {
  struct TCase {
    std::vector<double> deviations;
    std::vector<double> expected;
  };
  const std::vector<TCase> cases = {
      {{}, pca->Consensus},
      {{1}, {-0.3, -0.3, 0.5, -0.5, 0.1, 0.6}},  // 1 sd = 0.2
      {{-2, 0}, {-0.9, -0.3, 0.5, 0.1, -0.2, 0.6}},
      {{1, 5}, {-0.3, -0.3, 0.5, -0.5, 0.1, 0.6}},  // no variance: no change
      {{0, 0, 3}, pca->Consensus},                    // beyond the components: ignored
  };
  for (const TCase& c : cases) {
    const std::vector<double> shape = DeformedShape(*pca, c.deviations);
    ASSERT_EQ(shape.size(), c.expected.size());
    for (size_t j = 0; j < shape.size(); ++j) EXPECT_NEAR(shape[j], c.expected[j], 1e-12) << j;
  }
  EXPECT_EQ(ShapePoints({1, 2, 3, 4, 5}).size(), 2u);  // an odd coordinate has no point
}

TEST_F(PcaViewTest, ADrawingLinksOnlyConsecutivePointsOfTheElement) {
  test::AddDrawing(*type, "Outline", {"A", "B", "D", "C", "A"});
  const auto& drawing = static_cast<const TXRGraphic&>(*type->FindElement("Outline", ekGraphic));
  const std::vector<std::pair<size_t, size_t>> expected = {{0, 1}, {2, 0}};
  EXPECT_EQ(DrawingLinks(*pca, drawing), expected);
}

TEST_F(PcaViewTest, TheGraphHoldsTheRadiographsShapeTheDeformationsAndTheDrawingsLines) {
  test::AddDrawing(*type, "Triangle", {"A", "B", "C"});
  const std::unique_ptr<TXRay> xray =
      test::Radiograph(*type, "R", {{{-50, -30}}, {{50, -30}}, {{0, 60}}, std::nullopt});
  TPcaGraph graph = PcaGraph(*xray, *pca, {1, 0}, std::nullopt, "Triangle");
  ASSERT_EQ(graph.Consensus.size(), 3u);
  EXPECT_EQ(graph.Labels, (std::vector<std::string>{"A", "B", "C"}));
  ASSERT_EQ(graph.Current.size(), 3u);  // the consensus's own shape, fitted at unit size
  EXPECT_NEAR(graph.Current[2].X, 0, 1e-9);
  EXPECT_NEAR(graph.Current[2].Y, 0.6 / std::sqrt(1.04), 1e-9);
  ASSERT_EQ(graph.Extremes.size(), 1u);
  EXPECT_NEAR(graph.Extremes[0][0].X, -0.3, 1e-12);
  EXPECT_EQ(graph.Lines, (std::vector<std::pair<size_t, size_t>>{{0, 1}, {1, 2}}));

  graph = PcaGraph(*xray, *pca, {1, 0}, 0, "No such drawing");
  ASSERT_EQ(graph.Extremes.size(), 2u);
  EXPECT_NEAR(graph.Extremes[1][0].X, -0.7, 1e-12);  // the same deviation the other way
  EXPECT_EQ(graph.ExtremesCaption, "Extremes: PC 1 \xC2\xB1" "1.0 SD");
  EXPECT_TRUE(graph.Lines.empty());

  // A radiograph whose points are not all placed has no shape to show.
  const std::unique_ptr<TXRay> unplaced = test::Radiograph(*type, "U", {{{0, 0}}});
  EXPECT_TRUE(PcaGraph(*unplaced, *pca, {}, std::nullopt, "Triangle").Current.empty());
}

TEST_F(PcaViewTest, DataThatCannotBeUsedIsSaidOnTheTextPageAndTheGraph) {
  pca->Variances.pop_back();  // sizes no longer fit the points
  TPcaMeasurer measurer;
  EXPECT_EQ(PcaViewText(*pca, measurer), "Data is missing or invalid.\r\n");
  TRecordingCanvas canvas({400, 400});
  PaintPcaGraph(canvas, TPcaGraph{});
  ASSERT_FALSE(canvas.Calls.empty());
  EXPECT_EQ(canvas.Calls.back().Kind, TCanvasCallKind::Text);
  EXPECT_EQ(canvas.Calls.back().Text, kPcaDataMissingMessage);
}

TEST_F(PcaViewTest, TheGraphPaintsWhatItsTogglesShow) {
  TPcaGraph graph;
  graph.Consensus = ShapePoints(pca->Consensus);
  graph.Extremes = {ShapePoints(DeformedShape(*pca, {1}))};
  graph.Labels = {"A", "B", "C"};
  graph.Lines = {{0, 1}, {1, 2}};
  graph.ShowLegend = false;  // counted on its own below
  auto count = [](const TRecordingCanvas& canvas, TCanvasCallKind kind) {
    return std::count_if(canvas.Calls.begin(), canvas.Calls.end(), [kind](const TCanvasCall& call) {
      return call.Kind == kind;
    });
  };
  struct TCase {
    bool consensus, labels;
    long ellipses, texts;
  };
  for (const TCase& c : {TCase{true, false, 3, 0}, TCase{true, true, 3, 3}, TCase{false, false, 0, 0}}) {
    graph.ShowConsensus = c.consensus;
    graph.ShowLabels = c.labels;
    TRecordingCanvas canvas({400, 400});
    PaintPcaGraph(canvas, graph);
    EXPECT_EQ(count(canvas, TCanvasCallKind::Ellipse), c.ellipses);  // consensus circles
    EXPECT_EQ(count(canvas, TCanvasCallKind::Text), c.texts);
    EXPECT_EQ(count(canvas, TCanvasCallKind::Rectangle), 1 + 3);  // the background, the extreme's squares
  }

  // The legend: a marker and its text for each kind of shape shown.
  auto texts = [](const TRecordingCanvas& canvas) {
    std::vector<std::string> shown;
    for (const TCanvasCall& call : canvas.Calls)
      if (call.Kind == TCanvasCallKind::Text) shown.push_back(call.Text);
    return shown;
  };
  graph.ShowLegend = true;
  graph.ShowConsensus = true;
  graph.ShowLabels = false;
  graph.ExtremesCaption = "Extremes: PC 1 \xC2\xB1" "1.5 SD";
  TRecordingCanvas canvas({400, 400});
  PaintPcaGraph(canvas, graph);
  EXPECT_EQ(texts(canvas), (std::vector<std::string>{"Consensus", "Extremes: PC 1 \xC2\xB1" "1.5 SD"}));
  EXPECT_EQ(count(canvas, TCanvasCallKind::Ellipse), 3 + 1);
  graph.Current = graph.Consensus;
  TRecordingCanvas withCurrent({400, 400});
  PaintPcaGraph(withCurrent, graph);
  EXPECT_EQ(texts(withCurrent),
            (std::vector<std::string>{"Consensus", "Current radiograph", "Extremes: PC 1 \xC2\xB1" "1.5 SD"}));
}

}  // namespace
}  // namespace lumacet
