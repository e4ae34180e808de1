// Landmark configurations for geometric morphometrics programs: the points of a drawing, of
// a shape analysis (PCA) element or every digitized point, of every radiograph of one type
// in a data file, written as a TPS file or as a MorphoJ row/column text file. The target is
// replaced as a whole (atomically); a configuration with a missing point is left out, as
// neither format has a standard way to mark one.
//
// TPS, one block per radiograph:
//   LM=k                 the number of landmarks
//   x y                  k lines, "." as decimal point, at most four decimals
//   IMAGE=file.jpg       the linked image's file name, only when the record links one
//   ID=n                 the record's line number in the data file
//   SCALE=0.1            coordinates are tenths of a millimetre: multiplied by SCALE they
//                        are millimetres
// MorphoJ ("row/column" import, tab-delimited):
//   ID <tab> x1 <tab> y1 <tab> x2 ...     a header line, which MorphoJ skips
//   Name yyyy-mm-dd <tab> x <tab> y ...   one line per radiograph: the patient name and
//                                         the date taken, then the coordinates
// Coordinates are in tracing units (0.1 mm) at life or radiograph size; reflected, they are
// mirrored top to bottom about the middle of the digitized points (as Flip Vertical does),
// so that y grows upwards as these programs draw it.
#pragma once

#include <string>
#include <string_view>

#include "persistence/data_file.h"
#include "population/measurement_export.h"
#include "population/record_scan.h"

namespace lumacet {

inline constexpr std::string_view kLandmarkElementMissingMessage =
    "The radiograph type has no drawing or shape analysis '%s'.";
inline constexpr std::string_view kNoLandmarksMessage = "There are no landmarks to export.";
inline constexpr std::string_view kIncompleteSuffix = "; %d radiographs with missing landmarks were left out";

enum class TLandmarkFormat { Tps, MorphoJ };
enum class TLandmarkSet { AllDigitized, Drawing, Pca };

struct TLandmarkExportOptions {
  std::string SourceFile;
  std::string TargetFile;
  std::string TypeName;
  TLandmarkFormat Format = TLandmarkFormat::Tps;
  TLandmarkSet Points = TLandmarkSet::AllDigitized;
  std::string Element;  // the drawing or shape analysis, for those sets
  bool LifeSize = true;
  bool ReflectY = true;
  bool Anonymize = false;  // radiographs called by their record numbers (Anonymize)
  TTextEncoding Encoding = TTextEncoding::Windows1252;
  bool ByteOrderMark = false;  // UTF-8 only
};

// The run's messages are the measurement export's.

struct TLandmarkContext {
  TTypeResolver Types;
  TDataFileOptions Data;  // the life-size choice is the export's
};

struct TLandmarkExportResult : TExportResult {
  int Incomplete = 0;  // radiographs left out for a missing point
};

TLandmarkExportResult ExportLandmarks(const TLandmarkExportOptions& options, const TLandmarkContext& context,
                                      const TProgress& progress);

}  // namespace lumacet
