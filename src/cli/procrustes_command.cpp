// lumacet-cli procrustes: the "Procrustes & PCA" run over the records of a data file (all of
// them unless --records chooses). The report is appended to --report, or printed when there
// is none. --import puts consensus, variances and loadings into the PCA element of the type
// file, which is rewritten before the report is appended: a run stopped between the two
// leaves the type new and the report to be written again, never a report of results the type
// does not hold. A terminal sees the progress on stderr; radiographs that cannot
// be used are named there and passed over.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <charconv>
#include <filesystem>
#include <optional>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "model/list_elements.h"
#include "persistence/data_lines.h"
#include "persistence/type_finder.h"
#include "population/pca_import.h"
#include "population/procrustes_run.h"
#include "support/atomic_file.h"
#include "support/text_codec.h"

namespace lumacet::cli {

namespace {

struct TProcrustesArguments {
  TProcrustesRequest Request;
  std::optional<std::string> Types;
  bool Import = false;
  std::optional<std::string> ScoresTable;
  std::optional<std::vector<int>> Records;
  std::optional<TReportOptions> Outputs;
};

std::optional<TReportOptions> OutputList(std::string_view text) {
  TReportOptions report{false, false, false, false, false, false, false, false};
  while (true) {
    const size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    if (item == "consensus") report.Consensus = true;
    else if (item == "variances") report.Variances = true;
    else if (item == "loadings") report.Loadings = true;
    else if (item == "scores") report.Scores = true;
    else if (item == "residuals") report.Residuals = true;
    else if (item == "sizes") report.Sizes = true;
    else if (item == "distances") report.Distances = true;
    else return std::nullopt;
    if (comma == std::string_view::npos) return report;
    text.remove_prefix(comma + 1);
  }
}

void Declare(TArgumentParser& arguments, TProcrustesArguments& parsed) {
  TProcrustesRequest& request = parsed.Request;
  arguments.Operand("DATAFILE", "the data file (.csv)", request.DataFile);
  arguments.Option("--type", "NAME", "the radiograph type whose records are superimposed", request.TypeName).Required = true;
  arguments.Option("--pca", "NAME", "the PCA element naming the points", request.PcaName).Required = true;
  arguments.Option("--types", "DIR", "the folder of the type files (the data file's folder)", parsed.Types,
                   TValueKind::Folder);
  arguments.Option("--records", "LIST", "the records to use, numbers as 'list' prints them (all)", parsed.Records,
                   RecordList());
  arguments.Option("--report", "FILE", "append the report to FILE instead of printing it", request.ResultsFile,
                   TValueKind::File);
  arguments.Flag("--import",
                 "put consensus, variances and loadings into the type file's PCA, written before the report",
                 parsed.Import);
  arguments.Flag("--flip", "flip the coordinates upside down first", request.FlipY);
  arguments.Choice("--size", "life size or radiograph size (life)", request.LifeSize, {{"life", true}, {"xray", false}});
  arguments.Option("--output", "LIST",
                   "the parts of the report, separated by commas: consensus, variances, loadings, scores, residuals, "
                   "sizes, distances",
                   parsed.Outputs, OutputList);
  arguments.Flag("--names", "name the radiographs in the report", request.Report.Names);
  arguments.Flag("--anonymize",
                 "no names: radiographs are called by their record numbers, images are not named",
                 request.Anonymize);
  arguments.Option("--scores-table", "FILE", "write every radiograph's component scores as a comma-separated table",
                   parsed.ScoresTable, TValueKind::File);
}

// Rewrites one status line on a terminal, at most ten times a second; says nothing to a
// pipe, where a line per record would only fill logs.
class TProgressLine {
 public:
  explicit TProgressLine(std::ostream& err) : fErr(err), fTerminal(isatty(STDERR_FILENO) == 1) {}
  ~TProgressLine() {
    if (fShown) fErr << '\n';
  }
  void Show(const std::string& status) {
    if (!fTerminal) return;
    const auto now = std::chrono::steady_clock::now();
    if (fShown && now - fLast < std::chrono::milliseconds(100)) return;
    fLast = now;
    std::string line = status.substr(0, 78);
    fErr << '\r' << line << std::string(fWidth > line.size() ? fWidth - line.size() : 0, ' ') << std::flush;
    fWidth = line.size();
    fShown = true;
  }
  // Clears the line before other text goes to the terminal.
  void Break() {
    if (fShown) fErr << '\n';
    fShown = false;
    fWidth = 0;
  }

