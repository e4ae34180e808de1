// Every table lumacet-cli writes is read by R as a researcher reads it: read.csv or
// read.delim with the missing values given as NA, the columns named and typed as they
// should be, one row per radiograph.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cli/cli_runner.h"

namespace lumacet {
namespace {

using namespace test;

const std::string kData = kExamples + "/PATIENT.CSV";

// What R makes of the table: "rows;name:class,name:class,...".
std::string ReadInR(const TTempFolder& folder, const std::string& file, const std::string& reader) {
  const std::string script = folder.File("read.R");
  WriteBytes(script, "d <- " + reader + "('" + file + "', check.names = FALSE, na.strings = 'NA')\n"
                     "cat(nrow(d), ';', paste(names(d), sapply(d, class), sep = ':', collapse = ','), sep = '')\n");
  const std::string out = folder.File("r.txt");
  const std::string command = "Rscript --vanilla '" + script + "' > '" + out + "' 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << ReadBytes(out);
  return ReadBytes(out);
}

class RReadBack : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v Rscript > /dev/null") != 0) GTEST_SKIP() << "R (Rscript) is not installed";
  }
  TTempFolder folder;
};

TEST_F(RReadBack, ExportedTablesReadWithTheirNamesAndTypes) {
  struct TCase {
    const char* Arguments;
    const char* Reader;
    const char* Expected;
  };
  const TCase kCases[] = {
      // The reference distance has no reference radiograph: all NA, which R reads as logical.
      {"--analysis 'Shape (Procrustes)' --delimiter comma", "read.csv",
       "26;Name:character,Sex:character,Date Taken:character,Age:character,Centroid size:numeric,Normalized centroid size:numeric,Procrustes distance:numeric,PC1 score:numeric,PC1 z-score:numeric,PC2 score:numeric,PC2 z-score:numeric,Shape distance to reference:logical"},
      {"--analysis Summary --delimiter tab", "read.delim",
       "26;Name:character,Sex:character,Date Taken:character,Age:character,SNA:numeric,SNB:numeric,ANB:numeric,Wits:numeric,FMA:numeric,IMPA:numeric,FMIA:numeric,S-Go/N-Me:numeric,Lower lip to E-line:numeric,Nasolabial angle:numeric"},
      // A semicolon and a decimal comma, as spreadsheets of comma-decimal locales write:
      // every number follows the comma, the magnification's too.
      {"--analysis Summary --delimiter ';' --decimal-separator , --include magnification", "read.csv2",
       "26;Name:character,Sex:character,Date Taken:character,Magnification:numeric,Age:character,SNA:numeric,SNB:numeric,ANB:numeric,Wits:numeric,FMA:numeric,IMPA:numeric,FMIA:numeric,S-Go/N-Me:numeric,Lower lip to E-line:numeric,Nasolabial angle:numeric"},
      // UTF-8 with a byte-order mark, which R is told of; no name in an anonymous table.
      {"--analysis Summary --delimiter comma --encoding utf-8 --bom --anonymize",
       "(function(f, ...) read.csv(f, fileEncoding = 'UTF-8-BOM', ...))",
       "26;Name:character,Sex:character,Date Taken:character,Age:character,SNA:numeric,SNB:numeric,ANB:numeric,Wits:numeric,FMA:numeric,IMPA:numeric,FMIA:numeric,S-Go/N-Me:numeric,Lower lip to E-line:numeric,Nasolabial angle:numeric"},
      {"--drawing S-N --format morphoj", "read.delim",
       "26;ID:character,x1:numeric,y1:numeric,x2:numeric,y2:numeric"},
      {"--drawing Mandible --delimiter comma --same-line --keep-incomplete", "read.csv",
       "26;Name:character,Sex:character,Date Taken:character,X Id:numeric,Y Id:numeric,X B:numeric,Y B:numeric,X Pog:numeric,Y Pog:numeric,X Gn:numeric,Y Gn:numeric,X Me:numeric,Y Me:numeric,X Mb:numeric,Y Mb:numeric,X Go:numeric,Y Go:numeric,X Rp:numeric,Y Rp:numeric,X Ar:numeric,Y Ar:numeric,X Co:numeric,Y Co:numeric"},
  };
  for (const TCase& c : kCases) {
    const std::string out = folder.File("table.txt");
    const TRun run = RunCli(folder, "export '" + kData + "' --type 'Lateral Ceph' --out '" + out +
                                        "' --replace --headers --include name,sex,taken --missing NA " + c.Arguments);
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(ReadInR(folder, out, c.Reader), c.Expected) << c.Arguments;
  }
}

TEST_F(RReadBack, MeasureAndScoresTablesRead) {
  for (const char* format : {"csv", "tsv"}) {
    const TRun run = RunCli(folder, "measure '" + kData + "' --type 'Lateral Ceph' --analysis 'Shape (Procrustes)' "
                                    "--missing NA --format " + std::string(format));
    ASSERT_EQ(run.Exit, 0) << run.Err;
    WriteBytes(folder.File("measured.txt"), run.Out);
    EXPECT_EQ(ReadInR(folder, folder.File("measured.txt"), format == std::string("csv") ? "read.csv" : "read.delim"),
              "26;Record:integer,Name:character,Age:character,Centroid size:numeric,Normalized centroid size:numeric,Procrustes distance:numeric,PC1 score:numeric,PC1 z-score:numeric,PC2 score:numeric,PC2 z-score:numeric,Shape distance to reference:logical")
        << format;
  }
  const std::string scores = folder.File("scores.csv");
  const TRun run = RunCli(folder, "procrustes '" + kData + "' --type 'Lateral Ceph' --pca 'Lateral shape' --scores-table '" +
                                      scores + "' --report '" + folder.File("report.txt") + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(ReadInR(folder, scores, "read.csv"), "26;Record:integer,Name:character,Date Taken:character,Image:character,PC1:numeric,PC2:numeric,PC3:numeric,PC4:numeric,PC5:numeric,PC6:numeric,PC7:numeric,PC8:numeric,PC9:numeric,PC10:numeric,PC11:numeric,PC12:numeric,PC13:numeric,PC14:numeric,PC15:numeric,PC16:numeric,PC17:numeric,PC18:numeric,PC19:numeric,PC20:numeric");
}

}  // namespace
}  // namespace lumacet
