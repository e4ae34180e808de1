// lumacet-cli list: the rows the record browser lists, one per line, columns separated by TAB.
#include <filesystem>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "persistence/record_browser.h"

namespace lumacet::cli {

int ListCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err) {
  TRecordBrowser browser({});
  std::string path;
  bool unsorted = false;
  arguments.Operand("DATAFILE", "the data file (.csv)", path);
  arguments.Choice("--filter-field", "the field --filter matches (Name)", browser.FilterField,
                   {{"Name", TFilterField::Name},
                    {"Date", TFilterField::Date},
                    {"Type", TFilterField::Type},
                    {"Comments", TFilterField::Comments}});
  arguments.Option("--filter", "TEXT", "list only the records whose field holds TEXT, in any case of its letters",
                   browser.FilterText);
  arguments.Flag("--match-case", "match the letters of --filter as given", browser.MatchCase);
  arguments.Flag("--no-sort", "keep the file's order instead of sorting by name and date", unsorted);
  if (std::optional<int> exit = arguments.Parse()) return *exit;
  if (browser.FilterField != TFilterField::Name && !arguments.Given("--filter"))
    return arguments.Fail("--filter-field needs --filter");
  if (unsorted) browser.Order = TRecordOrder::NoSort;
  // The browser lists a missing file as one without matching records; a script must tell them apart.
  if (!std::filesystem::exists(path)) {
    err << "lumacet-cli list: " << path << ": no such file\n";
    return kExitFailure;
  }

  browser.SetDataFile(path);
  browser.LoadGrid();
  for (const TRecordRow& row : browser.Rows())
    out << row.Record << '\t' << row.Name << '\t' << row.Date << '\t' << row.Type << '\t' << row.Comments << '\t'
        << row.Image << '\n';
  err << browser.ListStatus().English() << '\n';
  return kExitOk;
}

}  // namespace lumacet::cli
