// lumacet-cli list and copy, run as a user would, under a locale that writes decimal commas.
#include <gtest/gtest.h>

#include "cli/cli_runner.h"

#include <cstdlib>
#include <string>

#include "persistence/data_test_support.h"

namespace lumacet {
namespace {

using test::TRun;

using test::PointType;
using test::Radiograph;
using test::ReadBytes;
using test::Record;
using test::TTempFolder;
using test::WriteBytes;

class ListCopyCommandTest : public ::testing::Test {
 protected:
  ListCopyCommandTest() {
    auto type = PointType("Lateral", 2);
    auto line = [&](const std::string& name, TDayNumber taken) {
      auto xray = Radiograph(*type, name, taken, {{1.5, 2.25}});
      xray->Magnification = 12.5;
      return Record(*xray);
    };
    lines = {line("Smith", DayNumber(2001, 5, 5)), line("Jones", DayNumber(1999, 1, 9)),
             line("smith", DayNumber(2000, 1, 9))};
    WriteBytes(folder.File("PATIENT.CSV"), lines[0] + lines[1] + lines[2]);
  }

  TRun Run(const std::string& arguments) {
    const std::string locale = test::CommaDecimalLocale();
    return test::RunCli(folder, arguments, locale.empty() ? "" : "LC_ALL=" + locale + " ");
  }
  std::string Quoted(const std::string& name) { return "'" + folder.File(name) + "'"; }

  TTempFolder folder;
  std::vector<std::string> lines;
};

TEST_F(ListCopyCommandTest, ListPrintsTheRowsSortedFilteredOrInFileOrder) {
  TRun run = Run("list " + Quoted("PATIENT.CSV"));
  EXPECT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, "2\tJones\t09/01/1999\tLateral\tfirst visit\t\n"
                     "1\tSmith\t05/05/2001\tLateral\tfirst visit\t\n"
                     "3\tsmith\t09/01/2000\tLateral\tfirst visit\t\n");
  EXPECT_EQ(run.Err, "Total Count: 3\n");

  run = Run("list " + Quoted("PATIENT.CSV") + " --no-sort --filter-field Date --filter 2001");
  EXPECT_EQ(run.Out, "1\tSmith\t05/05/2001\tLateral\tfirst visit\t\n");
  run = Run("list " + Quoted("PATIENT.CSV") + " --filter Smith");
  EXPECT_EQ(run.Out, "1\tSmith\t05/05/2001\tLateral\tfirst visit\t\n3\tsmith\t09/01/2000\tLateral\tfirst visit\t\n");
  run = Run("list " + Quoted("PATIENT.CSV") + " --filter Smith --match-case");
  EXPECT_EQ(run.Out, "1\tSmith\t05/05/2001\tLateral\tfirst visit\t\n");
  run = Run("list " + Quoted("absent.csv"));  // not a file without matches: no file at all
  EXPECT_EQ(run.Exit, 1);
  EXPECT_TRUE(run.Err.ends_with("absent.csv: no such file\n")) << run.Err;

  EXPECT_EQ(Run("list").Exit, 2);
  EXPECT_EQ(Run("list " + Quoted("PATIENT.CSV") + " --filter-field Age --filter 1").Exit, 2);
}

TEST_F(ListCopyCommandTest, CopyAppendsInFileOrderAndReplacesOnlyWhenTold) {
  TRun run = Run("copy " + Quoted("PATIENT.CSV") + " " + Quoted("dest.csv") + " --records 3,1");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(ReadBytes(folder.File("dest.csv")), lines[0] + lines[2]);

  WriteBytes(folder.File("dest.csv"), lines[0] + "other\r\n");
  run = Run("copy " + Quoted("PATIENT.CSV") + " " + Quoted("dest.csv") + " --records 1,2");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("Smith: Radiograph is already present in the destination file."), std::string::npos);
  EXPECT_NE(run.Err.find("Error during copying. Original files have not been changed."), std::string::npos);
  EXPECT_EQ(ReadBytes(folder.File("dest.csv")), lines[0] + "other\r\n");

  run = Run("copy " + Quoted("PATIENT.CSV") + " " + Quoted("dest.csv") + " --records 1,2 --replace none");
  EXPECT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(ReadBytes(folder.File("dest.csv")), lines[0] + "other\r\n" + lines[1]);
  run = Run("copy " + Quoted("PATIENT.CSV") + " " + Quoted("dest.csv") + " --records 1,2 --replace all");
  EXPECT_EQ(ReadBytes(folder.File("dest.csv")), "other\r\n" + lines[0] + lines[1]);
  EXPECT_EQ(ReadBytes(folder.File("PATIENT.CSV")), lines[0] + lines[1] + lines[2]);

  EXPECT_EQ(Run("copy " + Quoted("PATIENT.CSV") + " " + Quoted("dest.csv") + " --records 9").Exit, 1);
  EXPECT_EQ(Run("copy " + Quoted("PATIENT.CSV") + " " + Quoted("PATIENT.CSV") + " --records 1").Exit, 1);
  EXPECT_EQ(Run("copy " + Quoted("PATIENT.CSV") + " --records 1").Exit, 2);
  EXPECT_EQ(Run("copy " + Quoted("PATIENT.CSV") + " " + Quoted("dest.csv") + " --records 1,x").Exit, 2);
}

}  // namespace
}  // namespace lumacet
