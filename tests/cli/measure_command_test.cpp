#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cli/cli_runner.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"

namespace lumacet {
namespace {

using test::ReadBytes;
using test::RunCli;
using test::TRun;
using test::TTempFolder;
using test::WriteBytes;

const std::string kExample = std::string(LUMACET_SOURCE_DIR) + "/examples/lateral_ceph.lcr";

// A data file with two radiographs of the example type, digitized where the type's template
// puts its landmarks, and one radiograph of another type between them.
class MeasureCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string message;
    ASSERT_TRUE(type.LoadFromTypeFile(kExample, message)) << message;
    Append("Jane Roe");
    TXRayType frontal;
    frontal.Name = "Frontal";
    TXRay other;
    other.SetType(&frontal);
    other.Name = "Other";
    ASSERT_TRUE(AppendToDataFile(other, data, {}).Ok);
    Append("John Doe");
  }
  // A radiograph with every landmark where the type's template puts it.
  void Append(const std::string& name) {
    TXRay xray;
    xray.SetType(&type);
    xray.Name = name;
    xray.Female = true;
    xray.DateOfBirth = DayNumber(2000, 1, 1);
    xray.DateTaken = DayNumber(2012, 1, 1);
    for (size_t i = 0; i < xray.Coordinates.size(); ++i) {
      const TXRPoint& at = *type.TemplatePoints[i];
      xray.Coordinates[i]->SetXY(at.RawX(), at.RawY());
    }
    ASSERT_TRUE(AppendToDataFile(xray, data, {}).Ok);
  }

  TTempFolder folder;
  const std::string data = folder.File("patients.csv");
  TXRayType type;
};

TEST_F(MeasureCommandTest, PrintsTheAnalysisTextOfEveryRecordOfTheType) {
  TRun run = RunCli(folder, "measure '" + data + "' '" + kExample + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Err, "Measured: 2, other types: 1\n");
  const std::string firstRecord =
      "Record 1: Jane Roe: Summary\n"
      "Age:\t11:12\n"
      "SNA:\t82.0\u00B0\t82.0\t2.0\n"
      "SNB:\t80.6\u00B0\t80.0\t2.0\n"
      "ANB:\t1.4\u00B0\t2.0\t2.0\n"
      "Wits:\t-2.1 mm\t0.0\t1.8\n"
      "FMA:\t25.7\u00B0\t25.0\t4.5\n"
      "IMPA:\t93.4\u00B0\t90.0\t5.0\n"
      "FMIA:\t60.9\u00B0\t65.0\t2.5\n"
      "S-Go/N-Me:\t66.2 %\t63.5\t1.5\n"
      "Lower lip to E-line:\t-1.9 mm\t-2.0\t2.0\n"
      "Nasolabial angle:\t104.6\u00B0\t102.0\t8.0\n\n";
  EXPECT_EQ(run.Out.substr(0, firstRecord.size()), firstRecord);
  EXPECT_NE(run.Out.find("Record 3: John Doe: Summary\n"), std::string::npos) << run.Out;
}

TEST_F(MeasureCommandTest, PrintsEveryVariablesValueAndUsesAReferenceRecord) {
  TRun run = RunCli(folder, "measure '" + data + "' '" + kExample + "' --values --reference 1");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_NE(run.Out.find("Record 1: Jane Roe\nAge\t11:12\nSNA\t82.0308828174686\n"), std::string::npos) << run.Out;
  EXPECT_NE(run.Out.find("Age\t11:12\n"), std::string::npos);
}

TEST_F(MeasureCommandTest, GraphColumnOnRequest) {
  TRun run = RunCli(folder, "measure --graph '" + data + "' '" + kExample + "' --analysis 'Summary'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  // SNA: z = 0.02, the mark on the mean.
  EXPECT_NE(run.Out.find("SNA:\t.    :    :    X    :    :    .\t82.0"), std::string::npos) << run.Out;
}

TEST_F(MeasureCommandTest, UnreadableRecordsAreReportedAndTheRestMeasured) {
  WriteBytes(data, ReadBytes(data) + "garbage\r\n");
  TRun run = RunCli(folder, "measure '" + data + "' '" + kExample + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("Record 4 cannot be read"), std::string::npos) << run.Err;
  EXPECT_NE(run.Out.find("Record 3: John Doe"), std::string::npos);
}

TEST_F(MeasureCommandTest, RefusesWhatItCannotUse) {
  EXPECT_EQ(RunCli(folder, "measure '" + data + "'").Exit, 2);
  EXPECT_EQ(RunCli(folder, "measure '" + data + "' '" + kExample + "' --reference 0").Exit, 2);
  EXPECT_EQ(RunCli(folder, "measure '" + data + "' '" + kExample + "' --bogus").Exit, 2);

  TRun missing = RunCli(folder, "measure '" + folder.File("none.csv") + "' '" + kExample + "'");
  EXPECT_EQ(missing.Exit, 1);
  EXPECT_EQ(missing.Err, "File error reading " + folder.File("none.csv") + "\n");
  EXPECT_EQ(missing.Out, "");

  TRun analysis = RunCli(folder, "measure '" + data + "' '" + kExample + "' --analysis Ricketts");
  EXPECT_EQ(analysis.Exit, 1);
  EXPECT_EQ(analysis.Err, "The type 'Lateral Ceph' has no analysis 'Ricketts'.\n");

  TRun reference = RunCli(folder, "measure '" + data + "' '" + kExample + "' --reference 2");
  EXPECT_EQ(reference.Exit, 1);
  EXPECT_EQ(reference.Out, "");
}

}  // namespace
}  // namespace lumacet
