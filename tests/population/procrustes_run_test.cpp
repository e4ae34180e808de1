// The run over a data file: which records it reads, how it asks, and what it writes.
#include <gtest/gtest.h>

#include <filesystem>

#include "model/list_elements.h"
#include "persistence/data_test_support.h"
#include "population/procrustes_run.h"
#include "population/shape_fixtures.h"
#include "support/text_codec.h"

namespace lumacet {
namespace {

class ProcrustesRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lateral = test::PointType("Lateral", 5);
    other = test::PointType("Other", 5);
    std::string message;
    auto* pca = static_cast<TXRPCA*>(lateral->AddElement("Shape", ekPCA, message));
    for (size_t i = 0; i < 4; ++i) pca->Points.push_back(lateral->Element<TXRayElement>(ekDigPoint, i));
    request.DataFile = folder.File("PATIENT.CSV");
    request.TypeName = "Lateral";
    request.PcaName = "Shape";
    request.ResultsFile = folder.File("results.txt");
    request.Report.Distances = true;
    request.Report.Names = true;
  }

  // Appends a radiograph of the type; the fifth point, outside the PCA, stays invalid.
  void Append(TXRayType& type, const std::string& name, const std::vector<double>& xy, int invalid = -1) {
    std::vector<std::pair<double, double>> points;
    for (size_t j = 0; j < xy.size(); j += 2) points.emplace_back(xy[j], xy[j + 1]);
    auto xray = test::Radiograph(type, name, DayNumber(2021, 5, 1), points);
    if (invalid >= 0) xray->Coordinates[static_cast<size_t>(invalid)]->SetValid(false);
    ASSERT_TRUE(AppendToDataFile(*xray, request.DataFile, {}).Ok());
    request.Records.push_back(static_cast<int>(request.Records.size()) + 1);
  }
  void AppendPopulation(int n) {
    const TShapeSamples shapes = test::Population(n, 4, 9);
    for (int i = 0; i < n; ++i)
      Append(*lateral, shapes.Names[i], {shapes.Coordinates.begin() + 8 * i, shapes.Coordinates.begin() + 8 * i + 8});
  }

  TProcrustesResult Run() {
    return RunProcrustes(request, test::Resolver({lateral.get(), other.get()}), {}, prompts);
  }
  bool ResultsWritten() const { return std::filesystem::exists(request.ResultsFile); }

  test::TTempFolder folder;
  std::unique_ptr<TXRayType> lateral;
  std::unique_ptr<TXRayType> other;
  TProcrustesRequest request;
  TProcrustesPrompts prompts;
};

TEST_F(ProcrustesRunTest, AWholeRunAppendsItsReportAndTellsItsProgress) {
  AppendPopulation(6);
  test::WriteBytes(request.ResultsFile, "earlier\r\n");
  std::vector<std::string> statuses;
  std::string question;
  prompts.Status = [&](const std::string& s) {
    statuses.push_back(s);
    return true;
  };
  prompts.Proceed = [&](const std::string& q) {
    question = q;
    return true;
  };
  const TProcrustesResult result = Run();
  ASSERT_EQ(result.Outcome, TProcrustesOutcome::Completed) << result.Message;
  EXPECT_EQ(question, "Radiographs processed: 6\r\n\r\nContinue?");
  EXPECT_EQ(statuses.front(), "Reading...");
  EXPECT_EQ(statuses[1], "Reading: Patient 1");
  EXPECT_EQ(std::vector<std::string>(statuses.end() - 3, statuses.end()),
            (std::vector<std::string>{"Calculating...", "Writing...", "Completed."}));
  EXPECT_EQ(test::ReadBytes(request.ResultsFile), "earlier\r\n" + *EncodeCp1252(result.Report));
  EXPECT_NE(result.Report.find("Procrustes Distances:\r\nPatient 1  "), std::string::npos);
}

