#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "measure/variables.h"
#include "model/list_elements.h"
#include "support/file_numbers.h"
#include "variables_fixture.h"

namespace lumacet {
namespace {

using test::MeasureFixture;

// Variable kinds by their keywords.
enum : int {
  kLabel = 0, kAngle180 = 1, kAngle360 = 2, kDistance1 = 3, kDistance2 = 4, kDistance3 = 5, kDistance4 = 6,
  kSum = 7, kSumAny = 8, kDifference = 9, kProduct = 10, kRatio = 11, kRatioPercent = 12, kSum4 = 13,
  kSum4Any = 14, kAbsolute = 15, kMinimum = 16, kMaximum = 17, kXCoordinate = 18, kYCoordinate = 19,
  kSquareRoot = 20, kConstant = 21, kPatientName = 22, kDateOfBirth = 23, kPatientAge = 24, kPatientAgeText = 25,
  kDateTaken = 26, kMagnification = 27, kComments = 28, kArea = 29, kLength = 30,
  kRefDistance1 = 33, kRefDifference = 39, kRefPatientName = 51, kRefPatientAge = 53, kRefArea = 58,
  kCentroidSize = 60, kPrincipalComponent = 63, kRefProcrustesDistance = 65,
};

using Value = std::optional<std::string>;

class VariablesTest : public MeasureFixture {};

TEST_F(VariablesTest, AnglesBetweenLinesInBothRanges) {
  auto& a180 = AddVariable("a180", kAngle180, {P(1), P(2), P(3), P(4)});
  auto& a360 = AddVariable("a360", kAngle360, {P(1), P(2), P(3), P(4)});
  // A line against itself reversed: 180 in both ranges, never -180.
  Place(1, 0, 0), Place(2, 100, 0), Place(3, 100, 0), Place(4, 0, 0);
  EXPECT_EQ(Measure(a180), "180");
  EXPECT_EQ(Measure(a360), "180");
  // The first line turned clockwise as displayed (y grows downwards) is negative.
  Place(1, 0, 0), Place(2, 0, 100), Place(3, 0, 0), Place(4, 100, 0);
  EXPECT_EQ(Measure(a180), "-90");
  EXPECT_EQ(Measure(a360), "270");
  Place(2, 0, -100);
  EXPECT_EQ(Measure(a180), "90");
  EXPECT_EQ(Measure(a360), "90");
  const double t = 10 * std::numbers::pi / 180;
  Place(2, 100 * std::cos(t), 100 * std::sin(t));
  EXPECT_NEAR(ParseFileReal(Measure(a180).value_or("")).value_or(0), -10, 1e-12);
  EXPECT_NEAR(ParseFileReal(Measure(a360).value_or("")).value_or(0), 350, 1e-12);
  Place(2, 50, 0);
  EXPECT_EQ(Measure(a360), "0");
}

TEST_F(VariablesTest, DistancesAreSignedByTheSideAsDisplayed) {
  auto& d1 = AddVariable("d1", kDistance1, {P(1), P(2)});
  Place(1, 0, 0), Place(2, 30, 40);
  EXPECT_EQ(Measure(d1), "5");

  // Distance of P1 from the line P2 -> P3: positive below a rightward line.
  auto& d2 = AddVariable("d2", kDistance2, {P(1), P(2), P(3)});
  Place(2, 0, 0), Place(3, 100, 0);
  Place(1, 50, 30);
  EXPECT_EQ(Measure(d2), "3");
  Place(1, 50, -30);
  EXPECT_EQ(Measure(d2), "-3");
  Place(1, 50, 0);
  EXPECT_EQ(Measure(d2), "0");
  Place(3, 0, 0);  // no line
  EXPECT_EQ(Measure(d2), std::nullopt);

  // Between the feet of P1 and P2 on P3 -> P4, and the difference of their signed distances.
  auto& d3 = AddVariable("d3", kDistance3, {P(1), P(2), P(3), P(4)});
  auto& d4 = AddVariable("d4", kDistance4, {P(1), P(2), P(3), P(4)});
  Place(3, 0, 0), Place(4, 100, 0), Place(1, 10, 5), Place(2, 40, -7);
  EXPECT_EQ(Measure(d3), "3");
  Place(1, 40, -7), Place(2, 10, 5);
  EXPECT_EQ(Measure(d3), "-3");
  Place(1, 10, 20), Place(2, 40, -10);
  EXPECT_EQ(Measure(d4), "-3");
}

TEST_F(VariablesTest, CoordinatesAreInTracingUnitsAndDerivedPointsServeAsOperands) {
  auto& x = AddVariable("x", kXCoordinate, {P(1)});
  auto& y = AddVariable("y", kYCoordinate, {P(1)});
  Place(1, 250, -40.5);
  EXPECT_EQ(Measure(x), "250");
  EXPECT_EQ(Measure(y), "-40.5");

  auto* fixed = static_cast<TDerPoint*>(type.AddElement("F", ekDerPoint, message));
  fixed->SetParameters(150, -20);
  ASSERT_TRUE(x.SetOperand(0, fixed));
  EXPECT_EQ(Measure(x), "150");
}

TEST_F(VariablesTest, InvalidPointsAndEmptySlotsLeaveTheVariableInvalidAndMarked) {
  auto& d = AddVariable("d", kDistance1, {P(1), P(2)});
  Place(1, 0, 0);  // P2 never digitized
  EXPECT_EQ(Measure(d), std::nullopt);
  EXPECT_TRUE(d.NeedsRecompute);
  EXPECT_TRUE(d.ValueText.empty());

  Place(2, 0, 100);
  d.ClearOperand(1);
  EXPECT_EQ(Measure(d), std::nullopt);
  EXPECT_TRUE(d.NeedsRecompute);
  ASSERT_TRUE(d.SetOperand(1, P(2)));
  EXPECT_EQ(Measure(d), "10");
}

TEST_F(VariablesTest, ValuesStayCachedUntilMarkedAndFailuresAreRetried) {
  auto& x = AddVariable("x", kXCoordinate, {P(1)});
  Place(1, 7, 0);
  EXPECT_EQ(Measure(x), "7");
  EXPECT_FALSE(x.NeedsRecompute);
  // A change the type has not been told about leaves the cached value.
  type.Element<TDigPoint>(ekDigPoint, 0)->SetXY(8, 0);
  ComputeVariable(x, xray, context);
  EXPECT_EQ(x.ValueText, "7");
  x.Invalidate();
  ComputeVariable(x, xray, context);
  EXPECT_EQ(x.ValueText, "8");
  // Loading marks every variable of the type.
  xray.LoadCoordinates();
  EXPECT_TRUE(x.NeedsRecompute);
}

// Whoever forgets to load first still measures the radiograph asked for, not the one the
// type held last, and values kept for one are not handed to the other.
TEST_F(VariablesTest, RadiographsOfOneTypeMeasuredInTurnWithoutLoadsGetTheirOwnValues) {
  auto& d = AddVariable("d", kDistance1, {P(1), P(2)});
  auto& age = AddVariable("age", kPatientAge);
  TXRay other;
  other.SetType(&type);
  other.DateOfBirth = DayNumber(2000, 1, 1);
  other.DateTaken = DayNumber(2010, 1, 1);
  Place(1, 0, 0), Place(2, 30, 40);
  Place(other, 1, 0, 0), Place(other, 2, 60, 80);
  const auto measured = [&](TXRVariable& variable, TRadiograph& radiograph) -> Value {
    ComputeVariable(variable, radiograph, context);
    return variable.Valid ? Value(variable.ValueText) : std::nullopt;
  };
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(measured(d, xray), "5");
    EXPECT_EQ(measured(d, other), "10");
    EXPECT_EQ(measured(age, other), "9.99726327312534");
    EXPECT_EQ(measured(age, xray), "11.9950738916256");
  }
  // A coordinate changed after its radiograph was measured counts at the next measurement.
  Place(2, 60, 80);
  EXPECT_EQ(measured(d, xray), "10");
}

TEST_F(VariablesTest, ArithmeticWorksOnFifteenDigitValues) {
  auto& one = Constant("1");
  auto& three = Constant("3");
  auto& third = AddVariable("third", kRatio, {&one, &three});
  auto& twoThirds = AddVariable("twoThirds", kSum, {&third, &third});
  EXPECT_EQ(Measure(third), "0.333333333333333");
  EXPECT_EQ(Measure(twoThirds), "0.666666666666666");

  auto& minusFour = Constant("-4");
  auto& zero = Constant("0");
  EXPECT_EQ(Measure(AddVariable("diff", kDifference, {&one, &three})), "-2");
  EXPECT_EQ(Measure(AddVariable("prod", kProduct, {&three, &minusFour})), "-12");
  EXPECT_EQ(Measure(AddVariable("pct", kRatioPercent, {&one, &minusFour})), "-25");
  EXPECT_EQ(Measure(AddVariable("sum4", kSum4, {&one, &three, &zero, &minusFour})), "0");
  EXPECT_EQ(Measure(AddVariable("abs", kAbsolute, {&minusFour})), "4");
  EXPECT_EQ(Measure(AddVariable("min", kMinimum, {&three, &one})), "1");
  EXPECT_EQ(Measure(AddVariable("max", kMaximum, {&minusFour, &one})), "1");
  EXPECT_EQ(Measure(AddVariable("maxEqual", kMaximum, {&one, &one})), "1");
  EXPECT_EQ(Measure(AddVariable("root", kSquareRoot, {&AddVariable("9", kConstant)})), "3");
  EXPECT_EQ(Measure(AddVariable("big", kConstant)), std::nullopt);  // the name is no number
  EXPECT_EQ(Measure(AddVariable("1e2", kConstant)), "100");
}

TEST_F(VariablesTest, ArithmeticFaultsLeaveTheVariableInvalid) {
  auto& one = Constant("1");
  auto& zero = Constant("0");
  auto& huge = Constant("1e200");
  auto& negative = Constant("-1");
  auto& label = AddVariable("Steiner", kLabel);
  EXPECT_EQ(Measure(label), "Steiner");

  std::vector<TXRVariable*> faulty = {
      &AddVariable("ratio0", kRatio, {&one, &zero}),
      &AddVariable("pct0", kRatioPercent, {&one, &zero}),
      &AddVariable("rootNeg", kSquareRoot, {&negative}),
      &AddVariable("overflow", kProduct, {&huge, &huge}),
      &AddVariable("overflowPct", kRatioPercent, {&huge, &AddVariable("1e-200", kConstant)}),
      &AddVariable("text", kSum, {&label, &one}),
      &AddVariable("textAny", kSumAny, {&label, &one}),
  };
  for (TXRVariable* variable : faulty) {
    EXPECT_EQ(Measure(*variable), std::nullopt) << variable->Name;
    EXPECT_TRUE(variable->NeedsRecompute) << variable->Name;
  }
}

TEST_F(VariablesTest, AnyKindsCountInvalidOperandsAsZero) {
  auto& two = Constant("2");
  auto& missing = AddVariable("missing", kXCoordinate, {P(1)});  // P1 never digitized
  EXPECT_EQ(Measure(AddVariable("sumAny", kSumAny, {&missing, &two})), "2");
  EXPECT_EQ(Measure(AddVariable("sumAnyNone", kSumAny, {&missing, &missing})), std::nullopt);
  EXPECT_EQ(Measure(AddVariable("sum4Any", kSum4Any, {&two, &missing, &two, &missing})), "4");
  EXPECT_EQ(Measure(AddVariable("sumStrict", kSum, {&missing, &two})), std::nullopt);
}

TEST_F(VariablesTest, ConstantsReadWithAPointAndShowTheUsersSeparator) {
  context.Formats.DecimalSeparator = ',';
  auto& c = Constant("2.5");
  EXPECT_EQ(Measure(c), "2,5");
  auto& sum = AddVariable("sum", kSum, {&c, &c});
  EXPECT_EQ(Measure(sum), "5");
  auto& quarter = AddVariable("quarter", kRatio, {&Constant("1"), &Constant("4")});
  EXPECT_EQ(Measure(quarter), "0,25");
  EXPECT_EQ(Measure(Constant("2,5")), std::nullopt);
}

TEST_F(VariablesTest, PatientFieldsComeFromTheRadiograph) {
  context.Formats.ShortDateFormat = "dd/MM/yyyy";
  EXPECT_EQ(Measure(AddVariable("name", kPatientName)), "Jane Roe");
  EXPECT_EQ(Measure(AddVariable("dob", kDateOfBirth)), "01/01/2000");
  EXPECT_EQ(Measure(AddVariable("taken", kDateTaken)), "01/01/2012");
  auto& age = AddVariable("age", kPatientAge);
  EXPECT_EQ(Measure(age), "11.9950738916256");  // 4383 days / 365.4
  auto& ageText = AddVariable("ageText", kPatientAgeText);
  EXPECT_EQ(Measure(ageText), "11:12");
  EXPECT_EQ(Measure(AddVariable("mag", kMagnification)), "10");
  EXPECT_EQ(Measure(AddVariable("comments", kComments)), "Before treatment");

  // A date that was never given leaves no age to compute; the texts stay.
  xray.DateOfBirth = 0;
  EXPECT_EQ(Measure(age), std::nullopt);
  EXPECT_TRUE(Measure(ageText).has_value());
  EXPECT_EQ(PatientAge(xray), std::nullopt);
}

class DrawingVariablesTest : public VariablesTest {
 protected:
  TXRGraphic& Drawing(int kind, std::initializer_list<int> points) {
    auto* graphic = static_cast<TXRGraphic*>(type.AddElement("D" + std::to_string(++count_), ekGraphic, message));
    graphic->SetKind(kind);
    for (int n : points) graphic->Points.push_back(P(n));
    return *graphic;
  }
  // A 10 x 10 mm square, clockwise as displayed.
  void PlaceSquare() { Place(1, 0, 0), Place(2, 100, 0), Place(3, 100, 100), Place(4, 0, 100); }

