#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/kind_tables.h"
#include "model/xray_type.h"

namespace lumacet {
namespace {

template <class T>
T* Add(TXRayType& type, const std::string& name, int code) {
  std::string message;
  auto* element = type.AddElement(name, code, message);
  EXPECT_TRUE(message.empty()) << message;
  return static_cast<T*>(element);
}

TEST(PointValidity, NeedsBothCoordinatesAndKeepsThemWhenInvalidated) {
  TXRPoint p("P");
  EXPECT_FALSE(p.IsValid());
  p.SetX(3);
  EXPECT_FALSE(p.IsValid());
  p.SetY(4);
  EXPECT_TRUE(p.IsValid());
  p.SetValid(false);
  EXPECT_FALSE(p.IsValid());
  EXPECT_EQ(p.GetX(), 3);
  EXPECT_EQ(p.GetY(), 4);
  p.SetXY(3, 4);
  EXPECT_TRUE(p.IsValid());
}

TEST(PointValidity, NonFiniteCoordinatesMakeThePointInvalid) {
  TXRPoint p;
  p.SetXY(1, 2);
  p.SetX(std::numeric_limits<double>::quiet_NaN());
  EXPECT_FALSE(p.IsValid());
  EXPECT_EQ(p.GetX(), 1);
  p.SetXY(1, std::numeric_limits<double>::infinity());
  EXPECT_FALSE(p.IsValid());
}

TEST(PointValidity, ToPixelRoundsHalfToEvenAndGuardsItsRange) {
  TXRPoint p;
  int x = -1, y = -1;
  p.SetXY(2.5, 3.5);
  p.ToPixel(x, y);
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 4);
  p.SetXY(1e12, 5);
  p.ToPixel(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

TEST(PointValidity, RotateTurnsClockwiseAsDisplayedAndSkipsInvalidPoints) {
  TXRPoint p;
  p.SetXY(10, 0);
  p.Rotate(0, 0, M_PI / 2);  // y grows downwards: right turns to down
  EXPECT_NEAR(p.GetX(), 0, 1e-12);
  EXPECT_NEAR(p.GetY(), 10, 1e-12);
  TXRPoint invalid;
  invalid.SetX(7);
  invalid.Rotate(0, 0, 1);
  EXPECT_EQ(invalid.GetX(), 7);
}

TEST(ElementDefaults, MatchTheDocumentedValues) {
  TDigPoint dig;
  EXPECT_EQ(dig.Kind(), 0);
  EXPECT_TRUE(dig.NeedsPlacing);
  EXPECT_TRUE(dig.CursorOnly);
  EXPECT_EQ(dig.Transition, 1);
  TDigSnake snake;
  EXPECT_EQ(snake.HotZone, 50);
  EXPECT_FALSE(snake.Placed);
  TXRGraphic graphic;
  EXPECT_EQ(graphic.Size, 100.0);
  EXPECT_EQ(graphic.BrushStyle, 1);
  TXRProtocol protocol;
  EXPECT_EQ(protocol.ErrorMargin, 2.0);
  EXPECT_TRUE(protocol.AutoAdvance);
  TXRVariable variable;
  EXPECT_EQ(variable.LabelOffsetX, 10);
  EXPECT_EQ(variable.LabelOffsetY, -10);
  EXPECT_EQ(variable.NumberFormat, "0.#");
  EXPECT_EQ(variable.ShowIn, 2);
  EXPECT_EQ(variable.Style, 1);
  EXPECT_EQ(variable.Points.size(), 4u);
}

TEST(OperandCompatibility, KindChangesKeepOnlyOperandsThatStillFit) {
  TXRayType type;
  auto* a = Add<TDigPoint>(type, "A", ekDigPoint);
  auto* b = Add<TDigPoint>(type, "B", ekDigPoint);
  auto* c = Add<TDigPoint>(type, "C", ekDigPoint);
  auto* p = Add<TDerPoint>(type, "P", ekDerPoint);
  p->SetKind(2);  // "Projection": three points
  ASSERT_TRUE(p->SetOperand(0, a));
  ASSERT_TRUE(p->SetOperand(1, b));
  ASSERT_TRUE(p->SetOperand(2, c));
  p->SetKind(1);  // "Midpoint": two points
  EXPECT_EQ(p->Operand(0), a);
  EXPECT_EQ(p->Operand(1), b);
  EXPECT_EQ(p->Operand(2), nullptr);
  p->SetKind(10);  // "Average": one drawing
  EXPECT_EQ(p->Operand(0), nullptr);
  EXPECT_EQ(p->Operand(1), nullptr);
}

TEST(OperandCompatibility, SnakePointsCountAsPointsAndWrongClassesAreRefused) {
  TXRayType type;
  auto* snake = Add<TDigSnake>(type, "Profile", ekSnake);
  auto& owned = snake->AddPoint(1, 2, true);
  auto* p = Add<TDerPoint>(type, "P", ekDerPoint);
  auto* v = Add<TXRVariable>(type, "V", ekVariable);
  p->SetKind(1);
  EXPECT_TRUE(p->SetOperand(0, &owned));
  EXPECT_FALSE(p->SetOperand(1, v));
  EXPECT_EQ(p->Operand(1), nullptr);
}

TEST(OperandCompatibility, OperandCountIsTheNumberOfLeadingUsedSlots) {
  TDerPoint fixed;
  EXPECT_EQ(fixed.OperandCount(), 0);
  fixed.SetKind(3);
  EXPECT_EQ(fixed.OperandCount(), 4);
  TXRSupimp supimp;
  EXPECT_EQ(supimp.OperandCount(), 2);
  TXROrient orient;
  orient.SetKind(3);
  EXPECT_EQ(orient.OperandCount(), 4);
  TXRVariable variable;
  variable.SetKind(4);
  EXPECT_EQ(variable.OperandCount(), 3);
  EXPECT_EQ(DigPointKind(9).Token, "Intersection");
  EXPECT_EQ(CountUsedSlots(DigPointKind(9).Slots, 5), 2);  // slot 3 of "Intersection" is unused
}

TEST(LazyComputation, FixedPointsAreValidAndOtherKindsWaitForTheirOperands) {
  TDerPoint fixed;
  fixed.SetParameters(150, -20);
  EXPECT_TRUE(fixed.IsValid());
  EXPECT_EQ(fixed.GetX(), 150);
  EXPECT_EQ(fixed.GetY(), -20);
  fixed.SetX(1);  // a constructed point cannot be moved
  EXPECT_EQ(fixed.GetX(), 150);

  TDerPoint midpoint;
  midpoint.SetKind(1);
  EXPECT_FALSE(midpoint.IsValid());
  EXPECT_TRUE(midpoint.NeedsComputing()) << "an empty used slot leaves the point marked";
}

TEST(LazyComputation, PresetPointsTakeTheirParametersAndAutomaticKindsWaitForAPlacedSnake) {
  TDigPoint preset;
  preset.SetKind(1);
  preset.Parameter1 = 12;
  preset.Parameter2 = 34;
  preset.Invalidate();
  EXPECT_TRUE(preset.IsValid());
  EXPECT_EQ(preset.GetX(), 12);

  TDigSnake snake;
  TDigPoint automatic;
  automatic.SetRaw(5, 6, true, true);
  automatic.SetKind(2);
  ASSERT_TRUE(automatic.SetOperand(0, &snake));
  EXPECT_EQ(automatic.GetX(), 5);
  EXPECT_TRUE(automatic.NeedsPlacing) << "an unplaced snake leaves the stored coordinates standing";
}

TEST(LookupAndNaming, FindsDerivedBeforeDigitizedAndComparesExactly) {
  TXRayType type;
  auto* dig = Add<TDigPoint>(type, "P", ekDigPoint);
  EXPECT_EQ(type.FindElement("P", ekAnyPoint), dig);
  // A derived point may not reuse a digitized name through the editors, but files may hold both.
  auto derived = std::make_unique<TDerPoint>("P");
  TXRayElement* der = derived.get();
  type.AppendElement(std::move(derived));
  EXPECT_EQ(type.FindElement("P", ekAnyPoint), der);
  EXPECT_EQ(type.FindElement("p", ekAnyPoint), nullptr);
  EXPECT_EQ(type.FindElement("P", ekDigPoint), dig);
}

TEST(LookupAndNaming, RefusesEmptyReservedAndTakenNames) {
  TXRayType type;
  Add<TDigPoint>(type, "S", ekDigPoint);
  Add<TDerPoint>(type, "Go", ekDerPoint);
  const std::string reserved = "Name reserved by Lumacet.\r\nDo not use < or [ as the first character.";
  EXPECT_EQ(type.ValidateNewName("", ekDigPoint), "No name was entered.");
  EXPECT_EQ(type.ValidateNewName("   ", ekDigPoint), "No name was entered.");
  EXPECT_EQ(type.ValidateNewName("<All Points>", ekArea), reserved);
  EXPECT_EQ(type.ValidateNewName("<x", ekArea), reserved);
  EXPECT_EQ(type.ValidateNewName("  [x", ekArea), reserved);
  EXPECT_EQ(type.ValidateNewName("S", ekDigPoint), "'S' : This name is already used.");
  EXPECT_EQ(type.ValidateNewName(" S ", ekDigPoint), "'S' : This name is already used.");
  EXPECT_EQ(type.ValidateNewName("s", ekDigPoint), "");
  // Cross-kind rules: points and snakes against digitized points, digitized against derived.
  EXPECT_EQ(type.ValidateNewName("S", ekDerPoint), "'S' : This name is already used.");
  EXPECT_EQ(type.ValidateNewName("S", ekSnake), "'S' : This name is already used.");
  EXPECT_EQ(type.ValidateNewName("Go", ekDigPoint), "'Go' : This name is already used.");
  EXPECT_EQ(type.ValidateNewName("Go", ekSnake), "");
  EXPECT_EQ(type.ValidateNewName("S", ekVariable), "");
}

TEST(LookupAndNaming, AddRenameAndDeleteAreRecorded) {
  TXRayType type;
  std::string message;
  ASSERT_NE(type.AddElement("P", ekDigPoint, message), nullptr);
  ASSERT_TRUE(type.RenameElement("P", "Q", ekDigPoint, message));
  ASSERT_TRUE(type.DeleteElement("Q", ekDigPoint, message));
  EXPECT_EQ(type.ChangeHistory,
            (std::vector<std::string>{"Added: P.", "Renamed: \"P\" to: \"Q\".", "Deleted: Q."}));
}

TEST(LookupAndNaming, AnElementsOwnNameMayBePassedToRenameAndDelete) {
  // Editors hand in the element's own name; the element changes or is freed on the way.
  TXRayType type;
  std::string message;
  TXRayElement* point = type.AddElement("P", ekDigPoint, message);
  ASSERT_NE(point, nullptr);
  ASSERT_TRUE(type.RenameElement(point->Name, "Q", ekDigPoint, message));
  ASSERT_TRUE(type.DeleteElement(point->Name, ekDigPoint, message));
  EXPECT_EQ(type.ChangeHistory,
            (std::vector<std::string>{"Added: P.", "Renamed: \"P\" to: \"Q\".", "Deleted: Q."}));
  EXPECT_TRUE(type.Modified);
  EXPECT_EQ(type.Count(ekDigPoint), 0u);
}

TEST(LookupAndNaming, ElementNamesFollowKindOrderThenListOrder) {
  TXRayType type;
  Add<TXRVariable>(type, "SNA", ekVariable);
  Add<TDigPoint>(type, "S", ekDigPoint);
  Add<TDigPoint>(type, "N", ekDigPoint);
  Add<TDerPoint>(type, "Go", ekDerPoint);
  EXPECT_EQ(type.ElementNames({ekVariable, ekDigPoint, ekDerPoint}),
            (std::vector<std::string>{"S", "N", "Go", "SNA"}));
}

TEST(Deletion, IsRefusedWhileAnyReferenceFieldNamesTheElement) {
  TXRayType type;
  auto* p = Add<TDigPoint>(type, "P", ekDigPoint);
  auto* q = Add<TDigPoint>(type, "Q", ekDigPoint);
  q->DirectionPoint1 = p;
  std::string message;
  EXPECT_FALSE(type.DeleteElement("P", ekDigPoint, message));
  EXPECT_EQ(message, "Cannot delete 'P'.\r\n\r\nReferenced in Point: 'Q'.");
  EXPECT_EQ(type.Count(ekDigPoint), 2u);

  auto* v = Add<TXRVariable>(type, "N", ekVariable);
  v->Anchor = q;
  q->DirectionPoint1 = nullptr;
  auto* drawing = Add<TXRGraphic>(type, "Outline", ekGraphic);
  drawing->Points = {p};
  EXPECT_FALSE(type.DeleteElement("Q", ekDigPoint, message));
  EXPECT_EQ(message, "Cannot delete 'Q'.\r\n\r\nReferenced in Variable: 'N'.");
  drawing->ColourVariable = v;
  EXPECT_FALSE(type.DeleteElement("N", ekVariable, message));
  EXPECT_EQ(message, "Cannot delete 'N'.\r\n\r\nReferenced in Graphic: 'Outline'.");
}

TEST(Deletion, ScanStopsAtTheFirstReferrerInKindOrder) {
  TXRayType type;
  auto* p = Add<TDigPoint>(type, "P", ekDigPoint);
  auto* area = Add<TArea>(type, "Maxilla", ekArea);
  area->Points = {p};
  auto* der = Add<TDerPoint>(type, "M", ekDerPoint);
  der->SetKind(1);
  der->SetOperand(0, p);
  std::string message;
  EXPECT_FALSE(type.DeleteElement("P", ekDigPoint, message));
  EXPECT_EQ(message, "Cannot delete 'P'.\r\n\r\nReferenced in Point: 'M'.");
}

TEST(Deletion, ReferencesToASnakesOwnPointsKeepTheSnake) {
  TXRayType type;
  auto* snake = Add<TDigSnake>(type, "Profile", ekSnake);
  auto& owned = snake->AddPoint(0, 0, true);
  auto* der = Add<TDerPoint>(type, "M", ekDerPoint);
  der->SetKind(1);
  der->SetOperand(0, &owned);
  std::string message;
  EXPECT_FALSE(type.DeleteElement("Profile", ekSnake, message));
  EXPECT_EQ(message, "Cannot delete 'Profile'.\r\n\r\nReferenced in Point: 'M'.");
}

TEST(Deletion, ClearsCurrentChoicesAndSelectionsHoldingTheElement) {
  TXRayType type;
  auto* analysis = Add<TXRAnalysis>(type, "Steiner", ekAnalysis);
  auto* view = Add<TXRView>(type, "Profile", ekView);
  auto* p = Add<TDigPoint>(type, "P", ekDigPoint);
  type.CurrentAnalysis = analysis;
  type.CurrentView = view;
  type.Selection = {p};
  std::string message;
  EXPECT_TRUE(type.DeleteElement("Steiner", ekAnalysis, message));
  EXPECT_TRUE(type.DeleteElement("Profile", ekView, message));
  EXPECT_TRUE(type.DeleteElement("P", ekDigPoint, message));
  EXPECT_EQ(type.CurrentAnalysis, nullptr);
  EXPECT_EQ(type.CurrentView, nullptr);
  EXPECT_TRUE(type.Selection.empty());
}

TEST(Cycles, ClosingALoopIsRefusedWithTheMessageAndTheSlotStaysEmpty) {
  TXRayType type;
  auto* a = Add<TDerPoint>(type, "A", ekDerPoint);
  auto* b = Add<TDerPoint>(type, "B", ekDerPoint);
  auto* c = Add<TDerPoint>(type, "C", ekDerPoint);
  for (auto* p : {a, b, c}) p->SetKind(1);
  std::string message;
  ASSERT_TRUE(SetCheckedOperand(*b, 0, a, message));
  ASSERT_TRUE(SetCheckedOperand(*c, 0, b, message));
  EXPECT_FALSE(SetCheckedOperand(*a, 1, c, message));
  EXPECT_EQ(message, "Circular reference detected.\r\n\r\nYou attempted to derive 'A' using itself.");
  EXPECT_EQ(a->Operand(1), nullptr);
  EXPECT_FALSE(SetCheckedOperand(*a, 0, a, message));
}

TEST(Cycles, LoopsLoadedFromFilesEvaluateToInvalidWithoutRecursingForever) {
  TXRayType type;
  auto* a = Add<TDerPoint>(type, "A", ekDerPoint);
  auto* b = Add<TDerPoint>(type, "B", ekDerPoint);
  auto* drawing = Add<TXRGraphic>(type, "D", ekGraphic);
  a->SetKind(1);
  b->SetKind(10);  // "Average" over a drawing that contains A, which reads B
  a->SetOperand(0, b);
  a->SetOperand(1, b);
  drawing->Points = {a};
  b->SetOperand(0, drawing);
  EXPECT_FALSE(a->IsValid());
  EXPECT_FALSE(b->IsValid());
  EXPECT_TRUE(a->DependsOn(a));
  EXPECT_TRUE(b->DependsOn(a));
}

TEST(Cycles, VariablesRefuseCircularDefinitions) {
  TXRayType type;
  auto* x = Add<TXRVariable>(type, "X", ekVariable);
  auto* y = Add<TXRVariable>(type, "Y", ekVariable);
  x->SetKind(15);  // "Absolute"
  y->SetKind(15);
  std::string message;
  ASSERT_TRUE(SetCheckedOperand(*y, 0, x, message));
  EXPECT_FALSE(SetCheckedOperand(*x, 0, y, message));
  EXPECT_EQ(message, "Circular reference detected.\r\n\r\nYou attempted to derive 'X' using itself.");
  EXPECT_EQ(x->Operand(0), nullptr);
}

TEST(ReferencesAndCopies, AssignCopiesReferencesAsReferences) {
  TXRayType type;
  auto* p = Add<TDigPoint>(type, "P", ekDigPoint);
  auto* v = Add<TXRVariable>(type, "V", ekVariable);
  v->SetKind(18);  // "X Coordinate"
  v->SetOperand(0, p);
  v->FemaleNormals = {{8, 12, 82, 3.5}};
  TXRVariable copy;
  copy.Assign(*v);
  EXPECT_EQ(copy.Operand(0), p);
  EXPECT_EQ(copy.Kind(), 18);
  EXPECT_EQ(copy.FemaleNormals, v->FemaleNormals);
  EXPECT_TRUE(copy.References(p));
  EXPECT_FALSE(copy.References(v));
}

TEST(ReferencesAndCopies, SnakeCopiesNameTheirPointsByPositionAndSnake) {
  TDigSnake snake("Chin");
  snake.Description = "soft tissue";
  snake.HotZone = 30;
  snake.AddPoint(1, 2, true);
  snake.AddPoint(3, 4, false);
  TDigSnake copy;
  copy.CopyFrom(snake);
  ASSERT_EQ(copy.Points.size(), 2u);
  EXPECT_EQ(copy.Points[1]->Name, "Point 1 on Chin");
  EXPECT_EQ(copy.Points[1]->Owner, &copy);
  EXPECT_FALSE(copy.Points[1]->IsValid());
  EXPECT_EQ(copy.Points[0]->GetY(), 2);
  EXPECT_EQ(copy.HotZone, 30);
  EXPECT_EQ(copy.Description, "soft tissue");
}

TEST(ReferencesAndCopies, SanitizingEmptiesWrongClassSlotsAndDropsEmptyListEntries) {
  TXRayType type;
  auto* p = Add<TDigPoint>(type, "P", ekDigPoint);
  auto* v = Add<TXRVariable>(type, "V", ekVariable);
  auto* der = Add<TDerPoint>(type, "M", ekDerPoint);
  auto* analysis = Add<TXRAnalysis>(type, "A", ekAnalysis);
  der->SetKind(1);
  // What a hand-edited file can produce: classes the slots do not take, and holes.
  analysis->Points = {v, nullptr, p};
  analysis->Graphics = {v};
  v->Points[2] = p;  // kind "Label" uses no slot
  type.SanitizeReferences();
  EXPECT_EQ(analysis->Points, (std::vector<TXRayElement*>{v}));
  EXPECT_TRUE(analysis->Graphics.empty());
  EXPECT_EQ(v->Points.size(), 4u);
  EXPECT_EQ(v->Points[2], nullptr);
}

}  // namespace
}  // namespace lumacet

namespace lumacet {
namespace {

TEST(Cycles, VeryLongChainsReadInvalidInsteadOfExhaustingTheStack) {
  TXRayType type;
  std::string message;
  auto* first = static_cast<TDerPoint*>(type.AddElement("P0", ekDerPoint, message));
  first->SetParameters(1, 1);
  TDerPoint* previous = first;
  for (int i = 1; i < 5000; ++i) {
    auto* next = static_cast<TDerPoint*>(type.AddElement("P" + std::to_string(i), ekDerPoint, message));
    next->SetKind(1);  // midpoint of the previous point with itself
    next->SetOperand(0, previous);
    next->SetOperand(1, previous);
    previous = next;
  }
  EXPECT_FALSE(previous->IsValid());
  // Reading from the shallow end first settles the chain step by step.
  for (auto& element : type.ElementList(ekDerPoint)) static_cast<TDerPoint*>(element.get())->IsValid();
  EXPECT_TRUE(previous->IsValid());
  EXPECT_EQ(previous->GetX(), 1);
}

}  // namespace
}  // namespace lumacet
