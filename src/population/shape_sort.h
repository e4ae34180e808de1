// "Sort by Shape": orders radiographs of a data file by how much they look like the current
// radiograph, by one of three measures, and picks the best or worst matches to load or to
// append to a data file. The dialog and the command line run the same code.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "measure/variables.h"
#include "persistence/data_file.h"
#include "population/record_scan.h"
#include "support/result.h"

namespace lumacet {

class TRadiograph;

inline constexpr std::string_view kNoValidPcaMessage = "No valid PCA has been selected.";
inline constexpr std::string_view kSomePointsInvalidMessage = "Some points are not valid.";
inline constexpr std::string_view kInvalidSuperimpositionMessage = "Superimposition or Graphic is not valid.";
inline constexpr std::string_view kNoValidAnalysisMessage = "No valid Analysis has been selected.";
inline constexpr std::string_view kScanningStatus = "Scanning...";
inline constexpr std::string_view kScannedMessage = "Radiographs processed: %d";
inline constexpr std::string_view kSomeUnusedMessage = "Could not use some radiographs. Points were missing.";
inline constexpr std::string_view kContinueQuestion = "Continue?";

enum class TShapeMeasure {
  Procrustes,       // Procrustes distance over a PCA's points
  Superimposition,  // squared distances of a drawing's points after a superimposition
  Analysis,         // squared differences of an analysis's variables
};

enum class TShapeOutput { LoadBest, LoadWorst, WriteAll, WriteBest, WriteWorst };

inline bool Writes(TShapeOutput output) {
  return output == TShapeOutput::WriteAll || output == TShapeOutput::WriteBest || output == TShapeOutput::WriteWorst;
}

inline constexpr int kMaxMatches = 100;

struct TShapeSortRequest {
  std::string DataFile;
  std::vector<int> Records;  // line numbers from 1, in selection order
  TShapeMeasure Measure = TShapeMeasure::Procrustes;
  std::string PcaName;
  std::string SuperimpositionName;
  std::string DrawingName;
  std::string AnalysisName;
  TShapeOutput Output = TShapeOutput::LoadBest;
  int Number = 5;  // 1..100; every entry for WriteAll
  bool ExcludeSamePatient = true;
  std::string OutputFile;  // the writing outputs append here
};

// The number field as read when it is left: an integer clamped to 1..100, 1 when the text
// is not one.
int MatchCount(std::string_view text);

// The first of the dialog's checks that fails, in its order (free slot, destination,
// records, then the measure's elements on the current radiograph); empty when the scan may
// start. Writing into the data file being read is refused like the other population commands.
std::string ShapeSortRequestError(const TShapeSortRequest& request, TRadiograph& current, bool freeSlot);

// One scored radiograph: smaller scores are more alike.
struct TShapeScore {
  double Score = 0;
  int Record = 0;
  std::string Name;
};

struct TShapeScan {
  TResult Outcome;    // a file that cannot be read, or a request the checks refuse
  bool Stopped = false;  // the scan was stopped early: Scores holds what was scanned so far
  std::vector<TShapeScore> Scores;  // in scanning order
  int Failures = 0;    // radiographs whose points, superimposition or values could not be had
  int Unreadable = 0;  // records of the type that did not load
};

// Scores the chosen records of the current radiograph's type against it (others are passed
// over silently; with ExcludeSamePatient so is every radiograph of the current patient).
// `progress` is told "<n>: Scanning... <name>" before each; false stops the scan there.
// `context` measures the analysis's variables. The current radiograph is loaded again at the end.
TShapeScan ScanShapes(const TShapeSortRequest& request, TRadiograph& current, const TTypeResolver& types,
                      const TDataFileOptions& fileOptions, const TMeasureContext& context, const TProgress& progress);

// "Radiographs processed: %d", with the sentence on failures when any, then "Continue?".
std::string ScanQuestion(const TShapeScan& scan);

// The scores ascending; equal scores keep their scanning order.
void SortScores(std::vector<TShapeScore>& scores);

// The entries the output option takes from the sorted scores, in the order they are loaded
// or written: the worst options from the end, the others from the start, at most Number
// of them except for WriteAll.
std::vector<TShapeScore> ChosenMatches(const std::vector<TShapeScore>& sorted, TShapeOutput output, int number);

// Appends the records of the matches, read again from the data file, to the output file in
// the order given; `progress` is told "Writing... <name>" before each and stops the output
// when it gives false. The count of records appended, or the failure.
TResultOf<int> WriteMatches(const std::vector<TShapeScore>& matches, const TShapeSortRequest& request,
                            const TTypeResolver& types, const TDataFileOptions& fileOptions,
                            const TProgress& progress);

}  // namespace lumacet
