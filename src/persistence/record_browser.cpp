#include "persistence/record_browser.h"

#include <algorithm>
#include <filesystem>
#include <locale>
#include <map>
#include <set>

#include "persistence/data_lines.h"
#include "support/comma_list.h"
#include "support/text_codec.h"

namespace lumacet {

namespace fs = std::filesystem;

namespace {

constexpr size_t kListedFieldCount = 8;
constexpr size_t kImageColumn = 113;  // column 114, counted from 0

enum TListedField : size_t { kName = 0, kDateTaken = 3, kComments = 5, kType = 6 };

std::string_view Field(const std::vector<std::string_view>& fields, size_t index) {
  return index < fields.size() ? fields[index] : std::string_view();
}

// Lower case for the upper-case letters Windows-1252 holds, in place on UTF-8 text (each
// keeps its length): A-Z, À-Þ but ×, Š, Œ, Ž and Ÿ.
void FoldCase(std::string& utf8) {
  for (size_t i = 0; i < utf8.size(); ++i) {
    auto& c = reinterpret_cast<unsigned char&>(utf8[i]);
    if (c < 0x80) {
      // Branch-free for ASCII, which most names are: 0x20 added to A-Z only.
      c = static_cast<unsigned char>(c + (static_cast<unsigned>(c - 'A') <= 'Z' - 'A' ? 0x20 : 0));
    } else if ((c == 0xC3 || c == 0xC5) && i + 1 < utf8.size()) {
      auto& next = reinterpret_cast<unsigned char&>(utf8[++i]);
      if (c == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97) {
        next = static_cast<unsigned char>(next + 0x20);
      } else if (c == 0xC5 && (next == 0xA0 || next == 0x92 || next == 0xBD)) {
        next = static_cast<unsigned char>(next + 1);
      } else if (c == 0xC5 && next == 0xB8) {  // Ÿ to ÿ
        c = 0xC3;
        next = 0xBF;
      }
    }
  }
}

std::string ImageText(std::string_view line) {
  if (line.size() <= kImageColumn) return {};
  const size_t open = line.find('"', kImageColumn);
  if (open == std::string_view::npos) return {};
  const size_t close = line.find('"', open + 1);
  if (close == std::string_view::npos) return {};
  return DecodeCp1252(line.substr(open + 1, close - open - 1));
}

bool Matches(const std::string& column, const std::string& criterion, bool partial) {
  if (criterion.empty()) return true;
  return partial ? column.find(criterion) != std::string::npos : column == criterion;
}

}  // namespace

std::vector<std::string_view> SplitRecordFields(std::string_view line) { return SplitCommaList(line, kListedFieldCount); }

TSortKeyFunction LocaleSortKeys(const std::string& localeName) {
  std::locale locale = std::locale::classic();
  try {
    locale = std::locale(localeName.c_str());
  } catch (const std::runtime_error&) {
    // An unknown locale: plain character order.
  }
  return [locale](std::string_view utf8) {
    std::string folded(utf8);
    FoldCase(folded);
    const auto& collate = std::use_facet<std::collate<char>>(locale);
    return collate.transform(folded.data(), folded.data() + folded.size());
  };
}

namespace {

std::string Folded(std::string_view utf8) {
  std::string folded(utf8);
  FoldCase(folded);
  return folded;
}

// "Show only those containing:": a blank text shows every row; without "Match case" the
// case of letters does not count.
class TRowFilter {
 public:
  TRowFilter(const std::string& text, bool matchCase)
      : fActive(!TrimField(text).empty()), fMatchCase(matchCase), fText(matchCase ? text : Folded(text)) {}
  bool Active() const { return fActive; }
  // A stored text, folded already unless the case counts.
  bool MatchesPrepared(std::string_view text) const { return !fActive || text.find(fText) != std::string_view::npos; }
  bool Matches(std::string_view stored) const { return MatchesPrepared(fMatchCase ? std::string(stored) : Folded(stored)); }

 private:
  bool fActive;
  bool fMatchCase;
  std::string fText;
};

size_t FilterIndex(TFilterField field) {
  return field == TFilterField::Name   ? kName
         : field == TFilterField::Date ? kDateTaken
         : field == TFilterField::Type ? kType
                                       : kComments;
}

// Builds the rows of a listing line by line, with the stored texts the filter looks at,
// then orders both alike.
class TRowCollector {
 public:
  explicit TRowCollector(const TListing& listing)
      : fListing(listing), fSorting(listing.Order == TRecordOrder::SortByName) {}

