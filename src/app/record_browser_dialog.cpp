#include "app/record_browser_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <string>

#include "app/qt_prompts.h"

namespace lumacet {

namespace {

constexpr int kNameColumn = 1;
constexpr int kImageColumn = 5;

}  // namespace

TOpenXRayDlg::TOpenXRayDlg(TRecordBrowserOptions options, QWidget* parent)
    : QDialog(parent), fBrowser(std::move(options)) {
  setWindowTitle(tr("File: %1").arg(QString()));
  resize(760, 480);
  auto* layout = new QVBoxLayout(this);

  auto* fileRow = new QHBoxLayout;
  fFile = new QLabel;
  auto* browse = new QPushButton(tr("&Open..."));
  fileRow->addWidget(fFile, 1);
  fileRow->addWidget(browse);
  layout->addLayout(fileRow);

  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(new QLabel(tr("Show only those containing:")));
  fFilterText = new QLineEdit;
  filterRow->addWidget(fFilterText, 1);
  fFilterField = new QComboBox;
  fFilterField->addItems({tr("Name"), tr("Date"), tr("Type"), tr("Comments")});
  filterRow->addWidget(fFilterField);
  fMatchCase = new QCheckBox(tr("&Match case"));
  filterRow->addWidget(fMatchCase);
  fSorted = new QCheckBox(tr("Sort by &Name"));
  fSorted->setChecked(true);
  filterRow->addWidget(fSorted);
  layout->addLayout(filterRow);

  fTable = new QTableWidget(0, 6);
  fTable->setHorizontalHeaderLabels({tr("#"), tr("Name"), tr("Date"), tr("Type"), tr("Comments"), tr("Image")});
  fTable->horizontalHeader()->setStretchLastSection(true);
  fTable->horizontalHeader()->setMinimumSectionSize(1);
  fTable->horizontalHeader()->setSortIndicatorShown(true);
  fTable->setColumnWidth(0, 1);  // the record number is there for the program, not to be read
  fTable->setColumnWidth(kNameColumn, 180);
  fTable->installEventFilter(this);
  fTable->verticalHeader()->hide();
  fTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The browser keeps the selection; the table only shows it.
  fTable->setSelectionMode(QAbstractItemView::NoSelection);
  layout->addWidget(fTable, 1);

  auto* statusRow = new QHBoxLayout;
  fStatus = new QLabel;
  fSelected = new QLabel;
  statusRow->addWidget(fStatus);
  statusRow->addStretch();
  statusRow->addWidget(fSelected);
  layout->addLayout(statusRow);

  auto* buttons = new QHBoxLayout;
  fLoadImage = new QCheckBox(tr("&Load Image with tracing"));
  fLoadImage->setChecked(fBrowser.LoadImage);
  buttons->addWidget(fLoadImage);
  auto* all = new QPushButton(tr("Select &All"));
  auto* none = new QPushButton(tr("Select &None"));
  auto* inverse = new QPushButton(tr("Select &Inverse"));
  fExpand = new QPushButton(tr("&Expand Selection"));
  fDelete = new QPushButton(tr("&Delete..."));
  fCopy = new QPushButton(tr("&Copy to..."));
  fLoad = new QPushButton(tr("&Load and Exit"));
  auto* cancel = new QPushButton(tr("E&xit"));
  for (QPushButton* b : {all, none, inverse, fExpand, fDelete, fCopy, fLoad, cancel}) buttons->addWidget(b);
  layout->addLayout(buttons);

  connect(browse, &QPushButton::clicked, this, &TOpenXRayDlg::ChooseFile);
  // The filter works on the records read: typing neither reads the file again nor moves
  // the keyboard focus away from the field.
  connect(fFilterText, &QLineEdit::textChanged, this, &TOpenXRayDlg::Filter);
  connect(fFilterField, &QComboBox::currentIndexChanged, this, &TOpenXRayDlg::Filter);
  connect(fMatchCase, &QCheckBox::toggled, this, &TOpenXRayDlg::Filter);
  connect(fSorted, &QCheckBox::toggled, this, [this] { Reload(); });
  connect(fLoadImage, &QCheckBox::toggled, this, [this](bool on) {
    fBrowser.LoadImage = on;
    fTable->setColumnHidden(kImageColumn, !on);  // the header keeps its width for later
  });
  fTable->setColumnHidden(kImageColumn, !fBrowser.LoadImage);
  connect(fTable->horizontalHeader(), &QHeaderView::sectionClicked, this, &TOpenXRayDlg::HeaderClicked);
  connect(fTable, &QTableWidget::cellClicked, this, [this](int row, int) { RowClicked(row); });
  connect(fTable, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    if (!fBrowser.IsSelected(static_cast<size_t>(row))) fBrowser.Click(static_cast<size_t>(row));
    accept();
  });
  connect(all, &QPushButton::clicked, this, [this] { fBrowser.SelectAll(); ShowSelection(); });
  connect(none, &QPushButton::clicked, this, [this] { fBrowser.SelectNone(); ShowSelection(); });
  connect(inverse, &QPushButton::clicked, this, [this] { fBrowser.SelectInverse(); ShowSelection(); });
  connect(fExpand, &QPushButton::clicked, this, [this] { fBrowser.ExpandSelection(); ShowSelection(); });
  connect(fDelete, &QPushButton::clicked, this, [this] { if (fBrowser.Delete(*this)) ShowRows(); });
  connect(fCopy, &QPushButton::clicked, this, [this] { fBrowser.CopyTo(*this); });
  connect(fLoad, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  Reload();
}

void TOpenXRayDlg::TakeFilter() {
  fBrowser.FilterText = fFilterText->text().toStdString();
  fBrowser.FilterField = static_cast<TFilterField>(fFilterField->currentIndex());
  fBrowser.MatchCase = fMatchCase->isChecked();
}

void TOpenXRayDlg::Filter() {
  TakeFilter();
  fBrowser.Filter();
  ShowRows();
}

void TOpenXRayDlg::Reload() {
  TakeFilter();
  fBrowser.Order = fSorted->isChecked() ? TRecordOrder::SortByName : TRecordOrder::NoSort;
  fBrowser.LoadGrid();
  ShowOrder();
  ShowRows();
  if (fTable->rowCount() > 0) fTable->setFocus();
}

void TOpenXRayDlg::SetOptions(TRecordBrowserOptions options) {
  TRecordBrowser browser(std::move(options));
  if (!fBrowser.DataFile().empty()) browser.SetDataFile(fBrowser.DataFile());
  browser.LoadImage = fBrowser.LoadImage;
  fBrowser = std::move(browser);
}

void TOpenXRayDlg::hideEvent(QHideEvent* event) {
  // A window shown again opens where the user left it, not centred anew over its parent.
  move(pos());
  QDialog::hideEvent(event);
}

void TOpenXRayDlg::ShowRows() {
  fFile->setText(Utf8(fBrowser.ListedFile()));
  setWindowTitle(tr("File: %1").arg(Utf8(fBrowser.ListedFile())));
  const auto& rows = fBrowser.Rows();
  fTable->setRowCount(static_cast<int>(rows.size()));
  for (size_t i = 0; i < rows.size(); ++i) {
    const TRecordRow& r = rows[i];
    const std::string number = std::to_string(r.Record);
    const std::string* columns[] = {&number, &r.Name, &r.Date, &r.Type, &r.Comments, &r.Image};
    for (int c = 0; c < 6; ++c) fTable->setItem(static_cast<int>(i), c, new QTableWidgetItem(Utf8(*columns[c])));
  }
  fStatus->setText(DisplayText(fBrowser.ListStatus()));
  fTable->setEnabled(!rows.empty());
  ShowSelection();
}

void TOpenXRayDlg::ShowSelection() {
  const QColor selected = palette().color(QPalette::Highlight);
  const QColor selectedText = palette().color(QPalette::HighlightedText);
  for (int row = 0; row < fTable->rowCount(); ++row) {
    const bool on = fBrowser.IsSelected(static_cast<size_t>(row));
    for (int c = 0; c < fTable->columnCount(); ++c) {
      QTableWidgetItem* item = fTable->item(row, c);
      item->setBackground(on ? selected : palette().color(QPalette::Base));
      item->setForeground(on ? selectedText : palette().color(QPalette::Text));
    }
  }
  fSelected->setText(DisplayText(fBrowser.SelectedStatus()));
  const bool enabled = fBrowser.CommandsEnabled();
  for (QPushButton* b : {fLoad, fDelete, fCopy, fExpand}) b->setEnabled(enabled);
}

void TOpenXRayDlg::RowClicked(int row) {
  const auto index = static_cast<size_t>(row);
  const Qt::KeyboardModifiers modifiers = QApplication::keyboardModifiers();
  if (modifiers & Qt::ShiftModifier) {
    fBrowser.ShiftClick(index, (modifiers & Qt::ControlModifier) != 0);
  } else if (modifiers & Qt::ControlModifier) {
    fBrowser.CtrlClick(index);
  } else {
    fBrowser.Click(index);
  }
  ShowSelection();
}

int TOpenXRayDlg::FocusRow() const { return fTable->currentRow(); }

bool TOpenXRayDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == fTable && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (RowKey(key->key(), key->modifiers())) return true;
  }
  return QDialog::eventFilter(watched, event);
}

