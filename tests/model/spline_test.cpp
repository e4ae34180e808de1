#include "geometry/spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/plane_geometry.h"
#include "model/point_geometry.h"
#include "model/test_points.h"

namespace lumacet {
namespace {

using test::IsNear;

std::vector<double> Xs(const std::vector<TFloatPoint>& samples) {
  std::vector<double> xs;
  for (const TFloatPoint& p : samples) xs.push_back(p.X);
  return xs;
}

void ExpectXs(const std::vector<TFloatPoint>& samples, const std::vector<double>& expected) {
  std::vector<double> xs = Xs(samples);
  ASSERT_EQ(xs.size(), expected.size());
  for (std::size_t i = 0; i < xs.size(); ++i) {
    EXPECT_NEAR(xs[i], expected[i], 1e-9) << i;
    EXPECT_NEAR(samples[i].Y, 0, 1e-9) << i;
  }
}

TEST(NaturalSpline, TwoPointsGiveTheChordSampledEveryStep) {
  std::vector<TFloatPoint> controls = {{0, 0}, {100, 0}};
  ExpectXs(NaturalSpline(controls, 10), {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100});
  auto diagonal = NaturalSpline(std::vector<TFloatPoint>{{0, 0}, {30, 40}}, 10);
  ASSERT_EQ(diagonal.size(), 6u);
  EXPECT_TRUE(IsNear(diagonal[1], 6, 8));
  EXPECT_TRUE(IsNear(diagonal[4], 24, 32));
}

TEST(NaturalSpline, SpacingRules) {
  std::vector<TFloatPoint> thirty = {{0, 0}, {30, 0}};
  std::vector<TFloatPoint> twentyFive = {{0, 0}, {25, 0}};
  // Five equal parts; the sample at 30 would be the end point itself.
  ExpectXs(NaturalSpline(thirty, -5), {0, 6, 12, 18, 24, 30});
  // 20 <= 25 - 10/3 is kept.
  ExpectXs(NaturalSpline(twentyFive, 10), {0, 10, 20, 25});
  // Only the first sample escapes the d/3 rule: 10 < 10.5 is taken, 20 is not.
  ExpectXs(NaturalSpline(std::vector<TFloatPoint>{{0, 0}, {10.5, 0}}, 10), {0, 10, 10.5});
  ExpectXs(NaturalSpline(std::vector<TFloatPoint>{{0, 0}, {10, 0}}, 10), {0, 10});
  // Step 0 counts as -1: one part, so no samples inside the span.
  ExpectXs(NaturalSpline(thirty, 0), {0, 30});
  // A span shorter than a unit has zero spacing with a negative step: no samples, no hang.
  ExpectXs(NaturalSpline(std::vector<TFloatPoint>{{0, 0}, {0.5, 0}}, -5), {0, 0.5});
}

TEST(NaturalSpline, PassesThroughEveryControlPoint) {
  std::vector<TFloatPoint> controls = {{0, 0}, {40, 30}, {90, 20}, {120, -40}};
  auto samples = NaturalSpline(controls, 10);
  ASSERT_FALSE(samples.empty());
  std::size_t found = 0;
  for (const TFloatPoint& p : samples) {
    if (found < controls.size() && p == controls[found]) ++found;
  }
  EXPECT_EQ(found, controls.size());
  EXPECT_EQ(samples.front(), controls.front());
  EXPECT_EQ(samples.back(), controls.back());
}

TEST(NaturalSpline, CollinearEvenlySpacedPointsStayOnTheLine) {
  std::vector<TFloatPoint> controls = {{0, 0}, {50, 0}, {100, 0}};
  ExpectXs(NaturalSpline(controls, 10), {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100});
}

TEST(NaturalSpline, HasZeroCurvatureAtBothEnds) {
  // Chords of exactly 50 units: every sample, control points included, is one unit apart.
  std::vector<TFloatPoint> controls = {{0, 0}, {30, 40}, {60, 0}};
  auto s = NaturalSpline(controls, 1);
  ASSERT_EQ(s.size(), 101u);
  // Second differences near the ends are far smaller than at the middle control point.
  auto bend = [&](std::size_t i) {
    return std::hypot(s[i - 1].X - 2 * s[i].X + s[i + 1].X, s[i - 1].Y - 2 * s[i].Y + s[i + 1].Y);
  };
  std::size_t middle = s.size() / 2;
  EXPECT_LT(bend(1), bend(middle) / 20);
  EXPECT_LT(bend(s.size() - 2), bend(middle) / 20);
}

TEST(NaturalSpline, GivesNothingForTooFewPointsOrAZeroChord) {
  EXPECT_TRUE(NaturalSpline(std::vector<TFloatPoint>{{1, 1}}, 10).empty());
  EXPECT_TRUE(NaturalSpline({}, 10).empty());
  EXPECT_TRUE(NaturalSpline(std::vector<TFloatPoint>{{0, 0}, {5, 5}, {5, 5}, {9, 0}}, 10).empty());
}

TEST(NaturalSpline, CapsTheSamplesOfAHugeCurve) {
  auto samples = NaturalSpline(std::vector<TFloatPoint>{{0, 0}, {1e9, 0}, {2e9, 5e8}}, 10);
  ASSERT_FALSE(samples.empty());
  EXPECT_LE(samples.size(), kMaxSplineSamples + 3);
  EXPECT_EQ(samples.back(), (TFloatPoint{2e9, 5e8}));
}

TEST(SolveTridiagonal, SolvesAndRefusesZeroPivots) {
  // [2 1 0; 1 3 1; 0 1 2] x = rhs with x = (1, 2, 3) and y = (-1, 0, 1).
  std::vector<double> lower = {0, 1, 1}, diagonal = {2, 3, 2}, upper = {1, 1, 0};
  std::vector<TFloatPoint> rhs = {{4, -2}, {10, 0}, {8, 2}};
  ASSERT_TRUE(SolveTridiagonal(lower, diagonal, upper, rhs));
  EXPECT_TRUE(IsNear(rhs[0], 1, -1));
  EXPECT_TRUE(IsNear(rhs[1], 2, 0));
  EXPECT_TRUE(IsNear(rhs[2], 3, 1));

  std::vector<double> zeroFirst = {0, 3, 2};
  EXPECT_FALSE(SolveTridiagonal(lower, zeroFirst, upper, rhs));
  // Elimination makes the second pivot 0: 1 - (1 / 1) x 1.
  std::vector<double> singular = {1, 1, 2};
  EXPECT_FALSE(SolveTridiagonal(lower, singular, upper, rhs));
  std::vector<TFloatPoint> shortRhs(2);
  EXPECT_FALSE(SolveTridiagonal(lower, diagonal, upper, shortRhs));
}

class SplinePointsTest : public ::testing::Test {
 protected:
  std::vector<TFloatPoint> Curve(std::initializer_list<TXRPoint*> controls) {
    std::vector<TFloatPoint> positions;
    for (TXRPoint* p : controls) positions.push_back(test::PositionOf(p));
    return NaturalSpline(positions, 10);
  }
  test::TPointFactory f;
  TXRPoint* a = f.At(0, 0);
  TXRPoint* b = f.At(50, 30);
  TXRPoint* c = f.At(100, 0);
  TXRPoint* d = f.At(150, 0);
  TXRPoint* e = f.At(200, 0);
  TXRPoint* ff = f.At(250, 30);
  TXRPoint* g = f.At(300, 0);
};

TEST_F(SplinePointsTest, DoubledPointsSwitchBetweenCurvesAndStraightStretches) {
  std::vector<TXRPoint*> list = {a, b, c, c, d, e, e, ff, g};
  std::vector<TFloatPoint> expected = Curve({a, b, c});
  expected.push_back({100, 0});  // the switching point
  expected.push_back({150, 0});  // straight to D and E
  expected.push_back({200, 0});
  for (const TFloatPoint& p : Curve({e, ff, g})) expected.push_back(p);
  expected.push_back({300, 0});  // the last point closes the list
  EXPECT_EQ(SplinePoints(list, 10), expected);
}

TEST_F(SplinePointsTest, RepeatedCoordinatesOfDistinctPointsAreSkippedNotSwitched) {
  TXRPoint* twin = f.At(50, 30);
  std::vector<TXRPoint*> list = {a, b, twin, c};
  std::vector<TFloatPoint> expected = Curve({a, b, c});
  expected.push_back({100, 0});
  EXPECT_EQ(SplinePoints(list, 10), expected);
}

TEST_F(SplinePointsTest, SkipsAbsentAndInvalidEntriesAndNeedsTwoPoints) {
  std::vector<TXRPoint*> list = {a, nullptr, f.Invalid(3, 3), b, c};
  std::vector<TFloatPoint> expected = Curve({a, b, c});
  expected.push_back({100, 0});
  EXPECT_EQ(SplinePoints(list, 10), expected);
  std::vector<TXRPoint*> single = {a, nullptr};
  EXPECT_TRUE(SplinePoints(single, 10).empty());
}

TEST_F(SplinePointsTest, SmoothPointsIgnoresSwitchesAndRepeats) {
  TXRPoint* twin = f.At(100, 0);
  std::vector<TXRPoint*> list = {a, b, b, c, twin, d};
  EXPECT_EQ(SmoothPoints(list, 2), NaturalSpline(std::vector<TFloatPoint>{{0, 0}, {50, 30}, {100, 0}, {150, 0}}, 2));
}

TEST(CurveMeasures, StraightCurvesMeasureTheirChords) {
  test::TPointFactory f;
  std::vector<TXRPoint*> two = f.List({{0, 0}, {30, 40}});
  EXPECT_NEAR(CurveLength(two), 50, 1e-9);
  std::vector<TXRPoint*> line = f.List({{0, 0}, {50, 0}, {100, 0}});
  EXPECT_NEAR(CurveLength(line), 100, 1e-9);
  EXPECT_EQ(CurveLength(f.List({{4, 4}})), 0);
  EXPECT_EQ(CurveArea(f.List({{4, 4}})), 0);
}

TEST(CurveMeasures, SquareWithDoubledCornersIsAPolygon) {
  // 100 x 100 tracing units = 10 x 10 mm.
  test::TPointFactory f;
  TXRPoint* a = f.At(0, 0);
  TXRPoint* b = f.At(100, 0);
  TXRPoint* c = f.At(100, 100);
  TXRPoint* d = f.At(0, 100);
  std::vector<TXRPoint*> clockwise = {a, a, b, b, c, c, d, d, a};
  std::vector<TXRPoint*> counter = {a, a, d, d, c, c, b, b, a};
  EXPECT_NEAR(CurveArea(clockwise), 100, 1e-9);
  EXPECT_NEAR(CurveArea(counter), 100, 1e-9);
  EXPECT_NEAR(CurveLength(clockwise), 400, 1e-9);
}

TEST(CurveMeasures, ClosedSplineThroughASquaresCornersBulgesOutwards) {
  test::TPointFactory f;
  TXRPoint* a = f.At(0, 0);
  TXRPoint* b = f.At(100, 0);
  TXRPoint* c = f.At(100, 100);
  TXRPoint* d = f.At(0, 100);
  std::vector<TXRPoint*> clockwise = {a, b, c, d, a};
  std::vector<TXRPoint*> counter = {a, d, c, b, a};
  double area = CurveArea(clockwise);
  EXPECT_GT(area, 100);  // more than the square
  EXPECT_LT(area, 100 * kPi / 2);  // less than the circumscribed circle
  EXPECT_NEAR(CurveArea(counter), area, 1e-9);
  double length = CurveLength(clockwise);
  EXPECT_GT(length, 400);
  EXPECT_LT(length, 100 * std::sqrt(2.0) * kPi);
}

}  // namespace
}  // namespace lumacet
