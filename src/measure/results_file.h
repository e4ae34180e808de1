// "Save Results...": the current radiograph's results as a text file, and the text files
// the analysis is saved as.
#pragma once

#include <string>
#include <string_view>

#include "measure/analysis_text.h"
#include "support/atomic_file.h"

namespace lumacet {

class TRadiograph;

inline constexpr std::string_view kResultsFileError = "File error. File may be in use.";

// A text written whole to the file in the files' character set, or the file left as it was.
TWriteResult WriteTextFile(const std::string& path, const std::string& utf8);
// The results text (the delimiter after every value) written as WriteTextFile writes it.
TWriteResult WriteResults(const std::string& path, TRadiograph& radiograph, const TPresentationOptions& options);

}  // namespace lumacet
