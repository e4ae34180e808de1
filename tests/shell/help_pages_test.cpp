#include "shell/help_pages.h"

#include <gtest/gtest.h>

#include <fstream>

#include "temp_folder.h"

namespace lumacet {
namespace {

void Page(const std::filesystem::path& file) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file) << "<html></html>\n";
}

TEST(HelpPagesTest, TheTopicIsFoundBesideTheProgramOrInstalledAndTheContentsStandInForAMissingOne) {
  test::TTempFolder folder;
  const std::filesystem::path build = folder.Path() / "build";
  const std::filesystem::path installedProgram = folder.Path() / "usr" / "bin";
  Page(build / "help" / "index.html");
  Page(build / "help" / "population.html");
  Page(folder.Path() / "usr" / "share" / "lumacet" / "help" / "index.html");

  struct TCase {
    std::filesystem::path Program;
    const char* Topic;
    std::filesystem::path Expected;
  };
  for (const TCase& sight : {
           TCase{build, "population", build / "help" / "population.html"},
           TCase{build, "index", build / "help" / "index.html"},
           TCase{build, "", build / "help" / "index.html"},
           TCase{build, "no-such-topic", build / "help" / "index.html"},
           TCase{installedProgram, "population", folder.Path() / "usr" / "share" / "lumacet" / "help" / "index.html"},
       })
    EXPECT_EQ(HelpPage(sight.Program, sight.Topic), sight.Expected) << sight.Program << " " << sight.Topic;
}

TEST(HelpPagesTest, WithoutPagesNothingIsOpenedAndTheMessageSaysWhereTheyWereLookedFor) {
  test::TTempFolder folder;
  // A help folder without its contents page is not a help folder.
  Page(folder.Path() / "bin" / "help" / "population.html");
  EXPECT_TRUE(HelpPage(folder.Path() / "bin", "population").empty());
  const std::string said = HelpMissing(folder.Path() / "bin").English();
  EXPECT_NE(said.find((folder.Path() / "bin" / "help").string()), std::string::npos) << said;
  EXPECT_NE(said.find((folder.Path() / "share" / "lumacet" / "help").string()), std::string::npos) << said;
}

}  // namespace
}  // namespace lumacet
