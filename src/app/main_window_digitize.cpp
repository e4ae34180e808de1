// Digitizing from the main window: "&New..." and "Digiti&ze..." start it, the digitize tool
// hands its moves and clicks to the radiograph's Digitize window, the edge lock commands set
// how the tool snaps, and ending digitizing brings the window back to its other tools.
#include "app/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

#include "app/acquire_dialog.h"
#include "app/digitizer_properties.h"
#include "app/digitize_window.h"
#include "app/drawing_area.h"
#include "app/image_commands_ui.h"
#include <algorithm>
#include <filesystem>

#include "imaging/image_link.h"
#include "model/xray.h"
#include "shell/digitizer_definitions.h"
#include "shell/digitizing_input.h"

namespace lumacet {

namespace {

constexpr int kTabletPollInterval = 10;  // milliseconds

}  // namespace

void TMainWindow::BuildDigitizeCommands(QMenu* tools) {
  QMenu* edge = tools->addMenu(tr("&Edge Lock"));
  edge->setObjectName(QStringLiteral("tools.edge_lock"));
  auto* modes = new QActionGroup(this);
  int mode = 2;
  for (const char* id : {"tools.edge_auto", "tools.edge_orient", "tools.edge_none"}) {
    QAction* action = AddCommand(edge, id);
    action->setEnabled(true);
    action->setCheckable(true);
    action->setChecked(fSettings.General.AutoEdgeLock == mode);
    modes->addAction(action);
    connect(action, &QAction::triggered, this, [this, mode] {
      fSettings.General.AutoEdgeLock = mode;
      fDrawing->RedrawOverlay();
    });
    --mode;
  }
  edge->addSeparator();
  QAction* dots = AddCommand(edge, "tools.digitized_dots");
  dots->setEnabled(true);
  dots->setCheckable(true);
  connect(dots, &QAction::toggled, this, [this](bool on) {
    fDigitizedDots = on;
    fDrawing->RedrawOverlay();
  });
  QAction* icons = AddCommand(edge, "tools.snake_icons");
  icons->setEnabled(true);
  icons->setCheckable(true);
  icons->setChecked(fSnakeIcons);
  connect(icons, &QAction::toggled, this, [this](bool on) {
    fSnakeIcons = on;
    fDrawing->RedrawOverlay();
  });
  connect(Command("tools.digitizer"), &QAction::triggered, this, [this] {
    fDrawing->SetTool(TToolMode::Digitizer);
    Refresh();
  });
  fDrawing->SetDigitizeSource([this] { return DigitizeWindow(fWorkspace->Current()); });
  fTabletTimer = new QTimer(this);
  fTabletTimer->setInterval(kTabletPollInterval);
  connect(fTabletTimer, &QTimer::timeout, this, &TMainWindow::TimerDigTimer);

  // The Digitize window's keys, while the current radiograph is being digitized: over the
  // display and in the floating window alike, since a floating tool window keeps the keys
  // of the window it floats over.
  const std::pair<Qt::Key, void (TDigitizeWindow::*)()> keys[] = {
      {Qt::Key_Return, &TDigitizeWindow::Accept},   {Qt::Key_Enter, &TDigitizeWindow::Accept},
      {Qt::Key_Space, &TDigitizeWindow::Accept},    {Qt::Key_Backspace, &TDigitizeWindow::DeleteLast},
      {Qt::Key_PageUp, &TDigitizeWindow::Previous}, {Qt::Key_PageDown, &TDigitizeWindow::Next},
      {Qt::Key_G, &TDigitizeWindow::GoToPrediction}};
  for (const auto& [key, handler] : keys) {
    auto* shortcut = new QShortcut(QKeySequence(key), this);
    shortcut->setEnabled(false);
    connect(shortcut, &QShortcut::activated, this, [this, shortcut, key, handler] {
      // Enter still confirms what is typed in a box (the zoom, a snake's hot zone), and a
      // box keeps Space and Backspace for what is typed.
      if (QWidget* typing = QApplication::focusWidget();
          typing != nullptr && typing->testAttribute(Qt::WA_InputMethodEnabled)) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        shortcut->setEnabled(false);  // the key must reach the box, not come back here
        QApplication::sendEvent(typing, &press);
        shortcut->setEnabled(true);
        return;
      }
      if (TDigitizeWindow* window = DigitizeWindow(fWorkspace->Current())) (window->*handler)();
    });
    fDigitizeKeys.push_back(shortcut);
  }
}

TDigitizeWindow* TMainWindow::DigitizeWindow(const TRadiograph* radiograph) const {
  const auto found = fDigitizeWindows.find(radiograph);
  return found == fDigitizeWindows.end() ? nullptr : found->second;
}

