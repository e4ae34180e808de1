// lumacet-cli sort: "Sort by Shape". Every record of the type of record --like (all records
// unless --records chooses) is scored against it by one measure, smaller scores being more
// alike, and the best or worst K (or all) are printed, one line each: record, name and
// score, separated by TAB. --out appends those records to a data file in that order.
// Radiographs of the same patient as --like are left out unless --include-same-patient.
#include <optional>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "cli/progress_line.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/type_finder.h"
#include "population/shape_sort.h"
#include "shell/measuring.h"
#include "simulation/movements.h"

namespace lumacet::cli {

namespace {

struct TSortArguments {
  TShapeSortRequest Request;
  std::optional<int> Like;
  std::optional<std::string> Types;
  std::optional<std::vector<int>> Records;
  std::optional<std::string> Pca, Drawing, Superimposition, Analysis, Out;
  std::optional<int> Best, Worst;
  bool IncludeSamePatient = false;
};

void Declare(TArgumentParser& arguments, TSortArguments& parsed) {
  arguments.Operand("DATAFILE", "the data file (.csv)", parsed.Request.DataFile);
  arguments.Option("--like", "N", "the record the others are compared with", parsed.Like, PositiveUpTo(1 << 30))
      .Required = true;
  arguments.Option("--pca", "NAME", "measure: Procrustes distance over the points of this PCA", parsed.Pca);
  arguments.Option("--drawing", "NAME",
                   "measure: squared distances of this drawing's points after --superimposition", parsed.Drawing);
  arguments.Option("--superimposition", "NAME", "the superimposition of the --drawing measure",
                   parsed.Superimposition);
  arguments.Option("--analysis", "NAME", "measure: squared differences of this analysis's values", parsed.Analysis);
  arguments.Option("--best", "K", "the K most alike (1 to 100)", parsed.Best, PositiveUpTo(kMaxMatches));
  arguments.Option("--worst", "K", "the K least alike (1 to 100)", parsed.Worst, PositiveUpTo(kMaxMatches));
  arguments.Option("--out", "FILE", "append the records printed to this data file, in that order", parsed.Out,
                   TValueKind::File);
  arguments.Option("--types", "DIR", "the folder of the type files (the data file's folder)", parsed.Types,
                   TValueKind::Folder);
  arguments.Option("--records", "LIST", "the records to score, numbers as 'list' prints them (all)", parsed.Records,
                   RecordList());
  arguments.Flag("--include-same-patient", "score radiographs of --like's patient too (the record itself scores 0)",
                 parsed.IncludeSamePatient);
  arguments.Exclusive({"--pca", "--drawing", "--analysis"});
  arguments.Exclusive({"--best", "--worst"});
}

}  // namespace

int SortCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TSortArguments arguments;
  Declare(parser, arguments);
  if (std::optional<int> exit = parser.Parse()) return *exit;
  TShapeSortRequest& request = arguments.Request;
  if (arguments.Pca) {
    request.Measure = TShapeMeasure::Procrustes;
    request.PcaName = *arguments.Pca;
  } else if (arguments.Drawing) {
    if (!arguments.Superimposition) return parser.Fail("--drawing needs --superimposition");
    request.Measure = TShapeMeasure::Superimposition;
    request.DrawingName = *arguments.Drawing;
    request.SuperimpositionName = *arguments.Superimposition;
  } else if (arguments.Analysis) {
    request.Measure = TShapeMeasure::Analysis;
    request.AnalysisName = *arguments.Analysis;
  } else {
    return parser.Fail("one of --pca, --drawing or --analysis is needed");
  }
  const bool worst = arguments.Worst.has_value();
  const bool some = arguments.Best || arguments.Worst;
  request.Number = arguments.Best.value_or(arguments.Worst.value_or(kMaxMatches));
  request.Output = !some ? TShapeOutput::WriteAll : worst ? TShapeOutput::WriteWorst : TShapeOutput::WriteBest;
  request.ExcludeSamePatient = !arguments.IncludeSamePatient;
  // Without --out nothing is written: any name passes the destination check.
  request.OutputFile = arguments.Out.value_or("-");

  const std::string folder = TypeFolder(arguments.Types, request.DataFile);
  TTypeCache types({"", folder});
  TXRay current;
  if (!LoadRecord(current, request.DataFile, *arguments.Like, types.Resolver(), err)) return kExitFailure;
  std::optional<std::vector<int>> records = ChosenRecords(arguments.Records, request.DataFile, err);
  if (!records) return kExitFailure;
  request.Records = std::move(*records);
  if (std::string error = ShapeSortRequestError(request, current, true); !error.empty()) {
    err << error << '\n';
    return kExitFailure;
  }

  TMeasuring measuring;
  TProgressLine progress;
  TShapeScan scan = ScanShapes(request, current, types.Resolver(), {}, measuring.Context(),
                               [&](const std::string& s) { return progress.Show(s); });
  progress.Finish();
  if (!scan.Outcome) {
    err << TerminalText(scan.Outcome.TextWithReason().English()) << '\n';
    return kExitFailure;
  }
  if (scan.Failures > 0)
    err << scan.Failures << " radiographs could not be scored: their points, superimposition or values were missing.\n";
  if (scan.Unreadable > 0) err << scan.Unreadable << " records of the type could not be read.\n";
  SortScores(scan.Scores);
  const std::vector<TShapeScore> matches = ChosenMatches(scan.Scores, request.Output, request.Number);
  for (const TShapeScore& match : matches)
    out << match.Record << '\t' << match.Name << '\t' << FormatSignificant(match.Score, 10) << '\n';
  if (arguments.Out) {
    TResultOf<int> written = WriteMatches(matches, request, types.Resolver(), {}, {});
    if (!written) {
      err << TerminalText(written.Outcome().TextWithReason().English()) << '\n';
      return kExitFailure;
    }
    err << *written << " records appended to " << *arguments.Out << '\n';
  }
  return kExitOk;
}

}  // namespace lumacet::cli
