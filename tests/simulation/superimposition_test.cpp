#include <gtest/gtest.h>

#include <cmath>

#include "geometry/plane_geometry.h"
#include "model/kind_codes.h"
#include "population/population_fixture.h"
#include "simulation/movement_log.h"
#include "simulation/superimposition.h"

namespace lumacet {
namespace {

using test::PointType;
using test::Radiograph;

TFloatPoint At(TXRay& xray, int index) {
  const auto& p = std::as_const(xray.Coordinates)[static_cast<size_t>(index)];
  return {p->RawX(), p->RawY()};
}

template <class T>
T& Add(TXRayType& type, int code, const std::string& name, int kind, std::vector<std::string> operands) {
  std::string message;
  auto* element = static_cast<T*>(type.AddElement(name, code, message));
  EXPECT_NE(element, nullptr) << message;
  element->SetKind(kind);
  for (size_t i = 0; i < operands.size(); ++i)
    EXPECT_TRUE(element->SetOperand(static_cast<int>(i), type.FindElement(operands[i], ekAnyPoint) != nullptr
                                                            ? type.FindElement(operands[i], ekAnyPoint)
                                                            : type.FindElement(operands[i], ekGraphic)));
  return *element;
}

struct TSuperimpositionFixture : ::testing::Test {
  std::unique_ptr<TXRayType> type = PointType("T", {"S", "N", "Me", "Go"});
  // The moving tracing is the fixed one turned by 20 degrees about (50, 80), shifted by (30, -40)
  // and enlarged by 10 % about its centroid.
  std::unique_ptr<TXRay> fixed = Radiograph(*type, "F", {{{100, 100}}, {{400, 120}}, {{380, 500}}, {{150, 420}}});
  std::unique_ptr<TXRay> moving = Radiograph(*type, "M");
  TMovementOptions options;

  void SetUp() override {
    test::AddDrawing(*type, "Outline", {"S", "N", "Me", "Go"});
    for (int i = 0; i < 4; ++i) moving->Coordinates[i]->SetXY(At(*fixed, i).X, At(*fixed, i).Y);
    moving->Selection.clear();
    for (const TMovement& m : {TMovement{.Kind = mkRotateAll, .Angle = DegToRad(20), .Centre = TFloatPoint{50, 80}},
                               TMovement{.Kind = mkTranslateAll, .Dx = 30, .Dy = -40},
                               TMovement{.Kind = mkScale, .Dx = 1.1}})
      ASSERT_TRUE(ApplyMovement(m, *moving, options));
  }

