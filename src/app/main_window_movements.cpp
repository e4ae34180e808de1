// The movement commands of the Tracing menu: undo and redo of movements, the "Move" dialog,
// flips and scaling, selection of every point, superimposition and orientation, the
// options of the movement log, the Movements window and the arrow keys.
#include "app/main_window.h"

#include <QActionGroup>
#include <QComboBox>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QStatusBar>

#include "app/digitize_window.h"
#include "app/drawing_area.h"
#include "app/movement_dialogs.h"
#include "app/movement_window.h"
#include "model/kind_codes.h"
#include "simulation/movement_log.h"
#include "simulation/movement_tool.h"
#include "simulation/selection.h"
#include "simulation/superimposition.h"

namespace lumacet {

namespace {

QAction* Checkable(QAction* action, bool checked) {
  action->setCheckable(true);
  action->setChecked(checked);
  action->setEnabled(true);
  return action;
}

}  // namespace

void TMainWindow::BuildMovementCommands(QMenu* tracing) {
  tracing->addSeparator();
  QAction* undo = AddCommand(tracing, "tracing.undo", &TMainWindow::ActionUndoExecute);
  undo->setShortcut(QKeySequence::Undo);
  QAction* redo = AddCommand(tracing, "tracing.redo", &TMainWindow::ActionRedoExecute);
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  AddCommand(tracing, "tracing.move", &TMainWindow::ActionMoveExecute);
  AddCommand(tracing, "tracing.flip_vertical", &TMainWindow::ActionFlipVerticalExecute);
  AddCommand(tracing, "tracing.flip_horizontal", &TMainWindow::ActionFlipHorizontalExecute);
  AddCommand(tracing, "tracing.scale", &TMainWindow::ActionScaleExecute);
  AddCommand(tracing, "tracing.select_all", &TMainWindow::ActionSelectAllExecute)->setStatusTip(tr("Select all points."));
  tracing->addSeparator();
  AddCommand(tracing, "tracing.superimpose", &TMainWindow::ActionSuperimposeExecute);
  AddCommand(tracing, "tracing.orientate", &TMainWindow::ActionOrientateExecute);
  AddCommand(tracing, "tracing.orientate_choose", &TMainWindow::ActionOrientateChooseExecute);
  connect(Checkable(AddCommand(tracing, "tracing.auto_orientate"), fSettings.Radiograph.AutoOrientate),
          &QAction::toggled, this, [this](bool on) {
            fSettings.Radiograph.AutoOrientate = on;
            fWorkspace->SetOptions(WorkspaceOptions(fSettings));
          });
  tracing->addSeparator();
  connect(Checkable(AddCommand(tracing, "tracing.snap"), fSettings.View.SnapMovements), &QAction::toggled, this,
          [this](bool on) { fSettings.View.SnapMovements = on; });
  QAction* autoVto = Checkable(AddCommand(tracing, "tracing.auto_vto"), fSettings.General.AutoVto);
  autoVto->setStatusTip(tr("Soft tissue follows the hard tissue by the type's VTO relationships."));
  connect(autoVto, &QAction::toggled, this, [this](bool on) {
    fSettings.General.AutoVto = on;
    fWorkspace->Movements.AutoVto = on;
  });
  TMovementOptions& options = fWorkspace->Movements;
  QAction* connected = Checkable(AddCommand(tracing, "tracing.connected"), options.Connected);
  QAction* compile = Checkable(AddCommand(tracing, "tracing.compile"), options.Compile);
  connect(connected, &QAction::toggled, this, [this](bool on) { fWorkspace->Movements.Connected = on; Refresh(); });
  connect(compile, &QAction::toggled, this, [this](bool on) { fWorkspace->Movements.Compile = on; Refresh(); });
  auto* areaMode = new QActionGroup(this);
  QAction* original = Checkable(AddCommand(tracing, "tracing.original_area"), options.OriginalArea);
  QAction* current = Checkable(AddCommand(tracing, "tracing.current_area"), !options.OriginalArea);
  areaMode->addAction(original);
  areaMode->addAction(current);
  connect(original, &QAction::toggled, this, [this](bool on) { fWorkspace->Movements.OriginalArea = on; Refresh(); });

  fMovementForm = new TMovementForm({undo, redo, connected, compile, original, current}, fWorkspace->Movements,
                                    [this] { return MovementRadiograph(); }, this);
  connect(fMovementForm, &TMovementForm::Changed, this, &TMainWindow::Refresh);
  fMoveForm = new TMoveDetailedForm(
      fDrawing->Movement(), [this] { return MovementRadiograph(); },
      [this](const TMovement& m) { PerformMovement(m); }, this);
  connect(fMoveForm, &TMoveDetailedForm::CentreChanged, fDrawing, &TDrawingArea::Redraw);

  fDrawing->SetMovementSource([this] {
    TDrawingArea::TMovementContext context;
    context.Radiograph = MovementRadiograph();
    context.Drag.Snap = fSettings.View.SnapMovements;
    context.Drag.Constraint = static_cast<TTranslateConstraint>(fConstraint);
    context.Drag.Movement = fWorkspace->Movements;
    context.FullRedraw = fSettings.Radiograph.FullRedrawMove;
    context.Handle = fSettings.View.HandleMarker;
    return context;
  });
  connect(fDrawing, &TDrawingArea::MovementsChanged, this, [this] {
    fMoveForm->Update();
    Refresh();
  });
  connect(fDrawing, &TDrawingArea::MovementRefused, this,
          [this](const QString& message) { QMessageBox::information(this, QStringLiteral("Lumacet"), message); });
  BuildMovementKeys();
}

void TMainWindow::BuildMovementKeys() {
  const std::pair<Qt::Key, TArrowKey> keys[] = {
      {Qt::Key_Left, TArrowKey::Left}, {Qt::Key_Right, TArrowKey::Right},
      {Qt::Key_Up, TArrowKey::Up},     {Qt::Key_Down, TArrowKey::Down}};
  for (auto [key, arrow] : keys) {
    for (Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ControlModifier),
                                            Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
      auto* shortcut = new QShortcut(QKeySequence(modifiers | key), this);
      connect(shortcut, &QShortcut::activated, this, [this, arrow, modifiers] { KeyboardMove(arrow, modifiers); });
      fArrowKeys.push_back(shortcut);
    }
  }
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, fDrawing, &TDrawingArea::CancelMovement);
}

