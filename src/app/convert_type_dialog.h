// TConvertTypeForm, "Convert Type": rewrites chosen records of a data file as records of
// another radiograph type, point by point through a table of correspondences, and appends
// them to another data file. The source file is never changed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/population_run.h"
#include "population/type_conversion.h"

class QComboBox;
class QLineEdit;
class QTableWidget;

namespace lumacet {

class TConvertTypeForm : public TPopulationDialog {
  Q_OBJECT

 public:
  TConvertTypeForm(TPopulationContext context, QWidget* parent = nullptr);
  ~TConvertTypeForm() override;

  // What "&Select..." and "&File..." choose.
  using TPopulationDialog::SetRecords;
  void SetTargetFile(const std::string& path);

  QComboBox* SourceTypeList() const { return fSourceTypes; }
  QComboBox* TargetTypeList() const { return fTargetTypes; }
  // Target points in column 0, the source points supplying them in column 1.
  QTableWidget* Grid() const { return fGrid; }
  // "<none>" and the source type's digitized points; choosing one sets the grid's current row.
  QComboBox* Choices() const { return fChoices; }
  // "&Convert": checks and runs, or stops the run under way.
  void Convert();

 private:
  void SourceTypeChosen();
  void TargetTypeChosen();
  void ShowGrid();
  void RowChosen();
  void ChoiceMade(int index);

  std::unique_ptr<TXRayType> fSourceType;  // both types as their files hold them
  std::unique_ptr<TXRayType> fTargetType;
  TCorrespondenceTable fTable;
  QComboBox* fSourceTypes = nullptr;
  QComboBox* fTargetTypes = nullptr;
  QTableWidget* fGrid = nullptr;
  QComboBox* fChoices = nullptr;
  QLineEdit* fTarget = nullptr;
};

}  // namespace lumacet
