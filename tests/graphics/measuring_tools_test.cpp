#include "graphics/measuring_tools.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/recording_canvas.h"

namespace lumacet {
namespace {

TEST(RulerTest, ReadOutsInMillimetres) {
  EXPECT_EQ(RulerReadOut(234.6, false, '.'), "23.46 mm");
  EXPECT_EQ(RulerReadOut(234.6, false, ','), "23,46 mm");
  // The magnification tool adds the excess over whole 5 mm: 52 mm over 50 mm is 4 %.
  EXPECT_EQ(RulerReadOut(520, true, '.'), "52.00 mm (4.0%)");
  EXPECT_EQ(RulerReadOut(40, true, '.'), "4.00 mm");
  EXPECT_EQ(RulerMeasuredText(520, '.'), "52");
  // dx and dy are signed, y positive downwards.
  EXPECT_EQ(RulerStatus({100, 100}, {70, 140}, '.'),
            (std::array<std::string, 3>{"dx: -3 mm", "dy: 4 mm", "dist: 5 mm"}));
}

TEST(RulerTest, ReadOutPlacesCycle) {
  TRuler ruler{{0, 0}, {100, 0}};
  EXPECT_EQ(ReadOutCentre(ruler.Start, ruler.End, 0, 45), (TFloatPoint{145, 0}));
  EXPECT_EQ(ReadOutCentre(ruler.Start, ruler.End, 1, 45), (TFloatPoint{55, 0}));
  EXPECT_EQ(ReadOutCentre(ruler.Start, ruler.End, 2, 45), (TFloatPoint{45, 0}));
  EXPECT_EQ(ReadOutCentre(ruler.Start, ruler.End, 3, 45), (TFloatPoint{-45, 0}));
  for (int i = 0; i < 4; ++i) ruler.NextReadOutPlace();
  EXPECT_EQ(ruler.ReadOutPlace, 0);
  // A ruler without length has no direction: the read-out sits on the end.
  EXPECT_EQ(ReadOutCentre({5, 5}, {5, 5}, 0, 45), (TFloatPoint{5, 5}));
}

TEST(RulerTest, DrawsTheArrowAndACentredReadOutOnWhite) {
  // Two device pixels per tracing unit: screen-pixel sizes halve in tracing units.
  TRecordingCanvas canvas;
  canvas.SetMapping(*TIsotropicMapping::FromScale({0, 0}, 2));
  const TRuler ruler{{0, 0}, {0, 300}};
  DrawRuler(canvas, ruler, {0x0000FF, false}, '.');
  ASSERT_FALSE(canvas.Calls.empty());
  const TCanvasCall& text = canvas.Calls.back();
  ASSERT_EQ(text.Kind, TCanvasCallKind::Text);
  EXPECT_EQ(text.Text, "30.00 mm");
  EXPECT_EQ(text.Font.Height, 10);  // 20 screen pixels
  EXPECT_EQ(text.BackgroundMode, TBackgroundMode::Opaque);
  EXPECT_EQ(text.BackgroundColour, 0xFFFFFFu);
  // 45 screen pixels beyond the moving end, centred: 8 characters of 5 by a cell of 12.
  // 322.5 - 6 rounds to the even 316.
  EXPECT_EQ(text.Points[0], (TIntPoint{-20, 316}));
  // Five strokes: no ticks without the option.
  EXPECT_EQ(std::count_if(canvas.Calls.begin(), canvas.Calls.end(),
                          [](const TCanvasCall& c) { return c.Kind == TCanvasCallKind::Polyline; }),
            5);
  EXPECT_EQ(canvas.Calls.front().Pen, (TPen{0x0000FF, TPenStyle::Solid, 0}));
}

TEST(ProtractorTest, AngleAndSupplement) {
  TProtractor protractor;
  EXPECT_FALSE(protractor.Angle());
  protractor.First = TIntSegment{{0, 0}, {1000, 0}};
  protractor.Second = TIntSegment{{0, 0}, {866, -500}};
  ASSERT_TRUE(protractor.Angle());
  EXPECT_NEAR(*protractor.Angle(), 30, 0.01);
  EXPECT_EQ(ProtractorReadOut(*protractor.Angle(), '.'), "30.0\u00B0 (150.0\u00B0)");
  EXPECT_EQ(ProtractorStatus(*protractor.Angle(), '.'), " angle: 30.0\u00B0 supplemental: 150.0\u00B0");
  // Clockwise or counter-clockwise, the read-out is the same.
  protractor.Second = TIntSegment{{0, 0}, {866, 500}};
  EXPECT_NEAR(*protractor.Angle(), 30, 0.01);

  TRecordingCanvas canvas;
  DrawProtractor(canvas, protractor, {0x0000FF, true}, '.');
  ASSERT_EQ(canvas.Calls.size(), 3u);
  EXPECT_EQ(canvas.Calls[0].Pen.Style, TPenStyle::Solid);
  EXPECT_EQ(canvas.Calls[1].Pen.Style, TPenStyle::Dot);
  EXPECT_EQ(canvas.Calls[2].Text, "30.0\u00B0 (150.0\u00B0)");
}

TEST(MagnificationDialogTest, LifeSizeAndMagnification) {
  EXPECT_EQ(InitialLifeSize(52), 50);
  EXPECT_EQ(InitialLifeSize(5), 5);
  // Under 5 mm no life size can be offered (it would divide by zero).
  EXPECT_FALSE(InitialLifeSize(4.9));
  EXPECT_EQ(MagnificationText(DialogMagnification(52, 50), '.'), "4");
  EXPECT_EQ(MagnificationText(DialogMagnification(51, 50), ','), "2");
  EXPECT_EQ(MagnificationText(DialogMagnification(50.5, 50), ','), "1");
  EXPECT_EQ(MagnificationText(DialogMagnification(52, 0), '.'), "");
  EXPECT_TRUE(CanSetMagnification(DialogMagnification(52, 50)));
  // -100 % would divide the tracing by zero when corrected to life size.
  EXPECT_FALSE(CanSetMagnification(DialogMagnification(0, 50)));
  EXPECT_TRUE(CanSetMagnification(1000));
  EXPECT_FALSE(CanSetMagnification(1000.5));
  EXPECT_FALSE(CanSetMagnification(std::nullopt));
}

}  // namespace
}  // namespace lumacet
