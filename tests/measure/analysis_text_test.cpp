#include <gtest/gtest.h>

#include <string>

#include "measure/analysis_text.h"
#include "measure/norms.h"
#include "model/list_elements.h"
#include "variables_fixture.h"

namespace lumacet {
namespace {

using test::MeasureFixture;

constexpr int kLabel = 0;
constexpr int kRefDistance1 = 33;
constexpr int kXCoordinate = 18;
constexpr int kConstant = 21;
constexpr int kPatientName = 22;
constexpr int kDateOfBirth = 23;
constexpr int kPrincipalComponent = 63;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kBlack = 0x000000;

// ANB measured as the X coordinate of P1, against a norm of 2 +/- 1.5 for girls.
class AnalysisTextTest : public MeasureFixture {
 protected:
  AnalysisTextTest() : anb(AddVariable("ANB", kXCoordinate, {P(1)})) {
    anb.FemaleNormals = {{0, 99, 2, 1.5}};
    SetValue(4);  // z = 1.33, class 1
  }
  void SetValue(double value) {
    Place(1, value, 0);
    xray.LoadCoordinates();
  }
  TXRAnalysis& Analysis(const std::string& name, std::initializer_list<TXRVariable*> variables) {
    auto* analysis = static_cast<TXRAnalysis*>(type.AddElement(name, ekAnalysis, message));
    analysis->Points.assign(variables.begin(), variables.end());
    xray.SelectAnalysis(name);
    return *analysis;
  }
  std::string Line(TXRVariable& variable, int flags) { return TextLine(variable, xray, flags, options); }