 private:
  std::ostream& fErr;
  bool fTerminal;
  bool fShown = false;
  size_t fWidth = 0;
  std::chrono::steady_clock::time_point fLast;
};

std::string Shortest(double value) {
  std::array<char, 32> buffer{};
  auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value + 0.0);
  return error == std::errc() ? std::string(buffer.data(), end) : std::string();
}

std::string CsvField(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

// Record, Name, Date Taken, Image, PC1..PCm, one row per radiograph in reading order, so
// that serial radiographs of one patient stay apart; dates in ISO form (empty when never
// entered), numbers in the shortest form that reads back exactly.
std::string ScoresTable(const TProcrustesResult& result) {
  const TShapeAnalysis& analysis = *result.Analysis;
  std::string table = "Record,Name,Date Taken,Image";
  for (int c = 1; c <= analysis.ComponentCount; ++c) table += ",PC" + std::to_string(c);
  table += "\r\n";
  for (int i = 0; i < analysis.SampleCount; ++i) {
    const TProcrustesResult::TOrigin& origin = result.Origins[static_cast<size_t>(i)];
    table += std::to_string(origin.Record) + ',' + CsvField(result.Samples.Names[static_cast<size_t>(i)]) + ',' +
             (origin.DateTaken == 0 ? std::string() : FormatDate(origin.DateTaken, "yyyy-MM-dd")) + ',' +
             CsvField(origin.ImageFile);
    for (int c = 0; c < analysis.ComponentCount; ++c) table += ',' + Shortest(analysis.Score(i, c));
    table += "\r\n";
  }
  return table;
}

// The PCA element of the type file takes the results; the file is rewritten atomically.
bool ImportIntoTypeFile(const std::string& folder, const TProcrustesRequest& request, const std::string& report,
                        std::ostream& out, std::ostream& err) {
  const std::string path = FindTypeFile(folder, request.TypeName);
  TXRayType type;
  const TFileFolders folders{"", folder};
  const TResult loaded = path.empty() ? TResult() : type.LoadFromTypeFile(path, folders);
  if (path.empty() || !loaded) {
    const std::string message = loaded.Text().English();
    err << "The type file of '" << request.TypeName << "' cannot be read" << (message.empty() ? "" : ": ")
        << TerminalText(message) << '\n';
    return false;
  }
  auto* pca = dynamic_cast<TXRPCA*>(type.FindElement(request.PcaName, ekPCA));
  std::optional<std::string> bytes = EncodeCp1252(report);
  if (pca == nullptr || !bytes) {
    err << TerminalText(std::string(kPcaImportErrorMessage)) << '\n';
    return false;
  }
  const TPcaImportResult imported = ImportPcaReport(*pca, *bytes);
  if (!imported.Ok) {
    err << imported.Message << '\n';
    return false;
  }
  type.RecordChange(true, FillIn(kChangedPcaChange, pca->Name));
  TResultOf<TText> saved = type.SaveToTypeFile(path, folders);
  if (!saved) {
    err << TerminalText(saved.Text().English()) << '\n';
    return false;
  }
  if (!saved->Empty()) err << TerminalText(saved->English()) << '\n';
  out << imported.Message << " (" << path << ")\n";
  return true;
}

}  // namespace

int ProcrustesCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TProcrustesArguments arguments;
  Declare(parser, arguments);
  if (std::optional<int> exit = parser.Parse()) return *exit;
  TProcrustesRequest& request = arguments.Request;
  if (arguments.Outputs) {
    const bool names = request.Report.Names;
    request.Report = *arguments.Outputs;
    request.Report.Names = names;
  }
  if (arguments.Records) request.Records = *arguments.Records;
  if (arguments.Import && !request.Report.Importable())
    return parser.Fail("--import needs consensus, variances and loadings in --output");

  const std::string folder = TypeFolder(arguments.Types, request.DataFile);
  TTypeCache types({"", folder});
  TXRayType* type = NeedType(types, request.TypeName, folder, err);
  if (type == nullptr) return kExitFailure;
  std::vector<std::string> pcaNames;
  for (const auto& element : type->ElementList(ekPCA)) pcaNames.push_back(element->Name);

  if (request.Records.empty()) {
    std::optional<std::vector<int>> all = ChosenRecords(std::nullopt, request.DataFile, err);
    if (!all) return kExitFailure;
    request.Records = std::move(*all);
  }
  // Without --report the report goes to standard output: there is no destination to check.
  TProcrustesRequest checked = request;
  if (checked.ResultsFile.empty()) checked.ResultsFile = "-";
  if (std::string error = ProcrustesRequestError(checked, pcaNames); !error.empty()) {
    err << error << '\n';
    return kExitFailure;
  }
  if (std::find(pcaNames.begin(), pcaNames.end(), request.PcaName) == pcaNames.end()) {
    err << "The type '" << request.TypeName << "' has no PCA '" << request.PcaName << "'.\n";
    return kExitFailure;
  }

  TProgressLine progress(err);
  TProcrustesPrompts prompts;
  prompts.Status = [&](const std::string& status) {
    progress.Show(status);
    return true;
  };
  prompts.Skip = [&](const std::string& text) {
    progress.Break();
    err << TerminalText(text) << '\n';
    return true;
  };
  prompts.Proceed = [&](const std::string& text) {
    progress.Break();
    err << TerminalText(text.substr(0, text.find('\r'))) << '\n';
    return true;
  };
  TProcrustesRequest run = request;
  if (arguments.Import) run.ResultsFile.clear();  // appended here, after the type
  const TProcrustesResult result = RunProcrustes(run, types.Resolver(), TDataFileOptions{}, prompts);
  progress.Break();
  if (result.Outcome != TProcrustesOutcome::Completed) {
    err << TerminalText(result.Message) << '\n';
    return kExitFailure;
  }
  if (request.ResultsFile.empty()) out << TerminalText(result.Report);

  if (arguments.ScoresTable) {
    std::optional<std::string> table = EncodeCp1252(ScoresTable(result));
    const TWriteResult written = table ? WriteFileAtomically(*arguments.ScoresTable, *table)
                                       : TWriteResult{false, "a name the file cannot carry"};
    if (!written.Ok) {
      err << "File error writing " << *arguments.ScoresTable << ": " << written.Error << '\n';
      return kExitFailure;
    }
  }
  if (arguments.Import) {
    if (request.FlipY) err << "Warning: the data come from flipped coordinates and do not match the type's orientation.\n";
    if (!ImportIntoTypeFile(folder, request, result.Report, request.ResultsFile.empty() ? err : out, err))
      return kExitFailure;
    if (!request.ResultsFile.empty()) {
      if (const TWriteResult written = AppendReport(request.ResultsFile, result.Report); !written.Ok) {
        err << "File error writing " << request.ResultsFile << ": " << written.Error << '\n';
        return kExitFailure;
      }
    }
  }
  return kExitOk;
}

}  // namespace lumacet::cli
