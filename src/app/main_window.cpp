#include "app/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include <filesystem>

#include "app/acquire_dialog.h"
#include "app/analysis_window.h"
#include "app/convert_type_dialog.h"
#include "app/drawing_area.h"
#include "app/export_dialog.h"
#include "app/image_commands_ui.h"
#include "app/magnification_dialog.h"
#include "app/options_dialog.h"
#include "app/pca_viewer.h"
#include "app/pcas_dialog.h"
#include "app/procrustes_dialog.h"
#include "app/radiograph_dialogs.h"
#include "app/record_browser_dialog.h"
#include "app/zoom_box.h"
#include "app/slot_list.h"
#include "platform/qpainter_canvas.h"
#include "shell/settings_options.h"

namespace lumacet {

namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

TWorkspaceOptions WorkspaceOptions(const TSettings& settings) {
  TWorkspaceOptions options;
  options.Folders = {settings.General.BmpPath, settings.General.LcrPath};
  options.DataFolder = settings.General.CsvPath;
  options.Data.ImageFolder = settings.General.BmpPath;
  options.Data.ShowLifeSize = settings.Radiograph.ShowLifeSize;
  options.Data.Dates.Compatibility = settings.General.Compatibility;
  options.Formats.RadiographTitle = settings.Radiograph.Title;
  options.Formats.AgeFormat = settings.Radiograph.AgeFormat;
  options.SortOnLoading = settings.Radiograph.SortFitOnLoading;
  options.Images = ImageLoadSettings(settings);
  options.RemindImageNotSaved = settings.General.Remind[1];
  return options;
}

// The type editors, one per element kind.
const char* const kEditorCommands[] = {
    "type.digitized_points", "type.snakes",           "type.derived_points", "type.areas",
    "type.drawings",         "type.variables",        "type.analyses",       "type.superimpositions",
    "type.orientations",     "type.protocols",        "type.vto_relationships", "type.views",
    "type.shape_analyses"};

// The mouse tools in the order of their modes.
const char* const kToolCommands[] = {"tools.none",          "tools.select_move",   "tools.zoom",
                                     "tools.translate",     "tools.rotate",        "tools.rotation_center",
                                     "tools.ruler",         "tools.protractor",    "tools.digitizer",
                                     "tools.image_translate", "tools.magnification", "tools.page_translate"};

// The analysis modes in the order of their numbers.
const char* const kAnalysisModeCommands[] = {"view.current_only", "view.comparative", "view.all"};

}  // namespace

TMainWindow::TMainWindow(TSettings settings, std::string settingsPath, QWidget* parent)
    : QMainWindow(parent),
      fSettings(std::move(settings)),
      fSettingsPath(std::move(settingsPath)),
      fWorkspace(std::make_unique<TWorkspace>(WorkspaceOptions(fSettings))),
      fPrompts(this, *fWorkspace) {
  setWindowTitle(QStringLiteral("Lumacet"));
  resize(1100, 760);

  fSlots = new TSlotList;
  fSlots->setContextMenuPolicy(Qt::CustomContextMenu);
  fSlots->setMaximumWidth(std::max(fSettings.General.IconAreaWidth, 160));
  connect(fSlots, &QListWidget::itemClicked, this, &TMainWindow::SlotClicked);
  connect(fSlots, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    if (fRefreshing) return;
    if (TRadiograph* object = fWorkspace->Slot(fSlots->row(item))) {
      object->Visible = item->checkState() == Qt::Checked;
      Refresh();
    }
  });
  connect(fSlots, &QListWidget::customContextMenuRequested, this, &TMainWindow::SlotMenu);
  connect(fSlots, &TSlotList::MoveRequested, this, [this](int from, int target) {
    if (fWorkspace->MoveToPosition(from, target)) Refresh();
  });
  connect(fSlots, &TSlotList::FilesDropped, this, &TMainWindow::FilesDropped);

  fDrawing = new TDrawingArea(
      [this] {
        TDisplayScene scene;
        for (int i = 0; i < kSlotCount; ++i) scene.Slots.push_back(fWorkspace->Slot(i));
        const int current = fWorkspace->XRayPosition(fWorkspace->Current());
        scene.Current = current < kSlotCount ? current : -1;
        scene.Images = ImageLayer(scene.Slots, scene.Current, fImageCommands->Blend());
        return scene;
      },
      [this] {
        TMeasureContext measure;
        measure.Reference = fWorkspace->Reference();
        measure.Formats = fWorkspace->Options().Formats;
        measure.Pca = &fPcaMeasurer;
        return DisplayOptions(fSettings, measure);
      });

  auto* splitter = new QSplitter;
  splitter->addWidget(fSlots);
  splitter->addWidget(fDrawing);
  splitter->setStretchFactor(1, 1);
  setCentralWidget(splitter);
  BuildMenus();
  statusBar();
  connect(fDrawing, &TDrawingArea::StatusChanged, statusBar(), [this](const QString& text) {
    statusBar()->showMessage(text);
  });
  connect(fDrawing, &TDrawingArea::MagnificationMeasured, this, &TMainWindow::MagnificationMeasured);
  Refresh();
}

