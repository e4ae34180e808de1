// The Type and Tracing menus: the type browser and editors, coordinates from another radiograph,
// reference and morph source.
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMenu>
#include <QMenuBar>

#include "app/drawing_area.h"
#include "app/type_browser_form.h"
#include "app/type_editors.h"
#include "app/type_list_editors.h"
#include "app/vto_relationships_form.h"
#include "digitize/type_preview.h"
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

// While a type editor is open the main window takes only what the editor needs of it: the
// tracing's clicks, moves and wheel. Every other input to it (menus, tool bars, shortcuts,
// closing) waits, so that nothing can close or replace the type under the editor.
class TEditorSession : public QObject {
 public:
  TEditorSession(QWidget& window, QWidget& tracing) : fWindow(window), fTracing(tracing) {
    qApp->installEventFilter(this);
  }
  ~TEditorSession() override { qApp->removeEventFilter(this); }
  TEditorSession(const TEditorSession&) = delete;
  TEditorSession& operator=(const TEditorSession&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ContextMenu:
      case QEvent::DragEnter:
      case QEvent::Drop:
      case QEvent::Close:
      case QEvent::Shortcut: break;
      default: return false;
    }
    if (auto* action = qobject_cast<QAction*>(watched)) return InWindow(action->parent());
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || !InWindow(widget)) return false;
    const bool onTracing = widget == &fTracing || fTracing.isAncestorOf(widget);
    const bool pointer = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
                         event->type() == QEvent::Wheel;
    return !(onTracing && pointer);
  }

 private:
  // Of the main window or one of its menus, not of a window above it (the editor is its
  // child too).
  bool InWindow(QObject* object) const {
    for (; object != nullptr; object = object->parent()) {
      if (object == &fWindow) return true;
      auto* widget = qobject_cast<QWidget*>(object);
      if (widget != nullptr && widget->isWindow() && qobject_cast<QMenu*>(widget) == nullptr) return false;
    }
    return false;
  }

  QWidget& fWindow;
  QWidget& fTracing;
};

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
    case ekSnake: editor = std::make_unique<TSnakesForm>(edits, fPrompts, this); break;
    case ekArea: editor = std::make_unique<TAreasForm>(edits, fPrompts, this); break;
    case ekGraphic: editor = std::make_unique<TDrawingsForm>(edits, fPrompts, this); break;
    case ekAnalysis: editor = std::make_unique<TAnalysesForm>(edits, fPrompts, this); break;
    case ekSupimp: editor = std::make_unique<TSupimpsForm>(edits, fPrompts, this); break;
    case ekOrient: editor = std::make_unique<TOrientsForm>(edits, fPrompts, this); break;
    case ekProtocol: editor = std::make_unique<TProtocolsForm>(edits, fPrompts, this); break;
    case ekView: editor = std::make_unique<TViewsForm>(edits, fPrompts, this); break;
    case ekPCA: editor = std::make_unique<TPCAsForm>(edits, fPrompts, this); break;
    case ekHardSoft: editor = std::make_unique<THardSoftForm>(edits, fPrompts, this); break;
    default: return;
  }
  // Every change redraws the tracing: derived points and values recomputed, the chosen
  // element marked.
  connect(editor.get(), &TRollUpForm::Changed, this, &TMainWindow::Refresh);
  TXRAnalysis* const analysis = type.CurrentAnalysis;
  TXRView* const view = type.CurrentView;
  Refresh();
  // The editor stays above the main window, whose tracing takes the clicks that place the
  // chosen element.
  editor->setWindowFlag(Qt::Tool);
  {
    TEditorSession session(*this, *fDrawing);
    fDrawing->SetTypeClick([&editor](TFloatPoint at) { editor->DigitizeAt(at.X, at.Y); });
    // A chosen digitized point shows where its edge lock searches.
    if (code == ekDigPoint)
      fDrawing->SetTypeOverlay([&editor, &type](TCanvas& canvas, double unitsPerPixel) {
        DrawPointPreview(canvas, type, dynamic_cast<TDigPoint*>(editor->CurrentElement()), unitsPerPixel);
      });
    QEventLoop loop;
    connect(editor.get(), &QDialog::finished, &loop, &QEventLoop::quit);
    editor->show();
    // Automation calls wait too: they run inside this loop and could close the type.
    fEditingType = true;
    loop.exec();
    fEditingType = false;
    fDrawing->SetTypeClick({});
    fDrawing->SetTypeOverlay({});
  }
  type.Selection.clear();
  // What the analysis and view editors showed goes back to what was shown before, when it
  // is still part of the type.
  if (type.IndexOf(analysis) >= 0 || analysis == nullptr) type.CurrentAnalysis = analysis;
  if (type.IndexOf(view) >= 0 || view == nullptr) type.CurrentView = view;
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
