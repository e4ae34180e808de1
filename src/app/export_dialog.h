// TExportForm, "Export": every radiograph of one type in a data file becomes a record of a
// delimited text file or a row of a new spreadsheet, holding chosen patient fields and either an analysis's variables or
// the coordinates of a drawing's points.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/population_run.h"
#include "platform/office_documents.h"
#include "population/measurement_export.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace lumacet {

class TExportForm : public TPopulationDialog {
  Q_OBJECT

 public:
  // The "Include:" boxes, in the order they are shown.
  enum TInclude { iName, iAge, iDateOfBirth, iSex, iSexNum, iComments, iMagnification, iDateTaken, kIncludeCount };
  enum TDelimiterButton { dTab, dComma, dSpace, dOther, kDelimiterCount };

  TExportForm(TPopulationContext context, QWidget* parent = nullptr);
  ~TExportForm() override;

  // What "&File..." and "F&ile..." choose.
  void SetSourceFile(const std::string& path);
  void SetTargetFile(const std::string& path);

  QComboBox* TypeList() const { return fTypes; }
  QComboBox* AnalysisList() const { return fAnalyses; }
  QComboBox* DrawingList() const { return fDrawings; }
  QLabel* PointCount() const { return fPointCount; }
  QTabWidget* DataPages() const { return fPages; }
  QCheckBox* Headers() const { return fHeaders; }
  QCheckBox* Abbreviated() const { return fAbbreviated; }
  QCheckBox* Include(TInclude field) const { return fInclude[field]; }
  QRadioButton* Delimiter(TDelimiterButton button) const { return fDelimiters[button]; }
  QLineEdit* OtherDelimiter() const { return fOther; }
  QLineEdit* TargetField() const { return fTarget; }
  QComboBox* Encoding() const { return fEncoding; }
  QCheckBox* ByteOrderMark() const { return fByteOrderMark; }
  QLineEdit* Missing() const { return fMissing; }
  QCheckBox* Anonymize() const { return fAnonymize; }
  // "New spreadsheet": a workbook in the results folder, handed to the opener when written.
  QRadioButton* Workbook() const { return fWorkbook; }
  void SetDocumentOpener(TDocumentOpener opener);
  // The file dialog's filter for the delimiter chosen: "Comma-separated values (*.csv)"...
  QString TargetFilter() const;
  // The options the controls describe.
  TMeasurementExportOptions Options() const;
  // "&Export": checks and runs, or stops the run under way.
  void Export();

 private:
  void TypeChosen();
  void DrawingChosen();
  void UpdateEnabling();

  std::unique_ptr<TXRayType> fType;  // the chosen type as its file holds it, for the lists
  QLineEdit* fSource = nullptr;
  QLineEdit* fTarget = nullptr;
  QComboBox* fTypes = nullptr;
  QTabWidget* fPages = nullptr;
  QComboBox* fAnalyses = nullptr;
  QCheckBox* fFullPrecision = nullptr;
  QCheckBox* fSkipLabels = nullptr;
  QRadioButton* fAllVariables = nullptr;
  QComboBox* fDrawings = nullptr;
  QLabel* fPointCount = nullptr;
  QCheckBox* fReflect = nullptr;
  QCheckBox* fSkipMissing = nullptr;
  QCheckBox* fPointPerLine = nullptr;
  QRadioButton* fLifeSize = nullptr;
  QCheckBox* fHeaders = nullptr;
  QCheckBox* fAbbreviated = nullptr;
  std::array<QCheckBox*, kIncludeCount> fInclude{};
  std::array<QRadioButton*, kDelimiterCount> fDelimiters{};
  QLineEdit* fOther = nullptr;
  QComboBox* fEncoding = nullptr;
  QCheckBox* fByteOrderMark = nullptr;
  QLineEdit* fMissing = nullptr;
  QCheckBox* fAnonymize = nullptr;
  QRadioButton* fWorkbook = nullptr;
  std::vector<QWidget*> fFileOnly;  // the file destination's controls
  TDocumentOpener fOpener = OpenWithDesktop;
};

}  // namespace lumacet
