// TOpenXRayDlg: the record browser window over TRecordBrowser. It lists the records of one
// data file, filters and orders them, keeps the selection, deletes and copies records, and
// closes with "&Load and Exit" for the workspace to open the selected ones. The keyboard
// works the rows as a list does: arrows, Page Up/Down, Home and End move the focus and
// select (Shift extends from the anchor, Ctrl only moves), Space toggles, Ctrl+A selects
// all, Delete deletes and Enter loads. A click on the "Name" header turns between "Sort by
// Name" and file order.
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
  // New settings for a window that is shown again: the file, filter, order and load option
  // chosen before stay.
  void SetOptions(TRecordBrowserOptions options);
  // Lists the data file again and shows the rows.
  void Reload();
  QTableWidget* Table() const { return fTable; }
  // The row with the keyboard focus, -1 for none.
  int FocusRow() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  bool ConfirmDelete(const TText& question) override;
  std::optional<std::string> ChooseCopyDestination() override;
  TReplaceAnswer AskReplace(const TText& question) override;
  void ShowError(const TText& message, const std::string& detail) override;

  void TakeFilter();
  // The filter's fields applied to the rows listed.
  void Filter();
  void ShowRows();
  void ShowSelection();
  void RowClicked(int row);
  // A key on the rows; false when it is not one of the browser's.
  bool RowKey(int key, Qt::KeyboardModifiers modifiers);
  void HeaderClicked(int column);
  void ShowOrder();
  void ChooseFile();

  TRecordBrowser fBrowser;
  QLabel* fFile = nullptr;
  QComboBox* fFilterField = nullptr;
  QLineEdit* fFilterText = nullptr;
  QCheckBox* fMatchCase = nullptr;
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