  TXRVariable& anb;
  TPresentationOptions options;
  const std::string graph = ".    :    :    |    : X  :    .";  // z = 1.33: position 23
};

TEST_F(AnalysisTextTest, PresentedValuesAreFormattedNumbersOrTextAsComputed) {
  EXPECT_EQ(PresentationValue(anb, xray, options), "4");
  SetValue(4.25);
  EXPECT_EQ(PresentationValue(anb, xray, options), "4.2");
  options.Measure.Formats.DecimalSeparator = ',';
  xray.LoadCoordinates();
  EXPECT_EQ(PresentationValue(anb, xray, options), "4,2");

  auto& hundred = AddVariable("1e2", kConstant);
  hundred.NumberFormat = "0.00e+0";
  EXPECT_EQ(PresentationValue(hundred, xray, options), "1,00e+2");
  xray.Name = "007";
  EXPECT_EQ(PresentationValue(AddVariable("name", kPatientName), xray, options), "007");
  EXPECT_EQ(PresentationValue(AddVariable("dob", kDateOfBirth), xray, options), "01/01/2000");
  EXPECT_EQ(PresentationValue(AddVariable("Steiner", kLabel), xray, options), "Steiner");

  options.NotAvailable = "--";
  xray.Coordinates[0]->SetValid(false);
  xray.LoadCoordinates();
  EXPECT_EQ(PresentationValue(anb, xray, options), "--");
}

TEST_F(AnalysisTextTest, CodesAreFilledFromTheNorm) {
  anb.TextAfter = "mm";
  EXPECT_EQ(ExpandCodes(anb, true, xray, options), "mm");
  anb.TextAfter = " (@m \u00B1 @s, z @z) @g";
  EXPECT_EQ(ExpandCodes(anb, true, xray, options), " (2 \u00B1 1.5, z 1.33) " + graph);
  anb.TextBefore = "@z @z";
  EXPECT_EQ(ExpandCodes(anb, false, xray, options), "1.33 @z");  // the first occurrence only
  // The SD gets one more optional decimal than the value.
  anb.FemaleNormals = {{0, 99, 2.25, 1.25}};
  anb.TextAfter = "@m/@s";
  EXPECT_EQ(ExpandCodes(anb, true, xray, options), "2.2/1.25");

  anb.FemaleNormals.clear();
  anb.TextAfter = " (@m \u00B1 @s, z @z) @g";
  EXPECT_EQ(ExpandCodes(anb, true, xray, options), " ( \u00B1 , z ) ");
  // A norm without a deviation prints none, wherever its deviation would stand; the graph
  // and z need one too.
  anb.FemaleNormals = {{0, 99, 2, 0}};
  EXPECT_EQ(ExpandCodes(anb, true, xray, options), " (2 \u00B1 , z ) ");
  anb.TextBefore.clear();
  anb.TextAfter.clear();
  EXPECT_EQ(TextLine(anb, xray, kTextLineNormals, options), "ANB:\t4\t2\t");
  EXPECT_NE(HintText(anb, xray, options).find("   (Mean: 2)\r\n"), std::string::npos);
}

TEST_F(AnalysisTextTest, WhatFollowsAReplacedCodeIsCutTo255Characters) {
  anb.TextAfter = "@m" + std::string(300, 'a');
  EXPECT_EQ(ExpandCodes(anb, true, xray, options), "2" + std::string(255, 'a'));
  std::string accents;
  for (int i = 0; i < 300; ++i) accents += "\u00E9";
  anb.TextAfter = "x@g" + accents;
  std::string expected = "x" + graph;
  for (int i = 0; i < 255; ++i) expected += "\u00E9";
  EXPECT_EQ(ExpandCodes(anb, true, xray, options), expected);
}

TEST_F(AnalysisTextTest, DisplayValueMarksTheDeviationByTheMode) {
  TColouredText shown = DisplayValue(anb, xray, options);
  EXPECT_EQ(shown.Text, "4");
  EXPECT_EQ(shown.Colour, kBlue);

  options.DeviationMode = 1;
  shown = DisplayValue(anb, xray, options);
  EXPECT_EQ(shown.Text, "4*");
  EXPECT_EQ(shown.Colour, kBlack);
  SetValue(-0.25);  // z = -1.5
  anb.NumberFormat = "0.##";
  EXPECT_EQ(DisplayValue(anb, xray, options).Text, "-0.25-*");
  SetValue(-3);  // z = -3.33
  EXPECT_EQ(DisplayValue(anb, xray, options).Text, "-3-***");

  options.DeviationMode = 2;
  shown = DisplayValue(anb, xray, options);
  EXPECT_EQ(shown.Text, "-3");
  EXPECT_EQ(shown.Colour, kBlack);

  options.DeviationMode = 0;
  xray.Coordinates[0]->SetValid(false);
  xray.LoadCoordinates();
  shown = DisplayValue(anb, xray, options);
  EXPECT_EQ(shown.Text, "N/A");
  EXPECT_EQ(shown.Colour, kBlack);
}

TEST_F(AnalysisTextTest, TextLineColumnsFollowTheFlags) {
  options.Styles[0].ShowAsterisks = true;
  EXPECT_EQ(Line(anb, kTextLineNormals | kTextLineGraph), "ANB:\t" + graph + "\t4\t2\t1.5\t*");
  options.Styles[0].ShowAsterisks = false;
  EXPECT_EQ(Line(anb, 0), "ANB:\t4");
  EXPECT_EQ(Line(anb, kTextLineNormals), "ANB:\t4\t2\t1.5");
  anb.TextBefore = "= ";
  anb.TextAfter = "\u00B0";
  EXPECT_EQ(Line(anb, 0), "ANB:\t= 4\u00B0");

  anb.FemaleNormals.clear();
  EXPECT_EQ(Line(anb, kTextLineNormals | kTextLineGraph), "ANB:\t\t= 4\u00B0");
  xray.Coordinates[0]->SetValid(false);
  xray.LoadCoordinates();
  EXPECT_EQ(Line(anb, kTextLineGraph), "ANB:\t\tN/A");
}

TEST_F(AnalysisTextTest, NegativeFlagsGiveTheBareValue) {
  auto& third = AddVariable("third", 11, {&AddVariable("1", kConstant), &AddVariable("3", kConstant)});
  third.TextBefore = "about ";
  EXPECT_EQ(Line(third, kTextLineGeneral), "0.333333333333333");
  EXPECT_EQ(Line(third, kTextLineFormatted), "0.3");
  options.Measure.Formats.DecimalSeparator = ',';
  xray.LoadCoordinates();
  EXPECT_EQ(Line(third, kTextLineGeneral), "0,333333333333333");

  auto& name = AddVariable("name", kPatientName);
  name.TextBefore = "Patient ";
  EXPECT_EQ(Line(name, 0), "name:\tJane Roe");
  EXPECT_EQ(Line(name, kTextLineFormatted), "Jane Roe");
}

TEST_F(AnalysisTextTest, LabelsAreTheirNameAndDisplayOnlyVariablesHaveNoLine) {
  auto& title = AddVariable("Steiner analysis", kLabel);
  EXPECT_EQ(Line(title, kTextLineNormals | kTextLineGraph), "Steiner analysis");
  title.ShowIn = 0;
  EXPECT_EQ(Line(title, kTextLineNormals), "");
  anb.ShowIn = 0;
  EXPECT_EQ(Line(anb, kTextLineFormatted), "");
  anb.ShowIn = 1;
  EXPECT_EQ(Line(anb, kTextLineFormatted), "4");
}

TEST_F(AnalysisTextTest, ResultsEndEveryValueWithTheDelimiter) {
  auto& a = AddVariable("1.5", kConstant);
  auto& b = AddVariable("2", kConstant);
  auto& c = AddVariable("3.2", kConstant);
  auto& hidden = AddVariable("9", kConstant);
  hidden.ShowIn = 0;
  EXPECT_EQ(ResultsText(xray, options), "");  // no analysis
  Analysis("Results", {&a, &hidden, &b, &c});
  options.ResultsDelimiter = 1;
  EXPECT_EQ(ResultsText(xray, options), "1.5,2,3.2,");
  options.ResultsDelimiter = 3;
  EXPECT_EQ(ResultsText(xray, options), "1.5\r\n2\r\n3.2\r\n");
  options.ResultsDelimiter = 2;
  EXPECT_EQ(ResultsText(xray, options), "1.5 2 3.2 ");
  options.ResultsDelimiter = 7;  // out of range: tab
  EXPECT_EQ(ResultsText(xray, options), "1.5\t2\t3.2\t");
}

TEST_F(AnalysisTextTest, HintsNameNormKindParameterAndOperands) {
  EXPECT_EQ(HintText(anb, xray, options),
            "Name: ANB\r\n   z: 1.33\r\n   (Mean: 2 \u00B1 1.5)\r\nType: X Coordinate\r\n   Point: P1|");

  auto& reach = AddVariable("S|N", kRefDistance1, {P(1), P(2)});
  reach.ReferenceFlags[0] = true;
  EXPECT_EQ(HintText(reach, xray, options), "Name: S\\N\r\nType: [R] Distance1\r\n   Point: [R] P1\r\n   Point: P2|");

  auto* pca = static_cast<TXRPCA*>(type.AddElement("Shape", ekPCA, message));
  auto& pc = AddVariable("pc", kPrincipalComponent, {pca});
  pc.AuxiliaryValue = 2;
  EXPECT_EQ(HintText(pc, xray, options), "Name: pc\r\nType: Principal Component\r\n   PC: 2\r\n   PCA: Shape|");
  auto& label = AddVariable("Title", kLabel);
  EXPECT_EQ(HintText(label, xray, options), "Name: Title\r\nType: Label|");
}

TEST_F(AnalysisTextTest, AnalysisLinesCarryStyleAndColour) {
  auto& title = AddVariable("Title", kLabel);
  title.ShowIn = 0;
  auto& plain = AddVariable("5", kConstant);
  plain.Style = 3;
  options.Styles[2].UseVariableColour = false;
  options.Styles[2].Colour = 0x123456;
  auto& odd = AddVariable("6", kConstant);
  odd.Style = 99;  // from a hand-edited file
  anb.Style = 2;
  EXPECT_TRUE(AnalysisLines(xray, 0, options).empty());
  Analysis("Steiner", {&title, &anb, &plain, &odd});

  std::vector<TAnalysisLine> lines = AnalysisLines(xray, kTextLineNormals, options);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].Text, "ANB:\t4\t2\t1.5");
  EXPECT_EQ(lines[0].Style, 2);
  EXPECT_EQ(lines[0].Colour, kBlue);
  EXPECT_EQ(lines[1].Text, "5:\t5");
  EXPECT_EQ(lines[1].Colour, 0x123456u);
  EXPECT_EQ(lines[2].Style, 1);
  EXPECT_EQ(lines[2].Colour, kBlack);  // no norm: class 4

