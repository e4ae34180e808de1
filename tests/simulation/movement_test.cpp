#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geometry/plane_geometry.h"
#include "model/kind_codes.h"
#include "population/population_fixture.h"
#include "simulation/movement_log.h"

namespace lumacet {
namespace {

using test::PointType;
using test::Radiograph;

std::vector<std::pair<double, double>> Positions(TXRay& xray) {
  std::vector<std::pair<double, double>> positions;
  for (const auto& p : std::as_const(xray.Coordinates)) positions.emplace_back(p->RawX(), p->RawY());
  return positions;
}

void ExpectNear(const std::vector<std::pair<double, double>>& a, const std::vector<std::pair<double, double>>& b,
                double tolerance) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_NEAR(a[i].first, b[i].first, tolerance) << "point " << i;
    EXPECT_NEAR(a[i].second, b[i].second, tolerance) << "point " << i;
  }
}

struct TMovementFixture : ::testing::Test {
  std::unique_ptr<TXRayType> type = PointType("T", {"A", "B", "C", "D"});
  std::unique_ptr<TXRay> xray = Radiograph(*type, "X", {{{100, 200}}, {{300, 250}}, {{150, 400}}, {{500, 500}}});
  TMovementOptions options;
  TXRayElement* Point(const char* name) { return type->FindElement(name, ekDigPoint); }
};

TEST_F(TMovementFixture, ThousandRandomMovementsUndoneAndRedoneReturnEveryPoint) {
  std::mt19937_64 random(13);
  std::uniform_real_distribution<double> shift(-50, 50), angle(-0.5, 0.5), factor(0.9, 1.1);
  std::uniform_int_distribution<int> kind(0, kMovementKindCount - 1);
  const auto start = Positions(*xray);
  options.Compile = false;
  for (int i = 0; i < 1000; ++i) {
    xray->Selection = {Point(i % 2 ? "A" : "B"), Point("C")};
    TMovement m{.Kind = static_cast<TMovementKind>(kind(random)), .Dx = shift(random), .Dy = shift(random),
                .Angle = angle(random), .Centre = TFloatPoint{shift(random), shift(random)}};
    if (m.Kind <= mkRotate || m.Kind == mkFlipVertical || m.Kind == mkFlipHorizontal) m.Elements = xray->Selection;
    if (m.Kind == mkScale) m.Dx = factor(random);
    if (m.Kind == mkFlipVertical || m.Kind == mkFlipHorizontal) {
      TResultOf<TMovement> flip = FlipMovement(*xray, m.Kind == mkFlipVertical);
      ASSERT_TRUE(flip);
      m = *flip;
    }
    ASSERT_TRUE(DoTheMovement(*xray, m, options));
  }
  ASSERT_EQ(xray->UndoMovements.size(), 1000u);
  const auto moved = Positions(*xray);
  xray->Selection.clear();  // the original area mode moves each entry's own points
  while (!xray->UndoMovements.empty()) ASSERT_TRUE(UndoLast(*xray, options));
  ExpectNear(Positions(*xray), start, 1e-9);
  while (!xray->RedoMovements.empty()) ASSERT_TRUE(RedoLast(*xray, options));
  ExpectNear(Positions(*xray), moved, 1e-9);
}

TEST_F(TMovementFixture, CompileCombinesOnlyLikeMovementsOfTheSameElementsAndCentre) {
  const std::vector<TXRayElement*> ab{Point("A"), Point("B")};
  struct TCase {
    TMovement Next;
    bool Combines;
  };
  const TMovement last{.Kind = mkRotate, .Elements = ab, .Angle = 0.1, .Centre = TFloatPoint{1, 2}};
  const std::vector<TCase> cases = {
      {{.Kind = mkRotate, .Elements = ab, .Angle = 0.2, .Centre = TFloatPoint{1, 2}}, true},
      {{.Kind = mkRotate, .Angle = 0.2, .Centre = TFloatPoint{1, 2}}, true},
      {{.Kind = mkRotate, .Elements = ab, .Angle = 0.2, .Centre = TFloatPoint{1, 3}}, false},
      {{.Kind = mkRotate, .Elements = std::vector<TXRayElement*>{Point("B"), Point("A")}, .Angle = 0.2,
        .Centre = TFloatPoint{1, 2}},
       false},
      {{.Kind = mkTranslate, .Elements = ab, .Dx = 1}, false},
      {{.Kind = mkRotateAll, .Angle = 0.2, .Centre = TFloatPoint{1, 2}}, false},
  };
  for (const TCase& c : cases) {
    std::optional<TMovement> combined = CompileMovements(c.Next, last);
    ASSERT_EQ(combined.has_value(), c.Combines) << MovementText(c.Next, 200, true);
    if (combined) {
      EXPECT_DOUBLE_EQ(combined->Angle, 0.3);
    }
  }
  EXPECT_FALSE(CompileMovements(TMovement{.Kind = mkScale, .Dx = 2}, TMovement{.Kind = mkScale, .Dx = 2}));
}

