#include "population/landmark_export.h"

#include <gtest/gtest.h>

#include "population/population_fixture.h"

namespace lumacet {
namespace {

using namespace test;

class LandmarkExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    type = test::PointType("Tiny", {"S", "N", "Me"});
    test::AddDrawing(*type, "Base", {"N", "S"});
    context.Types = test::Resolver({type.get()});
    auto first = Radiograph(*type, "Jane Roe", {{{10, 20}}, {{30.25, 40}}, {{50, 60}}});
    first->ImageFile = "/scans/jane.jpg";
    Append(*first, source);
    Append(*Radiograph(*type, "John Doe", {{{1, 2}}, std::nullopt, {{5, 6}}}), source);
    Append(*Radiograph(*type, "Ann Lee", {{{7, 8}}, {{9, 10}}, {{11, 12}}}), source);
    options.SourceFile = source;
    options.TargetFile = target;
    options.TypeName = "Tiny";
    options.ReflectY = false;
  }
  TLandmarkExportResult Run() { return ExportLandmarks(options, context, {}); }

  TTempFolder folder;
  const std::string source = folder.File("data.csv");
  const std::string target = folder.File("shapes.tps");
  std::unique_ptr<TXRayType> type;
  TLandmarkContext context;
  TLandmarkExportOptions options;
};

TEST_F(LandmarkExportTest, WritesATpsBlockPerCompleteConfiguration) {
  WriteBytes(target, "replaced entirely");
  TLandmarkExportResult result = Run();
  ASSERT_TRUE(result.Ok) << result.Message << result.Reason;
  EXPECT_EQ(result.Exported, 2);
  EXPECT_EQ(result.Incomplete, 1);
  EXPECT_EQ(result.Message,
            "Total radiographs exported to file: 2; 1 radiographs with missing landmarks were left out\r\n"
            "Life size (LIFE)");
  EXPECT_EQ(ReadBytes(target),
            "LM=3\r\n10 20\r\n30.25 40\r\n50 60\r\nIMAGE=jane.jpg\r\nID=1\r\nSCALE=0.1\r\n"
            "LM=3\r\n7 8\r\n9 10\r\n11 12\r\nID=3\r\nSCALE=0.1\r\n");
}

TEST_F(LandmarkExportTest, WritesAMorphoJTableOfTheChosenDrawingsPoints) {
  options.Format = TLandmarkFormat::MorphoJ;
  options.Points = TLandmarkSet::Drawing;
  options.Element = "Base";
  ASSERT_TRUE(Run().Ok);
  EXPECT_EQ(ReadBytes(target),
            "ID\tx1\ty1\tx2\ty2\r\n"
            "Jane Roe 2012-01-01\t30.25\t40\t10\t20\r\n"
            "Ann Lee 2012-01-01\t9\t10\t7\t8\r\n");
  options.Element = "Gone";
  EXPECT_EQ(Run().Message, "The radiograph type has no drawing or shape analysis 'Gone'.");
}

TEST_F(LandmarkExportTest, ReflectsSoThatYGrowsUpwards) {
  options.ReflectY = true;
  options.Format = TLandmarkFormat::MorphoJ;
  ASSERT_TRUE(Run().Ok);
  // Jane's points span y 20..60, padded to 16..64: the mirror row is 40.
  EXPECT_NE(ReadBytes(target).find("Jane Roe 2012-01-01\t10\t60\t30.25\t40\t50\t20\r\n"), std::string::npos)
      << ReadBytes(target);
}

TEST_F(LandmarkExportTest, RefusesTheSourceAsTargetAndKeepsItUnchanged) {
  const std::string before = ReadBytes(source);
  options.TargetFile = source;
  TLandmarkExportResult result = Run();
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Message, "Source and Destination files are the same.");
  EXPECT_EQ(ReadBytes(source), before);
}

}  // namespace
}  // namespace lumacet