  EXPECT_EQ(AnalysisCaption(xray, options.Measure.Formats), "Jane Roe: Steiner");
  xray.CurrentAnalysis = nullptr;
  EXPECT_EQ(AnalysisCaption(xray, options.Measure.Formats), "Jane Roe: No analysis selected");
}

TEST_F(AnalysisTextTest, CurrentAnalysisAndViewSelection) {
  auto& steiner = Analysis("Steiner", {&anb});
  auto& downs = Analysis("Downs", {});
  EXPECT_EQ(xray.CurrentAnalysis, &downs);
  xray.SelectAnalysis("Ricketts");  // unknown: unchanged
  EXPECT_EQ(xray.CurrentAnalysis, &downs);
  xray.SelectAnalysis("Steiner");
  EXPECT_EQ(xray.CurrentAnalysis, &steiner);

  auto* view = static_cast<TXRView*>(type.AddElement("Skeletal", ekView, message));
  auto& other = AddVariable("other", kXCoordinate, {P(2)});
  view->Variables = {&anb};
  xray.SelectView("Skeletal");
  EXPECT_TRUE(PassesView(xray, anb));
  EXPECT_FALSE(PassesView(xray, other));
  xray.SelectView("<none>");
  EXPECT_FALSE(PassesView(xray, anb));
  xray.SelectView("<all>");
  EXPECT_TRUE(PassesView(xray, anb));
  EXPECT_TRUE(PassesView(xray, other));
}

