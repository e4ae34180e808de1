#include <gtest/gtest.h>
#include <sys/stat.h>

#include <deque>
#include <filesystem>

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

// Answers the browser's questions from a script and records what it was told.
class TScriptedPrompts : public TRecordBrowserPrompts {
 public:
  bool ConfirmDelete(const TText& question) override {
    Questions.push_back(question.English());
    return DeleteAnswer;
  }
  std::optional<std::string> ChooseCopyDestination() override { return Destination; }
  TReplaceAnswer AskReplace(const TText& question) override {
    Questions.push_back(question.English());
    if (Answers.empty()) return TReplaceAnswer::Abort;
    TReplaceAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  void ShowError(const TText& message, const std::string&) override { Errors.push_back(message.English()); }

  bool DeleteAnswer = true;
  std::optional<std::string> Destination;
  std::deque<TReplaceAnswer> Answers;
  std::vector<std::string> Questions;
  std::vector<std::string> Errors;
};

class RecordBrowserTest : public ::testing::Test {
 protected:
  RecordBrowserTest() {
    options.Data.Dates.ShortDateFormat = "dd.MM.yyyy";
    options.DataFolder = folder.Path().string();
    options.SortKey = LocaleSortKeys("C");
  }

  std::string Line(const std::string& name, TDayNumber taken, const std::string& comments = "c") {
    auto xray = Radiograph(*lateral, name, taken);
    xray->Comments = comments;
    xray->ImageFile = "/films/" + name + ".jpg";
    return Record(*xray);
  }
  // Records 1..6 of PATIENT.CSV, in file order: a blank line is record 4.
  void WritePatients() {
    WriteBytes(folder.File("PATIENT.CSV"), Line("smith", DayNumber(2001, 5, 1)) + Line("Smithers", DayNumber(1999, 1, 9)) +
                                               Line("Smith", DayNumber(2000, 1, 10)) + "\r\n" +
                                               Line("Jones", DayNumber(2001, 2, 3), "recall 2001") +
                                               Line("Smith", DayNumber(1999, 1, 9)));
  }
  std::vector<int> Records(const TRecordBrowser& browser) {
    std::vector<int> records;
    for (const TRecordRow& row : browser.Rows()) records.push_back(row.Record);
    return records;
  }

