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
  EXPECT_EQ(digitizing->UndoStep(), TDigitizeStep::Nothing);
  digitizing->DigitizeAt(10, 10);  // A, then B is selected
  digitizing->DigitizeAt(20, 20);  // B
  digitizing->Select(0);
  digitizing->DigitizeAt(14, 10);  // A again: the mean of (10, 10) and (14, 10)
  EXPECT_EQ(At(0), (TFloatPoint{12, 10}));
  EXPECT_EQ(digitizing->UndoStep(), TDigitizeStep::Placement);
  ASSERT_TRUE(digitizing->Undo());
  EXPECT_EQ(At(0), (TFloatPoint{10, 10}));
  EXPECT_EQ(digitizing->SelectedIndex(), 0u);
  ASSERT_TRUE(digitizing->Undo());
  EXPECT_EQ(At(1), std::nullopt);
  EXPECT_EQ(digitizing->SelectedIndex(), 1u);
  EXPECT_EQ(xray->ChangeHistory.back(), "Deleted/Edited a Point.");
  // "&Delete" took A's last placement: there is nothing of it left to take back.
  digitizing->Select(0);
  ASSERT_TRUE(digitizing->DeletePlacement());
  EXPECT_FALSE(digitizing->Undo());
  EXPECT_EQ(At(0), std::nullopt);
}

// A protocol of one snake of three points, (100, 100), (200, 150) and (300, 100), on a
// type with no template points in common with the radiograph (so nothing is guessed).
struct TSnakeFixture : ::testing::Test {
  TSnakeFixture() {
    std::string message;
    auto* outline = static_cast<TDigSnake*>(type->AddElement("Outline", ekSnake, message));
    for (TFloatPoint p : kStart) outline->AddPoint(p.X, p.Y, true);
    auto* protocol = static_cast<TXRProtocol*>(type->AddElement("P", ekProtocol, message));
    protocol->Points.push_back(outline);
    type->BuildTemplates();
    xray->SetType(type.get());
    digitizing = std::move(*TDigitizing::Start(*xray, dmDigitizing));
  }
  TDigSnake& Snake() { return *std::as_const(xray->Snakes)[0]; }
  std::vector<TFloatPoint> Points() {
    std::vector<TFloatPoint> points;
    for (const auto& p : Snake().Points) points.push_back({p->RawX(), p->RawY()});
    return points;
  }

  static constexpr TFloatPoint kStart[] = {{100, 100}, {200, 150}, {300, 100}};
  std::unique_ptr<TXRayType> type = std::make_unique<TXRayType>();
  std::unique_ptr<TXRay> xray = std::make_unique<TXRay>();
  std::unique_ptr<TDigitizing> digitizing;
};

TEST_F(TSnakeFixture, TheIconsStandClearOfTheSnakesBoxAndKeepTheirSizeOnTheScreen) {
  for (double pixel : {0.5, 2.0}) {
    SCOPED_TRACE(pixel);
    const std::vector<TSnakeHandle> handles = SnakeHandles(Snake(), true, pixel);
    ASSERT_EQ(handles.size(), 3u + 7u);
    const double side = kSnakeIconPixels * pixel;
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(handles[i].Kind, TSnakeHandleKind::Point);
      EXPECT_EQ(handles[i].At, kStart[i]);
    }
    for (std::size_t i = 3; i < handles.size(); ++i) {
      const TSnakeHandle& icon = handles[i];
      // Outside the box (100..300, 100..150) by at least half an icon, and under itself only.
      EXPECT_TRUE(icon.At.X < 100 - side / 2 || icon.At.X > 300 + side / 2 || icon.At.Y < 100 - side / 2 ||
                  icon.At.Y > 150 + side / 2);
      const std::optional<TSnakeHandle> hit =
          SnakeHandleAt(handles, {icon.At.X + side / 2 - pixel, icon.At.Y - side / 2 + pixel}, pixel, 5 * pixel);
      ASSERT_TRUE(hit);
      EXPECT_EQ(hit->Kind, icon.Kind);
    }
    EXPECT_EQ(handles[3].Kind, TSnakeHandleKind::Translate);
    EXPECT_EQ(handles[3].At, (TFloatPoint{100 - side, 100 - side}));
    EXPECT_EQ(handles[4].Kind, TSnakeHandleKind::Rotate);
    EXPECT_EQ(handles[4].At, (TFloatPoint{300 + side, 100 - side}));
    // A point within reach is its handle; a place near nothing is none.
    const std::optional<TSnakeHandle> point = SnakeHandleAt(handles, {201, 148}, pixel, 5 * pixel);
    ASSERT_TRUE(point);
    EXPECT_EQ(point->Kind, TSnakeHandleKind::Point);
    EXPECT_EQ(point->Point, 1u);
    EXPECT_FALSE(SnakeHandleAt(handles, {200, 125}, pixel, 5 * pixel));
  }
  // Without the icons only the points are handles; an invalid point has none.
  Snake().Points[1]->SetValid(false);
  const std::vector<TSnakeHandle> points = SnakeHandles(Snake(), false, 1);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[1].Point, 2u);
  // The icons are drawn as pictures of their size, centred where they stand.
  TRecordingCanvas canvas;
  DrawSnakeIcons(canvas, SnakeHandles(Snake(), true, 1));
  ASSERT_EQ(canvas.Calls.size(), 7u);
  EXPECT_EQ(canvas.Calls[0].Kind, TCanvasCallKind::BlitDevice);
  EXPECT_EQ(canvas.Calls[0].ImageSize, (TIntSize{kSnakeIconPixels, kSnakeIconPixels}));
  EXPECT_EQ(canvas.Calls[0].Points.front(), (TIntPoint{100 - 15 - 7, 100 - 15 - 7}));
}