  void Add(size_t number, std::string_view text) {
    if (TrimField(text).empty()) return;
    const std::vector<std::string_view> fields = SplitRecordFields(text);
    TFilterTexts stored;
    for (size_t field = 0; field < kFilterFieldCount; ++field)
      stored[field] = DecodeCp1252(Field(fields, FilterIndex(static_cast<TFilterField>(field))));
    fStored.push_back(std::move(stored));

    TRecordRow row;
    row.Record = static_cast<int>(number);
    row.Name = DecodeCp1252(TrimField(Field(fields, kName)));
    const auto taken = ParseDataDate(TrimField(Field(fields, kDateTaken)), fListing.Dates);
    row.Date = FormatDate(taken.value_or(0), fListing.Dates.ShortDateFormat);
    row.Type = DecodeCp1252(TrimField(Field(fields, kType)));
    row.Comments = DecodeCp1252(TrimField(Field(fields, kComments)));
    row.Image = ImageText(text);
    row.Key = std::string(LineKey(text));
    if (fSorting) {
      // Name (blank padded to 30), date taken as stored, type, comments, image and record
      // number: rows of one name follow the date's text, not the calendar.
      std::string sortText(Field(fields, kName));
      if (sortText.size() < kNameWidth) sortText.resize(kNameWidth, ' ');
      for (std::string_view part :
           {TrimField(Field(fields, kDateTaken)), Field(fields, kType), Field(fields, kComments)}) {
        sortText += ',';
        sortText.append(part);
      }
      sortText = DecodeCp1252(sortText) + ',' + row.Image + ',' + std::to_string(row.Record);
      fSortTexts.push_back(std::move(sortText));
    }
    fRows.push_back(std::move(row));
  }

  // The rows in their order, and their stored filter texts in the same order.
  std::pair<std::vector<TRecordRow>, std::vector<TFilterTexts>> Finish() {
    if (!fSorting) return {std::move(fRows), std::move(fStored)};
    const TSortKeyFunction sortKey = fListing.SortKey ? fListing.SortKey : LocaleSortKeys();
    // Each key beside its row's index, so that comparing them reads neighbouring memory.
    std::vector<std::pair<std::string, size_t>> keys;
    keys.reserve(fSortTexts.size());
    for (size_t index = 0; index < fSortTexts.size(); ++index) keys.emplace_back(sortKey(fSortTexts[index]), index);
    std::sort(keys.begin(), keys.end());
    std::vector<TRecordRow> sorted;
    std::vector<TFilterTexts> stored;
    sorted.reserve(fRows.size());
    stored.reserve(fRows.size());
    for (const auto& [key, index] : keys) {
      sorted.push_back(std::move(fRows[index]));
      stored.push_back(std::move(fStored[index]));
    }
    return {std::move(sorted), std::move(stored)};
  }

