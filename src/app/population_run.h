// What the dialogs of the population commands (Procrustes and PCA, export, type conversion)
// share: the rows they build alike, and a run on the interface thread whose start button
// turns into "Cancel".
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "persistence/record_browser.h"
#include "shell/population_context.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace lumacet {

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
  TPopulationDialog(TPopulationContext context, const QString& title, const QString& startCaption, QWidget* parent);

  // The dialog's rows, top to bottom.
  QVBoxLayout* Layout() const { return fLayout; }
  // The rows the dialogs build alike, appended to the layout in the order called.
  // "&Select..." (returned) under `caption`, the number of chosen records and their data file.
  QPushButton* AddRecordsChooser(const QString& caption);
  // `caption` as the buddy of a list of the type folder's types (returned).
  QComboBox* AddTypeChooser(const QString& caption);
  // `caption` as the buddy of an empty list (returned), in `layout` or else the dialog's rows.
  QComboBox* AddList(const QString& caption, QVBoxLayout* layout = nullptr);
  struct TFileChooser {
    QPushButton* Button;
    QLineEdit* Field;  // read-only: only the button chooses
  };
  TFileChooser AddFileChooser(const QString& caption, const QString& buttonCaption);
  struct TScaleChoice {
    QGroupBox* Box;
    QRadioButton* LifeSize;
    QRadioButton* XRaySize;
  };
  // "Life size (LIFE)" or "Radiograph size (XRAY)" under `title`, the first chosen when `lifeSize`.
  TScaleChoice AddScaleChoice(const QString& title, bool lifeSize);
  // The start, "Close" and "&Help" buttons, then the status panel. Help opens the dialog's page.
  void AddButtonsAndStatus();

  // A text file in the results folder that results are appended to; empty when none was chosen.
  // `filter` names the kind of file first (text files when empty).
  std::string ChooseResultsFile(const QString& title, const QString& filter = {});
  // A data file in the data folder that records are appended to; empty when none was chosen.
  std::string ChooseDataFile(const QString& title);
  // The records chosen with "&Select...".
  void SetRecords(const std::string& dataFile, std::vector<int> records);
  const std::string& DataFile() const { return fDataFile; }
  const std::vector<int>& Records() const { return fRecords; }

  void SetInputs(std::vector<QWidget*> inputs) { fInputs = std::move(inputs); }
  // True when the start button should start a run; while one runs it asks it to stop.
  bool StartRequested();
  void BeginRun();
  // A further stage of the run under way (writing after scanning): the start button reads
  // `stopCaption`, and a stop asked for in the stage before is forgotten.
  void BeginStage(const QString& stopCaption);
  // Shows the status and lets events in; false once the run was asked to stop.
  bool Poll(const std::string& status);
  void ShowStatus(const std::string& status);
  // Shows "Completed." or clears the status, enables the inputs again and restores the start
  // caption; the subclass then applies the enabling that depends on its choices.
  void EndRun(bool completed);
  // A run's result: its message, followed by the reason when there is one.
  // A run that went as asked is told with the information icon, a failure with the warning.
  void ShowResult(bool ok, const std::string& message, const std::string& reason);
  void closeEvent(QCloseEvent* event) override;

  TPopulationContext fContext;

 private:
  QString fStartCaption;
  QVBoxLayout* fLayout = nullptr;
  QPushButton* fStart = nullptr;
  QLabel* fStatus = nullptr;
  std::vector<QWidget*> fInputs;
  std::string fDataFile;
  std::vector<int> fRecords;
  QLabel* fCount = nullptr;
  QLineEdit* fDataFileField = nullptr;
  bool fRunning = false;
  bool fStopRequested = false;
  bool fCloseAfterRun = false;
};

}  // namespace lumacet
