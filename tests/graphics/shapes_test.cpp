#include "graphics/shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/spline.h"
#include "graphics/recording_canvas.h"
#include "model/test_points.h"

namespace lumacet {
namespace {

TEST(TArrow, HeadIsAFifthLongAndATenthWide) {
  TArrow arrow;
  arrow.X2 = 100;
  EXPECT_EQ(arrow.HeadEnds(), (std::array<TIntPoint, 2>{TIntPoint{80, -10}, TIntPoint{80, 10}}));
  arrow.X1 = 10;
  arrow.Y1 = 10;
  arrow.X2 = 10;
  arrow.Y2 = 60;  // pointing down the screen
  EXPECT_EQ(arrow.HeadEnds(), (std::array<TIntPoint, 2>{TIntPoint{15, 50}, TIntPoint{5, 50}}));
  // Head coordinates round to the nearest integer, halves to even: 0.5 -> 0, 2.5 -> 2.
  arrow = TArrow{};
  arrow.X2 = 5;
  arrow.Y2 = 5;
  EXPECT_EQ(arrow.HeadEnds(), (std::array<TIntPoint, 2>{TIntPoint{4, 4}, TIntPoint{4, 4}}));
  arrow.X2 = 25;
  arrow.Y2 = 0;
  EXPECT_EQ(arrow.HeadEnds(), (std::array<TIntPoint, 2>{TIntPoint{20, -2}, TIntPoint{20, 2}}));
}

TEST(TDotLine, StartBoxSpansThreeUnitsAroundTheStart) {
  TDotLine line;
  line.X1 = 7;
  line.Y1 = -2;
  EXPECT_EQ(line.StartBox(), (TIntRect{4, -5, 10, 1}));
}

TEST(TRulerDoubleArrow, HeadsAndShaftWithoutTicks) {
  TRulerDoubleArrow ruler;
  ruler.X2 = 100;
  std::vector<TIntSegment> expected = {
      {{88, -6}, {100, 0}}, {{100, 0}, {88, 6}}, {{100, 0}, {0, 0}},
      {{0, 0}, {12, 6}},    {{0, 0}, {12, -6}},
  };
  EXPECT_EQ(ruler.Segments(12), expected);
}

TEST(TRulerDoubleArrow, FittedTicksDivideTheLengthIntoGroupsOfFive) {
  // 23 mm: 20 intervals of 1.15 mm.
  TRulerDoubleArrow ruler;
  ruler.X2 = 230;
  ruler.TickMarks = true;
  ruler.FitTicks = true;
  std::vector<TIntSegment> segments = ruler.Segments(12);
  ASSERT_EQ(segments.size(), 5u + 21u + 1u);
  auto tick = [&](int n) { return segments[5 + n]; };
  EXPECT_EQ(tick(0), (TIntSegment{{0, -30}, {0, 30}}));
  EXPECT_EQ(tick(1), (TIntSegment{{12, -10}, {12, 10}}));  // 11.5 rounds to even
  EXPECT_EQ(tick(3), (TIntSegment{{34, -10}, {34, 10}}));  // 34.5 rounds to even
  EXPECT_EQ(tick(5), (TIntSegment{{58, -20}, {58, 20}}));  // 57.5 -> 58
  EXPECT_EQ(tick(10), (TIntSegment{{115, -30}, {115, 30}}));
  EXPECT_EQ(tick(20), (TIntSegment{{230, -30}, {230, 30}}));
  EXPECT_EQ(segments.back(), (TIntSegment{{230, -30}, {230, 30}}));  // the closing tick at P2
}

TEST(TRulerDoubleArrow, UnfittedTicksEveryMillimetre) {
  // From (5, 0) straight down the screen to (5, 25).
  TRulerDoubleArrow ruler;
  ruler.X1 = ruler.X2 = 5;
  ruler.Y2 = 25;
  ruler.TickMarks = true;
  std::vector<TIntSegment> segments = ruler.Segments(4);
  ASSERT_EQ(segments.size(), 5u + 3u + 1u);  // ticks at 0, 10, 20 and the end
  EXPECT_EQ(segments[5], (TIntSegment{{35, 0}, {-25, 0}}));
  EXPECT_EQ(segments[6], (TIntSegment{{15, 10}, {-5, 10}}));
  EXPECT_EQ(segments.back(), (TIntSegment{{35, 25}, {-25, 25}}));
}

TEST(TRulerDoubleArrow, ShortFittedRulerAndZeroLengthDrawNoTicks) {
  TRulerDoubleArrow shortRuler;
  shortRuler.X2 = 49;
  shortRuler.TickMarks = true;
  shortRuler.FitTicks = true;
  EXPECT_EQ(shortRuler.Segments(12).size(), 5u);

  TRulerDoubleArrow dot;
  dot.X1 = dot.X2 = 3;
  dot.Y1 = dot.Y2 = 4;
  for (const TIntSegment& s : dot.Segments(12)) {
    EXPECT_EQ(s.From, (TIntPoint{3, 4}));
    EXPECT_EQ(s.To, (TIntPoint{3, 4}));
  }
}

TEST(TMarker, ShapesByExactName) {
  EXPECT_EQ(MarkerShapeFromName("Triangle"), TMarkerShape::Triangle);
  EXPECT_EQ(MarkerShapeFromName("image"), TMarkerShape::Image);
  EXPECT_EQ(MarkerShapeFromName("Cross"), TMarkerShape::None);
  EXPECT_EQ(MarkerShapeFromName("square"), TMarkerShape::None);
}

TEST(TMarker, OutlinesAroundTheCentre) {
  TMarker marker("Square", 10);
  marker.X1 = 100;
  marker.Y1 = 200;
  TMarkerExtent extent = marker.MarkerExtent(1, false, {});
  EXPECT_EQ(marker.Outline(extent).Box, (TIntRect{90, 190, 110, 210}));

  marker.ShapeName = "Diamond";
  EXPECT_EQ(marker.Outline(extent).Polygon,
            (std::vector<TIntPoint>{{100, 190}, {110, 200}, {100, 210}, {90, 200}}));

  marker.ShapeName = "Triangle";  // r = 0.87 x 10 -> 9, q = 10 / 2 = 5
  EXPECT_EQ(marker.Outline(extent).Polygon,
            (std::vector<TIntPoint>{{100, 190}, {109, 205}, {91, 205}}));

  marker.ShapeName = "Cross";
  TMarkerOutline nothing = marker.Outline(extent);
  EXPECT_EQ(nothing.Shape, TMarkerShape::None);
  EXPECT_TRUE(nothing.Polygon.empty());
  EXPECT_EQ(nothing.Box, TIntRect{});
}

TEST(TMarker, SizesInScreenPixelsAndPicturesAreConverted) {
  TMarker marker("Circle", 4);
  TMarkerExtent extent = marker.MarkerExtent(2.5, true, {16, 8});
  EXPECT_EQ(extent.Width, 20);
  EXPECT_EQ(extent.Height, 20);
  EXPECT_EQ(marker.MarkerExtent(2.5, false, {16, 8}).Width, 8);

  marker.ShapeName = "image";
  extent = marker.MarkerExtent(2, true, {16, 8});
  EXPECT_EQ(extent.Width, 32);
  EXPECT_EQ(extent.Height, 16);
  marker.X1 = 50;
  marker.Y1 = 50;
  EXPECT_EQ(marker.Outline(extent).Box, (TIntRect{34, 42, 66, 58}));
}

TEST(TMarker, HitTestIncludesTheEdges) {
  TMarker marker("Square", 5);
  marker.X1 = 10;
  marker.Y1 = 10;
  TMarkerExtent extent = marker.MarkerExtent(1, false, {});
  EXPECT_TRUE(marker.HitTest(15, 5, extent));
  EXPECT_TRUE(marker.HitTest(10, 10, extent));
  EXPECT_FALSE(marker.HitTest(16, 10, extent));
  EXPECT_FALSE(marker.HitTest(10, 4, extent));
  // A picture marker is hit within half its size.
  marker.ShapeName = "image";
  extent = marker.MarkerExtent(1, false, {20, 6});
  EXPECT_TRUE(marker.HitTest(20, 13, extent));
  EXPECT_FALSE(marker.HitTest(10, 14, extent));
}

TEST(TPolyShape, MeasuresTheCurveThroughItsPoints) {
  test::TPointFactory f;
  TPolySpline shape;
  TXRPoint* a = f.At(0, 0);
  TXRPoint* b = f.At(100, 0);
  TXRPoint* c = f.At(100, 100);
  shape.Points = {a, a, b, b, c, c, a};
  EXPECT_NEAR(shape.CurveLength(), 200 + 100 * std::sqrt(2.0), 1e-9);
  EXPECT_NEAR(shape.CurveArea(), 50, 1e-9);
}

TEST(ShapeDrawing, LinesArrowsAndRectanglesUseTheShapesPenAndBrush) {
  TRecordingCanvas canvas;
  TArrow arrow;
  arrow.X2 = 100;
  arrow.Pen = {0x0000FF, TPenStyle::Solid, 2};
  arrow.Brush = {0x00FF00, TBrushStyle::Clear};
  arrow.Draw(canvas);
  ASSERT_EQ(canvas.Calls.size(), 3u);
  EXPECT_EQ(canvas.Calls[0].Points, (std::vector<TIntPoint>{{0, 0}, {100, 0}}));
  EXPECT_EQ(canvas.Calls[1].Points, (std::vector<TIntPoint>{{100, 0}, {80, -10}}));
  EXPECT_EQ(canvas.Calls[2].Points, (std::vector<TIntPoint>{{100, 0}, {80, 10}}));
  EXPECT_EQ(canvas.Pen(), arrow.Pen);
  EXPECT_EQ(canvas.Brush(), arrow.Brush);

  canvas.Calls.clear();
  TDotLine dotLine;
  dotLine.X1 = 10;
  dotLine.X2 = 50;
  dotLine.Brush = {0x00FF00, TBrushStyle::Solid};
  dotLine.Draw(canvas);
  ASSERT_EQ(canvas.Calls.size(), 2u);
  EXPECT_EQ(canvas.Calls[0].Kind, TCanvasCallKind::Rectangle);
  EXPECT_EQ(canvas.Calls[0].Box, (TIntRect{7, -3, 13, 3}));
  EXPECT_EQ(canvas.Calls[0].Brush.Style, TBrushStyle::Clear);

  canvas.Calls.clear();
  TRectangle rectangle;
  rectangle.X2 = 5;
  rectangle.Y2 = 6;
  rectangle.Draw(canvas);
  ASSERT_EQ(canvas.Calls.size(), 1u);
  EXPECT_EQ(canvas.Calls[0].Box, (TIntRect{0, 0, 5, 6}));
}

TEST(ShapeDrawing, RulerHeadSizeIsInScreenPixels) {
  // Half a pixel per unit: the 12-pixel head is 24 units long.
  TRecordingCanvas canvas;
  canvas.SetMapping(*TIsotropicMapping::FromScale({0, 0}, 0.5));
  TRulerDoubleArrow ruler;
  ruler.X2 = 100;
  ruler.Draw(canvas);
  ASSERT_EQ(canvas.Calls.size(), 5u);
  EXPECT_EQ(canvas.Calls[0].Points, (std::vector<TIntPoint>{{76, -12}, {100, 0}}));
}

TEST(ShapeDrawing, MarkersRestoreTheCanvasPenAndBrush) {
  TRecordingCanvas canvas;
  const TPen pen{0x123456, TPenStyle::Dot, 7};
  const TBrush brush{0x654321, TBrushStyle::Cross};
  canvas.SetPen(pen);
  canvas.SetBrush(brush);
  TMarker marker("Circle", 4);
  marker.X1 = 100;
  marker.Y1 = 50;
  marker.Pen = {0x0000FF, TPenStyle::Solid, 5};
  marker.Brush = {0x00FFFF, TBrushStyle::Clear};
  marker.Draw(canvas);
  ASSERT_EQ(canvas.Calls.size(), 1u);
  EXPECT_EQ(canvas.Calls[0].Kind, TCanvasCallKind::Ellipse);
  EXPECT_EQ(canvas.Calls[0].Box, (TIntRect{96, 46, 104, 54}));
  EXPECT_EQ(canvas.Calls[0].Pen, (TPen{0x0000FF, TPenStyle::Solid, 1}));
  EXPECT_EQ(canvas.Calls[0].Brush, (TBrush{0x00FFFF, TBrushStyle::Solid}));
  EXPECT_EQ(canvas.Pen(), pen);
  EXPECT_EQ(canvas.Brush(), brush);

  // Sizes in screen pixels at two pixels per unit, and pictures stretched into their box.
  canvas.SetMapping(*TIsotropicMapping::FromScale({0, 0}, 2));
  marker.SizeInScreenPixels = true;
  EXPECT_TRUE(marker.HitTest(102, 50, canvas));
  EXPECT_FALSE(marker.HitTest(103, 50, canvas));
  const std::vector<std::uint32_t> pixels(8 * 4, 0xFF0000);
  marker.ShapeName = "image";
  marker.Image = {pixels, 8, 4};
  canvas.Calls.clear();
  marker.Draw(canvas);
  ASSERT_EQ(canvas.Calls.size(), 1u);
  EXPECT_EQ(canvas.Calls[0].Kind, TCanvasCallKind::StretchImage);
  EXPECT_EQ(canvas.Calls[0].Box, (TIntRect{98, 49, 102, 51}));
  EXPECT_EQ(canvas.Calls[0].Source, (TIntRect{0, 0, 8, 4}));

  marker.ShapeName = "Cross";
  canvas.Calls.clear();
  marker.Draw(canvas);
  EXPECT_TRUE(canvas.Calls.empty());
}

TEST(ShapeDrawing, SplinesDrawTheirSamplesWithTheCanvasPen) {
  test::TPointFactory f;
  TPolySpline spline;
  spline.Points = {f.At(0, 0), f.At(100, 50), f.At(200, 0)};
  TRecordingCanvas canvas;
  canvas.SetPen({0x00FF00, TPenStyle::Solid, 3});
  spline.Draw(canvas);
  spline.DrawFilled(canvas);
  ASSERT_EQ(canvas.Calls.size(), 2u);
  EXPECT_EQ(canvas.Calls[0].Kind, TCanvasCallKind::Polyline);
  EXPECT_EQ(canvas.Calls[1].Kind, TCanvasCallKind::Polygon);
  EXPECT_EQ(canvas.Calls[0].Points, canvas.Calls[1].Points);
  EXPECT_EQ(canvas.Calls[0].Points.size(), spline.SplinePoints(10).size());
  EXPECT_EQ(canvas.Calls[0].Pen.Colour, 0x00FF00u);
  // Fewer than two samples draw nothing.
  spline.Points = {f.At(0, 0)};
  canvas.Calls.clear();
  spline.Draw(canvas);
  EXPECT_TRUE(canvas.Calls.empty());
}

}  // namespace
}  // namespace lumacet
