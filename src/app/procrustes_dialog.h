// TProcForm, "Procrustes & PCA": chooses radiographs of a data file, a radiograph type, one
// of its PCA elements and a results file, and appends the report of a Procrustes and
// principal components calculation to that file.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/population_run.h"
#include "population/procrustes_run.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace lumacet {

class TProcForm : public TPopulationDialog {
  Q_OBJECT

 public:
  // The seven output boxes, in the order they are shown.
  enum TOutput { oConsensus, oResiduals, oScores, oSizes, oVariances, oLoadings, oDistances, kOutputCount };

  TProcForm(TPopulationContext context, QWidget* parent = nullptr);
  ~TProcForm() override;

  // What "&Select..." and "F&ile..." choose.
  using TPopulationDialog::SetRecords;
  void SetResultsFile(const std::string& path);

  QComboBox* TypeList() const { return fTypes; }
  QComboBox* PcaList() const { return fPcas; }
  QCheckBox* Output(TOutput output) const { return fOutputs[output]; }
  QCheckBox* FlipY() const { return fFlip; }
  QCheckBox* Names() const { return fNames; }
  QCheckBox* Anonymize() const { return fAnonymize; }
  QRadioButton* RadiographSize() const { return fXRaySize; }
  // The request the controls describe.
  TProcrustesRequest Request() const;
  // "&Calculate": checks and runs, or stops the run under way.
  void Calculate();

 private:
  void TypeChosen();

  std::unique_ptr<TXRayType> fType;  // the chosen type as its file holds it
  QComboBox* fTypes = nullptr;
  QComboBox* fPcas = nullptr;
  QLineEdit* fResults = nullptr;
  QCheckBox* fFlip = nullptr;
  std::array<QCheckBox*, kOutputCount> fOutputs{};
  QCheckBox* fNames = nullptr;
  QCheckBox* fAnonymize = nullptr;
  QRadioButton* fLifeSize = nullptr;
  QRadioButton* fXRaySize = nullptr;
};

}  // namespace lumacet
