#include "shell/help_pages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

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

std::string Contents(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

const std::filesystem::path kSources = LUMACET_SOURCE_DIR;

// Every window class of the desktop program: whatever derives from QDialog, however
// indirectly, and the widgets made as windows of their own.
std::set<std::string> DesktopWindows() {
  std::map<std::string, std::string> bases;
  std::set<std::string> windows;
  const std::regex declaration(R"(class (T\w+) : public (\w+))");
  const std::regex ownWindow(R"((T\w+)::\1\([^)]*\)\s*:\s*QWidget\(parent, Qt::(Window|Tool)\))");
  for (const auto& entry : std::filesystem::directory_iterator(kSources / "src" / "app")) {
    const std::string text = Contents(entry.path());
    const std::regex& pattern = entry.path().extension() == ".h" ? declaration : ownWindow;
    for (std::sregex_iterator match(text.begin(), text.end(), pattern), end; match != end; ++match) {
      if (entry.path().extension() == ".h")
        bases[(*match)[1]] = (*match)[2];
      else
        windows.insert((*match)[1]);
    }
  }
  for (const auto& [name, base] : bases) {
    std::string ancestor = base;
    while (bases.contains(ancestor)) ancestor = bases[ancestor];
    if (ancestor == "QDialog") windows.insert(name);
  }
  return windows;
}

TEST(HelpPagesTest, EveryWindowHasHelpAndEveryTopicIsASectionOfAnExistingPage) {
  const std::set<std::string> windows = DesktopWindows();
  // The scan must see the windows at all, or it would pass on nothing.
  ASSERT_TRUE(windows.contains("TLCOptions") && windows.contains("TDigitizeWindow") && windows.contains("TProcForm"));
  // The shared bases are not windows anyone opens.
  const std::set<std::string> bases = {"TRollUpForm", "TPopulationDialog", "TImageAdjustDialog"};
  for (const std::string& window : windows) {
    if (bases.contains(window)) continue;
    EXPECT_NE(FindHelpTopic(window), nullptr) << window << " has no help";
  }

  const std::regex anchor(R"re(\bid="([^"]+)")re");
  for (const THelpTopic& topic : HelpTopics()) {
    const std::filesystem::path page = kSources / "docs" / "help" / (std::string(topic.Page) + ".html");
    ASSERT_TRUE(std::filesystem::is_regular_file(page)) << topic.Key << ": " << page;
    EXPECT_EQ(FindHelpTopic(topic.Key), &topic) << topic.Key << " has two rows";
    if (topic.Section.empty()) continue;
    const std::string text = Contents(page);
    std::set<std::string> ids;
    for (std::sregex_iterator match(text.begin(), text.end(), anchor), end; match != end; ++match)
      ids.insert((*match)[1]);
    EXPECT_TRUE(ids.contains(std::string(topic.Section))) << topic.Key << ": no section " << topic.Section << " in " << page;
  }
}

}  // namespace
}  // namespace lumacet
