#include "app/main_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

#include "app/acquire_dialog.h"
#include "app/analysis_window.h"
#include "app/digitize_window.h"
#include "app/drawing_area.h"
#include "app/image_commands_ui.h"
#include "app/morph_window.h"
#include "app/record_browser_dialog.h"
#include "app/slot_list.h"
#include "app/type_editor_windows.h"
#include "app/zoom_box.h"
#include "digitize/digitizer.h"
#include "shell/command_reasons.h"
#include "shell/settings_options.h"

namespace lumacet {

TMainWindow::TMainWindow(TSettings settings, std::string settingsPath, QWidget* parent)
    : QMainWindow(parent),
      fSettings(std::move(settings)),
      fSettingsPath(std::move(settingsPath)),
      fWorkspace(std::make_unique<TWorkspace>(WorkspaceOptions(fSettings))),
      fPrompts(this, *fWorkspace) {
  setWindowTitle(QStringLiteral("Lumacet"));
  InstallContextHelp();
  RestorePlace();

  fSlots = new TSlotList;
  fSlots->setContextMenuPolicy(Qt::CustomContextMenu);
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
        TDisplayScene scene = Scene();
        scene.Images = ImageLayer(scene.Slots, scene.Current, fImageCommands->Blend());
        return scene;
      },
      [this] { return CurrentDisplayOptions(); });

  auto* splitter = new QSplitter;
  splitter->addWidget(fSlots);
  splitter->addWidget(fDrawing);
  splitter->setStretchFactor(1, 1);
  // The stored default width is the one nobody chose: it would cut every name to its first
  // letter beside the icon, so the column starts wide enough for a name instead.
  const int nameWidth = fSlots->iconSize().width() + 48 + fSlots->fontMetrics().averageCharWidth() * 16;
  const int iconWidth = fSettings.General.IconAreaWidth == TGeneralSettings{}.IconAreaWidth
                            ? nameWidth
                            : std::clamp(fSettings.General.IconAreaWidth, 40, 800);
  splitter->setSizes({iconWidth, width()});
  setCentralWidget(splitter);
  ConnectTypeEditors();
  BuildMenus();
  RestoreToolBars();
  fScalePanel = new QLabel;
  fScalePanel->setObjectName(QStringLiteral("scalePanel"));
  statusBar()->addPermanentWidget(fScalePanel);
  setAcceptDrops(true);
  connect(fDrawing, &TDrawingArea::StatusChanged, statusBar(), [this](const QString& text) {
    statusBar()->showMessage(text);
  });
  connect(fDrawing, &TDrawingArea::MagnificationMeasured, this, &TMainWindow::MagnificationMeasured);
  Refresh();
}

TMainWindow::~TMainWindow() {
  // The windows are children, freed after the workspace: their radiographs go first.
  fTypeEditors->disconnect(this);
  fTypeEditors->CloseAll();
  for (auto& [radiograph, window] : fDigitizeWindows) {
    window->Abandon();
    delete window;
  }
}

QAction* TMainWindow::AddCommand(QWidget* container, std::string_view id, void (TMainWindow::*handler)()) {
  return fCommands.Add(*container, id, this, handler);
}

QAction* TMainWindow::Command(std::string_view id) const { return fCommands.Find(id); }

void TMainWindow::BuildMenus() {
  BuildFileMenu();
  BuildTypeMenu();
  BuildTracingMenu();
  fImageCommands = new TImageCommands(*this, *fWorkspace, fSettings, [this] { Refresh(); });
  fImageCommands->AddMenus(*menuBar());
  fImageCommands->SetRotationCentre([this] { return fDrawing->Movement().RotationCentre; });
  fDrawing->SetAlignTarget([this](TFloatPoint at) { return fImageCommands->AlignClick(at); });
  fDrawing->SetAlignMarks([this] { return fImageCommands->AlignMarks(); });
  connect(fImageCommands->Command("image.acquire"), &QAction::triggered, this, [this] {
    if (TRadiograph* current = fWorkspace->Current(); current != nullptr && AcquireImage(this, *current, fSettings, fWorkspace->UserLevels()))
      Refresh();
  });

  BuildViewMenu();
  QActionGroup* tools = BuildToolsMenu();
  BuildHelpMenu();
  BuildToolBars(tools);
}

