// A report read back into a PCA element, and the element measuring radiographs with it.
#include <gtest/gtest.h>

#include <cmath>

#include "model/list_elements.h"
#include "persistence/data_test_support.h"
#include "population/pca_import.h"
#include "population/pca_statistics.h"
#include "population/procrustes_report.h"
#include "population/shape_fixtures.h"
#include "support/text_codec.h"

namespace lumacet {
namespace {

constexpr int kPoints = 6;

class PcaImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    type = test::PointType("Shapes", kPoints);
    std::string message;
    pca = static_cast<TXRPCA*>(type->AddElement("Outline", ekPCA, message));
    for (size_t i = 0; i < kPoints; ++i) pca->Points.push_back(type->Element<TXRayElement>(ekDigPoint, i));
    samples = test::Population(25, kPoints, 21);
    std::optional<TShapeAnalysis> result = AnalyseShapes(samples, message);
    ASSERT_TRUE(result) << message;
    analysis = *result;
    report = ProcrustesReport(analysis, samples.Names, TReportOptions{true, true, true, true, true, true, true, true});
  }

  // Loads sample i (or any coordinates) into the type, as a radiograph would.
  void Load(const std::vector<double>& xy) {
    std::vector<std::pair<double, double>> points;
    for (size_t j = 0; j < xy.size(); j += 2) points.emplace_back(xy[j], xy[j + 1]);
    xray = test::Radiograph(*type, "R", DayNumber(2020, 1, 1), points);
    xray->LoadCoordinates();
  }
  std::vector<double> Sample(int i) const {
    return {samples.Coordinates.begin() + i * 2 * kPoints, samples.Coordinates.begin() + (i + 1) * 2 * kPoints};
  }
  TPcaImportResult Import(const std::string& text) { return ImportPcaReport(*pca, *EncodeCp1252(text)); }

  std::unique_ptr<TXRayType> type;
  std::unique_ptr<TXRay> xray;
  TXRPCA* pca = nullptr;
  TShapeSamples samples;
  TShapeAnalysis analysis;
  std::string report;
  TPcaMeasurer measurer;
};

TEST_F(PcaImportTest, ImportedDataMeasureTheTrainingRadiographsAsTheReportDid) {
  const TPcaImportResult result = Import(report);
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(result.Message, "Data successfully imported.");
  EXPECT_TRUE(pca->HasData);
  EXPECT_EQ(pca->SampleCount, 25);
  EXPECT_NEAR(pca->SumSquaredDistances, analysis.SumSquaredDistances, 1e-8 * analysis.SumSquaredDistances);
  ASSERT_EQ(pca->Loadings.size(), 12u);
  ASSERT_EQ(pca->Variances.size(), 8u);

  for (int i : {0, 7, 24}) {
    Load(Sample(i));
    EXPECT_NEAR(*measurer.PCAMeasure(*pca, 0, 0), analysis.Sizes[i], 1e-9 * analysis.Sizes[i]);
    EXPECT_NEAR(*measurer.PCAMeasure(*pca, 1, 0), analysis.Sizes[i] / std::sqrt(6.0), 1e-9 * analysis.Sizes[i]);
    EXPECT_NEAR(*measurer.PCAMeasure(*pca, 2, 0), analysis.Distances[i], 1e-8);
    for (int c = 1; c <= 8; ++c) {
      EXPECT_NEAR(*measurer.PCAMeasure(*pca, 3, c), analysis.Score(i, c - 1), 1e-8) << c;
      EXPECT_NEAR(*measurer.PCAMeasure(*pca, 4, c), analysis.Score(i, c - 1) / std::sqrt(analysis.Variances[c - 1]),
                  1e-8 / std::sqrt(analysis.Variances[c - 1]))
          << c;
    }
  }
}

TEST_F(PcaImportTest, MeasuresAreAbsentWhereTheyCannotBeComputed) {
  ASSERT_TRUE(Import(report).Ok);
  Load(Sample(3));
  EXPECT_FALSE(measurer.PCAMeasure(*pca, 3, 0));
  EXPECT_FALSE(measurer.PCAMeasure(*pca, 3, 9));
  EXPECT_FALSE(measurer.PCAMeasure(*pca, 4, -1));
  EXPECT_TRUE(measurer.PCAMeasure(*pca, 3, 8));

  pca->Variances[1] = 0;
  EXPECT_FALSE(measurer.PCAMeasure(*pca, 4, 2));
  EXPECT_TRUE(measurer.PCAMeasure(*pca, 3, 2));
  for (auto& row : pca->Loadings) row[2] = 0;
  EXPECT_FALSE(measurer.PCAMeasure(*pca, 3, 3));

  std::vector<double> missing = Sample(3);
  Load(missing);
  xray->Coordinates[4]->SetValid(false);
  xray->LoadCoordinates();
  EXPECT_FALSE(measurer.PCAMeasure(*pca, 0, 0));

  Load(Sample(3));
  pca->Variances.pop_back();  // sizes that no longer fit the point list
  EXPECT_FALSE(measurer.PCAMeasure(*pca, 2, 0));
  EXPECT_FALSE(pca->HasData);
  EXPECT_FALSE(measurer.PCAMeasure(*pca, 0, 0));
}