TEST_F(TMovementFixture, LogFollowsConnectedAndCompileAndLeavesTheRedoListAlone) {
  xray->Selection = {Point("A")};
  const TMovement step{.Kind = mkTranslate, .Elements = xray->Selection, .Dx = 10, .Dy = -5};
  ASSERT_TRUE(DoTheMovement(*xray, step, options));
  ASSERT_TRUE(DoTheMovement(*xray, step, options));
  ASSERT_EQ(xray->UndoMovements.size(), 1u);
  EXPECT_EQ(xray->UndoMovements[0].Dx, 20);
  EXPECT_EQ(UndoCaption(xray.get(), 200, true).English(), "&Undo: Translate: dx: 2, dy: -1: A");
  ASSERT_TRUE(UndoLast(*xray, options));
  EXPECT_EQ(xray->Coordinates[0]->RawX(), 100);
  EXPECT_EQ(UndoCaption(xray.get(), 200, true).English(), "Can't Undo");
  EXPECT_EQ(RedoCaption(xray.get(), 200, false).English(), "&Redo: Translate: dx: 2, dy: -1: - Current -");

  ASSERT_TRUE(DoTheMovement(*xray, TMovement{.Kind = mkRotate, .Angle = kPi / 6, .Centre = TFloatPoint{}}, options));
  EXPECT_EQ(xray->RedoMovements.size(), 1u);
  options.Connected = false;
  ASSERT_TRUE(DoTheMovement(*xray, step, options));
  EXPECT_EQ(xray->UndoMovements.size(), 1u);
  EXPECT_EQ(MovementLogText(*xray, true),
            "Undo Movements:\nRotate: angle: 30, center at: 0, 0: <All Points>\nRedo Movements:\n"
            "Translate: dx: 2, dy: -1: A\n");
}

TEST_F(TMovementFixture, UndoFromAnEntryTakesTheLaterOnesWithIt) {
  options.Compile = false;
  xray->Selection = {Point("D")};
  for (double dx : {1.0, 2.0, 4.0}) ASSERT_TRUE(DoTheMovement(*xray, TMovement{.Kind = mkTranslate, .Dx = dx}, options));
  ASSERT_TRUE(UndoFrom(*xray, 1, options));
  EXPECT_EQ(xray->Coordinates[3]->RawX(), 501);
  ASSERT_EQ(xray->RedoMovements.size(), 2u);
  EXPECT_EQ(xray->RedoMovements.back().Dx, 2);  // the most recently undone is redone first
  ASSERT_TRUE(RedoFrom(*xray, 0, options));
  EXPECT_EQ(xray->Coordinates[3]->RawX(), 507);

  const std::vector<std::size_t> chosen{2, 0, 9};
  ASSERT_TRUE(ReverseEntries(*xray, TMovementList::Undo, chosen, options));
  EXPECT_EQ(xray->Coordinates[3]->RawX(), 502);
  ASSERT_TRUE(RepeatEntries(*xray, TMovementList::Undo, chosen, options));
  EXPECT_EQ(xray->Coordinates[3]->RawX(), 507);
  DeleteEntries(*xray, TMovementList::Undo, chosen);
  ASSERT_EQ(xray->UndoMovements.size(), 1u);
  EXPECT_EQ(xray->UndoMovements[0].Dx, 2);
}

TEST_F(TMovementFixture, AreaModeDecidesWhatALoggedMovementMovesAgain) {
  xray->Selection = {Point("A")};
  ASSERT_TRUE(DoTheMovement(*xray, TMovement{.Kind = mkTranslate, .Elements = xray->Selection, .Dx = 10}, options));
  xray->Selection = {Point("B")};
  ASSERT_TRUE(UndoLast(*xray, options));
  EXPECT_EQ(xray->Coordinates[0]->RawX(), 100);
  EXPECT_EQ(xray->Coordinates[1]->RawX(), 300);
  options.OriginalArea = false;
  ASSERT_TRUE(RedoLast(*xray, options));
  EXPECT_EQ(xray->Coordinates[0]->RawX(), 100);
  EXPECT_EQ(xray->Coordinates[1]->RawX(), 310);
  EXPECT_EQ(xray->Selection, std::vector<TXRayElement*>{Point("B")});
}

