// The digitize tool's share of a click: where it lands with and without edge lock, the
// hint drawing shown at the cursor without moving the point, the last placement taken back,
// and the pictures of the Digitize window laid out for their boxes.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "digitize/digitize_tool.h"
#include "digitize/digitizing.h"
#include "edge_scene.h"
#include "graphics/recording_canvas.h"
#include "model/list_elements.h"
#include "model/point_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"

namespace lumacet {
namespace {

// Points A, B and C in a protocol, on a film of 200 x 100 pixels of 1 tracing unit whose
// left half is dark and right half bright, the edge at x = 100.
struct TToolFixture : ::testing::Test {
  TToolFixture() {
    std::string message;
    for (const char* name : {"A", "B", "C"}) type->AddElement(name, ekDigPoint, message);
    protocol = static_cast<TXRProtocol*>(type->AddElement("P", ekProtocol, message));
    for (const char* name : {"A", "B", "C"}) protocol->Points.push_back(type->FindElement(name, ekDigPoint));
    auto* a = type->Element<TDigPoint>(ekDigPoint, 0);
    a->SearchRange = 30;
    a->CursorOnly = false;
    xray->SetType(type.get());
    xray->Image = test::Picture(200, 100, 8, 0, 1, [](double x, double) { return 0.2 + 0.6 * test::BlurredStep(x - 100, 1.5); });
    xray->PixelWidth = xray->PixelHeight = 1;
    plane = TGreyPlane::FromImage(xray->Image);
    digitizing = std::move(*TDigitizing::Start(*xray, dmDigitizing));
  }
  std::optional<TFloatPoint> At(std::size_t index) {
    const TLoadedRadiograph loaded = xray->Load();
    return loaded.Position(type->ElementList(ekDigPoint)[index].get());
  }

