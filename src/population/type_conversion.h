// Carrying records over to another radiograph type: each chosen record of the source type
// is rewritten point by point, through a table that names for every point of the target
// type the source point supplying it, and appended to another data file. The source file
// is never changed. The Convert Type dialog and the command line both run it.
//
// The converted records are appended in one atomic rewrite of the target under the data
// file lock, when the run ends: a run that fails or is cancelled leaves the target as it
// was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "persistence/data_file.h"
#include "population/record_scan.h"

namespace lumacet {

class TXRayType;

inline constexpr std::string_view kNoCorrespondence = "<none>";
inline constexpr std::string_view kConvertTotalMessage = "Total radiographs converted: %d";
inline constexpr std::string_view kConvertingStatus = "Converting: %s";
inline constexpr std::string_view kTableMismatchMessage =
    "The point correspondences do not match the points of the target type.";
inline constexpr TTextSource kTooFewCarriedMessage =
    LcText("TypeConversion", "Only %1 of the %2 points of '%3' take a point of '%4' (at least %5% must): nothing was converted.");

// One row of the correspondence grid: a digitized point of the target type and the name
// of the source type's digitized point that supplies its coordinates, or "<none>".
struct TCorrespondence {
  std::string Target;
  std::string Source;
};

// The grid and its drop-down list.
class TCorrespondenceTable {
 public:
  // Choosing the source type refills the choices; choosing the target type rebuilds the
  // rows. Both match the points again by name.
  void SetSourceType(const TXRayType& source);
  void SetTargetType(const TXRayType& target);
  // Every target point takes the first source point of exactly its name (case-sensitive),
  // or "<none>".
  void AutoMatch();
  // The row's target point takes `source`, which must be one of Choices(); false (and
  // nothing changed) otherwise. Several rows may name the same source point.
  bool Assign(size_t row, const std::string& source);
  // The same for the first row of the named target point.
  bool Assign(const std::string& target, const std::string& source);

  // One row per digitized point of the target type, in its order.
  const std::vector<TCorrespondence>& Rows() const { return fRows; }
  // "<none>" followed by the source type's digitized points in order.
  const std::vector<std::string>& Choices() const { return fChoices; }

 private:
  std::vector<TCorrespondence> fRows;
  std::vector<std::string> fChoices{std::string(kNoCorrespondence)};
};

struct TTypeConversionOptions {
  std::string SourceFile;
  std::vector<int> Records;  // line numbers (from 1), in the order they are converted
  std::string SourceType;
  std::string TargetType;
  std::string TargetFile;
  // One row per digitized point of the target type, in its order (TCorrespondenceTable).
  std::vector<TCorrespondence> Correspondences;
  // The share of the target's points (0 to 1) that must take a source point: a table that
  // carries fewer over would write records that are nearly empty and call it a success.
  double MinimumCarried = 0.5;
};

// How many rows of the table name a source point (not "<none>").
int CarriedCount(const std::vector<TCorrespondence>& rows);

struct TConversionContext {
  TTypeResolver Types;    // both types and every record's type are found through it
  TDataFileOptions Data;  // image folder and date format of both files
};

struct TConversionResult {
  bool Ok = false;         // false: refused or failed, Message is the error to show
  bool Cancelled = false;  // stopped through the progress callback; nothing was written
  int Converted = 0;       // records appended to the target
  int Unreadable = 0;      // chosen records of the source type (or past the file's end) not read
  // For each record that could not be written ("Error saving radiograph."): its patient
  // name and why not.
  std::vector<std::string> SaveErrors;
  std::string Message;  // the error, or the total to show at the end
  std::string Reason;   // what went wrong underneath, when anything did
};

// The whole run. Checks, in this order: a target file, a target other than the source
// (also through links), a source and records; then the types and the table.
TConversionResult ConvertType(const TTypeConversionOptions& options, const TConversionContext& context,
                              const TProgress& progress);

}  // namespace lumacet
