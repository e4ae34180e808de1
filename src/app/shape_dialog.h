// TShapeForm, "Sort by Shape": orders radiographs of a data file by their likeness to the
// current radiograph, by Procrustes distance, by a drawing after a superimposition or by an
// analysis, then opens the best or worst matches or appends them to a data file.
#pragma once

#include <array>
#include <string>

#include "app/population_run.h"
#include "population/shape_sort.h"

class QCheckBox;
class QTabWidget;

namespace lumacet {

class TShapeForm : public TPopulationDialog {
  Q_OBJECT

 public:
  // `current` is the radiograph the others are compared with; it outlives the dialog.
  TShapeForm(TPopulationContext context, TRadiograph& current, TMeasureContext measure, QWidget* parent = nullptr);
  ~TShapeForm() override;

  using TPopulationDialog::SetRecords;
  void SetOutputFile(const std::string& path);

  QTabWidget* Pages() const { return fPages; }
  QComboBox* PcaList() const { return fPcas; }
  QComboBox* SuperimpositionList() const { return fSuperimpositions; }
  QComboBox* DrawingList() const { return fDrawings; }
  QComboBox* AnalysisList() const { return fAnalyses; }
  QRadioButton* Option(TShapeOutput output) const { return fOptions[static_cast<size_t>(output)]; }
  QLineEdit* NumberField() const { return fNumber; }
  QCheckBox* ExcludeSamePatient() const { return fExclude; }
  QPushButton* OutputFileButton() const { return fOutputButton; }
  TShapeSortRequest Request() const;
  // "S&can": checks and scans, asks, then opens or writes; while scanning it stops the scan
  // ("Stop Scanning"), while writing the output ("Stop writing").
  void Scan();

 private:
  void FillLists();
  void SuperimpositionChosen();
  void UpdateEnabling();

  TRadiograph& fCurrent;
  TMeasureContext fMeasure;
  QTabWidget* fPages = nullptr;
  QComboBox* fPcas = nullptr;
  QComboBox* fSuperimpositions = nullptr;
  QComboBox* fDrawings = nullptr;
  QComboBox* fAnalyses = nullptr;
  std::array<QRadioButton*, 5> fOptions{};
  QLineEdit* fNumber = nullptr;
  QCheckBox* fExclude = nullptr;
  QPushButton* fOutputButton = nullptr;
  QLineEdit* fOutputFile = nullptr;
};

}  // namespace lumacet