void TMainWindow::UpdateDigitizeCommands() {
  ReleaseDigitizeWindows();
  TDigitizeWindow* window = DigitizeWindow(fWorkspace->Current());
  for (QShortcut* key : fDigitizeKeys) key->setEnabled(window != nullptr);
  Command("tools.digitizer")->setEnabled(window != nullptr);
  Command("tracing.digitize")->setEnabled(fWorkspace->Commands().Digitize);
  if (window != nullptr) {
    // Ctrl+Z takes back the last placement or snake change while digitizing: movements
    // cannot run then.
    const TDigitizeStep step = window->UndoStep();
    Command("tracing.undo")->setText(step == TDigitizeStep::Nothing       ? tr("Can't Undo")
                                     : step == TDigitizeStep::SnakeChange ? tr("&Undo Snake Change")
                                                                          : tr("&Undo Placement"));
    Command("tracing.undo")->setEnabled(step != TDigitizeStep::Nothing);
  }
}

void TMainWindow::ReleaseDigitizeWindows() {
  bool released = false;
  for (auto it = fDigitizeWindows.begin(); it != fDigitizeWindows.end();) {
    if (fWorkspace->XRayPosition(it->first) < kSlotCount) {
      ++it;
      continue;
    }
    // The radiograph closed while it was being digitized.
    it->second->Abandon();
    it->second->deleteLater();
    it = fDigitizeWindows.erase(it);
    released = true;
  }
  // Only once every closed radiograph is gone: the tablet asks the others whether they use it.
  if (released) StopDigitizer();
}

void TMainWindow::AskForImage(TRadiograph& radiograph) {
  std::optional<int> input = InputModeFromSetting(fSettings.General.InputDevice);
  if (!input) {
    TDigitizingInputDlg dialog(this);
    dialog.exec();
    input = dialog.Input();
    if (dialog.Remember() && *input != kInputNone) fSettings.General.InputDevice = *input;
  }
  radiograph.InputDevice = *input;
  if (*input == kInputImageFile && !radiograph.Image.HasImage()) {
    fImageCommands->ActionImageOpenExecute();
  } else if (*input == kInputScanner && !radiograph.Image.HasImage()) {
    AcquireImage(this, radiograph, fSettings, fWorkspace->UserLevels());
  }
}

bool TMainWindow::StartDigitizing(TXRay& xray, int mode) {
  if (DigitizeWindow(&xray) != nullptr) return true;
  TResultOf<std::unique_ptr<TDigitizing>> started = TDigitizing::Start(xray, mode);
  if (!started) {
    QMessageBox::information(this, QStringLiteral("Lumacet"), DisplayText(started.Text()));
    Refresh();
    return false;
  }
  TDigitizeWindow::TEnvironment environment;
  environment.Options = [this] {
    TDigitizeToolOptions options;
    options.AutoEdgeLock = fSettings.General.AutoEdgeLock;
    options.ShowHint = fSettings.General.ShowHintGraphic;
    options.AutoCenter = fSettings.General.AutoCenterDigitizing;
    options.DigitizedDots = fDigitizedDots;
    options.SnakeIcons = fSnakeIcons;
    options.SnakeMarker = fSettings.View.SnakeMarker;
    return options;
  };
  environment.Reference = [this] { return fWorkspace->Reference(); };
  environment.ShowLifeSize = [this] { return fWorkspace->Options().Data.ShowLifeSize; };
  environment.Choice = &fEdgeChoice;
  // Built once for the session; a data file with too few complete records predicts nothing.
  if (TResultOf<TLandmarkModel> model = DigitizingModel(xray, fWorkspace->Types().Resolver(), fWorkspace->Options().Data))
    environment.Model = std::move(*model);
  auto* window = new TDigitizeWindow(std::move(*started), std::move(environment), this);
  fDigitizeWindows[&xray] = window;
  connect(window, &TDigitizeWindow::Changed, this, &TMainWindow::Refresh);
  connect(window, &TDigitizeWindow::OverlayChanged, fDrawing, &TDrawingArea::RedrawOverlay);
  connect(window, &TDigitizeWindow::CentreRequested, this, [this](double x, double y) {
    if (fDrawing->Mapping().CenterInDisplayRobust(x, y)) fDrawing->MappingChanged();
  });
  connect(window, &TDigitizeWindow::Ended, this, [this, window] { DigitizingEnded(window); });
  connect(window, &TDigitizeWindow::PointerRequested, this, [this](double x, double y) {
    // Off the display, the prediction is brought into view first.
    std::optional<TFloatPoint> pixel = fDrawing->Mapping().ToPixel({x, y});
    const QRect area = fDrawing->viewport()->rect();
    if (!pixel || !area.contains(QPoint(static_cast<int>(pixel->X), static_cast<int>(pixel->Y)))) {
      if (fDrawing->Mapping().CenterInDisplayRobust(x, y)) fDrawing->MappingChanged();
      pixel = fDrawing->Mapping().ToPixel({x, y});
    }
    if (pixel) QCursor::setPos(fDrawing->viewport()->mapToGlobal(QPointF(pixel->X, pixel->Y)).toPoint());
  });
  connect(window, &TDigitizeWindow::PlacementChecked, this, [this](const QString& flag) {
    if (!flag.isEmpty())
      statusBar()->showMessage(flag);
    else if (statusBar()->currentMessage() == DisplayText(TText(kFarFromExpectedMessage)))
      statusBar()->clearMessage();
  });
  // At the right edge of the screen, beside the main window as far as there is room: the
  // film stays in sight.
  window->adjustSize();
  const QRect screen = this->screen() != nullptr ? this->screen()->availableGeometry() : geometry();
  window->move(std::min(geometry().right() + 8, screen.right() - window->frameGeometry().width()),
               geometry().top() + 96);
  window->show();
  window->Update();  // centred on the first element, now that the display follows the window
  Command("tools.digitizer")->setEnabled(true);
  Command("tools.digitizer")->setChecked(true);
  fDrawing->SetTool(TToolMode::Digitizer);
  // The keys go on working over the film: the floating window does not take them away.
  activateWindow();
  fDrawing->setFocus();
  Refresh();
  return true;
}

