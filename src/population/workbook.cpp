#include "population/workbook.h"

#include <filesystem>

#include <locale.h>
#include <stdlib.h>
#include <xlsxwriter.h>


namespace lumacet {

namespace fs = std::filesystem;

namespace {

// libxlsxwriter formats numbers with printf, in the locale of the moment: under a desktop
// locale with a decimal comma (Qt's application sets the user's) it wrote "82,4", which no
// reader takes for a number. The C locale holds on this thread while the workbook is written.
class TCNumbers {
 public:
  TCNumbers() : fC(newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr))) {
    if (fC != static_cast<locale_t>(nullptr)) fPrevious = uselocale(fC);
  }
  ~TCNumbers() {
    if (fC == static_cast<locale_t>(nullptr)) return;
    uselocale(fPrevious);
    freelocale(fC);
  }
  TCNumbers(const TCNumbers&) = delete;
  TCNumbers& operator=(const TCNumbers&) = delete;

 private:
  locale_t fC;
  locale_t fPrevious = static_cast<locale_t>(nullptr);
};

}  // namespace

// libxlsxwriter writes only files, so it writes one in a folder of its own that goes
// afterwards.
bool WorkbookBytes(const TWorkbookSheet& sheet, std::string& bytes, std::string& reason) {
  const TCNumbers numbers;
  std::error_code error;
  std::string pattern = (fs::temp_directory_path(error) / "lumacet-xlsx-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    reason = "no temporary folder for the workbook";
    return false;
  }
  const fs::path folder = pattern;
  const std::string path = (folder / "export.xlsx").string();
  lxw_workbook_options workbookOptions{};
  workbookOptions.constant_memory = LXW_TRUE;
  workbookOptions.tmpdir = const_cast<char*>(pattern.c_str());
  lxw_workbook* workbook = workbook_new_opt(path.c_str(), &workbookOptions);
  bool ok = workbook != nullptr;
  if (ok) {
    lxw_worksheet* worksheet = workbook_add_worksheet(workbook, sheet.Name.c_str());
    lxw_format* bold = workbook_add_format(workbook);
    format_set_bold(bold);
    const auto top = static_cast<lxw_row_t>(sheet.FirstRow);
    const auto left = static_cast<lxw_col_t>(sheet.FirstColumn);
    for (std::size_t c = 0; c < sheet.Headers.size(); ++c)
      worksheet_write_string(worksheet, top, static_cast<lxw_col_t>(left + c), sheet.Headers[c].c_str(), bold);
    const lxw_row_t firstData = sheet.Headers.empty() ? top : top + 1;
    if (!sheet.Headers.empty()) worksheet_freeze_panes(worksheet, firstData, 0);
    for (std::size_t r = 0; r < sheet.Rows.size(); ++r)
      for (std::size_t c = 0; c < sheet.Rows[r].size(); ++c) {
        const TWorkbookCell& cell = sheet.Rows[r][c];
        const auto row = static_cast<lxw_row_t>(firstData + r);
        const auto column = static_cast<lxw_col_t>(left + c);
        if (cell.Kind == TWorkbookCell::TKind::Number)
          worksheet_write_number(worksheet, row, column, cell.Number, nullptr);
        if (cell.Kind == TWorkbookCell::TKind::Text)
          worksheet_write_string(worksheet, row, column, cell.Text.c_str(), nullptr);
      }
    const lxw_error closed = workbook_close(workbook);
    ok = closed == LXW_NO_ERROR;
    if (!ok) reason = lxw_strerror(closed);
  } else {
    reason = "the workbook could not be begun";
  }
  ok = ok && ReadWholeFile(path, bytes);
  fs::remove_all(folder, error);
  return ok;
}

TWriteResult WriteWorkbook(const std::string& path, const TWorkbookSheet& sheet) {
  std::string bytes;
  std::string reason;
  if (!WorkbookBytes(sheet, bytes, reason)) return {false, reason};
  return WriteFileAtomically(path, bytes);
}

}  // namespace lumacet
