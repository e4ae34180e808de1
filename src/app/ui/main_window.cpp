#include "app/ui/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include <filesystem>

#include "app/ui/analysis_window.h"
#include "app/ui/drawing_area.h"
#include "app/ui/record_browser_dialog.h"
#include "platform/qpainter_canvas.h"

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
  return options;
}

// Captions of the type editors, one per element kind.
const char* const kEditorCaptions[] = {
    "Digitized Points...", "Snakes...",   "Derived Points...",   "Areas...",  "Drawings...",
    "Variables...",        "Analyses...", "Superimpositions...", "Orientations...", "Protocols...",
    "VTO Relationships...", "Views...",   "Shape Analyses..."};

const char* const kToolCaptions[] = {"None",     "Select / Move", "Zoom",      "Translate",
                                     "Rotate",   "Rotation Center", "Ruler",   "Protractor",
                                     "Digitizer", "Image Translate", "Magnification", "Page Translate"};

}  // namespace

TMainWindow::TMainWindow(TSettings settings, std::string settingsPath, QWidget* parent)
    : QMainWindow(parent),
      fSettings(std::move(settings)),
      fSettingsPath(std::move(settingsPath)),
      fWorkspace(std::make_unique<TWorkspace>(WorkspaceOptions(fSettings))),
      fPrompts(this, *fWorkspace) {
  setWindowTitle(QStringLiteral("Lumacet"));
  resize(1100, 760);

  fSlots = new QListWidget;
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

  fDrawing = new TDrawingArea(
      [this] {
        TDisplayScene scene;
        for (int i = 0; i < kSlotCount; ++i) scene.Slots.push_back(fWorkspace->Slot(i));
        const int current = fWorkspace->XRayPosition(fWorkspace->Current());
        scene.Current = current < kSlotCount ? current : -1;
        return scene;
      },
      [this] {
        TMeasureContext measure;
        measure.Reference = fWorkspace->Reference();
        measure.Formats = fWorkspace->Options().Formats;
        return DisplayOptions(fSettings, measure);
      });

  auto* splitter = new QSplitter;
  splitter->addWidget(fSlots);
  splitter->addWidget(fDrawing);
  splitter->setStretchFactor(1, 1);
  setCentralWidget(splitter);
  BuildMenus();
  statusBar();
  Refresh();
}

TMainWindow::~TMainWindow() = default;

QAction* TMainWindow::AddCommand(QMenu* menu, const QString& caption, void (TMainWindow::*handler)()) {
  QAction* action = menu->addAction(caption);
  if (handler != nullptr) {
    connect(action, &QAction::triggered, this, handler);
  } else {
    action->setEnabled(false);  // its tool is not part of the program yet
  }
  fCommands[caption] = action;
  return action;
}

QAction* TMainWindow::Command(const QString& caption) const {
  auto found = fCommands.find(caption);
  return found == fCommands.end() ? nullptr : found->second;
}

void TMainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  AddCommand(file, tr("&New..."))->setShortcut(QKeySequence::New);
  AddCommand(file, tr("&Open..."), &TMainWindow::ActionOpenExecute)->setShortcut(QKeySequence::Open);
  AddCommand(file, tr("New &Type..."), &TMainWindow::ActionNewTypeExecute);
  AddCommand(file, tr("Open T&ype..."), &TMainWindow::ActionOpenTypeExecute);
  file->addSeparator();
  AddCommand(file, tr("&Save"), &TMainWindow::ActionSaveExecute)->setShortcut(QKeySequence::Save);
  AddCommand(file, tr("Save &Into..."), &TMainWindow::ActionSaveIntoExecute);
  AddCommand(file, tr("Save &All"), &TMainWindow::ActionSaveAllExecute);
  file->addSeparator();
  AddCommand(file, tr("&Close"), &TMainWindow::ActionCloseExecute);
  AddCommand(file, tr("C&lose All"), &TMainWindow::ActionCloseAllExecute);
  file->addSeparator();
  AddCommand(file, tr("&Duplicate..."), &TMainWindow::ActionDuplicateExecute);
  AddCommand(file, tr("P&roperties..."));
  file->addSeparator();
  AddCommand(file, tr("&Options..."));
  AddCommand(file, tr("Save Settings"), &TMainWindow::ActionSaveSettingsExecute);
  connect(AddCommand(file, tr("Reset Reminders")), &QAction::triggered, this, [this] {
    QMessageBox::information(this, QStringLiteral("Lumacet"), DisplayText(fSettings.ResetReminders()));
  });
  Command(tr("Reset Reminders"))->setEnabled(true);
  file->addSeparator();
  connect(AddCommand(file, tr("E&xit")), &QAction::triggered, this, &QWidget::close);
  Command(tr("E&xit"))->setEnabled(true);

  QMenu* type = menuBar()->addMenu(tr("&Type"));
  AddCommand(type, tr("&Type Browser..."));
  type->addSeparator();
  for (const char* caption : kEditorCaptions) AddCommand(type, tr(caption));

  QMenu* tracing = menuBar()->addMenu(tr("T&racing"));
  AddCommand(tracing, tr("&Get Coordinates from..."), &TMainWindow::ActionGetCoordinatesExecute);
  AddCommand(tracing, tr("Digiti&ze..."));
  tracing->addSeparator();
  AddCommand(tracing, tr("Set as Re&ference"), &TMainWindow::ActionSetReferenceExecute)->setCheckable(true);
  AddCommand(tracing, tr("Set as Morph So&urce"), &TMainWindow::ActionSetMorphSourceExecute)->setCheckable(true);
  AddCommand(tracing, tr("S&ort"), &TMainWindow::ActionSortExecute);

  QMenu* view = menuBar()->addMenu(tr("&View"));
  AddCommand(view, tr("&Zoom In"), &TMainWindow::ActionZoomInExecute)->setShortcut(QKeySequence::ZoomIn);
  AddCommand(view, tr("Zoom &Out"), &TMainWindow::ActionZoomOutExecute)->setShortcut(QKeySequence::ZoomOut);
  AddCommand(view, tr("&Best Fit"), &TMainWindow::BestFit);
  AddCommand(view, tr("&Fit All"), &TMainWindow::ActionFitAllExecute);
  view->addSeparator();
  QAction* grid = AddCommand(view, tr("&Grid"));
  grid->setEnabled(true);
  grid->setCheckable(true);
  grid->setChecked(fSettings.View.ViewGrid);
  connect(grid, &QAction::toggled, this, [this](bool on) { fSettings.View.ViewGrid = on; Refresh(); });
  QAction* analysis = AddCommand(view, tr("&Analysis"));
  analysis->setEnabled(true);
  analysis->setCheckable(true);
  analysis->setChecked(fSettings.General.AnalysisOn);
  connect(analysis, &QAction::toggled, this, [this](bool on) { fSettings.General.AnalysisOn = on; Refresh(); });
  auto* modes = new QActionGroup(this);
  const QString modeCaptions[] = {tr("Current Only"), tr("Comparative"), tr("All")};
  for (int mode = 0; mode < 3; ++mode) {
    QAction* action = AddCommand(view, modeCaptions[mode]);
    action->setEnabled(true);
    action->setCheckable(true);
    action->setChecked(fSettings.General.AnalysisMode == mode);
    modes->addAction(action);
    connect(action, &QAction::triggered, this, [this, mode] { fSettings.General.AnalysisMode = mode; Refresh(); });
  }
  view->addSeparator();
  AddCommand(view, tr("&Detailed Analysis..."), &TMainWindow::ActionDetailedAnalysisExecute);
  AddCommand(view, tr("&Copy Results"), &TMainWindow::ActionCopyResultsExecute);

  QMenu* tools = menuBar()->addMenu(tr("T&ools"));
  auto* toolGroup = new QActionGroup(this);
  for (int mode = 0; mode < 12; ++mode) {
    QAction* action = AddCommand(tools, tr(kToolCaptions[mode]));
    action->setCheckable(true);
    toolGroup->addAction(action);
    if (mode == 0 || mode == 2) {
      action->setEnabled(true);
      connect(action, &QAction::triggered, this, [this, mode] { fDrawing->SetZoomTool(mode == 2); });
    }
  }
  Command(tr("None"))->setChecked(true);

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  connect(help->addAction(tr("&About...")), &QAction::triggered, this, [this] {
    QMessageBox::about(this, tr("About"), QStringLiteral("Lumacet"));
  });

  QToolBar* bar = addToolBar(tr("Standard"));
  for (const QString& caption : {tr("&Open..."), tr("&Save"), tr("&Close"), tr("&Zoom In"), tr("Zoom &Out"),
                                 tr("&Best Fit"), tr("&Fit All"), tr("&Detailed Analysis...")})
    bar->addAction(Command(caption));
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
  QToolBar* toolBar = addToolBar(tr("Tools"));
  for (QAction* action : toolGroup->actions()) toolBar->addAction(action);
}

void TMainWindow::Refresh() {
  UpdateCommands();
  UpdateIconColumn();
  UpdateLists();
  fDrawing->viewport()->update();
  if (fAnalysisWindow != nullptr) {
    fAnalysisWindow->SetOptions(Presentation());
    fAnalysisWindow->Update();
  }
}

