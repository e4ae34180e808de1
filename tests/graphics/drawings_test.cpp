#include "graphics/drawings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "geometry/spline.h"
#include "graphics/recording_canvas.h"
#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "model/point_geometry.h"
#include "model/test_points.h"

namespace lumacet {
namespace {

using Kind = TCanvasCallKind;

class DrawingsTest : public ::testing::Test {
 protected:
  TXRGraphic& Graphic(TGraphicKind kind, std::vector<TXRPoint*> points) {
    auto& graphic = *graphics_.emplace_back(std::make_unique<TXRGraphic>());
    graphic.SetKind(KindNumber(kind));
    graphic.Points.assign(points.begin(), points.end());
    return graphic;
  }

  // What DrawShape paints with the recording canvas's default pen and brush.
  std::vector<TCanvasCall> Shape(const TXRGraphic& graphic, const TRenderOptions& options = {}) {
    TRecordingCanvas canvas;
    DrawShape(canvas, graphic, options);
    return canvas.Calls;
  }

  static std::vector<TIntPoint> Rounded(const std::vector<TFloatPoint>& points) {
    std::vector<TIntPoint> rounded;
    for (TFloatPoint p : points) rounded.push_back(RoundSaturated(p));
    return rounded;
  }

  test::TPointFactory f;
  std::vector<std::unique_ptr<TXRGraphic>> graphics_;
};

MATCHER_P2(IsCall, kind, points, "") { return arg.Kind == kind && arg.Points == points; }

using Points = std::vector<TIntPoint>;

TEST_F(DrawingsTest, LinesBreakOnInvalidPointsUnlessTheKindSaysNot) {
  TXRPoint* a = f.At(0, 0);
  TXRPoint* b = f.Invalid(50, 50);
  TXRPoint* c = f.At(100, 0);
  TXRPoint* d = f.At(100.5, 20.5);  // rounds to even: (100, 20)
  EXPECT_TRUE(Shape(Graphic(TGraphicKind::Line, {a, b, c})).empty());
  EXPECT_THAT(Shape(Graphic(TGraphicKind::Line, {a, b, c, d})),
              ::testing::ElementsAre(IsCall(Kind::Polyline, Points{{100, 0}, {100, 20}})));
  EXPECT_THAT(Shape(Graphic(TGraphicKind::LineNoBreaks, {a, b, c, d})),
              ::testing::ElementsAre(IsCall(Kind::Polyline, Points{{0, 0}, {100, 0}, {100, 20}})));
  // Below the least number of entries nothing is drawn, valid or not.
  EXPECT_TRUE(Shape(Graphic(TGraphicKind::Line, {a})).empty());
}

TEST_F(DrawingsTest, PairsJoinEntriesTwoByTwo) {
  TXRPoint* a = f.At(0, 0);
  TXRPoint* b = f.At(10, 0);
  TXRPoint* c = f.At(20, 0);
  EXPECT_THAT(Shape(Graphic(TGraphicKind::LinePairs, {a, b, c})),
              ::testing::ElementsAre(IsCall(Kind::Polyline, Points{{0, 0}, {10, 0}})));
  // A pair with an invalid point draws nothing, and does not shift the pairing.
  TXRPoint* bad = f.Invalid();
  EXPECT_THAT(Shape(Graphic(TGraphicKind::LinePairs, {a, bad, bad, c, b, c})),
              ::testing::ElementsAre(IsCall(Kind::Polyline, Points{{10, 0}, {20, 0}})));
}

TEST_F(DrawingsTest, PolygonThroughTheValidPoints) {
  EXPECT_THAT(Shape(Graphic(TGraphicKind::Polygon, {f.At(0, 0), f.Invalid(), f.At(10, 0), f.At(10, 10)})),
              ::testing::ElementsAre(IsCall(Kind::Polygon, Points{{0, 0}, {10, 0}, {10, 10}})));
}

TEST_F(DrawingsTest, CurvesSwitchToStraightStretchesAtDoubledPoints) {
  TXRPoint* a = f.At(0, 0);
  TXRPoint* b = f.At(100, 80);
  TXRPoint* c = f.At(200, 0);
  TXRPoint* d = f.At(300, 0);
  TXRPoint* e = f.At(400, 0);
  TXRPoint* ff = f.At(500, 90);
  TXRPoint* g = f.At(600, 0);
  std::vector<TXRPoint*> points{a, b, c, c, d, e, e, ff, g};
  std::vector<TCanvasCall> calls = Shape(Graphic(TGraphicKind::Spline, points));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Kind, Kind::Polyline);
  EXPECT_EQ(calls[0].Points, Rounded(SplinePoints(points, 10)));
  // The straight stretch C-D-E appears as three consecutive vertices.
  const Points straight{{200, 0}, {300, 0}, {400, 0}};
  auto at = std::search(calls[0].Points.begin(), calls[0].Points.end(), straight.begin(), straight.end());
  EXPECT_NE(at, calls[0].Points.end());
  // The curved stretches have samples between their control points.
  EXPECT_GT(calls[0].Points.size(), 30u);
}

TEST_F(DrawingsTest, SplineWithAnInvalidPointFallsBackToTheLinePicture) {
  TXRPoint* a = f.At(0, 0);
  TXRPoint* b = f.At(100, 80);
  TXRPoint* c = f.At(200, 0);
  TXRPoint* bad = f.Invalid();
  EXPECT_THAT(Shape(Graphic(TGraphicKind::Spline, {a, b, bad, c})),
              ::testing::ElementsAre(IsCall(Kind::Polyline, Points{{0, 0}, {100, 80}})));
  // "Spline (no breaks)" always draws the curve through the valid points.
  std::vector<TCanvasCall> curve = Shape(Graphic(TGraphicKind::SplineNoBreaks, {a, b, bad, c}));
  ASSERT_EQ(curve.size(), 1u);
  EXPECT_EQ(curve[0].Points, Rounded(SplinePoints(std::vector<TXRPoint*>{a, b, c}, 10)));
}

TEST_F(DrawingsTest, ClosedSplineIsOneFilledPolygon) {
  TXRPoint* a = f.At(0, 0);
  TXRPoint* b = f.At(100, 0);
  TXRPoint* c = f.At(50, 80);
  std::vector<TCanvasCall> calls = Shape(Graphic(TGraphicKind::SplineClosed, {a, b, c}));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Kind, Kind::Polygon);
  EXPECT_EQ(calls[0].Points, Rounded(SplinePoints(std::vector<TXRPoint*>{a, b, c}, 10)));
  // Two points: a polygon folded onto the chord, which encloses nothing.
  calls = Shape(Graphic(TGraphicKind::SplineClosed, {a, b}));
  ASSERT_EQ(calls.size(), 1u);
  for (TIntPoint p : calls[0].Points) EXPECT_EQ(p.Y, 0);
}