  void ExpectOnFixed(double tolerance, std::initializer_list<int> points) {
    for (int i : points) {
      EXPECT_NEAR(At(*moving, i).X, At(*fixed, i).X, tolerance) << "point " << i;
      EXPECT_NEAR(At(*moving, i).Y, At(*fixed, i).Y, tolerance) << "point " << i;
    }
  }
};

TEST_F(TSuperimpositionFixture, BestFitAndScalingBringsTheEnlargedTracingBackAndUndoes) {
  auto& s = Add<TXRSupimp>(*type, ekSupimp, "Fit", KindNumber(TSupimpKind::BestFitAndScaling), {"Outline"});
  const TFloatPoint before = At(*moving, 2);
  TRadiograph* others[] = {moving.get(), fixed.get()};
  ASSERT_TRUE(SuperimposeOnCurrent(s, *fixed, others, options));
  ExpectOnFixed(1e-9, {0, 1, 2, 3});
  ASSERT_EQ(moving->UndoMovements.size(), 3u);
  EXPECT_NEAR(moving->UndoMovements[0].Dx, 1 / 1.1, 1e-12);
  EXPECT_TRUE(fixed->UndoMovements.empty());
  while (!moving->UndoMovements.empty()) ASSERT_TRUE(UndoLast(*moving, options));
  EXPECT_NEAR(At(*moving, 2).X, before.X, 1e-9);
}

TEST_F(TSuperimpositionFixture, PointKindsRegisterOnTheirPointsAndLines) {
  struct TCase {
    TSupimpKind Kind;
    std::vector<std::string> Operands;
  };
  for (const TCase& c : std::vector<TCase>{{TSupimpKind::PointToPoint, {"S", "N"}},
                                           {TSupimpKind::CenteredAngle, {"S", "N", "Go"}},
                                           {TSupimpKind::PointLines, {"S", "N", "Me"}},
                                           {TSupimpKind::BestFit, {"Outline"}}}) {
    std::unique_ptr<TXRay> copy = Radiograph(*type, "C");
    for (int i = 0; i < 4; ++i) copy->Coordinates[i]->SetXY(At(*moving, i).X, At(*moving, i).Y);
    auto& s = Add<TXRSupimp>(*type, ekSupimp, "K" + std::to_string(KindNumber(c.Kind)), KindNumber(c.Kind), c.Operands);
    TResultOf<std::vector<TMovement>> movements = SuperimpositionMovements(s, *fixed, *copy);
    ASSERT_TRUE(movements) << movements.Reason();
    for (const TMovement& m : *movements) ASSERT_TRUE(ApplyMovement(m, *copy, options));
    // Without scaling only the first operand sits on its place; the directions agree.
    const double direction = c.Kind == TSupimpKind::PointLines ? LineAngle(At(*copy, 1), At(*copy, 2)) - LineAngle(At(*fixed, 1), At(*fixed, 2))
                                                               : LineAngle(At(*copy, 0), At(*copy, 1)) - LineAngle(At(*fixed, 0), At(*fixed, 1));
    EXPECT_NEAR(std::remainder(direction, kTwoPi), 0, 1e-9) << s.Name;
    if (c.Kind != TSupimpKind::BestFit) {
      EXPECT_NEAR(At(*copy, 0).X, At(*fixed, 0).X, 1e-9) << s.Name;
      EXPECT_NEAR(At(*copy, 0).Y, At(*fixed, 0).Y, 1e-9) << s.Name;
    }
  }
  // Identical tracings give null movements, which never reach the log.
  auto& same = Add<TXRSupimp>(*type, ekSupimp, "Same", KindNumber(TSupimpKind::PointToPoint), {"S", "N"});
  std::unique_ptr<TXRay> twin = Radiograph(*type, "Twin", {{{100, 100}}, {{400, 120}}, {{380, 500}}, {{150, 420}}});
  TRadiograph* others[] = {twin.get()};
  ASSERT_TRUE(SuperimposeOnCurrent(same, *fixed, others, options));
  EXPECT_TRUE(twin->UndoMovements.empty());
}

TEST_F(TSuperimpositionFixture, DegenerateDefinitionsAreRefusedWithoutMovingAnything) {
  auto& p2p = Add<TXRSupimp>(*type, ekSupimp, "P", KindNumber(TSupimpKind::PointToPoint), {"S", "N"});
  auto& fit = Add<TXRSupimp>(*type, ekSupimp, "B", KindNumber(TSupimpKind::BestFitAndScaling), {"Outline"});
  auto& orient = Add<TXROrient>(*type, ekOrient, "O", KindNumber(TOrientKind::SetHorizontal), {"S", "N"});
  std::unique_ptr<TXRay> collapsed = Radiograph(*type, "C", {{{7, 7}}, {{7, 7}}, {{7, 7}}, {{7, 7}}});
  std::unique_ptr<TXRay> missing = Radiograph(*type, "M", {{{7, 7}}});
  for (TXRSupimp* s : {&p2p, &fit}) {
    for (TXRay* bad : {collapsed.get(), missing.get()}) {
      TResultOf<std::vector<TMovement>> movements = SuperimpositionMovements(*s, *fixed, *bad);
      ASSERT_FALSE(movements) << s->Name;
      EXPECT_EQ(movements.Text().English(), "Cannot superimpose. Points not valid.");
    }
  }
  for (TXRay* bad : {collapsed.get(), missing.get()}) {
    TResult outcome = Orientate(orient, *bad, options);
    EXPECT_EQ(outcome.Text().English(), "Cannot orientate. Points not valid.");
    EXPECT_TRUE(bad->UndoMovements.empty());
    EXPECT_EQ(At(*bad, 0).X, 7);
  }
}

TEST_F(TSuperimpositionFixture, OrientationsTurnTheTracingAsTheirKindSays) {
  auto& horizontal = Add<TXROrient>(*type, ekOrient, "H", KindNumber(TOrientKind::SetHorizontal), {"S", "N"});
  auto& vertical = Add<TXROrient>(*type, ekOrient, "V", KindNumber(TOrientKind::SetVertical), {"S", "N"});
  auto& angled = Add<TXROrient>(*type, ekOrient, "A", KindNumber(TOrientKind::SetToAngle), {"S", "N"});
  angled.Parameter1 = 30;
  auto& fix = Add<TXROrient>(*type, ekOrient, "F", KindNumber(TOrientKind::FixOnPoints), {"S", "N", "Go", "Me"});
  struct TCase {
    TXROrient* Orientation;
    double Direction;  // of S -> N afterwards, counter-clockwise as displayed
  };
  for (const TCase& c : std::vector<TCase>{{&horizontal, 0}, {&vertical, -kPi / 2}, {&angled, -kPi / 6},
                                           {&fix, LineAngle(At(*moving, 3), At(*moving, 2))}}) {
    std::unique_ptr<TXRay> copy = Radiograph(*type, "C");
    for (int i = 0; i < 4; ++i) copy->Coordinates[i]->SetXY(At(*moving, i).X, At(*moving, i).Y);
    ASSERT_TRUE(Orientate(*c.Orientation, *copy, options));
    EXPECT_NEAR(std::remainder(LineAngle(At(*copy, 0), At(*copy, 1)) - c.Direction, kTwoPi), 0, 1e-9)
        << c.Orientation->Name;
    EXPECT_FALSE(copy->UndoMovements.empty());
  }
  // Already horizontal to the right: nothing; to the left: a half turn.
  std::unique_ptr<TXRay> level = Radiograph(*type, "L", {{{0, 10}}, {{50, 10}}});
  ASSERT_TRUE(OrientationMovements(horizontal, *level)->empty());
  std::unique_ptr<TXRay> left = Radiograph(*type, "L", {{{50, 10}}, {{0, 10}}});
  ASSERT_EQ(OrientationMovements(horizontal, *left)->size(), 1u);
  EXPECT_NEAR(std::abs(OrientationMovements(horizontal, *left)->front().Angle), kPi, 1e-12);
  // The first orientation is the default one, applied on loading.
  AutoOrientate(*left, options);
  EXPECT_NEAR(At(*left, 0).X, 0, 1e-9);
}

}  // namespace
}  // namespace lumacet
