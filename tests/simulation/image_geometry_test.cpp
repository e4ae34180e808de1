// The image under its tracing: quarter turns, flips and resampled rotation of the pixels
// at full depth with their undo, the lock carrying the tracing along, the "Scale Image"
// applies, and two-point alignment in every combination of its options.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>

#include "geometry/plane_geometry.h"
#include "imaging/image_frame.h"
#include "imaging/pixel_geometry.h"
#include "model/kind_codes.h"
#include "population/population_fixture.h"
#include "simulation/image_geometry.h"

namespace lumacet {
namespace {

using test::PointType;
using test::Radiograph;

// A W x H bitmap whose pixel (x, y) is 10 y + x + 1, and 16-bit grey samples of 1000 times that.
TBitmap32 Numbered(int w, int h) {
  TBitmap32 b;
  b.Resize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.Row(y)[x] = static_cast<std::uint32_t>(10 * y + x + 1);
  return b;
}

TRawImage NumberedSamples(int w, int h) {
  TRawImage raw;
  raw.Width = w;
  raw.Height = h;
  raw.SamplesPerPixel = 1;
  raw.BitsPerSample = 16;
  raw.Samples.resize(static_cast<size_t>(w * h * 2));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint16_t v = static_cast<std::uint16_t>(1000 * (10 * y + x + 1));
      std::memcpy(&raw.Samples[static_cast<size_t>((y * w + x) * 2)], &v, 2);
    }
  return raw;
}

std::uint16_t Sample(const TRawImage& raw, int x, int y) {
  std::uint16_t v;
  std::memcpy(&v, &raw.Samples[static_cast<size_t>((y * raw.Width + x) * 2)], 2);
  return v;
}

struct TImageGeometryTest : ::testing::Test {
  TImageGeometryTest() {
    xray->Image.Display = Numbered(3, 2);
    xray->Image.Raw = NumberedSamples(3, 2);
    xray->PixelWidth = 2;
    xray->PixelHeight = 3;
    xray->ImageOriginX = 10;
    xray->ImageOriginY = 20;
  }
  TFloatPoint At(const char* name) {
    const TLoadedRadiograph loaded = xray->Load();
    return loaded.Position(type->FindElement(name, ekDigPoint)).value_or(TFloatPoint{NAN, NAN});
  }
  std::unique_ptr<TXRayType> type = PointType("T", {"A", "B", "C"});
  std::unique_ptr<TXRay> xray = Radiograph(*type, "X", {{{100, 200}}, {{300, 260}}, {{150, 400}}});
};

TEST_F(TImageGeometryTest, QuarterTurnsAndFlipsRebuildPixelsAndSamplesAndUndoRestoresAll) {
  struct TCase {
    const char* What;
    int Degrees;  // 0: a flip
    bool Horizontal;
    int Width, Height;
    std::vector<std::uint32_t> Pixels;  // row by row
    const char* History;
    double PixelWidth;
  };
  // The 3 x 2 image:  1  2  3
  //                  11 12 13
  const std::vector<TCase> cases = {
      {"right", 90, false, 2, 3, {11, 1, 12, 2, 13, 3}, "Image Rotated 90 degrees.", 3},
      {"left", -90, false, 2, 3, {3, 13, 2, 12, 1, 11}, "Image Rotated -90 degrees.", 3},
      {"half", 180, false, 3, 2, {13, 12, 11, 3, 2, 1}, "Image Rotated 180 degrees.", 2},
      {"horizontal", 0, true, 3, 2, {3, 2, 1, 13, 12, 11}, "Image Flipped.", 2},
      {"vertical", 0, false, 3, 2, {11, 12, 13, 1, 2, 3}, "Image Flipped.", 2},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    const TBitmap32 before = xray->Image.Display;
    ASSERT_TRUE(c.Degrees != 0 ? TurnImagePixels(*xray, c.Degrees) : FlipImage(*xray, c.Horizontal));
    const TBitmap32& after = xray->Image.Display;
    ASSERT_EQ(after.Width, c.Width);
    ASSERT_EQ(after.Height, c.Height);
    EXPECT_EQ(after.Pixels, c.Pixels);
    const TRawImage& raw = xray->Image.Raw;
    ASSERT_EQ(raw.Width, c.Width);
    for (int i = 0; i < c.Width * c.Height; ++i) EXPECT_EQ(Sample(raw, i % c.Width, i / c.Width), 1000 * c.Pixels[i]);
    EXPECT_EQ(xray->ChangeHistory.back(), c.History);
    EXPECT_EQ(xray->PixelWidth, c.PixelWidth);
    EXPECT_EQ(xray->ImageOriginX, 10);
    SwapImageUndo(*xray);
    EXPECT_EQ(xray->Image.Display, before);
    EXPECT_EQ(xray->Image.Raw.Samples, NumberedSamples(3, 2).Samples);
    EXPECT_EQ(xray->PixelWidth, 2);
  }
  EXPECT_FALSE(TurnImagePixels(*xray, 45));
  EXPECT_EQ(xray->Image.Display, Numbered(3, 2));
}

TEST(RotateBitmapTest, SizesWhiteCornersAndFullDepth) {
  TBitmap32 b = Numbered(3, 2);
  ASSERT_TRUE(RotateBitmap(b, 0));
  EXPECT_EQ(b, Numbered(3, 2));
  ASSERT_TRUE(RotateBitmap(b, std::numbers::pi / 2));
  ASSERT_EQ(b.Width, 2);
  ASSERT_EQ(b.Height, 3);
  // new (i, j) = old (W - j, i): the first row finds no source pixel.
  EXPECT_EQ(b.Row(0)[0], 0xFFFFFFFFu);
  EXPECT_EQ(b.Row(1)[0], 3u);
  EXPECT_EQ(b.Row(2)[1], 12u);
  EXPECT_FALSE(RotateBitmap(b, NAN));
  EXPECT_EQ(b.Width, 2);

  // Samples keep their 16 bits through the blend: a ramp comes out exactly as the ramp at
  // the source position of each pixel.
  TRawImage ramp;
  ramp.Width = 40;
  ramp.Height = 30;
  ramp.SamplesPerPixel = 1;
  ramp.BitsPerSample = 12;
  const auto level = [](double x, double y) { return 100 * x + 30 * y + 500; };
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const auto v = static_cast<std::uint16_t>(level(x, y));
      ramp.Samples.push_back(static_cast<std::uint8_t>(v & 0xFF));
      ramp.Samples.push_back(static_cast<std::uint8_t>(v >> 8));
    }
  const double a = 0.3;
  ASSERT_TRUE(RotateBitmap(ramp, a));
  const TPixelSize size = RotatedSize(40, 30, a);
  ASSERT_EQ(ramp.Width, size.Width);
  ASSERT_EQ(ramp.Height, size.Height);
  EXPECT_EQ(Sample(ramp, 0, 0), 4095);  // outside: white at 12 bits
  for (auto [i, j] : {std::pair{20, 18}, {25, 20}, {18, 22}}) {
    const double u = i - size.Width / 2.0, v = j - size.Height / 2.0;
    const double x = 20 + std::cos(a) * u - std::sin(a) * v, y = 15 + std::sin(a) * u + std::cos(a) * v;
    EXPECT_EQ(Sample(ramp, i, j), std::lround(level(x, y))) << i << "," << j;
  }
}