bool TOpenXRayDlg::RowKey(int key, Qt::KeyboardModifiers modifiers) {
  const bool ctrl = (modifiers & Qt::ControlModifier) != 0;
  const bool shift = (modifiers & Qt::ShiftModifier) != 0;
  const int focus = FocusRow();
  const int rows = fTable->rowCount();
  switch (key) {
    case Qt::Key_A:
      if (!ctrl) return false;
      fBrowser.SelectAll();
      ShowSelection();
      return true;
    case Qt::Key_Space:
      if (focus >= 0) fBrowser.ToggleRow(static_cast<size_t>(focus));
      ShowSelection();
      return true;
    case Qt::Key_Delete:
      if (fDelete->isEnabled()) fDelete->click();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (fLoad->isEnabled()) accept();
      return true;
    default:
      break;
  }
  const int rowHeight = std::max(1, fTable->verticalHeader()->defaultSectionSize());
  const int page = std::max(1, fTable->viewport()->height() / rowHeight - 1);
  int target = 0;
  switch (key) {
    case Qt::Key_Up: target = focus - 1; break;
    case Qt::Key_Down: target = focus + 1; break;
    case Qt::Key_PageUp: target = focus - page; break;
    case Qt::Key_PageDown: target = focus + page; break;
    case Qt::Key_Home: target = 0; break;
    case Qt::Key_End: target = rows - 1; break;
    default: return false;
  }
  if (rows == 0) return true;
  target = std::clamp(target, 0, rows - 1);
  fTable->setCurrentCell(target, kNameColumn);
  const auto index = static_cast<size_t>(target);
  if (shift) {
    fBrowser.ShiftClick(index, ctrl);
  } else if (!ctrl) {
    fBrowser.Click(index);
  }
  ShowSelection();
  return true;
}

