// lumacet-cli procrustes on a copy of the bundled examples: report, import into the type
// file, scores table, and the PCA variables the measure command then shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "cli/cli_runner.h"
#include "common/result_assertions.h"
#include "model/list_elements.h"
#include "model/xray_type.h"

namespace lumacet {
namespace {

const std::string kExamples = std::string(LUMACET_SOURCE_DIR) + "/examples";

// The number at the start of the text, up to a comma or the end.
double LeadingNumber(const std::string& text) {
  double value = 0;
  const size_t end = std::min(text.find(','), text.size());
  std::from_chars(text.data(), text.data() + end, value);
  return value;
}

class ProcrustesCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"lateral_ceph.lcr", "frontal_ceph.lcr", "PATIENT.CSV"})
      std::filesystem::copy_file(kExamples + "/" + name, folder.File(name));
    // The import must put the data there itself.
    TXRayType type;
    ASSERT_TRUE(test::Succeeded(type.LoadFromTypeFile(folder.File("lateral_ceph.lcr"))));
    auto* pca = static_cast<TXRPCA*>(type.FindElement("Lateral shape", ekPCA));
    ASSERT_NE(pca, nullptr);
    pca->HasData = false;
    ASSERT_TRUE(test::Succeeded(type.SaveToTypeFile(folder.File("lateral_ceph.lcr"))));
  }
  test::TRun Run(const std::string& arguments) {
    return test::RunCli(folder, "procrustes '" + folder.File("PATIENT.CSV") + "' --type 'Lateral Ceph' --pca 'Lateral shape' " +
                                    arguments);
  }
  test::TTempFolder folder;
};

TEST_F(ProcrustesCommandTest, ImportedResultsGiveThePcaVariablesTheirValues) {
  const test::TRun run = Run("--size xray --import --names --output consensus,variances,loadings,scores --report '" +
                             folder.File("report.txt") + "' --scores-table '" + folder.File("scores.csv") + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_NE(run.Out.find("Data successfully imported."), std::string::npos);
  EXPECT_NE(run.Err.find("Radiographs processed: 26"), std::string::npos);
  const std::string report = test::ReadBytes(folder.File("report.txt"));
  EXPECT_EQ(report.find("Total samples:\r\n26\r\nTotal points:\r\n12\r\n"), 0u);
  EXPECT_NE(report.find("\r\nScores:\r\nEmma Lindqvist "), std::string::npos);

  const std::string scores = test::ReadBytes(folder.File("scores.csv"));
  ASSERT_EQ(scores.find("Record,Name,Date Taken,Image,PC1,PC2,PC3,"), 0u);
  const size_t row = scores.find("\r\n") + 2;
  const std::string first = scores.substr(row, scores.find("\r\n", row) - row);
  ASSERT_EQ(first.find("1,Emma Lindqvist,"), 0u);
  size_t scoresAt = 0;
  for (int field = 0; field < 4; ++field) scoresAt = first.find(',', scoresAt) + 1;
  const double pc1 = LeadingNumber(first.substr(scoresAt));

  const test::TRun measured = test::RunCli(folder, "measure '" + folder.File("PATIENT.CSV") +
                                                       "' --records 1 --analysis 'Shape (Procrustes)' --format csv --raw");
  ASSERT_EQ(measured.Exit, 0) << measured.Err;
  const std::string values = measured.Out.substr(measured.Out.find('\n') + 1);
  // Record,Name,Age,Centroid size,Normalized centroid size,Procrustes distance,PC1 score,...
  size_t at = 0;
  for (int field = 0; field < 6; ++field) at = values.find(',', at) + 1;
  EXPECT_NEAR(LeadingNumber(values.substr(at)), pc1, 1e-7);
}

TEST_F(ProcrustesCommandTest, WithoutAReportFileTheReportIsPrintedAndNothingElseChanges) {
  const std::string before = test::ReadBytes(folder.File("lateral_ceph.lcr"));
  const test::TRun run = Run("--records 1,2,3,4 --output distances");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out.find("Total samples:\n3\nTotal points:\n12\n"), 0u);  // record 3 is frontal
  EXPECT_NE(run.Out.find("\nProcrustes Distances:\n"), std::string::npos);
  EXPECT_EQ(test::ReadBytes(folder.File("lateral_ceph.lcr")), before);
}

TEST_F(ProcrustesCommandTest, RefusalsSayWhyAndWriteNothing) {
  test::TRun run = test::RunCli(folder, "procrustes '" + folder.File("PATIENT.CSV") +
                                            "' --type 'Lateral Ceph' --pca 'No such' --report '" + folder.File("r.txt") + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("has no PCA 'No such'"), std::string::npos);

  run = Run("--report '" + folder.File("PATIENT.CSV") + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("Source and Destination files are the same."), std::string::npos);

  run = Run("--records 1 --report '" + folder.File("r.txt") + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("At least two radiographs are needed."), std::string::npos);

  run = Run("--import --output consensus");
  EXPECT_EQ(run.Exit, 2);
  EXPECT_FALSE(std::filesystem::exists(folder.File("r.txt")));
}

}  // namespace
}  // namespace lumacet
