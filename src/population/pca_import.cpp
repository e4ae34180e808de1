#include "population/pca_import.h"

#include <optional>
#include <vector>

#include "model/list_elements.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/data_lines.h"
#include "support/atomic_file.h"
#include "support/file_numbers.h"
#include "support/text_codec.h"

namespace lumacet {

namespace {

constexpr size_t kFieldWidth = 16;

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t at = 0;
  while (true) {
    at = line.find_first_not_of(" \t", at);
    if (at == std::string_view::npos) return fields;
    const size_t end = std::min(line.find_first_of(" \t", at), line.size());
    fields.push_back(line.substr(at, end - at));
    at = end;
  }
}

struct TImported {
  int SampleCount = 0;
  double SumDistances = 0;
  double SumSquaredDistances = 0;
  std::vector<double> Consensus;
  std::vector<double> Variances;
  std::vector<std::vector<double>> Loadings;
};

// One report, line by line; every step either reads what it expects or fails.
class TReportReader {
 public:
  explicit TReportReader(std::vector<std::string_view> lines) : fLines(std::move(lines)) {}

  // Moves past the first following line that contains the keyword; nothing when none does.
  std::optional<std::string_view> Find(std::string_view keyword) {
    while (fNext < fLines.size()) {
      std::string_view line = fLines[fNext++];
      if (line.find(keyword) != std::string_view::npos) return line;
    }
    return std::nullopt;
  }
  std::optional<std::string_view> Next() {
    if (fNext >= fLines.size()) return std::nullopt;
    return fLines[fNext++];
  }
  // The integer after the heading's colon, or else the one on the next line.
  std::optional<int> IntegerAfter(std::string_view keyword) {
    std::optional<std::string_view> heading = Find(keyword);
    if (!heading) return std::nullopt;
    const size_t colon = heading->find(':');
    if (colon != std::string_view::npos) {
      std::string_view rest = TrimField(heading->substr(colon + 1));
      if (!rest.empty()) return ParseFileInt(rest);
    }
    std::optional<std::string_view> line = Next();
    return line ? ParseFileInt(TrimField(*line)) : std::nullopt;
  }
  std::optional<double> RealAfter(std::string_view keyword) {
    if (!Find(keyword)) return std::nullopt;
    std::optional<std::string_view> line = Next();
    return line ? ParseFileReal(TrimField(*line)) : std::nullopt;
  }

 private:
  std::vector<std::string_view> fLines;
  size_t fNext = 0;
};

std::optional<std::vector<double>> Row(std::string_view line, size_t count) {
  std::vector<std::string_view> fields = Fields(line);
  if (fields.size() != count) {
    // A negative value with a three-digit exponent fills its 16 characters.
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (line.size() != count * kFieldWidth) return std::nullopt;
    fields.clear();
    for (size_t i = 0; i < count; ++i) fields.push_back(TrimField(line.substr(i * kFieldWidth, kFieldWidth)));
  }
  std::vector<double> values;
  for (std::string_view field : fields) {
    std::optional<double> value = ParseFileReal(field);
    if (!value) return std::nullopt;
    values.push_back(*value);
  }
  return values;
}

std::optional<TImported> ReadLastReport(std::string_view text, size_t k) {
  std::vector<std::string_view> lines;
  TLineCursor cursor(text);
  TLineSpan span;
  size_t start = 0;
  bool found = false;
  while (cursor.Next(span)) {
    if (span.Text.find("Total samples") != std::string_view::npos) {
      start = lines.size();
      found = true;
    }
    lines.push_back(span.Text);
  }
  if (!found) return std::nullopt;
  lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(start));
  TReportReader report(std::move(lines));

  const size_t m = 2 * k - 4;
  TImported imported;
  std::optional<int> samples = report.IntegerAfter("Total samples");
  std::optional<int> points = report.IntegerAfter("Total points");
  if (!samples || *samples < 1 || !points || *points < 0 || static_cast<size_t>(*points) != k) return std::nullopt;
  imported.SampleCount = *samples;
  std::optional<double> sum = report.RealAfter("Sum of Procrustes");
  std::optional<double> squares = report.RealAfter("Sum of Squared");
  if (!sum || !squares) return std::nullopt;
  imported.SumDistances = *sum;
  imported.SumSquaredDistances = *squares;

  if (!report.Find("Consensus")) return std::nullopt;
  for (size_t i = 0; i < k; ++i) {
    std::optional<std::string_view> line = report.Next();
    std::vector<std::string_view> fields = line ? Fields(*line) : std::vector<std::string_view>();
    if (fields.size() < 2) return std::nullopt;
    std::optional<double> x = ParseFileReal(fields[0]);
    std::optional<double> y = ParseFileReal(fields[1]);
    if (!x || !y) return std::nullopt;
    imported.Consensus.push_back(*x);
    imported.Consensus.push_back(*y);
  }

  // "PC  1:  variance  percent%  cumulative%": the variance is the number after the colon.
  if (!report.Find("Variance")) return std::nullopt;
  for (size_t c = 0; c < m; ++c) {
    std::optional<std::string_view> line = report.Next();
    const size_t colon = line ? line->find(':') : std::string_view::npos;
    if (colon == std::string_view::npos) return std::nullopt;
    std::vector<std::string_view> fields = Fields(line->substr(colon + 1));
    std::optional<double> variance = fields.empty() ? std::nullopt : ParseFileReal(fields[0]);
    if (!variance) return std::nullopt;
    imported.Variances.push_back(*variance);
  }

  if (!report.Find("Loadings")) return std::nullopt;
  for (size_t j = 0; j < 2 * k; ++j) {
    std::optional<std::string_view> line = report.Next();
    std::optional<std::vector<double>> row = line ? Row(*line, m) : std::nullopt;
    if (!row) return std::nullopt;
    imported.Loadings.push_back(std::move(*row));
  }
  return imported;
}

TPcaImportResult Failed(TXRPCA& pca) {
  pca.HasData = false;
  return {false, std::string(kPcaImportErrorMessage)};
}

}  // namespace

TPcaImportResult ImportPcaReport(TXRPCA& pca, std::string_view bytes) {
  const size_t k = pca.Points.size();
  if (k < 3) return {false, std::string(kNotEnoughPointsMessage)};
  std::optional<TImported> imported = ReadLastReport(DecodeCp1252(bytes), k);
  if (!imported) return Failed(pca);
  pca.SampleCount = imported->SampleCount;
  pca.SumDistances = imported->SumDistances;
  pca.SumSquaredDistances = imported->SumSquaredDistances;
  pca.Consensus = std::move(imported->Consensus);
  pca.Variances = std::move(imported->Variances);
  pca.Loadings = std::move(imported->Loadings);
  pca.HasData = true;
  return {true, std::string(kPcaImportedMessage)};
}

TPcaImportResult ImportPcaFile(TXRayType& type, TXRPCA& pca, const std::string& path) {
  if (pca.Points.size() < 3) return {false, std::string(kNotEnoughPointsMessage)};
  std::string bytes;
  TPcaImportResult result = ReadWholeFile(path, bytes) ? ImportPcaReport(pca, bytes) : Failed(pca);
  type.RecordChange(true, FillIn(kChangedPcaChange, pca.Name));
  return result;
}

}  // namespace lumacet
