#include <gtest/gtest.h>

#include "measure/point_fixture.h"

namespace lumacet {
namespace {

using Construction = test::PointTypeTest;

TEST_F(Construction, FixedTakesItsParametersAndNeedsNoOperands) {
  EXPECT_POINT_AT(Der(0, {}, 150, -20), 150, -20);
}

TEST_F(Construction, MidpointProjectionAndMirror) {
  EXPECT_POINT_AT(Der(1, {Dig(10, 20), Dig(30, -40)}), 20, -10);

  TDigPoint* b = Dig(0, 0);
  TDigPoint* c = Dig(100, 0);
  EXPECT_POINT_AT(Der(2, {Dig(30, 40), b, c}), 30, 0);
  EXPECT_POINT_AT(Der(14, {Dig(30, 40), b, c}), 30, -40);
  // A line through one point has no direction.
  EXPECT_FALSE(Der(2, {Dig(30, 40), b, b})->IsValid());
  EXPECT_FALSE(Der(14, {Dig(30, 40), c, c})->IsValid());
}

TEST_F(Construction, IntersectionOfTheInfiniteLines) {
  EXPECT_POINT_AT(Der(3, {Dig(0, 0), Dig(10, 10), Dig(0, 10), Dig(10, 0)}), 5, 5);
  EXPECT_FALSE(Der(3, {Dig(0, 0), Dig(10, 0), Dig(0, 5), Dig(10, 5)})->IsValid());
  // So nearly parallel that the crossing is beyond any real number.
  EXPECT_FALSE(Der(3, {Dig(0, 0), Dig(1e300, 0), Dig(0, 1), Dig(1e300, 1.000000000000001)})->IsValid());
}

TEST_F(Construction, SweepAngleTurnsClockwiseAsDisplayedByTenthsOfADegree) {
  EXPECT_POINT_AT(Der(4, {Dig(0, 0), Dig(100, 0)}, 900), 0, 100);
  EXPECT_POINT_AT(Der(4, {Dig(10, 10), Dig(20, 10)}, -900), 10, 0);
}

TEST_F(Construction, CircleIntersectionTakesTheCrossingFartherAlongTheLine) {
  TDigPoint* centre = Dig(0, 0);
  TDigPoint* rim = Dig(10, 0);
  TDigPoint* left = Dig(-20, 0);
  TDigPoint* right = Dig(20, 0);
  EXPECT_POINT_AT(Der(5, {centre, rim, left, right}), 10, 0);
  EXPECT_POINT_AT(Der(5, {centre, rim, right, left}), -10, 0);
  EXPECT_FALSE(Der(5, {centre, rim, Dig(-20, 11), Dig(20, 11)})->IsValid());
  EXPECT_FALSE(Der(5, {centre, rim, left, left})->IsValid());
}

TEST_F(Construction, ExtensionAndPerpendicularMoveTheBaseByParameterOne) {
  TDigPoint* a = Dig(0, 0);
  TDigPoint* down = Dig(0, 10);
  TDigPoint* base = Dig(5, 5);
  EXPECT_POINT_AT(Der(6, {a, down, base}, 30), 5, 35);
  EXPECT_POINT_AT(Der(6, {a, down, base}, 0), 5, 5);
  EXPECT_FALSE(Der(6, {a, a, base}, 30)->IsValid());

  TDigPoint* right = Dig(10, 0);
  EXPECT_POINT_AT(Der(7, {a, right, a}, 10), 0, 10);  // right of a rightward line is below it
  EXPECT_FALSE(Der(7, {right, right, a}, 10)->IsValid());
}

TEST_F(Construction, SumAndDifferenceWorkOnCoordinates) {
  TDigPoint* a = Dig(3, 4);
  TDigPoint* b = Dig(10, -2);
  EXPECT_POINT_AT(Der(8, {a, b}), 13, 2);
  EXPECT_POINT_AT(Der(9, {a, b}), -7, 6);
  // Overflow is a failure, never an infinite coordinate.
  TDigPoint* huge = Dig(1.5e308, 0);
  EXPECT_FALSE(Der(8, {huge, huge})->IsValid());
}

TEST_F(Construction, AverageIsTheCentreOfTheDrawingsValidPoints) {
  TDigPoint* missing = Dig(1000, 1000);
  missing->SetValid(false);
  TDerPoint* average = Der(10, {Drawing({Dig(0, 0), Dig(10, 0), missing, Dig(20, 30)})});
  EXPECT_POINT_AT(average, 10, 10);

  EXPECT_FALSE(Der(10, {Drawing({})})->IsValid());
  EXPECT_FALSE(Der(10, {Drawing({missing})})->IsValid());
}

TEST_F(Construction, CircleThroughThreePoints) {
  EXPECT_POINT_AT(Der(11, {Dig(0, 0), Dig(10, 0), Dig(0, 10)}), 5, 5);
  EXPECT_FALSE(Der(11, {Dig(0, 0), Dig(10, 10), Dig(20, 20)})->IsValid());
}

TEST_F(Construction, AngleBisectorTurnsTheSecondPointAboutTheCrossing) {
  EXPECT_POINT_AT(Der(12, {Dig(-10, 0), Dig(10, 0), Dig(0, 10), Dig(0, -10)}), 7.0710678118654755,
            -7.0710678118654755);
  EXPECT_FALSE(Der(12, {Dig(0, 0), Dig(10, 0), Dig(0, 5), Dig(10, 5)})->IsValid());
}

TEST_F(Construction, BestFitLineNeedsTheMinimumCountRoundedHalfToEven) {
  TXRGraphic* diagonal = Drawing({Dig(0, 0), Dig(10, 10), Dig(20, 20)});
  TDigPoint* b = Dig(10, 0);
  EXPECT_POINT_AT(Der(13, {diagonal, b}, 30), 5, 5);
  EXPECT_FALSE(Der(13, {diagonal, b}, 40)->IsValid());
  EXPECT_FALSE(Der(13, {diagonal, b}, 35)->IsValid());  // 3.5 rounds to 4
  EXPECT_POINT_AT(Der(13, {diagonal, b}, 25), 5, 5);          // 2.5 rounds to 2

  static_cast<TDigPoint*>(diagonal->Points[2])->SetValid(false);
  fType.InvalidateDerived();
  EXPECT_FALSE(Der(13, {diagonal, b}, 30)->IsValid());
  EXPECT_POINT_AT(Der(13, {diagonal, b}, 20), 5, 5);
  // Points on an exactly horizontal line give no fit.
  EXPECT_FALSE(Der(13, {Drawing({Dig(0, 5), Dig(10, 5), Dig(20, 5)}), b}, 20)->IsValid());
}

TEST_F(Construction, InterpolationUsesParameterTwoInPerMille) {
  TDigPoint* a = Dig(0, 0);
  TDigPoint* b = Dig(100, 40);
  EXPECT_POINT_AT(Der(15, {a, b}, 0, 500), 50, 20);
  EXPECT_POINT_AT(Der(15, {a, b}, 999, 500), 50, 20);
  EXPECT_POINT_AT(Der(15, {a, b}, 0, -500), -50, -20);
}

TEST_F(Construction, AnInvalidOperandMakesThePointInvalidUntilItIsDigitized) {
  TDigPoint* a = Dig(0, 0);
  TDigPoint* b = Dig(0, 0);
  b->SetValid(false);
  TDerPoint* mid = Der(1, {a, b});
  EXPECT_FALSE(mid->IsValid());
  MoveTo(b, 20, 40);
  EXPECT_POINT_AT(mid, 10, 20);
}

TEST_F(Construction, AnEmptyUsedSlotKeepsThePointWaitingForIt) {
  TDigPoint* a = Dig(0, 0);
  TDerPoint* mid = Der(1, {a});
  EXPECT_FALSE(mid->IsValid());
  EXPECT_TRUE(mid->NeedsComputing());
  mid->SetOperand(1, Dig(10, 10));
  EXPECT_POINT_AT(mid, 5, 5);
}

TEST_F(Construction, ResultsAreKeptUntilTheTypeIsMarkedStale) {
  TDigPoint* a = Dig(0, 0);
  TDigPoint* b = Dig(10, 0);
  TDerPoint* mid = Der(1, {a, b});
  EXPECT_POINT_AT(mid, 5, 0);
  a->SetXY(20, 20);
  EXPECT_POINT_AT(mid, 5, 0);
  fType.InvalidateDerived();
  EXPECT_POINT_AT(mid, 15, 10);

  mid->SetParameters(1, 2);  // unused by the kind, but any change recomputes
  EXPECT_TRUE(mid->NeedsComputing());
  EXPECT_POINT_AT(mid, 15, 10);
}

TEST_F(Construction, ChainedConstructionsFollowTheirOperands) {
  TDigPoint* a = Dig(0, 0);
  TDigPoint* b = Dig(20, 0);
  TDerPoint* mid = Der(1, {a, b});
  TDerPoint* below = Der(7, {a, b, mid}, 30);
  TDerPoint* mirrored = Der(14, {below, a, b});
  EXPECT_POINT_AT(mirrored, 10, -30);

  MoveTo(b, 0, 20);  // the line now runs down the screen; its right side is to the left
  EXPECT_POINT_AT(below, -30, 10);
  EXPECT_POINT_AT(mirrored, 30, 10);

  b->SetValid(false);
  fType.InvalidateDerived();
  EXPECT_FALSE(mirrored->IsValid());
}

TEST_F(Construction, ReferenceCyclesReadAsInvalidAndEnd) {
  TDigPoint* a = Dig(0, 0);
  TDerPoint* self = Der(1, {a, a});
  ASSERT_TRUE(self->SetOperand(1, self));
  EXPECT_FALSE(self->IsValid());

  TDerPoint* first = Der(1, {a, a});
  TDerPoint* second = Der(1, {first, a});
  ASSERT_TRUE(first->SetOperand(1, second));
  EXPECT_FALSE(second->IsValid());
  EXPECT_FALSE(first->IsValid());
}

TEST_F(Construction, DrawingsThatContainThePointItselfAreCyclesToo) {
  TDigPoint* a = Dig(0, 0);
  TDigPoint* b = Dig(10, 10);
  TXRGraphic* outline = Drawing({a, b});
  TDerPoint* centre = Der(10, {outline});
  TDerPoint* shifted = Der(6, {a, b, centre}, 0);
  TDerPoint* onLine = Der(13, {outline, Dig(10, 0)}, 20);
  EXPECT_POINT_AT(centre, 5, 5);
  EXPECT_POINT_AT(shifted, 5, 5);
  EXPECT_POINT_AT(onLine, 5, 5);

  // Both orders of reading agree: neither point is built from a part of itself.
  outline->Points.push_back(shifted);
  fType.InvalidateDerived();
  EXPECT_FALSE(shifted->IsValid());
  EXPECT_FALSE(centre->IsValid());
  fType.InvalidateDerived();
  EXPECT_FALSE(centre->IsValid());
  EXPECT_FALSE(shifted->IsValid());

  outline->Points.back() = onLine;
  fType.InvalidateDerived();
  EXPECT_FALSE(onLine->IsValid());
}

}  // namespace
}  // namespace lumacet
