#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_runner.h"

namespace lumacet {
namespace {

using namespace test;

const std::string kData = kExamples + "/PATIENT.CSV";

size_t CountLines(const std::string& text) {
  size_t lines = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
  return lines;
}

// The coordinate fields of a record line: what follows the image link and its four
// placement numbers.
std::vector<std::string> Coordinates(const std::string& line) {
  std::vector<std::string> fields;
  size_t at = line.find(',', line.rfind('"')) + 1;
  for (int skipped = 0; skipped < 4; ++skipped) at = line.find(',', at) + 1;
  while (true) {
    const size_t comma = line.find(',', at);
    fields.push_back(line.substr(at, comma - at));
    if (comma == std::string::npos) return fields;
    at = comma + 1;
  }
}

TEST(ExportCommandTest, AppendsATableOfTheTypesRecordsAndPrintsTheTotal) {
  TTempFolder folder;
  const std::string out = folder.File("table.csv");
  TRun run = RunCli(folder, "export '" + kData + "' --type 'Lateral Ceph' --analysis Summary --out '" + out +
                                "' --delimiter comma --headers --include name,sexnum --abbreviated");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, "Total radiographs exported to file: 26\nLife size (LIFE)\n");
  EXPECT_EQ(run.Err, "");  // stderr is no terminal: no progress
  const std::string table = ReadBytes(out);
  EXPECT_EQ(CountLines(table), 27u);
  EXPECT_TRUE(table.starts_with("Name,SexNum,Age,SNA,SNB,ANB,Wits,FMA,IMPA,FMIA,S-Go/N-M,Lowerlip,Nasolabi\r\n"))
      << table.substr(0, 200);
  EXPECT_NE(table.find("\r\nEmma Lindqvist,1,9:6,82.4,"), std::string::npos);
}

TEST(ExportCommandTest, WritesLandmarksAsTpsOrMorphoJ) {
  TTempFolder folder;
  const std::string tps = folder.File("shapes.tps");
  TRun run = RunCli(folder, "export '" + kData + "' --type 'Frontal Ceph' --out '" + tps + "' --format tps");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, "Total radiographs exported to file: 3\nLife size (LIFE)\n");
  const std::string text = ReadBytes(tps);
  EXPECT_TRUE(text.starts_with("LM=25\r\n")) << text.substr(0, 100);
  EXPECT_NE(text.find("\r\nSCALE=0.1\r\nLM=25\r\n"), std::string::npos);

  const std::string morphoj = folder.File("shapes.txt");
  run = RunCli(folder, "export '" + kData + "' --type 'Lateral Ceph' --drawing S-N --out '" + morphoj +
                           "' --format morphoj --size xray --no-reflect");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  // At radiograph size and unreflected, S and N as the first record holds them.
  const std::string first = ReadBytes(kData).substr(0, ReadBytes(kData).find("\r\n"));
  const std::vector<std::string> points = Coordinates(first);
  const std::string table = ReadBytes(morphoj);
  EXPECT_TRUE(table.starts_with("ID\tx1\ty1\tx2\ty2\r\n")) << table.substr(0, 200);
  EXPECT_NE(table.find("\t" + points[0] + "\t" + points[1] + "\t" + points[2] + "\t" + points[3] + "\r\n"),
            std::string::npos)
      << table.substr(0, 200);
}

TEST(ExportCommandTest, AppendsWithoutASecondHeaderAndReplacesWhenAsked) {
  TTempFolder folder;
  const std::string out = folder.File("table.txt");
  const std::string export_ = "export '" + kData + "' --type 'Lateral Ceph' --analysis Summary --headers --out '" + out + "'";
  ASSERT_EQ(RunCli(folder, export_).Exit, 0);
  const std::string once = ReadBytes(out);
  ASSERT_EQ(CountLines(once), 27u);
  ASSERT_EQ(RunCli(folder, export_).Exit, 0);
  const std::string twice = ReadBytes(out);
  EXPECT_EQ(CountLines(twice), 27u + 26u);
  EXPECT_EQ(twice.find(once.substr(0, once.find("\r\n"))), 0u);
  EXPECT_EQ(twice.find(once.substr(0, once.find("\r\n")), 1), std::string::npos);  // one header line only
  ASSERT_EQ(RunCli(folder, export_ + " --replace").Exit, 0);
  EXPECT_EQ(ReadBytes(out), once);
}

