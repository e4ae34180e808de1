// procrustes --import changes two files; a run stopped between them must leave the type file
// new and only the report to be written again.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "cli/cli_runner.h"

namespace lumacet {
namespace {

using namespace test;

TEST(ProcrustesCommandTest, ImportWritesTheTypeFileBeforeTheReport) {
  TTempFolder folder;
  const std::string data = folder.File("PATIENT.CSV");
  const std::string type = folder.File("lateral_ceph.lcr");
  const std::string report = folder.File("report.txt");
  std::filesystem::copy_file(kExamples + "/PATIENT.CSV", data);
  std::filesystem::copy_file(kExample, type);
  const std::string before = ReadBytes(type);
  // The example already holds these results: a rewrite shows as a new file under the name.
  const auto inode = [&] {
    struct stat info {};
    ::stat(type.c_str(), &info);
    return info.st_ino;
  };
  const ino_t original = inode();
  const std::string run = "procrustes '" + data + "' --type 'Lateral Ceph' --pca 'Lateral shape' --import --report '" +
                          report + "'";

  // The type cannot take the results: no report of them is written either.
  ASSERT_EQ(::chmod(type.c_str(), 0444), 0);
  TRun refused = RunCli(folder, run);
  EXPECT_EQ(refused.Exit, 1);
  EXPECT_NE(refused.Err.find("read-only"), std::string::npos) << refused.Err;
  EXPECT_FALSE(std::filesystem::exists(report));
  EXPECT_TRUE(ReadBytes(type) == before);
  EXPECT_EQ(inode(), original);

  ASSERT_EQ(::chmod(type.c_str(), 0644), 0);
  TRun imported = RunCli(folder, run);
  ASSERT_EQ(imported.Exit, 0) << imported.Err;
  EXPECT_NE(inode(), original);
  EXPECT_NE(ReadBytes(report).find("Consensus"), std::string::npos);
}

TEST(ProcrustesCommandTest, TheScoresTableTellsSerialRecordsApartOrNamesNoOne) {
  TTempFolder folder;
  const std::string data = kExamples + "/PATIENT.CSV";
  const std::string scores = folder.File("scores.csv");
  const std::string run = "procrustes '" + data + "' --type 'Lateral Ceph' --pca 'Lateral shape' --report '" +
                          folder.File("report.txt") + "' --output scores --names --scores-table '" + scores + "'";
  TRun result = RunCli(folder, run);
  ASSERT_EQ(result.Exit, 0) << result.Err;
  std::string table = ReadBytes(scores);
  EXPECT_TRUE(table.starts_with("Record,Name,Date Taken,Image,PC1,PC2,")) << table.substr(0, 100);
  EXPECT_NE(table.find("\r\n1,Emma Lindqvist,20"), std::string::npos) << table.substr(0, 300);
  const std::string report = ReadBytes(folder.File("report.txt"));
  EXPECT_NE(report.find("\r\nRadiographs in data file order (record numbers):\r\n1 2 4 5 "), std::string::npos)
      << report.substr(report.size() - 200);

  result = RunCli(folder, run + " --anonymize");
  ASSERT_EQ(result.Exit, 0) << result.Err;
  table = ReadBytes(scores);
  EXPECT_NE(table.find("\r\n1,Record 1,20"), std::string::npos) << table.substr(0, 300);
  EXPECT_EQ(table.find("Emma"), std::string::npos);
  const std::string anonymous = ReadBytes(folder.File("report.txt")).substr(report.size());
  EXPECT_EQ(anonymous.find("Emma"), std::string::npos);
  EXPECT_NE(anonymous.find("\r\nRecord 1 "), std::string::npos);
}

}  // namespace
}  // namespace lumacet
