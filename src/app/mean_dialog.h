// TMeanForm, "Mean": chooses radiographs of a data file, a radiograph type and one of its
// superimpositions, and averages the tracings into a new radiograph of the workspace or,
// pair by pair, into a data file.
#pragma once

#include <memory>
#include <string>

#include "app/population_run.h"
#include "population/mean_tracing.h"

class QCheckBox;

namespace lumacet {

class TMeanForm : public TPopulationDialog {
  Q_OBJECT

 public:
  TMeanForm(TPopulationContext context, QWidget* parent = nullptr);
  ~TMeanForm() override;

  using TPopulationDialog::SetRecords;
  void SetPairsFile(const std::string& path);

  QComboBox* TypeList() const { return fTypes; }
  QComboBox* SuperimpositionList() const { return fSuperimpositions; }
  QCheckBox* Pairwise() const { return fPairwise; }
  QPushButton* PairsFileButton() const { return fPairsButton; }
  TMeanRequest Request() const;
  // "&Calculate Mean": checks and runs, or stops the run under way.
  void Calculate();

 private:
  void TypeChosen();
  void PairwiseChosen();

  QComboBox* fTypes = nullptr;
  QComboBox* fSuperimpositions = nullptr;
  QCheckBox* fPairwise = nullptr;
  QPushButton* fPairsButton = nullptr;
  QLineEdit* fPairsFile = nullptr;
};

}  // namespace lumacet
