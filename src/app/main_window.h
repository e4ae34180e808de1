// The main window: the workspace's slots in the icon column, the drawing area, and every
// menu and tool bar command. Commands whose tools are not part of the program yet are
// present and disabled, so the menus show the whole program.
#pragma once

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_table.h"
#include "app/qt_prompts.h"
#include "digitize/edge_search.h"
#include "graphics/tracing_painter.h"
#include "measure/analysis_text.h"
#include "model/type_edits.h"
#include "persistence/record_browser.h"
#include "platform/office_documents.h"
#include "shell/automation.h"
#include "shell/measuring.h"
#include "shell/settings.h"
#include "shell/workspace.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QListWidgetItem;
class QMenu;
class QShortcut;
class QTimer;
class QToolBar;

namespace lumacet {

class TAnalysisWindow;
class TMovementForm;
class TMoveDetailedForm;
class TMorphInteractive;
class TResult;
struct TMovement;
enum class TArrowKey;
class TDigitizer;
class TDigitizeWindow;
class TDrawingArea;
class TImageCommands;
class TOpenXRayDlg;
class TRollUpForm;
class TSlotList;
class TTypeEditorWindows;
struct TPopulationContext;
struct TRadiographDialogContext;

class TMainWindow : public QMainWindow, public TAutomationHost {
  Q_OBJECT

 public:
  TMainWindow(TSettings settings, std::string settingsPath, QWidget* parent = nullptr);
  ~TMainWindow() override;

  TWorkspace& Workspace() override { return *fWorkspace; }
  const TSettings& Settings() const override { return fSettings; }
  // The command of that identifier ("file.save"), or null.
  QAction* Command(std::string_view id) const;
  // Opens the default data file's records of that patient, quietly: the command line.
  int OpenPatient(const std::string& name);
  // Files dropped on the icon column or given on the command line (row -1): data files
  // listed for opening, types opened, images loaded into the radiograph of the row they
  // fell on.
  void FilesDropped(const QStringList& paths, int row);
  // After any change of the workspace: commands, icon column, lists and drawing.
  void Refresh() override;
  // "&Best Fit" onto the current radiograph.
  void BestFit();
  TDrawingArea& Drawing() { return *fDrawing; }
  // The Movements window and the "Move" dialog, made at the window's start.
  TMovementForm& MovementForm() { return *fMovementForm; }
  TMoveDetailedForm& MoveForm() { return *fMoveForm; }
  // DoTheMovement on the radiograph movements may run on, then everything brought up to date.
  void PerformMovement(const TMovement& movement);
  // An arrow key with the Translate or Rotate tool (KeyboardMove).
  void KeyboardMove(TArrowKey key, Qt::KeyboardModifiers modifiers);
  // The Digitize window of the radiograph, null while it is not being digitized.
  TDigitizeWindow* DigitizeWindow(const TRadiograph* radiograph) const;
  // `StartDigitization`(mode) of the radiograph, with the Digitize window shown and the
  // digitize tool chosen; a refusal is told. True when digitizing began.
  bool StartDigitizing(TXRay& xray, int mode);
  // The editor of that kind open on the current type, or null.
  TRollUpForm* TypeEditor(int code) const;
  TTypeEditorWindows& TypeEditors() { return *fTypeEditors; }

