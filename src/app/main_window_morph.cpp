// Image morphing: the "&Morph" run with its progress window, the interactive morph window,
// and the warping function and quality, which the Morph button's drop-down offers too.
#include <QActionGroup>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include <array>

#include "app/drawing_area.h"
#include "app/image_commands_ui.h"
#include "app/main_window.h"
#include "app/morph_dialog.h"
#include "app/morph_window.h"
#include "app/options_dialog.h"
#include "simulation/morph.h"

namespace lumacet {

namespace {

// In the order of the "Warp Function" and "Morph Quality" settings.
constexpr std::array<const char*, 4> kWarpCommands = {"tracing.warp_linear", "tracing.warp_s_curve",
                                                      "tracing.warp_exponential", "tracing.warp_triangles"};
constexpr std::array<const char*, 3> kQualityCommands = {"tracing.morph_low", "tracing.morph_medium",
                                                         "tracing.morph_high"};
constexpr int kTriangleInterpolation = 3;

}  // namespace

void TMainWindow::BuildMorphCommands(QMenu* tracing) {
  tracing->addSeparator();
  AddCommand(tracing, "tracing.morph", &TMainWindow::ActionMorphExecute);
  QAction* interactive = AddCommand(tracing, "tracing.interactive_morph", &TMainWindow::ActionInteractiveMorphExecute);
  interactive->setCheckable(true);

  fMorphMenu = new QMenu(this);
  fMorphMenu->setObjectName(QStringLiteral("morphMenu"));
  auto* functions = new QActionGroup(this);
  for (size_t f = 0; f < kWarpCommands.size(); ++f) {
    QAction* action = AddCommand(fMorphMenu, kWarpCommands[f]);
    action->setCheckable(true);
    action->setEnabled(true);
    functions->addAction(action);
    connect(action, &QAction::triggered, this, [this, f] {
      fSettings.General.WarpFunction = int(f);
      UpdateMorphCommands();
    });
  }
  fMorphMenu->addSeparator();
  QMenu* quality = fMorphMenu->addMenu(tr("Morph &Quality"));
  quality->setObjectName(QStringLiteral("morphQuality"));
  auto* qualities = new QActionGroup(this);
  for (size_t q = 0; q < kQualityCommands.size(); ++q) {
    QAction* action = AddCommand(quality, kQualityCommands[q]);
    action->setCheckable(true);
    qualities->addAction(action);
    connect(action, &QAction::triggered, this, [this, q] {
      fSettings.General.MorphQuality = int(q);
      UpdateMorphCommands();
    });
  }
  QAction* options = AddCommand(fMorphMenu, "tracing.morph_options", &TMainWindow::ActionMorphOptionsExecute);
  // The menu offers what the drop-down does, for keyboard users and narrow tool bars.
  QMenu* function = tracing->addMenu(tr("Warping &Function"));
  function->setObjectName(QStringLiteral("warpFunction"));
  function->addActions(functions->actions());
  tracing->addAction(quality->menuAction());
  tracing->addAction(options);
  // Drags move the preview with the tracing, step by step.
  connect(fDrawing, &TDrawingArea::MovementStepped, this, [this] {
    if (fMorphWindow != nullptr) fMorphWindow->DoTheMorph();
  });
}

void TMainWindow::AddMorphButton(QToolBar& bar) {
  auto* button = new QToolButton;
  button->setObjectName(QStringLiteral("morphButton"));
  button->setDefaultAction(Command("tracing.morph"));
  button->setMenu(fMorphMenu);
  button->setPopupMode(QToolButton::MenuButtonPopup);
  button->setToolButtonStyle(Qt::ToolButtonFollowStyle);
  bar.addWidget(button);
}

void TMainWindow::UpdateMorphCommands() {
  const TGeneralSettings& general = fSettings.General;
  if (general.WarpFunction >= 0 && size_t(general.WarpFunction) < kWarpCommands.size())
    Command(kWarpCommands[size_t(general.WarpFunction)])->setChecked(true);
  if (general.MorphQuality >= 0 && size_t(general.MorphQuality) < kQualityCommands.size())
    Command(kQualityCommands[size_t(general.MorphQuality)])->setChecked(true);
  // Triangle interpolation has one quality only.
  for (const char* id : kQualityCommands) Command(id)->setEnabled(general.WarpFunction != kTriangleInterpolation);
  Command("tracing.morph")->setEnabled(!fMorphing && fWorkspace->Current() != nullptr && !fWorkspace->Current()->IsType());
  Command("tracing.interactive_morph")->setChecked(fMorphWindow != nullptr && fMorphWindow->isVisible());
}

void TMainWindow::ActionMorphExecute() {
  TRadiograph* current = fWorkspace->Current();
  TRadiograph* source = fWorkspace->Slot(fWorkspace->MorphSourceSlot());
  if (fMorphing || current == nullptr) return;
  if (const TText reason = MorphReadiness(source, current); !reason.Empty()) {
    fPrompts.ShowText(TText(LcText("Morph", "Cannot perform morphing:\r\n%1"), {reason}));
    return;
  }
  // The morph replaces the image: one not saved as it stands is offered for saving first.
  if (current->Image.HasImage() &&
      !OfferImageSave(this, *current, fSettings.General.BmpPath, fWorkspace->UserLevels()))
    return;
  const TMorphOptions options = MorphOptionsFrom(fSettings);
  // Nothing may close or replace either radiograph while the morph lets events through.
  fMorphing = true;
  UpdateMorphCommands();
  TMorphingDlg dialog(DisplayText(MorphMethodText(options)), [&](const TMorphProgress& progress) {
    return MorphImage(*current, *source, options, progress);
  }, this);
  dialog.exec();
  fMorphing = false;
  if (!dialog.Outcome()) fPrompts.ShowText(dialog.Outcome().Text());
  Refresh();
}

void TMainWindow::ActionInteractiveMorphExecute() {
  if (fMorphWindow == nullptr) {
    fMorphWindow = new TMorphInteractive([this] { return fWorkspace->Slot(fWorkspace->MorphSourceSlot()); },
                                         [this] { return fWorkspace->Current(); }, this);
    connect(fMorphWindow, &TMorphInteractive::Closed, this, [this] { Command("tracing.interactive_morph")->setChecked(false); });
  }
  if (Command("tracing.interactive_morph")->isChecked()) {
    fMorphWindow->show();
    fMorphWindow->raise();
  } else {
    fMorphWindow->close();
  }
}

void TMainWindow::ActionMorphOptionsExecute() { OpenOptions(TLCOptions::tr("&Morph")); }

}  // namespace lumacet
