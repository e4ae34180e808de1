// The record browser's model: lists the records of one data file, filtered and ordered,
// keeps the selection the user builds with clicks and keys, finds records by field values,
// and deletes or copies the selected records. The browser window sits on this class and
// answers its questions through TRecordBrowserPrompts.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persistence/data_file.h"

namespace lumacet {

inline constexpr TTextSource kSelectedStatus = LcText("RecordBrowser", "Selected: %1");
inline constexpr TTextSource kTotalCountStatus = LcText("RecordBrowser", "Total Count: %1");
inline constexpr TTextSource kNoMatchStatus = LcText("RecordBrowser", "No matching cases found.");
inline constexpr TTextSource kDeleteQuestion =
    LcText("RecordBrowser", "This will permanently delete all selected radiographs.\r\n\r\nAre you sure ?");
inline constexpr TTextSource kReplaceQuestion = LcText(
    "RecordBrowser", "%1: Radiograph is already present in the destination file.\r\n\r\nDo you want to replace it?");
inline constexpr TTextSource kSameFileMessage =
    LcText("RecordBrowser", "Cannot copy: Source and destination files are the same.");
inline constexpr TTextSource kFileWriteErrorMessage = LcText("RecordBrowser", "File error writing to %1");
inline constexpr TTextSource kReadOnlyDestinationMessage =
    LcText("RecordBrowser", "Error copying. Destination file may be Read-only.");
inline constexpr TTextSource kCopyFailedMessage =
    LcText("RecordBrowser", "Error during copying. Original files have not been changed.");

enum class TFilterField { Name, Date, Type, Comments };
inline constexpr size_t kFilterFieldCount = 4;
// A record's fields the filter looks at, as stored (blanks kept), by TFilterField.
using TFilterTexts = std::array<std::string, kFilterFieldCount>;
enum class TRecordOrder { SortByName, NoSort };
enum class TReplaceAnswer { Yes, No, Abort, NoToAll, YesToAll };

// What the browser asks of its window.
class TRecordBrowserPrompts {
 public:
  virtual ~TRecordBrowserPrompts() = default;
  // kDeleteQuestion; true for Yes.
  virtual bool ConfirmDelete(const TText& question) = 0;
  // The file to copy into ("Select the destination file"); nullopt when cancelled.
  virtual std::optional<std::string> ChooseCopyDestination() = 0;
  // kReplaceQuestion with the patient's name filled in.
  virtual TReplaceAnswer AskReplace(const TText& question) = 0;
  // An error box; `detail`, when not empty, says what went wrong underneath.
  virtual void ShowError(const TText& message, const std::string& detail) = 0;
};

// The fields a record line is listed by: cut at each comma, runs of commas and a leading
// comma giving no empty field, a field that begins with a double quote running to the next
// double quote (quotes dropped). Only the first eight fields are cut off (name, date of
// birth, sex, date taken, magnification, comments, type, rotation).
std::vector<std::string_view> SplitRecordFields(std::string_view line);

struct TRecordRow {
  int Record = 0;  // the line number, from 1
  std::string Name;
  std::string Date;  // date taken in the user's short date format
  std::string Type;
  std::string Comments;
  std::string Image;
  std::string Key;  // the line's first 112 characters as on disk: the record acted on later
};

// Turns a text into a key that compares byte by byte as the texts are to be ordered.
using TSortKeyFunction = std::function<std::string(std::string_view utf8)>;
// A locale's collation without regard to case; by default the user's (LC_COLLATE).
TSortKeyFunction LocaleSortKeys(const std::string& localeName = "");

struct TListing {
  TFilterField FilterField = TFilterField::Name;
  std::string FilterText;  // "Show only those containing:"; applies when not blank
  bool MatchCase = false;  // "Match case": the filter text as typed, else any case of its letters
  TRecordOrder Order = TRecordOrder::SortByName;
  TDataDateFormat Dates;   // how the file holds dates; its short date format shows them
  TSortKeyFunction SortKey;  // null: LocaleSortKeys()
};

// The rows a data file's content lists. Blank lines are not listed but keep their numbers.
std::vector<TRecordRow> ListRecords(std::string_view content, const TListing& listing);

// Asked before deleting ("Delete") and copying ("CopyTo"); false refuses.
using TPermissionCheck = std::function<bool(std::string_view permission)>;

struct TRecordBrowserOptions {
  TDataFileOptions Data;
  std::string DefaultFile = "PATIENT.CSV";  // "Default File"
  std::string DataFolder;                   // "CSV Path": a relative default file lies there
  TSortKeyFunction SortKey;                 // null: LocaleSortKeys()
  TPermissionCheck Permitted;               // null: everything is allowed
};

class TRecordBrowser {
 public:
  explicit TRecordBrowser(TRecordBrowserOptions options) : fOptions(std::move(options)) {}

