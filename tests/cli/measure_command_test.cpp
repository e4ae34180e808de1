#include <charconv>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <filesystem>
#include <string>

#include "cli/cli_runner.h"
#include "common/result_assertions.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"

namespace lumacet {
namespace {

using namespace test;

// A data file with two radiographs of the example type, digitized where the type's template
// puts its landmarks.
class MeasureCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::Succeeded(type.LoadFromTypeFile(kExample)));
    Append("Jane Roe");
    Append("John Doe");
  }
  // A radiograph with every landmark where the type's template puts it, or none at all.
  void Append(const std::string& name, bool digitized = true) {
    TXRay xray;
    xray.SetType(&type);
    xray.Name = name;
    xray.Female = true;
    xray.DateOfBirth = DayNumber(2000, 1, 1);
    xray.DateTaken = DayNumber(2012, 1, 1);
    for (size_t i = 0; digitized && i < xray.Coordinates.size(); ++i) {
      const TXRPoint& at = *type.TemplatePoints[i];
      xray.Coordinates[i]->SetXY(at.RawX(), at.RawY());
    }
    ASSERT_TRUE(AppendToDataFile(xray, data, {}).Ok());
  }
  TRun Measure(const std::string& options) {
    return RunCli(folder, "measure '" + data + "' --types '" + kExamples + "' " + options);
  }
  // A failure says why in one line and prints nothing else.
  void ExpectOneError(const TRun& run, const std::string& error) {
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Err, error + "\n");
    EXPECT_EQ(run.Out, "");
  }

  TTempFolder folder;
  const std::string data = folder.File("patients.csv");
  TXRayType type;
};

const std::string kFirstRecordText =
    "Record 1: Jane Roe: Summary (XRAY)\n"
    "Age:\t11:12\n"
    "SNA:\t82.0\u00B0\t82.0\t2.0\n"
    "SNB:\t80.6\u00B0\t80.0\t2.0\n"
    "ANB:\t1.4\u00B0\t2.0\t2.0\n"
    "Wits:\t-2.1 mm\t0.0\t1.8\n"
    "FMA:\t33.8\u00B0\t25.0\t4.5\n"
    "IMPA:\t85.2\u00B0\t90.0\t5.0\n"
    "FMIA:\t60.9\u00B0\t65.0\t2.5\n"
    "S-Go/N-Me:\t60.5 %\t63.5\t1.5\n"
    "Lower lip to E-line:\t-1.9 mm\t-2.0\t2.0\n"
    "Nasolabial angle:\t104.6\u00B0\t102.0\t8.0\n\n";

TEST_F(MeasureCommandTest, PrintsTheAnalysisTextOfEveryRecordWithTypesFromTheDataFilesFolder) {
  std::filesystem::copy_file(kExample, folder.File("lateral_ceph.lcr"));
  TRun run = RunCli(folder, "measure '" + data + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.Out.substr(0, kFirstRecordText.size()), kFirstRecordText);
  EXPECT_NE(run.Out.find("\n\nRecord 2: John Doe: Summary (XRAY)\nAge:\t11:12\n"), std::string::npos) << run.Out;
}

TEST_F(MeasureCommandTest, ChoosesRecordsByNumberOrName) {
  TRun numbers = Measure("--records 2,1");
  ASSERT_EQ(numbers.Exit, 0) << numbers.Err;
  EXPECT_EQ(numbers.Out.find("Record 2: John Doe"), 0u) << numbers.Out;
  EXPECT_NE(numbers.Out.find(kFirstRecordText), std::string::npos);

  TRun name = Measure("--name 'John Doe' --format csv");
  ASSERT_EQ(name.Exit, 0) << name.Err;
  EXPECT_EQ(std::count(name.Out.begin(), name.Out.end(), '\n'), 2) << name.Out;
  EXPECT_NE(name.Out.find("\n2,John Doe,11:12,82.0,80.6,"), std::string::npos) << name.Out;
}

TEST_F(MeasureCommandTest, GraphColumnOnRequest) {
  TRun run = Measure("--graph --analysis 'Summary' --records 1");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  // SNA: z = 0.02, the mark on the mean.
  EXPECT_NE(run.Out.find("SNA:\t.    :    :    X    :    :    .\t82.0"), std::string::npos) << run.Out;
}

