// lumacet-cli list DATAFILE [--filter-field Name|Date|Type|Comments --filter TEXT] [--no-sort]:
// the rows the record browser lists, one per line, columns separated by TAB.
#include "cli/commands.h"
#include "persistence/record_browser.h"
#include "support/terminal_text.h"

namespace lumacet::cli {

namespace {

std::optional<TFilterField> ParseFilterField(const std::string& text) {
  if (text == "Name") return TFilterField::Name;
  if (text == "Date") return TFilterField::Date;
  if (text == "Type") return TFilterField::Type;
  if (text == "Comments") return TFilterField::Comments;
  return std::nullopt;
}

}  // namespace

int ListCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TRecordBrowser browser({});
  std::string path;
  bool filterGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--filter-field" && hasValue) {
      auto field = ParseFilterField(args[++i]);
      if (!field) return kExitUsage;
      browser.FilterField = *field;
    } else if (args[i] == "--filter" && hasValue) {
      browser.FilterText = args[++i];
      filterGiven = true;
    } else if (args[i] == "--no-sort") {
      browser.Order = TRecordOrder::NoSort;
    } else if (path.empty() && !args[i].starts_with("--")) {
      path = args[i];
    } else {
      return kExitUsage;
    }
  }
  if (path.empty() || (browser.FilterField != TFilterField::Name && !filterGiven)) return kExitUsage;

  browser.SetDataFile(path);
  browser.LoadGrid();
  for (const TRecordRow& row : browser.Rows())
    out << TerminalSafe(std::to_string(row.Record) + '\t' + row.Name + '\t' + row.Date + '\t' + row.Type + '\t' +
                        row.Comments + '\t' + row.Image)
        << '\n';
  err << browser.ListStatus().English() << '\n';
  return browser.ListFailed() ? kExitFailure : kExitOk;
}

}  // namespace lumacet::cli
