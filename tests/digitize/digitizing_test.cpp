#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "digitize/digitizing.h"
#include "geometry/plane_geometry.h"
#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "model/point_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"

namespace lumacet {
namespace {

// A type of four points, A to D, and a protocol "P" through them in order.
struct TDigitizingFixture : ::testing::Test {
  TDigitizingFixture() {
    type->Name = "T";
    std::string message;
    for (const char* name : {"A", "B", "C", "D"}) EXPECT_NE(type->AddElement(name, ekDigPoint, message), nullptr);
    protocol = static_cast<TXRProtocol*>(type->AddElement("P", ekProtocol, message));
    for (const char* name : {"A", "B", "C", "D"}) protocol->Points.push_back(type->FindElement(name, ekDigPoint));
    xray->SetType(type.get());
  }

  std::unique_ptr<TDigitizing> Start(int mode = dmDigitizing) {
    TResultOf<std::unique_ptr<TDigitizing>> started = TDigitizing::Start(*xray, mode);
    EXPECT_TRUE(started) << started.Outcome().Reason();
    return started ? std::move(*started) : nullptr;
  }
  void Set(std::size_t index, double x, double y) { xray->Coordinates[index]->SetXY(x, y); }
  std::optional<TFloatPoint> At(std::size_t index) const {
    TDigPoint& p = *std::as_const(xray->Coordinates)[index];
    if (!p.IsValid()) return std::nullopt;
    return TFloatPoint{p.RawX(), p.RawY()};
  }

  std::unique_ptr<TXRayType> type = std::make_unique<TXRayType>();
  TXRProtocol* protocol = nullptr;
  std::unique_ptr<TXRay> xray = std::make_unique<TXRay>();
};

TEST_F(TDigitizingFixture, PlacementsAreAveragedAndTheirSpreadCheckedAgainstTheMargin) {
  struct TCase {
    double Margin;  // millimetres
    int Beeps;
  };
  // A spread of 4 units (0.4 mm): beyond 0.2 mm it beeps twice more; a margin that is not
  // a positive number checks nothing.
  for (const TCase& c : std::vector<TCase>{{0.2, 3}, {0.4, 1}, {2, 1}, {0, 1}, {-1, 1}, {NAN, 1}}) {
    SCOPED_TRACE(c.Margin);
    protocol->ErrorMargin = c.Margin;
    protocol->AutoAdvance = false;
    auto digitizing = Start();
    EXPECT_EQ(digitizing->AddPoint(100, 100).Beeps, 1);
    EXPECT_EQ(digitizing->AddPoint(104, 100).Beeps, c.Beeps);
    EXPECT_EQ(At(0), (TFloatPoint{102, 100}));
    EXPECT_EQ(digitizing->Spread(), (TFloatPoint{4, 0}));
    ASSERT_TRUE(digitizing->DeletePlacement());
    EXPECT_EQ(At(0), (TFloatPoint{100, 100}));
    ASSERT_TRUE(digitizing->DeletePlacement());
    EXPECT_EQ(At(0), std::nullopt);
    EXPECT_FALSE(digitizing->DeletePlacement());
    EXPECT_EQ(xray->ChangeHistory.back(), "Deleted/Edited a Point.");
  }
}

TEST_F(TDigitizingFixture, ClicksThatAreNotNumbersPlaceNothing) {
  auto digitizing = Start();
  const std::size_t changes = xray->ChangeHistory.size();
  for (auto [x, y] : std::vector<std::pair<double, double>>{{NAN, 1}, {1, INFINITY}, {-INFINITY, NAN}})
    EXPECT_FALSE(digitizing->DigitizeAt(x, y).Placed);
  EXPECT_EQ(At(0), std::nullopt);
  EXPECT_EQ(digitizing->SelectedIndex(), 0u);
  EXPECT_EQ(xray->ChangeHistory.size(), changes);
}

TEST_F(TDigitizingFixture, AutoAdvanceMovesOnAndNextAndPreviousWrap) {
  auto digitizing = Start();
  const TPlacement placement = digitizing->DigitizeAt(10, 20);
  EXPECT_TRUE(placement.Advanced);
  EXPECT_EQ(digitizing->Selected()->Name, "B");
  EXPECT_EQ(xray->ChangeHistory.back(), "Digitized Point.");
  digitizing->Select(3);
  digitizing->Next();
  EXPECT_EQ(digitizing->Selected()->Name, "A");
  digitizing->Previous();
  EXPECT_EQ(digitizing->Selected()->Name, "D");
  protocol->AutoAdvance = false;
  EXPECT_FALSE(digitizing->AddPoint(1, 2).Advanced);
  EXPECT_EQ(digitizing->Selected()->Name, "D");
}

TEST_F(TDigitizingFixture, RedigitizingAValidPointAveragesWithWhereItWas) {
  Set(1, 200, 100);
  protocol->AutoAdvance = false;
  // Re-digitizing without adjustment proceeds at once.
  auto digitizing = Start(dmOriented);
  EXPECT_EQ(digitizing->Mode(), dmDigitizing);
  digitizing->Select(1);
  digitizing->AddPoint(210, 110);
  EXPECT_EQ(At(1), (TFloatPoint{205, 105}));
  // "Select next point.": the oldest placement goes last, so Delete takes it.
  digitizing->RotatePlacements();
  digitizing->DeletePlacement();
  EXPECT_EQ(At(1), (TFloatPoint{210, 110}));
}

TEST_F(TDigitizingFixture, StartIsRefusedWithoutATypeOrAProtocolWithElements) {
  TXRay untyped;
  const auto none = TDigitizing::Start(untyped, dmDigitizing);
  ASSERT_FALSE(none);
  EXPECT_EQ(none.Outcome().Text().English(), "The radiograph has no type to digitize.");

  protocol->Points.clear();
  const auto empty = TDigitizing::Start(*xray, dmDigitizing);
  ASSERT_FALSE(empty);
  EXPECT_EQ(empty.Outcome().Text().English(), "The radiograph type 'T' has no digitizing protocol with points or snakes.");
}

TEST_F(TDigitizingFixture, AProtocolNamingDeletedElementsSkipsThem) {
  std::string message;
  TXRProtocol* second = static_cast<TXRProtocol*>(type->AddElement("Q", ekProtocol, message));
  second->Points = {type->FindElement("C", ekDigPoint), type->FindElement("A", ekDigPoint)};
  // A protocol read from a file may still hold a pointer to an element deleted since.
  std::unique_ptr<TDigPoint> deleted = std::make_unique<TDigPoint>();
  second->Points.insert(second->Points.begin() + 1, deleted.get());
  xray->SetType(type.get());
  auto digitizing = Start();
  ASSERT_TRUE(digitizing->SelectProtocol(1));
  std::vector<std::string> names;
  for (TXRayElement* e : digitizing->Elements()) names.push_back(e->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"C", "A"}));
  EXPECT_FALSE(digitizing->SelectProtocol(7));
  EXPECT_EQ(digitizing->Protocol(), second);
}

