#include <gtest/gtest.h>

#include <limits>

#include "measure/norms.h"
#include "shell/settings.h"
#include "variables_fixture.h"

namespace lumacet {
namespace {

using test::MeasureFixture;

// ANB (Steiner): 2 +/- 2 degrees, with a younger row for girls.
class NormsTest : public MeasureFixture {
 protected:
  NormsTest() : anb(AddVariable("ANB", 18, {P(1)})) {
    anb.FemaleNormals = {{9, 12, 3, 1.5}, {12, 15, 2, 2}};
    anb.MaleNormals = {{6, 18, 1, 1}};
  }
  // The variable measured with the value `value` (the X coordinate of P1).
  TXRVariable& Measured(double value) {
    Place(1, value, 0);
    Measure(anb);
    return anb;
  }

  TXRVariable& anb;
};

TEST_F(NormsTest, TheFirstRowWhoseAgeRangeHoldsTheAgeApplies) {
  const std::vector<TNormalValue> rows = {{9, 12, 3, 1.5}, {12, 15, 2, 2}, {0, 99, 7, 7}};
  EXPECT_EQ(NormalForAge(rows, 11.995)->Mean, 3);
  EXPECT_EQ(NormalForAge(rows, 12.0)->Mean, 2);  // a range excludes its upper end
  EXPECT_EQ(NormalForAge(rows, 9.0)->Mean, 3);
  EXPECT_EQ(NormalForAge(rows, 15.0)->Mean, 7);
  EXPECT_EQ(NormalForAge({}, 10), std::nullopt);
  EXPECT_EQ(NormalForAge({{9, 12, 3, 1.5}}, 8.999), std::nullopt);
}

TEST_F(NormsTest, TheListFollowsTheSexWithoutFallingBackToTheOther) {
  Measured(4);
  // Born 1 January 2000, radiographed 1 January 2012: 4383 days, 11.995 years.
  EXPECT_EQ(ApplicableNormal(anb, xray)->Mean, 3);
  xray.Female = false;
  EXPECT_EQ(ApplicableNormal(anb, xray)->Mean, 1);
  anb.MaleNormals.clear();
  EXPECT_EQ(ApplicableNormal(anb, xray), std::nullopt);
}

TEST_F(NormsTest, NoNormWithoutAValueOrWithoutDates) {
  Measured(4);
  xray.DateTaken = 0;
  EXPECT_EQ(ApplicableNormal(anb, xray), std::nullopt);
  xray.DateTaken = DayNumber(2012, 1, 1);
  xray.Coordinates[0]->SetValid(false);
  Measure(anb);
  EXPECT_EQ(ApplicableNormal(anb, xray), std::nullopt);
}

TEST_F(NormsTest, ClassIsTheZScoreTruncatedAndHeldToThreeSD) {
  EXPECT_EQ(DeviationClassOfZ(-0.99), 0);
  EXPECT_EQ(DeviationClassOfZ(0.99), 0);
  EXPECT_EQ(DeviationClassOfZ(1.0), 1);
  EXPECT_EQ(DeviationClassOfZ(1.99), 1);
  EXPECT_EQ(DeviationClassOfZ(-1.5), -1);
  EXPECT_EQ(DeviationClassOfZ(7), 3);
  EXPECT_EQ(DeviationClassOfZ(-1e300), -3);
  EXPECT_EQ(DeviationClassOfZ(std::numeric_limits<double>::quiet_NaN()), kNoDeviationClass);
}

TEST_F(NormsTest, DeviationClassOfAMeasuredVariable) {
  anb.FemaleNormals = {{0, 99, 2, 1.5}};
  Measured(4);  // z = 1.33
  EXPECT_NEAR(*ZScore(anb, anb.FemaleNormals[0], context.Formats), 4.0 / 3, 1e-12);
  EXPECT_EQ(DeviationClass(anb, xray, context), 1);
  Place(1, -0.25, 0);  // z = -1.5
  xray.LoadCoordinates();
  EXPECT_EQ(DeviationClass(anb, xray, context), -1);
  anb.FemaleNormals = {{0, 99, 2, 0}};
  EXPECT_EQ(DeviationClass(anb, xray, context), kNoDeviationClass);
  anb.FemaleNormals.clear();
  EXPECT_EQ(DeviationClass(anb, xray, context), kNoDeviationClass);
  anb.FemaleNormals = {{0, 99, 2, 1.5}};
  xray.Coordinates[0]->SetValid(false);
  xray.LoadCoordinates();
  EXPECT_EQ(DeviationClass(anb, xray, context), kNoDeviationClass);

  auto& label = AddVariable("Title", 0);
  label.FemaleNormals = {{0, 99, 2, 1.5}};
  EXPECT_EQ(DeviationClass(label, xray, context), kNoDeviationClass);
}

TEST_F(NormsTest, ClassColoursComeFromTheSettings) {
  const auto colours = TViewSettings{}.DeviationColour;
  EXPECT_EQ(DeviationColour(-3, colours), 0x0000FFu);  // red
  EXPECT_EQ(DeviationColour(-2, colours), 0xFF00FFu);  // fuchsia
  EXPECT_EQ(DeviationColour(-1, colours), 0xFF0000u);  // blue
  EXPECT_EQ(DeviationColour(0, colours), 0x008000u);   // green
  EXPECT_EQ(DeviationColour(3, colours), 0x0000FFu);
  EXPECT_EQ(DeviationColour(4, colours), 0x000000u);
  std::array<uint32_t, 8> own = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(DeviationColour(2, own), 6u);
  EXPECT_EQ(DeviationColour(9, own), 8u);
  EXPECT_EQ(DeviationColour(-4, own), 8u);
}

TEST_F(NormsTest, TextGraphPutsFiveCharactersToOneSD) {
  EXPECT_EQ(TextGraph(0), ".    :    :    X    :    :    .");
  EXPECT_EQ(TextGraph(-1.5), ".    : X  :    |    :    :    .");  // 8.5 to even: 8
  EXPECT_EQ(TextGraph(0.1), ".    :    :    X    :    :    .");   // 16.5 to even: 16
  EXPECT_EQ(TextGraph(1), ".    :    :    |    X    :    .");
  EXPECT_EQ(TextGraph(7), ".    :    :    |    :    :    X");
  EXPECT_EQ(TextGraph(-7), "X    :    :    |    :    :    .");
  EXPECT_EQ(TextGraph(1e300), ".    :    :    |    :    :    X");
  EXPECT_EQ(TextGraph(4.0 / 3).find('X'), 22u);  // position 23
}

}  // namespace
}  // namespace lumacet