TEST(ExportCommandTest, WritesTheEncodingAskedForAndLeavesThePatientOutWhenAnonymized) {
  TTempFolder folder;
  // A name with a character beyond ASCII: "i" becomes Windows-1252's i acute (one byte).
  std::string data = ReadBytes(kData);
  const size_t at = data.find("Emma Lindqvist");
  ASSERT_NE(at, std::string::npos);
  data[at + 11] = '\xED';
  WriteBytes(folder.File("PATIENT.CSV"), data);
  std::filesystem::copy_file(kExamples + "/lateral_ceph.lcr", folder.File("lateral_ceph.lcr"));
  const std::string out = folder.File("table.csv");
  const std::string export_ = "export '" + folder.File("PATIENT.CSV") +
                              "' --type 'Lateral Ceph' --analysis Summary --headers --replace --out '" + out + "' ";
  struct TCase {
    const char* Options;
    const char* Begins;
    const char* Holds;
  };
  const TCase kCases[] = {
      {"--include name --delimiter comma", "Name,", "\r\nEmma Lindqv\xEDst,"},
      {"--include name --delimiter comma --encoding utf-8", "Name,", "\r\nEmma Lindqv\xC3\xADst,"},
      {"--include name --delimiter comma --encoding utf-8 --bom", "\xEF\xBB\xBFName,", "\r\nEmma Lindqv\xC3\xADst,"},
      // Every number follows the decimal separator, the magnification's too.
      {"--include magnification --decimal-separator , --delimiter tab", "Magnification\t",
       "\r\n 8,00000000000000E+0000\t"},
      {"--include name,dob,comments,taken --delimiter comma --anonymize", "Name,Date of Birth,Date Taken,Comments,",
       "\r\nRecord 1,,"},
  };
  for (const TCase& c : kCases) {
    const TRun run = RunCli(folder, export_ + c.Options);
    ASSERT_EQ(run.Exit, 0) << c.Options << ": " << run.Err;
    const std::string table = ReadBytes(out);
    EXPECT_TRUE(table.starts_with(c.Begins)) << c.Options << ": " << table.substr(0, 80);
    EXPECT_NE(table.find(c.Holds), std::string::npos) << c.Options << ": " << table.substr(0, 300);
  }
  EXPECT_EQ(ReadBytes(out).find("Lindqv"), std::string::npos);  // the anonymous table, last
  // Landmark files too: MorphoJ's identifiers and TPS's are record numbers.
  for (const char* format : {"morphoj", "tps"}) {
    const std::string landmarks = folder.File(std::string("shapes.") + format);
    const TRun run = RunCli(folder, "export '" + folder.File("PATIENT.CSV") + "' --type 'Lateral Ceph' --format " +
                                        format + " --anonymize --encoding utf-8 --out '" + landmarks + "'");
    ASSERT_EQ(run.Exit, 0) << run.Err;
    const std::string text = ReadBytes(landmarks);
    EXPECT_EQ(text.find("Lindqv"), std::string::npos) << format;
    EXPECT_EQ(text.find("lindqvist"), std::string::npos) << format;  // nor an image named after her
    EXPECT_NE(text.find(format == std::string("tps") ? "\r\nID=1\r\n" : "\r\nRecord 1 "), std::string::npos)
        << format << ": " << text.substr(0, 200);
  }

  const TRun run = RunCli(folder, export_ + "--bom");
  EXPECT_EQ(run.Exit, 2);
  EXPECT_NE(run.Err.find("--bom needs --encoding utf-8"), std::string::npos) << run.Err;
}

