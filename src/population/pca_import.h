// Reading the results of a Procrustes calculation back from its report into a PCA element:
// what the element needs to measure radiographs against the population later.
#pragma once

#include <string>
#include <string_view>

namespace lumacet {

class TXRPCA;
class TXRayType;

inline constexpr std::string_view kNotEnoughPointsMessage = "Not enough points: at least 3 points are required.";
inline constexpr std::string_view kPcaImportedMessage = "Data successfully imported.";
inline constexpr std::string_view kPcaImportErrorMessage = "Error loading PCA file.";
inline constexpr std::string_view kChangedPcaChange = "Changed PCA: %s";

struct TPcaImportResult {
  bool Ok = false;
  std::string Message;  // one of the three messages above
};

// Imports a report (the file's bytes, Windows-1252). Results files grow by appending, so
// only the last report of the file is read, from its "Total samples" line to the end: its
// "Total points" must equal the element's point count, and its summary, consensus, variance
// and loadings sections must all be there with finite numbers; nothing is taken from an
// earlier report. Loadings rows are split at blanks, or into 16-character fields when a
// negative value with a three-digit exponent left no blank before it.
// Success sets the arrays, the sample count and the sums and marks the data valid; on
// failure the element's data stay as they were and are marked not valid.
TPcaImportResult ImportPcaReport(TXRPCA& pca, std::string_view bytes);

// The editor's "Import Data...": needs at least 3 points; reads the file and imports it;
// every import that was tried records "Changed PCA: <name>" for the type.
TPcaImportResult ImportPcaFile(TXRayType& type, TXRPCA& pca, const std::string& path);

}  // namespace lumacet
