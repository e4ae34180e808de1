#include "app/ui/population_run.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include "app/ui/qt_prompts.h"
#include "app/ui/record_browser_dialog.h"

namespace lumacet {

std::unique_ptr<TXRayType> ReadDialogType(const TWorkspace& workspace, const std::string& name) {
  const TFileFolders& folders = workspace.Options().Folders;
  const std::string path = FindTypeFile(folders.TypeFolder, name);
  if (path.empty()) return nullptr;
  auto type = std::make_unique<TXRayType>();
  std::string message;
  if (!type->LoadFromTypeFile(path, message, folders)) return nullptr;
  return type;
}

bool ChooseRecords(const TRecordBrowserOptions& options, QWidget* parent, std::string& file,
                   std::vector<int>& records) {
  TOpenXRayDlg browser(options, parent);
  if (browser.exec() != QDialog::Accepted || browser.Browser().SelectedCount() == 0) return false;
  file = browser.Browser().ListedFile();
  records = browser.Browser().SelectedRecords();
  return true;
}

TPopulationDialog::TPopulationDialog(TPopulationContext context, const QString& startCaption, QWidget* parent)
    : QDialog(parent), fContext(std::move(context)), fStartCaption(startCaption) {
  fStart = new QPushButton(startCaption);
  fStatus = new QLabel;
  fStatus->setFrameShape(QFrame::StyledPanel);
  fStatus->setFrameShadow(QFrame::Sunken);
}

QString TPopulationDialog::StatusText() const { return fStatus->text(); }

bool TPopulationDialog::StartRequested() {
  if (!fRunning) return true;
  fStopRequested = true;
  return false;
}

void TPopulationDialog::BeginRun() {
  fRunning = true;
  fStopRequested = false;
  fStart->setText(tr("Cancel"));
  for (QWidget* input : fInputs) input->setEnabled(false);
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

void TPopulationDialog::EndRun() {
  fRunning = false;
  fStart->setText(fStartCaption);
  for (QWidget* input : fInputs) input->setEnabled(true);
  if (fCloseAfterRun) {
    fCloseAfterRun = false;
    QDialog::reject();
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
