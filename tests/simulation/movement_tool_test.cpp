// The interactive side of movements on a small type: drags with snapping and constraints,
// cancel, a point dragged by its marker, clicks and the rubber band choosing points and
// areas, the arrow keys and the numbers typed into the "Move" dialog.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "population/population_fixture.h"
#include "simulation/movement_log.h"
#include "simulation/movement_tool.h"
#include "simulation/selection.h"

namespace lumacet {
namespace {

using test::PointType;
using test::Radiograph;

struct TMovementToolTest : ::testing::Test {
  TMovementToolTest() {
    std::string message;
    for (auto [name, members] : {std::pair{"Upper", std::vector<std::string>{"A", "B"}},
                                 std::pair{"Lower", std::vector<std::string>{"B", "C"}}}) {
      auto* area = static_cast<TArea*>(type->AddElement(name, ekArea, message));
      for (const std::string& member : members) area->Points.push_back(type->FindElement(member, ekDigPoint));
    }
  }
  TXRayElement* Element(const char* name, int code = ekDigPoint) { return type->FindElement(name, code); }
  TFloatPoint At(const char* name) {
    const TLoadedRadiograph loaded = xray->Load();
    return loaded.Position(Element(name)).value_or(TFloatPoint{NAN, NAN});
  }

  std::unique_ptr<TXRayType> type = PointType("T", {"A", "B", "C", "D"});
  std::unique_ptr<TXRay> xray = Radiograph(*type, "X", {{{100, 200}}, {{300, 250}}, {{150, 400}}, {{500, 500}}});
  TMovementTool tool;
  TDragOptions options;
};

TEST_F(TMovementToolTest, SnappedTranslationStepsRoundToWholeMillimetresHalvesToEven) {
  options.Snap = true;
  struct TCase {
    double Step;
    double Moved;
  };
  for (const TCase c : {TCase{4, 0}, {6, 10}, {5, 0}, {15, 20}, {-6, -10}}) {
    xray->Selection = {Element("A")};
    ASSERT_TRUE(tool.Begin(*xray, {0, 0}, TDragMode::Translate));
    EXPECT_EQ(tool.Step(*xray, {c.Step, 0}, options), c.Moved != 0) << c.Step;
    EXPECT_DOUBLE_EQ(At("A").X, 100 + c.Moved) << c.Step;
    tool.Cancel(*xray, options.Movement);
    EXPECT_DOUBLE_EQ(At("A").X, 100);
  }
  EXPECT_TRUE(xray->UndoMovements.empty());
}

TEST_F(TMovementToolTest, ADragShowsOneMovementOfTheTotalAndLogsItOnceAtTheEnd) {
  xray->Selection = {Element("Upper", ekArea)};
  xray->ChangeHistory.clear();
  options.Constraint = TTranslateConstraint::AlongX;
  ASSERT_TRUE(tool.Begin(*xray, {10, 10}, TDragMode::Translate));
  for (int i = 1; i <= 1000; ++i) tool.Step(*xray, {10 + 0.05 * i, 10.0 + i}, options);
  EXPECT_TRUE(xray->ChangeHistory.empty()) << "history is paused during the drag";
  EXPECT_NE(tool.Status(',', true).find(" dx: 5 mm  dy: 0 mm   dist: 5 mm   (Right-click to redraw)"),
            std::string::npos)
      << tool.Status(',', true);
  ASSERT_TRUE(tool.End(*xray, options));
  EXPECT_DOUBLE_EQ(At("A").X, 150);
  EXPECT_DOUBLE_EQ(At("A").Y, 200);
  EXPECT_DOUBLE_EQ(At("B").X, 350);
  EXPECT_DOUBLE_EQ(At("C").X, 150) << "not in the area";
  ASSERT_EQ(xray->UndoMovements.size(), 1u);
  EXPECT_EQ(MovementText(xray->UndoMovements.back(), 200, true), "Translate: dx: 5, dy: 0: Upper");
  EXPECT_EQ(xray->ChangeHistory, std::vector<std::string>{"Translated points."});
  ASSERT_TRUE(UndoLast(*xray, options.Movement));
  EXPECT_DOUBLE_EQ(At("A").X, 100);
}

TEST_F(TMovementToolTest, RotationFollowsTheMouseAboutTheCentreAndSnapsToWholeDegrees) {
  tool.RotationCentre = {100, 200};  // on A
  xray->Selection = {Element("B")};
  // From right of the centre to below it: a quarter turn clockwise as displayed.
  ASSERT_TRUE(tool.Begin(*xray, {200, 200}, TDragMode::Rotate));
  ASSERT_TRUE(tool.Step(*xray, {100, 300}, options));
  EXPECT_EQ(tool.Status('.', false), " angle: 90\u00B0");
  ASSERT_TRUE(tool.End(*xray, options));
  EXPECT_NEAR(At("B").X, 100 - 50, 1e-9);
  EXPECT_NEAR(At("B").Y, 200 + 200, 1e-9);

  options.Snap = true;
  ASSERT_TRUE(tool.Begin(*xray, {10100, 200}, TDragMode::Rotate));
  // Each 0.2 degree step rounds to nothing, but they add up from where the last degree was
  // reached: 0.2, 0.4, 0.6 (a degree), 0.2, 0.4.
  int moved = 0;
  for (int i = 1; i <= 5; ++i) {
    const double a = i * 0.2 * std::numbers::pi / 180;
    moved += tool.Step(*xray, {100 + 10000 * std::cos(a), 200 + 10000 * std::sin(a)}, options) ? 1 : 0;
  }
  EXPECT_EQ(moved, 1);
  EXPECT_NEAR(tool.Total().Angle, std::numbers::pi / 180, 1e-12);
  tool.Cancel(*xray, options.Movement);
}

TEST_F(TMovementToolTest, AMarkerDragMovesThatPointAloneAndGivesTheSelectionBack) {
  xray->Selection = {Element("Upper", ekArea)};
  TXRPoint* b = SelectedPointAt(*xray, {302, 248}, 5);
  ASSERT_EQ(b, Element("B"));
  EXPECT_EQ(SelectedPointAt(*xray, {150, 400}, 5), nullptr) << "C is not selected";
  ASSERT_TRUE(tool.Begin(*xray, {300, 250}, TDragMode::Marker, b));
  tool.Step(*xray, {320, 240}, options);
  ASSERT_TRUE(tool.End(*xray, options));
  EXPECT_DOUBLE_EQ(At("B").X, 320);
  EXPECT_DOUBLE_EQ(At("A").X, 100);
  EXPECT_EQ(xray->Selection, std::vector<TXRayElement*>{Element("Upper", ekArea)});
  ASSERT_EQ(xray->UndoMovements.size(), 1u);
  EXPECT_EQ(*xray->UndoMovements.back().Elements, std::vector<TXRayElement*>{Element("B")});
}

TEST_F(TMovementToolTest, NothingSelectedStartsNoDragAndTheCentreHandleSetsTheCentre) {
  EXPECT_FALSE(tool.Begin(*xray, {0, 0}, TDragMode::Translate));
  EXPECT_FALSE(tool.Dragging());
  ASSERT_TRUE(tool.Begin(*xray, {0, 0}, TDragMode::Centre));
  tool.Step(*xray, {123.4, 56.6}, options);
  EXPECT_EQ(tool.Status('.', false), " x: 12.3 y: 5.7");
  ASSERT_TRUE(tool.End(*xray, options));
  EXPECT_EQ(tool.RotationCentre, (TFloatPoint{123, 57}));
  EXPECT_TRUE(xray->UndoMovements.empty());
}

TEST_F(TMovementToolTest, ClicksStepThroughOverlappingAreasAndTheBandTakesWhatLiesInside) {
  // B belongs to both areas: a click on it takes the first, Ctrl-clicks step on and round.
  EXPECT_TRUE(SelectAt(*xray, {301, 251}, 5, false, false));
  EXPECT_EQ(SelectionDescription(*xray), "Upper");
  SelectAt(*xray, {301, 251}, 5, false, true);
  EXPECT_EQ(SelectionDescription(*xray), "Lower");
  SelectAt(*xray, {301, 251}, 5, false, true);
  EXPECT_EQ(SelectionDescription(*xray), "Upper");
  // Shift adds, and removes what is there.
  SelectAt(*xray, {150, 400}, 5, true, false);
  EXPECT_EQ(SelectionDescription(*xray), "Multiple Selection");
  SelectAt(*xray, {150, 400}, 5, true, false);
  EXPECT_EQ(SelectionDescription(*xray), "Upper");
  // No area under D: the point itself.
  SelectAt(*xray, {498, 503}, 5, false, false);
  EXPECT_EQ(SelectionDescription(*xray), "D");
  SelectAt(*xray, {800, 800}, 5, false, false);
  EXPECT_EQ(SelectionDescription(*xray), "");

  SelectInBand(*xray, {90, 190, 320, 420}, false);
  EXPECT_EQ(xray->Selection, (std::vector<TXRayElement*>{Element("Upper", ekArea), Element("Lower", ekArea)}));
  SelectInBand(*xray, {320, 260, 90, 190}, false);  // corners in any order
  EXPECT_EQ(xray->Selection, (std::vector<TXRayElement*>{Element("Upper", ekArea)}));
  SelectInBand(*xray, {490, 490, 510, 510}, true);
  EXPECT_EQ(xray->Selection, (std::vector<TXRayElement*>{Element("Upper", ekArea), Element("D")}));
}

TEST_F(TMovementToolTest, HandlesSitOutsideTheCornersOfTheSelection) {
  EXPECT_FALSE(SelectionHandles(*xray, 10));
  xray->Selection = {Element("Upper", ekArea)};
  const std::optional<TSelectionHandles> handles = SelectionHandles(*xray, 10);
  ASSERT_TRUE(handles);
  EXPECT_EQ(handles->Translate[0], (TFloatPoint{85, 185}));
  EXPECT_EQ(handles->Translate[3], (TFloatPoint{315, 265}));
  EXPECT_EQ(handles->Rotate[1], (TFloatPoint{330, 170}));
}

TEST(KeyboardMovementTest, ArrowKeysMoveAMillimetreOrADegreeTimesTheirMultiplier) {
  struct TCase {
    TArrowKey Key;
    bool Rotate, Ctrl, Shift;
    double Dx, Dy, Degrees;
  };
  const TCase cases[] = {
      {TArrowKey::Left, false, false, false, -10, 0, 0}, {TArrowKey::Down, false, true, false, 0, 1, 0},
      {TArrowKey::Up, false, false, true, 0, -100, 0},   {TArrowKey::Right, false, true, true, 1, 0, 0},
      {TArrowKey::Right, true, false, false, 0, 0, 1},   {TArrowKey::Up, true, false, true, 0, 0, -10},
      {TArrowKey::Down, true, true, false, 0, 0, 0.1},
  };
  for (const TCase& c : cases) {
    const TMovement m = KeyboardMovement(c.Key, c.Rotate, c.Ctrl, c.Shift, {5, 6});
    EXPECT_EQ(m.Kind, c.Rotate ? mkRotate : mkTranslate);
    EXPECT_NEAR(m.Dx, c.Dx, 1e-12);
    EXPECT_NEAR(m.Dy, c.Dy, 1e-12);
    EXPECT_NEAR(m.Angle * 180 / std::numbers::pi, c.Degrees, 1e-12);
    if (c.Rotate) {
      EXPECT_EQ(m.Centre, (TFloatPoint{5, 6}));
    }
  }
}

TEST(TypedMovementTest, BadNumbersAreRefusedByNameAndAnglesTakenModuloAFullTurn) {
  struct TCase {
    const char* Dx;
    const char* Dy;
    bool Taken;
    const char* Named;
  };
  const TCase cases[] = {{"1,5", "-2", true, ""},     {"1.5", "0", true, ""},      {"abc", "0", false, "dX"},
                         {"0", "", false, "dY"},      {"1e308", "0", false, "dX"}, {"0", "300,5", false, "dY"},
                         {"0", "nan", false, "dY"},   {"300", "-300", true, ""}};
  for (const TCase& c : cases) {
    const TResultOf<TMovement> m = TypedTranslation(c.Dx, c.Dy, ',');
    EXPECT_EQ(m.Ok(), c.Taken) << c.Dx << " " << c.Dy;
    if (!c.Taken) {
      EXPECT_NE(m.Text().English().find(c.Named), std::string::npos) << m.Text().English();
    }
  }
  EXPECT_DOUBLE_EQ(TypedTranslation("1,5", "-2", ',')->Dx, 15);
  EXPECT_NEAR(TypedRotation("370", {}, ',')->Angle, 10 * std::numbers::pi / 180, 1e-12);
  EXPECT_NEAR(TypedRotation("-725,5", {}, ',')->Angle, -5.5 * std::numbers::pi / 180, 1e-12);
  EXPECT_FALSE(TypedRotation("x", {}, ','));
  EXPECT_FALSE(TypedRotation("1e999", {}, ','));
  EXPECT_EQ(*TypedCentre("10,4", "-3", ','), (TFloatPoint{10, -3}));
  EXPECT_FALSE(TypedCentre("1e308", "0", ','));
  EXPECT_DOUBLE_EQ(*TypedScaleFactor("1,1", ','), 1.1);
  for (const char* bad : {"", "abc", "0", "-2", "inf"}) EXPECT_FALSE(TypedScaleFactor(bad, ',')) << bad;
}

TEST_F(TMovementToolTest, ScalingBeyondTheDisplayIsNoticedAndAScaleIsLoggedWithoutElements) {
  EXPECT_FALSE(ScaleExceedsDisplay(*xray, 2));
  EXPECT_TRUE(ScaleExceedsDisplay(*xray, 8));
  ASSERT_TRUE(ScaleTracing(*xray, 100.0 / 110, options.Movement));
  ASSERT_EQ(xray->UndoMovements.size(), 1u);
  EXPECT_FALSE(xray->UndoMovements.back().Elements);
  xray->Selection.clear();
  EXPECT_FALSE(FlipSelection(*xray, true, options.Movement));
  xray->Selection = {Element("A"), Element("C")};
  ASSERT_TRUE(FlipSelection(*xray, true, options.Movement));
  EXPECT_EQ(xray->UndoMovements.back().Kind, mkFlipVertical);
}

}  // namespace
}  // namespace lumacet