TEST_F(DrawingsTest, MarkersOfEveryShape) {
  TXRGraphic& markers = Graphic(TGraphicKind::Markers, {f.At(500, 400), f.Invalid()});
  EXPECT_THAT(Shape(markers), ::testing::ElementsAre(IsCall(Kind::Polyline, Points{{400, 400}, {600, 400}}),
                                                     IsCall(Kind::Polyline, Points{{500, 300}, {500, 500}})));
  markers.Size = 10;
  markers.MarkerShape = 1;
  std::vector<TCanvasCall> calls = Shape(markers);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Kind, Kind::Rectangle);
  EXPECT_EQ(calls[0].Box, (TIntRect{490, 390, 510, 410}));
  markers.MarkerShape = 2;
  calls = Shape(markers);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Kind, Kind::Ellipse);
  EXPECT_EQ(calls[0].Box, (TIntRect{490, 390, 510, 410}));
  markers.MarkerShape = 3;
  EXPECT_THAT(Shape(markers),
              ::testing::ElementsAre(IsCall(Kind::Polygon, Points{{500, 390}, {510, 400}, {500, 410}, {490, 400}})));
  markers.MarkerShape = 4;  // r = 0.87 x 10 -> 9, q = 5
  EXPECT_THAT(Shape(markers),
              ::testing::ElementsAre(IsCall(Kind::Polygon, Points{{500, 390}, {509, 405}, {491, 405}})));
  // A shape number from a damaged file draws the default cross.
  markers.MarkerShape = 9;
  EXPECT_EQ(Shape(markers).size(), 2u);
}

TEST_F(DrawingsTest, PiesAndArcsMarkTheAngleAtTheSecondPoint) {
  TXRPoint* p0 = f.At(100, 0);
  TXRPoint* centre = f.At(0, 0);
  TXRPoint* p2 = f.At(0, -100);
  TXRGraphic& pie = Graphic(TGraphicKind::Pie, {p0, centre, p2});
  pie.Size = 50;
  std::vector<TCanvasCall> calls = Shape(pie);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Kind, Kind::Pie);
  EXPECT_EQ(calls[0].Box, (TIntRect{-50, -50, 50, 50}));
  EXPECT_EQ(calls[0].Points, (Points{{100, 0}, {0, -100}}));
  // A quarter counter-clockwise from the right to the top: the upper right quadrant.
  std::optional<TArcAngles> angles = ArcAngles(calls[0].Box, calls[0].Points[0], calls[0].Points[1]);
  ASSERT_TRUE(angles);
  EXPECT_DOUBLE_EQ(angles->StartDegrees, 0);
  EXPECT_DOUBLE_EQ(angles->SweepDegrees, 90);

  // The variable kinds take the radius from the fourth point.
  TXRGraphic& arc = Graphic(TGraphicKind::ArcVariable, {p0, centre, p2, f.At(30, 40)});
  calls = Shape(arc);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Kind, Kind::Arc);
  EXPECT_EQ(calls[0].Box, (TIntRect{-50, -50, 50, 50}));

  // Any invalid entry, or too few entries, and nothing is drawn.
  EXPECT_TRUE(Shape(Graphic(TGraphicKind::Pie, {p0, centre, f.Invalid()})).empty());
  EXPECT_TRUE(Shape(Graphic(TGraphicKind::Arc, {p0, centre, p2, f.Invalid()})).empty());
  EXPECT_TRUE(Shape(Graphic(TGraphicKind::PieVariable, {p0, centre, p2})).empty());
}

