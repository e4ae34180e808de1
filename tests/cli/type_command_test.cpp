#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "model/xray_type.h"

namespace lumacet {
namespace {

using namespace test;

TEST(TypeCommand, SummarisesTheExampleType) {
  TTempFolder folder;
  TRun run = RunCli(folder, "type '" + kExample + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.Out.rfind("Type: Lateral Ceph\n", 0), 0u) << run.Out;
  for (const char* line : {"Point (digitized): ", "Snake: 5\n", "Point (derived): ", "Graphic: ", "Variable: ",
                           "Analysis: 11\n", "Protocol: 1\n", "PCA: 1\n"})
    EXPECT_NE(run.Out.find(line), std::string::npos) << line << " in\n" << run.Out;
}

TEST(TypeCommand, ListsTheNamesOfOneKindOfElement) {
  TTempFolder folder;
  TRun run = RunCli(folder, "type '" + kExample + "' --list pcas");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, "Lateral shape\n");
  run = RunCli(folder, "type '" + kExample + "' --list analyses");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_TRUE(run.Out.starts_with("Summary\nSteiner\nDowns\n")) << run.Out;
  EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 11);
  // Points: the digitized ones, then the derived ones.
  run = RunCli(folder, "type '" + kExample + "' --list points");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_TRUE(run.Out.starts_with("S\nN\n")) << run.Out;
  for (const char* kind : {"views", "drawings", "variables"}) {
    run = RunCli(folder, "type '" + kExample + "' --list " + kind);
    EXPECT_EQ(run.Exit, 0) << kind;
    EXPECT_FALSE(run.Out.empty()) << kind;
    EXPECT_EQ(run.Out.find("Type: "), std::string::npos) << kind;
  }
  run = RunCli(folder, "type '" + kExample + "' --list frobs");
  EXPECT_EQ(run.Exit, 2);
  EXPECT_NE(run.Err.find("--list"), std::string::npos) << run.Err;
}

TEST(TypeCommand, ListsOperandsAfterTabsAndWhatRefersToAnElement) {
  TTempFolder folder;
  TRun run = RunCli(folder, "type '" + kExample + "' --list derived");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_TRUE(run.Out.starts_with("Go tangents\tAr\tRp\tMe\tMb\nGonial bisector\t")) << run.Out;
  run = RunCli(folder, "type '" + kExample + "' --list snakes");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 5);
  EXPECT_EQ(run.Out.find('\t'), std::string::npos) << "snakes have no operands";
  // What refers to S, in the order deletion looks: kind, tab, name.
  run = RunCli(folder, "type '" + kExample + "' --refs S");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_TRUE(run.Out.starts_with("Point (derived)\tHP back\nArea\tCranial base\nGraphic\tS-N\n")) << run.Out;
  EXPECT_NE(run.Out.find("Variable\tSNA\n"), std::string::npos);
  EXPECT_TRUE(run.Out.ends_with("PCA\tLateral shape\n")) << run.Out;
  run = RunCli(folder, "type '" + kExample + "' --refs Downs");
  EXPECT_EQ(run.Exit, 0);
  EXPECT_EQ(run.Out, "");
  run = RunCli(folder, "type '" + kExample + "' --refs Nowhere");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Err, "lumacet-cli type: the type has no element named 'Nowhere'\n");
}