TEST_F(TDigitizingFixture, TwoOrientationClicksBringAMovedTracingBackAndBackUndoesThem) {
  const std::vector<TFloatPoint> film = {{100, 200}, {400, 260}, {250, 500}, {600, 420}};
  for (std::size_t i = 0; i < film.size(); ++i) {
    const TFloatPoint turned = *RotateAbout({300, 300}, film[i], 3);
    Set(i, turned.X + 10, turned.Y + 5);
  }
  std::vector<TFloatPoint> moved;
  for (std::size_t i = 0; i < film.size(); ++i) moved.push_back(*At(i));
  auto digitizing = Start(dmFirstOrientation);
  // Clicks on a point that is not valid orient nothing.
  xray->Coordinates[0]->SetValid(false);
  EXPECT_FALSE(digitizing->AddPoint(film[0].X, film[0].Y).Placed);
  Set(0, moved[0].X, moved[0].Y);

  EXPECT_TRUE(digitizing->AddPoint(film[0].X, film[0].Y).Placed);
  EXPECT_EQ(digitizing->Mode(), dmSecondOrientation);
  EXPECT_EQ(digitizing->Selected()->Name, "B");
  EXPECT_TRUE(digitizing->AddPoint(film[1].X, film[1].Y).Placed);
  EXPECT_EQ(digitizing->Mode(), dmOriented);
  for (std::size_t i = 0; i < film.size(); ++i) {
    EXPECT_NEAR(At(i)->X, film[i].X, 1e-9) << i;
    EXPECT_NEAR(At(i)->Y, film[i].Y, 1e-9) << i;
  }
  ASSERT_TRUE(digitizing->Back());
  EXPECT_EQ(digitizing->Mode(), dmSecondOrientation);
  ASSERT_TRUE(digitizing->Back());
  EXPECT_EQ(digitizing->Mode(), dmFirstOrientation);
  for (std::size_t i = 0; i < film.size(); ++i) {
    EXPECT_NEAR(At(i)->X, moved[i].X, 1e-9) << i;
    EXPECT_NEAR(At(i)->Y, moved[i].Y, 1e-9) << i;
  }
  ASSERT_TRUE(digitizing->Back());
  EXPECT_EQ(digitizing->Mode(), dmFirstOrientation);

  // "Proc&eed": the oriented positions become every point's first placement.
  digitizing->Proceed();
  EXPECT_EQ(digitizing->Mode(), dmDigitizing);
  EXPECT_EQ(digitizing->Placements(2).size(), 1u);
}

