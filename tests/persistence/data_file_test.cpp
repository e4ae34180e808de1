#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "persistence/data_file.h"
#include "persistence/data_lines.h"
#include "persistence/data_test_support.h"

namespace lumacet {
namespace {

using test::PointType;
using test::Radiograph;
using test::ReadBytes;
using test::Record;
using test::Resolver;
using test::TTempFolder;
using test::WriteBytes;

std::string Padded(std::string text, size_t width) {
  text.resize(width, ' ');
  return text;
}

const std::string kSmithKey = Padded("Smith John", 30) + ",5/3/1990  ,F,5/3/2001  ,10.  ," +
                              Padded("first visit", 30) + "," + Padded("Lateral", 20);

class DataFileTest : public ::testing::Test {
 protected:
  std::unique_ptr<TXRayType> lateral = PointType("Lateral", 3);
  TTypeResolver types = Resolver({lateral.get()});
  TDataFileOptions options;
  TTempFolder folder;

  std::unique_ptr<TXRay> Smith() {
    return Radiograph(*lateral, "Smith John", DayNumber(2001, 3, 5), {{12.5, -3}, {0, 0}, {100, 200.25}});
  }
  // Radiograph with point 2 never digitized.
  std::unique_ptr<TXRay> SmithWithGap() {
    auto xray = Smith();
    xray->Coordinates[1]->SetValid(false);
    return xray;
  }
  std::unique_ptr<TXRay> Load(const std::string& path, int line, int& stage) {
    auto xray = std::make_unique<TXRay>();
    stage = LoadFromDataFile(*xray, path, line, types, options);
    return xray;
  }
};

TEST_F(DataFileTest, RecordHasTheFixedKeyColumnsAndTheImageAndCoordinateParts) {
  auto xray = SmithWithGap();
  EXPECT_EQ(RecordKey(*xray, options), kSmithKey);
  EXPECT_EQ(kSmithKey.size(), kRecordKeyLength);
  EXPECT_EQ(Record(*xray), kSmithKey + ",0,\"\",0,0,0,0,12.5,-3,nil,nil,100,200.25\r\n");

  xray->Name = std::string(31, 'n');
  xray->Female = false;
  xray->ImageRotation = 0.123456;
  xray->ImageOriginX = -1.23456;
  xray->PixelWidth = 0.5;
  lateral->Name = ",Lateral";  // a cached type renamed after its file was saved
  const std::string record = Record(*xray);
  EXPECT_EQ(record.substr(0, 30), std::string(30, 'n'));
  EXPECT_EQ(record.substr(42, 2), "M,");
  EXPECT_EQ(record.substr(92, 20), Padded("Lateral", 20));
  EXPECT_EQ(record.substr(112, 29), ",0.12346,\"\",-1.235,0,0.5,0,12");
}

TEST_F(DataFileTest, MagnificationFieldKeepsFiveCharactersAndReadsBackExactly) {
  EXPECT_EQ(MagnificationField(10), "10.  ");
  EXPECT_EQ(MagnificationField(12.5), "12.5 ");
  EXPECT_EQ(MagnificationField(-1000), "-1000");
  EXPECT_EQ(MagnificationField(0), "0.   ");
  EXPECT_EQ(MagnificationField(-0.0), "0.   ");
  EXPECT_EQ(MagnificationField(7.123456), "7.123");
  EXPECT_EQ(MagnificationField(-0.2001), "-0.2 ");  // cut to "-0.20", written as -0.2 is

  // What a record gives back is what entry points keep.
  EXPECT_EQ(StoredMagnification(12.5), 12.5);
  EXPECT_EQ(StoredMagnification(12.3456), 12.35);
  EXPECT_EQ(StoredMagnification(-99.99), -99.9);
  EXPECT_EQ(StoredMagnification(1000), 1000);
  EXPECT_FALSE(StoredMagnification(-100));
  EXPECT_FALSE(StoredMagnification(1000.5));

  for (double magnification : {10.0, 12.5, -50.5, 999.0}) {
    auto xray = Smith();
    xray->Magnification = magnification;
    WriteBytes(folder.File("m.csv"), Record(*xray));
    int stage = -1;
    auto read = Load(folder.File("m.csv"), 1, stage);
    ASSERT_EQ(stage, lsLoaded);
    EXPECT_EQ(read->Magnification, magnification);
  }
}

TEST_F(DataFileTest, RecordReadsBackWithEveryFieldAndAFreshHistory) {
  auto xray = SmithWithGap();
  xray->ImageFile = "/films/other/ceph 1.jpg";
  xray->ImageRotation = -0.5;
  xray->ImageOriginX = 12.25;
  xray->ImageOriginY = -7;
  xray->PixelWidth = 1.5;
  xray->PixelHeight = 1.75;
  const std::string path = folder.File("PATIENT.CSV");
  WriteBytes(path, "first line\r\n" + Record(*xray));

  int stage = -1;
  auto read = Load(path, 2, stage);
  ASSERT_EQ(stage, lsLoaded);
  EXPECT_EQ(read->Name, "Smith John");
  EXPECT_EQ(read->DateOfBirth, DayNumber(1990, 3, 5));
  EXPECT_EQ(read->DateTaken, DayNumber(2001, 3, 5));
  EXPECT_TRUE(read->Female);
  EXPECT_EQ(read->Comments, "first visit");
  EXPECT_EQ(read->Type(), lateral.get());
  EXPECT_EQ(read->DataFile, path);
  EXPECT_EQ(read->ImageFile, "/films/other/ceph 1.jpg");
  EXPECT_EQ(read->ImageRotation, -0.5);
  EXPECT_EQ(read->ImageOriginX, 12.25);
  EXPECT_EQ(read->ImageOriginY, -7);
  EXPECT_EQ(read->PixelWidth, 1.5);
  EXPECT_EQ(read->PixelHeight, 1.75);
  ASSERT_EQ(read->Coordinates.size(), 3u);
  EXPECT_TRUE(read->Coordinates[0]->XSet());
  EXPECT_EQ(read->Coordinates[0]->RawX(), 12.5);
  EXPECT_EQ(read->Coordinates[0]->RawY(), -3);
  EXPECT_FALSE(read->Coordinates[0]->NeedsPlacing);
  EXPECT_FALSE(read->Coordinates[1]->XSet());
  EXPECT_EQ(read->Coordinates[2]->RawY(), 200.25);
  EXPECT_NE(read->CurrentAnalysis, nullptr);
  EXPECT_FALSE(read->Modified);
  EXPECT_EQ(read->ChangeHistory, std::vector<std::string>{"Loaded from File."});
  EXPECT_EQ(Record(*read), Record(*xray));
}

TEST_F(DataFileTest, ReadingFailsAtTheStageThatCannotBeRead) {
  const std::string good = Record(*Smith());
  const std::string tail = good.substr(kRecordKeyLength);
  auto stageOf = [&](const std::string& line) {
    WriteBytes(folder.File("s.csv"), line);
    int stage = -1;
    Load(folder.File("s.csv"), 1, stage);
    return stage;
  };
  EXPECT_EQ(stageOf(good), lsLoaded);
  EXPECT_EQ(stageOf(kSmithKey.substr(0, 55) + "ten  " + kSmithKey.substr(60) + tail), lsMagnification);
  EXPECT_EQ(stageOf(kSmithKey.substr(0, 55) + "-100." + kSmithKey.substr(60) + tail), lsMagnification);
  EXPECT_EQ(stageOf(kSmithKey.substr(0, 92) + Padded("Frontal", 20) + tail), lsType);
  EXPECT_EQ(stageOf(kSmithKey + ",x,\"\",0,0,0,0,1,2\r\n"), lsImage);
  EXPECT_EQ(stageOf(kSmithKey + ",0,\"a.jpg\",0,nil,0,0,1,2\r\n"), lsImage);
  EXPECT_EQ(stageOf(kSmithKey + ",0,\"a.jpg,0,0,0,0\r\n"), lsImage);
  EXPECT_EQ(stageOf(kSmithKey + ",0,\"\",0,0,0,0,1,2,3,4,5,6,7,8\r\n"), lsCoordinates);
  EXPECT_EQ(stageOf("\r\n"), lsMagnification);

  WriteBytes(folder.File("two.csv"), good + good);
  int stage = -1;
  Load(folder.File("two.csv"), 3, stage);
  EXPECT_EQ(stage, lsReadLine);
  Load(folder.File("absent.csv"), 1, stage);
  EXPECT_EQ(stage, lsReadLine);
}

TEST_F(DataFileTest, ShortAndOldRecordsAndLongCoordinateFieldsRead) {
  // Version 1: no image part; fewer pairs than points; a field longer than 8 characters is
  // read whole; LF line ends.
  WriteBytes(folder.File("v1.csv"), kSmithKey + ",-1234.567,123456789\n");
  int stage = -1;
  auto read = Load(folder.File("v1.csv"), 1, stage);
  ASSERT_EQ(stage, lsLoaded);
  EXPECT_EQ(read->ImageFile, "");
  EXPECT_EQ(read->ImageRotation, 0);
  EXPECT_EQ(read->Coordinates[0]->RawX(), -1234.567);
  EXPECT_EQ(read->Coordinates[0]->RawY(), 123456789);
  EXPECT_FALSE(read->Coordinates[1]->XSet());
  EXPECT_FALSE(read->Coordinates[2]->XSet());

  // A type without digitized points: the record ends with its image part.
  auto bare = PointType("Bare", 0);
  auto xray = Radiograph(*bare, "Doe", DayNumber(2000, 1, 1));
  WriteBytes(folder.File("bare.csv"), Record(*xray));
  auto loaded = std::make_unique<TXRay>();
  EXPECT_EQ(LoadFromDataFile(*loaded, folder.File("bare.csv"), 1, Resolver({bare.get()}), options), lsLoaded);
}

TEST_F(DataFileTest, LifeSizeCorrectsOnReadingAndUncorrectsOnWriting) {
  options.ShowLifeSize = true;
  WriteBytes(folder.File("l.csv"), kSmithKey + ",0,\"\",0,0,0,0,110,-220,nil,nil\r\n");
  int stage = -1;
  auto read = Load(folder.File("l.csv"), 1, stage);
  ASSERT_EQ(stage, lsLoaded);
  EXPECT_TRUE(read->MagnificationCorrected);
  EXPECT_DOUBLE_EQ(read->Coordinates[0]->RawX(), 100);
  EXPECT_DOUBLE_EQ(read->Coordinates[0]->RawY(), -200);
  EXPECT_EQ(Record(*read, options), kSmithKey + ",0,\"\",0,0,0,0,110,-220,nil,nil,nil,nil\r\n");
}

TEST_F(DataFileTest, ImageLinksAreStoredRelativeToTheImageFolderByWholeComponents) {
  EXPECT_EQ(StoredImagePath("/data/img/a.jpg", "/data/img"), "a.jpg");
  EXPECT_EQ(StoredImagePath("/data/img/a.jpg", "/data/img/"), "a.jpg");
  EXPECT_EQ(StoredImagePath("/data/img/x/y/a.jpg", "/data/img"), "\\x\\y\\a.jpg");
  EXPECT_EQ(StoredImagePath("/data/img2/a.jpg", "/data/img"), "/data/img2/a.jpg");
  EXPECT_EQ(StoredImagePath("/other/a.jpg", "/data/img"), "/other/a.jpg");
  EXPECT_EQ(StoredImagePath("/data/img/a.jpg", ""), "/data/img/a.jpg");

  EXPECT_EQ(ResolveImagePath("", "/data/img"), "");
  EXPECT_EQ(ResolveImagePath("a.jpg", "/data/img"), "/data/img/a.jpg");
  EXPECT_EQ(ResolveImagePath("\\x\\y\\a.jpg", "/data/img"), "/data/img/x/y/a.jpg");
  EXPECT_EQ(ResolveImagePath("/other/a.jpg", "/data/img"), "/other/a.jpg");

  options.ImageFolder = "/data/img";
  auto xray = Smith();
  xray->ImageFile = "/data/img/x/a, b.jpg";
  WriteBytes(folder.File("i.csv"), Record(*xray, options));
  int stage = -1;
  EXPECT_EQ(Load(folder.File("i.csv"), 1, stage)->ImageFile, "/data/img/x/a, b.jpg");
}

TEST_F(DataFileTest, TextsThatWouldBreakARecordAreRefused) {
  EXPECT_TRUE(RecordTextError("Müller-Lüdenscheidt").Empty());
  EXPECT_FALSE(RecordTextError("Smith, John").Empty());
  EXPECT_FALSE(RecordTextError("5\" film").Empty());
  EXPECT_FALSE(RecordTextError("line\nbreak").Empty());
  EXPECT_FALSE(RecordTextError("Ωmega").Empty());
  EXPECT_TRUE(TypeNameError("Lateral").Empty());
  EXPECT_FALSE(TypeNameError(std::string(21, 't')).Empty());
  EXPECT_FALSE(TypeNameError(" Lateral").Empty());
  EXPECT_FALSE(TypeNameError("").Empty());

  const std::string path = folder.File("r.csv");
  WriteBytes(path, "keep\r\n");
  auto refused = [&](auto change, bool keyField) {
    auto xray = Smith();
    change(*xray);
    const TResultOf<std::string> record = FormatDataRecord(*xray, options);
    EXPECT_FALSE(record);
    EXPECT_FALSE(record.Text().Empty());
    EXPECT_EQ(RecordKey(*xray, options).empty(), keyField);
    EXPECT_FALSE(AppendToDataFile(*xray, path, options).Ok());
    EXPECT_TRUE(xray->Modified);
  };
  refused([](TXRay& x) { x.Name = "Smith, John"; }, true);
  refused([](TXRay& x) { x.Comments = "said \"hi\""; }, true);
  refused([](TXRay& x) { x.Comments = "\xE2\x98\xBA"; }, true);  // a smiley face
  refused([](TXRay& x) { x.Magnification = 5000; }, true);
  refused([](TXRay& x) { x.ImageFile = "/films/a\"b.jpg"; }, false);
  refused([&](TXRay&) { lateral->Name = "A Type Name Too Long For The Key"; }, true);
  EXPECT_EQ(ReadBytes(path), "keep\r\n");
}

TEST_F(DataFileTest, KeySurvivesBlanksAroundNameAndComments) {
  auto xray = Smith();
  xray->Name = "  Smith John ";
  const std::string path = folder.File("b.csv");
  ASSERT_TRUE(AppendToDataFile(*xray, path, options).Ok());
  int stage = -1;
  auto read = Load(path, 1, stage);
  EXPECT_EQ(read->Name, "Smith John");
  EXPECT_EQ(FindInDataFile(*read, path, options), 0);
  EXPECT_EQ(FindInDataFile(*xray, path, options), 0);
}

TEST_F(DataFileTest, FindingCountsLinesFromZeroOrOneAsEachOperationDoes) {
  auto smith = Smith();
  auto jones = Radiograph(*lateral, "Jones", DayNumber(2002, 1, 1));
  const std::string path = folder.File("f.csv");
  WriteBytes(path, "short\r\n" + Record(*jones) + Record(*smith) + Record(*smith));
  EXPECT_EQ(FindInDataFile(*smith, path, options), 2);
  EXPECT_EQ(FindKeyLine(path, RecordKey(*smith, options)).ValueOr(-1), 3);
  EXPECT_EQ(FindKeyLine(path, Record(*smith)).ValueOr(-1), 3);  // the key is cut to 112
  EXPECT_EQ(FindKeyLine(path, "short").ValueOr(-1), 1);         // a short line is compared whole
  EXPECT_EQ(FindInDataFile(*smith, folder.File("absent.csv"), options), -1);
  EXPECT_EQ(FindKeyLine(folder.File("absent.csv"), kSmithKey).ValueOr(-1), 0);
  smith->Comments = "second visit";
  EXPECT_EQ(FindInDataFile(*smith, path, options), -1);

  const TResultOf<std::string> line = ReadDataLine(path, 1);
  ASSERT_TRUE(line);
  EXPECT_EQ(*line, "short");
  const TResultOf<std::string> missing = ReadDataLine(path, 5);
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.Text().English(), "File error reading " + path);
}

TEST_F(DataFileTest, ReplacingRewritesEveryMatchingLineAndLeavesTheRestByteForByte) {
  auto smith = Smith();
  const std::string jones = Record(*Radiograph(*lateral, "Jones", DayNumber(2002, 1, 1)));
  const std::string oldSmith = Record(*smith);
  const std::string path = folder.File("PATIENT.CSV");
  std::string unix = jones;
  unix.erase(unix.size() - 2, 1);  // LF only
  WriteBytes(path, oldSmith + unix + oldSmith + "odd line without break");

  smith->Coordinates[0]->SetRaw(1, 2, true, true);
  smith->Modified = true;
  TResult result = ReplaceInDataFile(*smith, path, options);
  ASSERT_TRUE(result) << result.Reason();
  const std::string newSmith = Record(*smith);
  EXPECT_EQ(ReadBytes(path), newSmith + unix + newSmith + "odd line without break");
  EXPECT_FALSE(smith->Modified);
  EXPECT_EQ(smith->ChangeHistory, std::vector<std::string>{"Saved to file."});
  EXPECT_EQ(folder.Names().size(), 1u);  // no temporary file, and the lock went with the writer
}

TEST_F(DataFileTest, ReplacingARecordThatWentAppendsIt) {
  auto smith = Smith();
  const std::string path = folder.File("gone.csv");
  WriteBytes(path, "other line");
  ASSERT_TRUE(ReplaceInDataFile(*smith, path, options).Ok());
  EXPECT_EQ(ReadBytes(path), "other line\r\n" + Record(*smith));
}

TEST_F(DataFileTest, AppendingCreatesTheFileAndStartsANewLine) {
  auto smith = Smith();
  const std::string path = folder.File("new.csv");
  ASSERT_TRUE(AppendToDataFile(*smith, path, options).Ok());
  EXPECT_EQ(ReadBytes(path), Record(*smith));
  WriteBytes(path, "unterminated");
  ASSERT_TRUE(AppendToDataFile(*smith, path, options).Ok());
  EXPECT_EQ(ReadBytes(path), "unterminated\r\n" + Record(*smith));

  EXPECT_EQ(AppendToDataFile(*smith, "", options).Text().English(), "No file name.");
  EXPECT_EQ(ReplaceInDataFile(*smith, "", options).Text().English(), "No file name.");
  EXPECT_FALSE(AppendToDataFile(*smith, folder.File("missing/x.csv"), options).Ok());
}

TEST_F(DataFileTest, AReadOnlyDataFileIsRefusedAndLeftAlone) {
  auto smith = Smith();
  const std::string path = folder.File("locked.csv");
  WriteBytes(path, Record(*smith));
  ::chmod(path.c_str(), 0444);
  smith->Modified = true;
  for (const TResult& result : {AppendToDataFile(*smith, path, options), ReplaceInDataFile(*smith, path, options),
                                    DeleteFromFile(path, {{1, kSmithKey}})}) {
    EXPECT_FALSE(result);
    EXPECT_NE(result.Reason().find("read-only"), std::string::npos);
  }
  EXPECT_EQ(AppendToDataFile(*smith, path, options).Text().English(), "Error saving radiograph.");
  EXPECT_EQ(ReadBytes(path), Record(*smith));
  EXPECT_TRUE(smith->Modified);
  EXPECT_EQ(folder.Names().size(), 1u);  // the lock went with the writer
}

TEST_F(DataFileTest, DeletingRemovesTheListedLinesOnlyWhileTheyAreUnchanged) {
  const std::string a = Record(*Radiograph(*lateral, "A", DayNumber(2000, 1, 1)));
  const std::string b = Record(*Radiograph(*lateral, "B", DayNumber(2000, 1, 1)));
  const std::string c = Record(*Radiograph(*lateral, "C", DayNumber(2000, 1, 1)));
  const std::string path = folder.File("d.csv");
  WriteBytes(path, a + b + c);
  ASSERT_TRUE(DeleteFromFile(path, {{1, a.substr(0, 112)}, {3, c.substr(0, 112)}}).Ok());
  EXPECT_EQ(ReadBytes(path), b);

  // The file changed since it was listed: line 1 is no longer A.
  TResult stale = DeleteFromFile(path, {{1, a.substr(0, 112)}});
  EXPECT_FALSE(stale);
  EXPECT_EQ(stale.Text().English(), "Error deleting radiograph.");
  EXPECT_FALSE(DeleteFromFile(path, {{2, b.substr(0, 112)}}).Ok());
  EXPECT_EQ(ReadBytes(path), b);
}

// A co-worker saves into a clinic folder's file whose group they are not in: the save goes
// ahead (the record is theirs to keep), but the group's access went with the old file, and
// they are told so instead of learning it from the colleague who can no longer open it.
TEST_F(DataFileTest, ASaveThatCannotKeepTheFilesGroupSaysSo) {
  if (::geteuid() != 0) GTEST_SKIP() << "a file of another group and a user outside it need the superuser";
  constexpr uid_t kNobody = 65534;
  constexpr gid_t kClinic = 4321;
  auto smith = Smith();
  const std::string path = folder.File("clinic.csv");
  WriteBytes(path, Record(*smith));
  ASSERT_EQ(::chmod(folder.Path().c_str(), 0777), 0);
  ASSERT_EQ(::chown(path.c_str(), kNobody, kClinic), 0);
  ASSERT_EQ(::chmod(path.c_str(), 0664), 0);
  ASSERT_TRUE(AppendToDataFile(*smith, path, options).Notice().Empty()) << "the superuser keeps every group";

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(10);
    const TResult saved = AppendToDataFile(*smith, path, options);
    const std::string notice = saved.Notice().English();
    ::_exit(!saved                                                ? 1
            : notice.find(path) == std::string::npos               ? 2
            : notice.find("your own group") == std::string::npos  ? 3
                                                                   : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: not saved, 2 or 3: the notice does not name the file or the group";
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_gid, kNobody);
  EXPECT_EQ(ReadBytes(path), Record(*smith) + Record(*smith) + Record(*smith));
}

TEST_F(DataFileTest, ASymbolicLinkedDataFileIsRewrittenWhereItLies) {
  auto smith = Smith();
  const std::string target = folder.File("real.csv");
  WriteBytes(target, "");
  std::filesystem::create_symlink(target, folder.File("link.csv"));
  ASSERT_TRUE(AppendToDataFile(*smith, folder.File("link.csv"), options).Ok());
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.csv")));
  EXPECT_EQ(ReadBytes(target), Record(*smith));
}

TEST_F(DataFileTest, CompatibilityModeUsesTheShortDateFormatBothWays) {
  options.Dates.Compatibility = true;
  options.Dates.ShortDateFormat = "MM-dd-yy";
  options.Dates.CenturyYear = 2024;
  auto smith = Smith();
  EXPECT_EQ(RecordKey(*smith, options).substr(31, 10), "03-05-1990");
  WriteBytes(folder.File("c.csv"), Padded("Old", 30) + ",12-31-69  ,M,01-02-03  ,0.   ," + Padded("", 30) + "," +
                                       Padded("Lateral", 20) + "\r\n");
  int stage = -1;
  auto read = Load(folder.File("c.csv"), 1, stage);
  ASSERT_EQ(stage, lsLoaded);
  EXPECT_EQ(read->DateOfBirth, DayNumber(2069, 12, 31));
  EXPECT_EQ(read->DateTaken, DayNumber(2003, 1, 2));
  EXPECT_FALSE(read->Female);
}

TEST(DataLinesTest, IndexReadsAnyLineOfEitherLineEndWithoutItsBreak) {
  TTempFolder folder;
  const std::string path = folder.File("lines.csv");
  WriteBytes(path, "\xEF\xBB\xBFone\r\ntwo\n\r\nfour");
  TDataFileIndex index;
  ASSERT_TRUE(index.Open(path));
  std::string line;
  EXPECT_TRUE(index.ReadLine(4, line));
  EXPECT_EQ(line, "four");
  EXPECT_TRUE(index.ReadLine(1, line));
  EXPECT_EQ(line, "one");
  EXPECT_TRUE(index.ReadLine(3, line));
  EXPECT_EQ(line, "");
  EXPECT_TRUE(index.ReadLine(2, line));
  EXPECT_EQ(line, "two");
  EXPECT_FALSE(index.ReadLine(5, line));
  EXPECT_FALSE(index.ReadLine(0, line));
  EXPECT_FALSE(index.Failed());

  std::vector<std::string> seen;
  EXPECT_TRUE(index.ForEachLine([&](size_t number, std::string_view text) {
    seen.push_back(std::to_string(number) + ":" + std::string(text));
    return number < 3;
  }));
  EXPECT_EQ(seen, (std::vector<std::string>{"1:one", "2:two", "3:"}));

  std::string bytes = ReadBytes(path);
  KeepLines(bytes, [](size_t number, std::string_view) { return number != 2; });
  EXPECT_EQ(bytes, "\xEF\xBB\xBFone\r\n\r\nfour");

  WriteBytes(path, "");
  ASSERT_TRUE(index.Open(path));
  EXPECT_FALSE(index.ReadLine(1, line));
  EXPECT_FALSE(index.Open(folder.File("absent")));
}

// Lines span the pieces the file is read in.
TEST(DataLinesTest, IndexAndStreamAgreeWithTheCursorOnALargeFile) {
  TTempFolder folder;
  std::string content;
  for (int i = 0; i < 120000; ++i) content += "line " + std::to_string(i) + (i % 3 == 0 ? "\n" : "\r\n");
  content += "last";
  WriteBytes(folder.File("big"), content);
  TDataFileIndex index;
  ASSERT_TRUE(index.Open(folder.File("big")));
  std::vector<std::string> streamed;
  ASSERT_TRUE(index.ForEachLine([&](size_t, std::string_view text) {
    streamed.emplace_back(text);
    return true;
  }));
  TLineCursor cursor(content);
  TLineSpan span;
  std::string line;
  while (cursor.Next(span)) {
    ASSERT_TRUE(index.ReadLine(cursor.Number(), line));
    ASSERT_EQ(line, span.Text);
    ASSERT_EQ(streamed[cursor.Number() - 1], span.Text);
  }
  EXPECT_EQ(cursor.Number(), streamed.size());
  EXPECT_FALSE(index.ReadLine(cursor.Number() + 1, line));
  std::string all;
  ASSERT_TRUE(index.ReadAll(all));
  EXPECT_EQ(all, content);
}

}  // namespace
}  // namespace lumacet