  // The file to list; empty until set or until the first listing takes the default file.
  const std::string& DataFile() const { return fDataFile; }
  void SetDataFile(std::string path) { fDataFile = std::move(path); }
  // The file the rows came from, which the commands act on.
  const std::string& ListedFile() const { return fListedFile; }

  TFilterField FilterField = TFilterField::Name;
  std::string FilterText;
  bool MatchCase = false;
  TRecordOrder Order = TRecordOrder::SortByName;
  bool LoadImage = true;  // "Load Image with tracing"

  // Lists the data file (the default file when none is set). A file that cannot be read
  // lists nothing; a read failure part-way keeps the rows read so far.
  void LoadGrid();
  // Applies FilterField, FilterText and MatchCase to the records last read, in memory: what
  // typing into the filter calls. The selection starts again.
  void Filter();
  const std::vector<TRecordRow>& Rows() const { return fFiltered ? fFilteredRows : fAllRows; }
  // "No matching cases found.", "Total Count: n", or why the listed file could not be read.
  TText ListStatus() const;
  bool ListFailed() const { return !fListProblem.Empty(); }

  // Selection gestures; rows are indexes into Rows().
  void Click(size_t row);
  void CtrlClick(size_t row);
  void ShiftClick(size_t row, bool ctrl);
  void ToggleRow(size_t row);  // Space on the row with the keyboard focus
  void SelectAll();
  void SelectNone();
  void SelectInverse();
  // Selects every row named exactly like a selected row.
  void ExpandSelection();
  // Adds the row of a record number to the selection; false when it is not listed.
  bool SelectRecord(int record);

  bool IsSelected(size_t row) const { return row < fSelected.size() && fSelected[row]; }
  size_t SelectedCount() const;
  // "Selected: n".
  TText SelectedStatus() const;
  // Whether "Delete...", "Load and Exit", "Expand Selection" and "Copy to..." are enabled.
  bool CommandsEnabled() const { return SelectedCount() > 0; }
  // The record numbers of the selected rows, in row order.
  std::vector<int> SelectedRecords() const;

  // The records of `file` (or of the data file when empty) whose columns match every
  // criterion that is not empty: equal, or containing it when `partial`; the date as shown.
  // The data file stays what it was; the rows and ListedFile() are those of the search.
  std::vector<int> GetRecordsByData(const std::string& file, const std::string& name, const std::string& date,
                                    const std::string& type, const std::string& comments, bool partial);

  // "Delete...": asks, removes the selected records from the file, lists it again. True
  // when records were deleted.
  bool Delete(TRecordBrowserPrompts& prompts);
  // "Copy to...": copies the selected records into a file the window chooses, asking before
  // replacing a record already there. The listed file never changes; the destination changes
  // in one atomic step or not at all. True when the copy was made.
  bool CopyTo(TRecordBrowserPrompts& prompts);

 private:
  void List(const std::string& path);
  bool Permitted(std::string_view permission) const;
  bool CopySelected(const std::string& destination, TRecordBrowserPrompts& prompts);

  TRecordBrowserOptions fOptions;
  std::string fDataFile;
  std::string fListedFile;
  TText fListProblem;  // why the listed file could not be read, or empty
  std::vector<TRecordRow> fAllRows;  // every record read, in order
  std::vector<TFilterTexts> fStored;  // beside fAllRows
  std::array<std::vector<std::string>, kFilterFieldCount> fFolded;  // made when first filtered by
  bool fFiltered = false;  // false: every row of fAllRows shows
  std::vector<TRecordRow> fFilteredRows;  // those fAllRows the filter shows
  std::vector<bool> fSelected;
  std::optional<size_t> fAnchor;
};

}  // namespace lumacet
