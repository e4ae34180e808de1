#include "population/measurement_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "common/result_assertions.h"
#include "population/population_fixture.h"

namespace lumacet {
namespace {

using namespace test;

const std::string kLateral = "Lateral Ceph";

// The example type and data file: 26 lateral and 3 frontal radiographs.
class ExampleExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::Succeeded(type.LoadFromTypeFile(test::kExamples + "/lateral_ceph.lcr")));
    context.Types = test::Resolver({&type});
    options.SourceFile = test::kExampleData;
    options.TargetFile = target;
    options.TypeName = kLateral;
    options.Analysis = "Summary";
  }
  TExportResult Run(const TProgress& progress = {}) { return ExportDataFile(options, context, progress); }

  TTempFolder folder;
  const std::string target = folder.File("table.txt");
  TXRayType type;
  TExportContext context;
  TMeasurementExportOptions options;
};

TEST_F(ExampleExportTest, WritesOneRecordPerRadiographOfTheTypeAfterTheHeaderLine) {
  options.Headers = true;
  options.Include.Name = true;
  options.Include.Age = true;
  options.Include.Sex = true;
  TExportResult result = Run();
  ASSERT_TRUE(result.Ok) << result.Message << result.Reason;
  EXPECT_EQ(result.Exported, 26);
  EXPECT_EQ(result.Message, "Total radiographs exported to file: 26\r\nLife size (LIFE)");
  const std::vector<std::string> lines = Lines(ReadBytes(target));
  ASSERT_EQ(lines.size(), 27u);
  // The patient's age stands beside the analysis's own "Age" under a name of its own.
  EXPECT_EQ(lines[0],
            "Name\tAge (years)\tSex\tAge\tSNA\tSNB\tANB\tWits\tFMA\tIMPA\tFMIA\tS-Go/N-Me\tLower lip to E-line\t"
            "Nasolabial angle");
  EXPECT_TRUE(lines[1].starts_with("Emma Lindqvist\t9.496\tF\t9:6\t82.4\t")) << lines[1];
}

TEST_F(ExampleExportTest, AppendsToWhatTheTargetHeldWithoutASecondHeaderLine) {
  WriteBytes(target, "earlier line without a break");
  options.Headers = true;
  ASSERT_TRUE(Run().Ok);
  ASSERT_TRUE(Run().Ok);
  const std::vector<std::string> lines = Lines(ReadBytes(target));
  // The file held a line already: a header now would read as a record among the others.
  ASSERT_EQ(lines.size(), 1u + 2 * 26);
  EXPECT_EQ(lines[0], "earlier line without a break");
  EXPECT_EQ(lines[1], lines[27]);
  EXPECT_FALSE(lines[1].starts_with("Age\tSNA\t"));
}

TEST_F(ExampleExportTest, FiltersVariablesByShowInAndLabelsAndWritesFullPrecisionOnRequest) {
  auto* sna = static_cast<TXRVariable*>(type.FindElement("SNA", ekVariable));
  auto* label = static_cast<TXRVariable*>(type.FindElement("Age", ekVariable));
  ASSERT_NE(sna, nullptr);
  ASSERT_NE(label, nullptr);
  sna->ShowIn = 0;    // display only
  label->SetKind(0);  // "Label"
  options.Headers = true;
  ASSERT_TRUE(Run().Ok);
  EXPECT_TRUE(Lines(ReadBytes(target))[0].starts_with("SNB\tANB\t"));

  std::filesystem::remove(target);
  options.Variables = TExportVariables::All;
  options.SkipLabels = false;
  options.FullPrecision = true;
  ASSERT_TRUE(Run().Ok);
  const std::vector<std::string> lines = Lines(ReadBytes(target));
  EXPECT_TRUE(lines[0].starts_with("Age\tSNA\tSNB\t")) << lines[0];
  // 15 significant digits instead of "82.4".
  EXPECT_NE(lines[1].find("\t82.3518816129323\t"), std::string::npos) << lines[1];
}

TEST_F(ExampleExportTest, QuotesFieldsHoldingTheDelimiter) {
  options.Delimiter = "/";
  options.Include.DateTaken = true;
  options.Include.Name = true;
  options.Analysis = "Summary";
  ASSERT_TRUE(Run().Ok);
  EXPECT_TRUE(Lines(ReadBytes(target))[0].starts_with("Emma Lindqvist/\"13/09/2018\"/9:6/")) << ReadBytes(target);

  std::filesystem::remove(target);
  options.Delimiter = " ";
  ASSERT_TRUE(Run().Ok);
  EXPECT_TRUE(Lines(ReadBytes(target))[0].starts_with("\"Emma Lindqvist\" 13/09/2018 9:6 "));
}

