// mean, sort and predict as a user runs them: on the example patients, and predict's
// cross-validation on the 400 real cephalograms of the shared data folder.
#include <gtest/gtest.h>

#include <charconv>
#include <string>

#include "cli/cli_runner.h"
#include "population/ceph_landmarks.h"
#include "population/population_fixture.h"

namespace lumacet {
namespace {

using test::RunCli;
using test::TRun;

// What a verb printed, line by line.
std::vector<std::string> Printed(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

class PopulationVerbs : public ::testing::Test {
 protected:
  TRun Run(const std::string& verb, const std::string& options) {
    return RunCli(folder, verb + " '" + test::kExampleData + "' --types '" + test::kExamples + "' " + options);
  }
  test::TTempFolder folder;
};

TEST_F(PopulationVerbs, MeanAppendsTheMeanRadiographAndThePairs) {
  const std::string out = folder.File("mean.csv"), pairs = folder.File("pairs.csv");
  TRun run = Run("mean", "--type 'Lateral Ceph' --superimposition 'S-N registered at S' --records 15,20,23,14,6 "
                         "--out '" + out + "' --pairs '" + pairs + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, "Mean of 5 radiographs appended to " + out + "\n2 pair means appended to " + pairs + "\n");
  const std::vector<std::string> mean = test::Lines(test::ReadBytes(out));
  ASSERT_EQ(mean.size(), 1u);
  EXPECT_EQ(mean[0].rfind("Mean Radiograph ", 0), 0u) << mean[0];
  EXPECT_EQ(test::Lines(test::ReadBytes(pairs)).size(), 2u);

  // Bad input: usage errors, an unknown superimposition, the source as destination; nothing written.
  for (const auto& [options, exit] : std::vector<std::pair<std::string, int>>{
           {"--type 'Lateral Ceph' --superimposition 'S-N registered at S'", 2},
           {"--type 'Lateral Ceph' --superimposition Nope --out '" + out + "'", 1},
           {"--type 'Lateral Ceph' --superimposition 'S-N registered at S' --out '" + test::kExampleData + "'", 1}}) {
    run = Run("mean", options);
    EXPECT_EQ(run.Exit, exit) << options << "\n" << run.Err;
  }
  EXPECT_EQ(test::Lines(test::ReadBytes(out)).size(), 1u);
}

TEST_F(PopulationVerbs, SortPrintsRecordNameAndScoreMostAlikeFirst) {
  TRun run = Run("sort", "--like 15 --pca 'Lateral shape' --best 3 --include-same-patient");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  const std::vector<std::string> lines = Printed(run.Out);
  ASSERT_EQ(lines.size(), 3u) << run.Out;
  EXPECT_EQ(lines[0], "15\tAva Petrakis\t0");
  const std::string out = folder.File("worst.csv");
  run = Run("sort", "--like 15 --analysis Steiner --worst 2 --out '" + out + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(test::Lines(test::ReadBytes(out)).size(), 2u);
  EXPECT_EQ(Run("sort", "--like 15 --pca 'Lateral shape' --analysis Steiner").Exit, 2);
  EXPECT_EQ(Run("sort", "--like 15 --drawing 'Cranial base points'").Exit, 2);
  run = Run("sort", "--like 15 --pca Nope");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Err, "No valid PCA has been selected.\n");
}

TEST_F(PopulationVerbs, PredictPrintsThePredictedLandmarksWithTheirEllipses) {
  TRun run = Run("predict", "--type 'Lateral Ceph' --from S,N,Me --records 15");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  const std::vector<std::string> lines = Printed(run.Out);
  ASSERT_GT(lines.size(), 10u);
  EXPECT_EQ(lines[0], "record\tname\tlandmark\tx\ty\tmajor\tminor\tangle\toff");
  EXPECT_EQ(lines[1].rfind("15\tAva Petrakis\t", 0), 0u) << lines[1];
  EXPECT_EQ(run.Out.find("\tS\t"), std::string::npos);  // placed, so not predicted
  run = Run("predict", "--type 'Lateral Ceph' --from S,Nope");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Err, "The shape model has no landmark named Nope.\n");
}

TEST(PredictRealData, CrossValidationPrintsTheMeanRadialErrors) {
  if (!test::HaveCephData()) GTEST_SKIP() << "No real landmark data at " << test::kCephFolder;
  test::TTempFolder folder;
  std::unique_ptr<TXRayType> type = test::CephType();
  ASSERT_TRUE(type->SaveToTypeFile(folder.File("ceph.lcr")));
  test::WriteCephDataFile(*type, test::ReadCephRows(), folder.File("ceph.csv"));
  TRun run = RunCli(folder, "predict '" + folder.File("ceph.csv") + "' --type Ceph --from S,N,Me --cross-validate 10");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  const std::vector<std::string> lines = Printed(run.Out);
  ASSERT_EQ(lines.size(), 20u) << run.Out;  // heading, 16 landmarks, overall, two flag rates
  ASSERT_EQ(lines[17].rfind("overall\t", 0), 0u);
  EXPECT_EQ(lines[18].rfind("flagged 5 mm off (%)\t", 0), 0u);
  double overall = 0;
  const std::string value = lines[17].substr(8);
  std::from_chars(value.data(), value.data() + value.size(), overall);
  EXPECT_GT(overall, 2.0);
  EXPECT_LE(overall, 3.7);
}

}  // namespace
}  // namespace lumacet
