// "Procrustes & PCA" over the records of a data file: reads the chosen radiographs of one
// type, superimposes the points of one PCA element, decomposes the residuals and appends
// the report to a results file. The dialog and the command line drive the same run; they
// differ only in how they ask the user (TProcrustesPrompts).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persistence/data_file.h"
#include "population/procrustes_analysis.h"
#include "population/procrustes_report.h"
#include "population/record_scan.h"

namespace lumacet {

inline constexpr std::string_view kNoOutputMessage = "No Output option has been selected.";
inline constexpr std::string_view kNoPcasMessage = "The selected radiograph type does not contain any PCAs.";
inline constexpr std::string_view kNoPcaSelectedMessage = "No PCA has been selected.";
inline constexpr std::string_view kPointsMissingMessage = "Cannot use radiograph %s. Points missing.";
inline constexpr std::string_view kUnreadableRecordMessage = "Cannot read radiograph %s.";
inline constexpr std::string_view kProcessedMessage = "Radiographs processed: %d\r\n\r\nContinue?";
inline constexpr std::string_view kReadingStatus = "Reading...";
inline constexpr std::string_view kReadingRecordStatus = "Reading: %s";
inline constexpr std::string_view kCalculatingStatus = "Calculating...";
inline constexpr std::string_view kWritingStatus = "Writing...";
inline constexpr std::string_view kPcaChangedMessage =
    "The PCA %s differs from the one in the type file. Save or close the radiograph type and try again.";

struct TProcrustesRequest {
  std::string DataFile;
  // Line numbers from 1, in any order: each is read once, in file order, so that the
  // consensus, which keeps the orientation of the first sample, is the same whoever chose
  // them (the browser lists records in its own order, the command line in the file's).
  std::vector<int> Records;
  std::string TypeName;
  std::string PcaName;
  // The PCA's points, by name, as the user chose it (the dialog reads the type file). The
  // radiographs come through the type cache, which may hold an older or unsaved copy of the
  // type: a run whose cached PCA lists other points is refused rather than mixing the two.
  // Empty when the chooser reads the cache itself (the command line).
  std::vector<std::string> PcaPoints;
  std::string ResultsFile;
  bool FlipY = false;
  bool LifeSize = true;  // "Calculate at:" life size, else radiograph size
  // Radiographs called by their record numbers, without image names (Anonymize).
  bool Anonymize = false;
  TReportOptions Report;
};

// The names of the points of the PCA `pcaName` of `type`, in order; empty when it has none.
std::vector<std::string> PcaPointNames(const TXRayType& type, const std::string& pcaName);

// The first of the dialog's checks that fails, in the dialog's order; empty when the run
// may start. `pcaNames` are the PCAs of the chosen type. The results file and the data
// file count as the same when they name one file in any way (links, relative paths).
std::string ProcrustesRequestError(const TProcrustesRequest& request, const std::vector<std::string>& pcaNames);

// How a run talks to the user. Unset functions answer "go on".
struct TProcrustesPrompts {
  // The status texts: "Reading...", "Reading: <name>" for every radiograph of the type,
  // "Calculating...", "Writing...", "Completed.". Called before every record, so that the
  // dialog can process pending events there; false stops the run (Cancel).
  std::function<bool(const std::string& status)> Status;
  // A radiograph that cannot be used, with the message to show (OK / Cancel); false stops.
  std::function<bool(const std::string& message)> Skip;
  // "Radiographs processed: %d ... Continue?" once reading is done (Yes / No).
  std::function<bool(const std::string& message)> Proceed;
};

enum class TProcrustesOutcome {
  Completed,  // the report was appended (and handed back)
  Stopped,    // cancelled, or stopped at a prompt: nothing written
  Refused,    // degenerate data: Message says why, nothing written
  Failed,     // reading the data file or writing the results file failed: Message says why
};

struct TProcrustesResult {
  TProcrustesOutcome Outcome = TProcrustesOutcome::Stopped;
  std::string Message;
  int Processed = 0;  // usable radiographs read
  TShapeSamples Samples;
  // For each sample, where it came from.
  struct TOrigin {
    int Record = 0;  // line number in the data file
    TDayNumber DateTaken = 0;
    std::string ImageFile;  // empty when anonymized: image names often hold the patient's
  };
  std::vector<TOrigin> Origins;
  std::optional<TShapeAnalysis> Analysis;
  std::string Report;  // UTF-8, as appended
};

// Reads the samples (Refused, with nothing read, when `request.PcaPoints` differ from the
// PCA of the type `types` gives): records of other types are passed over silently; a radiograph whose
// PCA is missing or has an invalid point goes to Skip. `types` finds a record's type (the
// workspace's cache); `fileOptions` give the image folder and date format, and the run
// reads at life size or radiograph size as the request says, whatever the settings hold.
// Returns Stopped or Failed when reading ended early, otherwise Completed.
TProcrustesOutcome ReadShapeSamples(const TProcrustesRequest& request, const TTypeResolver& types,
                                    const TDataFileOptions& fileOptions, const TProcrustesPrompts& prompts,
                                    TProcrustesResult& result);

// The whole run: reading, the question, the calculation and, unless `request.ResultsFile`
// is empty (the command line may want the report alone), appending the report.
TProcrustesResult RunProcrustes(const TProcrustesRequest& request, const TTypeResolver& types,
                                const TDataFileOptions& fileOptions, const TProcrustesPrompts& prompts);

}  // namespace lumacet
