#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/cli_runner.h"

namespace lumacet {
namespace {

using namespace test;

class PrintCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("pdfinfo -v > /dev/null 2>&1") != 0) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
  }
  // No scheduler answers at this address: the machine's own printers stay out of the tests.
  TRun Print(const std::string& arguments) {
    return RunCli(folder, "print '" + kExampleData + "' " + arguments, "CUPS_SERVER='" + folder.File("none") + "' ");
  }
  std::string Tool(const std::string& command) {
    const std::string out = folder.File("tool.txt");
    EXPECT_EQ(std::system((command + " > '" + out + "' 2>&1").c_str()), 0);
    return ReadBytes(out);
  }

  TTempFolder folder;
};

TEST_F(PrintCommandTest, PrintsThePrintoutsInTheirOrderIntoOnePdf) {
  const std::string pdf = folder.File("printed.pdf");
  const TRun run = Print("--records 1 --pages report,tracing,analysis --out '" + pdf + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_NE(run.Out.find("Printed 3 print-outs to " + pdf), std::string::npos) << run.Out;
  // The report's four portrait sheets, the landscape tracing page, the text page.
  const std::string sizes = Tool("pdfinfo -f 1 -l 6 '" + pdf + "'");
  EXPECT_NE(sizes.find("Pages:           6"), std::string::npos) << sizes;
  EXPECT_NE(sizes.find("Page    4 size:  595 x 842 pts"), std::string::npos) << sizes;
  EXPECT_NE(sizes.find("Page    5 size:  842 x 595 pts"), std::string::npos) << sizes;
  EXPECT_NE(sizes.find("Page    6 size:  595 x 842 pts"), std::string::npos) << sizes;
  const std::string tracing = Tool("pdftotext -f 5 -l 5 '" + pdf + "' -");
  EXPECT_NE(tracing.find("Emma Lindqvist - Class II before treatment - 9:6"), std::string::npos) << tracing;
  const std::string text = Tool("pdftotext -f 6 -l 6 '" + pdf + "' -");
  for (const char* expected : {"Dr. Veltrin", "Page: 1", "SNA", "82.4"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
}

TEST_F(PrintCommandTest, RefusesWhatCannotBePrintedAndWritesNothing) {
  WriteBytes(folder.File("bad.ini"), "[Print]\nTracing Header=@n @z\n");
  const std::string pdf = folder.File("out.pdf");
  const struct {
    std::string Arguments;
    std::string Said;
  } cases[] = {
      {"--records 1 --printer lp --out '" + pdf + "'", "--printer and --out cannot be given together"},
      {"--records 1 --out '" + folder.File("out.svg") + "'", "must end in .pdf"},
      {"--records 1 --pages tracing,cover --out '" + pdf + "'", "--pages"},
      {"--records 1 --printer nowhere", "The printer \"nowhere\" is not available."},
      {"--records 1", "No printer is set up."},
      {"--records 1 --pages tracing --settings '" + folder.File("bad.ini") + "' --out '" + pdf + "'",
       "holds the unknown code \"@z\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Arguments);
    const TRun run = Print(c.Arguments);
    EXPECT_NE(run.Exit, 0);
    EXPECT_NE(run.Err.find(c.Said), std::string::npos) << run.Err;
    EXPECT_FALSE(std::filesystem::exists(pdf));
  }
}

}  // namespace
}  // namespace lumacet
