// The main window: the workspace's slots in the icon column, the drawing area, and every
// menu and tool bar command. Commands whose tools are not part of the program yet are
// present and disabled, so the menus show the whole program.
#pragma once

#include <QMainWindow>

#include <memory>
#include <string>
#include <string_view>

#include "app/command_table.h"
#include "app/qt_prompts.h"
#include "measure/analysis_text.h"
#include "persistence/record_browser.h"
#include "shell/measuring.h"
#include "shell/settings.h"
#include "shell/workspace.h"

class QAction;
class QActionGroup;
class QComboBox;
class QListWidgetItem;

namespace lumacet {

class TAnalysisWindow;
class TDrawingArea;
class TImageCommands;
class TOpenXRayDlg;
class TSlotList;
struct TPopulationContext;
struct TRadiographDialogContext;

class TMainWindow : public QMainWindow {
  Q_OBJECT

 public:
  TMainWindow(TSettings settings, std::string settingsPath, QWidget* parent = nullptr);
  ~TMainWindow() override;

  TWorkspace& Workspace() { return *fWorkspace; }
  const TSettings& Settings() const { return fSettings; }
  // The command of that identifier ("file.save"), or null.
  QAction* Command(std::string_view id) const;
  // Opens the default data file's records of that patient, quietly: the command line.
  int OpenPatient(const std::string& name);
  // After any change of the workspace: commands, icon column, lists and drawing.
  void Refresh();
  // "&Best Fit" onto the current radiograph.
  void BestFit();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QAction* AddCommand(QWidget* container, std::string_view id, void (TMainWindow::*handler)() = nullptr);
  // One per menu, in menu order; each menu's commands are in the file of its name.
  void BuildMenus();
  void BuildFileMenu();
  void BuildTypeMenu();
  void BuildTracingMenu();
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
  TRecordBrowserOptions BrowserOptions() const;
  TPresentationOptions Presentation() const;
  void WriteSettings();

  void ActionOpenExecute();
  // The record browser, on `file` when one is given; the records chosen there are opened.
  void BrowseRecords(const std::string& file = {});
  void ActionOpenTypeExecute();
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
  void MagnificationMeasured(double lengthUnits);
  void ActionSaveSettingsExecute();
  void ActionNewExecute();
  void ActionPropertiesExecute();
  void ActionOptionsExecute();
  // Files dropped on the icon column: data files listed for opening, types opened, images
  // loaded into the radiograph of the row they fell on.
  void FilesDropped(const QStringList& paths, int row);
  // After the options dialog changed the settings: the workspace follows them.
  void ApplySettings();
  TRadiographDialogContext RadiographContext();
  // The population commands of the Tools menu.
  TPopulationContext PopulationContext();
  void ActionProcrustesExecute();
  void ActionPcasExecute();
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
  QComboBox* fAnalyses = nullptr;
  QComboBox* fViews = nullptr;
  TAnalysisWindow* fAnalysisWindow = nullptr;
  // Made at the first "&Open..." and kept, so that its file, filter, order, column widths
  // and place last from one showing to the next.
  TOpenXRayDlg* fRecordBrowser = nullptr;
  TCommandTable fCommands;
  bool fRefreshing = false;
};

}  // namespace lumacet
