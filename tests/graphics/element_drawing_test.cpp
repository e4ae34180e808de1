#include <gtest/gtest.h>

#include "graphics/element_drawing.h"
#include "graphics/recording_canvas.h"
#include "model/point_elements.h"

namespace lumacet {
namespace {

TEST(ElementDrawing, PointsAreCirclesWithTheirNamesAndSnakesTheirColouredSplines) {
  TRecordingCanvas canvas;
  const TMarkerSettings marker{0x008000, 0xFF0000, 3, "Circle"};
  TDigPoint point("S");
  DrawElement(canvas, point, marker);
  EXPECT_TRUE(canvas.Calls.empty());  // not placed yet: nothing
  point.SetXY(100.4, 200.6);
  DrawElement(canvas, point, marker);
  ASSERT_EQ(canvas.Calls.size(), 2u);
  EXPECT_EQ(canvas.Calls[0].Kind, TCanvasCallKind::Ellipse);
  EXPECT_EQ(canvas.Calls[0].Box, (TIntRect{96, 197, 104, 205}));  // 4 pixels round the rounded point
  EXPECT_EQ(canvas.Calls[0].Brush.Colour, 0xFFFF00u);             // cyan
  EXPECT_EQ(canvas.Calls[1].Text, "S");
  EXPECT_EQ(canvas.Calls[1].Points.front(), (TIntPoint{110, 191}));

  canvas.Calls.clear();
  TDigSnake snake("Chin");
  snake.AddPoint(0, 0, true);
  snake.AddPoint(0, 0, true);  // on the one before: left out
  snake.AddPoint(50, 20, true);
  snake.AddPoint(90, 0, false);  // not valid: left out
  snake.AddPoint(100, 60, true);
  EXPECT_EQ(SnakeOutline(snake).size(), 3u);
  DrawElement(canvas, snake, marker);
  ASSERT_GE(canvas.Calls.size(), 2u);
  EXPECT_EQ(canvas.Calls[0].Kind, TCanvasCallKind::Polyline);
  EXPECT_EQ(canvas.Calls[0].Pen.Colour, 0x00FFFFu);  // yellow until placed
  EXPECT_EQ(canvas.Calls[0].Points.front(), (TIntPoint{0, 0}));
  EXPECT_EQ(canvas.Calls[0].Points.back(), (TIntPoint{100, 60}));
  snake.Placed = true;
  canvas.Calls.clear();
  DrawElement(canvas, snake, marker);
  EXPECT_EQ(canvas.Calls[0].Pen.Colour, 0x0000FFu);  // red once placed
  // Its own points are circles without names.
  canvas.Calls.clear();
  DrawElement(canvas, *snake.Points[2], marker);
  ASSERT_EQ(canvas.Calls.size(), 1u);
  EXPECT_EQ(canvas.Calls[0].Kind, TCanvasCallKind::Ellipse);
}

}  // namespace
}  // namespace lumacet
