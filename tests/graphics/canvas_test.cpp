#include "graphics/canvas.h"

#include <gtest/gtest.h>

#include <cmath>

#include "graphics/recording_canvas.h"

namespace lumacet {
namespace {

TEST(TIsotropicMapping, TheSmallerRatioServesBothAxes) {
  // The tracing display at 100 %: a 1000 x 800 pixel area shows 2967 x 2374 units.
  std::optional<TIsotropicMapping> mapping = TIsotropicMapping::Make({100, 200}, {2967, 2374}, {0, 0}, {1000, 800});
  ASSERT_TRUE(mapping);
  EXPECT_DOUBLE_EQ(mapping->Scale(), 800.0 / 2374);
  // A 100 mm line spans about 337 pixels.
  TFloatPoint a = mapping->ToDevice({100, 200});
  TFloatPoint b = mapping->ToDevice({1100, 200});
  EXPECT_EQ(a, (TFloatPoint{0, 0}));
  EXPECT_NEAR(b.X - a.X, 337, 0.5);
  // Conversions both ways.
  TFloatPoint back = mapping->ToLogical(mapping->ToDevice({1234.5, -77}));
  EXPECT_NEAR(back.X, 1234.5, 1e-9);
  EXPECT_NEAR(back.Y, -77, 1e-9);
}

TEST(TIsotropicMapping, NegativeExtentsFlipTheirAxisAndZeroExtentsAreRefused) {
  std::optional<TIsotropicMapping> mapping = TIsotropicMapping::Make({0, 0}, {100, 100}, {0, 500}, {500, -1000});
  ASSERT_TRUE(mapping);
  EXPECT_DOUBLE_EQ(mapping->ScaleX(), 5);
  EXPECT_DOUBLE_EQ(mapping->ScaleY(), -5);
  EXPECT_EQ(mapping->ToDevice({10, 10}), (TFloatPoint{50, 450}));
  EXPECT_FALSE(TIsotropicMapping::Make({0, 0}, {0, 100}, {0, 0}, {100, 100}));
  EXPECT_FALSE(TIsotropicMapping::Make({0, 0}, {100, 100}, {0, 0}, {100, 0}));
  EXPECT_FALSE(TIsotropicMapping::FromScale({0, 0}, 0));
  EXPECT_FALSE(TIsotropicMapping::FromScale({0, 0}, NAN));
  EXPECT_EQ(TIsotropicMapping::FromScale({10, 20}, 2, {1, 1})->ToDevice({11, 21}), (TFloatPoint{3, 3}));
}

TEST(ArcAngles, CounterClockwiseAsDisplayed) {
  // From the right to the top of the box: a quarter.
  std::optional<TArcAngles> quarter = ArcAngles({-50, -50, 50, 50}, {100, 0}, {0, -100});
  ASSERT_TRUE(quarter);
  EXPECT_DOUBLE_EQ(quarter->StartDegrees, 0);
  EXPECT_DOUBLE_EQ(quarter->SweepDegrees, 90);
  // The other way round: three quarters.
  EXPECT_DOUBLE_EQ(ArcAngles({-50, -50, 50, 50}, {0, -100}, {100, 0})->SweepDegrees, 270);
  // Equal directions draw the whole ellipse; reversed corners are the same box.
  std::optional<TArcAngles> full = ArcAngles({50, 50, -50, -50}, {0, 10}, {0, 99});
  ASSERT_TRUE(full);
  EXPECT_DOUBLE_EQ(full->StartDegrees, 270);
  EXPECT_DOUBLE_EQ(full->SweepDegrees, 360);
  // On an ellipse the angle is that of the point on the ray to the radial point.
  EXPECT_DOUBLE_EQ(ArcAngles({-100, -50, 100, 50}, {100, -50}, {0, 0})->StartDegrees, 45);
  EXPECT_FALSE(ArcAngles({0, 0, 0, 10}, {1, 0}, {0, 1}));
}

TEST(TRecordingCanvas, RecordsEachCallWithItsState) {
  TRecordingCanvas canvas;
  canvas.SetPen({0x0000FF, TPenStyle::Dash, 2});
  canvas.SetBrush({0x00FF00, TBrushStyle::Cross});
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  canvas.MoveTo({1, 2});
  canvas.LineTo({3, 4});
  canvas.LineTo({5, 6});
  ASSERT_EQ(canvas.Calls.size(), 2u);
  EXPECT_EQ(canvas.Calls[1].Kind, TCanvasCallKind::Polyline);
  EXPECT_EQ(canvas.Calls[1].Points, (std::vector<TIntPoint>{{3, 4}, {5, 6}}));
  EXPECT_EQ(canvas.Calls[1].Pen, (TPen{0x0000FF, TPenStyle::Dash, 2}));
  EXPECT_EQ(canvas.Calls[1].Brush, (TBrush{0x00FF00, TBrushStyle::Cross}));
  EXPECT_EQ(canvas.Calls[1].BackgroundMode, TBackgroundMode::Transparent);
  EXPECT_EQ(canvas.PenPosition(), (TIntPoint{5, 6}));
}

TEST(TRecordingCanvas, FakeTextMetricsAndScreenPixels) {
  TRecordingCanvas canvas({800, 600}, 2.5);
  canvas.SetFont({"DejaVu Sans", 20});
  // Half the height per character, whatever its UTF-8 length; cells 1.2 times the height.
  EXPECT_EQ(canvas.TextExtent("Ab\xC3\xA9"), (TIntSize{30, 24}));
  canvas.SetMapping(*TIsotropicMapping::FromScale({0, 0}, 0.5));
  EXPECT_DOUBLE_EQ(canvas.ScreenPixelsToLogical(4), 20);
  EXPECT_DOUBLE_EQ(canvas.DeviceToLogical(3), 6);
  EXPECT_EQ(canvas.DeviceToLogical(TFloatPoint{3, 4}), (TFloatPoint{6, 8}));
  canvas.TextOut({7, 9}, "x");
  ASSERT_EQ(canvas.Calls.size(), 1u);
  EXPECT_EQ(canvas.Calls[0].Text, "x");
  EXPECT_EQ(canvas.Calls[0].Font.Height, 20);
  EXPECT_EQ(canvas.Calls[0].Mapping.Scale(), 0.5);
}

TEST(TCanvasState, SaveRestoreNestAndClipsIntersectInDevicePixels) {
  TRecordingCanvas canvas;
  canvas.SetMapping(*TIsotropicMapping::FromScale({0, 0}, 2));
  canvas.SetPen({0x0000FF, TPenStyle::Dash, 2});
  canvas.Save();
  canvas.IntersectClip({10, 10, 50, 40});
  EXPECT_EQ(canvas.DeviceClip(), (TIntRect{20, 20, 100, 80}));
  canvas.Save();
  canvas.SetPen({});
  canvas.SetMapping({});
  // The identity mapping now: the second rectangle is taken in device pixels and only
  // the overlap stays.
  canvas.IntersectClip({60, 0, 300, 300});
  EXPECT_EQ(canvas.DeviceClip(), (TIntRect{60, 20, 100, 80}));
  canvas.IntersectClip({200, 200, 300, 300});  // meets nothing: an empty clip
  EXPECT_EQ(canvas.DeviceClip(), (TIntRect{200, 200, 200, 200}));
  canvas.Rectangle({0, 0, 5, 5});
  canvas.Restore();
  EXPECT_EQ(canvas.DeviceClip(), (TIntRect{20, 20, 100, 80}));
  EXPECT_EQ(canvas.Pen(), (TPen{0x0000FF, TPenStyle::Dash, 2}));
  EXPECT_EQ(canvas.Mapping().Scale(), 2);
  canvas.Restore();
  EXPECT_FALSE(canvas.DeviceClip());
  canvas.Restore();  // unmatched: nothing changes
  EXPECT_FALSE(canvas.DeviceClip());
  canvas.Rectangle({0, 0, 5, 5});
  ASSERT_EQ(canvas.Calls.size(), 2u);
  EXPECT_EQ(canvas.Calls[0].Clip, (TIntRect{200, 200, 200, 200}));
  EXPECT_FALSE(canvas.Calls[1].Clip);
  EXPECT_TRUE(canvas.NewPage());
  EXPECT_EQ(canvas.Calls.back().Kind, TCanvasCallKind::NewPage);
}

}  // namespace
}  // namespace lumacet
