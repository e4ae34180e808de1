#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "digitize/edge_search.h"
#include "digitize/snake_fit.h"
#include "digitize/edge_scene.h"
#include "model/point_elements.h"

namespace lumacet {
namespace {

using test::BlurredStep;
using test::Picture;

// Two vertical edges, in tracing units: a strong rise at kRise and, 60 units on, a weaker
// fall at kFall.
constexpr double kRise = 403.7;
constexpr double kFall = 463.7;
constexpr double kWidth = 900;
constexpr double kHeight = 600;

struct TScene {
  TImageStore Image;
  TImageFrame Frame;
  TGreyPlane Plane;
};

TScene TwoEdges(int bits, double pixelWidth, double noise, double fallContrast = 0.2) {
  TScene scene;
  scene.Frame.PixelWidth = scene.Frame.PixelHeight = pixelWidth;
  const double blur = 1.2 * pixelWidth;
  scene.Image = Picture(static_cast<int>(kWidth / pixelWidth), static_cast<int>(kHeight / pixelWidth), bits, noise,
                        17, [&](double column, double row) {
                          const double x = column * pixelWidth, y = row * pixelWidth;
                          return 0.2 + 0.05 * y / kHeight + 0.45 * BlurredStep(x - kRise, blur) -
                                 fallContrast * BlurredStep(x - kFall, blur);
                        });
  scene.Plane = TGreyPlane::FromImage(scene.Image);
  return scene;
}

enum TTruth { Rise, Fall, Midway };

double TruthX(TTruth truth) { return truth == Rise ? kRise : truth == Fall ? kFall : (kRise + kFall) / 2; }

TEST(EdgeGroundTruth, LockLandsWithinHalfAPixelOfTheEdgeTheChoiceNames) {
  struct TCase {
    const char* What;
    int Transition;
    TEdgeChoice Choice;
    double Angle;  // of the search line, degrees
    TTruth Truth;
  };
  // The cursor sits 36.3 units right of the rise and 23.7 left of the fall.
  const std::vector<TCase> cases = {
      {"most prominent is the stronger rise", kAnyTransition, TEdgeChoice::MostProminent, 0, Rise},
      {"closest is the nearer fall", kAnyTransition, TEdgeChoice::Closest, 0, Fall},
      {"white to black takes only the fall", kWhiteToBlack, TEdgeChoice::MostProminent, 0, Fall},
      {"black to white takes only the rise", kBlackToWhite, TEdgeChoice::MostProminent, 0, Rise},
      {"a line searched leftwards sees the rise as white to black", kWhiteToBlack, TEdgeChoice::MostProminent, 180,
       Rise},
      {"between most prominent", kAnyTransition, TEdgeChoice::BetweenMostProminent, 0, Midway},
      {"between closest", kAnyTransition, TEdgeChoice::BetweenClosest, 0, Midway},
      {"an oblique line crosses the rise where it lies", kAnyTransition, TEdgeChoice::MostProminent, 25, Rise},
  };
  for (int bits : {8, 12, 16})
    for (double pixelWidth : {1.0, 2.5}) {
      const TScene scene = TwoEdges(bits, pixelWidth, 0.02);
      EXPECT_EQ(scene.Plane.FullDepth(), true);
      for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.What) + ", " + std::to_string(bits) + " bits, pixel " + std::to_string(pixelWidth));
        const TEdgeLock lock = LockEdgeAlong(scene.Plane, scene.Frame, {440, 300}, 50, c.Angle * M_PI / 180,
                                             c.Transition, 0, c.Choice);
        ASSERT_TRUE(lock.Locked);
        EXPECT_NEAR(lock.Position.X, TruthX(c.Truth), 0.5 * pixelWidth);
        if (c.Choice == TEdgeChoice::BetweenMostProminent || c.Choice == TEdgeChoice::BetweenClosest) {
          EXPECT_NEAR(440 + std::min(lock.Offset1, lock.Offset2), kRise, 0.5 * pixelWidth);
          EXPECT_NEAR(440 + std::max(lock.Offset1, lock.Offset2), kFall, 0.5 * pixelWidth);
        }
      }
    }
}

TEST(EdgeGroundTruth, TwelveBitSamplesKeepAStepTheDisplayMerges) {
  // A fall of 0.2 % of full scale: under one level of the 8-bit display.
  const TScene scene = TwoEdges(12, 1.0, 0, 0.002);
  ASSERT_TRUE(scene.Plane.FullDepth());
  const TEdgeLock lock = LockEdgeAlong(scene.Plane, scene.Frame, {470, 300}, 20, 0, kWhiteToBlack, 0,
                                       TEdgeChoice::MostProminent);
  ASSERT_TRUE(lock.Locked);
  EXPECT_NEAR(lock.Position.X, kFall, 0.5);

  // Once the display has been edited the search reads what is shown.
  TImageStore edited = scene.Image;
  for (std::uint32_t& pixel : edited.Display.Pixels) pixel ^= 0x00FFFFFFu;
  const TGreyPlane shown = TGreyPlane::FromImage(edited);
  EXPECT_FALSE(shown.FullDepth());
  EXPECT_NEAR(shown.At(10, 10) + scene.Plane.At(10, 10), 255, 1);
}