TFloatPoint Turned(TFloatPoint p, TFloatPoint c, double angle) {
  return {c.X + (p.X - c.X) * std::cos(angle) - (p.Y - c.Y) * std::sin(angle),
          c.Y + (p.X - c.X) * std::sin(angle) + (p.Y - c.Y) * std::cos(angle)};
}

TEST_F(TImageGeometryTest, TheLockCarriesTheTracingAndTurningKeepsFeaturesInPlace) {
  ASSERT_TRUE(SetImagePosition(*xray, true, 110, 70));
  EXPECT_EQ(At("A").X, 200);
  EXPECT_EQ(At("A").Y, 250);
  ASSERT_TRUE(SetImagePosition(*xray, false, 0, 0));
  EXPECT_EQ(At("A").X, 200);
  EXPECT_FALSE(SetImagePosition(*xray, true, NAN, 0));
  EXPECT_EQ(xray->ImageOriginX, 0);

  // Turned together, each point stays on the same pixel.
  const auto pixel = [&](const char* name) { return *TracingToPixel(ImageFrameOf(*xray), At(name)); };
  const TFloatPoint before = pixel("B");
  ASSERT_TRUE(SetImageRotation(*xray, true, {50, 50}, -0.5));
  EXPECT_NEAR(xray->ImageRotation, 2 * std::numbers::pi - 0.5, 1e-12);
  EXPECT_NEAR(pixel("B").X, before.X, 1e-9);
  EXPECT_NEAR(pixel("B").Y, before.Y, 1e-9);
  EXPECT_FALSE(SetImageRotation(*xray, true, {50, 50}, NAN));

  // A bright pixel of a larger image keeps its place on the tracing when the pixels take
  // over the image's rotation, or are turned about a centre.
  TBitmap32 image;
  image.Resize(80, 60);
  xray->PixelWidth = xray->PixelHeight = 2;  // the pixels turn as squares
  image.Row(20)[50] = 0x00FFFFFF;
  xray->Image.Display = image;
  xray->Image.Raw = {};
  const TFloatPoint feature = PixelToTracing(ImageFrameOf(*xray), 50.5, 20.5);
  const auto brightest = [&] {
    const TBitmap32& d = xray->Image.Display;
    int bx = 0, by = 0;
    std::uint32_t best = 0;
    for (int y = 0; y < d.Height; ++y)
      for (int x = 0; x < d.Width; ++x)
        // The white fill of each turn carries 255 in the fourth byte, the picture 0.
        if (PixelFourth(d.Row(y)[x]) == 0 && PixelBlue(d.Row(y)[x]) > best) best = PixelBlue(d.Row(y)[x]), bx = x, by = y;
    return PixelToTracing(ImageFrameOf(*xray), bx + 0.5, by + 0.5);
  };
  TImageRotation convert(*xray, {0, 0}, false);
  ASSERT_TRUE(convert.ConvertToCurrentRotation());
  EXPECT_EQ(xray->ImageRotation, 0);
  EXPECT_LT(Distance(brightest(), feature), 1.5 * 2);
  convert.Ok();
  EXPECT_EQ(xray->ChangeHistory.back(), "Image Rotated.");
  TImageRotation turn(*xray, {40, -30}, true);
  ASSERT_TRUE(turn.SetAt(30));
  ASSERT_TRUE(turn.SetAt(-20));  // from the kept image, not on top of 30 degrees
  EXPECT_LT(Distance(brightest(), Turned(feature, {40, -30}, DegToRad(-20))), 1.5 * 2);
  const TFloatPoint a = At("A");
  turn.Cancel();
  EXPECT_LT(Distance(brightest(), feature), 1.5 * 2);
  EXPECT_GT(Distance(At("A"), a), 1);  // the tracing turned back with it
  EXPECT_FALSE(turn.SetAt(NAN));
}

