// Soft tissue following hard tissue: the induced movements of VTO relationships, performed
// and logged with the movement that drives them, undone and redone step by step, and
// recomputed from the total during a drag.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "geometry/plane_geometry.h"
#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "population/population_fixture.h"
#include "simulation/movement_log.h"
#include "simulation/movement_tool.h"
#include "simulation/vto.h"

namespace lumacet {
namespace {

using test::PointType;
using test::Radiograph;

struct TVtoTest : ::testing::Test {
  // Incisor tip, lip, chin, soft chin and a point far from all of them.
  std::unique_ptr<TXRayType> type = PointType("T", {"U1", "Ls", "Pog", "Pos", "S", "Gone"});
  std::unique_ptr<TXRay> xray = Radiograph(
      *type, "X", {{{600, 500}}, {{650, 480}}, {{550, 900}}, {{620, 920}}, {{200, 200}}, std::nullopt});
  TMovementOptions options{.Compile = false, .AutoVto = true};

  TXRayElement* Point(const char* name) { return type->FindElement(name, ekDigPoint); }
  TFloatPoint At(const char* name) {
    const TLoadedRadiograph loaded = xray->Load();
    return loaded.Position(Point(name)).value_or(TFloatPoint{NAN, NAN});
  }
  TXRHardSoft& Relationship(const char* name, const char* master, std::vector<const char*> affected,
                            std::array<double, 5> percents, bool asTranslation = false) {
    std::string message;
    auto* r = static_cast<TXRHardSoft*>(type->AddElement(name, ekHardSoft, message));
    EXPECT_NE(r, nullptr) << message;
    r->MasterPoint = Point(master);
    for (const char* p : affected) r->Points.push_back(Point(p));
    r->PercentXPlus = percents[0];
    r->PercentXMinus = percents[1];
    r->PercentYPlus = percents[2];
    r->PercentYMinus = percents[3];
    r->PercentRotation = percents[4];
    r->RotationAsTranslation = asTranslation;
    return *r;
  }
  void Select(std::vector<const char*> names) {
    xray->Selection.clear();
    for (const char* n : names) xray->Selection.push_back(Point(n));
  }
  TResult Move(TMovement m) {
    m.Elements = xray->Selection;
    return DoTheMovement(*xray, m, options);
  }
};

TFloatPoint Turned(TFloatPoint p, TFloatPoint c, double angle) {
  return {c.X + (p.X - c.X) * std::cos(angle) - (p.Y - c.Y) * std::sin(angle),
          c.Y + (p.X - c.X) * std::sin(angle) + (p.Y - c.Y) * std::cos(angle)};
}

TEST_F(TVtoTest, ShareOfTheMasterMovementGoesToTheAffectedPointsByDirection) {
  const TFloatPoint centre{500, 500};
  const double ten = DegToRad(10);
  struct TCase {
    const char* What;
    std::array<double, 5> Percents;
    bool AsTranslation;
    std::vector<const char*> Selected;
    TMovement Movement;
    TFloatPoint LipTo;
  };
  const TFloatPoint lip{650, 480};
  // The chord of the incisor tip, 100 units right of the centre, turned by 10 degrees.
  const TFloatPoint tip = Turned({600, 500}, centre, ten);
  const std::vector<TCase> cases = {
      {"4 mm forward at 60 %", {60, 60, 60, 60, 0}, false, {"U1"}, {.Kind = mkTranslate, .Dx = 40}, {674, 480}},
      {"X+ and Y- shares", {90, 50, 80, 60, 0}, false, {"U1"}, {.Kind = mkTranslate, .Dx = 20, .Dy = -10}, {668, 474}},
      {"X- share", {90, 50, 80, 60, 0}, false, {"U1"}, {.Kind = mkTranslate, .Dx = -20}, {640, 480}},
      {"a zero step takes the minus share", {90, 0, 80, 0, 0}, false, {"U1"}, {.Kind = mkTranslate, .Dy = 30}, {650, 504}},
      {"half the rotation", {0, 0, 0, 0, 50}, false, {"U1"},
       {.Kind = mkRotate, .Angle = ten, .Centre = centre}, Turned(lip, centre, ten / 2)},
      {"rotation as the chord's translation", {100, 50, 80, 60, 0}, true, {"U1"},
       {.Kind = mkRotate, .Angle = ten, .Centre = centre},
       {lip.X + (tip.X - 600) * ((tip.X - 600) > 0 ? 1.0 : 0.5), lip.Y + (tip.Y - 500) * ((tip.Y - 500) > 0 ? 0.8 : 0.6)}},
      {"the master not moved, the lip selected", {60, 60, 60, 60, 60}, false, {"Ls", "Pog"},
       {.Kind = mkTranslate, .Dx = 40}, {690, 480}},
      {"the whole tracing", {60, 60, 60, 60, 60}, false, {"U1"}, {.Kind = mkTranslateAll, .Dx = 40}, {690, 480}},
      {"the whole tracing turned", {60, 60, 60, 60, 60}, false, {"U1"},
       {.Kind = mkRotateAll, .Angle = ten, .Centre = centre}, Turned(lip, centre, ten)},
      {"scaling", {60, 60, 60, 60, 60}, false, {"U1"}, {.Kind = mkScale, .Dx = 1}, lip},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    auto type2 = PointType("T", {"U1", "Ls", "Pog", "Pos", "S", "Gone"});
    std::swap(type, type2);
    xray = Radiograph(*type, "X", {{{600, 500}}, {{650, 480}}, {{550, 900}}, {{620, 920}}, {{200, 200}}});
    Relationship("Lip", "U1", {"Ls"}, c.Percents, c.AsTranslation);
    Select(c.Selected);
    ASSERT_TRUE(Move(c.Movement));
    EXPECT_NEAR(At("Ls").X, c.LipTo.X, 1e-9);
    EXPECT_NEAR(At("Ls").Y, c.LipTo.Y, 1e-9);
  }
}

TEST_F(TVtoTest, FlipsInvalidOrMissingMastersAndAutoVtoOffInduceNothing) {
  TXRHardSoft& lip = Relationship("Lip", "U1", {"Ls"}, {60, 60, 60, 60, 60});
  Select({"U1"});
  ASSERT_TRUE(FlipSelection(*xray, false, options));
  EXPECT_EQ(xray->UndoMovements.size(), 1u);

  options.AutoVto = false;
  ASSERT_TRUE(Move({.Kind = mkTranslate, .Dx = 40}));
  options.AutoVto = true;
  lip.MasterPoint = Point("Gone");
  Select({"Gone", "U1"});
  ASSERT_TRUE(Move({.Kind = mkTranslate, .Dx = 40}));
  lip.MasterPoint = nullptr;
  ASSERT_TRUE(Move({.Kind = mkTranslate, .Dx = 40}));
  EXPECT_EQ(xray->UndoMovements.size(), 4u);
  EXPECT_DOUBLE_EQ(At("Ls").X, 650);
}

TEST_F(TVtoTest, EachRelationshipIsItsOwnUndoStepAndUndoReturnsEveryPointExactly) {
  Relationship("Lip", "U1", {"Ls", "Pos"}, {60, 60, 60, 60, 30});
  Relationship("Chin", "Pog", {"Pos"}, {100, 100, 100, 100, 100});
  // Shares the soft chin and drives from a point the first one moves: no chaining.
  Relationship("Soft", "U1", {"Pos", "Pog"}, {50, 50, 50, 50, 50});
  Select({"U1"});
  const TFloatPoint lip = At("Ls"), softChin = At("Pos"), chin = At("Pog");
  ASSERT_TRUE(Move({.Kind = mkTranslate, .Dx = 40}));
  ASSERT_EQ(xray->UndoMovements.size(), 3u);  // the tip, then "Lip" and "Soft" in list order
  EXPECT_NEAR(At("Ls").X, lip.X + 24, 1e-12);
  EXPECT_NEAR(At("Pos").X, softChin.X + 24 + 20, 1e-12);
  EXPECT_NEAR(At("Pog").X, chin.X + 20, 1e-12);  // "Chin" is not driven by an induced move
  EXPECT_TRUE(xray->UndoMovements[1].Induced);
  EXPECT_EQ(MovementText(xray->UndoMovements[1], 200, true), "Translate: dx: 2.4, dy: 0: Ls, Pos");

  for (int i = 0; i < 3; ++i) ASSERT_TRUE(UndoLast(*xray, options));
  EXPECT_EQ(At("Ls").X, lip.X);
  EXPECT_EQ(At("Pos").X, softChin.X);
  EXPECT_EQ(At("Pog").X, chin.X);
  EXPECT_EQ(At("U1").X, 600);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(RedoLast(*xray, options));

  ASSERT_TRUE(Move({.Kind = mkRotate, .Angle = 0.2, .Centre = TFloatPoint{10, 20}}));
  ASSERT_EQ(xray->UndoMovements.size(), 6u);
  // Undo in the current-area mode with another selection still moves each induced entry's
  // own points.
  options.OriginalArea = false;
  Select({"U1"});
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(UndoLast(*xray, options));
  EXPECT_NEAR(At("Ls").X, lip.X + 24, 1e-9);
  EXPECT_NEAR(At("Pos").X, softChin.X + 44, 1e-9);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(UndoLast(*xray, options));
  EXPECT_NEAR(At("Ls").X, lip.X, 1e-9);
  // Redo and repeat replay the log without inducing again.
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(RedoLast(*xray, options));
  EXPECT_NEAR(At("Ls").X, lip.X + 24, 1e-12);
  const std::size_t all[] = {0, 1, 2};
  ASSERT_TRUE(ReverseEntries(*xray, TMovementList::Undo, all, options));
  EXPECT_NEAR(At("Ls").X, lip.X, 1e-12);
  EXPECT_NEAR(At("Pos").X, softChin.X, 1e-12);
  ASSERT_TRUE(RepeatEntries(*xray, TMovementList::Undo, all, options));
  EXPECT_NEAR(At("Pos").X, softChin.X + 44, 1e-12);
}

TEST_F(TVtoTest, CompilingKeepsTheUserMovementApartFromTheInducedOnes) {
  Relationship("Lip", "U1", {"Ls"}, {60, 60, 60, 60, 60});
  options.Compile = true;
  Select({"U1"});
  for (int i = 0; i < 2; ++i)
    ASSERT_TRUE(DoTheMovement(*xray, KeyboardMovement(TArrowKey::Right, false, false, false, {}), options));
  ASSERT_EQ(xray->UndoMovements.size(), 4u);
  EXPECT_FALSE(xray->UndoMovements[2].Induced);
  EXPECT_DOUBLE_EQ(At("Ls").X, 662);
}

TEST_F(TVtoTest, ADragFollowsTheTotalNotTheSumOfItsSteps) {
  Relationship("Lip", "U1", {"Ls"}, {90, 50, 80, 60, 0});
  Select({"U1"});
  TMovementTool tool;
  TDragOptions drag{.Movement = options};
  ASSERT_TRUE(tool.Begin(*xray, {600, 500}, TDragMode::Translate));
  ASSERT_TRUE(tool.Step(*xray, {620, 500}, drag));
  EXPECT_DOUBLE_EQ(At("Ls").X, 668);
  ASSERT_TRUE(tool.Step(*xray, {610, 500}, drag));
  EXPECT_DOUBLE_EQ(At("Ls").X, 659);  // 90 % of +10, where the steps would give 18 - 5
  ASSERT_TRUE(tool.End(*xray, drag));
  EXPECT_DOUBLE_EQ(At("Ls").X, 659);
  EXPECT_EQ(xray->UndoMovements.size(), 2u);
  ASSERT_TRUE(tool.Begin(*xray, {610, 500}, TDragMode::Translate));
  ASSERT_TRUE(tool.Step(*xray, {700, 500}, drag));
  tool.Cancel(*xray, options);
  EXPECT_DOUBLE_EQ(At("Ls").X, 659);
  EXPECT_EQ(xray->UndoMovements.size(), 2u);
}

}  // namespace
}  // namespace lumacet
