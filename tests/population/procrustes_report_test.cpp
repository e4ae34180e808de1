// The report's text, byte for byte, and appending it to a results file.
#include <gtest/gtest.h>

#include "population/procrustes_report.h"
#include "shell/temp_folder.h"

namespace lumacet {
namespace {

// Two radiographs of three points: two components.
TShapeAnalysis SmallAnalysis() {
  TShapeAnalysis a;
  a.SampleCount = 2;
  a.PointCount = 3;
  a.ComponentCount = 2;
  a.Consensus = {-0.5, 0.25, 0.5, 0.25, 0, -0.5};
  a.Residuals = {0.01, -0.02, 0.03, 0, -0.04, 0.02, -0.01, 0.02, -0.03, 0, 0.04, -0.02};
  a.Sizes = {1234.5, 987.25};
  a.Distances = {0.0125, 0.5};
  a.SumDistances = 0.5125;
  a.SumSquaredDistances = 0.25015625;
  a.Scores = {0.03, -1e-5, -0.03, 1e-5};
  a.Loadings = {0.5, -0.25, -0.5, 1e-120, 0.125, 0, 0, 0, -0.125, 1, 0.75, -0.75};
  a.Variances = {0.0009, 0.0001};
  return a;
}

TEST(ProcrustesReport, NumbersAreWrittenAsCWouldWriteThemWhateverTheLocale) {
  EXPECT_EQ(FormatReportReal(1234.5), "  1.23450000e+03");
  EXPECT_EQ(FormatReportReal(-0.000123456789), " -1.23456789e-04");
  EXPECT_EQ(FormatReportReal(0.0), "  0.00000000e+00");
  EXPECT_EQ(FormatReportReal(-0.0), "  0.00000000e+00");
  EXPECT_EQ(FormatReportReal(1e-120), " 1.00000000e-120");
  EXPECT_EQ(FormatReportReal(-2.5e200), "-2.50000000e+200");
}

TEST(ProcrustesReport, EverySectionInItsPlaceWithNames) {
  TReportOptions all{true, true, true, true, true, true, true, true};
  const std::string expected =
      "Total samples:\r\n2\r\nTotal points:\r\n3\r\n"
      "Sum of Procrustes distances:\r\n  5.12500000e-01\r\n"
      "Sum of Squared Procrustes distances:\r\n  2.50156250e-01\r\n"
      "Consensus (X, Y):\r\n"
      " -5.00000000e-01   2.50000000e-01\r\n"
      "  5.00000000e-01   2.50000000e-01\r\n"
      "  0.00000000e+00  -5.00000000e-01\r\n"
      "Variance, %variance, %cumulative variance:\r\n"
      "PC  1:   9.00000000e-04   90.0%   90.0%\r\n"
      "PC  2:   1.00000000e-04   10.0%  100.0%\r\n"
      "PC Loadings:\r\n"
      "  5.00000000e-01 -2.50000000e-01\r\n"
      " -5.00000000e-01 1.00000000e-120\r\n"
      "  1.25000000e-01  0.00000000e+00\r\n"
      "  0.00000000e+00  0.00000000e+00\r\n"
      " -1.25000000e-01  1.00000000e+00\r\n"
      "  7.50000000e-01 -7.50000000e-01\r\n"
      "Scores:\r\n"
      "Ann  3.00000000e-02 -1.00000000e-05\r\n"
      "Bob -3.00000000e-02  1.00000000e-05\r\n"
      "Residuals (X, Y):\r\n"
      "Ann  1.00000000e-02  -2.00000000e-02  3.00000000e-02   0.00000000e+00 -4.00000000e-02   2.00000000e-02\r\n"
      "Bob -1.00000000e-02   2.00000000e-02 -3.00000000e-02   0.00000000e+00  4.00000000e-02  -2.00000000e-02\r\n"
      "Sizes:\r\n"
      "Ann  1.23450000e+03\r\n"
      "Bob  9.87250000e+02\r\n"
      "Procrustes Distances:\r\n"
      "Ann  1.25000000e-02\r\n"
      "Bob  5.00000000e-01\r\n";
  EXPECT_EQ(ProcrustesReport(SmallAnalysis(), {"Ann", "Bob"}, all), expected);
}

TEST(ProcrustesReport, OnlyTheChosenSectionsAndNoNamesUnlessAsked) {
  TReportOptions sizes{false, false, false, true, false, false, false, false};
  EXPECT_EQ(ProcrustesReport(SmallAnalysis(), {"Ann", "Bob"}, sizes),
            "Total samples:\r\n2\r\nTotal points:\r\n3\r\n"
            "Sum of Procrustes distances:\r\n  5.12500000e-01\r\n"
            "Sum of Squared Procrustes distances:\r\n  2.50156250e-01\r\n"
            "Sizes:\r\n  1.23450000e+03\r\n  9.87250000e+02\r\n");
}

TEST(ProcrustesReport, ComponentNumbersWidenBeyondNineAndTwoPointsGiveHeadingsOnly) {
  TShapeAnalysis a;
  a.SampleCount = 1;
  a.PointCount = 7;
  a.ComponentCount = 10;
  a.Consensus.assign(14, 0);
  a.Sizes = {1};
  a.Distances = {0};
  a.Variances.assign(10, 0.1);
  a.Loadings.assign(140, 0);
  a.Scores.assign(10, 0);
  const std::string text = ProcrustesReport(a, {"x"}, TReportOptions{});
  EXPECT_NE(text.find("\r\nPC  9:   1.00000000e-01   10.0%   90.0%\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nPC 10:   1.00000000e-01   10.0%  100.0%\r\nPC Loadings:"), std::string::npos);

  TShapeAnalysis two;
  two.SampleCount = 2;
  two.PointCount = 2;
  two.Consensus = {-0.5, 0, 0.5, 0};
  two.Sizes = {3, 4};
  two.Distances = {0, 0};
  const std::string headings = ProcrustesReport(two, {"a", "b"}, TReportOptions{true, false, true, false, true, true});
  EXPECT_NE(headings.find("Variance, %variance, %cumulative variance:\r\nPC Loadings:\r\nScores:\r\n\r\n\r\n"),
            std::string::npos)
      << headings;
}

TEST(ProcrustesReport, AppendingKeepsWhatTheFileHeldAndCreatesAMissingFile) {
  test::TTempFolder folder;
  const std::string path = folder.File("results.txt");
  ASSERT_TRUE(AppendReport(path, "Total samples:\r\nJos\xC3\xA9\r\n").Ok);
  EXPECT_EQ(test::ReadBytes(path), "Total samples:\r\nJos\xE9\r\n");  // Windows-1252 on disk

  test::WriteBytes(path, "notes without a line break");
  ASSERT_TRUE(AppendReport(path, "Total samples:\r\n").Ok);
  EXPECT_EQ(test::ReadBytes(path), "notes without a line break\r\nTotal samples:\r\n");

  EXPECT_FALSE(AppendReport(path, "\xE4\xB8\xAD").Ok);  // not in Windows-1252
  EXPECT_EQ(test::ReadBytes(path), "notes without a line break\r\nTotal samples:\r\n");
  EXPECT_EQ(folder.Names().size(), 1u);
}

}  // namespace
}  // namespace lumacet
