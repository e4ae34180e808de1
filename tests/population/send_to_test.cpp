#include "population/send_to.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/result_assertions.h"
#include "persistence/data_file.h"
#include "population/population_fixture.h"

namespace lumacet {
namespace {

using namespace test;

// The first lateral radiograph of the example data with the "Summary" analysis.
class SendToTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::Succeeded(type.LoadFromTypeFile(test::kExamples + "/lateral_ceph.lcr")));
    ASSERT_EQ(LoadFromDataFile(xray, test::kExampleData, 1, test::Resolver({&type}), {}), lsLoaded);
    xray.SelectAnalysis("Summary");
    presentation.Measure.Formats.DecimalSeparator = ',';
  }
  TXRayType type;
  TXRay xray;
  TPresentationOptions presentation;
};

TEST_F(SendToTest, SheetRowsAndParagraphsFollowTheNameAndNormalsChoices) {
  // A variable with a norm: name, value, mean and SD.
  const TWorkbookSheet full = SendToSheet(xray, {}, presentation);
  std::size_t normed = 0;
  while (normed < full.Rows.size() && full.Rows[normed].size() != 4) ++normed;
  ASSERT_LT(normed, full.Rows.size());
  struct TCase {
    bool Names, Normals;
    std::size_t Cells;
  };
  for (const TCase& c : {TCase{true, true, 4}, TCase{false, true, 3}, TCase{true, false, 2}, TCase{false, false, 1}}) {
    SCOPED_TRACE(std::to_string(c.Names) + std::to_string(c.Normals));
    const TSendToOptions options{c.Names, c.Normals, true, 3, 2};
    const TWorkbookSheet sheet = SendToSheet(xray, options, presentation);
    const std::vector<std::string> paragraphs = SendToParagraphs(xray, options, presentation);
    ASSERT_EQ(sheet.Rows.size(), full.Rows.size());
    EXPECT_EQ(sheet.Rows.size(), paragraphs.size());
    EXPECT_EQ(sheet.FirstRow, 2);
    EXPECT_EQ(sheet.FirstColumn, 1);
    EXPECT_TRUE(sheet.Headers.empty());
    const TWorkbookRow& row = sheet.Rows[normed];
    ASSERT_EQ(row.size(), c.Cells);
    // Values read in the user's notation become numbers; names stay text.
    for (std::size_t i = c.Names ? 1 : 0; i < row.size(); ++i) EXPECT_EQ(row[i].Kind, TWorkbookCell::TKind::Number) << "[" << row[i].Text << "]";
    if (c.Names) {
      EXPECT_EQ(row[0].Kind, TWorkbookCell::TKind::Text);
    }
    // One tab between the fields and none at the end.
    const std::string& paragraph = paragraphs[normed];
    EXPECT_EQ(static_cast<std::size_t>(std::count(paragraph.begin(), paragraph.end(), '\t')), c.Cells - 1)
        << paragraph;
    EXPECT_NE(paragraph.find(','), std::string::npos) << paragraph;
  }
}

TEST_F(SendToTest, NothingIsSentWithoutAnAnalysis) {
  xray.CurrentAnalysis = nullptr;
  EXPECT_TRUE(SendToSheet(xray, {}, presentation).Rows.empty());
  EXPECT_TRUE(SendToParagraphs(xray, {}, presentation).empty());
}

TEST(NewDocumentPathTest, NamesAreSafeStampedAndNeverTaken) {
  TTempFolder folder;
  const std::time_t now = 1700000000;
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "-%Y%m%d-%H%M%S", &local);
  const std::string dir = folder.Path().string();
  struct TCase {
    std::string Name, Expected;
  };
  for (const TCase& c : {TCase{"Jones", "Jones"}, TCase{"../etc/x", ".._etc_x"}, TCase{"a\\b\tc", "a_b_c"},
                         TCase{"", "Lumacet"}, TCase{"..", "Lumacet"}}) {
    EXPECT_EQ(NewDocumentPath(dir, c.Name, "odt", now), dir + "/" + c.Expected + stamp + ".odt") << c.Name;
  }
  const std::string first = NewDocumentPath(dir, "Jones", "xlsx", now);
  WriteBytes(first, "taken");
  EXPECT_EQ(NewDocumentPath(dir, "Jones", "xlsx", now), dir + "/Jones" + stamp + "-2.xlsx");
}

}  // namespace
}  // namespace lumacet