  int count_ = 0;
};

TEST_F(DrawingVariablesTest, StraightDrawingsNeedEveryPoint) {
  PlaceSquare();
  auto& polygon = Drawing(3, {1, 2, 3, 4});
  auto& line = Drawing(0, {1, 2, 3, 4});
  auto& polygonLength = AddVariable("polyLen", kLength, {&polygon});
  EXPECT_EQ(Measure(polygonLength), "40");
  EXPECT_EQ(Measure(AddVariable("lineLen", kLength, {&line})), "30");
  EXPECT_EQ(Measure(AddVariable("area", kArea, {&polygon})), "100");
  EXPECT_EQ(Measure(AddVariable("areaCcw", kArea, {&Drawing(3, {4, 3, 2, 1})})), "100");
  EXPECT_EQ(Measure(AddVariable("pca", kLength, {&Drawing(9, {})})), std::nullopt);

  xray.Coordinates[2]->SetValid(false);
  EXPECT_EQ(Measure(polygonLength), std::nullopt);
  xray.Coordinates[3]->SetValid(false);
  EXPECT_EQ(Measure(AddVariable("area2", kArea, {&polygon})), std::nullopt);  // two valid points
}

TEST_F(DrawingVariablesTest, SplinesRunThroughTheValidPoints) {
  // Collinear, evenly spaced points: the spline is the straight line.
  Place(1, 0, 0), Place(3, 50, 0), Place(4, 100, 0);
  auto& spline = Drawing(4, {1, 2, 3, 4});
  EXPECT_EQ(Measure(AddVariable("len", kLength, {&spline})), "10");
  EXPECT_EQ(Measure(AddVariable("closed", kLength, {&Drawing(6, {1, 3, 4})})), "20");
  EXPECT_EQ(Measure(AddVariable("none", kLength, {&Drawing(4, {2})})), std::nullopt);
  EXPECT_EQ(Measure(AddVariable("flat", kArea, {&spline})), "0");
}

TEST_F(VariablesTest, CircularDefinitionsEndInvalid) {
  auto& one = Constant("1");
  auto& a = AddVariable("a", kSum, {&one, &one});
  auto& b = AddVariable("b", kSum, {&a, &one});
  // As a hand-edited type file can hold them: the editor's check is bypassed.
  ASSERT_TRUE(a.SetOperand(0, &b));
  EXPECT_TRUE(a.DependsOn(&a));
  EXPECT_EQ(Measure(a), std::nullopt);
  EXPECT_EQ(Measure(b), std::nullopt);
  auto& self = AddVariable("self", kSumAny, {&one, &one});
  ASSERT_TRUE(self.SetOperand(1, &self));
  EXPECT_EQ(Measure(self), "1");  // its own slot reads as invalid: counted as zero

  // The editor refuses the same definition.
  auto& c = AddVariable("c", kSum, {&one, &one});
  auto& d = AddVariable("d", kSum, {&c, &one});
  EXPECT_FALSE(SetCheckedOperand(c, 0, &d, message));
  EXPECT_EQ(message, "Circular reference detected.\r\n\r\nYou attempted to derive 'c' using itself.");
  EXPECT_EQ(c.Operand(0), nullptr);
}

TEST_F(VariablesTest, DeepSharedDefinitionsAreEvaluatedOnce) {
  // Each level uses the one below twice; evaluating every path would take 2^40 steps.
  TXRVariable* level = &AddVariable("missing", kXCoordinate, {P(1)});
  for (int i = 0; i < 40; ++i) level = &AddVariable("L" + std::to_string(i), kSum, {level, level});
  EXPECT_EQ(Measure(*level), std::nullopt);
  Place(1, 1, 0);
  EXPECT_EQ(Measure(*level), "1099511627776");
}

class ReferenceVariablesTest : public VariablesTest {
 protected:
  ReferenceVariablesTest() {
    reference.SetType(&type);
    reference.Name = "Jane Roe";
    reference.DateOfBirth = DayNumber(2000, 1, 1);
    reference.DateTaken = DayNumber(2010, 1, 1);
    reference.Comments = "Start";
    context.Reference = &reference;
  }
  TXRVariable& ReferenceVariable(const std::string& name, int kind, std::initializer_list<TXRayElement*> operands,
                                 std::initializer_list<bool> flags) {
    TXRVariable& variable = AddVariable(name, kind, operands);
    int slot = 0;
    for (bool flag : flags) variable.ReferenceFlags[slot++] = flag;
    return variable;
  }