TEST_F(TMovementFixture, BadParametersMoveNothingAndMissingPointsAreNamed) {
  xray->Selection = {Point("A"), Point("B")};
  const auto start = Positions(*xray);
  const std::vector<TMovement> refused = {
      {.Kind = mkTranslate, .Dx = 1e308, .Dy = 0}, {.Kind = mkTranslate, .Dx = std::nan("")},
      {.Kind = mkScale, .Dx = 0},                 {.Kind = mkScale, .Dx = -2},
      {.Kind = mkRotate, .Angle = INFINITY},      {.Kind = mkTranslateAll, .Dx = 1e308},
  };
  for (const TMovement& m : refused) {
    TResult outcome = DoTheMovement(*xray, m, options);
    EXPECT_FALSE(outcome) << MovementText(m, 200, true);
    EXPECT_EQ(outcome.Text().English(), "The movement cannot be performed: nothing was moved.");
    ExpectNear(Positions(*xray), start, 0);
  }
  EXPECT_TRUE(xray->UndoMovements.empty());
  for (const auto& p : std::as_const(xray->Coordinates)) EXPECT_TRUE(std::isfinite(p->RawX()) && std::isfinite(p->RawY()));

  xray->Coordinates[1]->SetValid(false);
  xray->ChangeHistory.clear();
  ASSERT_TRUE(DoTheMovement(*xray, TMovement{.Kind = mkTranslate, .Dx = 5}, options));
  EXPECT_EQ(xray->ChangeHistory, (std::vector<std::string>{"Translated points.", "Left in place, not valid: B."}));
  EXPECT_EQ(xray->Coordinates[0]->RawX(), 105);
}

TEST_F(TMovementFixture, WholeTracingMovementsLeavePresetPointsAndCarryALockedImage) {
  static_cast<TDigPoint*>(Point("D"))->SetKind(KindNumber(TDigPointKind::Preset));
  static_cast<TDigPoint*>(Point("D"))->Parameter1 = 500;
  static_cast<TDigPoint*>(Point("D"))->Parameter2 = 500;
  options.TracingLocked = true;
  xray->ImageOriginX = 0;
  xray->PixelWidth = xray->PixelHeight = 1;
  ASSERT_TRUE(DoTheMovement(*xray, TMovement{.Kind = mkTranslateAll, .Dx = 10, .Dy = 20}, options));
  EXPECT_EQ(xray->Coordinates[0]->RawX(), 110);
  EXPECT_EQ(xray->Coordinates[3]->RawX(), 500);
  EXPECT_EQ(xray->ImageOriginY, 20);
  ASSERT_TRUE(DoTheMovement(*xray, TMovement{.Kind = mkScale, .Dx = 100.0 / 110}, options));
  EXPECT_NEAR(xray->PixelWidth, 100.0 / 110, 1e-15);
  EXPECT_EQ(xray->ChangeHistory.back(), "Scaled by: 0.909");
  ASSERT_TRUE(UndoLast(*xray, options));
  EXPECT_NEAR(xray->PixelWidth, 1, 1e-15);
}

TEST(MovementTexts, FormatsAbbreviatesAndFactors) {
  EXPECT_EQ(MovementText(TMovement{.Kind = mkScale, .Dx = 1.23456}, 200, true), "Scale: 1.23: <All Points>");
  EXPECT_EQ(MovementText(TMovement{.Kind = mkRotateAll, .Angle = -kPi / 2, .Centre = TFloatPoint{1234.5, -7}}, 200, true),
            "Rotate: angle: -90, center at: 1234, -7: <All Points>");
  EXPECT_EQ(MovementText(TMovement{.Kind = mkFlipVertical, .Elements = std::vector<TXRayElement*>{}}, 200, false),
            "Flip Vertical: - Current -");
  const std::string hundred(100, 'x');
  const std::string shortened = AbbreviateMiddle(hundred, 80);
  EXPECT_EQ(shortened.size(), 80u);
  EXPECT_EQ(shortened.substr(38, 3), "...");
  EXPECT_EQ(AbbreviateMiddle(hundred, -4), "x...xx");
  EXPECT_DOUBLE_EQ(ReduceToLifeSizeFactor(10), 100.0 / 110);
  EXPECT_DOUBLE_EQ(EnlargeToRadiographSizeFactor(10), 1.1);
  for (std::optional<double> entered : {std::optional<double>{}, std::optional<double>{0}, std::optional<double>{-1},
                                        std::optional<double>{INFINITY}})
    EXPECT_EQ(EnteredScaleFactor(entered), 1);
  EXPECT_EQ(ReduceToLifeSizeFactor(-100), 1);
  EXPECT_TRUE(IsNullMovement(TMovement{.Kind = mkTranslate, .Dx = 5e-11}));
  EXPECT_FALSE(IsNullMovement(TMovement{.Kind = mkFlipHorizontal}));
  EXPECT_TRUE(IsNullMovement(TMovement{.Kind = mkScale, .Dx = 1}));
}

}  // namespace
}  // namespace lumacet