  // What the automation service asks of the window (see TAutomationHost).
  void ChangeSettings(const std::function<void(TSettings&)>& change) override;
  TResult SaveSettingsQuietly() override;
  TRecordBrowserOptions BrowserOptions() override;
  TWorkspacePrompts& Prompts() override { return fPrompts; }
  void Opened(int opened) override;
  bool RunCommand(std::string_view id) override;
  bool SetCommandChecked(std::string_view id, bool checked) override;
  void SetVisible(bool visible) override;
  bool Busy() const override;
  // What opens the documents Send To writes (the desktop's default application).
  void SetDocumentOpener(TDocumentOpener opener);

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Files from a file manager are taken anywhere on the window, as on the icon column: the
  // drawing area and the tool bars hand the drop up to the window.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QAction* AddCommand(QWidget* container, std::string_view id, void (TMainWindow::*handler)() = nullptr);
  // One per menu, in menu order; each menu's commands are in the file of its name.
  void BuildMenus();
  void BuildFileMenu();
  void BuildTypeMenu();
  void BuildTracingMenu();
  // The movement, superimposition and orientation commands of the Tracing menu, the
  // Movements window and the "Move" dialog.
  void BuildMovementCommands(QMenu* tracing);
  void BuildMovementKeys();
  void UpdateMovementCommands();
  // The current object when movements may run on it: shown and not being digitized.
  TRadiograph* MovementRadiograph() const;
  // A refused movement's message; nothing for success.
  void ShowRefusal(const TResult& result);
  void ActionUndoExecute();
  void ActionRedoExecute();
  void ActionMoveExecute();
  void ActionFlipVerticalExecute();
  void ActionFlipHorizontalExecute();
  void ActionScaleExecute();
  void ActionSelectAllExecute();
  void ActionSuperimposeExecute();
  void ActionOrientateExecute();
  void ActionOrientateChooseExecute();
  void ActionMovementWindowExecute();
  // "&Morph", its drop-down of warping functions and qualities, the interactive morph window.
  void BuildMorphCommands(QMenu* tracing);
  void AddMorphButton(QToolBar& bar);
  void UpdateMorphCommands();
  void ActionMorphExecute();
  void ActionInteractiveMorphExecute();
  void ActionMorphOptionsExecute();
  void BuildViewMenu();
  QActionGroup* BuildToolsMenu();
  void BuildHelpMenu();
  void BuildToolBars(QActionGroup* tools);
  // The View menu's checks after the settings changed.
  void ShowViewSettings();
  void UpdateCommands();
  void UpdateIconColumn();
  void UpdateLists();
  void SlotClicked(QListWidgetItem* item);
  void SlotMenu(const QPoint& at);
  TPresentationOptions Presentation() const;
  void WriteSettings();

  void ActionOpenExecute();
  // The record browser, on `file` when one is given; the records chosen there are opened.
  void BrowseRecords(const std::string& file = {});
  void ActionOpenTypeExecute();
  // Opens the type file and remembers it among the recent files.
  void OpenTypeFile(const std::string& path);
  // "Recent &Files": the remembered data files and types, a data file listed for opening.
  void FillRecentMenu(QMenu& menu);
  void ActionNewTypeExecute();
  void ActionSaveExecute();
  void ActionSaveIntoExecute();
  void ActionSaveAllExecute();
  void ActionCloseExecute();
  void ActionCloseAllExecute();
  void ActionDuplicateExecute();
  void ActionGetCoordinatesExecute();
  void ActionSetReferenceExecute();
  void ActionSetMorphSourceExecute();
  void ActionSortExecute();
  void ActionZoomInExecute();
  void ActionZoomOutExecute();
  void ActionFitAllExecute();
  void ActionDetailedAnalysisExecute();
  void ActionCopyResultsExecute();
  void ActionSaveResultsExecute();
  void BuildSendToMenu(QMenu* file);
  void ActionSendSpreadsheetExecute();
  void ActionSendTextDocumentExecute();
  void ActionSendPresentationExecute();
  // A new document for the object in the results folder.
  std::string NewDocument(const TRadiograph& object, const std::string& extension) const;
  // Tells a failed write (`failure` with the reason for %1), or opens the written document.
  void HandOver(const TWriteResult& written, const std::string& path, const QString& failure);
  // The open radiographs as the display shows them, without images.
  TDisplayScene Scene() const;
  TDisplayOptions CurrentDisplayOptions() const;
  // The tracing picture's painting (DrawTracingPicture of the workspace now).
  TPaintRoutine TracingPicture();
  void MagnificationMeasured(double lengthUnits);
  void ActionSaveSettingsExecute();
  void ActionNewExecute();
  // The digitize tool, its edge lock commands and the keys the Digitize window answers.
  void BuildDigitizeCommands(QMenu* tools);
  void UpdateDigitizeCommands();
  void ActionRedigitizeExecute();
  // `AutoAskForImage`: the input the radiograph is digitized from, asked for or taken from
  // the settings, and its image loaded or scanned when it has none.
  void AskForImage(TRadiograph& radiograph);
  void DigitizingEnded(TDigitizeWindow* window);
  // The default tablet, opened (or kept open) and polled while the current radiograph is
  // digitized from it; closed when no radiograph being digitized uses it any more.
  void StartDigitizer();
  void StopDigitizer();
  void TimerDigTimer();
  // Windows of radiographs that have closed go with them.
  void ReleaseDigitizeWindows();
  // "AutoSaveAndAdvance": after a save, the next film of a numbered series.
  void AdvanceInSeries(TRadiograph& radiograph);
  void ActionPropertiesExecute();
  void ActionOptionsExecute();
  // The options dialog, at the page of that caption when given.
  void OpenOptions(const QString& page);
  // After the options dialog changed the settings: the workspace follows them.
  void ApplySettings();
  // "Lumacet Rect" and the tool bars' keys: the window and its bars where the user left
  // them, as long as the place is still on a screen. `KeepPlace` writes them back.
  void RestorePlace();
  void RestoreToolBars();
  void KeepPlace();
  TRadiographDialogContext RadiographContext();
  // The population commands of the Tools menu.
  TPopulationContext PopulationContext();
  void ActionProcrustesExecute();
  void ActionMeanExecute();
  void ActionSortByShapeExecute();
  void ActionPcasExecute();
  void ActionTypeBrowserExecute();
  // Opens the editor of a kind over the current type, with the type's undo stack, or brings
  // it forward when it is open.
  void OpenTypeEditor(int code);
  // The undo stack of a type opened for editing, dropped when the type closes.
  TTypeEdits& EditsOf(TXRayType& type);
  // The type editors take the tracing's clicks and draw over it; they close with their type.
  void ConnectTypeEditors();
  void TypeClosing(TRadiograph& object);
  TXRayType* CurrentType() const;
  void ActionPcaViewerExecute();
  void ActionExportExecute();
  void ActionConvertTypeExecute();