TEST(ExportCommandTest, NamesTheAnalysisOrDrawingInAnyCaseWhileThatNamesOne) {
  TTempFolder folder;
  const std::string out = folder.File("table.txt");
  TRun run = RunCli(folder, "export '" + kData + "' --type 'Lateral Ceph' --analysis summary --headers --out '" + out + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_TRUE(ReadBytes(out).starts_with("Age\tSNA\t")) << ReadBytes(out).substr(0, 40);
  run = RunCli(folder, "export '" + kData + "' --type 'Lateral Ceph' --drawing mandible --replace --out '" + out + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  run = RunCli(folder, "export '" + kData + "' --type 'Lateral Ceph' --drawing Chin --out '" + out + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_TRUE(run.Err.starts_with("lumacet-cli export: the type 'Lateral Ceph' has no drawing 'Chin' (it has '"))
      << run.Err;
}

TEST(ExportCommandTest, RefusesBadArgumentsTheSourceAsTargetAndUnknownTypes) {
  TTempFolder folder;
  TRun run = RunCli(folder, "export '" + kData + "' --type 'Lateral Ceph' --out x.txt");
  EXPECT_EQ(run.Exit, 2);
  EXPECT_NE(run.Err.find("Try 'lumacet-cli export --help'."), std::string::npos);

  std::filesystem::copy_file(kData, folder.File("PATIENT.CSV"));
  std::filesystem::copy_file(kExamples + "/lateral_ceph.lcr", folder.File("lateral_ceph.lcr"));
  const std::string before = ReadBytes(folder.File("PATIENT.CSV"));
  std::filesystem::create_symlink(folder.File("PATIENT.CSV"), folder.File("link.csv"));
  run = RunCli(folder, "export '" + folder.File("PATIENT.CSV") + "' --type 'Lateral Ceph' --analysis Summary --out '" +
                           folder.File("link.csv") + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Err, "Source and Destination files are the same.\n");
  EXPECT_EQ(ReadBytes(folder.File("PATIENT.CSV")), before);

  run = RunCli(folder, "export '" + folder.File("PATIENT.CSV") + "' --type 'Frontal Ceph' --analysis Frontal --out '" +
                           folder.File("out.txt") + "'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Err, "lumacet-cli: no type file of the type 'Frontal Ceph' in " + folder.Path().string() +
                         " (set --types)\n");
}

TEST(ConvertCommandTest, ConvertsEveryRecordOfTheSourceTypeWithHandMadeCorrespondences) {
  TTempFolder folder;
  const std::string out = folder.File("converted.csv");
  const std::string before = ReadBytes(kData);
  TRun run = RunCli(folder, "convert '" + kData + "' --from 'Lateral Ceph' --to 'Frontal Ceph' --out '" + out +
                                "' --map Cg=N --map 'U1 apex=<none>' --records 1,3,10,2 --min-share 20");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  // The table it used comes first, a target point a line.
  EXPECT_TRUE(run.Out.starts_with("Point correspondences ('Frontal Ceph' <- 'Lateral Ceph'), ")) << run.Out;
  EXPECT_NE(run.Out.find("\n  Cg <- N\n"), std::string::npos) << run.Out;
  EXPECT_NE(run.Out.find("\n  U1 apex <- <none>\n"), std::string::npos) << run.Out;
  EXPECT_TRUE(run.Out.ends_with("\nTotal radiographs converted: 2\n")) << run.Out;
  EXPECT_EQ(ReadBytes(kData), before);
  const std::string converted = ReadBytes(out);
  EXPECT_EQ(CountLines(converted), 2u);
  // Key of the first record, now of the frontal type; its coordinates come after the image
  // link and four placement numbers.
  constexpr size_t kTypeColumn = 92;
  EXPECT_EQ(converted.substr(0, kTypeColumn), before.substr(0, kTypeColumn));
  EXPECT_EQ(converted.substr(kTypeColumn, 21), "Frontal Ceph        ,");
  const std::vector<std::string> source = Coordinates(before.substr(0, before.find("\r\n")));
  const std::vector<std::string> target = Coordinates(converted.substr(0, converted.find("\r\n")));
  ASSERT_EQ(target.size(), 2u * 25);
  // Cg takes N (the second lateral point), ZR has no lateral counterpart, Me keeps its own.
  EXPECT_EQ(target[0] + "," + target[1], source[2] + "," + source[3]);
  EXPECT_EQ(target[2] + "," + target[3], "nil,nil");
  EXPECT_EQ(target[48] + "," + target[49], source[2 * 21] + "," + source[2 * 21 + 1]);
  EXPECT_EQ(target[2 * 19] + "," + target[2 * 19 + 1], "nil,nil");  // "U1 apex" mapped to <none>
}

TEST(ConvertCommandTest, RefusesATableThatCarriesTooFewPointsOver) {
  TTempFolder folder;
  const std::string out = folder.File("converted.csv");
  // Every frontal point mapped to nothing but one: the records would be nearly empty.
  std::string unmapped;
  for (const char* point : {"Cg", "ZR", "ZL", "Me"}) unmapped += std::string(" --map '") + point + "=<none>'";
  TRun run = RunCli(folder, "convert '" + kData + "' --from 'Lateral Ceph' --to 'Frontal Ceph' --out '" + out +
                                "' --min-share 100" + unmapped);
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find(" of the 25 points of 'Frontal Ceph' take a point of 'Lateral Ceph' (at least 100% must): "
                         "nothing was converted."),
            std::string::npos)
      << run.Err;
  EXPECT_NE(run.Out.find("\n  Cg <- <none>\n"), std::string::npos) << run.Out;
  EXPECT_FALSE(std::filesystem::exists(out));

  run = RunCli(folder, "convert '" + kData + "' --from 'Lateral Ceph' --to 'Frontal Ceph' --out '" + out +
                           "' --min-share 101");
  EXPECT_EQ(run.Exit, 2);
  EXPECT_NE(run.Err.find("invalid value for --min-share: '101'"), std::string::npos) << run.Err;
}

TEST(ConvertCommandTest, RefusesUnknownPointsAndTheSourceAsTarget) {
  TTempFolder folder;
  TRun run = RunCli(folder, "convert '" + kData + "' --from 'Lateral Ceph' --to 'Frontal Ceph' --out '" +
                                folder.File("x.csv") + "' --map Nope=N");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("Cannot map 'Nope' to 'N'"), std::string::npos) << run.Err;
  EXPECT_FALSE(std::filesystem::exists(folder.File("x.csv")));

  run = RunCli(folder, "convert '" + kData + "' --from 'Lateral Ceph' --to 'Frontal Ceph' --out '" + kExamples +
                           "/./PATIENT.CSV'");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Err, "Source and Destination files are the same.\n");
}

}  // namespace
}  // namespace lumacet