TEST_F(PcaImportTest, ShapeDistanceNeedsAWholeReferenceNotThePopulation) {
  const std::vector<double> shape = Sample(2);
  Load(shape);
  EXPECT_FALSE(pca->HasData);
  const std::vector<double> same = test::Transformed(shape, {2.0, 0.1, 5, -9});
  EXPECT_NEAR(*measurer.ShapeDistance(*pca, same), 0, 1e-12);
  const double d = *measurer.ShapeDistance(*pca, Sample(5));
  EXPECT_GT(d, 0.001);
  EXPECT_NEAR(*measurer.ShapeDistance(*pca, test::Transformed(Sample(5), {-0.5, 3, 0, 0})), d, 1e-12);
  EXPECT_FALSE(measurer.ShapeDistance(*pca, {}));
  EXPECT_FALSE(measurer.ShapeDistance(*pca, std::vector<double>(12, 4.0)));  // no size
  EXPECT_FALSE(measurer.ShapeDistance(*pca, std::vector<double>(10, 1.0)));
}

TEST_F(PcaImportTest, TheConsensusIsPlacedOnTheTracingAtItsSizeAndPlace) {
  EXPECT_TRUE(PcaConsensusOnTracing(*pca).empty());
  ASSERT_TRUE(Import(report).Ok);
  const std::vector<double> placed = test::Transformed(pca->Consensus, {0.4, 1500, 2000, 1800});
  Load(placed);
  const std::vector<TFloatPoint> points = PcaConsensusOnTracing(*pca);
  ASSERT_EQ(points.size(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_NEAR(points[i].X, placed[2 * i], 1e-6);
    EXPECT_NEAR(points[i].Y, placed[2 * i + 1], 1e-6);
  }
}

TEST_F(PcaImportTest, OnlyTheLastReportOfAFileIsRead) {
  TShapeAnalysis other = analysis;
  other.SampleCount = 99;
  const std::string second = ProcrustesReport(other, samples.Names, TReportOptions{});
  ASSERT_TRUE(Import(report + second).Ok);
  EXPECT_EQ(pca->SampleCount, 99);

  // The last report lacks its loadings: the earlier one's are never taken instead.
  const std::string partial = ProcrustesReport(other, samples.Names, TReportOptions{true, false, false, false, true, false});
  pca->SampleCount = 5;
  const TPcaImportResult result = Import(report + partial);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Message, "Error loading PCA file.");
  EXPECT_FALSE(pca->HasData);
  EXPECT_EQ(pca->SampleCount, 5);
}

TEST_F(PcaImportTest, FaultyReportsLeaveTheDataAsTheyWereButNotValid) {
  ASSERT_TRUE(Import(report).Ok);
  const std::vector<double> consensus = pca->Consensus;
  auto fails = [&](const std::string& text) {
    const TPcaImportResult result = Import(text);
    EXPECT_EQ(result.Message, "Error loading PCA file.");
    EXPECT_FALSE(pca->HasData);
    EXPECT_EQ(pca->Consensus, consensus);
    pca->HasData = true;
    return !result.Ok;
  };
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = report;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  EXPECT_TRUE(fails(replaced("PC Loadings:", "PC L:")));
  EXPECT_TRUE(fails(replaced("Total points:\r\n6", "Total points:\r\n7")));
  EXPECT_TRUE(fails(replaced("Consensus (X, Y):\r\n", "Consensus (X, Y):\r\n  nan ")));
  EXPECT_TRUE(fails(replaced("e-0", "x-0")));
  EXPECT_TRUE(fails(report.substr(0, report.find("PC Loadings:") + 200)));
  EXPECT_TRUE(fails("no report here\r\n"));

  // A PCA of two points has no components to import.
  pca->Points.resize(2);
  EXPECT_EQ(Import(report).Message, "Not enough points: at least 3 points are required.");
}

TEST_F(PcaImportTest, LoadingsWithoutBlanksBetweenThemAreReadByTheirWidth) {
  // "%16.8e" of a negative value with a three-digit exponent fills all 16 characters.
  std::string text = report;
  const size_t loadings = text.find("PC Loadings:\r\n") + 14;
  const size_t end = text.find("\r\n", loadings);
  std::string row = FormatReportReal(-1.5e-101);
  for (int c = 1; c < 8; ++c) row += FormatReportReal(c);
  text.replace(loadings, end - loadings, row);
  ASSERT_TRUE(Import(text).Ok);
  EXPECT_DOUBLE_EQ(pca->Loadings[0][0], -1.5e-101);
  EXPECT_DOUBLE_EQ(pca->Loadings[0][7], 7);
  // Our own E16 form and LF line ends read as well.
  std::string lf = report;
  for (size_t at = lf.find("\r\n"); at != std::string::npos; at = lf.find("\r\n", at)) lf.erase(at, 1);
  lf.replace(lf.find("e-0"), 3, "E-00");
  EXPECT_TRUE(Import(lf).Ok);
}

TEST_F(PcaImportTest, TheEditorsImportRecordsTheChangeEitherWay) {
  test::TTempFolder folder;
  const std::string path = folder.File("results.txt");
  ASSERT_TRUE(AppendReport(path, report).Ok);
  EXPECT_TRUE(ImportPcaFile(*type, *pca, path).Ok);
  ASSERT_FALSE(type->ChangeHistory.empty());
  EXPECT_EQ(type->ChangeHistory.back(), "Changed PCA: Outline");
  EXPECT_TRUE(type->Modified);
  type->ChangeHistory.clear();
  EXPECT_EQ(ImportPcaFile(*type, *pca, folder.File("missing.txt")).Message, "Error loading PCA file.");
  EXPECT_EQ(type->ChangeHistory, std::vector<std::string>{"Changed PCA: Outline"});
}

}  // namespace
}  // namespace lumacet
