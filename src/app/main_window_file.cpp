// The File menu: opening, saving and closing radiographs and types, their properties, and the options.
#include "app/main_window.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QToolBar>

#include <filesystem>

#include "app/analysis_window.h"
#include "app/digitize_window.h"
#include "app/drawing_area.h"
#include "app/options_dialog.h"
#include "app/radiograph_dialogs.h"
#include "app/record_browser_dialog.h"
#include "app/slot_list.h"
#include "digitize/digitizing.h"
#include "model/xray.h"
#include "shell/digitizing_input.h"
#include "shell/settings_options.h"

namespace lumacet {

void TMainWindow::BuildFileMenu() {
  QMenu* file = fCommands.AddMenu(*menuBar(), "file");
  AddCommand(file, "file.new", &TMainWindow::ActionNewExecute)->setShortcut(QKeySequence::New);
  AddCommand(file, "file.open", &TMainWindow::ActionOpenExecute)->setShortcut(QKeySequence::Open);
  AddCommand(file, "file.new_type", &TMainWindow::ActionNewTypeExecute);
  AddCommand(file, "file.open_type", &TMainWindow::ActionOpenTypeExecute);
  QMenu* recent = file->addMenu(CommandCaption("file.recent"));
  recent->setObjectName(QStringLiteral("file.recent"));
  connect(recent, &QMenu::aboutToShow, this, [this, recent] { FillRecentMenu(*recent); });
  file->addSeparator();
  AddCommand(file, "file.save", &TMainWindow::ActionSaveExecute)->setShortcut(QKeySequence::Save);
  AddCommand(file, "file.save_into", &TMainWindow::ActionSaveIntoExecute)->setShortcuts(StandardKeys(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
  AddCommand(file, "file.save_all", &TMainWindow::ActionSaveAllExecute)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
  file->addSeparator();
  AddCommand(file, "file.close", &TMainWindow::ActionCloseExecute)
      ->setShortcuts(StandardKeys(QKeySequence::Close, QKeySequence(Qt::CTRL | Qt::Key_W)));
  AddCommand(file, "file.close_all", &TMainWindow::ActionCloseAllExecute);
  file->addSeparator();
  AddCommand(file, "file.duplicate", &TMainWindow::ActionDuplicateExecute);
  AddCommand(file, "file.properties", &TMainWindow::ActionPropertiesExecute);
  BuildSendToMenu(file);
  file->addSeparator();
  AddCommand(file, "file.options", &TMainWindow::ActionOptionsExecute);
  AddCommand(file, "file.save_settings", &TMainWindow::ActionSaveSettingsExecute);
  connect(AddCommand(file, "file.reset_reminders"), &QAction::triggered, this, [this] {
    QMessageBox::information(this, QStringLiteral("Lumacet"), DisplayText(fSettings.ResetReminders()));
    ApplySettings();
  });
  Command("file.reset_reminders")->setEnabled(true);
  file->addSeparator();
  QAction* exit = AddCommand(file, "file.exit");
  exit->setShortcuts(StandardKeys(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
  exit->setMenuRole(QAction::QuitRole);
  // Quit explicitly: a window an automation client never showed ends no program by closing.
  connect(exit, &QAction::triggered, this, [this] {
    if (close()) QCoreApplication::quit();
  });
  Command("file.exit")->setEnabled(true);
}

void TMainWindow::ActionNewExecute() {
  TNewXRayDlg dialog(TNewXRayDlg::TMode::New, RadiographContext(), this);
  dialog.ShowDefaults(fSettings.Radiograph);
  if (dialog.exec() != QDialog::Accepted) return;
  const int slot = dialog.CreateIn(*fWorkspace, fPrompts, fSettings.Radiograph);
  Refresh();
  auto* xray = slot >= 0 ? dynamic_cast<TXRay*>(fWorkspace->Slot(slot)) : nullptr;
  if (xray == nullptr) return;
  AskForImage(*xray);
  if (fSettings.Radiograph.BestFitOnLoading && xray->Image.HasImage()) BestFit();
  if (StartDigitizing(*xray, dmDigitizing) && xray->InputDevice == kInputDigitizer) StartDigitizer();
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
  if (opened > 0) RememberRecentFile(fSettings.General, browser.Browser().ListedFile());
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
  if (!path.isEmpty()) OpenTypeFile(path.toStdString());
}

void TMainWindow::OpenTypeFile(const std::string& path) {
  if (fWorkspace->OpenType(path, fPrompts) >= 0) {
    RememberRecentFile(fSettings.General, path);
    if (fSettings.Radiograph.BestFitOnLoading) BestFit();
  }
  Refresh();
}

void TMainWindow::FillRecentMenu(QMenu& menu) {
  menu.clear();
  int number = 0;
  for (const std::string& path : fSettings.General.RecentFiles) {
    if (path.empty()) continue;
    const QFileInfo file(Utf8(path));
    QAction* entry = menu.addAction(QStringLiteral("&%1 %2").arg(++number).arg(file.fileName()));
    entry->setStatusTip(file.filePath());
    entry->setToolTip(file.filePath());
    if (!file.exists()) {
      entry->setEnabled(false);
      entry->setStatusTip(tr("%1 is no longer there.").arg(file.filePath()));
      continue;
    }
    connect(entry, &QAction::triggered, this, [this, path] {
      if (QFileInfo(Utf8(path)).suffix().compare(QLatin1String("lcr"), Qt::CaseInsensitive) == 0) {
        OpenTypeFile(path);
      } else {
        BrowseRecords(path);
      }
    });
  }
  if (number == 0) menu.addAction(tr("(none)"))->setEnabled(false);
}

void TMainWindow::ActionSaveExecute() {
  if (TRadiograph* current = fWorkspace->Current(); current != nullptr && fWorkspace->Save(*current, fPrompts))
    AdvanceInSeries(*current);
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
  // Each save prompt waits for the user while the objects before it have gone: their
  // Digitize windows must not be used meanwhile.
  for (auto& [radiograph, window] : fDigitizeWindows) window->hide();
  fWorkspace->CloseAll(fPrompts);
  Refresh();
  for (auto& [radiograph, window] : fDigitizeWindows) window->show();
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

void TMainWindow::ActionOptionsExecute() { OpenOptions({}); }

void TMainWindow::OpenOptions(const QString& page) {
  if (!fWorkspace->Permit("Options", fPrompts)) return;
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
  dialog.SetPermission([this](std::string_view action) { return fWorkspace->Permit(action, fPrompts); });
  if (!page.isEmpty()) dialog.ShowPage(page);
  dialog.exec();
}

void TMainWindow::RestorePlace() {
  const std::optional<TIntRect> place = MainWindowRect(fSettings.General.MainWindowRect);
  if (!place) {
    resize(1100, 760);
    return;
  }
  const QRect rect(place->Left, place->Top, place->Right - place->Left, place->Bottom - place->Top);
  // A screen unplugged since leaves the window where the window manager puts it.
  if (QGuiApplication::screenAt(rect.center()) == nullptr) {
    resize(rect.size());
  } else {
    setGeometry(rect);
  }
}

void TMainWindow::RestoreToolBars() {
  for (QToolBar* bar : findChildren<QToolBar*>()) {
    const TToolbarSetting setting = fSettings.View.Toolbar(bar->objectName().toStdString());
    bar->setVisible(setting.Visible);
  }
}

void TMainWindow::KeepPlace() {
  // A window never shown has no place of its own to keep.
  if (!isVisible()) return;
  const QRect rect = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
  if (rect.isValid())
    fSettings.General.MainWindowRect =
        MainWindowRectText({rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()});
  fSettings.General.IconAreaWidth = fSlots->width();
  for (QToolBar* bar : findChildren<QToolBar*>()) {
    TToolbarSetting setting = fSettings.View.Toolbar(bar->objectName().toStdString());
    setting.Visible = !bar->isHidden();
    setting.Floating = bar->isFloating();
    setting.X = bar->x();
    setting.Y = bar->y();
    fSettings.View.SetToolbar(setting);
  }
}

void TMainWindow::WriteSettings() {
  if (const TResult saved = SaveSettingsQuietly(); !saved)
    QMessageBox::critical(this, QStringLiteral("Lumacet"), DisplayText(saved.Text()));
}

void TMainWindow::ActionSaveSettingsExecute() { WriteSettings(); }

}  // namespace lumacet