TEST_F(TImageGeometryTest, ScaleImageAppliesAndRefusals) {
  using O = std::optional<double>;
  struct TCase {
    const char* What;
    std::function<TResult()> Apply;
    const char* Refusal;  // null: applied
    double PixelWidth, PixelHeight;
    int Width;
  };
  const std::vector<TCase> cases = {
      {"sizes in mm", [&] { return ApplyImageSize(*xray, 0.9, 0.4); }, nullptr, 3, 2, 3},
      {"pixel sizes", [&] { return ApplyPixelSize(*xray, 2.5, 4); }, nullptr, 2.5, 4, 3},
      {"resolution", [&] { return ApplyResolution(*xray, 254, false); }, nullptr, 1, 1, 3},
      {"higher resolution", [&] { return ApplyResolution(*xray, 3000, true); },
       "Only downsampling to a lower resolution is supported.", 2, 3, 3},
      // Factors 1/2 and 3/4: 3 x 2 pixels become round(1.5) x round(1.5).
      {"downsampled", [&] { return ApplyResolution(*xray, 63.5, true); }, nullptr, 4, 4, 2},
      {"unparsed", [&] { return ApplyImageSize(*xray, O{}, 1.0); }, "Invalid Values.", 2, 3, 3},
      {"zero height", [&] { return ApplyPixelSize(*xray, 1.0, 0.0); }, "Invalid Values.", 2, 3, 3},
      {"negative", [&] { return ApplyResolution(*xray, -5.0, false); }, "Invalid Values.", 2, 3, 3},
      {"not a number", [&] { return ApplyPixelSize(*xray, NAN, 1.0); }, "Invalid Values.", 2, 3, 3},
      {"to nothing", [&] { return DownsampleImage(*xray, 0, 1); }, "Invalid Values.", 2, 3, 3},
      {"too wide", [&] { return DownsampleImage(*xray, 30001, 1); }, "Invalid Values.", 2, 3, 3},
      {"larger", [&] { return DownsampleImage(*xray, 4, 2); }, "Only downsampling to a lower resolution is supported.", 2, 3, 3},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    xray->PixelWidth = 2;
    xray->PixelHeight = 3;
    xray->Image.Display = Numbered(3, 2);
    xray->Image.Raw = NumberedSamples(3, 2);
    const size_t history = xray->ChangeHistory.size();
    const TResult result = c.Apply();
    if (c.Refusal != nullptr) {
      ASSERT_FALSE(result);
      EXPECT_EQ(result.Text().English(), c.Refusal);
      EXPECT_EQ(xray->ChangeHistory.size(), history);
    } else {
      ASSERT_TRUE(result) << result.Text().English();
      EXPECT_EQ(xray->ChangeHistory.back(), "Image Resized.");
    }
    EXPECT_EQ(xray->Image.Display.Width, c.Width);
    EXPECT_EQ(xray->Image.Raw.Width, c.Width);
    EXPECT_NEAR(xray->PixelWidth, c.PixelWidth, 1e-9);
    EXPECT_NEAR(xray->PixelHeight, c.PixelHeight, 1e-9);
  }
  // The halftone stretch averages what lies under each new pixel: columns {0} and {1, 2}.
  EXPECT_TRUE(ApplyResolution(*xray, 63.5, true));
  EXPECT_EQ(xray->Image.Display.Pixels, (std::vector<std::uint32_t>{1, 3, 11, 13}));
  EXPECT_EQ(Sample(xray->Image.Raw, 1, 1), 12500);
  SwapImageUndo(*xray);
  EXPECT_EQ(xray->Image.Display, Numbered(3, 2));
  EXPECT_EQ(xray->PixelWidth, 2);
}

