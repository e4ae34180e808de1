// Data files from elsewhere: hand edits, devices and pipes given as files, lines without
// end. Each must be read as far as it is a data file, or refused with a reason, and a
// rewrite must keep every byte it did not parse.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>

#include "persistence/data_lines.h"
#include "persistence/data_test_support.h"
#include "persistence/record_browser.h"

namespace lumacet {
namespace {

using test::PointType;
using test::Radiograph;
using test::ReadBytes;
using test::Record;
using test::TTempFolder;
using test::WriteBytes;

std::vector<std::string> Names(const std::string& path) {
  TRecordBrowser browser({});
  browser.SetDataFile(path);
  browser.LoadGrid();
  std::vector<std::string> names;
  for (const TRecordRow& row : browser.Rows()) names.push_back(row.Name);
  return names;
}

TEST(HostileDataFileTest, RecordsSeparatedByALoneCarriageReturnAreAllSeenAndKeptByARewrite) {
  TTempFolder folder;
  auto type = PointType("Lateral", 3);
  auto first = Radiograph(*type, "First", DayNumber(2001, 1, 1));
  auto second = Radiograph(*type, "Second", DayNumber(2002, 1, 1));
  auto third = Radiograph(*type, "Third", DayNumber(2003, 1, 1));
  auto strip = [](std::string record) { return record.substr(0, record.size() - 2); };
  const std::string path = folder.File("HAND.CSV");
  WriteBytes(path, strip(Record(*first)) + "\r" + strip(Record(*second)) + "\r" + Record(*third));
  EXPECT_EQ(Names(path), (std::vector<std::string>{"First", "Second", "Third"}));
  TDataFileIndex index;
  ASSERT_TRUE(index.Open(path));
  std::string line;
  ASSERT_TRUE(index.ReadLine(2, line));
  EXPECT_EQ(line, strip(Record(*second)));

  // The first record rewritten in place: its CR becomes a full line break, nothing else moves.
  ASSERT_TRUE(ReplaceInDataFile(*first, path, {}));
  EXPECT_EQ(ReadBytes(path), Record(*first) + strip(Record(*second)) + "\r" + Record(*third));
  // A file ending in a lone CR gets the next record after it, not glued to its last line.
  WriteBytes(path, strip(Record(*second)) + "\r");
  ASSERT_TRUE(AppendToDataFile(*third, path, {}));
  EXPECT_EQ(Names(path), (std::vector<std::string>{"Second", "Third"}));
}

TEST(HostileDataFileTest, DevicesPipesAndEndlessLinesAreRefusedWithAReason) {
  TTempFolder folder;
  const std::string fifo = folder.File("pipe.csv");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string endless = folder.File("endless.csv");
  WriteBytes(endless, std::string(TDataFileIndex::kMaxLineLength + 10, 'x'));
  const struct {
    std::string Path;
    std::string Reason;
  } cases[] = {
      {"/dev/zero", "not a regular file"},
      {"/dev/urandom", "not a regular file"},
      {fifo, "not a regular file"},
      {endless, "longer than 1 MB"},
  };
  for (const auto& hostile : cases) {
    TRecordBrowser browser({});
    browser.SetDataFile(hostile.Path);
    browser.LoadGrid();
    EXPECT_TRUE(browser.ListFailed()) << hostile.Path;
    EXPECT_NE(browser.ListStatus().English().find(hostile.Reason), std::string::npos)
        << browser.ListStatus().English();
    TDataFileIndex index;
    std::string line;
    EXPECT_FALSE(index.Open(hostile.Path) && index.ReadLine(1, line)) << hostile.Path;
    EXPECT_NE(index.Problem().find(hostile.Reason), std::string::npos) << index.Problem();
  }
}

// What a killed save left beside a data file goes when the file is first opened; a save's
// fresh temporary file stays.
TEST(HostileDataFileTest, OpeningADataFileRemovesTheOldTemporaryFilesOfItsFolder) {
  TTempFolder folder;
  auto type = PointType("Lateral", 3);
  const std::string path = folder.File("DATA.CSV");
  WriteBytes(path, Record(*Radiograph(*type, "First", DayNumber(2001, 1, 1))));
  const std::string old = folder.File("~lcQ7W2E9R4.tmp");
  const std::string fresh = folder.File("~lcZ0X1C2V3.tmp");
  WriteBytes(old, "copy of a patient file");
  WriteBytes(fresh, "a save running now");
  const timespec times[2] = {{std::time(nullptr) - 7200, 0}, {std::time(nullptr) - 7200, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, old.c_str(), times, 0), 0);
  EXPECT_EQ(Names(path), std::vector<std::string>{"First"});
  EXPECT_FALSE(std::filesystem::exists(old));
  EXPECT_TRUE(std::filesystem::exists(fresh));
  EXPECT_TRUE(std::filesystem::exists(path));
}

TEST(HostileDataFileTest, ARefusedRecordNamesTheFieldNotAStageNumber) {
  for (int stage : {lsReadLine, lsMagnification, lsType, lsImage, lsCoordinates}) {
    const std::string text = LoadStageProblem(stage).English();
    EXPECT_EQ(text.find("stage"), std::string::npos) << text;
    EXPECT_FALSE(text.empty());
  }
  EXPECT_NE(LoadStageProblem(lsCoordinates).English().find("coordinates"), std::string::npos);
}

}  // namespace
}  // namespace lumacet