void TMainWindow::BuildToolBars(QActionGroup* toolGroup) {
  // Icons alone, or text beside them, as the desktop's style asks.
  setToolButtonStyle(Qt::ToolButtonFollowStyle);
  // The superimposition chooser shares the image blending row: the rows below are full.
  fSuperimpositions = new QComboBox;
  fSuperimpositions->setObjectName(QStringLiteral("superimpositions"));
  fSuperimpositions->setMinimumContentsLength(14);
  fSuperimpositions->setToolTip(tr("Superimposition for \"Superimpose on Current\""));
  QToolBar* superimposition = addToolBar(tr("Superimposition"));
  superimposition->setObjectName(QStringLiteral("Superimposition"));
  superimposition->addWidget(fSuperimpositions);
  superimposition->addAction(Command("tracing.superimpose"));
  superimposition->addAction(Command("tracing.auto_vto"));
  AddMorphButton(*superimposition);
  QToolBar* bar = addToolBar(tr("Standard"));
  bar->setObjectName(QStringLiteral("Standard"));
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
  toolBar->setObjectName(QStringLiteral("Tools"));
  for (QAction* action : toolGroup->actions()) toolBar->addAction(action);
}

void TMainWindow::Refresh() {
  // A save may have switched the image reminder off through its own box.
  fSettings.General.Remind[1] = fWorkspace->Options().RemindImageNotSaved;
  UpdateLists();
  UpdateCommands();
  UpdateIconColumn();
  setWindowTitle(Utf8(fWorkspace->WindowTitle()));
  const bool lifeSize = fWorkspace->Options().Data.ShowLifeSize;
  fScalePanel->setText(lifeSize ? QStringLiteral("LIFE") : QStringLiteral("XRAY"));
  fScalePanel->setToolTip(lifeSize ? tr("Measured at life size: corrected for the radiograph's magnification.")
                                   : tr("Measured at radiograph size: not corrected for magnification."));
  fDrawing->SetMeasurementHints(fSettings.View.VariableHints);
  fDrawing->Redraw();
  if (fAnalysisWindow != nullptr) {
    fAnalysisWindow->SetOptions(Presentation());
    fAnalysisWindow->Update();
  }
  if (fMorphWindow != nullptr) fMorphWindow->Follow();
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
  for (const char* send : {"file.send_spreadsheet", "file.send_text_document", "file.send_presentation"})
    Command(send)->setEnabled(fWorkspace->Current() != nullptr);
  Command("tools.sort_by_shape")->setEnabled(radiograph);
  // The editors edit a type opened for editing: changes to the type of a radiograph could
  // not be saved.
  for (const char* id : kTypeEditorCommands)
    Command(id)->setEnabled(fWorkspace->Current() != nullptr && fWorkspace->Current()->IsType());
  Command("type.browser")->setEnabled(fWorkspace->Current() != nullptr && fWorkspace->Current()->Type() != nullptr);
  Command("tools.pca_viewer")->setEnabled(fWorkspace->Current() != nullptr && fWorkspace->Current()->Type() != nullptr);
  UpdateMovementCommands();
  UpdateMorphCommands();
  UpdateDigitizeCommands();
  const auto why = [this](std::string_view id) { return WhyDisabled(id, *fWorkspace); };
  fCommands.ExplainDisabled(why);
  fImageCommands->ExplainDisabled(why);
}

void TMainWindow::UpdateIconColumn() {
  fRefreshing = true;
  fSlots->Show(*fWorkspace, fSettings);
  fRefreshing = false;
}