  TXRay reference;
};

TEST_F(ReferenceVariablesTest, FlaggedOperandsComeFromTheReferenceRadiograph) {
  Place(reference, 1, 0, 0);
  Place(1, 300, 400), Place(2, 30, 40);
  auto& mixed = ReferenceVariable("mixed", kRefDistance1, {P(1), P(2)}, {true, false});
  auto& plain = ReferenceVariable("plain", kRefDistance1, {P(1), P(2)}, {false, false});
  EXPECT_EQ(Measure(mixed), "5");
  EXPECT_EQ(Measure(plain), "45");
  // The current radiograph's coordinates are loaded again afterwards.
  Measure(mixed);
  EXPECT_EQ(type.Element<TDigPoint>(ekDigPoint, 0)->GetX(), 300);
  EXPECT_FALSE(mixed.NeedsRecompute);

  // A flagged variable operand is computed on the reference radiograph.
  auto& x = AddVariable("x", kXCoordinate, {P(1)});
  auto& growth = ReferenceVariable("growth", kRefDifference, {&x, &x}, {false, true});
  EXPECT_EQ(Measure(growth), "300");
  EXPECT_EQ(Measure(x), "300");
}

TEST_F(ReferenceVariablesTest, PatientKindsReadTheReferenceRecord) {
  EXPECT_EQ(Measure(AddVariable("refName", kRefPatientName)), "Jane Roe");
  EXPECT_EQ(Measure(AddVariable("refAge", kRefPatientAge)), "9.99726327312534");  // 3653 days
}

TEST_F(ReferenceVariablesTest, AreaOfTheReferenceTracing) {
  auto* graphic = static_cast<TXRGraphic*>(type.AddElement("Outline", ekGraphic, message));
  graphic->SetKind(3);
  for (int n : {1, 2, 3}) graphic->Points.push_back(P(n));
  Place(reference, 1, 0, 0), Place(reference, 2, 100, 0), Place(reference, 3, 0, 100);
  Place(1, 0, 0), Place(2, 200, 0), Place(3, 0, 200);
  EXPECT_EQ(Measure(ReferenceVariable("refArea", kRefArea, {graphic}, {true})), "50");
  EXPECT_EQ(Measure(ReferenceVariable("curArea", kRefArea, {graphic}, {false})), "200");
}

TEST_F(ReferenceVariablesTest, NoReferenceOrAnotherTypeNameGivesNoValue) {
  Place(reference, 1, 0, 0), Place(1, 30, 40), Place(2, 0, 0);
  auto& d = ReferenceVariable("d", kRefDistance1, {P(1), P(2)}, {true, false});
  auto& unflagged = ReferenceVariable("u", kRefDistance1, {P(1), P(2)}, {false, false});
  auto& name = AddVariable("refName", kRefPatientName);
  context.Reference = nullptr;
  EXPECT_EQ(Measure(d), std::nullopt);
  EXPECT_EQ(Measure(unflagged), std::nullopt);
  EXPECT_EQ(Measure(name), std::nullopt);

  TXRayType frontal;
  frontal.Name = "Frontal";
  TXRay other;
  other.SetType(&frontal);
  context.Reference = &other;
  EXPECT_EQ(Measure(d), std::nullopt);
  EXPECT_EQ(Measure(name), std::nullopt);
}

TEST_F(ReferenceVariablesTest, AReferenceOfAnotherTypeObjectIsReadByElementName) {
  // The same type loaded a second time (a cached copy beside the one being edited), with
  // its landmarks in another order.
  TXRayType copy;
  copy.Name = "Lateral";
  for (const char* n : {"P2", "P1", "P3"}) copy.AddElement(n, ekDigPoint, message);
  TXRay other;
  other.SetType(&copy);
  other.Coordinates[0]->SetXY(999, 999);  // P2
  other.Coordinates[1]->SetXY(0, 0);      // P1
  context.Reference = &other;

  Place(1, 300, 400), Place(2, 30, 40), Place(4, 0, 0);
  EXPECT_EQ(Measure(ReferenceVariable("d", kRefDistance1, {P(1), P(2)}, {true, false})), "5");
  EXPECT_EQ(type.Element<TDigPoint>(ekDigPoint, 0)->GetX(), 300);  // the current type untouched
  // P4 has no counterpart in the copy.
  EXPECT_EQ(Measure(ReferenceVariable("e", kRefDistance1, {P(4), P(2)}, {true, false})), std::nullopt);
}

TEST_F(ReferenceVariablesTest, TheTypeItselfCannotServeBesideItsOwnRadiograph) {
  type.Element<TDigPoint>(ekDigPoint, 0)->SetXY(0, 0);
  context.Reference = &type;
  Place(1, 300, 400), Place(2, 30, 40);
  EXPECT_EQ(Measure(ReferenceVariable("d", kRefDistance1, {P(1), P(2)}, {true, false})), std::nullopt);
}

// Statistics that answer with fixed numbers and remember what they were asked.
class FakePcaStatistics : public TPcaStatistics {
 public:
  std::optional<double> PCAMeasure(TXRPCA&, int statistic, int component) override {
    Statistic = statistic;
    Component = component;
    return 1.25;
  }
  std::optional<double> ShapeDistance(TXRPCA&, std::span<const double> shape) override {
    Shape.assign(shape.begin(), shape.end());
    return 0.5;
  }
  std::vector<TFloatPoint> ConsensusOnTracing(TXRPCA&) override { return {}; }
  int Statistic = -1;
  int Component = -1;
  std::vector<double> Shape;
};

TEST_F(ReferenceVariablesTest, ShapeKindsAskTheStatisticsWhenThereAreAny) {
  auto* pca = static_cast<TXRPCA*>(type.AddElement("Shape", ekPCA, message));
  pca->Points = {P(1), P(2)};
  auto& size = AddVariable("size", kCentroidSize, {pca});
  auto& pc = AddVariable("pc", kPrincipalComponent, {pca});
  pc.AuxiliaryValue = 2.5;
  auto& distance = AddVariable("dist", kRefProcrustesDistance, {pca});
  EXPECT_EQ(Measure(size), std::nullopt);
  EXPECT_EQ(Measure(distance), std::nullopt);

  FakePcaStatistics statistics;
  context.Pca = &statistics;
  EXPECT_EQ(Measure(size), "1.25");
  EXPECT_EQ(statistics.Statistic, 0);
  EXPECT_EQ(statistics.Component, 0);
  EXPECT_EQ(Measure(pc), "1.25");
  EXPECT_EQ(statistics.Statistic, 3);
  EXPECT_EQ(statistics.Component, 2);  // 2.5 rounds to even

  Place(reference, 1, 1, 2), Place(reference, 2, 3, 4);
  Place(1, 50, 50), Place(2, 60, 60);
  EXPECT_EQ(Measure(distance), "0.5");
  EXPECT_EQ(statistics.Shape, (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(type.Element<TDigPoint>(ekDigPoint, 0)->GetX(), 50);
  reference.Coordinates[1]->SetValid(false);
  Measure(distance);
  EXPECT_TRUE(statistics.Shape.empty());
}

}  // namespace
}  // namespace lumacet