TMainWindow::~TMainWindow() = default;

QAction* TMainWindow::AddCommand(QWidget* container, std::string_view id, void (TMainWindow::*handler)()) {
  return fCommands.Add(*container, id, this, handler);
}

QAction* TMainWindow::Command(std::string_view id) const { return fCommands.Find(id); }

void TMainWindow::BuildMenus() {
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

  QMenu* type = fCommands.AddMenu(*menuBar(), "type");
  AddCommand(type, "type.browser");
  type->addSeparator();
  for (const char* id : kEditorCommands) AddCommand(type, id);
  connect(Command("type.shape_analyses"), &QAction::triggered, this, &TMainWindow::ActionPcasExecute);

  QMenu* tracing = fCommands.AddMenu(*menuBar(), "tracing");
  AddCommand(tracing, "tracing.get_coordinates", &TMainWindow::ActionGetCoordinatesExecute);
  AddCommand(tracing, "tracing.digitize");
  tracing->addSeparator();
  AddCommand(tracing, "tracing.set_reference", &TMainWindow::ActionSetReferenceExecute)->setCheckable(true);
  AddCommand(tracing, "tracing.set_morph_source", &TMainWindow::ActionSetMorphSourceExecute)->setCheckable(true);
  AddCommand(tracing, "tracing.sort", &TMainWindow::ActionSortExecute);

  fImageCommands = new TImageCommands(*this, *fWorkspace, fSettings, [this] { Refresh(); });
  fImageCommands->AddMenus(*menuBar());
  connect(fImageCommands->Command("image.acquire"), &QAction::triggered, this, [this] {
    if (TRadiograph* current = fWorkspace->Current(); current != nullptr && AcquireImage(this, *current, fSettings))
      Refresh();
  });

  QMenu* view = fCommands.AddMenu(*menuBar(), "view");
  AddCommand(view, "view.zoom_in", &TMainWindow::ActionZoomInExecute)->setShortcut(QKeySequence::ZoomIn);
  AddCommand(view, "view.zoom_out", &TMainWindow::ActionZoomOutExecute)->setShortcut(QKeySequence::ZoomOut);
  AddCommand(view, "view.best_fit", &TMainWindow::BestFit);
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

  QMenu* tools = fCommands.AddMenu(*menuBar(), "tools");
  auto* toolGroup = new QActionGroup(this);
  for (int mode = 0; mode < 12; ++mode) {
    QAction* action = AddCommand(tools, kToolCommands[mode]);
    action->setCheckable(true);
    toolGroup->addAction(action);
    const auto tool = static_cast<TToolMode>(mode);
    if (tool == TToolMode::None || tool == TToolMode::Zoom || tool == TToolMode::Ruler ||
        tool == TToolMode::Protractor || tool == TToolMode::Magnification) {
      action->setEnabled(true);
      connect(action, &QAction::triggered, this, [this, tool] { fDrawing->SetTool(tool); });
    }
  }
  Command("tools.none")->setChecked(true);
  tools->addSeparator();
  AddCommand(tools, "tools.procrustes", &TMainWindow::ActionProcrustesExecute);
  AddCommand(tools, "tools.pcas", &TMainWindow::ActionPcasExecute);
  AddCommand(tools, "tools.pca_viewer", &TMainWindow::ActionPcaViewerExecute);
  tools->addSeparator();
  AddCommand(tools, "tools.export", &TMainWindow::ActionExportExecute)
      ->setStatusTip(tr("Analyze radiographs from a file and export the results."));
  AddCommand(tools, "tools.convert_type", &TMainWindow::ActionConvertTypeExecute)
      ->setStatusTip(tr("Convert from one radiograph type to another."));

  QMenu* help = fCommands.AddMenu(*menuBar(), "help");
  connect(AddCommand(help, "help.about"), &QAction::triggered, this, [this] {
    QMessageBox::about(this, tr("About"), QStringLiteral("Lumacet"));
  });
  Command("help.about")->setEnabled(true);

  QToolBar* bar = addToolBar(tr("Standard"));
  insertToolBarBreak(bar);  // below the image blending bar: together they overflow narrow windows
  for (const char* id : {"file.open", "file.save", "file.close", "view.zoom_in", "view.zoom_out", "view.best_fit",
                         "view.fit_all", "view.detailed_analysis"})
    bar->addAction(Command(id));
  auto* zoomBox = new TZoomBox;
  bar->addWidget(zoomBox);
  connect(fDrawing, &TDrawingArea::ZoomChanged, zoomBox, &TZoomBox::ShowZoom);
  connect(zoomBox, &TZoomBox::EntryChosen, this, [this](const QString& entry) {
    TIntRect bounds;
    if (TRadiograph* current = fWorkspace->Current()) bounds = current->TracingBounds();
    fDrawing->Mapping().ChooseZoomBoxEntry(entry.toStdString(), bounds);
    fDrawing->MappingChanged();
  });
  fAnalyses = new QComboBox;
  fAnalyses->setMinimumContentsLength(16);
  fViews = new QComboBox;
  fViews->setMinimumContentsLength(10);
  bar->addWidget(fAnalyses);
  bar->addWidget(fViews);
  connect(fAnalyses, &QComboBox::textActivated, this, [this](const QString& name) {
    if (TRadiograph* current = fWorkspace->Current()) current->SelectAnalysis(name.toStdString());
    Refresh();
  });
  connect(fViews, &QComboBox::textActivated, this, [this](const QString& name) {
    if (TRadiograph* current = fWorkspace->Current()) current->SelectView(name.toStdString());
    Refresh();
  });
  // The mouse tools take a row of their own too, so that every row fits a 1024 pixel wide
  // window without hiding the zoom box and the lists behind the overflow menu.
  addToolBarBreak();
  QToolBar* toolBar = addToolBar(tr("Tools"));
  for (QAction* action : toolGroup->actions()) toolBar->addAction(action);
}