TRadiograph* TMainWindow::MovementRadiograph() const {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr || current->Type() == nullptr || !current->Visible || current->Digitizing) return nullptr;
  return current;
}

void TMainWindow::UpdateMovementCommands() {
  fWorkspace->Movements.TracingLocked = fSettings.General.LockTracing;
  Command("tools.image_translate")
      ->setIcon(ThemeIcon(fSettings.General.LockTracing ? "lumacet-image-translate-locked" : "lumacet-image-translate"));
  fWorkspace->Movements.AutoVto = fSettings.General.AutoVto;
  TRadiograph* radiograph = MovementRadiograph();
  fMovementForm->GetMovements(fWorkspace->Current());
  const int width = fMovementForm->LineWidth();
  const bool original = fWorkspace->Movements.OriginalArea;
  Command("tracing.undo")->setText(DisplayText(UndoCaption(radiograph, width, original)));
  Command("tracing.undo")->setEnabled(CanUndoMovement(radiograph));
  Command("tracing.redo")->setText(DisplayText(RedoCaption(radiograph, width, original)));
  Command("tracing.redo")->setEnabled(CanRedoMovement(radiograph));
  const bool selection = radiograph != nullptr && !radiograph->Selection.empty();
  for (const char* id : {"tracing.flip_vertical", "tracing.flip_horizontal"}) Command(id)->setEnabled(selection);
  for (const char* id : {"tracing.scale", "tracing.select_all", "tracing.orientate", "tracing.orientate_choose"})
    Command(id)->setEnabled(radiograph != nullptr);
  Command("tracing.superimpose")->setEnabled(radiograph != nullptr && fSuperimpositions->count() > 0);
  Command("tracing.connected")->setChecked(fWorkspace->Movements.Connected);
  Command("tracing.compile")->setChecked(fWorkspace->Movements.Compile);
  Command("tracing.auto_vto")->setChecked(fSettings.General.AutoVto);
  Command(original ? "tracing.original_area" : "tracing.current_area")->setChecked(true);
  const TToolMode tool = fDrawing->Tools().Mode();
  const bool keys = tool == TToolMode::Translate || tool == TToolMode::Rotate || tool == TToolMode::ImageTranslate;
  for (QShortcut* shortcut : fArrowKeys) shortcut->setEnabled(keys);
  fMoveForm->Update();
}

void TMainWindow::ShowRefusal(const TResult& result) {
  if (!result) QMessageBox::information(this, QStringLiteral("Lumacet"), DisplayText(result.Text()));
}

void TMainWindow::PerformMovement(const TMovement& movement) {
  TRadiograph* radiograph = MovementRadiograph();
  if (radiograph == nullptr) return;
  ShowRefusal(DoTheMovement(*radiograph, movement, fWorkspace->Movements));
  Refresh();
}

void TMainWindow::KeyboardMove(TArrowKey key, Qt::KeyboardModifiers modifiers) {
  const TToolMode tool = fDrawing->Tools().Mode();
  TRadiograph* radiograph = MovementRadiograph();
  if (tool == TToolMode::ImageTranslate) {
    if (radiograph != nullptr && radiograph->Image.HasImage() &&
        ImageArrowKey(*radiograph, fDrawing->ImageHandleUnder(), key, modifiers.testFlag(Qt::ControlModifier),
                      modifiers.testFlag(Qt::ShiftModifier), fWorkspace->Movements.TracingLocked,
                      fDrawing->Movement().RotationCentre)) {
      radiograph->RecordChange(true, "Image Repositioned.");
      fDrawing->Redraw();
      Refresh();
    }
    return;
  }
  if ((tool != TToolMode::Translate && tool != TToolMode::Rotate) || radiograph == nullptr ||
      radiograph->Selection.empty() || fDrawing->Movement().Dragging())
    return;
  TMovement m = KeyboardMovement(key, tool == TToolMode::Rotate, modifiers.testFlag(Qt::ControlModifier),
                                 modifiers.testFlag(Qt::ShiftModifier), fDrawing->Movement().RotationCentre);
  m.Elements = radiograph->Selection;
  PerformMovement(m);
}

