#include "population/type_conversion.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "persistence/data_lines.h"
#include "population/population_fixture.h"

namespace lumacet {
namespace {

using namespace test;

class TypeConversionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oldType = test::PointType("Old", {"A", "B", "C"});
    newType = test::PointType("New", {"C", "a", "A", "D"});
    other = test::PointType("Other", {"A"});
    context.Types = test::Resolver({oldType.get(), newType.get(), other.get()});
    table.SetSourceType(*oldType);
    table.SetTargetType(*newType);
    options.SourceFile = source;
    options.TargetFile = target;
    options.SourceType = "Old";
    options.TargetType = "New";
  }
  TConversionResult Convert(const TProgress& progress = {}) {
    options.Correspondences = table.Rows();
    return ConvertType(options, context, progress);
  }
  // Record n of the target, read back as a radiograph of the new type.
  std::unique_ptr<TXRay> Converted(int n) {
    auto xray = std::make_unique<TXRay>();
    EXPECT_EQ(LoadFromDataFile(*xray, target, n, context.Types, {}), lsLoaded);
    return xray;
  }
  static std::string Point(const TXRay& xray, size_t i) {
    const TDigPoint& p = *xray.Coordinates[i];
    return p.XSet() && p.YSet() ? std::to_string(int(p.RawX())) + "," + std::to_string(int(p.RawY())) : "nil";
  }

  TTempFolder folder;
  const std::string source = folder.File("old.csv");
  const std::string target = folder.File("new.csv");
  std::unique_ptr<TXRayType> oldType, newType, other;
  TCorrespondenceTable table;
  TConversionContext context;
  TTypeConversionOptions options;
};

TEST_F(TypeConversionTest, MatchesPointsByExactNameAndTakesHandMadeCorrespondences) {
  ASSERT_EQ(table.Rows().size(), 4u);
  EXPECT_EQ(table.Choices(), (std::vector<std::string>{"<none>", "A", "B", "C"}));
  EXPECT_EQ(table.Rows()[0].Source, "C");
  EXPECT_EQ(table.Rows()[1].Source, "<none>");  // "a" is not "A"
  EXPECT_EQ(table.Rows()[2].Source, "A");
  EXPECT_EQ(table.Rows()[3].Source, "<none>");
  EXPECT_TRUE(table.Assign("D", "B"));
  EXPECT_TRUE(table.Assign(1, "A"));
  EXPECT_FALSE(table.Assign("D", "Z"));
  EXPECT_FALSE(table.Assign("Z", "A"));
  EXPECT_FALSE(table.Assign(4, "A"));
  EXPECT_EQ(table.Rows()[3].Source, "B");
  table.AutoMatch();
  EXPECT_EQ(table.Rows()[3].Source, "<none>");
}

TEST_F(TypeConversionTest, RewritesRecordsPointByPointAndLeavesTheSourceAlone) {
  auto first = Radiograph(*oldType, "Jane Roe", {{{10, 11}}, {{20, 21}}, std::nullopt});
  first->ImageFile = "/images/jane.jpg";
  first->ImageRotation = 0.25;
  first->ImageOriginX = 12.5;
  first->ImageOriginY = -3;
  first->PixelWidth = 0.1;
  first->PixelHeight = 0.2;
  first->Magnification = 8;
  Append(*first, source);
  auto stranger = Radiograph(*other, "Someone Else", {{{1, 1}}});
  Append(*stranger, source);
  Append(*Radiograph(*oldType, "John Doe", {{{30, 31}}, {{40, 41}}, {{50, 51}}}), source);
  const std::string before = ReadBytes(source);
  table.Assign("D", "B");
  table.Assign("a", "A");  // one source point feeds two target points
  options.Records = {3, 2, 1};

  TConversionResult result = Convert();
  ASSERT_TRUE(result.Ok) << result.Message << result.Reason;
  EXPECT_EQ(result.Converted, 2);
  EXPECT_EQ(result.Message, "Total radiographs converted: 2");
  EXPECT_EQ(ReadBytes(source), before);

  auto john = Converted(1);
  EXPECT_EQ(john->Name, "John Doe");
  EXPECT_EQ(Point(*john, 0), "50,51");
  EXPECT_EQ(Point(*john, 1), "30,31");
  EXPECT_EQ(Point(*john, 2), "30,31");
  EXPECT_EQ(Point(*john, 3), "40,41");
  auto jane = Converted(2);
  EXPECT_EQ(Point(*jane, 0), "nil");
  EXPECT_EQ(Point(*jane, 3), "20,21");
  EXPECT_EQ(jane->ImageFile, "/images/jane.jpg");
  EXPECT_DOUBLE_EQ(jane->ImageRotation, 0.25);
  EXPECT_DOUBLE_EQ(jane->ImageOriginX, 12.5);
  EXPECT_DOUBLE_EQ(jane->ImageOriginY, -3);
  EXPECT_DOUBLE_EQ(jane->PixelWidth, 0.1);
  EXPECT_DOUBLE_EQ(jane->PixelHeight, 0.2);
  EXPECT_DOUBLE_EQ(jane->Magnification, 8);
}

