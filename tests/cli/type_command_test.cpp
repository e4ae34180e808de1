#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

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
  run = RunCli(folder, "type '" + kExample + "' --list snakes");
  EXPECT_EQ(run.Exit, 2);
  EXPECT_NE(run.Err.find("--list"), std::string::npos) << run.Err;
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