TEST(TypeCommand, RenamesAndDeletesInPlaceOrRefusesWithTheFileUntouched) {
  TTempFolder folder;
  const std::string copy = folder.File("lateral.lcr");
  WriteBytes(copy, ReadBytes(kExample));
  const std::string refsBefore = RunCli(folder, "type '" + copy + "' --refs S").Out;

  struct TRefusal {
    const char* arguments;
    std::string err;
  };
  for (const TRefusal& r : std::vector<TRefusal>{
           {"--rename S=N", "'N' : This name is already used.\n"},
           {"--rename 'S=<S>'", "Name reserved by Lumacet.\nDo not use < or [ as the first character.\n"},
           {"--delete S", "Cannot delete 'S'.\n\nReferenced in Point: 'HP back'.\n"},
           {"--delete Nowhere", "lumacet-cli type: the type has no element named 'Nowhere'\n"},
       }) {
    TRun run = RunCli(folder, "type '" + copy + "' " + r.arguments);
    EXPECT_EQ(run.Exit, 1) << r.arguments;
    EXPECT_EQ(run.Err, r.err) << r.arguments;
    EXPECT_EQ(ReadBytes(copy), ReadBytes(kExample)) << r.arguments;
  }
  for (const char* arguments : {"--rename S", "--rename =S", "--rename S=T --delete N"})
    EXPECT_EQ(RunCli(folder, "type '" + copy + "' " + arguments).Exit, 2) << arguments;

  TRun run = RunCli(folder, "type '" + copy + "' --rename S=Sella");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, "Renamed: \"S\" to: \"Sella\".\nSaved to " + copy + "\n");
  EXPECT_TRUE(RunCli(folder, "type '" + copy + "' --list points").Out.starts_with("Sella\nN\n"));
  // The references are positions in the file: they follow the new name.
  EXPECT_EQ(RunCli(folder, "type '" + copy + "' --refs Sella").Out, refsBefore);

  run = RunCli(folder, "type '" + copy + "' --delete Downs");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, "Deleted: Downs.\nSaved to " + copy + "\n");
  const std::string analyses = RunCli(folder, "type '" + copy + "' --list analyses").Out;
  EXPECT_EQ(analyses.find("Downs\n"), std::string::npos) << analyses;
  EXPECT_EQ(std::count(analyses.begin(), analyses.end(), '\n'), 10);
  // --write puts the edited type elsewhere and leaves the file read as it was.
  const std::string before = ReadBytes(copy);
  const std::string out = folder.File("out.lcr");
  run = RunCli(folder, "type '" + copy + "' --delete Steiner --write '" + out + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(ReadBytes(copy), before);
  EXPECT_EQ(RunCli(folder, "type '" + out + "' --list analyses").Out.find("Steiner"), std::string::npos);
}

TEST(TypeCommand, WritesTheLoadedTypeAgain) {
  TTempFolder folder;
  const std::string copy = folder.File("copy.lcr");
  TRun run = RunCli(folder, "type '" + kExample + "' --write '" + copy + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_NE(run.Out.find("Saved to " + copy), std::string::npos);
  EXPECT_EQ(ReadBytes(copy), ReadBytes(kExample));
}

TEST(TypeCommand, LoadFailuresGoToStandardErrorWithPlainLineBreaks) {
  TTempFolder folder;
  const std::string broken = folder.File("broken.lcr");
  WriteBytes(broken, "Broken\r\nVersion 3.1\r\nImage\r\nIcon\r\n\r\nImage end\r\n 2 DigPoint \"A\" 0 0\r\n");
  TRun run = RunCli(folder, "type '" + broken + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(run.Err, "Could not load radiograph type.\n\nError reading 2.\n");
}

TEST(TypeCommand, SaveFailuresAreReported) {
  TTempFolder folder;
  TRun run = RunCli(folder, "type '" + kExample + "' --write '" + folder.File("missing/out.lcr") + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Err.rfind("Could not save radiograph type.\n\n", 0), 0u) << run.Err;
}

TEST(TypeCommand, UsageErrorsExitWithTwo) {
  TTempFolder folder;
  for (const char* arguments : {"", "type", "type a b", "type a --write", "type --write out", "frobnicate"}) {
    TRun run = RunCli(folder, arguments);
    EXPECT_EQ(run.Exit, 2) << arguments;
    EXPECT_NE(run.Err.find("Try 'lumacet-cli"), std::string::npos) << arguments;
  }
  TRun help = RunCli(folder, "--help");
  EXPECT_EQ(help.Exit, 0);
  EXPECT_NE(help.Out.find("  type "), std::string::npos);
}

}  // namespace
}  // namespace lumacet