  TSettings fSettings;
  std::string fSettingsPath;
  std::unique_ptr<TWorkspace> fWorkspace;
  TQtPrompts fPrompts;
  // Shape statistics of PCA variables and drawings in the display and the analysis window;
  // it holds no state, so the const measuring contexts may hand it out.
  mutable TMeasuring fMeasuring;
  TDrawingArea* fDrawing = nullptr;
  TImageCommands* fImageCommands = nullptr;  // the "&Image" menu; a child of the window
  TSlotList* fSlots = nullptr;
  std::map<const TXRayType*, std::unique_ptr<TTypeEdits>> fTypeEdits;
  TTypeEditorWindows* fTypeEditors = nullptr;  // a child of the window
  QLabel* fScalePanel = nullptr;  // "LIFE" or "XRAY": the scale every distance is shown at
  QComboBox* fAnalyses = nullptr;
  QComboBox* fViews = nullptr;
  // The superimposition "&Superimpose on Current" uses, from the current radiograph's type.
  QComboBox* fSuperimpositions = nullptr;
  TMovementForm* fMovementForm = nullptr;
  TMoveDetailedForm* fMoveForm = nullptr;
  // The arrow keys, taken before any control sees them while the Translate or Rotate tool is on.
  std::vector<QShortcut*> fArrowKeys;
  int fConstraint = 0;  // the Translate tool's: 0 none, 1 along x, 2 along y
  TAnalysisWindow* fAnalysisWindow = nullptr;
  TMorphInteractive* fMorphWindow = nullptr;  // made at the first "&Interactive Morph"
  QMenu* fMorphMenu = nullptr;  // the Morph button's drop-down
  // A morph is running: its window lets events through between rows.
  bool fMorphing = false;
  // Made at the first "&Open..." and kept, so that its file, filter, order, column widths
  // and place last from one showing to the next.
  TOpenXRayDlg* fRecordBrowser = nullptr;
  TCommandTable fCommands;
  bool fRefreshing = false;
  std::map<const TRadiograph*, TDigitizeWindow*> fDigitizeWindows;
  TEdgeChoice fEdgeChoice = TEdgeChoice::MostProminent;
  bool fDigitizedDots = false;
  bool fSnakeIcons = true;
  std::vector<QShortcut*> fDigitizeKeys;
  std::unique_ptr<TDigitizer> fTablet;
  TDocumentOpener fOpener = OpenWithDesktop;
  QTimer* fTabletTimer = nullptr;
};

}  // namespace lumacet
