// The Type and Tracing menus: the type browser and editors, coordinates from another radiograph,
// reference and morph source.
#include "app/main_window.h"

#include <QMenu>
#include <QMenuBar>

#include "app/type_browser_form.h"
#include "app/type_editors.h"
#include "app/vto_relationships_form.h"
#include "model/type_edits.h"
#include "model/xray_type.h"

namespace lumacet {

namespace {

// The type editors, one per element kind.
const char* const kEditorCommands[] = {
    "type.digitized_points", "type.snakes",           "type.derived_points", "type.areas",
    "type.drawings",         "type.variables",        "type.analyses",       "type.superimpositions",
    "type.orientations",     "type.protocols",        "type.vto_relationships", "type.views",
    "type.shape_analyses"};

// The editors in the common frame, by command and kind.
struct TEditorCommand {
  const char* Id;
  int Code;
};
constexpr TEditorCommand kFramedEditors[] = {
    {"type.digitized_points", ekDigPoint},
    {"type.derived_points", ekDerPoint},
    {"type.variables", ekVariable},
    {"type.vto_relationships", ekHardSoft}};

}  // namespace

void TMainWindow::BuildTypeMenu() {
  QMenu* type = fCommands.AddMenu(*menuBar(), "type");
  AddCommand(type, "type.browser", &TMainWindow::ActionTypeBrowserExecute);
  type->addSeparator();
  for (const char* id : kEditorCommands) AddCommand(type, id);
  connect(Command("type.shape_analyses"), &QAction::triggered, this, &TMainWindow::ActionPcasExecute);
  for (const TEditorCommand& editor : kFramedEditors)
    connect(Command(editor.Id), &QAction::triggered, this, [this, code = editor.Code] { OpenTypeEditor(code); });
}

void TMainWindow::ActionTypeBrowserExecute() {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr || current->Type() == nullptr) return;
  // A radiograph shows its type.
  TTypeBrowserForm browser(*current->Type(), this);
  browser.exec();
}

TTypeEdits& TMainWindow::EditsOf(TXRayType& type) {
  for (auto it = fTypeEdits.begin(); it != fTypeEdits.end();) {
    bool open = false;
    for (int slot = 0; slot < kSlotCount; ++slot) open = open || fWorkspace->Slot(slot) == it->first;
    it = open ? std::next(it) : fTypeEdits.erase(it);
  }
  std::unique_ptr<TTypeEdits>& edits = fTypeEdits[&type];
  if (edits == nullptr) edits = std::make_unique<TTypeEdits>(type);
  return *edits;
}

void TMainWindow::OpenTypeEditor(int code) {
  TRadiograph* current = fWorkspace->Current();
  if (current == nullptr || !current->IsType()) return;
  auto& type = static_cast<TXRayType&>(*current);
  TTypeEdits& edits = EditsOf(type);
  std::unique_ptr<TRollUpForm> editor;
  switch (code) {
    case ekDigPoint: editor = std::make_unique<TDigPointsForm>(edits, fPrompts, this); break;
    case ekDerPoint: editor = std::make_unique<TDerPointsForm>(edits, fPrompts, this); break;
    case ekVariable: editor = std::make_unique<TVariablesForm>(edits, fPrompts, this); break;
    case ekHardSoft: editor = std::make_unique<THardSoftForm>(edits, fPrompts, this); break;
    default: return;
  }
  // Every change redraws the tracing: derived points and values recomputed, the chosen
  // element marked.
  connect(editor.get(), &TRollUpForm::Changed, this, &TMainWindow::Refresh);
  Refresh();
  editor->exec();
  type.Selection.clear();
  Refresh();
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