TEST_F(AnalysisTextTest, LabelAtFindsTheLastLabelStrictlyContainingThePoint) {
  auto& first = AddVariable("first", kXCoordinate, {P(1)});
  auto& second = AddVariable("second", kXCoordinate, {P(1)});
  auto& textOnly = AddVariable("textOnly", kXCoordinate, {P(1)});
  first.LabelRect = {0, 0, 100, 30};
  second.LabelRect = {50, 10, 150, 40};
  textOnly.LabelRect = {0, 0, 200, 50};
  textOnly.ShowIn = 1;
  auto& analysis = Analysis("Labels", {&first, &second, &textOnly});

  EXPECT_EQ(LabelAt(analysis, xray, 10, 10), &first);
  EXPECT_EQ(LabelAt(analysis, xray, 60, 20), &second);  // both: the later one
  EXPECT_EQ(LabelAt(analysis, xray, 0, 10), nullptr);   // on the edge
  EXPECT_EQ(LabelAt(analysis, xray, 120, 5), nullptr);
  EXPECT_EQ(LabelAt(analysis, xray, 180, 45), nullptr);  // text window only

  auto* view = static_cast<TXRView*>(type.AddElement("Firsts", ekView, message));
  view->Variables = {&first};
  xray.SelectView("Firsts");
  EXPECT_EQ(LabelAt(analysis, xray, 60, 20), &first);
  xray.SelectView("<none>");
  EXPECT_EQ(LabelAt(analysis, xray, 10, 10), nullptr);
}

}  // namespace
}  // namespace lumacet