TEST(EdgeGroundTruth, NoImageNoPixelSizeOrAFlatPictureLeaveTheCursorWhereItIs) {
  const TScene scene = TwoEdges(8, 1.0, 0);
  TImageFrame noSize = scene.Frame;
  noSize.PixelWidth = 0;
  const TScene flat = [] {
    TScene s;
    s.Frame.PixelWidth = s.Frame.PixelHeight = 1;
    s.Image = Picture(200, 200, 12, 0, 1, [](double, double) { return 0.5; });
    s.Plane = TGreyPlane::FromImage(s.Image);
    return s;
  }();
  struct TCase {
    const char* What;
    const TGreyPlane& Plane;
    TImageFrame Frame;
    TFloatPoint Cursor;
    double Range;
  };
  const TGreyPlane none;
  const std::vector<TCase> cases = {
      {"no image", none, scene.Frame, {440, 300}, 50},
      {"zero pixel size", scene.Plane, noSize, {440, 300}, 50},
      {"outside the image", scene.Plane, scene.Frame, {-5000, 300}, 50},
      {"no edge on the line", flat.Plane, flat.Frame, {100, 100}, 40},
      {"search range 0", scene.Plane, scene.Frame, {kRise, 300}, 0},
      {"a cursor that is not a number", scene.Plane, scene.Frame, {NAN, 300}, 50},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    const TEdgeLock lock = LockEdgeAlong(c.Plane, c.Frame, c.Cursor, c.Range, 0, kAnyTransition, 0,
                                         TEdgeChoice::MostProminent);
    EXPECT_FALSE(lock.Locked);
    EXPECT_EQ(lock.Offset, 0);
    if (std::isfinite(c.Cursor.X)) {
      EXPECT_EQ(lock.Position, c.Cursor);
    }
  }
}

TEST(EdgeGroundTruth, PointSettingsDecideWhetherTheLockRuns) {
  const TScene scene = TwoEdges(12, 1.0, 0.02);
  TDigPoint point;
  point.SearchRange = 50;
  point.CursorOnly = false;
  EXPECT_NEAR(LockEdge(scene.Plane, scene.Frame, point, {440, 300}, TEdgeChoice::MostProminent, 2).Position.X, kRise,
              0.5);
  // Setting 1 and cursor-only points draw the orientation cursor but do not move the click.
  const TEdgeLock cursorOnly = LockEdge(scene.Plane, scene.Frame, point, {440, 300}, TEdgeChoice::MostProminent, 1);
  EXPECT_FALSE(cursorOnly.Locked);
  EXPECT_EQ(OrientationCursor(cursorOnly, TEdgeChoice::MostProminent, 1).size(), 2u);
  EXPECT_TRUE(OrientationCursor(cursorOnly, TEdgeChoice::MostProminent, 0).empty());
  point.CursorOnly = true;
  EXPECT_FALSE(LockEdge(scene.Plane, scene.Frame, point, {440, 300}, TEdgeChoice::MostProminent, 2).Locked);
  point.CursorOnly = false;
  const TEdgeLock between = LockEdge(scene.Plane, scene.Frame, point, {440, 300}, TEdgeChoice::BetweenClosest, 2);
  EXPECT_EQ(OrientationCursor(between, TEdgeChoice::BetweenClosest, 2).size(), 4u);
}

// A bright disc on a darker ground, like a skull on its film.
constexpr double kCentreX = 500, kCentreY = 500, kRadius = 380;

TScene Disc(int bits, double pixelWidth) {
  TScene scene;
  scene.Frame.PixelWidth = scene.Frame.PixelHeight = pixelWidth;
  const int size = static_cast<int>(1000 / pixelWidth);
  scene.Image = Picture(size, size, bits, 0.02, 29, [&](double column, double row) {
    const double x = column * pixelWidth, y = row * pixelWidth;
    return 0.25 + 0.05 * x / 1000 + 0.4 * BlurredStep(kRadius - std::hypot(x - kCentreX, y - kCentreY), 1.5 * pixelWidth);
  });
  scene.Plane = TGreyPlane::FromImage(scene.Image);
  return scene;
}

