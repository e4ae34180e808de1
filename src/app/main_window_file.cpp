// The File menu: opening, saving and closing radiographs and types, their properties, and the options.
#include "app/main_window.h"

#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include <filesystem>

#include "app/analysis_window.h"
#include "app/drawing_area.h"
#include "app/options_dialog.h"
#include "app/radiograph_dialogs.h"
#include "app/record_browser_dialog.h"

namespace lumacet {

void TMainWindow::BuildFileMenu() {
  QMenu* file = fCommands.AddMenu(*menuBar(), "file");
  AddCommand(file, "file.new", &TMainWindow::ActionNewExecute)->setShortcut(QKeySequence::New);
  AddCommand(file, "file.open", &TMainWindow::ActionOpenExecute)->setShortcut(QKeySequence::Open);
  AddCommand(file, "file.new_type", &TMainWindow::ActionNewTypeExecute);
  AddCommand(file, "file.open_type", &TMainWindow::ActionOpenTypeExecute);
  file->addSeparator();
  AddCommand(file, "file.save", &TMainWindow::ActionSaveExecute)->setShortcut(QKeySequence::Save);
  AddCommand(file, "file.save_into", &TMainWindow::ActionSaveIntoExecute);
  AddCommand(file, "file.save_all", &TMainWindow::ActionSaveAllExecute);
  file->addSeparator();
  AddCommand(file, "file.close", &TMainWindow::ActionCloseExecute);
  AddCommand(file, "file.close_all", &TMainWindow::ActionCloseAllExecute);
  file->addSeparator();
  AddCommand(file, "file.duplicate", &TMainWindow::ActionDuplicateExecute);
  AddCommand(file, "file.properties", &TMainWindow::ActionPropertiesExecute);
  file->addSeparator();
  AddCommand(file, "file.options", &TMainWindow::ActionOptionsExecute);
  AddCommand(file, "file.save_settings", &TMainWindow::ActionSaveSettingsExecute);
  connect(AddCommand(file, "file.reset_reminders"), &QAction::triggered, this, [this] {
    QMessageBox::information(this, QStringLiteral("Lumacet"), DisplayText(fSettings.ResetReminders()));
    ApplySettings();
  });
  Command("file.reset_reminders")->setEnabled(true);
  file->addSeparator();
  connect(AddCommand(file, "file.exit"), &QAction::triggered, this, &QWidget::close);
  Command("file.exit")->setEnabled(true);
}

void TMainWindow::ActionNewExecute() {
  TNewXRayDlg dialog(TNewXRayDlg::TMode::New, RadiographContext(), this);
  dialog.ShowDefaults(fSettings.Radiograph);
  if (dialog.exec() == QDialog::Accepted) dialog.CreateIn(*fWorkspace, fPrompts, fSettings.Radiograph);
  Refresh();
}

void TMainWindow::ActionOpenExecute() { BrowseRecords(); }

void TMainWindow::BrowseRecords(const std::string& file) {
  if (fRecordBrowser == nullptr) {
    fRecordBrowser = new TOpenXRayDlg(BrowserOptions(), this);
  } else {
    // The settings may have changed, and records come and gone, since the last showing.
    fRecordBrowser->SetOptions(BrowserOptions());
    if (file.empty()) fRecordBrowser->Reload();
  }
  TOpenXRayDlg& browser = *fRecordBrowser;
  if (!file.empty()) {
    browser.Browser().SetDataFile(file);
    browser.Reload();
  }
  if (browser.exec() != QDialog::Accepted || browser.Browser().SelectedCount() == 0) return;
  const int opened =
      fWorkspace->OpenRecords(browser.Browser().ListedFile(), browser.Browser().SelectedRecords(), false, fPrompts,
                              browser.Browser().LoadImage);
  // The search for a missing image may have chosen a new default image folder.
  fSettings.General.BmpPath = fWorkspace->Options().Images.DefaultFolder;
  if (opened > 0 && fSettings.Radiograph.BestFitOnLoading) BestFit();
  Refresh();
}

void TMainWindow::ActionNewTypeExecute() {
  QFileDialog dialog(this, tr("New Type"), Utf8(fSettings.General.LcrPath), tr("Radiograph Types (*.lcr)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("lcr"));
  // The workspace asks its own question before erasing a file.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  fWorkspace->NewType(dialog.selectedFiles().front().toStdString(), fPrompts);
  Refresh();
}

void TMainWindow::ActionOpenTypeExecute() {
  const QString path = QFileDialog::getOpenFileName(this, tr("Open Type"), Utf8(fSettings.General.LcrPath),
                                                    tr("Radiograph Types (*.lcr);;All files (*)"));
  if (path.isEmpty()) return;
  if (fWorkspace->OpenType(path.toStdString(), fPrompts) >= 0 && fSettings.Radiograph.BestFitOnLoading) BestFit();
  Refresh();
}

void TMainWindow::ActionSaveExecute() {
  if (TRadiograph* current = fWorkspace->Current()) fWorkspace->Save(*current, fPrompts);
  Refresh();
}

void TMainWindow::ActionSaveIntoExecute() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr) return;
  const bool type = current->IsType();
  QFileDialog dialog(this, tr("Save Into"),
                     Utf8(std::filesystem::path(fWorkspace->ResolveDataFile(current->DataFile)).parent_path().string()),
                     type ? tr("Radiograph Types (*.lcr);;All files (*)") : tr("Radiographs (*.csv);;All files (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(type ? QStringLiteral("lcr") : QStringLiteral("csv"));
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  fWorkspace->SaveInto(*current, dialog.selectedFiles().front().toStdString(), fPrompts);
  Refresh();
}

void TMainWindow::ActionSaveAllExecute() {
  fWorkspace->SaveAll(fPrompts);
  Refresh();
}

void TMainWindow::ActionCloseExecute() {
  if (!fWorkspace->CloseCurrent(fPrompts)) return;  // the save prompt's Cancel keeps the tracing and the tool
  Command("tools.none")->setChecked(true);
  fDrawing->SetTool(TToolMode::None);
  Refresh();
}

void TMainWindow::ActionCloseAllExecute() {
  fWorkspace->CloseAll(fPrompts);
  Refresh();
}

void TMainWindow::ActionDuplicateExecute() {
  if (fWorkspace->Duplicate() < 0) return;
  Refresh();
  ActionPropertiesExecute();
}

void TMainWindow::ActionPropertiesExecute() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr) return;
  const bool changed = current->IsType()
                           ? EditTypeProperties(static_cast<TXRayType&>(*current), fPrompts, this)
                           : EditRadiographProperties(static_cast<TXRay&>(*current), RadiographContext(), this);
  if (changed) Refresh();
}

TRadiographDialogContext TMainWindow::RadiographContext() {
  TRadiographDialogContext context;
  context.Prompts = &fPrompts;
  context.Formats = fWorkspace->Options().Formats;
  context.TypeNames = fWorkspace->TypeNames();
  context.DataFolder = fSettings.General.CsvPath;
  context.TypeFolder = fSettings.General.LcrPath;
  return context;
}

void TMainWindow::ActionOptionsExecute() {
  // An open Detailed Analysis window takes a new text layout from Options, and keeps its own
  // unsaved one otherwise.
  TAnalysisLayout layout = AnalysisLayout(fSettings.Radiograph);
  TLCOptions dialog(fSettings, fPrompts, fWorkspace->Options().Formats, fWorkspace->TypeNames(), [this, &layout] {
    if (fAnalysisWindow != nullptr && AnalysisLayout(fSettings.Radiograph) != layout) {
      layout = AnalysisLayout(fSettings.Radiograph);
      fAnalysisWindow->SetLayout(layout);
    }
    ApplySettings();
  }, this);
  dialog.exec();
}

void TMainWindow::WriteSettings() {
  fSettings.General.Remind[1] = fWorkspace->Options().RemindImageNotSaved;
  const TSettingsSaveResult result = fSettings.Save(fSettingsPath);
  if (!result.Ok) QMessageBox::critical(this, QStringLiteral("Lumacet"), DisplayText(result.Message));
}

void TMainWindow::ActionSaveSettingsExecute() { WriteSettings(); }

}  // namespace lumacet
