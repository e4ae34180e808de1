// The text report of a Procrustes calculation, appended to a results file. Its layout is
// fixed: other programs read it, and so does the PCA import (pca_import.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "population/procrustes_analysis.h"
#include "support/atomic_file.h"

namespace lumacet {

// The sections after the summary lines; consensus, variances and loadings are what the
// PCA import needs.
struct TReportOptions {
  bool Consensus = true;
  bool Residuals = false;
  bool Scores = false;
  bool Sizes = false;
  bool Variances = true;
  bool Loadings = true;
  bool Distances = false;
  // The radiograph's name before the numbers of every per-radiograph line.
  bool Names = false;

  bool AnyOutput() const { return Consensus || Residuals || Scores || Sizes || Variances || Loadings || Distances; }
  bool Importable() const { return Consensus && Variances && Loadings; }
};

// C's "%16.8e": 9 significant digits, lower-case "e", an exponent of at least two digits,
// right-aligned in 16 characters; "." whatever the locale.
std::string FormatReportReal(double value);

// The report, lines ending CR LF; `names` holds one name per sample (used only with Names).
// `records`, when given, are the samples' record numbers in the data file, listed at the end
// so that a reader knows the order the samples were taken in (the consensus keeps the
// orientation of the first).
std::string ProcrustesReport(const TShapeAnalysis& analysis, const std::vector<std::string>& names,
                             const TReportOptions& options, const std::vector<int>& records = {});

inline constexpr std::string_view kSampleOrderHeading = "Radiographs in data file order (record numbers):";

// Appends the report (UTF-8) to the results file, which is created when missing; written in
// Windows-1252 through a complete rewrite, so the file holds either its old content or the
// old content and the whole report.
TWriteResult AppendReport(const std::string& path, std::string_view report);

}  // namespace lumacet