  TTempFolder folder;
  std::unique_ptr<TXRayType> lateral = PointType("Lateral", 2);
  TRecordBrowserOptions options;
};

TEST(RecordFieldsTest, CommaListRuleSplitsTheFirstEightFields) {
  EXPECT_EQ(SplitRecordFields(",,a,,b ,\"x,y\",c"), (std::vector<std::string_view>{"a", "b ", "x,y", "c"}));
  EXPECT_EQ(SplitRecordFields("1,2,3,4,5,6,7,8,9,10"),
            (std::vector<std::string_view>{"1", "2", "3", "4", "5", "6", "7", "8"}));
  EXPECT_EQ(SplitRecordFields("\"open"), (std::vector<std::string_view>{"open"}));
  EXPECT_EQ(SplitRecordFields("\"a\"tail,b"), (std::vector<std::string_view>{"a", "b"}));
  EXPECT_TRUE(SplitRecordFields("").empty());
}

TEST_F(RecordBrowserTest, ListsTheDefaultFileSortedByNameWithoutRegardToCase) {
  WritePatients();
  TRecordBrowser browser(options);
  browser.LoadGrid();
  EXPECT_EQ(browser.DataFile(), folder.File("PATIENT.CSV"));
  // Equal names order by the date text as stored ("10/1/2000" before "9/1/1999").
  EXPECT_EQ(Records(browser), (std::vector<int>{5, 1, 3, 6, 2}));
  const TRecordRow& jones = browser.Rows()[0];
  EXPECT_EQ(jones.Name, "Jones");
  EXPECT_EQ(jones.Date, "03.02.2001");
  EXPECT_EQ(jones.Type, "Lateral");
  EXPECT_EQ(jones.Comments, "recall 2001");
  EXPECT_EQ(jones.Image, "/films/Jones.jpg");
  EXPECT_EQ(jones.Key.size(), 112u);
  EXPECT_EQ(browser.ListStatus().English(), "Total Count: 5");

  browser.Order = TRecordOrder::NoSort;
  browser.LoadGrid();
  EXPECT_EQ(Records(browser), (std::vector<int>{1, 2, 3, 5, 6}));
}

TEST_F(RecordBrowserTest, SortingFoldsTheCaseOfEveryLetterAFileCanHold) {
  std::string content;
  for (const char* name : {"ärger", "Zed", "Ärger", "šimon", "Šimon", "ŸES", "ÿes"})
    content += Line(name, DayNumber(2000, 1, 1));
  TListing listing;
  listing.SortKey = LocaleSortKeys("C");
  std::vector<int> records;
  for (const TRecordRow& row : ListRecords(content, listing)) records.push_back(row.Record);
  EXPECT_EQ(records, (std::vector<int>{2, 1, 3, 6, 7, 4, 5}));
}

TEST_F(RecordBrowserTest, FilterMatchesTheStoredFieldInAnyCaseOrExactlyAsTyped) {
  WritePatients();
  TRecordBrowser browser(options);
  browser.Order = TRecordOrder::NoSort;
  browser.LoadGrid();
  // Typing filters the records read: a file changed meanwhile is not read again.
  const std::string content = ReadBytes(folder.File("PATIENT.CSV"));
  WriteBytes(folder.File("PATIENT.CSV"), "");
  auto filtered = [&](const std::string& text, bool matchCase) {
    browser.FilterText = text;
    browser.MatchCase = matchCase;
    browser.Filter();
    return Records(browser);
  };
  EXPECT_EQ(filtered("SMITH", false), (std::vector<int>{1, 2, 3, 6}));
  EXPECT_EQ(filtered("smith", true), (std::vector<int>{1}));
  EXPECT_EQ(filtered("", false).size(), 5u);
  WriteBytes(folder.File("PATIENT.CSV"), content);

  browser.MatchCase = true;
  auto listed = [&](TFilterField field, const std::string& text) {
    browser.FilterField = field;
    browser.FilterText = text;
    browser.LoadGrid();
    return Records(browser);
  };
  EXPECT_EQ(listed(TFilterField::Date, "2001"), (std::vector<int>{1, 5}));
  EXPECT_EQ(listed(TFilterField::Name, "Smith"), (std::vector<int>{2, 3, 6}));
  EXPECT_EQ(listed(TFilterField::Name, "   "), (std::vector<int>{1, 2, 3, 5, 6}));
  EXPECT_TRUE(listed(TFilterField::Name, " Smith").empty());
  EXPECT_EQ(listed(TFilterField::Comments, "recall"), (std::vector<int>{5}));
  EXPECT_EQ(listed(TFilterField::Type, "Lateral "), (std::vector<int>{1, 2, 3, 5, 6}));
  EXPECT_EQ(browser.ListStatus().English(), "Total Count: 5");
  listed(TFilterField::Type, "Frontal");
  EXPECT_EQ(browser.ListStatus().English(), "No matching cases found.");
  EXPECT_FALSE(browser.CommandsEnabled());
}

TEST_F(RecordBrowserTest, EmptyAndUnreadableFilesListNothing) {
  WriteBytes(folder.File("empty.csv"), "");
  TRecordBrowser browser(options);
  browser.SetDataFile(folder.File("empty.csv"));
  browser.LoadGrid();
  EXPECT_TRUE(browser.Rows().empty());
  EXPECT_EQ(browser.ListStatus().English(), "No matching cases found.");
  browser.SelectAll();
  EXPECT_FALSE(browser.CommandsEnabled());
  browser.SetDataFile(folder.File("absent.csv"));
  browser.LoadGrid();
  EXPECT_TRUE(browser.Rows().empty());

  // A date that does not read shows day 0.
  WriteBytes(folder.File("odd.csv"), "Odd,x,F,someday,10,c,T\r\n");
  browser.SetDataFile(folder.File("odd.csv"));
  browser.LoadGrid();
  ASSERT_EQ(browser.Rows().size(), 1u);
  EXPECT_EQ(browser.Rows()[0].Date, "30.12.1899");
  EXPECT_EQ(browser.Rows()[0].Image, "");
}

TEST_F(RecordBrowserTest, SelectionGesturesFollowClicksKeysAndCommands) {
  WritePatients();
  TRecordBrowser browser(options);
  browser.LoadGrid();  // rows: Jones, smith, Smith (2000), Smith (1999), Smithers
  auto selected = [&] { return browser.SelectedRecords(); };

  browser.ShiftClick(2, false);  // no anchor yet: the row itself
  EXPECT_EQ(selected(), (std::vector<int>{3}));
  browser.Click(1);
  browser.ShiftClick(3, false);
  EXPECT_EQ(selected(), (std::vector<int>{1, 3, 6}));
  browser.CtrlClick(0);  // toggles and moves the anchor
  browser.ShiftClick(1, true);
  EXPECT_EQ(selected(), (std::vector<int>{5, 1, 3, 6}));
  browser.CtrlClick(2);
  EXPECT_EQ(selected(), (std::vector<int>{5, 1, 6}));
  browser.ShiftClick(4, false);
  EXPECT_EQ(selected(), (std::vector<int>{3, 6, 2}));
  browser.ToggleRow(4);
  EXPECT_EQ(browser.SelectedStatus().English(), "Selected: 2");
  EXPECT_TRUE(browser.CommandsEnabled());

  browser.SelectInverse();
  EXPECT_EQ(selected(), (std::vector<int>{5, 1, 2}));
  browser.ShiftClick(0, false);  // the inverse forgot the anchor
  EXPECT_EQ(selected(), (std::vector<int>{5}));
  browser.SelectAll();
  EXPECT_EQ(browser.SelectedCount(), 5u);
  browser.SelectNone();
  EXPECT_EQ(browser.SelectedStatus().English(), "Selected: 0");
  EXPECT_FALSE(browser.CommandsEnabled());

  // Expanding includes every row of exactly the same name, not "smith" for "Smith".
  browser.Click(2);
  browser.ExpandSelection();
  EXPECT_EQ(selected(), (std::vector<int>{3, 6}));
  browser.LoadGrid();
  EXPECT_EQ(browser.SelectedCount(), 0u);
}

TEST_F(RecordBrowserTest, SearchByFieldValuesMatchesColumnsExactlyOrPartly) {
  WritePatients();
  WriteBytes(folder.File("other.csv"), Line("Smith", DayNumber(2003, 3, 3)));
  TRecordBrowser browser(options);
  EXPECT_EQ(browser.GetRecordsByData("", "Smith", "", "", "", false), (std::vector<int>{3, 6}));
  EXPECT_EQ(browser.GetRecordsByData("", "Smith", "", "", "", true), (std::vector<int>{3, 6, 2}));
  EXPECT_EQ(browser.GetRecordsByData("", "", "", "", "", false).size(), 5u);
  EXPECT_EQ(browser.GetRecordsByData("", "Smith", "09.01.1999", "Lateral", "c", false), (std::vector<int>{6}));

  EXPECT_EQ(browser.GetRecordsByData(folder.File("other.csv"), "Smith", "", "", "", false), (std::vector<int>{1}));
  EXPECT_EQ(browser.DataFile(), folder.File("PATIENT.CSV"));
  EXPECT_EQ(browser.ListedFile(), folder.File("other.csv"));

  browser.FilterText = "Smithers";
  EXPECT_EQ(browser.GetRecordsByData("", "Smith", "", "", "", true), (std::vector<int>{2}));
}

TEST_F(RecordBrowserTest, DeletingAsksThenRemovesTheSelectedRecordsAndListsAgain) {
  WritePatients();
  const std::string before = ReadBytes(folder.File("PATIENT.CSV"));
  TRecordBrowser browser(options);
  browser.LoadGrid();
  TScriptedPrompts prompts;
  EXPECT_FALSE(browser.Delete(prompts));  // nothing selected: nothing asked
  EXPECT_TRUE(prompts.Questions.empty());

  browser.Click(2);
  browser.ExpandSelection();
  prompts.DeleteAnswer = false;
  EXPECT_FALSE(browser.Delete(prompts));
  EXPECT_EQ(prompts.Questions.back(), "This will permanently delete all selected radiographs.\r\n\r\nAre you sure ?");
  EXPECT_EQ(ReadBytes(folder.File("PATIENT.CSV")), before);

  prompts.DeleteAnswer = true;
  EXPECT_TRUE(browser.Delete(prompts));
  EXPECT_EQ(Records(browser), (std::vector<int>{4, 1, 2}));  // listed again: the blank line moved up
  EXPECT_EQ(browser.SelectedCount(), 0u);

  TRecordBrowserOptions refusing = options;
  refusing.Permitted = [](std::string_view permission) { return permission != "Delete"; };
  TRecordBrowser guarded(refusing);
  guarded.LoadGrid();
  guarded.SelectAll();
  EXPECT_FALSE(guarded.Delete(prompts));
  EXPECT_EQ(guarded.Rows().size(), 3u);
}

class RecordCopyTest : public RecordBrowserTest {
 protected:
  // Records 1..8; record 7 is named so that it sorts first.
  void SetUp() override {
    for (int i = 1; i <= 8; ++i) {
      lines.push_back(Line((i == 7 ? "A" : "P") + std::to_string(i), DayNumber(2000, 1, i)));
      source += lines.back();
    }
    WriteBytes(folder.File("PATIENT.CSV"), source);
    browser.LoadGrid();
    prompts.Destination = folder.File("dest.csv");
  }
  const std::string& SourceLine(int record) const { return lines[record - 1]; }
  void Select(std::initializer_list<int> records) {
    for (int record : records) ASSERT_TRUE(browser.SelectRecord(record));
  }