  std::unique_ptr<TXRayType> type = std::make_unique<TXRayType>();
  TXRProtocol* protocol = nullptr;
  std::unique_ptr<TXRay> xray = std::make_unique<TXRay>();
  TGreyPlane plane;
  std::unique_ptr<TDigitizing> digitizing;
  TDigitizeTool tool;
};

TEST_F(TToolFixture, AClickLandsOnTheEdgeOnlyWithEdgeLockAndTheLeftButton) {
  struct TCase {
    int AutoEdgeLock;
    bool Left;
    bool OnEdge;
  };
  for (const TCase& c : {TCase{2, true, true}, TCase{2, false, false}, TCase{1, true, false}, TCase{0, true, false}}) {
    SCOPED_TRACE(c.AutoEdgeLock);
    TDigitizeToolOptions options;
    options.AutoEdgeLock = c.AutoEdgeLock;
    const TFloatPoint at = tool.ClickPosition(*digitizing, plane, {108, 50}, c.Left, options);
    if (c.OnEdge) {
      EXPECT_NEAR(at.X, 100, 1);
    } else {
      EXPECT_EQ(at.X, 108);
    }
    EXPECT_EQ(at.Y, 50);
    // The orientation cursor is drawn whenever edge lock is not off.
    TRecordingCanvas canvas;
    tool.Draw(canvas, *digitizing, options, {});
    EXPECT_EQ(!canvas.Calls.empty(), c.AutoEdgeLock != 0);
  }
  // Without an edge under the search line, or without a pixel size, the click stays put.
  TDigitizeToolOptions options;
  for (TFloatPoint flat : {TFloatPoint{30, 50}, TFloatPoint{-500, 900}}) {
    const TFloatPoint at = tool.ClickPosition(*digitizing, plane, flat, true, options);
    EXPECT_EQ(at, flat);
  }
  xray->PixelWidth = xray->PixelHeight = 0;
  EXPECT_EQ(tool.ClickPosition(*digitizing, plane, {108, 50}, true, options), (TFloatPoint{108, 50}));
}

TEST_F(TToolFixture, TheHintDrawingFollowsTheCursorAndLeavesThePointWhereItWas) {
  std::string message;
  auto* hint = static_cast<TXRGraphic*>(type->AddElement("hint", ekGraphic, message));
  auto* a = type->Element<TDigPoint>(ekDigPoint, 0);
  auto* b = type->Element<TDigPoint>(ekDigPoint, 1);
  hint->Points = {a, b};
  a->HintDrawing = hint;
  xray->Coordinates[1]->SetXY(40, 40);
  TDigitizeToolOptions options;
  options.AutoEdgeLock = 0;
  tool.Move(*digitizing, plane, {70, 20}, options);
  TRecordingCanvas canvas;
  tool.Draw(canvas, *digitizing, options, {});
  bool drawnAtCursor = false;
  for (const TCanvasCall& call : canvas.Calls)
    if (call.Kind == TCanvasCallKind::Polyline && !call.Points.empty() && call.Points.front() == TIntPoint{70, 20})
      drawnAtCursor = true;
  EXPECT_TRUE(drawnAtCursor);
  EXPECT_EQ(At(0), std::nullopt);  // never placed, and still not
  options.ShowHint = false;
  TRecordingCanvas without;
  tool.Draw(without, *digitizing, options, {});
  for (const TCanvasCall& call : without.Calls) EXPECT_NE(call.Kind, TCanvasCallKind::Polyline);
}

TEST_F(TToolFixture, UndoTakesBackTheLastPlacementWhicheverPointItWas) {
  EXPECT_FALSE(digitizing->CanUndoPlacement());
  digitizing->DigitizeAt(10, 10);  // A, then B is selected
  digitizing->DigitizeAt(20, 20);  // B
  digitizing->Select(0);
  digitizing->DigitizeAt(14, 10);  // A again: the mean of (10, 10) and (14, 10)
  EXPECT_EQ(At(0), (TFloatPoint{12, 10}));
  ASSERT_TRUE(digitizing->UndoPlacement());
  EXPECT_EQ(At(0), (TFloatPoint{10, 10}));
  EXPECT_EQ(digitizing->SelectedIndex(), 0u);
  ASSERT_TRUE(digitizing->UndoPlacement());
  EXPECT_EQ(At(1), std::nullopt);
  EXPECT_EQ(digitizing->SelectedIndex(), 1u);
  EXPECT_EQ(xray->ChangeHistory.back(), "Deleted/Edited a Point.");
  // "&Delete" took A's last placement: there is nothing of it left to take back.
  digitizing->Select(0);
  ASSERT_TRUE(digitizing->DeletePlacement());
  EXPECT_FALSE(digitizing->UndoPlacement());
  EXPECT_EQ(At(0), std::nullopt);
}

TEST(DigitizeWindowPictures, PlacementsAreShownInASquareOfAtLeastTwoMillimetres) {
  EXPECT_TRUE(PlacementView({}, 100, '.').Crosses.empty());
  const TPlacementView one = PlacementView({{100, 100}}, 100, ',');
  ASSERT_EQ(one.Crosses.size(), 1u);
  EXPECT_DOUBLE_EQ(one.Crosses[0].X, 50);  // the view of 20 units is centred on the placement
  EXPECT_DOUBLE_EQ(one.CrossHalf, 20);     // 4 units of 20 on 100 pixels
  EXPECT_TRUE(one.Crosses[0].Last);
  EXPECT_EQ(one.Label, "dx: 0 dy: 0 mm");
  const TPlacementView spread = PlacementView({{100, 100}, {150, 110}}, 120, ',');
  EXPECT_EQ(spread.Label, "dx: 5 dy: 1 mm");
  EXPECT_DOUBLE_EQ(spread.Crosses[0].X, 10);   // a view of 60 units: 2 pixels a unit
  EXPECT_DOUBLE_EQ(spread.Crosses[1].X, 110);
  EXPECT_FALSE(spread.Crosses[0].Last);
  EXPECT_EQ(spread.GridLines.size(), 6u);  // every millimetre from 95 to 145
}

TEST(DigitizeWindowPictures, TheProfileGraphSpansTheBoxWithTheZeroLevelWhereItLies) {
  EXPECT_TRUE(ProfileGraph({}, 100, 50).Line.empty());
  EXPECT_TRUE(ProfileGraph({3, 3, 3}, 100, 50).Line.empty());  // flat: nothing to draw
  const TProfileGraph graph = ProfileGraph({-1, 3, 1, -1}, 200, 40);
  ASSERT_EQ(graph.Line.size(), 4u);
  EXPECT_DOUBLE_EQ(graph.Line[1].Y, 0);   // the largest at the top
  EXPECT_DOUBLE_EQ(graph.Line[0].Y, 40);  // the smallest at the bottom
  EXPECT_DOUBLE_EQ(graph.Line[1].X, 50);
  ASSERT_TRUE(graph.ZeroY);
  EXPECT_DOUBLE_EQ(*graph.ZeroY, 30);
  EXPECT_DOUBLE_EQ(graph.MiddleX, 100);
  EXPECT_FALSE(ProfileGraph({1, 2, 3}, 90, 30).ZeroY);
}

}  // namespace
}  // namespace lumacet