TEST_F(TDigitizingFixture, DerivedPointsFollowEveryPlacementAndDeletion) {
  std::string message;
  auto* middle = static_cast<TDerPoint*>(type->AddElement("M", ekDerPoint, message));
  ASSERT_NE(middle, nullptr) << message;
  middle->SetKind(static_cast<int>(TDerPointKind::Midpoint));
  middle->SetOperand(0, type->FindElement("A", ekDigPoint));
  middle->SetOperand(1, type->FindElement("B", ekDigPoint));
  xray->SetType(type.get());
  Set(1, 100, 0);
  auto digitizing = Start();
  auto m = [&] {
    const TLoadedRadiograph loaded = xray->Load();
    return loaded.Position(middle);
  };
  EXPECT_EQ(m(), std::nullopt);
  digitizing->DigitizeAt(0, 40);
  EXPECT_EQ(m(), (TFloatPoint{50, 20}));
  digitizing->Select(0);
  digitizing->DeletePlacement();
  EXPECT_EQ(m(), std::nullopt);
}

TEST_F(TDigitizingFixture, AutomaticPointsArePlacedFromTheirSnakeUnlessDigitized) {
  std::string message;
  auto* snake = static_cast<TDigSnake*>(type->AddElement("S", ekSnake, message));
  ASSERT_NE(snake, nullptr) << message;
  for (auto [x, y] : std::vector<std::pair<double, double>>{{0, 0}, {100, 50}, {300, 60}, {200, 200}})
    snake->AddPoint(x, y, true);
  // C: the rightmost of the snake; D: its lowest.
  auto* rightmost = static_cast<TDigPoint*>(type->FindElement("C", ekDigPoint));
  auto* lowest = static_cast<TDigPoint*>(type->FindElement("D", ekDigPoint));
  for (TDigPoint* p : {rightmost, lowest}) {
    p->SetKind(static_cast<int>(TDigPointKind::Extreme));
    p->SetOperand(0, snake);
  }
  lowest->Parameter1 = 900;
  protocol->Points.push_back(snake);
  type->BuildTemplates();
  xray->SetType(type.get());
  auto digitizing = Start();
  ASSERT_EQ(digitizing->AutomaticPoints(), (std::vector<TDigPoint*>{rightmost, lowest}));
  digitizing->Select(3);
  digitizing->AddPoint(7, 7);  // D digitized by hand
  digitizing->Select(4);
  ASSERT_TRUE(digitizing->MoveSnakeTo(0, 0));
  digitizing->AutoAll();
  ASSERT_TRUE(At(2));
  EXPECT_GT(At(2)->X, 250);
  EXPECT_EQ(At(3), (TFloatPoint{7, 7}));
  // "&Reset Points linked to Snakes" forgets the hand placement too.
  digitizing->ResetPointsLinkedToSnakes();
  EXPECT_TRUE(digitizing->Placements(3).empty());
  ASSERT_TRUE(At(3));
  EXPECT_GT(At(3)->Y, 150);
  EXPECT_EQ(xray->ChangeHistory.back(), "Deleted/Edited a Point.");
}

TEST_F(TDigitizingFixture, StatisticsCountWhatWasPlacedAndNameCoincidentPoints) {
  Set(2, 50, 50);
  Set(3, 50, 50);
  auto digitizing = Start();
  digitizing->AddPoint(1, 1);
  const TDigitizeStatistics statistics = digitizing->Statistics();
  EXPECT_EQ(statistics.Total, 4);
  EXPECT_EQ(statistics.Digitized, 1);
  EXPECT_EQ(statistics.AutoLocated, 2);
  EXPECT_EQ(statistics.Missing, 1);
  EXPECT_EQ(statistics.CoincidentPairs, std::vector<std::string>{"C - D"});
}

TEST_F(TDigitizingFixture, DigitizingHappensAtImageScaleAndEndsLifeSize) {
  Set(0, 100, 40);
  xray->Magnification = 10;
  xray->MagnificationCorrected = true;
  auto digitizing = Start();
  EXPECT_FALSE(xray->MagnificationCorrected);
  EXPECT_NEAR(At(0)->X, 110, 1e-12);
  EXPECT_TRUE(xray->Digitizing);
  digitizing->End(true);
  EXPECT_FALSE(xray->Digitizing);
  EXPECT_TRUE(xray->MagnificationCorrected);
  EXPECT_NEAR(At(0)->X, 100, 1e-12);
  EXPECT_NEAR(At(0)->Y, 40, 1e-12);
}