TEST_F(MeasureCommandTest, TablesHaveAHeaderAndOneRowPerRecord) {
  // A type whose variable name holds a comma (data files refuse commas and quotes in names),
  // in the data file's folder.
  std::string typeText = ReadBytes(kExample);
  typeText.replace(typeText.find("\"Nasolabial angle\""), 18, "\"Nasolabial angle, soft\"");
  WriteBytes(folder.File("lateral_ceph.lcr"), typeText);
  TRun csv = RunCli(folder, "measure '" + data + "' --format csv");
  ASSERT_EQ(csv.Exit, 0) << csv.Err;
  const std::string header =
      "Record,Name,Age,SNA,SNB,ANB,Wits,FMA,IMPA,FMIA,S-Go/N-Me,Lower lip to E-line,\"Nasolabial angle, soft\"\n";
  const std::string values = ",11:12,82.0,80.6,1.4,-2.1,33.8,85.2,60.9,60.5,-1.9,104.6\n";
  EXPECT_EQ(csv.Out, header + "1,Jane Roe" + values + "2,John Doe" + values);

  TRun tsv = RunCli(folder, "measure '" + data + "' --format tsv --records 2");
  ASSERT_EQ(tsv.Exit, 0) << tsv.Err;
  EXPECT_NE(tsv.Out.find("\tNasolabial angle, soft\n2\tJohn Doe\t11:12\t82.0\t"), std::string::npos)
      << tsv.Out;
}

TEST_F(MeasureCommandTest, JsonWritesNumbersAndInvalidValuesAsNull) {
  Append("Nobody", false);
  TRun run = Measure("--format json --records 1,3");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out.find("[\n{\"record\":1,\"name\":\"Jane Roe\",\"values\":{\"Age\":\"11:12\",\"SNA\":82.0,\"SNB\":80.6,"),
            0u)
      << run.Out;
  EXPECT_NE(run.Out.find("{\"record\":3,\"name\":\"Nobody\",\"values\":{\"Age\":\"11:12\",\"SNA\":null,"),
            std::string::npos)
      << run.Out;
  EXPECT_EQ(run.Out.substr(run.Out.size() - 5), "}}\n]\n");
}

TEST_F(MeasureCommandTest, RawWritesTheGeneralFormInEveryFormat) {
  TRun text = Measure("--raw --records 1 --reference 2");
  ASSERT_EQ(text.Exit, 0) << text.Err;
  EXPECT_EQ(text.Out.find("Record 1: Jane Roe: Summary (XRAY)\nAge:\t11:12\nSNA:\t82.0308828174686\n"), 0u) << text.Out;

  TRun tsv = Measure("--raw --format tsv --records 1");
  EXPECT_NE(tsv.Out.find("\n1\tJane Roe\t11:12\t82.0308828174686\t"), std::string::npos) << tsv.Out;

  TRun json = Measure("--raw --format json --records 1");
  EXPECT_NE(json.Out.find("\"SNA\":82.0308828174686,"), std::string::npos) << json.Out;
}

TEST_F(MeasureCommandTest, RefusesBadArguments) {
  EXPECT_EQ(RunCli(folder, "measure").Exit, 2);
  EXPECT_EQ(Measure("'" + kExample + "'").Exit, 2);
  EXPECT_EQ(Measure("--reference 0").Exit, 2);
  EXPECT_EQ(Measure("--records 1,x").Exit, 2);
  EXPECT_EQ(Measure("--records 1 --name 'Jane Roe'").Exit, 2);
  EXPECT_EQ(Measure("--format xml").Exit, 2);
  EXPECT_EQ(Measure("--bogus").Exit, 2);
}

TEST_F(MeasureCommandTest, EachFailureIsOneLineAndNoOutput) {
  ExpectOneError(RunCli(folder, "measure '" + folder.File("none.csv") + "'"),
                 "File error reading " + folder.File("none.csv"));
  ExpectOneError(Measure("--records 1,9"), "Record 9 is not in " + data + ".");
  ExpectOneError(Measure("--analysis Ricketts"),
                 "Record 1: the type 'Lateral Ceph' has no analysis 'Ricketts' (it has 'Summary', 'Steiner', 'Downs', "
                 "'Tweed', 'Wits', 'Jarabak and Bj\xC3\xB6rk', 'McNamara', 'Ricketts (selection)', 'Soft tissue (Legan "
                 "and Burstone)', 'Holdaway and profile lines', 'Shape (Procrustes)').");
  ExpectOneError(Measure("--name Nobody"), "No record of " + data + " is named 'Nobody'.");
  ExpectOneError(RunCli(folder, "measure '" + data + "'"),
                 "Record 1: the radiograph type 'Lateral Ceph' is not among the type files in " + folder.Path().string() +
                     " (name another folder with --types).");

  TRun reference = Measure("--reference 3");
  EXPECT_EQ(reference.Exit, 1);
  EXPECT_EQ(std::count(reference.Err.begin(), reference.Err.end(), '\n'), 1) << reference.Err;
  EXPECT_EQ(reference.Out, "");

  WriteBytes(data, ReadBytes(data) + "garbage\r\n");
  ExpectOneError(Measure("--format json"), "Record 3 of " + data + " cannot be read: the magnification is not a number above -100.");
}