void TMainWindow::ActionUndoExecute() {
  if (TDigitizeWindow* digitizing = DigitizeWindow(fWorkspace->Current())) {
    digitizing->Undo();
    Refresh();
    return;
  }
  if (TRadiograph* radiograph = MovementRadiograph()) ShowRefusal(UndoLast(*radiograph, fWorkspace->Movements));
  Refresh();
}

void TMainWindow::ActionRedoExecute() {
  if (TRadiograph* radiograph = MovementRadiograph()) ShowRefusal(RedoLast(*radiograph, fWorkspace->Movements));
  Refresh();
}

void TMainWindow::ActionMoveExecute() {
  fMoveForm->Update();
  fMoveForm->show();
  fMoveForm->raise();
}

void TMainWindow::ActionMovementWindowExecute() {
  fMovementForm->show();
  fMovementForm->raise();
  Refresh();
}

void TMainWindow::ActionFlipVerticalExecute() {
  if (TRadiograph* radiograph = MovementRadiograph()) ShowRefusal(FlipSelection(*radiograph, true, fWorkspace->Movements));
  Refresh();
}

void TMainWindow::ActionFlipHorizontalExecute() {
  if (TRadiograph* radiograph = MovementRadiograph())
    ShowRefusal(FlipSelection(*radiograph, false, fWorkspace->Movements));
  Refresh();
}

void TMainWindow::ActionScaleExecute() {
  TRadiograph* radiograph = MovementRadiograph();
  if (radiograph == nullptr) return;
  TScaleDlg dialog(radiograph->Magnification, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const double factor = dialog.Factor();
  if (ScaleExceedsDisplay(*radiograph, factor) &&
      QMessageBox::question(this, QStringLiteral("Lumacet"),
                            tr("This will result in a tracing exceeding the extents of the Display.\r\n\r\nAre you "
                               "sure?")) != QMessageBox::Yes)
    return;
  ShowRefusal(ScaleTracing(*radiograph, factor, fWorkspace->Movements));
  Refresh();
}

void TMainWindow::ActionSelectAllExecute() {
  TRadiograph* radiograph = MovementRadiograph();
  if (radiograph == nullptr) return;
  SelectAllPoints(*radiograph);
  Refresh();
  statusBar()->showMessage(Utf8(SelectionDescription(*radiograph)));
}

void TMainWindow::ActionSuperimposeExecute() {
  TRadiograph* radiograph = MovementRadiograph();
  if (radiograph == nullptr) return;
  auto* chosen = dynamic_cast<TXRSupimp*>(
      radiograph->Type()->FindElement(fSuperimpositions->currentText().toStdString(), ekSupimp));
  if (chosen == nullptr) return;
  std::vector<TRadiograph*> others;
  for (int slot = 0; slot < kSlotCount; ++slot) others.push_back(fWorkspace->Slot(slot));
  ShowRefusal(SuperimposeOnCurrent(*chosen, *radiograph, others, fWorkspace->Movements));
  Refresh();
}

void TMainWindow::ActionOrientateExecute() {
  TRadiograph* radiograph = MovementRadiograph();
  if (radiograph == nullptr) return;
  TXROrient* orientation = DefaultOrientation(*radiograph->Type());
  if (orientation == nullptr) {
    QMessageBox::information(this, QStringLiteral("Lumacet"), tr("No Orientations are available."));
    return;
  }
  ShowRefusal(Orientate(*orientation, *radiograph, fWorkspace->Movements));
  Refresh();
}

void TMainWindow::ActionOrientateChooseExecute() {
  TRadiograph* radiograph = MovementRadiograph();
  if (radiograph == nullptr) return;
  QStringList names;
  for (const auto& e : radiograph->Type()->ElementList(ekOrient))
    if (static_cast<TXROrient*>(e.get())->Kind() != KindNumber(TOrientKind::AlignToImage)) names << Utf8(e->Name);
  if (names.isEmpty()) {
    QMessageBox::information(this, QStringLiteral("Lumacet"), tr("No Orientations are available."));
    return;
  }
  bool ok = false;
  const QString name = QInputDialog::getItem(this, tr("Orientate"), tr("Select Orientation:"), names, 0, false, &ok);
  if (!ok) return;
  if (auto* orientation = dynamic_cast<TXROrient*>(radiograph->Type()->FindElement(name.toStdString(), ekOrient)))
    ShowRefusal(Orientate(*orientation, *radiograph, fWorkspace->Movements));
  Refresh();
}

}  // namespace lumacet
