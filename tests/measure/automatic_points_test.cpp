#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <vector>

#include "geometry/plane_geometry.h"
#include "measure/point_fixture.h"
#include "model/automatic_points.h"

namespace lumacet {
namespace {

enum : int {
  kExtreme = 2,
  kFirstExtreme = 3,
  kSelfExtreme = 4,
  kSelfFirstExtreme = 5,
  kLowestCurvature = 6,
  kHighestCurvature = 7,
  kCentered = 8,
  kIntersection = 9,
  kWalkShare = 10,
  kWalkDistance = 11,
};

// ---- the rules on hand-made samples ------------------------------------------------

std::optional<TFloatPoint> Place(int kind, const std::vector<TFloatPoint>& samples, double p1 = 0,
                                 TPlacementOperands operands = {}) {
  TPlacement placement = PlaceOnSamples(kind, samples, operands, p1);
  if (placement.Outcome != TPlacementOutcome::Moved) return std::nullopt;
  return placement.At;
}

TPlacementOutcome Outcome(int kind, const std::vector<TFloatPoint>& samples, double p1 = 0,
                          TPlacementOperands operands = {}) {
  return PlaceOnSamples(kind, samples, operands, p1).Outcome;
}

TPlacementOperands Between(TFloatPoint start, TFloatPoint end) { return {start, end, std::nullopt}; }

// Samples 0, 1, ... n - 1 along the x axis.
std::vector<TFloatPoint> Ruler(int n) {
  std::vector<TFloatPoint> samples;
  for (int i = 0; i < n; ++i) samples.push_back({static_cast<double>(i), 0});
  return samples;
}

#define EXPECT_SAMPLE(placed, x, y)                  \
  do {                                               \
    auto at_ = (placed);                             \
    ASSERT_TRUE(at_.has_value());                    \
    EXPECT_NEAR(at_->X, (x), test::kPointTolerance); \
    EXPECT_NEAR(at_->Y, (y), test::kPointTolerance); \
  } while (0)

TEST(PlaceOnSamples, StartAndEndAreTheNearestSamplesFirstWinningTies) {
  std::vector<TFloatPoint> s = {{0, 0}, {10, 0}, {20, 0}};
  EXPECT_SAMPLE(Place(kWalkShare, s, 0, {TFloatPoint{5, 0}, {}, {}}), 0, 0);
  EXPECT_SAMPLE(Place(kWalkShare, s, 0, {TFloatPoint{15, 3}, {}, {}}), 10, 0);
  EXPECT_SAMPLE(Place(kWalkShare, s, 1000, {TFloatPoint{15, 3}, {}, {}}), 20, 0);
  EXPECT_SAMPLE(Place(kWalkShare, s, 1000, {{}, TFloatPoint{12, 0}, {}}), 10, 0);
  // Only distances below 100000 count; farther operands leave the defaults.
  EXPECT_SAMPLE(Place(kWalkShare, s, 1000, {{}, TFloatPoint{0, 99999}, {}}), 0, 0);
  EXPECT_SAMPLE(Place(kWalkShare, s, 1000, {{}, TFloatPoint{0, 100000}, {}}), 20, 0);
  EXPECT_SAMPLE(Place(kWalkShare, s, 0, {TFloatPoint{20, 100000}, {}, {}}), 0, 0);
}

TEST(PlaceOnSamples, ExtremeTakesTheFirstLargestXAfterTurningByTheAngle) {
  std::vector<TFloatPoint> s = {{0, 0}, {5, 1}, {5, 2}, {3, 9}, {1, 4}};
  EXPECT_SAMPLE(Place(kExtreme, s, 0), 5, 1);
  EXPECT_SAMPLE(Place(kExtreme, s, 0, Between({5, 2}, {1, 4})), 5, 2);
  // 90 degrees: the lowest sample on the screen.
  EXPECT_SAMPLE(Place(kExtreme, s, 900), 3, 9);
  // The direction points turn the frame: along an upward line the topmost sample wins.
  EXPECT_SAMPLE(Place(kExtreme, s, 0, {{}, {}, kPi / 2}), 0, 0);
  EXPECT_SAMPLE(Place(kExtreme, s, 900, {{}, {}, kPi / 2}), 5, 1);
  // An end before the start leaves the start sample.
  EXPECT_SAMPLE(Place(kExtreme, s, 0, Between({3, 9}, {0, 0})), 3, 9);
}

TEST(PlaceOnSamples, FirstExtremeStopsAtTheFirstSampleThatDoesNotGrow) {
  std::vector<TFloatPoint> s = {{0, 0}, {3, 0}, {5, 0}, {4, 0}, {8, 0}, {9, 0}};
  EXPECT_SAMPLE(Place(kFirstExtreme, s, 0), 5, 0);
  EXPECT_SAMPLE(Place(kExtreme, s, 0), 9, 0);
  // Rising all the way: the end sample itself is never examined.
  EXPECT_SAMPLE(Place(kFirstExtreme, Ruler(4), 0), 2, 0);
  EXPECT_SAMPLE(Place(kFirstExtreme, Ruler(4), 0, Between({2, 0}, {2, 0})), 2, 0);
  // Walking backwards from the end, looking left.
  EXPECT_SAMPLE(Place(kFirstExtreme, Ruler(4), 1800, Between({3, 0}, {0, 0})), 1, 0);
}

TEST(PlaceOnSamples, SelfExtremeMeasuresAgainstTheBestFitLineTowardsTheFirstSample) {
  // Fitted line y = x; the first sample lies up and to the left of the centre.
  std::vector<TFloatPoint> s = {{0, 0}, {12, 8}, {8, 12}, {30, 30}};
  EXPECT_SAMPLE(Place(kSelfExtreme, s, 0), 0, 0);
  EXPECT_SAMPLE(Place(kSelfExtreme, s, 900), 12, 8);
  EXPECT_SAMPLE(Place(kSelfExtreme, s, -900), 8, 12);
  std::vector<TFloatPoint> reversed(s.rbegin(), s.rend());
  EXPECT_SAMPLE(Place(kSelfExtreme, reversed, 900), 8, 12);
  EXPECT_SAMPLE(Place(kSelfFirstExtreme, s, 900), 12, 8);
}

TEST(PlaceOnSamples, SelfExtremeWithoutAFittedLineIgnoresTheAngle) {
  // A vertical run has no fit: the screen axes are used unturned, and all x are equal.
  std::vector<TFloatPoint> s = {{0, 0}, {0, 10}, {0, 20}};
  EXPECT_SAMPLE(Place(kSelfExtreme, s, 900), 0, 0);
  EXPECT_SAMPLE(Place(kSelfExtreme, s, 900, Between({0, 10}, {0, 20})), 0, 10);
}

TEST(PlaceOnSamples, CurvatureKindsCompareTurningAnglesBetweenChords) {
  std::vector<TFloatPoint> s = {{0, 0}, {10, 0}, {20, 0}, {30, 10}, {30, 20}, {20, 20}};
  EXPECT_SAMPLE(Place(kLowestCurvature, s), 10, 0);
  // 45 degrees at (20,0) and (30,10), equal: the first wins ...
  EXPECT_SAMPLE(Place(kHighestCurvature, s, 0, Between({0, 0}, {30, 20})), 20, 0);
  // ... until a sharper turn comes within the stretch.
  EXPECT_SAMPLE(Place(kHighestCurvature, s), 30, 20);
  EXPECT_SAMPLE(Place(kLowestCurvature, s, 0, Between({10, 0}, {20, 20})), 20, 0);
}

TEST(PlaceOnSamples, CurvatureSkipsZeroChordsButNotStraightRuns) {
  std::vector<TFloatPoint> doubled = {{0, 0}, {10, 0}, {10, 0}, {20, 0}, {30, 10}};
  EXPECT_SAMPLE(Place(kLowestCurvature, doubled), 20, 0);
  // Along (9, 17) the cosine of a straight continuation rounds to just above 1.
  std::vector<TFloatPoint> straight = {{0, 0}, {9, 17}, {18, 34}, {27, 51}, {44, 42}, {61, 33}};
  EXPECT_SAMPLE(Place(kLowestCurvature, straight), 9, 17);
  EXPECT_SAMPLE(Place(kHighestCurvature, straight), 27, 51);
}

TEST(PlaceOnSamples, CurvatureWithoutAnInteriorSampleTakesTheOneAfterTheStart) {
  std::vector<TFloatPoint> s = Ruler(5);
  EXPECT_SAMPLE(Place(kHighestCurvature, s, 0, Between({2, 0}, {2, 0})), 3, 0);
  EXPECT_SAMPLE(Place(kLowestCurvature, s, 0, Between({3, 0}, {1, 0})), 4, 0);
  // Past the last sample there is nothing to take: the point is left as it was.
  EXPECT_EQ(Outcome(kHighestCurvature, s, 0, Between({4, 0}, {4, 0})), TPlacementOutcome::Kept);
  EXPECT_EQ(Outcome(kLowestCurvature, {{7, 7}}), TPlacementOutcome::Kept);
}

TEST(PlaceOnSamples, CenteredTakesTheMiddleOfTheStretchesBox) {
  std::vector<TFloatPoint> s = {{0, 0}, {10, 5}, {4, 20}, {-6, 3}};
  EXPECT_SAMPLE(Place(kCentered, s), 2, 10);
  EXPECT_SAMPLE(Place(kCentered, s, 0, Between({10, 5}, {4, 20})), 7, 12.5);
  EXPECT_SAMPLE(Place(kCentered, s, 0, Between({4, 20}, {4, 20})), 4, 20);
  EXPECT_EQ(Outcome(kCentered, s, 0, Between({4, 20}, {10, 5})), TPlacementOutcome::Invalid);
}

TEST(PlaceOnSamples, WalkShareRoundsHalfToEvenAndStaysOnTheStretch) {
  std::vector<TFloatPoint> s = Ruler(11);
  EXPECT_SAMPLE(Place(kWalkShare, s, 500), 5, 0);
  EXPECT_SAMPLE(Place(kWalkShare, s, -500), 5, 0);
  EXPECT_SAMPLE(Place(kWalkShare, s, 250), 2, 0);
  EXPECT_SAMPLE(Place(kWalkShare, s, 350), 4, 0);
  EXPECT_SAMPLE(Place(kWalkShare, s, 1500), 10, 0);
  EXPECT_SAMPLE(Place(kWalkShare, s, 300, Between({10, 0}, {0, 0})), 7, 0);
  EXPECT_SAMPLE(Place(kWalkShare, s, 5000, Between({8, 0}, {2, 0})), 2, 0);
}

TEST(PlaceOnSamples, WalkDistanceCountsTwoUnitsPerSampleAndStopsAtTheEnd) {
  std::vector<TFloatPoint> s = Ruler(101);
  EXPECT_SAMPLE(Place(kWalkDistance, s, 100), 50, 0);
  EXPECT_SAMPLE(Place(kWalkDistance, s, -100), 50, 0);
  EXPECT_SAMPLE(Place(kWalkDistance, s, 100, Between({20, 0}, {40, 0})), 40, 0);
  EXPECT_SAMPLE(Place(kWalkDistance, s, 100, Between({80, 0}, {10, 0})), 30, 0);
  EXPECT_SAMPLE(Place(kWalkDistance, s, 100, Between({80, 0}, {60, 0})), 60, 0);
  EXPECT_SAMPLE(Place(kWalkDistance, s, 5), 2, 0);  // 2.5 samples round to 2
  EXPECT_SAMPLE(Place(kWalkDistance, s, 7), 4, 0);  // 3.5 round to 4
  EXPECT_SAMPLE(Place(kWalkDistance, s, 1e300), 100, 0);
}

TEST(PlaceOnSamples, IntersectionTakesTheSampleBeforeTheFirstDownwardCrossing) {
  std::vector<TFloatPoint> down = {{0, 0}, {1, 10}, {2, 20}, {3, 30}, {4, 10}, {5, 20}};
  EXPECT_SAMPLE(Place(kIntersection, down, 0, {TFloatPoint{100, 15}, {}, {}}), 1, 10);
  // Upward crossings and touching samples do not count.
  std::vector<TFloatPoint> up(down.rbegin(), down.rend());
  EXPECT_SAMPLE(Place(kIntersection, up, 0, {TFloatPoint{100, 15}, {}, {}}), 4, 10);
  EXPECT_EQ(Outcome(kIntersection, {{0, 30}, {1, 20}, {2, 10}}, 0, {TFloatPoint{0, 15}, {}, {}}),
            TPlacementOutcome::Kept);
  EXPECT_EQ(Outcome(kIntersection, down, 0, {TFloatPoint{0, 20}, {}, {}}), TPlacementOutcome::Kept);
  // Turned by 90 degrees the line runs down the screen and is crossed leftwards.
  std::vector<TFloatPoint> leftwards = {{10, 0}, {5, 1}, {-5, 2}, {-10, 3}};
  EXPECT_SAMPLE(Place(kIntersection, leftwards, 900, {TFloatPoint{0, 50}, {}, {}}), 5, 1);
  std::vector<TFloatPoint> rightwards(leftwards.rbegin(), leftwards.rend());
  EXPECT_EQ(Outcome(kIntersection, rightwards, 900, {TFloatPoint{0, 50}, {}, {}}), TPlacementOutcome::Kept);
  // Without a point for the line there is nothing to do yet.
  EXPECT_EQ(Outcome(kIntersection, down, 0), TPlacementOutcome::Unplaced);
}

TEST(PlaceOnSamples, NoSamplesLeaveThePointUnplaced) {
  for (int kind = kExtreme; kind <= kWalkDistance; ++kind)
    EXPECT_EQ(Outcome(kind, {}, 0, {TFloatPoint{0, 0}, {}, {}}), TPlacementOutcome::Unplaced) << kind;
}

// ---- digitized points placed on a snake of a type ----------------------------------

class AutomaticPoint : public test::PointTypeTest {
 protected:
  // Operands 2..5 in order; null leaves a slot empty.
  TDigPoint* Automatic(int kind, TDigSnake* snake, std::initializer_list<TXRayElement*> operands = {},
                       double p1 = 0) {
    auto* point = Add<TDigPoint>(ekDigPoint);
    point->SetKind(kind);
    EXPECT_TRUE(point->SetOperand(0, snake));
    int slot = 1;
    for (TXRayElement* operand : operands) {
      if (operand != nullptr) {
        EXPECT_TRUE(point->SetOperand(slot, operand));
      }
      ++slot;
    }
    point->Parameter1 = p1;
    return point;
  }
};

TEST_F(AutomaticPoint, WaitsForItsSnakeToBePlaced) {
  TDigSnake* snake = Snake({{0, 0}, {200, 0}}, false);
  TDigPoint* walk = Automatic(kWalkDistance, snake, {}, 100);
  walk->SetXY(7, 8);
  EXPECT_POINT_AT(walk, 7, 8);
  EXPECT_TRUE(walk->NeedsPlacing);
  walk->SetValid(false);
  EXPECT_FALSE(walk->IsValid());
  EXPECT_TRUE(walk->NeedsPlacing);

  snake->Placed = true;
  EXPECT_POINT_AT(walk, 100, 0);
  EXPECT_FALSE(walk->NeedsPlacing);
  // Placed positions stand until a recalculation is asked for.
  snake->Translate(0, 50);
  EXPECT_POINT_AT(walk, 100, 0);
  walk->Invalidate();
  EXPECT_POINT_AT(walk, 100, 50);
}

TEST_F(AutomaticPoint, WalkFromTheStartPointTowardsTheEndPoint) {
  TDigSnake* snake = Snake({{0, 0}, {200, 0}});
  TDigPoint* start = Dig(20, 3);
  TDigPoint* end = Dig(150, -1);
  TDigPoint* walk = Automatic(kWalkDistance, snake, {start, end}, 100);
  EXPECT_POINT_AT(walk, 120, 0);
  walk->Parameter1 = 200;
  walk->Invalidate();
  EXPECT_POINT_AT(walk, 150, 0);
  TDigPoint* back = Automatic(kWalkShare, snake, {end, start}, 500);
  EXPECT_POINT_AT(back, 84, 0);  // halfway from sample 75 to sample 10 is 42.5, rounded to 42
}

TEST_F(AutomaticPoint, AnInvalidOperandIsTreatedAsAbsent) {
  TDigSnake* snake = Snake({{0, 0}, {200, 0}});
  TDigPoint* start = Dig(20, 0);
  start->SetValid(false);
  EXPECT_POINT_AT(Automatic(kWalkDistance, snake, {start}, 100), 100, 0);
}

TEST_F(AutomaticPoint, ExtremesOfAnArch) {
  TDigSnake* arch = Snake({{0, 0}, {50, -50}, {100, 0}});
  EXPECT_POINT_AT(Automatic(kExtreme, arch, {}, 2700), 50, -50);
  EXPECT_POINT_AT(Automatic(kFirstExtreme, arch, {}, 2700), 50, -50);
  EXPECT_POINT_AT(Automatic(kExtreme, arch, {}, 0), 100, 0);
  // Direction points pointing up the screen find the top at angle 0.
  TDigPoint* from = Dig(500, 500);
  TDigPoint* to = Dig(500, 400);
  EXPECT_POINT_AT(Automatic(kExtreme, arch, {nullptr, nullptr, from, to}, 0), 50, -50);
}

TEST_F(AutomaticPoint, SelfExtremeFindsTheTopOfATiltedArch) {
  auto tilted = [](TFloatPoint p) { return *RotateAbout(TFloatPoint{0, 0}, p, 30); };
  TFloatPoint top = tilted({50, -50});
  TDigSnake* arch = Snake({tilted({0, 0}), top, tilted({100, 0})});
  EXPECT_POINT_AT(Automatic(kSelfExtreme, arch, {}, 900), top.X, top.Y);
  EXPECT_POINT_AT(Automatic(kSelfFirstExtreme, arch, {}, 900), top.X, top.Y);
}

TEST_F(AutomaticPoint, CenteredOnAStretch) {
  TDigSnake* line = Snake({{0, 0}, {100, 0}});
  EXPECT_POINT_AT(Automatic(kCentered, line), 50, 0);
  EXPECT_POINT_AT(Automatic(kCentered, line, {Dig(20, 0), Dig(60, 0)}), 40, 0);
  TDigPoint* reversed = Automatic(kCentered, line, {Dig(60, 0), Dig(20, 0)});
  reversed->SetXY(1, 2);
  reversed->Invalidate();
  EXPECT_FALSE(reversed->IsValid());
  EXPECT_FALSE(reversed->NeedsPlacing);
}

TEST_F(AutomaticPoint, IntersectionWithoutACrossingKeepsThePreviousPosition) {
  TDigSnake* descending = Snake({{0, 0}, {0, 100}});
  TDigPoint* level = Dig(30, 42);
  EXPECT_POINT_AT(Automatic(kIntersection, descending, {level}), 0, 40);

  TDigPoint* missed = Automatic(kIntersection, descending, {Dig(30, 200)});
  missed->SetXY(5, 6);
  missed->Invalidate();
  EXPECT_POINT_AT(missed, 5, 6);
  EXPECT_FALSE(missed->NeedsPlacing);

  TDigPoint* lineless = Automatic(kIntersection, descending);
  EXPECT_FALSE(lineless->IsValid());
  EXPECT_TRUE(lineless->NeedsPlacing);
}

TEST_F(AutomaticPoint, PlacedPointsFeedOtherPoints) {
  TDigSnake* line = Snake({{0, 0}, {200, 0}});
  TDigPoint* walk = Automatic(kWalkDistance, line, {}, 100);
  TDigPoint* further = Automatic(kWalkDistance, line, {walk}, 60);
  TDerPoint* mid = Der(1, {further, Dig(0, 40)});
  EXPECT_POINT_AT(mid, 80, 20);
  EXPECT_POINT_AT(walk, 100, 0);

  // A start operand that leads back to the point reads as absent.
  TDigPoint* circular = Automatic(kWalkDistance, line, {}, 100);
  ASSERT_TRUE(circular->SetOperand(1, circular));
  EXPECT_POINT_AT(circular, 100, 0);
}

}  // namespace
}  // namespace lumacet
