// What the dialogs of the population commands (Procrustes and PCA, export, type conversion)
// share: the program around them, their own copies of radiograph types read from the type
// folder, and a run on the interface thread whose start button turns into "Cancel".
#pragma once

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

#include "app/workspace.h"
#include "measure/analysis_text.h"
#include "persistence/record_browser.h"

class QLabel;
class QPushButton;

namespace lumacet {

struct TPopulationContext {
  TWorkspace* Workspace = nullptr;       // type cache, folders and data file options
  TWorkspacePrompts* Prompts = nullptr;  // every message and question
  TRecordBrowserOptions Browser;         // "&Select..." lists records with these
  std::string ResultsFolder;             // where result files are offered first
  TPresentationOptions Presentation;     // texts and measuring context of exported values
};

// The type of that name read from its file in the type folder into an object of the
// caller's own; null when there is no such file or it does not read.
std::unique_ptr<TXRayType> ReadDialogType(const TWorkspace& workspace, const std::string& name);

// Chooses records of a data file in the record browser; false when nothing was chosen.
bool ChooseRecords(const TRecordBrowserOptions& options, QWidget* parent, std::string& file, std::vector<int>& records);

// A dialog that runs over many records. Between records the run lets pending events in, so
// that the start button, now "Cancel", and closing the dialog can stop it; every other input
// is disabled meanwhile. Closing while running stops the run and closes once it has ended.
class TPopulationDialog : public QDialog {
  Q_OBJECT

 public:
  bool Running() const { return fRunning; }
  QPushButton* StartButton() const { return fStart; }
  QString StatusText() const;

  void reject() override;

 signals:
  // Every progress text, as it is shown.
  void StatusShown(const QString& status);

 protected:
  TPopulationDialog(TPopulationContext context, const QString& startCaption, QWidget* parent);

  // The status panel and the start button, for the subclass's layout.
  QLabel* StatusPanel() const { return fStatus; }
  void SetInputs(std::vector<QWidget*> inputs) { fInputs = std::move(inputs); }
  // True when the start button should start a run; while one runs it asks it to stop.
  bool StartRequested();
  void BeginRun();
  // Shows the status and lets events in; false once the run was asked to stop.
  bool Poll(const std::string& status);
  void ShowStatus(const std::string& status);
  // Enables the inputs again and restores the start caption; the subclass then applies the
  // enabling that depends on its choices.
  void EndRun();
  void closeEvent(QCloseEvent* event) override;

  TPopulationContext fContext;

 private:
  QString fStartCaption;
  QPushButton* fStart = nullptr;
  QLabel* fStatus = nullptr;
  std::vector<QWidget*> fInputs;
  bool fRunning = false;
  bool fStopRequested = false;
  bool fCloseAfterRun = false;
};

}  // namespace lumacet
