// lumacet-cli copy SOURCE DEST --records LIST [--replace all|none]: copies records (numbers
// as the listing shows them, separated by commas) into another data file, as the record
// browser's "Copy to..." does. A record already in DEST is replaced or kept as --replace
// says; without it the copy stops there and changes nothing.
#include <charconv>

#include "cli/commands.h"
#include "persistence/record_browser.h"

namespace lumacet::cli {

namespace {

std::optional<std::vector<int>> ParseRecordList(const std::string& text) {
  std::vector<int> records;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = std::min(text.find(',', start), text.size());
    int value = 0;
    auto [end, ec] = std::from_chars(text.data() + start, text.data() + comma, value);
    if (ec != std::errc() || end != text.data() + comma || value < 1) return std::nullopt;
    records.push_back(value);
    start = comma + 1;
  }
  return records;
}

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

int CopyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> paths;
  std::optional<std::vector<int>> records;
  std::optional<TReplaceAnswer> answer;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--records" && hasValue && !records) {
      records = ParseRecordList(args[++i]);
      if (!records) return kExitUsage;
    } else if (args[i] == "--replace" && hasValue && !answer) {
      const std::string& value = args[++i];
      if (value != "all" && value != "none") return kExitUsage;
      answer = value == "all" ? TReplaceAnswer::YesToAll : TReplaceAnswer::NoToAll;
    } else if (paths.size() < 2 && !args[i].starts_with("--")) {
      paths.push_back(args[i]);
    } else {
      return kExitUsage;
    }
  }
  if (paths.size() != 2 || !records) return kExitUsage;

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