TEST_F(TSnakeFixture, DragsMoveTurnAndReshapeTheSnakeAndUndoPutsItBackExactly) {
  struct TCase {
    const char* what;
    TSnakeDrag kind;
    std::size_t point;
    TFloatPoint from, to;
    std::vector<TFloatPoint> expected;
  };
  // The box's centre is (200, 125); a quarter turn clockwise as displayed takes (u, v) to (-v, u).
  const std::vector<TCase> cases = {
      {"a point", TSnakeDrag::Point, 2, {302, 99}, {320, 80}, {{100, 100}, {200, 150}, {320, 80}}},
      {"the whole snake", TSnakeDrag::Translate, 0, {80, 80}, {92.5, 61.25}, {{112.5, 81.25}, {212.5, 131.25}, {312.5, 81.25}}},
      {"turned", TSnakeDrag::Rotate, 0, {320, 125}, {200, 245}, {{225, 25}, {175, 125}, {225, 225}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(digitizing->BeginSnakeDrag(c.kind, c.point, c.from));
    EXPECT_EQ(digitizing->UndoStep(), TDigitizeStep::Nothing);  // not while the drag runs
    ASSERT_TRUE(digitizing->DragSnake({c.to.X + 40, c.to.Y - 30}));  // on the way
    ASSERT_TRUE(digitizing->EndSnakeDrag(c.to));
    const std::vector<TFloatPoint> moved = Points();
    for (std::size_t i = 0; i < moved.size(); ++i) {
      EXPECT_NEAR(moved[i].X, c.expected[i].X, 1e-9) << i;
      EXPECT_NEAR(moved[i].Y, c.expected[i].Y, 1e-9) << i;
    }
    EXPECT_TRUE(Snake().Placed);
    EXPECT_EQ(xray->ChangeHistory.back(), "Digitized Point.");
    EXPECT_EQ(digitizing->UndoStep(), TDigitizeStep::SnakeChange);
    ASSERT_TRUE(digitizing->Undo());
    EXPECT_EQ(Points(), (std::vector<TFloatPoint>(std::begin(kStart), std::end(kStart))));
    EXPECT_FALSE(Snake().Placed);
    EXPECT_EQ(digitizing->UndoStep(), TDigitizeStep::Nothing);
  }
  // A press and release in one place changes nothing and leaves nothing to take back.
  ASSERT_TRUE(digitizing->BeginSnakeDrag(TSnakeDrag::Translate, 0, {80, 80}));
  ASSERT_TRUE(digitizing->EndSnakeDrag({80, 80}));
  EXPECT_FALSE(Snake().Placed);
  EXPECT_EQ(digitizing->UndoStep(), TDigitizeStep::Nothing);
  // No drag of a point the snake does not have, nor from nowhere.
  EXPECT_FALSE(digitizing->BeginSnakeDrag(TSnakeDrag::Point, 3, {0, 0}));
  EXPECT_FALSE(digitizing->BeginSnakeDrag(TSnakeDrag::Translate, 0, {NAN, 0}));
  EXPECT_FALSE(digitizing->DragSnake({10, 10}));
  // The right click's move and "&Reset" are steps too, taken back last first.
  ASSERT_TRUE(digitizing->MoveSnakeTo(0, 0));
  digitizing->ResetSnake();
  EXPECT_EQ(Points().front(), (TFloatPoint{100, 100}));
  ASSERT_TRUE(digitizing->Undo());
  EXPECT_EQ(Points().front(), (TFloatPoint{0, 0}));
  ASSERT_TRUE(digitizing->Undo());
  EXPECT_EQ(Points(), (std::vector<TFloatPoint>(std::begin(kStart), std::end(kStart))));
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
