#include "app/population_run.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/qt_prompts.h"
#include "app/record_browser_dialog.h"
#include "population/record_scan.h"

namespace lumacet {

bool ChooseRecords(const TRecordBrowserOptions& options, QWidget* parent, std::string& file,
                   std::vector<int>& records) {
  TOpenXRayDlg browser(options, parent);
  if (browser.exec() != QDialog::Accepted || browser.Browser().SelectedCount() == 0) return false;
  file = browser.Browser().ListedFile();
  records = browser.Browser().SelectedRecords();
  return true;
}

TPopulationDialog::TPopulationDialog(TPopulationContext context, const QString& title, const QString& startCaption,
                                     QWidget* parent)
    : QDialog(parent), fContext(std::move(context)), fStartCaption(startCaption), fLayout(new QVBoxLayout(this)) {
  setWindowTitle(title);
  fStart = new QPushButton(startCaption);
  fStatus = new QLabel;
  fStatus->setFrameShape(QFrame::StyledPanel);
  fStatus->setFrameShadow(QFrame::Sunken);
}

QString TPopulationDialog::StatusText() const { return fStatus->text(); }

QPushButton* TPopulationDialog::AddRecordsChooser(const QString& caption) {
  auto* records = new QGridLayout;
  records->addWidget(new QLabel(caption), 0, 0);
  auto* select = new QPushButton(tr("&Select..."));
  records->addWidget(select, 0, 1);
  fCount = new QLabel;
  records->addWidget(fCount, 1, 0, 1, 2);
  fDataFileField = new QLineEdit;
  fDataFileField->setReadOnly(true);
  records->addWidget(fDataFileField, 2, 0, 1, 2);
  fLayout->addLayout(records);
  connect(select, &QPushButton::clicked, this, [this] {
    std::string file;
    std::vector<int> chosen;
    if (ChooseRecords(fContext.Browser, this, file, chosen)) SetRecords(file, std::move(chosen));
  });
  SetRecords({}, {});
  return select;
}

QComboBox* TPopulationDialog::AddTypeChooser(const QString& caption) {
  QComboBox* types = AddList(caption);
  for (const std::string& name : fContext.Workspace->TypeNames()) types->addItem(QString::fromStdString(name));
  return types;
}

QComboBox* TPopulationDialog::AddList(const QString& caption, QVBoxLayout* layout) {
  auto* label = new QLabel(caption);
  auto* list = new QComboBox;
  label->setBuddy(list);
  (layout != nullptr ? layout : fLayout)->addWidget(label);
  (layout != nullptr ? layout : fLayout)->addWidget(list);
  return list;
}

TPopulationDialog::TFileChooser TPopulationDialog::AddFileChooser(const QString& caption,
                                                                  const QString& buttonCaption) {
  auto* row = new QGridLayout;
  row->addWidget(new QLabel(caption), 0, 0);
  const TFileChooser chooser{new QPushButton(buttonCaption), new QLineEdit};
  row->addWidget(chooser.Button, 0, 1);
  chooser.Field->setReadOnly(true);
  row->addWidget(chooser.Field, 1, 0, 1, 2);
  fLayout->addLayout(row);
  return chooser;
}

TPopulationDialog::TScaleChoice TPopulationDialog::AddScaleChoice(const QString& title, bool lifeSize) {
  const TScaleChoice choice{new QGroupBox(title), new QRadioButton(tr("Life size (LIFE)")),
                            new QRadioButton(tr("Radiograph size (XRAY)"))};
  (lifeSize ? choice.LifeSize : choice.XRaySize)->setChecked(true);
  auto* row = new QHBoxLayout(choice.Box);
  row->addWidget(choice.LifeSize);
  row->addWidget(choice.XRaySize);
  fLayout->addWidget(choice.Box);
  return choice;
}

void TPopulationDialog::AddButtonsAndStatus() {
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(fStart);
  auto* close = new QPushButton(tr("Close"));
  buttons->addWidget(close);
  auto* help = new QPushButton(tr("&Help"));
  help->setObjectName(QStringLiteral("help"));
  connect(help, &QPushButton::clicked, this, [this] { ShowContextHelp(this); });
  buttons->addWidget(help);
  fLayout->addLayout(buttons);
  fLayout->addWidget(fStatus);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

std::string TPopulationDialog::ChooseResultsFile(const QString& title, const QString& filter) {
  // Results are appended: an existing file is what the user wants to add to.
  return QFileDialog::getSaveFileName(this, title, QString::fromStdString(fContext.ResultsFolder),
                                      (filter.isEmpty() ? tr("Text files (*.txt)") : filter) + tr(";;All files (*)"),
                                      nullptr,
                                      QFileDialog::DontConfirmOverwrite)
      .toStdString();
}

std::string TPopulationDialog::ChooseDataFile(const QString& title) {
  QFileDialog dialog(this, title, QString::fromStdString(fContext.Browser.DataFolder),
                     tr("Radiographs (*.csv);;All files (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  // Records are appended: an existing file is what the user wants to add to.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front().toStdString();
}

void TPopulationDialog::SetRecords(const std::string& dataFile, std::vector<int> records) {
  fDataFile = dataFile;
  fRecords = std::move(records);
  fCount->setText(tr("%1 radiographs from file:").arg(fRecords.size()));
  fDataFileField->setText(QString::fromStdString(fDataFile));
}

bool TPopulationDialog::StartRequested() {
  if (!fRunning) return true;
  fStopRequested = true;
  return false;
}

void TPopulationDialog::BeginRun() {
  fRunning = true;
  BeginStage(tr("Cancel"));
  for (QWidget* input : fInputs) input->setEnabled(false);
}

void TPopulationDialog::BeginStage(const QString& stopCaption) {
  fStopRequested = false;
  fStart->setText(stopCaption);
}

void TPopulationDialog::ShowStatus(const std::string& status) {
  fStatus->setText(DisplayText(status));
  emit StatusShown(fStatus->text());
}

bool TPopulationDialog::Poll(const std::string& status) {
  ShowStatus(status);
  QCoreApplication::processEvents();
  return !fStopRequested;
}

void TPopulationDialog::EndRun(bool completed) {
  ShowStatus(completed ? std::string(kCompletedStatus) : std::string());
  fRunning = false;
  fStart->setText(fStartCaption);
  for (QWidget* input : fInputs) input->setEnabled(true);
  if (fCloseAfterRun) {
    fCloseAfterRun = false;
    QDialog::reject();
  }
}

void TPopulationDialog::ShowResult(bool ok, const std::string& message, const std::string& reason) {
  const std::string text = reason.empty() ? message : message + "\r\n\r\n" + reason;
  if (ok) {
    fContext.Prompts->Inform(text);
  } else {
    fContext.Prompts->ShowMessage(text);
  }
}

void TPopulationDialog::reject() {
  if (!fRunning) {
    QDialog::reject();
    return;
  }
  // The run holds this dialog's objects: it ends first, at its next record.
  fStopRequested = true;
  fCloseAfterRun = true;
}

void TPopulationDialog::closeEvent(QCloseEvent* event) {
  if (!fRunning) {
    QDialog::closeEvent(event);
    return;
  }
  event->ignore();
  reject();
}

}  // namespace lumacet