void TMainWindow::Refresh() {
  // A save may have switched the image reminder off through its own box.
  fSettings.General.Remind[1] = fWorkspace->Options().RemindImageNotSaved;
  UpdateCommands();
  UpdateIconColumn();
  UpdateLists();
  fDrawing->SetMeasurementHints(fSettings.View.VariableHints);
  fDrawing->Redraw();
  if (fAnalysisWindow != nullptr) {
    fAnalysisWindow->SetOptions(Presentation());
    fAnalysisWindow->Update();
  }
}

void TMainWindow::UpdateCommands() {
  fImageCommands->UpdateCommands();
  fImageCommands->Command("image.acquire")->setEnabled(fWorkspace->Current() != nullptr);
  const TCommandStates states = fWorkspace->Commands();
  for (const char* id : {"file.new", "file.open", "file.new_type", "file.open_type"})
    Command(id)->setEnabled(states.AddObject);
  for (const char* id : {"file.save", "file.save_into", "file.close", "file.properties"})
    Command(id)->setEnabled(states.CurrentObject);
  for (const char* id : {"file.save_all", "file.close_all", "tracing.sort"})
    Command(id)->setEnabled(states.AnyOccupied);
  Command("file.duplicate")->setEnabled(states.Duplicate);
  Command("tracing.get_coordinates")->setEnabled(states.GetCoordinates);
  Command("tracing.set_reference")->setEnabled(states.SetAsReference);
  Command("tracing.set_reference")->setChecked(states.ReferenceTicked);
  Command("tracing.set_morph_source")->setEnabled(states.SetAsReference);
  Command("tracing.set_morph_source")->setChecked(states.MorphSourceTicked);
  const bool radiograph = fWorkspace->Current() != nullptr && !fWorkspace->Current()->IsType();
  Command("view.detailed_analysis")->setEnabled(radiograph);
  Command("view.copy_results")->setEnabled(radiograph);
  Command("view.save_results")->setEnabled(radiograph);
  // The PCA editor edits a type opened for editing: changes to the type of a radiograph
  // could not be saved.
  for (const char* id : {"tools.pcas", "type.shape_analyses"})
    Command(id)->setEnabled(fWorkspace->Current() != nullptr && fWorkspace->Current()->IsType());
  Command("tools.pca_viewer")->setEnabled(fWorkspace->Current() != nullptr && fWorkspace->Current()->Type() != nullptr);
}