void TMainWindow::ActionRedigitizeExecute() {
  auto* xray = dynamic_cast<TXRay*>(fWorkspace->Current());
  if (xray == nullptr || xray->Digitizing) return;
  AskForImage(*xray);
  int mode = dmOriented;
  if (xray->ValidPointCount() > 0 && fPrompts.Confirm(std::string(kPositionalAdjustmentQuestion)))
    mode = dmFirstOrientation;
  if (StartDigitizing(*xray, mode) && xray->InputDevice == kInputDigitizer) StartDigitizer();
}

void TMainWindow::DigitizingEnded(TDigitizeWindow* window) {
  TXRay& xray = window->Radiograph();
  fDigitizeWindows.erase(&xray);
  StopDigitizer();
  fWorkspace->SetCurrent(&xray);
  if (Command("tools.digitizer")->isChecked()) {
    Command("tools.none")->setChecked(true);
    fDrawing->SetTool(TToolMode::None);
  }
  Refresh();
  if (xray.InputDevice != kInputDigitizer && fSettings.General.Remind[0] &&
      fPrompts.Remind(std::string(kMagnificationReminder)))
    fSettings.General.Remind[0] = false;
  // Only now: the reminder's own event loop would free the window while it still ends.
  window->deleteLater();
}

// "&New..." and "Digiti&ze..." call this once the input is chosen: a radiograph read from a
// file has no input chosen.
void TMainWindow::StartDigitizer() {
  if (fTablet != nullptr && fTablet->IsOpen()) {
    fTabletTimer->start();
    return;
  }
  const TResultOf<std::string> settings = fSettings.Digitizers.DefaultSettings();
  if (!settings) {
    ShowTabletError(this, settings.Text());
    return;
  }
  auto tablet = std::make_unique<TDigitizer>();
  tablet->Name = fSettings.Digitizers.Default;
  if (const TResult loaded = tablet->LoadSettings(*settings); !loaded) ShowTabletError(this, loaded.Text());
  if (!OpenTablet(this, *tablet)) {
    ShowTabletError(this, TText(kDigitizerOpenFailed));
    StopDigitizer();
    return;
  }
  fTablet = std::move(tablet);
  fTabletTimer->start();
}

void TMainWindow::StopDigitizer() {
  for (const auto& [radiograph, window] : fDigitizeWindows)
    if (radiograph->InputDevice == kInputDigitizer) return;
  fTabletTimer->stop();
  fTablet.reset();
}

void TMainWindow::TimerDigTimer() {
  TDigitizeWindow* window = DigitizeWindow(fWorkspace->Current());
  if (fTablet == nullptr || window == nullptr || window->Radiograph().InputDevice != kInputDigitizer) return;
  const TPollResult result = fTablet->Poll();
  if (result.Code == kPollReport) {
    window->TabletAt({fTablet->X, fTablet->Y});
  } else if (result.Code < 0) {
    // The tablet goes whoever else digitizes from it: polling on would bring the same error
    // every 10 ms.
    fTabletTimer->stop();
    fTablet.reset();
    ShowTabletError(this, result.Message);
  }
}

void TMainWindow::AdvanceInSeries(TRadiograph& radiograph) {
  if (!fSettings.General.AutoSaveAndAdvance || radiograph.IsType() || radiograph.ImageFile.empty()) return;
  const TImageSearch found = FindImageFile(radiograph.ImageFile, fWorkspace->Options().Images.DefaultFolder);
  const std::optional<TSeriesStep> next = NextInSeries(found.Path.empty() ? radiograph.ImageFile : found.Path);
  if (!next) return;
  // A film missing from the series ends the advance quietly: the saved radiograph stays.
  if (!std::filesystem::exists(next->ImagePath)) return;
  radiograph.Name = next->Name;
  fImageCommands->LoadImageFile(next->ImagePath);
}

}  // namespace lumacet