TEST(SnakeGroundTruth, ASnakeDisplacedFivePixelsAlongItsNormalsIsFittedBackOntoTheOutline) {
  struct TCase {
    int Bits;
    double PixelWidth;
    int Sign;  // +1 outwards, -1 inwards, 0 alternating
    int Transition;
  };
  // The snake runs left to right over the top of the disc: its normals point inwards, from
  // the dark ground into the bright disc.
  for (const TCase& c : std::vector<TCase>{{12, 1.0, 1, kAnyTransition},
                                           {12, 1.0, -1, kBlackToWhite},
                                           {8, 2.0, 0, kAnyTransition},
                                           {12, 2.0, 1, kBlackToWhite}}) {
    SCOPED_TRACE(std::to_string(c.Bits) + " bits, pixel " + std::to_string(c.PixelWidth) + ", sign " +
                 std::to_string(c.Sign));
    const TScene scene = Disc(c.Bits, c.PixelWidth);
    TDigSnake snake;
    snake.HotZone = 50;
    snake.Transition = c.Transition;
    for (int i = 0; i < 40; ++i) {
      const double angle = (200 + 140.0 * i / 39) * M_PI / 180;
      const int sign = c.Sign != 0 ? c.Sign : (i % 2 == 0 ? 1 : -1);
      const double r = kRadius + sign * 5 * c.PixelWidth;
      snake.AddPoint(kCentreX + r * std::cos(angle), kCentreY + r * std::sin(angle), true);
    }
    const std::vector<double> moved = FitDigSnake(snake, scene.Plane, scene.Frame);
    ASSERT_EQ(moved.size(), 40u);
    EXPECT_TRUE(snake.Placed);
    for (std::size_t i = 0; i < snake.Points.size(); ++i) {
      const double r = std::hypot(snake.Points[i]->GetX() - kCentreX, snake.Points[i]->GetY() - kCentreY);
      EXPECT_NEAR(r, kRadius, c.PixelWidth) << "point " << i;
      EXPECT_NEAR(moved[i], 5 * c.PixelWidth, 1.5 * c.PixelWidth) << "point " << i;
    }
  }
}

TEST(SnakeGroundTruth, PointsStayWithoutHotZoneImageOrNormal) {
  const TScene scene = Disc(12, 1.0);
  TSnake snake;
  const std::vector<TFloatPoint> start = {{kCentreX - 20, kCentreY - kRadius - 5}, {kCentreX, kCentreY - kRadius - 5},
                                          {kCentreX + 20, kCentreY - kRadius - 5}};
  auto unchanged = [&](const TGreyPlane& plane, int hotZone) {
    snake.Build(start);
    snake.HotZone = hotZone;
    snake.FitStep(plane, scene.Frame);
    for (std::size_t i = 0; i < start.size(); ++i)
      if (snake.Points[i].X != start[i].X || snake.Points[i].Y != start[i].Y) return false;
    return true;
  };
  EXPECT_TRUE(unchanged(scene.Plane, 0));
  EXPECT_TRUE(unchanged(TGreyPlane{}, 50));
  EXPECT_FALSE(unchanged(scene.Plane, 50));

  // Coincident neighbours give no normal: that point keeps its place, never a NaN.
  snake.Build({{100, 100}, {kCentreX, kCentreY - kRadius - 5}, {100, 100}});
  snake.HotZone = 50;
  snake.FitStep(scene.Plane, scene.Frame);
  EXPECT_EQ(snake.Points[1].X, kCentreX);
  EXPECT_EQ(snake.Points[1].Y, kCentreY - kRadius - 5);
}

TEST(ActiveShapeGroundTruth, AModelOffsetFromItsOutlineIsPulledBackOntoIt) {
  const TScene scene = Disc(12, 1.0);
  std::vector<TFloatPoint> model;
  for (int i = 0; i < 36; ++i) {
    const double angle = i * 10 * M_PI / 180;
    model.push_back({kCentreX + 6 + kRadius * std::cos(angle), kCentreY - 4 + kRadius * std::sin(angle)});
  }
  TActiveShape shape;
  shape.SetModel(model);
  shape.HalfLength = 30;
  for (int pass = 0; pass < 3; ++pass) {
    shape.FindTargets(scene.Plane, scene.Frame);
    ASSERT_TRUE(shape.HasTargets());
    shape.FitToTargets();
  }
  EXPECT_NEAR(shape.ModelCentroid().X, kCentreX, 1);
  EXPECT_NEAR(shape.ModelCentroid().Y, kCentreY, 1);
  // No targets leave the model as it was.
  TActiveShape empty;
  empty.SetModel(model);
  empty.FindTargets(TGreyPlane{}, scene.Frame);
  EXPECT_FALSE(empty.HasTargets());
  empty.FitToTargets();
  EXPECT_EQ(empty.Model[0], model[0]);
}

}  // namespace
}  // namespace lumacet
