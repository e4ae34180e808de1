// "Save Results...": the results text written whole in the files' character set, or
// nothing written at all.
#include "measure/results_file.h"

#include <gtest/gtest.h>

#include <string>

#include "model/list_elements.h"
#include "shell/temp_folder.h"
#include "variables_fixture.h"

namespace lumacet {
namespace {

constexpr int kConstant = 21;

class ResultsFileTest : public test::MeasureFixture {
 protected:
  ResultsFileTest() {
    TXRVariable* a = &AddVariable("1.5", kConstant);
    TXRVariable* b = &AddVariable("2", kConstant);
    auto* analysis = static_cast<TXRAnalysis*>(type.AddElement("Results", ekAnalysis, message));
    analysis->Points = {a, b};
    xray.SelectAnalysis("Results");
    options.ResultsDelimiter = 1;  // comma
  }

  TPresentationOptions options;
  test::TTempFolder folder;
};

TEST_F(ResultsFileTest, TheResultsAreWrittenWholeOrTheFileStaysAsItWas) {
  const std::string path = folder.File("results.txt");
  ASSERT_TRUE(WriteResults(path, xray, options).Ok);
  EXPECT_EQ(test::ReadBytes(path), "1.5,2,");
  EXPECT_FALSE(WriteResults(folder.File("missing/results.txt"), xray, options).Ok);

  // A character the file's character set cannot hold: refused, the earlier file kept.
  const TWriteResult refused = WriteTextFile(path, "\xE6\x9D\x8E\r\n");
  EXPECT_FALSE(refused.Ok);
  EXPECT_EQ(refused.Error, "The text holds characters that a Windows-1252 file cannot hold.");
  EXPECT_EQ(test::ReadBytes(path), "1.5,2,");
  ASSERT_TRUE(WriteTextFile(path, "Zo\xC3\xAB\r\n").Ok);
  EXPECT_EQ(test::ReadBytes(path), "Zo\xEB\r\n");
}

}  // namespace
}  // namespace lumacet