TEST_F(TImageGeometryTest, TwoPointAlignmentBringsTheMarkedFeaturesOntoTheTracingPoints) {
  for (TAlignResize resize : {TAlignResize::None, TAlignResize::Image, TAlignResize::Tracing})
    for (bool translateImage : {true, false})
      for (bool rotateImage : {true, false}) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(resize) << translateImage << rotateImage);
        auto t = PointType("T", {"A", "B", "C"});
        auto r = Radiograph(*t, "X", {{{100, 200}}, {{300, 260}}, {{150, 400}}});
        r->PixelWidth = 2;
        r->PixelHeight = 2;
        r->ImageOriginX = 15;
        r->ImageOriginY = -5;
        r->ImageRotation = 0.2;
        // Two image features, marked where they show now.
        const TFloatPoint f1{40, 70}, f2{130, 95};
        const TFloatPoint m1 = PixelToTracing(ImageFrameOf(*r), f1.X, f1.Y);
        const TFloatPoint m2 = PixelToTracing(ImageFrameOf(*r), f2.X, f2.Y);
        const TLoadedRadiograph before = r->Load();
        const TFloatPoint t1 = *before.Position(t->FindElement("A", ekDigPoint));
        const TFloatPoint t2 = *before.Position(t->FindElement("B", ekDigPoint));
        ASSERT_TRUE(DoTheAlign(*r, t1, t2, m2, m1, {resize, translateImage, rotateImage}));
        const TLoadedRadiograph after = r->Load();
        const TFloatPoint a = *after.Position(t->FindElement("A", ekDigPoint));
        const TFloatPoint b = *after.Position(t->FindElement("B", ekDigPoint));
        const TFloatPoint g1 = PixelToTracing(ImageFrameOf(*r), f1.X, f1.Y);
        const TFloatPoint g2 = PixelToTracing(ImageFrameOf(*r), f2.X, f2.Y);
        EXPECT_NEAR(Distance(g1, a), 0, 1e-9);
        EXPECT_NEAR(AngleBetweenLines(g1, g2, a, b), 0, 1e-12);
        if (resize != TAlignResize::None) {
          EXPECT_NEAR(Distance(g2, b), 0, 1e-9);
        }
      }

  xray->ImageOriginX = 10;
  const TFloatPoint p{0, 0}, q{30, 40};
  struct TCase {
    TFloatPoint T1, T2, M2, M1;
    const char* Refusal;
  };
  for (const TCase& c : std::vector<TCase>{
           {p, q, {50, 50}, {80, 90}, "Cannot align. Invalid point distance."},  // both 50 long
           {p, p, q, {1, 1}, "Cannot align. Invalid point distance."},
           {p, q, {1, 1}, {1, 1}, "Cannot align. Invalid point distance."},
           {p, {NAN, 0}, q, {1, 1}, "Cannot align. Points not valid."},
           {p, q, {INFINITY, 0}, {1, 1}, "Cannot align. Points not valid."},
       }) {
    const TResult refused = DoTheAlign(*xray, c.T1, c.T2, c.M2, c.M1, {});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.Text().English(), c.Refusal);
    EXPECT_EQ(xray->ImageOriginX, 10);
    EXPECT_EQ(xray->PixelWidth, 2);
  }
}