void TMainWindow::UpdateLists() {
  fAnalyses->clear();
  fViews->clear();
  const QString superimposition = fSuperimpositions->currentText();
  fSuperimpositions->clear();
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr || current->Type() == nullptr) return;
  for (const std::string& name : current->Type()->ElementNames({ekSupimp})) fSuperimpositions->addItem(Utf8(name));
  if (const int at = fSuperimpositions->findText(superimposition); at >= 0) fSuperimpositions->setCurrentIndex(at);
  for (const std::string& name : current->Type()->ElementNames({ekAnalysis})) fAnalyses->addItem(Utf8(name));
  if (current->CurrentAnalysis != nullptr) fAnalyses->setCurrentText(Utf8(current->CurrentAnalysis->Name));
  fViews->addItem(QStringLiteral("<all>"));   // names the views are chosen by: not translated
  fViews->addItem(QStringLiteral("<none>"));  // not translated
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
  // Like Properties, on the row's object made current.
  QAction* morphSource = menu.addAction(CommandCaption("tracing.set_morph_source"));
  morphSource->setObjectName(QStringLiteral("slotMorphSource"));
  morphSource->setCheckable(true);
  morphSource->setChecked(row == fWorkspace->MorphSourceSlot());
  morphSource->setEnabled(!fWorkspace->Slot(row)->IsType());
  connect(morphSource, &QAction::triggered, this, [this, row] {
    SlotClicked(fSlots->item(row));
    ActionSetMorphSourceExecute();
  });
  // Properties act on the current object: the row's becomes current first, as a click makes it.
  connect(menu.addAction(CommandCaption("file.properties")), &QAction::triggered, this, [this, row] {
    SlotClicked(fSlots->item(row));
    ActionPropertiesExecute();
  });
  menu.exec(fSlots->viewport()->mapToGlobal(at));
}

TRecordBrowserOptions TMainWindow::BrowserOptions() {
  TRecordBrowserOptions options;
  options.Data = fWorkspace->Options().Data;
  options.DefaultFile = fSettings.Radiograph.DefaultFile;
  options.DataFolder = fSettings.General.CsvPath;
  // "Delete" and "CopyTo" of the open dialog ask the level first.
  options.Permitted = [this](std::string_view action) { return fWorkspace->Permit(action, fPrompts); };
  return options;
}

TPresentationOptions TMainWindow::Presentation() const {
  fMeasuring.Reference = fWorkspace->Reference();
  fMeasuring.Formats = fWorkspace->Options().Formats;
  return PresentationOptions(fSettings, fMeasuring);
}

int TMainWindow::OpenPatient(const std::string& name) {
  return TAutomation(*this).OpenRadiograph({}, name, {}, {}, {}, false).Value.value_or(0);
}

void TMainWindow::ApplySettings() {
  fWorkspace->SetOptions(WorkspaceOptions(fSettings));
  ShowViewSettings();
  Refresh();
}

void TMainWindow::FilesDropped(const QStringList& paths, int row) {
  for (const QString& path : paths) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("lcr")) {
      OpenTypeFile(path.toStdString());
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

void TMainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (DroppedLocalFiles(event->mimeData()).isEmpty()) return event->ignore();
  event->acceptProposedAction();
}

void TMainWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (DroppedLocalFiles(event->mimeData()).isEmpty()) return event->ignore();
  event->acceptProposedAction();
}

void TMainWindow::dropEvent(QDropEvent* event) {
  const QStringList paths = DroppedLocalFiles(event->mimeData());
  if (paths.isEmpty()) return event->ignore();
  event->acceptProposedAction();
  FilesDropped(paths, -1);
}

void TMainWindow::closeEvent(QCloseEvent* event) {
  // A running morph holds both radiographs until it ends or is cancelled.
  if (fMorphing || !fWorkspace->AskAndSave(fPrompts)) {
    event->ignore();
    return;
  }
  WriteSettings();
  fTypeEditors->CloseAll();
  event->accept();
}

}  // namespace lumacet
