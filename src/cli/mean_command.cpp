// lumacet-cli mean: the "Mean" dialog's calculation. The records of the type (all of them
// unless --records chooses) are superimposed on the first and averaged; --out appends the
// mean radiograph to a data file, --pairs appends the means of consecutive pairs instead
// (an odd last record left out). Both may be given: the run is then made twice.
#include <optional>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "cli/progress_line.h"
#include "model/xray.h"
#include "persistence/type_finder.h"
#include "population/mean_tracing.h"

namespace lumacet::cli {

namespace {

struct TMeanArguments {
  TMeanRequest Request;
  std::optional<std::string> Types;
  std::optional<std::vector<int>> Records;
  std::optional<std::string> Out;
  std::optional<std::string> Pairs;
};

void Declare(TArgumentParser& arguments, TMeanArguments& parsed) {
  TMeanRequest& request = parsed.Request;
  arguments.Operand("DATAFILE", "the data file (.csv)", request.DataFile);
  arguments.Option("--type", "NAME", "the radiograph type whose records are averaged", request.TypeName).Required =
      true;
  arguments.Option("--superimposition", "NAME", "the type's superimposition that brings each record onto the first",
                   request.SuperimpositionName)
      .Required = true;
  arguments.Option("--types", "DIR", "the folder of the type files (the data file's folder)", parsed.Types,
                   TValueKind::Folder);
  arguments.Option("--records", "LIST", "the records to average, numbers as 'list' prints them (all)", parsed.Records,
                   RecordList());
  arguments.Option("--out", "FILE", "append the mean radiograph (\"Mean Radiograph\") to this data file", parsed.Out,
                   TValueKind::File);
  arguments.Option("--pairs", "FILE", "append the means of consecutive pairs of records to this data file",
                   parsed.Pairs, TValueKind::File);
}

// One run, with its outcome said on `out` or `err`.
bool Run(TMeanRequest request, TTypeCache& types, std::ostream& out, std::ostream& err,
         const std::optional<std::string>& meanFile) {
  if (std::string error = MeanRequestError(request, true); !error.empty()) {
    err << error << '\n';
    return false;
  }
  if (meanFile && IsSameFile(*meanFile, request.DataFile)) {
    err << kSameFilesMessage << '\n';
    return false;
  }
  TProgressLine progress;
  TMeanResult result = RunMean(request, types.Resolver(), {}, [&](const std::string& s) { return progress.Show(s); });
  progress.Finish();
  if (result.Unreadable > 0)
    err << result.Unreadable << " records of the type could not be read and were left out.\n";
  if (!result.Outcome) {
    err << TerminalText(result.Outcome.TextWithReason().English()) << '\n';
    return false;
  }
  if (request.Pairwise) {
    out << result.PairsWritten << " pair means appended to " << request.PairsFile << '\n';
    return true;
  }
  if (result.Mean == nullptr) {
    err << "No record of the type '" << request.TypeName << "' was chosen.\n";
    return false;
  }
  result.Mean->DataFile = *meanFile;
  if (TResult appended = AppendToDataFile(*result.Mean, *meanFile, {}); !appended) {
    err << TerminalText(appended.TextWithReason().English()) << '\n';
    return false;
  }
  out << result.Mean->Comments << " appended to " << *meanFile << '\n';
  return true;
}

}  // namespace

int MeanCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TMeanArguments arguments;
  Declare(parser, arguments);
  if (std::optional<int> exit = parser.Parse()) return *exit;
  if (!arguments.Out && !arguments.Pairs) return parser.Fail("--out or --pairs is needed");

  const std::string folder = TypeFolder(arguments.Types, arguments.Request.DataFile);
  TTypeCache types({"", folder});
  if (NeedType(types, arguments.Request.TypeName, folder, err) == nullptr) return kExitFailure;
  std::optional<std::vector<int>> records = ChosenRecords(arguments.Records, arguments.Request.DataFile, err);
  if (!records) return kExitFailure;
  arguments.Request.Records = std::move(*records);

  if (arguments.Out && !Run(arguments.Request, types, out, err, arguments.Out)) return kExitFailure;
  if (arguments.Pairs) {
    TMeanRequest pairs = arguments.Request;
    pairs.Pairwise = true;
    pairs.PairsFile = *arguments.Pairs;
    if (!Run(pairs, types, out, err, std::nullopt)) return kExitFailure;
  }
  return kExitOk;
}

}  // namespace lumacet::cli