  std::vector<std::string> lines;
  std::string source;
  TRecordBrowser browser{options};
  TScriptedPrompts prompts;
};

TEST_F(RecordCopyTest, CopyingIntoANewFileAppendsInFileOrder) {
  browser.CtrlClick(0);  // record 7
  browser.CtrlClick(3);  // record 3
  EXPECT_EQ(browser.SelectedRecords(), (std::vector<int>{7, 3}));
  ASSERT_TRUE(browser.CopyTo(prompts));
  EXPECT_EQ(ReadBytes(folder.File("dest.csv")), SourceLine(3) + SourceLine(7));
  EXPECT_EQ(ReadBytes(folder.File("PATIENT.CSV")), source);
  EXPECT_TRUE(prompts.Errors.empty());
}

TEST_F(RecordCopyTest, ReplacedRecordsMoveToTheEndAndAnswersForAllStopTheQuestions) {
  const std::string other = Line("Other", DayNumber(1980, 1, 1));
  WriteBytes(folder.File("dest.csv"), SourceLine(2) + other + SourceLine(2) + SourceLine(5) + "tail");
  Select({2, 5, 6});
  prompts.Answers = {TReplaceAnswer::Yes, TReplaceAnswer::No};
  ASSERT_TRUE(browser.CopyTo(prompts));
  EXPECT_EQ(prompts.Questions, (std::vector<std::string>{
                                   "P2: Radiograph is already present in the destination file.\r\n\r\nDo you want to "
                                   "replace it?",
                                   "P5: Radiograph is already present in the destination file.\r\n\r\nDo you want to "
                                   "replace it?"}));
  EXPECT_EQ(ReadBytes(folder.File("dest.csv")), other + SourceLine(5) + "tail\r\n" + SourceLine(2) + SourceLine(6));

  prompts.Questions.clear();
  prompts.Answers = {TReplaceAnswer::NoToAll};
  const std::string before = ReadBytes(folder.File("dest.csv"));
  browser.SelectNone();
  Select({2, 5, 6});
  ASSERT_TRUE(browser.CopyTo(prompts));
  EXPECT_EQ(prompts.Questions.size(), 1u);
  EXPECT_EQ(ReadBytes(folder.File("dest.csv")), before);

  prompts.Questions.clear();
  prompts.Answers = {TReplaceAnswer::YesToAll};
  ASSERT_TRUE(browser.CopyTo(prompts));
  EXPECT_EQ(prompts.Questions.size(), 1u);
  EXPECT_EQ(ReadBytes(folder.File("dest.csv")), other + "tail\r\n" + SourceLine(2) + SourceLine(5) + SourceLine(6));
}

TEST_F(RecordCopyTest, FailedCopiesChangeNeitherFile) {
  WriteBytes(folder.File("dest.csv"), SourceLine(4));
  Select({1, 4});
  prompts.Answers = {TReplaceAnswer::Abort};
  EXPECT_FALSE(browser.CopyTo(prompts));
  EXPECT_EQ(prompts.Errors, std::vector<std::string>{"Error during copying. Original files have not been changed."});
  EXPECT_EQ(ReadBytes(folder.File("dest.csv")), SourceLine(4));

  prompts.Errors.clear();
  prompts.Answers = {TReplaceAnswer::Yes};
  ::chmod(folder.File("dest.csv").c_str(), 0444);
  EXPECT_FALSE(browser.CopyTo(prompts));
  EXPECT_EQ(prompts.Errors, (std::vector<std::string>{"Error copying. Destination file may be Read-only.",
                                                       "Error during copying. Original files have not been changed."}));
  EXPECT_EQ(ReadBytes(folder.File("dest.csv")), SourceLine(4));

  // The source changed since it was listed.
  prompts.Errors.clear();
  prompts.Destination = folder.File("fresh.csv");
  WriteBytes(folder.File("PATIENT.CSV"), SourceLine(2) + SourceLine(1));
  EXPECT_FALSE(browser.CopyTo(prompts));
  EXPECT_EQ(prompts.Errors.front(), "File error reading " + folder.File("PATIENT.CSV"));
  EXPECT_FALSE(std::filesystem::exists(folder.File("fresh.csv")));

  prompts.Errors.clear();
  prompts.Destination = folder.File("no folder/dest.csv");
  WriteBytes(folder.File("PATIENT.CSV"), source);
  EXPECT_FALSE(browser.CopyTo(prompts));
  EXPECT_EQ(prompts.Errors.front(), "File error writing to " + folder.File("no folder/dest.csv"));
}

TEST_F(RecordCopyTest, TheSameFileUnderAnotherNameIsRefused) {
  Select({1});
  std::filesystem::create_symlink(folder.File("PATIENT.CSV"), folder.File("alias.csv"));
  for (const std::string& destination :
       {folder.File("PATIENT.CSV"), folder.File("alias.csv"), folder.Path().string() + "/./PATIENT.CSV"}) {
    prompts.Destination = destination;
    prompts.Errors.clear();
    EXPECT_FALSE(browser.CopyTo(prompts));
    EXPECT_EQ(prompts.Errors, std::vector<std::string>{"Cannot copy: Source and destination files are the same."});
  }
  EXPECT_EQ(ReadBytes(folder.File("PATIENT.CSV")), source);

  prompts.Destination.reset();  // the file dialog was cancelled
  prompts.Errors.clear();
  EXPECT_FALSE(browser.CopyTo(prompts));
  EXPECT_TRUE(prompts.Errors.empty());
}

}  // namespace
}  // namespace lumacet
