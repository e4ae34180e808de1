// "S&end To": the current object's analysis as a spreadsheet or a text document, its
// tracing picture as a presentation. Each send makes a new document in the results folder
// and hands it to the desktop's default application.
#include <QDir>
#include <QMenu>
#include <QMessageBox>

#include <ctime>

#include "app/main_window.h"
#include "graphics/tracing_painter.h"
#include "model/radiograph.h"
#include "population/send_to.h"
#include "shell/settings_options.h"

namespace lumacet {

void TMainWindow::BuildSendToMenu(QMenu* file) {
  QMenu* sendTo = file->addMenu(tr("S&end To"));
  sendTo->setObjectName(QStringLiteral("sendTo"));
  AddCommand(sendTo, "file.send_spreadsheet", &TMainWindow::ActionSendSpreadsheetExecute)
      ->setStatusTip(tr("Put the analysis into a new spreadsheet."));
  AddCommand(sendTo, "file.send_text_document", &TMainWindow::ActionSendTextDocumentExecute)
      ->setStatusTip(tr("Put the analysis into a new text document."));
  AddCommand(sendTo, "file.send_presentation", &TMainWindow::ActionSendPresentationExecute)
      ->setStatusTip(tr("Put the tracing picture into a new presentation."));
}

TDisplayScene TMainWindow::Scene() const {
  TDisplayScene scene;
  for (int i = 0; i < kSlotCount; ++i) scene.Slots.push_back(fWorkspace->Slot(i));
  const int current = fWorkspace->XRayPosition(fWorkspace->Current());
  scene.Current = current < kSlotCount ? current : -1;
  return scene;
}

TDisplayOptions TMainWindow::CurrentDisplayOptions() const {
  fMeasuring.Reference = fWorkspace->Reference();
  fMeasuring.Formats = fWorkspace->Options().Formats;
  return DisplayOptions(fSettings, fMeasuring);
}

TPaintRoutine TMainWindow::TracingPicture() {
  return [this](TCanvas& canvas) {
    TDisplayScene scene = Scene();
    DrawTracingPicture(canvas, scene, CurrentDisplayOptions());
  };
}

void TMainWindow::SetDocumentOpener(TDocumentOpener opener) { fOpener = std::move(opener); }

std::string TMainWindow::NewDocument(const TRadiograph& object, const std::string& extension) const {
  const std::string folder =
      fSettings.General.ResultsPath.empty() ? QDir::homePath().toStdString() : fSettings.General.ResultsPath;
  return NewDocumentPath(folder, object.Name, extension, std::time(nullptr));
}

void TMainWindow::HandOver(const TWriteResult& written, const std::string& path, const QString& failure) {
  if (!written.Ok) {
    QMessageBox::critical(this, QStringLiteral("Lumacet"), failure.arg(Utf8(written.Error)));
    return;
  }
  if (!fOpener(path))
    QMessageBox::information(this, QStringLiteral("Lumacet"),
                             tr("%1 was written, but no application could be started to open it.").arg(Utf8(path)));
}

void TMainWindow::ActionSendSpreadsheetExecute() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr) return;
  const TOleSettings& ole = fSettings.Ole;
  const TSendToOptions options{ole.ExcelVarNames, ole.ExcelNormals, ole.ExcelSkipLabels, ole.ExcelRow, ole.ExcelCol};
  const std::string path = NewDocument(*current, "xlsx");
  HandOver(WriteWorkbook(path, SendToSheet(*current, options, Presentation())), path,
           tr("The spreadsheet could not be written: %1"));
}

void TMainWindow::ActionSendTextDocumentExecute() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr) return;
  const TOleSettings& ole = fSettings.Ole;
  const TSendToOptions options{ole.WordVarNames, ole.WordNormals, ole.WordSkipLabels};
  const std::string path = NewDocument(*current, "odt");
  HandOver(WriteTextDocument(path, SendToParagraphs(*current, options, Presentation())), path,
           tr("The text document could not be written: %1"));
}

void TMainWindow::ActionSendPresentationExecute() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr) return;
  const std::string path = NewDocument(*current, "odp");
  HandOver(WritePresentation(path, kTracingPictureSize, current->Name, TracingPicture()), path,
           tr("The presentation could not be written: %1"));
}

}  // namespace lumacet
