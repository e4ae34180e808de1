#include "population/send_to.h"

#include <cctype>
#include <filesystem>

#include "model/kind_tables.h"
#include "model/list_elements.h"
#include "model/radiograph.h"
#include "support/user_numbers.h"

namespace lumacet {

namespace {

// The text line of every variable sent, split at its tabs: "name:", value, [mean, SD].
struct TSentLine {
  std::string Name;
  std::vector<std::string> Fields;
};

std::vector<TSentLine> SentLines(TRadiograph& radiograph, const TSendToOptions& options,
                                 const TPresentationOptions& presentation) {
  std::vector<TSentLine> lines;
  for (TXRVariable* variable : AnalysisVariables(radiograph)) {
    if (variable->ShowIn == 0) continue;
    if (options.SkipLabels && variable->Kind() == KindNumber(TVariableKind::Label)) continue;
    TSentLine line{variable->Name, {}};
    const std::string text = TextLine(*variable, radiograph, kTextLineNormals, presentation);
    for (std::size_t start = 0;;) {
      const std::size_t tab = text.find('\t', start);
      line.Fields.push_back(text.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

// A number where the text is one, its unit ("°", " mm", "%") left to the column's name: a
// spreadsheet can compute only with numbers.
TWorkbookCell Cell(const std::string& text, char decimalSeparator) {
  std::size_t end = text.size();
  while (end > 0 && !std::isdigit(static_cast<unsigned char>(text[end - 1]))) --end;
  if (const std::optional<double> number = ParseUserNumber(std::string_view(text).substr(0, end), decimalSeparator))
    return TWorkbookCell::Of(*number);
  return TWorkbookCell::Of(text);
}

}  // namespace

TWorkbookSheet SendToSheet(TRadiograph& radiograph, const TSendToOptions& options,
                           const TPresentationOptions& presentation) {
  TWorkbookSheet sheet;
  sheet.Name = "Analysis";
  sheet.FirstRow = std::max(options.Row, 1) - 1;
  sheet.FirstColumn = std::max(options.Column, 1) - 1;
  const char separator = presentation.Measure.Formats.DecimalSeparator;
  for (const TSentLine& line : SentLines(radiograph, options, presentation)) {
    TWorkbookRow row;
    if (options.VarNames) row.push_back(TWorkbookCell::Of(line.Name));
    if (line.Fields.size() >= 2) row.push_back(Cell(line.Fields[1], separator));
    if (options.Normals) {
      row.push_back(line.Fields.size() >= 3 ? Cell(line.Fields[2], separator) : TWorkbookCell{});
      if (line.Fields.size() >= 4) row.push_back(Cell(line.Fields[3], separator));
    }
    sheet.Rows.push_back(std::move(row));
  }
  return sheet;
}

std::vector<std::string> SendToParagraphs(TRadiograph& radiograph, const TSendToOptions& options,
                                          const TPresentationOptions& presentation) {
  std::vector<std::string> paragraphs;
  for (const TSentLine& line : SentLines(radiograph, options, presentation)) {
    std::string text;
    if (options.VarNames) text += line.Name + '\t';
    if (line.Fields.size() >= 2) text += line.Fields[1] + '\t';
    if (options.Normals) {
      if (line.Fields.size() >= 3) text += line.Fields[2] + '\t';
      if (line.Fields.size() >= 4) text += line.Fields[3];
    }
    if (!text.empty() && text.back() == '\t') text.pop_back();
    paragraphs.push_back(std::move(text));
  }
  return paragraphs;
}

std::string NewDocumentPath(const std::string& folder, const std::string& name, const std::string& extension,
                            std::time_t now) {
  std::string base;
  for (const char c : name)
    base += (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
  if (base.empty() || base == "." || base == "..") base = "Lumacet";
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "-%Y%m%d-%H%M%S", &local);
  base += stamp;
  const std::filesystem::path directory = folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder);
  std::error_code error;
  std::filesystem::path path = directory / (base + "." + extension);
  for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(path, error)); ++n)
    path = directory / (base + "-" + std::to_string(n) + "." + extension);
  return path.string();
}

}  // namespace lumacet