void TMainWindow::UpdateIconColumn() {
  fRefreshing = true;
  fSlots->Show(*fWorkspace, fSettings);
  fRefreshing = false;
}

void TMainWindow::UpdateLists() {
  fAnalyses->clear();
  fViews->clear();
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr || current->Type() == nullptr) return;
  for (const std::string& name : current->Type()->ElementNames({ekAnalysis})) fAnalyses->addItem(Utf8(name));
  if (current->CurrentAnalysis != nullptr) fAnalyses->setCurrentText(Utf8(current->CurrentAnalysis->Name));
  fViews->addItem(QStringLiteral("<all>"));
  fViews->addItem(QStringLiteral("<none>"));
  for (const std::string& name : current->Type()->ElementNames({ekView})) fViews->addItem(Utf8(name));
  if (current->CurrentView == EmptyView()) {
    fViews->setCurrentIndex(1);
  } else if (current->CurrentView != nullptr) {
    fViews->setCurrentText(Utf8(current->CurrentView->Name));
  }
}

void TMainWindow::SlotClicked(QListWidgetItem* item) {
  TRadiograph* object = fWorkspace->Slot(fSlots->row(item));
  if (object == nullptr || fWorkspace->IsCurrent(object)) return;
  fWorkspace->SetCurrent(object);
  if (fSettings.Radiograph.BestFitOnSelecting) BestFit();
  Refresh();
}

void TMainWindow::SlotMenu(const QPoint& at) {
  const int row = fSlots->row(fSlots->itemAt(at));
  if (fWorkspace->Slot(row) == nullptr) return;
  QMenu menu;
  for (int target = 0; target < kSlotCount; ++target) {
    QAction* action = menu.addAction(tr("Position &%1").arg(target));
    action->setEnabled(target != row);
    connect(action, &QAction::triggered, this, [this, row, target] {
      if (fWorkspace->MoveToPosition(row, target)) Refresh();
    });
  }
  menu.addSeparator();
  menu.addAction(Command("tracing.sort"));
  // Properties act on the current object: the row's becomes current first, as a click makes it.
  connect(menu.addAction(CommandCaption("file.properties")), &QAction::triggered, this, [this, row] {
    SlotClicked(fSlots->item(row));
    ActionPropertiesExecute();
  });
  menu.exec(fSlots->viewport()->mapToGlobal(at));
}

TRecordBrowserOptions TMainWindow::BrowserOptions() const {
  TRecordBrowserOptions options;
  options.Data = fWorkspace->Options().Data;
  options.DefaultFile = fSettings.Radiograph.DefaultFile;
  options.DataFolder = fSettings.General.CsvPath;
  return options;
}

TPresentationOptions TMainWindow::Presentation() const {
  TMeasureContext measure;
  measure.Reference = fWorkspace->Reference();
  measure.Formats = fWorkspace->Options().Formats;
  measure.Pca = &fPcaMeasurer;
  return PresentationOptions(fSettings, measure);
}

int TMainWindow::OpenPatient(const std::string& name) {
  TOpenXRayDlg browser(BrowserOptions(), this);
  const std::vector<int> records = browser.Browser().GetRecordsByData({}, name, {}, {}, {}, false);
  if (records.empty()) return 0;
  const int opened = fWorkspace->OpenRecords(browser.Browser().ListedFile(), records, true, fPrompts,
                                               browser.Browser().LoadImage);
  if (opened > 0 && fSettings.Radiograph.BestFitOnLoading) BestFit();
  Refresh();
  return opened;
}

void TMainWindow::BestFit() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr) return;
  fDrawing->Mapping().BestFit(current->TracingBounds());
  fDrawing->MappingChanged();
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
  fWorkspace->CloseCurrent(fPrompts);
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

void TMainWindow::ActionGetCoordinatesExecute() {
  fWorkspace->GetCoordinates(fPrompts);
  Refresh();
}

void TMainWindow::ActionSetReferenceExecute() {
  fWorkspace->SetAsReference();
  Refresh();
}

void TMainWindow::ActionSetMorphSourceExecute() {
  fWorkspace->SetAsMorphSource();
  Refresh();
}

void TMainWindow::ActionSortExecute() {
  fWorkspace->Sort();
  Refresh();
}