TEST_F(MeasureCommandTest, OnlyTheRecordsOfAnUnknownTypeAreAnError) {
  TXRayType frontal;
  frontal.Name = "Frontal";
  TXRay other;
  other.SetType(&frontal);
  other.Name = "Other";
  ASSERT_TRUE(AppendToDataFile(other, data, {}).Ok());
  EXPECT_EQ(Measure("--records 1,2").Exit, 0);
  EXPECT_EQ(Measure("--name 'Jane Roe'").Exit, 0);
  ExpectOneError(Measure(""), "Record 3: the radiograph type 'Frontal' is not among the type files in " + kExamples +
                                  " (name another folder with --types).");
}

}  // namespace
}  // namespace lumacet

namespace lumacet {
namespace {

using namespace test;

// Tab-separated lines split into their fields, without the record column `measure` begins with.
std::vector<std::vector<std::string>> Fields(const std::string& table, bool dropFirst) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(table);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> fields;
    std::istringstream cells(line);
    std::string cell;
    while (std::getline(cells, cell, '\t')) fields.push_back(cell);
    if (dropFirst && !fields.empty()) fields.erase(fields.begin());
    rows.push_back(fields);
  }
  return rows;
}

// Every analysis of the example type, PCA kinds among them, exports what `measure` measures.
TEST(MeasuringSharedByEveryPath, ExportWritesTheValuesMeasureMeasures) {
  TTempFolder folder;
  const std::string data = kExamples + "/PATIENT.CSV";
  for (const char* analysis : {"Summary", "Steiner", "Downs", "Tweed", "Wits", "McNamara", "Ricketts (selection)",
                               "Soft tissue (Legan and Burstone)", "Holdaway and profile lines",
                               "Shape (Procrustes)"}) {
    const std::string out = folder.File("table.txt");
    std::filesystem::remove(out);
    const TRun exported = RunCli(folder, "export '" + data + "' --type 'Lateral Ceph' --analysis '" + analysis +
                                             "' --out '" + out + "' --headers --include name --full-precision --size xray");
    ASSERT_EQ(exported.Exit, 0) << exported.Err;
    const TRun measured = RunCli(folder, "measure '" + data + "' --type 'Lateral Ceph' --analysis '" + analysis +
                                             "' --raw --format tsv");
    ASSERT_EQ(measured.Exit, 0) << measured.Err;
    EXPECT_EQ(measured.Err, "Skipped 3 records of other types.\n");
    const auto expected = Fields(measured.Out, true);
    const auto actual = Fields(ReadBytes(out), false);
    ASSERT_EQ(actual.size(), expected.size()) << analysis;
    int numbers = 0;
    for (size_t r = 0; r < actual.size(); ++r) {
      ASSERT_EQ(actual[r].size(), expected[r].size()) << analysis << " row " << r;
      for (size_t c = 0; c < actual[r].size(); ++c) {
        // from_chars, not strtod: the suite runs under a comma-decimal locale.
        const std::string& text = expected[r][c];
        double want = 0, got = 0;
        const auto parsed = std::from_chars(text.data(), text.data() + text.size(), want);
        if (r > 0 && !text.empty() && parsed.ec == std::errc() && parsed.ptr == text.data() + text.size()) {
          std::from_chars(actual[r][c].data(), actual[r][c].data() + actual[r][c].size(), got);
          EXPECT_NEAR(got, want, 1e-9 * std::max(1.0, std::abs(want)))
              << analysis << " row " << r << " " << expected[0][c];
          ++numbers;
        } else {
          EXPECT_EQ(actual[r][c], expected[r][c]) << analysis << " row " << r << " column " << c;
        }
      }
    }
    EXPECT_GT(numbers, 0) << analysis;
  }
}

TEST(MeasuringSharedByEveryPath, MeasureTakesTheRecordsOfOneType) {
  TTempFolder folder;
  const std::string data = kExamples + "/PATIENT.CSV";
  TRun run = RunCli(folder, "measure '" + data + "' --analysis Summary --format csv");
  EXPECT_EQ(run.Exit, 1);  // the frontal records have no such analysis
  run = RunCli(folder, "measure '" + data + "' --type 'Frontal Ceph' --format csv");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 4);
  EXPECT_EQ(run.Err, "Skipped 26 records of other types.\n");
  run = RunCli(folder, "measure '" + data + "' --type 'No such type'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("is of the type 'No such type'"), std::string::npos) << run.Err;
}

}  // namespace
}  // namespace lumacet