TEST_F(ProcrustesRunTest, RecordsAreTakenInFileOrderWhateverOrderTheyWereChosenIn) {
  AppendPopulation(6);
  request.ResultsFile.clear();
  request.Report.Consensus = true;
  const TProcrustesResult inFileOrder = Run();
  ASSERT_EQ(inFileOrder.Outcome, TProcrustesOutcome::Completed) << inFileOrder.Message;
  // The browser's order, duplicates included: the first sample seeds the consensus's
  // orientation, so only the file's order gives one answer.
  request.Records = {4, 2, 6, 1, 5, 3, 2};
  const TProcrustesResult chosen = Run();
  ASSERT_EQ(chosen.Outcome, TProcrustesOutcome::Completed) << chosen.Message;
  EXPECT_EQ(chosen.Report, inFileOrder.Report);
  EXPECT_TRUE(chosen.Report.ends_with("Radiographs in data file order (record numbers):\r\n1 2 3 4 5 6\r\n"))
      << chosen.Report;
  ASSERT_EQ(chosen.Origins.size(), 6u);
  EXPECT_EQ(chosen.Origins[3].Record, 4);
  EXPECT_EQ(chosen.Origins[3].DateTaken, DayNumber(2021, 5, 1));
}

TEST_F(ProcrustesRunTest, AnAnonymousRunNamesRecordsByNumber) {
  AppendPopulation(3);
  request.ResultsFile.clear();
  request.Anonymize = true;
  const TProcrustesResult result = Run();
  ASSERT_EQ(result.Outcome, TProcrustesOutcome::Completed) << result.Message;
  EXPECT_EQ(result.Samples.Names, (std::vector<std::string>{"Record 1", "Record 2", "Record 3"}));
  EXPECT_EQ(result.Report.find("Patient"), std::string::npos) << result.Report;
  EXPECT_NE(result.Report.find("Procrustes Distances:\r\nRecord 1  "), std::string::npos) << result.Report;
}

TEST_F(ProcrustesRunTest, RecordsOfOtherTypesArePassedOverSilently) {
  for (int i = 0; i < 3; ++i) Append(*other, "O" + std::to_string(i), {0, 0, 10, 0, 0, 10, 10, 10, 5, 5});
  int skips = 0;
  std::string question;
  prompts.Skip = [&](const std::string&) { return ++skips, true; };
  prompts.Proceed = [&](const std::string& q) { return question = q, true; };
  const TProcrustesResult result = Run();
  EXPECT_EQ(skips, 0);
  EXPECT_EQ(question, "Radiographs processed: 0\r\n\r\nContinue?");
  EXPECT_EQ(result.Outcome, TProcrustesOutcome::Refused);
  EXPECT_EQ(result.Message, "At least two radiographs are needed.");
  EXPECT_FALSE(ResultsWritten());
}

TEST_F(ProcrustesRunTest, ARadiographWithAPointMissingIsSkippedOrStopsTheRun) {
  AppendPopulation(4);
  Append(*lateral, "Incomplete", {0, 0, 10, 0, 0, 10, 10, 10, 5, 5}, 2);
  Append(*other, "Elsewhere", {0, 0, 10, 0, 0, 10, 10, 10, 5, 5});
  std::vector<std::string> asked;
  prompts.Skip = [&](const std::string& m) { return asked.push_back(m), true; };
  TProcrustesResult result = Run();
  ASSERT_EQ(result.Outcome, TProcrustesOutcome::Completed);
  EXPECT_EQ(asked, std::vector<std::string>{"Cannot use radiograph Incomplete. Points missing."});
  EXPECT_EQ(result.Processed, 4);
  ASSERT_TRUE(ResultsWritten());

  std::filesystem::remove(request.ResultsFile);
  prompts.Skip = [](const std::string&) { return false; };
  result = Run();
  EXPECT_EQ(result.Outcome, TProcrustesOutcome::Stopped);
  EXPECT_FALSE(ResultsWritten());
}