 private:
  const TListing& fListing;
  const bool fSorting;
  std::vector<TRecordRow> fRows;
  std::vector<TFilterTexts> fStored;
  std::vector<std::string> fSortTexts;
};

}  // namespace

std::vector<TRecordRow> ListRecords(std::string_view content, const TListing& listing) {
  TRowCollector rows(listing);
  TLineCursor cursor(content);
  TLineSpan line;
  while (cursor.Next(line)) rows.Add(cursor.Number(), line.Text);
  auto [all, stored] = rows.Finish();
  const TRowFilter filter(listing.FilterText, listing.MatchCase);
  std::vector<TRecordRow> shown;
  for (size_t row = 0; row < all.size(); ++row)
    if (filter.Matches(stored[row][static_cast<size_t>(listing.FilterField)])) shown.push_back(std::move(all[row]));
  return shown;
}

namespace {

TText ReadProblem(const std::string& path, const std::string& reason) {
  return TText::Joined({TText(kFileReadErrorMessage, {path}), TText::Verbatim(reason)}, "\r\n");
}

}  // namespace

void TRecordBrowser::List(const std::string& path) {
  fListedFile = path;
  fAllRows.clear();
  fStored.clear();
  for (auto& folded : fFolded) folded.clear();
  fListProblem = {};
  // A file that cannot be opened lists no records, and a read failure part-way keeps the
  // rows read so far; the status tells the user. A file not there yet is no failure.
  TDataFileIndex file;
  std::error_code error;
  if (file.Open(path)) {
    const TListing listing{FilterField, FilterText, MatchCase, Order, fOptions.Data.Dates, fOptions.SortKey};
    TRowCollector rows(listing);
    const bool read = file.ForEachLine([&](size_t number, std::string_view text) {
      rows.Add(number, text);
      return true;
    });
    if (!read) fListProblem = ReadProblem(path, file.Problem());
    std::tie(fAllRows, fStored) = rows.Finish();
  } else if (fs::exists(path, error)) {
    fListProblem = ReadProblem(path, file.Problem());
  }
  Filter();
}

void TRecordBrowser::Filter() {
  fFilteredRows.clear();
  fSelected.clear();
  fAnchor.reset();
  const size_t field = static_cast<size_t>(FilterField);
  const TRowFilter filter(FilterText, MatchCase);
  // Without a filter every row shows: the listing is shown as read, not copied.
  fFiltered = filter.Active();
  if (fFiltered) {
    // Folded once per listing and field: typing then only searches.
    std::vector<std::string>& folded = fFolded[field];
    if (!MatchCase && folded.size() != fStored.size()) {
      folded.clear();
      folded.reserve(fStored.size());
      for (const TFilterTexts& stored : fStored) folded.push_back(Folded(stored[field]));
    }
    for (size_t row = 0; row < fAllRows.size(); ++row)
      if (filter.MatchesPrepared(MatchCase ? fStored[row][field] : folded[row])) fFilteredRows.push_back(fAllRows[row]);
  }
  fSelected.assign(Rows().size(), false);
}

void TRecordBrowser::LoadGrid() {
  if (fDataFile.empty()) {
    fs::path file(fOptions.DefaultFile);
    if (file.is_relative() && !fOptions.DataFolder.empty()) file = fs::path(fOptions.DataFolder) / file;
    fDataFile = file.string();
  }
  List(fDataFile);
}

TText TRecordBrowser::ListStatus() const {
  if (!fListProblem.Empty()) return fListProblem;
  if (Rows().empty()) return kNoMatchStatus;
  return TText(kTotalCountStatus, {std::to_string(Rows().size())});
}

void TRecordBrowser::Click(size_t row) {
  if (row >= Rows().size()) return;
  fSelected.assign(Rows().size(), false);
  fSelected[row] = true;
  fAnchor = row;
}

void TRecordBrowser::CtrlClick(size_t row) {
  if (row >= Rows().size()) return;
  fSelected[row] = !fSelected[row];
  fAnchor = row;
}

void TRecordBrowser::ShiftClick(size_t row, bool ctrl) {
  if (row >= Rows().size()) return;
  if (!ctrl) fSelected.assign(Rows().size(), false);
  if (!fAnchor) fAnchor = row;
  const size_t first = std::min(*fAnchor, row);
  const size_t last = std::max(*fAnchor, row);
  for (size_t i = first; i <= last; ++i) fSelected[i] = true;
}

void TRecordBrowser::ToggleRow(size_t row) {
  if (row < Rows().size()) fSelected[row] = !fSelected[row];
}

void TRecordBrowser::SelectAll() {
  fSelected.assign(Rows().size(), true);
  fAnchor.reset();
}

void TRecordBrowser::SelectNone() {
  fSelected.assign(Rows().size(), false);
  fAnchor.reset();
}

void TRecordBrowser::SelectInverse() {
  fSelected.flip();
  fAnchor.reset();
}

void TRecordBrowser::ExpandSelection() {
  std::set<std::string> names;
  for (size_t i = 0; i < Rows().size(); ++i)
    if (fSelected[i]) names.insert(Rows()[i].Name);
  for (size_t i = 0; i < Rows().size(); ++i)
    if (names.contains(Rows()[i].Name)) fSelected[i] = true;
}

bool TRecordBrowser::SelectRecord(int record) {
  for (size_t i = 0; i < Rows().size(); ++i) {
    if (Rows()[i].Record == record) {
      fSelected[i] = true;
      return true;
    }
  }
  return false;
}

size_t TRecordBrowser::SelectedCount() const { return static_cast<size_t>(std::count(fSelected.begin(), fSelected.end(), true)); }

TText TRecordBrowser::SelectedStatus() const { return TText(kSelectedStatus, {std::to_string(SelectedCount())}); }

std::vector<int> TRecordBrowser::SelectedRecords() const {
  std::vector<int> records;
  for (size_t i = 0; i < Rows().size(); ++i)
    if (fSelected[i]) records.push_back(Rows()[i].Record);
  return records;
}

std::vector<int> TRecordBrowser::GetRecordsByData(const std::string& file, const std::string& name,
                                                  const std::string& date, const std::string& type,
                                                  const std::string& comments, bool partial) {
  if (file.empty())
    LoadGrid();
  else
    List(file);
  std::vector<int> records;
  for (const TRecordRow& row : Rows())
    if (Matches(row.Name, name, partial) && Matches(row.Date, date, partial) && Matches(row.Type, type, partial) &&
        Matches(row.Comments, comments, partial))
      records.push_back(row.Record);
  return records;
}

bool TRecordBrowser::Permitted(std::string_view permission) const {
  return !fOptions.Permitted || fOptions.Permitted(permission);
}

bool TRecordBrowser::Delete(TRecordBrowserPrompts& prompts) {
  if (!Permitted("Delete") || SelectedCount() == 0) return false;
  if (!prompts.ConfirmDelete(kDeleteQuestion)) return false;
  std::vector<TLineKey> lines;
  for (size_t i = 0; i < Rows().size(); ++i)
    if (fSelected[i]) lines.push_back({Rows()[i].Record, Rows()[i].Key});
  const TResult result = DeleteFromFile(fListedFile, lines);
  if (!result) prompts.ShowError(result.Text(), result.Reason());
  List(fListedFile);
  return result.Ok();
}

bool TRecordBrowser::CopyTo(TRecordBrowserPrompts& prompts) {
  if (!Permitted("CopyTo")) return false;
  const auto destination = prompts.ChooseCopyDestination();
  if (!destination) return false;
  return CopySelected(*destination, prompts);
}

bool TRecordBrowser::CopySelected(const std::string& destination, TRecordBrowserPrompts& prompts) {
  const std::string& source = fListedFile;
  std::error_code error;
  // Other spellings of the same file (a link, "./", "//") count as the same file.
  if (destination == source || fs::equivalent(destination, source, error)) {
    prompts.ShowError(kSameFileMessage, {});
    return false;
  }
  auto fail = [&](const TText& message, const std::string& detail) {
    if (!message.Empty()) prompts.ShowError(message, detail);
    prompts.ShowError(kCopyFailedMessage, {});
    return false;
  };

  // The keys the destination holds now. The answers are applied by key when the file is
  // rewritten, so they stay right even if it changes while the user answers.
  std::set<std::string, std::less<>> present;
  if (fs::exists(destination, error)) {
    TDataFileIndex file;
    const bool read = file.Open(destination) && file.ForEachLine([&](size_t, std::string_view text) {
      present.emplace(LineKey(text));
      return true;
    });
    if (!read) return fail(TText(kFileReadErrorMessage, {destination}), {});
  }

  TDataFileIndex file;
  if (!file.Open(source)) return fail(TText(kFileReadErrorMessage, {source}), {});
  std::map<int, std::string> copied;  // by record number: appended in file order
  std::set<std::string, std::less<>> replaced;
  std::optional<TReplaceAnswer> forAll;
  for (size_t i = 0; i < Rows().size(); ++i) {
    if (!fSelected[i]) continue;
    const TRecordRow& row = Rows()[i];
    std::string text;
    // The line must still be the record that was listed.
    if (!file.ReadLine(static_cast<size_t>(row.Record), text) || !text.starts_with(row.Key))
      return fail(TText(kFileReadErrorMessage, {source}), {});
    const std::string key(LineKey(text));
    if (present.contains(key)) {
      TReplaceAnswer answer = forAll.value_or(TReplaceAnswer::Abort);
      if (!forAll) {
        const std::string name(TrimField(DecodeCp1252(std::string_view(key).substr(0, kNameWidth))));
        answer = prompts.AskReplace(TText(kReplaceQuestion, {name}));
      }
      if (answer == TReplaceAnswer::Abort) return fail({}, {});
      if (answer == TReplaceAnswer::YesToAll || answer == TReplaceAnswer::NoToAll) forAll = answer;
      if (answer == TReplaceAnswer::No || answer == TReplaceAnswer::NoToAll) continue;
      replaced.insert(key);
    }
    copied[row.Record] = std::move(text);
  }

  if (IsReadOnlyFile(destination)) return fail(kReadOnlyDestinationMessage, {});
  const TResult result =
      RewriteDataFile(destination, TText(kFileWriteErrorMessage, {destination}), [&](std::string& content, std::string&) {
        KeepLines(content, [&](size_t, std::string_view text) { return !replaced.contains(LineKey(text)); });
        if (!EndsWithLineBreak(content)) content += "\r\n";
        for (const auto& [record, text] : copied) {
          content += text;
          content += "\r\n";
        }
        return true;
      });
  if (!result) return fail(result.Text(), result.Reason());
  return true;
}

}  // namespace lumacet
