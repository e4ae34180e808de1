// The Type and Tracing menus: the type browser and editors, coordinates from another radiograph,
// reference and morph source.
#include "app/main_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/drawing_area.h"
#include "app/type_browser_form.h"
#include "app/type_editor_windows.h"
#include "app/type_editors.h"
#include "app/type_list_editors.h"
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
    {"type.digitized_points", ekDigPoint}, {"type.snakes", ekSnake},       {"type.derived_points", ekDerPoint},
    {"type.areas", ekArea},                {"type.drawings", ekGraphic},   {"type.variables", ekVariable},
    {"type.analyses", ekAnalysis},         {"type.superimpositions", ekSupimp}, {"type.orientations", ekOrient},
    {"type.protocols", ekProtocol},        {"type.views", ekView},         {"type.shape_analyses", ekPCA},
    {"type.vto_relationships", ekHardSoft}};

}  // namespace

void TMainWindow::BuildTypeMenu() {
  QMenu* type = fCommands.AddMenu(*menuBar(), "type");
  AddCommand(type, "type.browser", &TMainWindow::ActionTypeBrowserExecute);
  type->addSeparator();
  for (const char* id : kEditorCommands) AddCommand(type, id);
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
  std::unique_ptr<TTypeEdits>& edits = fTypeEdits[&type];
  if (edits == nullptr) edits = std::make_unique<TTypeEdits>(type);
  return *edits;
}

void TMainWindow::TypeClosing(TRadiograph& object) {
  if (!object.IsType()) return;
  auto& type = static_cast<TXRayType&>(object);
  // The editors hold the type's undo stack, which holds the type.
  fTypeEditors->CloseAll(type);
  fTypeEdits.erase(&type);
}

TXRayType* TMainWindow::CurrentType() const {
  TRadiograph* current = fWorkspace->Current();
  return current != nullptr && current->IsType() ? static_cast<TXRayType*>(current) : nullptr;
}

TRollUpForm* TMainWindow::TypeEditor(int code) const {
  TXRayType* type = CurrentType();
  return type == nullptr ? nullptr : fTypeEditors->Window(*type, code);
}

void TMainWindow::ConnectTypeEditors() {
  fTypeEditors = new TTypeEditorWindows(this);
  connect(fTypeEditors, &TTypeEditorWindows::Changed, this, &TMainWindow::Refresh);
  fWorkspace->BeforeClose = [this](TRadiograph& object) { TypeClosing(object); };
  // A click on a type's tracing places what its last editor edits.
  fDrawing->SetTypeClick([this](TFloatPoint at) {
    TXRayType* type = CurrentType();
    TRollUpForm* editor = type == nullptr ? nullptr : fTypeEditors->Last(*type);
    if (editor == nullptr && type != nullptr) editor = fTypeEditors->Current(*type);
    if (editor == nullptr) return false;
    editor->DigitizeAt(at.X, at.Y);
    return true;
  });
  fDrawing->SetTypeOverlay([this](TCanvas& canvas, double unitsPerPixel) {
    if (TXRayType* type = CurrentType())
      if (TRollUpForm* editor = fTypeEditors->Previewing(*type)) editor->DrawPreview(canvas, unitsPerPixel);
  });
}

void TMainWindow::OpenTypeEditor(int code) {
  TXRayType* type = CurrentType();
  if (type == nullptr) return;
  TTypeEdits& edits = EditsOf(*type);
  fTypeEditors->Open(*type, code, [this, &edits](int kind) -> TRollUpForm* {
    TRollUpForm* editor = nullptr;
    switch (kind) {
      case ekDigPoint: editor = new TDigPointsForm(edits, fPrompts, this); break;
      case ekDerPoint: editor = new TDerPointsForm(edits, fPrompts, this); break;
      case ekVariable: editor = new TVariablesForm(edits, fPrompts, this); break;
      case ekSnake: editor = new TSnakesForm(edits, fPrompts, this); break;
      case ekArea: editor = new TAreasForm(edits, fPrompts, this); break;
      case ekGraphic: editor = new TDrawingsForm(edits, fPrompts, this); break;
      case ekAnalysis: editor = new TAnalysesForm(edits, fPrompts, this); break;
      case ekSupimp: editor = new TSupimpsForm(edits, fPrompts, this); break;
      case ekOrient: editor = new TOrientsForm(edits, fPrompts, this); break;
      case ekProtocol: editor = new TProtocolsForm(edits, fPrompts, this); break;
      case ekView: editor = new TViewsForm(edits, fPrompts, this); break;
      case ekPCA: editor = new TPCAsForm(edits, fPrompts, this); break;
      case ekHardSoft: editor = new THardSoftForm(edits, fPrompts, this); break;
      default: return nullptr;
    }
    // Every change redraws the tracing: derived points and values recomputed, the chosen
    // element marked.
    connect(editor, &TRollUpForm::Changed, this, &TMainWindow::Refresh);
    return editor;
  });
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
  BuildMorphCommands(tracing);
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
