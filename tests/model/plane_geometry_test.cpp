#include "geometry/plane_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "model/point_geometry.h"
#include "model/test_points.h"

namespace lumacet {
namespace {

using test::IsNear;

TEST(LineAngle, DirectionsCountCounterClockwiseAsDisplayed) {
  EXPECT_EQ(LineAngle({0, 0}, {0, 0}), 0);
  EXPECT_EQ(LineAngle({0, 0}, {1, 0}), 0);
  EXPECT_DOUBLE_EQ(LineAngle({0, 0}, {0, -1}), kPi / 2);  // up the screen
  EXPECT_DOUBLE_EQ(LineAngle({0, 0}, {-1, 0}), kPi);
  EXPECT_DOUBLE_EQ(LineAngle({0, 0}, {0, 1}), 3 * kPi / 2);  // down the screen
  EXPECT_DOUBLE_EQ(LineAngle({0, 0}, {1, 1}), 7 * kPi / 4);
  EXPECT_DOUBLE_EQ(LineAngle({5, 5}, {4, 4}), 3 * kPi / 4);
}

TEST(LineAngle, StaysBelowTwoPiForANearlyHorizontalLine) {
  double angle = LineAngle({0, 0}, {1000, 1e-14});
  EXPECT_GE(angle, 0);
  EXPECT_LT(angle, kTwoPi);
}

TEST(LineAngle, IntegerPointsGiveTheSameAngles) {
  EXPECT_DOUBLE_EQ(PixelLineAngle({0, 0}, {0, -3}), kPi / 2);
  EXPECT_DOUBLE_EQ(PixelLineAngle({2, 2}, {-5, 2}), kPi);
  EXPECT_DOUBLE_EQ(PixelLineAngle({3, 4}, {7, 9}), LineAngle({3, 4}, {7, 9}));
  EXPECT_DOUBLE_EQ(PixelAngleBetweenLines({0, 0}, {0, -1}, {0, 0}, {1, 0}), kPi / 2);
}

TEST(AngleBetweenLines, IsSignedAndWrappedIntoMinusPiToPi) {
  EXPECT_EQ(AngleBetweenLines({0, 0}, {10, 3}, {0, 0}, {10, 3}), 0);
  // The first line turned counter-clockwise (as displayed) from the second is positive.
  EXPECT_DOUBLE_EQ(AngleBetweenLines({0, 0}, {0, -1}, {0, 0}, {1, 0}), kPi / 2);
  EXPECT_DOUBLE_EQ(AngleBetweenLines({0, 0}, {0, 1}, {0, 0}, {1, 0}), -kPi / 2);
  // Across the zero direction: 10 degrees above against 10 degrees below the x axis.
  double t = DegToRad(10);
  EXPECT_NEAR(AngleBetweenLines({0, 0}, {std::cos(t), -std::sin(t)}, {0, 0},
                                {std::cos(t), std::sin(t)}),
              DegToRad(20), 1e-12);
}

TEST(AngleBetweenLines, OppositeLinesGivePlusPiEitherWay) {
  EXPECT_EQ(AngleBetweenLines({0, 0}, {1, 0}, {1, 0}, {0, 0}), kPi);
  EXPECT_EQ(AngleBetweenLines({1, 0}, {0, 0}, {0, 0}, {1, 0}), kPi);
  EXPECT_EQ(AngleBetweenLines({0, 0}, {0, 1}, {0, 1}, {0, 0}), kPi);
}

TEST(NormalizeAngle, WrapsIntoZeroToTwoPi) {
  EXPECT_DOUBLE_EQ(*NormalizeAngle(-0.1), kTwoPi - 0.1);
  EXPECT_NEAR(*NormalizeAngle(4 * kPi + 0.5), 0.5, 1e-12);
  EXPECT_EQ(*NormalizeAngle(kTwoPi), 0);
  EXPECT_EQ(*NormalizeAngle(1.25), 1.25);
  EXPECT_EQ(*NormalizeAngle(-1e-300), 0);  // 2 pi - 1e-300 is 2 pi itself
  double huge = *NormalizeAngle(1e300);
  EXPECT_GE(huge, 0);
  EXPECT_LT(huge, kTwoPi);
}

TEST(NormalizeAngle, HasNoValueForNonFiniteAngles) {
  EXPECT_FALSE(NormalizeAngle(std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(NormalizeAngle(-std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(NormalizeAngle(std::numeric_limits<double>::quiet_NaN()));
}

TEST(ExtendAlongAndPerpendicular, OffsetTheBaseAlongAndAcrossTheLine) {
  EXPECT_TRUE(IsNear(ExtendAlong({0, 0}, {3, 4}, {1, 1}, 5), 4, 5));
  EXPECT_TRUE(IsNear(ExtendAlong({0, 0}, {3, 4}, {1, 1}, -10), -5, -7));
  // The right-hand side of a rightward line, as displayed, is below it.
  EXPECT_TRUE(IsNear(PerpendicularFrom({0, 0}, {10, 0}, {0, 0}, 10), 0, 10));
  EXPECT_TRUE(IsNear(PerpendicularFrom({0, 0}, {0, -10}, {5, 5}, 2), 7, 5));
  EXPECT_FALSE(ExtendAlong({2, 2}, {2, 2}, {0, 0}, 1));
  EXPECT_FALSE(PerpendicularFrom({2, 2}, {2, 2}, {0, 0}, 1));
}

TEST(RotateAbout, PositiveDegreesTurnClockwiseAsDisplayed) {
  EXPECT_TRUE(IsNear(RotateAbout({0, 0}, {10, 0}, 90), 0, 10));
  EXPECT_TRUE(IsNear(RotateAbout({5, 5}, {15, 5}, -90), 5, -5));
  EXPECT_TRUE(IsNear(RotateAbout({1, 2}, {1, 2}, 33), 1, 2));
  // A turn lowers the direction angle by the same amount.
  auto turned = RotateAbout({0, 0}, {10, -10}, 30);
  EXPECT_NEAR(LineAngle({0, 0}, *turned), DegToRad(45 - 30), 1e-12);
}

TEST(ProjectAndMirror, DropAPerpendicularOntoTheLine) {
  EXPECT_TRUE(IsNear(ProjectOnLine({5, 3}, {0, 0}, {10, 0}), 5, 0));
  EXPECT_TRUE(IsNear(ProjectOnLine({0, 10}, {0, 0}, {10, 10}), 5, 5));
  EXPECT_TRUE(IsNear(ProjectOnLine({-20, 3}, {0, 0}, {10, 0}), -20, 0));  // beyond the segment
  EXPECT_TRUE(IsNear(MirrorInLine({5, 3}, {0, 0}, {10, 0}), 5, -3));
  EXPECT_TRUE(IsNear(MirrorInLine({0, 10}, {0, 0}, {10, 10}), 10, 0));
  EXPECT_FALSE(ProjectOnLine({5, 3}, {1, 1}, {1, 1}));
  EXPECT_FALSE(MirrorInLine({5, 3}, {1, 1}, {1, 1}));
}

TEST(IntersectLines, CrossesInfiniteLinesAndRefusesParallelOnes) {
  EXPECT_TRUE(IsNear(IntersectLines({0, 0}, {10, 10}, {0, 10}, {10, 0}), 5, 5));
  // Outside both segments.
  EXPECT_TRUE(IsNear(IntersectLines({0, 0}, {1, 0}, {5, 1}, {5, 2}), 5, 0));
  EXPECT_FALSE(IntersectLines({0, 0}, {10, 0}, {0, 5}, {10, 5}));
  EXPECT_FALSE(IntersectLines({0, 0}, {10, 0}, {20, 0}, {30, 0}));
  EXPECT_FALSE(IntersectLines({0, 0}, {10, 10}, {0, 0}, {10, 10}));
}

TEST(IntersectLines, NearlyParallelLinesMeetingBeyondRangeHaveNoCrossing) {
  EXPECT_FALSE(IntersectLines({0, 0}, {1, 0}, {0, 1e300}, {1e300, 1e300 * (1 + 1e-15)}));
}

TEST(CircleLineIntersection, TakesTheCrossingFartherAlongTheLine) {
  EXPECT_TRUE(IsNear(CircleLineIntersection({0, 0}, {10, 0}, {-20, 0}, {20, 0}), 10, 0));
  EXPECT_TRUE(IsNear(CircleLineIntersection({0, 0}, {10, 0}, {20, 0}, {-20, 0}), -10, 0));
  // A and B both inside the circle: still the crossing ahead of A -> B.
  EXPECT_TRUE(IsNear(CircleLineIntersection({0, 0}, {0, 5}, {0, 1}, {0, 2}), 0, 5));
  EXPECT_TRUE(IsNear(CircleLineIntersection({0, 0}, {10, 0}, {-20, 10}, {20, 10}), 0, 10));  // tangent
  EXPECT_FALSE(CircleLineIntersection({0, 0}, {10, 0}, {-20, 11}, {20, 11}));
  EXPECT_FALSE(CircleLineIntersection({0, 0}, {10, 0}, {3, 3}, {3, 3}));
}

TEST(BisectorPoint, TurnsP2HalfwayTowardsTheOtherLine) {
  double r = 10 / std::sqrt(2.0);
  EXPECT_TRUE(IsNear(BisectorPoint({-10, 0}, {10, 0}, {0, 10}, {0, -10}), r, -r));
  EXPECT_TRUE(IsNear(BisectorPoint({-10, 0}, {10, 0}, {0, -10}, {0, 10}), r, r));
  EXPECT_FALSE(BisectorPoint({0, 0}, {10, 0}, {0, 5}, {10, 5}));
}

TEST(Circumcentre, IsEquidistantFromTheThreePoints) {
  EXPECT_TRUE(IsNear(Circumcentre({0, 0}, {10, 0}, {0, 10}), 5, 5));
  auto centre = Circumcentre({3, 7}, {-4, 2}, {11, -6});
  ASSERT_TRUE(centre);
  double r = Distance(*centre, {3, 7});
  EXPECT_NEAR(Distance(*centre, {-4, 2}), r, 1e-9);
  EXPECT_NEAR(Distance(*centre, {11, -6}), r, 1e-9);
  EXPECT_FALSE(Circumcentre({0, 0}, {5, 5}, {10, 10}));
  EXPECT_FALSE(Circumcentre({1, 1}, {1, 1}, {4, 0}));
}

TEST(Interpolate, CountsInThousandthsAndExtrapolates) {
  EXPECT_TRUE(IsNear(Interpolate({0, 0}, {100, 50}, 500), 50, 25));
  EXPECT_TRUE(IsNear(Interpolate({0, 0}, {100, 50}, 1000), 100, 50));
  EXPECT_TRUE(IsNear(Interpolate({0, 0}, {100, 50}, 0), 0, 0));
  EXPECT_TRUE(IsNear(Interpolate({10, 10}, {30, 50}, -500), 0, -10));
}

TEST(ModelPoints, InvalidOperandsGiveNoResult) {
  test::TPointFactory f;
  TXRPoint* a = f.At(0, 0);
  TXRPoint* b = f.At(10, 0);
  TXRPoint* c = f.At(0, 10);
  TXRPoint* d = f.At(10, 10);
  TXRPoint* bad = f.Invalid(5, 5);

  EXPECT_TRUE(IsNear(Midpoint(*a, *b), 5, 0));
  EXPECT_TRUE(IsNear(IntersectLines(*a, *d, *b, *c), 5, 5));
  EXPECT_TRUE(IsNear(RotateAbout(*a, *b, 90), 0, 10));
  EXPECT_TRUE(IsNear(Interpolate(*a, *d, 250), 2.5, 2.5));
  EXPECT_TRUE(IsNear(ValidPosition(*d), 10, 10));

  EXPECT_FALSE(ValidPosition(*bad));
  EXPECT_FALSE(Midpoint(*a, *bad));
  EXPECT_FALSE(ExtendAlong(*a, *b, *bad, 5));
  EXPECT_FALSE(IntersectLines(*a, *b, *c, *bad));
  EXPECT_FALSE(CircleLineIntersection(*a, *bad, *c, *d));

  // Angles and distances do not look at validity.
  EXPECT_DOUBLE_EQ(LineAngle(*a, *c), 3 * kPi / 2);
  EXPECT_DOUBLE_EQ(AngleBetweenLines(*a, *b, *b, *a), kPi);
  EXPECT_DOUBLE_EQ(Distance(*a, *bad), std::hypot(5.0, 5.0));
}

TEST(PolylineAndPolygon, MeasureLengthAndUnsignedArea) {
  std::vector<TFloatPoint> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  std::vector<TFloatPoint> reversed(square.rbegin(), square.rend());
  EXPECT_EQ(PolylineLength(square), 30);
  EXPECT_EQ(PolygonArea(square), 100);
  EXPECT_EQ(PolygonArea(reversed), 100);
  std::vector<TFloatPoint> farAway = {{1e6, 1e6}, {1e6 + 3, 1e6}, {1e6, 1e6 + 4}};
  EXPECT_EQ(PolygonArea(farAway), 6);
  EXPECT_EQ(PolygonArea({}), 0);
  EXPECT_EQ(PolylineLength({}), 0);
}

}  // namespace
}  // namespace lumacet