void TOpenXRayDlg::HeaderClicked(int column) {
  // The listing knows two orders: by name, and the file's own.
  if (column == kNameColumn) {
    fSorted->setChecked(!fSorted->isChecked());
  } else {
    ShowOrder();  // the header moved its indicator to the clicked column
  }
}

void TOpenXRayDlg::ShowOrder() {
  fTable->horizontalHeader()->setSortIndicator(fBrowser.Order == TRecordOrder::SortByName ? kNameColumn : -1,
                                               Qt::AscendingOrder);
}

void TOpenXRayDlg::ChooseFile() {
  const QString start = Utf8(std::filesystem::path(fBrowser.ListedFile()).parent_path().string());
  const QString path = QFileDialog::getOpenFileName(this, tr("Open"), start,
                                                    tr("Radiographs (*.csv);;All files (*)"));
  if (path.isEmpty()) return;
  fBrowser.SetDataFile(path.toStdString());
  Reload();
}

bool TOpenXRayDlg::ConfirmDelete(const TText& question) {
  return QMessageBox::question(this, tr("Delete"), DisplayText(question), QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> TOpenXRayDlg::ChooseCopyDestination() {
  QFileDialog dialog(this, tr("Select the destination file"), {}, tr("Radiographs (*.csv);;All files (*)"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setLabelText(QFileDialog::Accept, tr("C&opy"));
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

TReplaceAnswer TOpenXRayDlg::AskReplace(const TText& question) {
  switch (QMessageBox::question(this, tr("Copy"), DisplayText(question),
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Abort | QMessageBox::NoToAll |
                                    QMessageBox::YesToAll,
                                QMessageBox::No)) {
    case QMessageBox::Yes:
      return TReplaceAnswer::Yes;
    case QMessageBox::YesToAll:
      return TReplaceAnswer::YesToAll;
    case QMessageBox::NoToAll:
      return TReplaceAnswer::NoToAll;
    case QMessageBox::Abort:
      return TReplaceAnswer::Abort;
    default:
      return TReplaceAnswer::No;
  }
}

void TOpenXRayDlg::ShowError(const TText& message, const std::string& detail) {
  QMessageBox box(QMessageBox::Critical, tr("Lumacet"), DisplayText(message), QMessageBox::Ok, this);
  if (!detail.empty()) box.setDetailedText(DisplayText(detail));
  box.exec();
}

}  // namespace lumacet
