#include "graphics/tooth_templates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "geometry/plane_geometry.h"

namespace lumacet {
namespace {

struct TExpected {
  int Kind;
  int ReferenceLength;
  std::vector<std::size_t> Pairs;
};

const std::array<TExpected, 14> kExpected = {{
    {14, 735, {29, 25}},     {15, 565, {32, 36, 17}}, {16, 680, {27, 25}}, {17, 211, {31, 32}},
    {18, 270, {16, 19}},     {19, 225, {16, 17}},     {20, 225, {20, 17}}, {21, 164, {24, 29}},
    {22, 136, {26, 24}},     {23, 136, {26, 24}},     {24, 737, {30, 28}}, {25, 633, {35, 42}},
    {26, 680, {20, 22}},     {27, 647, {29, 24}},
}};

bool SegmentsCross(TIntPoint a, TIntPoint b, TIntPoint c, TIntPoint d) {
  auto side = [](TIntPoint p, TIntPoint q, TIntPoint r) {
    long long v = static_cast<long long>(q.X - p.X) * (r.Y - p.Y) - static_cast<long long>(q.Y - p.Y) * (r.X - p.X);
    return (v > 0) - (v < 0);
  };
  return side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0;
}

TEST(ToothTemplates, EveryToothKindHasItsOutlines) {
  EXPECT_FALSE(ToothTemplate(13));
  EXPECT_FALSE(ToothTemplate(28));
  for (const TExpected& expected : kExpected) {
    SCOPED_TRACE(expected.Kind);
    std::optional<TToothTemplate> tooth = ToothTemplate(expected.Kind);
    ASSERT_TRUE(tooth);
    EXPECT_EQ(tooth->ReferenceLength, expected.ReferenceLength);
    ASSERT_EQ(tooth->Outlines.size(), expected.Pairs.size());
    bool hasTip = false;
    bool hasApex = false;
    for (std::size_t i = 0; i < expected.Pairs.size(); ++i) {
      std::span<const TIntPoint> outline = tooth->Outlines[i];
      ASSERT_EQ(outline.size(), expected.Pairs[i]);
      EXPECT_EQ(outline.front(), outline.back());
      hasTip = hasTip || std::find(outline.begin(), outline.end(), TIntPoint{0, 0}) != outline.end();
      hasApex = hasApex || std::find(outline.begin(), outline.end(), TIntPoint{expected.ReferenceLength, 0}) !=
                               outline.end();
      // A real outline: no repeated vertex, no crossing edges, an area of its own.
      std::vector<TFloatPoint> corners;
      for (std::size_t k = 0; k + 1 < outline.size(); ++k) {
        EXPECT_NE(outline[k], outline[k + 1]);
        corners.push_back({static_cast<double>(outline[k].X), static_cast<double>(outline[k].Y)});
        for (std::size_t m = k + 2; m + 1 < outline.size(); ++m) {
          if (k == 0 && m + 2 == outline.size()) continue;  // the closing edge meets the first
          EXPECT_FALSE(SegmentsCross(outline[k], outline[k + 1], outline[m], outline[m + 1])) << k << " " << m;
        }
      }
      EXPECT_GT(PolygonArea(corners), 0.01 * expected.ReferenceLength * expected.ReferenceLength);
    }
    EXPECT_TRUE(hasTip);
    EXPECT_TRUE(hasApex);
  }
}

TEST(ToothTemplates, UpperIncisorCrownStartsAtTheLingualJunction) {
  std::span<const TIntPoint> crown = ToothTemplate(14)->Outlines[0];
  EXPECT_EQ(crown[0], (TIntPoint{327, -88}));
  EXPECT_EQ(crown[1], (TIntPoint{309, -99}));
  EXPECT_EQ(crown[2], (TIntPoint{273, -99}));
}

TEST(ToothTemplates, FittingPutsTheAxisOnTheLandmarks) {
  const TToothTemplate tooth = *ToothTemplate(16);
  const int r = tooth.ReferenceLength;
  // Landmarks 2 x R apart towards the lower left: everything doubles in size.
  const TFloatPoint first{500, 300};
  const TFloatPoint second{500 - 2 * r * 0.6, 300 + 2 * r * 0.8};
  for (bool mirrored : {false, true}) {
    std::vector<std::vector<TIntPoint>> fitted = FitToothTemplate(tooth, first, second, mirrored);
    ASSERT_EQ(fitted.size(), tooth.Outlines.size());
    for (std::size_t i = 0; i < fitted.size(); ++i) {
      for (std::size_t k = 0; k < fitted[i].size(); ++k) {
        TIntPoint t = tooth.Outlines[i][k];
        // Along the axis (-0.6, 0.8); across it, clockwise as displayed, (-0.8, -0.6).
        double across = mirrored ? -t.Y : t.Y;
        EXPECT_NEAR(fitted[i][k].X, 500 + 2 * (-0.6 * t.X - 0.8 * across), 0.5 + 1e-9);
        EXPECT_NEAR(fitted[i][k].Y, 300 + 2 * (0.8 * t.X - 0.6 * across), 0.5 + 1e-9);
      }
    }
    EXPECT_NE(std::find(fitted[1].begin(), fitted[1].end(), RoundSaturated(second)), fitted[1].end());
  }
}

}  // namespace
}  // namespace lumacet