TEST_F(ExampleExportTest, RefusesMissingFilesBadDelimitersAndUnknownElements) {
  auto refused = [&](const std::string& message) {
    TExportResult result = Run();
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Message, message);
    EXPECT_FALSE(std::filesystem::exists(target));
  };
  options.Delimiter = "";
  refused("No delimiter has been given.");
  options.Delimiter = ",";
  context.Presentation.Measure.Formats.DecimalSeparator = ',';
  refused("The delimiter character is the same as the decimal separator.");
  options.Delimiter = ";";
  options.Analysis = "Nope";
  refused("The radiograph type has no analysis 'Nope'.");
  options.Data = TExportData::PointCoordinates;
  options.Drawing = "Nope";
  refused("The radiograph type has no drawing 'Nope'.");
  options.TypeName = "Nope";
  refused("The radiograph type 'Nope' could not be found.");
  options.TargetFile.clear();
  refused("Source and Destination files have not been selected.");
}

TEST_F(ExampleExportTest, NeverWritesIntoTheFileItReads) {
  const std::string data = folder.File("PATIENT.CSV");
  std::filesystem::copy_file(test::kExampleData, data);
  const std::string before = ReadBytes(data);
  options.SourceFile = data;
  std::filesystem::create_symlink(data, folder.File("link.csv"));
  ASSERT_EQ(::link(data.c_str(), folder.File("hard.csv").c_str()), 0);
  const std::string relative = std::filesystem::relative(data).string();
  for (const std::string& same :
       {data, folder.File("link.csv"), folder.File("hard.csv"), folder.File(".//PATIENT.CSV"), relative}) {
    options.TargetFile = same;
    TExportResult result = Run();
    EXPECT_FALSE(result.Ok) << same;
    EXPECT_EQ(result.Message, "Source and Destination files are the same.");
  }
  EXPECT_EQ(ReadBytes(data), before);
}

TEST_F(ExampleExportTest, CancelledOrFailedRunsLeaveTheTargetAsItWas) {
  WriteBytes(target, "kept\r\n");
  int records = 0;
  TExportResult result =
      Run([&](const std::string& status) { return !status.starts_with("Exporting: ") || ++records < 5; });
  EXPECT_TRUE(result.Cancelled);
  EXPECT_EQ(result.Exported, 0);
  EXPECT_EQ(ReadBytes(target), "kept\r\n");

  options.SourceFile = folder.File("missing.csv");
  result = Run();
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Message, "File error. File may be in use.");
  EXPECT_EQ(ReadBytes(target), "kept\r\n");

  options.SourceFile = test::kExampleData;
  ::chmod(target.c_str(), 0444);
  result = Run();
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Message, "File error. File may be in use.");
  EXPECT_EQ(ReadBytes(target), "kept\r\n");
}

TEST_F(ExampleExportTest, ReportsRecordsOfTheTypeThatCouldNotBeReadAndPassesOverOtherTypes) {
  const std::string data = folder.File("mixed.csv");
  std::string content = ReadBytes(test::kExampleData);
  // A lateral record whose magnification cannot be read.
  std::string broken = Lines(content)[0];
  broken.replace(broken.find(",8.   ,"), 7, ",xx   ,");
  WriteBytes(data, content + broken + "\r\n");
  options.SourceFile = data;
  TExportResult result = Run();
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(result.Exported, 26);
  EXPECT_EQ(result.Unreadable, 1);
  EXPECT_EQ(result.Message, "Total radiographs exported to file: 26; 1 records could not be read\r\nLife size (LIFE)");

  options.TypeName = "Frontal Ceph";
  options.Analysis = "Frontal";
  TXRayType frontal;
  ASSERT_TRUE(test::Succeeded(frontal.LoadFromTypeFile(test::kExamples + "/frontal_ceph.lcr")));
  context.Types = test::Resolver({&type, &frontal});
  std::filesystem::remove(target);
  result = Run();
  EXPECT_EQ(result.Exported, 3);
  EXPECT_EQ(Lines(ReadBytes(target)).size(), 3u);
}

// Point coordinates of a small type whose points are placed exactly.
class PointExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    type = test::PointType("Tiny", {"Sella", "N", "Me"});
    test::AddDrawing(*type, "Profile", {"Sella", "N"});
    options.Data = TExportData::PointCoordinates;
    options.Drawing = "Profile";
    options.ReflectY = false;
  }
  std::optional<std::string> Record(TXRay& xray) { return ExportRecord(xray, options, presentation); }

  std::unique_ptr<TXRayType> type;
  TMeasurementExportOptions options;
  TPresentationOptions presentation;
};

TEST_F(PointExportTest, WritesEachPointOnALineOfItsOwnAfterThePatientFields) {
  auto xray = Radiograph(*type, "Jane Roe", {{{123.45678, 200}}, {{-0.00004, 7.5}}});
  EXPECT_EQ(Record(*xray), "123.4568\t200\r\n0\t7.5\r\n");
  options.Include.Name = true;
  EXPECT_EQ(Record(*xray), "Jane Roe\r\n123.4568\t200\r\n0\t7.5\r\n");
  options.PointPerLine = false;
  EXPECT_EQ(Record(*xray), "Jane Roe\t123.4568\t200\t0\t7.5\r\n");
  presentation.Measure.Formats.DecimalSeparator = ',';
  EXPECT_EQ(Record(*xray), "Jane Roe\t123,4568\t200\t0\t7,5\r\n");
}