TEST_F(TypeConversionTest, ConvertingIntoTheSameTypeCopiesRecordsByteForByte) {
  Append(*Radiograph(*oldType, "Jane Roe", {{{10.125, 11}}, std::nullopt, {{-3, 4.5}}}), source);
  Append(*Radiograph(*oldType, "John Doe", {{{1, 2}}, {{3, 4}}, {{5, 6}}}), source);
  WriteBytes(target, "first line");
  options.TargetType = "Old";
  table.SetTargetType(*oldType);
  options.Records = {1, 2};
  ASSERT_TRUE(Convert().Ok);
  EXPECT_EQ(ReadBytes(target), "first line\r\n" + ReadBytes(source));
}

TEST_F(TypeConversionTest, CountsSelectedRecordsThatCannotBeReadAndNeverReusesALine) {
  Append(*Radiograph(*oldType, "Jane Roe", {{{1, 2}}}), source);
  options.Records = {1, 7};
  TConversionResult result = Convert();
  EXPECT_EQ(result.Converted, 1);
  EXPECT_EQ(result.Unreadable, 1);
  EXPECT_EQ(result.Message, "Total radiographs converted: 1; 1 records could not be read");
  EXPECT_EQ(Lines(ReadBytes(target)).size(), 1u);
}

TEST_F(TypeConversionTest, RefusesBeforeWritingAnything) {
  Append(*Radiograph(*oldType, "Jane Roe", {{{1, 2}}}), source);
  const std::string before = ReadBytes(source);
  auto refused = [&](const std::string& message) {
    TConversionResult result = Convert();
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Message, message);
    EXPECT_EQ(ReadBytes(source), before);
    EXPECT_FALSE(std::filesystem::exists(target));
  };
  refused("No radiographs have been selected.");
  options.Records = {1};
  std::filesystem::create_symlink(source, folder.File("link.csv"));
  options.TargetFile = folder.File("link.csv");
  refused("Source and Destination files are the same.");
  options.TargetFile = source;
  refused("Source and Destination files are the same.");
  options.TargetFile.clear();
  refused("No Destination file has been selected.");
  options.TargetFile = target;
  options.TargetType = "Other";  // the table was made for "New"
  refused("The point correspondences do not match the points of the target type.");
  options.TargetType = "Missing";
  refused("The radiograph type 'Missing' could not be found.");
  // Two of the four new points take an old one: half, which the default accepts, but not
  // when every point must be carried over.
  options.TargetType = "New";
  options.MinimumCarried = 1;
  refused("Only 2 of the 4 points of 'New' take a point of 'Old' (at least 100% must): nothing was converted.");
  options.MinimumCarried = 0.75;
  refused("Only 2 of the 4 points of 'New' take a point of 'Old' (at least 75% must): nothing was converted.");
  options.MinimumCarried = 0.5;
  EXPECT_TRUE(Convert().Ok);
}

TEST_F(TypeConversionTest, CancelledOrFailedRunsLeaveTheTargetAsItWas) {
  Append(*Radiograph(*oldType, "Jane Roe", {{{1, 2}}}), source);
  Append(*Radiograph(*oldType, "John Doe", {{{1, 2}}}), source);
  WriteBytes(target, "kept\r\n");
  options.Records = {1, 2};
  int calls = 0;
  TConversionResult result = Convert([&](const std::string&) { return ++calls < 2; });
  EXPECT_TRUE(result.Cancelled);
  EXPECT_EQ(result.Converted, 0);
  EXPECT_EQ(ReadBytes(target), "kept\r\n");

  ::chmod(target.c_str(), 0444);
  result = Convert();
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Message, "Error saving radiograph.");
  EXPECT_EQ(ReadBytes(target), "kept\r\n");
}

}  // namespace
}  // namespace lumacet