TEST_F(ProcrustesRunTest, ACachedTypeWhosePcaDiffersFromTheChosenOneIsRefused) {
  AppendPopulation(5);
  request.PcaPoints = PcaPointNames(*lateral, "Shape");
  ASSERT_EQ(request.PcaPoints.size(), 4u);
  EXPECT_EQ(Run().Outcome, TProcrustesOutcome::Completed);

  // The type in memory gained a point since the user chose the PCA from the file.
  std::filesystem::remove(request.ResultsFile);
  auto* pca = static_cast<TXRPCA*>(lateral->FindElement("Shape", ekPCA));
  pca->Points.push_back(lateral->Element<TXRayElement>(ekDigPoint, 4));
  int reads = 0;
  prompts.Status = [&](const std::string& s) { return reads += s.starts_with("Reading: "), true; };
  TProcrustesResult result = Run();
  EXPECT_EQ(result.Outcome, TProcrustesOutcome::Refused);
  EXPECT_EQ(result.Message,
            "The PCA Shape differs from the one in the type file. Save or close the radiograph type and try again.");
  EXPECT_EQ(reads, 0);
  EXPECT_FALSE(ResultsWritten());

  // Same points in another order are another shape too; a PCA gone from the cache as well.
  pca->Points.pop_back();
  std::swap(pca->Points[0], pca->Points[1]);
  EXPECT_EQ(Run().Outcome, TProcrustesOutcome::Refused);
  request.PcaName = "Gone";
  EXPECT_EQ(Run().Outcome, TProcrustesOutcome::Refused);
}

TEST_F(ProcrustesRunTest, CancelWhileReadingOrNoToTheQuestionWritesNothing) {
  AppendPopulation(5);
  int reads = 0;
  prompts.Status = [&](const std::string& s) { return !(s.starts_with("Reading: ") && ++reads == 3); };
  EXPECT_EQ(Run().Outcome, TProcrustesOutcome::Stopped);
  prompts.Status = nullptr;
  prompts.Proceed = [](const std::string&) { return false; };
  EXPECT_EQ(Run().Outcome, TProcrustesOutcome::Stopped);
  EXPECT_FALSE(ResultsWritten());
}

TEST_F(ProcrustesRunTest, FlipAndSizeChangeOnlyWhatTheySay) {
  AppendPopulation(3);
  auto samples = [&] {
    TProcrustesResult result;
    EXPECT_EQ(ReadShapeSamples(request, test::Resolver({lateral.get()}), {}, prompts, result),
              TProcrustesOutcome::Completed);
    return result.Samples.Coordinates;
  };
  request.LifeSize = false;
  const std::vector<double> xray = samples();
  request.LifeSize = true;
  const std::vector<double> life = samples();
  request.FlipY = true;
  const std::vector<double> flipped = samples();
  ASSERT_EQ(xray.size(), 24u);
  for (size_t j = 0; j < xray.size(); ++j) {
    EXPECT_NEAR(life[j], xray[j] * 100 / 110, 1e-9);  // magnification 10 %
    EXPECT_DOUBLE_EQ(flipped[j], j % 2 == 1 ? -life[j] : life[j]);
  }
}

TEST_F(ProcrustesRunTest, TheDialogsChecksComeInTheirOrder) {
  const std::vector<std::string> pcas{"Shape"};
  request.Records = {1};
  EXPECT_EQ(ProcrustesRequestError(request, pcas), "");
  TProcrustesRequest r = request;
  r.Records.clear();
  EXPECT_EQ(ProcrustesRequestError(r, pcas), "No radiographs have been selected.");
  r.PcaName.clear();
  EXPECT_EQ(ProcrustesRequestError(r, pcas), "No PCA has been selected.");
  EXPECT_EQ(ProcrustesRequestError(r, {}), "The selected radiograph type does not contain any PCAs.");
  r.Report = TReportOptions{false, false, false, false, false, false, false, true};
  EXPECT_EQ(ProcrustesRequestError(r, {}), "No Output option has been selected.");
  test::WriteBytes(r.DataFile, "");
  std::filesystem::create_symlink(r.DataFile, folder.File("link.csv"));
  r.ResultsFile = folder.File("link.csv");
  EXPECT_EQ(ProcrustesRequestError(r, {}), "Source and Destination files are the same.");
  r.ResultsFile = folder.File("./sub/../PATIENT.CSV");
  EXPECT_EQ(ProcrustesRequestError(r, {}), "Source and Destination files are the same.");
  r.ResultsFile.clear();
  EXPECT_EQ(ProcrustesRequestError(r, {}), "No Destination file has been selected.");
}

}  // namespace
}  // namespace lumacet