TEST_F(PointExportTest, SkipsOrMarksRadiographsWithMissingPoints) {
  auto xray = Radiograph(*type, "Jane Roe", {std::nullopt, {{1, 2}}});
  EXPECT_EQ(Record(*xray), std::nullopt);
  options.SkipMissingPoints = false;
  options.PointPerLine = false;
  EXPECT_EQ(Record(*xray), "nil\tnil\t1\t2\r\n");
  options.Drawing = "Gone";
  EXPECT_EQ(Record(*xray), std::nullopt);
}

TEST_F(PointExportTest, ReflectsAllPointsAboutTheMiddleOfTheirBounds) {
  auto xray = Radiograph(*type, "Jane Roe", {{{0, 100}}, {{10, 300}}, {{20, 200}}});
  options.ReflectY = true;
  options.PointPerLine = false;
  // Padded bounds of the three points run from 80 to 320: the mirror row is 200.
  EXPECT_EQ(Record(*xray), "0\t300\t10\t100\r\n");
}

TEST_F(PointExportTest, HeaderLinesNameEveryPointAndCanBeAbbreviated) {
  options.Include.DateOfBirth = true;
  options.Include.Magnification = true;
  EXPECT_EQ(ExportHeaderLine(*type, options), "Date of Birth\tMagnification\tX Sella\tY Sella\tX N\tY N\r\n");
  options.AbbreviatedHeaders = true;
  EXPECT_EQ(ExportHeaderLine(*type, options), "DateofBi\tMagnific\tXSella\tYSella\tXN\tYN\r\n");
  // A drawing without points leaves the delimiter after the last patient header.
  test::AddDrawing(*type, "Empty", {});
  options.Drawing = "Empty";
  EXPECT_EQ(ExportHeaderLine(*type, options), "DateofBi\tMagnific\t\r\n");
}

TEST_F(PointExportTest, PatientFieldsComeInTheirFixedOrderAndForm) {
  options.Include = {true, true, true, true, true, true, true, true};
  options.PointPerLine = false;
  auto xray = Radiograph(*type, "Jane Roe", {{{1, 2}}, {{3, 4}}});
  xray->DateOfBirth = DayNumber(2000, 1, 1);
  xray->DateTaken = xray->DateOfBirth + 3654;
  xray->Magnification = 10;
  xray->Comments = "first visit";
  presentation.Measure.Formats.AgeFormat = 0;  // the export writes fractional years anyway
  EXPECT_EQ(Record(*xray),
            "Jane Roe\t10.000\tF\t1\t01/01/2000\t02/01/2010\t 1.00000000000000E+0001\tfirst visit\t1\t2\t3\t4\r\n");
  EXPECT_EQ(
      ExportHeaderLine(*type, options),
      "Name\tAge\tSex\tSexNum\tDate of Birth\tDate Taken\tMagnification\tComments\tX Sella\tY Sella\tX N\tY N\r\n");
}

TEST_F(PointExportTest, DatesNeverEnteredAreLeftEmptyAndSoIsTheAgeFromThem) {
  options.Include = {false, true, false, false, true, true, false, false};
  options.PointPerLine = false;
  auto xray = Radiograph(*type, "Jane Roe", {{{1, 2}}, {{3, 4}}});
  xray->DateOfBirth = 0;
  xray->DateTaken = DayNumber(2010, 1, 2);
  EXPECT_EQ(Record(*xray), "\t\t02/01/2010\t1\t2\t3\t4\r\n");
  xray->DateOfBirth = DayNumber(2000, 1, 1);
  xray->DateTaken = 0;
  EXPECT_EQ(Record(*xray), "\t01/01/2000\t\t1\t2\t3\t4\r\n");
}

TEST_F(PointExportTest, EveryColumnHasANameOfItsOwn) {
  options.Include.Age = true;
  test::AddDrawing(*type, "Twice", {"Sella", "Sella"});
  options.Drawing = "Twice";
  EXPECT_EQ(ExportHeaderLine(*type, options), "Age\tX Sella\tY Sella\tX Sella (2)\tY Sella (2)\r\n");
}

TEST(ExportMagnificationTest, WritesFifteenDigitsAndAFourDigitExponent) {
  EXPECT_EQ(ExportMagnification(10), " 1.00000000000000E+0001");
  EXPECT_EQ(ExportMagnification(0), " 0.00000000000000E+0000");
  EXPECT_EQ(ExportMagnification(-5.5), "-5.50000000000000E+0000");
  EXPECT_EQ(ExportMagnification(0.125), " 1.25000000000000E-0001");
  // The table's decimal separator, like every other number of it.
  EXPECT_EQ(ExportMagnification(-5.5, ','), "-5,50000000000000E+0000");
}

}  // namespace
}  // namespace lumacet
