// TOpenXRayDlg: the record browser window over TRecordBrowser. It lists the records of one
// data file, filters and orders them, keeps the selection, deletes and copies records, and
// closes with "&Load and Exit" for the workspace to open the selected ones.
#pragma once

#include <QDialog>

#include "persistence/record_browser.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace lumacet {

class TOpenXRayDlg : public QDialog, private TRecordBrowserPrompts {
  Q_OBJECT

 public:
  TOpenXRayDlg(TRecordBrowserOptions options, QWidget* parent = nullptr);

  TRecordBrowser& Browser() { return fBrowser; }
  // Lists the data file again and shows the rows.
  void Reload();

 private:
  bool ConfirmDelete(std::string_view question) override;
  std::optional<std::string> ChooseCopyDestination() override;
  TReplaceAnswer AskReplace(const std::string& question) override;
  void ShowError(const std::string& message, const std::string& detail) override;

  void ShowRows();
  void ShowSelection();
  void RowClicked(int row);
  void ChooseFile();

  TRecordBrowser fBrowser;
  QLabel* fFile = nullptr;
  QComboBox* fFilterField = nullptr;
  QLineEdit* fFilterText = nullptr;
  QCheckBox* fSorted = nullptr;
  QCheckBox* fLoadImage = nullptr;
  QTableWidget* fTable = nullptr;
  QLabel* fStatus = nullptr;
  QLabel* fSelected = nullptr;
  QPushButton* fLoad = nullptr;
  QPushButton* fDelete = nullptr;
  QPushButton* fCopy = nullptr;
  QPushButton* fExpand = nullptr;
};

}  // namespace lumacet
