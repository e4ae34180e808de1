// The Type and Tracing menus: the type editors, coordinates from another radiograph, reference and morph source.
#include "app/main_window.h"

#include <QMenu>
#include <QMenuBar>

namespace lumacet {

namespace {

// The type editors, one per element kind.
const char* const kEditorCommands[] = {
    "type.digitized_points", "type.snakes",           "type.derived_points", "type.areas",
    "type.drawings",         "type.variables",        "type.analyses",       "type.superimpositions",
    "type.orientations",     "type.protocols",        "type.vto_relationships", "type.views",
    "type.shape_analyses"};

}  // namespace

void TMainWindow::BuildTypeMenu() {
  QMenu* type = fCommands.AddMenu(*menuBar(), "type");
  AddCommand(type, "type.browser");
  type->addSeparator();
  for (const char* id : kEditorCommands) AddCommand(type, id);
  connect(Command("type.shape_analyses"), &QAction::triggered, this, &TMainWindow::ActionPcasExecute);
}

void TMainWindow::BuildTracingMenu() {
  QMenu* tracing = fCommands.AddMenu(*menuBar(), "tracing");
  AddCommand(tracing, "tracing.get_coordinates", &TMainWindow::ActionGetCoordinatesExecute);
  AddCommand(tracing, "tracing.digitize", &TMainWindow::ActionRedigitizeExecute);
  tracing->addSeparator();
  AddCommand(tracing, "tracing.set_reference", &TMainWindow::ActionSetReferenceExecute)->setCheckable(true);
  AddCommand(tracing, "tracing.set_morph_source", &TMainWindow::ActionSetMorphSourceExecute)->setCheckable(true);
  AddCommand(tracing, "tracing.sort", &TMainWindow::ActionSortExecute);
  BuildMovementCommands(tracing);
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

}  // namespace lumacet