TEST_F(TImageGeometryTest, TwoMarksAlignTheImageOnTheChosenPointsAndAreThenDropped) {
  TTwoPointAlignment align;
  // The image shows A at its pixel (10, 10) and B at (60, 10): marks where those pixels are.
  const TFloatPoint a = PixelToTracing(ImageFrameOf(*xray), 10, 10);
  const TFloatPoint b = PixelToTracing(ImageFrameOf(*xray), 60, 10);
  TResultOf<bool> step = align.AddPoint(*xray, a, "A", "B", {});
  ASSERT_TRUE(step);
  EXPECT_FALSE(*step);
  EXPECT_EQ(align.Marks().size(), 1u);
  step = align.AddPoint(*xray, b, "A", "B", {});
  ASSERT_TRUE(step) << step.Text().English();
  EXPECT_TRUE(*step);
  EXPECT_TRUE(align.Marks().empty());
  EXPECT_NEAR(Distance(PixelToTracing(ImageFrameOf(*xray), 10, 10), At("A")), 0, 1e-9);
  EXPECT_NEAR(Distance(PixelToTracing(ImageFrameOf(*xray), 60, 10), At("B")), 0, 1e-9);
  EXPECT_EQ(xray->ChangeHistory.back(), "Image Repositioned.");

  const TImageFrame before = ImageFrameOf(*xray);
  ASSERT_TRUE(align.AddPoint(*xray, a, "A", "A", {}));
  step = align.AddPoint(*xray, b, "A", "A", {});
  ASSERT_FALSE(step);
  EXPECT_EQ(step.Text().English(),
            "Cannot align. You selected to mark the same point twice.\r\n\r\nSelect different points in the drop-down "
            "list boxes and try again.");
  EXPECT_TRUE(align.Marks().empty());
  ASSERT_TRUE(align.AddPoint(*xray, a, "A", "Nowhere", {}));
  EXPECT_EQ(align.AddPoint(*xray, b, "A", "Nowhere", {}).Text().English(), "Cannot align. Points not valid.");
  EXPECT_EQ(xray->ImageOriginX, before.OriginX);
  EXPECT_EQ(xray->PixelWidth, before.PixelWidth);
}

}  // namespace
}  // namespace lumacet
