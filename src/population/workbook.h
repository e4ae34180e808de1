// Spreadsheet workbooks (.xlsx) of measurements: the population export's table and the
// analysis a Send To puts into a spreadsheet. One sheet of typed cells, written whole.
#pragma once

#include <string>
#include <vector>

#include "support/atomic_file.h"

namespace lumacet {

// A cell of the workbook: empty, a number or a text.
struct TWorkbookCell {
  enum class TKind { Empty, Number, Text } Kind = TKind::Empty;
  double Number = 0;
  std::string Text;
  static TWorkbookCell Of(double number) { return {TKind::Number, number, {}}; }
  static TWorkbookCell Of(std::string text) {
    return text.empty() ? TWorkbookCell{} : TWorkbookCell{TKind::Text, 0, std::move(text)};
  }
};
using TWorkbookRow = std::vector<TWorkbookCell>;

struct TWorkbookSheet {
  std::string Name = "Measurements";
  // In bold in the first row, which stays in view; none: the rows start at the top.
  std::vector<std::string> Headers;
  std::vector<TWorkbookRow> Rows;
  // Where the headers, or the rows when there are none, begin (0-based).
  int FirstRow = 0;
  int FirstColumn = 0;
};

// The workbook's bytes, for the caller to put in place atomically; false and the reason
// when libxlsxwriter could not write it.
bool WorkbookBytes(const TWorkbookSheet& sheet, std::string& bytes, std::string& reason);

// The workbook as a new file at `path`, written whole or not at all.
TWriteResult WriteWorkbook(const std::string& path, const TWorkbookSheet& sheet);

}  // namespace lumacet
