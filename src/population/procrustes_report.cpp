#include "population/procrustes_report.h"

#include <array>
#include <charconv>
#include <filesystem>

#include "persistence/data_lines.h"
#include "support/text_codec.h"

namespace lumacet {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

std::string PadLeft(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

// "%5.1f"
std::string FormatPercent(double value) {
  std::array<char, 64> buffer{};
  auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value + 0.0,
                                    std::chars_format::fixed, 1);
  return PadLeft(error == std::errc() ? std::string(buffer.data(), end) : std::string("0.0"), 5);
}

class TReportWriter {
 public:
  void Line(std::string_view text) {
    fText += text;
    fText += kLineBreak;
  }
  void Number(double value) { Line(FormatReportReal(value)); }
  std::string Take() { return std::move(fText); }

 private:
  std::string fText;
};

}  // namespace

std::string FormatReportReal(double value) {
  std::array<char, 64> buffer{};
  // Adding 0 turns -0 into 0.
  auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value + 0.0,
                                    std::chars_format::scientific, 8);
  return PadLeft(error == std::errc() ? std::string(buffer.data(), end) : std::string(), 16);
}

std::string ProcrustesReport(const TShapeAnalysis& analysis, const std::vector<std::string>& names,
                             const TReportOptions& options, const std::vector<int>& records) {
  const int n = analysis.SampleCount;
  const int k = analysis.PointCount;
  const int m = analysis.ComponentCount;
  auto name = [&](int sample) { return options.Names ? names[static_cast<size_t>(sample)] : std::string(); };

  TReportWriter report;
  report.Line("Total samples:");
  report.Line(std::to_string(n));
  report.Line("Total points:");
  report.Line(std::to_string(k));
  report.Line("Sum of Procrustes distances:");
  report.Number(analysis.SumDistances);
  report.Line("Sum of Squared Procrustes distances:");
  report.Number(analysis.SumSquaredDistances);
  if (options.Consensus) {
    report.Line("Consensus (X, Y):");
    for (int i = 0; i < k; ++i)
      report.Line(FormatReportReal(analysis.Consensus[2 * i]) + ' ' + FormatReportReal(analysis.Consensus[2 * i + 1]));
  }
  if (options.Variances) {
    report.Line("Variance, %variance, %cumulative variance:");
    double total = 0;
    for (double v : analysis.Variances) total += v;
    double cumulative = 0;
    for (int c = 0; c < m; ++c) {
      const double percent = analysis.Variances[c] / total * 100;
      cumulative += percent;
      report.Line("PC " + PadLeft(std::to_string(c + 1), 2) + ": " + FormatReportReal(analysis.Variances[c]) + "  " +
                  FormatPercent(percent) + "%  " + FormatPercent(cumulative) + "%");
    }
  }
  if (options.Loadings) {
    report.Line("PC Loadings:");
    // Without components the section is its heading alone, not 2k empty rows.
    for (int j = 0; m > 0 && j < 2 * k; ++j) {
      std::string row;
      for (int c = 0; c < m; ++c) row += FormatReportReal(analysis.Loading(j, c));
      report.Line(row);
    }
  }
  if (options.Scores) {
    report.Line("Scores:");
    for (int i = 0; i < n; ++i) {
      std::string row = name(i);
      for (int c = 0; c < m; ++c) row += FormatReportReal(analysis.Score(i, c));
      report.Line(row);
    }
  }
  if (options.Residuals) {
    report.Line("Residuals (X, Y):");
    for (int i = 0; i < n; ++i) {
      std::string row = name(i);
      for (int j = 0; j < 2 * k; j += 2) {
        const double* r = analysis.Residuals.data() + static_cast<size_t>(i) * 2 * k + j;
        row += FormatReportReal(r[0]) + ' ' + FormatReportReal(r[1]);
      }
      report.Line(row);
    }
  }
  if (options.Sizes) {
    report.Line("Sizes:");
    for (int i = 0; i < n; ++i) report.Line(name(i) + FormatReportReal(analysis.Sizes[i]));
  }
  if (options.Distances) {
    report.Line("Procrustes Distances:");
    for (int i = 0; i < n; ++i) report.Line(name(i) + FormatReportReal(analysis.Distances[i]));
  }
  if (!records.empty()) {
    report.Line(kSampleOrderHeading);
    std::string line;
    for (int record : records) line += (line.empty() ? "" : " ") + std::to_string(record);
    report.Line(line);
  }
  return report.Take();
}

TWriteResult AppendReport(const std::string& path, std::string_view report) {
  std::optional<std::string> encoded = EncodeCp1252(report);
  if (!encoded) return {false, "The report holds characters the file cannot carry."};
  return RewriteFile(path, [&](std::string& content, std::string&) {
    // A file whose last line was left open gets its line break first, so the report's
    // headings stay at the start of their lines.
    if (!EndsWithLineBreak(content)) content += kLineBreak;
    content += *encoded;
    return true;
  });
}

}  // namespace lumacet
