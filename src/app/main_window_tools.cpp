// The Tools and Help menus: the mouse tools and the population commands.
#include "app/main_window.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include "app/convert_type_dialog.h"
#include "app/drawing_area.h"
#include "app/export_dialog.h"
#include "app/mean_dialog.h"
#include "app/pca_viewer.h"
#include "app/procrustes_dialog.h"
#include "app/shape_dialog.h"
#include "support/version.h"

namespace lumacet {

namespace {

// The mouse tools in the order of their modes.
const char* const kToolCommands[] = {"tools.none",          "tools.select_move",   "tools.zoom",
                                     "tools.translate",     "tools.rotate",        "tools.rotation_center",
                                     "tools.ruler",         "tools.protractor",    "tools.digitizer",
                                     "tools.image_translate", "tools.magnification", "tools.page_translate"};

}  // namespace

// The mouse tools come back as one group: the tool bar shows the same commands.
QActionGroup* TMainWindow::BuildToolsMenu() {
  QMenu* tools = fCommands.AddMenu(*menuBar(), "tools");
  auto* toolGroup = new QActionGroup(this);
  for (int mode = 0; mode < 12; ++mode) {
    QAction* action = AddCommand(tools, kToolCommands[mode]);
    action->setCheckable(true);
    toolGroup->addAction(action);
    const auto tool = static_cast<TToolMode>(mode);
    if (tool == TToolMode::None || tool == TToolMode::Zoom || tool == TToolMode::Ruler ||
        tool == TToolMode::Protractor || tool == TToolMode::Magnification || tool == TToolMode::SelectMove ||
        tool == TToolMode::Translate || tool == TToolMode::Rotate || tool == TToolMode::RotationCenter ||
        tool == TToolMode::ImageTranslate) {
      action->setEnabled(true);
      connect(action, &QAction::triggered, this, [this, tool] {
        fDrawing->SetTool(tool);
        Refresh();  // the arrow keys and the handles follow the tool
      });
    }
  }
  Command("tools.none")->setChecked(true);
  // The Translate tool's constraint.
  QMenu* constraint = tools->addMenu(tr("Translate Constraint"));
  auto* constraints = new QActionGroup(this);
  int mode = 0;
  for (const char* id : {"tools.no_constraint", "tools.constrain_x", "tools.constrain_y"}) {
    QAction* action = AddCommand(constraint, id);
    action->setEnabled(true);
    action->setCheckable(true);
    action->setChecked(mode == 0);
    constraints->addAction(action);
    connect(action, &QAction::triggered, this, [this, mode] { fConstraint = mode; });
    ++mode;
  }
  BuildDigitizeCommands(tools);
  tools->addSeparator();
  AddCommand(tools, "tools.procrustes", &TMainWindow::ActionProcrustesExecute);
  AddCommand(tools, "tools.pcas", &TMainWindow::ActionPcasExecute);
  AddCommand(tools, "tools.pca_viewer", &TMainWindow::ActionPcaViewerExecute);
  AddCommand(tools, "tools.mean", &TMainWindow::ActionMeanExecute)
      ->setStatusTip(tr("Average the tracings of many radiographs superimposed on the first."));
  AddCommand(tools, "tools.sort_by_shape", &TMainWindow::ActionSortByShapeExecute)
      ->setStatusTip(tr("Find the radiographs whose shape is most like the current one."));
  tools->addSeparator();
  AddCommand(tools, "tools.export", &TMainWindow::ActionExportExecute)
      ->setStatusTip(tr("Analyze radiographs from a file and export the results."));
  AddCommand(tools, "tools.convert_type", &TMainWindow::ActionConvertTypeExecute)
      ->setStatusTip(tr("Convert from one radiograph type to another."));
  return toolGroup;
}

void TMainWindow::BuildHelpMenu() {
  QMenu* help = fCommands.AddMenu(*menuBar(), "help");
  QAction* contents = AddCommand(help, "help.contents");
  contents->setShortcuts(StandardKeys(QKeySequence::HelpContents, QKeySequence(Qt::Key_F1)));
  contents->setEnabled(true);
  connect(contents, &QAction::triggered, this, [this] { ShowHelp(this, "index"); });
  connect(AddCommand(help, "help.about"), &QAction::triggered, this, [this] {
    const std::string_view version = ProgramVersion();
    QMessageBox::about(this, tr("About Lumacet"),
                       tr("<h3>Lumacet %1</h3>"
                          "<p>Cephalometric analysis: landmarks and outlines, measurements against norms, "
                          "superimposition, treatment simulation and shape statistics.</p>"
                          "<p>Built with Qt %2, running on Qt %3.</p>")
                           .arg(QString::fromUtf8(version.data(), static_cast<qsizetype>(version.size())),
                                QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion())));
  });
  Command("help.about")->setEnabled(true);
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

void TMainWindow::ActionMeanExecute() {
  TMeanForm dialog(PopulationContext(), this);
  dialog.exec();
  Refresh();
}

void TMainWindow::ActionSortByShapeExecute() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr || current->IsType()) return;
  TShapeForm dialog(PopulationContext(), *current, fMeasuring.Context(), this);
  dialog.exec();
  Refresh();
}

void TMainWindow::ActionPcasExecute() { OpenTypeEditor(ekPCA); }

void TMainWindow::ActionPcaViewerExecute() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr || current->Type() == nullptr) return;
  TPCAViewForm dialog(*current, fMeasuring.Pca(), this);
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

}  // namespace lumacet