TEST_F(TDigitizingFixture, GetFromReferenceTakesTheReferencePointOfTheSameName) {
  auto digitizing = Start();
  EXPECT_EQ(digitizing->GetFromReference(nullptr).Text().English(),
            "Could not get coordinates. No reference radiograph.");
  TXRay reference;
  reference.SetType(type.get());
  EXPECT_EQ(digitizing->GetFromReference(&reference).Text().English(),
            "Could not get coordinates.\r\nPoint 'A' could not be found in reference radiograph.");
  reference.Coordinates[0]->SetXY(33, 44);
  ASSERT_TRUE(digitizing->GetFromReference(&reference));
  EXPECT_EQ(At(0), (TFloatPoint{33, 44}));
}

// Distance from `p` to the nearest of a dense polyline.
double DistanceTo(const std::vector<TFloatPoint>& line, TFloatPoint p) {
  double best = INFINITY;
  for (std::size_t i = 0; i + 1 < line.size(); ++i) {
    const TFloatPoint a = line[i], b = line[i + 1];
    const double dx = b.X - a.X, dy = b.Y - a.Y, length = dx * dx + dy * dy;
    const double t = length > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length, 0.0, 1.0) : 0;
    best = std::min(best, std::hypot(a.X + t * dx - p.X, a.Y + t * dy - p.Y));
  }
  return best;
}

TEST(SnakeResample, PointsAreSpreadEvenlyAlongTheSplineTheFirstStaying) {
  TDigSnake snake;
  snake.Name = "S";
  snake.AddPoint(0, 0, true);
  snake.AddPoint(100, 60, true);
  snake.AddPoint(300, 0, true);
  std::vector<TFloatPoint> spline;
  {
    TDigSnake copy;
    copy.CopyFrom(snake);
    copy.Resample(100);  // as dense as the samples allow: the curve itself
    for (const auto& p : copy.Points) spline.push_back({p->GetX(), p->GetY()});
  }
  snake.Resample(5);
  ASSERT_EQ(snake.Points.size(), 5u);
  EXPECT_EQ(snake.Points[0]->GetX(), 0);
  EXPECT_EQ(snake.Points[0]->GetY(), 0);
  // Numbered from 0, as the snake's own points are.
  EXPECT_EQ(snake.Points[3]->Name, "Point 3 on S");
  EXPECT_EQ(snake.Points[4]->Name, "Point 4 on S");
  std::vector<double> gaps;
  for (std::size_t i = 0; i < snake.Points.size(); ++i) {
    const TFloatPoint p{snake.Points[i]->GetX(), snake.Points[i]->GetY()};
    EXPECT_LT(DistanceTo(spline, p), 2) << i;
    if (i > 0) gaps.push_back(std::hypot(p.X - snake.Points[i - 1]->GetX(), p.Y - snake.Points[i - 1]->GetY()));
  }
  for (double gap : gaps) EXPECT_NEAR(gap, gaps[0], 0.2 * gaps[0]);

  // 0 only spreads the points again; two points are left alone.
  snake.Resample(0);
  EXPECT_EQ(snake.Points.size(), 5u);
  TDigSnake two;
  two.AddPoint(0, 0, true);
  two.AddPoint(10, 0, true);
  two.Resample(5);
  EXPECT_EQ(two.Points.size(), 2u);
}

TEST_F(TDigitizingFixture, SnakeSettingsOutsideTheirRangesChangeNothing) {
  std::string message;
  auto* snake = static_cast<TDigSnake*>(type->AddElement("S", ekSnake, message));
  ASSERT_NE(snake, nullptr) << message;
  for (int i = 0; i < 4; ++i) snake->AddPoint(100 * i, 10 * i, true);
  protocol->Points.push_back(snake);
  type->BuildTemplates();
  xray->SetType(type.get());
  auto digitizing = Start();
  digitizing->Select(4);
  ASSERT_EQ(digitizing->Selected()->Name, "S");
  EXPECT_FALSE(digitizing->SetHotZone(0));
  EXPECT_FALSE(digitizing->SetHotZone(11));
  EXPECT_FALSE(digitizing->SetPointCount(2));
  EXPECT_FALSE(digitizing->SetPointCount(101));
  EXPECT_TRUE(digitizing->SetPointCount(6));
  EXPECT_TRUE(digitizing->SetHotZone(3));
  // Without an image the snakes cannot be fitted: a message, nothing changed.
  const auto fitted = FitSnakes(*xray, TGreyPlane{}, {});
  ASSERT_FALSE(fitted);
  EXPECT_EQ(fitted.Outcome().Text().English(),
            "The snakes cannot be fitted: the radiograph has no image with a pixel size.");
  // A point selected: there is no snake to fit.
  digitizing->Select(0);
  EXPECT_EQ(digitizing->FitSnake(TGreyPlane{}), std::nullopt);
}

}  // namespace
}  // namespace lumacet