void TMainWindow::ActionZoomInExecute() {
  fDrawing->Mapping().ZoomIn();
  fDrawing->MappingChanged();
}

void TMainWindow::ActionZoomOutExecute() {
  fDrawing->Mapping().ZoomOut();
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

void TMainWindow::WriteSettings() {
  fSettings.General.Remind[1] = fWorkspace->Options().RemindImageNotSaved;
  const TSettingsSaveResult result = fSettings.Save(fSettingsPath);
  if (!result.Ok) QMessageBox::critical(this, QStringLiteral("Lumacet"), DisplayText(result.Message));
}

void TMainWindow::ActionSaveSettingsExecute() { WriteSettings(); }

TRadiographDialogContext TMainWindow::RadiographContext() {
  TRadiographDialogContext context;
  context.Prompts = &fPrompts;
  context.Formats = fWorkspace->Options().Formats;
  context.TypeNames = fWorkspace->TypeNames();
  context.DataFolder = fSettings.General.CsvPath;
  context.TypeFolder = fSettings.General.LcrPath;
  return context;
}

TPopulationContext TMainWindow::PopulationContext() {
  TPopulationContext context;
  context.Workspace = fWorkspace.get();
  context.Prompts = &fPrompts;
  context.Browser = BrowserOptions();
  context.ResultsFolder = fSettings.General.ResultsPath;
  context.Presentation = Presentation();
  return context;
}

void TMainWindow::ActionProcrustesExecute() {
  TProcForm dialog(PopulationContext(), this);
  dialog.exec();
  Refresh();
}

void TMainWindow::ActionPcasExecute() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr || !current->IsType()) return;
  TPCAsForm dialog(static_cast<TXRayType&>(*current), fPrompts, this);
  connect(&dialog, &TPCAsForm::Changed, this, &TMainWindow::Refresh);
  dialog.exec();
  Refresh();
}

void TMainWindow::ActionPcaViewerExecute() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr || current->Type() == nullptr) return;
  TPCAViewForm dialog(*current, fPcaMeasurer, this);
  dialog.exec();
  Refresh();
}

void TMainWindow::ActionExportExecute() {
  TExportForm dialog(PopulationContext(), this);
  dialog.exec();
  Refresh();
}

void TMainWindow::ActionConvertTypeExecute() {
  TConvertTypeForm dialog(PopulationContext(), this);
  dialog.exec();
  Refresh();
}

void TMainWindow::ActionNewExecute() {
  TNewXRayDlg dialog(TNewXRayDlg::TMode::New, RadiographContext(), this);
  dialog.ShowDefaults(fSettings.Radiograph);
  if (dialog.exec() == QDialog::Accepted) dialog.CreateIn(*fWorkspace, fPrompts, fSettings.Radiograph);
  Refresh();
}

void TMainWindow::ActionPropertiesExecute() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr) return;
  const bool changed = current->IsType()
                           ? EditTypeProperties(static_cast<TXRayType&>(*current), fPrompts, this)
                           : EditRadiographProperties(static_cast<TXRay&>(*current), RadiographContext(), this);
  if (changed) Refresh();
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

void TMainWindow::ApplySettings() {
  fWorkspace->SetOptions(WorkspaceOptions(fSettings));
  Command("view.grid")->setChecked(fSettings.View.ViewGrid);
  Command("view.analysis")->setChecked(fSettings.General.AnalysisOn);
  Command(kAnalysisModeCommands[std::clamp(fSettings.General.AnalysisMode, 0, 2)])->setChecked(true);
  Refresh();
}

void TMainWindow::FilesDropped(const QStringList& paths, int row) {
  for (const QString& path : paths) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("lcr")) {
      if (fWorkspace->OpenType(path.toStdString(), fPrompts) >= 0 && fSettings.Radiograph.BestFitOnLoading) BestFit();
    } else if (suffix == QLatin1String("csv")) {
      BrowseRecords(path.toStdString());
    } else {
      // Anything else is taken for an image of the radiograph it was dropped on.
      if (TRadiograph* target = fWorkspace->Slot(row)) fWorkspace->SetCurrent(target);
      if (fWorkspace->Current() != nullptr) fImageCommands->LoadImageFile(path.toStdString());
    }
  }
  Refresh();
}

void TMainWindow::closeEvent(QCloseEvent* event) {
  if (!fWorkspace->AskAndSave(fPrompts)) {
    event->ignore();
    return;
  }
  WriteSettings();
  event->accept();
}

}  // namespace lumacet
