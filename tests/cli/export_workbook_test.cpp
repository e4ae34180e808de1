#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/cli_runner.h"

namespace lumacet {
namespace {

using namespace test;

// Reads a workbook with openpyxl, an independent reader, and prints what a test checks: the
// sheet's size, its header row, and each cell of the first data rows as type:value.
constexpr const char* kReader = R"(
import sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1], read_only=True)
sheet = book.worksheets[0]
rows = list(sheet.iter_rows(values_only=True))
print(sheet.title, len(rows), len(rows[0]))
print("|".join(rows[0]))
for row in rows[1:3]:
    print("|".join("%s:%s" % (type(v).__name__, "" if v is None else (round(v, 4) if isinstance(v, float) else v)) for v in row))
)";

// Debian's interpreter, which python3-openpyxl is installed for (a python3 earlier on the
// PATH may be another one).
constexpr const char* kPython = "/usr/bin/python3";

class ExportWorkbookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system((std::string(kPython) + " -c 'import openpyxl' > /dev/null 2>&1").c_str()) != 0)
      GTEST_SKIP() << "python3-openpyxl is not installed";
    std::FILE* f = std::fopen(script.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs(kReader, f);
    std::fclose(f);
  }
  TRun Export(const std::string& arguments) {
    return RunCli(folder, "export '" + kExampleData + "' --type 'Lateral Ceph' --format xlsx " + arguments);
  }
  std::string Read(const std::string& workbook) {
    const std::string out = folder.File("read.txt");
    EXPECT_EQ(std::system((std::string(kPython) + " '" + script + "' '" + workbook + "' > '" + out + "' 2>&1").c_str()), 0)
        << ReadBytes(out);
    return ReadBytes(out);
  }

  TTempFolder folder;
  const std::string script = folder.File("read.py");
};

TEST_F(ExportWorkbookTest, NumbersAreNumbersWithNormsAndDeviationsInTheirOwnColumns) {
  const std::string xlsx = folder.File("export.xlsx");
  const TRun run = Export("--analysis Summary --include name,age,sexnum --out '" + xlsx + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, "Total radiographs exported to file: 26\nLife size (LIFE)\n");
  const std::string read = Read(xlsx);
  // 26 records below the header; three patient columns and four for each variable.
  EXPECT_NE(read.find("Measurements 27 "), std::string::npos) << read;
  EXPECT_NE(read.find("Name|Age (years)|SexNum|"), std::string::npos) << read;
  EXPECT_NE(read.find("|SNA|SNA Mean|SNA SD|SNA Deviation (SD)|"), std::string::npos) << read;
  // Record 1 comes first in the file: its SNA is 82.4 against a norm of 82 +- 2, 0.18 SD above it (measured unrounded).
  EXPECT_NE(read.find("str:Emma Lindqvist|float:9.4"), std::string::npos) << read;
  EXPECT_NE(read.find("|int:1|"), std::string::npos) << read;
  EXPECT_NE(read.find("float:82.4|int:82|int:2|float:0.1759"), std::string::npos) << read;
}

TEST_F(ExportWorkbookTest, RewrittenWholeAndRefusedWithoutAnalysisOrTarget) {
  const std::string xlsx = folder.File("export.xlsx");
  ASSERT_EQ(Export("--analysis Summary --out '" + xlsx + "'").Exit, 0);
  ASSERT_EQ(Export("--analysis Summary --out '" + xlsx + "'").Exit, 0);
  EXPECT_NE(Read(xlsx).find("Measurements 27 "), std::string::npos);  // written anew, not appended
  TRun run = Export("--drawing S-N --out '" + folder.File("points.xlsx") + "'");
  EXPECT_EQ(run.Exit, 2);
  EXPECT_NE(run.Err.find("a workbook needs --analysis"), std::string::npos) << run.Err;
  run = Export("--analysis Summary --out '" + folder.File("missing/export.xlsx") + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("File error."), std::string::npos) << run.Err;
  EXPECT_FALSE(std::filesystem::exists(folder.File("missing")));
  // Nothing but the workbook and the reader's files is left in the folder.
  for (const auto& entry : std::filesystem::directory_iterator(folder.File("")))
    EXPECT_EQ(entry.path().filename().string().rfind("~lc", 0), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace lumacet