void TMainWindow::UpdateCommands() {
  const TCommandStates states = fWorkspace->Commands();
  for (const QString& caption : {tr("&Open..."), tr("New &Type..."), tr("Open T&ype...")})
    Command(caption)->setEnabled(states.AddObject);
  for (const QString& caption : {tr("&Save"), tr("Save &Into..."), tr("&Close")})
    Command(caption)->setEnabled(states.CurrentObject);
  for (const QString& caption : {tr("Save &All"), tr("C&lose All"), tr("S&ort")})
    Command(caption)->setEnabled(states.AnyOccupied);
  Command(tr("&Duplicate..."))->setEnabled(states.Duplicate);
  Command(tr("&Get Coordinates from..."))->setEnabled(states.GetCoordinates);
  Command(tr("Set as Re&ference"))->setEnabled(states.SetAsReference);
  Command(tr("Set as Re&ference"))->setChecked(states.ReferenceTicked);
  Command(tr("Set as Morph So&urce"))->setEnabled(states.SetAsReference);
  Command(tr("Set as Morph So&urce"))->setChecked(states.MorphSourceTicked);
  const bool radiograph = fWorkspace->Current() != nullptr && !fWorkspace->Current()->IsType();
  Command(tr("&Detailed Analysis..."))->setEnabled(radiograph);
  Command(tr("&Copy Results"))->setEnabled(radiograph);
}

void TMainWindow::UpdateIconColumn() {
  fRefreshing = true;
  if (fSlots->count() != kSlotCount) {
    fSlots->clear();
    for (int i = 0; i < kSlotCount; ++i) fSlots->addItem(QString());
  }
  const TTextFormats& formats = fWorkspace->Options().Formats;
  for (int i = 0; i < kSlotCount; ++i) {
    QListWidgetItem* item = fSlots->item(i);
    TRadiograph* object = fWorkspace->Slot(i);
    if (object == nullptr) {
      item->setText(QString());
      item->setFlags(Qt::ItemIsEnabled);
      item->setData(Qt::CheckStateRole, QVariant());
      continue;
    }
    QString caption = Utf8(object->IsType() ? object->Name : object->Caption(formats));
    if (i == fWorkspace->ReferenceSlot()) caption += tr(" [R]");
    if (i == fWorkspace->MorphSourceSlot()) caption += tr(" [M]");
    item->setText(caption);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(object->Visible ? Qt::Checked : Qt::Unchecked);
    QFont font = item->font();
    font.setBold(fWorkspace->IsCurrent(object));
    item->setFont(font);
    const TPositionPen& pen = fSettings.Radiograph.PositionPens[static_cast<size_t>(i)];
    const bool slotPen = fSettings.Radiograph.DrawingStyle == 1 ||
                         (fSettings.Radiograph.DrawingStyle == 2 && !fWorkspace->IsCurrent(object));
    item->setForeground(slotPen ? ToQColor(pen.Colour) : palette().color(QPalette::Text));
  }
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
  menu.addAction(Command(tr("S&ort")));
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
  return PresentationOptions(fSettings, measure);
}

int TMainWindow::OpenPatient(const std::string& name) {
  TOpenXRayDlg browser(BrowserOptions(), this);
  const std::vector<int> records = browser.Browser().GetRecordsByData({}, name, {}, {}, {}, false);
  if (records.empty()) return 0;
  const int opened = fWorkspace->OpenRecords(browser.Browser().ListedFile(), records, true, fPrompts);
  if (opened > 0 && fSettings.Radiograph.BestFitOnLoading) BestFit();
  Refresh();
  return opened;
}

void TMainWindow::BestFit() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr) return;
  current->LoadCoordinates();
  fDrawing->Mapping().BestFit(current->TracingBounds());
  fDrawing->MappingChanged();
}

void TMainWindow::ActionOpenExecute() {
  TOpenXRayDlg browser(BrowserOptions(), this);
  if (browser.exec() != QDialog::Accepted || browser.Browser().SelectedCount() == 0) return;
  const int opened =
      fWorkspace->OpenRecords(browser.Browser().ListedFile(), browser.Browser().SelectedRecords(), false, fPrompts);
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
  Command(tr("None"))->setChecked(true);
  fDrawing->SetZoomTool(false);
  Refresh();
}

void TMainWindow::ActionCloseAllExecute() {
  fWorkspace->CloseAll(fPrompts);
  Refresh();
}

void TMainWindow::ActionDuplicateExecute() {
  fWorkspace->Duplicate();
  Refresh();
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
        Presentation(), fSettings.Radiograph.TextLayout, this);
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

void TMainWindow::WriteSettings() {
  const TSettingsSaveResult result = fSettings.Save(fSettingsPath);
  if (!result.Ok) QMessageBox::critical(this, QStringLiteral("Lumacet"), DisplayText(result.Message));
}

void TMainWindow::ActionSaveSettingsExecute() { WriteSettings(); }

void TMainWindow::closeEvent(QCloseEvent* event) {
  if (!fWorkspace->AskAndSave(fPrompts)) {
    event->ignore();
    return;
  }
  WriteSettings();
  event->accept();
}

}  // namespace lumacet
