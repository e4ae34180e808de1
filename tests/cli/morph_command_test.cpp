#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/cli_runner.h"

namespace lumacet {
namespace {

using namespace test;

// The example patients and the image of the first two records, copied so that --save has
// a file of its own to rewrite.
class MorphCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(kExamples + "/PATIENT.CSV", data);
    std::filesystem::copy_file(kExamples + "/emma_lindqvist_2018.jpg", folder.File("emma_lindqvist_2018.jpg"));
    original = ReadBytes(data);
  }
  TRun Run(const std::string& options) {
    return RunCli(folder, "morph '" + data + "' --types '" + kExamples + "' " + options);
  }

  TTempFolder folder;
  const std::string data = folder.File("patients.csv");
  std::string original;
};

TEST_F(MorphCommandTest, WritesTheMorphedImageAndLinksItOnlyWhenTold) {
  const std::string out = folder.File("morphed.jpg");
  for (const char* method : {"", " --function triangle", " --function scurve --quality low"}) {
    SCOPED_TRACE(method);
    std::filesystem::remove(out);
    const TRun run = Run("--source 1 --target 2 --out '" + out + "'" + method);
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out, "Morphed image written to " + out + "\n");
    EXPECT_GT(std::filesystem::file_size(out), 1000u);
    EXPECT_EQ(ReadBytes(data), original);
  }
  const TRun saved = Run("--source 1 --target 2 --out '" + out + "' --save");
  ASSERT_EQ(saved.Exit, 0) << saved.Err;
  const TRun listed = RunCli(folder, "list '" + data + "'");
  EXPECT_NE(listed.Out.find("follow-up\t" + out + "\n"), std::string::npos) << listed.Out;
}

TEST_F(MorphCommandTest, RefusesWithTheReasonAndWritesNothing) {
  struct TCase {
    const char* Options;
    int Exit;
    const char* Err;
  };
  const TCase cases[] = {
      {"--source 1 --target 1", 1, "Cannot perform morphing:\nCurrent is Morph Source.\n"},
      {"--source 3 --target 1", 1, "Cannot perform morphing:\nNot the same Type.\n"},
      {"--source 4 --target 5", 1, "Cannot perform morphing:\nNo image.\n"},
      {"--source 1", 2, "lumacet-cli morph: missing --target M\nTry 'lumacet-cli morph --help'.\n"},
      {"--source 1 --target 2 --quality best", 2,
       "lumacet-cli morph: invalid value for --quality: 'best' (choose low, medium or high)\n"
       "Try 'lumacet-cli morph --help'.\n"},
  };
  const std::string out = folder.File("never.jpg");
  for (const TCase& c : cases) {
    const TRun run = Run(std::string(c.Options) + " --out '" + out + "'");
    EXPECT_EQ(run.Exit, c.Exit) << c.Options;
    EXPECT_EQ(run.Err, c.Err) << c.Options;
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(ReadBytes(data), original);
  }
}

}  // namespace
}  // namespace lumacet
