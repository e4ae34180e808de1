#include "measure/results_file.h"

#include <optional>

#include "support/text_codec.h"

namespace lumacet {

TWriteResult WriteTextFile(const std::string& path, const std::string& utf8) {
  std::optional<std::string> bytes = EncodeCp1252(utf8);
  if (!bytes) return {false, "The text holds characters that a Windows-1252 file cannot hold."};
  return WriteFileAtomically(path, *bytes);
}

TWriteResult WriteResults(const std::string& path, TRadiograph& radiograph, const TPresentationOptions& options) {
  return WriteTextFile(path, ResultsText(radiograph, options));
}

}  // namespace lumacet
