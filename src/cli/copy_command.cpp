// lumacet-cli copy: copies records into another data file, as the record browser's
// "Copy to..." does. A record already in DEST is replaced or kept as --replace says; without
// it the copy stops there and changes nothing.
#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "persistence/record_browser.h"

namespace lumacet::cli {

namespace {

class TCommandLinePrompts : public TRecordBrowserPrompts {
 public:
  TCommandLinePrompts(std::string destination, std::optional<TReplaceAnswer> answer, std::ostream& err)
      : fDestination(std::move(destination)), fAnswer(answer), fErr(err) {}

  bool ConfirmDelete(const TText&) override { return false; }
  std::optional<std::string> ChooseCopyDestination() override { return fDestination; }
  TReplaceAnswer AskReplace(const TText& question) override {
    if (fAnswer) return *fAnswer;
    fErr << TerminalText(question.English()) << "\n(answer with --replace all or --replace none)\n";
    return TReplaceAnswer::Abort;
  }
  void ShowError(const TText& message, const std::string& detail) override {
    fErr << TerminalText(message.English()) << '\n';
    if (!detail.empty()) fErr << "  (" << detail << ")\n";
  }

 private:
  std::string fDestination;
  std::optional<TReplaceAnswer> fAnswer;
  std::ostream& fErr;
};

}  // namespace

int CopyCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err) {
  std::vector<std::string> paths(2);
  std::optional<std::vector<int>> records;
  std::optional<TReplaceAnswer> answer;
  arguments.Operand("SOURCE", "the data file the records are in", paths[0]);
  arguments.Operand("DEST", "the data file they are copied into", paths[1]);
  arguments.Option("--records", "LIST", "the records to copy, numbers as 'list' prints them, separated by commas",
                   records, RecordList()).Required = true;
  arguments.Choice("--replace", "replace all records already in DEST, or none; without it the copy stops there",
                   answer, {{"all", TReplaceAnswer::YesToAll}, {"none", TReplaceAnswer::NoToAll}});
  if (std::optional<int> exit = arguments.Parse()) return *exit;

  TRecordBrowser browser({});
  browser.Order = TRecordOrder::NoSort;
  browser.SetDataFile(paths[0]);
  browser.LoadGrid();
  for (int record : *records) {
    if (!browser.SelectRecord(record)) {
      err << "Record " << record << " is not in " << paths[0] << '\n';
      return kExitFailure;
    }
  }
  TCommandLinePrompts prompts(paths[1], answer, err);
  if (!browser.CopyTo(prompts)) return kExitFailure;
  out << "Copied to " << paths[1] << '\n';
  return kExitOk;
}

}  // namespace lumacet::cli
