// The View menu: zoom and fit, the analysis shown, and the analysis results.
#include "app/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include <algorithm>

#include "app/analysis_window.h"
#include "app/drawing_area.h"
#include "app/magnification_dialog.h"

namespace lumacet {

namespace {

// The analysis modes in the order of their numbers.
const char* const kAnalysisModeCommands[] = {"view.current_only", "view.comparative", "view.all"};

}  // namespace

void TMainWindow::BuildViewMenu() {
  QMenu* view = fCommands.AddMenu(*menuBar(), "view");
  AddCommand(view, "view.zoom_in", &TMainWindow::ActionZoomInExecute)->setShortcut(QKeySequence::ZoomIn);
  AddCommand(view, "view.zoom_out", &TMainWindow::ActionZoomOutExecute)->setShortcut(QKeySequence::ZoomOut);
  AddCommand(view, "view.best_fit", &TMainWindow::BestFit)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  AddCommand(view, "view.fit_all", &TMainWindow::ActionFitAllExecute);
  view->addSeparator();
  QAction* grid = AddCommand(view, "view.grid");
  grid->setEnabled(true);
  grid->setCheckable(true);
  grid->setChecked(fSettings.View.ViewGrid);
  connect(grid, &QAction::toggled, this, [this](bool on) { fSettings.View.ViewGrid = on; Refresh(); });
  QAction* analysis = AddCommand(view, "view.analysis");
  analysis->setEnabled(true);
  analysis->setCheckable(true);
  analysis->setChecked(fSettings.General.AnalysisOn);
  connect(analysis, &QAction::toggled, this, [this](bool on) { fSettings.General.AnalysisOn = on; Refresh(); });
  auto* modes = new QActionGroup(this);
  for (int mode = 0; mode < 3; ++mode) {
    QAction* action = AddCommand(view, kAnalysisModeCommands[mode]);
    action->setEnabled(true);
    action->setCheckable(true);
    action->setChecked(fSettings.General.AnalysisMode == mode);
    modes->addAction(action);
    connect(action, &QAction::triggered, this, [this, mode] { fSettings.General.AnalysisMode = mode; Refresh(); });
  }
  view->addSeparator();
  AddCommand(view, "view.detailed_analysis", &TMainWindow::ActionDetailedAnalysisExecute);
  AddCommand(view, "view.copy_results", &TMainWindow::ActionCopyResultsExecute);
  AddCommand(view, "view.save_results", &TMainWindow::ActionSaveResultsExecute);
  view->addSeparator();
  AddCommand(view, "view.movements", &TMainWindow::ActionMovementWindowExecute);
}

void TMainWindow::ShowViewSettings() {
  Command("view.grid")->setChecked(fSettings.View.ViewGrid);
  Command("view.analysis")->setChecked(fSettings.General.AnalysisOn);
  Command(kAnalysisModeCommands[std::clamp(fSettings.General.AnalysisMode, 0, 2)])->setChecked(true);
}

void TMainWindow::ActionZoomInExecute() {
  fDrawing->Mapping().ZoomIn();
  fDrawing->MappingChanged();
}

void TMainWindow::ActionZoomOutExecute() {
  fDrawing->Mapping().ZoomOut();
  fDrawing->MappingChanged();
}

void TMainWindow::BestFit() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr) return;
  fDrawing->Mapping().BestFit(current->TracingBounds());
  fDrawing->MappingChanged();
}

void TMainWindow::ActionFitAllExecute() {
  fDrawing->Mapping().FitAll();
  fDrawing->MappingChanged();
}

void TMainWindow::ActionDetailedAnalysisExecute() {
  if (fAnalysisWindow == nullptr) {
    fAnalysisWindow = new TAnalysisWindow(
        [this]() -> TRadiograph* {
          TRadiograph* current = fWorkspace->Current();
          return current != nullptr && !current->IsType() ? current : nullptr;
        },
        Presentation(), AnalysisLayout(fSettings.Radiograph), this);
    connect(fAnalysisWindow, &TAnalysisWindow::LayoutSaved, this,
            [this](const TAnalysisLayout& layout) { StoreAnalysisLayout(layout, fSettings.Radiograph); });
  }
  fAnalysisWindow->Update();
  fAnalysisWindow->show();
  fAnalysisWindow->raise();
}

void TMainWindow::ActionCopyResultsExecute() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr || current->IsType()) return;
  QApplication::clipboard()->setText(Utf8(ResultsText(*current, Presentation())));
}

void TMainWindow::ActionSaveResultsExecute() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr || current->IsType()) return;
  QFileDialog dialog(this, tr("Save Results"), Utf8(fSettings.General.ResultsPath),
                     tr("Text files (*.txt);;All files (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const TWriteResult result = WriteResults(dialog.selectedFiles().front().toStdString(), *current, Presentation());
  if (result.Ok) return;
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Lumacet"), DisplayText(kResultsFileError), QMessageBox::Ok,
                  this);
  box.setDetailedText(Utf8(result.Error));
  box.exec();
}

void TMainWindow::MagnificationMeasured(double lengthUnits) {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr || current->IsType()) return;
  TMagnificationDlg dialog(lengthUnits / kUnitsPerMillimetre, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::optional<double> magnification = dialog.Magnification();
  if (!magnification || !current->SetMagnification(*magnification)) return;
  current->RecordChange(true, "Changed Properties.");
  Refresh();
}

}  // namespace lumacet
