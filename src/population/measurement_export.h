// The population export: every radiograph of one type in a data file becomes one record of
// a delimited text file, holding the chosen patient fields and either the variables of an
// analysis or the coordinates of a drawing's points. The Export dialog and the command line
// both run it: they fill in the options, follow the run through the progress callback and
// show the result's message.
//
// The target is appended to, as the dialog always did, but through a temporary file that
// replaces it only when the whole run has succeeded: a run that fails or is cancelled
// leaves the target exactly as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "measure/analysis_text.h"
#include "persistence/data_file.h"
#include "population/record_scan.h"
#include "support/text_codec.h"

namespace lumacet {

class TXRay;
class TXRayType;

inline constexpr std::string_view kExportFilesMissingMessage = "Source and Destination files have not been selected.";
inline constexpr std::string_view kDelimiterIsSeparatorMessage =
    "The delimiter character is the same as the decimal separator.";
inline constexpr std::string_view kNoDelimiterMessage = "No delimiter has been given.";
inline constexpr std::string_view kExportFileErrorMessage = "File error. File may be in use.";
inline constexpr std::string_view kExportTotalMessage = "Total radiographs exported to file: %d";
inline constexpr std::string_view kExportAnalysisMissingMessage = "The radiograph type has no analysis '%s'.";
inline constexpr std::string_view kExportDrawingMissingMessage = "The radiograph type has no drawing '%s'.";
inline constexpr std::string_view kExportingHeadersStatus = "Exporting Headers...";
inline constexpr std::string_view kExportingStatus = "Exporting: %s";

enum class TExportData { Measurements, PointCoordinates };
enum class TExportVariables { InTextAnalysis, All };
enum class TDelimiterChoice { Tab, Comma, Space, Other };

// A tab, ",", a blank, or the "Other:" text.
std::string DelimiterText(TDelimiterChoice choice, const std::string& other);
// The extension a table of that delimiter goes by, so that spreadsheets and R's readers
// know it: "tsv" for tabs, "csv" for commas, "txt" for the rest.
std::string TableExtension(const std::string& delimiter);

// "Include:": patient fields, always written in the order of this struct.
struct TPatientFields {
  bool Name = false;
  bool Age = false;
  bool Sex = false;     // "F" or "M"
  bool SexNum = false;  // 1 female, 0 male
  bool DateOfBirth = false;
  bool DateTaken = false;
  bool Magnification = false;
  bool Comments = false;
};

struct TMeasurementExportOptions {
  std::string SourceFile;
  std::string TargetFile;
  std::string TypeName;
  TExportData Data = TExportData::Measurements;
  // Page "Measurements".
  std::string Analysis;
  bool FullPrecision = false;
  bool SkipLabels = true;
  TExportVariables Variables = TExportVariables::InTextAnalysis;
  // Page "Point Coordinates".
  std::string Drawing;
  bool ReflectY = true;
  bool SkipMissingPoints = true;
  bool PointPerLine = true;
  // "Life size (LIFE)" or "Radiograph size (XRAY)".
  bool LifeSize = true;
  bool Headers = false;  // a header line, written only into an empty or new file
  bool Replace = false;  // the file is written anew rather than appended to
  // What a value or coordinate that cannot be measured reads as, when not the program's own
  // "N/A" and "nil" ("NA" or nothing for R and pandas).
  std::optional<std::string> Missing;
  bool AbbreviatedHeaders = false;  // blanks removed, cut to 8 characters
  TPatientFields Include;
  // No name, date of birth or comment: names become record numbers (Anonymize).
  bool Anonymize = false;
  std::string Delimiter = "\t";
  TTextEncoding Encoding = TTextEncoding::Windows1252;
  // A UTF-8 byte-order mark at the start of a file the run begins (UTF-8 only).
  bool ByteOrderMark = false;
};

// What the run needs from the program around it.
struct TExportContext {
  // Finds a record's type by name (the workspace's type cache). The chosen type itself,
  // found the same way, names the header columns.
  TTypeResolver Types;
  // The not-available text, the user's decimal separator and short date format, and the
  // measuring context (reference radiograph, shape statistics).
  TPresentationOptions Presentation;
  // Image folder and date format of the data file; the life-size choice is the export's.
  TDataFileOptions Data;
};

struct TExportResult {
  bool Ok = false;         // false: refused or failed, Message is the error to show
  bool Cancelled = false;  // stopped through the progress callback; nothing was written
  int Exported = 0;        // records written to the target
  int Unreadable = 0;      // records of the type that could not be read
  std::string Message;     // the error, or the total to show at the end
  std::string Reason;      // what went wrong underneath, when anything did
};

// Why `text` could not be written in `encoding`, for a result's Reason.
std::string EncodingError(TTextEncoding encoding, const std::string& text);

// The header line, line break included, as the options ask for it.
std::string ExportHeaderLine(const TXRayType& type, const TMeasurementExportOptions& options);

// The record of one radiograph (lines breaks included); nothing when the radiograph is
// skipped (no such drawing or analysis in its type, or missing points when they skip it).
// Loads the radiograph's coordinates into its type.
std::optional<std::string> ExportRecord(TXRay& xray, const TMeasurementExportOptions& options,
                                        const TPresentationOptions& presentation);

// The whole run. Checks the options first (files given and distinct, a usable delimiter,
// the type and its analysis or drawing), then reads the source once and appends the header
// line and every record to the target. `progress` may be empty.
TExportResult ExportDataFile(const TMeasurementExportOptions& options, const TExportContext& context,
                             const TProgress& progress);

inline constexpr std::string_view kWorkbookMeasurementsOnlyMessage =
    "A spreadsheet workbook holds measurements: choose an analysis.";

// The same run into a spreadsheet workbook (.xlsx), written anew: one header row, then one
// row per radiograph with the patient fields and, for every variable, its value, the mean and
// SD of the norm that applies and the deviation from it in SDs, each in a column of its own.
// Values are numbers where they are numbers (as rounded in the table unless in full
// precision), text where they are text, and empty where nothing can be measured. The
// delimiter and encoding options do not apply.
TExportResult ExportDataWorkbook(const TMeasurementExportOptions& options, const TExportContext& context,
                                 const TProgress& progress);

// The end of an export run over `scan`: refused when the source could not be read or a text
// could not be encoded (`encodeError`), nothing written when cancelled, else `write` puts
// what the run gathered into `target` (see RewriteFile) and the total becomes the message.
// Only the fields of TExportResult change.
void FinishExport(const TRecordScan& scan, const std::string& sourceFile, const std::string& encodeError,
                  const std::string& target, const TProgress& progress, TExportResult& result,
                  const TRewrite& write);

// The magnification as the export writes it: sign or blank, 15 significant digits in
// scientific form and a signed four-digit exponent (" 1.00000000000000E+0001"), with the
// table's decimal separator.
std::string ExportMagnification(double magnification, char decimalSeparator = '.');

}  // namespace lumacet