TEST_F(DrawingsTest, ToothTemplateFittedToTwoLandmarks) {
  TXRGraphic& incisor = Graphic(TGraphicKind::UpperIncisor, {f.At(1000, 1000), f.At(1000, 265)});
  std::vector<TCanvasCall> calls = Shape(incisor);
  ASSERT_EQ(calls.size(), 2u);  // crown, then root
  EXPECT_EQ(calls[0].Kind, Kind::Polygon);
  EXPECT_EQ(calls[0].Points.front(), (TIntPoint{912, 673}));
  EXPECT_EQ(calls[0].Points.back(), (TIntPoint{912, 673}));
  EXPECT_NE(std::find(calls[1].Points.begin(), calls[1].Points.end(), TIntPoint{1000, 265}), calls[1].Points.end());
  // Size below zero: the other side.
  incisor.Size = -1;
  EXPECT_EQ(Shape(incisor)[0].Points.front(), (TIntPoint{1088, 673}));
  // Coincident landmarks collapse every outline onto the first.
  for (const TCanvasCall& call : Shape(Graphic(TGraphicKind::LowerMolarFrontal, {f.At(7, 8), f.At(7, 8)}))) {
    for (TIntPoint p : call.Points) EXPECT_EQ(p, (TIntPoint{7, 8}));
  }
  EXPECT_TRUE(Shape(Graphic(TGraphicKind::UpperMolar, {f.At(0, 0), f.Invalid()})).empty());
}

TEST_F(DrawingsTest, ShapeAnalysisKindsDrawThroughTheConsensusInterface) {
  TXRPCA pca;
  TXRPoint* l0 = f.At(10, 10);
  TXRPoint* l1 = f.Invalid();
  pca.Points = {l0, l1};
  TXRGraphic& markers = Graphic(TGraphicKind::PcaConsensusMarkers, {});
  markers.Points = {&pca};
  markers.Size = 5;
  TXRGraphic& joins = Graphic(TGraphicKind::PcaJoinPoints, {});
  joins.Points = {&pca};

  // Without a consensus provider, or when the analysis cannot be evaluated, nothing.
  EXPECT_TRUE(Shape(markers).empty());
  TRenderOptions options;
  options.PcaConsensus = [](TXRPCA&) { return std::vector<TFloatPoint>{}; };
  EXPECT_TRUE(Shape(joins, options).empty());

  // More consensus points than landmarks: joins stop at the shorter list; invalid
  // landmarks are skipped.
  options.PcaConsensus = [&](TXRPCA& analysed) {
    EXPECT_EQ(&analysed, &pca);
    return std::vector<TFloatPoint>{{0, 0}, {20, 20}, {40, 40}};
  };
  EXPECT_THAT(Shape(joins, options), ::testing::ElementsAre(IsCall(Kind::Polyline, Points{{0, 0}, {10, 10}})));
  EXPECT_EQ(Shape(markers, options).size(), 6u);  // three crosses
}

