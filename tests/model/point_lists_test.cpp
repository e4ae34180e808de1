#include "geometry/point_lists.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/plane_geometry.h"
#include "model/point_geometry.h"
#include "model/test_points.h"

namespace lumacet {
namespace {

using test::IsNear;
using test::PositionOf;

TEST(ValidPositions, SkipsAbsentAndInvalidEntries) {
  test::TPointFactory f;
  std::vector<TXRPoint*> list = {f.At(1, 2), nullptr, f.Invalid(7, 7), f.At(3, 4)};
  std::vector<TFloatPoint> expected = {{1, 2}, {3, 4}};
  EXPECT_EQ(ValidPositions(list), expected);
}

TEST(Centroid, AveragesTheValidPoints) {
  test::TPointFactory f;
  std::vector<TXRPoint*> list = {f.At(0, 0), nullptr, f.Invalid(100, 100), f.At(10, 20)};
  EXPECT_TRUE(IsNear(Centroid(list), 5, 10));
  std::vector<TXRPoint*> none = {nullptr, f.Invalid()};
  EXPECT_FALSE(Centroid(none));
  EXPECT_FALSE(Centroid(TPointList{}));
}

TEST(FitLineOrthogonal, FitsTheLineOfLeastPerpendicularDistance) {
  std::vector<TFloatPoint> diagonal = {{0, 0}, {1, 1}, {2, 2}};
  auto line = FitLineOrthogonal(diagonal, 2);
  ASSERT_TRUE(line);
  EXPECT_TRUE(IsNear(line->Centre, 1, 1));
  EXPECT_TRUE(IsNear(line->Through, 101, 101));  // slope 1

  // Steep: the second point is taken 100 further down rather than 100 to the right.
  std::vector<TFloatPoint> steep = {{0, 0}, {1, 10}, {2, 20}};
  line = FitLineOrthogonal(steep, 0);
  ASSERT_TRUE(line);
  EXPECT_TRUE(IsNear(line->Through, 1 + 10, 10 + 100));

  // The orthogonal fit, not the regression of y on x: a cloud spread along y = -x.
  std::vector<TFloatPoint> cloud = {{0, 0}, {10, -9}, {20, -21}, {30, -30}};
  line = FitLineOrthogonal(cloud, 2);
  ASSERT_TRUE(line);
  double slope = (line->Through.Y - line->Centre.Y) / (line->Through.X - line->Centre.X);
  EXPECT_NEAR(slope, -1, 0.05);
}

TEST(FitLineOrthogonal, FailsOnAxisAlignedPointsAndTooFewPoints) {
  std::vector<TFloatPoint> horizontal = {{0, 5}, {10, 5}, {20, 5}};
  std::vector<TFloatPoint> vertical = {{3, 0}, {3, 8}, {3, 9}};
  std::vector<TFloatPoint> three = {{0, 0}, {10, 1}, {20, 2}};
  EXPECT_FALSE(FitLineOrthogonal(horizontal, 2));
  EXPECT_FALSE(FitLineOrthogonal(vertical, 2));
  EXPECT_FALSE(FitLineOrthogonal(std::vector<TFloatPoint>{{1, 1}}, 0));
  EXPECT_TRUE(FitLineOrthogonal(three, 3));
  EXPECT_FALSE(FitLineOrthogonal(three, 4));
}

TEST(FitLineOrthogonal, CountsOnlyValidModelPoints) {
  test::TPointFactory f;
  std::vector<TXRPoint*> list = {f.At(0, 0), f.Invalid(), nullptr, f.At(10, 1), f.At(20, 2)};
  EXPECT_TRUE(FitLineOrthogonal(list, 3));
  EXPECT_FALSE(FitLineOrthogonal(list, 4));
}

TEST(FittedLineAngle, PointsFromTheCentreTowardsTheFirstPoint) {
  double tilt = std::atan(0.1);
  std::vector<TFloatPoint> forward = {{0, 0}, {10, 1}, {20, 2}};
  std::vector<TFloatPoint> backward = {{20, 2}, {10, 1}, {0, 0}};
  EXPECT_NEAR(*FittedLineAngle(forward, 2), kPi - tilt, 1e-12);
  EXPECT_NEAR(*FittedLineAngle(backward, 2), kTwoPi - tilt, 1e-12);
  EXPECT_FALSE(FittedLineAngle(std::vector<TFloatPoint>{{0, 5}, {9, 5}}, 2));
}

TEST(ProjectOnFittedLine, ProjectsOntoTheFit) {
  test::TPointFactory f;
  std::vector<TXRPoint*> list = f.List({{0, 0}, {1, 1}, {2, 2}, {3, 3}});
  TXRPoint* p = f.At(2, 0);
  EXPECT_TRUE(IsNear(ProjectOnFittedLine(list, *p, 4), 1, 1));
  EXPECT_FALSE(ProjectOnFittedLine(list, *p, 5));
  EXPECT_FALSE(ProjectOnFittedLine(list, *f.Invalid(2, 0), 2));
}

TEST(BoxAnchorPoint, AnchorsRunAcrossThenDown) {
  std::vector<TFloatPoint> box = {{0, 0}, {10, 20}};
  const double expected[9][2] = {{0, 0},  {5, 0},  {10, 0},  {0, 10}, {5, 10},
                                 {10, 10}, {0, 20}, {5, 20}, {10, 20}};
  for (int anchor = 0; anchor < 9; ++anchor) {
    EXPECT_TRUE(IsNear(BoxAnchorPoint(box, anchor), expected[anchor][0], expected[anchor][1]))
        << "anchor " << anchor;
  }
  EXPECT_FALSE(BoxAnchorPoint(box, 9));
  EXPECT_FALSE(BoxAnchorPoint(box, -1));
}

TEST(BoxAnchorPoint, SinglePointIsEveryAnchorAndNoPointIsNone) {
  test::TPointFactory f;
  std::vector<TXRPoint*> list = {nullptr, f.At(7, -3), f.Invalid(100, 100)};
  for (int anchor = 0; anchor < 9; ++anchor) EXPECT_TRUE(IsNear(BoxAnchorPoint(list, anchor), 7, -3));
  std::vector<TXRPoint*> none = {f.Invalid()};
  EXPECT_FALSE(BoxAnchorPoint(none, 4));
}

TEST(PaddedBounds, AddsTenPercentOnEverySide) {
  test::TPointFactory f;
  std::vector<TXRPoint*> list = {f.At(0, 0), nullptr, f.Invalid(1000, 1000), f.At(100, 50)};
  EXPECT_EQ(PaddedBounds(list), (TIntRect{-10, -5, 110, 55}));
  std::vector<TXRPoint*> more = {f.At(200, -50)};
  EXPECT_EQ(PaddedBounds(list, more), (TIntRect{-20, -60, 220, 60}));
}

TEST(PaddedBounds, RoundsHalvesToEven) {
  test::TPointFactory f;
  // Width 5: margins of 0.5 on each side.
  std::vector<TXRPoint*> fromZero = {f.At(0, 1), f.At(5, 1)};
  std::vector<TXRPoint*> fromOne = {f.At(1, 1), f.At(6, 1)};
  EXPECT_EQ(PaddedBounds(fromZero), (TIntRect{0, 1, 6, 1}));
  EXPECT_EQ(PaddedBounds(fromOne), (TIntRect{0, 1, 6, 1}));
}

TEST(PaddedBounds, EmptyOrUnrepresentableGivesTheNullRectangle) {
  test::TPointFactory f;
  std::vector<TXRPoint*> points = {f.At(10, 10), f.At(20, 20)};
  std::vector<TXRPoint*> invalid = {f.Invalid(), nullptr};
  std::vector<TXRPoint*> farAway = {f.At(0, 0), f.At(1e12, 0)};
  EXPECT_EQ(PaddedBounds({}, points), TIntRect{});
  EXPECT_EQ(PaddedBounds(invalid), TIntRect{});
  EXPECT_EQ(PaddedBounds(farAway), TIntRect{});
}

TEST(ListTransforms, ActOnValidPointsOnly) {
  test::TPointFactory f;
  TXRPoint* a = f.At(10, 0);
  TXRPoint* b = f.At(0, -5);
  TXRPoint* bad = f.Invalid(3, 4);
  std::vector<TXRPoint*> list = {a, nullptr, bad, b};

  TranslatePoints(list, 1, 2);
  EXPECT_TRUE(IsNear(PositionOf(a), 11, 2));
  EXPECT_TRUE(IsNear(PositionOf(b), 1, -3));

  ScalePoints(list, 2);
  EXPECT_TRUE(IsNear(PositionOf(a), 22, 4));
  EXPECT_TRUE(IsNear(PositionOf(b), 2, -6));

  RotatePoints(list, kPi / 2, 0, 0);  // clockwise as displayed
  EXPECT_TRUE(IsNear(PositionOf(a), -4, 22));
  EXPECT_TRUE(IsNear(PositionOf(b), 6, 2));

  EXPECT_FALSE(bad->IsValid());
  EXPECT_EQ(bad->RawX(), 3);
  EXPECT_EQ(bad->RawY(), 4);
}

TEST(ListTransforms, RotationByZeroIsANoOpWhateverTheCentre) {
  test::TPointFactory f;
  std::vector<TXRPoint*> list = {f.At(1.5, 2.5)};
  RotatePoints(list, 0, std::nan(""), std::nan(""));
  EXPECT_TRUE(list[0]->IsValid());
  EXPECT_TRUE(IsNear(PositionOf(list[0]), 1.5, 2.5));
}

TEST(ListTransforms, FlipsMirrorAboutTheIntegerCentreOfThePaddedBounds) {
  test::TPointFactory f;
  // Padded bounds top -1.1 -> -1, bottom 12.1 -> 12: centre row -1 + 13 / 2 = 5.
  TXRPoint* top = f.At(4, 0);
  TXRPoint* bottom = f.At(7, 11);
  TXRPoint* bad = f.Invalid(50, 50);
  std::vector<TXRPoint*> list = {top, bottom, bad, nullptr};
  FlipPointsVertical(list);
  EXPECT_TRUE(IsNear(PositionOf(top), 4, 10));
  EXPECT_TRUE(IsNear(PositionOf(bottom), 7, -1));
  EXPECT_EQ(bad->RawY(), 50);

  // Left -13 (after padding), right 0: centre column -13 + 13 / 2 = -7 (truncated).
  std::vector<TXRPoint*> row = {f.At(-12, 1), f.At(-1, 1)};
  FlipPointsHorizontal(row);
  EXPECT_TRUE(IsNear(PositionOf(row[0]), -2, 1));
  EXPECT_TRUE(IsNear(PositionOf(row[1]), -13, 1));
}

}  // namespace
}  // namespace lumacet