TEST_F(DrawingsTest, PenAndBrushAsDefinedOrByPosition) {
  TXRVariable variable;
  TXRGraphic& graphic = Graphic(TGraphicKind::Polygon, {f.At(0, 0), f.At(10, 0), f.At(0, 10)});
  graphic.Colour = 0x112233;
  graphic.PenStyle = 1;
  graphic.LineWidth = 3;
  graphic.BrushStyle = 6;
  graphic.ColourVariable = &variable;

  TRenderOptions options;
  TRecordingCanvas canvas;
  DrawWith(canvas, graphic, kPositionAsDefined, options);
  ASSERT_EQ(canvas.Calls.size(), 1u);
  EXPECT_EQ(canvas.Calls[0].Pen, (TPen{0x112233, TPenStyle::Dash, 3, TPenMode::Copy}));
  EXPECT_EQ(canvas.Calls[0].Brush, (TBrush{0x112233, TBrushStyle::Cross}));
  EXPECT_EQ(canvas.Calls[0].BackgroundMode, TBackgroundMode::Transparent);

  // The colour variable colours the pen only, when it has a colour to give.
  options.DeviationColour = [&](TXRVariable& v) -> std::optional<std::uint32_t> {
    EXPECT_EQ(&v, &variable);
    return 0x0000FF;
  };
  graphic.Opaque = true;
  canvas.Calls.clear();
  DrawWith(canvas, graphic, kPositionAsDefined, options);
  EXPECT_EQ(canvas.Calls[0].Pen.Colour, 0x0000FFu);
  EXPECT_EQ(canvas.Calls[0].Brush.Colour, 0x112233u);
  EXPECT_EQ(canvas.Calls[0].BackgroundMode, TBackgroundMode::Opaque);
  EXPECT_EQ(canvas.Calls[0].BackgroundColour, 0xFFFFFFu);
  options.DeviationColour = [](TXRVariable&) { return std::optional<std::uint32_t>(); };
  canvas.Calls.clear();
  DrawWith(canvas, graphic, kPositionAsDefined, options);
  EXPECT_EQ(canvas.Calls[0].Pen.Colour, 0x112233u);

  // A position's pen replaces colour, width and style; the fill style stays.
  options.PositionPens[2] = {0x00FF00, 2, 5};
  canvas.Calls.clear();
  DrawWith(canvas, graphic, 2, options);
  EXPECT_EQ(canvas.Calls[0].Pen, (TPen{0x00FF00, TPenStyle::Dot, 5, TPenMode::Copy}));
  EXPECT_EQ(canvas.Calls[0].Brush, (TBrush{0x00FF00, TBrushStyle::Cross}));

  // Styles from a damaged file fall back to the defaults.
  graphic.PenStyle = 77;
  graphic.BrushStyle = -3;
  graphic.LineWidth = 1000;
  canvas.Calls.clear();
  DrawWith(canvas, graphic, kPositionAsDefined, options);
  EXPECT_EQ(canvas.Calls[0].Pen.Style, TPenStyle::Solid);
  EXPECT_EQ(canvas.Calls[0].Pen.Width, 0);
  EXPECT_EQ(canvas.Calls[0].Brush.Style, TBrushStyle::Clear);
}

TEST_F(DrawingsTest, OnDemandDrawingsOnlyWhenForced) {
  TXRGraphic& graphic = Graphic(TGraphicKind::Line, {f.At(0, 0), f.At(10, 0)});
  graphic.DrawOption = 1;
  TRecordingCanvas canvas;
  TRenderOptions options;
  DrawWith(canvas, graphic, kPositionAsDefined, options);
  DrawGhost(canvas, graphic, options);
  EXPECT_TRUE(canvas.Calls.empty());
  options.ForceDraw = true;
  DrawWith(canvas, graphic, kPositionAsDefined, options);
  DrawGhost(canvas, graphic, options);
  ASSERT_EQ(canvas.Calls.size(), 2u);
  EXPECT_EQ(canvas.Calls[1].Pen, (TPen{0, TPenStyle::Dot, 0, TPenMode::Copy}));
  EXPECT_EQ(canvas.Calls[1].Brush.Style, TBrushStyle::Clear);
  // The measurement visual draws the shape whatever its draw mode.
  EXPECT_EQ(Shape(graphic).size(), 1u);
}

TEST_F(DrawingsTest, PaintingLeavesTheModelAsItWas) {
  TXRVariable variable;
  TXRPoint* a = f.At(1.25, 2.5);
  TXRPoint* b = f.At(30, 40);
  TXRGraphic& graphic = Graphic(TGraphicKind::Spline, {a, b, b, a});
  graphic.DrawOption = 1;
  graphic.ColourVariable = &variable;
  graphic.Colour = 0x123456;
  TXRGraphic before;
  before.Assign(graphic);

  TRenderOptions options;
  options.ForceDraw = true;
  options.DeviationColour = [](TXRVariable&) { return std::optional<std::uint32_t>(0xFF); };
  TRecordingCanvas canvas;
  DrawWith(canvas, graphic, kPositionAsDefined, options);
  DrawWith(canvas, graphic, 4, options);
  DrawGhost(canvas, graphic, options);
  EXPECT_FALSE(canvas.Calls.empty());

  EXPECT_EQ(graphic.DrawOption, before.DrawOption);
  EXPECT_EQ(graphic.Colour, before.Colour);
  EXPECT_EQ(graphic.ColourVariable, before.ColourVariable);
  EXPECT_EQ(graphic.Points, before.Points);
  EXPECT_EQ(graphic.Kind(), before.Kind());
  EXPECT_EQ(a->GetX(), 1.25);
  EXPECT_EQ(a->GetY(), 2.5);
  EXPECT_TRUE(b->IsValid());
}

}  // namespace
}  // namespace lumacet
